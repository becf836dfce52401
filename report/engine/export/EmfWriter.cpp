#include "report/engine/export/EmfWriter.h"

#include "report/engine/document/MetafileCodes.h"
#include "report/engine/export/MetafileRecords.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace report {

using namespace platform;

namespace {

int penStyle(int style) {
    return style >= psSolid && style <= psInsideFrame ? style : psSolid;
}

class EmfBuilder : GdiObjectState {
public:
    explicit EmfBuilder(const Metafile& m)
        : m_width(m.width()), m_height(m.height()), m_ppi(m.unitsPerInch()) {}

    QByteArray build(const std::vector<MetaRecord>& records) {
        for (const MetaRecord& r : records)
            std::visit([this](const auto& x) { apply(x); }, r);
        begin(emrEof);
        m_b.u32(0);
        m_b.u32(16);
        m_b.u32(20);
        end();
        return header() + m_b.data();
    }

private:
    using GdiObjectState::apply;

    void begin(int type) {
        m_start = m_b.size();
        m_b.u32(quint32(type));
        m_b.u32(0);
    }
    void end() {
        m_b.padTo(4);
        m_b.put32(m_start + 4, quint32(m_b.size() - m_start));
        ++m_records;
    }
    void rect(const TRect& r) {
        m_b.i32(r.left);
        m_b.i32(r.top);
        m_b.i32(r.right);
        m_b.i32(r.bottom);
    }
    void simple(int type, quint32 value) {
        begin(type);
        m_b.u32(value);
        end();
    }

    // EMF handles count from 1; 0 is the file itself.
    int newHandle() { return takeSlot() + 1; }
    // Selects a new object in place of `current`, which is deleted once deselected.
    void replace(int& current, int created) {
        simple(emrSelectObject, quint32(created));
        if (current) {
            simple(emrDeleteObject, quint32(current));
            freeSlot(current - 1);
        }
        current = created;
    }

    void usePen() {
        if (penDrawn()) return;
        const int h = newHandle();
        begin(emrCreatePen);
        m_b.u32(quint32(h));
        m_b.u32(quint32(penStyle(want.pen.style)));
        m_b.i32(std::max(want.pen.width, 0));
        m_b.i32(0);
        m_b.u32(want.pen.color & 0xFFFFFF);
        end();
        replace(m_penHandle, h);
        drawn.pen = want.pen;
    }
    void useBrush() {
        if (brushDrawn()) return;
        const int h = newHandle();
        const int style = want.brush.style;
        begin(emrCreateBrushIndirect);
        m_b.u32(quint32(h));
        if (style == bsClear) {
            m_b.u32(1); // BS_NULL
            m_b.u32(0);
            m_b.u32(0);
        } else if (style >= bsHorizontal && style <= bsDiagCross) {
            m_b.u32(2); // BS_HATCHED
            m_b.u32(want.brush.color & 0xFFFFFF);
            m_b.u32(quint32(style - bsHorizontal));
        } else {
            m_b.u32(0); // BS_SOLID
            m_b.u32(want.brush.color & 0xFFFFFF);
            m_b.u32(0);
        }
        end();
        replace(m_brushHandle, h);
        drawn.brush = want.brush;
    }
    void useText() {
        const TFont& f = want.font;
        TFont shape = f;
        shape.color = 0;
        if (!drawn.font || *drawn.font != shape) {
            const int h = newHandle();
            begin(emrExtCreateFontIndirectW);
            m_b.u32(quint32(h));
            m_b.i32(-int(std::lrint(f.height)));
            m_b.i32(0);
            m_b.i32(f.escapement);
            m_b.i32(f.escapement);
            m_b.i32(f.bold ? 700 : 400);
            m_b.u8(f.italic);
            m_b.u8(f.underline);
            m_b.u8(f.strikeOut);
            m_b.u8(f.charset == csDefault ? 1 : f.charset);
            m_b.u8(f.escapement ? 7 : 0); // OUT_TT_ONLY_PRECIS keeps rotated text rotatable
            m_b.u8(0);
            m_b.u8(0);
            m_b.u8(0);
            const QString face = f.name.left(31);
            for (int i = 0; i < 32; ++i)
                m_b.u16(i < face.size() ? face.at(i).unicode() : 0);
            end();
            replace(m_fontHandle, h);
            drawn.font = shape;
        }
        if (drawn.textColor != (f.color & 0xFFFFFF)) {
            simple(emrSetTextColor, f.color & 0xFFFFFF);
            drawn.textColor = f.color & 0xFFFFFF;
        }
        const meta::TextMode& m = want.mode;
        if (!drawn.mode || drawn.mode->opaque != m.opaque) simple(emrSetBkMode, m.opaque ? 2 : 1);
        if (m.opaque && (!drawn.mode || drawn.mode->background != m.background))
            simple(emrSetBkColor, m.background & 0xFFFFFF);
        if (!drawn.mode || drawn.mode->align != m.align) simple(emrSetTextAlign, quint32(m.align));
        drawn.mode = m;
    }

