// The report settings dialog through the designer: every value back into the template, the
// character grid's steps, detail templates, and groups added or deleted while it is open.

#include "support/DesignerWindow.h"

#include "report/designer/TOddil.h"
#include "report/designer/TSestDlg.h"

#include "report/engine/printing/sestprn.h"
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QToolButton>

#include <gtest/gtest.h>

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

TEST_F(ReportSettingsDialog, GroupsAddedOrDeletedCountEvenOnStorno) {
    const int steps = window->history().Count();
    runDialog(*window, 4, [](designer::TSestDlg* d) {
        d->SBInsSkClick();
        d->reject();
    });
    EXPECT_EQ(window->groups().Count(), 2);
    EXPECT_EQ(window->history().Count(), steps + 1);
    EXPECT_TRUE(window->history().Current().contains(u"I,4,1,0,0,24,0,24,0"_s));

    fixture.messages.scriptAnswers({platform::MessageAnswer::Yes});
    runDialog(*window, 4, [](designer::TSestDlg* d) {
        auto* del = child<QToolButton>(d, "SBDelSk");
        child<QListWidget>(d, "LBSkupPol")->setCurrentRow(0);
        EXPECT_FALSE(del->isEnabled()); // only the last group
        child<QListWidget>(d, "LBSkupPol")->setCurrentRow(1);
        EXPECT_TRUE(del->isEnabled());
        del->click();
        EXPECT_FALSE(del->isEnabled());
        d->reject();
    });
    EXPECT_EQ(window->groups().Count(), 1);
    EXPECT_EQ(window->history().Current(), window->storedText());
    EXPECT_FALSE(window->storedText().contains(u"I,4,1,0,0,24,0,24,0"_s));
}

TEST(ReportSettings, DetailTemplatesHaveNoPaperOrPageSections) {
    DesignedReport fixture({{"a"}, {"A"}, {}, 1});
    report::TSestDetail& detail = *fixture.details[0];
    detail.SetPredloha(kTemplate);
    designer::TFormSestE window;
    window.setMessageSink(&fixture.messages);
    ASSERT_TRUE(window.OpenSestava(&detail, 1, false));
    runDialog(window, 1, [](designer::TSestDlg* d) {
        for (const char* name : {"SEOkrajLevy", "SEOkrajHorni", "RbOrientationP", "CBOddH",
                                 "EditHP", "CbNePrvniHlava", "CbNePosledniPata"})
            EXPECT_FALSE(child<QWidget>(d, name)->isEnabled()) << name;
        EXPECT_TRUE(child<QWidget>(d, "CBOddT")->isEnabled());
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
