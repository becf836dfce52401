#include "numerics/FaultScope.h"

#include <cfenv>
#include <cmath>
#include <string>

namespace numerics {

namespace {
constexpr int kWatchedFlags = FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW;
thread_local bool t_gaveUp = false;
} // namespace

void markGaveUp() noexcept { t_gaveUp = true; }
bool gaveUp() noexcept { return t_gaveUp; }

FaultScope::FaultScope() noexcept
    : m_outerFlags(std::fetestexcept(kWatchedFlags)), m_outerGaveUp(t_gaveUp) {
    std::feclearexcept(kWatchedFlags);
    t_gaveUp = false;
}

FaultScope::~FaultScope() {
    if (m_outerFlags != 0)
        std::feraiseexcept(m_outerFlags);
    t_gaveUp = t_gaveUp || m_outerGaveUp;
}

bool FaultScope::faulted() const noexcept {
    return std::fetestexcept(kWatchedFlags) != 0 || t_gaveUp;
}

void FaultScope::check(const char* where, std::initializer_list<double> results) const {
    bool finite = true;
    for (double value : results)
        finite = finite && std::isfinite(value);
    if (faulted() || !finite)
        throw NumericFault(std::string(where) + ": not computed");
}

} // namespace numerics
