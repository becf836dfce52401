#include "report/engine/document/MetafileReader.h"

#include "platform/RecordingCanvas.h"
#include "report/engine/document/MetafileCodes.h"
#include "report/engine/text/sestcepr.h"

#include <QImage>

#include <map>

namespace report {

using namespace platform;

namespace {

// What a picture's numbers may be: a frame side of at most 2^24 units and coordinates, sizes and
// font heights within 2^24 units either way, so that no side, difference or scaled value of a
// record overflows further on. A record's numbers are clamped to them; a frame beyond them is
// refused.
constexpr qint64 kMaxFrame = 1 << 24;
constexpr qint64 kMaxCoordinate = 1 << 24;

int clamped(qint64 v) {
    return int(std::clamp(v, -kMaxCoordinate, kMaxCoordinate));
}

bool frameFits(qint64 width, qint64 height) {
    return width >= 1 && height >= 1 && width <= kMaxFrame && height <= kMaxFrame;
}

// Bounds-checked little-endian reading of one record.
class Cursor {
public:
    Cursor(const QByteArray& bytes, qsizetype begin, qsizetype end)
        : m_data(bytes), m_begin(begin), m_end(std::min(end, bytes.size())) {}
    bool has(qsizetype offset, qsizetype n) const {
        return offset >= 0 && n >= 0 && m_begin + offset + n <= m_end;
    }
    int u8(qsizetype o) const { return has(o, 1) ? uchar(m_data[m_begin + o]) : 0; }
    int u16(qsizetype o) const { return u8(o) | u8(o + 1) << 8; }
    int i16(qsizetype o) const { return qint16(u16(o)); }
    quint32 u32(qsizetype o) const { return quint32(u16(o)) | quint32(u16(o + 2)) << 16; }
    int i32(qsizetype o) const { return int(u32(o)); }
    // A 32-bit coordinate or size, clamped.
    int c32(qsizetype o) const { return clamped(i32(o)); }
    TRect rect(qsizetype o) const { return TRect{c32(o), c32(o + 4), c32(o + 8), c32(o + 12)}; }
    qsizetype size() const { return m_end - m_begin; }
    QByteArray bytes(qsizetype o, qsizetype n) const {
        return has(o, n) ? m_data.mid(m_begin + o, n) : QByteArray();
    }

private:
    const QByteArray& m_data;
    qsizetype m_begin;
    qsizetype m_end;
};

// A DIB (24 or 32 bits, BI_RGB) as an image; a null image for anything else.
QImage readDib(const QByteArray& info, const QByteArray& bits) {
    Cursor h(info, 0, info.size());
    const int width = h.i32(4);
    const int height = h.i32(8);
    const int depth = h.u16(14);
    if (h.u32(0) < 40 || h.u32(16) != 0 || (depth != 24 && depth != 32) || width <= 0 ||
        width > 20000 || height == 0 || height < -20000 || height > 20000)
        return {};
    const int rows = std::abs(height);
    const qsizetype stride = (qsizetype(width) * depth / 8 + 3) / 4 * 4;
    if (bits.size() < stride * rows) return {};
    QImage image(width, rows, QImage::Format_RGB32);
    for (int y = 0; y < rows; ++y) {
        const uchar* src = reinterpret_cast<const uchar*>(bits.constData()) +
                           stride * (height > 0 ? rows - 1 - y : y);
        QRgb* dst = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const uchar* p = src + x * depth / 8;
            dst[x] = qRgb(p[2], p[1], p[0]);
        }
    }
    return image;
}

TPen penFrom(int style, int width, TColor color) {
    return TPen{color & 0xFFFFFF, style >= 0 && style <= 6 ? style : psSolid, clamped(width)};
}

TBrush brushFrom(int style, TColor color, int hatch) {
    if (style == 1) return TBrush{color & 0xFFFFFF, bsClear};
    if (style == 2) return TBrush{color & 0xFFFFFF, bsHorizontal + std::clamp(hatch, 0, 5)};
    return TBrush{color & 0xFFFFFF, bsSolid};
}

// Objects and the state a player keeps; the canvas records what the primitives use.
struct Player {
    RecordingCanvas& canvas;
    std::map<quint32, std::variant<TPen, TBrush, TFont>> objects;
    TColor textColor = 0;

