// Every run, print and export shows the progress window, and stopping it there (its button,
// Esc, closing it) stops the work: no preview, nothing printed, no file left behind, and no
// failure message for what the user chose.

#include "support/ExportFixture.h"
#include "support/ProgressUser.h"
#include "support/QtPrinters.h"

#include "platform/MessageSink.h"
#include "report/engine/document/sestvyst_print.h"
#include "report/engine/export/sest_str.h"
#include "report/engine/run/RunWatch.h"
#include "report/engine/ui/sest_dlg.h"
#include "report/engine/ui/sestp.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QMenu>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using namespace report;
using namespace reporttest;

namespace {

std::vector<QStringList> numbered(int count) {
    std::vector<QStringList> out;
    for (int i = 1; i <= count; ++i)
        out.push_back({QStringLiteral("r%1").arg(i)});
    return out;
}

// `count` records, 50 to a page, a few texts each.
struct LongReport : TableReport {
    explicit LongReport(int count) : TableReport({QStringLiteral("Vel1")}, numbered(count)) {
        setTemplate({paperLine(827, 1169, 50), sectionLine(2, true, 20),
                     textLine("T", 2, "Vel1", 0, 0, 100, 20),
                     textLine("T", 1, "0", 200, 0, 100, 20, QStringLiteral("a")),
                     textLine("T", 1, "0", 400, 0, 100, 20, QStringLiteral("b"))});
        report.IsStored = true; // the template given here, not read from a file
        report.setMessageSink(&messages);
    }
    platform::MessageRecorder messages;
};

bool progressWindowLeft() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == u"FormInfo") return true;
    return false;
}

QStringList filesIn(const QTemporaryDir& dir) {
    return QDir(dir.path()).entryList(QDir::Files, QDir::Name);
}

TEST(WatchedRun, EveryWayOfStoppingTheRunShowsNoPreview) {
    const ProgressWindowInstalled installed;
    int previews = 0;
    TFormSestP::setModalHook([&](TFormSestP&) { return ++previews, int(TFormSestP::Closed); });
    for (const auto action : {ProgressUser::Click, ProgressUser::Escape, ProgressUser::Close}) {
        LongReport t(3000);
        const ProgressUser user(action, preparing(2));
        EXPECT_EQ(t.report.Preview(), seCancelled) << action;
        EXPECT_TRUE(user.acted) << action;
        EXPECT_LT(t.steps, 100) << action;
        EXPECT_EQ(user.labels.value(0), preparing(1)) << action;
        EXPECT_FALSE(progressWindowLeft()) << action;
    }
    EXPECT_EQ(previews, 0);
    // Left alone, the run counts its records to the end and the preview follows.
    LongReport t(120);
    const ProgressUser watcher(ProgressUser::None);
    EXPECT_EQ(t.report.Preview(), seOk);
    EXPECT_EQ(previews, 1);
    EXPECT_FALSE(watcher.labels.isEmpty());
    TFormSestP::setModalHook({});
}

TEST(WatchedRun, StoppingAPrintPrintsNothing) {
    const ProgressWindowInstalled installed;
    TestPrinter printer;
    LongReport t(400);
    {
        // Stopped during the run of a print.
        const ProgressUser user(ProgressUser::Click, preparing(2));
        EXPECT_EQ(t.report.Print(), seCancelled);
        EXPECT_TRUE(user.acted);
    }
    {
        // Stopped while the generated pages are drawn for the printer: the print shows a
        // window of its own after the run's.
        const ProgressUser user(ProgressUser::Click, preparing(3), 2);
        ASSERT_EQ(t.report.Generate(true), seOk);
        EXPECT_EQ(t.report.TSestavaTyp::PrintOn(-1, 0), seCancelled);
        EXPECT_TRUE(user.acted);
    }
    {
        // A cancel flag given to the report stops its print as it stops its run.
        const bool cancel = true;
        t.report.setCancelFlag(&cancel);
        EXPECT_EQ(t.report.TSestavaTyp::PrintOn(-1, 0), seCancelled);
        t.report.setCancelFlag(nullptr);
    }
    {
        // From the preview, through its print dialog.
        TFormSestP form;
        form.SetDocument(&t.report.Vystup());
        TPrintDialogTyp::setModalHook([](TSestPrintDlg&) { return int(TPrintDialogTyp::Print); });
        const ProgressUser user(ProgressUser::Escape, preparing(2));
        form.ActionPrint->trigger();
        TPrintDialogTyp::setModalHook({});
        EXPECT_TRUE(user.acted);
    }
    EXPECT_TRUE(printer.pdfs().isEmpty());
    EXPECT_FALSE(progressWindowLeft());
}

