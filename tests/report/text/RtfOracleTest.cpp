// A generated three-page report exported to RTF and read back through LibreOffice and poppler:
// the page count and size, each page's values on its own page, and the exact path written.

#include "support/ExportFixture.h"

#include "report/engine/export/sest_str.h"

#include <QDir>
#include <QRegularExpression>

#include <gtest/gtest.h>

using namespace report;
using namespace reporttest;

namespace {

TEST(RtfOracle, ThreePageReportConvertsToThreeA4PagesWithTheirOwnValues) {
    std::vector<QStringList> rows;
    for (int i = 1; i <= 120; ++i)
        rows.push_back({QStringLiteral("row%1").arg(i)});
    TableReport t({QStringLiteral("Vel1")}, rows);
    t.setTemplate({paperLine(827, 1169, 50), sectionLine(0, true, 40), sectionLine(2, true, 20),
                   textLine("Z", 1, "0", 0, 0, 400, 40, QStringLiteral("Přehled {a} \\ b")),
                   textLine("T", 2, "Vel1", 10, 0, 200, 20)});
    ASSERT_EQ(t.report.Generate(true), 0);
    TSestVystup& doc = t.report.Vystup();
    ASSERT_EQ(doc.PageCount(), 3);

    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir("Out"));
    const QString path = dir.filePath("Out/Report.RTF");
    ASSERT_TRUE(SaveToRTFFile(doc, path));
    EXPECT_EQ(QDir(dir.filePath("Out")).entryList(QDir::Files), QStringList{"Report.RTF"});

    const QString pdf = convertWithOffice(path, "pdf", dir.filePath("pdf"));
    ASSERT_FALSE(pdf.isEmpty());
    const ToolResult info = runTool("pdfinfo", {pdf});
    ASSERT_EQ(info.exitCode, 0);
    EXPECT_TRUE(QString::fromUtf8(info.out).contains(QRegularExpression("Pages: +3\\n")))
        << info.out.toStdString();
    EXPECT_TRUE(QString::fromUtf8(info.out).contains(
        QRegularExpression("Page size: +595[.0-9]* x 841[.0-9]* pts \\(A4\\)")))
        << info.out.toStdString();

    // The first and last row of each page, as the document has them.
    const auto firstAndLast = [&](int page) {
        QStringList values;
        const TStranaPrvku* elements = doc.Page(page);
        for (int i = 0; i < elements->Count(); ++i)
            if (elements->Prvek(i)->Text().startsWith("row")) values << elements->Prvek(i)->Text();
        return values;
    };
    for (int page = 0; page < 3; ++page) {
        const ToolResult text = runTool("pdftotext", {"-f", QString::number(page + 1), "-l",
                                                      QString::number(page + 1), pdf, "-"});
        ASSERT_EQ(text.exitCode, 0);
        const QStringList words =
            QString::fromUtf8(text.out).split(QRegularExpression("\\s+"), Qt::SkipEmptyParts);
        const QStringList expected = firstAndLast(page);
        ASSERT_FALSE(expected.isEmpty());
        QStringList found = words.filter(QRegularExpression("^row\\d+$"));
        found.sort();
        QStringList wanted = expected;
        wanted.sort();
        EXPECT_EQ(found, wanted) << "page " << page + 1;
        EXPECT_EQ(words.contains(QStringLiteral("Přehled")), page == 0);
    }
}

} // namespace
