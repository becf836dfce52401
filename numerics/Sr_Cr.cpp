// Region 3: the IF97 basic equation in (t, v), the start-value fits, the inverse solvers and
// wet steam above 350 °C. Units: t in °C, p in MPa, v in m3/kg, s in kJ/(kg K), h in kJ/kg.

#include "numerics/Sr_Cr.h"

#include "numerics/BoundaryValues.h"
#include "numerics/Constants.h"
#include "numerics/DecimalLimits.h"
#include "numerics/FaultScope.h"
#include "numerics/Mat_Ruti.h"
#include "numerics/Sr_Ws.h"
#include "numerics/TP_WS.h"
#include "numerics/WideSums.h"

#include <algorithm>
#include <array>
#include <cfenv>
#include <cmath>
#include <cstddef>
#include <limits>
#include <optional>
#include <utility>

namespace numerics {

namespace {

// Residuals the solvers meet: 1e-10 relative in p and v, 1e-9 kJ/(kg K) in s, 1e-7 kJ/kg in h,
// so that no shown digit depends on the solver. Absolute in the unit of the target unless given
// in percent.
constexpr double kV3TPTolPercent = 1e-8; // V3_TP: |P3_TV - p| < 1e-10 p
constexpr double kV3TSTol = 1e-9;
constexpr double kT3VSTol = 1e-9;
constexpr double kT3VITol = 1e-7;
constexpr double kTV3Percent = 1e-8; // TV3_PS, TV3_PI: each residual within 1e-10 of its target
// On the flat critical isotherm the Newton solves may not get that close within their bound; an
// iterate within 1e-4 of the targets is still a computed state there.
constexpr double kTV3FallbackPercent = 0.01;
constexpr double kT4krVSTol = 1e-9;
constexpr double kT4krVITol = 1e-7;
constexpr double kT4krSXTol = 1e-9;

// Bracket walks of V3_TP and V3_TS: fixed steps of 5 % of the start volume, first assuming a
// property that falls with v (p does; the walk turns round for s).
constexpr double kV3WalkPercent = 5.0;
constexpr int kV3WalkDir = -1;
// Newton's method of V3_TP along the isotherm: its bound, largest relative step, and the
// relative step below which the density has settled.
constexpr int kV3NewtonSteps = 60;
constexpr double kV3NewtonMaxStep = 0.1;
constexpr double kV3NewtonSettled = 1e-13;
// Newton's method from outside a branch of the isotherm: its bound, the outward steps that find
// a density beyond the root (relative), and the relative step at which the density has settled.
constexpr int kBranchSteps = 100;
constexpr double kBranchOutwardStep = 0.05;
constexpr double kBranchSettled = 1e-15;

constexpr double kSStar = 0.10589114927373185; // kJ/(kg K), pc vc 1000 / Tc
constexpr double kHStar = 68.52173913043478;   // kJ/kg, pc vc 1000
// Critical entropy as the fits and the (s, x) solver use it; also the upper end value of the
// T4kr_SX bracket (the equation itself gives 4.41202148 at the critical point).
constexpr double kSc = static_cast<double>(limits::kSCrit.value);
constexpr double kSigmaC = kSc / kSStar;

constexpr double kTWetLow = 350.0;      // °C, lower end of the wet solvers' brackets
constexpr double kV3EstTPFloor = -0.56; // V3Est_TP above Tc: v >= 0.44 vc

// IF97 Table 30: region 3, phi = n1 ln delta + sum n_i delta^I_i tau^J_i, i = 2..40.
constexpr double kN1 = 0.10658070028513e1;

struct Term {
    int i;
    int j;
    double n;
};

constexpr std::array<Term, 39> kTerms = {{
    {0, 0, -0.15732845290239e2},    // 2
    {0, 1, 0.20944396974307e2},     // 3
    {0, 2, -0.76867707878716e1},    // 4
    {0, 7, 0.26185947787954e1},     // 5
    {0, 10, -0.28080781148620e1},   // 6
    {0, 12, 0.12053369696517e1},    // 7
    {0, 23, -0.84566812812502e-2},  // 8
    {1, 2, -0.12654315477714e1},    // 9
    {1, 6, -0.11524407806681e1},    // 10
    {1, 15, 0.88521043984318},      // 11
    {1, 17, -0.64207765181607},     // 12
    {2, 0, 0.38493460186671},       // 13
    {2, 2, -0.85214708824206},      // 14
    {2, 6, 0.48972281541877e1},     // 15
    {2, 7, -0.30502617256965e1},    // 16
    {2, 22, 0.39420536879154e-1},   // 17
    {2, 26, 0.12558408424308},      // 18
    {3, 0, -0.27999329698710},      // 19
    {3, 2, 0.13899799569460e1},     // 20
    {3, 4, -0.20189915023570e1},    // 21
    {3, 16, -0.82147637173963e-2},  // 22
    {3, 26, -0.47596035734923},     // 23
    {4, 0, 0.43984074473500e-1},    // 24
    {4, 2, -0.44476435428739},      // 25
    {4, 4, 0.90572070719733},       // 26
    {4, 26, 0.70522450087967},      // 27
    {5, 1, 0.10770512626332},       // 28
    {5, 3, -0.32913623258954},      // 29
    {5, 26, -0.50871062041158},     // 30
    {6, 0, -0.22175400873096e-1},   // 31
    {6, 2, 0.94260751665092e-1},    // 32
    {6, 26, 0.16436278447961},      // 33
    {7, 2, -0.13503372241348e-1},   // 34
    {8, 26, -0.14834345352472e-1},  // 35
    {9, 2, 0.57922953628084e-3},    // 36
    {9, 26, 0.32308904703711e-2},   // 37
    {10, 0, 0.80964802996215e-4},   // 38
    {10, 1, -0.16557679795037e-3},  // 39
    {11, 26, -0.44923899061815e-4}, // 40
}};
constexpr int kMaxI = 11;
constexpr int kMaxJ = 26;

// The sums of the polynomial part r = sum n delta^I tau^J, each derivative scaled by its
// variables so that no division is needed: rd = delta r_delta, rdd = delta^2 r_deltadelta,
// rt = tau r_tau, rtt = tau^2 r_tautau, rdt = delta tau r_deltatau.
enum SumNeed : unsigned {
    kR = 1u << 0,
    kRd = 1u << 1,
    kRdd = 1u << 2,
    kRt = 1u << 3,
    kRtt = 1u << 4,
    kRdt = 1u << 5,
};

struct Sums {
    double r = 0, rd = 0, rdd = 0, rt = 0, rtt = 0, rdt = 0;
};

// x^0 .. x^N, each power from two lower ones (a short chain of dependent multiplications),
// unrolled at compile time.
template <int N> std::array<double, N + 1> powers(double x) {
    std::array<double, N + 1> p{};
    p[0] = 1;
    p[1] = x;
    auto fill = [&]<std::size_t... K>(std::index_sequence<K...>) {
        ((p[K + 2] = p[(K + 2) / 2] * p[(K + 2) - (K + 2) / 2]), ...);
    };
    fill(std::make_index_sequence<N - 1>{});
    return p;
}

// One term's share of each sum in Need. The factors n I, n J, ... are compile-time constants
// (the build keeps the compiler from folding floating-point constants on its own), and sums
// to which a term adds 0 are left alone.
// The six sums run in three pairs, (r, rd), (rt, rtt), (rdd, rdt): where both sums of a pair
// are asked for, in one vector of two doubles, one sum in each lane; where one is, alone. A lane
// runs exactly the operations of its sum alone (a lane without a term adds an exact 0), so
// every sum comes out the same whichever others are formed along.
using Lanes = double __attribute__((vector_size(16)));

struct Partial {
    std::array<Lanes, 3> pairs{};
    std::array<double, 6> single{}; // in the order of the pairs' lanes
};

// The factors of term K in the two sums of a pair: (n, n I), (n J, n J (J - 1)),
// (n I (I - 1), n I J).
template <std::size_t K, std::size_t Pair> constexpr std::array<double, 2> pairFactors() {
    constexpr int i = kTerms[K].i;
    constexpr int j = kTerms[K].j;
    constexpr double n = kTerms[K].n;
    if constexpr (Pair == 0) return {n, n * i};
    if constexpr (Pair == 1) return {n * j, n * (j * (j - 1))};
    return {n * (i * (i - 1)), n * (i * j)};
}

template <unsigned Need, std::size_t Pair, unsigned BitA, unsigned BitB, std::size_t K>
void addToPair(Partial& s, double x) {
    constexpr double A = pairFactors<K, Pair>()[0], B = pairFactors<K, Pair>()[1];
    constexpr bool wantA = (Need & BitA) != 0, wantB = (Need & BitB) != 0;
    if constexpr (wantA && wantB && (A != 0 || B != 0)) s.pairs[Pair] += Lanes{A, B} * x;
    if constexpr (wantA && !wantB && A != 0) s.single[2 * Pair] += A * x;
    if constexpr (wantB && !wantA && B != 0) s.single[2 * Pair + 1] += B * x;
}

// One term's share of each sum in Need. The factors n I, n J, ... are compile-time constants
// (the build keeps the compiler from folding floating-point constants on its own).
template <unsigned Need, std::size_t K>
void addTerm(Partial& s, const std::array<double, kMaxI + 1>& dp,
             const std::array<double, kMaxJ + 1>& tp) {
    constexpr int i = kTerms[K].i;
    constexpr int j = kTerms[K].j;
    double x = 0;
    if constexpr (i == 0)
        x = tp[j];
    else if constexpr (j == 0)
        x = dp[i];
    else
        x = dp[i] * tp[j];
    addToPair<Need, 0, kR, kRd, K>(s, x);
    addToPair<Need, 1, kRt, kRtt, K>(s, x);
    addToPair<Need, 2, kRdd, kRdt, K>(s, x);
}

// The sums of one pair from the partial sums, as lanes or alone.
template <unsigned Need, std::size_t Pair, unsigned BitA, unsigned BitB>
void combine(const std::array<Partial, 4>& part, double& a, double& b) {
    if constexpr ((Need & BitA) != 0 && (Need & BitB) != 0) {
        const Lanes sum = (part[0].pairs[Pair] + part[1].pairs[Pair]) +
                          (part[2].pairs[Pair] + part[3].pairs[Pair]);
        a = sum[0];
        b = sum[1];
    } else {
        constexpr std::size_t ia = 2 * Pair, ib = 2 * Pair + 1;
        a = (part[0].single[ia] + part[1].single[ia]) + (part[2].single[ia] + part[3].single[ia]);
        b = (part[0].single[ib] + part[1].single[ib]) + (part[2].single[ib] + part[3].single[ib]);
    }
}

// Only the sums in Need are formed, so that P3_TV pays for one sum, not six. The terms are
// unrolled at compile time into four partial sums, so that the additions do not all wait on
// one another.
template <unsigned Need> Sums sums(double delta, double tau) {
    const std::array<double, kMaxI + 1> dp = powers<kMaxI>(delta);
    const std::array<double, kMaxJ + 1> tp = powers<kMaxJ>(tau);
    std::array<Partial, 4> part{};
    auto addAll = [&]<std::size_t... K>(std::index_sequence<K...>) {
        (addTerm<Need, K>(part[K % 4], dp, tp), ...);
    };
    addAll(std::make_index_sequence<kTerms.size()>{});
    Sums s;
    combine<Need, 0, kR, kRd>(part, s.r, s.rd);
    combine<Need, 1, kRt, kRtt>(part, s.rt, s.rtt);
    combine<Need, 2, kRdd, kRdt>(part, s.rdd, s.rdt);
    return s;
}

// The same sums four lanes wide (WideSums.h): the lanes are the four partial sums, term K in
// lane K % 4 of group K / 4, so each sum adds its terms in the same order as above (a term of
// the group that has no share in the sum adds an exact 0) and comes out the same.
using Quad = double __attribute__((vector_size(32)));
constexpr std::size_t kGroups = (kTerms.size() + 3) / 4;

// The factor of term K in the sum of `Bit` (0 past the last term), as in pairFactors.
template <std::size_t K, unsigned Bit> constexpr double termFactor() {
    if constexpr (K >= kTerms.size()) {
        return 0.0;
    } else {
        constexpr int i = kTerms[K].i;
        constexpr int j = kTerms[K].j;
        constexpr double n = kTerms[K].n;
        switch (Bit) {
        case kR:
            return n;
        case kRd:
            return n * i;
        case kRdd:
            return n * (i * (i - 1));
        case kRt:
            return n * j;
        case kRtt:
            return n * (j * (j - 1));
        default:
            return n * (i * j);
        }
    }
}

template <std::size_t K>
[[gnu::always_inline]] inline double termProduct(const std::array<double, kMaxI + 1>& dp,
                                                 const std::array<double, kMaxJ + 1>& tp) {
    if constexpr (K >= kTerms.size())
        return 0.0;
    else if constexpr (kTerms[K].i == 0)
        return tp[kTerms[K].j];
    else if constexpr (kTerms[K].j == 0)
        return dp[kTerms[K].i];
    else
        return dp[kTerms[K].i] * tp[kTerms[K].j];
}

// The factors of group G in the sum of `Bit`, and whether any is not 0.
template <unsigned Bit, std::size_t G> constexpr std::array<double, 4> groupFactors() {
    return {termFactor<4 * G, Bit>(), termFactor<4 * G + 1, Bit>(), termFactor<4 * G + 2, Bit>(),
            termFactor<4 * G + 3, Bit>()};
}
template <unsigned Bit, std::size_t G> constexpr bool groupCounts() {
    constexpr std::array<double, 4> f = groupFactors<Bit, G>();
    return f[0] != 0 || f[1] != 0 || f[2] != 0 || f[3] != 0;
}
// The first group with a share in the sum starts it rather than adding to 0, which gives the
// same sum and costs an addition.
template <unsigned Bit, std::size_t... E> constexpr bool anyCounts(std::index_sequence<E...>) {
    return (groupCounts<Bit, E>() || ...);
}
template <unsigned Bit, std::size_t G> constexpr bool startsSum() {
    return groupCounts<Bit, G>() && !anyCounts<Bit>(std::make_index_sequence<G>{});
}

template <unsigned Bit, std::size_t G>
[[gnu::always_inline]] inline void addGroup(Quad& sum, const Quad& product) {
    constexpr std::array<double, 4> f = groupFactors<Bit, G>();
    if constexpr (startsSum<Bit, G>())
        sum = Quad{f[0], f[1], f[2], f[3]} * product;
    else if constexpr (groupCounts<Bit, G>())
        sum += Quad{f[0], f[1], f[2], f[3]} * product;
}

template <unsigned Need, unsigned Bit>
[[gnu::always_inline]] inline void wideSum(const Quad* product, double& out) {
    if constexpr ((Need & Bit) != 0) {
        Quad sum = {};
        [&]<std::size_t... G>(std::index_sequence<G...>) {
            (addGroup<Bit, G>(sum, product[G]), ...);
        }
        (std::make_index_sequence<kGroups>{});
        out = (sum[0] + sum[1]) + (sum[2] + sum[3]);
    }
}

template <unsigned Need>
[[gnu::noinline, KOLV_WIDE_SUMS]] Sums wideSums(double delta, double tau) {
    const std::array<double, kMaxI + 1> dp = powers<kMaxI>(delta);
    const std::array<double, kMaxJ + 1> tp = powers<kMaxJ>(tau);
    Quad product[kGroups];
    [&]<std::size_t... G>(std::index_sequence<G...>) {
        ((product[G] = Quad{termProduct<4 * G>(dp, tp), termProduct<4 * G + 1>(dp, tp),
                            termProduct<4 * G + 2>(dp, tp), termProduct<4 * G + 3>(dp, tp)}),
         ...);
    }
    (std::make_index_sequence<kGroups>{});
    Sums s;
    wideSum<Need, kR>(product, s.r);
    wideSum<Need, kRd>(product, s.rd);
    wideSum<Need, kRdd>(product, s.rdd);
    wideSum<Need, kRt>(product, s.rt);
    wideSum<Need, kRtt>(product, s.rtt);
    wideSum<Need, kRdt>(product, s.rdt);
    return s;
}

template <unsigned Need> Sums sumsOf(double delta, double tau) {
    return numerics::wideSums() ? wideSums<Need>(delta, tau) : sums<Need>(delta, tau);
}

// The equation holds for v > 0 and T > 0 only. Outside (a bracket walk or Newton step that
// overshoots) it raises the invalid-operation flag and yields NaN, which stops the walk and
// ends the calculation as "not computed".
bool outsideDomain(double T, double v) {
    if (v > 0 && T > 0) return false;
    std::feraiseexcept(FE_INVALID);
    return true;
}

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// sum over rows i of u^i * (sum over columns j of c[i][j] w^j), both by Horner.
template <std::size_t Rows, std::size_t Cols>
double poly2(const std::array<std::array<double, Cols>, Rows>& c, double u, double w) {
    double outer = 0;
    for (std::size_t i = Rows; i-- > 0;) {
        double inner = 0;
        for (std::size_t j = Cols; j-- > 0;)
            inner = inner * w + c[i][j];
        outer = outer * u + inner;
    }
    return outer;
}

// Start-value fits of the library, v = vc (1 + S) or t = Tc (1 + S) - 273.15.
// V3Est_TP, vapour side and supercritical: rows theta - 1, columns 1 - 1/pi.
constexpr std::array<std::array<double, 5>, 4> kV3TPVapour = {{
    {0.351485, -6.460407, 8.647826, 9.958905, -15.92886},
    {29.05673, 10.54038, -192.9963, 0.8623962, 218.8565},
    {-105.3758, -5.603823, 1080.157, -642.4654, -663.8722},
    {152.9196, -55.30542, -1728.594, 1617.611, 494.8649},
}};
// V3Est_TP, liquid side: rows 1 - 1/pi, columns theta - 1.
constexpr std::array<std::array<double, 2>, 2> kV3TPLiquid = {{
    {-0.3102907, 5.071092},
    {-0.3559181, -6.998232},
}};
// V3Est_PS: rows 1 - 1/pi, columns sigma.
constexpr std::array<std::array<double, 5>, 3> kV3PS = {{
    {-10.82731, 1.486135, -0.0709944, 0.00136798, -8.892051e-06},
    {0.6852489, -0.9193532, 0.0638795, -0.001469114, 1.077792e-05},
    {13.55375, -1.084604, 0.03030528, -0.000335892, 1.096353e-06},
}};
// V3Est_PI: rows 1 - 1/pi, columns eta.
constexpr std::array<std::array<double, 5>, 3> kV3PI = {{
    {-6.537312, 1.081862, -0.06867058, 0.001803082, -1.587778e-05},
    {1.851681, -0.7138785, 0.06004431, -0.001816422, 1.730694e-05},
    {6.016168, -0.7181647, 0.03015495, -0.0005321911, 3.44907e-06},
}};
// V3Est_TS: rows theta - 1, columns sigma - sigma_c.
constexpr std::array<std::array<double, 4>, 4> kV3TS = {{
    {-0.02104005, 0.120554, 0.008147446, 0.0002034388},
    {-3.52855, -0.5410377, -0.02855841, -0.0007681592},
    {8.205993, 0.8144226, 0.1517771, 0.005411899},
    {-3.760455, 0.2722668, -0.7584692, 0.03697652},
}};
// T3Est_PS: rows 1 - 1/pi, columns sigma.
constexpr std::array<std::array<double, 3>, 4> kT3PS = {{
    {-0.8175683, 0.03589088, -0.0003864563},
    {-1.968925, 0.08749178, -0.0008926847},
    {6.227182, -0.3090515, 0.003769431},
    {-4.502112, 0.2173087, -0.002456317},
}};
// T3Est_PI: rows 1 - 1/pi, columns eta.
constexpr std::array<std::array<double, 4>, 5> kT3PI = {{
    {-2.698124, 0.2555576, -0.008052425, 8.446704e-05},
    {1.651047, -0.1900948, 0.006985103, -7.891391e-05},
    {3.536796, -0.3654731, 0.01234181, -0.0001343598},
    {-2.885876, 0.3262964, -0.01204872, 0.0001453465},
    {-0.5957458, 0.03406438, -0.0003078655, -4.191804e-06},
}};

// Saturation pressure and saturated volumes of t from the region 3 equation, kept in the
// record for the wet solvers and the wet state procedure.
void storeSaturatedVolumes(BoundaryRecord& b, double t) {
    b.Ps = Ps_T(t);
    b.V12 = V12kr_T(t, b.Ps);
    b.V23 = V23kr_T(t, b.Ps);
}

// Width V23 - V12 of the wet region at t. The two saturated volumes meet at the critical
// temperature; their solvers stop within a pressure tolerance on the flat critical isotherm and
// need not agree to the last digit there, so the width is taken as 0 from Tc on: the mixing in
// v then divides by zero and the calculation ends as "not computed".
double wetWidth(const BoundaryRecord& b, double t) {
    return t < kTcCelsius ? b.V23 - b.V12 : 0;
}

// Wet steam at t: stores the saturated volumes and the saturated values f12, f23 of one
// property of the region 3 equation, and mixes them linearly in volume.
double mixByVolume(double t, double v, Function2 property, double& f12, double& f23) {
    BoundaryRecord& b = BoundaryValues;
    storeSaturatedVolumes(b, t);
    f12 = property(t, b.V12);
    f23 = property(t, b.V23);
    return f12 + (f23 - f12) / wetWidth(b, t) * (v - b.V12);
}

double thetaMinus1(double t) {
    return (t + kKelvinOffset) / kTc - 1;
}
double oneMinusInvPi(double p) {
    return 1 - 1 / (p / kPc);
}
double volumeOf(double S) {
    return kVc * (1 + S);
}
double temperatureOf(double S) {
    return kTc * (1 + S) - kKelvinOffset;
}

} // namespace

double P3_TV(double t, double v) {
    return evaluateRegion3(t, v, true, false, false, false).p;
}

double S3_TV(double t, double v) {
    return evaluateRegion3(t, v, false, true, false, false).s;
}

double I3_TV(double t, double v) {
    return evaluateRegion3(t, v, false, false, true, false).h;
}

Helmholtz3 Helmholtz3_TV(double t, double v) {
    return evaluateRegion3(t, v, false, false, false, true).f;
}

namespace {

// Every sum of the region 3 equation at (t, v), with the variables they were formed at.
struct Region3Sums {
    double T, v, delta, tau;
    Sums s;
};

// p, s and h (each when asked for) and the derivatives of phi from the sums.
Region3State stateFromSums(const Region3Sums& e, bool wantP, bool wantS, bool wantI,
                           bool derivatives) {
    const Sums& s = e.s;
    Region3State out;
    const double lnDelta = wantS || derivatives ? std::log(e.delta) : 0.0;
    if (wantP) out.p = kGasConstant * e.T / e.v * (kN1 + s.rd) / 1000;
    if (wantS) out.s = kGasConstant * (s.rt - s.r - kN1 * lnDelta);
    if (wantI) out.h = kGasConstant * e.T * (kN1 + s.rd + s.rt);
    if (derivatives) {
        const double delta = e.delta, tau = e.tau;
        out.f = {
            kN1 * lnDelta + s.r, (kN1 + s.rd) / delta, (s.rdd - kN1) / (delta * delta),
            s.rt / tau,          s.rtt / (tau * tau),  s.rdt / (delta * tau),
        };
    }
    return out;
}

} // namespace

Region3State evaluateRegion3(double t, double v, bool wantP, bool wantS, bool wantI,
                             bool derivatives) {
    const double T = t + kKelvinOffset;
    if (outsideDomain(T, v)) return {kNaN, kNaN, kNaN, {kNaN, kNaN, kNaN, kNaN, kNaN, kNaN}};
    const double delta = kVc / v;
    const double tau = kTc / T;
    // Only the sums asked for are formed: a pressure alone costs one sum, not six.
    Sums s;
    if (derivatives)
        s = sumsOf<kR | kRd | kRdd | kRt | kRtt | kRdt>(delta, tau);
    else if (wantS)
        s = sumsOf<kR | kRd | kRt>(delta, tau);
    else if (wantI)
        s = sumsOf<kRd | kRt>(delta, tau);
    else
        s = sumsOf<kRd>(delta, tau);
    return stateFromSums({T, v, delta, tau, s}, wantP, wantS, wantI, derivatives);
}

double P3_VT(double v, double t) {
    return P3_TV(t, v);
}
double S3_VT(double v, double t) {
    return S3_TV(t, v);
}

void PS3_TV(double t, double v, double& p, double& s) {
    p = P3_TV(t, v);
    s = S3_TV(t, v);
}

void PI3_TV(double t, double v, double& p, double& h) {
    p = P3_TV(t, v);
    h = I3_TV(t, v);
}

// The critical temperature is compared in extended precision, as in the region tests: a t typed
// as 373.946 lies above it.
double V3Est_TP(double t, double p) {
    const double u = thetaMinus1(t);
    const double w = oneMinusInvPi(p);
    if (t > limits::kTCrit) return volumeOf(MaxOf(poly2(kV3TPVapour, u, w), kV3EstTPFloor));
    if (p > Ps_T(t)) return volumeOf(poly2(kV3TPLiquid, w, u));
    return volumeOf(poly2(kV3TPVapour, u, w));
}

double V3Est_PS(double p, double s) {
    return volumeOf(poly2(kV3PS, oneMinusInvPi(p), s / kSStar));
}

double V3Est_PI(double p, double h) {
    return volumeOf(poly2(kV3PI, oneMinusInvPi(p), h / kHStar));
}

double V3Est_TS(double t, double s) {
    return volumeOf(poly2(kV3TS, thetaMinus1(t), s / kSStar - kSigmaC));
}

double T3Est_PS(double p, double s) {
    return temperatureOf(poly2(kT3PS, oneMinusInvPi(p), s / kSStar));
}

double T3Est_PI(double p, double h) {
    return temperatureOf(poly2(kT3PI, oneMinusInvPi(p), h / kHStar));
}

namespace {

// On an isotherm the region 3 pressure is a polynomial in delta,
//   p = (R T / 1000) rho (n1 + sum_I I a_I delta^I),  a_I = sum_J n_IJ tau^J,
// with the slope dp/drho = (R T / 1000) (n1 + sum_I I (I + 1) a_I delta^I). Once the a_I are
// formed, which costs about one evaluation of the equation, both take a few operations each.
class PressureIsotherm {
public:
    explicit PressureIsotherm(double t) : m_rt(kGasConstant * (t + kKelvinOffset) / 1000) {
        const std::array<double, kMaxJ + 1> tp = powers<kMaxJ>(kTc / (t + kKelvinOffset));
        std::array<double, kMaxI + 1> a{};
        for (const Term& term : kTerms)
            a[term.i] += term.n * tp[term.j];
        for (int i = 1; i <= kMaxI; ++i)
            m_coefficients[i] =
                Lanes{static_cast<double>(i), static_cast<double>(i * (i + 1))} * a[i];
    }