// A user who presses Esc in the progress window while page `page` is prepared: the key event
// is posted when the page view first asks whether to stop, and reaches the window when the
// work next handles events; with `roundLater`, one round later than that (an event posted
// while events are handled waits for the next round). `pressed` tells that it was posted.
void pressEscapeDuringPage(TSestVystup& doc, int page, bool roundLater, bool& pressed) {
    pressed = false;
    doc.SetCancelQuery([&pressed, page, roundLater] {
        QWidget* window = QApplication::activeModalWidget();
        if (pressed || !window || window->objectName() != u"FormInfo") return false;
        if (window->findChild<QLabel*>("LabelText")->text() != preparing(page)) return false;
        pressed = true;
        const auto press = [window] {
            QWidget* focus = QApplication::focusWidget();
            QCoreApplication::postEvent(focus && focus->window() == window ? focus : window,
                                        new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, {}));
        };
        if (roundLater)
            QMetaObject::invokeMethod(window, press, Qt::QueuedConnection);
        else
            press();
        return false;
    });
}

// Esc pressed while a page is drawn for the printer (one round after the page view is
// prepared) must stop the job, also during the last page, before it goes out.
TEST(WatchedRun, StoppingWhileAPageIsDrawnPrintsNothing) {
    const ProgressWindowInstalled installed;
    TestPrinter printer;
    LongReport t(120);
    ASSERT_EQ(t.report.Generate(true), seOk);
    TSestVystup& doc = t.report.Vystup();
    for (const int pressedOn : {1, doc.PageCount()}) {
        bool pressed = false;
        pressEscapeDuringPage(doc, pressedOn, true, pressed);
        bool printed = true;
        {
            const RunWatch watch(doc);
            printed = PrintGraphic(doc, 1, doc.PageCount(), "stopped", 1);
        }
        doc.SetCancelQuery(nullptr);
        EXPECT_TRUE(pressed) << pressedOn;
        EXPECT_FALSE(printed) << pressedOn;
        EXPECT_FALSE(doc.LastPrintFailure().failed()) << pressedOn;
    }
    EXPECT_TRUE(printer.pdfs().isEmpty()) << printer.pdfs().join(' ').toStdString();
    EXPECT_FALSE(progressWindowLeft());
}

// Esc pressed while the last page of a metafile export is prepared stops the export: no file
// of it is left.
TEST(WatchedRun, StoppingWhileTheLastMetafileIsMadeLeavesNoFile) {
    const ProgressWindowInstalled installed;
    LongReport t(120);
    ASSERT_EQ(t.report.Generate(true), seOk);
    TSestVystup& doc = t.report.Vystup();
    QTemporaryDir dir;
    for (const bool enhanced : {true, false}) {
        bool pressed = false;
        pressEscapeDuringPage(doc, doc.PageCount(), false, pressed);
        bool written = true;
        {
            const RunWatch watch(doc);
            written = SaveAllPagesMetafile(doc, dir.filePath("out.emf"),
                                           enhanced ? ".emf" : ".wmf", false, enhanced);
        }
        doc.SetCancelQuery(nullptr);
        EXPECT_TRUE(pressed) << enhanced;
        EXPECT_FALSE(written) << enhanced;
    }
    EXPECT_EQ(filesIn(dir).join(' '), QString());
}

