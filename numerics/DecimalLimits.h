#pragma once
// Decimal limits of the region tests, held in extended precision. A double argument is compared
// with them at that precision, so the side of a limit on which a typed value falls is fixed:
// the doubles nearest 16.529164252, 22.064, 373.946, 9.155759395, 206.13971631 and
// 4.4119904059 lie above their limits, those nearest 4160.66, 0.699 and 0.301 below.

#include "numerics/Constants.h"

#include <limits>

namespace numerics::limits {

static_assert(std::numeric_limits<long double>::digits >= 64,
              "the region tests need an extended long double");

inline constexpr long double kPs350 = 16.529164252L;     // MPa, saturation pressure at 350 °C
inline constexpr long double kPCrit = exact::kPc;        // MPa
inline constexpr long double kTCrit = exact::kTcCelsius; // °C
inline constexpr long double kSMax = 9.155759395L;       // kJ/(kg K)
inline constexpr long double kVMax = 206.13971631L;      // m3/kg
inline constexpr long double kSCrit = 4.4119904059L;     // kJ/(kg K)
inline constexpr long double kIMax = 4160.66L;           // kJ/kg
inline constexpr long double kXWetHigh = 0.699L;         // dryness limits of (s, x)
inline constexpr long double kXWetLow = 0.301L;
inline constexpr long double kPTriple = exact::kPTriple; // MPa, ps(0 °C) of the library

inline constexpr long double kVCrit = exact::kVc;        // m3/kg, critical volume
inline constexpr long double kV23At350 = exact::kV23At350; // m3/kg, saturated vapour at 350 °C
inline constexpr long double kVAt800And100 = 0.0043355076533L; // m3/kg, region 2, 800 °C, 100 MPa
inline constexpr long double kS23At350 = 5.210887825L;   // kJ/(kg K), saturated vapour at 350 °C
inline constexpr long double kI23At350 = 2563.5920039L;  // kJ/kg, saturated vapour at 350 °C
inline constexpr long double kVDenseLiquid = 0.001311L;  // m3/kg, region 3 surely above 100 MPa
inline constexpr long double kMetaDryness = 0.95L;       // least dryness of metastable vapour
inline constexpr long double kXLiquidGate = 0.999999L;   // wet mixing: liquid part counted below
inline constexpr long double kXVapourGate = 0.000001L;   // wet mixing: vapour part counted above

// The gates of the wet mixing above 350 °C, for the state and its properties alike: a side
// whose share is negligible contributes nothing.
inline bool countsLiquid(double x) {
    return static_cast<long double>(x) < kXLiquidGate;
}
inline bool countsVapour(double x) {
    return static_cast<long double>(x) > kXVapourGate;
}

} // namespace numerics::limits