    // p [MPa] and dp/drho [MPa m3/kg] at the density rho [kg/m3]: the two sums side by side in
    // the lanes of a vector, over powers of delta formed in short chains and four partial sums,
    // so that an evaluation waits for few operations in a row.
    void at(double rho, double& p, double& slope) const {
        const double delta = rho * kVc;
        const std::array<double, kMaxI + 1> dp = powers<kMaxI>(delta);
        Lanes part[4] = {};
        for (int i = 1; i <= kMaxI; ++i)
            part[i % 4] += m_coefficients[i] * dp[i];
        const Lanes sum = (part[0] + part[1]) + (part[2] + part[3]);
        p = m_rt * rho * (kN1 + sum[0]);
        slope = m_rt * (kN1 + sum[1]);
    }

private:
    double m_rt;
    std::array<Lanes, kMaxI + 1> m_coefficients{};
};

// Newton's method along the isotherm from the start fit, every step within 10 % of the
// density and on a rising branch of the isotherm, until the pressure meets the tolerance and
// the next step would move the density by less than 1e-13: the root to the last digits. Below
// the critical temperature the root must lie on the start's side of the critical density, as
// the stable state of the given pressure does (the other branch can hold a metastable root).
// Gives nothing when any of this fails.
std::optional<double> volumeOnIsotherm(double t, double p, double v0, double tol) {
    const PressureIsotherm isotherm(t);
    const double rho0 = 1 / v0, rhoC = 1 / kVc;
    double rho = rho0;
    for (int k = 0; k < kV3NewtonSteps; ++k) {
        double pr = 0, slope = 0;
        isotherm.at(rho, pr, slope);
        if (!(slope > 0) || !std::isfinite(pr)) return std::nullopt;
        const double step = (p - pr) / slope;
        if (std::fabs(pr - p) < tol && std::fabs(step) <= kV3NewtonSettled * rho) {
            if (t < kTcCelsius && (rho > rhoC) != (rho0 > rhoC)) return std::nullopt;
            return 1 / rho;
        }
        rho += std::clamp(step, -kV3NewtonMaxStep * rho, kV3NewtonMaxStep * rho);
    }
    return std::nullopt;
}

// Newton's method on the isotherm from outside the wanted root: from a density beyond it (above
// the densest root, below the thinnest), where the isotherm rises and bends away from the root,
// every step ends between the root and the point it started from. So it approaches the root from
// its own branch, never through the loop of the isotherm (the unstable and the metastable roots
// lie on the inner side), and on the flat critical isotherm too, where the pressure meets its
// tolerance far from the root. It stops where the density no longer moves, or where a step
// passes the root, which then lies in a bracket of two points that bisection narrows to the
// last digits of the density.
std::optional<double> densityOnBranch(const PressureIsotherm& isotherm, double p, bool dense,
                                      double rho, double tol) {
    const double outward = dense ? 1 : -1; // sign of p3 - p beyond the root
    double pr = 0, slope = 0;
    isotherm.at(rho, pr, slope);
    for (int k = 0; outward * (pr - p) <= 0; ++k) {
        if (k == kBranchSteps || !std::isfinite(pr)) return std::nullopt;
        rho *= dense ? 1 + kBranchOutwardStep : 1 / (1 + kBranchOutwardStep);
        isotherm.at(rho, pr, slope);
    }
    double outer = rho, fOuter = pr - p, slopeOuter = slope;
    bool bracketed = false; // once a step passed the root, to `inner`
    double inner = 0, fInner = 0;
    for (int k = 0; k < kBranchSteps; ++k) {
        // Newton's step, within 10 % of the density where the isotherm is all but flat.
        double next = outer;
        bool newton = slopeOuter > 0;
        if (newton) {
            const double limit = kV3NewtonMaxStep * outer;
            next = outer - std::clamp(fOuter / slopeOuter, -limit, limit);
            newton = outward * (outer - next) > 0 && (!bracketed || outward * (next - inner) > 0);
        }
        if (!newton) {
            if (!bracketed) break; // the isotherm is flat here: at the critical point
            next = outer + (inner - outer) / 2;
        }
        if (next == outer || (bracketed && next == inner) ||
            (newton && std::fabs(next - outer) <= kBranchSettled * outer))
            break;
        isotherm.at(next, pr, slope);
        if (!std::isfinite(pr)) return std::nullopt;
        if (outward * (pr - p) > 0) {
            if (newton && std::fabs(pr - p) >= std::fabs(fOuter)) break; // rounding decides
            outer = next;
            fOuter = pr - p;
            slopeOuter = slope;
        } else {
            bracketed = true;
            inner = next;
            fInner = pr - p;
        }
    }
    const bool innerCloser = bracketed && std::fabs(fInner) < std::fabs(fOuter);
    const double f = innerCloser ? fInner : fOuter;
    if (!(std::fabs(f) < tol)) return std::nullopt;
    return innerCloser ? inner : outer;
}

} // namespace

std::optional<double> DensityOnIsotherm(double t, double p, bool dense, double rhoStart,
                                        double tol) {
    return densityOnBranch(PressureIsotherm(t), p, dense, rhoStart, tol);
}

// Newton's method along the isotherm from the start fit first. Where that does not settle, near
// the critical point, Newton's method from outside the stable root's branch. The bracket walk
// with the secant in the density inside the bracket it finds, and the regula falsi on the same
// bracket, are the safeguard; they stop on the test of the pressure alone.
double V3_TP(double t, double p) {
    const double tol = TolOf(p, kV3TPTolPercent, 0);
    const double v0 = V3Est_TP(t, p);
    if (const auto v = volumeOnIsotherm(t, p, v0, tol)) return *v;
    // The stable root: below the critical temperature the liquid above the saturation pressure,
    // the vapour below it; above, the side of the critical density the pressure lies on.
    const PressureIsotherm isotherm(t);
    double pAtVc = 0, slope = 0;
    if (t > limits::kTCrit) isotherm.at(1 / kVc, pAtVc, slope);
    const bool dense = p > (t > limits::kTCrit ? pAtVc : Ps_T(t));
    // From outside the saturated phase of 350 °C, beyond the root's branch at any temperature.
    const double outside =
        dense ? std::max(1 / v0, 1 / kV12At350) : std::min(1 / v0, 1 / kV23At350Region3);
    if (const auto rho = densityOnBranch(isotherm, p, dense, outside, tol)) return 1 / *rho;
    Pair x{}, f{};
    BracketRoot2(x, f, kV3WalkDir, t, p, v0, kV3WalkPercent, P3_VT);
    // The pressure is smoother in the density than in the volume.
    const auto pressure = [t](double rho) { return P3_TV(t, 1 / rho); };
    const double rho0 = 1 / x[0], rho1 = 1 / x[1];
    if (const auto rho = SecantRoot(pressure, {rho0, f[0], rho1, f[1]}, std::min(rho0, rho1),
                                    std::max(rho0, rho1), p, tol))
        return 1 / *rho;
    return SolveRoot2(x, f, P3_VT, t, p, tol);
}

double V3_TS(double t, double s) {
    Pair x{}, f{};
    BracketRoot2(x, f, kV3WalkDir, t, s, V3Est_TS(t, s), kV3WalkPercent, S3_VT);
    const auto entropy = [t](double v) { return S3_TV(t, v); };
    if (const auto v = SecantRoot(entropy, {x[0], f[0], x[1], f[1]}, std::min(x[0], x[1]),
                                  std::max(x[0], x[1]), s, kV3TSTol))
        return *v;
    return SolveRoot2(x, f, S3_VT, t, s, kV3TSTol);
}

namespace {

double temperatureOnIsochore(Function2 fn, double v, double y, double y23, double yB23,
                             double tol) {
    const BoundaryRecord& b = BoundaryValues;
    const auto property = [fn, v](double t) { return fn(t, v); };
    if (const auto t = SecantRoot(property, {b.Ts, y23, b.TB23, yB23}, std::min(b.Ts, b.TB23),
                                  std::max(b.Ts, b.TB23), y, tol))
        return *t;
    return SolveRoot2({b.Ts, b.TB23}, {y23, yB23}, fn, v, y, tol);
}

// p and s (or h) of region 3 at (t, v) with their partial derivatives in t and v, from one
// evaluation of the equation (rho = 1 / v; p in MPa, s in kJ/(kg K), h in kJ/kg):
//   dp/dT = rho R (delta phi_d - delta tau phi_dt) / 1000,
//   dp/dv = -rho^2 R T (2 delta phi_d + delta^2 phi_dd) / 1000,
//   ds/dT = cv / T, ds/dv = 1000 dp/dT, dh/dT = cv + 1000 v dp/dT,
//   dh/dv = 1000 (T dp/dT + v dp/dv).
// The sums of the evaluation are left in `e`.
ValuesAndSlopes region3WithSlopes(double t, double v, bool enthalpy, Region3Sums& e) {
    e.T = t + kKelvinOffset;
    e.v = v;
    if (outsideDomain(e.T, v)) return {kNaN, kNaN, kNaN, kNaN, kNaN, kNaN};
    e.delta = kVc / v;
    e.tau = kTc / e.T;
    // The factors that do not wait for the sums, formed while they are: the solve waits for each
    // evaluation in turn, and a multiplication waits less than a division.
    const double T = e.T, rho = 1 / v, inverseT = 1 / T;
    const double rhoR = rho * kGasConstant * 1e-3; // rho R / 1000
    e.s = sumsOf<kR | kRd | kRdd | kRt | kRtt | kRdt>(e.delta, e.tau);
    const Sums& s = e.s;
    // p as the equation gives it, to the rounding of this form; s or h as stateFromSums.
    const double p = rhoR * T * (kN1 + s.rd);
    const double y = enthalpy ? kGasConstant * T * (kN1 + s.rd + s.rt)
                              : kGasConstant * (s.rt - s.r - kN1 * std::log(e.delta));
    // The slopes straight from the scaled sums: delta phi_d = n1 + rd, delta^2 phi_dd =
    // rdd - n1, delta tau phi_dt = rdt, tau^2 phi_tt = rtt.
    const double dpdT = rhoR * (kN1 + s.rd - s.rdt);
    const double dpdv = -rho * rhoR * T * (kN1 + 2 * s.rd + s.rdd);
    const double cv = -kGasConstant * s.rtt;
    if (enthalpy) return {p, y, dpdT, dpdv, cv + 1000 * v * dpdT, 1000 * (T * dpdT + v * dpdv)};
    return {p, y, dpdT, dpdv, cv * inverseT, 1000 * dpdT};
}
bool insideRegion3(double t, double v) {
    return v > 0 && t + kKelvinOffset > 0;
}

// The state of (p, y) in region 3 from the start (t0, v0): Newton with the Jacobian from the
// equation's own derivatives, from the same start values and to the same stop test as the
// difference Newton, which stays as the safeguard.
// True when the first one found the state: its last evaluation, at the state, is then in
// `atRoot`.
bool region3FromStart(double& t, double& v, double p, double y, bool enthalpy, double t0,
                      double v0, Region3State& atRoot) {
    Region3Sums last{};
    const auto fn = [enthalpy, &last](double tt, double vv) {
        return region3WithSlopes(tt, vv, enthalpy, last);
    };
    if (NewtonWithSlopes(fn, insideRegion3, t, v, t0, v0, kTV3Percent, p, y)) {
        atRoot = stateFromSums(last, true, true, true, true);
        return true;
    }
    Newton2D(enthalpy ? PI3_TV : PS3_TV, t, v, t0, v0, kTV3Percent, p, y, kTV3FallbackPercent);
    return false;
}

// Region 3 above the critical pressure between its 350 °C isotherm and B23, as t and ln v over
// rows of fixed p and evenly spaced y (s or h) from the row's 350 °C value to its B23 value.
// Built once, on first use, by the solver from the fits. Interpolated linearly along the two
// rows around p and then between them, it starts Newton's method some 1e-3 off the state
// where the fits miss it by kelvins: a step fewer. Near the critical point and below it the
// fits stay.
class Region3StartTable {
public:
    static constexpr int kRows = 32, kColumns = 32;
    static constexpr double kP0 = 22.6, kP1 = 100.0; // MPa

