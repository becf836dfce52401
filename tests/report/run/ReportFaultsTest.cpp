// Faults a report run must not hide or make: page breaks that outlive their request, headers
// missing from page 1, a report cut at its last possible page without a word, template files
// that are no templates, and a template's own background missing from a direct print.

#include "support/ExportFixture.h"
#include "support/QtPrinters.h"

#include "platform/MessageSink.h"
#include "report/engine/document/sestvyst.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace report;
using namespace reporttest;

namespace {

const QStringList kColumns{QStringLiteral("Vel1")};

std::vector<QStringList> rowsOf(int count) {
    std::vector<QStringList> rows;
    for (int i = 1; i <= count; ++i)
        rows.push_back({QStringLiteral("r%1").arg(i)});
    return rows;
}

// Pages holding a body of record `r..`, in record order.
QList<int> bodyPages(const TSestVystup& doc) {
    QList<int> pages;
    for (const QString& line : dump(doc))
        if (line.contains(QRegularExpression(" k2 .*'r\\d+'")))
            pages << line.section(' ', 0, 0).toInt();
    return pages;
}

// Paper 827 x 1169, margins 50: 1069 printable; bodies of 20.
QStringList headedTemplate(bool headerVisible, int headerHeight) {
    return {paperLine(827, 1169, 50), sectionLine(1, headerVisible, headerHeight),
            sectionLine(2, true, 20), textLine("H", 1, "0", 0, 0, 200, 20, "Hlavicka"),
            textLine("T", 2, "Vel1", 0, 0, 100, 20)};
}

} // namespace

// One NewPage() request makes one new page, whether or not a page header is printed there to
// take the request: the same records land on the same pages with the header hidden.
TEST(RunFaults, OneNewPageRequestMakesOnePageWithAHiddenHeaderToo) {
    QList<int> pagesWith[2];
    for (const bool visible : {true, false}) {
        TableReport t(kColumns, rowsOf(6));
        t.setTemplate(headedTemplate(visible, 20));
        int bodies = 0;
        t.report.OnTiskOddilu = [&](TSestava* report, int section, bool&) {
            if (section == odT && ++bodies == 3) report->NewPage();
        };
        ASSERT_EQ(t.report.Generate(true), 0);
        pagesWith[visible] = bodyPages(t.report.Vystup());
    }
    EXPECT_EQ(pagesWith[1], (QList<int>{1, 1, 2, 2, 2, 2}));
    EXPECT_EQ(pagesWith[0], pagesWith[1]);
}

// A visible page header prints on every page, page 1 included, also when its own height is 0
// (its elements still have theirs).
TEST(RunFaults, AVisibleHeaderOfHeightZeroPrintsOnEveryPage) {
    for (const int height : {0, 20}) {
        TableReport t(kColumns, rowsOf(120));
        t.setTemplate(headedTemplate(true, height));
        ASSERT_EQ(t.report.Generate(true), 0);
        const TSestVystup& doc = t.report.Vystup();
        ASSERT_GE(doc.PageCount(), 2) << height;
        QList<int> headerPages;
        for (const QString& line : dump(doc))
            if (line.endsWith("'Hlavicka'")) headerPages << line.section(' ', 0, 0).toInt();
        QList<int> every;
        for (int p = 1; p <= doc.PageCount(); ++p)
            every << p;
        EXPECT_EQ(headerPages, every) << height;
    }
}

// Endless records: the run stops at its last possible page. When the caller chose no end
// page the user is told that records were left out; a chosen end page is no surprise.
TEST(RunFaults, ARunCutAtTheLastPossiblePageSaysSo) {
    for (const int endPage : {TSestavaTyp::kNoEndPage, 3}) {
        platform::MessageRecorder sink;
        TableReport t(kColumns, rowsOf(1));
        t.endless = true;
        t.report.setMessageSink(&sink);
        t.report.EndPage = endPage;
        // A body as high as the printable area: one record per page.
        t.setTemplate({paperLine(827, 1169, 50), sectionLine(2, true, 1069),
                       textLine("T", 1, "0", 0, 0, 100, 20, "x")});
        ASSERT_EQ(t.report.Generate(true), 0);
        EXPECT_EQ(t.report.Vystup().PageCount(), endPage);
        if (endPage == TSestavaTyp::kNoEndPage) {
            ASSERT_EQ(sink.boxes().size(), 1);
            EXPECT_TRUE(sink.boxes()[0].text.contains(QString::number(endPage)));
            EXPECT_EQ(sink.boxes()[0].caption, u"Varování");
        } else {
            EXPECT_TRUE(sink.messages().isEmpty()) << sink.messages().join('\n').toStdString();
        }
    }
}

