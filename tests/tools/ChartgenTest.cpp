// The chart generator as the build runs it: a chart it cannot write fails the build step and
// leaves the previous chart.

#include "FullDisk.h"
#include "TestFiles.h"

#include <QProcess>

#include <gtest/gtest.h>

TEST(Chartgen, OnAFullDiskItFailsAndThePreviousChartStays) {
    if (!FullDisk::insidePrivateMounts()) return FullDisk::runTestInPrivateMounts();
    FullDisk disk(1024 * 1024);
    ASSERT_TRUE(disk.mounted());
    const QString chart = disk.filePath("DiagrTS.bmp");
    const QByteArray previous = "BM previous chart";
    ASSERT_TRUE(writeFile(chart, previous));
    ASSERT_TRUE(disk.fill());

    QProcess chartgen;
    chartgen.start(KOLV_CHARTGEN, {chart});
    ASSERT_TRUE(chartgen.waitForFinished(60000));
    EXPECT_EQ(chartgen.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(chartgen.exitCode(), 1);
    EXPECT_EQ(chartgen.readAllStandardError(),
              "chartgen: cannot write " + chart.toLocal8Bit() + "\n");
    EXPECT_EQ(readFile(chart), previous);
}
