// The report settings dialog through the designer: every value back into the template, the
// character grid's steps, detail templates, and groups added or deleted while it is open.

#include "FullDisk.h"
#include "TestFiles.h"
#include "support/DesignerWindow.h"

#include "report/designer/TOddil.h"
#include "report/designer/TSestDlg.h"

#include "report/engine/printing/sestprn.h"
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

#include <array>
#include <functional>

using namespace Qt::StringLiterals;

using designtest::DesignedReport;

namespace {

const QStringList kTemplate{"I,0,\"Nastavení\"",
                            "I,1,5,40,17",
                            "I,2,0,827,1169,50,50,70,70,1,0",
                            "I,3,0,1,40,0",
                            "I,3,1,1,40,0",
                            "I,3,2,1,100,0",
                            "I,3,3,1,30,0",
                            "I,3,4,1,30,0",
                            "I,4,0,b,1,30,0,40,1",
                            "I,5,0",
                            "I,6,0,8,8,0,1,1,1",
                            "I,7,0,0,0,0,0,827,1169,"};

// Runs the dialog of `window` on `page`, handing it to `drive` once it is shown.
void runDialog(designer::TFormSestE& window, int page,
               const std::function<void(designer::TSestDlg*)>& drive) {
    designtest::answerModal([&] { window.EditSestavaSettings(page); },
                            [&](QDialog& d) { drive(qobject_cast<designer::TSestDlg*>(&d)); });
}

template <class T> T* child(QWidget* parent, const char* name) {
    T* widget = parent->findChild<T*>(QString::fromLatin1(name));
    EXPECT_TRUE(widget) << name;
    return widget;
}

// A designer on the settings template of a report with two items.
struct ReportSettingsDialog : testing::Test {
    DesignedReport fixture{{{"a", "b"}, {"A", "B"}, {}, 0}};
    std::unique_ptr<designer::TFormSestE> window = fixture.open(kTemplate);
};

} // namespace

TEST_F(ReportSettingsDialog, EveryValueGoesBackIntoTheTemplate) {
    // a printer with larger minimum margins asks: keep ours
    fixture.messages.scriptAnswers({platform::MessageAnswer::No});
    runDialog(*window, -1, [](designer::TSestDlg* d) {
        child<QLineEdit>(d, "ENazev")->setText(u"Jiný, \"popis\""_s);
        child<QRadioButton>(d, "RbOrientationL")->setChecked(true);
        child<QCheckBox>(d, "CbAllowChangeOrientation")->setChecked(true);
        child<QSpinBox>(d, "SEOkrajLevy")->setValue(60);
        child<QSpinBox>(d, "SEOkrajDolni")->setValue(900); // clamped to 500
        child<QSpinBox>(d, "SEPocSloup")->setValue(3);
        child<QSpinBox>(d, "SEMeziSloup")->setValue(12);
        child<QCheckBox>(d, "CBOddZ")->setChecked(false);
        child<QLineEdit>(d, "EditHT")->setText(u"x"_s); // no number: 24
        child<QCheckBox>(d, "CbKonecKPate")->setChecked(true);
        child<QCheckBox>(d, "CbNsKon")->setChecked(true);
        child<QCheckBox>(d, "CbNtNs")->setChecked(true);
        child<QLineEdit>(d, "EditRastrX")->setText(u"0"_s); // becomes 8
        child<QLineEdit>(d, "EditRastrY")->setText(u"12"_s);
        child<QCheckBox>(d, "CBNsNs")->setChecked(false);
        child<QLineEdit>(d, "EditHU")->setText(u"55"_s);
        child<QLineEdit>(d, "EditHU")->textEdited(u"55"_s);
        d->accept();
    });
    const QStringList text = window->storedText();
    EXPECT_EQ(text.mid(0, 12),
              QStringList({"I,0,\"Jiný, \"\"popis\"\"\"", "I,1,5,40,17",
                           "I,2,3,827,1169,60,50,70,500,3,12", "I,3,0,0,40,0", "I,3,1,1,40,0",
                           "I,3,2,1,24,1", "I,3,3,1,30,3", "I,3,4,1,30,0", "I,4,0,b,1,30,0,55,0",
                           "I,5,0", "I,6,0,8,12,0,1,1,1", "I,7,0,0,0,0,0,827,1169,"}));
    EXPECT_EQ(window->history().Name(window->history().CurrentIndex()),
              u"nastavení oddílů a skupin"_s);
    EXPECT_TRUE(window->windowTitle().contains(u"Jiný"_s));
}

