#pragma once
// A canvas that draws nothing and records every call into a Metafile, in the metafile's units.
// State changes are recorded only when a primitive is about to use them and they differ from
// what was recorded last, so a recording reads like the calls that mattered.

#include "platform/Metafile.h"

#include <optional>

namespace platform {

class RecordingCanvas : public TCanvas {
public:
    // Records into `metafile` (which must outlive the canvas); font sizes in points convert
    // at the metafile's units per inch.
    explicit RecordingCanvas(Metafile& metafile);

    double PixelsPerInch() const override { return m_pixelsPerInch; }

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
    // Font sizes in points convert at `pixelsPerInch` instead.
    RecordingCanvas(Metafile& metafile, double pixelsPerInch);
    void onSave() override;
    void onRestore() override;

private:
    struct Emitted {
        std::optional<TPen> pen;
        std::optional<TBrush> brush;
        std::optional<TFont> font;
        std::optional<meta::TextMode> textMode;
    };
    void emitPen();
    void emitBrush();
    void emitText();
    void shape(meta::ShapeKind kind, const TRect& rect, QSize corner = {});

    Metafile& m_metafile;
    double m_pixelsPerInch;
    Emitted m_emitted;
    std::vector<Emitted> m_emittedSaved;
};

} // namespace platform
