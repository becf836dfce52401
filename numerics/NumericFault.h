#pragma once
// The one exception of the property library: the state or property was not computed (a
// floating-point fault, a solver that gave up or a non-finite result). Callers that run the
// library through a stand-in catch it without linking the library.

#include <stdexcept>

namespace numerics {

class NumericFault : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace numerics
