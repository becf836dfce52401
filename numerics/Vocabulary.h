#pragma once
// The words the property library and its callers share: the six quantities, the pair codes
// that name two given quantities and the region codes of a completed state.
//
// Letter scheme. The quantities are T temperature [°C], P pressure [MPa], V specific volume
// [m3/kg], S specific entropy [kJ/(kg K)], I specific enthalpy [kJ/kg] (the older letter i of
// the steam tables) and X dryness [1], numbered 1..6 in that order. A pair code is 10 i + j
// for the given quantities i < j, so PairCode::PI = 25 is (p, h). Function names read
// result_inputs: "T_PI" is t from p and h. "12" marks the saturated liquid and "23" the
// saturated vapour ("V12_T" is v' at t, "V23_T" is v''); "ms" marks metastable vapour
// ("Ims_PS" is h of metastable vapour from p and s).

#include <algorithm>
#include <cstddef>

namespace numerics {

enum class Quantity : int { T = 1, P, V, S, I, X };

inline constexpr int kQuantityCount = 6;

// The index 1..6 of a quantity, for arrays indexed by quantity (element 0 unused).
constexpr std::size_t at(Quantity q) {
    return static_cast<std::size_t>(q);
}
constexpr Quantity quantityAt(int index) {
    return static_cast<Quantity>(index);
}

// The letters of the quantities in function names, by index 1..6.
inline constexpr char kQuantityLetters[] = "TPVSIX";
constexpr char letterOf(Quantity q) {
    return kQuantityLetters[static_cast<int>(q) - 1];
}

// The pair code of two different quantities, in either order.
constexpr int pairOf(Quantity a, Quantity b) {
    const int i = static_cast<int>(a), j = static_cast<int>(b);
    return 10 * std::min(i, j) + std::max(i, j);
}
constexpr Quantity firstOf(int pairCode) {
    return quantityAt(pairCode / 10);
}
constexpr Quantity secondOf(int pairCode) {
    return quantityAt(pairCode % 10);
}

namespace PairCode {
inline constexpr int TP = 12, TV = 13, TS = 14, TI = 15, TX = 16;
inline constexpr int PV = 23, PS = 24, PI = 25, PX = 26;
inline constexpr int VS = 34, VI = 35, VX = 36;
inline constexpr int SI = 45, SX = 46, IX = 56;
} // namespace PairCode

namespace RegionCode {
inline constexpr int None = 0;               // nothing computed
inline constexpr int Water = 1;              // compressed water
inline constexpr int Steam = 2;              // superheated steam
inline constexpr int Critical = 3;           // critical region
inline constexpr int OutOfRangeReserved = 4; // never produced
inline constexpr int WetHigh = 5;            // wet steam above 350 °C
inline constexpr int WetLow = 6;             // wet steam up to 350 °C
inline constexpr int SaturationReserved = 7; // never produced
inline constexpr int Metastable = 8;         // metastable vapour (only when allowed)
inline constexpr int OutOfRange = 9;         // the given values lie outside the range
inline constexpr int Unsupported = 10;       // pairs 36 and 45
inline constexpr int UnknownPair = 11;       // any other pair code
inline constexpr int Last = UnknownPair;
} // namespace RegionCode

} // namespace numerics
