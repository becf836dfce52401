#include "numerics/Wsound.h"

#include "numerics/Constants.h"
#include "numerics/CpCv.h"
#include "numerics/Sr_Cr.h"
#include "numerics/TP_WS.h"
#include "numerics/numerics.h"

#include <cmath>

namespace numerics {

namespace {

namespace rc = RegionCode;

using GibbsEvaluator = GibbsDerivatives (*)(double pi, double tau, unsigned need);

constexpr double kGasConstantSI = 461.526; // J/(kg K): R T in m2/s2

// Region 2 and metastable vapour: pi = p / 1 MPa.
double speed2(GibbsEvaluator ideal, GibbsEvaluator residual, double t, double p) {
    const double T = t + kKelvinOffset;
    const double tau = kRegion2TStar / T;
    const double pi = p;
    const GibbsDerivatives o = ideal(pi, tau, kGammaTauTau);
    const GibbsDerivatives r =
        residual(pi, tau, kGammaPi | kGammaPiPi | kGammaTauTau | kGammaPiTau);
    const double a = 1 + pi * r.gammaPi - tau * pi * r.gammaPiTau;
    return std::sqrt(
        kGasConstantSI * T * (1 + 2 * pi * r.gammaPi + pi * pi * r.gammaPi * r.gammaPi) /
        ((1 - pi * pi * r.gammaPiPi) + a * a / (tau * tau * (o.gammaTauTau + r.gammaTauTau))));
}

// Region 6 has no value.
double soundRow(int region) {
    const LibraryRecord& s = LibraryState;
    switch (region) {
    case rc::Water:
        return W1_TP(s.T, s.P);
    case rc::Steam:
        return W2_TP(s.T, s.P);
    case rc::Critical:
    case rc::WetHigh: // at the mixture's own volume
        return W3_TV(s.T, s.V);
    case rc::Metastable:
        return W2m_TP(s.T, s.P);
    default:
        return 0;
    }
}

} // namespace

double SpeedOfSound(int PairCode, bool Metastable, double X1, double X2) {
    return derivedFromPair("SpeedOfSound", soundRow, PairCode, Metastable, X1, X2, true);
}

double W1_TP(double t, double p) {
    const double T = t + kKelvinOffset;
    const double tau = kRegion1TStar / T;
    const GibbsDerivatives g =
        region1Gibbs(p / kRegion1PStar, tau, kGammaPi | kGammaPiPi | kGammaTauTau | kGammaPiTau);
    const double a = g.gammaPi - tau * g.gammaPiTau;
    return std::sqrt(kGasConstantSI * T * g.gammaPi * g.gammaPi /
                     (a * a / (tau * tau * g.gammaTauTau) - g.gammaPiPi));
}

double W2_TP(double t, double p) {
    return speed2(region2IdealGibbs, region2ResidualGibbs, t, p);
}

double W2m_TP(double t, double p) {
    return speed2(metastableIdealGibbs, metastableResidualGibbs, t, p);
}

double W3_TV(double t, double v) {
    const double T = t + kKelvinOffset;
    const double tau = kTc / T;
    const double delta = kVc / v;
    const Helmholtz3 f = Helmholtz3_TV(t, v);
    const double a = delta * f.phi_d - delta * tau * f.phi_dt;
    return std::sqrt(
        kGasConstantSI * T *
        (2 * delta * f.phi_d + delta * delta * f.phi_dd - a * a / (tau * tau * f.phi_tt)));
}

} // namespace numerics
