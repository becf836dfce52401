#include "numerics/FaultScope.h"

#include <cmath>
#include <string>

namespace numerics {

namespace detail {

#if defined(__x86_64__) || defined(__i386__)
// The x87 status word holds the flags in the bits of <cfenv>. It can be read on its own, but
// written only with the whole x87 environment, which the library needs only when a caller or a
// faulting call left a flag there.
int extendedFlags() noexcept {
    unsigned short status = 0;
    asm volatile("fnstsw %0" : "=am"(status) : : "memory");
    return status & kWatchedFlags;
}

void setExtendedFlags(int flags) noexcept {
    struct {
        unsigned short control, unused0, status, unused1;
        unsigned rest[5];
    } environment;
    asm volatile("fnstenv %0" : "=m"(environment) : : "memory");
    environment.status = static_cast<unsigned short>((environment.status & ~kWatchedFlags) |
                                                     (flags & kWatchedFlags));
    asm volatile("fldenv %0" : : "m"(environment) : "memory");
}
#else
int extendedFlags() noexcept {
    return 0;
}

void setExtendedFlags(int) noexcept {}
#endif

} // namespace detail

namespace {

// The watched flags raised now, of double and of extended arithmetic.
int raisedFlags() noexcept {
    return static_cast<int>(detail::statusOfDoubles() & detail::kWatchedFlags) |
           detail::extendedFlags();
}

} // namespace

FaultScope::FaultScope() noexcept
    : m_outerFlags(detail::statusOfDoubles()), m_outerExtendedFlags(detail::extendedFlags()),
      m_outerGaveUp(detail::t_gaveUp), m_outerExtended(detail::t_extended),
      m_outerCallerX87(detail::t_callerX87) {
    if ((m_outerFlags & detail::kWatchedFlags) != 0)
        detail::setStatusOfDoubles(m_outerFlags & ~detail::kWatchedFlags);
    if (m_outerExtendedFlags != 0) detail::setExtendedFlags(0);
    detail::t_gaveUp = false;
    // The x87 flags are watched all through the scope: nothing inside sets them aside again.
    detail::t_extended = true;
    detail::t_callerX87 = 0;
}

FaultScope::~FaultScope() {
    const unsigned now = detail::statusOfDoubles();
    const unsigned merged = now | (m_outerFlags & detail::kWatchedFlags);
    if (merged != now) detail::setStatusOfDoubles(merged);
    if (m_outerExtendedFlags != 0)
        detail::setExtendedFlags(detail::extendedFlags() | m_outerExtendedFlags);
    detail::t_gaveUp = detail::t_gaveUp || m_outerGaveUp;
    detail::t_extended = m_outerExtended;
    detail::t_callerX87 = m_outerCallerX87;
}

bool FaultScope::faulted() const noexcept {
    return raisedFlags() != 0 || detail::t_gaveUp;
}

void FaultScope::check(const char* where, std::initializer_list<double> results) const {
    bool finite = true;
    for (double value : results)
        finite = finite && std::isfinite(value);
    if (faulted() || !finite) throw NumericFault(std::string(where) + ": not computed");
}

} // namespace numerics
