// A report over a real SQLite file: its group sums against the sqlite3 tool's GROUP BY.

#include "SqliteFixture.h"
#include "support/ReportFixture.h"

#include "report/engine/run/SqlDataset.h"

#include <QProcess>
#include <QRegularExpression>

#include <gtest/gtest.h>

using namespace report;
using namespace reporttest;

namespace {

class ReportOverSqlite : public SqliteFixture {};

TEST_F(ReportOverSqlite, GroupSumsEqualGroupBy) {
    QString script = QStringLiteral("CREATE TABLE points(grp TEXT, t REAL);\n");
    for (int i = 1; i <= 60; ++i)
        script += QStringLiteral("INSERT INTO points VALUES('%1', %2);\n")
                      .arg(QChar(u'A' + (i * 7) % 4))
                      .arg(i * 1.25 + (i % 3) * 0.01, 0, 'f', 2);
    ASSERT_NO_FATAL_FAILURE(createDatabase(script));

    SqlDataset points(m_connection, QStringLiteral("points"), QStringLiteral("grp"));
    ASSERT_TRUE(points.open()) << points.lastError().toStdString();
    TDataSource source(&points);
    PageSetupGuard pageSetup;
    TSestava report;
    report.setDataSource(&source);
    report.IsStored = true;
    report.SetPredloha(
        TPredloha{sectionLine(2, true, 20), sectionLine(1, false, 0), sectionLine(4, false, 0),
                  "I,4,0,grp,1,20,1,20,0", "F,0,suma,\"soucet\",0,\"0\",2,\"#t\",2,15,2,1",
                  textLine("T", 2, "t", 0, 0, 100, 20), textLine("S0", 2, "grp", 0, 0, 100, 20),
                  textLine("U0", 6, "suma", 0, 0, 200, 20)});
    ASSERT_EQ(report.PrepareAndGenerate(), 0);

    QStringList ours;
    const QStringList d = readingDump(report.Vystup());
    for (const QString& line : d.filter(" k6 "))
        ours << QString::number(line.section(u'\'', 1, 1).replace(u',', u'.').toDouble(), 'f', 2);

    QProcess tool;
    tool.start("sqlite3", {m_dir.filePath("data.sqlite"),
                           "SELECT printf('%.2f', sum(t)) FROM points GROUP BY grp ORDER BY grp"});
    ASSERT_TRUE(tool.waitForFinished(30000));
    const QStringList expected =
        QString::fromUtf8(tool.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(expected.size(), 4);
    EXPECT_EQ(ours, expected);
    EXPECT_EQ(d.filter(QRegularExpression(" k2 0,\\d+ 100x20 '[A-D]'$")).size(), 4);
}

// Counts the item texts a run asks for.
struct CountingReport : TSestava {
    QString GetItemText(int i) override {
        ++texts[i];
        return TSestava::GetItemText(i);
    }
    QMap<int, int> texts;
};

// A reference whose text nothing reads gets its field's number: the float is never formatted.
TEST_F(ReportOverSqlite, SumsReadTheFieldsNumberAndNotItsText) {
    QString script = QStringLiteral("CREATE TABLE points(grp TEXT, t REAL, p REAL);\n");
    for (int i = 1; i <= 40; ++i)
        script += QStringLiteral("INSERT INTO points VALUES('%1', %2, %3);\n")
                      .arg(QChar(u'A' + i / 10))
                      .arg(i * 0.5)
                      .arg(i);
    ASSERT_NO_FATAL_FAILURE(createDatabase(script));
    SqlDataset points(m_connection, QStringLiteral("points"), QStringLiteral("grp"));
    ASSERT_TRUE(points.open());
    TDataSource source(&points);
    PageSetupGuard pageSetup;
    CountingReport report;
    report.setDataSource(&source);
    report.IsStored = true;
    report.SetPredloha(TPredloha{
        sectionLine(2, true, 20), sectionLine(1, false, 0), sectionLine(4, false, 0),
        "I,4,0,grp,1,20,1,20,0", "F,0,suma,\"soucet\",0,\"0\",2,\"#t*2\",2,15,2,2",
        "F,1,posledni,\"posledni\",0,\"0\",2,\"#p\",0,15,2,2",
        textLine("S0", 2, "grp", 0, 0, 100, 20), textLine("U0", 6, "suma", 0, 0, 200, 20),
        textLine("U0", 6, "posledni", 300, 0, 200, 20)});
    ASSERT_EQ(report.PrepareAndGenerate(), 0);

    QStringList sums;
    for (const QString& line : readingDump(report.Vystup()).filter(" k6 "))
        sums << line.section(u'\'', 1, 1);
    // Groups A (1-9), B (10-19), C (20-29), D (30-39), E (40): twice the sums of i / 2.
    EXPECT_EQ(sums.join(' ').replace(u',', u'.').toStdString(),
              "45.00 9.00 145.00 19.00 245.00 29.00 345.00 39.00 40.00 40.00");
    EXPECT_EQ(report.texts.value(1), 0);  // t: summed only
    EXPECT_GE(report.texts.value(2), 40); // p: its value kept, text and all
}

} // namespace
