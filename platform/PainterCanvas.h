#pragma once
// A canvas over any active QPainter: a widget, a QImage, a printer. Shapes are drawn without
// antialiasing (as a printer or a bitmap receives them), text with it. Whatever transform
// the painter has is kept: device units of this canvas are the painter's logical units.
// Text whose letters would come out larger than any page (an em over 32768 device pixels) or
// smaller than a dot is not drawn; text under a transform that Qt's glyph cache cannot render
// (large letters, or one direction stretched much more than the other) is filled as outlines.

#include "platform/TCanvas.h"

#include <QPointF>

class QPainter;

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
    void applyPenAndBrush();
    // Outlines fill the letters' shapes instead of drawing them through Qt's glyph cache.
    bool drawGlyphRun(const TFont& font, const QString& text, const QVector<int>& steps,
                      QPointF origin, bool outlines);
    void drawCharByChar(const QString& text, const QVector<int>& steps, QPointF origin,
                        bool outlines);
    QPainter& m_painter;
    double m_pixelsPerInch;
    double m_deviceDpi;
};

} // namespace platform
