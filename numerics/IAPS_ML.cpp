#include "numerics/IAPS_ML.h"

#include "numerics/FaultScope.h"
#include "numerics/Mat_Ruti.h"

#include <array>
#include <cmath>

namespace numerics {

namespace {

constexpr double kCelsiusOffset = 273.15;      // K
constexpr double kTStar = 647.26;              // K, both properties
constexpr double kRhoStarViscosity = 317.763;  // kg/m3
constexpr double kRhoStarConductivity = 317.7; // kg/m3
constexpr double kMuStar = 55.071;             // µPa s
constexpr double kMaxViscosityExponent = 80.0;
constexpr double kTMin = 0.0, kTMax = 800.0; // °C, range of both equations

// Viscosity, ideal-gas part: H0..H3.
constexpr std::array<double, 4> kH = {1.000000, 0.978197, 0.579829, -0.202354};

// Viscosity, density factor: H[i][j], i the power of (1/Tbar - 1), j the power of
// (rhobar - 1). Cells left blank in the published table are 0.
constexpr std::array<std::array<double, 7>, 6> kHij = {{
    {0.5132047, 0.2151778, -0.2818107, 0.1778064, -0.0417661, 0.0, 0.0},
    {0.3205656, 0.7317883, -1.070786, 0.4605040, 0.0, -0.01578386, 0.0},
    {0.0, 1.241044, -1.263184, 0.2340379, 0.0, 0.0, 0.0},
    {0.0, 1.476783, 0.0, -0.4924179, 0.1600435, 0.0, -0.003629481},
    {-0.7782567, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0},
    {0.1885447, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0},
}};

// Thermal conductivity, equation for industrial use.
constexpr std::array<double, 4> kA = {0.0102811, 0.0299621, 0.0156146, -0.00422464};
constexpr std::array<double, 3> kB = {-0.397070, 0.400302, 1.060000};
constexpr double kB1 = -0.171587;
constexpr double kB2 = 2.392190;
constexpr double kC1 = 0.642857;
constexpr double kC2 = -4.11717;
constexpr double kC3 = -6.17937;
constexpr double kC4 = 0.00308976;
constexpr double kC5 = 0.0822994;
constexpr double kC6 = 10.0932;
constexpr double kD1 = 0.0701309;
constexpr double kD2 = 0.0118520;
constexpr double kD3 = 0.00169937;
constexpr double kD4 = -1.0200;

// Viscosity in µPa s. Faults (v = 0, T <= 0) only show in the floating-point flags.
double viscosity(double t, double v) {
    const double tr = (t + kCelsiusOffset) / kTStar;
    const double rr = 1.0 / v / kRhoStarViscosity;
    const double inv = 1.0 / tr;
    const double mu0 = std::sqrt(tr) / (kH[0] + inv * (kH[1] + inv * (kH[2] + inv * kH[3])));

    const double x = inv - 1.0;
    const double y = rr - 1.0;
    double sum = 0.0;
    for (int i = 5; i >= 0; --i) {
        double inner = 0.0;
        for (int j = 6; j >= 0; --j)
            inner = inner * y + kHij[i][j];
        sum = sum * x + inner;
    }
    double e = rr * sum;
    if (e > kMaxViscosityExponent) e = kMaxViscosityExponent;
    return kMuStar * mu0 * ExpSafe(e);
}

// Thermal conductivity in mW/(m K). Faults only show in the floating-point flags.
double conductivity(double t, double v) {
    const double tr = (t + kCelsiusOffset) / kTStar;
    const double rr = 1.0 / v / kRhoStarConductivity;

    const double lambda0 = std::sqrt(tr) * (kA[0] + tr * (kA[1] + tr * (kA[2] + tr * kA[3])));
    const double lambdaBar = kB[0] + kB[1] * rr + kB[2] * std::exp(kB1 * (rr + kB2) * (rr + kB2));

    const double dt = std::fabs(tr - 1.0) + kC4;
    const double dt06 = PowerXY(dt, 0.6);
    const double q = 2.0 + kC5 / dt06;
    const double s = tr >= 1.0 ? 1.0 / dt : kC6 / dt06;

    const double delta =
        (kD1 / PowerXY(tr, 10.0) + kD2) * PowerXY(rr, 1.8) *
            ExpSafe(kC1 * (1.0 - PowerXY(rr, 2.8))) +
        kD3 * s * PowerXY(rr, q) * ExpSafe(q / (1.0 + q) * (1.0 - PowerXY(rr, 1.0 + q))) +
        kD4 * ExpSafe(kC2 * PowerXY(tr, 1.5) + kC3 / PowerXY(rr, 5.0));

    return 1000.0 * (lambda0 + lambdaBar + delta);
}

// Inside the range, 0 to 800 °C and v > 0. Quiet comparisons: a NaN is outside and leaves no
// flag behind.
bool inRange(double t, double v) {
    return std::isgreaterequal(t, kTMin) && std::islessequal(t, kTMax) && std::isgreater(v, 0.0);
}

} // namespace

double ViscosityTV(double t, double v) {
    if (!inRange(t, v)) throw NumericFault("ViscosityTV: not computed");
    const double mu = runChecked("ViscosityTV", [=] { return viscosity(t, v); });
    if (!std::isfinite(mu)) throw NumericFault("ViscosityTV: not computed");
    return mu;
}

double ConductivityTV(double t, double v) {
    if (!inRange(t, v)) throw NumericFault("ConductivityTV: not computed");
    const double lambda = runChecked("ConductivityTV", [=] { return conductivity(t, v); });
    if (!std::isfinite(lambda)) throw NumericFault("ConductivityTV: not computed");
    return lambda;
}

} // namespace numerics
