#include "platform/PrintJobs.h"

#include "platform/PrintService.h"
#include "platform/Printers.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QTemporaryDir>
#include <QThread>

#include <cups/cups.h>

namespace platform {

namespace {

// How long a job the queue has taken is watched for a stop or an abort, and how often.
constexpr int watchMs = 5000;
constexpr int watchPollMs = 150;

// Waiting for the scheduler keeps the windows answering; nothing stops a job being sent.
const ServiceTick keepAnswering = [](int) { return true; };

// The values of an attribute of an IPP response, joined; empty when absent.
QString attributeText(ipp_t* response, const char* name) {
    ipp_attribute_t* attribute = ippFindAttribute(response, name, IPP_TAG_ZERO);
    QStringList values;
    for (int i = 0; attribute && i < ippGetCount(attribute); ++i)
        if (const char* value = ippGetString(attribute, i, nullptr))
            if (qstrcmp(value, "none") != 0) values << QString::fromUtf8(value);
    return values.join(QStringLiteral(", "));
}

QByteArray schedulerUri(const char* format, const QByteArray& part) {
    char uri[HTTP_MAX_URI];
    httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", 0, format,
                     part.constData());
    return uri;
}

// What the scheduler says of a queue.
struct QueueState {
    enum { Answered, NotFound, Error } status = Error;
    QString error; // the scheduler's words when it refused the question
    bool stopped = false;
    bool accepting = true;
    QString reason; // printer-state-message, else printer-state-reasons
};

QueueState askQueue(http_t* http, const QByteArray& printerUri) {
    ipp_t* request = ippNewRequest(IPP_OP_GET_PRINTER_ATTRIBUTES);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr,
                 printerUri.constData());
    static const char* const wanted[] = {"printer-state", "printer-state-message",
                                         "printer-state-reasons", "printer-is-accepting-jobs"};
    ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", 4, nullptr,
                  wanted);
    ipp_t* response = cupsDoRequest(http, request, "/");
    QueueState state;
    if (!response || cupsLastError() > IPP_STATUS_OK_CONFLICTING) {
        state.status = cupsLastError() == IPP_STATUS_ERROR_NOT_FOUND ? QueueState::NotFound
                                                                     : QueueState::Error;
        state.error = QString::fromUtf8(cupsLastErrorString());
    } else {
        state.status = QueueState::Answered;
        ipp_attribute_t* printerState = ippFindAttribute(response, "printer-state", IPP_TAG_ENUM);
        ipp_attribute_t* accepting =
            ippFindAttribute(response, "printer-is-accepting-jobs", IPP_TAG_BOOLEAN);
        state.stopped = printerState && ippGetInteger(printerState, 0) == IPP_PSTATE_STOPPED;
        state.accepting = !accepting || ippGetBoolean(accepting, 0);
        state.reason = attributeText(response, "printer-state-message");
        if (state.reason.isEmpty())
            state.reason = attributeText(response, "printer-state-reasons");
    }
    ippDelete(response);
    return state;
}

// What the scheduler says of a job.
struct JobReport {
    bool answered = false;
    int state = 0; // ipp_jstate_t
    QString reasons;
    QString message; // what the printer said of it
};

JobReport askJob(http_t* http, int jobId) {
    ipp_t* request = ippNewRequest(IPP_OP_GET_JOB_ATTRIBUTES);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "job-uri", nullptr,
                 schedulerUri("/jobs/%s", QByteArray::number(jobId)).constData());
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr,
                 cupsUser());
    static const char* const wanted[] = {"job-state", "job-state-reasons",
                                         "job-printer-state-message"};
    ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", 3, nullptr,
                  wanted);
    ipp_t* response = cupsDoRequest(http, request, "/");
    JobReport job;
    if (response && cupsLastError() <= IPP_STATUS_OK_CONFLICTING) {
        ipp_attribute_t* state = ippFindAttribute(response, "job-state", IPP_TAG_ENUM);
        job.answered = state != nullptr;
        job.state = state ? ippGetInteger(state, 0) : 0;
        job.reasons = attributeText(response, "job-state-reasons");
        job.message = attributeText(response, "job-printer-state-message");
    }
    ippDelete(response);
    return job;
}

// One job handed to the scheduler and watched, as the worker found it.
struct Submission {
    int jobId = 0;
    bool sent = false;     // the whole document was taken
    bool notFound = false; // no such queue
    QString error;         // the scheduler's refusal
    bool failed = false;   // the queue stopped or aborted it
    QString reason;
};

