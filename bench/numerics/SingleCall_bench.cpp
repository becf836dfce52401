// Single calls of the library as the calculator makes them, each over a fixed set of states:
// one enthalpy, a full state, cp, the speed of sound, per region, and full states from the
// inverse pairs. Named BM_Call/<what>/<region>; read as ratios to BM_Floor (bench/ratios.py).

#include "numerics/numerics.h"

#include <benchmark/benchmark.h>

#include <array>
#include <cfenv>
#include <string>
#include <vector>

namespace {

using namespace numerics;

// t, p, v, s, h, x and the region of one completed state.
struct State {
    std::array<double, 6> q;
    int region;
};

State complete(int pair, double x1, double x2) {
    State st{{}, RegionCode::None};
    try {
        StateFromPair(pair, true, true, x1, x2, true, true, false, st.q[0], st.q[1], st.q[2],
                      st.q[3], st.q[4], st.q[5], st.region);
    } catch (const NumericFault&) {
        st.region = RegionCode::None;
    }
    return st;
}

// States of one region on an evenly spaced (t, p) grid, kept when (t, p) puts them there.
std::vector<State> grid(int region, double t0, double t1, int nt, double p0, double p1, int np) {
    std::vector<State> states;
    for (int a = 0; a < nt; ++a)
        for (int b = 0; b < np; ++b) {
            const State st =
                complete(12, t0 + (t1 - t0) * a / (nt - 1), p0 + (p1 - p0) * b / (np - 1));
            if (st.region == region) states.push_back(st);
        }
    return states;
}

const std::vector<State>& statesOf(int region) {
    static const std::vector<State> region1 = grid(1, 5, 300, 40, 10, 100, 25);
    static const std::vector<State> region2 = grid(2, 400, 800, 40, 0.01, 10, 25);
    static const std::vector<State> region3 = grid(3, 380, 590, 40, 25, 100, 25);
    return region == 1 ? region1 : region == 2 ? region2 : region3;
}

// The given values of `pair` for each state whose pair puts it back in its own region.
struct Input {
    double x1, x2;
};
std::vector<Input> inputs(int pair, std::initializer_list<int> regions) {
    std::vector<Input> out;
    for (int region : regions)
        for (const State& st : statesOf(region)) {
            const Input in{st.q[pair / 10 - 1], st.q[pair % 10 - 1]};
            if (complete(pair, in.x1, in.x2).region == region) out.push_back(in);
        }
    return out;
}

template <class Call> void run(benchmark::State& state, const std::vector<Input>& in, Call call) {
    if (in.empty()) {
        state.SkipWithError("no inputs");
        return;
    }
    for (auto _ : state)
        for (const Input& x : in)
            call(x);
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(in.size()));
    state.counters["inputs"] = static_cast<double>(in.size());
}

// Outputs of the state calls; the flags say which are computed.
struct Outputs {
    double t = 0, p = 0, v = 0, s = 0, h = 0, x = 0;
    int region = 0;
};

// With callerFlag, the calls run with the invalid-operation flag raised, as a NaN comparison in
// the caller's code leaves it: the library keeps it and must cost the same.
void enthalpyOnly(benchmark::State& state, int region, bool callerFlag = false) {
    Outputs o;
    if (callerFlag) std::feraiseexcept(FE_INVALID);
    run(state, inputs(12, {region}), [&](const Input& in) {
        StateFromPair(12, false, false, in.x1, in.x2, false, true, false, o.t, o.p, o.v, o.s, o.h,
                      o.x, o.region);
        benchmark::DoNotOptimize(o.h);
    });
}

void fullState(benchmark::State& state, int pair, std::initializer_list<int> regions,
               bool callerFlag = false) {
    Outputs o;
    if (callerFlag) std::feraiseexcept(FE_INVALID);
    run(state, inputs(pair, regions), [&](const Input& in) {
        StateFromPair(pair, true, true, in.x1, in.x2, true, true, false, o.t, o.p, o.v, o.s, o.h,
                      o.x, o.region);
        benchmark::DoNotOptimize(o);
    });
}

void derived(benchmark::State& state, double (*fn)(int, bool, double, double), int region) {
    run(state, inputs(12, {region}),
        [&](const Input& in) { benchmark::DoNotOptimize(fn(12, false, in.x1, in.x2)); });
}

const bool registered = [] {
    for (int region : {1, 2, 3}) {
        const std::string r = "/" + std::to_string(region);
        benchmark::RegisterBenchmark(("BM_Call/h_TP" + r).c_str(),
                                     [region](benchmark::State& s) { enthalpyOnly(s, region); });
        benchmark::RegisterBenchmark(
            ("BM_Call/State_TP" + r).c_str(),
            [region](benchmark::State& s) { fullState(s, PairCode::TP, {region}); });
        benchmark::RegisterBenchmark(("BM_Call/cp_TP" + r).c_str(), [region](benchmark::State& s) {
            derived(s, IsobaricHeatCapacity, region);
        });
        benchmark::RegisterBenchmark(("BM_Call/w_TP" + r).c_str(), [region](benchmark::State& s) {
            derived(s, SpeedOfSound, region);
        });
    }
    benchmark::RegisterBenchmark("BM_Call/State_TV/2",
                                 [](benchmark::State& s) { fullState(s, PairCode::TV, {2}); });
    benchmark::RegisterBenchmark("BM_Call/State_PH/123", [](benchmark::State& s) {
        fullState(s, PairCode::PI, {1, 2, 3});
    });
    benchmark::RegisterBenchmark("BM_Call/State_PS/123", [](benchmark::State& s) {
        fullState(s, PairCode::PS, {1, 2, 3});
    });
    benchmark::RegisterBenchmark("BM_Call/h_TP_flagged/1",
                                 [](benchmark::State& s) { enthalpyOnly(s, 1, true); });
    benchmark::RegisterBenchmark("BM_Call/State_PH_flagged/123", [](benchmark::State& s) {
        fullState(s, PairCode::PI, {1, 2, 3}, true);
    });
    benchmark::RegisterBenchmark("BM_Call/State_VS/23", [](benchmark::State& s) {
        fullState(s, PairCode::VS, {2, 3});
    });
    benchmark::RegisterBenchmark("BM_Call/State_VH/23", [](benchmark::State& s) {
        fullState(s, PairCode::VI, {2, 3});
    });
    return true;
}();

} // namespace