TEST_F(ReportSettingsDialog, CharacterGridTakesItsStepsFromThePitch) {
    runDialog(*window, 2, [](designer::TSestDlg* d) {
        for (QRadioButton* r : d->findChildren<QRadioButton*>())
            if (r->text() == u"Znakový"_s || r->text() == u"17 znaků/palec"_s) r->setChecked(true);
        EXPECT_TRUE(child<QWidget>(d, "GBRastr")->isHidden());
        d->accept();
    });
    EXPECT_TRUE(window->storedText().contains(u"I,6,1,6,17,0,2,1,1"_s));
}

namespace {

// What the test knows of one group: its I,4 values and the text of the one element in each of
// its two sections.
struct GroupModel {
    QString key;
    bool headerVisible;
    int headerHeight;
    int footerHeight;
    QString element; // "" for a group added by Ins, whose sections are empty
};

// The whole template of `groups` as the designer writes it. The character grid spares OK the
// question about the printer's margins.
QStringList groupTemplate(const QList<GroupModel>& groups) {
    QStringList text{"I,0,\"Skupiny\"", "I,1,5,40,17",  "I,2,0,827,1169,50,50,70,70,1,0",
                     "I,3,0,1,40,0",    "I,3,1,1,40,0", "I,3,2,1,100,0",
                     "I,3,3,1,30,0",    "I,3,4,1,30,0"};
    for (qsizetype i = 0; i < groups.size(); ++i) {
        const GroupModel& g = groups[i];
        text << u"I,4,%1,%2,%3,%4,0,%5,0"_s.arg(i)
                    .arg(g.key)
                    .arg(int(g.headerVisible))
                    .arg(g.headerHeight)
                    .arg(g.footerHeight);
    }
    text << u"I,5,0"_s << u"I,6,1,8,17,0,1,1,1"_s << u"I,7,0,0,0,0,0,827,1169,"_s;
    for (qsizetype i = 0; i < groups.size(); ++i) {
        if (groups[i].element.isEmpty()) continue;
        for (const char16_t key : {u'S', u'U'})
            text << u"%1%2,1,0,4,2,90,16,Arial,10,0,0,0,0,1,\"%3\",0,0,0"_s.arg(QChar(key))
                        .arg(i)
                        .arg(groups[i].element);
    }
    return text;
}

enum class GroupOp { Ins, Del, Up, Height };

} // namespace

