#pragma once
// Transport properties of water and steam after the IAPS Formulation 1985: dynamic viscosity
// (without the critical enhancement) and thermal conductivity (equation for industrial use).
//
// Inputs: t in °C, v in m3/kg. Both reduce the temperature with T* = 647.26 K; the density is
// reduced with 317.763 kg/m3 for the viscosity and 317.7 kg/m3 for the conductivity.
//
// Both hold from 0 to 800 °C and for v > 0: outside (and for a t or v that is not a number)
// they throw NumericFault ("not computed"), where the equations would give finite but
// meaningless numbers.

namespace numerics {

// Dynamic viscosity [µPa s]. The exponent of the density factor is capped at 80, so a
// grossly overdense input still gives a finite value. Throws NumericFault on a floating-point
// fault or a non-finite result.
double ViscosityTV(double t, double v);

// Thermal conductivity [mW/(m K)]. Throws NumericFault on a floating-point fault or a
// non-finite result.
double ConductivityTV(double t, double v);

} // namespace numerics
