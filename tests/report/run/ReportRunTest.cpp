// The report run, asserted on the dump of the output document: page structure, groups, record
// limits, flow over pages, detail reports, columns, and templates that must still end.

#include "support/QtPrinters.h"
#include "support/ReportFixture.h"

#include "platform/DateTimeText.h"
#include "platform/MessageSink.h"
#include "platform/NumberText.h"
#include "platform/RecordingCanvas.h"
#include "report/engine/document/TPicture.h"
#include "report/engine/document/sestvyst.h"
#include "report/engine/export/sest_str.h"

#include <QBuffer>
#include <QDateTime>
#include <QElapsedTimer>
#include <QMap>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <numeric>
#include <random>
#include <stdexcept>

using namespace report;
using namespace reporttest;

namespace {

std::vector<QStringList> numberedRows(int count, int groupSize = 0) {
    std::vector<QStringList> rows;
    for (int i = 1; i <= count; ++i)
        rows.push_back({QStringLiteral("r%1").arg(i), QString::number(i * 10),
                        QStringLiteral("g%1").arg(groupSize ? (i - 1) / groupSize + 1 : 1)});
    return rows;
}

const QStringList kColumns{QStringLiteral("Vel1"), QStringLiteral("Vel2"), QStringLiteral("Grp")};

// Paper 827 x 1169 with margins of 50: the printable area is 727 x 1069.
QStringList pagedTemplate(int headerFlags = 0, int footerFlags = 0, int reportFooterFlags = 0) {
    return {paperLine(827, 1169, 50),
            sectionLine(0, true, 100),
            sectionLine(1, true, 50, headerFlags),
            sectionLine(2, true, 20),
            sectionLine(3, true, 40, reportFooterFlags),
            sectionLine(4, true, 30, footerFlags),
            textLine("Z", 1, "0", 0, 0, 300, 40, "Titul"),
            textLine("H", 1, "0", 0, 0, 200, 20, "Hlavicka"),
            textLine("H", 5, "4", 300, 0, 200, 20, "z %d"),
            textLine("T", 2, "Vel1", 10, 0, 100, 20),
            textLine("K", 1, "0", 0, 0, 200, 20, "Konec"),
            textLine("P", 5, "3", 0, 0, 200, 20, "Strana %d")};
}

int pageOf(const QString& dumpedLine) {
    return dumpedLine.section(u' ', 0, 0).toInt();
}
int topOf(const QString& dumpedLine) {
    return dumpedLine.section(u' ', 2, 2).section(u',', 1, 1).toInt();
}

TEST(ReportRun, PageStructureOverThreePages) {
    TableReport t(kColumns, numberedRows(120));
    t.setTemplate(pagedTemplate(/*no header on page 1*/ 1, /*no footer on last page*/ 1));
    ASSERT_EQ(t.report.Generate(true), 0);
    const TSestVystup& doc = t.report.Vystup();
    const QStringList d = readingDump(doc);
    ASSERT_EQ(doc.PrintableHeight(), 1069);

    // The title on page 1 at the top; no page header there.
    EXPECT_EQ(linesWith(d, "'Titul'"), QStringList{"1 k1 0,0 300x40 'Titul'"});
    const QStringList headers = linesWith(d, "'Hlavicka'");
    ASSERT_FALSE(headers.isEmpty());
    EXPECT_EQ(pageOf(headers.first()), 2);
    for (const QString& h : headers)
        EXPECT_EQ(topOf(h), 0) << h.toStdString();

    // Every body lies between the header and the page footer; all 120 are there, in order.
    const QStringList bodies = d.filter(QRegularExpression(" k2 .*'r\\d+'"));
    ASSERT_EQ(bodies.size(), 120);
    int lastPage = 1;
    int lastTop = -1;
    for (int i = 0; i < bodies.size(); ++i) {
        EXPECT_TRUE(bodies[i].endsWith(QStringLiteral("'r%1'").arg(i + 1)));
        const int page = pageOf(bodies[i]);
        const int top = topOf(bodies[i]);
        EXPECT_GE(top, page == 1 ? 100 : 50);
        EXPECT_LE(top + 20, 1069 - 30) << bodies[i].toStdString();
        if (page == lastPage) {
            EXPECT_GT(top, lastTop);
        }
        lastPage = page;
        lastTop = top;
    }
    const int pages = doc.PageCount();
    EXPECT_EQ(pages, 3);
    // Page footers at the page bottom on every page but the last, numbered.
    const QStringList footers = linesWith(d, "'Strana");
    ASSERT_EQ(footers.size(), pages - 1);
    for (int p = 1; p < pages; ++p) {
        EXPECT_EQ(pageOf(footers[p - 1]), p);
        EXPECT_EQ(topOf(footers[p - 1]), 1069 - 30);
        EXPECT_TRUE(footers[p - 1].endsWith(QStringLiteral("'Strana %1'").arg(p)));
    }
    // The page count on every page header, filled in at the end.
    for (const QString& c : d.filter(QRegularExpression(" k5 300,\\d+ ")))
        EXPECT_TRUE(c.endsWith(QStringLiteral("'z %1'").arg(pages))) << c.toStdString();
    // The report footer after the last body.
    const QStringList end = linesWith(d, "'Konec'");
    ASSERT_EQ(end.size(), 1);
    EXPECT_EQ(pageOf(end.first()), pages);
    EXPECT_EQ(topOf(end.first()), topOf(bodies.last()) + 20);
}

TEST(ReportRun, ReportFooterAtBottomAndOwnPageHeader) {
    TableReport t(kColumns, numberedRows(3));
    // Report header on its own page, report footer at the bottom above the page footer.
    QStringList lines = pagedTemplate(0, 0, 2);
    lines[1] = sectionLine(0, true, 100, 1);
    t.setTemplate(lines);
    ASSERT_EQ(t.report.Generate(true), 0);
    const QStringList d = readingDump(t.report.Vystup());
    EXPECT_EQ(pageOf(linesWith(d, "'Titul'").first()), 1);
    EXPECT_EQ(pageOf(linesWith(d, "'r1'").first()), 2);
    const QString end = linesWith(d, "'Konec'").first();
    EXPECT_EQ(pageOf(end), 2);
    EXPECT_EQ(topOf(end), 1069 - 30 - 40);
    EXPECT_EQ(linesWith(d, "'Strana").size(), 2);
    EXPECT_TRUE(linesWith(d, "'Strana").last().startsWith("2 k5 0,1039 "));
}

TEST(ReportRun, RecordLimits) {
    {
        TableReport t(kColumns, numberedRows(12));
        t.setTemplate(pagedTemplate());
        t.report.MaxRecords = 5;
        ASSERT_EQ(t.report.Generate(true), 0);
        const QStringList d = readingDump(t.report.Vystup());
        EXPECT_EQ(d.filter(QRegularExpression(" k2 .*'r\\d+'")).size(), 5);
        EXPECT_EQ(linesWith(d, "'Konec'").size(), 1);
    }
    {
        // The record step that begins page 3 stops the run; the count says 3, page 3 goes.
        TableReport t(kColumns, numberedRows(500));
        t.setTemplate(pagedTemplate());
        t.report.EndPage = 2;
        ASSERT_EQ(t.report.Generate(true), 0);
        const TSestVystup& doc = t.report.Vystup();
        EXPECT_EQ(doc.PageCount(), 2);
        const QStringList counts = dump(doc).filter(QRegularExpression(" k5 300,\\d+ "));
        ASSERT_EQ(counts.size(), 2);
        for (const QString& c : counts)
            EXPECT_TRUE(c.endsWith("'z 3'")) << c.toStdString();
        EXPECT_LT(t.steps, 200);
    }
    {
        TableReport t(kColumns, numberedRows(12));
        t.setTemplate(pagedTemplate());
        t.report.TiskJedenZaznam = true;
        t.current = 4;
        ASSERT_EQ(t.report.Generate(true), 0);
        const QStringList bodies =
            readingDump(t.report.Vystup()).filter(QRegularExpression(" k2 .*'r\\d+'"));
        EXPECT_EQ(bodies, QStringList{"1 k2 10,150 100x20 'r5'"});
        EXPECT_EQ(t.steps, 0);
    }
}

TEST(ReportRun, FirstStepAtEndStillPrintsOneBodyInAMainRun) {
    TableReport t(kColumns, {});
    t.setTemplate(pagedTemplate());
    ASSERT_EQ(t.report.Generate(true), 0);
    const QStringList d = readingDump(t.report.Vystup());
    EXPECT_EQ(linesWith(d, " k2 ").size(), 1);
    EXPECT_EQ(linesWith(d, "'Konec'").size(), 1);
    EXPECT_EQ(linesWith(d, "'Titul'").size(), 1);
}

TEST(ReportRun, CancelKeepsPagesAndSkipsFooters) {
    TableReport t(kColumns, numberedRows(300));
    t.setTemplate(pagedTemplate());
    bool cancel = false;
    t.report.setCancelFlag(&cancel);
    t.report.OnGetData = [&](TSestavaD* sender) {
        sender->itemValues() = t.rows[size_t(t.current)];
        if (t.current == 80) cancel = true;
    };
    EXPECT_EQ(t.report.Generate(true), 3);
    const QStringList d = readingDump(t.report.Vystup());
    EXPECT_EQ(d.filter(QRegularExpression(" k2 .*'r\\d+'")).size(), 80);
    EXPECT_TRUE(linesWith(d, "'Konec'").isEmpty());
    EXPECT_EQ(t.report.Vystup().PageCount(), 2);
    t.report.setCancelFlag(nullptr);
}

// Groups over Grp with a sum of Vel2 reset per group; the inner group keyed on Vel1 breaks
// with every record and with the outer one.
TEST(ReportRun, GroupBreaksFootersAndSums) {
    TableReport t(kColumns, numberedRows(12, 5));
    QStringList lines = pagedTemplate();
    lines << "I,4,0,Grp,1,20,1,20,0"
          << "I,4,1,Vel1,0,0,1,10,0"
          << "F,0,suma,\"soucet\",0,\"0\",2,\"#Vel2\",2,15,0,2"
          << textLine("S0", 2, "Grp", 0, 0, 100, 20) << textLine("U0", 6, "suma", 0, 0, 100, 20)
          << textLine("U1", 1, "0", 0, 0, 50, 10, "in");
    t.setTemplate(lines);
    ASSERT_EQ(t.report.Generate(true), 0);
    const QStringList d = readingDump(t.report.Vystup());
    // Group headers g1, g2, g3; sums 10+..+50, 60+..+100, 110+120.
    EXPECT_EQ(d.filter(QRegularExpression(" k2 0,.*'g\\d'")).size(), 3);
    QStringList sums;
    for (const QString& s : linesWith(d, " k6 "))
        sums << s.section(u'\'', 1, 1);
    EXPECT_EQ(sums, (QStringList{"150", "400", "230"}));
    // Inner footers: one per record; the one of the fifth record comes before the outer sum.
    const QStringList inner = linesWith(d, "'in'");
    ASSERT_EQ(inner.size(), 12);
    EXPECT_GT(topOf(inner[4]), topOf(linesWith(d, "'r5'").first()));
    EXPECT_LT(topOf(inner[4]), topOf(linesWith(d, "'150'").first()));
}

// The windows get their events after every record, and between the sections of a record only
// when some time has passed: a run of short records does not pay for them three times over.
TEST(ReportRun, EventsAfterEveryRecordNotEverySection) {
    constexpr int records = 400;
    TableReport t(kColumns, numberedRows(records, 1));
    QStringList lines = pagedTemplate();
    lines << "I,4,0,Vel1,1,20,1,20,0" << textLine("S0", 2, "Grp", 0, 0, 100, 20)
          << textLine("U0", 1, "0", 0, 0, 50, 20, "konec skupiny");
    t.setTemplate(lines);
    int passes = 0;
    QTimer pass;
    QObject::connect(&pass, &QTimer::timeout, [&passes] { ++passes; });
    pass.start(0);
    QElapsedTimer clock;
    clock.start();
    ASSERT_EQ(t.report.Generate(true), 0);
    const qint64 elapsed = clock.elapsed();
    // A group header, the body and a group footer for every record.
    EXPECT_EQ(linesWith(readingDump(t.report.Vystup()), "'konec skupiny'").size(), records);
    EXPECT_GE(passes, records - 1);
    EXPECT_LE(passes, records + elapsed / 20 + 10);
}

TEST(ReportRun, MultiColumnBody) {
    TableReport t(kColumns, numberedRows(5));
    QStringList lines = pagedTemplate();
    lines[0] = paperLine(827, 1169, 50, 2, 20);
    t.setTemplate(lines);
    ASSERT_EQ(t.report.Generate(true), 0);
    const QStringList d = readingDump(t.report.Vystup());
    const int second = (727 + 20) / 2;
    EXPECT_EQ(linesWith(d, "'r1'"), QStringList{"1 k2 10,150 100x20 'r1'"});
    EXPECT_EQ(linesWith(d, "'r2'"),
              QStringList{QStringLiteral("1 k2 %1,150 100x20 'r2'").arg(10 + second)});
    EXPECT_EQ(linesWith(d, "'r3'"), QStringList{"1 k2 10,170 100x20 'r3'"});
    // The last row is closed before the report footer.
    EXPECT_EQ(topOf(linesWith(d, "'Konec'").first()), 210);
}

// A growing text in the body flows over pages below the page header; every line is placed
// exactly once.
TEST(ReportRun, GrowingTextFlowsOverPages) {
    QString longText;
    for (int i = 1; i <= 300; ++i)
        longText += QStringLiteral("slovo%1 ").arg(i);
    TableReport t(kColumns, {{longText, "1", "g"}});
    QStringList lines = pagedTemplate();
    // Multiline and variable height (16 + 64).
    lines << sectionLine(2, true, 60);
    lines << textLine("T", 2, "Vel1", 0, 0, 120, 20, {}, 80);
    lines << textLine("T", 1, "0", 200, 30, 100, 20, "pod");
    t.setTemplate(lines);
    ASSERT_EQ(t.report.Generate(true), 0);
    const QStringList d = readingDump(t.report.Vystup());
    const QStringList parts = d.filter(QRegularExpression("k2 0,.*\\[\\d+-\\d+\\]'$"));
    ASSERT_GE(parts.size(), 3) << d.join('\n').toStdString();
    int expectedFirst = 0;
    for (int i = 0; i < parts.size(); ++i) {
        const QRegularExpressionMatch m =
            QRegularExpression("\\[(\\d+)-(\\d+)\\]'$").match(parts[i]);
        EXPECT_EQ(m.captured(1).toInt(), expectedFirst);
        expectedFirst = m.captured(2).toInt() + 1;
        EXPECT_EQ(pageOf(parts[i]), i + 1);
        if (i > 0) { // below the page header
            EXPECT_EQ(topOf(parts[i]), 50);
        }
        EXPECT_LE(topOf(parts[i]) + parts[i].section(u'x', 1).section(u' ', 0, 0).toInt(),
                  1069 - 30);
    }
    // The fixed element below the band follows the text's end on the last page.
    const QString below = linesWith(d, "'pod'").first();
    EXPECT_EQ(pageOf(below), parts.size());
    const QString& last = parts.last();
    EXPECT_EQ(topOf(below),
              topOf(last) + last.section(u'x', 1).section(u' ', 0, 0).toInt() + 30 - 20);
    // Page footers on every page.
    EXPECT_EQ(linesWith(d, "'Strana").size(), t.report.Vystup().PageCount());
}

// Two growing texts in one body, the first flowing onto the next page: the second grows where
// it stands on that page, and the fixed elements between and below them keep their template
// distances from the texts' ends.
TEST(ReportRun, GrowingTextAfterAFlowGrowsOnTheLaterPage) {
    QString longText;
    for (int i = 1; i <= 160; ++i)
        longText += QStringLiteral("slovo%1 ").arg(i);
    const QString threeLines = QStringLiteral("aaaaaaaaaaaaa bbbbbbbbbbbbb ccccccccccccc");
    TableReport t(kColumns, {{longText, threeLines, "g"}});
    QStringList lines = pagedTemplate();
    lines << sectionLine(2, true, 120);
    lines << textLine("T", 2, "Vel1", 0, 0, 120, 20, {}, 80);
    lines << textLine("T", 1, "0", 200, 30, 100, 20, "mezi");
    lines << textLine("T", 2, "Vel2", 0, 60, 120, 20, {}, 80);
    lines << textLine("T", 1, "0", 200, 100, 100, 20, "pod");
    t.setTemplate(lines);
    ASSERT_EQ(t.report.Generate(true), 0);
    const QStringList d = readingDump(t.report.Vystup());
    const auto height = [](const QString& line) {
        return line.section(u'x', 1).section(u' ', 0, 0).toInt();
    };
    const QStringList first = d.filter(QRegularExpression("k2 0,.*'slovo1 .*\\]'$"));
    ASSERT_GE(first.size(), 2) << d.join('\n').toStdString();
    const QString& flowEnd = first.last();
    const QStringList second = d.filter(QRegularExpression("k2 0,.*'aaa.*\\]'$"));
    ASSERT_EQ(second.size(), 1) << d.join('\n').toStdString();
    const QString& grown = second.first();
    const QString between = linesWith(d, "'mezi'").first();
    const QString below = linesWith(d, "'pod'").first();
    // Everything after the flow lies on its last page.
    const int page = pageOf(flowEnd);
    EXPECT_EQ(pageOf(between), page);
    EXPECT_EQ(pageOf(grown), page);
    EXPECT_EQ(pageOf(below), page);
    const int end = topOf(flowEnd) + height(flowEnd);
    EXPECT_EQ(topOf(between), end + 30 - 20);
    EXPECT_EQ(topOf(grown), end + 60 - 20);
    // The second text grew to its three lines and the element below it follows it.
    EXPECT_GT(height(grown), 2 * 20);
    EXPECT_EQ(topOf(below), topOf(grown) + height(grown) + 100 - 80);
    EXPECT_LE(topOf(below) + 20, 1069 - 30);
}

// Templates that never leave room still end: a line taller than the page, paper without a
// printable height, data that never ends.
TEST(ReportRun, TemplatesWithoutRoomEnd) {
    {
        TableReport t(kColumns, {{"jedna dva tri ctyri pet sest", "1", "g"}});
        t.setTemplate({paperLine(200, 200, 10), sectionLine(1, true, 20), sectionLine(2, true, 20),
                       textLine("H", 1, "0", 0, 0, 50, 20, "H"),
                       textLine("T", 2, "Vel1", 0, 0, 60, 20, {}, 80, 200)});
        ASSERT_EQ(t.report.Generate(true), 0);
        const QStringList parts =
            readingDump(t.report.Vystup()).filter(QRegularExpression("k2 .*\\]'$"));
        EXPECT_GE(parts.size(), 2);
    }
    {
        TableReport t(kColumns, numberedRows(30));
        t.setTemplate({paperLine(827, 100, 50), sectionLine(2, true, 20),
                       textLine("T", 2, "Vel1", 0, 0, 60, 20)});
        t.report.EndPage = 50;
        ASSERT_EQ(t.report.Generate(true), 0);
        EXPECT_LE(t.report.Vystup().PageCount(), 50);
        EXPECT_EQ(t.report.Vystup().PrintableHeight(), 0);
    }
    {
        TableReport t(kColumns, numberedRows(1));
        t.endless = true;
        t.setTemplate(pagedTemplate());
        t.report.EndPage = 4;
        ASSERT_EQ(t.report.Generate(true), 0);
        EXPECT_EQ(t.report.Vystup().PageCount(), 4);
    }
}

TEST(ReportRun, SystemVariablesAndValueCallback) {
    TableReport t(kColumns, numberedRows(3));
    t.report.setParametry({"2,5", "abc"});
    t.setTemplate(pagedTemplate());
    TCalcType v;
    v.text = QStringLiteral("Vel2");
    EXPECT_EQ(t.report.EvaluateCallback(kRequestItemIndex, v), 1);
    EXPECT_EQ(t.report.EvaluateCallback(1, v), -1);
    t.current = 1;
    t.report.GetData();
    TCalcType item;
    t.report.EvaluateCallback(kItemBase + 1, item);
    EXPECT_EQ(item.text, u"20");
    EXPECT_DOUBLE_EQ(item.number, 20);
    TCalcType parameter;
    t.report.EvaluateCallback(kParameterBase + 1, parameter);
    EXPECT_EQ(parameter.kind, 2);
    EXPECT_EQ(parameter.text, u"abc");
    TCalcType missing;
    missing.text = QStringLiteral("x");
    t.report.EvaluateCallback(kParameterBase + 5, missing);
    EXPECT_EQ(missing.kind, 0);
    EXPECT_TRUE(missing.text.isEmpty());
    EXPECT_EQ(t.report.GetVariable(4).number, 0);
    EXPECT_EQ(t.report.GetVariable(99).kind, 0);
}

TEST(ReportRun, SecondRunPreviewAndEditWhileARunIsActiveAreRefused) {
    TableReport t(kColumns, numberedRows(3));
    t.setTemplate(pagedTemplate());
    int designerOpened = 0;
    TSestavaTyp::setDesignerFactory([&](TSestavaTyp&, const TSestavaTyp::EditRequest&) {
        ++designerOpened;
        return 1;
    });
    int previewEvents = 0;
    int editEvents = 0;
    t.report.BeforePreview = [&](QObject*) { ++previewEvents; };
    t.report.BeforeEdit = [&](QObject*) { ++editEvents; };
    std::vector<int> nested;
    t.report.OnGetData = [&](TSestavaD* sender) {
        sender->itemValues() = t.rows[size_t(std::max(t.current, 0))];
        if (nested.empty() && t.report.busy())
            nested = {t.report.Generate(true), t.report.Preview(), t.report.ShowPreview(true),
                      t.report.Edit(), t.report.EditInOwner(nullptr, false)};
    };
    EXPECT_EQ(t.report.Generate(true), 0);
    EXPECT_FALSE(t.report.busy());
    EXPECT_EQ(nested, (std::vector<int>{7, 7, 7, 7, 7}));
    EXPECT_EQ(designerOpened, 0);
    EXPECT_EQ(previewEvents, 0);
    EXPECT_EQ(editEvents, 0);
    // Once the run is over the designer opens again (on the template the report keeps).
    t.report.IsStored = true;
    EXPECT_EQ(t.report.Edit(), 0);
    EXPECT_EQ(designerOpened, 1);
    TSestavaTyp::setDesignerFactory({});
}

// A master of three records whose body embeds a detail of `rows` rows per record.
struct MasterDetail {
    explicit MasterDetail(int rows) : master(kColumns, numberedRows(3)) {
        for (int i = 1; i <= rows; ++i)
            detailRows.push_back({QStringLiteral("d%1").arg(i)});
        detail.SetItemNames({QStringLiteral("Vel1")});
        detail.OnGetData = [this](TSestavaD* sender) {
            sender->itemValues() = current >= 0 && current < int(detailRows.size())
                                       ? detailRows[size_t(current)]
                                       : QStringList{QString()};
        };
        detail.OnStepData = [this](TSestavaD*, int dir) {
            if (dir == 0) {
                current = 0;
                return detailRows.empty() ? 2 : 0;
            }
            return ++current < int(detailRows.size()) ? 0 : 2;
        };
        detail.setMaster(&master.report);
        QStringList lines = pagedTemplate();
        lines << sectionLine(2, true, 60) << "T,15,0,50,20,300,20"
              << textLine("T", 1, "0", 0, 40, 100, 20, "za detailem")
              << "D0," + sectionLine(2, true, 20)
              << "D0," + textLine("T", 2, "Vel1", 20, 0, 100, 20);
        master.setTemplate(lines);
    }
    TableReport master;
    TSestDetail detail;
    std::vector<QStringList> detailRows;
    int current = -1;
};

TEST(ReportRun, DetailReportsWithNoneOneAndManyRows) {
    for (int rows : {0, 1, 40}) {
        SCOPED_TRACE(rows);
        MasterDetail md(rows);
        const TSestVystup& doc = md.master.report.Vystup();
        // A detail's run, an empty one too, leaves the first page current in the master's
        // document, as every run ends; the master looks when it steps to its next record.
        QStringList seen;
        const auto step = md.master.report.OnStepData;
        md.master.report.OnStepData = [&](TSestavaD* sender, int dir) {
            if (dir == 2)
                seen << QStringLiteral("%1 %2")
                            .arg(doc.CurrentPage())
                            .arg(doc.PageView().dump().contains("\"Titul\""));
            return step(sender, dir);
        };
        ASSERT_EQ(md.master.report.Generate(true), 0);
        EXPECT_EQ(seen, QStringList(3, "0 1"));
        const QStringList d = readingDump(doc);
        const QStringList detailLines = d.filter(QRegularExpression(" k2 .*'d\\d+'"));
        EXPECT_EQ(detailLines.size(), 3 * rows);
        // Rows in order under each master record, at their own left (a detail takes the master's y
        // only).
        for (int i = 0; i < detailLines.size(); ++i) {
            EXPECT_TRUE(detailLines[i].endsWith(QStringLiteral("'d%1'").arg(i % rows + 1)));
            EXPECT_TRUE(detailLines[i].contains(" 20,")) << detailLines[i].toStdString();
            EXPECT_LE(topOf(detailLines[i]) + 20, 1069 - 30) << detailLines[i].toStdString();
            if (pageOf(detailLines[i]) > 1) {
                EXPECT_GE(topOf(detailLines[i]), 50);
            }
        }
        // The element below the detail follows its rows.
        const QStringList after = linesWith(d, "'za detailem'");
        ASSERT_EQ(after.size(), 3);
        if (rows == 1) {
            const QString firstRow = detailLines.first();
            EXPECT_EQ(topOf(after.first()), topOf(firstRow) + 20);
        }
        if (rows == 40) {
            EXPECT_GE(doc.PageCount(), 3);
        }
        // Every page but the last has its page footer once.
        for (int p = 1; p <= doc.PageCount(); ++p)
            EXPECT_LE(d.filter(QRegularExpression(QStringLiteral("^%1 .*'Strana").arg(p))).size(),
                      1);
    }
}

TEST(ReportRun, ClearingOrReloadingATemplateDropsThePagesThatPointIntoIt) {
    // Reading the pages after the template went would touch freed elements (the sanitizer
    // build reports it); the pages must be gone with them.
    TableReport t(kColumns, numberedRows(60));
    t.setTemplate(pagedTemplate());
    ASSERT_EQ(t.report.Generate(true), 0);
    ASSERT_GT(t.report.Vystup().PageCount(), 1);
    t.setTemplate(pagedTemplate());
    EXPECT_EQ(t.report.Vystup().PageCount(), 0);
    EXPECT_TRUE(dump(t.report.Vystup()).isEmpty());
    ASSERT_EQ(t.report.Generate(true), 0);
    const QStringList again = dump(t.report.Vystup());
    EXPECT_EQ(again.filter(QRegularExpression(" k2 .*'r\\d+'")).size(), 60);
    t.report.ClearModel();
    EXPECT_EQ(t.report.Vystup().PageCount(), 0);

    // A detail's elements lie on the master's pages: clearing the detail drops them too, and
    // so does destroying it.
    MasterDetail md(5);
    ASSERT_EQ(md.master.report.Generate(true), 0);
    ASSERT_GT(md.master.report.Vystup().PageCount(), 0);
    md.detail.ClearModel();
    EXPECT_EQ(md.master.report.Vystup().PageCount(), 0);

    auto detail = std::make_unique<TSestDetail>();
    detail->setMaster(&md.master.report);
    detail->SetPredloha(TPredloha(
        QStringList{sectionLine(2, true, 20), textLine("T", 1, "0", 0, 0, 100, 20, "d")}));
    ASSERT_EQ(md.master.report.Generate(true), 0);
    ASSERT_GT(md.master.report.Vystup().PageCount(), 0);
    detail.reset();
    EXPECT_EQ(md.master.report.Vystup().PageCount(), 0);
}

TEST(ReportRun, CharacterGridKeepsSectionsOnWholeLines) {
    TableReport t(kColumns, numberedRows(8));
    t.setTemplate({paperLine(827, 1169, 50), "I,6,1,10,17,0,0,0,0", sectionLine(2, true, 17),
                   textLine("T", 2, "Vel1", 0, 0, 100, 17)});
    ASSERT_EQ(t.report.Generate(true), 0);
    const QStringList bodies = readingDump(t.report.Vystup()).filter(" k2 ");
    ASSERT_EQ(bodies.size(), 8);
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(topOf(bodies[i]), int(std::nearbyint(i * 100.0 / 6))) << i;
}

// Group flags and the report's hooks: a group with the new-page flag starts each group on its
// own page and page-level functions restart there; vetoed elements and sections are dropped.
TEST(ReportRun, NewPageGroupsAndVetoes) {
    TableReport t(kColumns, numberedRows(9, 3));
    QStringList lines = pagedTemplate();
    lines << "I,4,0,Grp,1,20,1,20,1"
          << "F,0,strana,\"za stranu\",0,\"0\",1,\"#Vel2\",2,15,0,2"
          << textLine("S0", 2, "Grp", 0, 0, 100, 20) << textLine("U0", 6, "strana", 0, 0, 100, 20)
          << textLine("T", 1, "0", 400, 0, 100, 20, "skryty");
    t.setTemplate(lines);
    t.report.OnTiskPrvku = [](TSestavaD*, TVoranReportElement* e, bool& print) {
        print = e->Text != u"skryty";
    };
    t.report.OnTiskOddilu = [](TSestava*, int section, bool& print) { print = section != odK; };
    ASSERT_EQ(t.report.Generate(true), 0);
    const QStringList d = readingDump(t.report.Vystup());
    EXPECT_EQ(t.report.Vystup().PageCount(), 3);
    for (int g = 1; g <= 3; ++g)
        EXPECT_EQ(pageOf(linesWith(d, QStringLiteral("'g%1'").arg(g)).first()), g);
    QStringList sums;
    for (const QString& s : d.filter(" k6 "))
        sums << s.section(u'\'', 1, 1);
    EXPECT_EQ(sums, (QStringList{"60", "150", "240"}));
    EXPECT_TRUE(linesWith(d, "skryty").isEmpty());
    EXPECT_TRUE(linesWith(d, "'Konec'").isEmpty());
}

// Drawing areas are painted by the report's handler during the run and pictures loaded by
// name; both reach the page view.
TEST(ReportRun, DrawingAreasAndPicturesReachThePageView) {
    TableReport t(kColumns, numberedRows(2));
    int painted = 0;
    t.report.OnPaintBox = [&](TSestavaD*, int index, int width, int height,
                              platform::TCanvas& canvas) {
        ++painted;
        EXPECT_EQ(index, 3);
        canvas.Rectangle({0, 0, width / 2, height / 2});
    };
    t.setTemplate({paperLine(827, 1169, 50), sectionLine(2, true, 60),
                   "T,13,3,0,0,100,50,,1,0,0,0,15,2",
                   QStringLiteral("T,11,0,200,0,40,40,,1,0,0,16,15,0,\"%1\"")
                       .arg(KOLV_TEST_DATA_DIR "/logo.bmp")});
    ASSERT_EQ(t.report.Generate(true), 0);
    EXPECT_EQ(painted, 2);
    TSestVystup& doc = t.report.Vystup();
    doc.ShowPage(0);
    const QStringList view = doc.PageView().dump().split(u'\n');
    // The area: a nested picture of zoom 2 at its own size (its frame is one unit short of
    // the element), holding the handler's rectangle.
    EXPECT_TRUE(view.contains("picture 0,0,594,294")) << view.join('\n').toStdString();
    EXPECT_TRUE(view.contains("  rectangle 0,0,100,50"));
    // The picture, stretched (option 16) over its rectangle on both rows.
    EXPECT_EQ(view.filter(QRegularExpression("^bitmap 1200,\\d+,1440,\\d+ image=")).size(), 2);
}

TEST(ReportRun, SectionsTallerThanThePageAndMissingPicturesStillEnd) {
    TableReport t(kColumns, numberedRows(5));
    t.setTemplate({paperLine(827, 1169, 50), sectionLine(1, true, 50), sectionLine(2, true, 2000),
                   textLine("H", 1, "0", 0, 0, 100, 20, "H"),
                   textLine("T", 2, "Vel1", 0, 1500, 100, 20),
                   "T,11,0,200,0,40,40,,1,0,0,16,15,0,\"neni-tu.bmp\""});
    ASSERT_EQ(t.report.Generate(true), 0);
    TSestVystup& doc = t.report.Vystup();
    EXPECT_EQ(readingDump(doc).filter(QRegularExpression(" k2 .*'r\\d'")).size(), 5);
    EXPECT_LE(doc.PageCount(), 6);
    doc.ShowPage(0);
    EXPECT_FALSE(doc.PageView().dump().contains("bitmap"));
}

// The designer draws template elements through the same routine as the page view.
TEST(ReportRun, TemplateElementsDrawWithoutADocument) {
    TSestava report;
    TVoranReportElement element(&report);
    element.LoadFromLine(textLine("T", 1, "0", 10, 20, 200, 30, "Nadpis", 2));
    element.Options = 15;
    platform::Metafile direct(4962, 7014, 600);
    {
        platform::RecordingCanvas canvas(direct);
        ElementContent content;
        content.text = element.Text;
        DrawReportElement(canvas, element, content, {10, 20, 210, 50}, 0, 0, 6, 6);
    }
    TSestVystup doc;
    auto out = std::make_unique<TVystPrvek>(&element, 10, 20, 200, 30);
    out->SetText(element.Text);
    doc.AddElement(0, std::move(out));
    doc.ShowPage(0);
    EXPECT_EQ(direct.dump(), doc.PageView().dump());
    EXPECT_TRUE(direct.dump().contains("\"Nadpis\""));
}

// The document's printable area is the printer and paper model's: the template's page line
// when it has one, the page setup as it stands otherwise.
TEST(ReportRun, PrintableAreaComesFromThePageSetup) {
    TableReport t(kColumns, numberedRows(1));
    PageSetup().orientation = 1;
    PageSetup().leftMargin = 100;
    PageSetup().rightMargin = 0;
    PageSetup().topMargin = 20;
    PageSetup().bottomMargin = 30;
    t.setTemplate({sectionLine(2, true, 20), textLine("T", 2, "Vel1", 0, 0, 60, 20)});
    ASSERT_EQ(t.report.Generate(true), 0);
    const TSestVystup& doc = t.report.Vystup();
    EXPECT_EQ(doc.PrintableWidth(), PageSetup().paperHeight - 100);
    EXPECT_EQ(doc.PrintableHeight(), PageSetup().paperWidth - 50);
    EXPECT_TRUE(doc.pageLayout().landscape);
    EXPECT_EQ(doc.pageLayout().marginLeft, 100);

    t.setTemplate({"I,2,0,500,400,10,20,30,40,1,0", sectionLine(2, true, 20)});
    ASSERT_EQ(t.report.Generate(true), 0);
    EXPECT_EQ(doc.PrintableWidth(), 500 - 30);
    EXPECT_EQ(doc.PrintableHeight(), 400 - 70);
}

} // namespace

