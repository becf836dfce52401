// Around the critical point: the state from every pair against the 60-digit roots of the region
// 3 equation in data/critical_region.csv, and the derived properties there.

#include "ReferenceCsv.h"
#include "numerics/numerics.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <map>

using namespace numerics;

namespace {

using Quantities = std::array<double, 6>; // t, p, v, s, h, x

int state(int pair, double x1, double x2, Quantities& q) {
    int region = 0;
    StateFromPair(pair, true, true, x1, x2, true, true, false, q[0], q[1], q[2], q[3], q[4], q[5],
                  region);
    return region;
}

double gap(double got, double want) {
    return std::fabs(got - want) / std::fabs(want);
}

// Whether the pair names this state: wet pairs only wet steam, (v, s) and (v, h) from the
// critical volume up, (s, x) outside 0.301 < x < 0.699. Saturated states (x = 0 or 1) only
// through the pairs that give x: for the others they lie on the edge of the wet region, where
// rounding decides the region and the dryness gates of the mixing apply. So does wet steam of
// x = 0.999 for (v, s) and (v, h): near the critical point the saturated vapour of a slightly
// higher temperature has the same v and s (or h) to first order.
bool serves(int pair, int region, const Quantities& q) {
    const bool givesX = pair % 10 == 6, byVolume = pair == 34 || pair == 35;
    if (region == 3)
        return !givesX && pair != 15 && pair != 23 && (q[2] >= 1 / 322.0 || !byVolume);
    if (pair == 12 || (byVolume && (q[2] < 1 / 322.0 || q[5] >= 0.999))) return false;
    if (pair == 46) return q[5] <= 0.301 || q[5] >= 0.699;
    return givesX || (q[5] > 0 && q[5] < 1);
}

// Every pair finds the stable state to the last digits the isotherm's slope allows: a given
// quantity rounded to 1e-12 (or the reference's saturation pressure, which holds no more) moves
// the density by 1e-12 over the stiffness rho (dp/drho)_T / p, which all but vanishes at the
// critical point (4e-5 there). The pressure given with t comes back within 1e-10.
TEST(CriticalPoint, EveryPairFindsTheStableState) {
    std::map<int, std::array<double, 2>> worst; // largest gap in t, p, v, s, h; in x
    int states = 0;
    for (const CsvRow& r : readCsv("critical_region.csv")) { // region, t, p, v, s, h, x, stiffness
        const int region = int(r[0]);
        const Quantities ref{r[1], r[2], r[3], r[4], r[5], r[6]};
        const double allowed = std::max(1e-7, 1e-12 / r[7]);
        for (int pair : {12, 13, 14, 15, 16, 23, 24, 25, 26, 34, 35, 46}) {
            if (!serves(pair, region, ref)) continue;
            SCOPED_TRACE(testing::Message() << "pair " << pair << " t " << ref[0] << " p "
                                            << ref[1] << " x " << ref[5]);
            Quantities q{};
            int found = 0;
            try {
                found = state(pair, ref[pair / 10 - 1], ref[pair % 10 - 1], q);
            } catch (const NumericFault&) {
            }
            EXPECT_EQ(found, region);
            if (found != region) continue;
            ++states;
            for (int k = 0; k < 5; ++k) {
                EXPECT_LE(gap(q[k], ref[k]), allowed) << "quantity " << k + 1;
                worst[pair][0] = std::max(worst[pair][0], gap(q[k], ref[k]));
            }
            worst[pair][1] = std::max(worst[pair][1], std::fabs(q[5] - ref[5]));
            if (pair == 12) {
                EXPECT_LE(gap(q[1], ref[1]), 1e-10);
            }
        }
    }
    EXPECT_GT(states, 600);
    for (const auto& [pair, w] : worst)
        std::printf("pair %d: worst relative gap of t, p, v, s, h %.2g, of x %.2g\n", pair, w[0],
                    w[1]);
}

// Within 1e-6 K and 1 % in v of the critical point, from every pair: a state with a dryness in
// 0..1, and cp, cv, the isentropic exponent and the speed of sound finite and positive (0 where
// the pair gives no state), or not computed. cp has a value wherever the isotherm rises clearly,
// 1e-3 off the critical volume.
TEST(CriticalPoint, DerivedPropertiesArePositiveOrNotComputed) {
    using Property = double (*)(int, bool, double, double);
    int computed = 0;
    for (double dt : {-1e-6, -3e-7, -1e-7, -3e-8, 0.0, 3e-8, 1e-7, 3e-7, 1e-6}) {
        for (double dv : {-1e-2, -3e-3, -1e-3, -3e-4, -1e-4, 0.0, 1e-4, 3e-4, 1e-3, 3e-3, 1e-2}) {
            const double t = 373.946 + dt, v = (1 + dv) / 322;
            Quantities q{};
            state(13, t, v, q);
            if (std::fabs(dv) >= 1e-3) {
                EXPECT_GT(IsobaricHeatCapacity(13, false, t, v), 0) << t << " " << v;
                ++computed;
            }
            for (int pair : {12, 13, 14, 15, 16, 23, 24, 25, 26, 34, 35, 46}) {
                const double x1 = q[pair / 10 - 1], x2 = q[pair % 10 - 1];
                SCOPED_TRACE(testing::Message() << "pair " << pair << " of t " << t << " v " << v);
                Quantities again{};
                int region = 0;
                try {
                    region = state(pair, x1, x2, again);
                    EXPECT_NEAR(again[5], std::clamp(again[5], 0.0, 1.0), 1e-6);
                } catch (const NumericFault&) {
                }
                for (Property f : {IsobaricHeatCapacity, IsochoricHeatCapacity, IsentropicExponent,
                                   SpeedOfSound}) {
                    try {
                        const double value = f(pair, false, x1, x2);
                        if (region == 3 || region == 5) {
                            EXPECT_TRUE(value > 0 && std::isfinite(value)) << value;
                        } else {
                            EXPECT_EQ(value, 0);
                        }
                    } catch (const NumericFault&) {
                    }
                }
            }
        }
    }
    EXPECT_GT(computed, 50);
}

} // namespace