TEST(ReportSettings, GroupEditsEndInExactlyTheTemplateOfOkOrTheOneBeforeOnStorno) {
    // Every sequence of up to three group edits, from 0 to 3 groups, ended by OK or Storno.
    // Ins and Del change the paper while the dialog is open; Storno must give back the groups
    // with their sections and elements, OK exactly the edited ones.
    DesignedReport fixture({{"a", "b"}, {"A", "B"}, {}, 0});
    auto window = fixture.open(groupTemplate({}));
    QList<QList<GroupOp>> sequences{{}};
    for (int length = 1; length <= 3; ++length)
        for (const QList<GroupOp>& shorter : QList<QList<GroupOp>>(sequences))
            if (shorter.size() == length - 1)
                for (GroupOp op : {GroupOp::Ins, GroupOp::Del, GroupOp::Up, GroupOp::Height})
                    sequences << (QList<GroupOp>(shorter) << op);
    const QList<GroupModel> all{
        {"b", true, 31, 41, "g0"}, {"1", false, 32, 42, "g1"}, {"0", true, 33, 43, "g2"}};

    for (int start = 0; start <= 3; ++start) {
        for (const QList<GroupOp>& ops : sequences) {
            for (const bool ok : {false, true}) {
                const QList<GroupModel> before = all.mid(0, start);
                window->ClearPaper();
                window->LoadPredloha(groupTemplate(before));
                ASSERT_EQ(window->storedText(), groupTemplate(before));
                window->document().forgetHistory();
                QList<GroupModel> after = before;
                QString trace = u"start %1, ops"_s.arg(start);
                int typed = 0;
                runDialog(*window, 4, [&](designer::TSestDlg* d) {
                    auto* list = child<QListWidget>(d, "LBSkupPol");
                    auto* del = child<QToolButton>(d, "SBDelSk");
                    for (const GroupOp op : ops) {
                        const int row = list->currentRow();
                        trace += u" %1"_s.arg(int(op));
                        switch (op) {
                        case GroupOp::Ins:
                            QTest::mouseClick(child<QToolButton>(d, "SBInsSk"), Qt::LeftButton);
                            after << GroupModel{"0", false, 24, 24, {}};
                            break;
                        case GroupOp::Del:
                            // only the last group, and only once asked
                            EXPECT_EQ(del->isEnabled(), row >= 0 && row == after.size() - 1)
                                << trace.toStdString();
                            if (!del->isEnabled()) break;
                            fixture.messages.scriptAnswers({platform::MessageAnswer::Yes});
                            QTest::mouseClick(del, Qt::LeftButton);
                            after.removeLast();
                            break;
                        case GroupOp::Up: {
                            if (list->count() == 0) break;
                            QListWidgetItem* item =
                                list->item((row + list->count() - 1) % list->count());
                            list->scrollToItem(item);
                            QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                                              list->visualItemRect(item).center());
                            break;
                        }
                        case GroupOp::Height: {
                            auto* height = child<QLineEdit>(d, "EditHS");
                            height->selectAll();
                            QTest::keyClicks(height, u"5%1"_s.arg(++typed));
                            // the edit belongs to the group shown as the current line
                            if (row >= 0) after[row].headerHeight = height->text().toInt();
                            break;
                        }
                        }
                        ASSERT_EQ(list->count(), after.size()) << trace.toStdString();
                    }
                    QTest::mouseClick(child<QPushButton>(d, ok ? "OKBtn" : "CancelBtn"),
                                      Qt::LeftButton);
                });
                SCOPED_TRACE((trace + (ok ? u", OK"_s : u", Storno"_s)).toStdString());
                const QStringList stored = window->storedText();
                EXPECT_EQ(designtest::firstDifference(groupTemplate(ok ? after : before), stored),
                          "");
                // OK is one step whose snapshot is the text; Storno leaves the history alone
                EXPECT_EQ(window->history().Count(), ok ? 2 : 1);
                if (ok) {
                    EXPECT_EQ(window->history().Current(), stored);
                }
                EXPECT_EQ(window->groups().Count(), (ok ? after : before).size());
                if (HasFailure()) return;
            }
        }
    }
}

TEST(ReportSettings, DetailTemplatesHaveNoPaperOrPageSections) {
    DesignedReport fixture({{"a"}, {"A"}, {}, 1});
    report::TSestDetail& detail = *fixture.details[0];
    detail.SetPredloha(kTemplate);
    designer::TFormSestE window;
    window.setMessageSink(&fixture.messages);
    ASSERT_TRUE(window.OpenSestava(&detail, 1, false));
    runDialog(window, 1, [](designer::TSestDlg* d) {
        for (const char* name :
             {"SEOkrajLevy", "SEOkrajHorni", "RbOrientationP", "CBOddH", "EditHH", "CBOddP",
              "EditHP", "CbNePrvniHlava", "CbNePosledniPata"})
            EXPECT_FALSE(child<QWidget>(d, name)->isEnabled()) << name;
        // the report's own sections and the pagination around them stay
        for (const char* name : {"CBOddZ", "EditHZ", "CBOddT", "EditHT", "CBOddK", "EditHK",
                                 "CbNtNs", "CbNsZac", "CbNsKon", "CbKonecKPate"})
            EXPECT_TRUE(child<QWidget>(d, name)->isEnabled()) << name;
        d->reject();
    });
}

