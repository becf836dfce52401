#pragma once
// What the Print command hands to the report: the fifteen parameters, the six item names, the
// number of records and each record's six value texts, and the record steps of a report run.
// Widget-free: it reads the calculator's state only.

#include "app/AppState.h"

#include <QStringList>

namespace print_records {

// Record steps and their answers, as the report component numbers them.
enum StepDir { sdFirst = 0, sdPrior = 1, sdNext = 2, sdLast = 3 };
enum StepResult { srOk = 0, srBof = 1, srEof = 2 };

// Row names of places 1..6, their units, then title, subtitle and record caption, all in the
// state's language.
QStringList parameters(const AppState& state);
// "Vel1".."Vel6", the values in place order, then "Bod", the point's number.
QStringList itemNames();
// On the Calculation page 1 when it shows a computed state, else 0; elsewhere the number of
// printed rows of the Points table: the computed ones and those given something the library
// did not compute.
int recordCount(const AppState& state);
// Record `record` (from 1): its six values in place order, in fixed notation with each
// quantity's decimals and the decimal separator, then its point number. The computed state of
// the Calculation page (point 1), else the record-th printed row of the Points table under its
// row number as the page shows it. Seven empty texts when there is no such state or row.
// - The two inputs are the values the state was computed with: with more decimals when the
//   value needs them to read back (0.0035 typed for a quantity of 3 decimals prints 0.0035).
// - A Points row the library did not compute (unreadable or negative input, out of range, a
//   fault) prints the pair it was given (a number in the page's notation, any other text as
//   typed) and leaves the computed cells empty, never zeros.
QStringList recordValues(const AppState& state, int record);
// The text of an input value: the fewest decimals, at least `decimals`, that read back as the
// value; `decimals` when no text of the page's precision does.
QString inputText(double value, int decimals, QChar separator);
// Moves state.CurrentRecord within 1..state.RecordCount and answers as the report expects.
int step(AppState& state, int dir);

} // namespace print_records
