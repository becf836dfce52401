#pragma once
// Image comparison with a one-pixel tolerance: a pixel matches when the other image holds a
// pixel of nearly the same colour at the same place or next to it. Edges that land one pixel
// apart after rounding match; missing, extra or misplaced drawing does not.

#include <QImage>

#include <algorithm>
#include <cstdlib>

namespace testsupport {

inline bool nearColour(QRgb a, QRgb b, int tolerance) {
    return std::abs(qRed(a) - qRed(b)) <= tolerance &&
           std::abs(qGreen(a) - qGreen(b)) <= tolerance &&
           std::abs(qBlue(a) - qBlue(b)) <= tolerance;
}

// Pixels of `a` that have no counterpart in `b` within one pixel.
inline int unmatchedPixels(const QImage& a, const QImage& b, int tolerance = 96) {
    const QImage x = a.convertToFormat(QImage::Format_RGB32);
    const QImage y = b.convertToFormat(QImage::Format_RGB32);
    int unmatched = 0;
    for (int row = 0; row < x.height(); ++row) {
        for (int col = 0; col < x.width(); ++col) {
            const QRgb pixel = x.pixel(col, row);
            bool found = false;
            for (int dy = -1; dy <= 1 && !found; ++dy) {
                for (int dx = -1; dx <= 1 && !found; ++dx) {
                    const int r = row + dy, c = col + dx;
                    if (r < 0 || c < 0 || r >= y.height() || c >= y.width()) continue;
                    found = nearColour(pixel, y.pixel(c, r), tolerance);
                }
            }
            if (!found) ++unmatched;
        }
    }
    return unmatched;
}

// The larger of the two directions, so that drawing missing from either side counts.
inline int differingPixels(const QImage& a, const QImage& b, int tolerance = 96) {
    return std::max(unmatchedPixels(a, b, tolerance), unmatchedPixels(b, a, tolerance));
}

} // namespace testsupport
