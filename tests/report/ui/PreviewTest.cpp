// The preview form, offscreen: page moves and their enabling, the page-number box, zoom and
// the panel's size, keys, printing through the print dialog, and exports with their error box.

#include "FullDisk.h"
#include "support/ExportFixture.h"
#include "support/QtPrinters.h"

#include "Cups.h"

#include "platform/MessageSink.h"
#include "platform/Printers.h"
#include "report/engine/document/sestvyst_print.h"
#include "report/engine/ui/sest_dlg.h"
#include "report/engine/ui/sestp.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QStyle>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace report;
using namespace reporttest;

namespace {

// A document of `pages` A4 pages with one text each, and a preview showing it.
struct Preview {
    explicit Preview(int pages, int start = 1, int end = 9999) {
        for (int p = 0; p < pages; ++p)
            d.text(p, 100, 100, 300, 30, QStringLiteral("page %1").arg(p + 1));
        d.doc.SetPageLayout({826, 1169, 50, 50, 50, 50});
        d.doc.SetPageRange(start, end, 0, 1);
        form.setMessageSink(&messages);
        form.setFileChooser(&chooser);
        form.SetDocument(&d.doc);
        form.SetZoom(TFormSestP::DefaultZoomStep);
    }
    QList<bool> pageActions() const {
        return {form.ActionPgFi->isEnabled(), form.ActionPgUp->isEnabled(),
                form.ActionPgDn->isEnabled(), form.ActionPgLa->isEnabled()};
    }
    ExportDocument d;
    platform::MessageRecorder messages;
    RecordingChooser chooser;
    TFormSestP form;
};

TEST(Preview, PageActionsFollowTheRange) {
    Preview one(1);
    EXPECT_EQ(one.pageActions(), (QList<bool>{false, false, false, false}));

    Preview five(5);
    EXPECT_EQ(five.form.CurrentPage(), 0);
    EXPECT_EQ(five.pageActions(), (QList<bool>{false, false, true, true}));
    five.form.show();
    QTest::keyClick(&five.form, Qt::Key_PageUp);
    EXPECT_EQ(five.form.CurrentPage(), 0);
    QTest::keyClick(&five.form, Qt::Key_PageDown);
    EXPECT_EQ(five.form.CurrentPage(), 1);
    EXPECT_EQ(five.pageActions(), (QList<bool>{true, true, true, true}));
    QTest::keyClick(&five.form, Qt::Key_PageDown, Qt::ControlModifier);
    EXPECT_EQ(five.form.CurrentPage(), 4);
    EXPECT_EQ(five.pageActions(), (QList<bool>{true, true, false, false}));
    QTest::keyClick(&five.form, Qt::Key_PageDown);
    EXPECT_EQ(five.form.CurrentPage(), 4);
    QTest::keyClick(&five.form, Qt::Key_PageUp, Qt::ControlModifier);
    EXPECT_EQ(five.form.CurrentPage(), 0);
    EXPECT_EQ(five.form.findChild<QLabel*>("PanelPage")->text(), "1");
    EXPECT_EQ(five.form.findChild<QLabel*>("PanelCount")->text(), "5");

    // Pages 2 to 4 of five: the moves stay inside.
    Preview range(5, 2, 4);
    EXPECT_EQ(range.form.CurrentPage(), 1);
    range.form.ActionPgLa->trigger();
    EXPECT_EQ(range.form.CurrentPage(), 3);
    range.form.GoNext();
    EXPECT_EQ(range.form.CurrentPage(), 3);
    range.form.GoFirst();
    EXPECT_EQ(range.form.CurrentPage(), 1);
    range.form.GoPrevious();
    EXPECT_EQ(range.form.CurrentPage(), 1);
    range.form.GoLast();
    EXPECT_EQ(range.pageActions(), (QList<bool>{true, true, false, false}));

    Preview none(0);
    EXPECT_EQ(none.pageActions(), (QList<bool>{false, false, false, false}));
}

TEST(Preview, PageNumberBox) {
    Preview p(5, 2);
    QStringList asked;
    QString answer;
    p.form.setAskText([&](const QString& caption, const QString& prompt, QString& text) {
        asked << caption << prompt << text;
        text = answer;
        return true;
    });
    const auto ask = [&](const QString& text) {
        answer = text;
        p.form.ActionPage->trigger();
        return p.form.CurrentPage() + 1;
    };
    EXPECT_EQ(ask("999"), 5);
    EXPECT_EQ(asked, (QStringList{"Výběr stránky", "Stránka číslo:", "2"}));
    EXPECT_EQ(ask("0"), 1);
    EXPECT_EQ(ask("4"), 4);
    EXPECT_EQ(ask("-5"), 1);
    EXPECT_EQ(ask("x"), 2); // not a number: the first page of the range
    EXPECT_EQ(ask(""), 2);  // nothing given: no change
    EXPECT_EQ(ask("3"), 3);
    EXPECT_EQ(ask(""), 3);
}

TEST(Preview, ZoomStepsAndPanelSize) {
    Preview p(2);
    p.form.resize(1000, 800);
    p.form.show();
    EXPECT_EQ(p.form.panel()->size(), QSize(826, 1169));
    EXPECT_TRUE(p.form.ActionZoom[6]->isChecked());
    p.form.ActionZoom[10]->trigger();
    EXPECT_EQ(p.form.panel()->size(), QSize(2478, 3507));
    EXPECT_FALSE(p.form.ActionZoom[6]->isChecked());
    EXPECT_EQ(p.form.panel()->pos(), QPoint(0, 0));
    p.form.ActionZoom[0]->trigger();
    EXPECT_EQ(p.form.panel()->size(), QSize(264, 374));
    // Smaller than the view: centred, also after a resize.
    const QSize view = p.form.findChild<QScrollArea*>()->viewport()->size();
    EXPECT_EQ(p.form.panel()->x(), (view.width() - 264) / 2);
    p.form.resize(1200, 900);
    QApplication::processEvents();
    const QSize wider = p.form.findChild<QScrollArea*>()->viewport()->size();
    EXPECT_EQ(p.form.panel()->x(), (wider.width() - 264) / 2);
    EXPECT_EQ(p.form.findChild<QLabel*>("PanelZoom")->text(), "32 %");
}

TEST(Preview, PanelShowsThePageOfTheDocument) {
    Preview p(2);
    p.form.show();
    const auto inked = [&] {
        const QImage image = p.form.panel()->grab().toImage();
        int dark = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                dark += qGray(image.pixel(x, y)) < 128;
        return dark;
    };
    const QImage first = p.form.panel()->grab().toImage();
    EXPECT_GT(inked(), 50);
    p.form.ActionPgDn->trigger();
    EXPECT_NE(p.form.panel()->grab().toImage(), first);
}

TEST(Preview, EscapeEditsWhenEditIsEnabledElseCloses) {
    Preview editing(1);
    editing.form.SetEditEnabled(true);
    editing.form.show();
    QTest::keyClick(&editing.form, Qt::Key_Escape);
    EXPECT_EQ(editing.form.result(), TFormSestP::EditTemplate);

    Preview closing(1);
    closing.form.SetEditEnabled(false);
    closing.form.show();
    QTest::keyClick(closing.form.panel(), Qt::Key_Escape);
    EXPECT_EQ(closing.form.result(), TFormSestP::Closed);
    EXPECT_FALSE(closing.form.isVisible());

    // Closing the window is no request to edit.
    Preview window(1);
    window.form.SetEditEnabled(true);
    window.form.show();
    window.form.close();
    EXPECT_EQ(window.form.result(), TFormSestP::Closed);
}

TEST(Preview, AllPagesHtmlWithoutOverwriteQuestions) {
    Preview p(3);
    QTemporaryDir dir;
    p.chooser.answer = dir.filePath("a.html");
    p.form.ActionPgDn->trigger();
    ASSERT_TRUE(p.form.ExportAllHtml());
    for (const char* name : {"a1.html", "a2.html", "a3.html"})
        EXPECT_TRUE(QFile::exists(dir.filePath(name))) << name;
    ASSERT_EQ(p.chooser.requests.size(), 1);
    EXPECT_EQ(p.chooser.requests[0].title, "Výběr souboru");
    EXPECT_FALSE(p.chooser.requests[0].confirmOverwrite);
    EXPECT_EQ(p.chooser.requests[0].defaultSuffix, ".html");
    EXPECT_EQ(p.form.CurrentPage(), 1);

    // Metafiles of all pages keep the chosen extension and its case; the page stays.
    p.chooser.answer = dir.filePath("Out.WMF");
    ASSERT_TRUE(p.form.ExportAllMetafiles());
    EXPECT_TRUE(QFile::exists(dir.filePath("Out3.WMF")));
    EXPECT_EQ(p.form.CurrentPage(), 1);
    EXPECT_EQ(p.d.doc.CurrentPage(), 1);
    p.chooser.answer = dir.filePath("One.emf");
    ASSERT_TRUE(p.form.ExportPageMetafile());
    EXPECT_EQ(readFile(dir.filePath("One.emf")).mid(40, 4), QByteArray(" EMF"));
    EXPECT_TRUE(p.chooser.requests.last().confirmOverwrite);
    EXPECT_TRUE(p.messages.messages().isEmpty());
}

TEST(Preview, FailedExportShowsTheErrorAndStaysOpen) {
    Preview p(2);
    p.form.show();
    QTemporaryDir dir;
    ASSERT_TRUE(writeFile(dir.filePath("blocked"), {}));
    for (auto run : {&TFormSestP::ExportText, &TFormSestP::ExportRtf, &TFormSestP::ExportPageHtml,
                     &TFormSestP::ExportAllMetafiles}) {
        p.chooser.answer = dir.filePath("blocked/out.x");
        EXPECT_FALSE((p.form.*run)());
    }
    ASSERT_EQ(p.messages.boxes().size(), 4);
    for (const platform::RecordedBox& box : p.messages.boxes()) {
        EXPECT_EQ(box.text, "Výstupní soubor se nepodařilo uložit.");
        EXPECT_EQ(box.caption, "Chyba");
    }
    EXPECT_TRUE(p.form.isVisible());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"blocked"});

    // A cancelled choice is no failure.
    p.chooser.answer.clear();
    EXPECT_FALSE(p.form.ExportRtf());
    EXPECT_EQ(p.messages.boxes().size(), 4);
}

