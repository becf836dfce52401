#include "ReferenceCsv.h"
#include "numerics/BoundaryValues.h"
#include "numerics/CpCv.h"
#include "numerics/IEKAPA.h"
#include "numerics/Sr_Cr.h"
#include "numerics/TP_WS.h"
#include "numerics/Wsound.h"
#include "numerics/numerics.h"

#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

using namespace numerics;

namespace {

using Fn2 = double (*)(double, double);

double rel(double value, double reference) {
    return std::fabs(value / reference - 1);
}

// The workers of one equation; the second argument is p for (t, p) equations, v for region 3.
struct Workers {
    const char* name;
    Fn2 cp, cv, w;
};
constexpr Workers kRegion1{"region 1", Cp1_TP, Cv1_TP, W1_TP};
constexpr Workers kRegion2{"region 2", Cp2_TP, Cv2_TP, W2_TP};
constexpr Workers kMeta{"metastable", Cp2m_TP, Cv2m_TP, W2m_TP};
constexpr Workers kRegion3{"region 3", Cp3_TV, Cv3_TV, W3_TV};

// Verification values of the release: Tables 5, 15, 18 (T, p) and 33 (T, v), nine digits.
TEST(DerivedWorkers, MatchVerificationTables) {
    struct Row {
        const Workers& eq;
        double T, pv, cp, w;
    };
    const Row rows[] = {
        {kRegion1, 300, 3, 4.17301218, 1507.73921},
        {kRegion1, 300, 80, 4.01008987, 1634.69054},
        {kRegion1, 500, 3, 4.65580682, 1240.71337},
        {kRegion2, 300, 0.0035, 1.91300162, 427.920172},
        {kRegion2, 700, 0.0035, 2.08141274, 644.289068},
        {kRegion2, 700, 30, 10.3505092, 480.386523},
        {kMeta, 450, 1, 2.76349265, 498.408101},
        {kMeta, 440, 1, 2.98166443, 489.363295},
        {kMeta, 450, 1.5, 3.62795578, 481.941819},
        {kRegion3, 650, 1 / 500.0, 13.8935717, 502.005554},
        {kRegion3, 650, 1 / 200.0, 44.6579342, 383.444594},
        {kRegion3, 750, 1 / 500.0, 6.34165359, 760.696041},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.eq.name << " T " << r.T << " K, " << r.pv);
        EXPECT_LT(rel(r.eq.cp(r.T - 273.15, r.pv), r.cp), 1e-8);
        EXPECT_LT(rel(r.eq.w(r.T - 273.15, r.pv), r.w), 1e-8);
    }
}

TEST(DerivedWorkers, MatchPublishedCvAndExponent) {
    EXPECT_LT(rel(Cv1_TP(26.85, 3), 4.1212016), 1e-7);
    EXPECT_LT(rel(Cv2_TP(26.85, 0.0035), 1.4413266), 1e-7);
    EXPECT_LT(rel(Cv2m_TP(176.85, 1), 1.9583073), 1e-7);
    EXPECT_LT(rel(Kapa2_TP(26.85, 0.0035), 1.3248146), 1e-7);
    EXPECT_LT(rel(Kapa2m_TP(176.85, 1), 1.2903340), 1e-7);
    EXPECT_LT(rel(Kapa3_TV(376.85, 0.002), 4.9251976), 1e-7);
}

// Thermodynamic identities, independent of the coefficient tables, on states spread over each
// region: (t, p) for the Gibbs equations, (t, v) for region 3.
struct IdentityCase {
    const Workers& eq;
    Fn2 v, h, kappa; // v and h of the same equation; kappa null where the region has none
    double t, pv;
};
const IdentityCase kIdentityCases[] = {
    {kRegion1, V1_TP, I1_TP, nullptr, 26.85, 3},
    {kRegion1, V1_TP, I1_TP, nullptr, 150, 50},
    {kRegion1, V1_TP, I1_TP, nullptr, 340, 20},
    {kRegion2, V2_TP, I2_TP, Kapa2_TP, 26.85, 0.0035},
    {kRegion2, V2_TP, I2_TP, Kapa2_TP, 250, 2},
    {kRegion2, V2_TP, I2_TP, Kapa2_TP, 500, 60},
    {kRegion2, V2_TP, I2_TP, Kapa2_TP, 790, 95},
    {kMeta, V2m_TP, I2m_TP, Kapa2m_TP, 176.85, 1},
    {kMeta, V2m_TP, I2m_TP, Kapa2m_TP, 40, 0.01},
    {kMeta, V2m_TP, I2m_TP, Kapa2m_TP, 270, 8},
};

