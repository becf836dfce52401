#pragma once
// Text measuring from unhinted font data: every face is measured once at a large reference
// size and the numbers are scaled linearly, so widths depend neither on the screen nor on the
// size's rounding, and twice the height gives exactly twice the width.

#include "platform/TCanvas.h"

#include <QRawFont>

namespace platform {

// Advance of each UTF-16 unit of `text` for a font of em height `height` (device units).
// The low half of a surrogate pair advances 0; the pair's width is on its high half.
QVector<double> measureAdvances(const TFont& font, double height, const QString& text);

// Metrics of a font of em height `height` (device units).
TTextMetrics measureMetrics(const TFont& font, double height);

// The Qt font for drawing `font` at em height `pixelHeight` on a device of `deviceDpi`
// (Qt sizes fonts in points against the device's resolution).
QFont toQFont(const TFont& font, double pixelHeight, double deviceDpi);

// The face of `font` at em height `pixelHeight`, for drawing positioned glyphs; invalid when
// the face cannot be loaded.
QRawFont rawFontFor(const TFont& font, double pixelHeight);

} // namespace platform
