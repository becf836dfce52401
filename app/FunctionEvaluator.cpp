#include "app/FunctionEvaluator.h"

#include "numerics/NumericFault.h"
#include "numerics/Vocabulary.h"

#include <array>
#include <cmath>
#include <optional>

namespace {

using numerics::Quantity;
using enum numerics::Quantity;
namespace pc = numerics::PairCode;
namespace rc = numerics::RegionCode;

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
    {100, pc::PX, None, T, 0.0},
    {101, pc::TX, WantP, P, 0.0},
    {102, pc::TX, WantV, V, 0.0},
    {103, pc::TX, WantV, V, 1.0},
    {104, pc::TX, WantI, I, 0.0},
    {105, pc::TX, WantI, I, 1.0},
    {106, pc::TX, WantS, S, 0.0},
    {107, pc::TX, WantS, S, 1.0},
    // Wet steam.
    {200, pc::TX, WantP, P},
    {201, pc::PX, None, T},
    {202, pc::PX, WantV, V},
    {203, pc::TX, WantV, V},
    {204, pc::PX, WantI, I},
    {205, pc::TX, WantI, I},
    {206, pc::PX, WantS, S},
    {207, pc::TX, WantS, S},
    {208, pc::TI, WantP, P},
    {209, pc::TI, WantV, V},
    {210, pc::TI, WantS, S},
    {211, pc::TI, None, X},
    {212, pc::PV, None, T},
    {213, pc::PV, WantS, S},
    {214, pc::PV, WantI, I},
    {215, pc::PV, None, X},
    // Dryness from other pairs, listed nowhere.
    {216, pc::PI, None, X},
    {217, pc::PS, None, X},
    {218, pc::TS, None, X},
    {219, pc::TV, None, X},
    {220, pc::VI, None, X},
    {221, pc::VS, None, X},
    // General functions.
    {300, pc::PI, None, T},
    {301, pc::PS, None, T},
    {302, pc::VI, None, T},
    {303, pc::VS, None, T},
    {304, pc::TS, WantP, P},
    {305, pc::TV, WantP, P},
    {306, pc::VI, WantP, P},
    {307, pc::VS, WantP, P},
    {308, pc::PI, WantV, V},
    {309, pc::PS, WantV, V},
    {310, pc::TP, WantV, V},
    {311, pc::TS, WantV, V},
    {312, pc::PI, WantS, S},
    {313, pc::TP, WantS, S},
    {314, pc::TV, WantS, S},
    {315, pc::VI, WantS, S},
    {316, pc::PS, WantI, I},
    {317, pc::TP, WantI, I},
    {318, pc::TS, WantI, I},
    {319, pc::TV, WantI, I},
    {320, pc::VS, WantI, I},
    // Metastable vapour.
    {400, pc::PS, WantI | Metastable, I},
    {401, pc::TP, WantI | Metastable, I},
    {402, pc::PI, WantS | Metastable, S},
    {403, pc::TP, WantS | Metastable, S},
    {404, pc::PI, Metastable, T},
    {405, pc::PS, Metastable, T},
    {406, pc::PI, WantV | Metastable, V},
    {407, pc::TP, WantV | Metastable, V},
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
    st.q[numerics::at(numerics::firstOf(pair))] = x1;
    st.q[numerics::at(numerics::secondOf(pair))] = x2;
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
    const State st = complete(lib, pc::PI, None, p, h);
    switch (st.region) {
    case rc::Water:
        return 0.0;
    case rc::Steam:
    case rc::Critical:
    case rc::Metastable:
        return 1.0;
    case rc::WetHigh:
    case rc::WetLow:
        return st.q[numerics::at(X)];
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
        const State st = complete(lib, pc::TP, WantV, x1, x2);
        return code == 502 ? lib.ViscosityTV(st.q[numerics::at(T)], st.q[numerics::at(V)])
                           : lib.ConductivityTV(st.q[numerics::at(T)], st.q[numerics::at(V)]);
    }
    case 504:
        return lib.IsobaricHeatCapacity(pc::TP, false, x1, x2);
    case 505:
        return lib.IsochoricHeatCapacity(pc::TP, false, x1, x2);
    case 506:
        return lib.IsentropicExponent(pc::TP, false, x1, x2);
    case 507:
        return lib.SpeedOfSound(pc::TP, false, x1, x2);
    case 508: {
        // Isentropic expansion from (p1, h1) down to p2.
        if (!(x1 > x3)) return 0.0;
        const State start = complete(lib, pc::PI, WantS, x1, x2);
        const State end = complete(lib, pc::PS, WantI, x3, start.q[numerics::at(S)]);
        const double drop = start.q[numerics::at(I)] - end.q[numerics::at(I)];
        return drop >= 0 ? drop : 0.0;
    }
    case 509: {
        // Isentropic compression from (t1, p1) to p2.
        const State start = complete(lib, pc::TP, WantS | WantI, x2, x1);
        const State end = complete(lib, pc::PS, WantI, x3, start.q[numerics::at(S)]);
        const double rise = end.q[numerics::at(I)] - start.q[numerics::at(I)];
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
            result = complete(library, f->pair, f->flags, X1, second).q[numerics::at(f->result)];
        } else if (FunctionCode >= 500 && FunctionCode <= 509) {
            result = supplementary(library, FunctionCode, X1, X2, X3);
        }
    } catch (const numerics::NumericFault&) {
        return -1.0;
    }
    return std::isfinite(result) ? result : -1.0;
}
