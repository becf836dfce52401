#pragma once
// Print jobs on the current printer (PrinterSystem).
//
// A graphic job draws into a temporary PDF laid out for the queue (its resolution, paper and
// printable area) and hands it to CUPS only when it ends without being cancelled, so that a
// cancelled job prints nothing. (QPrinter::abort cannot stop a job that has begun.)
// A raw job sends bytes unchanged to a queue that takes plain text; it is cancelled in the
// scheduler when aborted before its end.
// On the test printer graphic jobs become PDF files and raw jobs are kept in memory.

#include <QByteArray>
#include <QString>

#include <memory>

class QPainter;
class QTemporaryDir;

namespace platform {

// Why a job did not reach its printer: the queue and the scheduler's reason. Empty when the
// job was printed, cancelled, or never started for want of any printer.
struct JobFailure {
    QString queue;
    QString reason;
    bool failed() const { return !reason.isEmpty(); }
};

// Why the scheduler would not print a job on `queue` now: it does not answer, has no such
// queue, the queue is stopped (disabled) or rejects jobs; in the scheduler's own words where
// it gives them. Empty when a job would be taken.
QString QueueRefusal(const QString& queue);
// Why a queue that was chosen is no longer in the list of printers: the refusal, or that it
// has gone.
QString VanishedQueueReason(const QString& queue);

class GraphicJob {
public:
    GraphicJob();
    ~GraphicJob(); // an unfinished job is aborted

    // Starts a job titled `title` with the printer's present copies and orientation; false
    // without a printer or when the output cannot be opened.
    bool begin(const QString& title);
    bool isActive() const;
    // The painter of the job, in the printer's device pixels with the origin at the corner of
    // the printable area. Only while active.
    QPainter& painter();
    bool newPage();
    // Finishes and submits the job; false when it could not be printed.
    bool end();
    // Discards the job: nothing is printed and no file is left.
    void abort();
    // The scheduler's job id after a successful end (0 on the test printer).
    int jobId() const { return m_jobId; }
    // The file written on the test printer.
    QString outputFile() const { return m_outputFile; }
    // Why begin or end failed with a printer chosen.
    const JobFailure& failure() const { return m_failure; }

private:
    void restorePrinter();
    JobFailure m_failure;
    std::unique_ptr<QPainter> m_painter;
    std::unique_ptr<QTemporaryDir> m_spool;
    QString m_outputFile;
    QString m_queue;
    QString m_title;
    int m_jobId = 0;
};

class RawJob {
public:
    RawJob();
    ~RawJob(); // an unfinished job is aborted

    // Starts a raw job on the current printer; false without a printer or when the scheduler
    // refuses it.
    bool begin(const QString& title);
    bool isActive() const { return m_active; }
    // Sends the bytes unchanged; false when they could not be sent.
    bool write(const QByteArray& bytes);
    // Completes the job; false when the scheduler did not accept it.
    bool end();
    // Cancels the job in the scheduler; nothing more is sent.
    void abort();
    int jobId() const { return m_jobId; }
    // Why begin, write or end failed with a printer chosen.
    const JobFailure& failure() const { return m_failure; }

private:
    JobFailure m_failure;
    struct Connection;
    std::unique_ptr<Connection> m_connection;
    QString m_queue;
    QByteArray m_captured;
    bool m_active = false;
    bool m_failed = false;
    int m_jobId = 0;
};

// States of a scheduler's job, as CUPS names them; Unknown when the job is not found.
enum class JobState { Unknown, Pending, Held, Processing, Stopped, Canceled, Aborted, Completed };

// The job's present state, asked from the scheduler.
JobState jobState(const QString& queue, int jobId);

// Waits (processing nothing else) until the job has ended or `timeoutMs` has passed.
JobState waitForJob(const QString& queue, int jobId, int timeoutMs);

} // namespace platform
