// The chart bitmap that the build draws beside the program, against the property library.

#include "numerics/numerics.h"
#include "resources/TsChartFrame.h"

#include <QCoreApplication>
#include <QFile>
#include <QImage>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

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
                const QColor c =
                    chart.pixelColor(int(std::nearbyint(x)) + dx, int(std::nearbyint(y)) + dy);
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