// A run after an ended or a cancelled one repeats the first: group counts and a page break left
// pending (by the last page footer) start afresh; a detail counts its groups anew for every
// master record.
TEST(ReportRun, EveryRunStartsCleanOfTheRunBefore) {
    TableReport t(kColumns, numberedRows(8, 3));
    t.setTemplate(pagedTemplate(1) << "I,4,0,Grp,0,0,0,0,0" << textLine("T", 5, "5", 200, 0, 5, 9)
                                   << textLine("T", 5, "6", 205, 0, 5, 9));
    t.report.OnTiskOddilu = [](TSestava* r, int section, bool&) {
        if (section == odP) r->NewPage();
    };
    const auto numbers = [](TSestavaTyp& report, const QString& at) {
        QString shown;
        for (const QString& line : readingDump(report.Vystup()).filter(" k5 " + at))
            shown += line.section(u'\'', 1, 1);
        return shown;
    };
    ASSERT_EQ(t.report.Generate(true), 0);
    const QStringList first = readingDump(t.report.Vystup());
    EXPECT_EQ(numbers(t.report, "20"), "1121311222321323"); // row in group, group
    ASSERT_EQ(t.report.Generate(true), 0);
    EXPECT_EQ(readingDump(t.report.Vystup()), first);
    bool cancel = false;
    t.report.setCancelFlag(&cancel);
    const auto get = t.report.OnGetData;
    t.report.OnGetData = [&](TSestavaD* sender) { get(sender), cancel = t.current == 4; };
    EXPECT_EQ(t.report.Generate(true), 3);
    t.report.OnGetData = get;
    cancel = false;
    ASSERT_EQ(t.report.Generate(true), 0);
    EXPECT_EQ(readingDump(t.report.Vystup()), first);
    MasterDetail md(4);
    md.detail.SetItemNames({QStringLiteral("Vel1"), QStringLiteral("Grp")});
    md.detailRows = {{"d1", "a"}, {"d2", "a"}, {"d3", "b"}, {"d4", "b"}};
    md.master.setTemplate(pagedTemplate() << "T,15,0,0,20,600,20"
                                          << "D0,I,4,0,Grp,0,0,0,0,0"
                                          << "D0," + sectionLine(2, true, 20)
                                          << "D0," + textLine("T", 5, "6", 610, 0, 40, 20));
    ASSERT_EQ(md.master.report.Generate(true), 0);
    EXPECT_EQ(numbers(md.master.report, "610,"), "112211221122");
}

