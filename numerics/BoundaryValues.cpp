#include "numerics/BoundaryValues.h"

namespace numerics {

thread_local constinit BoundaryRecord BoundaryValues{};

void ClearBoundaryValues() noexcept { BoundaryValues = BoundaryRecord{}; }

} // namespace numerics
