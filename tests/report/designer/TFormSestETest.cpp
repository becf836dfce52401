// The designer window: opening, names and values, old templates, saving, closing, data
// stepping and the nested designer of a detail report.

#include "FullDisk.h"
#include "TestFiles.h"
#include "support/DesignFixture.h"
#include "support/DesignerWindow.h"

#include "../run/SqliteFixture.h"
#include "../support/ProgressUser.h"
#include "../support/ReportFixture.h"
#include "platform/Printers.h"

#include "report/designer/TDlgNovaSestava.h"
#include "report/designer/TOddil.h"
#include "report/designer/TSesPrvek.h"
#include "report/engine/document/TPicture.h"
#include "report/engine/document/sestvyst.h"
#include "report/engine/expressions/sest_fn.h"
#include "report/engine/run/SqlDataset.h"
#include "report/engine/sest_lib.h"
#include "report/engine/ui/sestp.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QImage>
#include <QMap>
#include <QMenu>
#include <QProcess>
#include <QTabWidget>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

using designtest::DesignedReport;
using platform::MessageAnswer;

namespace {

const QString kSaveFailed = u"Předlohu se nepodařilo uložit."_s;
const QString kSaveQuestion = u"V předloze sestavy byly provedeny změny. Uložit?"_s;

QStringList basicTemplate() {
    return {u"I,0,\"Zkouška\""_s,
            u"I,1,5,40,17"_s,
            u"I,2,0,827,1169,50,50,70,70,1,0"_s,
            u"I,3,2,1,100,0"_s,
            u"T,1,0,10,10,200,20,Arial,10,0,0,0,0,1,\"text\",0,0,0"_s,
            u"T,2,pol1,300,10,200,20,Arial,10,0,0,0,0,1,\"\",0,0,0"_s};
}

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

struct SavedReport : DesignedReport {
    explicit SavedReport(const QStringList& text = basicTemplate())
        : DesignedReport({{"pol0", "pol1", "pol2"}, {"první", "druhá", "třetí"}, {"par"}, 1}) {
        report.SetReportName(u"zk.pts"_s);
        report.ReportDirIgnore = false;
        report.setReportDir(folder.path());
        QFile file(report.GetPredlohaPath());
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text.join(u"\r\n"_s).toUtf8() + "\r\n");
        file.close();
        EXPECT_EQ(report.NactiPredlohu(false), 0);
    }
    QString path() const { return report.GetPredlohaPath(); }
};

} // namespace

TEST(DesignerWindow, OpensWithCaptionPaletteElementNamesAndItsValueHook) {
    SavedReport fixture;
    auto window = fixture.open();
    EXPECT_EQ(window->windowTitle(),
              u"Oprava předlohy tiskové sestavy - Zkouška ("_s + fixture.path() + u')');
    EXPECT_EQ(window->paper()->PocetPrvku(), 2);
    EXPECT_EQ(window->paper()->Prvek(1)->toolTip(), u"Položka pol1"_s);
    auto* palette = window->findChild<QTabWidget*>(u"PageControlPrv"_s);
    ASSERT_TRUE(palette);
    EXPECT_EQ(palette->count(), 5);
    EXPECT_TRUE(palette->isTabVisible(4)); // one detail
    EXPECT_EQ(window->action(u"ActionUndo"_s)->isEnabled(), false);
    EXPECT_EQ(window->history().Variant(0), fixture.report.Predloha());
    EXPECT_FALSE(window->modified());

    // the names made of an item, a parameter, a group or a detail, and the unknown kinds
    QStringList names;
    const int kindsAndIndexes[] = {1, 0, 2, 2, 3,  0, 4,  0, 5,  2, 5, 5,
                                   5, 6, 5, 9, 15, 0, 15, 1, 14, 0, 0, 0};
    for (int i = 0; i < int(std::size(kindsAndIndexes)); i += 2)
        names << window->ElementName(kindsAndIndexes[i], kindsAndIndexes[i + 1]);
    EXPECT_EQ(names.join(u'|'), u"Grafický text|Položka pol2|Popis položky pol0|Parametr 1: par|"
                                u"Pořadové číslo řádku|Číslo řádku ve skupině 1|Číslo skupiny 1|"
                                u"Číslo řádku ve skupině 3|Detail 1: detail 0||Neznamy|Neznamy"_s);
    designer::EditorSettings().PopisyPol = true;
    EXPECT_EQ(window->ElementName(2, 1), u"Položka druhá"_s);

    // the values of the report's items and parameters; other requests are left alone
    report::TCalcType value;
    value.text = u"POL2"_s;
    EXPECT_EQ(report::ValueCallback()(2, value), 2);
    value.text = u"nic"_s;
    EXPECT_EQ(report::ValueCallback()(2, value), -1);
    EXPECT_EQ(report::ValueCallback()(1, value), -1);
    report::TCalcType parameter;
    report::ValueCallback()(2000, parameter);
    EXPECT_EQ(parameter.text, u"par"_s);
    EXPECT_EQ(parameter.kind, 2);
    report::TCalcType untouched;
    untouched.text = u"keep"_s;
    untouched.kind = 5;
    report::ValueCallback()(2001, untouched);
    report::ValueCallback()(6000, untouched);
    EXPECT_EQ(untouched.text, u"keep"_s);
    EXPECT_EQ(untouched.kind, 5);
    window.reset();
    // the window's hook is gone with it
    value.text = u"pol2"_s;
    EXPECT_FALSE(report::ValueCallback() && report::ValueCallback()(2, value) == 2);
}

