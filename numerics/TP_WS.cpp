// IAPWS-IF97 regions 1 and 2 and the metastable-vapour equation at (t, p).

#include "numerics/TP_WS.h"

#include "numerics/WideSums.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <utility>

namespace numerics {
namespace {

// One term n * x^I * y^J of a dimensionless Gibbs free energy.
struct Term {
    int i;
    int j;
    double n;
};

// One row per line, as the tables are printed.
// clang-format off

// Region 1, Eq. 7, Table 2: x = 7.1 - pi, y = tau - 1.222.
constexpr Term kRegion1[] = {
    {0, -2, 0.14632971213167},
    {0, -1, -0.84548187169114},
    {0, 0, -0.37563603672040e1},
    {0, 1, 0.33855169168385e1},
    {0, 2, -0.95791963387872},
    {0, 3, 0.15772038513228},
    {0, 4, -0.16616417199501e-1},
    {0, 5, 0.81214629983568e-3},
    {1, -9, 0.28319080123804e-3},
    {1, -7, -0.60706301565874e-3},
    {1, -1, -0.18990068218419e-1},
    {1, 0, -0.32529748770505e-1},
    {1, 1, -0.21841717175414e-1},
    {1, 3, -0.52838357969930e-4},
    {2, -3, -0.47184321073267e-3},
    {2, 0, -0.30001780793026e-3},
    {2, 1, 0.47661393906987e-4},
    {2, 3, -0.44141845330846e-5},
    {2, 17, -0.72694996297594e-15},
    {3, -4, -0.31679644845054e-4},
    {3, 0, -0.28270797985312e-5},
    {3, 6, -0.85205128120103e-9},
    {4, -5, -0.22425281908000e-5},
    {4, -2, -0.65171222895601e-6},
    {4, 10, -0.14341729937924e-12},
    {5, -8, -0.40516996860117e-6},
    {8, -11, -0.12734301741641e-8},
    {8, -6, -0.17424871230634e-9},
    {21, -29, -0.68762131295531e-18},
    {23, -31, 0.14478307828521e-19},
    {29, -38, 0.26335781662795e-22},
    {30, -39, -0.11947622640071e-22},
    {31, -40, 0.18228094581404e-23},
    {32, -41, -0.93537087292458e-25},
};

// Region 2 ideal-gas part, Eq. 16, Table 10 (J0_i, n0_i) with I = 0: x unused, y = tau; the
// pi dependence is ln pi alone.
constexpr Term kRegion2Ideal[] = {
    {0, 0, -0.96927686500217e1},
    {0, 1, 0.10086655968018e2},
    {0, -5, -0.56087911283020e-2},
    {0, -4, 0.71452738081455e-1},
    {0, -3, -0.40710498223928},
    {0, -2, 0.14240819171444e1},
    {0, -1, -0.43839511319450e1},
    {0, 2, -0.28408632460772},
    {0, 3, 0.21268463753307e-1},
};

// Region 2 residual part, Eq. 17, Table 11: x = pi, y = tau - 0.5.
constexpr Term kRegion2Residual[] = {
    {1, 0, -0.17731742473213e-2},
    {1, 1, -0.17834862292358e-1},
    {1, 2, -0.45996013696365e-1},
    {1, 3, -0.57581259083432e-1},
    {1, 6, -0.50325278727930e-1},
    {2, 1, -0.33032641670203e-4},
    {2, 2, -0.18948987516315e-3},
    {2, 4, -0.39392777243355e-2},
    {2, 7, -0.43797295650573e-1},
    {2, 36, -0.26674547914087e-4},
    {3, 0, 0.20481737692309e-7},
    {3, 1, 0.43870667284435e-6},
    {3, 3, -0.32277677238570e-4},
    {3, 6, -0.15033924542148e-2},
    {3, 35, -0.40668253562649e-1},
    {4, 1, -0.78847309559367e-9},
    {4, 2, 0.12790717852285e-7},
    {4, 3, 0.48225372718507e-6},
    {5, 7, 0.22922076337661e-5},
    {6, 3, -0.16714766451061e-10},
    {6, 16, -0.21171472321355e-2},
    {6, 35, -0.23895741934104e2},
    {7, 0, -0.59059564324270e-17},
    {7, 11, -0.12621808899101e-5},
    {7, 25, -0.38946842435739e-1},
    {8, 8, 0.11256211360459e-10},
    {8, 36, -0.82311340897998e1},
    {9, 13, 0.19809712802088e-7},
    {10, 4, 0.10406965210174e-18},
    {10, 10, -0.10234747095929e-12},
    {10, 14, -0.10018179379511e-8},
    {16, 29, -0.80882908646985e-10},
    {16, 50, 0.10693031879409},
    {18, 57, -0.33662250574171},
    {20, 20, 0.89185845355421e-24},
    {20, 35, 0.30629316876232e-12},
    {20, 48, -0.42002467698208e-5},
    {21, 21, -0.59056029685639e-25},
    {22, 53, 0.37826947613457e-5},
    {23, 39, -0.12768608934681e-14},
    {24, 26, 0.73087610595061e-28},
    {24, 40, 0.55414715350778e-16},
    {24, 58, -0.94369707241210e-6},
};

// Metastable vapour, Eq. 18: Table 10 with its first two coefficients replaced.
constexpr double kMetastableN01 = -0.96937268393049e1;
constexpr double kMetastableN02 = 0.10087275970006e2;

constexpr std::array<Term, std::size(kRegion2Ideal)> metastableIdeal()
{
    std::array<Term, std::size(kRegion2Ideal)> terms{};
    for (std::size_t k = 0; k < terms.size(); ++k)
        terms[k] = kRegion2Ideal[k];
    terms[0].n = kMetastableN01;
    terms[1].n = kMetastableN02;
    return terms;
}
constexpr auto kMetastableIdeal = metastableIdeal();

// Metastable-vapour residual part, Eq. 19, Table 16: x = pi, y = tau - 0.5.
constexpr Term kMetastableResidual[] = {
    {1, 0, -0.73362260186506e-2},
    {1, 2, -0.88223831943146e-1},
    {1, 5, -0.72334555213245e-1},
    {1, 11, -0.40813178534455e-2},
    {2, 1, 0.20097803380207e-2},
    {2, 7, -0.53045921898642e-1},
    {2, 16, -0.76190409086970e-2},
    {3, 4, -0.63498037657313e-2},
    {3, 16, -0.86043093028588e-1},
    {4, 7, 0.75321581522770e-2},
    {4, 10, -0.79238375446139e-2},
    {5, 9, -0.22888160778447e-3},
    {5, 10, -0.26456501482810e-2},
};

// clang-format on

// The derivative orders (in x, in y) of the six sums, in the bit order of GibbsNeed.
constexpr int kOrders[6][2] = {{0, 0}, {1, 0}, {2, 0}, {0, 1}, {0, 2}, {1, 1}};

constexpr double fallingFactorial(int e, int k) {
    double f = 1.0;
    for (int m = 0; m < k; ++m)
        f *= e - m;
    return f;
}

// A table turned, at compile time, into the coefficients of the six derivative sums over one
// shared product x^I y^J per term: sum d is (sum c[d][k] x^I y^J) / (x^a y^b) for its orders
// (a, b), so each term's product is formed once for all sums. A sum whose coefficients are all
// 0 is not formed (the ideal-gas parts pass x = 0, which must not be divided by).
template <std::size_t N> struct GibbsTable {
    std::array<int, N> xe{};
    std::array<int, N> ye{};
    std::array<std::array<double, N>, 6> c{};
    std::array<bool, 6> empty{};
    int maxX = 0;
    int minY = 0;
    int maxY = 0;

    constexpr explicit GibbsTable(const Term* terms) {
        for (std::size_t k = 0; k < N; ++k) {
            xe[k] = terms[k].i;
            ye[k] = terms[k].j;
            maxX = std::max(maxX, xe[k]);
            minY = std::min(minY, ye[k]);
            maxY = std::max(maxY, ye[k]);
        }
        for (int d = 0; d < 6; ++d) {
            empty[d] = true;
            for (std::size_t k = 0; k < N; ++k) {
                c[d][k] = terms[k].n * fallingFactorial(xe[k], kOrders[d][0]) *
                          fallingFactorial(ye[k], kOrders[d][1]);
                empty[d] = empty[d] && c[d][k] == 0.0;
            }
        }
    }
};

template <std::size_t N> GibbsTable(const Term (&)[N]) -> GibbsTable<N>;

constexpr GibbsTable kRegion1Table(kRegion1);
constexpr GibbsTable kRegion2IdealTable(kRegion2Ideal);
constexpr GibbsTable kRegion2ResidualTable(kRegion2Residual);
constexpr GibbsTable<kMetastableIdeal.size()> kMetastableIdealTable(kMetastableIdeal.data());
constexpr GibbsTable kMetastableResidualTable(kMetastableResidual);

// The powers 1..Max of a base that a table needs, each the product of two lower ones: of the
// most even split into two powers already needed, else of its halves e / 2 and e - e / 2,
// which are then needed too. Few multiplications, in short dependent chains.
template <int Max> struct PowerSet {
    std::array<bool, Max + 1> used{};
    std::array<int, Max + 1> low{}; // e = low[e] + (e - low[e]) for the used e >= 2

    constexpr PowerSet(const int* exps, std::size_t n, int sign) {
        for (std::size_t k = 0; k < n; ++k)
            if (exps[k] * sign > 0) used[exps[k] * sign] = true;
        for (int e = Max; e >= 2; --e) {
            if (!used[e]) continue;
            low[e] = e / 2;
            while (low[e] >= 1 && !(used[low[e]] && used[e - low[e]]))
                --low[e];
            if (low[e] == 0) {
                low[e] = e / 2;
                used[e / 2] = used[e - e / 2] = true;
            }
        }
    }
};

// Sets zero[Step * e] = zero[Step]^e for the used e >= 2, unrolled, lowest first.
template <const auto& Used, int Step, int... E>
[[gnu::always_inline]] inline void fillPowers(double* zero, std::integer_sequence<int, E...>) {
    ((Used.used[E + 2] ? void(zero[Step * (E + 2)] = zero[Step * Used.low[E + 2]] *
                                                     zero[Step * (E + 2 - Used.low[E + 2])])
                       : void()),
     ...);
}

template <const auto& S> struct TablePowers {
    static constexpr PowerSet<S.maxX> x{S.xe.data(), S.xe.size(), 1};
    static constexpr PowerSet<S.maxY> yUp{S.ye.data(), S.ye.size(), 1};
    static constexpr PowerSet<-S.minY> yDown{S.ye.data(), S.ye.size(), -1};
};

// The product x^I y^J of term K from the power tables (x^0 = y^0 = 1 are left out); 0 for
// K = N, which pads a table of odd length to whole pairs of terms.
template <const auto& S, std::size_t K>
[[gnu::always_inline]] inline double termProduct(const double* xZero, const double* yZero) {
    if constexpr (K >= S.xe.size())
        return 0.0;
    else if constexpr (S.xe[K] == 0)
        return yZero[S.ye[K]];
    else if constexpr (S.ye[K] == 0)
        return xZero[S.xe[K]];
    else
        return xZero[S.xe[K]] * yZero[S.ye[K]];
}

// Coefficient k of sum d, 0 past the table's end.
template <const auto& S> constexpr double coefficient(std::size_t d, std::size_t k) {
    return k < S.xe.size() ? S.c[d][k] : 0.0;
}

using Lanes = double __attribute__((vector_size(16)));

// The sums run over the terms W at a time, term W g + l in lane l of vector g: two lanes, or
// four in the functions compiled for wide sums (WideSums.h). Either way the terms go to the
// same eight partial sums in the same order: term k to lane k % 2 of partial (k / 2) % 4, each
// partial one lane of one of the 8 / W accumulators. The partials are then added as
// ((0 + 1) + (2 + 3)) lane by lane and the two lanes last, so every width gives the same digits.
template <int W> struct VectorOf;
template <> struct VectorOf<2> { using Type = Lanes; };
template <> struct VectorOf<4> { using Type = double __attribute__((vector_size(32))); };
template <int W> using Vector = typename VectorOf<W>::Type;
constexpr int kNarrowLanes = 2;
constexpr int kWideLanes = 4;

template <const auto& S, int W> constexpr std::size_t kTermGroups = (S.xe.size() + W - 1) / W;

// The products of the table's terms, W by W, as vectors (0 past the table's end).
template <const auto& S, int W, std::size_t G, std::size_t... L>
[[gnu::always_inline]] inline void groupProduct(const double* xZero, const double* yZero,
                                                Vector<W>* product, std::index_sequence<L...>) {
    product[G] = Vector<W>{termProduct<S, W * G + L>(xZero, yZero)...};
}

template <const auto& S, int W, std::size_t... G>
[[gnu::always_inline]] inline void groupProducts(const double* xZero, const double* yZero,
                                                 Vector<W>* product, std::index_sequence<G...>) {
    (groupProduct<S, W, G>(xZero, yZero, product, std::make_index_sequence<W>{}), ...);
}

// Whether sum d has a term in group g of w terms.
template <const auto& S> constexpr bool groupCounts(std::size_t d, std::size_t w, std::size_t g) {
    for (std::size_t k = w * g; k < w * g + w; ++k)
        if (coefficient<S>(d, k) != 0.0) return true;
    return false;
}

// Whether group G is the first of its accumulator that sum D has a term in: it starts the
// accumulator rather than adding to 0, which would give the same sums and cost an addition.
template <const auto& S, std::size_t D, int W, std::size_t G> constexpr bool startsAccumulator() {
    for (std::size_t g = G % (8 / W); g < G; g += 8 / W)
        if (groupCounts<S>(D, W, g)) return false;
    return groupCounts<S>(D, W, G);
}

template <const auto& S, std::size_t D, int W, std::size_t G, std::size_t... L>
[[gnu::always_inline]] inline void addGroup(Vector<W>& accumulator, const Vector<W>& product,
                                            std::index_sequence<L...>) {
    const Vector<W> coefficients{coefficient<S>(D, W * G + L)...};
    if constexpr (startsAccumulator<S, D, W, G>())
        accumulator = coefficients * product;
    else if constexpr (groupCounts<S>(D, W, G))
        accumulator += coefficients * product;
}

// Sum D over the term products, unrolled, in eight partial sums so that the additions do not
// wait for one another: a state's call waits for its last sum. A group of terms whose
// coefficients in this sum are all 0 is left out (a term of 0 within a group adds an exact 0),
// so the sum comes out the same whichever other sums a caller needs.
template <const auto& S, std::size_t D, int W, std::size_t... G>
[[gnu::always_inline]] inline double sumOf(const Vector<W>* product, std::index_sequence<G...>) {
    constexpr int kAccumulators = 8 / W;
    Vector<W> accumulator[kAccumulators] = {};
    (addGroup<S, D, W, G>(accumulator[G % kAccumulators], product[G],
                          std::make_index_sequence<W>{}),
     ...);
    Lanes part[4];
    for (int a = 0; a < kAccumulators; ++a)
        for (int c = 0; c < W / 2; ++c)
            part[a * (W / 2) + c] = Lanes{accumulator[a][2 * c], accumulator[a][2 * c + 1]};
    const Lanes sum = (part[0] + part[1]) + (part[2] + part[3]);
    return sum[0] + sum[1];
}

// The divisor x^a y^b of sum d (kOrders), as a factor.
struct Scales {
    double yInverse, xInverse;
    double of(std::size_t d) const {
        switch (d) {
        case 0:
            return 1.0;
        case 1:
            return xInverse;
        case 2:
            return xInverse * xInverse;
        case 3:
            return yInverse;
        case 4:
            return yInverse * yInverse;
        default:
            return xInverse * yInverse;
        }
    }
};

// Sum d scaled by its divisor when `want`; d = 0 needs no scaling.
template <const auto& S, std::size_t D, int W>
[[gnu::always_inline]] inline void scaledSum(bool want, const Vector<W>* product,
                                             const Scales& scale, std::array<double, 6>& out) {
    if constexpr (!S.empty[D]) {
        if (!want) return;
        const double sum = sumOf<S, D, W>(product, std::make_index_sequence<kTermGroups<S, W>>{});
        out[D] = D == 0 ? sum : sum * scale.of(D);
    }
}

// The powers of x and y that a table's terms use: x^e = xZero[e], y^e = yZero[e], negative
// powers from 1 / y, which a caller may form from its own variables without waiting for y.
template <const auto& S> struct Powers {
    std::array<double, S.maxX + 1> xPow;
    std::array<double, S.maxY - S.minY + 1> yPow; // yPow[e - minY] = y^e

    [[gnu::always_inline]] Powers(double x, double y, double yInverse) {
        using P = TablePowers<S>;
        xPow[0] = 1.0;
        if constexpr (S.maxX >= 1) {
            xPow[1] = x;
            fillPowers<P::x, 1>(xPow.data(), std::make_integer_sequence<int, S.maxX - 1>{});
        }
        double* y0 = yZero();
        y0[0] = 1.0;
        if constexpr (S.maxY >= 1) {
            y0[1] = y;
            fillPowers<P::yUp, 1>(y0, std::make_integer_sequence<int, S.maxY - 1>{});
        }
        if constexpr (S.minY <= -1) {
            y0[-1] = yInverse;
            fillPowers<P::yDown, -1>(y0, std::make_integer_sequence<int, -S.minY - 1>{});
        }
    }
    double* yZero() { return yPow.data() - S.minY; }

    // The term products, W by W.
    template <int W> [[gnu::always_inline]] void products(Vector<W>* product) {
        groupProducts<S, W>(xPow.data(), yZero(), product,
                            std::make_index_sequence<kTermGroups<S, W>>{});
    }
};

// The sums selected by `need` (bits in the order of kOrders) at (x, y); unselected ones are 0.
// `Need` (when not 0) is the set of sums known when compiled, for the calls that run most; W
// the lanes of the vectors.
template <const auto& S, unsigned Need = 0, int W = kNarrowLanes>
[[gnu::always_inline]] inline std::array<double, 6> evaluate(double x, double y, double yInverse,
                                                             unsigned need) {
    if constexpr (Need != 0) need = Need;
    Powers<S> pw(x, y, yInverse);
    Vector<W> product[kTermGroups<S, W>];
    pw.template products<W>(product);
    // The x-derivatives are divided by x only when they exist (the ideal-gas parts pass x = 0).
    Scales scale{yInverse, 0.0};
    if constexpr (!S.empty[1] || !S.empty[2] || !S.empty[5])
        if ((need & (kGammaPi | kGammaPiPi | kGammaPiTau)) != 0) scale.xInverse = 1.0 / x;
    std::array<double, 6> out{};
    scaledSum<S, 0, W>((need & kGamma) != 0, product, scale, out);
    scaledSum<S, 1, W>((need & kGammaPi) != 0, product, scale, out);
    scaledSum<S, 2, W>((need & kGammaPiPi) != 0, product, scale, out);
    scaledSum<S, 3, W>((need & kGammaTau) != 0, product, scale, out);
    scaledSum<S, 4, W>((need & kGammaTauTau) != 0, product, scale, out);
    scaledSum<S, 5, W>((need & kGammaPiTau) != 0, product, scale, out);
    return out;
}

[[gnu::always_inline]] inline GibbsDerivatives fromSums(const std::array<double, 6>& s) {
    return {s[0], s[1], s[2], s[3], s[4], s[5]};
}

// The ln pi of the ideal-gas parts.
void addLogPi(GibbsDerivatives& g, double pi, unsigned need) {
    if (need & kGamma) g.gamma += std::log(pi);
    if (need & kGammaPi) g.gammaPi = 1.0 / pi;
    if (need & kGammaPiPi) g.gammaPiPi = -1.0 / (pi * pi);
}

constexpr double kRegion1TauShift = 1.222; // region 1 sums run over powers of tau - 1.222

// The region 1 sums `need` at x = 7.1 - pi, y = tau - 1.222; `Need` and W as in evaluate.
template <unsigned Need = 0, int W = kNarrowLanes>
[[gnu::always_inline]] inline GibbsDerivatives region1Sums(double x, double y, double yInverse,
                                                           unsigned need) {
    GibbsDerivatives g = fromSums(evaluate<kRegion1Table, Need, W>(x, y, yInverse, need));
    // d/dpi = -d/dx
    g.gammaPi = -g.gammaPi;
    g.gammaPiTau = -g.gammaPiTau;
    return g;
}

// The sets of sums that run most (h; s; v, s and h; those and cp) compiled each for itself;
// any other set selected while it runs.
template <unsigned Need>
[[gnu::noinline]] GibbsDerivatives region1Fixed(double x, double y, double yInverse) {
    return region1Sums<Need>(x, y, yInverse, Need);
}
template <unsigned Need>
[[gnu::noinline, KOLV_WIDE_SUMS]] GibbsDerivatives region1FixedWide(double x, double y,
                                                                    double yInverse) {
    return region1Sums<Need, kWideLanes>(x, y, yInverse, Need);
}

[[gnu::noinline]] GibbsDerivatives region1Selected(double x, double y, double yInverse,
                                                   unsigned need) {
    return region1Sums(x, y, yInverse, need);
}
[[gnu::noinline, KOLV_WIDE_SUMS]] GibbsDerivatives
region1SelectedWide(double x, double y, double yInverse, unsigned need) {
    return region1Sums<0, kWideLanes>(x, y, yInverse, need);
}

template <unsigned Need>
[[gnu::always_inline]] inline GibbsDerivatives region1Of(double x, double y, double yInverse) {
    return wideSums() ? region1FixedWide<Need>(x, y, yInverse)
                      : region1Fixed<Need>(x, y, yInverse);
}

// Inline: the sums go straight into the caller's record, one call fewer on every evaluation.
[[gnu::always_inline]] inline GibbsDerivatives region1(double pi, double tau, double yInverse,
                                                       unsigned need) {
    const double x = 7.1 - pi, y = tau - kRegion1TauShift;
    constexpr unsigned kState = kGamma | kGammaPi | kGammaTau;
    switch (need) {
    case kGammaTau:
        return region1Of<kGammaTau>(x, y, yInverse);
    case kGamma | kGammaTau:
        return region1Of<kGamma | kGammaTau>(x, y, yInverse);
    case kState:
        return region1Of<kState>(x, y, yInverse);
    case kState | kGammaTauTau:
        return region1Of<kState | kGammaTauTau>(x, y, yInverse);
    default:
        return wideSums() ? region1SelectedWide(x, y, yInverse, need)
                          : region1Selected(x, y, yInverse, need);
    }
}

// sum_k c_k x^k for the pairs c_k of two sums side by side, from the powers x^k: in four
// partial sums (power k to partial k % 4, those of no term left out) added as (0 + 1) + (2 + 3),
// over one power at a time in two lanes, or over two (k even and k + 1) in four lanes, the
// partials k % 4 and (k + 1) % 4 side by side; the digits are the same.
constexpr bool everyPower(std::size_t) {
    return true;
}

// Whether power k of a series of n has a term (0 beyond the series).
template <auto Used, std::size_t N, std::size_t K> constexpr bool kCounts = K < N&& Used(K);

template <int W, auto Used, std::size_t N>
[[gnu::always_inline]] inline Lanes powerSeries(const std::array<Lanes, N>& c,
                                                const std::array<double, N>& x) {
    if constexpr (W == kNarrowLanes) {
        Lanes part[4] = {};
        [&]<std::size_t... K>(std::index_sequence<K...>) {
            ((kCounts<Used, N, K> ? void(part[K % 4] += c[K] * x[K]) : void()), ...);
        }
        (std::make_index_sequence<N>{});
        return (part[0] + part[1]) + (part[2] + part[3]);
    } else {
        // Coefficient and power k, 0 where it has no term.
        const auto cAt = [&](auto k, std::size_t lane) {
            if constexpr (kCounts<Used, N, k>) return c[k][lane];
            return 0.0;
        };
        const auto xAt = [&](auto k) {
            if constexpr (k < N) return x[k];
            return 0.0;
        };
        Vector<4> part[2] = {};
        [&]<std::size_t... M>(std::index_sequence<M...>) {
            ((kCounts<Used, N, 2 * M> || kCounts<Used, N, 2 * M + 1>
                  ? void(part[M % 2] +=
                         Vector<4>{cAt(std::integral_constant<std::size_t, 2 * M>{}, 0),
                                   cAt(std::integral_constant<std::size_t, 2 * M>{}, 1),
                                   cAt(std::integral_constant<std::size_t, 2 * M + 1>{}, 0),
                                   cAt(std::integral_constant<std::size_t, 2 * M + 1>{}, 1)} *
                         Vector<4>{xAt(std::integral_constant<std::size_t, 2 * M>{}),
                                   xAt(std::integral_constant<std::size_t, 2 * M>{}),
                                   xAt(std::integral_constant<std::size_t, 2 * M + 1>{}),
                                   xAt(std::integral_constant<std::size_t, 2 * M + 1>{})})
                  : void()),
             ...);
        }
        (std::make_index_sequence<(N + 1) / 2>{});
        const Lanes low = Lanes{part[0][0], part[0][1]} + Lanes{part[0][2], part[0][3]};
        const Lanes high = Lanes{part[1][0], part[1][1]} + Lanes{part[1][2], part[1][3]};
        return low + high;
    }
}

// The powers x^0 .. x^(N - 1), each the product of two lower ones (short chains), unrolled.
template <std::size_t N> [[gnu::always_inline]] inline std::array<double, N> powersOf(double x) {
    std::array<double, N> pw;
    pw[0] = 1;
    pw[1] = x;
    [&]<std::size_t... K>(std::index_sequence<K...>) {
        ((pw[K + 2] = pw[(K + 2) / 2] * pw[K + 2 - (K + 2) / 2]), ...);
    }
    (std::make_index_sequence<N - 2>{});
    return pw;
}

// Region 2 on one isotherm: gamma_r = sum_I c_I pi^I with c_I = sum_J n_IJ (tau - 0.5)^J, and
// gamma_r_tau = sum_I d_I pi^I with d_I = sum_J n_IJ J (tau - 0.5)^(J - 1), so that gamma_r and
// its derivatives are polynomials in pi, and the ideal-gas part is ln pi plus constants. The
// coefficients of pi^k, k = 0..kIsothermDegree, go side by side in the lanes of vectors: those
// of gamma_r_pi and gamma_r_pipi, and those of gamma_r and gamma_r_tau.
constexpr int kIsothermDegree = 24; // the highest I of the residual part

struct Region2Isotherm {
    double T, tau;
    double idealGamma = 0, idealGammaTau = 0; // without ln pi
    std::array<Lanes, kIsothermDegree + 1> pressureSums{}, temperatureSums{};

