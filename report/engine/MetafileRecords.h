#pragma once
// What the EMF and WMF writers share: a page recording flattened into one list of records in
// the page's own units (nested pictures inlined, scaled and bracketed by save and restore),
// and a little-endian byte builder.

#include "platform/Metafile.h"

#include <QByteArray>

#include <vector>

namespace report {

// The records of `metafile` with every nested picture replaced by its own records, scaled into
// the picture's rectangle: points, rectangles, advances, pen widths and font heights. Saves
// and restores come out balanced.
std::vector<platform::MetaRecord> FlattenMetafile(const platform::Metafile& metafile);

// Appends little-endian values to a byte array.
class LittleEndianBytes {
public:
    void u8(int v) { m_bytes.append(char(v & 0xFF)); }
    void u16(int v) {
        u8(v);
        u8(v >> 8);
    }
    void u32(quint32 v) {
        u16(int(v & 0xFFFF));
        u16(int(v >> 16));
    }
    void i32(int v) { u32(quint32(v)); }
    void f32(float v);
    void bytes(const QByteArray& b) { m_bytes.append(b); }
    // Zero bytes up to a multiple of `n`.
    void padTo(int n);
    int size() const { return int(m_bytes.size()); }
    // Overwrites 2 or 4 bytes at `offset`.
    void put16(int offset, int v);
    void put32(int offset, quint32 v);
    const QByteArray& data() const { return m_bytes; }

private:
    QByteArray m_bytes;
};

// A bitmap as a bottom-up 24-bit DIB: the 40-byte BITMAPINFOHEADER, then the rows, each padded
// to 4 bytes. Transparent pixels are laid on white.
QByteArray DibHeader(const QImage& image);
QByteArray DibBits(const QImage& image);

} // namespace report
