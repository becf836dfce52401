#pragma once
// The calculator's report as the Print command sets it up before every run. The template
// designer sestedit sets it up the same way, so that what it offers is what Print fills in.

#include "app/AppState.h"

namespace report {
class TSestavaTyp;
}

// The fifteen parameters, the items "Vel1".."Vel6" with the row names of places 1..6 as their
// labels and the item "Bod" (the point's number) with the record caption, all in the state's
// language.
void setUpPrintReport(report::TSestavaTyp& report, const AppState& state);
