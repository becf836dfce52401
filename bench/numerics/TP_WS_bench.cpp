// Calls per second of the (t, p) functions that the inverse solvers call in their inner loops.

#include "numerics/TP_WS.h"

#include <benchmark/benchmark.h>

#include <utility>
#include <vector>

namespace {

using PropertyFn = double (*)(double, double);

// An 8 x 8 grid of (t, p) over [t0, t1] x [p0, p1], inside the region of the function measured.
std::vector<std::pair<double, double>> grid(double t0, double t1, double p0, double p1) {
    std::vector<std::pair<double, double>> points;
    for (int i = 0; i < 8; ++i)
        for (int j = 0; j < 8; ++j)
            points.emplace_back(t0 + (t1 - t0) * i / 7, p0 + (p1 - p0) * j / 7);
    return points;
}

void BM_TP(benchmark::State& state, PropertyFn fn, std::vector<std::pair<double, double>> points) {
    for (auto _ : state)
        for (const auto& [t, p] : points)
            benchmark::DoNotOptimize(fn(t, p));
    state.SetItemsProcessed(state.iterations() * static_cast<long>(points.size()));
}

// Region 1: 20..300 °C at 20..100 MPa; region 2: 400..800 °C at 0.01..10 MPa;
// metastable vapour: 100..170 °C at 1..1.5 MPa (below the saturation temperature).
BENCHMARK_CAPTURE(BM_TP, V1_TP, numerics::V1_TP, grid(20, 300, 20, 100));
BENCHMARK_CAPTURE(BM_TP, V2_TP, numerics::V2_TP, grid(400, 800, 0.01, 10));
BENCHMARK_CAPTURE(BM_TP, S2_TP, numerics::S2_TP, grid(400, 800, 0.01, 10));
BENCHMARK_CAPTURE(BM_TP, I2m_TP, numerics::I2m_TP, grid(100, 170, 1, 1.5));

} // namespace