    constexpr explicit Region2Isotherm(double temperature)
        : T(temperature), tau(kRegion2TStar / temperature) {
        std::array<double, kIsothermDegree + 3> c{}, d{}; // 0 beyond the highest I
        std::array<double, 64> y{};
        y[0] = 1;
        for (std::size_t j = 1; j < y.size(); ++j)
            y[j] = y[j - 1] * (tau - 0.5);
        for (const Term& term : kRegion2Residual) {
            c[term.i] += term.n * y[term.j];
            if (term.j != 0) d[term.i] += term.n * term.j * y[term.j - 1];
        }
        for (int k = 0; k <= kIsothermDegree; ++k) {
            pressureSums[k] = Lanes{(k + 1) * c[k + 1], (k + 2) * (k + 1) * c[k + 2]};
            temperatureSums[k] = Lanes{c[k], d[k]};
        }
        for (const Term& term : kRegion2Ideal) {
            double power = 1; // tau^J, and tau^(J - 1) for the derivative
            for (int j = 0; j < (term.j < 0 ? -term.j : term.j); ++j)
                power = term.j < 0 ? power / tau : power * tau;
            idealGamma += term.n * power;
            idealGammaTau += term.n * term.j * power / tau;
        }
    }
};

constexpr Region2Isotherm kRegion2At800(800.0 + kKelvinOffset);

// Whether a term of region 1 has x^k.
constexpr bool region1HasPower(std::size_t k) {
    for (const Term& term : kRegion1)
        if (term.i == static_cast<int>(k)) return true;
    return false;
}

// Region 1 on one isotherm: gamma = sum_I c_I x^I and gamma_tau = sum_I d_I x^I in x = 7.1 - pi,
// with c_I = sum_J n_IJ y^J, d_I = sum_J n_IJ J y^(J - 1) and y = tau - 1.222; the pairs
// (c_I, d_I) side by side in the lanes of a vector.
constexpr int kRegion1Degree = 32; // the highest I

struct Region1Isotherm {
    double T, tau;
    std::array<Lanes, kRegion1Degree + 1> sums{};

