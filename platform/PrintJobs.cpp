#include "platform/PrintJobs.h"

#include "platform/Printers.h"

#include <QElapsedTimer>
#include <QFile>
#include <QPainter>
#include <QPrinter>
#include <QTemporaryDir>
#include <QThread>

#include <cups/cups.h>

namespace platform {

namespace {

// One attribute of an IPP response; empty when absent.
QString textAttribute(ipp_t* response, const char* name) {
    ipp_attribute_t* attribute = ippFindAttribute(response, name, IPP_TAG_ZERO);
    const char* text = attribute ? ippGetString(attribute, 0, nullptr) : nullptr;
    return text ? QString::fromUtf8(text) : QString();
}

} // namespace

QString VanishedQueueReason(const QString& queue) {
    const QString refusal = QueueRefusal(queue);
    return refusal.isEmpty() ? QStringLiteral("tiskárna už v seznamu tiskáren není") : refusal;
}

QString QueueRefusal(const QString& queue) {
    http_t* http = httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1,
                                10000, nullptr);
    if (!http)
        return QStringLiteral("plánovač tisku CUPS (%1) neodpovídá")
            .arg(QString::fromUtf8(cupsServer()));
    ipp_t* request = ippNewRequest(IPP_OP_GET_PRINTER_ATTRIBUTES);
    char uri[HTTP_MAX_URI];
    httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", 0,
                     "/printers/%s", queue.toUtf8().constData());
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uri);
    static const char* const wanted[] = {"printer-state", "printer-state-message",
                                         "printer-state-reasons", "printer-is-accepting-jobs"};
    ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", 4, nullptr,
                  wanted);
    ipp_t* response = cupsDoRequest(http, request, "/");
    QString refusal;
    if (cupsLastError() > IPP_STATUS_OK_CONFLICTING || !response) {
        refusal = QString::fromUtf8(cupsLastErrorString());
    } else {
        ipp_attribute_t* state = ippFindAttribute(response, "printer-state", IPP_TAG_ENUM);
        ipp_attribute_t* accepting =
            ippFindAttribute(response, "printer-is-accepting-jobs", IPP_TAG_BOOLEAN);
        const QString message = textAttribute(response, "printer-state-message");
        const QString reasons = textAttribute(response, "printer-state-reasons");
        if (state && ippGetInteger(state, 0) == IPP_PSTATE_STOPPED)
            refusal = QStringLiteral("tiskárna je zastavená (%1)")
                          .arg(message.isEmpty() ? reasons : message);
        else if (accepting && !ippGetBoolean(accepting, 0))
            refusal = QStringLiteral("tiskárna nepřijímá úlohy (%1)")
                          .arg(message.isEmpty() ? reasons : message);
    }
    ippDelete(response);
    httpClose(http);
    return refusal;
}

GraphicJob::GraphicJob() = default;

GraphicJob::~GraphicJob() {
    if (isActive()) abort();
}

bool GraphicJob::isActive() const {
    return m_painter && m_painter->isActive();
}

QPainter& GraphicJob::painter() {
    return *m_painter;
}

bool GraphicJob::begin(const QString& title) {
    if (isActive()) return false;
    PrinterSystem& system = PrinterSystem::instance();
    m_failure = {};
    if (!system.hasPrinter()) {
        // A printer was chosen and is gone (removed, or its scheduler stopped).
        if (!system.currentName().isEmpty() && !system.testPrinterInstalled())
            m_failure = {system.currentName(), VanishedQueueReason(system.currentName())};
        return false;
    }
    m_title = title;
    m_jobId = 0;
    if (system.testPrinterInstalled()) {
        m_queue.clear();
        m_outputFile = system.nextTestPdf();
    } else {
        m_queue = system.currentName();
        // A stopped or rejecting queue is known before a page is drawn.
        const QString refusal = QueueRefusal(m_queue);
        if (!refusal.isEmpty()) {
            m_failure = {m_queue, refusal};
            return false;
        }
        m_spool = std::make_unique<QTemporaryDir>();
        if (!m_spool->isValid()) {
            m_failure = {m_queue, QStringLiteral("pro tiskovou úlohu není místo na disku")};
            return false;
        }
        m_outputFile = m_spool->filePath(QStringLiteral("job.pdf"));
    }
    QPrinter& printer = system.printer();
    // Printing to a file keeps the queue's resolution, paper and printable area.
    printer.setOutputFileName(m_outputFile);
    printer.setDocName(title);
    m_painter = std::make_unique<QPainter>();
    if (!m_painter->begin(&printer)) {
        m_failure = {system.currentName(), QStringLiteral("tiskový výstup se nepodařilo otevřít")};
        m_painter.reset();
        restorePrinter();
        QFile::remove(m_outputFile);
        m_spool.reset();
        return false;
    }
    return true;
}

