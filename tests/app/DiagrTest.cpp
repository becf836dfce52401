// The T-s chart window as a view of the calculation model: marker placement, hints, the two
// display modes, panning and the overview; and the loader of the chart bitmap.

#include "StandInLibrary.h"
#include "TestFiles.h"
#include "WindowFixture.h"

#include "app/CalculationModel.h"
#include "app/Diagr.h"
#include "platform/Help.h"
#include "platform/MessageSink.h"
#include "resources/TsChartFrame.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

QPixmap plainChart(QSize size = {1000, 1700}) {
    QPixmap chart(size);
    chart.fill(Qt::white);
    return chart;
}

using Mouse = WindowFixture; // its drag: press, move by an offset, release

class ChartWindow : public testing::Test {
protected:
    void SetUp() override {
        StandIn::reset();
        setState(100, 1.3069);
    }
    // Shows the window, or hides and shows it again as a new opening does.
    void open(QSize size = {1000, 1700}) {
        form.hide();
        form.setChart(plainChart(size));
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    }
    // The Calculation page's state, or row `row` of the Points table, at (t, s).
    void setState(double t, double s) {
        model.state().StateValues = {0, t, 0.101325, 1.0435, s, 419.1, 0};
    }
    void setPoint(int row, double t, double s) {
        const std::array<double, 7> values{1.0, t, 0.101325, 1.0435, s, 419.1, 0};
        for (std::size_t q = 0; q <= 6; ++q)
            model.state().PointsTable[q][std::size_t(row)] = values[q];
        model.state().PointsPageShown = true;
    }
    template <typename T = QWidget> T* find(const QString& name) {
        T* widget = form.findChild<T*>(name);
        EXPECT_NE(widget, nullptr) << name.toStdString();
        return widget;
    }
    QWidget* marker(int i) { return find(QString("bod%1").arg(i)); }
    QWidget* image() { return find("ImageTS"); }
    QWidget* frame() { return find("poloha"); }
    QRect overview() { return find("ImageNahled")->geometry(); }

    // The marker's centre lies on (s, t) of the chart as it is drawn now, within a pixel.
    void expectMarkerAt(int i, double t, double s) {
        const QPoint centre = marker(i)->pos() + QPoint(3, 3) - image()->pos();
        EXPECT_NEAR(centre.x(), tschart::X(s) / tschart::FrameWidth * image()->width(), 1) << i;
        EXPECT_NEAR(centre.y(), tschart::Y(t) / tschart::FrameHeight * image()->height(), 1) << i;
    }
    // The chart covers the whole window: panning never shows a gap.
    void expectCovered() {
        EXPECT_LE(image()->x(), 0);
        EXPECT_LE(image()->y(), 0);
        EXPECT_GE(image()->geometry().right(), form.width() - 1);
        EXPECT_GE(image()->geometry().bottom(), std::min(form.height(), image()->height()) - 1);
    }

    CalculationModel model{StandIn::library()};
    platform::MessageRecorder messages;
    TDiagramForm form{model, messages};
};

} // namespace

