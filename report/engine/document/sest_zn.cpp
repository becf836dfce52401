#include "report/engine/document/sest_zn.h"

#include "platform/Windows1250.h"
#include "report/engine/sest_lib.h"

#include <cmath>

namespace report {
namespace {

constexpr int lastColumn = 255;
// No printer page has more rows; a bigger height is bad input, not a page.
constexpr qint64 maxRows = 100000;
constexpr std::array<int, 3> charsPerInch{10, 12, 17};
constexpr std::array<const char*, 3> pitchFonts{"Roman 10cpi", "Roman 12cpi", "Roman 17cpi"};

int pitchOfSize(double fontSize) {
    return fontSize < 9 ? 2 : (fontSize < 11 ? 1 : 0);
}

// One column per character: a character outside the basic plane (a surrogate pair) takes one
// column as the '?' it is written as, and control characters would break the row.
QString columnText(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            out += QLatin1Char('?');
            ++i;
        } else {
            out += c.unicode() < 32 ? QLatin1Char(' ') : c;
        }
    }
    return out;
}

} // namespace

int TZnakovePole::LinesPerInch() const {
    switch (m_spacing) {
    case 1:
        return 4;
    case 2:
        return 3;
    default:
        return 6;
    }
}

void TZnakovePole::SetPageSize(int height, int spacing) {
    m_spacing = spacing;
    const qint64 rows = std::clamp<qint64>(qint64(height) * LinesPerInch() / 100, 0, maxRows);
    m_rows.assign(size_t(rows), TZnakovyRadek{});
}

void TZnakovePole::ClearPage() {
    for (TZnakovyRadek& row : m_rows)
        for (QString& slot : row.texts)
            slot.clear();
}

void TZnakovePole::BeginPage(QIODevice* stream) {
    ClearPage();
    m_stream = stream;
}

int TZnakovePole::slotIndex(int pitch, int attributes) {
    if (pitch < 0 || pitch > 2 || attributes < 0 || attributes > 7) return -1;
    return pitch * 8 + attributes;
}

void TZnakovePole::PutText(const platform::TRect& rect, const QString& text, int alignment,
                           int attributes, double fontSize, int rowOffset) {
    if (text.isEmpty()) return;
    // Row = round(y * lpi / 100), ties to even.
    const double exactRow = double(rect.top) * LinesPerInch() / 100.0;
    const qint64 row = qint64(std::nearbyint(exactRow)) + rowOffset;
    const int pitch = pitchOfSize(fontSize);
    const int cpi = charsPerInch[pitch];
    const qint64 column = qint64(rect.left) * cpi / 100;
    const qint64 width = (qint64(rect.right) - rect.left) * cpi / 100;
    if (column < 0 || width < 0 || column + width > lastColumn) return;
    if (row < 0 || row >= RowCount()) return;
    const int slot = slotIndex(pitch, attributes & 7);

    const QString shown = columnText(text);
    const qsizetype length = shown.size();
    QString piece;
    qsizetype start = column;
    switch (alignment) {
    case 1:
        piece = length >= width ? shown.right(width) : shown;
        start = column + width - piece.size();
        break;
    case 2:
        piece = length > width ? shown.mid((length - width) / 2, width) : shown;
        start = column + (length > width ? 0 : (width - length) / 2);
        break;
    default:
        piece = shown.left(width);
        break;
    }
    QString& line = m_rows[size_t(row)].texts[size_t(slot)];
    if (line.size() < column + width) line = line.leftJustified(column + width, QLatin1Char(' '));
    line.replace(start, piece.size(), piece);
}

QString TZnakovePole::MergedRow(int row) const {
    if (row < 0 || row >= RowCount()) return {};
    QString line;
    for (const QString& slot : m_rows[size_t(row)].texts) {
        if (line.size() < slot.size()) line = line.leftJustified(slot.size(), QLatin1Char(' '));
        for (qsizetype i = 0; i < slot.size(); ++i)
            if (line.at(i) == QLatin1Char(' ')) line[i] = slot.at(i);
    }
    return line;
}

QByteArray TZnakovePole::PageBytes(TSestLanguage codePage) const {
    QByteArray bytes;
    for (int row = 0; row < RowCount(); ++row) {
        bytes += EncodeForExport(MergedRow(row), codePage);
        bytes += "\r\n";
    }
    return bytes;
}

void TZnakovePole::WriteTo(TSestLanguage codePage) {
    if (m_stream) m_stream->write(PageBytes(codePage));
}

void TZnakovePole::Draw(platform::TCanvas& canvas, TSestLanguage codePage) const {
    const int lineHeight = canvas.TextHeight(QStringLiteral("X"));
    canvas.SaveState();
    for (int row = 0; row < RowCount(); ++row) {
        for (int slot = 0; slot < TZnakovyRadek::SlotCount; ++slot) {
            const QString& text = m_rows[size_t(row)].texts[size_t(slot)];
            if (text.isEmpty()) continue;
            platform::TFont font = canvas.Font();
            font.name = QString::fromLatin1(pitchFonts[slot / 8]);
            font.bold = slot % 8 & 1;
            MapRomanFont(font);
            canvas.SetFont(font);
            // The characters a printer of that code page receives, shown back as text.
            QString shown = text;
            if (codePage != slUndefined) {
                const QByteArray bytes = EncodeForExport(text, codePage);
                shown = platform::DecodeWindows1250(ConvertStringCP(codePage, slCP1250, bytes));
            }
            canvas.TextOut(0, lineHeight * row, shown);
        }
    }
    canvas.RestoreState();
}

QString TZnakovePole::Slot(int row, int pitch, int attributes) const {
    const int slot = slotIndex(pitch, attributes);
    if (row < 0 || row >= RowCount() || slot < 0) return {};
    return m_rows[size_t(row)].texts[size_t(slot)];
}

void TZnakovePole::SetSlot(int row, int pitch, int attributes, const QString& text) {
    const int slot = slotIndex(pitch, attributes);
    if (row < 0 || row >= RowCount() || slot < 0) return;
    m_rows[size_t(row)].texts[size_t(slot)] = text;
}

} // namespace report
