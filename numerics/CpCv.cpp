#include "numerics/CpCv.h"

#include "numerics/BoundaryValues.h"
#include "numerics/Constants.h"
#include "numerics/DecimalLimits.h"
#include "numerics/FaultScope.h"
#include "numerics/Sr_Cr.h"
#include "numerics/TP_WS.h"
#include "numerics/numerics.h"

namespace numerics {

thread_local constinit LibraryRecord LibraryState{};

namespace {

namespace rc = RegionCode;

using GibbsEvaluator = GibbsDerivatives (*)(double pi, double tau, unsigned need);

double cp1(double tau, const GibbsDerivatives& g) {
    return -kGasConstant * tau * tau * g.gammaTauTau;
}

double cp2(double tau, const GibbsDerivatives& ideal, const GibbsDerivatives& residual) {
    return -kGasConstant * tau * tau * (ideal.gammaTauTau + residual.gammaTauTau);
}

double cp2(GibbsEvaluator ideal, GibbsEvaluator residual, double t, double p) {
    const double tau = kRegion2TStar / (t + kKelvinOffset);
    return cp2(tau, ideal(p, tau, kGammaTauTau), residual(p, tau, kGammaTauTau));
}

// Region 2 and metastable vapour: pi = p / 1 MPa.
double cv2(GibbsEvaluator ideal, GibbsEvaluator residual, double t, double p) {
    const double tau = kRegion2TStar / (t + kKelvinOffset);
    const double pi = p;
    const GibbsDerivatives r =
        residual(pi, tau, kGammaPi | kGammaPiPi | kGammaTauTau | kGammaPiTau);
    const double a = 1 + pi * r.gammaPi - tau * pi * r.gammaPiTau;
    return cp2(tau, ideal(pi, tau, kGammaTauTau), r) -
           kGasConstant * a * a / (1 - pi * pi * r.gammaPiPi);
}

double cv3(double tau, const Helmholtz3& f) {
    return -kGasConstant * tau * tau * f.phi_tt;
}

double isobaricRow(int region) {
    const LibraryRecord& s = LibraryState;
    switch (region) {
    case rc::Water:
        return Cp1_TP(s.T, s.P);
    case rc::Steam:
        return Cp2_TP(s.T, s.P);
    case rc::Critical:
        return Cp3_TV(s.T, s.V);
    case rc::WetHigh: {
        const double liquid = limits::countsLiquid(s.X) ? Cp3_TV(s.T, BoundaryValues.V12) : 0;
        const double vapour = limits::countsVapour(s.X) ? Cp3_TV(s.T, BoundaryValues.V23) : 0;
        return liquid + s.X * (vapour - liquid);
    }
    case rc::WetLow:
        return (1 - s.X) * Cp1_TP(s.T, s.P) + s.X * Cp2_TP(s.T, s.P);
    case rc::Metastable:
        return Cp2m_TP(s.T, s.P);
    default:
        return 0;
    }
}

double isochoricRow(int region) {
    const LibraryRecord& s = LibraryState;
    switch (region) {
    case rc::Water:
        return Cv1_TP(s.T, s.P);
    case rc::Steam:
        return Cv2_TP(s.T, s.P);
    case rc::Critical:
    case rc::WetHigh: // at the mixture's own volume
        return Cv3_TV(s.T, s.V);
    case rc::WetLow:
        return (1 - s.X) * Cv1_TP(s.T, s.P) + s.X * Cv2_TP(s.T, s.P);
    case rc::Metastable:
        return Cv2m_TP(s.T, s.P);
    default:
        return 0;
    }
}

} // namespace

double derivedFromPair(const char* where, DerivedRow row, int PairCode, bool Metastable, double X1,
                       double X2, bool wantI) {
    FaultScope scope;
    LibraryRecord& s = LibraryState;
    int region = rc::None;
    StateFromPair(PairCode, true, true, X1, X2, true, wantI, Metastable, s.T, s.P, s.V, s.S, s.I,
                  s.X, region);
    const double result = row(region);
    scope.check(where, {result});
    return result;
}

double IsobaricHeatCapacity(int PairCode, bool Metastable, double X1, double X2) {
    return derivedFromPair("IsobaricHeatCapacity", isobaricRow, PairCode, Metastable, X1, X2,
                           true);
}

double IsochoricHeatCapacity(int PairCode, bool Metastable, double X1, double X2) {
    return derivedFromPair("IsochoricHeatCapacity", isochoricRow, PairCode, Metastable, X1, X2,
                           true);
}

double Cp1_TP(double t, double p) {
    const double tau = kRegion1TStar / (t + kKelvinOffset);
    return cp1(tau, region1Gibbs(p / kRegion1PStar, tau, kGammaTauTau));
}

double Cv1_TP(double t, double p) {
    const double tau = kRegion1TStar / (t + kKelvinOffset);
    const GibbsDerivatives g =
        region1Gibbs(p / kRegion1PStar, tau, kGammaPi | kGammaPiPi | kGammaTauTau | kGammaPiTau);
    const double a = g.gammaPi - tau * g.gammaPiTau;
    return cp1(tau, g) + kGasConstant * a * a / g.gammaPiPi;
}

double Cp2_TP(double t, double p) {
    return cp2(region2IdealGibbs, region2ResidualGibbs, t, p);
}
double Cv2_TP(double t, double p) {
    return cv2(region2IdealGibbs, region2ResidualGibbs, t, p);
}

double Cp2m_TP(double t, double p) {
    return cp2(metastableIdealGibbs, metastableResidualGibbs, t, p);
}
double Cv2m_TP(double t, double p) {
    return cv2(metastableIdealGibbs, metastableResidualGibbs, t, p);
}

double Cv3_TV(double t, double v) {
    return cv3(kTc / (t + kKelvinOffset), Helmholtz3_TV(t, v));
}

double Cp3_TV(double t, double v) {
    const double tau = kTc / (t + kKelvinOffset);
    const double delta = kVc / v;
    const Helmholtz3 f = Helmholtz3_TV(t, v);
    const double a = delta * f.phi_d - delta * tau * f.phi_dt;
    return cv3(tau, f) + kGasConstant * a * a / (2 * delta * f.phi_d + delta * delta * f.phi_dd);
}

} // namespace numerics
