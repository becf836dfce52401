#pragma once
// The water and steam property library: IAPWS-IF97, with viscosity and thermal conductivity
// after IAPS 1985. Units: t in °C, p in MPa, v in m3/kg, s in kJ/(kg K), h in kJ/kg, x in 1;
// cp, cv in kJ/(kg K), speed of sound in m/s, viscosity in µPa s, conductivity in mW/(m K).
//
// Failure: every entry point throws NumericFault ("not computed") on a floating-point fault,
// a solver that gave up or a non-finite result; StateFromPair then leaves the caller's
// variables as they were. Nothing else is thrown.

#include "numerics/FaultScope.h"
#include "numerics/IAPS_ML.h"

namespace numerics {

// Quantities: 1 t, 2 p, 3 v, 4 s, 5 h, 6 x. A pair code is 10 i + j for given quantities i < j.
namespace PairCode {
inline constexpr int TP = 12, TV = 13, TS = 14, TI = 15, TX = 16;
inline constexpr int PV = 23, PS = 24, PI = 25, PX = 26;
inline constexpr int VS = 34, VI = 35, VX = 36;
inline constexpr int SI = 45, SX = 46, IX = 56;
} // namespace PairCode

namespace RegionCode {
inline constexpr int None = 0;          // nothing computed
inline constexpr int Water = 1;         // compressed water
inline constexpr int Steam = 2;         // superheated steam
inline constexpr int Critical = 3;      // critical region
inline constexpr int OutOfRangeReserved = 4; // never produced
inline constexpr int WetHigh = 5;       // wet steam above 350 °C
inline constexpr int WetLow = 6;        // wet steam up to 350 °C
inline constexpr int SaturationReserved = 7; // never produced
inline constexpr int Metastable = 8;    // metastable vapour (only when allowed)
inline constexpr int OutOfRange = 9;    // the given values lie outside the range
inline constexpr int Unsupported = 10;  // pairs 36 and 45
inline constexpr int UnknownPair = 11;  // any other pair code
} // namespace RegionCode

// Completes a state from two given quantities X1, X2 (quantity i and j of PairCode, i < j).
// The given values are written to their outputs; each other output is computed when asked for
// (T and X always are) and otherwise left as the caller had it. Code 9 zeroes the non-given
// outputs, code 10 all six; code 11 leaves all outputs untouched.
void StateFromPair(int PairCode, bool WantP, bool WantV, double X1, double X2, bool WantS,
                   bool WantI, bool Metastable, double& T, double& P, double& V, double& S,
                   double& I, double& X, int& RegionCode);

// Derived properties of the state given by PairCode, X1, X2; 0 where there is no state or the
// region has no value for the property.
double IsobaricHeatCapacity(int PairCode, bool Metastable, double X1, double X2);
double IsochoricHeatCapacity(int PairCode, bool Metastable, double X1, double X2);
double IsentropicExponent(int PairCode, bool Metastable, double X1, double X2);
double SpeedOfSound(int PairCode, bool Metastable, double X1, double X2);

// Transport properties from t [°C] and v [m3/kg]; callers pass v > 0.
double ViscosityTV(double t, double v);
double ConductivityTV(double t, double v);

} // namespace numerics
