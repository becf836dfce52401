#pragma once
// Region 3 (critical region): the IF97 region 3 equation in (t, v), the start-value fits of the
// region 3 iterations, the region 3 inverse solvers, and wet steam above 350 °C whose saturated
// states come from the region 3 equation.
// Units: t in °C, p in MPa, v in m3/kg, s in kJ/(kg K), h in kJ/kg, x in 1.

#include <optional>

namespace numerics {

// Region 3 equation.
double P3_TV(double t, double v);
double S3_TV(double t, double v); // also the callback for the sought t with param v
double I3_TV(double t, double v); // likewise

// Callback adapters: the sought value first.
double P3_VT(double v, double t);
double S3_VT(double v, double t);
void PS3_TV(double t, double v, double& p, double& s);
void PI3_TV(double t, double v, double& p, double& h);

// Start values of the region 3 iterations (the library's own fits).
double V3Est_TP(double t, double p);
double V3Est_PS(double p, double s);
double V3Est_PI(double p, double h);
double V3Est_TS(double t, double s);
double T3Est_PS(double p, double s);
double T3Est_PI(double p, double h);

// Region 3 inverse solvers. T3_VS and T3_VI read the bracket [Ts, TB23] with its end values
// from BoundaryValues, as the region test of the pair left it. A bracket walk (V3_TP, V3_TS)
// or Newton iteration (TV3_PS, TV3_PI) that reaches its bound or leaves the region returns
// what it has with the "gave up" mark or a floating-point flag set (FaultScope.h).
double V3_TP(double t, double p);
// The density [kg/m3] at which the isotherm t of the region 3 equation has the pressure p, on a
// stable branch: the densest root (`dense`) or the thinnest, to the last digits the rounding of
// the pressure allows. rhoStart lies beyond that root, outside the loop of the isotherm (denser
// than the saturated liquid, or thinner than the saturated vapour, of 350 °C will do). Nothing
// when it does not meet p within tol [MPa].
std::optional<double> DensityOnIsotherm(double t, double p, bool dense, double rhoStart,
                                        double tol);
double V3_TS(double t, double s);
double T3_VS(double v, double s);
double T3_VI(double v, double h);
void TV3_PS(double& t, double& v, double p, double s);
void TV3_PI(double& t, double& v, double p, double h);
struct Region3State;
// The same, true when they also leave the evaluation of the region 3 equation at the state (p,
// s, h and the derivatives) in `atRoot`, which their Newton's method ends on except in its
// safeguard.
bool TV3_PS(double& t, double& v, double p, double s, Region3State& atRoot);
bool TV3_PI(double& t, double& v, double p, double h, Region3State& atRoot);

// Wet steam between 350 °C and the critical point. Each evaluation stores Ps, V12, V23 and the
// saturated entropies (S12, S23) or enthalpies (I12, I23) of t in BoundaryValues.
double S4kr_TV(double t, double v);
double I4kr_TV(double t, double v);
double S4kr_TX(double t, double x);

// Saturation temperature of wet steam above 350 °C, on the brackets the region test prepared.
double T4kr_VS(double v, double s);
double T4kr_VI(double v, double h);
double T4kr_SX(double x, double s);

// The dimensionless Helmholtz free energy phi = f / (R T) of region 3 and its plain partial
// derivatives in delta = vc / v and tau = Tc / T (vc = 1/322 m3/kg, Tc = 647.096 K): phi_d is
// d phi / d delta, phi_dd d2 phi / d delta2, phi_t d phi / d tau, phi_tt d2 phi / d tau2 and
// phi_dt d2 phi / d delta d tau. With R in kJ/(kg K):
//   p  = R T delta phi_d / (1000 v)     [MPa]
//   s  = R (tau phi_t - phi),  h = R T (tau phi_t + delta phi_d)
//   cv = -R tau^2 phi_tt
//   cp = cv + R (delta phi_d - delta tau phi_dt)^2 / (2 delta phi_d + delta^2 phi_dd)
//   w^2 = 1000 R T (2 delta phi_d + delta^2 phi_dd
//                   - (delta phi_d - delta tau phi_dt)^2 / (tau^2 phi_tt))   [m2/s2]
// The heat capacities, isentropic exponent and speed of sound of region 3 are built from them.
//
// The region 3 functions above and this evaluator hold for v > 0 and T > 0 only; outside they
// raise the invalid-operation flag and return NaN, so that a bracket walk or Newton iteration
// that leaves the region ends as "not computed" rather than carrying on.
// S4kr_TV and I4kr_TV divide by V23 - V12, which vanishes at the critical point (373.946 °C):
// there they raise a floating-point fault.
struct Helmholtz3 {
    double phi, phi_d, phi_dd, phi_t, phi_tt, phi_dt;
};
Helmholtz3 Helmholtz3_TV(double t, double v);

// One evaluation of the region 3 equation for a completed state at (t, v): p, s and h as
// P3_TV, S3_TV and I3_TV give them (each only when asked for) and, with `derivatives`, phi and
// its derivatives as Helmholtz3_TV gives them.
struct Region3State {
    double p = 0, s = 0, h = 0;
    Helmholtz3 f{};
};
Region3State evaluateRegion3(double t, double v, bool wantP, bool wantS, bool wantI,
                             bool derivatives);

} // namespace numerics
