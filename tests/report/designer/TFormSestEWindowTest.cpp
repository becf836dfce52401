// The designer window as a user meets it: its size on a 1280 x 1024 screen, the focus after
// activation, the group and item combos, the groups the expression builder lists and the
// buttons of its message boxes.

#include "support/EditingDesigner.h"

#include "report/designer/TSestDlg.h"

#include <QApplication>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

using designtest::EditingDesigner;

namespace {

const QStringList kTemplate{u"I,0,\"Okno\""_s,
                            u"I,1,5,40,17"_s,
                            u"I,2,0,827,1169,50,50,70,70,1,0"_s,
                            u"I,3,2,1,100,0"_s,
                            u"I,6,1,8,17,0,1,1,1"_s, // no margin question on OK
                            u"T,1,0,10,10,200,20,Arial,10,0,0,0,0,1,\"text\",0,0,0"_s};

// The report settings dialog on its groups tab: `drive` then OK.
void onGroupsTab(EditingDesigner& d, const std::function<void(designer::TSestDlg&)>& drive) {
    designtest::answerModal([&] { d.window->EditSestavaSettings(designer::TSestDlg::PageGroups); },
                            [&](QDialog& dialog) {
                                auto& settings = static_cast<designer::TSestDlg&>(dialog);
                                drive(settings);
                                settings.findChild<QPushButton*>(u"OKBtn"_s)->click();
                            });
}

} // namespace

TEST(DesignerWindowAsMet, EveryControlFitsA1280By1024Screen) {
    EditingDesigner d(kTemplate);
    // room for the window's frame and a panel of the desktop
    const QSize screen(1280 - 16, 1024 - 80);
    EXPECT_LE(d.window->minimumSizeHint().width(), screen.width());
    EXPECT_LE(d.window->minimumSizeHint().height(), screen.height());
    d.window->resize(d.window->minimumSizeHint().expandedTo(QSize(1, 1)));
    auto* palette = d.find<QTabWidget>("PageControlPrv");
    for (int page = 0; page < palette->count(); ++page) {
        palette->setCurrentIndex(page);
        QApplication::processEvents();
        for (QWidget* control : d.window->findChildren<QWidget*>()) {
            if (!control->isVisible() || control->isWindow()) continue;
            if (!qobject_cast<QToolButton*>(control) && !qobject_cast<QComboBox*>(control))
                continue;
            const QRect bounds(control->mapTo(d.window.get(), QPoint()), control->size());
            EXPECT_TRUE(d.window->rect().contains(bounds))
                << control->objectName().toStdString() << " on page " << page;
        }
    }
}

TEST(DesignerWindowAsMet, ThePaperTakesTheFocusOnActivationSoDeleteActsAtOnce) {
    EditingDesigner d(kTemplate);
    QWidget other;
    other.show();
    d.window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(d.window.get()));
    EXPECT_EQ(QApplication::focusWidget(), d.paper());
    // the user selects, looks at a position field, goes to another window and comes back
    d.window->SelectElement(d.element(0));
    d.find<QLineEdit>("EditX")->setFocus();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    d.window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(d.window.get()));
    ASSERT_EQ(QApplication::focusWidget(), d.paper());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Delete);
    EXPECT_EQ(d.paper()->PocetPrvku(), 0);
}

TEST(DesignerWindowAsMet, TheGroupChoiceIsThereOnlyWithGroups) {
    EditingDesigner d(kTemplate);
    auto* groups = d.find<QComboBox>("CbVyberSkup");
    EXPECT_FALSE(groups->isEnabled());
    onGroupsTab(d, [](designer::TSestDlg& s) { s.SBInsSkClick(); });
    EXPECT_TRUE(groups->isEnabled());
    EXPECT_EQ(groups->currentText(), u"Skupina 1"_s);
    d.messages.scriptAnswers({platform::MessageAnswer::Yes});
    onGroupsTab(d, [](designer::TSestDlg& s) {
        s.findChild<QListWidget*>(u"LBSkupPol"_s)->setCurrentRow(0);
        s.SBDelSkClick();
    });
    EXPECT_FALSE(groups->isEnabled());
    EXPECT_EQ(groups->count(), 0);
}

TEST(DesignerWindowAsMet, TheItemChoiceGoesAfterTheSettingsDialogsOk) {
    EditingDesigner d(kTemplate);
    auto* items = d.find<QComboBox>("CBVyberPrvku");
    for (const bool ok : {false, true}) {
        d.action("ActionDb")->trigger();
        ASSERT_TRUE(items->isVisible());
        designtest::answerModal(
            [&] { d.action("ActionKonfig")->trigger(); },
            [&](QDialog& s) {
                s.findChild<QPushButton*>(ok ? u"BtnOK"_s : u"BtnCancel"_s)->click();
            });
        EXPECT_EQ(items->isVisible(), !ok);
    }
}

TEST(DesignerWindowAsMet, TheExpressionBuilderListsTheGroupsBeingDesigned) {
    // the report read the template without groups; the designer has two by now
    EditingDesigner d(kTemplate);
    onGroupsTab(d, [](designer::TSestDlg& s) {
        s.SBInsSkClick();
        s.SBInsSkClick();
    });
    QStringList variables;
    designtest::answerModal([&] { d.action("ActionFnInsert")->trigger(); },
                            [&](QDialog& f) {
                                designtest::answerModal(
                                    [&] { f.findChild<QToolButton*>(u"SpeedButton1"_s)->click(); },
                                    [&](QDialog& builder) {
                                        auto* list =
                                            builder.findChild<QComboBox*>(u"CBVariables"_s);
                                        for (int i = 0; i < list->count(); ++i)
                                            variables << list->itemText(i);
                                    });
                            });
    EXPECT_TRUE(variables.contains(u"%8  Číslo ř. ve sk.2"_s))
        << variables.join('|').toStdString();
    EXPECT_TRUE(variables.contains(u"%9  Číslo skupiny 2"_s));
    EXPECT_FALSE(variables.contains(u"%10 Číslo ř. ve sk.3"_s));
}

TEST(DesignerWindowAsMet, ItsMessageBoxesAnswerInCzech) {
    // neither the window nor the report has a sink of its own: real message boxes
    EditingDesigner d(kTemplate);
    d.window->setMessageSink(nullptr);
    d.report.setMessageSink(nullptr);
    d.window->RecordChange(designer::ckMove);
    QStringList captions;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_TRUE(box);
        for (QAbstractButton* button : box->buttons())
            captions << button->text().remove(u'&');
        box->button(QMessageBox::Cancel)->click();
    });
    d.action("ActionClose")->trigger();
    EXPECT_TRUE(d.window->isVisible()); // Storno keeps it open
    captions.sort();
    EXPECT_EQ(captions, QStringList({"Ano", "Ne", "Storno"}));
}
