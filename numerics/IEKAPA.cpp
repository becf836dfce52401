#include "numerics/IEKAPA.h"

#include "numerics/Constants.h"
#include "numerics/CpCv.h"
#include "numerics/Sr_Cr.h"
#include "numerics/Sr_Ws.h"
#include "numerics/TP_WS.h"
#include "numerics/numerics.h"

#include <limits>

namespace numerics {

namespace {

namespace rc = RegionCode;

// kappa = w^2 / (p v), with p v = R T pi gamma_pi in region 2 and metastable vapour.
double kappaOf(const GibbsState& g) {
    const double pi = g.pi, tau = g.tau;
    const GibbsDerivatives& o = g.ideal;
    const GibbsDerivatives& r = g.residual;
    const double a = 1 + pi * r.gammaPi - tau * pi * r.gammaPiTau;
    return (1 + pi * r.gammaPi) /
           ((1 - pi * pi * r.gammaPiPi) + a * a / (tau * tau * (o.gammaTauTau + r.gammaTauTau)));
}

double kappa3Of(double delta, double tau, const Helmholtz3& f) {
    const double a = delta * f.phi_d - delta * tau * f.phi_dt;
    return (2 * delta * f.phi_d + delta * delta * f.phi_dd - a * a / (tau * tau * f.phi_tt)) /
           (delta * f.phi_d);
}

// Regions 1 and 6 have no value.
double isentropicRow(int region, const StateEquation& eq) {
    const LibraryRecord& s = LibraryState;
    switch (region) {
    case rc::Steam:
    case rc::Metastable:
        return kappaOf(eq.gibbs);
    case rc::Critical: { // a single phase: no value where its isotherm does not rise
        const double delta = kVc / s.V;
        return isothermRises(delta, eq.f) ? kappa3Of(delta, kTc / (s.T + kKelvinOffset), eq.f)
                                          : std::numeric_limits<double>::quiet_NaN();
    }
    case rc::WetHigh: // at the mixture's own volume
        return Kapa3_TV(s.T, s.V);
    default:
        return 0;
    }
}

} // namespace

// h is not needed, so the state is completed without it.
double IsentropicExponent(int PairCode, bool Metastable, double X1, double X2) {
    return derivedFromPair("IsentropicExponent", isentropicRow, kSoundSums, PairCode, Metastable,
                           X1, X2, false);
}

double Kapa2_TP(double t, double p) {
    return kappaOf(evaluateGibbs(GibbsEquation::Region2, t, p, kSoundSums));
}

double Kapa2m_TP(double t, double p) {
    return kappaOf(evaluateGibbs(GibbsEquation::Metastable, t, p, kSoundSums));
}

double Kapa3_TV(double t, double v) {
    return kappa3Of(kVc / v, kTc / (t + kKelvinOffset), Helmholtz3_TV(t, v));
}

} // namespace numerics
