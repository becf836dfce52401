// IAPWS-IF97 backward equations T(p, h) and T(p, s) of regions 1 and 2 and the B2bc boundary.
// Every equation is theta = sum n_i * a^I_i * b^J_i over the release's table, with a and b
// the reduced pressure and enthalpy or entropy terms of that equation; theta = T / 1 K.
#include "numerics/Sr_Ws.h"

#include <cmath>
#include <cstddef>
#include <iterator>
#include <utility>

namespace numerics {

namespace {

constexpr double kKelvin = 273.15; // T in K minus t in °C

struct Term {
    double i; // exponent of the pressure term; quarter steps in sub-region 2a of T(p, s)
    int j;    // exponent of the enthalpy or entropy term
    double n;
};

// Table 6: region 1, T(p, h), terms pi^I (eta + 1)^J.
constexpr Term kT1ph[] = {
    {0, 0, -0.23872489924521e3},   {0, 1, 0.40421188637945e3},     {0, 2, 0.11349746881718e3},
    {0, 6, -0.58457616048039e1},   {0, 22, -0.15285482413140e-3},  {0, 32, -0.10866707695377e-5},
    {1, 0, -0.13391744872602e2},   {1, 1, 0.43211039183559e2},     {1, 2, -0.54010067170506e2},
    {1, 3, 0.30535892203916e2},    {1, 4, -0.65964749423638e1},    {1, 10, 0.93965400878363e-2},
    {1, 32, 0.11573647505340e-6},  {2, 10, -0.25858641282073e-4},  {2, 32, -0.40644363084799e-8},
    {3, 10, 0.66456186191635e-7},  {3, 32, 0.80670734103027e-10},  {4, 32, -0.93477771213947e-12},
    {5, 32, 0.58265442020601e-14}, {6, 32, -0.15020185953503e-16},
};

// Table 8: region 1, T(p, s), terms pi^I (sigma + 2)^J.
constexpr Term kT1ps[] = {
    {0, 0, 0.17478268058307e3},    {0, 1, 0.34806930892873e2},     {0, 2, 0.65292584978455e1},
    {0, 3, 0.33039981775489},      {0, 11, -0.19281382923196e-6},  {0, 31, -0.24909197244573e-22},
    {1, 0, -0.26107636489332},     {1, 1, 0.22592965981586},       {1, 2, -0.64256463395226e-1},
    {1, 3, 0.78876289270526e-2},   {1, 12, 0.35672110607366e-9},   {1, 31, 0.17332496994895e-23},
    {2, 0, 0.56608900654837e-3},   {2, 1, -0.32635483139717e-3},   {2, 2, 0.44778286690632e-4},
    {2, 9, -0.51322156908507e-9},  {2, 31, -0.42522657042207e-25}, {3, 10, 0.26400441360689e-12},
    {3, 32, 0.78124600459723e-28}, {4, 32, -0.30732199903668e-30},
};

// Table 19: B2bc boundary, pi = n1 + n2 eta + n3 eta^2 (Eq. 20).
constexpr double kB2bc[] = {0.90584278514723e3, -0.67955786399241, 0.12809002730136e-3};

// Table 20: sub-region 2a, T(p, h), terms pi^I (eta - 2.1)^J.
constexpr Term kT2aph[] = {
    {0, 0, 0.10898952318288e4},    {0, 1, 0.84951654495535e3},   {0, 2, -0.10781748091826e3},
    {0, 3, 0.33153654801263e2},    {0, 7, -0.74232016790248e1},  {0, 20, 0.11765048724356e2},
    {1, 0, 0.18445749355790e1},    {1, 1, -0.41792700549624e1},  {1, 2, 0.62478196935812e1},
    {1, 3, -0.17344563108114e2},   {1, 7, -0.20058176862096e3},  {1, 9, 0.27196065473796e3},
    {1, 11, -0.45511318285818e3},  {1, 18, 0.30919688604755e4},  {1, 44, 0.25226640357872e6},
    {2, 0, -0.61707422868339e-2},  {2, 2, -0.31078046629583},    {2, 7, 0.11670873077107e2},
    {2, 36, 0.12812798404046e9},   {2, 38, -0.98554909623276e9}, {2, 40, 0.28224546973002e10},
    {2, 42, -0.35948971410703e10}, {2, 44, 0.17227349913197e10}, {3, 24, -0.13551334240775e5},
    {3, 44, 0.12848734664650e8},   {4, 12, 0.13865724283226e1},  {4, 32, 0.23598832556514e6},
    {4, 44, -0.13105236545054e8},  {5, 32, 0.73999835474766e4},  {5, 36, -0.55196697030060e6},
    {5, 42, 0.37154085996233e7},   {6, 34, 0.19127729239660e5},  {6, 44, -0.41535164835634e6},
    {7, 28, -0.62459855192507e2},
};

// Table 21: sub-region 2b, T(p, h), terms (pi - 2)^I (eta - 2.6)^J.
constexpr Term kT2bph[] = {
    {0, 0, 0.14895041079516e4},    {0, 1, 0.74307798314034e3},    {0, 2, -0.97708318797837e2},
    {0, 12, 0.24742464705674e1},   {0, 18, -0.63281320016026},    {0, 24, 0.11385952129658e1},
    {0, 28, -0.47811863648625},    {0, 40, 0.85208123431544e-2},  {1, 0, 0.93747147377932},
    {1, 2, 0.33593118604916e1},    {1, 6, 0.33809355601454e1},    {1, 12, 0.16844539671904},
    {1, 18, 0.73875745236695},     {1, 24, -0.47128737436186},    {1, 28, 0.15020273139707},
    {1, 40, -0.21764114219750e-2}, {2, 2, -0.21810755324761e-1},  {2, 8, -0.10829784403677},
    {2, 18, -0.46333324635812e-1}, {2, 40, 0.71280351959551e-4},  {3, 1, 0.11032831789999e-3},
    {3, 2, 0.18955248387902e-3},   {3, 12, 0.30891541160537e-2},  {3, 24, 0.13555504554949e-2},
    {4, 2, 0.28640237477456e-6},   {4, 12, -0.10779857357512e-4}, {4, 18, -0.76462712454814e-4},
    {4, 24, 0.14052392818316e-4},  {4, 28, -0.31083814331434e-4}, {4, 40, -0.10302738212103e-5},
    {5, 18, 0.28217281635040e-6},  {5, 24, 0.12704902271945e-5},  {5, 40, 0.73803353468292e-7},
    {6, 28, -0.11030139238909e-7}, {7, 2, -0.81456365207833e-13}, {7, 28, -0.25180545682962e-10},
    {9, 1, -0.17565233969407e-17}, {9, 40, 0.86934156344163e-14},
};

// Table 22: sub-region 2c, T(p, h), terms (pi + 25)^I (eta - 1.8)^J.
constexpr Term kT2cph[] = {
    {-7, 0, -0.32368398555242e13}, {-7, 4, 0.73263350902181e13},  {-6, 0, 0.35825089945447e12},
    {-6, 2, -0.58340131851590e12}, {-5, 0, -0.10783068217470e11}, {-5, 2, 0.20825544563171e11},
    {-2, 0, 0.61074783564516e6},   {-2, 1, 0.85977722535580e6},   {-1, 0, -0.25745723604170e5},
    {-1, 2, 0.31081088422714e5},   {0, 0, 0.12082315865936e4},    {0, 1, 0.48219755109255e3},
    {1, 4, 0.37966001272486e1},    {1, 8, -0.10842984880077e2},   {2, 4, -0.45364172676660e-1},
    {6, 0, 0.14559115658698e-12},  {6, 1, 0.11261597407230e-11},  {6, 4, -0.17804982240686e-10},
    {6, 10, 0.12324579690832e-6},  {6, 12, -0.11606921130984e-5}, {6, 16, 0.27846367088554e-4},
    {6, 20, -0.59270038474176e-3}, {6, 22, 0.12918582991878e-2},
};

// Table 25: sub-region 2a, T(p, s), terms pi^I (sigma - 2)^J.
constexpr Term kT2aps[] = {
    {-1.5, -24, -0.39235983861984e6},  {-1.5, -23, 0.51526573827270e6},
    {-1.5, -19, 0.40482443161048e5},   {-1.5, -13, -0.32193790923902e3},
    {-1.5, -11, 0.96961424218694e2},   {-1.5, -10, -0.22867846371773e2},
    {-1.25, -19, -0.44942914124357e6}, {-1.25, -15, -0.50118336020166e4},
    {-1.25, -6, 0.35684463560015},     {-1, -26, 0.44235335848190e5},
    {-1, -21, -0.13673388811708e5},    {-1, -17, 0.42163260207864e6},
    {-1, -16, 0.22516925837475e5},     {-1, -9, 0.47442144865646e3},
    {-1, -8, -0.14931130797647e3},     {-0.75, -15, -0.19781126320452e6},
    {-0.75, -14, -0.23554399470760e5}, {-0.5, -26, -0.19070616302076e5},
    {-0.5, -13, 0.55375669883164e5},   {-0.5, -9, 0.38293691437363e4},
    {-0.5, -7, -0.60391860580567e3},   {-0.25, -27, 0.19363102620331e4},
    {-0.25, -25, 0.42660643698610e4},  {-0.25, -11, -0.59780638872718e4},
    {-0.25, -6, -0.70401463926862e3},  {0.25, 1, 0.33836784107553e3},
    {0.25, 4, 0.20862786635187e2},     {0.25, 8, 0.33834172656196e-1},
    {0.25, 11, -0.43124428414893e-4},  {0.5, 0, 0.16653791356412e3},
    {0.5, 1, -0.13986292055898e3},     {0.5, 5, -0.78849547999872},
    {0.5, 6, 0.72132411753872e-1},     {0.5, 10, -0.59754839398283e-2},
    {0.5, 14, -0.12141358953904e-4},   {0.5, 16, 0.23227096733871e-6},
    {0.75, 0, -0.10538463566194e2},    {0.75, 4, 0.20718925496502e1},
    {0.75, 9, -0.72193155260427e-1},   {0.75, 17, 0.20749887081120e-6},
    {1, 7, -0.18340657911379e-1},      {1, 18, 0.29036272348696e-6},
    {1.25, 3, 0.21037527893619},       {1.25, 15, 0.25681239729999e-3},
    {1.5, 5, -0.12799002933781e-1},    {1.5, 18, -0.82198102652018e-5},
};

// Table 26: sub-region 2b, T(p, s), terms pi^I (10 - sigma)^J.
constexpr Term kT2bps[] = {
    {-6, 0, 0.31687665083497e6},   {-6, 11, 0.20864175881858e2}, {-5, 0, -0.39859399803599e6},
    {-5, 11, -0.21816058518877e2}, {-4, 0, 0.22369785194242e6},  {-4, 1, -0.27841703445817e4},
    {-4, 11, 0.99207436071480e1},  {-3, 0, -0.75197512299157e5}, {-3, 1, 0.29708605951158e4},
    {-3, 11, -0.34406878548526e1}, {-3, 12, 0.38815564249115},   {-2, 0, 0.17511295085750e5},
    {-2, 1, -0.14237112854449e4},  {-2, 6, 0.10943803364167e1},  {-2, 10, 0.89971619308495},
    {-1, 0, -0.33759740098958e4},  {-1, 1, 0.47162885818355e3},  {-1, 5, -0.19188241993679e1},
    {-1, 8, 0.41078580492196},     {-1, 9, -0.33465378172097},   {0, 0, 0.13870034777505e4},
    {0, 1, -0.40663326195838e3},   {0, 2, 0.41727347159610e2},   {0, 4, 0.21932549434532e1},
    {0, 5, -0.10320050009077e1},   {0, 6, 0.35882943516703},     {0, 9, 0.52511453726066e-2},
    {1, 0, 0.12838916450705e2},    {1, 1, -0.28642437219381e1},  {1, 2, 0.56912683664855},
    {1, 3, -0.99962954584931e-1},  {1, 7, -0.32632037778459e-2}, {1, 8, 0.23320922576723e-3},
    {2, 0, -0.15334809857450},     {2, 1, 0.29072288239902e-1},  {2, 5, 0.37534702741167e-3},
    {3, 0, 0.17296691702411e-2},   {3, 1, -0.38556050844504e-3}, {3, 3, -0.35017712292608e-4},
    {4, 0, -0.14566393631492e-4},  {4, 1, 0.56420857267269e-5},  {5, 0, 0.41286150074605e-7},
    {5, 1, -0.20684671118824e-7},  {5, 2, 0.16409393674725e-8},
};

// Table 27: sub-region 2c, T(p, s), terms pi^I (2 - sigma)^J.
constexpr Term kT2cps[] = {
    {-2, 0, 0.90968501005365e3},   {-2, 1, 0.24045667088420e4},  {-1, 0, -0.59162326387130e3},
    {0, 0, 0.54145404128074e3},    {0, 1, -0.27098308411192e3},  {0, 2, 0.97976525097926e3},
    {0, 3, -0.46966772959435e3},   {1, 0, 0.14399274604723e2},   {1, 1, -0.19104204230429e2},
    {1, 3, 0.53299167111971e1},    {1, 4, -0.21252975375934e2},  {2, 0, -0.31147334413760},
    {2, 1, 0.60334840894623},      {2, 2, -0.42764839702509e-1}, {3, 0, 0.58185597255259e-2},
    {3, 1, -0.14597008284753e-1},  {3, 5, 0.56631175631027e-2},  {4, 0, -0.76155864584577e-4},
    {4, 1, 0.22440342919332e-3},   {4, 4, -0.12561095013413e-4}, {5, 0, 0.63323132660934e-6},
    {5, 1, -0.20541989675375e-5},  {5, 2, 0.36405370390082e-7},  {6, 0, -0.29759897789215e-8},
    {6, 1, 0.10136618529763e-7},   {7, 0, 0.59925719692351e-11}, {7, 1, -0.20677870105164e-10},
    {7, 3, -0.20874278181886e-10}, {7, 4, 0.10162166825089e-9},  {7, 5, -0.16429828281347e-9},
};

// The exponents of one table, at compile time: the powers of a run in steps of 1/4 where a
// table has quarter exponents (sub-region 2a of T(p, s)), else in whole steps. Of the powers
// between the least and the greatest exponent only those are formed that a term uses or that
// another one is formed from.
constexpr int kMaxExponent = 64;

struct PowerNeeds {
    bool positive[kMaxExponent + 1] = {}; // base^e for e = 2..
    bool negative[kMaxExponent + 1] = {}; // base^-e for e = 2..