TEST(ReportSettings, UserPaperFormatIsDeletedFromTheSettingsFile) {
    DesignedReport fixture({{"a"}, {"A"}, {}, 0});
    QFile ini(fixture.report.iniFilePath());
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write("[Jine]\r\nklic=1\r\n[FormatyPapiru]\r\nPocetFormatu=1\r\n"
              "Format1=\xc5\xa0t\xc3\xadtek,400,300\r\n");
    ini.close();
    QStringList text = kTemplate;
    text[2] = u"I,2,0,400,300,10,10,10,10,1,0"_s;
    fixture.report.SetPredloha(text);
    auto window = fixture.open();
    fixture.messages.scriptAnswers({platform::MessageAnswer::Yes, platform::MessageAnswer::No});
    runDialog(*window, 1, [](designer::TSestDlg* d) {
        auto* combo = child<QComboBox>(d, "CBFormaty");
        EXPECT_EQ(combo->currentText(), u"Štítek"_s);
        EXPECT_EQ(child<QPushButton>(d, "ButtonEditFormat")->text(), u"Oprav"_s);
        child<QPushButton>(d, "ButtonDeleteFormat")->click();
        EXPECT_EQ(combo->count(), 18);
        EXPECT_EQ(combo->currentIndex(), 0);
        d->accept();
    });
    ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
    const QByteArray after = ini.readAll();
    report::TListFormatu reread;
    reread.Load(fixture.report.iniFilePath());
    EXPECT_EQ(reread.count(), 18);
    EXPECT_TRUE(after.contains("klic=1"));
    EXPECT_TRUE(fixture.messages.messages().contains(u"Zrušit vybraný uživatelský formát?"_s));
    // the first built-in format's size went into the template
    report::TListFormatu builtIn;
    const report::TFormatPapiru* first = builtIn.GetFormat(0);
    EXPECT_TRUE(window->storedText()[2].startsWith(
        u"I,2,0,%1,%2,"_s.arg(first->width).arg(first->height)));
}

TEST(ReportSettings, PaperSizeOffTheListIsFoundWithinOnePercentOrShownAsUserFormat) {
    const report::TListFormatu builtIn;
    struct Case {
        int width, height;
        int chosen, count;
    };
    // an A4-sized page finds the list's first entry; a size near no format is appended
    for (const Case c : {Case{830, 1175, 0, 18}, Case{819, 1158, 0, 18}, {1000, 1000, 18, 19}}) {
        SCOPED_TRACE(u"%1 x %2"_s.arg(c.width).arg(c.height).toStdString());
        DesignedReport fixture({{"a"}, {"A"}, {}, 0});
        QStringList text = kTemplate;
        text[2] = u"I,2,0,%1,%2,50,50,70,70,1,0"_s.arg(c.width).arg(c.height);
        fixture.report.SetPredloha(text);
        auto window = fixture.open();
        runDialog(*window, 1, [&](designer::TSestDlg* d) {
            auto* combo = child<QComboBox>(d, "CBFormaty");
            EXPECT_EQ(combo->count(), c.count);
            EXPECT_EQ(combo->currentIndex(), c.chosen);
            const bool user = c.chosen >= 18;
            EXPECT_EQ(combo->currentText(),
                      user ? u"uživ. formát"_s : builtIn.GetFormat(c.chosen)->name);
            EXPECT_EQ(child<QPushButton>(d, "ButtonDeleteFormat")->isEnabled(), user);
            EXPECT_EQ(child<QPushButton>(d, "ButtonEditFormat")->text(),
                      user ? u"Oprav"_s : u"Ukaž"_s);
            d->accept();
        });
        // the paper keeps its own size, and the settings file gets no format of it
        EXPECT_TRUE(
            window->storedText()[2].startsWith(u"I,2,0,%1,%2,"_s.arg(c.width).arg(c.height)));
        report::TListFormatu reread;
        reread.Load(fixture.report.iniFilePath());
        EXPECT_EQ(reread.count(), 18);
    }
}

TEST_F(ReportSettingsDialog, OwnBackgroundPlacedOnThePaper) {
    runDialog(*window, 2, [](designer::TSestDlg* d) {
        auto* spinLeft = child<QSpinBox>(d, "SpinEditUmL");
        EXPECT_FALSE(child<QWidget>(d, "CBBackgroundFile")->isEnabled());
        child<QCheckBox>(d, "CheckBoxPozadi")->setChecked(false);
        EXPECT_TRUE(child<QWidget>(d, "CBBackgroundFile")->isEnabled());
        EXPECT_FALSE(spinLeft->isEnabled()); // the whole paper
        child<QCheckBox>(d, "CheckBoxCelyPapir")->setChecked(false);
        EXPECT_TRUE(spinLeft->isEnabled());
        child<QCheckBox>(d, "CheckBoxTiskPozadi")->setChecked(true);
        child<QComboBox>(d, "CBBackgroundFile")->setEditText(u"a,b.bmp"_s);
        spinLeft->setValue(10);
        child<QSpinBox>(d, "SpinEditUmT")->setValue(20);
        child<QSpinBox>(d, "SpinEditUmW")->setValue(300);
        child<QSpinBox>(d, "SpinEditUmH")->setValue(400);
        d->accept();
    });
    EXPECT_TRUE(window->storedText().contains(u"I,7,1,1,1,10,20,300,400,\"a,b.bmp\""_s));
}

