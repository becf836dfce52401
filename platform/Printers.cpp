#include "platform/Printers.h"

#include <QDir>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QPrinterInfo>

#include <cups/cups.h>

namespace platform {

namespace {

// One option of a CUPS destination; empty when the queue or the option is missing.
QString destinationOption(const QString& queue, const char* option) {
    cups_dest_t* dests = nullptr;
    const int count = cupsGetDests2(CUPS_HTTP_DEFAULT, &dests);
    QString value;
    if (cups_dest_t* dest = cupsGetDest(queue.toUtf8().constData(), nullptr, count, dests)) {
        value = QString::fromUtf8(cupsGetOption(option, dest->num_options, dest->options));
    }
    cupsFreeDests(count, dests);
    return value;
}

} // namespace

PrinterSystem& PrinterSystem::instance() {
    static PrinterSystem system;
    return system;
}

PrinterSystem::PrinterSystem() {
    resetPrinter();
}
PrinterSystem::~PrinterSystem() = default;

void PrinterSystem::resetPrinter() {
    m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    m_printer->setFullPage(false);
    if (m_name.isEmpty() || testPrinterInstalled()) {
        // Never the native default: without a selected queue this printer prints nowhere.
        m_printer->setOutputFormat(QPrinter::PdfFormat);
    } else {
        m_printer->setPrinterName(m_name);
    }
}

QStringList PrinterSystem::printerNames() const {
    if (testPrinterInstalled()) return {QString::fromLatin1(testPrinterName)};
    QStringList names = QPrinterInfo::availablePrinterNames();
    names.sort(Qt::CaseInsensitive); // as CUPS orders them
    return names;
}

int PrinterSystem::defaultIndex() const {
    const QStringList names = printerNames();
    if (names.isEmpty()) return -1;
    if (testPrinterInstalled()) return 0;
    const qsizetype i = names.indexOf(QPrinterInfo::defaultPrinterName());
    return i >= 0 ? int(i) : 0;
}

int PrinterSystem::currentIndex() const {
    if (m_name.isEmpty()) return -1;
    return int(printerNames().indexOf(m_name));
}

bool PrinterSystem::selectPrinter(int index) {
    const QStringList names = printerNames();
    if (index == -1) index = defaultIndex();
    const QString name = index >= 0 && index < names.size() ? names[index] : QString();
    // A job in progress keeps its printer.
    if (m_printer->paintingActive()) return !name.isEmpty() && name == m_name;
    if (name != m_name || name.isEmpty()) {
        // A newly selected printer starts from its own defaults.
        m_name = name;
        resetPrinter();
    }
    return !m_name.isEmpty();
}

QPrinter& PrinterSystem::printer() {
    return *m_printer;
}

int PrinterSystem::resolutionX() const {
    return hasPrinter() ? m_printer->resolution() : 0;
}
int PrinterSystem::resolutionY() const {
    return resolutionX();
}

QPoint PrinterSystem::printingOffset() const {
    if (!hasPrinter()) return {};
    return m_printer->pageRect(QPrinter::DevicePixel).topLeft().toPoint();
}

QSize PrinterSystem::physicalPageSize() const {
    if (!hasPrinter()) return {};
    return m_printer->paperRect(QPrinter::DevicePixel).size().toSize();
}

QSize PrinterSystem::printableSize() const {
    if (!hasPrinter()) return {};
    return m_printer->pageRect(QPrinter::DevicePixel).size().toSize();
}

int PrinterSystem::orientation() const {
    return hasPrinter() && m_printer->pageLayout().orientation() == QPageLayout::Landscape;
}

void PrinterSystem::setOrientation(int orientation) {
    m_printer->setPageOrientation(orientation < 1 ? QPageLayout::Portrait
                                                  : QPageLayout::Landscape);
}

void PrinterSystem::setCopies(int copies) {
    m_copies = std::max(copies, 1);
    m_printer->setCopyCount(m_copies);
}

bool PrinterSystem::deviceMakesCopies() const {
    // A PDF file is one copy; a CUPS queue makes the copies the job asks for.
    return hasPrinter() && !testPrinterInstalled();
}

QString PrinterSystem::deviceName(int index) const {
    const QStringList names = printerNames();
    if (index >= 0 && index < names.size()) return names[index];
    return hasPrinter() ? m_name : QString();
}

QString PrinterSystem::port(const QString& name) const {
    if (name.isEmpty()) return {};
    if (testPrinterInstalled())
        return name == QLatin1String(testPrinterName) ? QStringLiteral("file:") + m_testFolder
                                                      : QString();
    return destinationOption(name, "device-uri");
}

QString PrinterSystem::makeAndModel(const QString& name) const {
    if (name.isEmpty() || testPrinterInstalled()) return {};
    return destinationOption(name, "printer-make-and-model");
}

bool PrinterSystem::isTextOnly(const QString& name) const {
    const QString model = makeAndModel(name);
    return model == QLatin1String("Local Raw Printer") ||
           model.startsWith(QLatin1String("Generic Text-Only"));
}

void PrinterSystem::installTestPrinter(const QString& folder) {
    m_testFolder = folder.isEmpty() ? QDir::tempPath() : folder;
    m_testJobs = 0;
    m_rawJobs.clear();
    m_name.clear();
    resetPrinter();
}

void PrinterSystem::removeTestPrinter() {
    m_testFolder.clear();
    m_rawJobs.clear();
    m_name.clear();
    resetPrinter();
}

QString PrinterSystem::nextTestPdf() {
    return QDir(m_testFolder).filePath(QStringLiteral("job-%1.pdf").arg(++m_testJobs));
}

bool PrinterSystem::showPageSetupDialog(QWidget* parent) {
    if (!hasPrinter()) return false;
    QPageSetupDialog dialog(m_printer.get(), parent);
    return dialog.exec() == QDialog::Accepted;
}

} // namespace platform
