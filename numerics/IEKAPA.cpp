#include "numerics/IEKAPA.h"

#include "numerics/Constants.h"
#include "numerics/CpCv.h"
#include "numerics/Sr_Cr.h"
#include "numerics/TP_WS.h"
#include "numerics/numerics.h"

namespace numerics {

namespace {

namespace rc = RegionCode;

using GibbsEvaluator = GibbsDerivatives (*)(double pi, double tau, unsigned need);

// Region 2 and metastable vapour: pi = p / 1 MPa.
double kappa2(GibbsEvaluator ideal, GibbsEvaluator residual, double t, double p) {
    const double tau = kRegion2TStar / (t + kKelvinOffset);
    const double pi = p;
    const GibbsDerivatives o = ideal(pi, tau, kGammaTauTau);
    const GibbsDerivatives r =
        residual(pi, tau, kGammaPi | kGammaPiPi | kGammaTauTau | kGammaPiTau);
    const double a = 1 + pi * r.gammaPi - tau * pi * r.gammaPiTau;
    return (1 + pi * r.gammaPi) /
           ((1 - pi * pi * r.gammaPiPi) + a * a / (tau * tau * (o.gammaTauTau + r.gammaTauTau)));
}

// Regions 1 and 6 have no value.
double isentropicRow(int region) {
    const LibraryRecord& s = LibraryState;
    switch (region) {
    case rc::Steam:
        return Kapa2_TP(s.T, s.P);
    case rc::Critical:
    case rc::WetHigh: // at the mixture's own volume
        return Kapa3_TV(s.T, s.V);
    case rc::Metastable:
        return Kapa2m_TP(s.T, s.P);
    default:
        return 0;
    }
}

} // namespace

// h is not needed, so the state is completed without it.
double IsentropicExponent(int PairCode, bool Metastable, double X1, double X2) {
    return derivedFromPair("IsentropicExponent", isentropicRow, PairCode, Metastable, X1, X2,
                           false);
}

double Kapa2_TP(double t, double p) {
    return kappa2(region2IdealGibbs, region2ResidualGibbs, t, p);
}

double Kapa2m_TP(double t, double p) {
    return kappa2(metastableIdealGibbs, metastableResidualGibbs, t, p);
}

double Kapa3_TV(double t, double v) {
    const double tau = kTc / (t + kKelvinOffset);
    const double delta = kVc / v;
    const Helmholtz3 f = Helmholtz3_TV(t, v);
    const double a = delta * f.phi_d - delta * tau * f.phi_dt;
    return (2 * delta * f.phi_d + delta * delta * f.phi_dd - a * a / (tau * tau * f.phi_tt)) /
           (delta * f.phi_d);
}

} // namespace numerics
