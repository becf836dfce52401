#include "report/engine/document/sestvyst_print.h"

#include "platform/PainterCanvas.h"
#include "platform/PrintJobs.h"
#include "platform/Printers.h"
#include "report/engine/document/DocumentPrinter.h"
#include "report/engine/document/RunProgress.h"
#include "report/engine/document/TPicture.h"
#include "report/engine/document/sest_zn.h"
#include "report/engine/printing/sestprn_printer.h"
#include "report/engine/sest_lib.h"

#include <QCoreApplication>
#include <QPainter>

namespace report {

using platform::PrinterSystem;
using platform::PrintFailure;
using platform::TRect;

namespace {

PrintFitDialog& fitDialog() {
    static PrintFitDialog dialog;
    return dialog;
}

int nearest(double v) {
    return ScaleRound(v, 1.0);
}

// The current printer, or the default one when none was chosen; false without printers. A
// chosen printer that has gone is not silently replaced by another.
bool ensurePrinter() {
    PrinterSystem& printers = PrinterSystem::instance();
    if (printers.hasPrinter()) return true;
    return printers.currentName().isEmpty() && printers.selectPrinter(-1);
}

// A rectangle of the printer shrunk toward the printable corner by the zoom.
TRect zoomed(TRect r, int zoom) {
    if (zoom == 100) return r;
    return {r.left * zoom / 100, r.top * zoom / 100, r.right * zoom / 100, r.bottom * zoom / 100};
}

// Records why a print failed; a printer that is simply missing is "no printer".
void failPrint(TSestVystup& doc, PrintFailure failure) {
    if (!failure.failed()) failure = {PrintFailure::NoPrinter, {}, {}};
    doc.SetPrintFailure(failure);
}

// What both printers do first: forget the last failure, clamp the page range and select the
// printer with the template's orientation. False when no job is to start; `result` is then the
// printer's answer (true for nothing to print, false without a printer).
bool preparePrinting(TSestVystup& doc, int& start, int& end, bool& result,
                     bool templateOrientation) {
    doc.SetPrintFailure({});
    start = std::max(start, 1);
    end = std::min(end, doc.PageCount());
    // An empty range starts no job (a job without pages would still print a blank sheet).
    result = true;
    if (start > end) return false;
    result = ensurePrinter();
    if (!result) {
        failPrint(doc, PrinterSystem::instance().unavailability());
        return false;
    }
    const TSestVystup::PageLayout& layout = doc.pageLayout();
    if (templateOrientation && !layout.orientationChangeable)
        PrinterSystem::instance().setOrientation(layout.landscape ? 1 : 0);
    return true;
}

// The job loop both printers share: `runs` jobs, each begun, filled with the pages by
// `fillPages(job)` and ended. A job that cannot begin or end records why; a filling that
// answers false (cancelled, or a failure it recorded) aborts the job. True when every job
// went out.
template <typename Job, typename FillPages>
bool runJobs(TSestVystup& doc, const QString& title, int runs, FillPages fillPages) {
    for (int run = 0; run < runs; ++run) {
        Job job;
        if (!job.begin(title)) {
            failPrint(doc, job.failure());
            return false;
        }
        if (!fillPages(job)) {
            job.abort();
            return false;
        }
        if (RunProgress* progress = doc.Progress()) progress->ShowSending();
        if (!job.end()) {
            failPrint(doc, job.failure());
            return false;
        }
    }
    return true;
}

} // namespace

void SetPrintFitDialog(PrintFitDialog dialog) {
    fitDialog() = std::move(dialog);
}

bool PrintGraphic(TSestVystup& doc, int start, int end, const QString& title, int copies,
                  bool templateOrientation) {
    bool result = true;
    if (!preparePrinting(doc, start, end, result, templateOrientation)) return result;
    const TSestVystup::PageLayout& layout = doc.pageLayout();
    PrinterSystem& printer = PrinterSystem::instance();
    const auto cancelled = [&] { return doc.CancelRequested(); };

    const int dpiX = std::max(printer.resolutionX(), 1);
    const int dpiY = std::max(printer.resolutionY(), 1);
    // The printable area's corner on the printer's printable area (1/100 inch), moved by the
    // page setup's output offset. The printing offset is kept exact: whole hundredths would
    // move everything by up to 0.7 pt.
    const TPageSetup& setup = PageSetup();
    const double ox =
        layout.marginLeft - printer.printingOffset().x() * 100.0 / dpiX + setup.outputOffsetX;
    const double oy =
        layout.marginTop - printer.printingOffset().y() * 100.0 / dpiY + setup.outputOffsetY;
    const double px = dpiX / 100.0;
    const double py = dpiY / 100.0;

    int columns = 1;
    int rows = 1;
    int zoom = 100;
    int stepX = 0;
    int stepY = 0;
    const auto sheetWidth = [&] { return printer.physicalPageSize().width() * 100 / dpiX; };
    const auto sheetHeight = [&] { return printer.physicalPageSize().height() * 100 / dpiY; };
    if (sheetWidth() < 0.99 * layout.pageWidth || sheetHeight() < 0.99 * layout.pageHeight) {
        if (!fitDialog() || !fitDialog()(layout, columns, rows, zoom)) return false;
        columns = std::max(columns, 1);
        rows = std::max(rows, 1);
        zoom = std::clamp(zoom, 1, 1000);
        stepX = sheetWidth() - layout.marginLeft - layout.marginRight;
        stepY = sheetHeight() - layout.marginTop - layout.marginBottom;
        // Margins wider than the sheet leave nothing to tile with.
        if (stepX <= 0) columns = 1;
        if (stepY <= 0) rows = 1;
    }

    printer.setCopies(copies);
    const int runs = printer.deviceMakesCopies() ? 1 : std::max(copies, 1);
    return runJobs<platform::GraphicJob>(doc, title, runs, [&](platform::GraphicJob& job) {
        QCoreApplication::processEvents();
        platform::PainterCanvas canvas(job.painter());
        bool stop = false;
        for (int page = start; page <= end && !stop; ++page) {
            if (page > start) job.newPage();
            doc.NotePage(page);
            QCoreApplication::processEvents();
            doc.ShowPage(page - 1);
            for (int r = 0; r < rows && !stop; ++r)
                for (int c = 0; c < columns && !stop; ++c) {
                    if (r > 0 || c > 0) job.newPage();
                    QCoreApplication::processEvents();
                    const double x = ox - c * stepX;
                    const double y = oy - r * stepY;
                    if (doc.PrintsBackground()) {
                        const TRect bg = BackgroundPlace(doc.BackgroundRect(), layout.marginLeft,
                                                         layout.marginTop, x, y, px, py);
                        DrawPicture(canvas, zoomed(bg, zoom), *doc.BackgroundPicture());
                    }
                    const TRect view{nearest(x * px), nearest(y * py),
                                     nearest((doc.PrintableWidth() + x) * px) + 1,
                                     nearest((doc.PrintableHeight() + y) * py) + 1};
                    doc.PageView().Play(canvas, zoomed(view, zoom));
                    // A cancel asked while the page was drawn waits among the events: it
                    // must count before the next page, and before the last goes out.
                    QCoreApplication::processEvents();
                    stop = cancelled();
                }
        }
        return !stop;
    });
}

bool PrintText(TSestVystup& doc, int start, int end, const QString& title, int copies,
               bool templateOrientation) {
    bool result = true;
    if (!preparePrinting(doc, start, end, result, templateOrientation)) return result;
    const TSestVystup::PageLayout& layout = doc.pageLayout();
    const auto cancelled = [&] { return doc.CancelRequested(); };
    // Element positions on the printer's printable area, moved by the output offset.
    const int ox = PageToPrinterX(layout.marginLeft) + PageSetup().outputOffsetX;
    const int oy = PageToPrinterY(layout.marginTop) + PageSetup().outputOffsetY;

    // The rows stand at the printer's offsets, so the page they fill is the printer's
    // printable area: the report's own would lose its last rows below a wider top margin.
    const PrinterSystem& printer = PrinterSystem::instance();
    TZnakovePole page;
    page.SetPageSize(printer.printableSize().height() * 100 / std::max(printer.resolutionY(), 1),
                     doc.LineCode());
    const auto language = TSestLanguage(doc.ExportLanguage());
    return runJobs<platform::RawJob>(doc, title, std::max(copies, 1), [&](platform::RawJob& job) {
        for (int p = start; p <= end; ++p) {
            doc.NotePage(p);
            page.ClearPage();
            const TStranaPrvku* elements = doc.Page(p - 1);
            for (int i = 0; i < elements->Count(); ++i)
                TSestVystup::ToText(*elements->Prvek(i), page, ox, oy);
            // Rows end in CR LF; a form feed ends the page, as a text-only driver does.
            if (!job.write(page.PageBytes(language) + '\f')) {
                failPrint(doc, job.failure());
                return false;
            }
            QCoreApplication::processEvents();
            if (cancelled()) return false;
        }
        return true;
    });
}

namespace {

// The printers of platform::PrinterSystem; a text-only printer gets the text form.
class SystemPrinter : public DocumentPrinter {
public:
    PrintFailure unavailable(TSestVystup& document) override {
        return PrintersUnavailable(document);
    }

