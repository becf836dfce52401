#include "report/engine/export/WmfWriter.h"

#include "report/engine/document/MetafileCodes.h"
#include "report/engine/export/MetafileRecords.h"
#include "report/engine/text/sestcepr.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace report {

using namespace platform;

namespace {

int clamp16(long v) {
    return int(std::clamp<long>(v, -32768, 32767));
}

// The smallest divisor of 600 that brings both sides into 16 bits.
int divisorFor(int width, int height, int unitsPerInch) {
    const int largest = std::max(width, height);
    for (int d = 1; d <= unitsPerInch; ++d)
        if (unitsPerInch % d == 0 && largest / d <= 32767) return d;
    return unitsPerInch;
}

class WmfBuilder : GdiObjectState {
public:
    WmfBuilder(const Metafile& m)
        : m_divisor(divisorFor(m.width(), m.height(), m.unitsPerInch())),
          m_width(m.width() / m_divisor), m_height(m.height() / m_divisor),
          m_inch(m.unitsPerInch() / m_divisor) {}

    QByteArray build(const std::vector<MetaRecord>& records) {
        begin(metaSetWindowOrg);
        m_b.u16(0);
        m_b.u16(0);
        end();
        begin(metaSetWindowExt);
        m_b.u16(m_height);
        m_b.u16(m_width);
        end();
        for (const MetaRecord& r : records)
            std::visit([this](const auto& x) { apply(x); }, r);
        begin(metaEof);
        end();
        return placeable() + header() + m_b.data();
    }

private:
    using GdiObjectState::apply;

    int x(int v) const { return clamp16(std::lrint(double(v) / m_divisor)); }
    int size(double v) const { return clamp16(std::lrint(v / m_divisor)); }

    void begin(int function) {
        m_start = m_b.size();
        m_b.u32(0);
        m_b.u16(function);
    }
    void end() {
        m_b.padTo(2);
        const int words = (m_b.size() - m_start) / 2;
        m_b.put32(m_start, quint32(words));
        m_maxRecord = std::max(m_maxRecord, words);
    }
    // A rectangle in the reversed order of WMF parameters.
    void reversedRect(const TRect& r) {
        m_b.u16(x(r.bottom));
        m_b.u16(x(r.right));
        m_b.u16(x(r.top));
        m_b.u16(x(r.left));
    }
    void simple(int function, int value) {
        begin(function);
        m_b.u16(value);
        end();
    }
    void color(int function, TColor c) {
        begin(function);
        m_b.u32(c & 0xFFFFFF);
        end();
    }