void GraphicJob::restorePrinter() {
    PrinterSystem& system = PrinterSystem::instance();
    // Back to the queue itself (a test printer stays a PDF printer).
    system.printer().setOutputFileName(QString());
    if (!m_queue.isEmpty()) system.printer().setPrinterName(m_queue);
}

bool GraphicJob::newPage() {
    return isActive() && PrinterSystem::instance().printer().newPage();
}

bool GraphicJob::end() {
    if (!isActive()) return false;
    const bool written = m_painter->end();
    m_painter.reset();
    restorePrinter();
    bool printed = written;
    if (written && !m_queue.isEmpty()) {
        const int copies = PrinterSystem::instance().copies();
        cups_option_t* options = nullptr;
        int count = cupsAddOption("copies", QByteArray::number(copies).constData(), 0, &options);
        // Without Collate the CUPS-PDF queue prints one copy of a multi-copy job.
        count = cupsAddOption("Collate", "True", count, &options);
        m_jobId = cupsPrintFile(m_queue.toUtf8().constData(), QFile::encodeName(m_outputFile),
                                m_title.toUtf8().constData(), count, options);
        cupsFreeOptions(count, options);
        printed = m_jobId > 0;
        if (!printed) m_failure = {m_queue, QString::fromUtf8(cupsLastErrorString())};
    } else if (!written) {
        m_failure = {PrinterSystem::instance().currentName(),
                     QStringLiteral("tiskovou úlohu se nepodařilo zapsat")};
    }
    if (!m_queue.isEmpty() || !written) QFile::remove(m_outputFile);
    m_spool.reset();
    return printed;
}

void GraphicJob::abort() {
    if (!m_painter) return;
    if (m_painter->isActive()) m_painter->end();
    m_painter.reset();
    restorePrinter();
    QFile::remove(m_outputFile);
    m_spool.reset();
    m_jobId = 0;
}

// A connection of its own, so that nothing else asked of the scheduler while the job's data
// is streamed can get between the request and its data.
struct RawJob::Connection {
    http_t* http = nullptr;
    ~Connection() {
        if (http) httpClose(http);
    }
};

RawJob::RawJob() = default;

RawJob::~RawJob() {
    if (m_active) abort();
}

bool RawJob::begin(const QString& title) {
    if (m_active) return false;
    PrinterSystem& system = PrinterSystem::instance();
    m_failure = {};
    if (!system.hasPrinter()) {
        if (!system.currentName().isEmpty() && !system.testPrinterInstalled())
            m_failure = {system.currentName(), VanishedQueueReason(system.currentName())};
        return false;
    }
    m_failed = false;
    m_jobId = 0;
    m_captured.clear();
    if (system.testPrinterInstalled()) {
        m_queue.clear();
        m_active = true;
        return true;
    }
    m_queue = system.currentName();
    const QString refusal = QueueRefusal(m_queue);
    if (!refusal.isEmpty()) {
        m_failure = {m_queue, refusal};
        return false;
    }
    m_connection = std::make_unique<Connection>();
    m_connection->http = httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC,
                                      cupsEncryption(), 1, 30000, nullptr);
    if (!m_connection->http) {
        m_connection.reset();
        m_failure = {m_queue, VanishedQueueReason(m_queue)};
        return false;
    }
    const QByteArray queue = m_queue.toUtf8();
    const QByteArray name = title.toUtf8();
    m_jobId = cupsCreateJob(m_connection->http, queue.constData(), name.constData(), 0, nullptr);
    if (m_jobId <= 0 ||
        cupsStartDocument(m_connection->http, queue.constData(), m_jobId, name.constData(),
                          CUPS_FORMAT_RAW, 1) != HTTP_STATUS_CONTINUE) {
        m_failure = {m_queue, QString::fromUtf8(cupsLastErrorString())};
        if (m_jobId > 0) cupsCancelJob2(CUPS_HTTP_DEFAULT, queue.constData(), m_jobId, 0);
        m_connection.reset();
        m_jobId = 0;
        return false;
    }
    m_active = true;
    return true;
}