    explicit Region3StartTable(bool enthalpy) {
        // Built inside the first call that needs it: what the building raises is not that
        // call's, so the flags and the mark are given back as they were; a node whose solve
        // raised anything is left out.
        const unsigned flags = detail::statusOfDoubles();
        const bool mark = gaveUp();
        for (int i = 0; i <= kRows; ++i) {
            const double p = kP0 + (kP1 - kP0) * i / kRows;
            const double tB23 = TB23_P(p);
            m_low[i] = enthalpy ? I1At350(p) : S1At350(p);
            m_high[i] = enthalpy ? I2_TP(tB23, p) : S2_TP(tB23, p);
            for (int j = 0; j <= kColumns; ++j) {
                const double y = m_low[i] + (m_high[i] - m_low[i]) * j / kColumns;
                detail::setStatusOfDoubles(flags & ~detail::kWatchedFlags);
                clearGaveUp();
                double t = 0, v = 0;
                Region3State atRoot;
                const bool solved =
                    region3FromStart(t, v, p, y, enthalpy,
                                     enthalpy ? T3Est_PI(p, y) : T3Est_PS(p, y),
                                     enthalpy ? V3Est_PI(p, y) : V3Est_PS(p, y), atRoot) &&
                    (detail::statusOfDoubles() & detail::kWatchedFlags) == 0 && !gaveUp();
                m_t[i][j] = solved ? t : kNaN;
                m_lnV[i][j] = solved ? std::log(v) : kNaN;
            }
        }
        detail::setStatusOfDoubles(flags);
        if (mark)
            markGaveUp();
        else
            clearGaveUp();
    }

