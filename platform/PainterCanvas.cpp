#include "platform/PainterCanvas.h"

#include "platform/Metafile.h"
#include "platform/TextMeasure.h"

#include <QGlyphRun>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace platform {

namespace {

QColor toQColor(TColor c) {
    return QColor(redOf(c), greenOf(c), blueOf(c));
}

// The area of a GDI rectangle: right and bottom are outside it.
QRectF area(const TRect& r) {
    return QRectF(r.left, r.top, r.width(), r.height());
}

// The path an outline follows: through the centres of the rectangle's outermost units, so a
// one-unit pen covers exactly left..right-1 and top..bottom-1.
QRectF outline(const TRect& r) {
    return QRectF(r.left, r.top, r.width() - 1, r.height() - 1);
}

Qt::PenStyle penStyle(int style) {
    switch (style) {
    case psDash:
        return Qt::DashLine;
    case psDot:
        return Qt::DotLine;
    case psDashDot:
        return Qt::DashDotLine;
    case psDashDotDot:
        return Qt::DashDotDotLine;
    case psClear:
        return Qt::NoPen;
    default:
        return Qt::SolidLine;
    }
}

Qt::BrushStyle brushStyle(int style) {
    switch (style) {
    case bsClear:
        return Qt::NoBrush;
    case bsHorizontal:
        return Qt::HorPattern;
    case bsVertical:
        return Qt::VerPattern;
    case bsFDiagonal:
        return Qt::FDiagPattern;
    case bsBDiagonal:
        return Qt::BDiagPattern;
    case bsCross:
        return Qt::CrossPattern;
    case bsDiagCross:
        return Qt::DiagCrossPattern;
    default:
        return Qt::SolidPattern;
    }
}

// How many device pixels one logical unit is under the painter's transform.
double deviceScale(const QPainter& painter) {
    const QTransform& t = painter.deviceTransform();
    return std::sqrt(std::abs(t.determinant()));
}

// Letters whose em is larger than this many device pixels are larger than any page, and those
// below 1/64 pixel smaller than any dot: neither is drawn.
constexpr double kLargestEm = 32768;
constexpr double kSmallestEm = 1.0 / 64;
// The raster engine (screens, bitmaps) renders each glyph under the transform into its glyph
// cache; beyond an em of this many pixels, or where the transform stretches one direction much
// more than another, its rasteriser overflows. Such text is filled as outlines there. A printer
// (PDF) keeps text as text.
constexpr double kLargestCachedEm = 256;
constexpr double kMostCachedStretch = 2;

// The least and the greatest stretch of the transform's linear part (its singular values; a
// turn changes neither).
std::pair<double, double> stretches(const QTransform& t) {
    const double sum =
        t.m11() * t.m11() + t.m12() * t.m12() + t.m21() * t.m21() + t.m22() * t.m22();
    const double det = std::abs(t.m11() * t.m22() - t.m12() * t.m21());
    const double root = std::sqrt(std::max(sum * sum - 4 * det * det, 0.0));
    return {std::sqrt(std::max(sum - root, 0.0) / 2), std::sqrt((sum + root) / 2)};
}

} // namespace

PainterCanvas::PainterCanvas(QPainter& painter, double pixelsPerInch)
    : m_painter(painter), m_deviceDpi(painter.device() ? painter.device()->logicalDpiY() : 96) {
    m_pixelsPerInch = pixelsPerInch > 0 ? pixelsPerInch : m_deviceDpi;
    m_painter.setRenderHint(QPainter::Antialiasing, false);
    m_painter.setRenderHint(QPainter::TextAntialiasing, true);
    // Hatch patterns follow the transform, so that their density is set by applyPenAndBrush.
    m_painter.setRenderHint(QPainter::NonCosmeticBrushPatterns, true);
    m_painter.setBackgroundMode(Qt::TransparentMode);
}

void PainterCanvas::applyPenAndBrush() {
    const double scale = deviceScale(m_painter);
    const TPen& p = Pen();
    if (m_device.penUse != DeviceState::PenUse::Shapes || !(m_device.pen == p) ||
        m_device.penScale != scale) {
        QPen pen(toQColor(p.color));
        pen.setStyle(penStyle(p.style));
        // Below one device pixel a pen is drawn as the thinnest line, as a device would.
        if (p.width <= 0 || p.width * scale < 1.0) {
            pen.setWidth(0);
            // Dashes of the thinnest line keep their screen length on a dense device.
            if (pen.style() != Qt::SolidLine && pen.style() != Qt::NoPen && m_deviceDpi > 96) {
                QList<qreal> dashes = pen.dashPattern();
                for (qreal& dash : dashes)
                    dash *= m_deviceDpi / 96.0;
                pen.setDashPattern(dashes);
            }
        } else {
            pen.setWidthF(p.width);
            pen.setCapStyle(Qt::RoundCap);
            pen.setJoinStyle(Qt::RoundJoin);
        }
        m_painter.setPen(pen);
        m_device.penUse = DeviceState::PenUse::Shapes;
        m_device.pen = p;
        m_device.penScale = scale;
    }
    if (!m_device.brushKnown || !(m_device.brush == Brush()) || m_device.brushScale != scale) {
        QBrush brush(toQColor(Brush().color), brushStyle(Brush().style));
        if (Brush().style >= bsHorizontal && Brush().style <= bsDiagCross) {
            // Hatches keep the density they have on a screen (8 pixels at 96 dpi) on any
            // device, so that a 1200 dpi printer does not print them as a grey tint.
            const double cell = std::max(m_deviceDpi / 96.0, 1.0) / scale;
            brush.setTransform(QTransform::fromScale(cell, cell));
        }
        m_painter.setBrush(brush);
        m_device.brushKnown = true;
        m_device.brush = Brush();
        m_device.brushScale = scale;
    }
}

