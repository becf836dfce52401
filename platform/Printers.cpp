#include "platform/Printers.h"

#include <QDir>
#include <QHash>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QPrinterInfo>

#include <cups/cups.h>

namespace platform {

namespace {

// One option of a CUPS destination; empty when missing.
QString option(const cups_dest_t& dest, const char* name) {
    return QString::fromUtf8(cupsGetOption(name, dest.num_options, dest.options));
}

} // namespace

struct PrinterSystem::Queues {
    ServiceReply reply = ServiceReply::Silent;
    QStringList names; // as Qt names them: an instance after a slash
    QString defaultName;
    QHash<QString, QString> ports;
    QHash<QString, QString> models;
};

PrinterSystem& PrinterSystem::instance() {
    static PrinterSystem system;
    return system;
}

PrinterSystem::PrinterSystem() = default;
PrinterSystem::~PrinterSystem() = default;

void PrinterSystem::resetPrinter() {
    m_printer.reset();
    if (!m_name.isEmpty()) printer();
}

PrinterSystem::Queues PrinterSystem::queues() const {
    Queues found;
    const QString service = PrintServiceName();
    if (m_silentService == service) return found;
    found.reply = AskFor<Queues>(
        [](http_t* http) {
            Queues asked;
            asked.reply = ServiceReply::Answered;
            cups_dest_t* dests = nullptr;
            const int count = cupsGetDests2(http, &dests);
            for (int i = 0; i < count; ++i) {
                QString name = QString::fromUtf8(dests[i].name);
                if (dests[i].instance) name += '/' + QString::fromUtf8(dests[i].instance);
                if (dests[i].is_default) asked.defaultName = name;
                asked.names << name;
                asked.ports[name] = option(dests[i], "device-uri");
                asked.models[name] = option(dests[i], "printer-make-and-model");
            }
            cupsFreeDests(count, dests);
            asked.names.sort(Qt::CaseInsensitive); // as CUPS orders them
            return asked;
        },
        found);
    if (found.reply == ServiceReply::Silent) m_silentService = service;
    return found;
}

ServiceReply PrinterSystem::checkService(const ServiceTick& tick) {
    const ServiceReply reply = CheckPrintService(tick);
    if (reply == ServiceReply::Silent)
        m_silentService = PrintServiceName();
    else if (reply != ServiceReply::Cancelled)
        m_silentService.clear(); // it answers, or it is gone: no longer silent
    return reply;
}

PrintFailure PrinterSystem::unavailability() const {
    if (testPrinterInstalled()) return {};
    const Queues found = queues();
    if (found.reply == ServiceReply::Down)
        return {PrintFailure::ServiceDown, PrintServiceName(), {}};
    if (found.reply != ServiceReply::Answered)
        return {PrintFailure::ServiceSilent, PrintServiceName(), {}};
    if (!m_name.isEmpty() && !found.names.contains(m_name))
        return {PrintFailure::PrinterGone, m_name, {}};
    if (found.names.isEmpty()) return {PrintFailure::NoPrinter, {}, {}};
    return {};
}

QStringList PrinterSystem::printerNames() const {
    if (testPrinterInstalled()) return {QString::fromLatin1(testPrinterName)};
    return queues().names;
}

int PrinterSystem::defaultIndex() const {
    if (testPrinterInstalled()) return 0;
    const Queues found = queues();
    if (found.names.isEmpty()) return -1;
    return int(std::max<qsizetype>(found.names.indexOf(found.defaultName), 0));
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
    if (m_drawing > 0) return !name.isEmpty() && name == m_name;
    if (name != m_name || name.isEmpty()) {
        // A newly selected printer starts from its own defaults.
        m_name = name;
        resetPrinter();
    }
    return !m_name.isEmpty();
}

QPrinter& PrinterSystem::printer() {
    if (m_printer) return *m_printer;
    if (m_name.isEmpty() || testPrinterInstalled()) {
        // Never the native default: without a selected queue this printer prints nowhere.
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        m_printer->setOutputFormat(QPrinter::PdfFormat);
    } else {
        m_printer = std::make_unique<QPrinter>(QPrinterInfo::printerInfo(m_name),
                                               QPrinter::HighResolution);
    }
    m_printer->setFullPage(false);
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
    printer().setPageOrientation(orientation < 1 ? QPageLayout::Portrait : QPageLayout::Landscape);
}

void PrinterSystem::setCopies(int copies) {
    m_copies = std::max(copies, 1);
    if (m_printer) m_printer->setCopyCount(m_copies);
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
    return queues().ports.value(name);
}

QString PrinterSystem::makeAndModel(const QString& name) const {
    if (name.isEmpty() || testPrinterInstalled()) return {};
    return queues().models.value(name);
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
