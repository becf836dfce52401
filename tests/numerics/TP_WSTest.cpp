#include "numerics/TP_WS.h"

#include "ReferenceCsv.h"
#include "numerics/CpCv.h"
#include "numerics/FaultScope.h"
#include "numerics/WideSums.h"
#include "numerics/Wsound.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

using namespace numerics;

namespace {

using PropertyFn = double (*)(double, double);

struct RegionFunctions {
    PropertyFn v;
    PropertyFn h;
    PropertyFn s;
    PropertyFn cp, cv, w;
};

constexpr RegionFunctions kRegion1Fns{V1_TP, I1_TP, S1_TP, Cp1_TP, Cv1_TP, W1_TP};
constexpr RegionFunctions kRegion2Fns{V2_TP, I2_TP, S2_TP, Cp2_TP, Cv2_TP, W2_TP};
constexpr RegionFunctions kMetastableFns{V2m_TP, I2m_TP, S2m_TP, Cp2m_TP, Cv2m_TP, W2m_TP};

// |got - want| within rel of |want|, or of `floor` where |want| is smaller.
bool nearFloor(double got, double want, double rel, double floor) {
    return std::abs(got - want) <= rel * std::max(std::abs(want), floor);
}

bool near(double got, double want, double rel) {
    return nearFloor(got, want, rel, 0.0);
}

// Verification values of the release (Tables 5, 15 and 18), nine significant digits.
TEST(TP_WS, MatchesVerificationTables) {
    struct Row {
        const RegionFunctions* fns;
        double T, p, v, h, s;
    };
    const Row rows[] = {
        {&kRegion1Fns, 300, 3, 0.00100215168, 115.331273, 0.392294792},
        {&kRegion1Fns, 300, 80, 0.000971180894, 184.142828, 0.368563852},
        {&kRegion1Fns, 500, 3, 0.00120241800, 975.542239, 2.58041912},
        {&kRegion2Fns, 300, 0.0035, 39.4913866, 2549.91145, 8.52238967},
        {&kRegion2Fns, 700, 0.0035, 92.3015898, 3335.68375, 10.1749996},
        {&kRegion2Fns, 700, 30, 0.00542946619, 2631.49474, 5.17540298},
        {&kMetastableFns, 450, 1, 0.192516540, 2768.81115, 6.56660377},
        {&kMetastableFns, 440, 1, 0.186212297, 2740.15123, 6.50218759},
        {&kMetastableFns, 450, 1.5, 0.121685206, 2721.34539, 6.29170440},
    };
    for (const Row& r : rows) {
        const double t = r.T - 273.15;
        SCOPED_TRACE(testing::Message() << "T " << r.T << " K, p " << r.p << " MPa");
        EXPECT_PRED3(near, r.fns->v(t, r.p), r.v, 1e-8);
        EXPECT_PRED3(near, r.fns->h(t, r.p), r.h, 1e-8);
        EXPECT_PRED3(near, r.fns->s(t, r.p), r.s, 1e-8);
    }
}

struct GridPoint {
    std::string region;
    double t, p, v, h, s, cp, cv, w;
};

std::vector<GridPoint> readGrid() {
    std::vector<GridPoint> points;
    for (const CsvRow& r : readCsv("if97_regions12.csv")) {
        EXPECT_EQ(r.numbers.size(), 9u) << r.texts[0];
        if (r.numbers.size() == 9)
            points.push_back({r.texts[0], r[1], r[2], r[3], r[4], r[5], r[6], r[7], r[8]});
    }
    return points;
}

// python3-iapws for regions 1 and 2, a second transcription for the metastable equation
// (tests/oracle/gen_if97_regions12.py). At 1e-11 a digit mistyped in a small term shows.
// cp, cv and w through their workers exercise every second derivative against the reference.
// Valid states raise no floating-point flag, which would make every caller report a fault.
TEST(TP_WS, MatchesReferenceGrid) {
    const std::vector<GridPoint> points = readGrid();
    ASSERT_GT(points.size(), 500u);
    FaultScope scope;
    for (const GridPoint& g : points) {
        SCOPED_TRACE(testing::Message()
                     << "region " << g.region << ", t " << g.t << " °C, p " << g.p << " MPa");
        const RegionFunctions& fns = g.region == "1"   ? kRegion1Fns
                                     : g.region == "2" ? kRegion2Fns
                                                       : kMetastableFns;
        // h and s pass through 0 near the triple point: compare there on an absolute scale.
        EXPECT_PRED3(near, fns.v(g.t, g.p), g.v, 1e-11);
        EXPECT_PRED4(nearFloor, fns.h(g.t, g.p), g.h, 1e-11, 1.0);
        EXPECT_PRED4(nearFloor, fns.s(g.t, g.p), g.s, 1e-11, 0.01);

        EXPECT_PRED3(near, fns.cp(g.t, g.p), g.cp, 1e-10);
        EXPECT_PRED3(near, fns.cv(g.t, g.p), g.cv, 1e-10);
        EXPECT_PRED3(near, fns.w(g.t, g.p), g.w, 1e-10);
    }
    EXPECT_FALSE(scope.faulted());
}

// The isotherms at the ends of the ranges as polynomials in p (region 2 at 800 °C, region 1 at
// 0 and 350 °C): v, s and h as python3-iapws gives them, as the general equation gives them to
// the rounding of the sums, and dv/dp as the difference of v.
TEST(TP_WS, IsothermsMatchTheEquationAndTheReference) {
    struct Isotherm {
        const char* region;
        double t;
        PropertyFn s, h; // of the general equation
        double (*sAt)(double), (*hAt)(double);
    };
    const Isotherm isotherms[] = {
        {"2", 800, S2_TP, I2_TP, S2At800, I2At800},
        {"1", 0, S1_TP, I1_TP, S1At0, I1At0},
        {"1", 350, S1_TP, I1_TP, S1At350, I1At350},
    };
    const auto grid = readGrid();
    for (const Isotherm& i : isotherms) {
        SCOPED_TRACE(testing::Message() << "region " << i.region << " at " << i.t << " °C");
        int compared = 0;
        for (const GridPoint& g : grid) {
            if (g.region != i.region || g.t != i.t) continue;
            ++compared;
            // h and s pass through 0 at 0 °C: compare there on an absolute scale.
            EXPECT_PRED4(nearFloor, i.sAt(g.p), g.s, 1e-11, 0.01) << g.p;
            EXPECT_PRED4(nearFloor, i.hAt(g.p), g.h, 1e-11, 1.0) << g.p;
        }
        EXPECT_GE(compared, 5);
        for (double p = i.region[0] == '1' ? 0.001 : 1e-4; p <= 100; p *= 1.2) {
            // The terms of region 1 cancel to some 1e-12 of h and s near 350 °C, and h at 0 °C
            // is 1e-4 of its terms: the two sums round apart by that much.
            EXPECT_PRED4(nearFloor, i.sAt(p), i.s(i.t, p), 2e-12, 0.01) << p;
            EXPECT_PRED4(nearFloor, i.hAt(p), i.h(i.t, p), 2e-12, 50.0) << p;
        }
    }
    for (double p = 1e-4; p <= 100; p *= 1.2) {
        SCOPED_TRACE(testing::Message() << "p " << p << " MPa");
        double v = 0, dvdp = 0;
        V2At800(p, v, dvdp);
        EXPECT_PRED3(near, v, V2_TP(800, p), 2e-15);
        const double h = 1e-6 * p;
        EXPECT_PRED3(near, dvdp, (V2_TP(800, p + h) - V2_TP(800, p - h)) / (2 * h), 1e-8);
    }
    for (const GridPoint& g : grid)
        if (g.region == "2" && g.t == 800) {
            double v = 0, dvdp = 0;
            V2At800(g.p, v, dvdp);
            EXPECT_PRED3(near, v, g.v, 1e-11) << g.p;
        }
}

// Each derivative against a central difference of the sum one order lower, so a wrong
// derivative factor shows even where it cancels in the caloric relations.
TEST(TP_WS, EvaluatorDerivativesMatchFiniteDifferences) {
    using Evaluator = GibbsDerivatives (*)(double, double, unsigned);
    struct Case {
        const char* name;
        Evaluator fn;
        double pi, tau;
    };
    const Case cases[] = {
        {"region 1", region1Gibbs, 3 / 16.53, 1386 / 300.0},
        {"region 1", region1Gibbs, 80 / 16.53, 1386 / 500.0},
        {"region 2 ideal", region2IdealGibbs, 30, 540 / 700.0},
        {"region 2 residual", region2ResidualGibbs, 30, 540 / 700.0},
        {"region 2 residual", region2ResidualGibbs, 0.5, 540 / 450.0},
        {"metastable ideal", metastableIdealGibbs, 1, 540 / 450.0},
        {"metastable residual", metastableResidualGibbs, 1.5, 540 / 450.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.name << ", pi " << c.pi << ", tau " << c.tau);
        const double hp = 1e-5 * c.pi;
        const double ht = 1e-5 * c.tau;
        const auto at = [&](double dp, double dt) {
            return c.fn(c.pi + dp, c.tau + dt, kGammaAll);
        };
        const auto dPi = [&](auto field) {
            return (std::invoke(field, at(hp, 0)) - std::invoke(field, at(-hp, 0))) / (2 * hp);
        };
        const auto dTau = [&](auto field) {
            return (std::invoke(field, at(0, ht)) - std::invoke(field, at(0, -ht))) / (2 * ht);
        };
        const GibbsDerivatives g = at(0, 0);
        // Scale of the tolerance: the largest of the derivatives, so that a small one is not
        // held to a relative precision the difference quotient cannot reach.
        const double scale =
            std::max({std::abs(g.gammaPi), std::abs(g.gammaTau), std::abs(g.gammaPiPi),
                      std::abs(g.gammaTauTau), std::abs(g.gammaPiTau)});
        const double tol = 1e-7 * scale;
        EXPECT_NEAR(g.gammaPi, dPi(&GibbsDerivatives::gamma), tol);
        EXPECT_NEAR(g.gammaTau, dTau(&GibbsDerivatives::gamma), tol);
        EXPECT_NEAR(g.gammaPiPi, dPi(&GibbsDerivatives::gammaPi), tol);
        EXPECT_NEAR(g.gammaTauTau, dTau(&GibbsDerivatives::gammaTau), tol);
        EXPECT_NEAR(g.gammaPiTau, dTau(&GibbsDerivatives::gammaPi), tol);
        EXPECT_NEAR(g.gammaPiTau, dPi(&GibbsDerivatives::gammaTau), tol);
    }
}

// The sums run four lanes wide where the processor has AVX: every sum of every need set comes
// out bit for bit as the two-lane sums give it, over both regions and beyond their range (where
// powers grow huge and divisions by 0 give infinities).
TEST(TP_WS, WideSumsGiveTheDigitsOfNarrowOnes) {
    struct Restore {
        ~Restore() { useWideSums(true); }
    } restore;
    if (!useWideSums(true)) GTEST_SKIP() << "the processor has no AVX";
    using Evaluator = GibbsDerivatives (*)(double, double, unsigned);
    const auto bitsOver = [](Evaluator fn, double piStep, double tauLow, double tauHigh) {
        std::vector<std::uint64_t> bits;
        for (double pi = 0; pi <= 110; pi += piStep)
            for (double tau = tauLow; tau <= tauHigh; tau += (tauHigh - tauLow) / 23)
                for (unsigned need = 1; need <= kGammaAll; ++need) {
                    const GibbsDerivatives g = fn(pi, tau, need);
                    for (double f : {g.gamma, g.gammaPi, g.gammaPiPi, g.gammaTau, g.gammaTauTau,
                                     g.gammaPiTau})
                        bits.push_back(std::bit_cast<std::uint64_t>(f));
                }
        return bits;
    };
    const auto compare = [&](const char* name, Evaluator fn, double piStep, double tauLow,
                             double tauHigh) {
        FaultScope scope; // the points beyond the range raise flags
        const auto wide = bitsOver(fn, piStep, tauLow, tauHigh);
        useWideSums(false);
        const auto narrow = bitsOver(fn, piStep, tauLow, tauHigh);
        useWideSums(true);
        ASSERT_EQ(wide.size(), narrow.size());
        EXPECT_TRUE(wide == narrow) << name;
    };
    // Region 1: pi = p / 16.53 up to 6.7, tau = 1386 / T from 623 K down to 273 K and beyond.
    compare("region 1", region1Gibbs, 0.29, 1.0, 6.0);
    // Region 2: pi = p up to 110 MPa, tau = 540 / T from 1073 K to 273 K and beyond.
    compare("region 2", region2ResidualGibbs, 4.7, 0.4, 2.2);

    // The isotherms at 800 °C (region 2) and at 0 and 350 °C (region 1), over their pressures.
    const auto isothermBits = [] {
        std::vector<std::uint64_t> bits;
        for (double p = 1e-4; p <= 110; p *= 1.09) {
            double v = 0, dvdp = 0;
            V2At800(p, v, dvdp);
            for (double f :
                 {v, dvdp, S2At800(p), I2At800(p), S1At0(p), I1At0(p), S1At350(p), I1At350(p)})
                bits.push_back(std::bit_cast<std::uint64_t>(f));
        }
        return bits;
    };
    const auto wide = isothermBits();
    useWideSums(false);
    EXPECT_TRUE(isothermBits() == wide) << "isotherms";
}

} // namespace