// Each export of the pop-up menu over previous files of the names it writes: a page with a
// picture (written beside the HTML page) and texts.
TEST(Preview, OnAFullDiskEveryExportSaysSoAndLeavesThePreviousFiles) {
    if (!FullDisk::insidePrivateMounts()) return FullDisk::runTestInPrivateMounts();
    FullDisk disk;
    ASSERT_TRUE(disk.mounted());
    Preview p(2);
    QImage image(40, 40, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    p.d.picture(0, 300, 300, 120, 120, image); // the page's second element: page2.bmp
    for (const char* name : {"out.txt", "out.rtf", "page.emf", "page.wmf", "page.html",
                             "page2.bmp", "all1.emf", "all2.wmf", "all1.html", "all2.html"})
        ASSERT_TRUE(writeFile(disk.filePath(name), QByteArray("previous ") + name));
    ASSERT_TRUE(disk.fill());
    const auto before = disk.contents();

    const struct {
        const char* action;
        const char* file;
    } exports[] = {{"MenuSaveText", "out.txt"},       {"MenuSaveRtf", "out.rtf"},
                   {"MenuSavePageMeta", "page.emf"},  {"MenuSavePageMeta", "page.wmf"},
                   {"MenuSaveAllMeta", "all.emf"},    {"MenuSaveAllMeta", "all.wmf"},
                   {"MenuSavePageHtml", "page.html"}, {"MenuSaveAllHtml", "all.html"}};
    for (const auto& e : exports) {
        SCOPED_TRACE(e.file);
        p.chooser.answer = disk.filePath(e.file);
        QAction* action = p.form.pageMenu()->findChild<QAction*>(e.action);
        ASSERT_TRUE(action);
        action->trigger();
        ASSERT_FALSE(p.messages.boxes().isEmpty());
        EXPECT_EQ(p.messages.boxes().last().text, "Výstupní soubor se nepodařilo uložit.");
        EXPECT_EQ(p.messages.boxes().last().caption, "Chyba");
    }
    EXPECT_EQ(p.messages.boxes().size(), std::size(exports));
    EXPECT_EQ(disk.changedSince(before), "");
}

TEST(Preview, ContextMenuOffersTheExports) {
    Preview p(1);
    QStringList captions;
    for (QAction* a : p.form.pageMenu()->actions())
        if (a->menu())
            for (QAction* inner : a->menu()->actions())
                captions << inner->text();
    EXPECT_EQ(captions,
              (QStringList{"Textový soubor...", "Soubor ve formátu RTF...",
                           "Aktuální stránku jako EMF/WMF...", "Všechny stránky jako EMF/WMF...",
                           "Aktuální stránku jako HTML...", "Všechny stránky jako HTML...",
                           "První stránka", "Předchozí stránka", "Následující stránka",
                           "Poslední stránka", "Zobrazit stránku ..."}));
}

TEST(Preview, PrintsTheChosenRangeOnTheTestPrinter) {
    TestPrinter printer;
    Preview p(4);
    int before = 0, after = 0;
    p.form.OnBeforePrint = [&] { ++before; };
    p.form.OnAfterPrint = [&] { ++after; };
    QList<int> preset;
    TPrintDialogTyp::setModalHook([&](TSestPrintDlg& dlg) {
        preset << dlg.SpinFrom->value() << dlg.SpinTo->value() << dlg.SpinCopies->value();
        EXPECT_FALSE(dlg.GroupTemplate->isVisibleTo(&dlg));
        dlg.SpinFrom->setValue(2);
        dlg.SpinTo->setValue(3);
        return int(TPrintDialogTyp::Print);
    });
    QTest::keyClick(&p.form, Qt::Key_P, Qt::ControlModifier);
    TPrintDialogTyp::setModalHook({});
    EXPECT_EQ(preset, (QList<int>{1, 4, 1}));
    EXPECT_EQ(before, 1);
    EXPECT_EQ(after, 1);
    ASSERT_EQ(printer.pdfs().size(), 1);
    const ToolResult text = runTool("pdftotext", {printer.path(printer.pdfs()[0]), "-"});
    EXPECT_TRUE(text.out.contains("page 2") && text.out.contains("page 3"));
    EXPECT_FALSE(text.out.contains("page 1") || text.out.contains("page 4"));
}

// Runs where no scheduler runs (ctest runs it so): the print says that the print service does
// not run, and no print dialog offers printers that cannot be reached.
TEST(PreviewWithoutPrinter, PrintingWarns) {
    if (!platform::PrinterSystem::instance().printerNames().isEmpty())
        GTEST_SKIP() << "printers are installed; the no-scheduler run covers this";
    Preview p(1);
    bool asked = false;
    TPrintDialogTyp::setModalHook([&](TSestPrintDlg&) {
        asked = true;
        return 0;
    });
    p.form.ActionPrint->trigger();
    TPrintDialogTyp::setModalHook({});
    EXPECT_FALSE(asked);
    ASSERT_EQ(p.messages.boxes().size(), 1);
    EXPECT_TRUE(p.messages.boxes()[0].text.contains(QString::fromUtf8("neběží")))
        << p.messages.boxes()[0].text.toStdString();
    EXPECT_EQ(p.messages.boxes()[0].caption, "Chyba");
}

} // namespace

