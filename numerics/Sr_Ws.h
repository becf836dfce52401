#pragma once
// Saturation line, region boundaries, backward equations, first estimates, inverse solving in
// regions 1, 2, wet steam and metastable vapour, the region tests and the state procedures.
// Units: t in °C, p in MPa, v in m3/kg, s in kJ/(kg K), h in kJ/kg, x in 1.
//
// The unit is split over several source files sharing the stem: Sr_Ws_Backward.cpp,
// Sr_Ws_Boundaries.cpp, Sr_Ws_Estimates.cpp, Sr_Ws_Inverse.cpp, Sr_Ws_Regions.cpp, Sr_Ws.cpp.

#include "numerics/Sr_Cr.h"
#include "numerics/TP_WS.h"

#include <array>
#include <optional>

namespace numerics {

// --- Backward equations of regions 1 and 2 (t in °C) ---
double T1_PS(double p, double s);
double T1_PI(double p, double h);
double T2_PS(double p, double s);
double T2_PI(double p, double h);
// Pressure on the boundary between sub-regions 2b and 2c at enthalpy h.
double PB2bc_I(double h);

// --- Saturation line and region boundaries ---
// None checks its range; the region tests do. The inverse ones solve to 1e-10 of the given
// volume (V12kr_T, V23kr_T: of ps; Ptmax_V to the last digits), from the start
// values of the fits below or, for T23_V up to 350 °C and TB23_V, from tables of the lines
// built on first use. T23_V of a volume off the saturated-vapour line gives up ("not
// computed").
double Ps_T(double t); // IF97 saturation pressure
double Ts_P(double p); // IF97 saturation temperature
// The side of the saturation line of (t, p), p at most 16.529164252 MPa, where it is certain
// without Ts_P: -1 where t < Ts_P(p), +1 where t >= Ts_P(p); 0 where p lies between the
// saturation pressures of the half kelvin around t (widened by 1e-9 of p) and for a t that is
// not a number: ask Ts_P there.
int saturationSideOf(double t, double p);
double PB23_T(double t); // IF97 B23 boundary, both directions
double TB23_P(double p);
double VB23_T(double t); // region 2 volume on B23
double TB23_V(double v); // B23 temperature of a region 2 volume, 350 to 590 °C
// Saturated-liquid and saturated-vapour volumes from the region 3 equation, 350 °C to Tc;
// ps is the saturation pressure at t.
double V12kr_T(double t, double ps);
double V23kr_T(double t, double ps);
double V23Fn_T(double t); // saturated-vapour volume, 0 °C to Tc
// Saturation temperature of a saturated-vapour volume. Above 350 °C it is where the isochore v
// meets the saturation line; a volume within about 7e-4 of vc, whose isochore no longer meets
// it, gets the critical temperature.
double T23_V(double v);
// T23_V; where the temperature is that of region 2's saturated vapour (350 °C and below), the
// evaluation of the region 2 equation there, at (t, Ps_T(t)) with the sums `need` as well, goes
// to `atRoot` when the search ended on it.
double saturationOfVapourVolume(double v, unsigned need, std::optional<GibbsState>& atRoot);
double Vtmax_P(double p); // region 2 volume at 800 °C
double Ptmax_V(double v); // pressure on the 800 °C isotherm
double Vpmax_T(double t); // volume on the 100 MPa isobar (a fit, close up to about 620 °C)
double Tpmax_V(double v); // temperature on the 100 MPa isobar of region 2, 648.989 to 800 °C
double TMeta_P(double p); // lowest temperature of metastable vapour at p
// Start values of the inverses above (fits).
double T23Est_V(double v);
double V12krEst_T(double t);
double V23krEst_T(double t);
double PtmaxEst_V(double v);
double TpmaxEst_V(double v);

// --- First estimates, from the BoundaryValues of the current region test ---
double T2Est_VS(double v, double s);
double P2Est_VS(double v, double s);
double T2Est_VI(double v, double h);
double P2Est_VI(double v, double h);
double T2mEst_PS(double p, double s);
double T2mEst_PI(double p, double h);

// --- Inverse solving in regions 1 and 2, wet steam and metastable vapour ---
double V1_PT(double p, double t);
double S1_PT(double p, double t);
double V2_PT(double p, double t);
double S2_PT(double p, double t);
void VS2_TP(double t, double p, double& v, double& s);
void VI2_TP(double t, double p, double& v, double& h);
// Wet mixing up to 350 °C; each evaluation stores Ps and the saturated values of t.
double S4_TV(double t, double v);
double I4_TV(double t, double v);
double S4_TX(double t, double x);
double I4_TX(double t, double x);
double P1_TV(double t, double v);
double P1_TS(double t, double s);
double P2_TV(double t, double v);
double P2_TS(double t, double s);
void TP2_VS(double& t, double& p, double v, double s);
void TP2_VI(double& t, double& p, double v, double h);
// The same, true when they also leave the evaluation of the region 2 equation at the state,
// with every sum, in `atRoot` (which their Newton's method ends on, except in its safeguard).
bool TP2_VS(double& t, double& p, double v, double s, GibbsState& atRoot);
bool TP2_VI(double& t, double& p, double v, double h, GibbsState& atRoot);
double T4_VS(double v, double s);
double T4_VI(double v, double h);
double T4_SX(double x, double s);
double T4_IX(double x, double h);
double T2m_PS(double p, double s);
double T2m_PI(double p, double h);

// --- Region tests: region code of the given pair; fill BoundaryValues as they go ---
int Region_TP(bool Metastable, double t, double p);
int Region_TV(double t, double v);
int Region_TS(double t, double s);
int Region_TI(double t, double h);
int Region_TX(double x, double t);
int Region_PV(double p, double v);
int Region_PS(bool Metastable, double p, double s);
int Region_PI(bool Metastable, double p, double h);
int Region_PX(double x, double p);
int Region_VS(double v, double s);
int Region_VI(double v, double h);
int Region_SX(double x, double s);
int Region_IX(double x, double h);

// --- The state, for the derived properties ---
// What a derived property needs of the basic equation at a single-phase state (regions 1, 2,
// 3 and 8), which the state procedure evaluates together with its outputs.
// The results are left uninitialised: only the state procedure of the region writes them.
struct StateEquation {
    unsigned gibbsNeed = 0; // asked: Gibbs sums beyond the outputs' own (GibbsNeed bits)
    bool helmholtz = false; // asked: the region 3 derivatives
    GibbsState gibbs;       // given in regions 1, 2 and 8
    Helmholtz3 f;           // given in region 3
};

// StateFromPair for callers inside the library that open their own fault scope: the outputs
// t, p, v, s, h, x go to q (in-out, as StateFromPair's), the region code is returned, and the
// evaluation of the state's basic equation to `equation` when given. Throws NumericFault
// when a computed output is not finite; floating-point flags are left to the caller's scope.
int completeState(int PairCode, bool WantP, bool WantV, double X1, double X2, bool WantS,
                  bool WantI, bool Metastable, std::array<double, 6>& q,
                  StateEquation* equation = nullptr);

} // namespace numerics