TEST_F(ReportSettingsDialog, PagePreviewAndSizesFollowThePaper) {
    runDialog(*window, 1, [](designer::TSestDlg* d) {
        EXPECT_EQ(child<QLabel>(d, "InfoRozmer")->text(), u"827 x 1169"_s);
        EXPECT_EQ(child<QLabel>(d, "InfoRozmerT")->text(), u"727 x 1029"_s);
        EXPECT_EQ(child<QLabel>(d, "InfoRozmerS")->text(), u"727 x 100"_s);
        child<QRadioButton>(d, "RbOrientationL")->setChecked(true);
        child<QSpinBox>(d, "SEPocSloup")->setValue(3);
        child<QSpinBox>(d, "SEMeziSloup")->setValue(20);
        EXPECT_EQ(child<QLabel>(d, "InfoRozmer")->text(), u"1169 x 827"_s);
        // one of three columns: (1069 + 20) / 3 - 20
        EXPECT_EQ(child<QLabel>(d, "InfoRozmerS")->text(), u"343 x 100"_s);
        const QImage image = child<QWidget>(d, "PaintBoxPapiru")->grab().toImage();
        // landscape: the shadow below the page, the label sketch in blue inside it
        bool grey = false, blue = false;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                grey |= image.pixel(x, y) == qRgb(0x80, 0x80, 0x80);
                blue |= image.pixel(x, y) == qRgb(0, 0, 0xFF);
            }
        EXPECT_TRUE(grey);
        EXPECT_TRUE(blue);
        d->reject();
    });
}

TEST_F(ReportSettingsDialog, ASectionOpensItsOwnTabAloneAndTheCommandEveryTab) {
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    // the tab titles a double click on a section leaves visible, and the group chosen
    const auto visibleTabs = [&](const std::function<void()>& open, int* group = nullptr) {
        QStringList titles;
        designtest::answerModal(open, [&](QDialog& d) {
            auto* tabs = d.findChild<QTabWidget*>();
            for (int i = 0; i < tabs->count(); ++i)
                if (tabs->isTabVisible(i)) titles << tabs->tabText(i);
            EXPECT_TRUE(tabs->isTabVisible(tabs->currentIndex()));
            if (group) *group = child<QListWidget>(&d, "LBSkupPol")->currentRow();
        });
        return titles;
    };
    const auto doubleClick = [&](int code) {
        return [&, code] {
            designer::TOddil* section = nullptr;
            for (int i = 0; i < window->paper()->PocetOddilu(); ++i)
                if (window->paper()->Oddil(i)->code() == code) section = window->paper()->Oddil(i);
            ASSERT_TRUE(section);
            QTest::mouseDClick(window->windowHandle(), Qt::LeftButton, {},
                               section->mapTo(window.get(), QPoint(5, 5)));
        };
    };
    EXPECT_EQ(visibleTabs(doubleClick(3)), QStringList{u"Oddíly"_s});
    int group = -1;
    EXPECT_EQ(visibleTabs(doubleClick(5), &group), QStringList{u"Skupiny"_s}); // a group header
    EXPECT_EQ(group, 0);
    EXPECT_EQ(visibleTabs([&] { window->action(u"ActionKonfSest"_s)->trigger(); }).size(), 5);
}

TEST_F(ReportSettingsDialog, GroupSectionHeightsAreLabelledBesideTheirFields) {
    runDialog(*window, 4, [](designer::TSestDlg* d) {
        for (const char* field : {"EditHS", "EditHU"}) {
            auto* edit = child<QLineEdit>(d, field);
            const QRect box = edit->geometry();
            bool labelled = false;
            for (const QLabel* label : edit->parentWidget()->findChildren<QLabel*>())
                labelled |= label->text() == u"Výška oddílu:"_s &&
                            label->geometry().right() <= box.left() &&
                            label->geometry().center().y() > box.top() &&
                            label->geometry().center().y() < box.bottom();
            EXPECT_TRUE(labelled) << field;
        }
        d->reject();
    });
}