// Every record's own copy of a picture (option 64) is one image, decoded anew each run.
TEST(ReportRun, APictureIsDecodedOnceARunAndDrawnAsOneImage) {
    QTemporaryDir dir;
    TableReport t(kColumns, numberedRows(12));
    t.setTemplate({paperLine(827, 1169, 50), sectionLine(2, true, 300),
                   "T,11,0,0,0,200,150,,1,0,0,80,15,0,\"" + dir.filePath("p.bmp") + '"'});
    for (const QColor colour : {QColor(Qt::red), QColor(Qt::blue)}) {
        QImage picture(40, 30, QImage::Format_RGB32);
        picture.fill(colour);
        ASSERT_TRUE(picture.save(dir.filePath("p.bmp"), "BMP") && t.report.Generate(true) == 0);
        QMap<qint64, QColor> decoded;
        for (int page = 0; page < t.report.Vystup().PageCount(); ++page)
            for (int i = 0; i < t.report.Vystup().Page(page)->Count(); ++i) {
                const QImage& image = t.report.Vystup().Page(page)->Prvek(i)->Picture()->bitmap();
                decoded[image.cacheKey()] = image.pixelColor(5, 5);
            }
        EXPECT_EQ(decoded.values(), QList<QColor>{colour});
    }
}

// Sizes at the ends of int run, draw and export without overflow; beyond any page a larger
// value changes nothing (a million and INT_MAX come out alike).
TEST(ReportRun, SizesAtTheEndsOfIntChangeNothingBeyondThePage) {
    QByteArray outputs[2];
    for (const int v : {1'000'000, INT_MAX}) {
        const QString n = QString::number(v);
        QStringList lines{"I,2,0," + n + "," + n + ",50,50,50,50,2," + n,
                          "I,4,0,Grp,1," + n + ",1," + n + ",0"};
        for (int section = 0; section < 5; ++section)
            lines << sectionLine(section, true, v);
        for (const QString key : {"Z", "H", "T", "K", "P", "S0", "U0"})
            lines << textLine(key, 5, "3", v, v, v, v, "%d", 16 + 64, v)
                  << key + QStringLiteral(",7,0,10,10,%1,%1,,%1,0,0,127,15,0").arg(n)
                  << key + QStringLiteral(",12,0,-%1,0,%1,9,,%1,0,0,32,15,0,\"1\",%1,0").arg(n);
        TableReport t(kColumns, numberedRows(3, 2));
        t.setTemplate(lines);
        ASSERT_EQ(t.report.Generate(true), 0);
        TSestVystup& doc = t.report.Vystup();
        doc.ShowPage(0);
        QBuffer out;
        out.open(QIODevice::WriteOnly);
        out.write((dump(doc) << doc.PageView().dump()).join('\n').toUtf8());
        QTemporaryDir dir;
        SaveToHTML(doc, out, dir.path(), 0, "x.html");
        SaveToRTF(doc, out);
        SavePageMetafile(doc, out, 0, false, true);
        SaveToText(doc, out, 1, 1, 1);
        outputs[v == INT_MAX] = out.data();
    }
    EXPECT_TRUE(outputs[0] == outputs[1]);
}

