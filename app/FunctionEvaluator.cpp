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

FunctionResult computed(double value) {
    if (!std::isfinite(value)) return {FunctionResult::OutOfRange};
    return {FunctionResult::Computed, value};
}

// Why a state of `region`, which the library does not compute, has no value.
FunctionResult refused(int region) {
    const bool unavailable = region == rc::Unsupported || region == rc::UnknownPair;
    return {unavailable ? FunctionResult::Unavailable : FunctionResult::OutOfRange};
}

// Dryness of (p, h) by region: water 0, steam, critical and metastable vapour 1, wet steam its
// x.
FunctionResult dryness(const PropertyLibrary& lib, double p, double h) {
    const State st = complete(lib, pc::PI, None, p, h);
    switch (st.region) {
    case rc::Water:
        return computed(0.0);
    case rc::Steam:
    case rc::Critical:
    case rc::Metastable:
        return computed(1.0);
    case rc::WetHigh:
    case rc::WetLow:
        return computed(st.q[numerics::at(X)]);
    default:
        return refused(st.region);
    }
}

// A property of the state (t, p) by one of the library's derived-property routines. Their 0
// means no value: the state's region has none, or there is no state, which the state's region
// tells apart.
FunctionResult propertyOfState(const PropertyLibrary& lib,
                               double (*routine)(int, bool, double, double), double t, double p) {
    const double value = routine(pc::TP, false, t, p);
    if (value != 0) return computed(value);
    const State st = complete(lib, pc::TP, None, t, p);
    return isComputedRegion(st.region) ? FunctionResult{FunctionResult::NotDefined}
                                       : refused(st.region);
}

// The heat drop (h1 - h2) of the expansion from (p1, h1) down to p2, or the pump work
// (h2 - h1) of the compression from (t1, p1) up to p2, along s1; never negative. Both states
// must exist, also where p2 is not below p1 and so there is no drop.
FunctionResult isentropicChange(const PropertyLibrary& lib, int code, double p1, double given,
                                double p2) {
    const State start = code == 508 ? complete(lib, pc::PI, WantS, p1, given)
                                    : complete(lib, pc::TP, WantS | WantI, given, p1);
    if (!isComputedRegion(start.region)) return refused(start.region);
    const State end = complete(lib, pc::PS, WantI, p2, start.q[numerics::at(S)]);
    if (!isComputedRegion(end.region)) return refused(end.region);
    // No expansion without a pressure drop.
    if (code == 508 && !(p1 > p2)) return computed(0.0);
    const double h1 = start.q[numerics::at(I)];
    const double h2 = end.q[numerics::at(I)];
    const double change = code == 508 ? h1 - h2 : h2 - h1;
    return computed(change >= 0 ? change : 0.0);
}

FunctionResult supplementary(const PropertyLibrary& lib, int code, double x1, double x2,
                             double x3) {
    switch (code) {
    case 500:
        return dryness(lib, x1, x2);
    case 501: {
        const FunctionResult x = dryness(lib, x1, x2);
        return x.status == FunctionResult::Computed ? computed(1.0 - x.value) : x;
    }
    case 502:
    case 503: {
        const State st = complete(lib, pc::TP, WantV, x1, x2);
        if (!isComputedRegion(st.region)) return refused(st.region);
        const double t = st.q[numerics::at(T)];
        const double v = st.q[numerics::at(V)];
        return computed(code == 502 ? lib.ViscosityTV(t, v) : lib.ConductivityTV(t, v));
    }
    case 504:
        return propertyOfState(lib, lib.IsobaricHeatCapacity, x1, x2);
    case 505:
        return propertyOfState(lib, lib.IsochoricHeatCapacity, x1, x2);
    case 506:
        return propertyOfState(lib, lib.IsentropicExponent, x1, x2);
    case 507:
        return propertyOfState(lib, lib.SpeedOfSound, x1, x2);
    case 508:
    case 509:
        return isentropicChange(lib, code, x1, x2, x3);
    default:
        return {FunctionResult::Unavailable};
    }
}

} // namespace

FunctionResult EvaluateFunction(const PropertyLibrary& library, int FunctionCode, double X1,
                                double X2, double X3) {
    try {
        if (const StateFunction* f = findStateFunction(FunctionCode)) {
            const double second = f->fixedX ? *f->fixedX : X2;
            const State st = complete(library, f->pair, f->flags, X1, second);
            if (!isComputedRegion(st.region)) return refused(st.region);
            return computed(st.q[numerics::at(f->result)]);
        }
        return supplementary(library, FunctionCode, X1, X2, X3);
    } catch (const numerics::NumericFault&) {
        return {FunctionResult::OutOfRange};
    }
}
