#pragma once
// Small routines and tables shared by the report engine, its writers and the designer: the
// template palette and script table, font style bits, template fonts and the printer-resident
// "Roman" fonts, the zoom and font-size lists, rounding and grid snapping, the reader and
// writers of template-line fields, text shortening. It serves every folder of the engine and
// includes none of them: picture drawing is TPicture's, the scaled barcode sestbarc's, the
// template font on the printer's font list sestprn's.

#include "platform/TCanvas.h"

#include <QString>
#include <QStringList>

namespace report {

// The 16 template colours (0xBBGGRR); an index outside 0..15 gives black.
platform::TColor IndexToColor(int index);
// The last palette index holding `colour`; 0 when none does.
int ColorToIndex(platform::TColor colour);

// Template script index 0..7 <-> charset: ANSI 0, Greek 161, Turkish 162, Baltic 186,
// Eastern European 238, Cyrillic 204, Symbol 2, Default 1.
int CharsetToIndex(int charset); // 7 for a charset not in the table
int IndexToCharset(int index);   // 1 for an index outside 0..7

// Font style bits of templates: bold 1, italic 2, underline 4, strike-out 8.
int FontStyleToBits(const platform::TFont& font);
void BitsToFontStyle(platform::TFont& font, int bits);

// Printer-resident pitch fonts: "Roman 10cpi", "Roman 12cpi", "Roman 17cpi" (any name that
// begins with "Roman "; the two characters after it are the pitch).
bool IsRomanFont(const QString& name);
// Points of a Roman font by pitch (12 gives 10, 17 gives 8, any other 11); else the font's.
double RomanFontSize(const platform::TFont& font);
// 1/100 inch per character of a Roman font (100 / pitch, pitch 10 when not a positive
// number); `width` for any other name.
double RomanCharWidth(const QString& name, double width);
// 1/6 inch for a Roman font; `height` for any other name.
double RomanLineHeight(const QString& name, double height);
// A Roman font becomes fixed-pitch "Courier New" at its size, Central European script.
void MapRomanFont(platform::TFont& font);

// A template font. `printerFonts` is the printer font list: a name not in it (compared
// without case) loses a script suffix " CE", " Greek", " TUR", " Baltic" or " CYR", which
// then sets the charset. A positive size is points, a negative one a height in 1/100 inch, 0
// the default 10 points. A colour index outside 0..15 gives black.
void SetTemplateFont(platform::TFont& font, const QString& name, int size, int charset,
                     int styleBits, int colorIndex, const QStringList& printerFonts);

// Append "32 %" .. "300 %" (11 texts) and the 16 font sizes "8" .. "72".
void FillZoomList(QStringList& list);
void FillFontSizeList(QStringList& list);
// The zoom factor of step i (0..10).
double ZoomFactor(int step);
// The zoom step nearest to `percent`: 0..10.
int NearestZoomStep(int percent);

// value / step rounded, times step, rounded to an integer; ties to even. A step of 0 (or a
// non-finite result) leaves the value rounded.
int SnapToGrid(double value, double step);
// round(a * b) and round(a / b), ties to even, clamped to the range of int; a result that is
// not a number (b = 0 in UnscaleRound, or infinities) gives 0.
int ScaleRound(double a, double b);
int UnscaleRound(double a, double b);
// The farthest a position or a size on a page can matter, in 1/100 inch (655 inches, beyond
// any paper). Templates (and pastes) may hold anything up to the ends of int; the outputs take
// such values at this reach before any arithmetic, so that nothing they scale or add overflows.
constexpr int kPageReach = 1 << 16;
int WithinPageReach(double value); // clamped to -kPageReach..kPageReach and rounded
// -1 when b > a, 0 when equal, 1 otherwise.
int CompareInt(int a, int b);

// Template-line fields. A quoted field is written as '"' + QuoteText(text) + '"'; a bare field
// is written as it stands unless it holds a comma or a double quote, and is then quoted.
// NextField reads back both exactly.
QString QuoteText(const QString& text);   // every double quote doubled
QString QuotedField(const QString& text); // in quotes, quotes doubled
QString BareField(const QString& text);   // as it stands, or quoted when it must be

// Takes the next field off the front of `line`, with its comma. A field starting with a double
// quote runs to the closing quote (two quotes inside stand for one), and what follows the
// closing quote up to the comma is appended; an unterminated quote runs to the end of the
// line. Any other field runs to the first comma. An empty line gives an empty field.
QString NextField(QString& line);
// The next field as a decimal integer; `fallback` when it is empty, not a number or beyond int.
int NextFieldInt(QString& line, int fallback);
bool NextFieldBool(QString& line, bool fallback);

// The folder with one "/" at its end.
QString AddTrailingBackslash(const QString& folder);

// `text` shortened from its end until it is at most `width` (1/100 inch) wide in `font`; ""
// for a width of 0 or less.
QString FitTextToWidth(const QString& text, const platform::TFont& font, int width);

// "Verze 5.40.17 ze dne 09.04.2002".
QString GetLibraryVersion();

} // namespace report
