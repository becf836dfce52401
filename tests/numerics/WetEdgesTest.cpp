// Wet steam at the edges of the wet region (beside the triple point, either side of 350 °C, up
// to 373 °C) from every pair that serves it, against the independent reference of
// data/wet_edges.csv, and given back: the state found, taken again from its (t, x), meets the
// given pair.

#include "ReferenceCsv.h"
#include "numerics/numerics.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <string>

using namespace numerics;

namespace {

using Quantities = std::array<double, 6>; // t, p, v, s, h, x

struct Result {
    Quantities q{};
    int region = 0;
};

Result state(int pair, double x1, double x2) {
    Result r;
    StateFromPair(pair, true, true, x1, x2, true, true, false, r.q[0], r.q[1], r.q[2], r.q[3],
                  r.q[4], r.q[5], r.region);
    return r;
}

double relativeGap(double got, double want) {
    return std::fabs(got - want) / std::fabs(want);
}

constexpr int kWetPairs[] = {16, 26, 46, 56, 13, 14, 15, 23, 24, 25, 34, 35};

// Whether the pair takes this wet state: (s, x) needs x <= 0.301 or x >= 0.699, (h, x) takes
// wet steam up to 170 °C only, (v, s) and (v, h) volumes from the critical one up.
bool serves(int pair, const Quantities& q) {
    if (pair == 46) return q[5] <= 0.301 || q[5] >= 0.699;
    if (pair == 56) return q[0] <= 170;
    if (pair == 34 || pair == 35) return q[2] >= 1.0 / 322;
    return true;
}

// Region 3's saturated vapour at 350 °C lies 1e-4 above region 2's. So a (v, s), (v, h) or
// (s, x) pair of wet steam within a few mK above 350 °C is met as well by wet steam a little
// below 350 °C, of regions 1 and 2, and that is the state these pairs give: their region tests
// split wet steam at the 350 °C lines of regions 1 and 2. It must give its pair back all the
// same.
bool otherSideOf350(int pair, double t, int region) {
    return (pair == 34 || pair == 35 || pair == 46) && t > 350 && t < 350.005 && region == 6;
}

TEST(WetEdges, EveryPairMatchesTheReferenceAndGivesItsPairBack) {
    const auto rows = readCsv("wet_edges.csv"); // t, x, p, v, h, s
    ASSERT_GE(rows.size(), 30u);
    double worstReference[2] = {0, 0}, worstGivenBack = 0; // regions 5 and 6
    int states = 0;
    for (const CsvRow& row : rows) {
        const Quantities ref{row[0], row[2], row[3], row[5], row[4], row[1]};
        const int region = ref[0] > 350 ? 5 : 6;
        const double tol = region == 5 ? 1e-8 : 1e-9;
        for (int pair : kWetPairs) {
            if (!serves(pair, ref)) continue;
            const int i = pair / 10 - 1, j = pair % 10 - 1;
            const std::string what = "pair " + std::to_string(pair) + " t " +
                                     std::to_string(ref[0]) + " x " + std::to_string(ref[5]);
            Result got;
            try {
                got = state(pair, ref[i], ref[j]);
            } catch (const NumericFault&) {
                ADD_FAILURE() << what << ": not computed";
                continue;
            }
            ++states;
            if (otherSideOf350(pair, ref[0], got.region)) {
                EXPECT_LT(got.q[0], 350) << what;
            } else {
                EXPECT_EQ(got.region, region) << what;
                EXPECT_NEAR(got.q[0], ref[0], 1e-7) << what;
                EXPECT_NEAR(got.q[5], ref[5], 1e-9) << what;
                for (int k : {1, 2, 3, 4}) { // p, v, s, h
                    const double gap = relativeGap(got.q[k], ref[k]);
                    double& worst = worstReference[region - 5];
                    worst = std::max(worst, gap);
                    EXPECT_LE(gap, tol) << what << ", quantity " << k + 1;
                }
            }
            // The state found, taken again from its own temperature and dryness.
            const Result back = state(16, got.q[0], got.q[5]);
            for (int k : {i, j}) {
                const double gap = relativeGap(back.q[k], ref[k]);
                worstGivenBack = std::max(worstGivenBack, gap);
                EXPECT_LE(gap, 1e-9) << what << ", given quantity " << k + 1 << " back";
            }
        }
    }
    EXPECT_GT(states, 400);
    std::printf("%d wet states; worst relative gap to the reference: region 5 %.2g, region 6 "
                "%.2g; worst given value back %.2g\n",
                states, worstReference[0], worstReference[1], worstGivenBack);
}

} // namespace
