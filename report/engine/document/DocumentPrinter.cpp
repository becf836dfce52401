#include "report/engine/document/DocumentPrinter.h"

namespace report {

namespace {

std::unique_ptr<DocumentPrinter>& installed() {
    static std::unique_ptr<DocumentPrinter> printer;
    return printer;
}

} // namespace

void InstallDocumentPrinter(std::unique_ptr<DocumentPrinter> printer) {
    installed() = std::move(printer);
}

DocumentPrinter* InstalledDocumentPrinter() {
    return installed().get();
}

} // namespace report