// Watches a job the queue has taken until it completes, fails or the watch is over. A job that
// waits behind a stopped queue, or was held after its printer failed, has failed as well: it is
// cancelled, so that it does not come out after the user was told it was not printed.
void watchJob(http_t* http, const QByteArray& queue, const QByteArray& printerUri, Submission& s) {
    QElapsedTimer clock;
    clock.start();
    for (;;) {
        const JobReport job = askJob(http, s.jobId);
        if (!job.answered || job.state == IPP_JSTATE_COMPLETED) return;
        const bool ended = job.state == IPP_JSTATE_CANCELED || job.state == IPP_JSTATE_ABORTED;
        bool failed = ended || job.state == IPP_JSTATE_STOPPED;
        QString reason = job.message;
        if (job.state == IPP_JSTATE_PENDING || job.state == IPP_JSTATE_HELD) {
            const QueueState printer = askQueue(http, printerUri);
            if (printer.status == QueueState::Answered && printer.stopped) {
                failed = true;
                if (reason.isEmpty()) reason = printer.reason;
            } else if (job.state == IPP_JSTATE_HELD &&
                       !job.reasons.contains(QLatin1String("job-hold-until-specified"))) {
                failed = true; // held for a retry after its printer failed
            }
        }
        if (failed) {
            if (!ended) cupsCancelJob2(http, queue.constData(), s.jobId, 0);
            s.failed = true;
            s.reason = reason.isEmpty() ? job.reasons : reason;
            return;
        }
        if (clock.elapsed() >= watchMs) return;
        QThread::msleep(watchPollMs);
    }
}

// Sends the file as one job (on the worker thread) and watches it.
void submit(http_t* http, const QByteArray& queue, const QByteArray& path, const QByteArray& title,
            const QByteArray& format, int copies, Submission& s) {
    cups_option_t* options = nullptr;
    int count = 0;
    if (copies > 0) {
        count = cupsAddOption("copies", QByteArray::number(copies).constData(), count, &options);
        // Without Collate the CUPS-PDF queue prints one copy of a multi-copy job.
        count = cupsAddOption("Collate", "True", count, &options);
    }
    s.jobId = cupsCreateJob(http, queue.constData(), title.constData(), count, options);
    cupsFreeOptions(count, options);
    if (s.jobId <= 0) {
        s.notFound = cupsLastError() == IPP_STATUS_ERROR_NOT_FOUND;
        s.error = QString::fromUtf8(cupsLastErrorString());
        s.jobId = 0;
        return;
    }
    QFile file(QFile::decodeName(path));
    bool sending = file.open(QIODevice::ReadOnly) &&
                   cupsStartDocument(http, queue.constData(), s.jobId, title.constData(),
                                     format.constData(), 1) == HTTP_STATUS_CONTINUE;
    while (sending && !file.atEnd()) {
        const QByteArray chunk = file.read(64 * 1024);
        sending = !chunk.isEmpty() &&
                  cupsWriteRequestData(http, chunk.constData(), size_t(chunk.size())) ==
                      HTTP_STATUS_CONTINUE;
    }
    if (sending)
        sending = cupsFinishDocument(http, queue.constData()) <= IPP_STATUS_OK_CONFLICTING;
    if (!sending) {
        s.error = QString::fromUtf8(cupsLastErrorString());
        // A document cut short must not print: drop the job over a fresh connection.
        if (httpReconnect2(http, serviceSilenceMs, nullptr) == 0)
            cupsCancelJob2(http, queue.constData(), s.jobId, 0);
        s.jobId = 0;
        return;
    }
    s.sent = true;
    watchJob(http, queue, schedulerUri("/printers/%s", queue), s);
}

// Hands a checked spool file to `queue`: why it was not printed, or None with `jobId` set.
PrintFailure submitFile(const QString& queue, const QString& file, const QString& title,
                        const char* format, int copies, int& jobId) {
    auto s = std::make_shared<Submission>();
    const ServiceReply reply =
        AskPrintService([s, q = queue.toUtf8(), path = QFile::encodeName(file),
                         name = title.toUtf8(), f = QByteArray(format),
                         copies](http_t* http) { submit(http, q, path, name, f, copies, *s); },
                        keepAnswering, 0);
    jobId = 0;
    if (reply == ServiceReply::Down) return {PrintFailure::ServiceDown, PrintServiceName(), {}};
    if (!s->sent) {
        if (reply != ServiceReply::Answered)
            return {PrintFailure::ServiceSilent, PrintServiceName(), {}};
        if (s->notFound) return {PrintFailure::PrinterGone, queue, {}};
        return {PrintFailure::Refused, queue, s->error};
    }
    if (s->failed) return {PrintFailure::JobFailed, queue, s->reason};
    // Taken, and not failed while watched (a scheduler silent meanwhile has the job now).
    jobId = s->jobId;
    return {};
}

