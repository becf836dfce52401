#pragma once
// The drawing surface that every report element, barcode and page view draws on.
//
// Conventions (the same on every implementation):
// - Coordinates are integer device units of the canvas, x to the right, y down.
// - `TColor` is 0x00BBGGRR: red in the low byte.
// - `TRect` is left, top, right, bottom; right and bottom are outside the rectangle, so a
//   rectangle (0, 0, 10, 10) covers the device units 0..9 in both directions.
// - Pen width 0 is a cosmetic pen: the thinnest line of the device, whatever the scale.
// - Font escapement is in tenths of a degree, counterclockwise; the text turns about its
//   reference point.
// - Text is measured from unhinted font data scaled linearly to the font's height, never from
//   a screen or printer, so measuring gives the same numbers on every machine and at any
//   screen scale.

#include <QImage>
#include <QPolygon>
#include <QSizeF>
#include <QString>
#include <QVector>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <memory>
#include <vector>

namespace platform {

class Metafile;

using TColor = std::uint32_t;

// Converts between `TColor` and red, green, blue components.
constexpr TColor rgbColor(int red, int green, int blue) {
    return TColor(red & 0xFF) | TColor(green & 0xFF) << 8 | TColor(blue & 0xFF) << 16;
}
constexpr int redOf(TColor c) {
    return int(c & 0xFF);
}
constexpr int greenOf(TColor c) {
    return int(c >> 8 & 0xFF);
}
constexpr int blueOf(TColor c) {
    return int(c >> 16 & 0xFF);
}

// A 64-bit value as the nearest int.
constexpr int saturatedInt(std::int64_t v) {
    return int(std::clamp<std::int64_t>(v, INT_MIN, INT_MAX));
}

struct TRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    // Computed in 64 bits and saturated: a side wider than int holds is INT_MAX, no overflow.
    int width() const { return saturatedInt(std::int64_t(right) - left); }
    int height() const { return saturatedInt(std::int64_t(bottom) - top); }
    bool operator==(const TRect&) const = default;
};

enum PenStyle : int {
    psSolid = 0,
    psDash = 1,
    psDot = 2,
    psDashDot = 3,
    psDashDotDot = 4,
    psClear = 5,
    psInsideFrame = 6, // drawn as solid
};

enum BrushStyle : int {
    bsSolid = 0,
    bsClear = 1,
    bsHorizontal = 2,
    bsVertical = 3,
    bsFDiagonal = 4,
    bsBDiagonal = 5,
    bsCross = 6,
    bsDiagCross = 7,
};

struct TPen {
    TColor color = 0;
    int style = psSolid; // out-of-range styles draw as solid
    int width = 1;       // device units; 0 = cosmetic
    bool operator==(const TPen&) const = default;
};

struct TBrush {
    TColor color = 0xFFFFFF;
    int style = bsSolid; // out-of-range styles draw as solid
    bool operator==(const TBrush&) const = default;
};

// Windows character sets, as templates store them.
enum Charset : int { csAnsi = 0, csDefault = 1, csSymbol = 2, csEastEurope = 238 };

struct TFont {
    QString name = QStringLiteral("Arial");
    double size = 10;  // points; used when height is 0
    double height = 0; // em height in device units; 0 = size at the canvas's pixels per inch
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    int charset = csDefault;
    int escapement = 0; // tenths of a degree, counterclockwise
    TColor color = 0;   // text colour
    bool operator==(const TFont&) const = default;
};

// Where the reference point of `TextOut` lies on the text (one horizontal and one vertical
// flag, or-ed).
enum TextAlign : int {
    taLeft = 0,
    taRight = 2,
    taCenter = 6,
    taTop = 0,
    taBottom = 8,
    taBaseline = 24,
};

// Font metrics in device units (unrounded).
struct TTextMetrics {
    double ascent = 0;
    double descent = 0;
    double height = 0; // ascent + descent
    double internalLeading = 0;
    double externalLeading = 0;
    double avgCharWidth = 0;
    double maxCharWidth = 0;
};

class TCanvas {
public:
    virtual ~TCanvas() = default;

