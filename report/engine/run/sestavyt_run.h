#pragma once
// The report run: turns the template model and the records the report delivers into pages of
// the output document. Internal to the engine; reports reach it through
// TSestavaTyp::Generate.

#include "platform/TVoranCanvas.h"
#include "report/engine/run/sestavyt.h"

#include <QElapsedTimer>
#include <QSet>

#include <memory>
#include <vector>

namespace report {

class TRadky;
class TVystPrvek;

// Where the run writes: y from the top of the printable area and the pages added below the
// current page while a section (or a detail inside it) flows over pages.
struct RunCursor {
    int y = 0;
    int pageOffset = 0;
};

class ReportRun {
public:
    explicit ReportRun(TSestavaTyp& report) : m_report(report) {}

    int generate(bool main);
    TCalcType variable(int i) const;
    int evaluate(int code, TCalcType& value);

    bool busy = false;
    std::function<bool()> cancelQuery;
    std::function<void(int)> onRecord;

private:
    struct Band {
        int top;
        int bottom;
        std::vector<TVoranReportElement*> elements;
    };

    TSestVystup& doc() const;
    bool cancelled() const;
    // Lets the windows (the progress window's cancel) work: after every record, and between
    // sections when some time has passed since, so that one record that fills many pages
    // still answers while a run of short records does not pay for it with every section.
    void processEvents(bool always);
    bool isDetail() const { return m_report.IsDetail(); }
    TOddilSestavy* section(int number) const { return m_report.Oddily().ByNumber(number); }
    int visibleHeight(int number) const;
    int pageFooterHeight() const;
    int pageHeaderHeight() const;
    int bodyHeight() const { return visibleHeight(odT); }
    bool fits(int extra) const;
    bool footerOnLastPage() const;

    void refreshValues(bool withHeader, bool withFooter);
    void refreshSection(TOddilSestavy* section);
    void refreshVariables();
    void calculateFunctions();

    void printPageFooter();
    void nextPageNumber();
    void newPage();
    void pageBreak();
    void printBody(bool main);
    void closeColumnRow();
    void printGroupFooters(const std::vector<int>& groups);
    void printGroupHeaders(const std::vector<int>& groups);
    // The steps of a run, in order.
    bool fetchFirstRecord(bool main);
    void startDocument();
    void startCounters();
    void printFirstHeaders(bool main, const std::vector<int>& allGroups);
    void printRecords(bool main);
    int closeRun(bool main, const std::vector<int>& allGroups);

    void recordStep();
    void finishReport(bool main);

    void printSection(TOddilSestavy* section);
    std::vector<Band> bandsOf(TOddilSestavy* section) const;
    void layOutElement(TVoranReportElement* element, int x, int y, int page);
    void layOutFixed(TOddilSestavy* section, const std::vector<TVoranReportElement*>& elements,
                     int sectionTop, int page);
    // The element's text laid out into lines for its width, as every output draws them;
    // `wrap` wraps words whatever the element's options.
    TRadky layOutLines(const TVoranReportElement& element, const QString& text, bool wrap);
    RunCursor layOutGrowing(TVoranReportElement* element, int sectionTop, RunCursor at);
    RunCursor runDetail(TVoranReportElement* element, int sectionTop, RunCursor at);
    void crossPages(int fromOffset, int toOffset);
    void addToPage(std::unique_ptr<TVystPrvek> out, TVoranReportElement* element, int page);

    TSestavaTyp& m_report;
    bool m_main = true;
    bool m_firstRecord = true;
    int m_recordsPrinted = 0;
    double m_printDateTime = 0;
    // Its texts, made once per run: variables are read for every record.
    QString m_printDate;
    QString m_printTime;
    int m_row = 1;
    int m_page = 1;
    bool m_stop = false;
    bool m_cancelled = false;
    bool m_inSection = false;
    std::vector<TVystPrvek*> m_pageCountList;
    std::unique_ptr<platform::Metafile> m_measureFile;
    std::unique_ptr<platform::TVoranCanvas> m_measure;
    QSet<int> m_crossedPages;
    RunCursor m_cursor;
    // Where the last new page's content starts: a section there gains nothing from yet
    // another page.
    int m_freshPage = -1;
    int m_freshY = 0;
    QElapsedTimer m_eventsClock; // since the events were last processed
    bool atFreshPage() const;
};

} // namespace report