// Page Up and Down (with Ctrl: first and last page) turn pages wherever the focus is in the
// preview, as the user puts it there: on the page (a click) or on the scroll area. They
// never scroll instead.
TEST(Preview, PageKeysTurnPagesWhereverTheFocusIs) {
    Preview five(5);
    five.form.show();
    five.form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&five.form));
    QScrollArea* scroll = five.form.findChild<QScrollArea*>("ScrollBox");
    ASSERT_NE(scroll, nullptr);
    for (int holder = 0; holder < 2; ++holder) {
        if (holder == 0)
            QTest::mouseClick(five.form.panel(), Qt::LeftButton);
        else
            scroll->setFocus(Qt::TabFocusReason);
        QWidget* focused = QApplication::focusWidget();
        ASSERT_EQ(focused, holder == 0 ? static_cast<QWidget*>(five.form.panel()) : scroll);
        five.form.GoFirst();
        const int scrolled = scroll->verticalScrollBar()->value();
        QTest::keyClick(focused, Qt::Key_PageDown);
        EXPECT_EQ(five.form.CurrentPage(), 1) << holder;
        QTest::keyClick(focused, Qt::Key_PageDown, Qt::ControlModifier);
        EXPECT_EQ(five.form.CurrentPage(), 4) << holder;
        QTest::keyClick(focused, Qt::Key_PageUp);
        EXPECT_EQ(five.form.CurrentPage(), 3) << holder;
        QTest::keyClick(focused, Qt::Key_PageUp, Qt::ControlModifier);
        EXPECT_EQ(five.form.CurrentPage(), 0) << holder;
        QTest::keyClick(focused, Qt::Key_PageUp); // on the first page: nothing at all
        EXPECT_EQ(five.form.CurrentPage(), 0) << holder;
        EXPECT_EQ(scroll->verticalScrollBar()->value(), scrolled) << holder;
    }
}

