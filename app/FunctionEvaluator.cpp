#include "app/FunctionEvaluator.h"

#include "numerics/FaultScope.h"

#include <array>
#include <cmath>
#include <optional>

namespace {

// Quantities 1 t, 2 p, 3 v, 4 s, 5 h, 6 x.
enum Quantity { T = 1, P, V, S, I, X };

enum Flag : unsigned { None = 0, WantP = 1, WantV = 2, WantS = 4, WantI = 8, Metastable = 16 };

// One StateFromPair call. The inputs are X1, X2 in the order of the pair code; a function of
// group 1 takes one input and passes the fixed dryness `fixedX` as the second.
struct StateFunction {
    int code;
    int pair;
    unsigned flags;
    Quantity result;
    std::optional<double> fixedX = std::nullopt;
};

constexpr StateFunction kStateFunctions[] = {
    // Saturation line.
    {100, 26, None, T, 0.0},
    {101, 16, WantP, P, 0.0},
    {102, 16, WantV, V, 0.0},
    {103, 16, WantV, V, 1.0},
    {104, 16, WantI, I, 0.0},
    {105, 16, WantI, I, 1.0},
    {106, 16, WantS, S, 0.0},
    {107, 16, WantS, S, 1.0},
    // Wet steam.
    {200, 16, WantP, P},
    {201, 26, None, T},
    {202, 26, WantV, V},
    {203, 16, WantV, V},
    {204, 26, WantI, I},
    {205, 16, WantI, I},
    {206, 26, WantS, S},
    {207, 16, WantS, S},
    {208, 15, WantP, P},
    {209, 15, WantV, V},
    {210, 15, WantS, S},
    {211, 15, None, X},
    {212, 23, None, T},
    {213, 23, WantS, S},
    {214, 23, WantI, I},
    {215, 23, None, X},
    // Dryness from other pairs, listed nowhere.
    {216, 25, None, X},
    {217, 24, None, X},
    {218, 14, None, X},
    {219, 13, None, X},
    {220, 35, None, X},
    {221, 34, None, X},
    // General functions.
    {300, 25, None, T},
    {301, 24, None, T},
    {302, 35, None, T},
    {303, 34, None, T},
    {304, 14, WantP, P},
    {305, 13, WantP, P},
    {306, 35, WantP, P},
    {307, 34, WantP, P},
    {308, 25, WantV, V},
    {309, 24, WantV, V},
    {310, 12, WantV, V},
    {311, 14, WantV, V},
    {312, 25, WantS, S},
    {313, 12, WantS, S},
    {314, 13, WantS, S},
    {315, 35, WantS, S},
    {316, 24, WantI, I},
    {317, 12, WantI, I},
    {318, 14, WantI, I},
    {319, 13, WantI, I},
    {320, 34, WantI, I},
    // Metastable vapour.
    {400, 24, WantI | Metastable, I},
    {401, 12, WantI | Metastable, I},
    {402, 25, WantS | Metastable, S},
    {403, 12, WantS | Metastable, S},
    {404, 25, Metastable, T},
    {405, 24, Metastable, T},
    {406, 25, WantV | Metastable, V},
    {407, 12, WantV | Metastable, V},
};

// A completed state, t..x at 1..6, and its region code.
struct State {
    std::array<double, 7> q{};
    int region = 0;
};

// One call of StateFromPair. Every output starts at 0 and the given quantities at their values,
// so an output the library leaves alone never carries anything stale or uninitialised.
State complete(const PropertyLibrary& lib, int pair, unsigned flags, double x1, double x2) {
    State st;
    st.q[static_cast<std::size_t>(pair / 10)] = x1;
    st.q[static_cast<std::size_t>(pair % 10)] = x2;
    auto& q = st.q;
    lib.StateFromPair(pair, flags & WantP, flags & WantV, x1, x2, flags & WantS, flags & WantI,
                      flags & Metastable, q[1], q[2], q[3], q[4], q[5], q[6], st.region);
    return st;
}

const StateFunction* findStateFunction(int code) {
    for (const StateFunction& f : kStateFunctions)
        if (f.code == code) return &f;
    return nullptr;
}

// Dryness of (p, h) by region: water 0, steam, critical and metastable vapour 1, wet steam its
// x; anything else -1.
double dryness(const PropertyLibrary& lib, double p, double h) {
    const State st = complete(lib, 25, None, p, h);
    switch (st.region) {
    case 1:
        return 0.0;
    case 2:
    case 3:
    case 8:
        return 1.0;
    case 5:
    case 6:
        return st.q[X];
    default:
        return -1.0;
    }
}

double supplementary(const PropertyLibrary& lib, int code, double x1, double x2, double x3) {
    switch (code) {
    case 500:
        return dryness(lib, x1, x2);
    case 501: {
        const double x = dryness(lib, x1, x2);
        return x == -1.0 ? -1.0 : 1.0 - x;
    }
    case 502:
    case 503: {
        const State st = complete(lib, 12, WantV, x1, x2);
        return code == 502 ? lib.ViscosityTV(st.q[T], st.q[V])
                           : lib.ConductivityTV(st.q[T], st.q[V]);
    }
    case 504:
        return lib.IsobaricHeatCapacity(12, false, x1, x2);
    case 505:
        return lib.IsochoricHeatCapacity(12, false, x1, x2);
    case 506:
        return lib.IsentropicExponent(12, false, x1, x2);
    case 507:
        return lib.SpeedOfSound(12, false, x1, x2);
    case 508: {
        // Isentropic expansion from (p1, h1) down to p2.
        if (!(x1 > x3)) return 0.0;
        const State start = complete(lib, 25, WantS, x1, x2);
        const State end = complete(lib, 24, WantI, x3, start.q[S]);
        const double drop = start.q[I] - end.q[I];
        return drop >= 0 ? drop : 0.0;
    }
    case 509: {
        // Isentropic compression from (t1, p1) to p2.
        const State start = complete(lib, 12, WantS | WantI, x2, x1);
        const State end = complete(lib, 24, WantI, x3, start.q[S]);
        const double rise = end.q[I] - start.q[I];
        return rise >= 0 ? rise : 0.0;
    }
    default:
        return -1.0;
    }
}

} // namespace

double EvaluateFunction(const PropertyLibrary& library, int FunctionCode, double X1, double X2,
                        double X3) {
    double result = -1.0;
    try {
        if (const StateFunction* f = findStateFunction(FunctionCode)) {
            const double second = f->fixedX ? *f->fixedX : X2;
            result = complete(library, f->pair, f->flags, X1, second).q[f->result];
        } else if (FunctionCode >= 500 && FunctionCode <= 509) {
            result = supplementary(library, FunctionCode, X1, X2, X3);
        }
    } catch (const numerics::NumericFault&) {
        return -1.0;
    }
    return std::isfinite(result) ? result : -1.0;
}
