#include "StandInLibrary.h"
#include "TestFiles.h"
#include "WindowFixture.h"

#include "app/Texts.h"
#include "app/info.h"

#include <QDir>

namespace {

class MainWindow : public testing::Test, public WindowFixture {
protected:
    void SetUp() override { StandIn::reset(); }
    bool bold(const QString& label) const { return find(label)->font().bold(); }
};

} // namespace

TEST_F(MainWindow, StartsBorderlessOnTheStartPageAfterOneMessageOnABadConfiguration) {
    open(StandIn::library(), QByteArray("1\n1\n1\nabc\n"));
    EXPECT_EQ(page(), "TabSheetVstup");
    EXPECT_TRUE(window->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(messages.messages(),
              QStringList{QString::fromUtf8("Chyba při otevírání konfiguračního souboru - ") +
                          cfgPath()});
    // The start page's exit keeps what was read before the bad line, and closes even when the
    // folder is gone.
    click("Image15");
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(cfgBytes(), QByteArray("1\r\n1\r\n1\r\n4\r\n3\r\n4\r\n"));
    window.reset();
    open(StandIn::library());
    ASSERT_TRUE(dir.remove());
    click("Image15");
    EXPECT_FALSE(window->isVisible());
    // Settings that cannot be written are not lost in silence: the close says so once, in the
    // language of the moment (Czech until one is chosen). Here kolv.cfg is a folder.
    const auto told = [&](int language) { return texts::configWriteError(language) + cfgPath(); };
    EXPECT_EQ(messages.messages().mid(1), QStringList{told(texts::Czech)});
    window.reset();
    ASSERT_TRUE(QDir().mkpath(cfgPath()));
    open(StandIn::library(), std::nullopt);
    chooseLanguage(texts::English);
    click("Image5");
    EXPECT_EQ(messages.messages().mid(3), QStringList{told(texts::English)});
}

TEST_F(MainWindow, EnglishRelabelsEveryMenuAndThePagesAndOpensTheSameHelp) {
    open(StandIn::library());
    chooseLanguage(1);
    EXPECT_EQ(page(), "TabSheetVypocet");
    for (int page = 0; page < 4; ++page)
        for (int tag = 1; tag <= 6; ++tag)
            EXPECT_EQ(text(QString("menu%1_%2").arg(page).arg(tag)), texts::menuCaption(1, tag));
    EXPECT_EQ(text("Label1"), texts::inputLabel(1, 1));
    EXPECT_EQ(text("lblMetastab"), texts::metastableCaption(1, false));
    compute("26.85", "3");
    tickBanner(7);
    EXPECT_EQ(text("lblNazevOblasti"), "Pressure water");
    // F1 opens the help of the control under the focus, the index where there is none.
    QTest::keyClick(find<QLineEdit>("Edit1"), Qt::Key_F1);
    QTest::keyClick(find("Image1"), Qt::Key_F1);
    EXPECT_EQ(help.topics, (HelpTopics{{"kolv.hlp", 30}, {"kolv.hlp", 0}}));
}

TEST_F(MainWindow, DiagramOpensNoChartWindowWithoutTheBitmap) {
    open(StandIn::library(), "2\r\n3\r\n6\r\n4\r\n3\r\n4\r\n", false);
    QTRY_COMPARE(messages.messages().size(), 1);
    EXPECT_TRUE(messages.messages().front().contains("DiagrTS.bmp"));
    chooseLanguage(0);
    EXPECT_EQ(modalsOpenedBy([this] { click("menu0_5"); }), 0);
    EXPECT_FALSE(state().DiagramLoaded);
}

TEST_F(MainWindow, StartPageImagesActOnALeftClickOnlyWorkingPagesDragTheWindow) {
    open(StandIn::library());
    for (int set = 1; set <= 3; ++set) {
        int shownSet = 0;
        whenModal([&](QDialog* dialog) { shownSet = dialog ? window->infoForm()->TextSet : 0; });
        click(QString("Image%1").arg(set + 9));
        EXPECT_EQ(shownSet, set);
    }
    EXPECT_EQ(modalsOpenedBy([this] {
                  for (const char* image : {"Image10", "Image13", "Image15"})
                      for (Qt::MouseButton button : {Qt::RightButton, Qt::MiddleButton})
                          QTest::mouseClick(find(image), button);
              }),
              0);
    EXPECT_EQ(page(), "TabSheetVstup");
    EXPECT_TRUE(window->isVisible());
    const QPoint before = window->pos();
    drag(find("ImageVstup"), QPoint(200, 250), QPoint(30, 30)); // the start page does not drag
    EXPECT_EQ(window->pos(), before);
    click("Image13");
    EXPECT_EQ(page(), "TabSheetVypocet");
    QTest::mouseClick(find("Image5"), Qt::RightButton);
    EXPECT_TRUE(window->isVisible());

    // A working page's background moves the window by the offset.
    QLabel* background = find("Image1");
    drag(background, QPoint(200, 250), QPoint(20, 15));
    EXPECT_EQ(window->pos(), before + QPoint(20, 15));
    EXPECT_FALSE(state().Dragging);
    QTest::mouseMove(background, QPoint(100, 100));
    EXPECT_EQ(window->pos(), before + QPoint(20, 15));
    // Beside a computed row's strip, which ends with the row's text, the background drags too.
    QWidget* strip = find<QWidget>("ShapeV1");
    EXPECT_LT(strip->geometry().right(), 420);
    const QPoint beside(470, strip->geometry().center().y());
    EXPECT_EQ(find<QWidget>("TabSheetVypocet")->childAt(beside), background);
    drag(background, beside, QPoint(10, 5));
    EXPECT_EQ(window->pos(), before + QPoint(30, 20));
    EXPECT_EQ(state().QuantityOrder[1], 1); // nothing rotated
}

TEST_F(MainWindow, BoldMenuCaptionsDoNotTouchTheirNeighbours) {
    for (int language : {0, 1}) {
        window.reset();
        open(StandIn::library());
        chooseLanguage(language);
        for (int tag = 1; tag <= 6; ++tag) {
            QTest::mouseMove(find(QString("menu0_%1").arg(tag)));
            for (int left = 1; left < 6; ++left)
                EXPECT_LT(find(QString("menu0_%1").arg(left))->geometry().right() + 4,
                          find(QString("menu0_%1").arg(left + 1))->x())
                    << "language " << language << ", tag " << tag << " bold";
        }
        EXPECT_LT(find("menu0_6")->geometry().right(), find("Image5")->x());
    }
}

// Without a file to start from, the defaults are written (read-back values: the Ranges test).
TEST_F(MainWindow, TheCalculationPagesExitWritesTheDefaultsWithoutAFile) {
    open(StandIn::library(), std::nullopt);
    chooseLanguage(0);
    click("Image5");
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(cfgBytes(), QByteArray("2\r\n3\r\n6\r\n4\r\n3\r\n4\r\n"));
}

TEST(HelpTopics, EveryContextHasATopicInBothLanguages) {
    for (int context : {0, 30, 40, 50, 60, 70}) {
        const QString path = platform::helpTopicPath("kolv.hlp", context); // no fallback
        EXPECT_EQ(path.section('/', -1), context ? QString("%1.html").arg(context) : "index.html");
        EXPECT_GE(QString::fromUtf8(readFile(path)).count("<h1>"), 2) << context;
    }
}

// The menu switches pages; the current page's label does nothing. Hover makes a label bold until
// the mouse reaches the background; disabled labels are dimmed and ignore the mouse.
TEST_F(MainWindow, MenuSwitchesPagesHoverMakesAnActiveLabelBoldDisabledOnesStayDim) {
    open(StandIn::library());
    chooseLanguage(0);
    EXPECT_TRUE(bold("menu0_1"));
    find<QLineEdit>("Edit2")->setFocus();
    click("menu0_1");
    EXPECT_EQ(QApplication::focusWidget(), find<QLineEdit>("Edit2"));

    click("menu0_3");
    EXPECT_EQ(page(), "TabSheetFunkce");
    EXPECT_EQ(state().CurrentPageTag, 3);
    EXPECT_TRUE(bold("menu2_3"));
    EXPECT_FALSE(bold("menu2_1"));
    EXPECT_TRUE(find("menu1_5")->isEnabled());

    click("menu2_4");
    EXPECT_EQ(page(), "TabSheetRozsahy");
    click("menu3_1");
    EXPECT_EQ(page(), "TabSheetVypocet");
    EXPECT_EQ(QApplication::focusWidget(), find<QLineEdit>("Edit1"));
    click("menu0_6");
    EXPECT_EQ(page(), "TabSheetVypocet");

    QTest::mouseMove(find("menu0_3"));
    EXPECT_TRUE(bold("menu0_3"));
    EXPECT_TRUE(state().HoverActive);
    QTest::mouseMove(find("menu0_4"));
    EXPECT_FALSE(bold("menu0_3"));
    EXPECT_TRUE(bold("menu0_4"));
    EXPECT_EQ(state().HoveredTag, 4);
    // A point of the background that no control covers.
    QTest::mouseMove(find("Image1"), QPoint(450, 110));
    EXPECT_FALSE(bold("menu0_4"));
    EXPECT_TRUE(bold("menu0_1"));
    EXPECT_FALSE(state().HoverActive);
    EXPECT_EQ(state().HoveredTag, 0);
    // With the chart loaded the Calculation page opens it; on the Functions page chart and print
    // are disabled.
    QTRY_VERIFY(state().DiagramLoaded);
    QString opened;
    whenModal([&](QDialog* dialog) { opened = dialog ? dialog->windowTitle() : QString(); });
    click("menu0_5");
    EXPECT_EQ(opened, "Diagramy");
    click("menu0_3");
    EXPECT_EQ(modalsOpenedBy([this] { click("menu2_5"); }), 0);
    QTest::mouseMove(find("menu2_6"));
    EXPECT_FALSE(bold("menu2_6"));
    EXPECT_FALSE(state().HoverActive);
    // The brightest pixel of a label's text: white for an active label.
    auto brightest = [this](const QString& name) {
        const QImage image = find(name)->grab().toImage();
        int best = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                best = std::max(best, qGray(image.pixel(x, y)));
        return best;
    };
    EXPECT_GT(brightest("menu2_4"), 240);
    for (const char* disabled : {"menu2_5", "menu2_6", "menu3_5", "menu3_6"})
        EXPECT_LT(brightest(disabled), 180) << disabled;
}
