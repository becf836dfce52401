#pragma once
// Specific heat capacities of water and steam, and the state record and region dispatch that
// the four derived-property entry points (heat capacities, isentropic exponent, speed of sound)
// share.
//
// Workers: t in °C, p in MPa, v in m3/kg; cp and cv in kJ/(kg K). They check nothing and are
// meant for states inside their region: (t, p) workers for region 1, region 2 and metastable
// vapour, (t, v) workers for region 3 (v > 0, else NaN with the invalid-operation flag).

#include "numerics/Sr_Cr.h"
#include "numerics/TP_WS.h"

namespace numerics {

// The completed state of the latest derived-property call: t [°C], p [MPa], v [m3/kg],
// s [kJ/(kg K)], h [kJ/kg], x [1]. Every derived-property call overwrites it.
struct LibraryRecord {
    double T, P, V, S, I, X;
};
extern thread_local constinit LibraryRecord LibraryState;

struct StateEquation;

// One row per region code: the property at the state in LibraryState, 0 for the codes the
// property has no value for. In regions 1, 2, 3 and 8 the row takes the derivatives from the
// state's own evaluation of its equation, `eq`.
using DerivedRow = double (*)(int RegionCode, const StateEquation& eq);

// The common dispatch: completes the state of (PairCode, X1, X2) into LibraryState as
// StateFromPair does (p, v and s always, h when wantI), with the Gibbs sums `gibbsNeed` (and in
// region 3 the derivatives) evaluated along, then evaluates `row` at its region code.
// Throws NumericFault, naming `where`, when the state or the property was not computed.
double derivedFromPair(const char* where, DerivedRow row, unsigned gibbsNeed, int PairCode,
                       bool Metastable, double X1, double X2, bool wantI);

// The Gibbs sums of cv, the isentropic exponent and the speed of sound (GibbsNeed bits).
inline constexpr unsigned kSoundSums = kGammaPi | kGammaPiPi | kGammaTauTau | kGammaPiTau;

// The relations of the workers on one evaluation of the equation; g must hold the sums the
// relation uses (cp: gamma_tautau; cv: kSoundSums). Region 3 at reduced (delta, tau).
double cpOf(const GibbsState& g);
double cvOf(const GibbsState& g);
double cp3Of(double delta, double tau, const Helmholtz3& f);
double cv3Of(double tau, const Helmholtz3& f);

// Whether the region 3 isotherm rises at the state, (dp/drho)_T > 0, in the scaled form
// 2 delta phi_d + delta^2 phi_dd. Where it does not (at the critical point, where rounding
// decides its sign, and in the loop of the isotherm inside the wet region) a single phase has
// no cp, isentropic exponent or speed of sound: the entry points give none there (the workers
// evaluate their relations all the same; cp's divides by it).
inline bool isothermRises(double delta, const Helmholtz3& f) {
    return 2 * delta * f.phi_d + delta * delta * f.phi_dd > 0;
}

double Cp1_TP(double t, double p);
double Cv1_TP(double t, double p);
double Cp2_TP(double t, double p);
double Cv2_TP(double t, double p);
double Cp2m_TP(double t, double p);
double Cv2m_TP(double t, double p);
double Cv3_TV(double t, double v);
double Cp3_TV(double t, double v);

} // namespace numerics
