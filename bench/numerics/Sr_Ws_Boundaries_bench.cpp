#include "numerics/Sr_Ws.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace {

// Evenly spaced temperatures from `from` to `to` (°C), n of them.
std::vector<double> grid(double from, double to, int n) {
    std::vector<double> t(n);
    for (int i = 0; i < n; ++i)
        t[i] = from + (to - from) * i / (n - 1);
    return t;
}

// Saturated-vapour volumes of the temperatures.
std::vector<double> vapourVolumes(const std::vector<double>& temperatures) {
    std::vector<double> v;
    for (double t : temperatures)
        v.push_back(numerics::V23Fn_T(t));
    return v;
}

template <class Fn> void runOver(benchmark::State& state, const std::vector<double>& xs, Fn fn) {
    for (auto _ : state) {
        for (double x : xs)
            benchmark::DoNotOptimize(fn(x));
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(xs.size()));
}

// Saturated-vapour volume from the region 3 equation, 350 to 373.9 °C.
void BM_V23kr_T(benchmark::State& state) {
    const auto temperatures = grid(350.0, 373.9, 64);
    std::vector<double> pressures;
    for (double t : temperatures)
        pressures.push_back(numerics::Ps_T(t));
    for (auto _ : state) {
        for (std::size_t i = 0; i < temperatures.size(); ++i)
            benchmark::DoNotOptimize(numerics::V23kr_T(temperatures[i], pressures[i]));
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(temperatures.size()));
}

// Saturation temperature of a saturated-vapour volume over the whole line, 0 to 373.9 °C.
void BM_T23_V(benchmark::State& state) {
    runOver(state, vapourVolumes(grid(0.0, 373.9, 128)), numerics::T23_V);
}

// The same near 0 °C, where the bracket walk's step is smallest, and one evaluation of the
// function it walks on over the same states: the ratio of the two is the evaluations per call.
void BM_T23_V_Near0(benchmark::State& state) {
    runOver(state, vapourVolumes(grid(0.0, 2.0, 64)), numerics::T23_V);
}
void BM_V23Fn_T_Near0(benchmark::State& state) {
    runOver(state, grid(0.0, 2.0, 64), numerics::V23Fn_T);
}

} // namespace

BENCHMARK(BM_V23kr_T);
BENCHMARK(BM_T23_V);
BENCHMARK(BM_T23_V_Near0);
BENCHMARK(BM_V23Fn_T_Near0);