void PainterCanvas::applyTextPen(TColor color) {
    if (m_device.penUse == DeviceState::PenUse::Text && m_device.textColor == color) return;
    m_painter.setPen(toQColor(color));
    m_device.penUse = DeviceState::PenUse::Text;
    m_device.textColor = color;
}

// Saves the painter for the current canvas level, once, before its clip narrows; without a
// level the painter's own state takes the clip.
void PainterCanvas::savePainter() {
    if (m_levels.empty() || m_levels.back().painterSaved) return;
    m_levels.back().painterSaved = true;
    m_levels.back().device = m_device;
    m_painter.save();
}

void PainterCanvas::onSave() {
    m_levels.emplace_back();
}

void PainterCanvas::onRestore() {
    if (m_levels.back().painterSaved) {
        m_painter.restore();
        m_device = m_levels.back().device;
    }
    m_levels.pop_back();
}

void PainterCanvas::IntersectClipRect(const TRect& rect) {
    savePainter();
    if (m_painter.hasClipping()) {
        m_painter.setClipRect(area(rect), Qt::IntersectClip);
    } else {
        m_painter.setClipRect(area(rect));
    }
}

void PainterCanvas::LineTo(int x, int y) {
    applyPenAndBrush();
    m_painter.drawLine(QPointF(PenPos()), QPointF(x, y));
    setPosition(QPoint(x, y));
}

void PainterCanvas::Rectangle(const TRect& rect) {
    applyPenAndBrush();
    m_painter.drawRect(outline(rect));
}

void PainterCanvas::RoundRect(const TRect& rect, int cornerWidth, int cornerHeight) {
    applyPenAndBrush();
    m_painter.drawRoundedRect(outline(rect), cornerWidth / 2.0, cornerHeight / 2.0);
}

void PainterCanvas::Ellipse(const TRect& rect) {
    applyPenAndBrush();
    m_painter.drawEllipse(outline(rect));
}

void PainterCanvas::Polygon(const QPolygon& points) {
    applyPenAndBrush();
    m_painter.drawPolygon(points);
}

void PainterCanvas::FillRect(const TRect& rect) {
    applyPenAndBrush();
    m_painter.fillRect(area(rect), m_painter.brush());
}

void PainterCanvas::TextOut(int x, int y, const QString& text, const QVector<int>& advances,
                            const TRect* clip) {
    if (text.isEmpty()) return;
    QVector<int> steps = advances;
    if (steps.size() < text.size()) {
        const QVector<int> measured = CharAdvances(text);
        for (qsizetype i = steps.size(); i < text.size(); ++i)
            steps.append(measured[i]);
    }
    double total = 0;
    for (qsizetype i = 0; i < text.size(); ++i)
        total += steps[i];

    const TFont font = ResolvedFont();
    const auto [least, most] = stretches(m_painter.deviceTransform());
    if (!(most * font.height <= kLargestEm) || most * font.height < kSmallestEm) return;
    const bool rasterised =
        m_painter.paintEngine() && m_painter.paintEngine()->type() == QPaintEngine::Raster;
    const bool outlines =
        rasterised && (most * font.height > kLargestCachedEm || most > kMostCachedStretch * least);
    const int align = TextAlignment();
    const bool onBaseline = (align & taBaseline) == taBaseline;
    const TTextMetrics metrics =
        onBaseline && !TextOpaque() ? TTextMetrics() : measureMetrics(font, font.height);
    double dx = 0;
    if ((align & taCenter) == taCenter) {
        dx = -total / 2;
    } else if (align & taRight) {
        dx = -total;
    }
    double baseline = metrics.ascent;
    if (onBaseline) {
        baseline = 0;
    } else if (align & taBottom) {
        baseline = -metrics.descent;
    }

    // A clip of this text alone or a turned text needs a state of its own; any other text is
    // drawn in place with the painter as it is.
    const bool ownState = clip || font.escapement != 0;
    QPointF at(x + dx, y + baseline);
    DeviceState outer;
    if (ownState) {
        outer = m_device;
        m_painter.save();
        if (clip) {
            if (m_painter.hasClipping()) {
                m_painter.setClipRect(area(*clip), Qt::IntersectClip);
            } else {
                m_painter.setClipRect(area(*clip));
            }
        }
        m_painter.translate(x, y);
        if (font.escapement != 0) m_painter.rotate(font.escapement / -10.0);
        at = QPointF(dx, baseline);
    }
    if (TextOpaque()) {
        m_painter.fillRect(QRectF(at.x(), at.y() - metrics.ascent, total, metrics.height),
                           toQColor(TextBackground()));
    }
    applyTextPen(font.color);
    if (!drawGlyphRun(font, text, steps, at, outlines)) {
        m_painter.setFont(toQFont(font, font.height, m_deviceDpi));
        drawCharByChar(text, steps, at, outlines ? toQColor(font.color) : QColor());
    }
    if (ownState) {
        m_painter.restore();
        m_device = outer;
    }
}

