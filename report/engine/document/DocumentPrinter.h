#pragma once
// The system's printers as the report model knows them. The engine installs them (the model
// links no printer system); a report prints its document through them.

#include "report/engine/document/sestvyst.h"

#include <QString>

#include <memory>
#include <optional>

namespace report {

class DocumentPrinter {
public:
    virtual ~DocumentPrinter() = default;
    // None when a printer can be used; otherwise the printer chosen before (empty when there is
    // no printer at all) and why it is out of reach.
    virtual std::optional<TSestVystup::PrintFailure> unavailable() const = 0;
    // Prints pages start..end of `document` on printer `printer` of the system's list (-1: the
    // current one), as text on a text-only printer, and selects the printer chosen before
    // again. False when nothing was printed: the document's LastPrintFailure says why, and is
    // empty when the print was cancelled.
    virtual bool print(TSestVystup& document, int printer, int start, int end,
                       const QString& title, int copies) = 0;
};

// The engine's printers; null removes them.
void InstallDocumentPrinter(std::unique_ptr<DocumentPrinter> printer);
// The installed printers, or null (tests, programs without printers: nothing prints).
DocumentPrinter* InstalledDocumentPrinter();

} // namespace report
