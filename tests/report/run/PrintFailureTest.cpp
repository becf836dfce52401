// Print jobs that do not reach paper are reported, naming the printer and the reason the
// scheduler gives, from the component's Print and from the preview's print; the component
// answers "no printer" (2), never "cancelled" or done. Queues of our own on the scheduler that
// scripts/test.sh runs: disabled, rejecting, removed; the scheduler out of reach. On schedulers
// of the tests' own: one without queues, one that freezes, printers that fail the job, and a
// temporary folder on a full disk.

#include "support/ExportFixture.h"
#include "support/QtPrinters.h"

#include "Cups.h"
#include "FullDisk.h"
#include "PrivateScheduler.h"

#include "platform/MessageSink.h"
#include "platform/Printers.h"
#include "report/engine/ui/sest_dlg.h"
#include "report/engine/ui/sestavyc.h"
#include "report/engine/ui/sestp.h"

#include <QAction>
#include <QElapsedTimer>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using namespace report;
using namespace reporttest;
using platform::PrinterSystem;
using testsupport::PrivateScheduler;

namespace {

// A queue of our own on the scheduler, deleted on destruction: a text-only one (a raw queue
// to a port where nothing listens) or a graphic one (CUPS-PDF).
class OwnQueue {
public:
    explicit OwnQueue(bool textOnly) : m_name(testsupport::uniqueName("KolvFail")) {
        QStringList args{"-p", m_name, "-E"};
        if (textOnly)
            args << "-v"
                 << "socket://127.0.0.1:9"
                 << "-m"
                 << "raw";
        else
            args << "-v"
                 << "cups-pdf:/"
                 << "-P"
                 << "/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd";
        m_error = testsupport::runTool("lpadmin", args);
    }
    ~OwnQueue() { remove(); }
    void remove() { testsupport::runTool("lpadmin", {"-x", m_name}); }
    const QString& name() const { return m_name; }
    const QString& error() const { return m_error; }
    int index() const { return int(PrinterSystem::instance().printerNames().indexOf(m_name)); }

private:
    QString m_name;
    QString m_error;
};

// A generated two-page report, its messages recorded.
struct PrintedReport : TableReport {
    PrintedReport()
        : TableReport({QStringLiteral("Vel1")}, {{QStringLiteral("a")}, {QStringLiteral("b")}}) {
        report.setMessageSink(&sink);
        report.IsStored = true;
        setTemplate({paperLine(827, 1169, 50), sectionLine(2, true, 600),
                     textLine("T", 2, "Vel1", 0, 0, 100, 20)});
        report.OnError = [this](TSestava*, int error) {
            errors << error;
            return true;
        };
    }
    platform::MessageRecorder sink;
    QList<int> errors;
};

// The one error box of a failed print: it names the printer and holds the reason.
void expectRefusal(const platform::MessageRecorder& sink, const QString& printer,
                   const QString& reason) {
    ASSERT_EQ(sink.boxes().size(), 1) << sink.messages().join('\n').toStdString();
    const QString& text = sink.boxes()[0].text;
    EXPECT_EQ(sink.boxes()[0].caption, u"Chyba");
    EXPECT_TRUE(text.contains('"' + printer + '"')) << text.toStdString();
    EXPECT_TRUE(text.contains(reason, Qt::CaseInsensitive)) << text.toStdString();
}

// The preview's print on `printer` (the print dialog answered with it); the boxes it showed.
void printFromPreview(TSestVystup& doc, int printer, platform::MessageRecorder& sink) {
    TPrintDialogTyp::setModalHook([printer](TSestPrintDlg& form) {
        form.ComboPrinter->SetPrinterIndex(printer);
        return int(TPrintDialogTyp::Print);
    });
    TFormSestP preview;
    preview.setMessageSink(&sink);
    preview.SetDocument(&doc);
    preview.ActionPrint->trigger();
    TPrintDialogTyp::setModalHook(nullptr);
}

// What one print told and answered, and the longest time its windows could not answer.
struct Told {
    int code = -1;
    QList<platform::RecordedBox> boxes;
    qint64 stall = 0;
};

// Prints through the component's Print or the preview's on `printer` (-1: the current one).
Told printOnce(PrintedReport& t, bool throughPreview, int printer = -1) {
    Told told;
    if (throughPreview) t.report.Generate(true);
    const qsizetype before = t.sink.boxes().size();
    QElapsedTimer clock;
    clock.start();
    const auto tick = [&] { told.stall = std::max(told.stall, clock.restart()); };
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, tick);
    timer.start(50);
    if (throughPreview)
        printFromPreview(t.report.Vystup(), printer, t.sink);
    else
        told.code = t.report.PrintOn(printer);
    tick();
    told.boxes = t.sink.boxes().mid(before);
    return told;
}

