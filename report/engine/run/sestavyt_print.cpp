// Printing a report: the generated document on the chosen printer of those the engine
// installs (TSestavaTyp), and the published component's run-then-print with its events
// (TSestava).
#include "report/engine/document/DocumentPrinter.h"
#include "report/engine/document/TPicture.h"
#include "report/engine/document/sestvyst.h"
#include "report/engine/run/RunWatch.h"
#include "report/engine/run/sestavy.h"
#include "report/engine/run/sestavyt_run.h"
#include "report/engine/sestzpr.h"

namespace report {

int TSestavaTyp::PrintOn(int printer, int /*flag*/) {
    // Without the engine's printers there is no printer at all.
    DocumentPrinter* printers = InstalledDocumentPrinter();
    if (!printers) {
        showWarning(LoadText(ReportText::NoPrinterInstalled));
        return seNoPrinter;
    }
    if (busy()) return seNothingDone;
    if (!m_run) m_run = std::make_shared<ReportRun>(*this);
    ReportRun& run = *m_run;
    run.busy = true;
    // The progress window of this print, unless the caller's run already shows one.
    const RunWatch watch(*this);
    // A background is printed when the caller asks for it or the template's own one says
    // so; either way it must be loaded first.
    const TemplateBackground& own = background();
    if (PrintBackground || (own.own && own.print)) LoadBackgroundPicture();

    TSestVystup& doc = Vystup();
    doc.SetPageRange(StartPage, EndPage, ExportLanguage, PrintCopies);
    const TemplateBackground& bg = background();
    const TSestVystup::PageLayout& page = doc.pageLayout();
    const int width = bg.width > 0 ? bg.width : page.pageWidth;
    const int height = bg.height > 0 ? bg.height : page.pageHeight;
    doc.SetBackground(backgroundPicture() && !backgroundPicture()->isEmpty() ? backgroundPicture()
                                                                             : nullptr,
                      {bg.x, bg.y, bg.x + width, bg.y + height},
                      PrintBackground || (bg.own && bg.print), page.marginLeft, page.marginTop);
    // What stops the run (a cancel flag, the caller's window) stops its print as well.
    doc.SetCancelQuery(run.cancelQuery);
    // The print service out of reach, no printer, or the one chosen before gone: nothing to
    // print on.
    TSestVystup::PrintFailure failure = printers->unavailable(doc);
    bool printed = false;
    if (failure.cause == TSestVystup::PrintFailure::None) {
        printed = printers->print(doc, printer, StartPage, EndPage, Popis, PrintCopies);
        failure = doc.LastPrintFailure();
    }
    doc.SetCancelQuery(nullptr);
    run.busy = false;
    // A job that did not reach paper is not reported as printed, nor as cancelled.
    if (printed) return seOk;
    if (!failure.failed()) return seCancelled;
    ShowPrintFailure(sink(), failure);
    return seNoPrinter;
}

int TSestava::PrintOn(int printer, int flag) {
    if (busy()) return seNothingDone;
    if (BeforePrint && !designing()) BeforePrint(this);
    // One progress window for the run and the print: record numbers, then pages.
    const RunWatch watch(*this);
    int result = PrepareAndGenerate();
    if (result == seOk) {
        result = TSestavaTyp::PrintOn(printer, flag);
        reportError(result); // the run reported its own
    }
    if (AfterPrint && !designing()) AfterPrint(this);
    return result;
}

} // namespace report
