// Print jobs that do not reach their printer are reported, naming the printer and the reason
// the scheduler gives, from the component's Print and from the preview's print; the component
// answers "no printer" (2), never "cancelled". Queues of our own on the scheduler that
// scripts/test.sh runs: disabled, rejecting, removed; and the scheduler out of reach.

#include "support/ExportFixture.h"
#include "support/QtPrinters.h"

#include "Cups.h"

#include "platform/MessageSink.h"
#include "platform/Printers.h"
#include "report/engine/ui/sest_dlg.h"
#include "report/engine/ui/sestavyc.h"
#include "report/engine/ui/sestp.h"

#include <QAction>
#include <QTest>

#include <gtest/gtest.h>

using namespace report;
using namespace reporttest;
using platform::PrinterSystem;

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
    expectRefusal(t.sink, queue.name(), QStringLiteral("does not exist"));
    for (const QString& other : PrinterSystem::instance().printerNames())
        EXPECT_EQ(testsupport::jobsTitled(other, title), 0) << other.toStdString();
}

// The scheduler out of reach after the printer was chosen: the component's print and the
// preview's both name the printer and say that the scheduler does not answer.
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
        expectRefusal(t.sink, queue.name(), QString::fromUtf8("neodpovídá"));
        platform::MessageRecorder previewSink;
        printFromPreview(t.report.Vystup(), 0, previewSink);
        expectRefusal(previewSink, queue.name(), QString::fromUtf8("neodpovídá"));
    }
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
    expectRefusal(sink, queue.name(), QStringLiteral("does not exist"));
    EXPECT_EQ(printing, 0);
}