namespace {

// What every run of pagedTemplate() must give: each record's body once and in order, nothing
// below the printable bottom, and on every page its own page footer once, numbered 1..N.
void expectSoundPages(const TSestVystup& doc, int records) {
    const QStringList d = readingDump(doc);
    QStringList bodies;
    for (const QString& line : d.filter(QRegularExpression(" k2 .*'r\\d+'")))
        bodies << line.section(u'\'', 1, 1);
    QStringList expected;
    for (int i = 1; i <= records; ++i)
        expected << QStringLiteral("r%1").arg(i);
    EXPECT_EQ(bodies, expected);
    for (const QString& line : d)
        EXPECT_LE(topOf(line) + line.section(u'x', 1).section(u' ', 0, 0).toInt(),
                  doc.PrintableHeight())
            << line.toStdString();
    QStringList footers, numbered;
    for (const QString& line : linesWith(d, "'Strana"))
        footers << line.section(u' ', 0, 0) + ' ' + line.section(u'\'', 1, 1);
    for (int p = 1; p <= doc.PageCount(); ++p)
        numbered << QStringLiteral("%1 Strana %1").arg(p);
    EXPECT_EQ(footers, numbered);
}

} // namespace

// A report footer that starts a page of its own, or that stands at the page's foot where the
// last page has no room left for it, turns the page: the page footer closes the page it
// leaves, and the new page is numbered on.
TEST(ReportRun, ReportFooterTurnsThePageWhereItMust) {
    const int newPage = 1, atBottom = 2;
    const struct {
        int flags;
        int records;
        bool ownPage; // the footer stands on the page after the last record's
    } cases[] = {{newPage, 3, true},
                 {newPage, 44, true},
                 {atBottom, 42, false},
                 {atBottom, 43, true},
                 {atBottom, 100, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(
            QStringLiteral("flags %1, %2 records").arg(c.flags).arg(c.records).toStdString());
        TableReport t(kColumns, numberedRows(c.records));
        t.setTemplate(pagedTemplate(0, 0, c.flags));
        ASSERT_EQ(t.report.Generate(true), 0);
        const TSestVystup& doc = t.report.Vystup();
        expectSoundPages(doc, c.records);
        const QStringList d = readingDump(doc);
        const QStringList end = linesWith(d, "'Konec'");
        ASSERT_EQ(end.size(), 1);
        const int lastBodyPage =
            pageOf(linesWith(d, QStringLiteral("'r%1'").arg(c.records)).first());
        EXPECT_EQ(pageOf(end.first()), lastBodyPage + (c.ownPage ? 1 : 0));
        EXPECT_EQ(pageOf(end.first()), doc.PageCount());
        // On its own page right below the page header; at the foot above the page footer.
        EXPECT_EQ(topOf(end.first()), c.flags == newPage ? 50 : 1069 - 30 - 40);
    }
}

// The order in which a template stores a section's elements is no order of the page: growing
// texts side by side, one reaching below its neighbours, one spanning another, and fixed texts
// between and below them give the same pages in every stored order as stored top to bottom.
TEST(ReportRun, ElementsStoredInAnyOrderGiveTheSamePages) {
    const auto words = [](int count) {
        QStringList w;
        for (int i = 1; i <= count; ++i)
            w << QStringLiteral("slovo%1").arg(i);
        return w.join(u' ');
    };
    std::vector<QStringList> rows;
    for (int i = 1; i <= 5; ++i)
        rows.push_back({words(i * 25), words((6 - i) * 12), words(i)});
    // Top to bottom, then left to right.
    const QStringList body{textLine("T", 2, "A", 0, 0, 120, 20, {}, 80),
                           textLine("T", 2, "B", 300, 0, 120, 20, {}, 80),
                           textLine("T", 2, "C", 600, 5, 100, 45, {}, 80),
                           textLine("T", 2, "C", 450, 10, 100, 30, {}, 80),
                           textLine("T", 1, "0", 200, 30, 80, 20, "mezi"),
                           textLine("T", 2, "A", 0, 60, 120, 20, {}, 80),
                           textLine("T", 1, "0", 200, 100, 80, 20, "pod")};
    int pageCount = 0;
    const auto pages = [&](const QStringList& elements) {
        TableReport t({"A", "B", "C"}, rows);
        QStringList lines = pagedTemplate();
        lines << sectionLine(2, true, 120);
        t.setTemplate(lines + elements);
        EXPECT_EQ(t.report.Generate(true), 0);
        pageCount = t.report.Vystup().PageCount();
        QStringList d = dump(t.report.Vystup());
        d.sort();
        return d;
    };
    const QStringList expected = pages(body);
    ASSERT_GT(pageCount, 1);
    for (const QString& line : expected)
        EXPECT_LE(topOf(line) + line.section(u'x', 1).section(u' ', 0, 0).toInt(), 1069)
            << line.toStdString();
    std::vector<int> order(size_t(body.size()));
    std::iota(order.begin(), order.end(), 0);
    std::mt19937 shuffled(7);
    for (int n = 0; n < 150; ++n) {
        if (n == 0)
            std::reverse(order.begin(), order.end());
        else
            std::shuffle(order.begin(), order.end(), shuffled);
        QStringList stored;
        for (int i : order)
            stored << body[i];
        ASSERT_EQ(pages(stored).join('\n').toStdString(), expected.join('\n').toStdString())
            << stored.join('\n').toStdString();
    }
}

// The row number counts the records, across pages too; the print time is the run's start, the
// same on every page and after the run, in the time format of the user's settings.
TEST(ReportRun, RowNumberAndPrintTimeVariables) {
    TableReport t(kColumns, numberedRows(60));
    t.setTemplate(pagedTemplate() << textLine("T", 5, "2", 200, 0, 60, 20)
                                  << textLine("T", 5, "1", 400, 0, 150, 20));
    const double before = platform::DateTimeToDouble(QDateTime::currentDateTime());
    ASSERT_EQ(t.report.Generate(true), 0);
    const double after = platform::DateTimeToDouble(QDateTime::currentDateTime());
    const QStringList d = readingDump(t.report.Vystup());
    ASSERT_GT(t.report.Vystup().PageCount(), 1);
    const TCalcType time = t.report.GetVariable(1);
    EXPECT_GE(time.number, before);
    EXPECT_LE(time.number, after);
    EXPECT_EQ(time.text, platform::TimeToStr(time.number));
    const QStringList rows = d.filter(" k5 200,");
    const QStringList times = d.filter(" k5 400,");
    ASSERT_EQ(rows.size(), 60);
    ASSERT_EQ(times.size(), 60);
    for (int i = 0; i < 60; ++i) {
        const QString body = linesWith(d, QStringLiteral("'r%1'").arg(i + 1)).value(0);
        EXPECT_EQ(rows[i], body.section(u' ', 0, 0) + " k5 200," + QString::number(topOf(body)) +
                               QStringLiteral(" 60x20 '%1'").arg(i + 1));
        EXPECT_TRUE(times[i].endsWith('\'' + time.text + '\'')) << times[i].toStdString();
    }
}

// A value that cannot be read (the application's handler throws for one record) is a null
// value for the expressions, never the end of the run.
TEST(ReportRun, AValueThatCannotBeReadIsNull) {
    TableReport t(kColumns, numberedRows(4));
    t.setTemplate(pagedTemplate() << "F,0,suma,\"soucet\",0,\"0\",0,\"#Vel2\",2,15,0,2"
                                  << "F,1,prazdna,\"\",0,\"0\",0,\"ISNULL(#Vel2)\",0,15,0,2"
                                  << textLine("T", 6, "prazdna", 200, 0, 50, 20)
                                  << textLine("K", 6, "suma", 300, 0, 100, 20));
    t.report.AllowNullValues = true;
    t.report.OnGetDataType = [&](TSestavaD*, int index, int&) {
        if (index == 1 && t.current == 1) throw std::runtime_error("no such value");
    };
    ASSERT_EQ(t.report.Generate(true), 0);
    const QStringList d = readingDump(t.report.Vystup());
    QStringList nulls;
    for (const QString& line : d.filter(" k6 200,"))
        nulls << line.section(u'\'', 1, 1);
    EXPECT_EQ(nulls, (QStringList{"0", "1", "0", "0"}));
    // The sum skips the null value: 10 + 30 + 40.
    EXPECT_EQ(d.filter(" k6 300,").value(0).section(u'\'', 1, 1), "80");
}

// A run without a source of records or without a template to read does nothing and says so
// once: one message, one error event.
TEST(ReportRun, ARunWithNothingToDoSaysSoOnce) {
    QTemporaryDir dir;
    const struct {
        bool events;
        QString reportName; // in `dir`; none: no template path at all
        int result;
    } cases[] = {{false, {}, seNothingDone},
                 {true, {}, seNothingDone},
                 {true, QStringLiteral("chybi.pts"), seNotLoaded}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reportName.toStdString() + (c.events ? " events" : " no source"));
        TableReport t(kColumns, numberedRows(3));
        if (!c.events) {
            t.report.OnStepData = nullptr;
            t.report.OnGetData = nullptr;
            t.setTemplate(pagedTemplate());
        }
        t.report.ReportDirIgnore = false;
        if (!c.reportName.isEmpty()) {
            t.report.setReportDir(dir.path() + '/');
            t.report.SetReportName(c.reportName);
        }
        platform::MessageRecorder sink;
        t.report.setMessageSink(&sink);
        QList<int> errors;
        t.report.OnError = [&](TSestava*, int e) { return errors << e, true; };
        EXPECT_EQ(t.report.PrepareAndGenerate(), c.result);
        EXPECT_EQ(errors, QList<int>{c.result});
        EXPECT_EQ(sink.boxes().size(), 1) << sink.messages().join('\n').toStdString();
        EXPECT_EQ(t.report.Vystup().PageCount(), 0);
    }
}
