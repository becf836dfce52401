#pragma once
// Physical constants and fixed boundary values of the property library, each written once.
// Values that the region tests compare typed numbers with are kept as decimals in extended
// precision (see DecimalLimits.h); the doubles the equations use are their nearest doubles.
// Units: T in K, t in °C, p in MPa, v in m3/kg.

namespace numerics {

namespace exact {
inline constexpr long double kTcCelsius = 373.946L;       // °C, critical temperature
inline constexpr long double kPc = 22.064L;               // MPa, critical pressure
inline constexpr long double kVc = 1.0L / 322;            // m3/kg (rho_c = 322 kg/m3)
inline constexpr long double kPTriple = 0.0006112126774L; // MPa, ps(0 °C) of the library
// Saturated-vapour volume at 350 °C from the region 2 equation: the region tests' limit
// between saturated vapour of region 2 and of region 3.
inline constexpr long double kV23At350 = 0.0088009319322L; // m3/kg
} // namespace exact

// Critical point of IAPWS-IF97.
inline constexpr double kTcCelsius = static_cast<double>(exact::kTcCelsius);
inline constexpr double kTc = static_cast<double>(exact::kTcCelsius + 273.15L); // K, 647.096
inline constexpr double kPc = static_cast<double>(exact::kPc);
inline constexpr double kVc = static_cast<double>(exact::kVc);
inline constexpr double kPTriple = static_cast<double>(exact::kPTriple);

// Saturated-liquid and saturated-vapour volumes at 350 °C from the region 1 and region 2
// equations.
inline constexpr double kV12At350 = 0.0017400705518;
inline constexpr double kV23At350 = static_cast<double>(exact::kV23At350);
// Saturated-vapour volume at 350 °C from the region 3 equation (0.00880183250795), rounded up.
// Region 3's saturated vapour lies 1e-4 above region 2's there and falls as t rises, so this,
// not kV23At350, bounds the saturated-vapour search above 350 °C. On the liquid side region
// 3's volume (0.00174012791) lies above kV12At350 and rises with t: that end holds as it is.
inline constexpr double kV23At350Region3 = 0.0088018325080;
// Region 2 volume on the B23 boundary at 590 °C and 100 MPa.
inline constexpr double kVB23At590 = 0.0025847184959;

} // namespace numerics
