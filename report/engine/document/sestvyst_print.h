#pragma once
// The output document on the system's printers (report_engine): the graphic printer (page views
// replayed onto a graphic job, tiled over smaller sheets) and the text-only printer
// (character-page rows as a raw job), and the printers as the report model reaches them.

#include "report/engine/document/sestvyst.h"

#include <QString>

#include <functional>

namespace report {

// Printing on the current printer; true unless the job failed or was cancelled (the document's
// CancelRequested, asked between pages and sheets) or refused (the document's LastPrintFailure
// says why a job failed). The printer takes the template's orientation unless the template
// lets the user choose it, or `templateOrientation` is false: the user chose the orientation
// for this print (in the print dialog's printer properties).
bool PrintGraphic(TSestVystup& document, int start, int end, const QString& title, int copies,
                  bool templateOrientation = true);
bool PrintText(TSestVystup& document, int start, int end, const QString& title, int copies,
               bool templateOrientation = true);

// The print-fit dialog asked when the sheet is smaller than the page: given the page and its
// margins, it answers the sheets per page across and down and the zoom percent, or false when
// the user does not print. Without one (none installed, or an empty one) such a page is not
// printed; InstallReportWindows installs TFormVoranReportZoom.
using PrintFitDialog =
    std::function<bool(const TSestVystup::PageLayout& page, int& columns, int& rows, int& zoom)>;
void SetPrintFitDialog(PrintFitDialog dialog);

// Whether a print can go to the system's printers now (DocumentPrinter::unavailable). The
// scheduler is asked first, while the windows answer: after half a second the document's
// progress window says that the print waits for the print service, and its cancel (or the
// document's cancel query) stops the wait.
TSestVystup::PrintFailure PrintersUnavailable(TSestVystup& document);

// Makes the system's printers (platform::PrinterSystem) those a report prints on
// (DocumentPrinter.h).
void InstallSystemPrinter();

} // namespace report