int queueIndex(const QString& queue) {
    return int(PrinterSystem::instance().printerNames().indexOf(queue));
}

} // namespace

TEST(PrintFailureCups, DisabledAndRejectingQueuesAreReportedByName) {
    REQUIRE_SCHEDULER();
    for (const bool textOnly : {true, false}) {
        for (const char* tool : {"cupsdisable", "cupsreject"}) {
            OwnQueue queue(textOnly);
            ASSERT_TRUE(queue.error().isEmpty()) << queue.error().toStdString();
            const QString reason = QStringLiteral("papir dosel %1").arg(tool);
            ASSERT_TRUE(testsupport::runTool(tool, {"-r", reason, queue.name()}).isEmpty());
            ASSERT_GE(queue.index(), 0);
            const QString title = testsupport::uniqueName("KolvRefused");
            {
                PrintedReport t;
                t.report.Popis = title;
                EXPECT_EQ(t.report.PrintOn(queue.index()), seNoPrinter) << tool;
                EXPECT_EQ(t.errors, QList<int>{seNoPrinter});
                expectRefusal(t.sink, queue.name(), reason);
                platform::MessageRecorder previewSink;
                printFromPreview(t.report.Vystup(), queue.index(), previewSink);
                expectRefusal(previewSink, queue.name(), reason);
            }
            // Nothing was left queued to come out later.
            EXPECT_EQ(testsupport::jobsTitled(queue.name(), title), 0);
            EXPECT_EQ(testsupport::jobsTitled(queue.name(), "Tisková sestava"), 0);
        }
    }
}

// A queue chosen and then removed: the print says so instead of printing elsewhere.
TEST(PrintFailureCups, ARemovedQueueIsReportedNotReplaced) {
    REQUIRE_SCHEDULER();
    OwnQueue queue(false);
    ASSERT_TRUE(queue.error().isEmpty()) << queue.error().toStdString();
    ASSERT_TRUE(PrinterSystem::instance().selectPrinter(queue.index()));
    PrintedReport t;
    ASSERT_EQ(t.report.Generate(true), seOk);
    queue.remove();
    const QString title = testsupport::uniqueName("KolvGone");
    t.report.Popis = title;
    EXPECT_EQ(t.report.TSestavaTyp::Print(), seNoPrinter);
    expectRefusal(t.sink, queue.name(), QString::fromUtf8("už v systému není"));
    for (const QString& other : PrinterSystem::instance().printerNames())
        EXPECT_EQ(testsupport::jobsTitled(other, title), 0) << other.toStdString();
}

// The scheduler out of reach after the printer was chosen: the component's print and the
// preview's both say that the print service does not run, naming where it was looked for.
TEST(PrintFailureCups, AStoppedSchedulerIsReportedByName) {
    REQUIRE_SCHEDULER();
    OwnQueue queue(false);
    ASSERT_TRUE(queue.error().isEmpty()) << queue.error().toStdString();
    ASSERT_TRUE(PrinterSystem::instance().selectPrinter(queue.index()));
    PrintedReport t;
    ASSERT_EQ(t.report.Generate(true), seOk);
    {
        testsupport::ScopedCupsServer dead("/nonexistent.sock");
        EXPECT_EQ(t.report.TSestavaTyp::Print(), seNoPrinter);
        platform::MessageRecorder previewSink;
        printFromPreview(t.report.Vystup(), 0, previewSink);
        for (const platform::MessageRecorder* sink : {&t.sink, &previewSink}) {
            ASSERT_EQ(sink->boxes().size(), 1);
            EXPECT_EQ(sink->boxes()[0].caption, u"Chyba");
            EXPECT_TRUE(sink->boxes()[0].text.contains("/nonexistent.sock"));
            EXPECT_TRUE(sink->boxes()[0].text.contains(QString::fromUtf8("neběží")));
        }
    }
    PrinterSystem::instance().selectPrinter(-2);
}