TEST(DesignerWindow, ReportWithoutDetailsHasNoDetailTab) {
    DesignedReport fixture({{"a"}, {"A"}, {}, 0});
    auto window = fixture.open(basicTemplate());
    EXPECT_FALSE(window->findChild<QTabWidget*>(u"PageControlPrv"_s)->isTabVisible(4));
    EXPECT_FALSE(window->action(u"ActionDetail"_s)->isEnabled());
}

TEST(DesignerWindow, OldTemplateRaisesVariableIndexOnceAcrossUndoRedoAndSave) {
    QStringList text = basicTemplate();
    text[1] = u"I,1,1,0,2"_s;
    text << u"T,5,4,10,40,100,20,Arial,10,0,0,0,0,1,\"\",0,0,0"_s;
    SavedReport fixture(text);
    auto window = fixture.open();
    const auto variableIndex = [&] {
        for (int i = 0; i < window->paper()->PocetPrvku(); ++i)
            if (window->paper()->Prvek(i)->Kind() == report::ekVariable)
                return window->paper()->Prvek(i)->Index();
        return -1;
    };
    EXPECT_EQ(variableIndex(), 5);
    for (int cycle = 0; cycle < 3; ++cycle) {
        window->RecordChange(designer::ckMove);
        window->Undo();
        EXPECT_EQ(variableIndex(), 5);
        window->Redo();
        EXPECT_EQ(variableIndex(), 5);
    }
    ASSERT_TRUE(window->SavePredloha());
    const QString saved = QString::fromUtf8(fileBytes(fixture.path()));
    EXPECT_TRUE(saved.contains(u"I,1,5,40,17\r\n"_s));
    EXPECT_TRUE(saved.contains(u"T,5,5,10,40,"_s));
}

TEST(DesignerWindow, MouseDragThenSaveKeepsThePreviousFileAsBackupAndUndoSaveTheHistory) {
    SavedReport fixture;
    const QString previous = fixture.folder.path() + u"/previous.pts"_s;
    ASSERT_TRUE(QFile::copy(fixture.path(), previous));
    auto window = fixture.open();
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    designer::TSesPrvek* text = window->paper()->Prvek(0);
    designtest::drag(text, QPoint(20, 10), QPoint(60, 30), Qt::NoModifier, 4);
    EXPECT_EQ(window->history().CurrentIndex(), 1);
    EXPECT_TRUE(window->modified());
    const int left = text->Left(), top = text->Top();
    EXPECT_NE(left, 10);
    ASSERT_TRUE(window->SavePredloha());
    EXPECT_FALSE(window->modified());
    EXPECT_FALSE(window->action(u"ActionUndo"_s)->isEnabled());

    QString backup = fixture.path();
    backup.replace(u".pts"_s, u".BAK"_s);
    EXPECT_EQ(QProcess::execute(u"cmp"_s, {backup, previous}), 0);
    EXPECT_NE(QProcess::execute(u"cmp"_s, {fixture.path(), previous}), 0);

    // field counts per line kind and the moved element's coordinates, read by Python's csv
    const QString script =
        u"import csv,sys\n"
        "rows=list(csv.reader(open(sys.argv[1],encoding='utf-8',newline=''),doublequote=True))\n"
        "counts={'1':18,'2':18,'5':18,'7':14,'11':15,'12':18,'15':7}\n"
        "for r in rows:\n"
        "  if r[0]=='T' and len(r)!=counts[r[1]]: sys.exit('bad count %s'%r)\n"
        "  if r[0]=='F' and len(r)!=12: sys.exit('bad F')\n"
        "t=[r for r in rows if r[0]=='T' and r[1]=='1'][0]\n"
        "if (t[3],t[4],t[14])!=(sys.argv[2],sys.argv[3],'text'): sys.exit('moved %s'%t)\n"_s;
    EXPECT_EQ(
        QProcess::execute(u"/usr/bin/python3"_s, {u"-c"_s, script, fixture.path(),
                                                  QString::number(left), QString::number(top)}),
        0);

    // with the history kept over saving, the step stays to be undone
    designer::EditorSettings().UndoSave = true;
    window->RecordChange(designer::ckMove);
    ASSERT_TRUE(window->SavePredloha());
    EXPECT_EQ(window->action(u"ActionUndo"_s)->toolTip(), u"Zrušit posun prvku"_s);
    EXPECT_TRUE(window->action(u"ActionUndo"_s)->isEnabled());
}

