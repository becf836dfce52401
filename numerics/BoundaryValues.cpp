#include "numerics/BoundaryValues.h"

namespace numerics {

thread_local BoundaryRecord BoundaryValues{};

void ClearBoundaryValues() noexcept { BoundaryValues = BoundaryRecord{}; }

} // namespace numerics
