// States per second of StateFromPair: per (pair, region) combination, over all of them mixed,
// and for inputs it rejects. Inputs come from the fixed seed grid of the round-trip test and
// are checked to land in their region before any timing.

#include "numerics/numerics.h"

#include "support/numerics/StateWorkload.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace {

using stateworkload::Case;

// The cases whose pair gives back their region; the others would time a different path.
const std::vector<Case>& landingCases() {
    static const std::vector<Case> cases = [] {
        std::vector<Case> kept;
        for (const Case& c : stateworkload::cases(stateworkload::seedStates()))
            if (stateworkload::complete(c.pair, c.metastable, c.x1, c.x2).region == c.region)
                kept.push_back(c);
        return kept;
    }();
    return cases;
}

void run(benchmark::State& state, const std::vector<Case>& cases) {
    if (cases.empty()) {
        state.SkipWithError("no input lands in this region");
        return;
    }
    double t, p, v, s, h, x;
    int region;
    size_t k = 0;
    for (auto _ : state) {
        const Case& c = cases[k];
        try {
            numerics::StateFromPair(c.pair, true, true, c.x1, c.x2, true, true, c.metastable, t, p,
                                    v, s, h, x, region);
        } catch (const numerics::NumericFault&) {
            region = 0;
        }
        benchmark::DoNotOptimize(region);
        benchmark::DoNotOptimize(t);
        k = k + 1 == cases.size() ? 0 : k + 1;
    }
    state.SetItemsProcessed(state.iterations());
    state.counters["inputs"] = static_cast<double>(cases.size());
}

void BM_StateFromPair_Mixed(benchmark::State& state) {
    static const std::vector<Case> mixed = [] {
        std::vector<Case> all = landingCases();
        std::shuffle(all.begin(), all.end(), std::mt19937(20261207));
        return all;
    }();
    run(state, mixed);
}
BENCHMARK(BM_StateFromPair_Mixed);

// Pairs 36 and 45, an unknown pair code and values outside the range.
void BM_StateFromPair_Rejected(benchmark::State& state) {
    static const std::vector<Case> rejected = {
        {36, 10, false, 0.1, 0.5, {}}, {45, 10, false, 6.0, 2500, {}},
        {66, 11, false, 1.0, 2.0, {}}, {12, 9, false, 25, 200, {}},
        {13, 9, false, 900, 0.1, {}},  {24, 9, false, 1, 9.5, {}},
        {26, 9, false, 30, 0.5, {}},   {34, 9, false, 0.001, 1.0, {}},
        {46, 9, false, 5.0, 0.5, {}},  {56, 9, false, 2700, 0.99, {}},
    };
    run(state, rejected);
}
BENCHMARK(BM_StateFromPair_Rejected);

// One benchmark per combination, named BM_StateFromPair/<pair>/<region>.
const bool registered = [] {
    for (const auto& combination : stateworkload::kCombinations) {
        const std::string name = "BM_StateFromPair/" + std::to_string(combination.pair) + "/" +
                                 std::to_string(combination.region);
        benchmark::RegisterBenchmark(name.c_str(), [combination](benchmark::State& state) {
            std::vector<Case> cases;
            for (const Case& c : landingCases())
                if (c.pair == combination.pair && c.region == combination.region)
                    cases.push_back(c);
            run(state, cases);
        });
    }
    return true;
}();

} // namespace