TEST(DesignerWindow, SaveAsAsksForTheFileWritesTheCopyAndEditsItWhileStornoIsNoFailure) {
    SavedReport fixture;
    const QString originalPath = fixture.path();
    const QByteArray original = fileBytes(originalPath);
    auto window = fixture.open();
    QAction* saveAs = nullptr;
    for (QAction* a : window->findChild<QMenu*>(u"PopupMenuFunkci"_s)->actions())
        if (a->text() == u"Uložit předlohu jako..."_s) saveAs = a;
    ASSERT_TRUE(saveAs);
    window->paper()->Prvek(0)->MoveBy(30, 0);
    window->RecordChange(designer::ckMove);
    // the save dialog, answered with `name` in the template's folder, or Storno
    const auto saveAsAnswering = [&](const QString& name) {
        return designtest::answerModal([&] { saveAs->trigger(); },
                                       [&](QDialog& d) {
                                           auto* files = qobject_cast<QFileDialog*>(&d);
                                           ASSERT_TRUE(files);
                                           EXPECT_EQ(files->acceptMode(), QFileDialog::AcceptSave);
                                           if (name.isEmpty()) return;
                                           files->selectFile(fixture.folder.filePath(name));
                                           d.accept();
                                       });
    };

    EXPECT_EQ(saveAsAnswering({}), 1);
    EXPECT_TRUE(fixture.messages.messages().isEmpty());
    EXPECT_TRUE(window->modified());

    // a folder in the way of the name is a failed save, reported
    struct Answer : report::SaveFileChooser {
        QString path;
        QString chooseSaveFile(const report::SaveFileRequest&) override { return path; }
    } folderInTheWay;
    folderInTheWay.path = fixture.folder.filePath(u"slozka.pts"_s);
    ASSERT_TRUE(QDir(fixture.folder.path()).mkpath(u"slozka.pts/x"_s));
    fixture.report.setFileChooser(&folderInTheWay);
    saveAs->trigger();
    fixture.report.setFileChooser(nullptr);
    EXPECT_TRUE(fixture.messages.messages().contains(kSaveFailed));
    EXPECT_TRUE(window->modified());
    EXPECT_TRUE(window->windowTitle().endsWith(u'(' + originalPath + u')'));

    EXPECT_EQ(saveAsAnswering(u"kopie.pts"_s), 1);
    const QString copy = fixture.folder.filePath(u"kopie.pts"_s);
    EXPECT_FALSE(window->modified());
    EXPECT_TRUE(window->windowTitle().endsWith(u'(' + copy + u')'));
    EXPECT_EQ(fileBytes(copy), (window->storedText().join(u"\r\n"_s) + u"\r\n"_s).toUtf8());
    EXPECT_TRUE(fileBytes(copy).contains("T,1,0,40,10,"));

    // the designer now edits the copy; the original stays as it was opened
    window->paper()->Prvek(0)->MoveBy(5, 0);
    window->RecordChange(designer::ckMove);
    ASSERT_TRUE(window->SavePredloha());
    EXPECT_TRUE(fileBytes(copy).contains("T,1,0,45,10,"));
    EXPECT_EQ(fileBytes(originalPath), original);
}