    bool print(TSestVystup& document, int printer, int start, int end, const QString& title,
               int copies) override {
        PrinterSystem& printers = PrinterSystem::instance();
        const int previous = printers.currentIndex();
        // A printer chosen before that has gone stays chosen: the print then says so.
        if (printer >= 0 || printers.currentName().isEmpty()) printers.selectPrinter(printer);
        const bool printed = printers.isTextOnly(printers.currentName())
                                 ? PrintText(document, start, end, title, copies)
                                 : PrintGraphic(document, start, end, title, copies);
        if (previous >= 0) printers.selectPrinter(previous);
        return printed;
    }
};

} // namespace

PrintFailure PrintersUnavailable(TSestVystup& doc) {
    PrinterSystem& printers = PrinterSystem::instance();
    if (printers.testPrinterInstalled()) return {};
    bool waitingShown = false;
    const platform::ServiceReply reply = printers.checkService([&](int waitedMs) {
        if (doc.CancelRequested()) return false;
        if (waitedMs >= 500 && !waitingShown) {
            waitingShown = true;
            if (RunProgress* progress = doc.Progress()) progress->ShowWaiting();
        }
        return true;
    });
    if (reply == platform::ServiceReply::Cancelled) return {PrintFailure::Cancelled, {}, {}};
    const PrintFailure why = printers.unavailability();
    // A printer chosen before that has gone is told when a print goes to it (a print dialog
    // chooses another); it counts here only when it was the last one.
    if (why.cause == PrintFailure::PrinterGone && !printers.printerNames().isEmpty()) return {};
    return why;
}

void InstallSystemPrinter() {
    InstallDocumentPrinter(std::make_unique<SystemPrinter>());
}

} // namespace report
