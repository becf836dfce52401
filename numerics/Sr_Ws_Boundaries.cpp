// Saturation line and region boundaries: the IF97 saturation and B23 equations, the saturated
// volumes above 350 °C from the region 3 equation, the 800 °C isotherm and the 100 MPa isobar
// in terms of volume, the metastable-vapour limit, and the fits that start their inverses.
// Units: t in °C, p in MPa, v in m3/kg.

#include "numerics/Constants.h"
#include "numerics/DecimalLimits.h"
#include "numerics/FaultScope.h"
#include "numerics/Mat_Ruti.h"
#include "numerics/Sr_Cr.h"
#include "numerics/Sr_Ws.h"
#include "numerics/TP_WS.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <type_traits>

namespace numerics {

namespace {

// IF97 Table 34: saturation-pressure and saturation-temperature equations, n1..n10.
constexpr std::array<double, 10> kSat = {
    0.11670521452767e4,  -0.72421316703206e6, -0.17073846940092e2, 0.12020824702470e5,
    -0.32325550322333e7, 0.14915108613530e2,  -0.48232657361591e4, 0.40511340542057e6,
    -0.23855557567849,   0.65017534844798e3,
};

// IF97 Table 1: B23 equation, n1..n5.
constexpr std::array<double, 5> kB23 = {
    0.34805185628969e3, -0.11671859879975e1, 0.10192970039326e-2,
    0.57254459862746e3, 0.13918839778870e2,
};

// Horner's scheme from the highest power: c[0] + c[1] x + ... + c[n-1] x^(n-1).
template <std::size_t N> double horner(const std::array<double, N>& c, double x) {
    double y = 0.0;
    for (std::size_t i = N; i-- > 0;)
        y = y * x + c[i];
    return y;
}

// Saturated-vapour fit of T23Est_V in L = ln(v / vc): y = sum a_k L^k, k = 1..6 above 350 °C
// and y = sum b_k L^k, k = 1..9 below. The arrays hold a_1.. and b_1.. (no constant term).
constexpr std::array<double, 6> kT23High = {
    -0.001227276156, -0.01274337124, -0.04236021716, 0.001443005239, 0.03672515953, -0.01766661587,
};
constexpr std::array<double, 9> kT23Low = {
    0.01628862097,   -0.06962192241,   0.0202628874,    -0.002570341514,  5.271888287e-05,
    2.747197412e-05, -3.694169198e-06, 2.004021694e-07, -4.154611028e-09,
};

// Volume fit of the 100 MPa isobar in u = T / Tc - 1.
constexpr std::array<double, 8> kVpmax = {
    -0.559036485, 0.5408957896, 1.119272251,  2.014160696,
    4.250189433,  26.8985681,   -184.6814837, 221.3838672,
};

// Distance below the saturation temperature of the metastable-vapour limit, in beta.
constexpr std::array<double, 5> kMeta = {68.936, -80.847, 1.0764, 0.6516, 10.172};

constexpr double kPMax = 100.0;         // MPa, upper pressure of the range
constexpr double kTMax = 800.0;         // °C, upper temperature of the range
constexpr double kPMin = 0.0001086;     // MPa, lowest pressure searched on the 800 °C isotherm
constexpr double kT100Low = 648.989;    // °C, where V2_TP(t, 100) = vc
constexpr double kTB23At100 = 590.0;    // °C, B23 at 100 MPa (rounded)
constexpr double kTSatFixed = 350.0;    // °C, below it the saturated states are regions 1 and 2
constexpr double kT23MinStep = 0.01;    // K, smallest step of the saturated-vapour walk
constexpr int kPtmaxNewtonSteps = 30;   // bound of Newton's method on the 800 °C isotherm
constexpr double kGapTol = 1e-10 * kPc; // MPa, the pressure tolerance of the saturated volumes

// Absolute tolerances of the searches: 1e-10 of the sought volume or the given pressure.
double volumeTol(double v) {
    return TolOf(v, 1e-8, 0.0);
}
double pressureTol(double p) {
    return TolOf(p, 1e-8, 0.0);
}
// A density counts as the root when within this of it (relative).
constexpr double kSettledDensity = 1e-10;

// The volumes of saturated vapour, vc to the largest of the range (or not a number).
bool onVapourLine(double v) {
    return !(v > limits::kVMax || v < kVc);
}

double V100_T(double t) {
    return V2_TP(t, kPMax);
}

// Saturated vapour up to 350 °C. The region 2 volume on the saturation line falls as t rises,
// so the walk expects slope -1; started the other way, it steps outward first and, from a start
// on or next to a limit, ends on a pair without the root (0 °C instead of 0.3 °C).
double saturationTemperatureBelow350(double v, double x0) {
    // The step is 0.015 % of the start in °C, which near 0 °C is a micro-kelvin against a fit
    // 0.4 K off: the walk would need up to millions of steps. Below 66.7 °C it is held at
    // kT23MinStep instead.
    const double percent = MaxOf(0.015, kT23MinStep * 100.0 / std::fabs(x0));
    // The secant from the start value and one step of the walk reaches the root in a few
    // evaluations; the walk and the regula falsi are the safeguard when it does not.
    const double start = std::clamp(x0, 0.0, kTSatFixed);
    const double step = std::fabs(x0) * percent / 100;
    const double next = start + step <= kTSatFixed ? start + step : start - step;
    // The volume falls nearly exponentially with t, so the secant runs on ln v
    // (|ln V - ln v| < tol / v is |V - v| < tol).
    const auto logVolume = [](double t) { return std::log(V23Fn_T(t)); };
    if (const auto t =
            SecantRoot(logVolume, start, next, 0.0, kTSatFixed, std::log(v), volumeTol(v) / v))
        return *t;
    Pair x{}, f{};
    BracketRoot({0.0, kTSatFixed}, x, f, v, x0, percent, -1, V23Fn_T);
    return SolveRoot(x, f, V23Fn_T, v, volumeTol(v));
}

// The region 2 saturated vapour at t with the sums `need` (kGammaPi at least) of its equation.
GibbsState saturatedVapour2(double t, unsigned need) {
    return evaluateGibbs(GibbsEquation::Region2, t, Ps_T(t), need | kGammaPi);
}

double logVolume2(double t) {
    return std::log(volumeOf(saturatedVapour2(t, kGammaPi)));
}

// A line v(t) of falling volume (region 2's saturated vapour, B23) as the temperature t over
// u = ln v at evenly spaced nodes between two volumes, with the slope dt/du there. Built once,
// on first use, each node by Newton's method from a start with the slope of a central
// difference, to the last digits. Cubic Hermite interpolation in it gives the temperature of
// any volume in that range within a few 1e-9 K: a start that mostly meets the volume's
// tolerance at once, and otherwise after one step with the table's slope.
template <int Intervals> class VolumeLineTable {
public:
    using LogVolume = double (*)(double t);
    using Start = double (*)(double u);

    VolumeLineTable(LogVolume logVolume, Start start, double v0, double v1)
        : m_u0(std::log(v0)), m_step((std::log(v1) - m_u0) / Intervals) {
        // Built inside the first call that needs it: what the building raises is not that
        // call's (nothing should), so the flags and the mark are given back as they were.
        const unsigned flags = detail::statusOfDoubles();
        const bool mark = gaveUp();
        for (int k = 0; k <= Intervals; ++k) {
            const double u = m_u0 + k * m_step;
            double t = start(u);
            double slope = 0;
            for (int n = 0; n < kNodeSteps; ++n) {
                slope = 2 * kSlopeStep / (logVolume(t + kSlopeStep) - logVolume(t - kSlopeStep));
                const double step = (logVolume(t) - u) * slope;
                t -= step;
                if (std::fabs(step) < 1e-12) break;
            }
            m_t[k] = t;
            m_slope[k] = slope;
        }
        if (detail::statusOfDoubles() != flags) detail::setStatusOfDoubles(flags);
        if (!mark) clearGaveUp();
    }

    // The interpolated temperature at u, and the slope dt/du there.
    void at(double u, double& t, double& slope) const {
        // Quiet comparisons: a NaN gives 0 without raising a flag, and the index stays inside.
        const double scaled = (u - m_u0) / m_step;
        const double x =
            std::isgreaterequal(scaled, 0.0)
                ? (std::isless(scaled, double(Intervals)) ? scaled : double(Intervals))
                : 0.0;
        const int k = std::min(static_cast<int>(x), Intervals - 1);
        const double a = x - k, b = 1 - a;
        const double h00 = (1 + 2 * a) * b * b, h10 = a * b * b, h01 = a * a * (3 - 2 * a),
                     h11 = -a * a * b;
        t = h00 * m_t[k] + h01 * m_t[k + 1] + m_step * (h10 * m_slope[k] + h11 * m_slope[k + 1]);
        slope = b * m_slope[k] + a * m_slope[k + 1];
    }

private:
    static constexpr double kSlopeStep = 1e-3; // K, of the central difference of the slope
    static constexpr int kNodeSteps = 12;      // Newton steps of a node, at most
    double m_u0, m_step;                       // u at the first volume, and between nodes
    std::array<double, Intervals + 1> m_t{}, m_slope{};
};

// Region 2's saturated vapour from 350 °C to the largest volume of the range.
const VolumeLineTable<1024>& saturatedVapourTable() {
    static const VolumeLineTable<1024> table(
        logVolume2,
        [](double u) {
            return T23Est_V(std::min(std::exp(u), static_cast<double>(limits::kVMax.value)));
        },
        kV23At350, static_cast<double>(limits::kVMax.value));
    return table;
}

// The saturation temperature of a region 2 saturated-vapour volume v (from 350 °C down): from
// the table's start, at most one step with its slope, each point checked on the equation; the
// search above when that does not meet the tolerance. The evaluation at the temperature found,
// with the sums `need`, goes to `atRoot` when it is one of the two.
double saturationTemperatureOfVapour2(double v, unsigned need, std::optional<GibbsState>& atRoot) {
    const double u = std::log(v);
    double t = 0, slope = 0;
    saturatedVapourTable().at(u, t, slope);
    for (int k = 0; k < 2 && t >= 0 && t <= kTSatFixed; ++k) {
        const GibbsState g = saturatedVapour2(t, need);
        const double found = volumeOf(g);
        if (std::fabs(found - v) < volumeTol(v)) {
            atRoot = g;
            return t;
        }
        t -= (std::log(found) - u) * slope;
    }
    return saturationTemperatureBelow350(v, T23Est_V(v));
}

// How far the region 3 isochore v lies above the saturation line at t [MPa]. It is 0 where v is
// the saturated-vapour volume of t: the isochore meets the line there, and above that
// temperature (superheated vapour) it runs below the line.
double saturationGap(double t, double v) {
    return P3_TV(t, v) - Ps_T(t);
}

// Saturated vapour above 350 °C. The saturated-vapour volume of the region 3 equation is a root
// of p = ps on an isotherm that turns flat towards the critical point: within 1e-4 K of it the
// root is lost in the pressure tolerance, and in the last 5e-5 K the isotherm no longer reaches
// ps at all on the vapour side. So the temperature is not sought as the inverse of that volume
// but, for the same root, as the highest temperature where the isochore v meets the saturation
// line, which needs one region 3 pressure per step and no nested search. Below it the gap is
// positive down to the unstable middle of the isotherms, above it negative up to Tc, where the
// critical isotherm lies below pc for every v > vc.
double saturationTemperatureAbove350(double v, double x0) {
    x0 = std::clamp(x0, kTSatFixed, kTcCelsius);
    const double step = 0.015 / 100 * x0;
    Pair x{x0, kTcCelsius}, f{saturationGap(x0, v), saturationGap(kTcCelsius, v)};
    if (!(f[1] < 0)) return kTcCelsius;
    if (f[0] > 0) {
        // One step up narrows the bracket when the start is close below the root.
        const double t = x0 + step;
        if (t < kTcCelsius) {
            const double g = saturationGap(t, v);
            x[g > 0 ? 0 : 1] = t;
            f[g > 0 ? 0 : 1] = g;
        }
    } else {
        // The start lies above the root: walk down by doubling steps until the gap turns.
        for (double d = step;; d *= 2) {
            x[1] = x[0];
            f[1] = f[0];
            x[0] = std::max(x0 - d, kTSatFixed);
            f[0] = saturationGap(x[0], v);
            if (f[0] > 0) break;
            // No crossing: the volume lies so close to vc (within about 7e-4 of it) that its
            // saturation temperature would lie in the last 5e-5 K, where the line and the
            // region 3 equation no longer meet.
            if (x[0] == kTSatFixed || !std::isfinite(f[0])) return kTcCelsius;
        }
    }
    const double t = SolveRoot2(x, f, saturationGap, v, 0.0, kGapTol);
    // At 350 °C itself the saturated vapour is region 2's, a hair (6e-13 m3/kg) below the least
    // volume of this branch; the region 3 root of those volumes lies 0.005 K higher.
    if (t < kTSatFixed + 0.01 && v >= V23Fn_T(kTSatFixed)) return kTSatFixed;
    return t;
}

// The square root in a constant expression: Newton's method from above, which falls
// monotonically to the root's last digits. At run time std::sqrt.
constexpr double rootOf(double x) {
    if (!std::is_constant_evaluated()) return std::sqrt(x);
    double r = x > 1 ? x : 1;
    for (;;) {
        const double next = (r + x / r) / 2;
        if (!(next < r)) return r;
        r = next;
    }
}

// IF97 saturation pressure [MPa] at t [°C]: Ps_T, and the nodes of the table below.
constexpr double saturationPressure(double t) {
    const double T = t + kKelvinOffset;
    const double theta = T + kSat[8] / (T - kSat[9]);
    const double a = (theta + kSat[0]) * theta + kSat[1];
    const double b = (kSat[2] * theta + kSat[3]) * theta + kSat[4];
    const double c = (kSat[5] * theta + kSat[6]) * theta + kSat[7];
    const double x = 2.0 * c / (-b + rootOf(b * b - 4.0 * a * c));
    const double x2 = x * x;
    return x2 * x2;
}

// The saturation pressure at every kSideStep from 0 to 350 °C, for telling the side of the
// line a (t, p) state lies on without its saturation temperature (four roots and two
// divisions in a row). The saturation pressure rises with t, so within a step it lies between
// those of the step's ends.
constexpr double kSideStep = 0.5; // K
constexpr int kSideSteps = static_cast<int>(kTSatFixed / kSideStep);
constexpr std::array<double, kSideSteps + 1> kSidePressures = [] {
    std::array<double, kSideSteps + 1> ps{};
    for (int k = 0; k <= kSideSteps; ++k)
        ps[k] = saturationPressure(k * kSideStep);
    return ps;
}();
// A pressure this far (relative) beyond a node's lies on that side of the line whatever the
// rounding: Ps_T and Ts_P, each the other's inverse, agree within 7e-14 of p (5e-12 K), and
// this is 1.4e-8 K to 6e-8 K.
constexpr double kSideMargin = 1e-9;

} // namespace

double Ps_T(double t) {
    return saturationPressure(t);
}

int saturationSideOf(double t, double p) {
    // p <= 16.53 MPa, the saturation pressure at 350 °C less 6e-10 MPa: the line lies 2e-9 K
    // below 350 °C there, and lower at any smaller p.
    if (t >= kTSatFixed) return +1;
    if (!(t >= 0)) return 0;
    const int k = static_cast<int>(t * (1 / kSideStep));
    // The margins are applied to p, off the chain of the index and the loads.
    if (p * (1 - kSideMargin) > kSidePressures[k + 1]) return -1;
    if (p * (1 + kSideMargin) < kSidePressures[k]) return +1;
    return 0;
}

double Ts_P(double p) {
    const double beta = std::sqrt(std::sqrt(p));
    const double e = (beta + kSat[2]) * beta + kSat[5];
    const double f = (kSat[0] * beta + kSat[3]) * beta + kSat[6];
    const double g = (kSat[1] * beta + kSat[4]) * beta + kSat[7];
    const double halfD = g / (-f - std::sqrt(f * f - 4.0 * e * g));
    const double m = kSat[9] / 2.0 + halfD;
    const double T = m - std::sqrt(m * m - kSat[8] - kSat[9] * 2.0 * halfD);
    return T - kKelvinOffset;
}

double PB23_T(double t) {
    const double T = t + kKelvinOffset;
    return (kB23[2] * T + kB23[1]) * T + kB23[0];
}

double TB23_P(double p) {
    return kB23[3] + std::sqrt((p - kB23[4]) / kB23[2]) - kKelvinOffset;
}

double VB23_T(double t) {
    return V2_TP(t, PB23_T(t));
}

namespace {

double logVolumeB23(double t) {
    return std::log(VB23_T(t));
}

// B23 from 350 °C to 590 °C; the nodes start from the straight line in u between the ends.
const VolumeLineTable<256>& b23Table() {
    static const VolumeLineTable<256> table(
        logVolumeB23,
        [](double u) {
            const double u0 = std::log(kV23At350), u1 = std::log(kVB23At590);
            return kTSatFixed + (kTB23At100 - kTSatFixed) * (u - u0) / (u1 - u0);
        },
        kV23At350, kVB23At590);
    return table;
}

} // namespace

double TB23_V(double v) {
    // The bracket's ends hold with their fixed volumes; inside, from the table's start, at most
    // one step with its slope, each point checked on the equation.
    if (std::fabs(kV23At350 - v) < volumeTol(v)) return kTSatFixed;
    if (std::fabs(kVB23At590 - v) < volumeTol(v)) return kTB23At100;
    const double u = std::log(v);
    double t = 0, slope = 0;
    b23Table().at(u, t, slope);
    for (int k = 0; k < 2 && t >= kTSatFixed && t <= kTB23At100; ++k) {
        const double found = VB23_T(t);
        if (std::fabs(found - v) < volumeTol(v)) return t;
        t -= (std::log(found) - u) * slope;
    }
    // Fixed bracket: B23 runs from the saturation line at 350 °C to 100 MPa at about 590 °C.
    // The secant through the bracket ends finds the root in a few steps more; the regula falsi
    // on the same bracket is the safeguard.
    const SecantStart ends{kTSatFixed, kV23At350, kTB23At100, kVB23At590};
    if (const auto t = SecantRoot(VB23_T, ends, kTSatFixed, kTB23At100, v, volumeTol(v)))
        return *t;
    return SolveRoot({kTSatFixed, kTB23At100}, {kV23At350, kVB23At590}, VB23_T, v, volumeTol(v));
}

namespace {

// One saturated volume of t at ps, between the limits, from the start value: the walk of
// BracketRoot3 brackets it, the secant in density inside the bracket finds it, the regula
// falsi is the safeguard. Towards the critical point the isotherm is so flat that a pressure
// within the tolerance leaves the volume loose, and the loop of the isotherm may turn the walk
// back or lie in its bracket: the secant's root counts where its last two points show the
// isotherm rising, the density within 1e-10 of the root (the pressure's residual over that
// slope) and on the phase's side of the critical density. Otherwise Newton's method from outside
// the phase's branch (DensityOnIsotherm) finds the root, also where the walk gave up.
double saturatedVolume(double t, double ps, Pair limits, double start, bool liquid) {
    const bool marked = gaveUp();
    Pair x{}, f{};
    BracketRoot3(limits, x, f, ps, start, 0.1, -1, t, P3_VT);
    const bool walkGaveUp = gaveUp() && !marked;
    std::array<double, 2> rho{1 / x[0], 1 / x[1]}, pr{f[0], f[1]}; // the secant's last points
    const auto pressure = [&](double r) {
        rho = {rho[1], r};
        pr = {pr[1], P3_TV(t, 1 / r)};
        return pr[1];
    };
    if (!walkGaveUp && x[0] != x[1]) {
        const auto root =
            SecantRoot(pressure, {rho[0], f[0], rho[1], f[1]}, std::min(rho[0], rho[1]),
                       std::max(rho[0], rho[1]), ps, pressureTol(ps) / 100);
        const double slope = (pr[1] - pr[0]) / (rho[1] - rho[0]);
        if (root && *root == rho[1] && slope > 0 &&
            std::fabs(pr[1] - ps) <= kSettledDensity * rho[1] * slope &&
            (rho[1] > 1 / kVc) == liquid)
            return 1 / *root;
    }
    const double outside = 1 / limits[liquid ? 0 : 1]; // beyond the root on the phase's branch
    if (const auto r = DensityOnIsotherm(t, ps, liquid, outside, pressureTol(ps))) {
        if (walkGaveUp) clearGaveUp();
        return 1 / *r;
    }
    return SolveRoot2(x, f, P3_VT, t, ps, pressureTol(ps));
}

} // namespace

double V12kr_T(double t, double ps) {
    return saturatedVolume(t, ps, {kV12At350, kVc}, V12krEst_T(t), true);
}

double V23kr_T(double t, double ps) {
    return saturatedVolume(t, ps, {kVc, kV23At350Region3}, V23krEst_T(t), false);
}

double V23Fn_T(double t) {
    const double ps = Ps_T(t);
    return t <= kTSatFixed ? V2_TP(t, ps) : V23kr_T(t, ps);
}

double T23_V(double v) {
    std::optional<GibbsState> atRoot;
    return saturationOfVapourVolume(v, 0, atRoot);
}

double saturationOfVapourVolume(double v, unsigned need, std::optional<GibbsState>& atRoot) {
    // No such volume on the line: where the start fit T23Est_V gives 0 (its "out of range"; it
    // passes 0 °C near 200.8 m3/kg between two doubles, so inside the range it is never 0).
    if (!onVapourLine(v)) {
        markGaveUp();
        return 0.0;
    }
    return v >= kV23At350 ? saturationTemperatureOfVapour2(v, need, atRoot)
                          : saturationTemperatureAbove350(v, T23Est_V(v));
}

double Vtmax_P(double p) {
    return V2_TP(kTMax, p);
}

namespace {

// Newton's method on the density along the 800 °C isotherm, where it is nearly proportional to
// p, from the ideal-gas pressure, each step within half the pressure, until the volume meets
// its tolerance and the next step would move p by less than 1e-13 of it: the root to the last
// digits. Gives nothing when it leaves the range or does not settle.
std::optional<double> pressureOn800Isotherm(double v) {
    constexpr double kIdealGas = kGasConstant * (kTMax + kKelvinOffset) / 1000; // R T, MPa m3/kg
    double p = kIdealGas / v;
    for (int k = 0; k < kPtmaxNewtonSteps; ++k) {
        if (!(p >= kPMin / 2 && p <= 2 * kPMax)) return std::nullopt;
        double vp = 0, dvdp = 0;
        V2At800(p, vp, dvdp);
        // d(1/V)/dp = -V' / V^2
        const double step = (1 / v - 1 / vp) * vp * vp / -dvdp;
        if (!std::isfinite(step)) return std::nullopt;
        if (std::fabs(vp - v) < volumeTol(v) && std::fabs(step) <= 1e-13 * p) return p;
        p += std::clamp(step, -p / 2, p / 2);
    }
    return std::nullopt;
}

} // namespace

double Ptmax_V(double v) {
    if (const auto p = pressureOn800Isotherm(v)) return *p;
    // The safeguard: on an isotherm of steam the density is nearly proportional to p, so the
    // secant on 1 / v from the fit's start value converges in a few steps (|1/V - 1/v| <
    // tol / v^2 is |V - v| < tol); the walk and the regula falsi after it.
    const double p0 = std::clamp(PtmaxEst_V(v), kPMin, kPMax);
    const double p1 = p0 * 1.005 <= kPMax ? p0 * 1.005 : p0 * 0.995;
    const auto density = [](double p) { return 1 / Vtmax_P(p); };
    if (const auto p = SecantRoot(density, p0, p1, kPMin, kPMax, 1 / v, volumeTol(v) / (v * v)))
        return *p;
    Pair x{}, f{};
    BracketRoot({kPMin, kPMax}, x, f, v, PtmaxEst_V(v), 0.5, -1, Vtmax_P);
    return SolveRoot(x, f, Vtmax_P, v, volumeTol(v));
}

double Vpmax_T(double t) {
    const double u = (t + kKelvinOffset) / kTc - 1.0;
    return 0.99998 * kVc * (1.0 + horner(kVpmax, u));
}

double Tpmax_V(double v) {
    // Solved on the region 2 equation itself: the fit Vpmax_T departs from the 100 MPa isobar
    // above about 620 °C (by 5.6 % at 700 °C and about 100 % at 800 °C).
    const double t0 = std::clamp(TpmaxEst_V(v), kT100Low, kTMax);
    const double t1 = t0 * 1.005 <= kTMax ? t0 * 1.005 : t0 * 0.995;
    if (const auto t = SecantRoot(V100_T, t0, t1, kT100Low, kTMax, v, volumeTol(v))) return *t;
    Pair x{}, f{};
    BracketRoot({kT100Low, kTMax}, x, f, v, TpmaxEst_V(v), 0.5, +1, V100_T);
    return SolveRoot(x, f, V100_T, v, volumeTol(v));
}

double TMeta_P(double p) {
    const double beta = PowerXY(p / kPc, 0.25);
    return Ts_P(p) - horner(kMeta, beta);
}

double T23Est_V(double v) {
    if (!onVapourLine(v)) return 0.0;
    const double l = std::log(v / kVc);
    const double y = l * (v < kV23At350 ? horner(kT23High, l) : horner(kT23Low, l));
    return kTc * (1.0 + y) - kKelvinOffset;
}

double V12krEst_T(double t) {
    // One fit up to the critical point: in the last 0.1 K the start value decides the result,
    // because the region 3 pressure there is flat within the solver's pressure tolerance.
    // Within about 0.02 K of Tc the fit passes vc, and the search starts from vc.
    const double tau = 1.0 - (t + kKelvinOffset) / kTc;
    return kVc * (1.0 - 1.6008606246 * PowerXY(tau, 0.115) + 0.76095560927 * PowerXY(tau, 0.045));
}

double V23krEst_T(double t) {
    const double tau = 1.0 - (t + kKelvinOffset) / kTc;
    return kVc * (1.0 + 73.712943584 * PowerXY(tau, 1.445) + 5.1049649787 * PowerXY(tau, 0.4385));
}

double PtmaxEst_V(double v) {
    const double phi = v / kVc;
    return kPc * ((-1.434308363e-10 * phi + 2.547344236e-05) * phi + 6.578908337) / phi;
}

double TpmaxEst_V(double v) {
    const double phi = v / kVc;
    return kTc * (((-0.08579436 * phi) * phi + 0.8614289) * phi + 0.6755839) - kKelvinOffset;
}

} // namespace numerics