// The print action shows a printer, not the floppy disk of saving; saving to a file is on the
// toolbar as well, with the same exports as the page's context menu.
TEST(Preview, ToolbarPrintsWithAPrinterAndSavesToFiles) {
    Preview p(2);
    const QImage floppy =
        p.form.style()->standardIcon(QStyle::SP_DialogSaveButton).pixmap(16).toImage();
    const QImage print = p.form.ActionPrint->icon().pixmap(16).toImage();
    ASSERT_FALSE(print.isNull());
    EXPECT_NE(print.convertToFormat(floppy.format()), floppy);

    p.form.show();
    auto* save = p.form.findChild<QToolButton*>("ButtonSave");
    ASSERT_NE(save, nullptr);
    EXPECT_TRUE(save->isVisibleTo(&p.form));
    ASSERT_NE(save->menu(), nullptr);
    QMenu* contextSave = nullptr;
    for (QAction* a : p.form.pageMenu()->actions())
        if (a->menu() && a->menu()->objectName() == "MenuSave") contextSave = a->menu();
    ASSERT_NE(contextSave, nullptr);
    EXPECT_EQ(save->menu()->actions(), contextSave->actions());

    QTemporaryDir dir;
    p.chooser.answer = dir.filePath("z-tlacitka.txt");
    save->menu()->actions().first()->trigger(); // "Textový soubor..."
    const QByteArray text = readFile(p.chooser.answer);
    EXPECT_TRUE(text.contains("page 1") && text.contains("page 2")) << text.toStdString();
}