// cp = (dh/dT)_p and cp - cv = -T (dv/dT)_p^2 / (dv/dp)_T, by central differences.
TEST(DerivedWorkers, GibbsHeatCapacitiesObeyIdentities) {
    for (const IdentityCase& c : kIdentityCases) {
        SCOPED_TRACE(testing::Message() << c.eq.name << " t " << c.t << ", p " << c.pv);
        const double dt = 0.01, dp = 1e-4 * c.pv, p = c.pv;
        const double cpFd = (c.h(c.t + dt, p) - c.h(c.t - dt, p)) / (2 * dt);
        EXPECT_LT(rel(c.eq.cp(c.t, p), cpFd), 1e-6);
        const double dvdT = (c.v(c.t + dt, p) - c.v(c.t - dt, p)) / (2 * dt);
        const double dvdp = (c.v(c.t, p + dp) - c.v(c.t, p - dp)) / (2 * dp);
        const double gap = -1000 * (c.t + 273.15) * dvdT * dvdT / dvdp; // MPa m3 -> kJ
        EXPECT_LT(rel(c.eq.cp(c.t, p) - c.eq.cv(c.t, p), gap), 1e-5);
    }
}

// Region 3: cv = (du/dT)_v with u = h - p v, and cp - cv = -T (dp/dT)_v^2 / (dp/dv)_T.
TEST(DerivedWorkers, Region3HeatCapacitiesObeyIdentities) {
    const auto u = [](double t, double v) { return I3_TV(t, v) - 1000 * P3_TV(t, v) * v; };
    for (const double t : {355.0, 376.85, 400.0, 476.85, 550.0}) {
        for (const double v : {0.0015, 0.002, 0.003, 0.005, 0.008}) {
            SCOPED_TRACE(testing::Message() << "t " << t << ", v " << v);
            const double dt = 0.01, dv = 1e-5 * v;
            EXPECT_LT(rel(Cv3_TV(t, v), (u(t + dt, v) - u(t - dt, v)) / (2 * dt)), 1e-6);
            const double dpdT = (P3_TV(t + dt, v) - P3_TV(t - dt, v)) / (2 * dt);
            const double dpdv = (P3_TV(t, v + dv) - P3_TV(t, v - dv)) / (2 * dv);
            const double gap = -1000 * (t + 273.15) * dpdT * dpdT / dpdv;
            EXPECT_LT(rel(Cp3_TV(t, v) - Cv3_TV(t, v), gap), 1e-5);
        }
    }
}

// The four derived entry points at once, each leaving its state in LibraryState.
struct Derived {
    double cp, cv, kappa, w;
    LibraryRecord state; // as left by the last call (h is skipped only by the exponent)
};
Derived derived(int pair, bool meta, double x1, double x2) {
    Derived d{};
    d.kappa = IsentropicExponent(pair, meta, x1, x2);
    d.cp = IsobaricHeatCapacity(pair, meta, x1, x2);
    d.cv = IsochoricHeatCapacity(pair, meta, x1, x2);
    d.w = SpeedOfSound(pair, meta, x1, x2);
    d.state = LibraryState;
    return d;
}

int regionOf(int pair, bool meta, double x1, double x2) {
    double T = 0, P = 0, V = 0, S = 0, I = 0, X = 0;
    int region = -1;
    StateFromPair(pair, true, true, x1, x2, true, true, meta, T, P, V, S, I, X, region);
    return region;
}