    void replace(int& current, int created) {
        simple(metaSelectObject, created);
        if (current >= 0) {
            simple(metaDeleteObject, current);
            freeSlot(current);
        }
        current = created;
    }
    void createPen(int style, int width, TColor c) {
        const int slot = takeSlot();
        begin(metaCreatePenIndirect);
        m_b.u16(style);
        m_b.u16(width);
        m_b.u16(0);
        m_b.u32(c & 0xFFFFFF);
        end();
        replace(m_penSlot, slot);
    }
    void usePen() {
        if (penDrawn()) return;
        const int style = want.pen.style;
        createPen(style >= psSolid && style <= psInsideFrame ? style : psSolid,
                  want.pen.width <= 0 ? 0 : std::max(size(want.pen.width), 1), want.pen.color);
        drawn.pen = want.pen;
    }
    void useBrush() {
        if (brushDrawn()) return;
        const int slot = takeSlot();
        const int style = want.brush.style;
        begin(metaCreateBrushIndirect);
        if (style == bsClear) {
            m_b.u16(1);
            m_b.u32(0);
            m_b.u16(0);
        } else if (style >= bsHorizontal && style <= bsDiagCross) {
            m_b.u16(2);
            m_b.u32(want.brush.color & 0xFFFFFF);
            m_b.u16(style - bsHorizontal);
        } else {
            m_b.u16(0);
            m_b.u32(want.brush.color & 0xFFFFFF);
            m_b.u16(0);
        }
        end();
        replace(m_brushSlot, slot);
        drawn.brush = want.brush;
    }
    static int charsetOf(const TFont& f) { return f.charset == csDefault ? 238 : f.charset; }
    void useText() {
        const TFont& f = want.font;
        TFont shape = f;
        shape.color = 0;
        if (!drawn.font || *drawn.font != shape) {
            const int slot = takeSlot();
            begin(metaCreateFontIndirect);
            m_b.u16(-size(f.height));
            m_b.u16(0);
            // 16 bits hold any turn less than a full circle; a longer one is the same turn.
            m_b.u16(f.escapement % 3600);
            m_b.u16(f.escapement % 3600);
            m_b.u16(f.bold ? 700 : 400);
            m_b.u8(f.italic);
            m_b.u8(f.underline);
            m_b.u8(f.strikeOut);
            m_b.u8(charsetOf(f));
            m_b.u8(f.escapement ? 7 : 0);
            m_b.u8(0);
            m_b.u8(0);
            m_b.u8(0);
            QByteArray face = EncodeForCharset(f.name.left(31), charsetOf(f));
            face.append('\0');
            m_b.bytes(face);
            end();
            replace(m_fontSlot, slot);
            drawn.font = shape;
        }
        if (drawn.textColor != (f.color & 0xFFFFFF)) {
            color(metaSetTextColor, f.color);
            drawn.textColor = f.color & 0xFFFFFF;
        }
        const meta::TextMode& m = want.mode;
        if (!drawn.mode || drawn.mode->opaque != m.opaque) {
            begin(metaSetBkMode);
            m_b.u16(m.opaque ? 2 : 1);
            m_b.u16(0);
            end();
        }
        if (m.opaque && (!drawn.mode || drawn.mode->background != m.background))
            color(metaSetBkColor, m.background);
        if (!drawn.mode || drawn.mode->align != m.align) {
            begin(metaSetTextAlign);
            m_b.u16(m.align);
            m_b.u16(0);
            end();
        }
        drawn.mode = m;
    }

