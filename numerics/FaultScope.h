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

// The thread's "gave up" mark: set by a loop that reached its bound, stepped by zero or met a
// non-finite value. Read and cleared by FaultScope.
void markGaveUp() noexcept;
bool gaveUp() noexcept;

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

} // namespace numerics
