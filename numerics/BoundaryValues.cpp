#include "numerics/BoundaryValues.h"

#include <cstddef>
#include <type_traits>

namespace numerics {

thread_local constinit BoundaryRecord BoundaryValues{};

namespace {
constexpr std::size_t kFields = sizeof(BoundaryRecord) / sizeof(double);
static_assert(std::is_standard_layout_v<BoundaryRecord> &&
              sizeof(BoundaryRecord) == kFields * sizeof(double));
} // namespace

// Every state calculation starts here, so the clearing is spelled out as plain stores: a
// whole-record assignment compiles to a string instruction whose start-up costs more than
// the stores themselves.
void ClearBoundaryValues() noexcept {
    auto* field = reinterpret_cast<double*>(&BoundaryValues);
#pragma GCC unroll 32
    for (std::size_t k = 0; k < kFields; ++k)
        field[k] = 0;
}

} // namespace numerics
