#pragma once
// Print jobs on the current printer (PrinterSystem).
//
// Both kinds of job are written whole into a file of a temporary folder first and handed to
// CUPS only when they end without being cancelled, so that a cancelled job prints nothing
// (QPrinter::abort cannot stop a job that has begun):
// - a graphic job draws into a PDF laid out for the queue (its resolution, paper, orientation
//   and printable area);
// - a raw job takes bytes that go unchanged to a queue taking plain text.
// The file is checked before it goes: a job cut short (a full disk) is never sent. Once sent,
// the job is watched for a few seconds, and a queue that stops or aborts it makes the job fail
// with the scheduler's reason (the job is then cancelled, so that it does not come out later).
// Every question to the scheduler is bounded (PrintService.h) and the caller's events are
// processed while it waits.
// On the test printer graphic jobs become PDF files and raw jobs are kept in memory.

#include "platform/PrintFailure.h"

#include <QByteArray>
#include <QString>

#include <memory>

class QFile;
class QPainter;
class QPdfWriter;
class QTemporaryDir;

namespace platform {

// Why the scheduler would not take a job for `queue` now: it does not answer, has no such
// queue, or the queue is stopped (disabled) or rejects jobs, in the scheduler's own words where
// it gives them. None when a job would be taken.
PrintFailure QueueRefusal(const QString& queue);

class GraphicJob {
public:
    GraphicJob();
    ~GraphicJob(); // an unfinished job is aborted

    // Starts a job titled `title` with the printer's present copies and orientation; false
    // without a printer, when the queue refuses jobs or when the output cannot be opened.
    bool begin(const QString& title);
    bool isActive() const;
    // The painter of the job, in the printer's device pixels with the origin at the corner of
    // the printable area. Only while active.
    QPainter& painter();
    bool newPage();
    // Finishes, checks and submits the job; false when it was not printed.
    bool end();
    // Discards the job: nothing is printed and no file is left.
    void abort();
    // The scheduler's job id after a successful end (0 on the test printer).
    int jobId() const { return m_jobId; }
    // The file written on the test printer.
    QString outputFile() const { return m_outputFile; }
    // Why begin or end failed with a printer chosen.
    const PrintFailure& failure() const { return m_failure; }

private:
    void discard();
    PrintFailure m_failure;
    std::unique_ptr<QPdfWriter> m_writer;
    std::unique_ptr<QPainter> m_painter;
    std::unique_ptr<QTemporaryDir> m_spool;
    QString m_spoolFolder; // where the job is written, as the user may free it
    QString m_outputFile;
    QString m_queue;
    QString m_title;
    int m_jobId = 0;
};

class RawJob {
public:
    RawJob();
    ~RawJob(); // an unfinished job is aborted

    // Starts a raw job on the current printer; false without a printer, when the queue refuses
    // jobs or when its temporary file cannot be made.
    bool begin(const QString& title);
    bool isActive() const { return m_active; }
    // Adds the bytes to the job; false when they could not be written.
    bool write(const QByteArray& bytes);
    // Checks and submits the job; false when it was not printed.
    bool end();
    // Discards the job: nothing is sent.
    void abort();
    int jobId() const { return m_jobId; }
    // Why begin, write or end failed with a printer chosen.
    const PrintFailure& failure() const { return m_failure; }

private:
    void discard();
    PrintFailure m_failure;
    std::unique_ptr<QTemporaryDir> m_spool;
    std::unique_ptr<QFile> m_file;
    QString m_spoolFolder;
    qint64 m_written = 0;
    QString m_queue;
    QString m_title;
    QByteArray m_captured;
    bool m_active = false;
    bool m_failed = false;
    int m_jobId = 0;
};

// States of a scheduler's job, as CUPS names them; Unknown when the job is not found or the
// scheduler does not answer.
enum class JobState { Unknown, Pending, Held, Processing, Stopped, Canceled, Aborted, Completed };

// The job's present state, asked from the scheduler.
JobState jobState(const QString& queue, int jobId);

// Waits (processing nothing else) until the job has ended or `timeoutMs` has passed.
JobState waitForJob(const QString& queue, int jobId, int timeoutMs);

} // namespace platform
