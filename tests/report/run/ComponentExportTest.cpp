// The component's exports: result codes, OnError, per-page names, and the report run that
// the text export starts.

#include "FullDisk.h"
#include "support/ExportFixture.h"

#include <QAction>
#include <QBuffer>
#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using namespace report;
using namespace reporttest;

namespace {

TEST(ComponentExport, TextRunsTheReportFirst) {
    RowsReport r(60);
    int before = 0, after = 0;
    r.t->report.BeforePrint = [&](QObject*) { ++before; };
    r.t->report.AfterPrint = [&](QObject*) { ++after; };
    QTemporaryDir dir;
    ASSERT_EQ(r.t->report.SaveToTextFile(dir.filePath("Out.TXT")), 0);
    EXPECT_EQ(before, 1);
    EXPECT_EQ(after, 1);
    const QByteArray text = readFile(dir.filePath("Out.TXT"));
    EXPECT_TRUE(text.contains("row1\r\n") || text.contains("row1 "));
    EXPECT_TRUE(text.contains("row60"));
    EXPECT_EQ(r.t->report.SaveToTextFile(dir.filePath("no/such/folder/x.txt")), seNotExported);
    EXPECT_EQ(r.errors, QList<int>{seNotExported});
}

TEST(ComponentExport, PerPageFilesAndResultCodes) {
    RowsReport r;
    ASSERT_EQ(r.t->report.Generate(true), 0);
    const int pages = r.t->report.Vystup().PageCount();
    ASSERT_GE(pages, 3);
    QTemporaryDir dir;
    QDir(dir.path()).mkdir("Out");
    EXPECT_EQ(r.t->report.SaveAllToEMF(dir.filePath("Out/Page.EMF")), 0);
    EXPECT_EQ(r.t->report.SaveAllToWMF(dir.filePath("Out/Page")), 0);
    EXPECT_EQ(r.t->report.SaveAllToHTML(dir.filePath("Out/Page.htm")), 0);
    EXPECT_EQ(r.t->report.SaveToRTFFile(dir.filePath("Out/Report.RTF")), 0);
    QStringList expected;
    for (int k = 1; k <= pages; ++k)
        expected << QStringLiteral("Page%1.emf").arg(k) << QStringLiteral("Page%1.wmf").arg(k)
                 << QStringLiteral("Page%1.html").arg(k);
    expected << "Report.RTF";
    expected.sort();
    QStringList written = QDir(dir.filePath("Out")).entryList(QDir::Files);
    written.sort();
    EXPECT_EQ(written, expected);
    EXPECT_TRUE(r.errors.isEmpty());

    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    EXPECT_EQ(r.t->report.SaveToEMF(buffer, pages), seNothingDone);
    EXPECT_EQ(r.t->report.SaveToWMFFile(dir.filePath("x.wmf"), -1), seNothingDone);
    EXPECT_EQ(r.t->report.SaveToHTMLFile(dir.filePath("Out/Page.htm/x.html"), 0), seNotExported);
    EXPECT_EQ(r.errors, (QList<int>{seNothingDone, seNothingDone, seNotExported}));
    EXPECT_FALSE(QFile::exists(dir.filePath("x.wmf")));
}

// Every file export of the component, each over a previous file of the name it writes.
TEST(ComponentExport, OnAFullDiskEveryFileExportFailsAndLeavesThePreviousFiles) {
    if (!FullDisk::insidePrivateMounts()) return FullDisk::runTestInPrivateMounts();
    FullDisk disk;
    ASSERT_TRUE(disk.mounted());
    RowsReport r;
    ASSERT_EQ(r.t->report.Generate(true), 0);
    const int pages = r.t->report.Vystup().PageCount();
    QStringList names{"out.txt", "out.rtf", "page.emf", "page.wmf", "page.html"};
    for (int k = 1; k <= pages; ++k)
        for (const char* extension : {"emf", "wmf", "html"})
            names << QStringLiteral("all%1.%2").arg(k).arg(extension);
    for (const QString& name : names)
        ASSERT_TRUE(writeFile(disk.filePath(name), "previous " + name.toUtf8()));
    ASSERT_TRUE(disk.fill());
    const auto before = disk.contents();

    TSestava& report = r.t->report;
    const auto at = [&](const char* name) { return disk.filePath(name); };
    const QList<int> results{
        report.SaveToTextFile(at("out.txt")),      report.SaveToRTFFile(at("out.rtf")),
        report.SaveToEMFFile(at("page.emf"), 0),   report.SaveToWMFFile(at("page.wmf"), 0),
        report.SaveAllToEMF(at("all.emf")),        report.SaveAllToWMF(at("all.wmf")),
        report.SaveToHTMLFile(at("page.html"), 0), report.SaveAllToHTML(at("all.html"))};
    EXPECT_EQ(results, QList<int>(8, seNotExported));
    EXPECT_EQ(r.errors, QList<int>(8, seNotExported));
    EXPECT_EQ(disk.changedSince(before), "");
}

} // namespace
