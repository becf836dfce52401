// The print dialog and the template and printer lists, offscreen: groups that collapse, the
// current-page box, results kept only when not cancelled, template titles and reselection,
// and the printer controls without printers.

#include "support/ExportFixture.h"
#include "support/QtPrinters.h"

#include "platform/Printers.h"
#include "report/engine/ui/sest_dlg.h"
#include "report/engine/ui/sestavyc.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using namespace report;
using namespace reporttest;

namespace {

// Answers the form with `press` after `act`, recording the form's height.
struct Answer {
    explicit Answer(std::function<int(TSestPrintDlg&)> act) {
        TPrintDialogTyp::setModalHook([this, act](TSestPrintDlg& dlg) {
            height = dlg.height();
            return act(dlg);
        });
    }
    ~Answer() { TPrintDialogTyp::setModalHook({}); }
    int height = 0;
};

TEST(PrintDialog, HiddenGroupsCollapseTheForm) {
    TPrintDialogTyp all;
    int full = 0;
    {
        Answer a([](TSestPrintDlg&) { return 0; });
        all.Execute();
        full = a.height;
    }
    TPrintDialogTyp pagesOnly;
    pagesOnly.ShowPrinterGroup = false;
    pagesOnly.ShowTemplateGroup = false;
    int buttonsBelow = -1, groupBottom = -1, boxBelow = -1;
    Answer a([&](TSestPrintDlg& dlg) {
        groupBottom = dlg.GroupPages->geometry().bottom();
        buttonsBelow = dlg.ButtonPrint->geometry().top();
        boxBelow = dlg.CheckBackground->geometry().top();
        EXPECT_EQ(dlg.windowTitle(), "Nastavení tisku");
        return 0;
    });
    EXPECT_EQ(pagesOnly.Execute(), 0);
    EXPECT_LT(a.height, full - 60);
    EXPECT_GT(buttonsBelow, groupBottom);
    EXPECT_LT(buttonsBelow, groupBottom + 30);
    EXPECT_GT(boxBelow, buttonsBelow);
}

TEST(PrintDialog, ResultsStayAfterCancelAndChangeOtherwise) {
    TPrintDialogTyp d;
    d.FromPage = 2;
    d.ToPage = 7;
    d.Copies = 3;
    const auto edit = [](TSestPrintDlg& dlg) {
        EXPECT_EQ(dlg.SpinFrom->value(), 2);
        EXPECT_EQ(dlg.SpinTo->value(), 7);
        EXPECT_EQ(dlg.SpinCopies->maximum(), 9999);
        dlg.SpinFrom->setValue(4);
        dlg.SpinCopies->setValue(5);
        QTest::mouseClick(dlg.CheckCurrentPage, Qt::LeftButton);
        EXPECT_FALSE(dlg.SpinFrom->isEnabled());
        EXPECT_FALSE(dlg.SpinTo->isEnabled());
        dlg.CheckCurrentPage->setChecked(false);
        EXPECT_TRUE(dlg.SpinFrom->isEnabled());
        dlg.CheckOneRecord->setChecked(true);
    };
    {
        Answer a([&](TSestPrintDlg& dlg) {
            edit(dlg);
            dlg.ButtonCancel->click();
            return dlg.result();
        });
        EXPECT_EQ(d.Execute(), TPrintDialogTyp::Cancelled);
    }
    EXPECT_EQ(d.FromPage, 2);
    EXPECT_EQ(d.Copies, 3);
    EXPECT_FALSE(d.OneRecordOnly);
    const std::pair<const char*, int> buttons[] = {
        {"ButtonPreview", TPrintDialogTyp::Preview},
        {"ButtonEdit", TPrintDialogTyp::Edit},
    };
    for (const auto& button : buttons) {
        const char* name = button.first;
        const int expected = button.second;
        d.FromPage = 2;
        Answer a([&](TSestPrintDlg& dlg) {
            edit(dlg);
            dlg.findChild<QPushButton*>(name)->click();
            return dlg.result();
        });
        EXPECT_EQ(d.Execute(), expected) << name;
        EXPECT_EQ(d.FromPage, 4);
        EXPECT_EQ(d.Copies, 5);
        EXPECT_TRUE(d.OneRecordOnly);
    }
}

TEST(PrintDialog, FlagsDisableAndHideControls) {
    TPrintDialogTyp d;
    d.EnableEdit = false;
    d.EnablePreview = false;
    d.ShowOneRecord = false;
    d.ShowBackground = false;
    Answer a([](TSestPrintDlg& dlg) {
        EXPECT_FALSE(dlg.ButtonEdit->isEnabled());
        EXPECT_FALSE(dlg.ButtonPreview->isEnabled());
        EXPECT_FALSE(dlg.CheckOneRecord->isVisibleTo(&dlg));
        EXPECT_FALSE(dlg.CheckBackground->isVisibleTo(&dlg));
        EXPECT_TRUE(dlg.CheckCurrentPage->isVisibleTo(&dlg));
        return 0;
    });
    d.Execute();
}

TEST(TemplateCombo, MaskFolderAndTitles) {
    TComboBoxPredloha combo;
    combo.SetReportMask("*.txt");
    EXPECT_EQ(combo.ReportMask(), "*.pts");
    combo.SetReportMask("Tisk*");
    EXPECT_EQ(combo.ReportMask(), "Tisk*.pts");
    combo.SetReportDir("/tmp/Some.Dir");
    EXPECT_EQ(combo.ReportDir(), "/tmp/Some.Dir/");

    QTemporaryDir dir;
    writeFile(dir.filePath("Druhy.pts"), "I,1,\"x\"\r\nI,0,\"Druhá \"\"sestava\"\"\"\r\n");
    writeFile(dir.filePath("Prvni.PTS"), "I,0,\"Body\"\r\n");
    writeFile(dir.filePath("junk.pts"), QByteArray("\x00\xff\x01I,0,\"", 8));
    writeFile(dir.filePath("empty.pts"), "");
    writeFile(dir.filePath("cp1250.pts"), "I,0,\"\xc8\xed\x9a\xe8\"\r\n");
    writeFile(dir.filePath("zz_bom.pts"),
              "\xEF\xBB\xBFI,0,\"S BOM\"\r\n"); // as the reader reads it
    writeFile(dir.filePath("other.txt"), "I,0,\"no\"\r\n");
    QDir(dir.path()).mkdir("folder.pts");
    combo.SetReportMask("*");
    combo.SetReportDirIgnore(false);
    combo.SetReportDir(dir.path());
    TableReport t({"a"});
    combo.Report = &t.report;
    combo.Reload("PRVNI.pts");
    QStringList titles;
    for (int i = 0; i < combo.count(); ++i)
        titles << combo.itemText(i);
    EXPECT_EQ(titles,
              (QStringList{"Číšč", "Druhá \"sestava\"", "empty.pts", "junk.pts", "Body", "S BOM"}))
        << titles.join('|').toStdString();
    EXPECT_EQ(combo.currentText(), "Body");
    // The real name, case kept.
    EXPECT_EQ(combo.GetFileName(), dir.filePath("Prvni.PTS"));
    EXPECT_EQ(t.report.GetReportName(), dir.filePath("Prvni.pts"));
    combo.setCurrentIndex(1);
    EXPECT_EQ(t.report.GetReportName(), dir.filePath("Druhy.pts"));

    // Dropping down rebuilds and selects the text shown before.
    writeFile(dir.filePath("Aaa.pts"), "I,0,\"Aaa\"\r\n");
    combo.showPopup();
    combo.hidePopup();
    EXPECT_EQ(combo.itemText(0), "Aaa");
    EXPECT_EQ(combo.currentText(), "Druhá \"sestava\"");

    combo.SetReportDir(dir.filePath("missing"));
    combo.Reload({});
    EXPECT_EQ(combo.count(), 0);
    EXPECT_EQ(combo.GetFileName(), "");
}

TEST(TemplateCombo, ProgramFolderAndListEvent) {
    QTemporaryDir exe;
    writeFile(exe.filePath("zostava.pts"), "I,0,\"Program\"\r\n");
    TComboBoxPredloha combo(nullptr, exe.path());
    combo.SetReportDir("/nonexistent");
    combo.Reload("zostava.pts");
    EXPECT_EQ(combo.currentText(), "Program");
    combo.OnNactiSeznam = [](TComboBoxPredloha* c) { c->AddTemplate("/x/Own.pts", "Own"); };
    combo.Reload("/X/OWN.PTS");
    EXPECT_EQ(combo.count(), 1);
    EXPECT_EQ(combo.GetFileName(), "/x/Own.pts");
}

TEST(PrinterCombo, TestPrinterIsListedAndSelected) {
    TestPrinter printer;
    platform::PrinterSystem& printers = platform::PrinterSystem::instance();
    TComboBoxPrinter combo;
    combo.SetPrinterIndex(-1);
    EXPECT_EQ(combo.count(), printers.printerNames().size());
    EXPECT_EQ(combo.GetPrinterIndex(), std::max(printers.currentIndex(), 0));
    combo.SetPrinterIndex(combo.count());
    EXPECT_EQ(combo.GetPrinterIndex(), -1);
}

// Runs where no printer is installed (ctest runs it with no scheduler).
TEST(PrintDialogWithoutPrinter, PrinterControlsAreDisabled) {
    if (!platform::PrinterSystem::instance().printerNames().isEmpty())
        GTEST_SKIP() << "printers are installed; the no-scheduler run covers this";
    TComboBoxPrinter combo;
    combo.SetPrinterIndex(-1);
    EXPECT_EQ(combo.currentIndex(), -1);
    EXPECT_EQ(combo.GetPrinterIndex(), -1);
    TPrintDialogTyp d;
    EXPECT_EQ(d.PrinterIndex, -1);
    Answer a([](TSestPrintDlg& dlg) {
        EXPECT_FALSE(dlg.ButtonProperties->isEnabled());
        EXPECT_FALSE(dlg.ButtonPrint->isEnabled());
        EXPECT_FALSE(dlg.ComboPrinter->isEnabled());
        EXPECT_FALSE(dlg.CheckToFile->isEnabled());
        EXPECT_TRUE(dlg.ButtonPreview->isEnabled());
        return int(TPrintDialogTyp::Preview);
    });
    EXPECT_EQ(d.Execute(), TPrintDialogTyp::Preview);
    EXPECT_EQ(d.PrinterIndex, -1);
}

} // namespace
