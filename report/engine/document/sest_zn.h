#pragma once
// The character page of text-only printers and the plain-text export: rows of characters in
// which texts are placed by position (1/100 inch) at 10, 12 or 17 characters per inch with
// attribute bits, merged row by row and written as lines ending in CR LF in a code page.
// Text is held as QString, one character per column; it is encoded only when written.

#include "platform/TCanvas.h"
#include "report/engine/text/sestcepr.h"

#include <QIODevice>
#include <QString>

#include <array>
#include <vector>

namespace report {

// One row: 24 text slots, slot = pitch * 8 + attributes (pitch 0 = 10 cpi, 1 = 12 cpi,
// 2 = 17 cpi; attribute bit 1 = bold, the other two carried through).
struct TZnakovyRadek {
    static constexpr int SlotCount = 24;
    std::array<QString, SlotCount> texts;
};

class TZnakovePole {
public:
    // Rows of the page: its height (1/100 inch) at 6, 4 or 3 lines per inch by `spacing`
    // (0, 1, 2; any other value is 0). A height of 0 or less gives no rows.
    void SetPageSize(int height, int spacing);
    int RowCount() const { return int(m_rows.size()); }
    int LinesPerInch() const;

    // Empties every slot.
    void ClearPage();
    // Clears the page and remembers the stream that WriteTo writes to; EndOutput forgets it.
    void BeginPage(QIODevice* stream);
    void EndOutput() { m_stream = nullptr; }

    // Places `text` in the field of `rect` (1/100 inch): row of its top plus `rowOffset`, pitch
    // by `fontSize` in points (below 9: 17 cpi, below 11: 12 cpi, else 10 cpi), aligned left
    // (0), right (1) or centred (2) and cut to the field. Nothing is placed for an empty text,
    // a negative position, a field ending past column 255, or a row outside the page.
    void PutText(const platform::TRect& rect, const QString& text, int alignment, int attributes,
                 double fontSize, int rowOffset);

    // Every row merged (a lower slot's character wins over blanks of higher slots), encoded
    // for `codePage` and followed by CR LF, to the stream of BeginPage; nothing without one.
    void WriteTo(TSestLanguage codePage);
    // The rows as WriteTo writes them.
    QByteArray PageBytes(TSestLanguage codePage) const;

    // Draws every non-empty slot at x 0, row r at r times the height of "X" in the canvas's
    // font, in the printer's pitch fonts ("Roman 10cpi" .. "Roman 17cpi", mapped to Courier
    // New), bold for attribute bit 1, showing what a printer of `codePage` prints.
    void Draw(platform::TCanvas& canvas, TSestLanguage codePage) const;

    // A slot's text; "" for a row, pitch or attribute outside the page. SetSlot ignores them.
    QString Slot(int row, int pitch, int attributes) const;
    void SetSlot(int row, int pitch, int attributes, const QString& text);

    // The merged line of a row, before encoding.
    QString MergedRow(int row) const;

private:
    static int slotIndex(int pitch, int attributes);
    std::vector<TZnakovyRadek> m_rows;
    int m_spacing = 0;
    QIODevice* m_stream = nullptr;
};

} // namespace report
