#pragma once
// Complete states on a fixed grid of seeds in every region, each turned into the given values of
// every pair that can complete it. Shared by the round-trip test and the StateFromPair benchmark.

#include "numerics/Sr_Ws.h"
#include "numerics/TP_WS.h"
#include "numerics/numerics.h"

#include <array>
#include <vector>

namespace stateworkload {

// t, p, v, s, h, x in the order of the quantity indexes 1..6.
using Quantities = std::array<double, 6>;

struct State {
    int region;
    Quantities q;
};

// One call of StateFromPair: the pair's given values and the state they should give back.
struct Case {
    int pair;
    int region;
    bool metastable;
    double x1, x2;
    Quantities expected;
};

// The (pair, region) combinations StateFromPair completes, region by region.
struct Combination {
    int pair, region;
};
inline constexpr std::array<Combination, 45> kCombinations{{
    {12, 1}, {12, 2}, {12, 3}, {12, 8}, {13, 1}, {13, 2}, {13, 3}, {13, 5}, {13, 6},
    {14, 1}, {14, 2}, {14, 3}, {14, 5}, {14, 6}, {15, 5}, {15, 6}, {16, 5}, {16, 6},
    {23, 5}, {23, 6}, {24, 1}, {24, 2}, {24, 3}, {24, 5}, {24, 6}, {24, 8}, {25, 1},
    {25, 2}, {25, 3}, {25, 5}, {25, 6}, {25, 8}, {26, 5}, {26, 6}, {34, 2}, {34, 3},
    {34, 5}, {34, 6}, {35, 2}, {35, 3}, {35, 5}, {35, 6}, {46, 5}, {46, 6}, {56, 6},
}};

// Completes a state with every quantity asked for; region 0 when it throws.
inline State complete(int pair, bool metastable, double x1, double x2) {
    State st{0, {}};
    try {
        numerics::StateFromPair(pair, true, true, x1, x2, true, true, metastable, st.q[0], st.q[1],
                                st.q[2], st.q[3], st.q[4], st.q[5], st.region);
    } catch (const numerics::NumericFault&) {
        st.region = 0;
    }
    return st;
}

// Seeds: (t, p) grids in regions 1, 2 and 3, (t, x) grids in wet steam, and metastable vapour
// at condenser to boiler pressures with 1 to 4 % moisture by entropy. A seed is kept when its
// own pair puts it in the region it was meant for.
inline std::vector<State> seedStates() {
    std::vector<State> seeds;
    const auto keep = [&](const State& st, int region) {
        if (st.region == region) seeds.push_back(st);
    };
    for (double t : {5, 25, 60, 100, 150, 200, 250, 300, 340})
        for (double p : {1, 5, 20, 50, 90})
            keep(complete(12, false, t, p), 1);
    for (double t : {50, 100, 150, 200, 300, 400, 500, 600, 700, 790})
        for (double p : {0.005, 0.02, 0.1, 0.5, 2.0, 8.0, 15.0, 30.0, 60.0, 90.0})
            keep(complete(12, false, t, p), 2);
    for (double t : {355, 365, 380, 400, 450, 500, 550, 580})
        for (double p : {20.0, 22.5, 25.0, 27.5, 30.0, 40.0, 50.0, 70.0, 90.0})
            keep(complete(12, false, t, p), 3);
    for (double t : {352, 358, 364, 370})
        for (double x : {0.05, 0.2, 0.3, 0.7, 0.85, 0.95})
            keep(complete(16, false, t, x), 5);
    for (double t : {5, 40, 100, 150, 170, 250, 340})
        for (double x : {0.05, 0.2, 0.3, 0.5, 0.7, 0.85, 0.95})
            keep(complete(16, false, t, x), 6);
    for (double p : {0.005, 0.1, 1.0, 5.0, 9.0})
        for (double moisture : {0.01, 0.02, 0.04}) {
            const double ts = numerics::Ts_P(p);
            const double s1 = numerics::S1_TP(ts, p), s2 = numerics::S2_TP(ts, p);
            keep(complete(24, true, p, s2 - moisture * (s2 - s1)), 8);
        }
    return seeds;
}

// The range of the library for the given quantities (s <= 9.155759395, h <= 4160.66,
// v <= 206.13971631 in (v, s) and (v, h)) and the pairs' own limits: (v, s) and (v, h) need
// v >= vc, (s, x) no dryness between 0.301 and 0.699, (h, x) below 170 °C, (t, p) no
// temperature below 0 °C.
inline bool withinPairLimits(int pair, const State& st) {
    const double t = st.q[0], v = st.q[2], s = st.q[3], h = st.q[4], x = st.q[5];
    const int i = pair / 10, j = pair % 10;
    if ((i == 4 || j == 4) && s > 9.1557) return false;
    if ((i == 5 || j == 5) && h > 4160.6) return false;
    switch (pair) {
    case 12:
        return t >= 0;
    case 34:
    case 35:
        return v >= 1.0 / 322 && v < 206.1;
    case 46:
        return x <= 0.301 || x >= 0.699;
    case 56:
        return t < 170;
    default:
        return true;
    }
}

inline std::vector<Case> cases(const std::vector<State>& seeds) {
    std::vector<Case> out;
    for (const auto& st : seeds)
        for (const auto& c : kCombinations)
            if (c.region == st.region && withinPairLimits(c.pair, st))
                out.push_back({c.pair, st.region, st.region == 8, st.q[c.pair / 10 - 1],
                               st.q[c.pair % 10 - 1], st.q});
    return out;
}

} // namespace stateworkload
