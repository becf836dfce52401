// The output document's printer writers: the graphic printer (page views replayed onto a
// graphic job, tiled over smaller sheets) and the text-only printer (character-page rows as a
// raw job).
#include "report/engine/document/sestvyst.h"

#include "platform/PainterCanvas.h"
#include "platform/PrintJobs.h"
#include "platform/Printers.h"
#include "report/engine/document/RunProgress.h"
#include "report/engine/document/TPicture.h"
#include "report/engine/document/sest_zn.h"
#include "report/engine/printing/sestprn_printer.h"
#include "report/engine/sest_lib.h"
#include "report/engine/ui/sestfrmp.h"

#include <QCoreApplication>
#include <QPainter>

namespace report {

using platform::PrinterSystem;
using platform::TRect;

namespace {

// The print-fit dialog on the current printer; "Tisknout" gives the sheets and the zoom.
bool askPrintFit(const TSestVystup::PageLayout& page, int& columns, int& rows, int& zoom) {
    TFormVoranReportZoom dialog;
    dialog.SetSizes(page.pageWidth, page.pageHeight, page.marginLeft, page.marginTop,
                    page.marginRight, page.marginBottom);
    if (dialog.exec() != QDialog::Accepted) return false;
    columns = dialog.Columns();
    rows = dialog.Rows();
    zoom = dialog.Zoom();
    return true;
}

TSestVystup::PrintFitDialog& fitDialog() {
    static TSestVystup::PrintFitDialog dialog = askPrintFit;
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

} // namespace

void TSestVystup::setPrintFitDialog(PrintFitDialog dialog) {
    fitDialog() = std::move(dialog);
}

bool TSestVystup::preparePrinting(int& start, int& end, bool& result, bool templateOrientation) {
    m_cancel = false;
    m_printFailure = {};
    start = std::max(start, 1);
    end = std::min(end, PageCount());
    // An empty range starts no job (a job without pages would still print a blank sheet).
    result = true;
    if (start > end) return false;
    result = ensurePrinter();
    if (!result) {
        const QString chosen = PrinterSystem::instance().currentName();
        if (!chosen.isEmpty()) m_printFailure = {chosen, platform::VanishedQueueReason(chosen)};
        return false;
    }
    if (templateOrientation && !m_layout.orientationChangeable)
        PrinterSystem::instance().setOrientation(m_layout.landscape ? 1 : 0);
    return true;
}

bool TSestVystup::PrintGraphic(int start, int end, const bool* cancel, const QString& title,
                               int copies, bool templateOrientation) {
    bool result = true;
    if (!preparePrinting(start, end, result, templateOrientation)) return result;
    PrinterSystem& printer = PrinterSystem::instance();
    const auto cancelled = [&] { return m_cancel || (cancel && *cancel) || CancelRequested(); };

    const int dpiX = std::max(printer.resolutionX(), 1);
    const int dpiY = std::max(printer.resolutionY(), 1);
    // The printable area's corner on the printer's printable area (1/100 inch), moved by the
    // page setup's output offset. The printing offset is kept exact: whole hundredths would
    // move everything by up to 0.7 pt.
    const TPageSetup& setup = PageSetup();
    const double ox =
        m_layout.marginLeft - printer.printingOffset().x() * 100.0 / dpiX + setup.outputOffsetX;
    const double oy =
        m_layout.marginTop - printer.printingOffset().y() * 100.0 / dpiY + setup.outputOffsetY;
    const double px = dpiX / 100.0;
    const double py = dpiY / 100.0;

    int columns = 1;
    int rows = 1;
    int zoom = 100;
    int stepX = 0;
    int stepY = 0;
    const auto sheetWidth = [&] { return printer.physicalPageSize().width() * 100 / dpiX; };
    const auto sheetHeight = [&] { return printer.physicalPageSize().height() * 100 / dpiY; };
    if (sheetWidth() < 0.99 * m_layout.pageWidth || sheetHeight() < 0.99 * m_layout.pageHeight) {
        if (!fitDialog() || !fitDialog()(m_layout, columns, rows, zoom)) return false;
        columns = std::max(columns, 1);
        rows = std::max(rows, 1);
        zoom = std::clamp(zoom, 1, 1000);
        stepX = sheetWidth() - m_layout.marginLeft - m_layout.marginRight;
        stepY = sheetHeight() - m_layout.marginTop - m_layout.marginBottom;
        // Margins wider than the sheet leave nothing to tile with.
        if (stepX <= 0) columns = 1;
        if (stepY <= 0) rows = 1;
    }

    printer.setCopies(copies);
    const int runs = printer.deviceMakesCopies() ? 1 : std::max(copies, 1);
    for (int run = 0; run < runs; ++run) {
        platform::GraphicJob job;
        if (!job.begin(title)) {
            m_printFailure = {job.failure().queue, job.failure().reason};
            return false;
        }
        QCoreApplication::processEvents();
        platform::PainterCanvas canvas(job.painter());
        bool stop = false;
        for (int page = start; page <= end && !stop; ++page) {
            if (page > start) job.newPage();
            NotePage(page);
            QCoreApplication::processEvents();
            ShowPage(page - 1);
            for (int r = 0; r < rows && !stop; ++r)
                for (int c = 0; c < columns && !stop; ++c) {
                    if (r > 0 || c > 0) job.newPage();
                    QCoreApplication::processEvents();
                    const double x = ox - c * stepX;
                    const double y = oy - r * stepY;
                    if (PrintsBackground()) {
                        const TRect& b = m_backgroundRect;
                        const TRect bg{nearest((b.left + x - m_layout.marginLeft) * px),
                                       nearest((b.top + y - m_layout.marginTop) * py),
                                       nearest((b.right + x - m_layout.marginLeft) * px) + 1,
                                       nearest((b.bottom + y - m_layout.marginTop) * py) + 1};
                        DrawPicture(canvas, zoomed(bg, zoom), *m_background);
                    }
                    const TRect view{nearest(x * px), nearest(y * py),
                                     nearest((m_printableWidth + x) * px) + 1,
                                     nearest((m_printableHeight + y) * py) + 1};
                    m_view.Play(canvas, zoomed(view, zoom));
                    // A cancel asked while the page was drawn waits among the events: it
                    // must count before the next page, and before the last goes out.
                    QCoreApplication::processEvents();
                    stop = cancelled();
                }
        }
        if (stop) {
            job.abort();
            return false;
        }
        if (m_progress) m_progress->ShowSending();
        if (!job.end()) {
            m_printFailure = {job.failure().queue, job.failure().reason};
            return false;
        }
    }
    return true;
}

bool TSestVystup::PrintText(int start, int end, const bool* cancel, const QString& title,
                            int copies, bool templateOrientation) {
    bool result = true;
    if (!preparePrinting(start, end, result, templateOrientation)) return result;
    const auto cancelled = [&] { return m_cancel || (cancel && *cancel) || CancelRequested(); };
    // Element positions on the printer's printable area, moved by the output offset.
    const int ox = PageToPrinterX(m_layout.marginLeft) + PageSetup().outputOffsetX;
    const int oy = PageToPrinterY(m_layout.marginTop) + PageSetup().outputOffsetY;

    // The rows stand at the printer's offsets, so the page they fill is the printer's
    // printable area: the report's own would lose its last rows below a wider top margin.
    const PrinterSystem& printer = PrinterSystem::instance();
    TZnakovePole page;
    page.SetPageSize(printer.printableSize().height() * 100 / std::max(printer.resolutionY(), 1),
                     m_lineCode);
    const auto language = TSestLanguage(m_exportLanguage);
    for (int copy = 0; copy < std::max(copies, 1); ++copy) {
        platform::RawJob job;
        if (!job.begin(title)) {
            m_printFailure = {job.failure().queue, job.failure().reason};
            return false;
        }
        for (int p = start; p <= end; ++p) {
            NotePage(p);
            page.ClearPage();
            const TStranaPrvku* elements = Page(p - 1);
            for (int i = 0; i < elements->Count(); ++i)
                ToText(*elements->Prvek(i), page, ox, oy);
            // Rows end in CR LF; a form feed ends the page, as a text-only driver does.
            if (!job.write(page.PageBytes(language) + '\f')) {
                m_printFailure = {job.failure().queue, job.failure().reason};
                job.abort();
                return false;
            }
            QCoreApplication::processEvents();
            if (cancelled()) {
                job.abort();
                return false;
            }
        }
        if (m_progress) m_progress->ShowSending();
        if (!job.end()) {
            m_printFailure = {job.failure().queue, job.failure().reason};
            return false;
        }
    }
    return true;
}

} // namespace report
