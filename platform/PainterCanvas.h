#pragma once
// A canvas over any active QPainter: a widget, a QImage, a printer. Shapes are drawn without
// antialiasing (as a printer or a bitmap receives them), text with it. Whatever transform
// the painter has is kept: device units of this canvas are the painter's logical units.
// The painter is given a pen, brush or face only when a primitive needs another one, and it
// is saved only where a clip narrows: a printer writes each change and each saved state out.
// Text whose letters would come out larger than any page (an em over 32768 device pixels) or
// smaller than a dot is not drawn; on a screen or bitmap, text under a transform that Qt's glyph
// cache cannot render (large letters, or one direction stretched much more than the other) is
// filled as outlines.

#include "platform/TCanvas.h"

#include <QPointF>
#include <QRawFont>

#include <vector>

class QColor;
class QPainter;
class QPainterPath;

namespace platform {

class PainterCanvas : public TCanvas {
public:
    // `painter` must be active and outlive the canvas. Font sizes in points convert at the
    // painter's device resolution unless `pixelsPerInch` is given.
    explicit PainterCanvas(QPainter& painter, double pixelsPerInch = 0);

    double PixelsPerInch() const override { return m_pixelsPerInch; }
    QPainter& painter() { return m_painter; }

    void IntersectClipRect(const TRect& rect) override;
    void LineTo(int x, int y) override;
    void Rectangle(const TRect& rect) override;
    void RoundRect(const TRect& rect, int cornerWidth, int cornerHeight) override;
    void Ellipse(const TRect& rect) override;
    void Polygon(const QPolygon& points) override;
    void FillRect(const TRect& rect) override;
    void TextOut(int x, int y, const QString& text, const QVector<int>& advances = {},
                 const TRect* clip = nullptr) override;
    void StretchDraw(const TRect& rect, const QImage& image) override;
    void StretchDraw(const TRect& rect, const Metafile& metafile) override;

protected:
    void onSave() override;
    void onRestore() override;

private:
    // What the painter was last given, so that a pen, brush or font is set only when it
    // differs: every change and every save of the painter costs a printer (a PDF) output.
    struct DeviceState {
        enum class PenUse { Unknown, Shapes, Text };
        PenUse penUse = PenUse::Unknown;
        TPen pen;             // PenUse::Shapes
        TColor textColor = 0; // PenUse::Text
        double penScale = 0;  // device pixels per unit when the pen was made
        bool brushKnown = false;
        TBrush brush;
        double brushScale = 0;
    };
    // A canvas save level: the painter is saved only once a clip narrows within it.
    struct Level {
        bool painterSaved = false;
        DeviceState device; // as it was when the painter was saved
    };
    void savePainter();
    void applyPenAndBrush();
    void applyTextPen(TColor color);
    const QRawFont& rawFont(const TFont& font);
    // Outlines fill the letters' shapes instead of drawing them through Qt's glyph cache; a
    // valid colour asks for them in drawCharByChar.
    bool drawGlyphRun(const TFont& font, const QString& text, const QVector<int>& steps,
                      QPointF origin, bool outlines);
    void drawCharByChar(const QString& text, const QVector<int>& steps, QPointF origin,
                        const QColor& outlines);
    void fillOutlines(const QPainterPath& path, const QColor& colour);
    QPainter& m_painter;
    double m_pixelsPerInch;
    double m_deviceDpi;
    DeviceState m_device;
    std::vector<Level> m_levels;
    // The face last drawn with, at its height.
    TFont m_rawFontOf;
    QRawFont m_rawFont;
};

} // namespace platform
