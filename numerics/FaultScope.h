#pragma once
// Floating-point fault reporting of the property library.
//
// No signal traps are used. Every public entry point opens a FaultScope, computes in plain
// doubles and, before it hands out results, asks the scope whether an invalid operation, a
// division by zero or an overflow was flagged, or whether a bounded loop gave up. Any of these
// ends the call with NumericFault ("not computed").

#include "numerics/NumericFault.h"

#include <initializer_list>

namespace numerics {

namespace detail {
inline thread_local constinit bool t_gaveUp = false;
inline thread_local constinit bool t_extended = false;
} // namespace detail

// The thread's "gave up" mark: set by a loop that reached its bound, stepped by zero or met a
// non-finite value. Read and cleared by FaultScope.
inline void markGaveUp() noexcept { detail::t_gaveUp = true; }
inline bool gaveUp() noexcept { return detail::t_gaveUp; }
inline void clearGaveUp() noexcept { detail::t_gaveUp = false; }

// Clears the sticky flags FE_INVALID, FE_DIVBYZERO, FE_OVERFLOW and the mark for its lifetime.
// On destruction the outer state comes back merged with what was raised inside, so a nested
// scope never hides an inner fault from the scope around it.
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
    int m_outerFlags;
    bool m_outerGaveUp;
};

// Long double arithmetic and comparisons run on the x87 unit, whose flags are a register of
// their own. Code that uses them says so, and runChecked then reads that register too.
inline void noteExtendedArithmetic() noexcept { detail::t_extended = true; }

// The watched flags (FE_INVALID, FE_DIVBYZERO, FE_OVERFLOW) raised now, of double arithmetic
// and, when `extended`, of x87 arithmetic as well.
bool faultFlagsRaised(bool extended) noexcept;
// Whether noteExtendedArithmetic was called since the last call of this function.
inline bool takeExtendedArithmetic() noexcept {
    const bool used = detail::t_extended;
    detail::t_extended = false;
    return used;
}

// Runs `compute` under the rules of a FaultScope, reading the flags once, after it: reading them
// waits for every floating-point operation in flight, which costs as much as a short property.
// When they show a flag or the mark, the flag may have been raised before the call, so
// `compute` runs once more inside a FaultScope, and only a fault of that run counts. So
// `compute` must be repeatable: it works on its own copies and touches no caller's variable.
// Throws NumericFault naming `where`.
template <class Compute> auto runChecked(const char* where, Compute compute) {
    const bool outerGaveUp = gaveUp();
    clearGaveUp();
    takeExtendedArithmetic();
    struct KeepOuterMark {
        bool outer;
        ~KeepOuterMark() {
            if (outer) markGaveUp();
        }
    } keep{outerGaveUp};
    auto result = compute();
    // The compiler does not know that the flags depend on the computation: the result, and all
    // that `compute` reaches through its captures, must be complete before they are read.
    asm volatile("" : : "g"(&result), "g"(&compute) : "memory");
    if (!faultFlagsRaised(takeExtendedArithmetic()) && !gaveUp()) return result;
    clearGaveUp();
    FaultScope scope;
    result = compute();
    scope.check(where);
    return result;
}

} // namespace numerics
