#pragma once
// The window's language-dependent texts, Czech (language 0) and English (language 1).
// Quantities are numbered 1 t, 2 p, 3 v, 4 s, 5 h, 6 x; menu tags 1..6; derived rows 1..6;
// region codes 1..11. Indexes outside a table give an empty text.

#include <QString>
#include <QStringList>

namespace texts {

inline constexpr int Czech = 0;
inline constexpr int English = 1;

QString MenuCaption(int language, int tag);
QString InputLabel(int language, int quantity);
QString RowName(int language, int quantity);
QString QuantityUnit(int quantity);
// Two lines separated by "\n" (the Czech head of x has one line).
QString ColumnHead(int language, int quantity);
QString DerivedName(int language, int row);
QString DerivedUnit(int row);
// Index 0..11.
QString PageText(int language, int index);
QString RegionName(int language, int regionCode);
QString MetastableCaption(int language, bool preferred);

// Decimals of the derived rows and of the Functions page's supplementary results, index 0..9.
int FixedDecimals(int index);
// Decimals of derived row 1..6 of the Calculation page.
int DerivedDecimals(int row);

// Functions page. Groups 1..5; the function lists of groups 1..4 are the same in both
// languages, in code order (item i is code 100 g + i); group 5 lists codes 500..509.
QString FunctionGroup(int language, int group);
QStringList FunctionNames(int language, int group);
// Result label and unit of supplementary function 500 + index, index 0..9.
QString ResultLabel(int language, int index);
QString ResultUnit(int index);
// Input labels of the chained functions: 0..2 for code 508, 3..5 for code 509.
QString ChainInputLabel(int language, int index);

// The definition ranges, six lines; the same in both languages.
QString RangesText();

// Texts the window shows in both languages alike.
QString RotateHint();
QString ConfigReadError(); // followed by the file's path; always Czech

} // namespace texts
