#pragma once
// The water and steam property library: IAPWS-IF97, with viscosity and thermal conductivity
// after IAPS 1985. Units: t in °C, p in MPa, v in m3/kg, s in kJ/(kg K), h in kJ/kg, x in 1;
// cp, cv in kJ/(kg K), speed of sound in m/s, viscosity in µPa s, conductivity in mW/(m K).
//
// Failure: every entry point throws NumericFault ("not computed") on a floating-point fault,
// a solver that gave up or a non-finite result; StateFromPair then leaves the caller's
// variables as they were. Nothing else is thrown.

#include "numerics/IAPS_ML.h"
#include "numerics/NumericFault.h"
#include "numerics/Vocabulary.h"

namespace numerics {

// Completes a state from two given quantities X1, X2 (quantity i and j of PairCode, i < j).
// The given values are written to their outputs; each other output is computed when asked for
// (T and X always are) and otherwise left as the caller had it. Code 9 zeroes the non-given
// outputs, code 10 all six; code 11 leaves all outputs untouched.
void StateFromPair(int PairCode, bool WantP, bool WantV, double X1, double X2, bool WantS,
                   bool WantI, bool Metastable, double& T, double& P, double& V, double& S,
                   double& I, double& X, int& RegionCode);

// Derived properties of the state given by PairCode, X1, X2; 0 where there is no state or the
// region has no value for the property. cp, the isentropic exponent and the speed of sound of a
// single phase of the critical region, and cp of its saturated phases, are not computed
// (NumericFault) where the isotherm does not rise, (dp/drho)_T <= 0: at the critical point and
// in the loop of the isotherm.
double IsobaricHeatCapacity(int PairCode, bool Metastable, double X1, double X2);
double IsochoricHeatCapacity(int PairCode, bool Metastable, double X1, double X2);
double IsentropicExponent(int PairCode, bool Metastable, double X1, double X2);
double SpeedOfSound(int PairCode, bool Metastable, double X1, double X2);

// Transport properties from t [°C] and v [m3/kg]; not computed (NumericFault) outside
// 0 <= t <= 800 °C or for v <= 0.
double ViscosityTV(double t, double v);
double ConductivityTV(double t, double v);

} // namespace numerics