// Whether the PDF was written whole: its trailer is there, and the cross-reference table it
// points at stands where it says (bytes lost on the way would have moved it).
bool pdfWrittenWhole(const QString& fileName) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) return false;
    const qint64 size = file.size();
    if (!file.seek(std::max<qint64>(size - 1024, 0))) return false;
    const QByteArray tail = file.readAll();
    const qsizetype end = tail.lastIndexOf("%%EOF");
    const qsizetype start = tail.lastIndexOf("startxref");
    if (start < 0 || end < start) return false;
    bool number = false;
    const qint64 xref = tail.mid(start + 9, end - start - 9).trimmed().toLongLong(&number);
    return number && xref > 0 && xref < size && file.seek(xref) && file.read(4) == "xref";
}

} // namespace

PrintFailure QueueRefusal(const QString& queue) {
    QueueState state;
    const QByteArray uri = schedulerUri("/printers/%s", queue.toUtf8());
    switch (AskFor<QueueState>([uri](http_t* http) { return askQueue(http, uri); }, state,
                               keepAnswering)) {
    case ServiceReply::Down:
        return {PrintFailure::ServiceDown, PrintServiceName(), {}};
    case ServiceReply::Silent:
    case ServiceReply::Cancelled:
        return {PrintFailure::ServiceSilent, PrintServiceName(), {}};
    case ServiceReply::Answered:
        break;
    }
    if (state.status == QueueState::NotFound) return {PrintFailure::PrinterGone, queue, {}};
    if (state.status == QueueState::Error) return {PrintFailure::Refused, queue, state.error};
    if (state.stopped) return {PrintFailure::PrinterStopped, queue, state.reason};
    if (!state.accepting) return {PrintFailure::PrinterRejecting, queue, state.reason};
    return {};
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
    m_jobId = 0;
    if (!system.hasPrinter()) {
        // The printer chosen, or any, is out of reach: say why.
        if (!system.testPrinterInstalled()) m_failure = system.unavailability();
        return false;
    }
    m_title = title;
    if (system.testPrinterInstalled()) {
        m_queue.clear();
        m_outputFile = system.nextTestPdf();
        m_spoolFolder = QFileInfo(m_outputFile).absolutePath();
    } else {
        m_queue = system.currentName();
        // A stopped or rejecting queue is known before a page is drawn.
        m_failure = QueueRefusal(m_queue);
        if (m_failure.cause != PrintFailure::None) return false;
        m_spoolFolder = QDir::tempPath();
        m_spool = std::make_unique<QTemporaryDir>();
        m_outputFile =
            m_spool->isValid() ? m_spool->filePath(QStringLiteral("job.pdf")) : QString();
    }
    // The PDF takes the queue's resolution, paper, orientation and printable area. The shared
    // printer itself is left as it is: switching Qt's printer to a file and back asks the
    // scheduler, which may have stopped answering meanwhile.
    const QPrinter& printer = system.printer();
    m_writer = std::make_unique<QPdfWriter>(m_outputFile);
    m_writer->setResolution(printer.resolution());
    m_writer->setPageLayout(printer.pageLayout());
    m_writer->setTitle(title);
    m_painter = std::make_unique<QPainter>();
    if (m_outputFile.isEmpty() || !m_painter->begin(m_writer.get())) {
        m_failure = {PrintFailure::SpoolNotWritten, system.currentName(), m_spoolFolder};
        m_painter.reset();
        discard();
        return false;
    }
    system.holdSelection(true);
    return true;
}

void GraphicJob::discard() {
    m_writer.reset();
    if (!m_outputFile.isEmpty()) QFile::remove(m_outputFile);
    m_spool.reset();
}

bool GraphicJob::newPage() {
    return isActive() && m_writer->newPage();
}

