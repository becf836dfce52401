// The floor: a plain evaluation of the region 1 Gibbs function and its tau-derivative, as a
// simple implementation writes it. Every other benchmark is read as a ratio to it in the same
// run (bench/ratios.py), which takes the speed of the machine out of the figures.

#include <benchmark/benchmark.h>

#include <vector>

namespace {

struct Term {
    int i, j;
    double n;
};

// IAPWS-IF97 Table 2: region 1, gamma = sum n (7.1 - pi)^I (tau - 1.222)^J.
constexpr Term kRegion1[34] = {
    {0, -2, 0.14632971213167},        {0, -1, -0.84548187169114},
    {0, 0, -0.37563603672040e1},      {0, 1, 0.33855169168385e1},
    {0, 2, -0.95791963387872},        {0, 3, 0.15772038513228},
    {0, 4, -0.16616417199501e-1},     {0, 5, 0.81214629983568e-3},
    {1, -9, 0.28319080123804e-3},     {1, -7, -0.60706301565874e-3},
    {1, -1, -0.18990068218419e-1},    {1, 0, -0.32529748770505e-1},
    {1, 1, -0.21841717175414e-1},     {1, 3, -0.52838357969930e-4},
    {2, -3, -0.47184321073267e-3},    {2, 0, -0.30001780793026e-3},
    {2, 1, 0.47661393906987e-4},      {2, 3, -0.44141845330846e-5},
    {2, 17, -0.72694996297594e-15},   {3, -4, -0.31679644845054e-4},
    {3, 0, -0.28270797985312e-5},     {3, 6, -0.85205128120103e-9},
    {4, -5, -0.22425281908000e-5},    {4, -2, -0.65171222895601e-6},
    {4, 10, -0.14341729937924e-12},   {5, -8, -0.40516996860117e-6},
    {8, -11, -0.12734301741641e-8},   {8, -6, -0.17424871230634e-9},
    {21, -29, -0.68762131295531e-18}, {23, -31, 0.14478307828521e-19},
    {29, -38, 0.26335781662795e-22},  {30, -39, -0.11947622640071e-22},
    {31, -40, 0.18228094581404e-23},  {32, -41, -0.93537087292458e-25},
};

// The floor kernel of the library's speed goals, as the speed-goal tool times it (one
// definition of the floor): gamma and its tau-derivative with the powers of 7.1 - pi and of
// tau - 1.222 built by repeated multiplication, one loop over the table.
double gammaAndTau(double t, double p, double& gammaTau) {
    const double T = t + 273.15, pi = p / 16.53, tau = 1386.0 / T;
    const double a = 7.1 - pi, b = tau - 1.222;
    double pa[33], pb[59]; // pb[41 + j] = b^j
    pa[0] = 1;
    for (int i = 1; i <= 32; ++i)
        pa[i] = pa[i - 1] * a;
    const double ib = 1 / b;
    pb[41] = 1;
    for (int j = 1; j <= 17; ++j)
        pb[41 + j] = pb[40 + j] * b;
    for (int j = 1; j <= 41; ++j)
        pb[41 - j] = pb[42 - j] * ib;
    double gamma = 0;
    gammaTau = 0;
    for (const Term& term : kRegion1) {
        const double value = term.n * pa[term.i] * pb[41 + term.j];
        gamma += value;
        gammaTau += value * term.j * ib;
    }
    return gamma;
}

// The tool's 1,000 fixed points: t = 5 + 0.3 i °C, p = 20 + 0.07 i MPa.
std::vector<std::pair<double, double>> floorPoints() {
    std::vector<std::pair<double, double>> points;
    for (int i = 0; i < 1000; ++i)
        points.emplace_back(5 + 0.3 * i, 20 + 0.07 * i);
    return points;
}

void BM_Floor(benchmark::State& state) {
    const auto points = floorPoints();
    for (auto _ : state) {
        double sum = 0;
        for (const auto& [t, p] : points) {
            double gammaTau = 0;
            sum += gammaAndTau(t, p, gammaTau) + gammaTau;
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(points.size()));
}
BENCHMARK(BM_Floor);

} // namespace