    constexpr explicit Region1Isotherm(double temperature)
        : T(temperature), tau(kRegion1TStar / temperature) {
        const double y = tau - kRegion1TauShift;
        for (const Term& term : kRegion1) {
            double power = 1; // y^(J - 1)
            for (int j = 0; j < (term.j - 1 < 0 ? 1 - term.j : term.j - 1); ++j)
                power = term.j - 1 < 0 ? power / y : power * y;
            sums[term.i] += Lanes{term.n * power * y, term.n * term.j * power};
        }
    }
};

constexpr Region1Isotherm kRegion1At0(kKelvinOffset);
constexpr Region1Isotherm kRegion1At350(350.0 + kKelvinOffset);

// The sums of the isotherms at p, over powers of p (region 2) or of x = 7.1 - pi (region 1).
using Series = std::array<Lanes, kIsothermDegree + 1>;
template <int W> [[gnu::always_inline]] inline Lanes region2SeriesAt(const Series& c, double p) {
    return powerSeries<W, everyPower>(c, powersOf<kIsothermDegree + 1>(p));
}
[[gnu::noinline]] Lanes region2SeriesNarrow(const Series& c, double p) {
    return region2SeriesAt<kNarrowLanes>(c, p);
}
[[gnu::noinline, KOLV_WIDE_SUMS]] Lanes region2SeriesWide(const Series& c, double p) {
    return region2SeriesAt<kWideLanes>(c, p);
}
Lanes region2SeriesOf(const Series& c, double p) {
    return wideSums() ? region2SeriesWide(c, p) : region2SeriesNarrow(c, p);
}

template <int W>
[[gnu::always_inline]] inline Lanes region1SeriesAt(const Region1Isotherm& isotherm, double p) {
    return powerSeries<W, region1HasPower>(isotherm.sums,
                                           powersOf<kRegion1Degree + 1>(7.1 - p / kRegion1PStar));
}
[[gnu::noinline]] Lanes region1SeriesNarrow(const Region1Isotherm& isotherm, double p) {
    return region1SeriesAt<kNarrowLanes>(isotherm, p);
}
[[gnu::noinline, KOLV_WIDE_SUMS]] Lanes region1SeriesWide(const Region1Isotherm& isotherm,
                                                          double p) {
    return region1SeriesAt<kWideLanes>(isotherm, p);
}
Lanes region1SeriesOf(const Region1Isotherm& isotherm, double p) {
    return wideSums() ? region1SeriesWide(isotherm, p) : region1SeriesNarrow(isotherm, p);
}

double entropyOn(const Region1Isotherm& isotherm, double p) {
    const Lanes g = region1SeriesOf(isotherm, p);
    return kGasConstant * (isotherm.tau * g[1] - g[0]);
}

double enthalpyOn(const Region1Isotherm& isotherm, double p) {
    return kGasConstant * kRegion1TStar * region1SeriesOf(isotherm, p)[1];
}

} // namespace

void V2At800(double p, double& v, double& dvdp) {
    const Lanes sum = region2SeriesOf(kRegion2At800.pressureSums, p);
    constexpr double rt = kGasConstant * kRegion2At800.T / 1000;
    const double inverse = 1 / p;
    v = rt * (inverse + sum[0]);
    dvdp = rt * (sum[1] - inverse * inverse);
}

double S2At800(double p) {
    const Lanes sum = region2SeriesOf(kRegion2At800.temperatureSums, p);
    const Region2Isotherm& i = kRegion2At800;
    return kGasConstant *
           (i.tau * (i.idealGammaTau + sum[1]) - (std::log(p) + i.idealGamma + sum[0]));
}

double S1At0(double p) {
    return entropyOn(kRegion1At0, p);
}
double I1At0(double p) {
    return enthalpyOn(kRegion1At0, p);
}
double S1At350(double p) {
    return entropyOn(kRegion1At350, p);
}
double I1At350(double p) {
    return enthalpyOn(kRegion1At350, p);
}

double I2At800(double p) {
    const Lanes sum = region2SeriesOf(kRegion2At800.temperatureSums, p);
    return kGasConstant * kRegion2TStar * (kRegion2At800.idealGammaTau + sum[1]);
}

GibbsDerivatives region1Gibbs(double pi, double tau, unsigned need) {
    return region1(pi, tau, 1.0 / (tau - kRegion1TauShift), need);
}

namespace {

// The region 2 ideal-gas sums; the sets an evaluation of region 2 asks for (h; s; cp with s and
// h) compiled each for itself.
template <unsigned Need = 0>
GibbsDerivatives region2IdealSums(double pi, double tau, unsigned need) {
    if constexpr (Need != 0) need = Need;
    GibbsDerivatives g = fromSums(evaluate<kRegion2IdealTable, Need>(0.0, tau, 1.0 / tau, need));
    addLogPi(g, pi, need);
    return g;
}

} // namespace

GibbsDerivatives region2IdealGibbs(double pi, double tau, unsigned need) {
    switch (need) {
    case kGammaTau:
        return region2IdealSums<kGammaTau>(pi, tau, need);
    case kGamma | kGammaTau:
        return region2IdealSums<kGamma | kGammaTau>(pi, tau, need);
    case kGamma | kGammaTau | kGammaTauTau:
        return region2IdealSums<kGamma | kGammaTau | kGammaTauTau>(pi, tau, need);
    default:
        return region2IdealSums(pi, tau, need);
    }
}

namespace {

// As in region 1: the sets of sums that run most (v; h; v and h; s; v, s and h; all) compiled
// each for itself, any other set selected while it runs. The sums come out the same either way.
template <unsigned Need>
[[gnu::noinline]] GibbsDerivatives region2Fixed(double pi, double y, double yInverse) {
    return fromSums(evaluate<kRegion2ResidualTable, Need>(pi, y, yInverse, Need));
}
template <unsigned Need>
[[gnu::noinline, KOLV_WIDE_SUMS]] GibbsDerivatives region2FixedWide(double pi, double y,
                                                                    double yInverse) {
    return fromSums(evaluate<kRegion2ResidualTable, Need, kWideLanes>(pi, y, yInverse, Need));
}

[[gnu::noinline]] GibbsDerivatives region2Selected(double pi, double y, double yInverse,
                                                   unsigned need) {
    return fromSums(evaluate<kRegion2ResidualTable>(pi, y, yInverse, need));
}
[[gnu::noinline, KOLV_WIDE_SUMS]] GibbsDerivatives
region2SelectedWide(double pi, double y, double yInverse, unsigned need) {
    return fromSums(evaluate<kRegion2ResidualTable, 0, kWideLanes>(pi, y, yInverse, need));
}

template <unsigned Need>
[[gnu::always_inline]] inline GibbsDerivatives region2Of(double pi, double y, double yInverse) {
    return wideSums() ? region2FixedWide<Need>(pi, y, yInverse)
                      : region2Fixed<Need>(pi, y, yInverse);
}

} // namespace

GibbsDerivatives region2ResidualGibbs(double pi, double tau, unsigned need) {
    const double y = tau - 0.5, yInverse = 1.0 / (tau - 0.5);
    constexpr unsigned kState = kGamma | kGammaPi | kGammaTau;
    switch (need) {
    case kGammaPi:
        return region2Of<kGammaPi>(pi, y, yInverse);
    case kGammaTau:
        return region2Of<kGammaTau>(pi, y, yInverse);
    case kGammaPi | kGammaTau:
        return region2Of<kGammaPi | kGammaTau>(pi, y, yInverse);
    case kGamma | kGammaTau:
        return region2Of<kGamma | kGammaTau>(pi, y, yInverse);
    case kState:
        return region2Of<kState>(pi, y, yInverse);
    case kGammaAll:
        return region2Of<kGammaAll>(pi, y, yInverse);
    default:
        return wideSums() ? region2SelectedWide(pi, y, yInverse, need)
                          : region2Selected(pi, y, yInverse, need);
    }
}

GibbsDerivatives metastableIdealGibbs(double pi, double tau, unsigned need) {
    GibbsDerivatives g = fromSums(evaluate<kMetastableIdealTable>(0.0, tau, 1.0 / tau, need));
    addLogPi(g, pi, need);
    return g;
}

GibbsDerivatives metastableResidualGibbs(double pi, double tau, unsigned need) {
    return fromSums(evaluate<kMetastableResidualTable>(pi, tau - 0.5, 1.0 / (tau - 0.5), need));
}

// Built field by field: zeroing the whole record first would cost more than the stores.
GibbsState evaluateGibbs(GibbsEquation equation, double t, double p, unsigned need) {
    const double T = t + kKelvinOffset;
    if (equation == GibbsEquation::Region1) {
        const double pi = p / kRegion1PStar, tau = kRegion1TStar / T;
        // 1 / (tau - 1.222) = T / (1386 - 1.222 T): the negative powers need not wait for tau.
        const double yInverse = T / (kRegion1TStar - kRegion1TauShift * T);
        return {equation,
                T,
                1.0 / T,
                p,
                pi,
                tau,
                GibbsDerivatives{},
                region1(pi, tau, yInverse, need)};
    }
    const double tau = kRegion2TStar / T;
    const unsigned idealNeed = need & (kGamma | kGammaTau | kGammaTauTau);
    if (equation == GibbsEquation::Region2)
        return {equation,
                T,
                1.0 / T,
                p,
                p,
                tau,
                idealNeed != 0 ? region2IdealGibbs(p, tau, idealNeed) : GibbsDerivatives{},
                region2ResidualGibbs(p, tau, need)};
    return {equation,
            T,
            1.0 / T,
            p,
            p,
            tau,
            idealNeed != 0 ? metastableIdealGibbs(p, tau, idealNeed) : GibbsDerivatives{},
            metastableResidualGibbs(p, tau, need)};
}

double V1_TP(double t, double p) {
    return volumeOf(evaluateGibbs(GibbsEquation::Region1, t, p, kGammaPi));
}
double S1_TP(double t, double p) {
    return entropyOf(evaluateGibbs(GibbsEquation::Region1, t, p, kGamma | kGammaTau));
}
double I1_TP(double t, double p) {
    return enthalpyOf(evaluateGibbs(GibbsEquation::Region1, t, p, kGammaTau));
}
double V2_TP(double t, double p) {
    return volumeOf(evaluateGibbs(GibbsEquation::Region2, t, p, kGammaPi));
}
double S2_TP(double t, double p) {
    return entropyOf(evaluateGibbs(GibbsEquation::Region2, t, p, kGamma | kGammaTau));
}
double I2_TP(double t, double p) {
    return enthalpyOf(evaluateGibbs(GibbsEquation::Region2, t, p, kGammaTau));
}
double V2m_TP(double t, double p) {
    return volumeOf(evaluateGibbs(GibbsEquation::Metastable, t, p, kGammaPi));
}
double S2m_TP(double t, double p) {
    return entropyOf(evaluateGibbs(GibbsEquation::Metastable, t, p, kGamma | kGammaTau));
}
double I2m_TP(double t, double p) {
    return enthalpyOf(evaluateGibbs(GibbsEquation::Metastable, t, p, kGammaTau));
}

} // namespace numerics
