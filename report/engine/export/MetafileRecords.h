#pragma once
// What the EMF and WMF writers share: a page recording flattened into one list of records in
// the page's own units (nested pictures inlined, scaled and bracketed by save and restore),
// and a little-endian byte builder.

#include "platform/Metafile.h"

#include <QByteArray>

#include <optional>
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

// What both writers track while they turn records into device objects: the pen, brush, font and
// text mode the next drawing wants, what was last written to the device, the saved states, and
// the device's object table, where a new object takes the lowest free slot as the players do.
class GdiObjectState {
public:
    struct Wanted {
        platform::TPen pen;
        platform::TBrush brush;
        platform::TFont font;
        platform::meta::TextMode mode;
    };
    struct Drawn {
        std::optional<platform::TPen> pen;
        std::optional<platform::TBrush> brush;
        std::optional<platform::TFont> font;
        std::optional<platform::meta::TextMode> mode;
        std::optional<platform::TColor> textColor;
    };

    void apply(const platform::meta::SelectPen& r) { want.pen = r.pen; }
    void apply(const platform::meta::SelectBrush& r) { want.brush = r.brush; }
    void apply(const platform::meta::SelectFont& r) { want.font = r.font; }
    void apply(const platform::meta::TextMode& r) { want.mode = r; }
    void apply(const platform::meta::Picture&) {} // flattened away

    bool penDrawn() const { return drawn.pen && *drawn.pen == want.pen; }
    bool brushDrawn() const { return drawn.brush && *drawn.brush == want.brush; }
    void save() { m_saved.push_back(want); }
    // False without a matching save; else the device went back to the objects of the save,
    // some of them deleted since, so nothing counts as drawn.
    bool restore();

    int takeSlot();
    void freeSlot(int slot) { m_used[size_t(slot)] = false; }
    int peakSlots() const { return m_peak; }

    Wanted want;
    Drawn drawn;

private:
    std::vector<Wanted> m_saved;
    std::vector<bool> m_used;
    int m_peak = 0;
};

} // namespace report
