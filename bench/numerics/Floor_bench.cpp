// The floor: a plain evaluation of the region 1 Gibbs function and its tau-derivative, as a
// simple implementation writes it (powers built once per call by repeated multiplication, then
// one loop over the coefficient table). Every other benchmark is read as a ratio to it in the
// same run (bench/ratios.py), which takes the speed of the machine out of the figures.

#include <benchmark/benchmark.h>

#include <vector>

namespace {

struct Term {
    int i, j;
    double n;
};

// IAPWS-IF97 Table 2: region 1, gamma = sum n (7.1 - pi)^I (tau - 1.222)^J.
constexpr Term kRegion1[34] = {
    {0, -2, 0.14632971213167},     {0, -1, -0.84548187169114},    {0, 0, -0.37563603672040e1},
    {0, 1, 0.33855169168385e1},    {0, 2, -0.95791963387872},     {0, 3, 0.15772038513228},
    {0, 4, -0.16616417199501e-1},  {0, 5, 0.81214629983568e-3},   {1, -9, 0.28319080123804e-3},
    {1, -7, -0.60706301565874e-3}, {1, -1, -0.18990068218419e-1}, {1, 0, -0.32529748770505e-1},
    {1, 1, -0.21841717175414e-1},  {1, 3, -0.52838357969930e-4},  {2, -3, -0.47184321073267e-3},
    {2, 0, -0.30001780793026e-3},  {2, 1, 0.47661393906987e-4},   {2, 3, -0.44141845330846e-5},
    {2, 17, -0.72694996297594e-15}, {3, -4, -0.31679644845054e-4}, {3, 0, -0.28270797985312e-5},
    {3, 6, -0.85205128120103e-9},  {4, -5, -0.22425281908000e-5}, {4, -2, -0.65171222895601e-6},
    {4, 10, -0.14341729937924e-12}, {5, -8, -0.40516996860117e-6}, {8, -11, -0.12734301741641e-8},
    {8, -6, -0.17424871230634e-9}, {21, -29, -0.68762131295531e-18},
    {23, -31, 0.14478307828521e-19}, {29, -38, 0.26335781662795e-22},
    {30, -39, -0.11947622640071e-22}, {31, -40, 0.18228094581404e-23},
    {32, -41, -0.93537087292458e-25},
};

constexpr int kMaxI = 32, kMinJ = -42, kMaxJ = 17; // J - 1 of the derivative reaches -42

struct GammaAndTau {
    double gamma, gammaTau;
};

GammaAndTau floorKernel(double t, double p) {
    const double x = 7.1 - p / 16.53;
    const double y = 1386.0 / (t + 273.15) - 1.222;
    double xp[kMaxI + 1];
    double yp[kMaxJ - kMinJ + 1];
    double* y0 = yp - kMinJ;
    xp[0] = 1;
    for (int i = 1; i <= kMaxI; ++i)
        xp[i] = xp[i - 1] * x;
    y0[0] = 1;
    for (int j = 1; j <= kMaxJ; ++j)
        y0[j] = y0[j - 1] * y;
    const double inverse = 1 / y;
    for (int j = -1; j >= kMinJ; --j)
        y0[j] = y0[j + 1] * inverse;
    GammaAndTau g{0, 0};
    for (const Term& term : kRegion1) {
        g.gamma += term.n * xp[term.i] * y0[term.j];
        g.gammaTau += term.n * term.j * xp[term.i] * y0[term.j - 1];
    }
    return g;
}

// 1,000 fixed points of region 1: 5 to 300 °C at 10 to 100 MPa.
std::vector<std::pair<double, double>> floorPoints() {
    std::vector<std::pair<double, double>> points;
    for (int a = 0; a < 40; ++a)
        for (int b = 0; b < 25; ++b)
            points.emplace_back(5 + 295.0 * a / 39, 10 + 90.0 * b / 24);
    return points;
}

void BM_Floor(benchmark::State& state) {
    const auto points = floorPoints();
    for (auto _ : state)
        for (const auto& [t, p] : points)
            benchmark::DoNotOptimize(floorKernel(t, p));
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(points.size()));
}
BENCHMARK(BM_Floor);

} // namespace