bool RawJob::write(const QByteArray& bytes) {
    if (!m_active || m_failed) return false;
    if (!m_connection) {
        m_captured += bytes;
        return true;
    }
    if (bytes.isEmpty()) return true;
    if (cupsWriteRequestData(m_connection->http, bytes.constData(), size_t(bytes.size())) !=
        HTTP_STATUS_CONTINUE) {
        m_failed = true;
        m_failure = {m_queue, QString::fromUtf8(cupsLastErrorString())};
    }
    return !m_failed;
}

bool RawJob::end() {
    if (!m_active) return false;
    m_active = false;
    if (!m_connection) {
        PrinterSystem::instance().captureRawJob(m_captured);
        return true;
    }
    const QByteArray queue = m_queue.toUtf8();
    if (m_failed) {
        m_connection.reset();
        cupsCancelJob2(CUPS_HTTP_DEFAULT, queue.constData(), m_jobId, 0);
        return false;
    }
    const ipp_status_t status = cupsFinishDocument(m_connection->http, queue.constData());
    m_connection.reset();
    if (status > IPP_STATUS_OK_CONFLICTING)
        m_failure = {m_queue, QString::fromUtf8(cupsLastErrorString())};
    return status <= IPP_STATUS_OK_CONFLICTING;
}

void RawJob::abort() {
    if (!m_active) return;
    m_active = false;
    m_captured.clear();
    if (!m_connection) return;
    m_connection.reset(); // the document is never finished
    cupsCancelJob2(CUPS_HTTP_DEFAULT, m_queue.toUtf8().constData(), m_jobId, 0);
}

JobState jobState(const QString& queue, int jobId) {
    cups_job_t* jobs = nullptr;
    const int count =
        cupsGetJobs2(CUPS_HTTP_DEFAULT, &jobs, queue.toUtf8().constData(), 0, CUPS_WHICHJOBS_ALL);
    JobState state = JobState::Unknown;
    for (int i = 0; i < count; ++i) {
        if (jobs[i].id != jobId) continue;
        switch (jobs[i].state) {
        case IPP_JSTATE_PENDING:
            state = JobState::Pending;
            break;
        case IPP_JSTATE_HELD:
            state = JobState::Held;
            break;
        case IPP_JSTATE_PROCESSING:
            state = JobState::Processing;
            break;
        case IPP_JSTATE_STOPPED:
            state = JobState::Stopped;
            break;
        case IPP_JSTATE_CANCELED:
            state = JobState::Canceled;
            break;
        case IPP_JSTATE_ABORTED:
            state = JobState::Aborted;
            break;
        case IPP_JSTATE_COMPLETED:
            state = JobState::Completed;
            break;
        }
    }
    cupsFreeJobs(count, jobs);
    return state;
}

JobState waitForJob(const QString& queue, int jobId, int timeoutMs) {
    QElapsedTimer timer;
    timer.start();
    JobState state = jobState(queue, jobId);
    while (
        timer.elapsed() < timeoutMs &&
        (state == JobState::Pending || state == JobState::Processing || state == JobState::Held)) {
        QThread::msleep(50);
        state = jobState(queue, jobId);
    }
    return state;
}

} // namespace platform
