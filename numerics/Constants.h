#pragma once
// Physical constants and fixed boundary values of the property library, defined once.
// Units: T in K, p in MPa, v in m3/kg.

namespace numerics {

// Critical point of IAPWS-IF97.
inline constexpr double kTc = 647.096;     // K (373.946 °C)
inline constexpr double kPc = 22.064;      // MPa
inline constexpr double kVc = 1.0 / 322.0; // m3/kg (rho_c = 322 kg/m3)

// Saturated-liquid and saturated-vapour volumes at 350 °C from the region 3 equation: the
// ends of the saturated-volume searches above 350 °C.
inline constexpr double kV12At350 = 0.0017400705518;
inline constexpr double kV23At350 = 0.0088009319322;
// Region 2 volume on the B23 boundary at 590 °C and 100 MPa.
inline constexpr double kVB23At590 = 0.0025847184959;

} // namespace numerics
