#pragma once
// Property functions by number, as the Functions page offers them. A code is 100 x group +
// item index: group 1 the saturation line (one input), 2 wet steam, 3 general functions,
// 4 metastable vapour (two inputs each), 5 supplementary functions 500..509. Codes 216..221
// give the dryness from the pairs (p, h), (p, s), (t, s), (t, v), (v, h), (v, s); no list
// offers them.
//
// Inputs in the order of the function's name (e.g. "S_PV": X1 = p, X2 = v; code 508: p1, h1,
// p2; code 509: p1, t1, p2), in the library's units: t °C, p MPa, v m3/kg, s kJ/(kg K),
// h kJ/kg. Inputs a function does not take are ignored.

#include "app/LibraryBinding.h"

// What a function gives for its inputs: its value, or the reason it gives none.
struct FunctionResult {
    enum Status {
        Computed,    // `value` is the function's
        NotDefined,  // the state has no such property (the library's 0: the isentropic exponent
                     // of compressed water, the speed of sound of wet steam up to 350 °C)
        OutOfRange,  // the library gives no state for the inputs (region code 9), or fails
        Unavailable, // a code, or a pair of inputs, that the library does not take
    };
    Status status = Unavailable;
    double value = 0; // 0 unless Computed
};

// Function `FunctionCode` of the inputs. Nothing is thrown: a NumericFault of the library or a
// non-finite value is OutOfRange. A function whose state the library rejects (region codes 9
// to 11) gives no value, also the dryness and moisture (codes 500, 501); so do the transport
// functions (502, 503) there, which then call no transport routine, and the heat drop (508)
// with its end state out of range, also where p1 <= p2 gives no drop.
FunctionResult EvaluateFunction(const PropertyLibrary& library, int FunctionCode, double X1,
                                double X2, double X3);
