#include "platform/RecordingCanvas.h"

namespace platform {

RecordingCanvas::RecordingCanvas(Metafile& metafile)
    : RecordingCanvas(metafile, metafile.unitsPerInch()) {}

RecordingCanvas::RecordingCanvas(Metafile& metafile, double pixelsPerInch)
    : m_metafile(metafile), m_pixelsPerInch(pixelsPerInch > 0 ? pixelsPerInch : 96) {}

void RecordingCanvas::emitPen() {
    if (m_emitted.pen == Pen()) return;
    m_emitted.pen = Pen();
    m_metafile.append(meta::SelectPen{Pen()});
}

void RecordingCanvas::emitBrush() {
    if (m_emitted.brush == Brush()) return;
    m_emitted.brush = Brush();
    m_metafile.append(meta::SelectBrush{Brush()});
}

void RecordingCanvas::emitText() {
    const TFont font = ResolvedFont();
    if (m_emitted.font != font) {
        m_emitted.font = font;
        m_metafile.append(meta::SelectFont{font});
    }
    const meta::TextMode mode{TextOpaque(), TextBackground(), TextAlignment()};
    const auto& last = m_emitted.textMode;
    if (!last || last->opaque != mode.opaque || last->background != mode.background ||
        last->align != mode.align) {
        m_emitted.textMode = mode;
        m_metafile.append(mode);
    }
}

void RecordingCanvas::onSave() {
    m_emittedSaved.push_back(m_emitted);
    m_metafile.append(meta::Save{});
}

void RecordingCanvas::onRestore() {
    m_emitted = m_emittedSaved.back();
    m_emittedSaved.pop_back();
    m_metafile.append(meta::Restore{});
}

void RecordingCanvas::IntersectClipRect(const TRect& rect) {
    m_metafile.append(meta::Clip{rect});
}

void RecordingCanvas::LineTo(int x, int y) {
    emitPen();
    m_metafile.append(meta::Line{PenPos(), QPoint(x, y)});
    setPosition(QPoint(x, y));
}

void RecordingCanvas::shape(meta::ShapeKind kind, const TRect& rect, QSize corner) {
    if (kind != meta::ShapeKind::FillRect) emitPen();
    emitBrush();
    m_metafile.append(meta::Shape{kind, rect, corner});
}

void RecordingCanvas::Rectangle(const TRect& rect) {
    shape(meta::ShapeKind::Rectangle, rect);
}

void RecordingCanvas::RoundRect(const TRect& rect, int cornerWidth, int cornerHeight) {
    shape(meta::ShapeKind::RoundRect, rect, QSize(cornerWidth, cornerHeight));
}

void RecordingCanvas::Ellipse(const TRect& rect) {
    shape(meta::ShapeKind::Ellipse, rect);
}

void RecordingCanvas::FillRect(const TRect& rect) {
    shape(meta::ShapeKind::FillRect, rect);
}

void RecordingCanvas::Polygon(const QPolygon& points) {
    emitPen();
    emitBrush();
    m_metafile.append(meta::Polygon{points});
}

void RecordingCanvas::TextOut(int x, int y, const QString& text, const QVector<int>& advances,
                              const TRect* clip) {
    if (text.isEmpty()) return;
    emitText();
    meta::Text record{QPoint(x, y), text, advances, clip != nullptr, clip ? *clip : TRect()};
    if (record.advances.size() < text.size()) {
        // Missing advances are measured now, so that replay never depends on the target.
        const QVector<int> measured = CharAdvances(text);
        for (qsizetype i = record.advances.size(); i < text.size(); ++i)
            record.advances.append(measured[i]);
    }
    record.advances.resize(text.size());
    m_metafile.append(std::move(record));
}

void RecordingCanvas::StretchDraw(const TRect& rect, const QImage& image) {
    if (image.isNull()) return;
    m_metafile.append(meta::Bitmap{rect, image});
}

void RecordingCanvas::StretchDraw(const TRect& rect, const Metafile& metafile) {
    m_metafile.append(meta::Picture{rect, std::make_shared<const Metafile>(metafile)});
}

} // namespace platform