    // The start at (p, y); false outside the table or next to a node left out.
    bool at(double p, double y, double& t, double& v) const {
        if (!(p >= kP0 && p <= kP1)) return false;
        const double x = (p - kP0) / (kP1 - kP0) * kRows;
        const int i = std::min(static_cast<int>(x), kRows - 1);
        const double a = x - i;
        double ti[2], lnVi[2];
        for (int k = 0; k < 2; ++k)
            if (!alongRow(i + k, y, ti[k], lnVi[k])) return false;
        t = ti[0] + a * (ti[1] - ti[0]);
        v = std::exp(lnVi[0] + a * (lnVi[1] - lnVi[0]));
        return std::isfinite(t) && std::isfinite(v);
    }

private:
    bool alongRow(int i, double y, double& t, double& lnV) const {
        const double z = (y - m_low[i]) / (m_high[i] - m_low[i]) * kColumns;
        if (!(z >= 0 && z <= kColumns)) return false;
        const int j = std::min(static_cast<int>(z), kColumns - 1);
        const double b = z - j;
        t = m_t[i][j] + b * (m_t[i][j + 1] - m_t[i][j]);
        lnV = m_lnV[i][j] + b * (m_lnV[i][j + 1] - m_lnV[i][j]);
        return true; // a NaN node shows in the caller's finiteness check
    }