bool GraphicJob::end() {
    if (!isActive()) return false;
    // QPainter::end answers true even when the disk took only part of the file.
    const bool written = m_painter->end() && pdfWrittenWhole(m_outputFile);
    m_painter.reset();
    m_writer.reset();
    PrinterSystem::instance().holdSelection(false);
    if (!written) {
        m_failure = {PrintFailure::SpoolNotWritten, PrinterSystem::instance().currentName(),
                     m_spoolFolder};
        discard();
        return false;
    }
    if (m_queue.isEmpty()) return true; // the test printer's file stays
    m_failure = submitFile(m_queue, m_outputFile, m_title, CUPS_FORMAT_PDF,
                           PrinterSystem::instance().copies(), m_jobId);
    discard();
    return !m_failure.failed();
}

void GraphicJob::abort() {
    if (!m_painter) return;
    if (m_painter->isActive()) m_painter->end();
    m_painter.reset();
    PrinterSystem::instance().holdSelection(false);
    discard();
    m_jobId = 0;
}

RawJob::RawJob() = default;

RawJob::~RawJob() {
    if (m_active) abort();
}

bool RawJob::begin(const QString& title) {
    if (m_active) return false;
    PrinterSystem& system = PrinterSystem::instance();
    m_failure = {};
    m_failed = false;
    m_jobId = 0;
    m_written = 0;
    m_captured.clear();
    if (!system.hasPrinter()) {
        if (!system.testPrinterInstalled()) m_failure = system.unavailability();
        return false;
    }
    m_title = title;
    if (system.testPrinterInstalled()) {
        m_queue.clear();
        m_active = true;
        return true;
    }
    m_queue = system.currentName();
    m_failure = QueueRefusal(m_queue);
    if (m_failure.cause != PrintFailure::None) return false;
    m_spoolFolder = QDir::tempPath();
    m_spool = std::make_unique<QTemporaryDir>();
    m_file = std::make_unique<QFile>(m_spool->filePath(QStringLiteral("job.txt")));
    if (!m_spool->isValid() || !m_file->open(QIODevice::WriteOnly)) {
        m_failure = {PrintFailure::SpoolNotWritten, m_queue, m_spoolFolder};
        discard();
        return false;
    }
    m_active = true;
    return true;
}

bool RawJob::write(const QByteArray& bytes) {
    if (!m_active || m_failed) return false;
    if (!m_file) {
        m_captured += bytes;
        return true;
    }
    if (m_file->write(bytes) == bytes.size()) {
        m_written += bytes.size();
    } else {
        m_failed = true;
        m_failure = {PrintFailure::SpoolNotWritten, m_queue, m_spoolFolder};
    }
    return !m_failed;
}

bool RawJob::end() {
    if (!m_active) return false;
    m_active = false;
    if (!m_file) {
        PrinterSystem::instance().captureRawJob(m_captured);
        return true;
    }
    const QString path = m_file->fileName();
    bool written = !m_failed && m_file->flush();
    m_file->close();
    written =
        written && m_file->error() == QFileDevice::NoError && QFileInfo(path).size() == m_written;
    if (!written) {
        m_failure = {PrintFailure::SpoolNotWritten, m_queue, m_spoolFolder};
        discard();
        return false;
    }
    m_failure = submitFile(m_queue, path, m_title, CUPS_FORMAT_RAW, 0, m_jobId);
    discard();
    return !m_failure.failed();
}

void RawJob::abort() {
    if (!m_active) return;
    m_active = false;
    discard();
}

void RawJob::discard() {
    m_captured.clear();
    m_file.reset();
    m_spool.reset(); // and the file in it
}

JobState jobState(const QString& queue, int jobId) {
    Q_UNUSED(queue); // a job's id is the scheduler's, whatever its queue
    JobReport job;
    AskFor<JobReport>([jobId](http_t* http) { return askJob(http, jobId); }, job);
    if (!job.answered) return JobState::Unknown;
    switch (job.state) {
    case IPP_JSTATE_PENDING:
        return JobState::Pending;
    case IPP_JSTATE_HELD:
        return JobState::Held;
    case IPP_JSTATE_PROCESSING:
        return JobState::Processing;
    case IPP_JSTATE_STOPPED:
        return JobState::Stopped;
    case IPP_JSTATE_CANCELED:
        return JobState::Canceled;
    case IPP_JSTATE_ABORTED:
        return JobState::Aborted;
    case IPP_JSTATE_COMPLETED:
        return JobState::Completed;
    }
    return JobState::Unknown;
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
