#include "numerics/FaultScope.h"

#include <cfenv>
#include <cmath>
#include <string>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif

namespace numerics {

namespace {

constexpr int kWatchedFlags = FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW;

#if defined(__x86_64__) || defined(__i386__)
// The SSE status register and the x87 status word (long double arithmetic and comparisons run
// on the x87 unit) hold the three flags in the same bits as <cfenv>. Reading them directly
// costs a few cycles; fetestexcept and feclearexcept save and reload the whole x87
// environment, which costs more than a region 1 property.
static_assert(FE_INVALID == 0x01 && FE_DIVBYZERO == 0x04 && FE_OVERFLOW == 0x08);

int raisedSseFlags() noexcept {
    return static_cast<int>(_mm_getcsr() & kWatchedFlags);
}

int raisedX87Flags() noexcept {
    unsigned short x87 = 0;
    asm volatile("fnstsw %0" : "=am"(x87) : : "memory");
    return static_cast<int>(x87 & kWatchedFlags);
}

int raisedFlags() noexcept {
    return raisedSseFlags() | raisedX87Flags();
}

// Clears the watched flags of both units. fnclex clears the x87 status word's other exception
// flags too (inexact, underflow, denormal), which nothing here watches.
void clearFlags() noexcept {
    _mm_setcsr(_mm_getcsr() & ~static_cast<unsigned>(kWatchedFlags));
    asm volatile("fnclex" : : : "memory");
}
#else
int raisedFlags() noexcept {
    return std::fetestexcept(kWatchedFlags);
}

int raisedSseFlags() noexcept {
    return raisedFlags();
}

int raisedX87Flags() noexcept {
    return 0;
}

void clearFlags() noexcept {
    std::feclearexcept(kWatchedFlags);
}
#endif

} // namespace

bool faultFlagsRaised(bool extended) noexcept {
    return raisedSseFlags() != 0 || (extended && raisedX87Flags() != 0);
}

// Flags are rarely raised on entry, so clearing (the costlier part) is skipped when none is.
FaultScope::FaultScope() noexcept : m_outerFlags(raisedFlags()), m_outerGaveUp(detail::t_gaveUp) {
    if (m_outerFlags != 0) clearFlags();
    detail::t_gaveUp = false;
}

FaultScope::~FaultScope() {
    if (m_outerFlags != 0)
        std::feraiseexcept(m_outerFlags);
    detail::t_gaveUp = detail::t_gaveUp || m_outerGaveUp;
}

bool FaultScope::faulted() const noexcept {
    return raisedFlags() != 0 || detail::t_gaveUp;
}

void FaultScope::check(const char* where, std::initializer_list<double> results) const {
    bool finite = true;
    for (double value : results)
        finite = finite && std::isfinite(value);
    if (faulted() || !finite)
        throw NumericFault(std::string(where) + ": not computed");
}

} // namespace numerics