    // Font size in points converts to device units at this resolution.
    virtual double PixelsPerInch() const = 0;

    // Drawing state. Every primitive uses the state at the time of the call.
    void SetPen(const TPen& pen) { m_state.pen = pen; }
    void SetBrush(const TBrush& brush) { m_state.brush = brush; }
    void SetFont(const TFont& font) { m_state.font = font; }
    const TPen& Pen() const { return m_state.pen; }
    const TBrush& Brush() const { return m_state.brush; }
    const TFont& Font() const { return m_state.font; }
    // The current font with its height in device units filled in.
    TFont ResolvedFont() const;
    // Text is drawn transparent (the default) or on a background of `color`.
    void SetTextBackground(bool opaque, TColor color);
    bool TextOpaque() const { return m_state.textOpaque; }
    TColor TextBackground() const { return m_state.textBackground; }
    void SetTextAlign(int align) { m_state.textAlign = align; }
    int TextAlignment() const { return m_state.textAlign; }

    // Pushes the whole drawing state (pen, brush, font, text settings, pen position, clip);
    // `RestoreState` pops it. An unbalanced `RestoreState` does nothing.
    void SaveState();
    void RestoreState();
    // Narrows the clip to the rectangle until the matching `RestoreState`.
    virtual void IntersectClipRect(const TRect& rect) = 0;

    // Lines with the pen; `LineTo` moves the pen position.
    void MoveTo(int x, int y) { m_state.position = QPoint(x, y); }
    QPoint PenPos() const { return m_state.position; }
    virtual void LineTo(int x, int y) = 0;
    // Shapes are filled with the brush and outlined with the pen.
    virtual void Rectangle(const TRect& rect) = 0;
    // The corner ellipse is `cornerWidth` by `cornerHeight`.
    virtual void RoundRect(const TRect& rect, int cornerWidth, int cornerHeight) = 0;
    virtual void Ellipse(const TRect& rect) = 0;
    virtual void Polygon(const QPolygon& points) = 0;
    // Fills with the brush, no outline.
    virtual void FillRect(const TRect& rect) = 0;

    // Draws `text` at the reference point (x, y) placed by the text alignment, in the font's
    // colour, on the text background when it is opaque. `advances` holds one advance per
    // UTF-16 unit in device units (missing ones are measured); `clip` limits this text only.
    virtual void TextOut(int x, int y, const QString& text, const QVector<int>& advances = {},
                         const TRect* clip = nullptr) = 0;

    // Stretches the bitmap over the rectangle (nearest pixel, no smoothing). Opaque pixels
    // replace what is below; transparent ones (icons) let it show.
    virtual void StretchDraw(const TRect& rect, const QImage& image) = 0;
    // Replays the metafile stretched over the rectangle (its frame fills the rectangle).
    virtual void StretchDraw(const TRect& rect, const Metafile& metafile) = 0;

    // Measuring with the current font, in device units.
    QSizeF TextExtentF(const QString& text) const;
    QSize TextExtent(const QString& text) const;
    int TextWidth(const QString& text) const { return TextExtent(text).width(); }
    int TextHeight(const QString& text) const { return TextExtent(text).height(); }
    // One rounded advance per UTF-16 unit whose running sum follows the exact widths, so the
    // advances add up to the rounded width of the whole text.
    QVector<int> CharAdvances(const QString& text) const;
    TTextMetrics GetTextMetrics() const;

protected:
    struct State {
        TPen pen;
        TBrush brush;
        TFont font;
        bool textOpaque = false;
        TColor textBackground = 0xFFFFFF;
        int textAlign = taLeft | taTop;
        QPoint position;
    };
    const State& state() const { return m_state; }
    void setPosition(QPoint p) { m_state.position = p; }
    // Replaying a metafile starts from the default state and leaves the canvas as it found
    // it, even when the metafile's saves and restores do not balance.
    void replayIsolated(const Metafile& metafile);
    // Called after the state has been pushed or popped, so that implementations can keep the
    // device's own state (the clip) in step.
    virtual void onSave() {}
    virtual void onRestore() {}

private:
    State m_state;
    std::vector<State> m_saved;
};

} // namespace platform