// A queue listed in the preview's print dialog and removed before Print is pressed: the preview
// names it and prints nowhere else (the dialog's index would point past the list, or at
// another queue).
TEST(PrintFailureCups, AQueueRemovedWhileThePrintDialogIsOpenIsReported) {
    REQUIRE_SCHEDULER();
    OwnQueue queue(false);
    ASSERT_TRUE(queue.error().isEmpty()) << queue.error().toStdString();
    PrintedReport t;
    ASSERT_EQ(t.report.Generate(true), seOk);
    TPrintDialogTyp::setModalHook([&](TSestPrintDlg& form) {
        form.ComboPrinter->SetPrinterIndex(queue.index());
        EXPECT_EQ(form.ComboPrinter->currentText(), queue.name());
        queue.remove();
        return int(TPrintDialogTyp::Print);
    });
    TFormSestP preview;
    platform::MessageRecorder sink;
    preview.setMessageSink(&sink);
    preview.SetDocument(&t.report.Vystup());
    int printing = 0;
    preview.OnBeforePrint = [&] { ++printing; };
    QTest::keyClick(&preview, Qt::Key_P, Qt::ControlModifier);
    TPrintDialogTyp::setModalHook(nullptr);
    expectRefusal(sink, queue.name(), QString::fromUtf8("už v systému není"));
    EXPECT_EQ(printing, 0);
}

// Each state of the print service has its own words, through the component and the preview:
// "no printer installed" only for a scheduler that answers and has no queue; one that takes
// connections and never answers (a hung cupsd, a remote server gone silent) is told after a few
// seconds, while the windows answer; one that does not run is told at once.
TEST(PrintServiceCups, EachStateIsToldInItsOwnWordsWhileTheWindowsAnswer) {
    PrivateScheduler scheduler;
    const testsupport::ScopedCupsServer use(scheduler.server());
    REQUIRE_SCHEDULER();
    PrinterSystem::instance().selectPrinter(-2); // none chosen before
    for (const auto& [state, words, caption] :
         {std::tuple{"no queue", "V systému není nainstalovaná žádná tiskárna.", "Varování"},
          std::tuple{"frozen", "neodpovídá", "Chyba"}, std::tuple{"stopped", "neběží", "Chyba"}}) {
        if (state == QLatin1String("frozen")) {
            // The printer is chosen and set up while the scheduler still answers.
            ASSERT_EQ(scheduler.addQueue(QStringLiteral("Frozen"), false, false), QString());
            ASSERT_TRUE(PrinterSystem::instance().selectPrinter(queueIndex("Frozen")));
            scheduler.freeze();
        }
        if (state == QLatin1String("stopped")) scheduler.stop();
        for (const bool throughPreview : {false, true}) {
            PrintedReport t;
            const Told told = printOnce(t, throughPreview);
            EXPECT_LT(told.stall, 1000) << state << ": the windows did not answer";
            EXPECT_EQ(t.errors, throughPreview ? QList<int>{} : QList<int>{seNoPrinter});
            ASSERT_EQ(told.boxes.size(), 1) << state;
            EXPECT_TRUE(told.boxes[0].text.contains(QString::fromUtf8(words)))
                << told.boxes[0].text.toStdString();
            EXPECT_EQ(told.boxes[0].caption, QString::fromUtf8(caption));
            EXPECT_EQ(told.boxes[0].text.contains(QFile::decodeName(scheduler.server())),
                      state != QLatin1String("no queue"));
        }
        scheduler.thaw();
    }
}

