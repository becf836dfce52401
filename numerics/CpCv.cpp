#include "numerics/CpCv.h"

#include "numerics/BoundaryValues.h"
#include "numerics/Constants.h"
#include "numerics/DecimalLimits.h"
#include "numerics/FaultScope.h"
#include "numerics/Sr_Cr.h"
#include "numerics/Sr_Ws.h"
#include "numerics/TP_WS.h"
#include "numerics/numerics.h"

#include <array>
#include <cmath>
#include <limits>
#include <string>

namespace numerics {

thread_local constinit LibraryRecord LibraryState{};

namespace {

namespace rc = RegionCode;

double reducedDensity(double v) {
    return kVc / v;
}
double reducedTemperature3(double t) {
    return kTc / (t + kKelvinOffset);
}

// cp of a single phase of region 3: none where its isotherm does not rise.
double singlePhaseCp3(double delta, double tau, const Helmholtz3& f) {
    return isothermRises(delta, f) ? cp3Of(delta, tau, f)
                                   : std::numeric_limits<double>::quiet_NaN();
}
double singlePhaseCp3(double t, double v) {
    return singlePhaseCp3(reducedDensity(v), reducedTemperature3(t), Helmholtz3_TV(t, v));
}

double isobaricRow(int region, const StateEquation& eq) {
    const LibraryRecord& s = LibraryState;
    switch (region) {
    case rc::Water:
    case rc::Steam:
    case rc::Metastable:
        return cpOf(eq.gibbs);
    case rc::Critical:
        return singlePhaseCp3(reducedDensity(s.V), reducedTemperature3(s.T), eq.f);
    case rc::WetHigh: {
        const BoundaryRecord& b = BoundaryValues;
        const double liquid = limits::countsLiquid(s.X) ? singlePhaseCp3(s.T, b.V12) : 0;
        const double vapour = limits::countsVapour(s.X) ? singlePhaseCp3(s.T, b.V23) : 0;
        return liquid + s.X * (vapour - liquid);
    }
    case rc::WetLow:
        return (1 - s.X) * Cp1_TP(s.T, s.P) + s.X * Cp2_TP(s.T, s.P);
    default:
        return 0;
    }
}

double isochoricRow(int region, const StateEquation& eq) {
    const LibraryRecord& s = LibraryState;
    switch (region) {
    case rc::Water:
    case rc::Steam:
    case rc::Metastable:
        return cvOf(eq.gibbs);
    case rc::Critical:
        return cv3Of(reducedTemperature3(s.T), eq.f);
    case rc::WetHigh: // at the mixture's own volume
        return Cv3_TV(s.T, s.V);
    case rc::WetLow:
        return (1 - s.X) * Cv1_TP(s.T, s.P) + s.X * Cv2_TP(s.T, s.P);
    default:
        return 0;
    }
}

// The dispatch. A field of LibraryState that the state does not write keeps its value.
double derivedOnce(DerivedRow row, unsigned gibbsNeed, int PairCode, bool Metastable, double X1,
                   double X2, bool wantI) {
    LibraryRecord& s = LibraryState;
    std::array<double, 6> q{s.T, s.P, s.V, s.S, s.I, s.X};
    // Only the requests are set: the state procedure of the region writes the results.
    StateEquation eq;
    eq.gibbsNeed = gibbsNeed;
    eq.helmholtz = true;
    const int region =
        completeState(PairCode, true, true, X1, X2, true, wantI, Metastable, q, &eq);
    s = {q[0], q[1], q[2], q[3], q[4], q[5]};
    return row(region, eq);
}

} // namespace

double derivedFromPair(const char* where, DerivedRow row, unsigned gibbsNeed, int PairCode,
                       bool Metastable, double X1, double X2, bool wantI) {
    const double result = runChecked(
        where, [=] { return derivedOnce(row, gibbsNeed, PairCode, Metastable, X1, X2, wantI); });
    if (!std::isfinite(result)) throw NumericFault(std::string(where) + ": not computed");
    return result;
}

double IsobaricHeatCapacity(int PairCode, bool Metastable, double X1, double X2) {
    return derivedFromPair("IsobaricHeatCapacity", isobaricRow, kGammaTauTau, PairCode, Metastable,
                           X1, X2, true);
}

double IsochoricHeatCapacity(int PairCode, bool Metastable, double X1, double X2) {
    return derivedFromPair("IsochoricHeatCapacity", isochoricRow, kSoundSums, PairCode, Metastable,
                           X1, X2, true);
}

double cpOf(const GibbsState& g) {
    return -kGasConstant * g.tau * g.tau * (g.ideal.gammaTauTau + g.residual.gammaTauTau);
}

double cvOf(const GibbsState& g) {
    const GibbsDerivatives& r = g.residual;
    if (g.equation == GibbsEquation::Region1) {
        const double a = r.gammaPi - g.tau * r.gammaPiTau;
        return cpOf(g) + kGasConstant * a * a / r.gammaPiPi;
    }
    const double a = 1 + g.pi * r.gammaPi - g.tau * g.pi * r.gammaPiTau;
    return cpOf(g) - kGasConstant * a * a / (1 - g.pi * g.pi * r.gammaPiPi);
}

double cv3Of(double tau, const Helmholtz3& f) {
    return -kGasConstant * tau * tau * f.phi_tt;
}

double cp3Of(double delta, double tau, const Helmholtz3& f) {
    const double a = delta * f.phi_d - delta * tau * f.phi_dt;
    return cv3Of(tau, f) + kGasConstant * a * a / (2 * delta * f.phi_d + delta * delta * f.phi_dd);
}

double Cp1_TP(double t, double p) {
    return cpOf(evaluateGibbs(GibbsEquation::Region1, t, p, kGammaTauTau));
}
double Cv1_TP(double t, double p) {
    return cvOf(evaluateGibbs(GibbsEquation::Region1, t, p, kSoundSums));
}
double Cp2_TP(double t, double p) {
    return cpOf(evaluateGibbs(GibbsEquation::Region2, t, p, kGammaTauTau));
}
double Cv2_TP(double t, double p) {
    return cvOf(evaluateGibbs(GibbsEquation::Region2, t, p, kSoundSums));
}
double Cp2m_TP(double t, double p) {
    return cpOf(evaluateGibbs(GibbsEquation::Metastable, t, p, kGammaTauTau));
}
double Cv2m_TP(double t, double p) {
    return cvOf(evaluateGibbs(GibbsEquation::Metastable, t, p, kSoundSums));
}

double Cv3_TV(double t, double v) {
    return cv3Of(reducedTemperature3(t), Helmholtz3_TV(t, v));
}

double Cp3_TV(double t, double v) {
    return cp3Of(reducedDensity(v), reducedTemperature3(t), Helmholtz3_TV(t, v));
}

} // namespace numerics