// (t, p) states of every single-phase region reach the workers of their equation; region 3
// at the volume of the state.
TEST(DerivedEntryPoints, EachRegionReachesItsWorkers) {
    struct Case {
        const char* what;
        bool meta;
        double t, p;
        int region;
        const Workers& eq;
        Fn2 kappa; // null: no exponent outside the vapour and region 3
    };
    const Case cases[] = {
        {"region 1", false, 20, 1, RegionCode::Water, kRegion1, nullptr},
        {"region 2", false, 300, 1, RegionCode::Steam, kRegion2, Kapa2_TP},
        {"region 2 ignores the flag", true, 300, 1, RegionCode::Steam, kRegion2, Kapa2_TP},
        {"region 3", false, 400, 30, RegionCode::Critical, kRegion3, Kapa3_TV},
        {"metastable", true, 176.85, 1, RegionCode::Metastable, kMeta, Kapa2m_TP},
        {"water without the flag", false, 176.85, 1, RegionCode::Water, kRegion1, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_EQ(regionOf(12, c.meta, c.t, c.p), c.region);
        const Derived d = derived(12, c.meta, c.t, c.p);
        const double second = c.region == RegionCode::Critical ? d.state.V : c.p;
        EXPECT_EQ(d.cp, c.eq.cp(c.t, second));
        EXPECT_EQ(d.cv, c.eq.cv(c.t, second));
        EXPECT_EQ(d.w, c.eq.w(c.t, second));
        EXPECT_EQ(d.kappa, c.kappa ? c.kappa(c.t, second) : 0);
    }
}

TEST(DerivedEntryPoints, WetSteamUpTo350MixesRegions1And2) {
    ASSERT_EQ(regionOf(16, false, 100, 0.5), RegionCode::WetLow);
    const double ps = derived(16, false, 100, 0.5).state.P;
    const Derived liquid = derived(16, false, 100, 0);
    const Derived vapour = derived(16, false, 100, 1);
    EXPECT_EQ(liquid.cp, Cp1_TP(100, ps));
    EXPECT_EQ(liquid.cv, Cv1_TP(100, ps));
    EXPECT_EQ(vapour.cp, Cp2_TP(100, ps));
    EXPECT_EQ(vapour.cv, Cv2_TP(100, ps));
    const Derived mixed = derived(16, false, 100, 0.25);
    EXPECT_NEAR(mixed.cp, 0.75 * liquid.cp + 0.25 * vapour.cp, 1e-12);
    EXPECT_NEAR(mixed.cv, 0.75 * liquid.cv + 0.25 * vapour.cv, 1e-12);
    for (const Derived& d : {liquid, mixed, vapour}) {
        EXPECT_EQ(d.kappa, 0);
        EXPECT_EQ(d.w, 0);
    }
}

// Above 350 °C cp mixes the region 3 values of the saturated sides; cv, kappa and w take the
// region 3 value at the mixture's own volume.
TEST(DerivedEntryPoints, WetSteamAbove350UsesRegion3) {
    const double t = 360;
    ASSERT_EQ(regionOf(16, false, t, 0.5), RegionCode::WetHigh);
    const Derived liquid = derived(16, false, t, 0);
    const Derived vapour = derived(16, false, t, 1);
    EXPECT_EQ(liquid.cp, Cp3_TV(t, liquid.state.V));
    EXPECT_EQ(vapour.cp, Cp3_TV(t, vapour.state.V));
    for (const double x : {0.0, 0.3, 1.0}) {
        SCOPED_TRACE(testing::Message() << "x " << x);
        const Derived d = derived(16, false, t, x);
        const double v = d.state.V;
        EXPECT_NEAR(v, liquid.state.V + x * (vapour.state.V - liquid.state.V), 1e-12);
        EXPECT_NEAR(d.cp, liquid.cp + x * (vapour.cp - liquid.cp), 1e-9 * d.cp);
        EXPECT_EQ(d.cv, Cv3_TV(t, v));
        EXPECT_EQ(d.kappa, Kapa3_TV(t, v));
        EXPECT_EQ(d.w, W3_TV(t, v));
        EXPECT_GT(d.w, 0);
    }
    // Just inside the gates one side still counts.
    const Derived nearlyDry = derived(16, false, t, 0.9999985);
    EXPECT_NEAR(nearlyDry.cp, liquid.cp + 0.9999985 * (vapour.cp - liquid.cp), 1e-9 * vapour.cp);
}

TEST(DerivedEntryPoints, HeatCapacityAndStateAgreeOnBothWetMixingGates) {
    // At a typed gate value cp must count the same saturated sides as the state did. Which
    // sides the state counted shows in its volume; cp is then the same mixture of cp' and cp''.
    for (const double t : {355.0, 370.0}) {
        const Derived liquid = derived(16, false, t, 0);
        const Derived vapour = derived(16, false, t, 1);
        for (const double x : {0.999999, 0.000001}) {
            SCOPED_TRACE(testing::Message() << "t " << t << " x " << x);
            const Derived d = derived(16, false, t, x);
            const auto mixed = [x](double l, double v) { return l + x * (v - l); };
            const auto is = [&d](double v) { return std::abs(d.state.V - v) < 1e-15; };
            const double v1 = liquid.state.V, v2 = vapour.state.V;
            const bool both = is(mixed(v1, v2));
            const bool liquidOnly = is(mixed(v1, 0)), vapourOnly = is(mixed(0, v2));
            ASSERT_TRUE(both || liquidOnly || vapourOnly);
            const double cp1 = both || liquidOnly ? liquid.cp : 0;
            const double cp2 = both || vapourOnly ? vapour.cp : 0;
            EXPECT_NEAR(d.cp, mixed(cp1, cp2), 1e-12 * d.cp);
        }
    }
}

TEST(DerivedEntryPoints, NoStateGivesZero) {
    struct Case {
        int pair;
        double x1, x2;
        int region;
    };
    const Case cases[] = {
        {36, 0.01, 0.5, RegionCode::Unsupported}, {45, 6.0, 2800, RegionCode::Unsupported},
        {12, 900, 1, RegionCode::OutOfRange},     {12, 300, 150, RegionCode::OutOfRange},
        {16, 100, 1.5, RegionCode::OutOfRange},   {77, 300, 1, RegionCode::UnknownPair},
        {21, 1, 300, RegionCode::UnknownPair},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "pair " << c.pair << " " << c.x1 << ", " << c.x2);
        derived(12, false, 300, 1); // leave a valid state behind
        ASSERT_EQ(regionOf(c.pair, false, c.x1, c.x2), c.region);
        const Derived d = derived(c.pair, false, c.x1, c.x2);
        EXPECT_EQ(d.cp, 0);
        EXPECT_EQ(d.cv, 0);
        EXPECT_EQ(d.kappa, 0);
        EXPECT_EQ(d.w, 0);
    }
}