TEST(DesignerWindow, ASaveOnAFullDiskSaysSoAndKeepsTemplateAndBackup) {
    if (!FullDisk::insidePrivateMounts()) return FullDisk::runTestInPrivateMounts();
    FullDisk disk;
    ASSERT_TRUE(disk.mounted());
    SavedReport fixture;
    const QByteArray current = fileBytes(fixture.path());
    fixture.report.setReportDir(disk.path());
    ASSERT_TRUE(writeFile(fixture.path(), current));
    ASSERT_TRUE(writeFile(disk.filePath(u"zk.BAK"_s), "older backup\r\n"));
    ASSERT_TRUE(disk.fill());
    const auto before = disk.contents();

    auto window = fixture.open();
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    designtest::drag(window->paper()->Prvek(0), QPoint(20, 10), QPoint(60, 30), Qt::NoModifier, 4);
    ASSERT_TRUE(window->modified());
    QToolButton* save = nullptr;
    for (QToolButton* button : window->findChildren<QToolButton*>())
        if (button->defaultAction() == window->action(u"ActionSave"_s)) save = button;
    ASSERT_TRUE(save);
    QTest::mouseClick(save, Qt::LeftButton);
    EXPECT_TRUE(fixture.messages.messages().contains(kSaveFailed));
    EXPECT_TRUE(window->modified());
    EXPECT_EQ(disk.changedSince(before), "");
}

TEST(DesignerWindow, CloseAsksOnlyWhenModifiedAndKeepsWindowOnCancelOrFailedSave) {
    enum Fault { NoFault, SaveRefused, FolderGone };
    struct Case {
        bool modified;
        QList<MessageAnswer> answers; // one close for each, at least one
        Fault fault;
    };
    const Case cases[] = {
        {false, {}, NoFault},                                        // no question
        {true, {MessageAnswer::Cancel, MessageAnswer::No}, NoFault}, // Cancel keeps it open
        {true, {MessageAnswer::Yes}, SaveRefused},
        {true, {MessageAnswer::Yes}, FolderGone}, // the template's folder removed meanwhile
        {true, {MessageAnswer::Yes}, NoFault},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.modified << c.answers.size() << c.fault);
        SavedReport fixture;
        const QByteArray before = fileBytes(fixture.path());
        const QString sub = fixture.folder.path() + u"/sub"_s;
        if (c.fault == SaveRefused)
            fixture.report.OnUlozPredlohu = [](report::TSestava*) { return false; };
        if (c.fault == FolderGone) {
            QDir().mkpath(sub);
            fixture.report.setReportDir(sub);
        }
        auto window = fixture.open();
        window->show();
        if (c.modified) {
            window->paper()->Prvek(0)->MoveBy(8, 0);
            window->RecordChange(designer::ckMove);
        }
        QDir(sub).removeRecursively();
        fixture.messages.scriptAnswers(c.answers);
        const qsizetype closes = std::max<qsizetype>(1, c.answers.size());
        for (qsizetype k = 1; k <= closes; ++k) {
            window->reject();
            EXPECT_EQ(window->isVisible(), k < closes || c.fault != NoFault);
        }
        EXPECT_EQ(fixture.messages.messages().count(kSaveQuestion), c.answers.size());
        EXPECT_EQ(fixture.messages.messages().isEmpty(), !c.modified);
        EXPECT_EQ(fixture.messages.messages().contains(kSaveFailed), c.fault != NoFault);
        if (c.fault != NoFault) {
            EXPECT_TRUE(window->modified());
        }
        const bool saved = c.fault == NoFault && c.answers.value(0) == MessageAnswer::Yes;
        if (c.fault == NoFault) {
            EXPECT_EQ(fileBytes(fixture.path()).contains("T,1,0,18,10,"), saved);
        }
        if (!saved && c.fault != FolderGone) {
            EXPECT_EQ(fileBytes(fixture.path()), before);
        }
    }
}

