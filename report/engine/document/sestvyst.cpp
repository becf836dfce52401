#include "report/engine/document/sestvyst.h"

#include "platform/TVoranCanvas.h"
#include "report/engine/barcode/sestbarc.h"
#include "report/engine/document/RunProgress.h"
#include "report/engine/document/TPicture.h"
#include "report/engine/document/sest_zn.h"
#include "report/engine/sest_lib.h"

#include <QCoreApplication>

#include <algorithm>
#include <cmath>

namespace report {

using platform::TCanvas;
using platform::TRect;

namespace {

// The view is recorded at 600 units per inch: 6 units per 1/100 inch.
constexpr double kViewScale = 6.0;

int nearest(double v) {
    return ScaleRound(v, 1.0);
}

bool isTextKind(int kind) {
    return kind >= ekText && kind <= ekFunction;
}
bool isGraphicKind(int kind) {
    return kind >= ekLine && kind <= ekBarcode;
}

int textOptionsOf(const TVystPrvek& e) {
    return e.Source() ? e.Source()->TextOptions : 0;
}

// Drawing order: drawing areas and other special kinds by descending kind, then graphics, then
// texts by ascending options, then elements of no kind. A page stays sorted by this key; a new
// element goes before its equals (the last added is drawn first), except one of no kind, which
// goes last.
std::pair<int, int> drawingKey(const TVystPrvek& e) {
    const int kind = e.Kind();
    if (kind >= ekDrawingArea) return {0, -kind};
    if (isGraphicKind(kind)) return {1, 0};
    if (isTextKind(kind)) return {2, textOptionsOf(e)};
    return {3, 0};
}

void drawSides(TCanvas& canvas, const TRect& r, int sides) {
    if (sides & soLeft) {
        canvas.MoveTo(r.left, r.bottom);
        canvas.LineTo(r.left, r.top);
    }
    if (sides & soTop) {
        canvas.MoveTo(r.left, r.top);
        canvas.LineTo(r.right, r.top);
    }
    if (sides & soRight) {
        canvas.MoveTo(r.right, r.top);
        canvas.LineTo(r.right, r.bottom);
    }
    if (sides & soBottom) {
        canvas.MoveTo(r.right, r.bottom);
        canvas.LineTo(r.left, r.bottom);
    }
}

// The pen of lines and frame outlines: width w of the template (within the page's reach)
// scaled, at least one unit.
int scaledPenWidth(int w, double scale) {
    return platform::saturatedInt(qint64(nearest((w - 1.0) * scale)) + 1);
}

TRect narrowed(TRect r, int w) {
    const auto moved = [](int side, int by) { return platform::saturatedInt(qint64(side) + by); };
    r.left = moved(r.left, w / 2);
    r.top = moved(r.top, w / 2);
    r.right = moved(r.right, -((w + 1) / 2));
    r.bottom = moved(r.bottom, -((w + 1) / 2));
    return r;
}

// The pen width of a line or a frame, taken within the page's reach.
int penWidthOf(const TVoranReportElement& e) {
    return WithinPageReach(e.PenWidth);
}

int sideBits(const TVoranReportElement& e) {
    return e.Options & (soLeft | soTop | soRight | soBottom);
}

void drawText(TCanvas& canvas, const TVoranReportElement& e, const ElementContent& content,
              const TRect& r, const TRect& unscaled, double sx, double sy, double charWidth,
              double lineHeight) {
    ElementTextLayout layout = TextLayoutOf(e, charWidth, lineHeight);
    layout.options.scaleX = sx;
    layout.options.scaleY = sy;
    canvas.SaveState();
    canvas.SetFont(layout.font);
    if (e.Angle != 0) {
        DrawRotatedText(canvas, unscaled, content.text, e.Angle, sx, sy, layout.font);
    } else if (content.lines) {
        // The run's lines, never laid out again: every device shows the same words in the
        // same places. The shown part is drawn from the rectangle's top.
        const TRadky shown =
            ScaledLines(*content.lines, content.firstLine, content.lastLine, sx, sy);
        DrawRichTextLines(canvas, r, shown, 0, shown.Count() - 1, layout.options);
    } else {
        DrawRichText(canvas, r, content.text, layout.options);
    }
    canvas.RestoreState();
    canvas.SaveState();
    canvas.SetPen({0, platform::psSolid, 0});
    drawSides(canvas, r, sideBits(e));
    canvas.RestoreState();
}

void drawLine(TCanvas& canvas, const TVoranReportElement& e, TRect r, double sx) {
    canvas.SaveState();
    canvas.SetBrush({0xFFFFFF, platform::bsClear});
    const int pen = penWidthOf(e);
    canvas.SetPen({e.PenColor, e.PenStyle, scaledPenWidth(pen, sx)});
    r = narrowed(r, pen);
    drawSides(canvas, r, sideBits(e));
    if (e.Options & soLineRising) {
        canvas.MoveTo(r.left, r.bottom);
        canvas.LineTo(r.right, r.top);
    }
    if (e.Options & soLineFalling) {
        canvas.MoveTo(r.left, r.top);
        canvas.LineTo(r.right, r.bottom);
    }
    if (e.Options & soLineEllipse) canvas.Ellipse(r);
    canvas.RestoreState();
}

void drawFrame(TCanvas& canvas, const TVoranReportElement& e, TRect r, double sx, double sy) {
    canvas.SaveState();
    canvas.SetBrush({e.BrushColor, e.BrushStyle});
    const int pen = penWidthOf(e);
    if (pen != 0)
        canvas.SetPen({e.PenColor, platform::psSolid, scaledPenWidth(pen, sx)});
    else
        canvas.SetPen({e.PenColor, platform::psClear, 1});
    r = narrowed(r, pen);
    if (e.Kind == ekFrame) {
        canvas.Rectangle(r);
    } else if (e.Kind == ekRoundFrame) {
        const int corner = std::min(r.height() / 2, nearest(40 * sy));
        canvas.RoundRect(r, corner, corner);
    } else {
        canvas.Ellipse(r);
    }
    canvas.RestoreState();
}

void drawPicture(TCanvas& canvas, const TVoranReportElement& e, const ElementContent& content,
                 const TRect& r, double sx, double sy) {
    const TPicture* shown = content.picture;
    if (!shown && content.hasPicture) shown = e.GetPicture();
    if (!shown || shown->isEmpty()) return;
    // The report may change the picture for this size, so it gets a copy of its own.
    TPicture picture = *shown;
    TRect fitted = r;
    const int alignment = e.Kind == ekItem ? e.Alignment : 0;
    FitPictureRect(fitted, e.Options & soPictureStretch, e.Options & soPictureKeepAspect, picture,
                   alignment, sx, sy);
    e.PreparePicture(&picture, fitted.width(), fitted.height());
    DrawPicture(canvas, fitted, picture);
    if (e.Kind == ekItem) {
        canvas.SaveState();
        canvas.SetPen({0, platform::psSolid, 1});
        drawSides(canvas, r, sideBits(e));
        canvas.RestoreState();
    }
}

} // namespace

ElementTextLayout TextLayoutOf(const TVoranReportElement& e, double charWidth, double lineHeight) {
    ElementTextLayout layout;
    layout.font = e.Font;
    layout.font.height = 0;
    // Letters taller than the page's reach show nothing more.
    layout.font.size = std::min(layout.font.size, kPageReach * 72.0 / 100);
    MapRomanFont(layout.font);
    RichTextOptions& options = layout.options;
    options.wordWrap = e.IsMultilineText();
    options.alignment = e.GetAlignment();
    options.rtf = e.GetRtf();
    options.charWidth =
        e.Spacing >= 1 ? WithinPageReach(e.Spacing) : RomanCharWidth(e.Font.name, charWidth);
    options.lineHeight = RomanLineHeight(e.Font.name, lineHeight);
    return layout;
}

void DrawReportElement(TCanvas& canvas, const TVoranReportElement& e,
                       const ElementContent& content, const TRect& rect, double xOffset,
                       double yOffset, double sx, double sy, double /*fontScale*/,
                       double charWidth, double lineHeight) {
    // Taken within the page's reach first: scaled and added, nothing overflows.
    const int left = WithinPageReach(rect.left + xOffset);
    const int top = WithinPageReach(rect.top + yOffset);
    const int width = WithinPageReach(rect.width());
    const int height = WithinPageReach(rect.height());
    TRect r;
    r.left = nearest(left * sx);
    r.top = nearest(top * sy);
    r.right = platform::saturatedInt(qint64(r.left) + nearest(width * sx));
    r.bottom = platform::saturatedInt(qint64(r.top) + nearest(height * sy));
    const TRect unscaled{left, top, left + width, top + height};
    switch (e.Kind) {
    case ekText:
    case ekItemLabel:
    case ekParameter:
    case ekVariable:
    case ekFunction:
        drawText(canvas, e, content, r, unscaled, sx, sy, charWidth, lineHeight);
        break;
    case ekItem:
        if (content.hasPicture)
            drawPicture(canvas, e, content, r, sx, sy);
        else
            drawText(canvas, e, content, r, unscaled, sx, sy, charWidth, lineHeight);
        break;
    case ekLine:
        drawLine(canvas, e, r, sx);
        break;
    case ekFrame:
    case ekRoundFrame:
    case ekEllipse:
        drawFrame(canvas, e, r, sx, sy);
        break;
    case ekPicture:
    case ekDrawingArea:
        drawPicture(canvas, e, content, r, sx, sy);
        break;
    case ekBarcode:
        DrawBarcodeScaled(canvas, r, e.PenStyle, e.PenWidth, e.Angle,
                          e.Options & soBarcodeCheckDigit, e.Options & soBarcodeText, content.text,
                          sx);
        break;
    default:
        break;
    }
}

// ---- TVystPrvek

TVystPrvek::TVystPrvek(TVoranReportElement* source, int left, int top, int width, int height)
    : Left(left), Top(top), Width(width), Height(height), m_source(source) {}

TVystPrvek::~TVystPrvek() = default;

void TVystPrvek::SetLines(const TRadky& lines) {
    m_lines = std::make_unique<TRadky>(lines);
    m_firstLine = 0;
    m_lastLine = lines.Count() - 1;
}

void TVystPrvek::SetShownLines(int first, int last) {
    m_firstLine = first;
    m_lastLine = last;
}

QString TVystPrvek::ShownText() const {
    QString text;
    for (int i = std::max(m_firstLine, 0); m_lines && i <= m_lastLine && i < m_lines->Count(); ++i)
        text += m_lines->GetRadek(i).text();
    return text;
}

void TVystPrvek::SetPicture(const TPicture* picture) {
    m_picture = picture ? std::make_unique<TPicture>(*picture) : nullptr;
    m_hasPicture = true;
}

void TVystPrvek::UseTemplatePicture() {
    m_picture.reset();
    m_hasPicture = true;
}

void TVystPrvek::Draw(TCanvas& canvas, double xOffset, double yOffset, double scaleX,
                      double scaleY, double fontScale, double charWidth, double lineHeight) const {
    if (!m_source) return;
    ElementContent content;
    content.text = m_text;
    content.lines = m_lines.get();
    content.firstLine = m_firstLine;
    content.lastLine = m_lastLine;
    content.picture = m_picture.get();
    content.hasPicture = m_hasPicture;
    // Within the page's reach before any arithmetic: the box keeps its size wherever it is.
    const int left = WithinPageReach(Left);
    const int top = WithinPageReach(Top);
    const TRect rect{left, top, left + WithinPageReach(Width), top + WithinPageReach(Height)};
    DrawReportElement(canvas, *m_source, content, rect, xOffset, yOffset, scaleX, scaleY,
                      fontScale, charWidth, lineHeight);
}

// ---- TStranaPrvku

TVystPrvek* TStranaPrvku::Prvek(int i) const {
    if (i < 0 || i >= Count()) return nullptr;
    if (m_drawingOrder.size() != size_t(Count())) {
        m_drawingOrder.clear();
        m_drawingOrder.reserve(size_t(Count()));
        for (const auto& [key, added] : m_byKey) {
            if (key.first == 3)
                for (const auto& element : added)
                    m_drawingOrder.push_back(element.get());
            else
                for (auto element = added.rbegin(); element != added.rend(); ++element)
                    m_drawingOrder.push_back(element->get());
        }
    }
    return m_drawingOrder[size_t(i)];
}

void TStranaPrvku::Add(std::unique_ptr<TVystPrvek> element) {
    const auto key = drawingKey(*element);
    auto& equals = m_byKey[key];
    // The element drawn right after the new one is the last added of its equals.
    const TVystPrvek* next = key.first == 3 || equals.empty() ? nullptr : equals.back().get();
    const bool joins =
        next && next->Kind() == element->Kind() && textOptionsOf(*next) == textOptionsOf(*element);
    element->Order = joins ? next->Order : ++m_orderCounter;
    equals.push_back(std::move(element));
    ++m_count;
}

// ---- TSestVystup

TSestVystup::TSestVystup(int printableWidth, int printableHeight)
    : m_printableWidth(std::max(printableWidth, 0)),
      m_printableHeight(std::max(printableHeight, 0)) {}

TSestVystup::~TSestVystup() = default;

void TSestVystup::Clear(int printableWidth, int printableHeight) {
    m_pages.clear();
    m_view.clear();
    m_currentPage = -1;
    m_printableWidth = std::max(printableWidth, 0);
    m_printableHeight = std::max(printableHeight, 0);
}

TStranaPrvku* TSestVystup::Page(int i) const {
    return i >= 0 && i < PageCount() ? m_pages[size_t(i)].get() : nullptr;
}

TVystPrvek* TSestVystup::AddElement(int page, std::unique_ptr<TVystPrvek> element) {
    if (page < 0 || !element) return nullptr;
    while (PageCount() <= page)
        m_pages.push_back(std::make_unique<TStranaPrvku>());
    TVystPrvek* added = element.get();
    m_pages[size_t(page)]->Add(std::move(element));
    return added;
}

void TSestVystup::SetPageRange(int start, int end, int exportLanguage, int copies) {
    m_startPage = start;
    m_endPage = std::min(end, PageCount());
    while (PageCount() > std::max(m_endPage, 0))
        m_pages.pop_back();
    m_exportLanguage = exportLanguage;
    m_copies = copies;
    m_currentPage = start - 1;
}

void TSestVystup::SetBackground(const TPicture* picture, const TRect& rect, bool print,
                                int marginLeft, int marginTop) {
    m_background = picture;
    m_backgroundRect = rect;
    m_printBackground = picture && print;
    m_marginLeft = marginLeft;
    m_marginTop = marginTop;
}

void TSestVystup::DrawBackground(TCanvas& canvas, double x, double y, double sx, double sy) const {
    if (!PrintsBackground()) return;
    DrawPicture(canvas, BackgroundPlace(m_backgroundRect, m_marginLeft, m_marginTop, x, y, sx, sy),
                *m_background);
}

TRect BackgroundPlace(const TRect& b, int marginLeft, int marginTop, double x, double y, double sx,
                      double sy) {
    return {nearest((b.left + x - marginLeft) * sx), nearest((b.top + y - marginTop) * sy),
            nearest((b.right + x - marginLeft) * sx) + 1,
            nearest((b.bottom + y - marginTop) * sy) + 1};
}

bool TSestVystup::CancelRequested() const {
    return (m_cancelQuery && m_cancelQuery()) || (m_progress && *m_progress->cancelFlag());
}

void TSestVystup::NotePage(int n) const {
    if (m_progress) m_progress->ShowItem(n);
}

void TSestVystup::ShowPage(int n) {
    const TStranaPrvku* page = Page(n);
    if (!page) return;
    m_currentPage = n;
    m_view.clear();
    m_view.setSize(nearest(m_printableWidth * kViewScale),
                   nearest(m_printableHeight * kViewScale));
    platform::TVoranCanvas canvas(m_view, 100);
    DrawBackground(canvas, 0, 0, kViewScale, kViewScale);
    for (int i = 0; i < page->Count(); ++i) {
        page->Prvek(i)->Draw(canvas, 0, 0, kViewScale, kViewScale, kViewScale, 0, 0);
        if (CancelRequested()) break;
    }
}

void TSestVystup::ToText(const TVystPrvek& element, TZnakovePole& page, int xOffset, int yOffset) {
    const TVoranReportElement* e = element.Source();
    if (!e) return;
    const int kind = e->Kind;
    if (!(kind == ekText || (kind >= ekItemLabel && kind <= ekFunction) ||
          (kind == ekItem && !element.HasPicture())))
        return;
    const int left = WithinPageReach(double(element.Left) + xOffset);
    const int top = WithinPageReach(double(element.Top) + yOffset);
    const TRect rect{left, top, left + WithinPageReach(element.Width),
                     top + WithinPageReach(element.Height)};
    const double pitch = RomanFontSize(e->Font);
    const int attributes =
        (e->Font.bold ? 1 : 0) | (e->Font.italic ? 2 : 0) | (e->Font.underline ? 4 : 0);
    const TRadky* lines = element.Lines();
    if (!lines) {
        page.PutText(rect, RichTextPlainText(element.Text(), e->GetRtf()), e->Alignment,
                     attributes, pitch, 0);
        return;
    }
    for (int i = std::max(element.FirstLine(), 0); i <= element.LastLine() && i < lines->Count();
         ++i) {
        QString text = lines->GetRadek(i).text();
        for (QChar& c : text)
            if (c.unicode() < 32) c = u' ';
        page.PutText(rect, text, e->Alignment, attributes, pitch, i - element.FirstLine());
    }
}

} // namespace report
