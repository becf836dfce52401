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

// The value of function `FunctionCode`. Gives -1.0 for a code it does not know and for any
// failure inside (a NumericFault of the library or a non-finite value); nothing is thrown.
// A state the library rejects (region codes 9..11) gives the library's values for it, so
// usually 0; only codes 500 and 501 map region codes to -1.0.
double EvaluateFunction(const PropertyLibrary& library, int FunctionCode, double X1, double X2,
                        double X3);