TEST(DesignerWindow, DataSteppingButtonsFollowTheStepResult) {
    const auto enabled = [](designer::TFormSestE& window) {
        QString states;
        for (const char* name : {"BtnF1", "BtnP1", "BtnN1", "BtnL1"})
            states += window.findChild<QToolButton*>(QString::fromLatin1(name))->isEnabled()
                          ? u'1'
                          : u'0';
        return states;
    };
    SavedReport fixture;
    int next = 3;
    fixture.report.OnStepData = [&next](report::TSestavaD*, int) { return next; };
    auto window = fixture.open();
    EXPECT_EQ(enabled(*window), u"0000"_s);
    for (auto [result, states] : {std::pair{0, "1111"}, {1, "0011"}, {2, "1100"}}) {
        next = result;
        window->BtnFLNPClick(3);
        EXPECT_EQ(enabled(*window), QString::fromLatin1(states));
    }
    fixture.report.TiskJedenZaznam = true;
    next = 3;
    auto single = fixture.open();
    EXPECT_EQ(enabled(*single), u"1111"_s);
}

TEST(DesignerWindow, NestedDetailEditSavesThroughTheMasterAndRestoresTheHook) {
    QStringList text = basicTemplate();
    text << u"T,15,0,10,60,300,100"_s << u"D0,I,0,\"vnořená\""_s
         << u"D0,T,1,0,5,5,100,20,Arial,10,0,0,0,0,1,\"v detailu\",0,0,0"_s;
    SavedReport fixture(text);
    fixture.details[0]->SetItemNames({u"detailni"_s});
    designer::installDesigner();
    auto window = fixture.open();
    designer::TSesPrvek* detail = nullptr;
    for (int i = 0; i < window->paper()->PocetPrvku(); ++i)
        if (window->paper()->Prvek(i)->Kind() == report::ekDetail)
            detail = window->paper()->Prvek(i);
    ASSERT_TRUE(detail);

    // the nested window appears once the splash is gone
    const auto editNested = [](QDialog& dialog) {
        auto* nested = qobject_cast<designer::TFormSestE*>(&dialog);
        ASSERT_NE(nested, nullptr);
        nested->paper()->Prvek(0)->MoveBy(40, 0);
        nested->RecordChange(designer::ckMove);
        EXPECT_TRUE(nested->SavePredloha());
    };
    EXPECT_EQ(designtest::answerModal([&] { window->EditElement(detail); }, editNested), 1);
    EXPECT_TRUE(fileBytes(fixture.path()).contains("D0,T,1,0,45,5,100,20,"));
    EXPECT_EQ(window->history().Name(window->history().CurrentIndex()), u"změna detailu"_s);
    // the master's values again
    report::TCalcType value;
    value.text = u"pol1"_s;
    EXPECT_EQ(report::ValueCallback()(2, value), 1);
    report::TSestavaTyp::setDesignerFactory({});
}

TEST(DesignerWindow, PreviewShowsTheUnsavedStateAndItsEditRequestReturnsToTheDesigner) {
    SavedReport fixture;
    const QByteArray before = fileBytes(fixture.path());
    auto window = fixture.open();
    window->show();
    window->SetZoom(8);
    window->paper()->Prvek(0)->MoveBy(40, 0);
    window->RecordChange(designer::ckMove);
    QAction* preview = window->action(u"ActionPreview"_s);
    QAction* print = window->action(u"ActionPrint"_s);
    ASSERT_TRUE(preview->isEnabled());

    int shown = 0;
    report::TFormSestP::setModalHook([&](report::TFormSestP& form) {
        ++shown;
        EXPECT_TRUE(form.ActionEdit->isEnabled());
        EXPECT_TRUE(form.ActionEdit->isVisible());
        EXPECT_EQ(form.ZoomStep(), window->zoomIndex());
        EXPECT_EQ(form.geometry(), window->geometry());
        EXPECT_FALSE(preview->isEnabled());
        EXPECT_FALSE(print->isEnabled());
        EXPECT_GT(fixture.report.Vystup().PageCount(), 0);
        // what the run leaves behind must not stay the designer's value source
        report::InstallValueCallback([](int, report::TCalcType&) { return -7; });
        return int(report::TFormSestP::Closed);
    });
    preview->trigger();
    EXPECT_EQ(shown, 1);
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(preview->isEnabled());
    EXPECT_TRUE(print->isEnabled());
    // the report holds the moved element, the file does not
    EXPECT_TRUE(fixture.report.Predloha().contains(
        u"T,1,0,50,10,200,20,Arial,10,0,0,0,0,1,\"text\",0,0,0"_s));
    EXPECT_EQ(fileBytes(fixture.path()), before);
    report::TCalcType value;
    value.text = u"pol1"_s;
    EXPECT_EQ(report::ValueCallback()(2, value), 1);

    // "Oprava předlohy..." and Esc in the preview come back to the designer and ask nothing;
    // only the designer's own close ends it
    for (const bool escape : {true, false}) {
        report::TFormSestP::setModalHook([&](report::TFormSestP& form) {
            ++shown;
            form.show();
            if (escape)
                QTest::keyClick(&form, Qt::Key_Escape);
            else
                form.ActionEdit->trigger();
            EXPECT_FALSE(form.isVisible());
            return form.result();
        });
        preview->trigger();
        EXPECT_TRUE(window->isVisible());
        EXPECT_TRUE(fixture.messages.messages().isEmpty());
    }
    report::TFormSestP::setModalHook({});
    EXPECT_EQ(shown, 3);
    fixture.messages.scriptAnswers({MessageAnswer::No});
    window->action(u"ActionClose"_s)->trigger();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(fixture.messages.messages(), QStringList({kSaveQuestion}));
    EXPECT_EQ(fileBytes(fixture.path()), before);
}

