#pragma once
// An in-memory picture: the drawing calls made on a RecordingCanvas, kept as records in the
// recording's device units, replayable stretched into any rectangle of any canvas. The records
// keep everything needed to write the picture out again (fonts with their height, pens,
// brushes, text with its advances, bitmaps as their bits).

#include "platform/TCanvas.h"

#include <variant>

namespace platform {

namespace meta {
struct SelectPen {
    TPen pen;
};
struct SelectBrush {
    TBrush brush;
};
struct SelectFont {
    TFont font; // height always set, in the recording's units
};
struct TextMode {
    bool opaque = false;
    TColor background = 0xFFFFFF;
    int align = taLeft | taTop;
};
struct Line {
    QPoint from;
    QPoint to;
};
enum class ShapeKind { Rectangle, RoundRect, Ellipse, FillRect };
struct Shape {
    ShapeKind kind = ShapeKind::Rectangle;
    TRect rect;
    QSize corner; // RoundRect only
};
struct Polygon {
    QPolygon points;
};
struct Text {
    QPoint origin;
    QString text;
    QVector<int> advances; // one per UTF-16 unit, always complete
    bool clipped = false;
    TRect clip;
};
struct Save {};
struct Restore {};
struct Clip {
    TRect rect;
};
struct Bitmap {
    TRect rect;
    QImage image;
};
struct Picture {
    TRect rect;
    std::shared_ptr<const Metafile> metafile;
};
} // namespace meta

using MetaRecord =
    std::variant<meta::SelectPen, meta::SelectBrush, meta::SelectFont, meta::TextMode, meta::Line,
                 meta::Shape, meta::Polygon, meta::Text, meta::Save, meta::Restore, meta::Clip,
                 meta::Bitmap, meta::Picture>;

class Metafile {
public:
    // A frame of width x height units, `unitsPerInch` of them to the inch.
    explicit Metafile(int width = 0, int height = 0, int unitsPerInch = 600);

    int width() const { return m_width; }
    int height() const { return m_height; }
    int unitsPerInch() const { return m_unitsPerInch; }
    void setSize(int width, int height);
    // Drops the records; the frame stays.
    void clear() { m_records.clear(); }
    bool isEmpty() const { return m_records.empty(); }

    const std::vector<MetaRecord>& records() const { return m_records; }
    void append(MetaRecord record) { m_records.push_back(std::move(record)); }

    // Draws the picture stretched so that its frame fills `rect` of `canvas`.
    // An empty frame draws nothing.
    void Play(TCanvas& canvas, const TRect& rect) const { canvas.StretchDraw(rect, *this); }

    // Applies the records one by one to `canvas`, unscaled, starting from the canvas's
    // present state. Canvases use it to implement StretchDraw.
    void replay(TCanvas& canvas) const;

    // One line per record, nested pictures indented; for tests and diagnostics.
    QString dump() const;

private:
    int m_width;
    int m_height;
    int m_unitsPerInch;
    std::vector<MetaRecord> m_records;
};

} // namespace platform
