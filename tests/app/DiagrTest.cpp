#include "app/Diagr.h"
#include "app/TsChartMapping.h"
#include "numerics/numerics.h"
#include "platform/Help.h"
#include "platform/MessageSink.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
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

int nearest(double value) {
    return int(std::nearbyint(value));
}

QRect screenRect() {
    return QGuiApplication::primaryScreen()->geometry();
}

QPixmap plainChart(QSize size = {1000, 1700}) {
    QPixmap chart(size);
    chart.fill(Qt::white);
    return chart;
}

ChartPoint point(double t, double s) {
    ChartPoint p;
    p.valid = true;
    p.values = {0, t, 0.101325, 1.0435, s, 419.1, 0};
    return p;
}

// Mouse events go straight to the widget, in its own coordinates.
void mouse(QWidget* widget, QEvent::Type type, QPoint at) {
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    const Qt::MouseButtons held =
        type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, QPointF(at), QPointF(widget->mapToGlobal(at)), button, held,
                      Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

void drag(QWidget* widget, QPoint from, QPoint to) {
    mouse(widget, QEvent::MouseButtonPress, from);
    mouse(widget, QEvent::MouseMove, to);
    mouse(widget, QEvent::MouseButtonRelease, to);
}

class ChartWindow : public testing::Test {
protected:
    void open(const ChartMarkerSource& source, QSize size = {1000, 1700}) {
        form.setChart(plainChart(size));
        form.setMarkerSource(source);
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    }
    template <typename T = QWidget> T* find(const QString& name) {
        T* widget = form.findChild<T*>(name);
        EXPECT_NE(widget, nullptr) << name.toStdString();
        return widget;
    }
    QWidget* marker(int i) { return find(QString("bod%1").arg(i)); }
    QWidget* image() { return find("ImageTS"); }
    QWidget* frame() { return find("poloha"); }
    QSize natural() const {
        return {std::min(screenRect().width(), 1000), screenRect().height() - 30};
    }

    platform::MessageRecorder messages;
    TDiagramForm form{messages};
};

ChartMarkerSource calculation(double t, double s) {
    ChartMarkerSource source;
    source.StateValues = point(t, s).values;
    return source;
}

} // namespace

TEST(GeneratedChart, IsA24BitBitmapWithTheLibrarysDomeAndNoRed) {
    // The build draws the chart beside the program; the tests live in a sibling folder.
    const QString path = QCoreApplication::applicationDirPath() + "/../app/DiagrTS.bmp";
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    const QByteArray header = file.read(30);
    ASSERT_EQ(header.left(2), "BM");
    EXPECT_EQ(quint8(header[28]), 24); // bits per pixel
    const QImage chart(path);
    ASSERT_EQ(chart.size(), QSize(1000, 1700));

    auto darkNear = [&](double x, double y) {
        for (int dy = -2; dy <= 2; ++dy)
            for (int dx = -2; dx <= 2; ++dx) {
                const QColor c = chart.pixelColor(nearest(x) + dx, nearest(y) + dy);
                if (std::max({c.red(), c.green(), c.blue()}) < 90) return true;
            }
        return false;
    };
    for (double t : {20.0, 100.0, 200.0, 300.0, 370.0}) {
        for (double x : {0.0, 1.0}) {
            double T = 0, P = 0, V = 0, S = 0, I = 0, X = 0;
            int region = 0;
            numerics::StateFromPair(numerics::PairCode::TX, false, false, t, x, true, false, false,
                                    T, P, V, S, I, X, region);
            EXPECT_TRUE(darkNear(tschart::X(S), tschart::Y(t))) << "t " << t << " x " << x;
        }
    }
    // Inside the dome at 100 °C there is no dome line.
    EXPECT_FALSE(darkNear(tschart::X(4.0), tschart::Y(100.0) + 5));

    int red = 0;
    for (int y = 0; y < chart.height(); ++y)
        for (int x = 0; x < chart.width(); ++x) {
            const QColor c = chart.pixelColor(x, y);
            if (c.red() > 150 && c.green() < 100 && c.blue() < 100) ++red;
        }
    EXPECT_EQ(red, 0);
}