TEST(DesignerWindow, EmptyTemplateOpensTheWizardWhoseCancelRefusesTheWindow) {
    const auto openWith = [](DesignedReport& fixture, const std::function<void(QDialog*)>& drive) {
        designer::TFormSestE window;
        window.setMessageSink(&fixture.messages);
        bool opened = false;
        designtest::answerModal([&] { opened = window.OpenSestava(&fixture.report, 1, false); },
                                [&](QDialog& wizard) { drive(&wizard); });
        return std::tuple{opened, window.paper()->PocetPrvku(), window.modified()};
    };
    DesignedReport fixture({{"t", "p"}, {"teplota", "tlak"}, {}, 0});
    EXPECT_EQ(openWith(fixture, [](QDialog* d) { d->reject(); }), std::tuple(false, 0, false));
    // one row: three start lines, two captions, two values, the header line, two foot lines
    EXPECT_EQ(openWith(fixture,
                       [](QDialog* d) {
                           auto* wizard = static_cast<designer::TDlgNovaSestava*>(d);
                           wizard->setChosenItems({"p", "t"});
                           wizard->accept();
                       }),
              std::tuple(true, 10, true));
    EXPECT_EQ(openWith(fixture, [](QDialog* d) { d->done(designer::TDlgNovaSestava::kByHand); }),
              std::tuple(true, 0, false));
}

// Opening and undoing into a template of many groups moves the last section a few times, not
// once for each group.
TEST(DesignerWindow, ManyGroupsAreStackedOnce) {
    QStringList text = basicTemplate();
    for (int k = 0; k < 100; ++k)
        text << u"I,4,%1,0,1,20,%2,24,0"_s.arg(k).arg(k % 2);
    SavedReport fixture(text);
    struct : QObject {
        bool eventFilter(QObject*, QEvent* event) override {
            return moves += event->type() == QEvent::Move, false;
        }
        int moves = 0;
    } counter;
    designer::TFormSestE window;
    window.show(); // a shown section tells every move at once
    window.paper()->Oddil(report::odP)->installEventFilter(&counter);
    ASSERT_TRUE(window.OpenSestava(&fixture.report, 1, false));
    window.RecordChange(designer::ckMove);
    window.Undo();
    EXPECT_LE(counter.moves, 4);
}

TEST(DesignerWindow, ForeignDetailLinesStayAndGroupsAreNumberedByPosition) {
    QStringList text = basicTemplate();
    text << u"I,4,7,pol2,1,30,0,40,1"_s << u"I,4,3,5,0,20,1,25,0"_s
         << u"S0,1,0,1,2,3,4,Arial,10,0,0,0,0,1,\"v hlavě\",0,0,0"_s
         << u"D5,I,0,\"neregistrovaný\""_s << u"D5,T,7,0,1,1,1,1,,1,0,0,0,15,0"_s;
    SavedReport fixture(text);
    auto window = fixture.open();
    const QStringList stored = window->storedText();
    EXPECT_TRUE(stored.contains(u"I,4,0,pol2,1,30,0,40,1"_s));
    EXPECT_TRUE(stored.contains(u"I,4,1,5,0,20,1,25,0"_s));
    EXPECT_TRUE(stored.contains(u"S0,1,0,1,2,3,4,Arial,10,0,0,0,0,1,\"v hlavě\",0,0,0"_s));
    EXPECT_EQ(stored.mid(stored.size() - 2),
              QStringList({"D5,I,0,\"neregistrovaný\"", "D5,T,7,0,1,1,1,1,,1,0,0,0,15,0"}));
    EXPECT_EQ(window->groups().Count(), 2);
    EXPECT_EQ(window->groups().Skupina(1)->header->code(), 7);
}

