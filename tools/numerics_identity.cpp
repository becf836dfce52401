// Prints what the property library answers over a fixed grid, one line per call, every number in
// hexadecimal floating point: two builds of the library give the same text exactly when they
// give the same bits. scripts/numerics-identity.sh builds this program against two revisions
// and compares their texts.
//
// Seeds: a (t, p) grid over the whole range and beyond, and a (t, x) grid of wet steam,
// completed by the library. With --seeds the program prints them; given seeds on its input
// (as --seeds printed them, so that both builds ask the same questions), it turns each seed
// state into the given values of every pair code (and two unknown codes) and asks each with
// and without metastable vapour: the full state, h alone, v and s alone (the outputs not asked
// for start as sentinels, so that in-out semantics show), the full state with a floating-point
// flag the caller left raised (whether the flag survives is printed too), the four derived
// properties, and cp again with the caller's flag raised. Viscosity and conductivity are
// printed once per seed. A call that throws prints "fault".

#include "numerics/numerics.h"

#include <cfenv>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace {

using numerics::NumericFault;

constexpr int kPairs[] = {12, 13, 14, 15, 16, 23, 24, 25, 26, 34, 35, 36, 45, 46, 56, 0, 66};

struct Seed {
    double q[6]; // t, p, v, s, h, x
};

void printHex(double value) {
    std::printf(" %a", value);
}

// Raises the caller's invalid-operation flag as a NaN comparison in the caller's code would.
void raiseCallerFlag() {
    std::feclearexcept(FE_ALL_EXCEPT);
    std::feraiseexcept(FE_INVALID);
}

void stateLine(const char* what, int pair, bool metastable, double x1, double x2, bool wantP,
               bool wantV, bool wantS, bool wantI, bool callerFlag) {
    double q[6] = {-1.5, -2.5, -3.5, -4.5, -5.5, -6.5};
    int region = -7;
    std::printf("%s %d %d", what, pair, metastable ? 1 : 0);
    printHex(x1);
    printHex(x2);
    if (callerFlag) raiseCallerFlag();
    try {
        numerics::StateFromPair(pair, wantP, wantV, x1, x2, wantS, wantI, metastable, q[0], q[1],
                                q[2], q[3], q[4], q[5], region);
        std::printf(" %d", region);
        for (double value : q)
            printHex(value);
    } catch (const NumericFault&) {
        std::printf(" fault");
    }
    if (callerFlag) std::printf(" flag %d", std::fetestexcept(FE_INVALID) ? 1 : 0);
    std::feclearexcept(FE_ALL_EXCEPT);
    std::printf("\n");
}

void propertyLine(const char* what, double (*fn)(int, bool, double, double), int pair,
                  bool metastable, double x1, double x2, bool callerFlag) {
    std::printf("%s %d %d", what, pair, metastable ? 1 : 0);
    printHex(x1);
    printHex(x2);
    if (callerFlag) raiseCallerFlag();
    try {
        printHex(fn(pair, metastable, x1, x2));
    } catch (const NumericFault&) {
        std::printf(" fault");
    }
    if (callerFlag) std::printf(" flag %d", std::fetestexcept(FE_INVALID) ? 1 : 0);
    std::feclearexcept(FE_ALL_EXCEPT);
    std::printf("\n");
}

void transportLine(double t, double v) {
    std::printf("transport");
    printHex(t);
    printHex(v);
    for (double (*fn)(double, double) : {numerics::ViscosityTV, numerics::ConductivityTV}) {
        try {
            printHex(fn(t, v));
        } catch (const NumericFault&) {
            std::printf(" fault");
        }
    }
    std::feclearexcept(FE_ALL_EXCEPT);
    std::printf("\n");
}

// The seed from (t, p) or (t, x); the given values themselves where the state is no state.
Seed seedOf(int pair, double a, double b) {
    Seed s{{a, b, 0, 0, 0, 0}};
    if (pair == 16) {
        s.q[1] = 0;
        s.q[5] = b;
    }
    int region = 0;
    try {
        numerics::StateFromPair(pair, true, true, a, b, true, true, false, s.q[0], s.q[1], s.q[2],
                                s.q[3], s.q[4], s.q[5], region);
    } catch (const NumericFault&) {
    }
    std::feclearexcept(FE_ALL_EXCEPT);
    return s;
}

std::vector<Seed> seeds() {
    std::vector<Seed> out;
    constexpr int n = 41;
    for (int a = 0; a < n; ++a)
        for (int b = 0; b < n; ++b) {
            const double t = -10 + 820.0 * a / (n - 1);
            const double p = std::pow(10.0, -3.5 + 5.6 * b / (n - 1));
            out.push_back(seedOf(12, t, p));
        }
    for (int a = 0; a < n; ++a)
        for (double x : {0.0, 0.001, 0.3, 0.5, 0.7, 0.999, 1.0})
            out.push_back(seedOf(16, 0.01 + 373.93 * a / (n - 1), x));
    return out;
}

} // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::string(argv[1]) == "--seeds") {
        for (const Seed& s : seeds()) {
            for (double value : s.q)
                std::printf("%a ", value);
            std::printf("\n");
        }
        return 0;
    }
    std::vector<Seed> given;
    Seed s{};
    while (std::scanf("%la %la %la %la %la %la", &s.q[0], &s.q[1], &s.q[2], &s.q[3], &s.q[4],
                      &s.q[5]) == 6)
        given.push_back(s);
    for (const Seed& s : given) {
        transportLine(s.q[0], s.q[2]);
        for (int pair : kPairs) {
            const int i = pair >= 12 ? pair / 10 - 1 : 0, j = pair >= 12 ? pair % 10 - 1 : 1;
            const double x1 = s.q[i], x2 = s.q[j];
            for (bool meta : {false, true}) {
                stateLine("full", pair, meta, x1, x2, true, true, true, true, false);
                stateLine("h", pair, meta, x1, x2, false, false, false, true, false);
                stateLine("vs", pair, meta, x1, x2, false, true, true, false, false);
                stateLine("full-flagged", pair, meta, x1, x2, true, true, true, true, true);
                propertyLine("cp", numerics::IsobaricHeatCapacity, pair, meta, x1, x2, false);
                propertyLine("cv", numerics::IsochoricHeatCapacity, pair, meta, x1, x2, false);
                propertyLine("kappa", numerics::IsentropicExponent, pair, meta, x1, x2, false);
                propertyLine("w", numerics::SpeedOfSound, pair, meta, x1, x2, false);
                propertyLine("cp-flagged", numerics::IsobaricHeatCapacity, pair, meta, x1, x2,
                             true);
            }
        }
    }
    return 0;
}
