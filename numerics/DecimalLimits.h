#pragma once
// Decimal limits of the region tests, held in extended precision. Those that are constants of
// the library as well take their decimals from Constants.h. A double argument is compared
// with them exactly, as at that precision, so the side of a limit on which a typed value falls
// is fixed: the doubles nearest 16.529164252, 22.064, 373.946, 9.155759395, 206.13971631 and
// 4.4119904059 lie above their limits, those nearest 4160.66, 0.699 and 0.301 below.
//
// The comparison needs no extended arithmetic: each limit carries the doubles next to it on
// either side (one and the same when the limit is a double), and x < L is x < above,
// x <= L is x <= below, x > L is x > below, x >= L is x >= above. A NaN raises the invalid
// flag as any relational comparison of doubles does.

#include "numerics/Constants.h"

#include <bit>
#include <cstdint>
#include <limits>

namespace numerics::limits {

static_assert(std::numeric_limits<long double>::digits >= 64,
              "the region tests need an extended long double");

struct DecimalLimit {
    long double value;
    double below; // the greatest double <= value
    double above; // the least double >= value
};

// For positive limits: the neighbours of the nearest double in its bit pattern.
constexpr DecimalLimit decimalLimit(long double value) {
    const double nearest = static_cast<double>(value);
    const auto bits = std::bit_cast<std::uint64_t>(nearest);
    if (static_cast<long double>(nearest) < value)
        return {value, nearest, std::bit_cast<double>(bits + 1)};
    if (static_cast<long double>(nearest) > value)
        return {value, std::bit_cast<double>(bits - 1), nearest};
    return {value, nearest, nearest};
}

constexpr bool operator<(double x, const DecimalLimit& l) {
    return x < l.above;
}
constexpr bool operator<=(double x, const DecimalLimit& l) {
    return x <= l.below;
}
constexpr bool operator>(double x, const DecimalLimit& l) {
    return x > l.below;
}
constexpr bool operator>=(double x, const DecimalLimit& l) {
    return x >= l.above;
}

inline constexpr DecimalLimit kPs350 = decimalLimit(16.529164252L);     // MPa, ps at 350 °C
inline constexpr DecimalLimit kPCrit = decimalLimit(exact::kPc);        // MPa
inline constexpr DecimalLimit kTCrit = decimalLimit(exact::kTcCelsius); // °C
inline constexpr DecimalLimit kSMax = decimalLimit(9.155759395L);       // kJ/(kg K)
inline constexpr DecimalLimit kVMax = decimalLimit(206.13971631L);      // m3/kg
inline constexpr DecimalLimit kSCrit = decimalLimit(4.4119904059L);     // kJ/(kg K)
inline constexpr DecimalLimit kIMax = decimalLimit(4160.66L);           // kJ/kg
inline constexpr DecimalLimit kXWetHigh = decimalLimit(0.699L);         // dryness limits of (s, x)
inline constexpr DecimalLimit kXWetLow = decimalLimit(0.301L);
inline constexpr DecimalLimit kPTriple = decimalLimit(exact::kPTriple); // MPa, ps(0 °C)

inline constexpr DecimalLimit kVCrit = decimalLimit(exact::kVc); // m3/kg, critical volume
// m3/kg: saturated vapour at 350 °C; region 2 at 800 °C and 100 MPa.
inline constexpr DecimalLimit kV23At350 = decimalLimit(exact::kV23At350);
inline constexpr DecimalLimit kVAt800And100 = decimalLimit(0.0043355076533L);
inline constexpr DecimalLimit kS23At350 = decimalLimit(5.210887825L); // saturated vapour, 350 °C
inline constexpr DecimalLimit kI23At350 = decimalLimit(2563.5920039L);
inline constexpr DecimalLimit kVDenseLiquid = decimalLimit(0.001311L); // region 3 above 100 MPa
inline constexpr DecimalLimit kMetaDryness = decimalLimit(0.95L);      // least metastable dryness
inline constexpr DecimalLimit kXLiquidGate = decimalLimit(0.999999L);  // liquid counted below
inline constexpr DecimalLimit kXVapourGate = decimalLimit(0.000001L);  // vapour counted above

// The gates of the wet mixing above 350 °C, for the state and its properties alike: a side
// whose share is negligible contributes nothing.
constexpr bool countsLiquid(double x) {
    return x < kXLiquidGate;
}
constexpr bool countsVapour(double x) {
    return x > kXVapourGate;
}

} // namespace numerics::limits