// The designer's preview and print run the report under the progress window: stopped there
// (in the run, or in the print after it), no preview opens and nothing is printed.
TEST(DesignerWindow, PreviewAndPrintStopInTheProgressWindow) {
    const reporttest::ProgressWindowInstalled installed;
    QTemporaryDir printed;
    platform::PrinterSystem::instance().installTestPrinter(printed.path());
    SavedReport fixture;
    auto window = fixture.open();
    window->show();
    int previews = 0;
    report::TFormSestP::setModalHook(
        [&](report::TFormSestP&) { return ++previews, int(report::TFormSestP::Closed); });
    {
        const reporttest::ProgressUser user(reporttest::ProgressUser::Click);
        window->action(u"ActionPreview"_s)->trigger();
        EXPECT_TRUE(user.acted);
    }
    {
        const reporttest::ProgressUser user(reporttest::ProgressUser::Escape);
        window->action(u"ActionPrint"_s)->trigger();
        EXPECT_TRUE(user.acted);
    }
    {
        const reporttest::ProgressUser user(reporttest::ProgressUser::Close, {}, 2);
        window->action(u"ActionPrint"_s)->trigger();
        EXPECT_TRUE(user.acted);
        EXPECT_EQ(user.windows, 2);
    }
    report::TFormSestP::setModalHook({});
    platform::PrinterSystem::instance().removeTestPrinter();
    EXPECT_EQ(previews, 0);
    EXPECT_TRUE(QDir(printed.path()).entryList(QDir::Files).isEmpty());
}

// Clicked in the window, a print leaves the preview and the print offered as before it, and
// the preview's button opens the preview of the template at once.
TEST(DesignerWindow, PreviewIsOfferedAgainAfterAPrint) {
    QTemporaryDir printed;
    platform::PrinterSystem::instance().installTestPrinter(printed.path());
    SavedReport fixture;
    auto window = fixture.open();
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    auto* print = window->findChild<QToolButton*>(u"SBPrint"_s);
    auto* preview = window->findChild<QToolButton*>(u"SBPreview"_s);
    ASSERT_TRUE(print && preview);
    int previews = 0;
    report::TFormSestP::setModalHook(
        [&](report::TFormSestP&) { return ++previews, int(report::TFormSestP::Closed); });
    for (int round = 1; round <= 2; ++round) {
        QTest::mouseClick(print, Qt::LeftButton);
        EXPECT_EQ(QDir(printed.path()).entryList(QDir::Files).size(), round);
        EXPECT_TRUE(print->isEnabled()) << round;
        EXPECT_TRUE(preview->isEnabled()) << round;
        QTest::mouseClick(preview, Qt::LeftButton);
        EXPECT_EQ(previews, round);
    }
    report::TFormSestP::setModalHook({});
    platform::PrinterSystem::instance().removeTestPrinter();
    EXPECT_TRUE(fixture.messages.messages().isEmpty());
}

namespace {

class DesignerOverSqlite : public reporttest::SqliteFixture {};

} // namespace