    constexpr void need(int e) {
        if (e >= 0)
            positive[e] = true;
        else
            negative[-e] = true;
    }
    // Each power is formed from e / 2 and e - e / 2: those are needed as well.
    constexpr void close() {
        for (int e = kMaxExponent; e >= 2; --e) {
            if (positive[e]) positive[e / 2] = positive[e - e / 2] = true;
            if (negative[e]) negative[e / 2] = negative[e - e / 2] = true;
        }
    }
};

template <std::size_t N> struct Exponents {
    int aSteps = 1; // steps per unit of the exponent of a
    int minA = 0, maxA = 0, minB = 0, maxB = 0;
    PowerNeeds a, b;

    constexpr explicit Exponents(const Term (&terms)[N]) {
        for (const Term& t : terms)
            if (t.i != static_cast<int>(t.i)) aSteps = 4;
        for (const Term& t : terms) {
            const int ea = static_cast<int>(t.i * aSteps);
            minA = ea < minA ? ea : minA;
            maxA = ea > maxA ? ea : maxA;
            minB = t.j < minB ? t.j : minB;
            maxB = t.j > maxB ? t.j : maxB;
            a.need(ea);
            b.need(t.j);
        }
        a.close();
        b.close();
    }
};

// zero[e] = base^e for the needed e = minE..maxE of the exponents of a (OfA) or of b, each power
// from e / 2 and e - e / 2 (short chains of dependent multiplications), unrolled; negative
// powers from the reciprocal.
template <const auto& Exps, bool OfA, int MinE, int MaxE>
void fillPowers(double base, double* zero) {
    constexpr const PowerNeeds& Needs = OfA ? Exps.a : Exps.b;
    zero[0] = 1.0;
    if constexpr (MaxE >= 1) {
        zero[1] = base;
        [&]<int... E>(std::integer_sequence<int, E...>) {
            ((Needs.positive[E + 2]
                  ? void(zero[E + 2] = zero[(E + 2) / 2] * zero[E + 2 - (E + 2) / 2])
                  : void()),
             ...);
        }
        (std::make_integer_sequence<int, MaxE - 1>{});
    }
    if constexpr (MinE <= -1) {
        zero[-1] = 1.0 / base;
        [&]<int... E>(std::integer_sequence<int, E...>) {
            ((Needs.negative[E + 2]
                  ? void(zero[-(E + 2)] = zero[-((E + 2) / 2)] * zero[-(E + 2 - (E + 2) / 2)])
                  : void()),
             ...);
        }
        (std::make_integer_sequence<int, -MinE - 1>{});
    }
}

template <const auto& Table> constexpr Exponents kExponents(Table);

// sum n_i a^I_i b^J_i with the powers built once per call, unrolled over the terms in four
// partial sums.
template <const auto& Table, std::size_t... K>
double sumTerms(double a, double b, std::index_sequence<K...>) {
    constexpr const auto& e = kExponents<Table>;
    const double aBase = e.aSteps == 1 ? a : std::sqrt(std::sqrt(a));
    double aPow[e.maxA - e.minA + 1];
    double bPow[e.maxB - e.minB + 1];
    double* aZero = aPow - e.minA;
    double* bZero = bPow - e.minB;
    fillPowers<kExponents<Table>, true, e.minA, e.maxA>(aBase, aZero);
    fillPowers<kExponents<Table>, false, e.minB, e.maxB>(b, bZero);
    double part[4] = {};
    ((part[K % 4] +=
      Table[K].n * aZero[static_cast<int>(Table[K].i * e.aSteps)] * bZero[Table[K].j]),
     ...);
    return (part[0] + part[1]) + (part[2] + part[3]);
}

template <const auto& Table> double sumTerms(double a, double b) {
    return sumTerms<Table>(a, b, std::make_index_sequence<std::size(Table)>{});
}

} // namespace

double PB2bc_I(double h) {
    return kB2bc[0] + (kB2bc[1] + kB2bc[2] * h) * h;
}

double T1_PI(double p, double h) {
    return sumTerms<kT1ph>(p, h / 2500.0 + 1.0) - kKelvin;
}

double T1_PS(double p, double s) {
    return sumTerms<kT1ps>(p, s + 2.0) - kKelvin;
}

// Sub-regions: 2a below 4 MPa; from 4 MPa on, 2c where p >= pB2bc(h), else 2b.
double T2_PI(double p, double h) {
    const double eta = h / 2000.0;
    double theta;
    if (p < 4.0)
        theta = sumTerms<kT2aph>(p, eta - 2.1);
    else if (p < PB2bc_I(h))
        theta = sumTerms<kT2bph>(p - 2.0, eta - 2.6);
    else
        theta = sumTerms<kT2cph>(p + 25.0, eta - 1.8);
    return theta - kKelvin;
}

// Sub-regions: 2a below 4 MPa; from 4 MPa on, 2b where s > 5.85, else 2c.
double T2_PS(double p, double s) {
    double theta;
    if (p < 4.0)
        theta = sumTerms<kT2aps>(p, s / 2.0 - 2.0);
    else if (s > 5.85)
        theta = sumTerms<kT2bps>(p, 10.0 - s / 0.7853);
    else
        theta = sumTerms<kT2cps>(p, 2.0 - s / 2.9251);
    return theta - kKelvin;
}

} // namespace numerics
