#include "numerics/Sr_Cr.h"

#include "ReferenceCsv.h"
#include "numerics/BoundaryValues.h"
#include "numerics/Constants.h"
#include "numerics/FaultScope.h"
#include "numerics/Mat_Ruti.h"
#include "numerics/Sr_Ws.h"
#include "numerics/TP_WS.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

using namespace numerics;

namespace {

constexpr double kR = kGasConstant; // kJ/(kg K)
constexpr double kTcC = 373.946;

double rel(double value, double reference) {
    return std::fabs(value / reference - 1);
}

// The record through a call: g++ 12 with UBSan tests the thread-local address for null with
// the flags of an add that the linker may relax into a flag-less lea, and then reports a false
// null pointer. A returned reference is tested as a plain value.
[[gnu::noinline]] BoundaryRecord& record() {
    return BoundaryValues;
}

// A region 3 state of the grid: t in °C.
struct State {
    double t, v, p, h, s, cv, cp, w;
};

std::vector<State> grid() {
    std::vector<State> states;
    for (const auto& r : readCsv("if97_region3.csv"))
        states.push_back({r[0] - 273.15, r[1], r[2], r[3], r[4], r[5], r[6], r[7]});
    return states;
}

// Region 3 rows of the (t, p) reference states: t, p, v, h, s.
std::vector<State> forwardRegion3() {
    std::vector<State> states;
    for (const auto& r : readCsv("if97-forward.csv"))
        if (r[3] == 3) states.push_back({r[1], r[4], r[2], r[5], r[6], 0, 0, 0});
    return states;
}

// Near the critical point the isotherms are flat: a pressure within 5e-10 says little about
// the volume there, so the volume checks leave these states out.
bool nearCritical(const State& s) {
    return std::fabs(s.t - kTcC) < 10 && std::fabs(s.v * 322 - 1) < 0.35;
}

TEST(Sr_Cr, ReproducesIf97VerificationTable) {
    struct Point {
        double T, v, p, h, s;
    };
    const Point points[] = {
        {650, 0.002, 25.5837018, 1863.43019, 4.05427273},
        {650, 0.005, 22.2930643, 2375.12401, 4.85438792},
        {750, 0.002, 78.3095639, 2258.68845, 4.46971906},
    };
    for (const Point& pt : points) {
        SCOPED_TRACE(::testing::Message() << "T " << pt.T << " v " << pt.v);
        const double t = pt.T - 273.15;
        EXPECT_LT(rel(P3_TV(t, pt.v), pt.p), 1e-8);
        EXPECT_LT(rel(I3_TV(t, pt.v), pt.h), 1e-8);
        EXPECT_LT(rel(S3_TV(t, pt.v), pt.s), 1e-8);
    }
}

// The grid holds p, h, s, cv, cp and w of an independent implementation. cv, cp and w come
// from the second derivatives, so they check the shared evaluator as a whole.
TEST(Sr_Cr, MatchesReferenceGridIncludingHelmholtzDerivatives) {
    const std::vector<State> states = grid();
    ASSERT_GT(states.size(), 1000u);
    for (const State& st : states) {
        SCOPED_TRACE(::testing::Message() << "t " << st.t << " v " << st.v);
        EXPECT_LT(rel(P3_TV(st.t, st.v), st.p), 1e-11);
        EXPECT_LT(rel(I3_TV(st.t, st.v), st.h), 1e-11);
        EXPECT_LT(rel(S3_TV(st.t, st.v), st.s), 1e-11);

        const double T = st.t + 273.15;
        const double d = kVc / st.v;
        const double tau = kTc / T;
        const Helmholtz3 f = Helmholtz3_TV(st.t, st.v);
        EXPECT_LT(rel(kR * T * d * f.phi_d / (1000 * st.v), st.p), 1e-11);
        EXPECT_LT(rel(kR * (tau * f.phi_t - f.phi), st.s), 1e-11);
        EXPECT_LT(rel(kR * T * (tau * f.phi_t + d * f.phi_d), st.h), 1e-11);
        const double cv = -kR * tau * tau * f.phi_tt;
        const double a = d * f.phi_d - d * tau * f.phi_dt;
        const double b = 2 * d * f.phi_d + d * d * f.phi_dd;
        EXPECT_LT(rel(cv, st.cv), 1e-10);
        EXPECT_LT(rel(cv + kR * a * a / b, st.cp), 1e-9);
        EXPECT_LT(rel(std::sqrt(1000 * kR * T * (b - a * a / (tau * tau * f.phi_tt))), st.w),
                  1e-10);
    }
}

// Central differences of phi and of its first derivatives, in delta and tau.
TEST(Sr_Cr, HelmholtzDerivativesMatchDifferencesOfPhi) {
    const double points[][2] = {{360, 0.0018}, {373, 0.0031}, {380, 0.0045},
                                {500, 0.0025}, {590, 0.0016}, {400, 0.0090}};
    for (const auto& pt : points) {
        SCOPED_TRACE(::testing::Message() << "t " << pt[0] << " v " << pt[1]);
        const double t = pt[0];
        const double v = pt[1];
        const double d = kVc / v;
        const double tau = kTc / (t + 273.15);
        const double hd = 1e-5 * d;
        const double ht = 1e-5 * tau;
        // phi at (delta, tau) through the (t, v) interface.
        auto at = [](double delta, double tauv) {
            return Helmholtz3_TV(kTc / tauv - 273.15, kVc / delta);
        };
        const Helmholtz3 f = at(d, tau);
        const Helmholtz3 dp = at(d + hd, tau), dm = at(d - hd, tau);
        const Helmholtz3 tp = at(d, tau + ht), tm = at(d, tau - ht);
        EXPECT_NEAR(f.phi_d, (dp.phi - dm.phi) / (2 * hd), 1e-7 * std::fabs(f.phi_d) + 1e-7);
        EXPECT_NEAR(f.phi_t, (tp.phi - tm.phi) / (2 * ht), 1e-7 * std::fabs(f.phi_t) + 1e-7);
        EXPECT_NEAR(f.phi_dd, (dp.phi_d - dm.phi_d) / (2 * hd), 1e-7 * std::fabs(f.phi_dd) + 1e-7);
        EXPECT_NEAR(f.phi_tt, (tp.phi_t - tm.phi_t) / (2 * ht), 1e-7 * std::fabs(f.phi_tt) + 1e-7);
        EXPECT_NEAR(f.phi_dt, (tp.phi_d - tm.phi_d) / (2 * ht), 1e-7 * std::fabs(f.phi_dt) + 1e-7);
        EXPECT_NEAR(f.phi_dt, (dp.phi_t - dm.phi_t) / (2 * hd), 1e-7 * std::fabs(f.phi_dt) + 1e-7);
    }
}

TEST(Sr_Cr, StartVolumeAboveTcNeverFallsBelowTheBound) {
    EXPECT_NEAR(V3Est_TP(400, 30), 0.003305, 5e-7); // vapour-side table, bound not active
    for (double p : {100.0, 1e3, 1e6})
        EXPECT_DOUBLE_EQ(V3Est_TP(380, p), 0.44 * kVc) << p;
    EXPECT_GT(V3Est_TP(380, 35), 0.44 * kVc);
    EXPECT_LT(V3Est_TP(360, 100), 0.44 * kVc); // below Tc: liquid-side table, no bound
}

// The tabled polynomials evaluated independently (plain powers, in another language, from
// the tables as published), at two states each; the liquid table of V3Est_TP below Tc.
TEST(Sr_Cr, StartFitsReproduceTheirTables) {
    struct Sample {
        double (*fit)(double, double);
        double a, b, expected;
    };
    const Sample samples[] = {
        {V3Est_TP, 400, 30, 0.0033049625832594783},  {V3Est_TP, 390, 25, 0.0042138676300909677},
        {V3Est_TP, 360, 40, 0.0015169391839968958},  {V3Est_TP, 370, 22, 0.0020487483397486021},
        {V3Est_TP, 360, 18, 0.0083826794480923207},  {V3Est_PS, 50, 4, 0.0017045766752258537},
        {V3Est_PS, 25, 4.8, 0.0043787861719956876},  {V3Est_PI, 50, 2000, 0.0018913836134951674},
        {V3Est_PI, 25, 2400, 0.004716084133852539},  {V3Est_TS, 400, 4.6, 0.0032652063441263031},
        {V3Est_TS, 450, 4.0, 0.0014763547853672979}, {T3Est_PS, 50, 4, 396.81768975178431},
        {T3Est_PS, 25, 4.8, 396.18656627350754},     {T3Est_PI, 50, 2000, 416.99552760051995},
        {T3Est_PI, 25, 2400, 390.32631820615597},
    };
    for (const Sample& sample : samples)
        EXPECT_LT(rel(sample.fit(sample.a, sample.b), sample.expected), 1e-12)
            << sample.a << ", " << sample.b;
}

TEST(Sr_Cr, VolumeSolversInvertPressureAndEntropy) {
    FaultScope scope;
    for (const State& st : grid()) {
        SCOPED_TRACE(::testing::Message() << "t " << st.t << " v " << st.v);
        const double vp = V3_TP(st.t, st.p);
        EXPECT_LT(std::fabs(P3_TV(st.t, vp) - st.p), 2e-10 * st.p);
        const double vs = V3_TS(st.t, st.s);
        EXPECT_LT(std::fabs(S3_TV(st.t, vs) - st.s), 2e-9);
        if (!nearCritical(st)) {
            EXPECT_LT(rel(vp, st.v), 1e-8);
            EXPECT_LT(rel(vs, st.v), 1e-8);
        }
    }
    for (const State& st : forwardRegion3()) {
        SCOPED_TRACE(::testing::Message() << "t " << st.t << " p " << st.p);
        EXPECT_LT(rel(V3_TP(st.t, st.p), st.v), 1e-8);
    }
    EXPECT_NEAR(V3_TP(400, 30), 0.0027964, 5e-8);
    EXPECT_FALSE(scope.faulted());
}

TEST(Sr_Cr, TV3_PSAndTV3_PIMeetTheirTargets) {
    FaultScope scope;
    for (const State& st : grid()) {
        SCOPED_TRACE(::testing::Message() << "t " << st.t << " v " << st.v);
        double t = 0, v = 0;
        TV3_PS(t, v, st.p, st.s);
        EXPECT_LT(rel(P3_TV(t, v), st.p), 1e-10);
        EXPECT_LT(rel(S3_TV(t, v), st.s), 1e-10);
        if (!nearCritical(st)) {
            EXPECT_NEAR(t, st.t, 1e-6);
            EXPECT_LT(rel(v, st.v), 1e-8);
        }
        TV3_PI(t, v, st.p, st.h);
        EXPECT_LT(rel(P3_TV(t, v), st.p), 1e-10);
        EXPECT_LT(rel(I3_TV(t, v), st.h), 1e-10);
        if (!nearCritical(st)) {
            EXPECT_NEAR(t, st.t, 1e-6);
            EXPECT_LT(rel(v, st.v), 1e-8);
        }
    }
    EXPECT_FALSE(scope.faulted());
}

// The (v, s) and (v, h) region tests leave the bracket [Ts, TB23] of the given vapour-side v
// with s or h at both ends; the test fills it in the same way.
TEST(Sr_Cr, T3_VSAndT3_VISolveOnThePreparedBracket) {
    FaultScope scope;
    for (const auto& sat : readCsv("if97-saturation.csv")) {
        const double ts = sat[1];
        const double v = sat[6]; // saturated vapour
        if (ts < 351 || ts > 373.5) continue;
        const double tb23 = TB23_V(v);
        for (double share : {0.1, 0.5, 0.9}) {
            const double t = ts + share * (tb23 - ts);
            SCOPED_TRACE(::testing::Message() << "v " << v << " t " << t);
            ClearBoundaryValues();
            record().Ts = ts;
            record().TB23 = tb23;
            record().S23 = S3_TV(ts, v);
            record().SB23 = S3_TV(tb23, v);
            record().I23 = I3_TV(ts, v);
            record().IB23 = I3_TV(tb23, v);
            const double s = S3_TV(t, v);
            const double h = I3_TV(t, v);
            const double tFromS = T3_VS(v, s);
            EXPECT_LT(std::fabs(S3_TV(tFromS, v) - s), 2e-9);
            EXPECT_NEAR(tFromS, t, 1e-6);
            const double tFromH = T3_VI(v, h);
            EXPECT_LT(std::fabs(I3_TV(tFromH, v) - h), 2e-7);
            EXPECT_NEAR(tFromH, t, 1e-6);
        }
    }
    EXPECT_FALSE(scope.faulted());
}

TEST(Sr_Cr, WetFunctionsMixTheSaturatedStatesOfTheRegion3Equation) {
    BoundaryRecord& b = record();
    FaultScope scope;
    for (const auto& sat : readCsv("if97-saturation.csv")) {
        const double t = sat[1];
        if (t < 350 || t > 372) continue;
        SCOPED_TRACE(::testing::Message() << "t " << t);
        EXPECT_NEAR(S4kr_TX(t, 0), sat[5], 1e-5);
        EXPECT_NEAR(S4kr_TX(t, 1), sat[8], 1e-5);
        const double v12 = b.V12;
        const double v23 = b.V23;
        EXPECT_LT(rel(v12, sat[3]), 1e-5);
        EXPECT_LT(rel(v23, sat[6]), 1e-5);
        const double s12 = S4kr_TV(t, v12);
        EXPECT_DOUBLE_EQ(s12, b.S12);
        const double s23 = S4kr_TV(t, v23);
        EXPECT_DOUBLE_EQ(s23, b.S23);
        EXPECT_DOUBLE_EQ(S4kr_TV(t, (v12 + v23) / 2), (s12 + s23) / 2);
        EXPECT_DOUBLE_EQ(S4kr_TX(t, 0.25), 0.75 * s12 + 0.25 * s23);
        const double h12 = I4kr_TV(t, v12);
        EXPECT_DOUBLE_EQ(h12, b.I12);
        const double h23 = I4kr_TV(t, v23);
        EXPECT_DOUBLE_EQ(h23, b.I23);
        EXPECT_NEAR(h12, sat[4], 0.01);
        EXPECT_NEAR(h23, sat[7], 0.01);
    }
    EXPECT_FALSE(scope.faulted());
}

// Every evaluation overwrites Ps, V12, V23 and the saturated values with those of its own t.
TEST(Sr_Cr, WetFunctionsLeaveTheSaturationValuesOfTheirLastTemperature) {
    BoundaryRecord& b = record();
    ClearBoundaryValues();
    S4kr_TV(355, 0.004);
    S4kr_TV(368, 0.004);
    const double ps = Ps_T(368);
    EXPECT_EQ(b.Ps, ps);
    EXPECT_EQ(b.V12, V12kr_T(368, ps));
    EXPECT_EQ(b.V23, V23kr_T(368, ps));
    EXPECT_EQ(b.S12, S3_TV(368, b.V12));
    EXPECT_EQ(b.S23, S3_TV(368, b.V23));
    EXPECT_EQ(b.I12, 0);

    I4kr_TV(360, 0.004);
    EXPECT_EQ(b.Ps, Ps_T(360));
    EXPECT_EQ(b.I12, I3_TV(360, b.V12));
    EXPECT_EQ(b.I23, I3_TV(360, b.V23));
    EXPECT_EQ(b.S12, S3_TV(368, V12kr_T(368, ps))); // entropies left as they were

    S4kr_TX(362, 0.5);
    EXPECT_EQ(b.Ps, Ps_T(362));
    EXPECT_EQ(b.S23, S3_TV(362, V23kr_T(362, Ps_T(362))));
}

// After a wet solver the record belongs to one temperature near the result: Ps is the
// saturation pressure of a t_last, and V12, V23, the saturated values are those of t_last.
void expectRecordOfOneTemperature(double result, bool entropies) {
    BoundaryRecord& b = record();
    const double tLast = Ts_P(b.Ps);
    EXPECT_LT(rel(Ps_T(tLast), b.Ps), 1e-12);
    EXPECT_NEAR(tLast, result, 1e-6);
    EXPECT_LT(rel(P3_TV(tLast, b.V12), b.Ps), 2e-10);
    EXPECT_LT(rel(P3_TV(tLast, b.V23), b.Ps), 2e-10);
    EXPECT_LT(b.V12, kVc);
    EXPECT_GT(b.V23, kVc);
    if (entropies) {
        EXPECT_NEAR(b.S12, S3_TV(tLast, b.V12), 1e-9);
        EXPECT_NEAR(b.S23, S3_TV(tLast, b.V23), 1e-9);
    } else {
        EXPECT_NEAR(b.I12, I3_TV(tLast, b.V12), 1e-6);
        EXPECT_NEAR(b.I23, I3_TV(tLast, b.V23), 1e-6);
    }
}

// The (v, s), (v, h) and (s, x) region tests leave Ts of v, the saturated-vapour s or h there,
// and the wet s or h on the 350 °C line; the test fills them in the same way.
TEST(Sr_Cr, WetSolversFindTheTemperatureAndLeaveItsSaturationValues) {
    FaultScope scope;
    for (double t : {352.0, 360.0, 367.5, 372.0}) {
        SCOPED_TRACE(::testing::Message() << "t " << t);
        const double ts = 373.0; // saturated vapour at 373 °C is the given v
        const double v = V23kr_T(ts, Ps_T(ts));
        ClearBoundaryValues();
        const double s = S4kr_TV(t, v);
        const double h = I4kr_TV(t, v);
        ClearBoundaryValues();
        record().Ts = ts;
        record().S23 = S3_TV(ts, v);
        record().I23 = I3_TV(ts, v);
        record().S350 = S4kr_TV(350, v);
        record().I350 = I4kr_TV(350, v);

        const double tFromS = T4kr_VS(v, s);
        EXPECT_NEAR(tFromS, t, 1e-6);
        expectRecordOfOneTemperature(tFromS, true);

        const double tFromH = T4kr_VI(v, h);
        EXPECT_NEAR(tFromH, t, 1e-6);
        expectRecordOfOneTemperature(tFromH, false);

        const double x = 0.3;
        const double sx = S4kr_TX(t, x);
        record().S350 = S4kr_TX(350, x);
        const double tFromX = T4kr_SX(x, sx);
        EXPECT_NEAR(tFromX, t, 1e-6);
        expectRecordOfOneTemperature(tFromX, true);
    }
    EXPECT_FALSE(scope.faulted());
}

TEST(Sr_Cr, LeavingTheRegionEndsAsNotComputed) {
    auto faults = [](auto&& compute) {
        FaultScope scope;
        compute();
        return scope.faulted();
    };
    // The equation holds for v > 0 only.
    EXPECT_TRUE(faults([] { EXPECT_TRUE(std::isnan(P3_TV(400, 0))); }));
    EXPECT_TRUE(faults([] { EXPECT_TRUE(std::isnan(I3_TV(400, -0.001))); }));
    EXPECT_TRUE(faults([] { EXPECT_TRUE(std::isnan(Helmholtz3_TV(-300, 0.003).phi_tt)); }));
    // The volume walk steps below v = 0 (the start value is 0.44 vc, the target needs less).
    EXPECT_TRUE(faults([] { V3_TP(400, 1e5); }));
    // No volume has this entropy: the walk gives up.
    EXPECT_TRUE(faults([] { V3_TS(400, -100); }));
    // Newton steps out of the region.
    EXPECT_TRUE(faults([] {
        double t = 0, v = 0;
        TV3_PS(t, v, 50, 100);
    }));
    EXPECT_TRUE(faults([] {
        double t = 0, v = 0;
        TV3_PI(t, v, 50, -3000);
    }));
    // The wet region has no width at the critical temperature.
    EXPECT_TRUE(faults([] { S4kr_TV(kTcC, kVc); }));
    EXPECT_TRUE(faults([] { I4kr_TV(kTcC, kVc); }));
    EXPECT_FALSE(faults([] { S4kr_TV(373.9, kVc); }));
}

// Newton with the equation's own Jacobian and the difference Newton it falls back on, from the
// same start values to the same stop test: they reach the same state.
TEST(Sr_Cr, PressureAndEntropyOrEnthalpyNewtonMeetsTheDifferenceNewton) {
    for (double t = 380; t <= 580; t += 25) {
        for (double rho = 200; rho <= 600; rho += 100) {
            SCOPED_TRACE(testing::Message() << "t " << t << " rho " << rho);
            const double v = 1 / rho, p = P3_TV(t, v), s = S3_TV(t, v), h = I3_TV(t, v);
            double t1 = 0, v1 = 0, t2 = 0, v2 = 0;
            TV3_PS(t1, v1, p, s);
            Newton2D(PS3_TV, t2, v2, T3Est_PS(p, s), V3Est_PS(p, s), 1e-8, p, s);
            EXPECT_NEAR(t1, t2, 1e-7);
            EXPECT_NEAR(v1, v2, 1e-9 * v2);
            EXPECT_NEAR(t1, t, 1e-7);
            TV3_PI(t1, v1, p, h);
            Newton2D(PI3_TV, t2, v2, T3Est_PI(p, h), V3Est_PI(p, h), 1e-8, p, h);
            EXPECT_NEAR(t1, t2, 1e-7);
            EXPECT_NEAR(v1, v2, 1e-9 * v2);
        }
    }
}

} // namespace
