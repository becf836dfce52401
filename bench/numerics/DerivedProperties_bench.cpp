// The derived-property entry points per region and over a mixed workload, and the cost of one
// calculation (state, four derived properties, two transport properties).
#include "numerics/numerics.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <map>
#include <random>
#include <string>
#include <vector>

namespace {

using namespace numerics;

struct Input {
    int pair;
    bool meta;
    double x1, x2;
    int region; // the region StateFromPair gives for these inputs
};

struct Completed {
    double t, p, v, s, h, x;
    int region;
};

Completed complete(int pair, bool meta, double x1, double x2) {
    Completed c{};
    try {
        StateFromPair(pair, true, true, x1, x2, true, true, meta, c.t, c.p, c.v, c.s, c.h, c.x,
                      c.region);
    } catch (const NumericFault&) {
        c.region = RegionCode::None;
    }
    return c;
}

// Seed states per region, each completed once: (t, p) for the single-phase regions, (t, x)
// for wet steam, (p, s) a little inside the dome with the flag on for metastable vapour.
const std::vector<Completed>& seeds() {
    static std::vector<Completed> out;
    if (!out.empty()) return out;
    const auto add = [&](int pair, bool meta, double x1, double x2, int region) {
        const Completed c = complete(pair, meta, x1, x2);
        if (c.region == region) out.push_back(c);
    };
    for (const double t : {5, 25, 60, 100, 150, 200, 250, 300, 340})
        for (const double p : {1, 5, 20, 50, 90})
            add(12, false, t, p, RegionCode::Water);
    for (const double t : {50, 120, 200, 300, 400, 500, 600, 700, 790})
        for (const double p : {0.002, 0.01, 0.1, 1.0, 5.0, 15.0, 30.0, 60.0, 90.0})
            add(12, false, t, p, RegionCode::Steam);
    for (const double t : {355, 365, 380, 400, 450, 500, 550, 580})
        for (const double p : {20, 25, 30, 40, 60, 90})
            add(12, false, t, p, RegionCode::Critical);
    constexpr std::array kDryness = {0.05, 0.2, 0.3, 0.7, 0.85, 0.95};
    for (const double t : {352, 358, 364, 370})
        for (const double x : kDryness)
            add(16, false, t, x, RegionCode::WetHigh);
    for (const double t : {5, 40, 100, 150, 170, 250, 340})
        for (const double x : kDryness)
            add(16, false, t, x, RegionCode::WetLow);
    for (const double p : {0.005, 0.1, 1.0, 5.0, 9.0}) {
        const Completed liquid = complete(26, false, p, 0);
        const Completed vapour = complete(26, false, p, 1);
        for (const double moisture : {0.01, 0.02, 0.04})
            add(24, true, p, vapour.s - moisture * (vapour.s - liquid.s), RegionCode::Metastable);
    }
    return out;
}

constexpr std::array kPairs = {12, 13, 14, 15, 16, 23, 24, 25, 26, 34, 35, 46, 56};

Input inputOf(int pair, const Completed& c) {
    const double q[6] = {c.t, c.p, c.v, c.s, c.h, c.x};
    return {pair, c.region == RegionCode::Metastable, q[pair / 10 - 1], q[pair % 10 - 1],
            c.region};
}

bool keeps(const Input& in) {
    return complete(in.pair, in.meta, in.x1, in.x2).region == in.region;
}

// Pair 12 inputs of regions 1, 2, 3 and 8, pair 16 inputs of regions 5 and 6.
const std::vector<Input>& regionInputs(int region) {
    static std::map<int, std::vector<Input>> cache;
    auto [it, added] = cache.try_emplace(region);
    if (!added) return it->second;
    const int pair = region == RegionCode::WetHigh || region == RegionCode::WetLow ? 16 : 12;
    for (const Completed& c : seeds())
        if (c.region == region && keeps(inputOf(pair, c))) it->second.push_back(inputOf(pair, c));
    return it->second;
}

// Every seed through every pair that gives its region back, shuffled with a fixed seed.
const std::vector<Input>& mixedInputs() {
    static const std::vector<Input> inputs = [] {
        std::vector<Input> out;
        for (const Completed& c : seeds())
            for (const int pair : kPairs)
                if (keeps(inputOf(pair, c))) out.push_back(inputOf(pair, c));
        std::shuffle(out.begin(), out.end(), std::mt19937(20261207));
        return out;
    }();
    return inputs;
}

using DerivedFn = double (*)(int, bool, double, double);

void runDerived(benchmark::State& state, DerivedFn fn, const std::vector<Input>& inputs) {
    if (inputs.empty()) {
        state.SkipWithError("no inputs");
        return;
    }
    for (auto _ : state)
        for (const Input& in : inputs)
            benchmark::DoNotOptimize(fn(in.pair, in.meta, in.x1, in.x2));
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(inputs.size()));
    state.counters["inputs"] = static_cast<double>(inputs.size());
}

// One Enter on the calculation page: the state, the four derived properties, and viscosity
// and conductivity where the state has a volume.
void calculate(const Input& in) {
    double t = 0, p = 0, v = 0, s = 0, h = 0, x = 0;
    int region = 0;
    StateFromPair(in.pair, true, true, in.x1, in.x2, true, true, in.meta, t, p, v, s, h, x,
                  region);
    benchmark::DoNotOptimize(IsobaricHeatCapacity(in.pair, in.meta, in.x1, in.x2));
    benchmark::DoNotOptimize(IsochoricHeatCapacity(in.pair, in.meta, in.x1, in.x2));
    benchmark::DoNotOptimize(IsentropicExponent(in.pair, in.meta, in.x1, in.x2));
    benchmark::DoNotOptimize(SpeedOfSound(in.pair, in.meta, in.x1, in.x2));
    if (v > 0) {
        benchmark::DoNotOptimize(ViscosityTV(t, v));
        benchmark::DoNotOptimize(ConductivityTV(t, v));
    }
}

void BM_CalculationSequence(benchmark::State& state) {
    const std::vector<Input>& inputs = mixedInputs();
    try {
        for (const Input& in : inputs)
            calculate(in);
    } catch (const NumericFault& e) {
        state.SkipWithError(e.what());
        return;
    }
    for (auto _ : state)
        for (const Input& in : inputs)
            calculate(in);
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(inputs.size()));
    state.counters["inputs"] = static_cast<double>(inputs.size());
}

const bool registered = [] {
    const std::pair<const char*, DerivedFn> entryPoints[] = {
        {"BM_IsobaricHeatCapacity", IsobaricHeatCapacity},
        {"BM_IsochoricHeatCapacity", IsochoricHeatCapacity},
        {"BM_IsentropicExponent", IsentropicExponent},
        {"BM_SpeedOfSound", SpeedOfSound},
    };
    for (const auto& entryPoint : entryPoints) {
        const char* name = entryPoint.first;
        const DerivedFn fn = entryPoint.second;
        for (const int region : {1, 2, 3, 5, 6, 8}) {
            benchmark::RegisterBenchmark(
                (std::string(name) + "/" + std::to_string(region)).c_str(),
                [fn, region](benchmark::State& state) {
                    runDerived(state, fn, regionInputs(region));
                });
        }
        benchmark::RegisterBenchmark(
            (std::string(name) + "/Mixed").c_str(),
            [fn](benchmark::State& state) { runDerived(state, fn, mixedInputs()); });
    }
    benchmark::RegisterBenchmark("BM_CalculationSequence/Mixed", BM_CalculationSequence);
    return true;
}();

} // namespace
