#include "app/LibraryBinding.h"

#include "numerics/numerics.h"

const PropertyLibrary& RealPropertyLibrary() {
    static constexpr PropertyLibrary library{
        numerics::StateFromPair,         numerics::IsobaricHeatCapacity,
        numerics::IsochoricHeatCapacity, numerics::IsentropicExponent,
        numerics::SpeedOfSound,          numerics::ViscosityTV,
        numerics::ConductivityTV,
    };
    return library;
}