// Landscape chosen in the printer's properties from the print dialog holds for that print,
// though the template fixes portrait: the printed sheet is landscape (the page is then fitted
// to it). Without the properties the template's portrait holds.
TEST(Preview, TheOrientationChosenInThePrinterPropertiesIsPrinted) {
    TestPrinter printer;
    SetPrintFitDialog([](const TSestVystup::PageLayout&, int& c, int& r, int& z) {
        c = r = 1;
        z = 50;
        return true;
    });
    for (const bool viaProperties : {true, false}) {
        Preview p(1);
        TPrintDialogTyp::setModalHook([&](TSestPrintDlg& dlg) {
            if (!viaProperties) return int(TPrintDialogTyp::Print);
            // The system's page-setup dialog, answered as a user does: Landscape, then OK.
            QTimer::singleShot(0, [] {
                QWidget* setup = QApplication::activeModalWidget();
                ASSERT_NE(setup, nullptr);
                auto* landscape = setup->findChild<QRadioButton*>("landscape");
                ASSERT_NE(landscape, nullptr);
                landscape->click();
                QMetaObject::invokeMethod(setup, "accept");
            });
            dlg.ButtonProperties->click();
            return int(TPrintDialogTyp::Print);
        });
        p.form.ActionPrint->trigger();
        TPrintDialogTyp::setModalHook({});
        ASSERT_FALSE(printer.pdfs().isEmpty());
        const QString size =
            testsupport::pdfInfo(printer.path(printer.pdfs().last()), "Page size");
        const QStringList parts = size.split(' ');
        ASSERT_GE(parts.size(), 3) << size.toStdString();
        const bool landscape = parts[0].toDouble() > parts[2].toDouble();
        EXPECT_EQ(landscape, viaProperties) << size.toStdString();
    }
    SetPrintFitDialog({});
}

