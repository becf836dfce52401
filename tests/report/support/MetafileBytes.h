#pragma once
// Enhanced and placeable Windows metafiles built record by record, for the pictures our own
// writers never make: frames, coordinates, sizes and fonts at the limits of their fields.

#include <QByteArray>
#include <QString>
#include <QVector>

#include <cstdint>
#include <initializer_list>
#include <utility>

namespace reporttest {

// Little-endian fields appended to a record.
class RecordBytes {
public:
    RecordBytes& i16(int v) {
        m_bytes.append(char(v & 0xFF)).append(char(v >> 8 & 0xFF));
        return *this;
    }
    RecordBytes& i32(std::int64_t v) { return i16(int(v & 0xFFFF)).i16(int(v >> 16 & 0xFFFF)); }
    RecordBytes& utf16(const QString& text) {
        for (const QChar c : text)
            i16(c.unicode());
        return *this;
    }
    RecordBytes& pad(int n) {
        while (m_bytes.size() % n)
            m_bytes.append('\0');
        return *this;
    }
    QByteArray& bytes() { return m_bytes; }

private:
    QByteArray m_bytes;
};

// An EMF: the header with its bounds (inclusive, in device units) on a device of 1000 units to
// 254 mm (100 to the inch), then the records added, then the end record.
class EmfBytes {
public:
    EmfBytes(std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom) {
        RecordBytes h;
        h.i32(1).i32(88).i32(left).i32(top).i32(right).i32(bottom);
        h.i32(0).i32(0).i32(0).i32(0).i32(0x464D4520).i32(0x10000).i32(0).i32(0);
        h.i16(2).i16(0).i32(0).i32(0).i32(0);
        h.i32(1000).i32(1000).i32(254).i32(254);
        m_bytes = h.bytes();
    }
    // A font of em height `height`, its text turned by `escapement` tenths of a degree, made
    // object 1 and selected.
    EmfBytes& font(std::int64_t height, std::int64_t escapement = 0,
                   const QString& face = QStringLiteral("DejaVu Sans")) {
        RecordBytes f;
        f.i32(1).i32(height).i32(0).i32(escapement).i32(escapement).i32(400).i32(0).i32(0);
        f.utf16(face.left(31)).pad(2);
        while (f.bytes().size() < 4 + 28 + 64)
            f.i16(0);
        record(82, f);
        RecordBytes select;
        return record(37, select.i32(1));
    }
    EmfBytes& pen(std::int64_t width) {
        RecordBytes p;
        record(38, p.i32(2).i32(0).i32(width).i32(0).i32(0));
        RecordBytes select;
        return record(37, select.i32(2));
    }
    // Text at (x, y), each character advancing `advance`.
    EmfBytes& text(std::int64_t x, std::int64_t y, const QString& s, std::int64_t advance) {
        const int n = int(s.size());
        RecordBytes t;
        t.i32(0).i32(0).i32(0).i32(0).i32(1).i32(0).i32(0);
        t.i32(x).i32(y).i32(n).i32(76).i32(0).i32(0).i32(0).i32(0).i32(0);
        t.i32(76 + (2 * n + 3) / 4 * 4);
        t.utf16(s).pad(4);
        for (int i = 0; i < n; ++i)
            t.i32(advance);
        return record(84, t);
    }
    EmfBytes& rectangle(std::int64_t l, std::int64_t t, std::int64_t r, std::int64_t b) {
        RecordBytes rect;
        return record(43, rect.i32(l).i32(t).i32(r).i32(b));
    }
    EmfBytes& polygon(std::initializer_list<std::pair<std::int64_t, std::int64_t>> points) {
        RecordBytes p;
        p.i32(0).i32(0).i32(0).i32(0).i32(std::int64_t(points.size()));
        for (const auto& [x, y] : points)
            p.i32(x).i32(y);
        return record(3, p);
    }
    // A 2 x 2 24-bit bitmap stretched over (x, y, width, height).
    EmfBytes& bitmap(std::int64_t x, std::int64_t y, std::int64_t width, std::int64_t height) {
        RecordBytes b;
        b.i32(0).i32(0).i32(0).i32(0).i32(x).i32(y).i32(0).i32(0).i32(2).i32(2);
        b.i32(80).i32(40).i32(120).i32(16).i32(0).i32(0x00CC0020).i32(width).i32(height);
        b.i32(40).i32(2).i32(2).i16(1).i16(24).i32(0).i32(16).i32(0).i32(0).i32(0).i32(0);
        for (int row = 0; row < 2; ++row)
            b.i32(0x00FF0000).i32(0x0000FF00);
        return record(81, b);
    }
    QByteArray bytes() const {
        QByteArray out = m_bytes;
        RecordBytes end;
        end.i32(14).i32(20).i32(0).i32(0).i32(20);
        return out + end.bytes();
    }

private:
    EmfBytes& record(int type, RecordBytes& fields) {
        RecordBytes r;
        r.i32(type).i32(8 + fields.bytes().size());
        m_bytes += r.bytes() + fields.bytes();
        return *this;
    }
    QByteArray m_bytes;
};

// A placeable WMF: the placeable header with its bounding box and units per inch, the standard
// header, then the records added, then the end record. Fields are 16 bits.
class WmfBytes {
public:
    WmfBytes(int left, int top, int right, int bottom, int unitsPerInch) {
        RecordBytes h;
        h.i32(0x9AC6CDD7).i16(0).i16(left).i16(top).i16(right).i16(bottom).i16(unitsPerInch);
        h.i32(0).i16(0);
        h.i16(1).i16(9).i16(0x300).i32(0).i16(2).i32(0).i16(0);
        m_bytes = h.bytes();
    }
    WmfBytes& font(int height, const QByteArray& face = "DejaVu Sans") {
        RecordBytes f;
        f.i16(height).i16(0).i16(0).i16(0).i16(400).i16(0).i16(0).i16(0).i16(0);
        f.bytes().append(face.left(31)).append('\0');
        f.pad(2);
        record(0x02FB, f);
        RecordBytes select;
        return record(0x012D, select.i16(0));
    }
    WmfBytes& windowExtent(int width, int height) {
        RecordBytes e;
        return record(0x020C, e.i16(height).i16(width));
    }
    WmfBytes& text(int x, int y, const QByteArray& s, int advance) {
        RecordBytes t;
        t.i16(y).i16(x).i16(int(s.size())).i16(0);
        t.bytes().append(s);
        t.pad(2);
        for (qsizetype i = 0; i < s.size(); ++i)
            t.i16(advance);
        return record(0x0A32, t);
    }
    QByteArray bytes() const {
        RecordBytes end;
        return m_bytes + end.i32(3).i16(0).bytes();
    }

private:
    WmfBytes& record(int function, RecordBytes& fields) {
        RecordBytes r;
        r.i32((6 + fields.bytes().size()) / 2).i16(function);
        m_bytes += r.bytes() + fields.bytes();
        return *this;
    }
    QByteArray m_bytes;
};

} // namespace reporttest
