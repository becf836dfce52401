#pragma once
// Reading of rich text (RTF) for the report engine's text elements: a table-driven reader with a
// state stack, in the manner of the sample reader published with the RTF format. It turns the
// source into the characters to lay out, each with the character and paragraph properties in
// force when it was read. Multiline plain text goes through the same path in plain mode.

#include <QColor>
#include <QList>
#include <QString>

namespace report {

// Reader results. Reading stops at the first error; what was read before it is kept.
enum RichTextError : int {
    rtfOk = 0,
    rtfStackUnderflow = 1, // a "}" without its "{"
    rtfOutOfMemory = 2,    // kept for the numbering; the state stack lives on the heap
    rtfUnmatchedBrace = 3, // groups still open at the end
    rtfInvalidHex = 4,     // \'hh with a character that is no hexadecimal digit
    rtfBadTable = 5,       // kept for the numbering; the keyword table is checked when built
    rtfInvalidState = 6,   // kept for the numbering; no state can be reached that needs it
    rtfEndOfFile = 7,      // the text ends inside a keyword or a \'hh escape
};

// Paragraph alignment codes, shared with the element's own alignment.
enum RichTextAlignment : int { alignLeft = 0, alignRight = 1, alignCenter = 2, alignJustify = 3 };

// The properties of one read character. A face left empty, a charset of -1, a size of -1 and an
// invalid colour mean "the base font's", which the layout supplies.
struct RichTextStyle {
    QString face;
    int charset = -1;
    int halfPoints = -1; // font size in half-points
    bool bold = false;
    bool italic = false;
    bool underline = false;
    QColor colour;
    // Paragraph properties in twips, except the bullet indent (twips as well, 0 when none).
    int leftIndent = 0;
    int rightIndent = 0;
    int firstIndent = 0;
    int bulletIndent = 0;
    int alignment = alignLeft;
    int tabWidth = 720; // twips, always > 0

    bool operator==(const RichTextStyle&) const = default;
};

// The base font's style flags, which the reader starts from.
struct RichTextBase {
    bool bold = false;
    bool italic = false;
    bool underline = false;
    int alignment = alignLeft; // the element's alignment
};

struct RichTextContent {
    QString text;           // the characters to lay out; LF ends a paragraph
    QList<int> styleOfChar; // one index into `styles` per character of `text`
    QList<RichTextStyle> styles;
    int error = rtfOk;
};

// Reads `source`. With `rtf` false every character is literal (LF ends a paragraph, CR is kept
// as a character of no width), and all characters share the base style. With `rtf` true the
// source is read as RTF: CR, LF and NUL outside keywords are ignored, \'hh is decoded in the
// code page of the current font's \fcharset, else of \ansicpg, else Windows-1250. Never fails
// other than by the error code; any input terminates in time linear in its length.
RichTextContent ReadRichText(const QString& source, bool rtf, const RichTextBase& base = {});

// The byte `byte` in the Windows code page `codePage` (1250 ... 1258): Windows-1250 from the
// program's own table, the others through ICU; U+FFFD where such a page has no character for
// the byte, or for every byte of a page that is unknown.
QChar DecodeCodePageByte(int codePage, unsigned char byte);

} // namespace report
