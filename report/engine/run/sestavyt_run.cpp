// The report run of TSestavaTyp: Generate, the system variables and the value callback.
#include "report/engine/run/sestavyt_run.h"

#include "platform/NumberText.h"
#include "report/engine/document/TPicture.h"
#include "report/engine/document/sestvyst.h"
#include "report/engine/printing/sestprn.h"
#include "report/engine/run/RunWatch.h"
#include "report/engine/run/sestavy.h"
#include "report/engine/sest_lib.h"
#include "report/engine/sestzpr.h"

#include <QCoreApplication>
#include <QDateTime>

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <utility>

namespace report {

namespace {

// Tall enough for any text laid out into lines.
constexpr int kUnboundedHeight = std::numeric_limits<int>::max() / 4;

// The printable area and the paper (1/100 inch), from the printer and paper model, which the
// template's page line has set.
QSize printableSizeOf(const TSestavaTyp&) {
    return {std::max(PrintableWidth(), 0), std::max(PrintableHeight(), 0)};
}

QSize paperSizeOf(const TSestavaTyp&) {
    return {std::max(PageWidth(), 1), std::max(PageHeight(), 1)};
}

bool isText(const TVoranReportElement& e) {
    return e.Kind >= ekText && e.Kind <= ekFunction;
}

// An element's place and size in its section. A template (or a paste) may hold anything up to
// the ends of int, and the run adds and compares these: they are taken within the page's reach.
struct ElementBox {
    int left;
    int top;
    int width;
    int height;
    int bottom() const { return top + height; }
};

ElementBox boxOf(const TVoranReportElement& e) {
    return {WithinPageReach(e.Left), WithinPageReach(e.Top), WithinPageReach(e.Width),
            WithinPageReach(e.Height)};
}

TCalcType numberValue(double number, const QString& text) {
    TCalcType v;
    v.kind = 1;
    v.number = number;
    v.text = text;
    return v;
}

} // namespace

// ---- TSestavaTyp's side

int TSestavaTyp::Generate(bool main) {
    if (!m_run) m_run = std::make_shared<ReportRun>(*this);
    if (m_run->busy) return seNothingDone;
    std::optional<RunWatch> watch;
    if (main) watch.emplace(*this);
    return m_run->generate(main);
}

TCalcType TSestavaTyp::GetVariable(int i) {
    if (!m_run) m_run = std::make_shared<ReportRun>(*this);
    return m_run->variable(i);
}

int TSestavaTyp::EvaluateCallback(int code, TCalcType& value) {
    if (!m_run) m_run = std::make_shared<ReportRun>(*this);
    return m_run->evaluate(code, value);
}

TSestVystup& TSestavaTyp::Vystup() {
    if (m_master) return m_master->Vystup();
    if (!m_vystup) {
        const QSize printable = printableSizeOf(*this);
        m_vystup = std::make_shared<TSestVystup>(printable.width(), printable.height());
    }
    return *m_vystup;
}

void TSestavaTyp::setCancelFlag(const bool* flag) {
    if (!m_run) m_run = std::make_shared<ReportRun>(*this);
    m_run->cancelQuery = flag ? std::function<bool()>([flag] { return *flag; }) : nullptr;
}

void TSestavaTyp::setRunObserver(std::function<void(int)> onRecord,
                                 std::function<bool()> cancelled) {
    if (!m_run) m_run = std::make_shared<ReportRun>(*this);
    m_run->onRecord = std::move(onRecord);
    m_run->cancelQuery = std::move(cancelled);
}

bool TSestavaTyp::busy() const {
    return m_run && m_run->busy;
}

bool TSestavaTyp::watched() const {
    return m_run && m_run->cancelQuery;
}

// ---- the run

TSestVystup& ReportRun::doc() const {
    return m_report.Vystup();
}

void ReportRun::processEvents(bool always) {
    constexpr int kIntervalMs = 20;
    if (!always && m_eventsClock.isValid() && !m_eventsClock.hasExpired(kIntervalMs)) return;
    QCoreApplication::processEvents();
    m_eventsClock.start();
}

bool ReportRun::cancelled() const {
    return (cancelQuery && cancelQuery()) || doc().CancelRequested();
}

int ReportRun::visibleHeight(int number) const {
    const TOddilSestavy* s = section(number);
    return s ? s->VisibleHeight() : 0;
}

int ReportRun::pageFooterHeight() const {
    const TSestavaTyp* master = isDetail() ? m_report.MasterSestava() : nullptr;
    if (master) {
        const TOddilSestavy* footer = master->Oddily().ByNumber(odP);
        return footer ? footer->VisibleHeight() : 0;
    }
    return visibleHeight(odP);
}

int ReportRun::pageHeaderHeight() const {
    const TSestavaTyp* master = isDetail() ? m_report.MasterSestava() : nullptr;
    if (master) {
        const TOddilSestavy* header = master->Oddily().ByNumber(odH);
        return header ? header->VisibleHeight() : 0;
    }
    return visibleHeight(odH);
}

bool ReportRun::fits(int extra) const {
    return doc().runPosition.pageBottom - pageFooterHeight() - m_cursor.y >= bodyHeight() + extra;
}

bool ReportRun::footerOnLastPage() const {
    return !m_report.sectionFlags().noPageFooterOnLastPage;
}

void ReportRun::refreshSection(TOddilSestavy* s) {
    for (int i = 0; i < s->Count(); ++i) {
        TVoranReportElement* e = s->Prvek(i);
        switch (e->Kind) {
        case ekItem:
            e->Value = m_report.GetValue(e->Index);
            break;
        case ekVariable:
            e->Value = variable(e->Index);
            break;
        case ekPicture:
            if (!e->Text.isEmpty()) e->LoadPicture(e->Text);
            break;
        default:
            break;
        }
    }
}

void ReportRun::refreshValues(bool withHeader, bool withFooter) {
    const TListOddilu& sections = m_report.Oddily();
    for (int i = 0; i < sections.Count(); ++i) {
        TOddilSestavy* s = sections.Oddil(i);
        if ((s->Number == odZ && !withHeader) || (s->Number == odK && !withFooter)) continue;
        refreshSection(s);
    }
}

void ReportRun::refreshVariables() {
    const TListOddilu& sections = m_report.Oddily();
    for (int i = 0; i < sections.Count(); ++i) {
        TOddilSestavy* s = sections.Oddil(i);
        for (int k = 0; k < s->Count(); ++k)
            if (s->Prvek(k)->Kind == ekVariable) s->Prvek(k)->Value = variable(s->Prvek(k)->Index);
    }
}

void ReportRun::calculateFunctions() {
    m_report.Funkce().CalculateAll();
    m_report.VypoctiFunkce();
}

void ReportRun::printPageFooter() {
    TOddilSestavy* footer = section(odP);
    if (isDetail() || !footer || !footer->Visible) return;
    const int page = doc().runPosition.pageIndex + m_cursor.pageOffset;
    if (m_crossedPages.contains(-1 - page)) return;
    m_crossedPages.insert(-1 - page);
    const int y = m_cursor.y;
    m_cursor.y = doc().runPosition.pageBottom - footer->Height;
    printSection(footer);
    m_cursor.y = y;
}

void ReportRun::nextPageNumber() {
    if (isDetail()) return;
    ++m_page;
    refreshVariables();
}

void ReportRun::newPage() {
    // The break a section asked for is taken here, also when no page header is printed to
    // clear it (a hidden one, or a detail's): one request makes one new page, not a page for
    // every later section.
    m_report.clearPageBreak();
    if (isDetail()) {
        // A detail flows inside its master's section: onto the master's next page, below its
        // page header, which the master prints.
        ++m_cursor.pageOffset;
        m_cursor.y = pageHeaderHeight();
        return;
    }
    if (!m_inSection) {
        ++doc().runPosition.pageIndex;
        m_cursor.y = 0;
    }
    TOddilSestavy* header = section(odH);
    if (header && header->Visible) printSection(header);
    m_freshPage = doc().runPosition.pageIndex + m_cursor.pageOffset;
    m_freshY = m_cursor.y;
}

bool ReportRun::atFreshPage() const {
    return m_freshPage == doc().runPosition.pageIndex + m_cursor.pageOffset &&
           m_cursor.y == m_freshY;
}

// A page break inside a section: the page footer on this page, the header on the next.
void ReportRun::pageBreak() {
    printPageFooter();
    if (isDetail()) {
        newPage();
        return;
    }
    ++m_cursor.pageOffset;
    nextPageNumber();
    m_cursor.y = 0;
    TOddilSestavy* header = section(odH);
    const int page = doc().runPosition.pageIndex + m_cursor.pageOffset;
    if (header && header->Visible && !m_crossedPages.contains(page)) {
        m_crossedPages.insert(page);
        printSection(header);
    }
}

void ReportRun::closeColumnRow() {
    TSestVystup::RunPosition& pos = doc().runPosition;
    if (m_report.Columns() > 1 && pos.column > 1) {
        pos.column = 1;
        pos.xOffset = 0;
        m_cursor.y += bodyHeight();
    }
}

void ReportRun::printGroupFooters(const std::vector<int>& groups) {
    for (int i : groups) {
        TPolSkup* g = m_report.Skupiny().Skupina(i);
        if (g && g->Footer && g->Footer->Visible) printSection(g->Footer);
    }
}

void ReportRun::printGroupHeaders(const std::vector<int>& groups) {
    for (int i : groups) {
        TPolSkup* g = m_report.Skupiny().Skupina(i);
        if (g && g->Header && g->Header->Visible) printSection(g->Header);
    }
}

void ReportRun::printBody(bool main) {
    TOddilSestavy* body = section(odT);
    if (body && body->Visible) printSection(body);
    if (main) {
        doc().runPosition.pageIndex += m_cursor.pageOffset;
        m_cursor.pageOffset = 0;
    }
    m_firstRecord = false;
}

void ReportRun::recordStep() {
    TListSkupin& groups = m_report.Skupiny();
    int broken = -1;
    for (int i = 0; i < groups.Count(); ++i) {
        TPolSkup* g = groups.Skupina(i);
        if (g->StoredKey != m_report.GetItemText(g->KeyIndex)) {
            broken = i;
            break;
        }
    }
    std::vector<int> brokenGroups;
    if (broken >= 0)
        for (int i = broken; i < groups.Count(); ++i) {
            groups.Skupina(i)->Break = true;
            brokenGroups.push_back(i);
        }
    int extra = 0;
    bool forceNewPage = false;
    if (!brokenGroups.empty()) {
        closeColumnRow();
        for (auto it = brokenGroups.rbegin(); it != brokenGroups.rend(); ++it) {
            TPolSkup* g = groups.Skupina(*it);
            if (g->Footer && g->Footer->Visible) printSection(g->Footer);
            m_report.Funkce().ResetGroup(*it + 2);
            forceNewPage = forceNewPage || g->NewPage;
            if (g->Header) extra += g->Header->VisibleHeight();
        }
    }
    const auto storeKeys = [&] {
        for (int i = 0; i < groups.Count(); ++i)
            groups.Skupina(i)->StoredKey = m_report.GetItemText(groups.Skupina(i)->KeyIndex);
        groups.Advance();
    };
    if (!forceNewPage && !m_report.sectionFlags().bodyEachRecordNewPage && fits(extra)) {
        ++m_row;
        storeKeys();
        refreshValues(false, false);
        calculateFunctions();
    } else {
        printPageFooter();
        ++m_row;
        nextPageNumber();
        storeKeys();
        refreshValues(false, false);
        m_report.Funkce().ResetGroup(1);
        calculateFunctions();
        newPage();
    }
    for (int i : brokenGroups)
        groups.Skupina(i)->Break = false;
    printGroupHeaders(brokenGroups);
    if (doc().runPosition.pageIndex + 1 > m_report.EndPage) m_stop = true;
}

int ReportRun::generate(bool main) {
    busy = true;
    m_main = main;
    // Text is measured on a metafile of the paper's size; expressions read values through
    // this run while it lasts.
    const QSize paper = paperSizeOf(m_report);
    m_measureFile = std::make_unique<platform::Metafile>(paper.width(), paper.height(), 100);
    m_measure = std::make_unique<platform::TVoranCanvas>(*m_measureFile, 100);
    ScopedValueCallback callback(
        [this](int code, TCalcType& value) { return evaluate(code, value); });
    m_firstRecord = true;
    m_recordsPrinted = 0;
    // Every run, an empty detail's included, ends with the first page current.
    const auto finish = [this](int result) {
        m_report.Funkce().ForgetParsedExpressions();
        m_measure.reset();
        m_measureFile.reset();
        m_report.clearPageBreak();
        doc().ShowPage(0);
        busy = false;
        return result;
    };

    if (!fetchFirstRecord(main)) return finish(seOk);
    if (main) startDocument();
    startCounters();
    std::vector<int> allGroups;
    for (int i = 0; i < m_report.Skupiny().Count(); ++i)
        allGroups.push_back(i);
    printFirstHeaders(main, allGroups);
    printRecords(main);
    return finish(closeRun(main, allGroups));
}

// The first record: fetched once for a one-record report, else the first step; a detail
// without records adds nothing (false).
bool ReportRun::fetchFirstRecord(bool main) {
    int step = 0;
    if (m_report.TiskJedenZaznam)
        m_report.GetData();
    else
        step = m_report.Step(0);
    return main || step < 2;
}

// The main run starts an empty document on the paper and margins of the page setup.
void ReportRun::startDocument() {
    TSestVystup& document = doc();
    const QSize printable = printableSizeOf(m_report);
    document.Clear(printable.width(), printable.height());
    document.SetLineCode(m_report.lineCode());
    document.SetTitle(m_report.Popis);
    // Pictures are decoded once a run: the files may have changed since the last.
    if (m_report.m_pictureFiles) m_report.m_pictureFiles->clear();
    const TPageSetup& setup = PageSetup();
    const QSize paperSize = paperSizeOf(m_report);
    document.SetPageLayout({paperSize.width(), paperSize.height(), setup.leftMargin,
                            setup.topMargin, setup.rightMargin, setup.bottomMargin,
                            setup.orientation == 1, m_report.paper().orientationChangeable});
    document.runPosition = {0, 0, 1, document.PrintableHeight()};
    m_cursor = {};
}

// Counters, the print date and time, and each group's key from the first record; the
// functions start from nothing, their expressions read once for the run.
void ReportRun::startCounters() {
    m_firstRecord = true;
    m_printDateTime = platform::DateTimeToDouble(QDateTime::currentDateTime());
    m_printDate = platform::DateToStr(m_printDateTime);
    m_printTime = platform::TimeToStr(m_printDateTime);
    m_row = 1;
    m_page = 1;
    m_pageCountList.clear();
    m_stop = false;
    m_eventsClock.invalidate();
    m_cancelled = false;
    m_crossedPages.clear();
    m_freshPage = -1;
    // Nothing of an earlier run carries over: not its group counts (a detail's groups count
    // anew for every record of its master), nor a page break it asked for and never took.
    TListSkupin& groups = m_report.Skupiny();
    groups.ResetCounters();
    m_report.clearPageBreak();
    for (int i = 0; i < groups.Count(); ++i)
        groups.Skupina(i)->StoredKey = m_report.GetItemText(groups.Skupina(i)->KeyIndex);
    m_report.Funkce().ParseExpressions();
    m_report.Funkce().SetSkipNulls(m_report.AllowNullValues);
    m_report.Funkce().ResetGroup(-1);
    refreshValues(true, false);
    calculateFunctions();
}

// The report header, then the first page's headers: a report header on a page of its own
// turns the page, else the page header stands below it; then every group's header.
void ReportRun::printFirstHeaders(bool main, const std::vector<int>& allGroups) {
    TOddilSestavy* reportHeader = section(odZ);
    if (reportHeader && reportHeader->Visible) printSection(reportHeader);
    if (main && reportHeader && reportHeader->Visible &&
        m_report.sectionFlags().reportHeaderOwnPage) {
        printPageFooter();
        nextPageNumber();
        refreshValues(false, false);
        newPage();
    } else if (!isDetail() && section(odH) && section(odH)->Visible &&
               !m_report.sectionFlags().noPageHeaderOnFirstPage) {
        // A visible header prints on page 1 as on the later pages, also at height 0.
        printSection(section(odH));
    }
    // Only a page header stands on the first page so far.
    if (main && m_freshPage < 0 && visibleHeight(odZ) == 0) {
        m_freshPage = doc().runPosition.pageIndex + m_cursor.pageOffset;
        m_freshY = m_cursor.y;
    }
    printGroupHeaders(allGroups);
}

// One body per record until the data, the record limit, the last page allowed or a cancel
// ends the run.
void ReportRun::printRecords(bool main) {
    for (int record = 1;; ++record) {
        if (main && onRecord) onRecord(record);
        if (record > 1)
            recordStep();
        else if (!fits(0) && !atFreshPage()) {
            printPageFooter();
            nextPageNumber();
            newPage();
        }
        printBody(main);
        ++m_recordsPrinted;
        if (m_report.TiskJedenZaznam) break;
        if (m_report.MaxRecords >= 1 && m_recordsPrinted >= m_report.MaxRecords) break;
        const int step = m_report.Step(2);
        processEvents(true);
        if (m_stop || cancelled() || step != 0) break;
    }
}

// The last groups' footers (the innermost first) and the report's end; the result, and the
// main run's document keeps the pages and copies the caller chose.
int ReportRun::closeRun(bool main, const std::vector<int>& allGroups) {
    m_cancelled = cancelled();
    // Records are left when the last page allowed stopped the run. Unless the caller chose
    // that end page, the report is not what the user asked for: say so.
    const bool cutAtLastPage =
        main && m_stop && !m_cancelled && m_report.EndPage == TSestavaTyp::kNoEndPage;
    if (!m_cancelled) {
        closeColumnRow();
        std::vector<int> reversed(allGroups.rbegin(), allGroups.rend());
        printGroupFooters(reversed);
    }
    finishReport(main);
    const int result = m_cancelled ? seCancelled : seOk;
    if (main)
        doc().SetPageRange(m_report.StartPage, m_report.EndPage, m_report.ExportLanguage,
                           m_report.PrintCopies);
    if (cutAtLastPage)
        m_report.showWarning(FillText(LoadText(ReportText::RunStoppedAtEndPage),
                                      {QString::number(m_report.EndPage)}));
    return result;
}

void ReportRun::finishReport(bool main) {
    TOddilSestavy* footer = section(odK);
    const bool footerVisible = footer && footer->Visible;
    // A report footer that wants a page of its own starts one.
    if (!m_cancelled && main && footerVisible && m_report.sectionFlags().reportFooterNewPage) {
        printPageFooter();
        nextPageNumber();
        newPage();
    }
    // The sections' values, the report footer's with them, are read once more; then the report
    // footer (at the page's foot when asked) and the last page footer.
    refreshValues(false, true);
    if (m_cancelled) return;
    const int pageFooter = footerOnLastPage() ? visibleHeight(odP) : 0;
    if (footerVisible) {
        if (main && m_report.sectionFlags().reportFooterAtBottom) {
            const int y = doc().runPosition.pageBottom - footer->Height - pageFooter;
            if (y < m_cursor.y) {
                printPageFooter();
                nextPageNumber();
                newPage();
            }
            m_cursor.y = std::max(y, m_cursor.y);
        }
        printSection(footer);
    }
    if (main && footerOnLastPage() && pageFooter > 0) {
        m_crossedPages.clear();
        printPageFooter();
    }
    const int count = doc().PageCount();
    for (TVystPrvek* e : m_pageCountList) {
        const QString pattern = e->Source()->Text;
        e->SetText(pattern.isEmpty() ? QString::number(count) : platform::Format(pattern, count));
        // Lines laid out for the placeholder are laid out again for the count.
        if (e->Lines()) e->SetLines(layOutLines(*e->Source(), e->Text(), false));
    }
    m_pageCountList.clear();
}

// ---- sections

std::vector<ReportRun::Band> ReportRun::bandsOf(TOddilSestavy* s) const {
    std::vector<Band> bands;
    const auto place = [&bands](TVoranReportElement* e) {
        const int t = boxOf(*e).top;
        const int b = boxOf(*e).bottom() - 1;
        if (bands.empty() || bands.back().bottom <= t) {
            bands.push_back({t, b, {e}});
            return;
        }
        if (bands.front().top >= b) {
            bands.insert(bands.begin(), {t, b, {e}});
            return;
        }
        for (Band& band : bands)
            if ((band.top <= t && t < band.bottom) || (band.top < b && b <= band.bottom)) {
                band.elements.push_back(e);
                return;
            }
        for (auto it = bands.begin(); it != bands.end(); ++it)
            if (it->top >= b) {
                bands.insert(it, {t, b, {e}});
                return;
            }
        // It encloses a band and none starts below it: it joins no band.
    };
    const bool body = s->Number == odT;
    if (body && m_report.Columns() > 1) return bands;
    // The lowest first, as from a template stored top to bottom, in whatever order this one
    // stores them: the bands depend on the order they are placed in.
    const auto lowestFirst = [](std::vector<TVoranReportElement*>& elements) {
        std::stable_sort(elements.begin(), elements.end(), [](auto* a, auto* b) {
            return std::pair(boxOf(*a).top, boxOf(*a).left) >
                   std::pair(boxOf(*b).top, boxOf(*b).left);
        });
        return elements;
    };
    std::vector<TVoranReportElement*> growing, details;
    for (int i = s->Count() - 1; i >= 0; --i) {
        TVoranReportElement* e = s->Prvek(i);
        if (e->Kind == ekDetail)
            details.push_back(e);
        else if (e->GetVarHeight())
            growing.push_back(e);
    }
    for (TVoranReportElement* e : lowestFirst(growing))
        place(e);
    if (body)
        for (TVoranReportElement* e : lowestFirst(details))
            place(e);
    return bands;
}

void ReportRun::printSection(TOddilSestavy* s) {
    if (!s) return;
    processEvents(false);
    if (m_stop || cancelled()) return;
    bool print = true;
    m_report.TiskOddilu(s->Number, print);
    if (!print) return;
    TSestVystup::RunPosition& pos = doc().runPosition;
    const int number = s->Number;
    const bool breaks =
        number != odH && number != odP && number != odZ && !(number == odK && !footerOnLastPage());
    // A section taller than the page is not moved on from a page that is still empty, so
    // that it costs one page, not an empty one before it.
    if (breaks && !atFreshPage() &&
        (m_report.pageBreakPending() ||
         pos.pageBottom - pageFooterHeight() - m_cursor.y < s->Height)) {
        printPageFooter();
        nextPageNumber();
        newPage();
    }
    if (number == odH) m_report.clearPageBreak();

    const bool wasInSection = m_inSection;
    m_inSection = true;
    const std::vector<Band> bands =
        number == odH || number == odP ? std::vector<Band>{} : bandsOf(s);
    if (bands.empty()) {
        std::vector<TVoranReportElement*> all;
        for (int i = s->Count() - 1; i >= 0; --i)
            all.push_back(s->Prvek(i));
        layOutFixed(s, all, m_cursor.y, pos.pageIndex + m_cursor.pageOffset);
    } else {
        if (number != odP && number != odH) m_crossedPages.clear();
        int sectionTop = m_cursor.y;
        const int n = int(bands.size());
        for (int k = 0; k <= n; ++k) {
            const int start = k == 0 ? 0 : bands[size_t(k - 1)].bottom;
            const int end = k < n ? bands[size_t(k)].bottom : s->Height;
            const Band* closing = k < n ? &bands[size_t(k)] : nullptr;
            std::vector<TVoranReportElement*> fixed;
            for (int i = s->Count() - 1; i >= 0; --i) {
                TVoranReportElement* e = s->Prvek(i);
                const int top = boxOf(*e).top;
                const bool inRegion = (k == 0 || top >= start) && (k == n || top < end);
                const bool held =
                    closing && std::find(closing->elements.begin(), closing->elements.end(), e) !=
                                   closing->elements.end();
                if (inRegion && !held) fixed.push_back(e);
            }
            // A region that does not fit goes onto the next page, unless it already starts
            // at the top of one.
            if (sectionTop + end > pos.pageBottom - pageFooterHeight() &&
                sectionTop + start > pageHeaderHeight()) {
                pageBreak();
                sectionTop = m_cursor.y - start;
            }
            layOutFixed(s, fixed, sectionTop, pos.pageIndex + m_cursor.pageOffset);
            if (!closing) break;
            RunCursor lowest{sectionTop, m_cursor.pageOffset};
            for (TVoranReportElement* e : closing->elements) {
                const RunCursor at{sectionTop, m_cursor.pageOffset};
                const RunCursor reached = e->Kind == ekDetail ? runDetail(e, sectionTop, at)
                                                              : layOutGrowing(e, sectionTop, at);
                // The section continues below the element's end, shifted by its growth.
                RunCursor shifted{reached.y - boxOf(*e).bottom(), reached.pageOffset};
                if (reached.pageOffset == at.pageOffset)
                    shifted.y = std::max(shifted.y, sectionTop);
                if (shifted.pageOffset > lowest.pageOffset ||
                    (shifted.pageOffset == lowest.pageOffset && shifted.y > lowest.y))
                    lowest = shifted;
            }
            crossPages(m_cursor.pageOffset, lowest.pageOffset);
            m_cursor.pageOffset = lowest.pageOffset;
            sectionTop = lowest.y;
        }
        m_cursor.y = sectionTop;
    }
    m_inSection = wasInSection;

    const bool multiColumnBody = number == odT && m_report.Columns() > 1;
    if (!multiColumnBody) {
        m_cursor.y += s->Height;
        // On the character grid y stays on whole lines of the text printer.
        if (m_report.characterGrid() == 1 && m_report.lineHeight() > 0) {
            const double lines = std::nearbyint(m_cursor.y / m_report.lineHeight());
            m_cursor.y = ScaleRound(lines, m_report.lineHeight());
        }
    } else if (pos.column >= m_report.Columns()) {
        pos.column = 1;
        pos.xOffset = 0;
        m_cursor.y += s->Height;
    } else {
        ++pos.column;
        pos.xOffset += (doc().PrintableWidth() + m_report.ColumnGap()) / m_report.Columns();
    }
}

// Page footers and headers of the pages a growing element or a detail flowed over.
void ReportRun::crossPages(int fromOffset, int toOffset) {
    if (isDetail() || toOffset <= fromOffset) return;
    const RunCursor saved = m_cursor;
    const bool wasInSection = m_inSection;
    m_inSection = true;
    for (int offset = fromOffset; offset < toOffset; ++offset) {
        m_cursor.pageOffset = offset;
        printPageFooter();
        m_cursor.pageOffset = offset + 1;
        const int page = doc().runPosition.pageIndex + offset + 1;
        if (!m_crossedPages.contains(page)) {
            m_crossedPages.insert(page);
            nextPageNumber();
            m_cursor.y = 0;
            TOddilSestavy* header = section(odH);
            if (header && header->Visible) printSection(header);
        }
    }
    m_inSection = wasInSection;
    m_cursor = saved;
}

void ReportRun::layOutFixed(TOddilSestavy* /*s*/,
                            const std::vector<TVoranReportElement*>& elements, int sectionTop,
                            int page) {
    const int x = doc().runPosition.xOffset;
    for (TVoranReportElement* e : elements)
        layOutElement(e, x, sectionTop, page);
}

void ReportRun::addToPage(std::unique_ptr<TVystPrvek> out, TVoranReportElement* e, int page) {
    bool print = true;
    m_report.TiskPrvku(e, print);
    if (!print) return;
    TVystPrvek* added = doc().AddElement(page, std::move(out));
    if (added && e->Kind == ekVariable && e->Index == 4) m_pageCountList.push_back(added);
}

void ReportRun::layOutElement(TVoranReportElement* e, int x, int y, int page) {
    if (e->Kind == ekDetail || e->Kind == ekNone) return;
    const ElementBox box = boxOf(*e);
    auto out = std::make_unique<TVystPrvek>(e, x + box.left, y + box.top, box.width, box.height);
    out->SetText(e->GetText());
    if (e->Kind == ekItem && e->IsPicture()) {
        if (e->GetPicture()) out->SetPicture(e->GetPicture());
    } else if (isText(*e) && e->IsMultilineText() && e->Angle == 0) {
        // Every output draws these lines; none lays the text out again.
        const TRadky lines = layOutLines(*e, out->Text(), false);
        out->SetLines(lines);
        // An item that may not grow shows the lines that fit its box.
        if (e->Kind == ekItem && (!e->GetVarHeight() || m_report.Columns() > 1)) {
            int used = 0;
            int last = -1;
            lines.FitHeight(0, box.height, used, last);
            out->SetShownLines(0, last);
        }
    }
    switch (e->Kind) {
    case ekPicture:
        if (e->GetPicture()) {
            out->UseTemplatePicture();
            if (e->Options & soPictureVariable) out->SetPicture(e->GetPicture());
        }
        break;
    case ekDrawingArea:
        e->PaintDrawingArea();
        out->SetPicture(e->GetPicture());
        break;
    default:
        break;
    }
    addToPage(std::move(out), e, page);
}

TRadky ReportRun::layOutLines(const TVoranReportElement& e, const QString& text, bool wrap) {
    ElementTextLayout layout = TextLayoutOf(e);
    if (wrap) layout.options.wordWrap = true;
    m_measure->SetFont(layout.font);
    TRadky lines;
    LayoutRichText(*m_measure, {0, 0, boxOf(e).width, kUnboundedHeight}, text, layout.options,
                   lines);
    return lines;
}

RunCursor ReportRun::layOutGrowing(TVoranReportElement* e, int sectionTop, RunCursor at) {
    const QString text = e->GetText();
    // A growing text always wraps: it grows by its lines.
    const TRadky lines = layOutLines(*e, text, true);
    const int total = lines.TotalHeight();
    const TSestVystup::RunPosition& pos = doc().runPosition;
    const ElementBox box = boxOf(*e);
    const int x = pos.xOffset + box.left;
    int y = sectionTop + box.top;
    const auto place = [&](int top, int height, int first, int last, int offset) {
        auto out = std::make_unique<TVystPrvek>(e, x, top, box.width, height);
        out->SetText(text);
        out->SetLines(lines);
        out->SetShownLines(first, last);
        addToPage(std::move(out), e, pos.pageIndex + offset);
    };
    if (total <= box.height) {
        place(y, box.height, 0, lines.Count() - 1, at.pageOffset);
        return {y + box.height, at.pageOffset};
    }
    int room = pos.pageBottom - pageFooterHeight() - y;
    if (room >= total) {
        place(y, total, 0, lines.Count() - 1, at.pageOffset);
        return {y + total, at.pageOffset};
    }
    // Split over pages. Every page takes at least one line, clipped when it is taller than
    // the room, so the element always comes to an end.
    int offset = at.pageOffset;
    for (int first = 0; first < lines.Count();) {
        int used = 0;
        int last = first - 1;
        lines.FitHeight(first, std::max(room, 0), used, last);
        if (last < first) {
            last = first;
            lines.FitHeight(first, kUnboundedHeight, used, last);
            last = first;
            used = lines.GetRadek(first).height / kInternalPerUnit + 1;
        }
        place(y, std::max(used, 1), first, last, offset);
        if (last >= lines.Count() - 1) return {y + used, offset};
        first = last + 1;
        ++offset;
        y = pageHeaderHeight();
        room = pos.pageBottom - pageFooterHeight() - y;
    }
    return {y, offset};
}

RunCursor ReportRun::runDetail(TVoranReportElement* e, int sectionTop, RunCursor at) {
    TSestDetail* detail = m_report.Detaily().Detail(e->Index);
    const ElementBox box = boxOf(*e);
    RunCursor cursor{sectionTop + box.top, at.pageOffset};
    if (!detail) return {sectionTop + box.bottom(), at.pageOffset};
    TSestavaTyp& report = *detail;
    if (!report.m_run) report.m_run = std::make_shared<ReportRun>(report);
    ReportRun& run = *report.m_run;
    if (run.busy) return {sectionTop + box.bottom(), at.pageOffset};
    run.cancelQuery = cancelQuery;
    run.m_cursor = cursor;
    run.generate(false);
    // The detail's callback was restored when its run ended; the master's answers again.
    return run.m_cursor;
}

// ---- values

TCalcType ReportRun::variable(int i) const {
    switch (i) {
    case 0:
        return numberValue(m_printDateTime,
                           busy ? m_printDate : platform::DateToStr(m_printDateTime));
    case 1:
        return numberValue(m_printDateTime,
                           busy ? m_printTime : platform::TimeToStr(m_printDateTime));
    case 2:
        return numberValue(m_row, QString::number(m_row));
    case 3:
        return numberValue(m_page, QString::number(m_page));
    case 4:
        return numberValue(0, QStringLiteral("0"));
    default:
        break;
    }
    const TPolSkup* g = i >= 5 ? m_report.Skupiny().Skupina((i - 5) / 2) : nullptr;
    if (!g) return {};
    const int n = (i - 5) % 2 == 0 ? g->RowCounter : g->NumberCounter;
    return numberValue(n, QString::number(n));
}

int ReportRun::evaluate(int code, TCalcType& value) {
    try {
        if (code == 1) return -1;
        if (code == kRequestItemIndex) return m_report.IndexOfItem(value.text);
        if (code == kRequestFunctionIndex) return m_report.Funkce().IndexOfName(value.text);
        ClearCalcValue(value);
        if (code >= kParameterBase && code < kItemBase) {
            const int n = code - kParameterBase;
            if (n < m_report.Parametry().size()) {
                value.text = m_report.Parametry()[n];
                value.number = StrToFloatLoose(value.text);
                value.kind = 2;
            }
        } else if (code >= kItemBase && code < kFunctionBase) {
            const int n = code - kItemBase;
            value.number = m_report.GetFloat(n);
            if (ValueTextWanted()) value.text = m_report.GetItemText(n);
            const int type = m_report.GetDataType(n);
            value.kind = type == 1                                            ? 2
                         : (type >= 2 && type <= 4) || type == 6 || type == 7 ? 1
                                                                              : 0;
            value.null = m_report.IsNull(n);
        } else if (code >= kFunctionBase && code < kSystemVariableBase) {
            const TRadekFunkce* f = m_report.Funkce().GetFunkce(code - kFunctionBase);
            if (f) value = f->CurrentValue();
        } else if (code >= kSystemVariableBase) {
            value = variable(code - kSystemVariableBase);
        }
    } catch (...) {
        ClearCalcValue(value);
        value.null = true;
    }
    return 0;
}

} // namespace report

namespace report {

int TSestava::PrepareAndGenerate() {
    if (busy()) return seNothingDone;
    if (!CheckDataSource()) {
        reportError(seNothingDone);
        return seNothingDone;
    }
    const bool fromDataset = !eventsMode();
    if (fromDataset) {
        bridge().SaveBookmark();
        if (!HasDetails()) bridge().DisableControls();
    }
    LoadItemNames();
    // A template that did not load was reported by the loading: once is enough.
    const int loaded = NactiPredlohu(false);
    const int result = loaded == seOk ? Generate(true) : loaded;
    if (fromDataset) {
        bridge().RestoreBookmark();
        bridge().EnableControls();
        closeIfOpenedByCheck();
        for (TSestDetail* detail : Detaily().items())
            detail->closeIfOpenedByCheck();
    }
    if (loaded == seOk) reportError(result);
    return result;
}

} // namespace report