    void select(quint32 index) {
        if (index == stockNullPen) {
            canvas.SetPen(TPen{0, psClear, 0});
            return;
        }
        if (index == stockNullBrush) {
            canvas.SetBrush(TBrush{0, bsClear});
            return;
        }
        auto it = objects.find(index);
        if (it == objects.end()) return;
        if (auto* pen = std::get_if<TPen>(&it->second))
            canvas.SetPen(*pen);
        else if (auto* brush = std::get_if<TBrush>(&it->second))
            canvas.SetBrush(*brush);
        else
            canvas.SetFont(std::get<TFont>(it->second));
    }
    void text(int x, int y, const QString& s, const QVector<int>& dx, const TRect* clip) {
        TFont f = canvas.Font();
        f.color = textColor;
        canvas.SetFont(f);
        canvas.TextOut(x, y, s, dx, clip);
    }
    // A rectangle drawn with no pen was a filled rectangle one unit smaller.
    void rectangle(TRect r) {
        if (canvas.Pen().style == psClear) {
            r.right -= 1;
            r.bottom -= 1;
            canvas.FillRect(r);
        } else {
            canvas.Rectangle(r);
        }
    }
};

TFont fontFrom(int height, int escapement, int weight, int italic, int underline, int strike,
               int charset, const QString& face) {
    TFont f;
    f.name = face;
    f.height = clamped(std::abs(qint64(height)));
    f.escapement = escapement % 3600; // the same turn, far from the ends of int
    f.bold = weight >= 600;
    f.italic = italic;
    f.underline = underline;
    f.strikeOut = strike;
    f.charset = charset;
    return f;
}

// ---- EMF records, by family

// Text mode and colour, alignment, clipping, saved states.
bool emfStateRecord(quint32 type, const Cursor& r, Player& player) {
    RecordingCanvas& canvas = player.canvas;
    switch (type) {
    case emrSetBkMode:
        canvas.SetTextBackground(r.u32(8) == 2, canvas.TextBackground());
        break;
    case emrSetBkColor:
        canvas.SetTextBackground(canvas.TextOpaque(), r.u32(8));
        break;
    case emrSetTextAlign:
        canvas.SetTextAlign(int(r.u32(8)));
        break;
    case emrSetTextColor:
        player.textColor = r.u32(8) & 0xFFFFFF;
        break;
    case emrIntersectClipRect:
        canvas.IntersectClipRect(r.rect(8));
        break;
    case emrSaveDc:
        canvas.SaveState();
        break;
    case emrRestoreDc:
        canvas.RestoreState();
        break;
    }
    return true;
}

// Pens, brushes and fonts: made, selected, deleted.
bool emfObjectRecord(quint32 type, const Cursor& r, Player& player) {
    switch (type) {
    case emrSelectObject:
        player.select(r.u32(8));
        break;
    case emrDeleteObject:
        player.objects.erase(r.u32(8));
        break;
    case emrCreatePen:
        player.objects[r.u32(8)] = penFrom(r.i32(12), r.i32(16), r.u32(24));
        break;
    case emrCreateBrushIndirect:
        player.objects[r.u32(8)] = brushFrom(r.i32(12), r.u32(16), r.i32(20));
        break;
    case emrExtCreateFontIndirectW: {
        QString face;
        for (int i = 0; i < 32; ++i) {
            const int c = r.u16(40 + 2 * i);
            if (!c) break;
            face += QChar(c);
        }
        player.objects[r.u32(8)] = fontFrom(r.i32(12), r.i32(20), r.i32(28), r.u8(32), r.u8(33),
                                            r.u8(34), r.u8(35), face);
        break;
    }
    }
    return true;
}

// Lines and shapes; false for a polygon whose points the record does not hold.
bool emfShapeRecord(quint32 type, const Cursor& r, Player& player) {
    RecordingCanvas& canvas = player.canvas;
    switch (type) {
    case emrMoveToEx:
        canvas.MoveTo(r.c32(8), r.c32(12));
        break;
    case emrLineTo:
        canvas.LineTo(r.c32(8), r.c32(12));
        break;
    case emrEllipse:
    case emrRectangle:
    case emrRoundRect: {
        const TRect box = r.rect(8);
        if (type == emrEllipse)
            canvas.Ellipse(box);
        else if (type == emrRoundRect)
            canvas.RoundRect(box, r.c32(24), r.c32(28));
        else
            player.rectangle(box);
        break;
    }
    case emrPolygon:
    case emrPolygon16: {
        const bool small = type == emrPolygon16;
        const quint32 count = r.u32(24);
        const int step = small ? 4 : 8;
        if (!r.has(28, qsizetype(count) * step)) return false;
        QPolygon points;
        for (quint32 i = 0; i < count; ++i) {
            const qsizetype o = 28 + qsizetype(i) * step;
            points << (small ? QPoint(r.i16(o), r.i16(o + 2)) : QPoint(r.c32(o), r.c32(o + 4)));
        }
        canvas.Polygon(points);
        break;
    }
    }
    return true;
}

// A string of UTF-16 text; false when the record does not hold its characters.
bool emfTextRecord(const Cursor& r, Player& player) {
    const int x = r.c32(36), y = r.c32(40);
    const quint32 n = r.u32(44), offString = r.u32(48), options = r.u32(52);
    const quint32 offDx = r.u32(72);
    if (n > 1000000 || !r.has(offString, qsizetype(n) * 2)) return false;
    QString s;
    QVector<int> dx;
    for (quint32 i = 0; i < n; ++i) {
        s += QChar(r.u16(offString + 2 * i));
        dx << (r.has(offDx, qsizetype(n) * 4) ? r.c32(offDx + 4 * i) : 0);
    }
    const TRect clip = r.rect(56);
    player.text(x, y, s, r.has(offDx, qsizetype(n) * 4) ? dx : QVector<int>(),
                options & 4 ? &clip : nullptr);
    return true;
}

// A bitmap stretched into a rectangle; one that cannot be read is left out.
bool emfBitmapRecord(const Cursor& r, Player& player) {
    const QImage image = readDib(r.bytes(r.u32(48), r.u32(52)), r.bytes(r.u32(56), r.u32(60)));
    if (!image.isNull()) {
        const int x = r.c32(24), y = r.c32(28);
        player.canvas.StretchDraw(
            TRect{x, y, clamped(qint64(x) + r.i32(72)), clamped(qint64(y) + r.i32(76))}, image);
    }
    return true;
}

// One EMF record played by its family; false for a damaged one. Records of other kinds than
// our writers emit are skipped.
bool playEmfRecord(quint32 type, const Cursor& r, Player& player) {
    switch (type) {
    case emrSetBkMode:
    case emrSetBkColor:
    case emrSetTextAlign:
    case emrSetTextColor:
    case emrIntersectClipRect:
    case emrSaveDc:
    case emrRestoreDc:
        return emfStateRecord(type, r, player);
    case emrSelectObject:
    case emrDeleteObject:
    case emrCreatePen:
    case emrCreateBrushIndirect:
    case emrExtCreateFontIndirectW:
        return emfObjectRecord(type, r, player);
    case emrMoveToEx:
    case emrLineTo:
    case emrEllipse:
    case emrRectangle:
    case emrRoundRect:
    case emrPolygon:
    case emrPolygon16:
        return emfShapeRecord(type, r, player);
    case emrExtTextOutW:
        return emfTextRecord(r, player);
    case emrStretchDibits:
        return emfBitmapRecord(r, player);
    default:
        return true;
    }
}

bool readEmf(const QByteArray& data, Metafile& out) {
    Cursor head(data, 0, data.size());
    // The bounds are inclusive.
    const qint64 width = qint64(head.i32(16)) - head.i32(8) + 1;
    const qint64 height = qint64(head.i32(20)) - head.i32(12) + 1;
    if (!frameFits(width, height)) return false;
    const int deviceX = head.i32(72), mmX = head.i32(80);
    int ppi = 600;
    if (deviceX > 0 && mmX > 0) ppi = std::clamp(int(std::lrint(deviceX * 25.4 / mmX)), 1, 10000);
    Metafile result(int(width), int(height), ppi);
    RecordingCanvas canvas(result);
    Player player{canvas, {}, 0};
    qsizetype offset = 0;
    bool ended = false;
    while (!ended && offset + 8 <= data.size()) {
        Cursor rec(data, offset, data.size());
        const quint32 type = rec.u32(0);
        const quint32 size = rec.u32(4);
        if (size < 8 || size % 4 || offset + qsizetype(size) > data.size()) return false;
        Cursor r(data, offset, offset + size);
        if (type == emrEof)
            ended = true;
        else if (!playEmfRecord(type, r, player))
            return false;
        offset += size;
    }
    out = std::move(result);
    return ended;
}

// ---- WMF records, by family

// A WMF player also keeps the object table: a new object takes the lowest free slot.
struct WmfPlayer : Player {
    std::vector<bool> objectSlots;