// Record by record, as its step buttons move over the data, the designer shows what the run of
// the same template printed for that record: items bound to columns (a null among them), a
// function of a column, a function and variables of the print's date and time. A picture
// column's picture is the one stored in the record.
TEST_F(DesignerOverSqlite, LiveValuesAreThoseTheRunPrintsForTheRecord) {
    const QSize sizes[] = {{3, 2}, {5, 4}};
    for (int i = 0; i < 2; ++i) {
        QImage image(sizes[i], QImage::Format_RGB32);
        image.fill(Qt::red);
        ASSERT_TRUE(image.save(m_dir.filePath(u"obr%1.bmp"_s.arg(i)), "BMP"));
    }
    ASSERT_NO_FATAL_FAILURE(
        createDatabase(u"CREATE TABLE body(name TEXT, t REAL, logo GRAPHIC);\n"
                       "INSERT INTO body VALUES('první', 1.5, readfile('obr0.bmp'));\n"
                       "INSERT INTO body VALUES('druhý', NULL, readfile('obr1.bmp'));\n"
                       "INSERT INTO body VALUES('třetí', -2.25, readfile('obr0.bmp'));\n"
                       "INSERT INTO body VALUES('čtvrtý', 1000, readfile('obr1.bmp'));\n"_s));
    const int records[] = {0, 1, 0, 1}; // the picture of each record
    report::SqlDataset rows(m_connection, u"body"_s, u"rowid"_s);
    ASSERT_TRUE(rows.open()) << rows.lastError().toStdString();
    report::TDataSource source(&rows);
    DesignedReport fixture({{"name", "t", "logo"}, {"N", "T", "L"}, {}, 0});
    fixture.report.setDataSource(&source);
    // left to right: the texts compared; the picture item last
    fixture.report.SetPredloha(QStringList{
        u"I,0,\"Živé hodnoty\""_s, u"I,1,5,40,17"_s, u"I,2,0,827,1169,50,50,70,70,1,0"_s,
        u"I,3,2,1,40,0"_s, u"F,0,dvakrat,\"dvakrát\",0,\"0\",0,\"#t*2\",0,15,2,2"_s,
        u"F,1,den,\"den\",1,\"\",0,\"%1\",0,15,0,2"_s,
        reporttest::textLine(u"T"_s, report::ekItem, u"0"_s, 0, 0, 90, 20),
        reporttest::textLine(u"T"_s, report::ekItem, u"1"_s, 100, 0, 90, 20),
        reporttest::textLine(u"T"_s, report::ekFunction, u"0"_s, 200, 0, 90, 20),
        reporttest::textLine(u"T"_s, report::ekFunction, u"1"_s, 300, 0, 90, 20),
        reporttest::textLine(u"T"_s, report::ekVariable, u"0"_s, 400, 0, 90, 20),
        reporttest::textLine(u"T"_s, report::ekVariable, u"1"_s, 500, 0, 90, 20),
        reporttest::textLine(u"T"_s, report::ekItem, u"2"_s, 600, 0, 90, 20)});
    ASSERT_EQ(fixture.report.Generate(true), 0);
    // the run's rows by their top, the texts of the elements left of the picture by their left
    QMap<int, QStringList> printed;
    for (const QString& line : reporttest::readingDump(fixture.report.Vystup())) {
        const QString at = line.section(u' ', 2, 2);
        const int column = at.section(u',', 0, 0).toInt() / 100;
        QStringList& row = printed[at.section(u',', 1, 1).toInt()];
        row.resize(6);
        if (column < 6) row[column] = line.section(u'\'', 1, 1);
    }
    QStringList runRows;
    for (const QStringList& row : printed)
        runRows << row.join(u'|');
    ASSERT_EQ(runRows.size(), 4);
    // the run's doubles are those of the column (the null left aside)
    for (const auto& [record, doubled] : {std::pair{0, 3.0}, {2, -4.5}, {3, 2000.0}})
        EXPECT_EQ(runRows[record].section(u'|', 2, 2).replace(u',', u'.').toDouble(), doubled);

    auto window = fixture.open();
    const auto shown = [&] {
        QStringList texts;
        for (int i = 0; i < 6; ++i)
            texts << window->paper()->Prvek(i)->element()->GetText();
        return texts.join(u'|');
    };
    const auto picture = [&] {
        const report::TPicture* p = window->paper()->Prvek(6)->element()->GetPicture();
        return p ? QSize(p->Width(), p->Height()) : QSize();
    };
    const std::pair<const char*, int> steps[] = {{nullptr, 0}, {"BtnN1", 1}, {"BtnN1", 2},
                                                 {"BtnP1", 1}, {"BtnL1", 3}, {"BtnF1", 0}};
    for (const auto& [button, record] : steps) {
        SCOPED_TRACE(record);
        if (button)
            QTest::mouseClick(window->findChild<QToolButton*>(QString::fromLatin1(button)),
                              Qt::LeftButton);
        EXPECT_EQ(shown().toStdString(), runRows[record].toStdString());
        EXPECT_EQ(picture(), sizes[records[record]]);
    }
    // a template read again (an undone step) shows the record as it stands
    window->paper()->Prvek(0)->MoveBy(5, 0);
    window->RecordChange(designer::ckMove);
    window->Undo();
    EXPECT_EQ(shown().toStdString(), runRows[0].toStdString());
}
