#pragma once
// The output document of a report run: pages of placed elements in 1/100 inch inside the
// printable area, independent of any device; the page view (the current page recorded as a
// metafile at 600 units per inch); the text form of elements for text-only output; and the one
// routine that draws a report element on any canvas.
//
// Page indexes are 0-based everywhere; an index outside the document does nothing.

#include "platform/Metafile.h"
#include "platform/PrintFailure.h"
#include "report/engine/template/sestavyt_model.h"
#include "report/engine/text/sest_rtf.h"
#include "report/engine/text/sestcepr.h"

#include <QString>

#include <functional>
#include <map>
#include <memory>
#include <vector>

namespace report {

class RunProgress;
class TPicture;
class TZnakovePole;

// What an element shows, apart from its template element: the text, the lines of a growing
// text split over pages, and its own picture.
struct ElementContent {
    QString text;
    // The lines the run laid out (at scale 1, by TextLayoutOf); null when it laid out none.
    const TRadky* lines = nullptr;
    int firstLine = 0;
    int lastLine = -1;
    const TPicture* picture = nullptr; // own picture; null: the template element's
    bool hasPicture = false;
};

// How an element's text is laid out: its font (a printer's "Roman" font becomes the screen
// font that stands for it) and the layout options at scale 1. Character spacing of 1 or more
// takes the place of the character width; `charWidth` and `lineHeight` of 0 take the font's.
// The run lays texts out with these, and every output draws the lines it laid out.
struct ElementTextLayout {
    platform::TFont font;
    RichTextOptions options;
};
ElementTextLayout TextLayoutOf(const TVoranReportElement& element, double charWidth = 0,
                               double lineHeight = 0);

// Draws `element` with `content` in `rect` (1/100 inch) shifted by the offsets, on `canvas`
// at the scales (device units per 1/100 inch). `charWidth` and `lineHeight` of 0 take the
// font's. The designer draws template elements through the same routine.
void DrawReportElement(platform::TCanvas& canvas, const TVoranReportElement& element,
                       const ElementContent& content, const platform::TRect& rect, double xOffset,
                       double yOffset, double scaleX, double scaleY, double fontScale = 0,
                       double charWidth = 0, double lineHeight = 0);

// One placed element.
class TVystPrvek {
public:
    TVystPrvek(TVoranReportElement* source, int left, int top, int width, int height);
    ~TVystPrvek();

    void SetText(const QString& text) { m_text = text; }
    const QString& Text() const { return m_text; }
    // A copy of the lines, all shown.
    void SetLines(const TRadky& lines);
    void SetShownLines(int first, int last);
    const TRadky* Lines() const { return m_lines.get(); }
    int FirstLine() const { return m_firstLine; }
    int LastLine() const { return m_lastLine; }
    // The characters of the shown lines (plain text); "" without lines.
    QString ShownText() const;
    // A copy of the picture (none clears it), or none of its own: drawn with the template
    // element's.
    void SetPicture(const TPicture* picture);
    void UseTemplatePicture();
    const TPicture* Picture() const { return m_picture.get(); }
    bool HasPicture() const { return m_hasPicture; }

    TVoranReportElement* Source() const { return m_source; }
    int Kind() const { return m_source ? m_source->Kind : ekNone; }

    void Draw(platform::TCanvas& canvas, double xOffset, double yOffset, double scaleX,
              double scaleY, double fontScale, double charWidth, double lineHeight) const;

    int Order = 0;
    int Left;
    int Top;
    int Width;
    int Height;

private:
    TVoranReportElement* m_source;
    QString m_text;
    std::unique_ptr<TRadky> m_lines;
    int m_firstLine = 0;
    int m_lastLine = -1;
    std::unique_ptr<TPicture> m_picture;
    bool m_hasPicture = false;
};

// One page: elements in drawing order.
class TStranaPrvku {
public:
    int Count() const { return m_count; }
    // Element i in drawing order; null out of range.
    TVystPrvek* Prvek(int i) const;
    // Inserts by the drawing-order rule and numbers the element.
    void Add(std::unique_ptr<TVystPrvek> element);

private:
    // The elements of each drawing key in the order they were added: adding is a push, so a
    // page of n elements takes O(n log k) for k keys, not one shifting insertion per element.
    std::map<std::pair<int, int>, std::vector<std::unique_ptr<TVystPrvek>>> m_byKey;
    // Drawing order, laid out again on the first read after an addition.
    mutable std::vector<TVystPrvek*> m_drawingOrder;
    int m_count = 0;
    int m_orderCounter = 0;
};

class TSestVystup {
public:
    // Printable size in 1/100 inch and the paper's left and top margins.
    TSestVystup(int printableWidth = 827, int printableHeight = 1169);
    ~TSestVystup();

    // Pages are cleared; the printable size becomes the given one.
    void Clear(int printableWidth, int printableHeight);
    void Clear() { Clear(m_printableWidth, m_printableHeight); }
    int PageCount() const { return int(m_pages.size()); }
    TStranaPrvku* Page(int i) const;
    // Adds to page n, creating the missing pages up to it. A negative n is refused (the
    // element is dropped and null returned).
    TVystPrvek* AddElement(int page, std::unique_ptr<TVystPrvek> element);

