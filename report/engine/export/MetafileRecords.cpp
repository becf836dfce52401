#include "report/engine/export/MetafileRecords.h"

#include <QPainter>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>

namespace report {

using namespace platform;

namespace {

// A scaled value rounded to the nearest int; beyond int (a tiny picture blown up onto a large
// rectangle) it stays at int's limit rather than overflow.
int rounded(double v) {
    return std::isnan(v) ? 0 : int(std::lrint(std::clamp<double>(v, INT_MIN, INT_MAX)));
}

// Maps a nested picture's units onto its rectangle in the outer units.
struct Transform {
    double sx = 1, sy = 1, dx = 0, dy = 0;
    int x(int v) const { return rounded(dx + v * sx); }
    int y(int v) const { return rounded(dy + v * sy); }
    QPoint point(QPoint p) const { return QPoint(x(p.x()), y(p.y())); }
    TRect rect(const TRect& r) const {
        return TRect{x(r.left), y(r.top), x(r.right), y(r.bottom)};
    }
    int width(int v) const { return v <= 0 ? v : std::max(1, rounded(v * sx)); }
    bool identity() const { return sx == 1 && sy == 1 && dx == 0 && dy == 0; }
};

void flattenInto(const Metafile& metafile, const Transform& t, std::vector<MetaRecord>& out,
                 int nesting) {
    int depth = 0;
    for (const MetaRecord& record : metafile.records()) {
        if (t.identity() && !std::holds_alternative<meta::Picture>(record) &&
            !std::holds_alternative<meta::Restore>(record)) {
            if (std::holds_alternative<meta::Save>(record)) ++depth;
            out.push_back(record);
            continue;
        }
        std::visit(
            [&](const auto& r) {
                using R = std::decay_t<decltype(r)>;
                if constexpr (std::is_same_v<R, meta::SelectPen>) {
                    meta::SelectPen p = r;
                    p.pen.width = t.width(p.pen.width);
                    out.push_back(p);
                } else if constexpr (std::is_same_v<R, meta::SelectFont>) {
                    meta::SelectFont f = r;
                    f.font.height = f.font.height * t.sy;
                    out.push_back(f);
                } else if constexpr (std::is_same_v<R, meta::Line>) {
                    out.push_back(meta::Line{t.point(r.from), t.point(r.to)});
                } else if constexpr (std::is_same_v<R, meta::Shape>) {
                    meta::Shape s = r;
                    s.rect = t.rect(r.rect);
                    s.corner =
                        QSize(rounded(r.corner.width() * t.sx), rounded(r.corner.height() * t.sy));
                    out.push_back(s);
                } else if constexpr (std::is_same_v<R, meta::Polygon>) {
                    meta::Polygon p;
                    for (QPoint q : r.points)
                        p.points << t.point(q);
                    out.push_back(p);
                } else if constexpr (std::is_same_v<R, meta::Text>) {
                    meta::Text s = r;
                    s.origin = t.point(r.origin);
                    s.clip = t.rect(r.clip);
                    // Scaled as running sums, so the text keeps its scaled width.
                    double sum = 0;
                    int placed = 0;
                    for (int& a : s.advances) {
                        sum += a * t.sx;
                        const int next = rounded(sum);
                        a = saturatedInt(qint64(next) - placed);
                        placed = next;
                    }
                    out.push_back(s);
                } else if constexpr (std::is_same_v<R, meta::Save>) {
                    ++depth;
                    out.push_back(r);
                } else if constexpr (std::is_same_v<R, meta::Restore>) {
                    if (depth > 0) {
                        --depth;
                        out.push_back(r);
                    }
                } else if constexpr (std::is_same_v<R, meta::Clip>) {
                    out.push_back(meta::Clip{t.rect(r.rect)});
                } else if constexpr (std::is_same_v<R, meta::Bitmap>) {
                    out.push_back(meta::Bitmap{t.rect(r.rect), r.image});
                } else if constexpr (std::is_same_v<R, meta::Picture>) {
                    const Metafile* inner = r.metafile.get();
                    // Deeply nested pictures are not expected; the bound keeps a cycle finite.
                    if (!inner || inner->width() <= 0 || inner->height() <= 0 || nesting > 16)
                        return;
                    const TRect box = t.rect(r.rect);
                    Transform nested;
                    nested.sx = double(box.width()) / inner->width();
                    nested.sy = double(box.height()) / inner->height();
                    nested.dx = box.left;
                    nested.dy = box.top;
                    out.push_back(meta::Save{});
                    flattenInto(*inner, nested, out, nesting + 1);
                    out.push_back(meta::Restore{});
                } else {
                    out.push_back(r);
                }
            },
            record);
    }
    for (; depth > 0; --depth)
        out.push_back(meta::Restore{});
}

} // namespace

std::vector<MetaRecord> FlattenMetafile(const Metafile& metafile) {
    std::vector<MetaRecord> out;
    out.reserve(metafile.records().size());
    flattenInto(metafile, Transform{}, out, 0);
    return out;
}

void LittleEndianBytes::f32(float v) {
    quint32 bits;
    std::memcpy(&bits, &v, sizeof bits);
    u32(bits);
}

void LittleEndianBytes::padTo(int n) {
    while (m_bytes.size() % n)
        m_bytes.append('\0');
}

void LittleEndianBytes::put16(int offset, int v) {
    m_bytes[offset] = char(v & 0xFF);
    m_bytes[offset + 1] = char(v >> 8 & 0xFF);
}

void LittleEndianBytes::put32(int offset, quint32 v) {
    put16(offset, int(v & 0xFFFF));
    put16(offset + 2, int(v >> 16));
}

bool GdiObjectState::restore() {
    if (m_saved.empty()) return false;
    want = m_saved.back();
    m_saved.pop_back();
    drawn = Drawn{};
    return true;
}

int GdiObjectState::takeSlot() {
    auto free = std::find(m_used.begin(), m_used.end(), false);
    const int slot = int(free - m_used.begin());
    if (free == m_used.end())
        m_used.push_back(true);
    else
        *free = true;
    m_peak = std::max(m_peak, int(m_used.size()));
    return slot;
}

namespace {
QImage onWhite(const QImage& image) {
    QImage rgb(image.size(), QImage::Format_RGB888);
    rgb.fill(Qt::white);
    QPainter painter(&rgb);
    painter.drawImage(0, 0, image);
    return rgb;
}
int rowBytes(int width) {
    return (width * 3 + 3) / 4 * 4;
}
} // namespace

QByteArray DibHeader(const QImage& image) {
    LittleEndianBytes b;
    b.u32(40);
    b.i32(image.width());
    b.i32(image.height()); // positive: bottom-up
    b.u16(1);
    b.u16(24);
    b.u32(0); // BI_RGB
    b.u32(quint32(rowBytes(image.width()) * image.height()));
    b.i32(3780); // 96 dpi in pixels per metre
    b.i32(3780);
    b.u32(0);
    b.u32(0);
    return b.data();
}

QByteArray DibBits(const QImage& image) {
    const QImage rgb = onWhite(image);
    const int stride = rowBytes(rgb.width());
    QByteArray bits(qsizetype(stride) * rgb.height(), '\0');
    for (int y = 0; y < rgb.height(); ++y) {
        const uchar* src = rgb.constScanLine(rgb.height() - 1 - y);
        char* dst = bits.data() + qsizetype(y) * stride;
        for (int x = 0; x < rgb.width(); ++x) {
            dst[3 * x] = char(src[3 * x + 2]); // DIBs store blue, green, red
            dst[3 * x + 1] = char(src[3 * x + 1]);
            dst[3 * x + 2] = char(src[3 * x]);
        }
    }
    return bits;
}

} // namespace report
