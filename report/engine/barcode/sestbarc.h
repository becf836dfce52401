#pragma once
// The barcode painter: 20 linear symbologies encoded into a pattern string (one character per
// bar or space), with their check characters, drawn at a module width and wide-to-narrow ratio
// and turned by any angle.
//
// The painter keeps library-wide state between symbols (angle, ratio, module, options, the
// current text and the four element widths): the ratio clamp of "2/5 matrix" persists, and a
// module outside 1..49 keeps the previous one. Calls must not overlap.

#include "platform/TCanvas.h"

#include <QString>
#include <QStringList>

namespace report {

// Bar-code types, as stored in a template element (its pen style).
enum BarcodeType {
    bcInterleaved25 = 0,
    bcIndustrial25 = 1,
    bcMatrix25 = 2,
    bcCode39 = 3,
    bcCode39Full = 4,
    bcCode128A = 5,
    bcCode128B = 6,
    bcCode128C = 7,
    bcCode93 = 8,
    bcCode93Full = 9,
    bcMsi = 10,
    bcPostNet = 11,
    bcCodabar = 12,
    bcEan8 = 13,
    bcEan13 = 14,
    bcUpcA = 15,
    bcUpcE0 = 16,
    bcUpcE1 = 17,
    bcUpcSupp2 = 18,
    bcUpcSupp5 = 19,
};
constexpr int BarcodeTypeCount = 20;

// Appends the 20 symbology names in type order.
void FillBarcodeTypes(QStringList& list);
// Appends the 13 module texts "0,50" .. "2,00"; choice i is stored as module code i + 4.
void FillBarcodeModules(QStringList& list);

// Element widths in device pixels: narrow, wide, 1.5 x wide, 2 x wide.
struct BarcodeWidths {
    int w1 = 1;
    int w2 = 2;
    int w3 = 3;
    int w4 = 4;
};

// A symbol before drawing. Pattern characters: '0'..'3' spaces of width w1..w4, '5'..'8' bars
// of full height, 'A'..'D' short bars (two fifths of the height, hanging from the top).
struct BarcodeSymbol {
    QString pattern;
    QString shownText; // what the show-text option writes
};

// Draws `text` as symbology `type` into `rect` (device units of the canvas): bars as high as
// the rectangle, laid from its left edge at `module` device units per narrow element (kept
// from the previous symbol when outside 1..49), turned by `angle` degrees counterclockwise
// about the top-left corner. `showText` writes the shown text unrotated at that corner. The
// canvas's pen, brush, font and text settings are kept. A type outside 0..19 draws nothing.
void DrawBarcode(platform::TCanvas& canvas, const platform::TRect& rect, int type, int module,
                 int angle, bool checkDigit, bool showText, const QString& text);

// Encodes `text` as symbology `type` and updates the painter state (type, option, module when
// in 1..49, the clamped ratio and the widths), as drawing does. A type outside 0..19 gives an
// empty symbol and leaves the state alone. Any text is accepted: characters a symbology cannot
// hold are replaced, skipped or dropped as that symbology does.
BarcodeSymbol EncodeBarcode(int type, int module, bool checkDigit, const QString& text);

// The painter's current element widths and ratio.
BarcodeWidths CurrentBarcodeWidths();
double CurrentBarcodeRatio();

// Back to the state at program start: angle 0, ratio 2.0, module 1, "EAN 13", options off.
void ResetBarcodePainter();

// Width of one pattern character at `widths`; 0 for a character that is no element.
int BarcodeElementWidth(QChar element, const BarcodeWidths& widths);
bool IsBarcodeBar(QChar element);      // full or short bar
bool IsBarcodeShortBar(QChar element); // 'A'..'D'

// The barcode of a template element, whose module code is its module choice + 4, on an output
// of `scale`: the module in device pixels is trunc(moduleCode * scale / 6).
void DrawBarcodeScaled(platform::TCanvas& canvas, const platform::TRect& rect, int type,
                       int moduleCode, int angle, bool checkDigit, bool showText,
                       const QString& text, double scale);

} // namespace report
