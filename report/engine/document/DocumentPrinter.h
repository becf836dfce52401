#pragma once
// The system's printers as the report model knows them. The engine installs them (the model
// links no printer system); a report prints its document through them.

#include "report/engine/document/sestvyst.h"

#include <QString>

#include <memory>

namespace report {

class DocumentPrinter {
public:
    virtual ~DocumentPrinter() = default;
    // Why no printer can be used now (cause None when one can): the print service does not
    // answer or run, it has no printer, or the printer chosen before has gone. Asked while the
    // document's windows answer and its cancel is polled (cause Cancelled when it stopped the
    // wait).
    virtual TSestVystup::PrintFailure unavailable(TSestVystup& document) = 0;
    // Prints pages start..end of `document` on printer `printer` of the system's list (-1: the
    // current one), as text on a text-only printer, and selects the printer chosen before
    // again. False when nothing was printed: the document's LastPrintFailure says why, and has
    // no cause when the print was cancelled.
    virtual bool print(TSestVystup& document, int printer, int start, int end,
                       const QString& title, int copies) = 0;
};

// The engine's printers; null removes them.
void InstallDocumentPrinter(std::unique_ptr<DocumentPrinter> printer);
// The installed printers, or null (tests, programs without printers: nothing prints).
DocumentPrinter* InstalledDocumentPrinter();

} // namespace report
