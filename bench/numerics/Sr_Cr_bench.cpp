#include "numerics/Sr_Cr.h"

#include <benchmark/benchmark.h>

#include <array>
#include <vector>

namespace {

struct Point {
    double t; // °C
    double x; // v in m3/kg or p in MPa
};

// Region 3 in (t, v): 360 to 590 °C by 10 K, densities 150 to 700 kg/m3 by 50 kg/m3.
std::vector<Point> volumeGrid() {
    std::vector<Point> grid;
    for (double t = 360; t <= 590; t += 10)
        for (double rho = 150; rho <= 700; rho += 50)
            grid.push_back({t, 1 / rho});
    return grid;
}

// Region 3 in (t, p), single-phase states only: 380 to 590 °C by 10 K, 25 to 100 MPa by 5 MPa,
// plus compressed liquid at 355 and 365 °C.
std::vector<Point> pressureGrid() {
    std::vector<Point> grid;
    for (double t = 380; t <= 590; t += 10)
        for (double p = 25; p <= 100; p += 5)
            grid.push_back({t, p});
    for (double t : {355.0, 365.0})
        for (double p = 25; p <= 100; p += 5)
            grid.push_back({t, p});
    return grid;
}

template <double (*Function)(double, double)>
void runOver(benchmark::State& state, const std::vector<Point>& grid) {
    for (auto _ : state) {
        for (const Point& point : grid)
            benchmark::DoNotOptimize(Function(point.t, point.x));
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(grid.size()));
}

void BM_P3_TV(benchmark::State& state) {
    runOver<numerics::P3_TV>(state, volumeGrid());
}
void BM_S3_TV(benchmark::State& state) {
    runOver<numerics::S3_TV>(state, volumeGrid());
}

numerics::Helmholtz3 helmholtz(double t, double v) {
    return numerics::Helmholtz3_TV(t, v);
}
void BM_Helmholtz3_TV(benchmark::State& state) {
    const std::vector<Point> grid = volumeGrid();
    for (auto _ : state) {
        for (const Point& point : grid)
            benchmark::DoNotOptimize(helmholtz(point.t, point.x));
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(grid.size()));
}

void BM_V3_TP(benchmark::State& state) {
    runOver<numerics::V3_TP>(state, pressureGrid());
}

} // namespace

BENCHMARK(BM_P3_TV);
BENCHMARK(BM_S3_TV);
BENCHMARK(BM_Helmholtz3_TV);
BENCHMARK(BM_V3_TP);