    void apply(const meta::Line& r) {
        usePen();
        begin(metaMoveTo);
        m_b.u16(x(r.from.y()));
        m_b.u16(x(r.from.x()));
        end();
        begin(metaLineTo);
        m_b.u16(x(r.to.y()));
        m_b.u16(x(r.to.x()));
        end();
    }
    void apply(const meta::Shape& r) {
        if (r.kind == meta::ShapeKind::FillRect) {
            useBrush();
            createPen(psClear, 0, 0);
            drawn.pen.reset();
            begin(metaRectangle);
            reversedRect(TRect{r.rect.left, r.rect.top,
                               saturatedInt(qint64(r.rect.right) + m_divisor),
                               saturatedInt(qint64(r.rect.bottom) + m_divisor)});
            end();
            return;
        }
        usePen();
        useBrush();
        const int function = r.kind == meta::ShapeKind::Ellipse     ? metaEllipse
                             : r.kind == meta::ShapeKind::RoundRect ? metaRoundRect
                                                                    : metaRectangle;
        begin(function);
        if (function == metaRoundRect) {
            m_b.u16(size(r.corner.height()));
            m_b.u16(size(r.corner.width()));
        }
        reversedRect(r.rect);
        end();
    }
    void apply(const meta::Polygon& r) {
        if (r.points.isEmpty() || r.points.size() > 8000) return;
        usePen();
        useBrush();
        begin(metaPolygon);
        m_b.u16(int(r.points.size()));
        for (QPoint p : r.points) {
            m_b.u16(x(p.x()));
            m_b.u16(x(p.y()));
        }
        end();
    }
    void apply(const meta::Text& r) {
        if (r.text.isEmpty()) return;
        useText();
        const int charset = charsetOf(want.font);
        // One byte per character: the advance of a surrogate pair's two units goes to its byte.
        QByteArray bytes;
        QVector<int> dx;
        // Running sums in 64 bits; an advance beyond 16 bits is written at 16 bits' limit.
        double sum = 0;
        long placed = 0;
        for (int i = 0; i < r.text.size(); ++i) {
            const bool pair = r.text.at(i).isHighSurrogate() && i + 1 < r.text.size();
            const QString one = r.text.mid(i, pair ? 2 : 1);
            double advance = i < r.advances.size() ? r.advances[i] : 0;
            if (pair && i + 1 < r.advances.size()) advance += r.advances[i + 1];
            i += pair ? 1 : 0;
            bytes += EncodeForCharset(one, charset).left(1);
            sum += advance / m_divisor;
            const long next = std::lrint(sum);
            dx << clamp16(next - placed);
            placed = next;
        }
        bytes = bytes.left(8000);
        begin(metaExtTextOut);
        m_b.u16(x(r.origin.y()));
        m_b.u16(x(r.origin.x()));
        m_b.u16(int(bytes.size()));
        m_b.u16(r.clipped ? 4 : 0); // ETO_CLIPPED
        if (r.clipped) {
            m_b.u16(x(r.clip.left));
            m_b.u16(x(r.clip.top));
            m_b.u16(x(r.clip.right));
            m_b.u16(x(r.clip.bottom));
        }
        m_b.bytes(bytes);
        m_b.padTo(2);
        for (int i = 0; i < bytes.size(); ++i)
            m_b.u16(dx[i]);
        end();
    }
    void apply(const meta::Save&) {
        begin(metaSaveDc);
        end();
        save();
    }
    void apply(const meta::Restore&) {
        if (restore()) simple(metaRestoreDc, -1);
    }
    void apply(const meta::Clip& r) {
        begin(metaIntersectClipRect);
        reversedRect(r.rect);
        end();
    }
    void apply(const meta::Bitmap& r) {
        if (r.image.isNull()) return;
        const QByteArray info = DibHeader(r.image);
        const QByteArray bits = DibBits(r.image);
        begin(metaStretchDib);
        m_b.u32(0x00CC0020); // SRCCOPY
        m_b.u16(0);          // DIB_RGB_COLORS
        m_b.u16(r.image.height());
        m_b.u16(r.image.width());
        m_b.u16(0);
        m_b.u16(0);
        m_b.u16(size(r.rect.height()));
        m_b.u16(size(r.rect.width()));
        m_b.u16(x(r.rect.top));
        m_b.u16(x(r.rect.left));
        m_b.bytes(info);
        m_b.bytes(bits);
        end();
    }

    QByteArray placeable() const {
        LittleEndianBytes p;
        p.u32(placeableWmfKey);
        p.u16(0);
        p.u16(0);
        p.u16(0);
        p.u16(m_width);
        p.u16(m_height);
        p.u16(m_inch);
        p.u32(0);
        int sum = 0;
        for (int i = 0; i < 10; ++i)
            sum ^= uchar(p.data()[2 * i]) | uchar(p.data()[2 * i + 1]) << 8;
        p.u16(sum);
        return p.data();
    }
    QByteArray header() const {
        LittleEndianBytes h;
        h.u16(1);
        h.u16(9);
        h.u16(0x0300);
        h.u32(quint32(9 + m_b.size() / 2));
        h.u16(peakSlots());
        h.u32(quint32(m_maxRecord));
        h.u16(0);
        return h.data();
    }

    int m_divisor;
    int m_width;
    int m_height;
    int m_inch;
    LittleEndianBytes m_b;
    int m_start = 0;
    int m_maxRecord = 0;
    int m_penSlot = -1;
    int m_brushSlot = -1;
    int m_fontSlot = -1;
};

} // namespace

QByteArray WriteWmf(const Metafile& metafile) {
    return WmfBuilder(metafile).build(FlattenMetafile(metafile));
}

} // namespace report