    void addObject(std::variant<TPen, TBrush, TFont> object) {
        auto free = std::find(objectSlots.begin(), objectSlots.end(), false);
        const int index = int(free - objectSlots.begin());
        if (free == objectSlots.end())
            objectSlots.push_back(true);
        else
            *free = true;
        objects[quint32(index)] = std::move(object);
    }
};

// Text mode and colour, alignment, clipping, saved states.
bool wmfStateRecord(int function, const Cursor& r, WmfPlayer& player) {
    RecordingCanvas& canvas = player.canvas;
    switch (function) {
    case metaSetBkMode:
        canvas.SetTextBackground(r.u16(6) == 2, canvas.TextBackground());
        break;
    case metaSetBkColor:
        canvas.SetTextBackground(canvas.TextOpaque(), r.u32(6));
        break;
    case metaSetTextAlign:
        canvas.SetTextAlign(r.u16(6));
        break;
    case metaSetTextColor:
        player.textColor = r.u32(6) & 0xFFFFFF;
        break;
    case metaSaveDc:
        canvas.SaveState();
        break;
    case metaRestoreDc:
        canvas.RestoreState();
        break;
    case metaIntersectClipRect:
        canvas.IntersectClipRect(TRect{r.i16(12), r.i16(10), r.i16(8), r.i16(6)});
        break;
    }
    return true;
}

// Pens, brushes and fonts: made, selected, deleted.
bool wmfObjectRecord(int function, const Cursor& r, WmfPlayer& player) {
    switch (function) {
    case metaSelectObject:
        player.select(quint32(r.u16(6)));
        break;
    case metaDeleteObject: {
        const int index = r.u16(6);
        player.objects.erase(quint32(index));
        if (index < int(player.objectSlots.size())) player.objectSlots[index] = false;
        break;
    }
    case metaCreatePenIndirect:
        player.addObject(penFrom(r.u16(6), r.i16(8), r.u32(12)));
        break;
    case metaCreateBrushIndirect:
        player.addObject(brushFrom(r.u16(6), r.u32(8), r.u16(12)));
        break;
    case metaCreateFontIndirect: {
        const int charset = r.u8(19);
        QByteArray face = r.bytes(24, std::min<qsizetype>(32, r.size() - 24));
        face.truncate(face.indexOf('\0') < 0 ? face.size() : face.indexOf('\0'));
        player.addObject(fontFrom(r.i16(6), r.i16(10), r.i16(14), r.u8(16), r.u8(17), r.u8(18),
                                  charset, DecodeForCharset(face, charset)));
        break;
    }
    }
    return true;
}

// Lines and shapes; false for a polygon whose points the record does not hold.
bool wmfShapeRecord(int function, const Cursor& r, WmfPlayer& player) {
    RecordingCanvas& canvas = player.canvas;
    switch (function) {
    case metaMoveTo:
        canvas.MoveTo(r.i16(8), r.i16(6));
        break;
    case metaLineTo:
        canvas.LineTo(r.i16(8), r.i16(6));
        break;
    case metaEllipse:
    case metaRectangle: {
        const TRect box{r.i16(12), r.i16(10), r.i16(8), r.i16(6)};
        if (function == metaEllipse)
            canvas.Ellipse(box);
        else
            player.rectangle(box);
        break;
    }
    case metaRoundRect:
        canvas.RoundRect(TRect{r.i16(16), r.i16(14), r.i16(12), r.i16(10)}, r.i16(8), r.i16(6));
        break;
    case metaPolygon: {
        const int count = r.u16(6);
        if (!r.has(8, qsizetype(count) * 4)) return false;
        QPolygon points;
        for (int i = 0; i < count; ++i)
            points << QPoint(r.i16(8 + 4 * i), r.i16(10 + 4 * i));
        canvas.Polygon(points);
        break;
    }
    }
    return true;
}

// A string in the code page of the font's character set; false when the record does not
// hold its characters.
bool wmfTextRecord(const Cursor& r, WmfPlayer& player) {
    const int y = r.i16(6), x = r.i16(8), n = r.u16(10), options = r.u16(12);
    qsizetype o = 14;
    TRect clip;
    if (options & 0x06) {
        clip = TRect{r.i16(14), r.i16(16), r.i16(18), r.i16(20)};
        o += 8;
    }
    if (!r.has(o, n)) return false;
    const QByteArray bytes = r.bytes(o, n);
    const qsizetype dxAt = o + (n + 1) / 2 * 2;
    QVector<int> dx;
    if (r.has(dxAt, qsizetype(n) * 2))
        for (int i = 0; i < n; ++i)
            dx << r.i16(dxAt + 2 * i);
    TFont f = player.canvas.Font();
    const QString s = DecodeForCharset(bytes, f.charset);
    player.text(x, y, s, s.size() == dx.size() ? dx : QVector<int>(),
                options & 4 ? &clip : nullptr);
    return true;
}

// A bitmap stretched into a rectangle; one that cannot be read is left out.
bool wmfBitmapRecord(const Cursor& r, WmfPlayer& player) {
    const QByteArray dib = r.bytes(28, r.size() - 28);
    const QImage image = readDib(dib.left(40), dib.mid(40));
    if (!image.isNull()) {
        const int left = r.i16(26), top = r.i16(24);
        player.canvas.StretchDraw(TRect{left, top, left + r.i16(22), top + r.i16(20)}, image);
    }
    return true;
}

// One WMF record played by its family; false for a damaged one. Records of other kinds than
// our writer emits are skipped.
bool playWmfRecord(int function, const Cursor& r, WmfPlayer& player) {
    switch (function) {
    case metaSetBkMode:
    case metaSetBkColor:
    case metaSetTextAlign:
    case metaSetTextColor:
    case metaSaveDc:
    case metaRestoreDc:
    case metaIntersectClipRect:
        return wmfStateRecord(function, r, player);
    case metaSelectObject:
    case metaDeleteObject:
    case metaCreatePenIndirect:
    case metaCreateBrushIndirect:
    case metaCreateFontIndirect:
        return wmfObjectRecord(function, r, player);
    case metaMoveTo:
    case metaLineTo:
    case metaEllipse:
    case metaRectangle:
    case metaRoundRect:
    case metaPolygon:
        return wmfShapeRecord(function, r, player);
    case metaExtTextOut:
        return wmfTextRecord(r, player);
    case metaStretchDib:
        return wmfBitmapRecord(r, player);
    default:
        return true;
    }
}

bool readWmf(const QByteArray& data, Metafile& out) {
    Cursor head(data, 0, data.size());
    const int inch = head.u16(14);
    int width = head.i16(10) - head.i16(6);
    int height = head.i16(12) - head.i16(8);
    Metafile result(width, height, inch > 0 ? inch : 600);
    RecordingCanvas canvas(result);
    WmfPlayer player{{canvas, {}, 0}, {}};
    qsizetype offset = 22 + 18;
    bool ended = false;
    while (!ended && offset + 6 <= data.size()) {
        Cursor rec(data, offset, data.size());
        const qsizetype size = qsizetype(rec.u32(0)) * 2;
        const int function = rec.u16(4);
        if (size < 6 || offset + size > data.size()) return false;
        Cursor r(data, offset, offset + size);
        if (function == metaEof) {
            ended = true;
        } else if (function == metaSetWindowExt) {
            // The frame, when the header gave none.
            if (width <= 0 || height <= 0) {
                width = r.i16(8);
                height = r.i16(6);
                result.setSize(width, height);
            }
        } else if (!playWmfRecord(function, r, player)) {
            return false;
        }
        offset += size;
    }
    // Neither the header nor a window extent gave the picture a size.
    if (!frameFits(result.width(), result.height())) return false;
    out = std::move(result);
    return ended;
}

} // namespace

bool ReadMetafile(const QByteArray& bytes, Metafile& metafile) {
    Cursor head(bytes, 0, bytes.size());
    if (head.u32(0) == emrHeader && head.u32(40) == emfSignature) return readEmf(bytes, metafile);
    if (head.u32(0) == placeableWmfKey) return readWmf(bytes, metafile);
    return false;
}

} // namespace report