TEST_F(ChartWindow, OpensAtNaturalSizeWithTheOverviewAndTheMarkerAndHintOfItsState) {
    open();
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    EXPECT_EQ(form.pos(), screen.topLeft());
    EXPECT_LE(form.width(), std::min(screen.width(), 1000));
    EXPECT_LT(form.height(), screen.height());
    EXPECT_EQ(image()->geometry(), QRect(0, 0, 1000, 1700));
    EXPECT_FALSE(form.stretched());
    EXPECT_TRUE(find("ImageNahled")->isVisible());
    // The frame sits in the overview's top left corner and shows the visible share.
    EXPECT_EQ(frame()->pos(), overview().topLeft() + QPoint(2, 2));
    EXPECT_TRUE(overview().adjusted(2, 2, -2, -2).contains(frame()->geometry()));
    EXPECT_NEAR(frame()->width() / 96.0, form.width() / 1000.0, 0.02);
    EXPECT_NEAR(frame()->height() / 166.0, form.height() / 1700.0, 0.02);
    EXPECT_TRUE(form.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(platform::helpContextOf(find("BitBtn3")), 70);
    EXPECT_EQ(marker(1)->geometry(), QRect(163, 1471, 6, 6)); // the worked example
    for (int i = 1; i <= kPointRows; ++i)
        EXPECT_EQ(marker(i)->isVisible(), i == 1) << i;
    // The hint holds six lines in the model's language and format.
    EXPECT_EQ(marker(1)->toolTip(), QString::fromUtf8("Teplota = 100.00 °C\n"
                                                      "Tlak = 0.101 MPa\n"
                                                      "Měrný objem = 1.043500 m3/kg\n"
                                                      "Entropie = 1.3069 kJ/kgK\n"
                                                      "Entalpie = 419.100 kJ/kg\n"
                                                      "Suchost pary = 0.0000  "));
    // The close button has the focus; Enter on it ends with 1.
    EXPECT_EQ(QApplication::focusWidget(), find("BitBtn3"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(form.result(), 1);

    model.state().Language = 1;
    model.state().DecimalSeparator = ',';
    model.state().DecimalPlaces = {0, 1, 2, 3, 4, 0, 2};
    open(QSize(500, 850));
    expectMarkerAt(1, 100, 1.3069);
    const QStringList lines = marker(1)->toolTip().split('\n');
    ASSERT_EQ(lines.size(), 6);
    EXPECT_EQ(lines[0], QString::fromUtf8("Temperature = 100,0 °C"));
    EXPECT_EQ(lines[4], "Specific enthalpy = 419 kJ/kg");
    setState(0, 0); // the all-zero start state is marked too
    open();
    EXPECT_TRUE(marker(1)->isVisible());
    expectMarkerAt(1, 0, 0);
    EXPECT_TRUE(messages.messages().isEmpty());
}

// The Calculation page's state (100 °C) is not used on the Points page.
TEST_F(ChartWindow, PointsPageMarksTheComputedRowsOnlyInRed) {
    setPoint(0, 500, 6.6); // both inside the smallest natural window
    setPoint(2, 600, 5.0);
    open();
    for (int i = 1; i <= kPointRows; ++i)
        EXPECT_EQ(marker(i)->isVisible(), i == 1 || i == 3) << i;
    expectMarkerAt(1, 500, 6.6);
    expectMarkerAt(3, 600, 5.0);
    const QImage shot = form.grab().toImage();
    for (int i : {1, 3}) {
        const QPoint centre = marker(i)->geometry().center();
        ASSERT_TRUE(form.rect().contains(centre)) << i;
        EXPECT_EQ(shot.pixelColor(centre * shot.devicePixelRatio()), QColor(Qt::red)) << i;
    }
    // Between the markers the plain chart shows.
    EXPECT_EQ(shot.pixelColor(QPoint(600, 574) * shot.devicePixelRatio()), QColor(Qt::white));
}

TEST_F(ChartWindow, AbsurdValuesHideEveryMarkerWithTheCzechMessage) {
    const QString message =
        QString::fromUtf8("Chybná hodnota veličiny při pokusu o zobrazení v TS - diagramu.");
    model.state().Language = 1;
    setPoint(0, 100, 1.3069);
    setPoint(4, 1e300, 1.0);
    open();
    for (int i = 1; i <= kPointRows; ++i)
        EXPECT_FALSE(marker(i)->isVisible()) << i;
    EXPECT_EQ(messages.messages(), QStringList{message});

    model.state().PointsPageShown = false;
    for (double s : {std::numeric_limits<double>::quiet_NaN(), -1e300}) {
        setState(20, s);
        open();
        EXPECT_FALSE(marker(1)->isVisible());
    }
    EXPECT_EQ(messages.messages(), (QStringList{message, message, message}));
}

TEST_F(ChartWindow, FitToHeightShowsTheWholeChartCentredAndBack) {
    open();
    const QSize natural = form.size();
    QTest::mouseClick(find<QPushButton>("BitBtn1"), Qt::LeftButton);
    ASSERT_TRUE(form.stretched());
    EXPECT_EQ(image()->pos(), QPoint(0, 0));
    EXPECT_EQ(image()->height(), natural.height());
    EXPECT_EQ(form.size(), image()->size());
    EXPECT_NEAR(double(image()->width()) / image()->height(), 1000.0 / 1700, 0.01);
    const int screenWidth = QGuiApplication::primaryScreen()->geometry().width();
    EXPECT_LE(std::abs(form.x() + form.geometry().right() - screenWidth + 1), 1);
    expectMarkerAt(1, 100, 1.3069);
    EXPECT_FALSE(find("ImageNahled")->isVisible());
    EXPECT_FALSE(frame()->isVisible());

    // Fitting again changes nothing; panning is off.
    const QSize fitted = image()->size();
    form.BitBtn1Click();
    EXPECT_EQ(image()->size(), fitted);
    Mouse::drag(image(), QPoint(100, 100), QPoint(-50, -50));
    EXPECT_EQ(image()->pos(), QPoint(0, 0));

    QTest::mouseClick(find<QPushButton>("BitBtn2"), Qt::LeftButton);
    EXPECT_EQ(form.size(), natural);
    EXPECT_EQ(image()->size(), QSize(1000, 1700));
    EXPECT_EQ(marker(1)->pos(), QPoint(163, 1471));
    EXPECT_TRUE(find("ImageNahled")->isVisible());

    // A bitmap twice the window's height is fitted at k = 50: half its width.
    const int height = 2 * natural.height();
    open(QSize(1000, height));
    form.BitBtn1Click();
    EXPECT_EQ(image()->size(), QSize(500, height / 2));
}

TEST_F(ChartWindow, PanningTheChartOrTheOverviewFrameNeverUncoversTheWindow) {
    open();
    QTest::mousePress(image(), Qt::LeftButton, {}, QPoint(300, 300));
    QTest::mouseMove(image(), QPoint(300 - 5000, 300 - 5000));
    EXPECT_EQ(image()->pos(), QPoint(0, 0)); // nothing moves before the release
    QTest::mouseRelease(image(), Qt::LeftButton, {}, QPoint(300 - 5000, 300 - 5000));
    const QPoint far = image()->pos();
    EXPECT_EQ(image()->geometry().bottomRight(), QPoint(form.width() - 1, form.height() - 1));
    expectCovered();
    expectMarkerAt(1, 100, 1.3069);
    // The overview frame went to the bottom right too.
    EXPECT_GT(frame()->x(), overview().left() + 2);
    EXPECT_GT(frame()->y(), overview().top() + 2);
    EXPECT_TRUE(overview().adjusted(1, 1, -1, -1).contains(frame()->geometry()));

    Mouse::drag(image(), QPoint(10, 10), QPoint(30, 15)); // part of the way back
    EXPECT_EQ(image()->pos(), far + QPoint(30, 15));
    expectMarkerAt(1, 100, 1.3069);

    Mouse::drag(image(), QPoint(10, 10), QPoint(5000, 5000));
    EXPECT_EQ(image()->pos(), QPoint(0, 0));
    EXPECT_EQ(frame()->pos(), overview().topLeft() + QPoint(2, 2));

    // A click without a move leaves everything where it is.
    QTest::mouseClick(image(), Qt::LeftButton, {}, QPoint(200, 200));
    EXPECT_EQ(image()->pos(), QPoint(0, 0));

    // Dragging the overview's frame stays inside the overview and moves the chart.
    Mouse::drag(frame(), QPoint(3, 3), QPoint(500, 500)); // far beyond the bottom right stop
    EXPECT_EQ(frame()->geometry().bottomRight(), overview().bottomRight() - QPoint(2, 2));
    // The chart's right edge is exactly the window's right edge.
    EXPECT_EQ(image()->geometry().right(), form.width() - 1);
    expectCovered();
    expectMarkerAt(1, 100, 1.3069);

    Mouse::drag(frame(), QPoint(3, 3), QPoint(-500, -500)); // beyond the top left stop
    EXPECT_EQ(frame()->pos(), overview().topLeft() + QPoint(2, 2));
    EXPECT_EQ(image()->pos(), QPoint(0, 0));
    EXPECT_EQ(marker(1)->pos(), QPoint(163, 1471));
}

// ---------------------------------------------------------------------------------------------

namespace {

class ChartLoading : public testing::Test {
protected:
    QString bitmap() const { return dir.path() + "/DiagrTS.bmp"; }
    QString czech() const {
        return QString::fromUtf8("Chyba při otevírání TS diagramu - ") + bitmap();
    }

    QTemporaryDir dir;
    int language = 0;
    platform::MessageRecorder messages;
    QWidget window; // the main window, never shown: no window of ours is active
    ChartBitmapLoader loader{&window, dir.path() + "/", [this] { return language; }, messages};
};

// Opens a real message box and closes it a moment later, as a user would; then gives the
// focus back to the main window, as a window manager does.
class ClosingBoxSink : public platform::MessageSink {
public:
    void ShowMessage(const QString& text) override {
        ++shown;
        QMessageBox box(QMessageBox::Information, "KOLV", text);
        QTimer::singleShot(50, &box, [&box] { box.done(0); });
        box.exec();
        if (mainWindow && shown < 10) mainWindow->activateWindow();
    }
    QWidget* mainWindow = nullptr;
    int shown = 0;
};

} // namespace

// The first showing tries once when no activation comes; then a failed load is reported once
// per activation of the application, until a good bitmap loads, once and without a message.
TEST_F(ChartLoading, FailuresAreReportedOncePerApplicationActivationUntilAGoodBitmapLoads) {
    QSignalSpy spy(&loader, &ChartBitmapLoader::chartLoaded);
    ASSERT_EQ(QApplication::activeWindow(), nullptr);
    QEvent show(QEvent::Show);
    QApplication::sendEvent(&window, &show);
    EXPECT_TRUE(messages.messages().isEmpty()); // once the window is up
    QTest::qWait(10);
    EXPECT_EQ(messages.messages(), QStringList{czech()});
    loader.windowActivated(); // the activation that follows is the same first one
    QApplication::sendEvent(&window, &show);
    QTest::qWait(10);
    loader.windowActivated(); // the window again, but the application never left
    EXPECT_EQ(messages.messages().size(), 1);

    language = 1;
    loader.windowDeactivated(); // to another program
    loader.windowActivated();
    ASSERT_EQ(messages.messages().size(), 2);
    EXPECT_EQ(messages.messages()[1], "Error opening T-S chart - " + bitmap());
    language = 0;
    for (const QByteArray& broken : {QByteArray(), QByteArray("BM this is no bitmap at all")}) {
        ASSERT_TRUE(writeFile(bitmap(), broken));
        loader.windowDeactivated();
        loader.windowActivated();
    }
    EXPECT_EQ(messages.messages().mid(2), (QStringList{czech(), czech()}));
    EXPECT_FALSE(loader.loaded());

    ASSERT_TRUE(plainChart({50, 85}).save(bitmap(), "BMP"));
    for (int activation = 0; activation < 2; ++activation) {
        loader.windowDeactivated();
        loader.windowActivated();
    }
    EXPECT_TRUE(loader.loaded());
    EXPECT_EQ(loader.chart().size(), QSize(50, 85));
    EXPECT_EQ(spy.count(), 1);
    EXPECT_EQ(messages.messages().size(), 4);
}

TEST(ChartLoadingWithARealBox, ClosingTheMessageStartsNoSeries) {
    QTemporaryDir dir;
    ClosingBoxSink sink;
    QWidget window;
    ChartBitmapLoader loader(
        &window, dir.path() + "/", [] { return 0; }, sink);
    sink.mainWindow = &window;
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window)); // the box has come and gone
    QTest::qWait(1000);
    EXPECT_EQ(sink.shown, 1);
    EXPECT_FALSE(loader.loaded());
}