    // End capped at the page count, the pages after it deleted for good; current = start - 1.
    void SetPageRange(int start, int end, int exportLanguage, int copies);
    int StartPage() const { return m_startPage; }
    int EndPage() const { return m_endPage; }
    int Copies() const { return m_copies; }
    int ExportLanguage() const { return m_exportLanguage; }
    // Background picture (not owned) in its rectangle on the paper (1/100 inch, margins
    // included); `margins` are the paper's left and top margins. Printed only with `print`.
    void SetBackground(const TPicture* picture, const platform::TRect& rect, bool print,
                       int marginLeft = 0, int marginTop = 0);
    bool PrintsBackground() const { return m_background && m_printBackground; }
    const TPicture* BackgroundPicture() const { return m_background; }
    const platform::TRect& BackgroundRect() const { return m_backgroundRect; }
    // Whether the page view draws the background set before (exports choose per call).
    void SetPrintBackground(bool print) { m_printBackground = m_background && print; }
    // The report's title (its description), for the exports that carry one.
    void SetTitle(const QString& title) { m_title = title; }
    const QString& Title() const { return m_title; }
    void SetLineCode(int code) { m_lineCode = code; }
    int LineCode() const { return m_lineCode; }

    // Where the report run places the next section: the current page, the column of a
    // multi-column body and its x offset, and the page's bottom (1/100 inch).
    struct RunPosition {
        int pageIndex = 0;
        int xOffset = 0;
        int column = 1;
        int pageBottom = 0;
    };
    RunPosition runPosition;

    // The report's paper (1/100 inch), for printing.
    struct PageLayout {
        int pageWidth = 827;
        int pageHeight = 1169;
        int marginLeft = 0;
        int marginTop = 0;
        int marginRight = 0;
        int marginBottom = 0;
        bool landscape = false;
        bool orientationChangeable = false;
    };
    void SetPageLayout(const PageLayout& layout) { m_layout = layout; }
    const PageLayout& pageLayout() const { return m_layout; }

    int PrintableWidth() const { return m_printableWidth; }
    int PrintableHeight() const { return m_printableHeight; }

    // Asked between elements and sheets as well; may be empty (or null).
    void SetCancelQuery(std::function<bool()> query) { m_cancelQuery = std::move(query); }
    void SetCancelSource(const bool* flag) {
        SetCancelQuery(flag ? std::function<bool()>([flag] { return *flag; }) : nullptr);
    }
    // The progress window of what now prints or exports the document (not owned; null for
    // none): printers and writers show their pages in it, say when a job goes to the printer
    // (the window stops offering cancel then) and stop once it is cancelled.
    void SetProgress(RunProgress* progress) { m_progress = progress; }
    RunProgress* Progress() const { return m_progress; }
    // Whether the cancel flag, the cancel source or the progress window asks to stop.
    bool CancelRequested() const;
    // Page n (from 1) is being printed or written: the progress window shows it.
    void NotePage(int n) const;

    // Makes page n current and records it into the page view; an invalid n does nothing.
    void ShowPage(int n);
    int CurrentPage() const { return m_currentPage; }
    const platform::Metafile& PageView() const { return m_view; }
    // Draws the background of the page view onto `canvas` at `scale` device units per
    // 1/100 inch, where BackgroundPlace puts it for the printable area's corner at `x`, `y`
    // (1/100 inch).
    void DrawBackground(platform::TCanvas& canvas, double x, double y, double scaleX,
                        double scaleY) const;

    // The text form of an element in the character page, shifted by the offsets.
    static void ToText(const TVystPrvek& element, TZnakovePole& page, int xOffset, int yOffset);

    // Why the last print did not reach paper (PrintFailure.h); None after a print that was done
    // or cancelled.
    using PrintFailure = platform::PrintFailure;
    const PrintFailure& LastPrintFailure() const { return m_printFailure; }
    // Set by the printers (sestvyst_print.h, report_engine) as each print starts and fails.
    void SetPrintFailure(const PrintFailure& failure) { m_printFailure = failure; }

private:
    std::vector<std::unique_ptr<TStranaPrvku>> m_pages;
    platform::Metafile m_view;
    const TPicture* m_background = nullptr;
    platform::TRect m_backgroundRect;
    int m_marginLeft = 0;
    int m_marginTop = 0;
    bool m_printBackground = false;
    int m_currentPage = -1;
    int m_startPage = 1;
    int m_endPage = 9999;
    int m_copies = 1;
    int m_lineCode = 0;
    int m_exportLanguage = slUndefined;
    QString m_title;
    PrintFailure m_printFailure;
    std::function<bool()> m_cancelQuery;
    RunProgress* m_progress = nullptr;
    int m_printableWidth;
    int m_printableHeight;
    PageLayout m_layout;
};

// Where the page view and the graphic printer put the background picture on a device: its
// rectangle `background` (1/100 inch on the paper, the printable area's corner at `marginLeft`,
// `marginTop`) with that corner moved to (x, y) 1/100 inch and scaled by `scaleX`, `scaleY`
// device units per 1/100 inch, rounded half away from zero; the picture covers the unit of its
// right and bottom edge.
platform::TRect BackgroundPlace(const platform::TRect& background, int marginLeft, int marginTop,
                                double x, double y, double scaleX, double scaleY);

} // namespace report