    std::array<double, kRows + 1> m_low{}, m_high{};
    std::array<std::array<double, kColumns + 1>, kRows + 1> m_t{}, m_lnV{};
};

// The state of (p, y) in region 3: Newton's method from the table's start where it has one,
// the solver from the fits otherwise or when that does not converge.
bool region3FromPressure(double& t, double& v, double p, double y, bool enthalpy,
                         Region3State& atRoot) {
    static const Region3StartTable sTable(false), hTable(true);
    double t0 = 0, v0 = 0;
    if ((enthalpy ? hTable : sTable).at(p, y, t0, v0)) {
        Region3Sums last{};
        const auto fn = [enthalpy, &last](double tt, double vv) {
            return region3WithSlopes(tt, vv, enthalpy, last);
        };
        if (NewtonWithSlopes(fn, insideRegion3, t, v, t0, v0, kTV3Percent, p, y)) {
            atRoot = stateFromSums(last, true, true, true, true);
            return true;
        }
    }
    return region3FromStart(t, v, p, y, enthalpy, enthalpy ? T3Est_PI(p, y) : T3Est_PS(p, y),
                            enthalpy ? V3Est_PI(p, y) : V3Est_PS(p, y), atRoot);
}

} // namespace

double T3_VS(double v, double s) {
    const BoundaryRecord& b = BoundaryValues;
    return temperatureOnIsochore(S3_TV, v, s, b.S23, b.SB23, kT3VSTol);
}

double T3_VI(double v, double h) {
    const BoundaryRecord& b = BoundaryValues;
    return temperatureOnIsochore(I3_TV, v, h, b.I23, b.IB23, kT3VITol);
}

void TV3_PS(double& t, double& v, double p, double s) {
    Region3State atRoot;
    TV3_PS(t, v, p, s, atRoot);
}

void TV3_PI(double& t, double& v, double p, double h) {
    Region3State atRoot;
    TV3_PI(t, v, p, h, atRoot);
}

bool TV3_PS(double& t, double& v, double p, double s, Region3State& atRoot) {
    return region3FromPressure(t, v, p, s, false, atRoot);
}

bool TV3_PI(double& t, double& v, double p, double h, Region3State& atRoot) {
    return region3FromPressure(t, v, p, h, true, atRoot);
}

double S4kr_TV(double t, double v) {
    BoundaryRecord& b = BoundaryValues;
    return mixByVolume(t, v, S3_TV, b.S12, b.S23);
}

double I4kr_TV(double t, double v) {
    BoundaryRecord& b = BoundaryValues;
    return mixByVolume(t, v, I3_TV, b.I12, b.I23);
}

double S4kr_TX(double t, double x) {
    BoundaryRecord& b = BoundaryValues;
    storeSaturatedVolumes(b, t);
    b.S12 = S3_TV(t, b.V12);
    b.S23 = S3_TV(t, b.V23);
    return (1 - x) * b.S12 + x * b.S23;
}

double T4kr_VS(double v, double s) {
    const BoundaryRecord& b = BoundaryValues;
    return SecantThenSolveRoot2({kTWetLow, b.Ts}, {b.S350, b.S23}, S4kr_TV, v, s, kT4krVSTol);
}

double T4kr_VI(double v, double h) {
    const BoundaryRecord& b = BoundaryValues;
    return SecantThenSolveRoot2({kTWetLow, b.Ts}, {b.I350, b.I23}, I4kr_TV, v, h, kT4krVITol);
}

// The wet entropy at a given dryness turns like a square root of Tc - t as the dome closes at
// the critical point, so the secant runs on u = sqrt(Tc - t), in which it is smooth; the
// regula falsi in t on the same bracket is the safeguard. The root is the last point
// evaluated, whose saturation values stay in BoundaryValues.
double T4kr_SX(double x, double s) {
    const double s350 = BoundaryValues.S350;
    const auto temperature = [](double u) { return kTcCelsius - u * u; };
    const auto entropy = [&](double u) { return S4kr_TX(temperature(u), x); };
    const double u350 = std::sqrt(kTcCelsius - kTWetLow);
    if (const auto u = SecantRoot(entropy, {u350, s350, 0.0, kSc}, 0.0, u350, s, kT4krSXTol)) {
        if (*u != 0.0 && *u != u350) return temperature(*u);
    }
    return SecantThenSolveRoot2({kTWetLow, kTcCelsius}, {s350, kSc}, S4kr_TX, x, s, kT4krSXTol);
}

} // namespace numerics