// Deleting the group whose section holds the selection lets the selection go with it: the
// window neither shows nor keeps an element that is no more (a click afterwards read it).
TEST(ReportSettings, DeletingTheGroupOfTheSelectionLetsTheSelectionGo) {
    DesignedReport fixture({{"a", "b"}, {"A", "B"}, {}, 0});
    auto window = fixture.open(
        kTemplate + QStringList{"S0,1,0,10,5,50,20,Arial,10,0,0,0,0,1,\"ve skupině\",0,0,0",
                                "T,1,0,10,10,50,20,Arial,10,0,0,0,0,1,\"v těle\",0,0,0"});
    designer::TSesPrvek* inGroup = window->paper()->Prvek(1);
    ASSERT_GE(window->paper()->FindOddil(inGroup)->code(), designer::kFixedSections);
    window->SelectElement(inGroup);
    window->AddToSelection(window->paper()->Prvek(0));
    fixture.messages.scriptAnswers({platform::MessageAnswer::Yes});
    runDialog(*window, designer::TSestDlg::PageGroups, [](designer::TSestDlg* dialog) {
        child<QToolButton>(dialog, "SBDelSk")->click();
        dialog->accept();
    });
    ASSERT_EQ(window->groups().Count(), 0);
    EXPECT_EQ(window->primarySelection(), nullptr);
    EXPECT_EQ(window->selectionCount(), 0);
    designer::TSesPrvek* body = window->paper()->Prvek(0);
    EXPECT_FALSE(body->multi());
    window->SelectElement(body);
    EXPECT_EQ(window->primarySelection(), body);
    EXPECT_EQ(window->selectionCount(), 1);
}

namespace {

// A field of the paper-format dialog typed over as the user does it: all selected, then keys.
void retype(QDialog& dialog, const char* field, const QString& text) {
    auto* edit = child<QLineEdit>(&dialog, field);
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    // one key per character, letters outside ASCII included
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

// The user formats of a settings file as QSettings reads them, "name|width|height" each.
QStringList storedFormats(const QString& ini) {
    QSettings settings(ini, QSettings::IniFormat);
    settings.beginGroup(u"FormatyPapiru"_s);
    QStringList formats;
    for (int k = 1; k <= settings.value(u"PocetFormatu"_s).toInt(); ++k)
        formats << settings.value(u"Format%1"_s.arg(k)).toStringList().join(u'|');
    return formats;
}

// The settings template on the character grid: OK asks nothing about the printer's margins.
QStringList characterGridTemplate() {
    QStringList text = kTemplate;
    text[10] = u"I,6,1,8,17,0,1,1,1"_s;
    return text;
}

} // namespace

TEST(ReportSettings, UserPaperFormatInsertedOrEditedBecomesThePageAndIsStored) {
    DesignedReport fixture({{"a"}, {"A"}, {}, 0});
    const QString ini = fixture.report.iniFilePath();
    ASSERT_TRUE(writeFile(ini, "[Jine]\r\nklic=1\r\n"));
    auto window = fixture.open(characterGridTemplate());
    const report::TFormatPapiru a5 = *report::TListFormatu().GetFormat(9);
    struct Case {
        const char* trace;
        int keyDowns; // from the first entry, before the button; -1: the entry shown
        const char* button;
        QStringList typed; // name, width and height typed into the format dialog
        bool ok;
        QString shown; // the entry chosen afterwards
        QSize page;
        QStringList stored; // the settings file's user formats afterwards
    };
    const QStringList label{u"Štítek, malý|400|300"_s}, envelope{u"Obálka|500|250"_s};
    // clang-format off
    const Case cases[] = {
        {"insert", -1, "ButtonInsertFormat", {u"Štítek, malý"_s, "400", "300"}, true,
         u"Štítek, malý"_s, {400, 300}, label},
        {"insert, Storno", -1, "ButtonInsertFormat", {u"Jiný"_s, "1", "2"}, false,
         u"Štítek, malý"_s, {400, 300}, label},
        {"edit the user format", -1, "ButtonEditFormat", {u"Obálka"_s, "500", "250"}, true,
         u"Obálka"_s, {500, 250}, envelope},
        {"show a built-in format", 9, "ButtonEditFormat", {}, true, a5.name,
         {a5.width, a5.height}, envelope},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.trace);
        // in lines a save would end otherwise: a save of the same formats shows too
        ASSERT_TRUE(writeFile(ini, readFile(ini).replace("\r\n", "\n")));
        const QByteArray before = readFile(ini);
        bool editable = false;
        runDialog(*window, designer::TSestDlg::PagePaper, [&](designer::TSestDlg* d) {
            auto* combo = child<QComboBox>(d, "CBFormaty");
            if (c.keyDowns >= 0) {
                QTest::keyClick(combo, Qt::Key_Home);
                for (int i = 0; i < c.keyDowns; ++i)
                    QTest::keyClick(combo, Qt::Key_Down);
            }
            designtest::answerModal(
                [&] { QTest::mouseClick(child<QPushButton>(d, c.button), Qt::LeftButton); },
                [&](QDialog& format) {
                    editable = child<QLineEdit>(&format, "EditName")->isEnabled();
                    for (qsizetype i = 0; i < c.typed.size(); ++i)
                        retype(format, std::array{"EditName", "EditWidth", "EditHeight"}[i],
                               c.typed[i]);
                    QTest::mouseClick(
                        child<QPushButton>(&format, c.ok ? "ButtonOk" : "ButtonCancel"),
                        Qt::LeftButton);
                });
            EXPECT_EQ(combo->currentText(), c.shown);
            EXPECT_EQ(child<QLabel>(d, "InfoRozmer")->text(),
                      u"%1 x %2"_s.arg(c.page.width()).arg(c.page.height()));
            QTest::mouseClick(child<QPushButton>(d, "OKBtn"), Qt::LeftButton);
        });
        EXPECT_EQ(editable, c.keyDowns < 0);
        EXPECT_TRUE(window->storedText()[2].startsWith(
            u"I,2,0,%1,%2,"_s.arg(c.page.width()).arg(c.page.height())));
        EXPECT_EQ(storedFormats(ini), c.stored);
        // only a change of the user formats writes the file, and it keeps the rest of it
        if (c.ok && c.keyDowns < 0) {
            EXPECT_TRUE(readFile(ini).contains("klic=1"));
        } else {
            EXPECT_EQ(readFile(ini), before);
        }
        // the next opening lists the stored formats and shows the page's own
        runDialog(*window, designer::TSestDlg::PagePaper, [&](designer::TSestDlg* d) {
            auto* combo = child<QComboBox>(d, "CBFormaty");
            EXPECT_EQ(combo->count(), 18 + c.stored.size());
            EXPECT_EQ(combo->currentText(), c.shown);
            d->reject();
        });
    }
}

