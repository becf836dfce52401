// The state entry point: region test of the given pair, then the state procedure of the region,
// which completes t, p (and x) and computes the asked-for quantities.

#include "numerics/Sr_Ws.h"
#include "numerics/BoundaryValues.h"
#include "numerics/DecimalLimits.h"
#include "numerics/FaultScope.h"
#include "numerics/Sr_Cr.h"
#include "numerics/TP_WS.h"
#include "numerics/numerics.h"

#include <array>
#include <cmath>
#include <new>

namespace numerics {

namespace {

namespace pc = PairCode;
namespace rc = RegionCode;

// Quantity indexes of the six outputs: t, p, v, s, h, x.
enum Quantity { kT, kP, kV, kS, kI, kX, kQuantities };

using Fn2 = double (*)(double, double);

// The outputs of a single-phase (t, p) state from one evaluation of its equation, which is
// handed on when a derived property asked for it. Inline: it is most of what a (t, p) state
// does besides the sums. A solver that ended on an evaluation with every sum at the state
// hands it in as `known`.
[[gnu::always_inline]] inline void finishTP(GibbsEquation equation, bool WantV, bool WantS,
                                            bool WantI, double T, double P, double& V, double& S,
                                            double& I, StateEquation* eq,
                                            const GibbsState* known = nullptr) {
    if (known != nullptr) {
        if (WantV) V = volumeOf(*known);
        if (WantS) S = entropyOf(*known);
        if (WantI) I = enthalpyOf(*known);
        if (eq != nullptr) eq->gibbs = *known;
        return;
    }
    unsigned need = eq != nullptr ? eq->gibbsNeed : 0;
    if (WantV) need |= kGammaPi;
    if (WantS) need |= kGamma | kGammaTau;
    if (WantI) need |= kGammaTau;
    if (need == 0) return;
    // The evaluation a derived property reads is formed in place: a copy of it would be read
    // back in wider loads than it was written with, which waits for the stores to complete.
    const auto outputs = [&](const GibbsState& g) {
        if (WantV) V = volumeOf(g);
        if (WantS) S = entropyOf(g);
        if (WantI) I = enthalpyOf(g);
    };
    if (eq == nullptr) {
        outputs(evaluateGibbs(equation, T, P, need));
        return;
    }
    ::new (&eq->gibbs) GibbsState(evaluateGibbs(equation, T, P, need));
    outputs(eq->gibbs);
}

void State1(int pair, bool WantV, bool WantS, bool WantI, double& T, double& P, double& V,
            double& S, double& I, StateEquation* eq) {
    switch (pair) {
    case pc::TV:
        P = P1_TV(T, V);
        break;
    case pc::TS:
        P = P1_TS(T, S);
        break;
    case pc::PS:
        T = T1_PS(P, S);
        break;
    case pc::PI:
        T = T1_PI(P, I);
        break;
    default:
        break;
    }
    finishTP(GibbsEquation::Region1, WantV, WantS, WantI, T, P, V, S, I, eq);
}

void State2(int pair, bool WantV, bool WantS, bool WantI, double& T, double& P, double& V,
            double& S, double& I, StateEquation* eq) {
    GibbsState atRoot;
    const GibbsState* known = nullptr;
    switch (pair) {
    case pc::TV:
        P = P2_TV(T, V);
        break;
    case pc::TS:
        P = P2_TS(T, S);
        break;
    case pc::PS:
        T = T2_PS(P, S);
        break;
    case pc::PI:
        T = T2_PI(P, I);
        break;
    case pc::VS:
        if (TP2_VS(T, P, V, S, atRoot)) known = &atRoot;
        break;
    case pc::VI:
        if (TP2_VI(T, P, V, I, atRoot)) known = &atRoot;
        break;
    default:
        break;
    }
    finishTP(GibbsEquation::Region2, WantV, WantS, WantI, T, P, V, S, I, eq, known);
}

void StateMeta(int pair, bool WantV, bool WantS, bool WantI, double& T, double& P, double& V,
               double& S, double& I, StateEquation* eq) {
    switch (pair) {
    case pc::PS:
        T = T2m_PS(P, S);
        break;
    case pc::PI:
        T = T2m_PI(P, I);
        break;
    default:
        break;
    }
    finishTP(GibbsEquation::Metastable, WantV, WantS, WantI, T, P, V, S, I, eq);
}

void State3(int pair, bool WantP, bool WantS, bool WantI, double& T, double& P, double& V,
            double& S, double& I, StateEquation* eq) {
    Region3State atRoot;
    bool known = false;
    switch (pair) {
    case pc::TP:
        V = V3_TP(T, P);
        break;
    case pc::TS:
        V = V3_TS(T, S);
        break;
    case pc::PS:
        known = TV3_PS(T, V, P, S, atRoot);
        break;
    case pc::PI:
        known = TV3_PI(T, V, P, I, atRoot);
        break;
    case pc::VS:
        T = T3_VS(V, S);
        break;
    case pc::VI:
        T = T3_VI(V, I);
        break;
    default:
        break;
    }
    const bool derivatives = eq != nullptr && eq->helmholtz;
    if (!(WantP || WantS || WantI || derivatives)) return;
    // A solver that ended on an evaluation with everything at the state hands it in.
    const Region3State r =
        known ? atRoot : evaluateRegion3(T, V, WantP, WantS, WantI, derivatives);
    if (WantP) P = r.p;
    if (WantS) S = r.s;
    if (WantI) I = r.h;
    if (derivatives) eq->f = r.f;
}

constexpr double kDrynessSlack = 1e-6;

// Dryness of a wet state from one quantity y and its saturated values.
double dryness(double y, double liquid, double vapour) {
    return (y - liquid) / (vapour - liquid);
}

using limits::countsLiquid;
using limits::countsVapour;

double mix(double X, double liquid, double vapour) {
    return liquid + X * (vapour - liquid);
}

// Completes t, p and x of wet steam from the given pair; `high` selects region 5 (saturated
// states from the region 3 equation) over region 6.
void completeWet(int pair, bool high, double& T, double& P, double V, double S, double I,
                 double& X) {
    auto& bv = BoundaryValues;
    switch (pair) {
    case pc::TV:
        P = bv.Ps;
        X = dryness(V, bv.V12, bv.V23);
        break;
    case pc::TS:
        P = bv.Ps;
        X = dryness(S, bv.S12, bv.S23);
        break;
    case pc::TI:
        P = bv.Ps;
        X = dryness(I, bv.I12, bv.I23);
        break;
    case pc::TX:
        P = bv.Ps;
        break;
    case pc::PV:
        T = bv.Ts;
        X = dryness(V, bv.V12, bv.V23);
        break;
    case pc::PS:
        T = bv.Ts;
        X = dryness(S, bv.S12, bv.S23);
        break;
    case pc::PI:
        T = bv.Ts;
        X = dryness(I, bv.I12, bv.I23);
        break;
    case pc::PX:
        T = bv.Ts;
        break;
    case pc::VS:
        bv.Ts = high ? T4kr_VS(V, S) : T4_VS(V, S);
        T = bv.Ts;
        P = high ? bv.Ps : Ps_T(bv.Ts);
        X = dryness(S, bv.S12, bv.S23);
        break;
    case pc::VI:
        bv.Ts = high ? T4kr_VI(V, I) : T4_VI(V, I);
        T = bv.Ts;
        P = bv.Ps;
        X = dryness(I, bv.I12, bv.I23);
        break;
    case pc::SX:
        bv.Ts = high ? T4kr_SX(X, S) : T4_SX(X, S);
        T = bv.Ts;
        P = high ? bv.Ps : Ps_T(bv.Ts);
        break;
    case pc::IX:
        bv.Ts = T4_IX(X, I);
        T = bv.Ts;
        P = Ps_T(bv.Ts);
        break;
    default:
        break;
    }
    // The region test found wet steam. A dryness beyond 0..1 (by more than the mixing gates'
    // 1e-6) shows that the saturated states have merged, as the region 3 equation's do at the
    // saturation pressure within some 3e-5 K of the critical point, where (v, s) and (v, h) may
    // still lead: there is no wet state to give.
    if (!(X >= -kDrynessSlack && X <= 1 + kDrynessSlack)) markGaveUp();
}

// Wet steam up to 350 °C: saturated values from the region 1 and 2 equations at (t, p).
void StateWet(int pair, bool WantV, bool WantS, bool WantI, double& T, double& P, double& V,
              double& S, double& I, double& X) {
    completeWet(pair, false, T, P, V, S, I, X);
    auto& bv = BoundaryValues;
    const bool liquid = countsLiquid(X), vapour = countsVapour(X);
    const auto saturated = [&](double& y12, double& y23, Fn2 f1, Fn2 f2) {
        y12 = liquid ? f1(T, P) : 0;
        y23 = vapour ? f2(T, P) : 0;
        return mix(X, y12, y23);
    };
    if (WantV) V = saturated(bv.V12, bv.V23, V1_TP, V2_TP);
    if (WantS) S = saturated(bv.S12, bv.S23, S1_TP, S2_TP);
    if (WantI) I = saturated(bv.I12, bv.I23, I1_TP, I2_TP);
}

// Wet steam above 350 °C: saturated volumes from the region 3 equation, found once.
void StateWet3(int pair, bool WantV, bool WantS, bool WantI, double& T, double& P, double& V,
               double& S, double& I, double& X) {
    completeWet(pair, true, T, P, V, S, I, X);
    if (!(WantV || WantS || WantI)) return;
    auto& bv = BoundaryValues;
    const bool liquid = countsLiquid(X), vapour = countsVapour(X);
    bv.V12 = liquid ? V12kr_T(T, P) : 0;
    bv.V23 = vapour ? V23kr_T(T, P) : 0;
    const auto saturated = [&](double& y12, double& y23, Fn2 f3) {
        y12 = liquid ? f3(T, bv.V12) : 0;
        y23 = vapour ? f3(T, bv.V23) : 0;
        return mix(X, y12, y23);
    };
    if (WantV) V = mix(X, bv.V12, bv.V23);
    if (WantS) S = saturated(bv.S12, bv.S23, S3_TV);
    if (WantI) I = saturated(bv.I12, bv.I23, I3_TV);
}

// Region test of a supported pair other than (t, p), which completeState tests itself (x1 and x2
// are quantities i and j of pair code 10 i + j).
int regionOf(int pair, bool Metastable, double x1, double x2) {
    switch (pair) {
    case pc::TV:
        return Region_TV(x1, x2);
    case pc::TS:
        return Region_TS(x1, x2);
    case pc::TI:
        return Region_TI(x1, x2);
    case pc::TX:
        return Region_TX(x2, x1);
    case pc::PV:
        return Region_PV(x1, x2);
    case pc::PS:
        return Region_PS(Metastable, x1, x2);
    case pc::PI:
        return Region_PI(Metastable, x1, x2);
    case pc::PX:
        return Region_PX(x2, x1);
    case pc::VS:
        return Region_VS(x1, x2);
    case pc::VI:
        return Region_VI(x1, x2);
    case pc::SX:
        return Region_SX(x2, x1);
    default:
        return Region_IX(x2, x1);
    }
}

bool isSupported(int pair) {
    switch (pair) {
    case pc::TP:
    case pc::TV:
    case pc::TS:
    case pc::TI:
    case pc::TX:
    case pc::PV:
    case pc::PS:
    case pc::PI:
    case pc::PX:
    case pc::VS:
    case pc::VI:
    case pc::SX:
    case pc::IX:
        return true;
    default:
        return false;
    }
}

// Whether the region code is one the pair may complete.
bool isAccepted(int pair, int region) {
    switch (pair) {
    case pc::TP:
    case pc::PS:
    case pc::PI:
        return region >= rc::Water && region <= rc::Metastable;
    case pc::TV:
    case pc::TS:
    case pc::VS:
    case pc::VI:
        return region >= rc::Water && region <= rc::WetLow;
    case pc::IX:
        return region == rc::WetLow;
    default:
        return region == rc::WetHigh || region == rc::WetLow;
    }
}

// The outputs a completed state writes: the given two, t and x, p except in region 3 unless
// given or asked for, v when asked for or in region 3, s and h when asked for.
std::array<bool, kQuantities> writtenOutputs(int pair, int region, bool WantP, bool WantV,
                                             bool WantS, bool WantI) {
    std::array<bool, kQuantities> written{};
    written[pair / 10 - 1] = written[pair % 10 - 1] = true;
    written[kT] = written[kX] = true;
    written[kP] = written[kP] || region != rc::Critical || WantP;
    written[kV] = written[kV] || WantV || region == rc::Critical;
    written[kS] = written[kS] || WantS;
    written[kI] = written[kI] || WantI;
    return written;
}

bool isSinglePhaseTP(int region) {
    return region == rc::Water || region == rc::Steam || region == rc::Metastable;
}

// (t, p) in region 1, 2 or 8, the states asked for most: nothing to solve, one evaluation of
// the region's equation gives every output. Writes and checks what the general path of
// completeState does, without its dispatch.
int completeSinglePhaseTP(int region, double t, double p, bool WantV, bool WantS, bool WantI,
                          std::array<double, kQuantities>& q, StateEquation* eq) {
    const GibbsEquation equation = region == rc::Water   ? GibbsEquation::Region1
                                   : region == rc::Steam ? GibbsEquation::Region2
                                                         : GibbsEquation::Metastable;
    q[kT] = t;
    q[kP] = p;
    finishTP(equation, WantV, WantS, WantI, t, p, q[kV], q[kS], q[kI], eq);
    q[kX] = region == rc::Water ? 0 : 1;
    const bool finite = std::isfinite(t) && std::isfinite(p) && (!WantV || std::isfinite(q[kV])) &&
                        (!WantS || std::isfinite(q[kS])) && (!WantI || std::isfinite(q[kI]));
    if (!finite) throw NumericFault("StateFromPair: not computed");
    return region;
}

// The state of a supported pair in the region its test found: writes the given values and the
// asked-for outputs to q, checks that they are finite and returns the region code.
int completeInRegion(int pairCode, int region, bool WantP, bool WantV, double X1, double X2,
                     bool WantS, bool WantI, std::array<double, kQuantities>& q,
                     StateEquation* eq) {
    const int given1 = pairCode / 10 - 1, given2 = pairCode % 10 - 1;
    q[given1] = X1;
    q[given2] = X2;
    if (!isAccepted(pairCode, region)) {
        region = rc::OutOfRange;
        for (int k = 0; k < kQuantities; ++k)
            if (k != given1 && k != given2) q[k] = 0;
    }

    auto& [t, p, v, s, h, x] = q;
    switch (region) {
    case rc::Water:
        State1(pairCode, WantV, WantS, WantI, t, p, v, s, h, eq);
        x = 0;
        break;
    case rc::Steam:
        State2(pairCode, WantV, WantS, WantI, t, p, v, s, h, eq);
        x = 1;
        break;
    case rc::Critical:
        State3(pairCode, WantP, WantS, WantI, t, p, v, s, h, eq);
        x = 1;
        break;
    case rc::WetHigh:
        StateWet3(pairCode, WantV, WantS, WantI, t, p, v, s, h, x);
        break;
    case rc::WetLow:
        StateWet(pairCode, WantV, WantS, WantI, t, p, v, s, h, x);
        break;
    case rc::Metastable:
        StateMeta(pairCode, WantV, WantS, WantI, t, p, v, s, h, eq);
        x = 1;
        break;
    default:
        break;
    }

    if (region != rc::OutOfRange) {
        const auto written = writtenOutputs(pairCode, region, WantP, WantV, WantS, WantI);
        for (int k = 0; k < kQuantities; ++k)
            if (written[k] && !std::isfinite(q[k]))
                throw NumericFault("StateFromPair: not computed");
    }
    return region;
}

} // namespace

// A NaN given value raises the invalid flag in the region test's comparisons, which the
// caller's fault scope reports.
int completeState(int pairCode, bool WantP, bool WantV, double X1, double X2, bool WantS,
                  bool WantI, bool Metastable, std::array<double, kQuantities>& q,
                  StateEquation* eq) {
    ClearBoundaryValues();
    if (pairCode == pc::TP) {
        const int region = Region_TP(Metastable, X1, X2);
        if (isSinglePhaseTP(region))
            return completeSinglePhaseTP(region, X1, X2, WantV, WantS, WantI, q, eq);
        return completeInRegion(pairCode, region, WantP, WantV, X1, X2, WantS, WantI, q, eq);
    }
    if (pairCode == pc::VX || pairCode == pc::SI) {
        q = {};
        return rc::Unsupported;
    }
    if (!isSupported(pairCode)) return rc::UnknownPair;
    return completeInRegion(pairCode, regionOf(pairCode, Metastable, X1, X2), WantP, WantV, X1, X2,
                            WantS, WantI, q, eq);
}

void StateFromPair(int pairCode, bool WantP, bool WantV, double X1, double X2, bool WantS,
                   bool WantI, bool Metastable, double& T, double& P, double& V, double& S,
                   double& I, double& X, int& regionCode) {
    std::array<double, kQuantities> q{T, P, V, S, I, X};
    const int region = runChecked("StateFromPair", [=, &q] {
        return completeState(pairCode, WantP, WantV, X1, X2, WantS, WantI, Metastable, q);
    });
    if (region == rc::UnknownPair) {
        regionCode = region;
        return;
    }
    T = q[kT];
    P = q[kP];
    V = q[kV];
    S = q[kS];
    I = q[kI];
    X = q[kX];
    regionCode = region;
}

} // namespace numerics
