#include "numerics/Wsound.h"

#include "numerics/Constants.h"
#include "numerics/CpCv.h"
#include "numerics/Sr_Cr.h"
#include "numerics/Sr_Ws.h"
#include "numerics/TP_WS.h"
#include "numerics/numerics.h"

#include <cmath>
#include <limits>

namespace numerics {

namespace {

namespace rc = RegionCode;

constexpr double kGasConstantSI = 461.526; // J/(kg K): R T in m2/s2

double speedOf(const GibbsState& g) {
    const double T = g.T, pi = g.pi, tau = g.tau;
    const GibbsDerivatives& r = g.residual;
    if (g.equation == GibbsEquation::Region1) {
        const double a = r.gammaPi - tau * r.gammaPiTau;
        return std::sqrt(kGasConstantSI * T * r.gammaPi * r.gammaPi /
                         (a * a / (tau * tau * r.gammaTauTau) - r.gammaPiPi));
    }
    const GibbsDerivatives& o = g.ideal;
    const double a = 1 + pi * r.gammaPi - tau * pi * r.gammaPiTau;
    return std::sqrt(
        kGasConstantSI * T * (1 + 2 * pi * r.gammaPi + pi * pi * r.gammaPi * r.gammaPi) /
        ((1 - pi * pi * r.gammaPiPi) + a * a / (tau * tau * (o.gammaTauTau + r.gammaTauTau))));
}

double speed3Of(double T, double delta, double tau, const Helmholtz3& f) {
    const double a = delta * f.phi_d - delta * tau * f.phi_dt;
    return std::sqrt(
        kGasConstantSI * T *
        (2 * delta * f.phi_d + delta * delta * f.phi_dd - a * a / (tau * tau * f.phi_tt)));
}

// Region 6 has no value.
double soundRow(int region, const StateEquation& eq) {
    const LibraryRecord& s = LibraryState;
    switch (region) {
    case rc::Water:
    case rc::Steam:
    case rc::Metastable:
        return speedOf(eq.gibbs);
    case rc::Critical: { // a single phase: no value where its isotherm does not rise
        const double T = s.T + kKelvinOffset, delta = kVc / s.V;
        return isothermRises(delta, eq.f) ? speed3Of(T, delta, kTc / T, eq.f)
                                          : std::numeric_limits<double>::quiet_NaN();
    }
    case rc::WetHigh: // at the mixture's own volume
        return W3_TV(s.T, s.V);
    default:
        return 0;
    }
}

} // namespace

double SpeedOfSound(int PairCode, bool Metastable, double X1, double X2) {
    return derivedFromPair("SpeedOfSound", soundRow, kSoundSums, PairCode, Metastable, X1, X2,
                           true);
}

double W1_TP(double t, double p) {
    return speedOf(evaluateGibbs(GibbsEquation::Region1, t, p, kSoundSums));
}

double W2_TP(double t, double p) {
    return speedOf(evaluateGibbs(GibbsEquation::Region2, t, p, kSoundSums));
}

double W2m_TP(double t, double p) {
    return speedOf(evaluateGibbs(GibbsEquation::Metastable, t, p, kSoundSums));
}

double W3_TV(double t, double v) {
    const double T = t + kKelvinOffset;
    return speed3Of(T, kVc / v, kTc / T, Helmholtz3_TV(t, v));
}

} // namespace numerics
