#pragma once
// Code pages of plain-text output: the 44 accented letters of Czech and Slovak (and German
// umlauts) in plain ASCII, Kamenický (CP867), CP852 and CP1250. Every other byte passes
// unchanged. Also the single-byte code pages of Windows font charsets, in which metafiles
// hold their texts.

#include <QByteArray>
#include <QString>

namespace report {

// The report's export language.
enum TSestLanguage {
    slUndefined = 0, // no conversion: text is written as UTF-8
    slASCII = 1,
    slCP867 = 2,
    slCP852 = 3,
    slCP1250 = 4,
};

// One letter's byte in each code page, columns in TSestLanguage order 1..4.
struct CodePageRow {
    unsigned char ascii;
    unsigned char cp867;
    unsigned char cp852;
    unsigned char cp1250;
};
constexpr int CodePageRowCount = 44;
// Row `row` (0..43) of the conversion table.
CodePageRow CodePageTableRow(int row);

// `ch` from code page `from` to `to` (both slASCII..slCP1250): unchanged when the pages are
// equal, below 128, or not in the from-column; otherwise the to-column of the first row whose
// from-column holds it. A page outside slASCII..slCP1250 converts nothing.
unsigned char ConvertCharCP(TSestLanguage from, TSestLanguage to, unsigned char ch);
QByteArray ConvertStringCP(TSestLanguage from, TSestLanguage to, const QByteArray& text);

// Text for a TXT file or a text printer: as Windows-1250 (a character it lacks becomes one
// '?'), then converted to `language`; slUndefined gives UTF-8.
QByteArray EncodeForExport(const QString& text, TSestLanguage language);

// The bytes of `text` in the code page of a Windows `charset` (the default charset as
// Windows-1250); a character the code page lacks becomes "?". The reader decodes with the
// same code page.
QByteArray EncodeForCharset(const QString& text, int charset);
QString DecodeForCharset(const QByteArray& bytes, int charset);

} // namespace report