TEST(DerivedEntryPoints, ExponentLeavesEnthalpyUncomputed) {
    LibraryState.I = -12345;
    IsentropicExponent(12, false, 300, 1);
    EXPECT_EQ(LibraryState.I, -12345);
    EXPECT_EQ(LibraryState.S, S2_TP(300, 1));
    IsobaricHeatCapacity(12, false, 300, 1);
    EXPECT_EQ(LibraryState.I, I2_TP(300, 1));
}

TEST(DerivedEntryPoints, FaultsThrow) {
    const double nan = std::nan("");
    EXPECT_THROW(IsobaricHeatCapacity(12, false, nan, 1), NumericFault);
    EXPECT_THROW(IsochoricHeatCapacity(13, false, 400, nan), NumericFault);
    EXPECT_THROW(IsentropicExponent(24, true, nan, 7), NumericFault);
    EXPECT_THROW(SpeedOfSound(16, false, nan, 0.5), NumericFault);
    // A worker fault after a good state: region 3 outside its domain.
    const DerivedRow outside = [](int, const StateEquation&) {
        return Cv3_TV(LibraryState.T, -LibraryState.V);
    };
    EXPECT_THROW(derivedFromPair("test", outside, 0, 12, false, 400, 30, true), NumericFault);
}

// A flag the caller left raised changes nothing: the result and the record come out as from a
// clean call (the exponent's untouched enthalpy included), and the caller's flags come back
// exactly.
TEST(DerivedEntryPoints, CallerFlagGivesTheResultAndStateOfACleanCall) {
    using Entry = double (*)(int, bool, double, double);
    const Entry entries[] = {IsobaricHeatCapacity, IsochoricHeatCapacity, IsentropicExponent,
                             SpeedOfSound};
    struct Case {
        int pair;
        bool meta;
        double x1, x2;
    };
    const Case cases[] = {{12, false, 20, 1},    {12, false, 100, 0.05}, {12, false, 400, 30},
                          {16, false, 360, 0.4}, {16, false, 200, 0.3},  {12, true, 170, 1},
                          {12, false, 900, 1},   {24, true, 1, 6.5},     {35, false, 0.02, 2800}};
    const LibraryRecord callers{-1, -2, -3, -4, -5, -6};
    const auto fields = [](const LibraryRecord& r) {
        return std::vector<double>{r.T, r.P, r.V, r.S, r.I, r.X};
    };
    std::set<int> regions;
    for (const Case& c : cases) {
        regions.insert(regionOf(c.pair, c.meta, c.x1, c.x2));
        for (const Entry entry : entries) {
            SCOPED_TRACE(testing::Message() << "pair " << c.pair << " " << c.x1 << ", " << c.x2);
            std::feclearexcept(FE_ALL_EXCEPT);
            LibraryState = callers;
            const double clean = entry(c.pair, c.meta, c.x1, c.x2);
            const std::vector<double> cleanState = fields(LibraryState);
            for (int flag : {FE_DIVBYZERO, FE_INVALID}) {
                LibraryState = callers;
                std::feraiseexcept(flag);
                const double again = entry(c.pair, c.meta, c.x1, c.x2);
                EXPECT_EQ(std::fetestexcept(FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW), flag);
                std::feclearexcept(FE_ALL_EXCEPT);
                EXPECT_EQ(again, clean);
                EXPECT_EQ(fields(LibraryState), cleanState);
            }
        }
    }
    EXPECT_EQ(regions, (std::set<int>{1, 2, 3, 5, 6, 8, RegionCode::OutOfRange}));
}

