#pragma once
// The seven entry points of the property library as one replaceable set, so that the pages can
// run against a recording stand-in in tests. Signatures, units and failure behaviour are those
// of numerics/numerics.h.

#include "numerics/Vocabulary.h"

struct PropertyLibrary {
    void (*StateFromPair)(int PairCode, bool WantP, bool WantV, double X1, double X2, bool WantS,
                          bool WantI, bool Metastable, double& T, double& P, double& V, double& S,
                          double& I, double& X, int& RegionCode);
    double (*IsobaricHeatCapacity)(int PairCode, bool Metastable, double X1, double X2);
    double (*IsochoricHeatCapacity)(int PairCode, bool Metastable, double X1, double X2);
    double (*IsentropicExponent)(int PairCode, bool Metastable, double X1, double X2);
    double (*SpeedOfSound)(int PairCode, bool Metastable, double X1, double X2);
    double (*ViscosityTV)(double t, double v);
    double (*ConductivityTV)(double t, double v);
};

// Whether the library computes a state in `region`: not out of range, no pair it does not take,
// not nothing. In any other region its outputs are zeros, not a state.
constexpr bool isComputedRegion(int region) {
    using namespace numerics::RegionCode;
    return region == Water || region == Steam || region == Critical || region == WetHigh ||
           region == WetLow || region == Metastable;
}

// The entry points of numerics/numerics.h (target kolv_library_binding).
const PropertyLibrary& RealPropertyLibrary();
