#include "numerics/IAPS_ML.h"

#include <benchmark/benchmark.h>

#include <array>

namespace {

struct StateTV {
    double t; // °C
    double v; // m3/kg
};

// Completed states of every kind the calculation page hands on: compressed water, steam,
// supercritical and critical-region states, and wet-steam mixture volumes (x = 0.1, 0.5, 0.9).
constexpr std::array<StateTV, 28> kStates = {{
    {20.0, 0.0010018},   {100.0, 0.001043},   {250.0, 0.00124116}, {300.0, 0.00136109},
    {20.0, 135.222},     {150.0, 1.93673},    {400.0, 0.306595},   {500.0, 0.0328129},
    {700.0, 44.9121},    {800.0, 0.0238685},  {400.0, 0.0060048},  {450.0, 0.00673815},
    {380.0, 0.00478243}, {20.0, 5.77705},     {20.0, 28.8812},     {20.0, 51.9854},
    {100.0, 0.168125},   {100.0, 0.836452},   {100.0, 1.50478},    {200.0, 0.0137631},
    {200.0, 0.0641894},  {200.0, 0.114616},   {300.0, 0.00343011}, {300.0, 0.0115336},
    {300.0, 0.0196372},  {360.0, 0.00239956}, {360.0, 0.00441975}, {360.0, 0.00643995},
}};

template <double (*Property)(double, double)> void runOverStates(benchmark::State& state) {
    for (auto _ : state) {
        for (const StateTV& s : kStates)
            benchmark::DoNotOptimize(Property(s.t, s.v));
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(kStates.size()));
}

void BM_ViscosityTV(benchmark::State& state) {
    runOverStates<numerics::ViscosityTV>(state);
}
void BM_ConductivityTV(benchmark::State& state) {
    runOverStates<numerics::ConductivityTV>(state);
}

} // namespace

BENCHMARK(BM_ViscosityTV);
BENCHMARK(BM_ConductivityTV);