// Every state of a (t, p) and (t, x) grid, given through every pair that names it, through
// all six entry points: no spurious fault from a worker or the dispatch.
TEST(DerivedEntryPoints, ValidGridNeverFaults) {
    std::vector<std::pair<int, std::pair<double, double>>> seeds;
    for (double t = 1; t <= 800; t += 41)
        for (const double p : {0.002, 0.1, 1.0, 5.0, 16.0, 23.0, 40.0, 90.0})
            seeds.push_back({12, {t, p}});
    for (double t = 2; t < 373; t += 23)
        for (const double x : {0.0, 0.05, 0.5, 0.97, 1.0})
            seeds.push_back({16, {t, x}});
    int states[RegionCode::OutOfRange] = {};
    for (const auto& [seedPair, given] : seeds) {
        for (const bool meta : {false, true}) {
            const Derived seed = derived(seedPair, meta, given.first, given.second);
            const double q[6] = {seed.state.T, seed.state.P, seed.state.V,
                                 seed.state.S, seed.state.I, seed.state.X};
            for (const int pair : {12, 13, 14, 15, 16, 23, 24, 25, 26, 34, 35, 46, 56}) {
                const double x1 = q[pair / 10 - 1], x2 = q[pair % 10 - 1];
                SCOPED_TRACE(testing::Message() << "pair " << pair << " " << x1 << ", " << x2
                                                << (meta ? " metastable" : ""));
                try {
                    const Derived d = derived(pair, meta, x1, x2);
                    const int region = regionOf(pair, meta, x1, x2);
                    if (region < RegionCode::OutOfRange && d.state.V > 0) {
                        if (d.state.T >= 0) { // the transport equations start at 0 °C
                            ViscosityTV(d.state.T, d.state.V);
                            ConductivityTV(d.state.T, d.state.V);
                        }
                        ++states[region];
                    }
                } catch (const NumericFault& e) {
                    ADD_FAILURE() << e.what();
                }
            }
        }
    }
    for (const int region : {1, 2, 3, 5, 6, 8})
        EXPECT_GT(states[region], 40) << "region " << region;
}

} // namespace
