#pragma once
// Specific heat capacities of water and steam, and the state record and region dispatch that
// the four derived-property entry points (heat capacities, isentropic exponent, speed of sound)
// share.
//
// Workers: t in °C, p in MPa, v in m3/kg; cp and cv in kJ/(kg K). They check nothing and are
// meant for states inside their region: (t, p) workers for region 1, region 2 and metastable
// vapour, (t, v) workers for region 3 (v > 0, else NaN with the invalid-operation flag).

namespace numerics {

// The completed state of the latest derived-property call: t [°C], p [MPa], v [m3/kg],
// s [kJ/(kg K)], h [kJ/kg], x [1]. Every derived-property call overwrites it.
struct LibraryRecord {
    double T, P, V, S, I, X;
};
extern thread_local constinit LibraryRecord LibraryState;

// One row per region code: the property at the state in LibraryState, 0 for the codes the
// property has no value for.
using DerivedRow = double (*)(int RegionCode);

// The common dispatch: completes the state of (PairCode, X1, X2) into LibraryState with
// StateFromPair (p, v and s always, h when wantI), then evaluates `row` at its region code.
// Throws NumericFault, naming `where`, when the state or the property was not computed.
double derivedFromPair(const char* where, DerivedRow row, int PairCode, bool Metastable, double X1,
                       double X2, bool wantI);

double Cp1_TP(double t, double p);
double Cv1_TP(double t, double p);
double Cp2_TP(double t, double p);
double Cv2_TP(double t, double p);
double Cp2m_TP(double t, double p);
double Cv2m_TP(double t, double p);
double Cv3_TV(double t, double v);
double Cp3_TV(double t, double v);

} // namespace numerics