TEST(ReportSettings, UserFormatsThatCannotBeStoredAreReportedAndTheFileKept) {
    if (!FullDisk::insidePrivateMounts()) return FullDisk::runTestInPrivateMounts();
    FullDisk disk;
    ASSERT_TRUE(disk.mounted());
    DesignedReport fixture({{"a"}, {"A"}, {}, 0});
    fixture.report.IniFileName = disk.filePath(u"nastaveni.ini"_s);
    ASSERT_TRUE(writeFile(fixture.report.iniFilePath(),
                          "[FormatyPapiru]\r\nPocetFormatu=1\r\nFormat1=Štítek,400,300\r\n"));
    QStringList text = characterGridTemplate();
    text[2] = u"I,2,0,400,300,10,10,10,10,1,0"_s;
    auto window = fixture.open(text);
    ASSERT_TRUE(disk.fill());
    const auto before = disk.contents();
    for (const char* button : {"ButtonInsertFormat", "ButtonEditFormat", "ButtonDeleteFormat"}) {
        SCOPED_TRACE(button);
        const qsizetype boxes = fixture.messages.boxes().size();
        fixture.messages.scriptAnswers({platform::MessageAnswer::Yes}); // delete it
        runDialog(*window, designer::TSestDlg::PagePaper, [&](designer::TSestDlg* d) {
            designtest::answerModal(
                [&] { QTest::mouseClick(child<QPushButton>(d, button), Qt::LeftButton); },
                [](QDialog& format) {
                    retype(format, "EditName", u"Nový"_s);
                    QTest::mouseClick(child<QPushButton>(&format, "ButtonOk"), Qt::LeftButton);
                });
            d->reject();
        });
        ASSERT_GT(fixture.messages.boxes().size(), boxes);
        const platform::RecordedBox& box = fixture.messages.boxes().last();
        EXPECT_EQ(box.icon, platform::MessageIcon::Critical);
        EXPECT_TRUE(box.text.contains(QDir::toNativeSeparators(fixture.report.iniFilePath())))
            << box.text.toStdString();
        EXPECT_EQ(disk.changedSince(before), "");
    }
}
