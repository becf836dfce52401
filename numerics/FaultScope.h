#pragma once
// Floating-point fault reporting of the property library.
//
// No signal traps are used. Every public entry point computes in plain doubles inside a scope
// that sets aside the caller's floating-point flags (FE_INVALID, FE_DIVBYZERO, FE_OVERFLOW)
// and "gave up" mark, so that what is raised inside is the computation's own; before it hands
// out results it asks whether an invalid operation, a division by zero or an overflow was
// flagged, or a bounded loop gave up. Any of these ends the call with NumericFault ("not
// computed"). The caller's flags and mark are given back as they were.

#include "numerics/NumericFault.h"

#include <cfenv>
#include <initializer_list>
#include <string>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif

namespace numerics {

namespace detail {
inline thread_local constinit bool t_gaveUp = false;
// Whether the current call ran extended arithmetic, and the caller's x87 flags set aside then.
inline thread_local constinit bool t_extended = false;
inline thread_local constinit int t_callerX87 = 0;

inline constexpr int kWatchedFlags = FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW;

#if defined(__x86_64__) || defined(__i386__)
// Double arithmetic runs on the SSE unit, whose status register holds the flags in the bits of
// <cfenv>. Reading or writing it directly costs a few cycles; fetestexcept, feclearexcept and
// feraiseexcept go through the x87 environment as well and cost more than a region 1 property.
static_assert(FE_INVALID == 0x01 && FE_DIVBYZERO == 0x04 && FE_OVERFLOW == 0x08);
inline unsigned statusOfDoubles() noexcept {
    return _mm_getcsr();
}
inline void setStatusOfDoubles(unsigned status) noexcept {
    _mm_setcsr(status);
}
#else
inline unsigned statusOfDoubles() noexcept {
    return static_cast<unsigned>(std::fetestexcept(FE_ALL_EXCEPT));
}
inline void setStatusOfDoubles(unsigned status) noexcept {
    std::feclearexcept(kWatchedFlags & ~static_cast<int>(status));
    std::feraiseexcept(kWatchedFlags & static_cast<int>(status));
}
#endif

// The watched flags of the x87 unit, where long double arithmetic and comparisons run, and
// setting them (the unit's other flags stay as they are).
int extendedFlags() noexcept;
void setExtendedFlags(int flags) noexcept;
} // namespace detail

// The thread's "gave up" mark: set by a loop that reached its bound, stepped by zero or met a
// non-finite value. Read and cleared by FaultScope.
inline void markGaveUp() noexcept {
    detail::t_gaveUp = true;
}
inline bool gaveUp() noexcept {
    return detail::t_gaveUp;
}
inline void clearGaveUp() noexcept {
    detail::t_gaveUp = false;
}

// Long double arithmetic and comparisons run on the x87 unit, whose flags are a register of
// their own. Code says so before it uses them: the first time in a call, the caller's x87
// flags are set aside, and the call's scope then reads that register too.
inline void noteExtendedArithmetic() noexcept {
    if (detail::t_extended) return;
    detail::t_extended = true;
    detail::t_callerX87 = detail::extendedFlags();
    if (detail::t_callerX87 != 0) detail::setExtendedFlags(0);
}

// Sets the caller's watched flags and mark aside for its lifetime; on destruction gives back
// exactly the caller's, whatever was raised inside, with one write of a status register where
// they differ. Inline: every entry point opens one, and on the usual path (no flag raised
// before or inside) it reads the status register twice and writes nothing.
class CallScope {
public:
    [[gnu::always_inline]] CallScope() noexcept
        : m_caller(detail::statusOfDoubles()), m_callerGaveUp(detail::t_gaveUp) {
        if ((m_caller & detail::kWatchedFlags) != 0)
            detail::setStatusOfDoubles(m_caller & ~detail::kWatchedFlags);
        detail::t_gaveUp = false;
        detail::t_extended = false;
    }
    [[gnu::always_inline]] ~CallScope() {
        const unsigned now = m_read ? m_now : detail::statusOfDoubles();
        const unsigned caller =
            (now & ~detail::kWatchedFlags) | (m_caller & detail::kWatchedFlags);
        if (caller != now) detail::setStatusOfDoubles(caller);
        if (detail::t_extended) {
            detail::t_extended = false;
            if (detail::extendedFlags() != detail::t_callerX87)
                detail::setExtendedFlags(detail::t_callerX87);
        }
        detail::t_gaveUp = m_callerGaveUp;
    }
    CallScope(const CallScope&) = delete;
    CallScope& operator=(const CallScope&) = delete;

    // True when a watched flag or the mark was raised inside.
    [[gnu::always_inline]] bool faulted() noexcept {
        m_now = detail::statusOfDoubles();
        m_read = true;
        return (m_now & detail::kWatchedFlags) != 0 || detail::t_gaveUp ||
               (detail::t_extended && detail::extendedFlags() != 0);
    }

private:
    unsigned m_caller;
    unsigned m_now = 0;
    bool m_read = false;
    bool m_callerGaveUp;
};

// The scope for checking routines inside the library one by one (the tests do): sets aside
// the caller's flags of both units and mark, and on destruction gives them back merged with
// what was raised inside, so that a nested scope never hides an inner fault from the scope
// around it.
class FaultScope {
public:
    FaultScope() noexcept;
    ~FaultScope();
    FaultScope(const FaultScope&) = delete;
    FaultScope& operator=(const FaultScope&) = delete;

    // True when a watched flag or the mark was raised since the scope opened.
    bool faulted() const noexcept;
    // Throws NumericFault naming `where` when faulted() or any value is not finite.
    void check(const char* where, std::initializer_list<double> results = {}) const;

private:
    unsigned m_outerFlags;
    int m_outerExtendedFlags;
    bool m_outerGaveUp;
    bool m_outerExtended;
    int m_outerCallerX87;
};

// Runs `compute` once under a CallScope and throws NumericFault naming `where` when it raised
// a watched flag or gave up. The caller's flags and mark come back as they were, also when
// `compute` throws.
template <class Compute> auto runChecked(const char* where, Compute compute) {
    CallScope scope;
    // Nothing of the computation may run before the caller's flags are set aside.
    asm volatile("" : : "g"(&compute) : "memory");
    auto result = compute();
    // Nor after the flags are read: the result, and all that `compute` reaches through its
    // captures, must be complete first.
    asm volatile("" : : "g"(&result), "g"(&compute) : "memory");
    if (scope.faulted()) throw NumericFault(std::string(where) + ": not computed");
    return result;
}

} // namespace numerics