// The arrow keys scroll the page view by a step, wherever the focus is in the preview: where
// it stands when the preview opens, on the page (a click) or on the scroll area. They never
// turn the page.
TEST(Preview, ArrowKeysScrollThePageViewWhereverTheFocusIs) {
    Preview two(2);
    two.form.resize(700, 500);
    two.form.ActionZoom[10]->trigger();
    two.form.show();
    two.form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&two.form));
    QScrollArea* scroll = two.form.findChild<QScrollArea*>("ScrollBox");
    QScrollBar* h = scroll->horizontalScrollBar();
    QScrollBar* v = scroll->verticalScrollBar();
    const struct {
        Qt::Key key;
        int dx, dy;
    } moves[] = {
        {Qt::Key_Right, 1, 0}, {Qt::Key_Down, 0, 1}, {Qt::Key_Left, -1, 0}, {Qt::Key_Up, 0, -1}};
    for (int holder = 0; holder < 3; ++holder) {
        if (holder == 1) QTest::mouseClick(two.form.panel(), Qt::LeftButton);
        if (holder == 2) scroll->setFocus(Qt::TabFocusReason);
        QWidget* focused = QApplication::focusWidget();
        ASSERT_NE(focused, nullptr) << holder;
        h->setValue(h->maximum() / 2);
        v->setValue(v->maximum() / 2);
        for (const auto& m : moves) {
            const QPoint before = two.form.panel()->mapTo(scroll->viewport(), QPoint(0, 0));
            const int hBefore = h->value(), vBefore = v->value();
            QTest::keyClick(focused, m.key);
            EXPECT_EQ(h->value() - hBefore, m.dx * h->singleStep()) << holder << ' ' << m.key;
            EXPECT_EQ(v->value() - vBefore, m.dy * v->singleStep()) << holder << ' ' << m.key;
            // The page itself moves the other way.
            const QPoint after = two.form.panel()->mapTo(scroll->viewport(), QPoint(0, 0));
            EXPECT_EQ(after - before, QPoint(hBefore - h->value(), vBefore - v->value()));
        }
        EXPECT_EQ(two.form.CurrentPage(), 0) << holder;
    }
}

// A background the preview draws itself (one the pages do not carry) stands where the page
// puts it, in page units from the paper's corner, scaled with the zoom; one carried by the
// pages is not drawn a second time.
TEST(Preview, BackgroundStandsWhereThePagePutsItAtEveryZoom) {
    QImage red(20, 10, QImage::Format_RGB32);
    red.fill(Qt::red);
    TPicture picture;
    picture.setBitmap(red);
    const platform::TRect placed{200, 300, 400, 400}; // page units: the paper is 826 wide
    const auto redBox = [](const QImage& image) {
        QRect box;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const QColor c = image.pixelColor(x, y);
                if (c.red() > 200 && c.green() < 60 && c.blue() < 60) box |= QRect(x, y, 1, 1);
            }
        return box;
    };
    for (const bool inPages : {false, true}) {
        Preview p(1);
        p.form.SetBackground(&picture, placed, inPages);
        p.form.show();
        for (const int step : {2, TFormSestP::DefaultZoomStep, 9}) {
            p.form.ActionZoom[step]->trigger();
            const QImage page = p.form.panel()->grab().toImage();
            const QRect box = redBox(page);
            if (inPages) {
                EXPECT_TRUE(box.isNull()) << step;
                continue;
            }
            const double scale = page.width() / 826.0;
            SCOPED_TRACE(scale);
            EXPECT_NEAR(box.left(), placed.left * scale, 1.5);
            EXPECT_NEAR(box.top(), placed.top * scale, 1.5);
            EXPECT_NEAR(box.right() + 1, placed.right * scale, 1.5);
            EXPECT_NEAR(box.bottom() + 1, placed.bottom * scale, 1.5);
        }
    }
}