// A printer that takes the job and then fails it (a jam) is told with the printer's words,
// whatever the queue's error policy, and nothing is left to come out later. A queue the failure
// stopped refuses the next print at once instead of queuing it behind the failed one.
TEST(PrintJobCups, AJobThePrinterFailsIsToldWithItsReason) {
    PrivateScheduler scheduler;
    const testsupport::ScopedCupsServer use(scheduler.server());
    REQUIRE_SCHEDULER();
    for (const auto& [policy, textOnly] :
         {std::pair{"stop-printer", false}, std::pair{"abort-job", false},
          std::pair{"retry-job", false}, std::pair{"stop-printer", true}}) {
        const QString queue = QStringLiteral("Jammed-%1%2").arg(policy, textOnly ? "-text" : "");
        ASSERT_EQ(scheduler.addQueue(queue, textOnly, true,
                                     {QStringLiteral("printer-error-policy=") + policy}),
                  QString());
        PrintedReport t;
        t.report.Popis = queue;
        Told told = printOnce(t, false, queueIndex(queue));
        EXPECT_EQ(told.code, seNoPrinter) << queue.toStdString();
        ASSERT_EQ(told.boxes.size(), 1) << queue.toStdString();
        const QString failed = told.boxes[0].text;
        EXPECT_TRUE(failed.contains('"' + queue + '"') &&
                    failed.contains(PrivateScheduler::jamMessage))
            << failed.toStdString();
        cups_job_t* jobs = nullptr;
        EXPECT_EQ(cupsGetJobs2(CUPS_HTTP_DEFAULT, &jobs, queue.toUtf8().constData(), 0,
                               CUPS_WHICHJOBS_ACTIVE),
                  0);
        cupsFreeJobs(0, jobs);
        if (QByteArray(policy) != "stop-printer") continue;
        told = printOnce(t, false, queueIndex(queue));
        ASSERT_EQ(told.boxes.size(), 1);
        EXPECT_TRUE(told.boxes[0].text.contains(QString::fromUtf8("zastavená")) &&
                    told.boxes[0].text.contains(PrivateScheduler::jamMessage))
            << told.boxes[0].text.toStdString();
        EXPECT_EQ(testsupport::jobsTitled(queue, queue), 1) << "a second job was queued";
    }
    EXPECT_TRUE(scheduler.keptJobs().isEmpty());
}

// The job is written whole into the temporary folder before it goes: on a full disk, or on one
// with a little room that cuts the PDF, the print says that the job could not be written and
// the scheduler gets nothing. With room again, the same prints arrive whole.
TEST(PrintSpoolCups, AJobCutShortOnAFullDiskIsNeverSent) {
    if (!FullDisk::insidePrivateMounts()) return FullDisk::runTestInPrivateMounts();
    PrivateScheduler scheduler;
    const testsupport::ScopedCupsServer use(scheduler.server());
    REQUIRE_SCHEDULER();
    ASSERT_EQ(scheduler.addQueue("Graphic", false, false), QString());
    ASSERT_EQ(scheduler.addQueue("Text", true, false), QString());
    FullDisk disk;
    const QByteArray temporary = qgetenv("TMPDIR");
    for (const auto& [queue, room] :
         {std::pair{"Graphic", 0}, std::pair{"Graphic", 4096}, std::pair{"Text", 0}}) {
        // The printer is set up first: its own files go where they always go.
        ASSERT_TRUE(PrinterSystem::instance().selectPrinter(queueIndex(queue)));
        ASSERT_TRUE(disk.fill());
        QFile filler(disk.filePath("filler"));
        ASSERT_TRUE(filler.resize(filler.size() - room));
        qputenv("TMPDIR", QFile::encodeName(disk.path()));
        PrintedReport t;
        const Told told = printOnce(t, false);
        qputenv("TMPDIR", temporary);
        ASSERT_TRUE(filler.remove());
        EXPECT_EQ(told.code, seNoPrinter) << queue << room;
        EXPECT_EQ(t.errors, QList<int>{seNoPrinter});
        ASSERT_EQ(told.boxes.size(), 1);
        EXPECT_TRUE(told.boxes[0].text.contains(queue) && told.boxes[0].text.contains(disk.path()))
            << told.boxes[0].text.toStdString();
        EXPECT_EQ(QDir(disk.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                  QStringList());
    }
    EXPECT_TRUE(scheduler.keptJobs().isEmpty());
    for (const char* queue : {"Graphic", "Text"}) {
        ASSERT_TRUE(PrinterSystem::instance().selectPrinter(queueIndex(queue)));
        PrintedReport t;
        EXPECT_EQ(printOnce(t, false).code, seOk) << queue;
    }
    // Poppler reads both pages of the graphic job; the text job ends both with a form feed.
    const QStringList kept = scheduler.keptJobs();
    ASSERT_EQ(kept.size(), 2);
    EXPECT_EQ(testsupport::pdfInfo(scheduler.path("jobs/" + kept[0]), "Pages"), "2");
    QFile text(scheduler.path("jobs/" + kept[1]));
    ASSERT_TRUE(text.open(QIODevice::ReadOnly));
    EXPECT_EQ(text.readAll().count('\f'), 2);
}