// The component reports a damaged template file by name and loads nothing; a sound one loads.
TEST(RunFaults, TheComponentReportsADamagedTemplateByName) {
    QTemporaryDir dir;
    const QByteArray good = TPredloha(headedTemplate(true, 20)).ToBytes();
    const QByteArray damaged[] = {QByteArray("\xff\xfe\x00garbage,,,\"\r\nT,2,", 20),
                                  QByteArray("not a template\r\n"), good + "T,2,Vel1,0,0"};
    for (const QByteArray& bytes : damaged) {
        TableReport t(kColumns, rowsOf(2));
        platform::MessageRecorder sink;
        t.report.setMessageSink(&sink);
        t.report.setReportDir(dir.path());
        t.report.ReportDirIgnore = false;
        t.report.SetReportName(QStringLiteral("damaged.pts"));
        QFile file(dir.filePath("damaged.pts"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
        file.close();
        int error = 0;
        t.report.OnError = [&](TSestava*, int e) { return error = e, true; };
        EXPECT_EQ(t.report.PrepareAndGenerate(), seNotLoaded);
        EXPECT_EQ(error, seNotLoaded);
        ASSERT_EQ(sink.boxes().size(), 1);
        EXPECT_TRUE(sink.boxes()[0].text.contains(dir.filePath("damaged.pts")));
        EXPECT_TRUE(sink.boxes()[0].text.contains(QString::fromUtf8("poškozený")));
        EXPECT_EQ(t.report.Vystup().PageCount(), 0);
    }
    TableReport t(kColumns, rowsOf(2));
    t.report.setReportDir(dir.path());
    t.report.ReportDirIgnore = false;
    t.report.SetReportName(QStringLiteral("good.pts"));
    QFile file(dir.filePath("good.pts"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(good);
    file.close();
    EXPECT_EQ(t.report.PrepareAndGenerate(), seOk);
    EXPECT_EQ(bodyPages(t.report.Vystup()), (QList<int>{1, 1}));
}

// EditEx opens the designer on the report as a run sees it: the current record's values from
// the events, the template loaded from its file; a missing file is offered to be created, and
// declining opens nothing. Without any source of records nothing opens either.
TEST(EditEx, LoadsDataAndTemplateBeforeTheDesignerOpens) {
    QTemporaryDir dir;
    const QStringList lines = headedTemplate(true, 20);
    QFile file(dir.filePath("sestava.pts"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(TPredloha(lines).ToBytes());
    file.close();
    struct Seen {
        QStringList predloha;
        QStringList values;
        bool designing = false;
    };
    QList<Seen> opened;
    TSestavaTyp::setDesignerFactory([&](TSestavaTyp& r, const TSestavaTyp::EditRequest&) {
        auto& d = dynamic_cast<TSestavaD&>(r);
        opened.append({r.Predloha(), d.itemValues(), d.designing()});
        return 1;
    });
    const auto makeReport = [&](TableReport& t, platform::MessageRecorder& sink,
                                const QString& name) {
        t.report.setMessageSink(&sink);
        t.report.setReportDir(dir.path());
        t.report.ReportDirIgnore = false;
        t.report.SetReportName(name);
        t.current = 1;
    };
    {
        TableReport t(kColumns, rowsOf(3));
        platform::MessageRecorder sink;
        makeReport(t, sink, "sestava.pts");
        EXPECT_EQ(t.report.Edit(), seOk);
        ASSERT_EQ(opened.size(), 1);
        EXPECT_EQ(opened[0].predloha, lines);
        EXPECT_EQ(opened[0].values, QStringList{"r2"});
        EXPECT_TRUE(opened[0].designing);
        EXPECT_TRUE(sink.messages().isEmpty());
    }
    for (const auto answer : {platform::MessageAnswer::No, platform::MessageAnswer::Yes}) {
        TableReport t(kColumns, rowsOf(3));
        platform::MessageRecorder sink;
        makeReport(t, sink, "nova.pts");
        sink.scriptAnswers({answer});
        QList<int> errors;
        t.report.OnError = [&](TSestava*, int e) {
            errors << e;
            return true;
        };
        const qsizetype before = opened.size();
        const bool yes = answer == platform::MessageAnswer::Yes;
        EXPECT_EQ(t.report.Edit(), yes ? seOk : seNotLoaded);
        ASSERT_EQ(sink.boxes().size(), 1);
        EXPECT_TRUE(sink.boxes()[0].text.contains(QString::fromUtf8("Založit nový?")));
        EXPECT_EQ(opened.size(), before + (yes ? 1 : 0));
        EXPECT_EQ(QFile::exists(dir.filePath("nova.pts")), yes);
        EXPECT_EQ(errors, yes ? QList<int>{} : QList<int>{seNotLoaded});
    }
    {
        TSestava bare;
        platform::MessageRecorder sink;
        bare.setMessageSink(&sink);
        const qsizetype before = opened.size();
        EXPECT_EQ(bare.Edit(), seNothingDone);
        EXPECT_EQ(opened.size(), before);
        EXPECT_EQ(sink.messages(), QStringList{QString::fromUtf8("Není definován zdroj dat.")});
    }
    TSestavaTyp::setDesignerFactory({});
}
