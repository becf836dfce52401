#pragma once
// The printers of the system, from CUPS, and the one current printer of the process.
//
// - The list is asked from the scheduler on every call, so a queue that has vanished is seen
//   at once; without a scheduler, or with no queue, there is no printer (never a silent PDF).
//   It is asked through PrintService: a scheduler that does not answer makes the caller wait
//   a few seconds once, and then the list is empty at once until `checkService` hears the
//   scheduler again.
// - The current printer is one shared high-resolution QPrinter set up for the selected queue;
//   all metrics are in its device pixels. Qt sets it up over libcups's own connection, which
//   waits for a silent scheduler without end: it is made only when a queue is selected (after
//   the scheduler has answered), never merely because the printers are looked at.
// - Tests can install a test printer instead of the CUPS queues: one printer whose graphic
//   jobs become PDF files in a folder and whose raw jobs are kept in memory.

#include "platform/PrintFailure.h"
#include "platform/PrintService.h"

#include <QByteArray>
#include <QPoint>
#include <QSize>
#include <QString>
#include <QStringList>

#include <memory>

class QPrinter;
class QWidget;

namespace platform {

class PrinterSystem {
public:
    static PrinterSystem& instance();

    // Whether the scheduler answers now, asked with `tick` (PrintService.h): the windows answer
    // while it is silent, for a few seconds at most.
    ServiceReply checkService(const ServiceTick& tick);
    // Why no job can go to the selected printer (or, with none selected, to any): the scheduler
    // is silent or down, it has no queue, or the queue selected has gone. None when a job may
    // be tried (the queue's own state is asked as the job begins).
    PrintFailure unavailability() const;

    // Queue names sorted by name (the test printer alone when installed).
    QStringList printerNames() const;
    // The system default queue, else the first; -1 without printers.
    int defaultIndex() const;
    // Index of the selected printer in the present list; -1 when none is selected or it has
    // vanished.
    int currentIndex() const;
    // Selects printer `index` of the list (-1: the default). False, with no printer selected,
    // when there is no such printer. While a job draws, the selection cannot change.
    bool selectPrinter(int index);
    // A graphic job draws (true) or has ended (false).
    void holdSelection(bool drawing) { m_drawing += drawing ? 1 : -1; }
    bool hasPrinter() const { return currentIndex() >= 0; }
    QString currentName() const { return m_name; }

    // The shared printer. Without a selected printer it is a PDF printer nobody prints to;
    // callers ask `hasPrinter` first. Made on first use.
    QPrinter& printer();

    // Metrics of the selected printer in device pixels (no printer: all 0).
    int resolutionX() const;
    int resolutionY() const;
    QPoint printingOffset() const;  // corner of the printable area on the sheet
    QSize physicalPageSize() const; // the sheet
    QSize printableSize() const;    // the printable area
    // 0 portrait, 1 landscape.
    int orientation() const;
    void setOrientation(int orientation);
    // Copies wanted for the next graphic job, and whether the printer makes them itself
    // (otherwise the caller repeats the job).
    void setCopies(int copies);
    int copies() const { return m_copies; }
    bool deviceMakesCopies() const;

    // Name of printer `index`, or of the current printer when `index` is out of range; empty
    // without printers.
    QString deviceName(int index) const;
    // Port (the CUPS device URI) and make and model of the printer called `name`; empty when
    // there is no such printer. Asked by name, as the list may change between two calls.
    QString port(const QString& name) const;
    QString makeAndModel(const QString& name) const;
    // A raw queue or a generic text-only driver: such printers take plain text bytes.
    bool isTextOnly(const QString& name) const;

    // The test printer: graphic jobs are written to `folder`/job-<n>.pdf, raw jobs kept.
    void installTestPrinter(const QString& folder);
    void removeTestPrinter();
    bool testPrinterInstalled() const { return !m_testFolder.isEmpty(); }
    QString nextTestPdf();
    void captureRawJob(const QByteArray& bytes) { m_rawJobs.append(bytes); }
    const QList<QByteArray>& capturedRawJobs() const { return m_rawJobs; }

    // The system page-setup dialog on the shared printer; true when accepted.
    bool showPageSetupDialog(QWidget* parent);

private:
    PrinterSystem();
    ~PrinterSystem();
    void resetPrinter();
    struct Queues;
    // The scheduler's queues, and how it answered.
    Queues queues() const;

    std::unique_ptr<QPrinter> m_printer;
    // The scheduler that last kept silent; it is not asked again until it answers a check.
    mutable QString m_silentService;
    int m_drawing = 0;
    QString m_name;
    int m_copies = 1;
    QString m_testFolder;
    int m_testJobs = 0;
    QList<QByteArray> m_rawJobs;
};

// The test name of the printer that `installTestPrinter` adds.
inline constexpr const char* testPrinterName = "Test printer";

} // namespace platform
