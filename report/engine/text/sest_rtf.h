#pragma once
// Rich and multiline text of report elements: layout into lines for a rectangle at a scale,
// fitting to a height, and drawing with positioned glyph runs; plain text drawn rotated.
//
// Units. Rectangles are in the canvas's device units ("output units"). Layout works in
// internal units of 1/72 output unit. Font sizes in points convert at 100 output units per
// inch times the scale (as a report page in 1/100 inch would), so the same text, rectangle,
// font and scale give the same lines and glyph positions on every canvas: screen, printer,
// recorded page view and exports. Paragraph values in twips (RTF) become value * 72 / 15
// internal units.
//
// Every function accepts any input: bad rich text gives its reader error code with the lines
// read before the error; no input crashes or loops.

#include "platform/TCanvas.h"
#include "report/engine/text/sest_rtf_reader.h"

#include <QList>
#include <QString>
#include <QVector>

#include <memory>

namespace report {

// Layout results beyond the reader's error codes (sest_rtf_reader.h).
enum RichTextLayoutResult : int {
    rtfLineTooLong = 9, // word wrap off and a line longer than the rectangle: layout stopped
};

constexpr int kInternalPerUnit = 72; // internal units per output unit

// One laid-out line. Positions and sizes in internal units.
struct TRadek {
    int width = 0; // natural width of the line's text (a blank at a wrap not included)
    int height = 0;
    int startX = 0;         // left end of the line from the rectangle's left edge
    int baseline = 0;       // from the line's top
    QVector<int> positions; // left edge of each consumed character, from startX
    bool firstLine = false; // the first line of a paragraph
    // The characters consumed: `charCount` characters of `text()` from `firstChar`. In plain
    // mode CR and LF count too, so the counts of all lines add up to the text's length.
    int firstChar = 0;
    int charCount = 0;
    std::shared_ptr<const RichTextContent> content;

    QString text() const;
};

class TRadky {
public:
    int Count() const { return int(m_lines.size()); }
    bool IsEmpty() const { return m_lines.isEmpty(); }
    void Clear() { m_lines.clear(); }
    void Add(TRadek line) { m_lines.append(std::move(line)); }
    // Line i; the first line when i is out of range (an empty line when there is none).
    const TRadek& GetRadek(int i) const;
    // Sum of the line heights plus 1 unit, in output units; 0 for no lines or one line of
    // width 0.
    int TotalHeight() const;
    // How many lines from `first` fit `height` output units, accumulating line heights after a
    // 1-unit start: `used` receives the height they take (output units, rounded up) and
    // `last` the last line that fits (first - 1 when none does). True when all lines fit.
    bool FitHeight(int first, int height, int& used, int& last) const;
    // Appends copies of the lines of `other`.
    void AppendLines(const TRadky& other);
    // The plain text of all lines, line after line (what the text writers take characters
    // from at a running position).
    QString Text() const;

private:
    QList<TRadek> m_lines;
};

struct RichTextOptions {
    bool wordWrap = true;
    double scaleX = 1;
    double scaleY = 1;
    int alignment = alignLeft; // the element's alignment (RichTextAlignment)
    bool rtf = false;
    double charWidth = 0;  // > 0: every character advances this many output units (at scale 1)
    double lineHeight = 0; // > 0: lines start this high, in output units (at scale 1)
};

// Lays out `text` for `rect` into `lines` (cleared first). The canvas's font is the base font:
// its size in points (or its height, when set, as output units at scale 1), face, style,
// charset and colour. Returns 0, a reader error code, or rtfLineTooLong.
int LayoutRichText(const platform::TCanvas& canvas, const platform::TRect& rect,
                   const QString& text, const RichTextOptions& options, TRadky& lines);
// The same, then drops the lines that do not fit the rectangle's height.
int LayoutRichTextToFit(const platform::TCanvas& canvas, const platform::TRect& rect,
                        const QString& text, const RichTextOptions& options, TRadky& lines);

// Lines first..last (clamped to the list) of lines laid out at scale 1, as a layout at
// scaleX, scaleY gives them: the same breaks, positions and heights scaled. What a run laid
// out once is drawn so on every device.
TRadky ScaledLines(const TRadky& lines, int first, int last, double scaleX, double scaleY);

// Lays out and draws, baseline-aligned and transparent; the canvas's state is kept. A plain
// one-line text takes DrawPlainLine.
int DrawRichText(platform::TCanvas& canvas, const platform::TRect& rect, const QString& text,
                 const RichTextOptions& options);
int DrawRichTextToFit(platform::TCanvas& canvas, const platform::TRect& rect, const QString& text,
                      const RichTextOptions& options);
// A plain text (no RTF, no control characters, at most 1024 characters) without word wrap,
// drawn with exactly the calls on `canvas` that the layout and DrawRichTextLines would make,
// but measured once and without the rich-text machinery: most cells of a report are such
// texts. `result` gets DrawRichText's result. False, with nothing drawn, for any other text.
bool DrawPlainLine(platform::TCanvas& canvas, const platform::TRect& rect, const QString& text,
                   const RichTextOptions& options, int& result);
// Draws lines first..last (clamped to the list) of laid-out lines from the rectangle's top:
// the part of a growing text that falls on one page. Fonts as in the layout, with the base
// font and scale given here.
void DrawRichTextLines(platform::TCanvas& canvas, const platform::TRect& rect, const TRadky& lines,
                       int first, int last, const RichTextOptions& options);

// Plain text (at most 256 characters are drawn) rotated by `angle` degrees counterclockwise,
// centred on the rectangle's centre with its baseline through it, clipped to the rectangle,
// transparent. Font and rectangle are scaled; advances are measured at 72 times the font size.
void DrawRotatedText(platform::TCanvas& canvas, const platform::TRect& rect, const QString& text,
                     int angle, double scaleX, double scaleY, const platform::TFont& font);

// The plain text of a rich (or plain) text: the characters the reader gives, paragraphs
// ending in LF. Laid-out lines' character counts run over this text.
QString RichTextPlainText(const QString& text, bool rtf);

} // namespace report