    void apply(const meta::Line& r) {
        usePen();
        begin(emrMoveToEx);
        m_b.i32(r.from.x());
        m_b.i32(r.from.y());
        end();
        begin(emrLineTo);
        m_b.i32(r.to.x());
        m_b.i32(r.to.y());
        end();
    }
    void apply(const meta::Shape& r) {
        if (r.kind == meta::ShapeKind::FillRect) {
            // No outline: the null pen, and a rectangle one unit larger, as GDI leaves the
            // right and bottom edge out without a pen.
            useBrush();
            simple(emrSelectObject, stockNullPen);
            drawn.pen.reset();
            begin(emrRectangle);
            rect(TRect{r.rect.left, r.rect.top, saturatedInt(qint64(r.rect.right) + 1),
                       saturatedInt(qint64(r.rect.bottom) + 1)});
            end();
            return;
        }
        usePen();
        useBrush();
        const int type = r.kind == meta::ShapeKind::Ellipse     ? emrEllipse
                         : r.kind == meta::ShapeKind::RoundRect ? emrRoundRect
                                                                : emrRectangle;
        begin(type);
        rect(r.rect);
        if (type == emrRoundRect) {
            m_b.i32(r.corner.width());
            m_b.i32(r.corner.height());
        }
        end();
    }
    void apply(const meta::Polygon& r) {
        if (r.points.isEmpty()) return;
        usePen();
        useBrush();
        const QRect box = r.points.boundingRect();
        const bool small = std::all_of(r.points.begin(), r.points.end(), [](QPoint p) {
            return p.x() >= -32768 && p.x() <= 32767 && p.y() >= -32768 && p.y() <= 32767;
        });
        begin(small ? emrPolygon16 : emrPolygon);
        rect(TRect{box.left(), box.top(), box.right(), box.bottom()});
        m_b.u32(quint32(r.points.size()));
        for (QPoint p : r.points) {
            if (small) {
                m_b.u16(p.x());
                m_b.u16(p.y());
            } else {
                m_b.i32(p.x());
                m_b.i32(p.y());
            }
        }
        end();
    }
    void apply(const meta::Text& r) {
        if (r.text.isEmpty()) return;
        useText();
        const int n = int(r.text.size());
        qint64 width = 0;
        for (int a : r.advances)
            width += a;
        const int fixed = 76;
        const int stringBytes = (n * 2 + 3) / 4 * 4;
        begin(emrExtTextOutW);
        rect(TRect{r.origin.x(), r.origin.y(), saturatedInt(r.origin.x() + width), r.origin.y()});
        m_b.u32(1); // GM_COMPATIBLE
        m_b.f32(0);
        m_b.f32(0);
        m_b.i32(r.origin.x());
        m_b.i32(r.origin.y());
        m_b.u32(quint32(n));
        m_b.u32(fixed);
        m_b.u32(r.clipped ? 4 : 0); // ETO_CLIPPED
        rect(r.clipped ? r.clip : TRect{});
        m_b.u32(quint32(fixed + stringBytes));
        for (QChar c : r.text)
            m_b.u16(c.unicode());
        m_b.padTo(4);
        for (int i = 0; i < n; ++i)
            m_b.i32(i < r.advances.size() ? r.advances[i] : 0);
        end();
    }
    void apply(const meta::Save&) {
        begin(emrSaveDc);
        end();
        save();
    }
    void apply(const meta::Restore&) {
        if (restore()) simple(emrRestoreDc, quint32(-1));
    }
    void apply(const meta::Clip& r) {
        begin(emrIntersectClipRect);
        rect(r.rect);
        end();
    }
    void apply(const meta::Bitmap& r) {
        if (r.image.isNull()) return;
        const QByteArray info = DibHeader(r.image);
        const QByteArray bits = DibBits(r.image);
        begin(emrStretchDibits);
        rect(r.rect);
        m_b.i32(r.rect.left);
        m_b.i32(r.rect.top);
        m_b.i32(0);
        m_b.i32(0);
        m_b.i32(r.image.width());
        m_b.i32(r.image.height());
        m_b.u32(80);
        m_b.u32(quint32(info.size()));
        m_b.u32(quint32(80 + info.size()));
        m_b.u32(quint32(bits.size()));
        m_b.u32(0);          // DIB_RGB_COLORS
        m_b.u32(0x00CC0020); // SRCCOPY
        m_b.i32(r.rect.width());
        m_b.i32(r.rect.height());
        m_b.bytes(info);
        m_b.bytes(bits);
        end();
    }

    QByteArray header() const {
        LittleEndianBytes h;
        const int size = 108;
        h.u32(emrHeader);
        h.u32(size);
        h.i32(0);
        h.i32(0);
        h.i32(std::max(m_width - 1, 0));
        h.i32(std::max(m_height - 1, 0));
        // The frame in 0.01 mm.
        h.i32(0);
        h.i32(0);
        h.i32(int(std::lrint(m_width * 2540.0 / m_ppi)));
        h.i32(int(std::lrint(m_height * 2540.0 / m_ppi)));
        h.u32(emfSignature);
        h.u32(0x10000);
        h.u32(quint32(size + m_b.size()));
        h.u32(quint32(m_records + 1));
        h.u16(1 + peakSlots());
        h.u16(0);
        h.u32(0); // no description
        h.u32(0);
        h.u32(0); // no palette
        // The reference device: the recording's own resolution.
        h.i32(std::max(m_width, 1));
        h.i32(std::max(m_height, 1));
        const int mmX = int(std::lrint(std::max(m_width, 1) * 25.4 / m_ppi));
        const int mmY = int(std::lrint(std::max(m_height, 1) * 25.4 / m_ppi));
        h.i32(std::max(mmX, 1));
        h.i32(std::max(mmY, 1));
        h.u32(0); // no pixel format
        h.u32(0);
        h.u32(0); // no OpenGL
        h.i32(int(std::lrint(std::max(m_width, 1) * 25400.0 / m_ppi)));
        h.i32(int(std::lrint(std::max(m_height, 1) * 25400.0 / m_ppi)));
        return h.data();
    }

    int m_width;
    int m_height;
    int m_ppi;
    LittleEndianBytes m_b;
    int m_start = 0;
    int m_records = 0;
    int m_penHandle = 0;
    int m_brushHandle = 0;
    int m_fontHandle = 0;
};

} // namespace

QByteArray WriteEmf(const Metafile& metafile) {
    return EmfBuilder(metafile).build(FlattenMetafile(metafile));
}

} // namespace report