// Each export of the preview, stopped part way, against a folder holding an earlier export of
// the same name: the folder stays as it was and no failure is reported.
TEST(WatchedRun, AnExportStoppedInThePreviewLeavesNoFile) {
    const ProgressWindowInstalled installed;
    LongReport t(300);
    ASSERT_EQ(t.report.Generate(true), seOk);
    ASSERT_GE(t.report.Vystup().PageCount(), 3);
    struct Export {
        const char* action;
        QString name;
        int stopAtPage;
    };
    const QList<Export> exports{
        {"MenuSaveText", "out.txt", 2},      {"MenuSaveRtf", "out.rtf", 2},
        {"MenuSavePageMeta", "out.emf", 1},  {"MenuSaveAllMeta", "out.wmf", 2},
        {"MenuSavePageHtml", "out.html", 1}, {"MenuSaveAllHtml", "out.html", 2}};
    for (const Export& e : exports) {
        QTemporaryDir dir;
        QFile earlier(dir.filePath(e.name));
        ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
        earlier.write("earlier");
        earlier.close();
        const QStringList before = filesIn(dir);

        TFormSestP form;
        platform::MessageRecorder messages;
        RecordingChooser chooser;
        chooser.answer = dir.filePath(e.name);
        form.setMessageSink(&messages);
        form.setFileChooser(&chooser);
        form.SetDocument(&t.report.Vystup());
        auto* action = form.pageMenu()->findChild<QAction*>(QString::fromLatin1(e.action));
        ASSERT_NE(action, nullptr) << e.action;
        const ProgressUser user(ProgressUser::Click, preparing(e.stopAtPage));
        action->trigger();
        EXPECT_TRUE(user.acted) << e.action;
        EXPECT_EQ(filesIn(dir), before) << e.action;
        ASSERT_TRUE(earlier.open(QIODevice::ReadOnly));
        EXPECT_EQ(earlier.readAll(), "earlier") << e.action;
        EXPECT_TRUE(messages.boxes().isEmpty()) << e.action;
    }
    EXPECT_FALSE(progressWindowLeft());
}

// An export that fails part way (page 2's file name is taken by a folder) shows its message
// box alone: the progress window, with a cancel that could not be pressed, is out of the way.
TEST(WatchedRun, AFailedExportsMessageIsNotShownBesideTheProgressWindow) {
    const ProgressWindowInstalled installed;
    LongReport t(300);
    ASSERT_EQ(t.report.Generate(true), seOk);
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir("out2.wmf"));
    TFormSestP form;
    RecordingChooser chooser;
    chooser.answer = dir.filePath("out.wmf");
    form.setFileChooser(&chooser);
    form.SetDocument(&t.report.Vystup());
    const ProgressUser watcher(ProgressUser::None);
    QStringList boxes;
    bool progressBeside = false;
    // The real message box, answered as a user would once it is up.
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        boxes << box->text();
        for (QWidget* w : QApplication::topLevelWidgets())
            progressBeside |= w->objectName() == u"FormInfo" && w->isVisible();
        QTest::keyClick(box, Qt::Key_Return);
    });
    answer.start(0);
    form.pageMenu()->findChild<QAction*>("MenuSaveAllMeta")->trigger();
    EXPECT_EQ(boxes, QStringList{"Výstupní soubor se nepodařilo uložit."});
    EXPECT_TRUE(watcher.labels.contains(preparing(1))); // page 1 was written
    EXPECT_FALSE(progressBeside);
    EXPECT_EQ(filesIn(dir), QStringList());
}

TEST(WatchedRun, TheComponentsExportsStopWithTheirCancelCode) {
    const ProgressWindowInstalled installed;
    LongReport t(300);
    QTemporaryDir dir;
    int errors = 0;
    t.report.OnError = [&](TSestava*, int code) { return errors += code == seCancelled, true; };
    {
        // The text export runs the report first; stopped in the run.
        const ProgressUser user(ProgressUser::Click, preparing(5));
        EXPECT_EQ(t.report.SaveToTextFile(dir.filePath("report.txt")), seCancelled);
        EXPECT_TRUE(user.acted);
    }
    ASSERT_EQ(t.report.Generate(true), seOk);
    {
        const ProgressUser user(ProgressUser::Close, preparing(3));
        EXPECT_EQ(t.report.SaveAllToHTML(dir.filePath("report.html")), seCancelled);
        EXPECT_TRUE(user.acted);
    }
    {
        const ProgressUser user(ProgressUser::Escape, preparing(2));
        EXPECT_EQ(t.report.SaveAllToEMF(dir.filePath("report.emf")), seCancelled);
        EXPECT_TRUE(user.acted);
    }
    EXPECT_EQ(errors, 3);
    EXPECT_TRUE(filesIn(dir).isEmpty()) << filesIn(dir).join(' ').toStdString();
    // Not stopped, an export writes every page and the window has shown each.
    const ProgressUser watcher(ProgressUser::None);
    EXPECT_EQ(t.report.SaveAllToWMF(dir.filePath("report.wmf")), seOk);
    EXPECT_EQ(filesIn(dir).size(), t.report.Vystup().PageCount());
    EXPECT_TRUE(watcher.labels.contains(preparing(t.report.Vystup().PageCount())));
}

} // namespace