// The face of `font` at its height; the last one is kept, since a page draws most of its
// texts in one font.
const QRawFont& PainterCanvas::rawFont(const TFont& font) {
    if (m_rawFontOf.height != font.height || m_rawFontOf.bold != font.bold ||
        m_rawFontOf.italic != font.italic || m_rawFontOf.name != font.name) {
        m_rawFont = rawFontFor(font, font.height);
        m_rawFontOf = font;
    }
    return m_rawFont;
}

// One run of the font's own glyphs at the given advances, or their outlines filled. False when
// the face lacks a character (another face must supply it) or cannot be loaded.
bool PainterCanvas::drawGlyphRun(const TFont& font, const QString& text, const QVector<int>& steps,
                                 QPointF origin, bool outlines) {
    const QRawFont& raw = rawFont(font);
    if (!raw.isValid()) return false;
    QVector<quint32> glyphs(text.size());
    int count = int(glyphs.size());
    if (!raw.glyphIndexesForChars(text.constData(), int(text.size()), glyphs.data(), &count))
        return false;
    QVector<QPointF> positions;
    positions.reserve(count);
    double pos = origin.x();
    for (qsizetype i = 0; i < text.size(); ++i) {
        const bool pair =
            text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate();
        if (glyphs.value(positions.size()) == 0) return false;
        positions.append(QPointF(pos, origin.y()));
        pos += steps[i];
        if (pair) pos += steps[++i];
    }
    if (positions.size() != count) return false;
    glyphs.resize(count);
    const QColor colour = toQColor(font.color);
    if (outlines) {
        QPainterPath path;
        for (int i = 0; i < count; ++i)
            path.addPath(raw.pathForGlyph(glyphs[i]).translated(positions[i]));
        fillOutlines(path, colour);
    } else {
        QGlyphRun run;
        run.setRawFont(raw);
        run.setGlyphIndexes(glyphs);
        run.setPositions(positions);
        m_painter.drawGlyphRun(QPointF(0, 0), run);
    }
    // Underline and strike-out of the run itself land in the wrong place under a transform.
    const double thickness = std::max(raw.lineThickness(), 0.5);
    if (font.underline)
        m_painter.fillRect(
            QRectF(origin.x(), origin.y() + raw.underlinePosition(), pos - origin.x(), thickness),
            colour);
    if (font.strikeOut)
        m_painter.fillRect(QRectF(origin.x(), origin.y() - raw.xHeight() / 2 - thickness / 2,
                                  pos - origin.x(), thickness),
                           colour);
    return true;
}

void PainterCanvas::drawCharByChar(const QString& text, const QVector<int>& steps, QPointF origin,
                                   const QColor& outlines) {
    double pos = origin.x();
    const double baseline = origin.y();
    // Outlines take the font at the device's resolution, as drawn text does.
    const QFont font(m_painter.font(), m_painter.device());
    QPainterPath path;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype length =
            text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate() ? 2
                                                                                             : 1;
        if (outlines.isValid())
            path.addText(QPointF(pos, baseline), font, text.mid(i, length));
        else
            m_painter.drawText(QPointF(pos, baseline), text.mid(i, length));
        for (qsizetype k = 0; k < length; ++k)
            pos += steps[i + k];
        i += length - 1;
    }
    if (outlines.isValid()) fillOutlines(path, outlines);
}

// Letters' outlines are smoothed as drawn text is; shapes stay sharp.
void PainterCanvas::fillOutlines(const QPainterPath& path, const QColor& colour) {
    m_painter.setRenderHint(QPainter::Antialiasing, true);
    m_painter.fillPath(path, colour);
    m_painter.setRenderHint(QPainter::Antialiasing, false);
}

void PainterCanvas::StretchDraw(const TRect& rect, const QImage& image) {
    if (image.isNull() || rect.width() == 0 || rect.height() == 0) return;
    m_painter.drawImage(area(rect), image);
}

void PainterCanvas::StretchDraw(const TRect& rect, const Metafile& metafile) {
    if (metafile.width() <= 0 || metafile.height() <= 0) return;
    const DeviceState outer = m_device;
    m_painter.save();
    m_painter.translate(rect.left, rect.top);
    m_painter.scale(double(rect.width()) / metafile.width(),
                    double(rect.height()) / metafile.height());
    replayIsolated(metafile);
    m_painter.restore();
    m_device = outer;
}

} // namespace platform
