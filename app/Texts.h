#pragma once
// The window's language-dependent texts, Czech (language 0) and English (language 1).
// Quantities are numbered 1 t, 2 p, 3 v, 4 s, 5 h, 6 x; menu tags 1..6; derived rows 1..6;
// region codes 1..11. Indexes outside a table give an empty text.

#include <QString>
#include <QStringList>

namespace texts {

inline constexpr int Czech = 0;
inline constexpr int English = 1;

QString menuCaption(int language, int tag);
QString inputLabel(int language, int quantity);
QString rowName(int language, int quantity);
QString quantityUnit(int quantity);
// Two lines separated by "\n" (the Czech head of x has one line).
QString columnHead(int language, int quantity);
QString derivedName(int language, int row);
QString derivedUnit(int row);
// Index 0..11.
QString pageText(int language, int index);
QString regionName(int language, int regionCode);
QString metastableCaption(int language, bool preferred);

// Decimals of the derived rows and of the Functions page's supplementary results, index 0..9.
int fixedDecimals(int index);
// Decimals of derived row 1..6 of the Calculation page.
int derivedDecimals(int row);

// Functions page. Groups 1..5; the function lists of groups 1..4 are the same in both
// languages, in code order (item i is code 100 g + i); group 5 lists codes 500..509.
QString functionGroup(int language, int group);
QStringList functionNames(int language, int group);
// Result label and unit of supplementary function 500 + index, index 0..9.
QString resultLabel(int language, int index);
QString resultUnit(int index);
// Input labels of the chained functions: 0..2 for code 508, 3..5 for code 509.
QString chainInputLabel(int language, int index);

// The definition ranges, six lines, with `separator` as the decimal separator; the same in both
// languages.
QString rangesText(QChar separator);
// Why a decimal-places box refused a digit: its range is `least`..`most`.
QString decimalsRange(int language, int least, int most);

// Texts the window shows in both languages alike.
QString rotateHint();
QString configReadError(); // followed by the file's path; always Czech

// Followed by the file's path: kolv.cfg could not be written at exit.
QString configWriteError(int language);
// Print with no computed state or point.
QString nothingToPrint(int language);

} // namespace texts