TEST_F(ChartWindow, OpensAtNaturalSizeWithTheOverviewFromTheScreen) {
    open(calculation(100, 1.3069));
    const QSize client = natural();
    EXPECT_EQ(form.geometry(), QRect(screenRect().topLeft(), client));
    EXPECT_EQ(image()->geometry(), QRect(0, 0, 1000, 1700));
    EXPECT_FALSE(form.stretched());
    EXPECT_TRUE(find("ImageNahled")->isVisible());
    EXPECT_EQ(find("ImageNahled")->size(), QSize(100, 170));
    const QRect overview = find("ImageNahled")->geometry();
    EXPECT_EQ(frame()->geometry(), QRect(overview.left() + 2, overview.top() + 2,
                                         std::min(nearest(client.width() * 96.0 / 1000), 96),
                                         std::min(nearest(client.height() * 166.0 / 1700), 166)));
    EXPECT_TRUE(form.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(form.windowTitle(), "Diagramy");
    EXPECT_EQ(QApplication::focusWidget(), find("BitBtn3"));
    EXPECT_EQ(platform::HelpContextOf(find("BitBtn3")), 70);
}

TEST_F(ChartWindow, MarkerFollowsTheMappingOnAnyBitmapSize) {
    open(calculation(100, 1.3069));
    EXPECT_TRUE(marker(1)->isVisible());
    EXPECT_EQ(marker(1)->geometry(), QRect(163, 1471, 6, 6));
    for (int i = 2; i <= 12; ++i)
        EXPECT_FALSE(marker(i)->isVisible()) << i;
    form.hide();
    open(calculation(100, 1.3069), QSize(500, 850));
    EXPECT_EQ(marker(1)->pos(), QPoint(nearest(82.845) - 3, 737 - 3));
    EXPECT_TRUE(messages.messages().isEmpty());
}

TEST_F(ChartWindow, TheAllZeroStartStateIsMarkedToo) {
    open(ChartMarkerSource{});
    EXPECT_TRUE(marker(1)->isVisible());
    EXPECT_EQ(marker(1)->pos(), QPoint(35 - 3, 1674 - 3));
}

TEST_F(ChartWindow, HintsHoldSixLinesInTheWindowsLanguage) {
    ChartMarkerSource source = calculation(100, 1.3069);
    open(source);
    EXPECT_EQ(marker(1)->toolTip(), QString::fromUtf8("Teplota = 100.00 °C\n"
                                                      "Tlak = 0.101 MPa\n"
                                                      "Měrný objem = 1.043500 m3/kg\n"
                                                      "Entropie = 1.3069 kJ/kgK\n"
                                                      "Entalpie = 419.100 kJ/kg\n"
                                                      "Suchost pary = 0.0000  "));
    form.hide();
    source.Language = 1;
    source.DecimalSeparator = ',';
    source.DecimalPlaces = {0, 1, 2, 3, 4, 0, 2};
    open(source);
    const QStringList lines = marker(1)->toolTip().split('\n');
    ASSERT_EQ(lines.size(), 6);
    EXPECT_EQ(lines[0], QString::fromUtf8("Temperature = 100,0 °C"));
    EXPECT_EQ(lines[3], "Specific entropy = 1,3069 kJ/kgK");
    EXPECT_EQ(lines[4], "Specific enthalpy = 419 kJ/kg");
}

TEST_F(ChartWindow, PointsPageMarksTheComputedRowsOnly) {
    ChartMarkerSource source;
    source.PointsPageShown = true;
    source.StateValues = point(100, 1.3069).values; // not used on the Points page
    source.Points[0] = point(200, 2.3305);
    source.Points[2] = point(300, 6.0);
    open(source);
    EXPECT_TRUE(marker(1)->isVisible());
    EXPECT_FALSE(marker(2)->isVisible());
    EXPECT_TRUE(marker(3)->isVisible());
    for (int i = 4; i <= 12; ++i)
        EXPECT_FALSE(marker(i)->isVisible()) << i;
    EXPECT_EQ(marker(1)->pos(), QPoint(nearest(268.05) - 3, 1274 - 3));
    EXPECT_EQ(marker(3)->pos(), QPoint(635 - 3, 1074 - 3));
    EXPECT_EQ(marker(3)->toolTip().split('\n').size(), 6);
}

TEST_F(ChartWindow, AbsurdValuesHideEveryMarkerWithTheCzechMessage) {
    const QString message =
        QString::fromUtf8("Chybná hodnota veličiny při pokusu o zobrazení v TS - diagramu.");
    ChartMarkerSource source;
    source.Language = 1;
    source.PointsPageShown = true;
    source.Points[0] = point(100, 1.3069);
    source.Points[4] = point(1e300, 1.0);
    open(source);
    for (int i = 1; i <= 12; ++i)
        EXPECT_FALSE(marker(i)->isVisible()) << i;
    EXPECT_EQ(messages.messages(), QStringList{message});

    form.hide();
    open(calculation(20, std::numeric_limits<double>::quiet_NaN()));
    EXPECT_FALSE(marker(1)->isVisible());
    EXPECT_EQ(messages.messages(), (QStringList{message, message}));
    form.hide();
    open(calculation(20, -1e300));
    EXPECT_FALSE(marker(1)->isVisible());
    EXPECT_EQ(messages.messages().size(), 3);
}

TEST_F(ChartWindow, FitToHeightScalesByWholePercentAndCentres) {
    open(calculation(100, 1.3069));
    const QSize client = natural();
    QTest::mouseClick(find<QPushButton>("BitBtn1"), Qt::LeftButton);
    ASSERT_TRUE(form.stretched());
    const int k = client.height() * 100 / 1700;
    const QSize fitted(1000 * k / 100, client.height());
    EXPECT_EQ(image()->geometry(), QRect(QPoint(0, 0), fitted));
    const int left = screenRect().left() + (screenRect().width() - fitted.width()) / 2;
    EXPECT_EQ(form.geometry(), QRect(QPoint(left, screenRect().top()), fitted));
    EXPECT_EQ(marker(1)->pos(), QPoint(nearest(165.69 / 1000 * fitted.width()) - 3,
                                       nearest(1474.0 / 1700 * fitted.height()) - 3));
    EXPECT_FALSE(find("ImageNahled")->isVisible());
    EXPECT_FALSE(frame()->isVisible());

    // Fitting again changes nothing; panning is off.
    form.BitBtn1Click();
    EXPECT_EQ(image()->size(), fitted);
    drag(image(), QPoint(100, 100), QPoint(50, 50));
    EXPECT_EQ(image()->pos(), QPoint(0, 0));

    QTest::mouseClick(find<QPushButton>("BitBtn2"), Qt::LeftButton);
    EXPECT_EQ(form.geometry(), QRect(screenRect().topLeft(), client));
    EXPECT_EQ(image()->size(), QSize(1000, 1700));
    EXPECT_EQ(marker(1)->pos(), QPoint(163, 1471));
    EXPECT_TRUE(find("ImageNahled")->isVisible());
}

TEST_F(ChartWindow, FittingABitmapTwiceTheClientHeightHalvesItsWidth) {
    // The client height is the screen's less 30; a bitmap twice that high gives k = 50.
    const int height = 2 * natural().height();
    open(calculation(100, 1.3069), QSize(1000, height));
    form.BitBtn1Click();
    EXPECT_EQ(image()->size(), QSize(500, height / 2));
    EXPECT_EQ(form.size(), QSize(500, height / 2));
}

TEST_F(ChartWindow, PanningMovesOnReleaseAndNeverUncoversTheWindow) {
    open(calculation(100, 1.3069));
    const QSize client = natural();
    const QPoint low(client.width() - 1000, client.height() - 1700);
    const QRect overview = find("ImageNahled")->geometry();

    mouse(image(), QEvent::MouseButtonPress, QPoint(300, 300));
    mouse(image(), QEvent::MouseMove, QPoint(300 - 5000, 300 - 5000));
    EXPECT_EQ(image()->pos(), QPoint(0, 0)); // nothing moves before the release
    mouse(image(), QEvent::MouseButtonRelease, QPoint(300 - 5000, 300 - 5000));
    EXPECT_EQ(image()->pos(), low);
    EXPECT_EQ(marker(1)->pos(), QPoint(163, 1471) + low);
    EXPECT_EQ(frame()->pos(), QPoint(overview.left() + 2 - nearest(low.x() / (1000 / 98.0)),
                                     overview.top() + 2 - nearest(low.y() / (1700 / 168.0))));

    drag(image(), QPoint(10, 10), QPoint(40, 25)); // part of the way back
    EXPECT_EQ(image()->pos(), low + QPoint(30, 15));
    EXPECT_EQ(marker(1)->pos(), QPoint(163, 1471) + low + QPoint(30, 15));

    drag(image(), QPoint(10, 10), QPoint(5000, 5000));
    EXPECT_EQ(image()->pos(), QPoint(0, 0));
    EXPECT_EQ(frame()->pos(), overview.topLeft() + QPoint(2, 2));

    // A click without a move leaves everything where it is.
    mouse(image(), QEvent::MouseButtonPress, QPoint(200, 200));
    mouse(image(), QEvent::MouseButtonRelease, QPoint(200, 200));
    EXPECT_EQ(image()->pos(), QPoint(0, 0));
    EXPECT_EQ(marker(1)->pos(), QPoint(163, 1471));
}

TEST_F(ChartWindow, OverviewFrameDragStaysInsideAndMovesTheChart) {
    open(calculation(100, 1.3069));
    const QSize client = natural();
    const QRect overview = find("ImageNahled")->geometry();
    const QSize size = frame()->size();

    drag(frame(), QPoint(3, 3), QPoint(503, 503)); // far beyond the bottom right stop
    EXPECT_EQ(frame()->pos(), QPoint(overview.right() + 1 - 2 - size.width(),
                                     overview.bottom() + 1 - 2 - size.height()));
    // The chart's right edge is exactly the window's right edge.
    EXPECT_EQ(image()->geometry().right(), client.width() - 1);
    EXPECT_EQ(image()->y(), std::min(0, client.height() - 1700));
    EXPECT_EQ(marker(1)->pos(), QPoint(163, 1471) + image()->pos());

    drag(frame(), QPoint(3, 3), QPoint(-497, -497)); // beyond the top left stop
    EXPECT_EQ(frame()->pos(), overview.topLeft() + QPoint(2, 2));
    EXPECT_EQ(image()->pos(), QPoint(0, 0));
    EXPECT_EQ(marker(1)->pos(), QPoint(163, 1471));

    if (size.width() < 96) {
        drag(frame(), QPoint(3, 3), QPoint(4, 3)); // one overview pixel to the right
        EXPECT_EQ(frame()->pos(), overview.topLeft() + QPoint(3, 2));
        EXPECT_EQ(image()->pos(), QPoint(nearest(-1 * 1000 / 98.0), 0));
    }
}

TEST_F(ChartWindow, MarkersAreRedOnScreen) {
    ChartMarkerSource source;
    source.PointsPageShown = true;
    source.Points[0] = point(500, 6.6); // both inside the smallest natural window
    source.Points[1] = point(600, 5.0);
    open(source);
    const QImage shot = form.grab().toImage();
    for (int i : {1, 2}) {
        const QPoint centre = marker(i)->geometry().center();
        ASSERT_TRUE(form.rect().contains(centre)) << i;
        EXPECT_EQ(shot.pixelColor(centre * shot.devicePixelRatio()), QColor(Qt::red)) << i;
    }
    // Between the markers the plain chart shows.
    EXPECT_EQ(shot.pixelColor(QPoint(600, 574) * shot.devicePixelRatio()), QColor(Qt::white));
}

TEST_F(ChartWindow, EnterOnTheCloseButtonEndsWithOne) {
    open(calculation(100, 1.3069));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(form.result(), 1);
}

// ---------------------------------------------------------------------------------------------

namespace {

class ChartLoading : public testing::Test {
protected:
    QString bitmap() const { return dir.path() + "/DiagrTS.bmp"; }
    void writeBitmap(const QByteArray& bytes) {
        QFile file(bitmap());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
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

TEST_F(ChartLoading, AMissingBitmapIsReportedOncePerApplicationActivation) {
    ASSERT_EQ(QApplication::activeWindow(), nullptr);
    loader.windowActivated();
    EXPECT_EQ(messages.messages(), QStringList{czech()});
    loader.windowActivated(); // the window again, but the application never left
    EXPECT_EQ(messages.messages().size(), 1);
    EXPECT_FALSE(loader.loaded());

    language = 1;
    loader.windowDeactivated(); // to another program
    loader.windowActivated();
    ASSERT_EQ(messages.messages().size(), 2);
    EXPECT_EQ(messages.messages()[1], "Error opening T-S chart - " + bitmap());
}

TEST_F(ChartLoading, TheFirstShowingTriesOnceWhenNoActivationComes) {
    QEvent show(QEvent::Show);
    QApplication::sendEvent(&window, &show);
    EXPECT_TRUE(messages.messages().isEmpty()); // once the window is up
    QTest::qWait(10);
    EXPECT_EQ(messages.messages(), QStringList{czech()});
    loader.windowActivated(); // the activation that follows is the same first one
    QApplication::sendEvent(&window, &show);
    QTest::qWait(10);
    EXPECT_EQ(messages.messages().size(), 1);
}

TEST_F(ChartLoading, FocusPassingToAnotherWindowOfOursIsNoNewActivation) {
    loader.windowActivated();
    QWidget other;
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    loader.windowDeactivated();
    loader.windowActivated();
    EXPECT_EQ(messages.messages().size(), 1);
}

TEST(ChartLoadingMessage, LosingTheFocusWhileTheMessageIsUpIsNoNewActivation) {
    // Some platforms pass the focus through "no window" on the way to the message box.
    struct Sink : platform::MessageSink {
        void ShowMessage(const QString&) override {
            ++shown;
            loader->windowDeactivated();
        }
        ChartBitmapLoader* loader = nullptr;
        int shown = 0;
    } sink;
    QTemporaryDir dir;
    QWidget window;
    ChartBitmapLoader loader(
        &window, dir.path() + "/", [] { return 0; }, sink);
    sink.loader = &loader;
    loader.windowActivated();
    loader.windowActivated();
    EXPECT_EQ(sink.shown, 1);
}

TEST_F(ChartLoading, BrokenOrEmptyFilesCountAsFailures) {
    writeBitmap(QByteArray());
    loader.windowActivated();
    writeBitmap("BM this is no bitmap at all");
    loader.windowDeactivated();
    loader.windowActivated();
    EXPECT_EQ(messages.messages(), (QStringList{czech(), czech()}));
    EXPECT_FALSE(loader.loaded());
}

TEST_F(ChartLoading, APresentBitmapLoadsOnceWithoutMessage) {
    QSignalSpy spy(&loader, &ChartBitmapLoader::chartLoaded);
    ASSERT_TRUE(plainChart({50, 85}).save(bitmap(), "BMP"));
    loader.windowActivated();
    EXPECT_TRUE(loader.loaded());
    EXPECT_EQ(loader.chart().size(), QSize(50, 85));
    EXPECT_EQ(spy.count(), 1);
    loader.windowDeactivated();
    loader.windowActivated();
    EXPECT_EQ(spy.count(), 1);
    EXPECT_TRUE(messages.messages().isEmpty());
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
