// Printing a report: the generated document on the chosen printer (TSestavaTyp), and the
// published component's run-then-print with its events (TSestava).
#include "report/engine/sestavy.h"
#include "report/engine/sestavyt_run.h"
#include "report/engine/sestvyst.h"

#include "platform/Printers.h"
#include "report/engine/TPicture.h"
#include "report/engine/sestzpr.h"

namespace report {

using platform::PrinterSystem;

int TSestavaTyp::PrintOn(int printer, int /*flag*/)
{
    PrinterSystem& printers = PrinterSystem::instance();
    if (printers.printerNames().isEmpty()) {
        showWarning(LoadText(ReportText::NoPrinterInstalled));
        return seNoPrinter;
    }
    if (busy())
        return seNothingDone;
    if (!m_run)
        m_run = std::make_shared<ReportRun>(*this);
    ReportRun& run = *m_run;
    run.busy = true;
    const int previous = printers.currentIndex();
    if (printer >= 0 || previous < 0)
        printers.selectPrinter(printer);
    if (PrintBackground)
        LoadBackgroundPicture();
    const bool textOnly = printers.isTextOnly(printers.currentIndex());

    TSestVystup& doc = Vystup();
    doc.SetPageRange(StartPage, EndPage, ExportLanguage, PrintCopies);
    const TemplateBackground& bg = background();
    const TSestVystup::PageLayout& page = doc.pageLayout();
    const int width = bg.width > 0 ? bg.width : page.pageWidth;
    const int height = bg.height > 0 ? bg.height : page.pageHeight;
    doc.SetBackground(backgroundPicture() && !backgroundPicture()->isEmpty()
                          ? backgroundPicture()
                          : nullptr,
                      {bg.x, bg.y, bg.x + width, bg.y + height},
                      PrintBackground || (bg.own && bg.print), page.marginLeft, page.marginTop);
    doc.SetCancelSource(run.cancelFlag);
    const bool printed =
        textOnly ? doc.PrintText(StartPage, EndPage, run.cancelFlag, Popis, PrintCopies)
                 : doc.PrintGraphic(StartPage, EndPage, run.cancelFlag, Popis, PrintCopies);
    doc.SetCancelSource(nullptr);
    if (previous >= 0)
        printers.selectPrinter(previous);
    run.busy = false;
    // A job the printer refused is not reported as printed.
    return printed ? seOk : seCancelled;
}

int TSestava::PrintOn(int printer, int flag)
{
    if (BeforePrint && !designing())
        BeforePrint(this);
    int result = PrepareAndGenerate();
    if (result == seOk)
        result = TSestavaTyp::PrintOn(printer, flag);
    if (AfterPrint && !designing())
        AfterPrint(this);
    return result;
}

} // namespace report
