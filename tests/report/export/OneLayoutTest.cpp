// One report through every output: the page view (what the screen replays), the graphic
// print, TXT, HTML, RTF, EMF and WMF, each read back by an independent reader where there is
// one (pdftotext, xmllint, LibreOffice, wmf2svg). Every output must show the lines the run laid
// out: a growing text split over two pages, a multiline item with character spacing and an
// overlong multiline text, all in a text printer's fixed pitch, so that the expected lines
// follow from counting characters alone.

#include "support/ExportFixture.h"
#include "support/QtPrinters.h"

#include "report/engine/document/sest_zn.h"
#include "report/engine/document/sestvyst_print.h"
#include "report/engine/export/sest_str.h"

#include <QFile>
#include <QRegularExpression>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <map>

using namespace report;
using namespace reporttest;

namespace {

// Lines of one page, top to bottom, each its words left to right.
using PageLines = QList<QStringList>;

// Words placed on a page: where their line runs (y) and where they start (x).
struct PlacedWord {
    double y;
    double x;
    QString word;
};

// Words whose y differ by less than `tolerance` share a line.
PageLines linesOf(QList<PlacedWord> words, double tolerance) {
    std::stable_sort(words.begin(), words.end(),
                     [](const PlacedWord& a, const PlacedWord& b) { return a.y < b.y; });
    QList<QList<PlacedWord>> rows;
    for (const PlacedWord& w : words) {
        if (rows.isEmpty() || w.y - rows.back().front().y >= tolerance)
            rows.append(QList<PlacedWord>());
        rows.back().append(w);
    }
    PageLines lines;
    for (QList<PlacedWord>& row : rows) {
        std::stable_sort(row.begin(), row.end(),
                         [](const PlacedWord& a, const PlacedWord& b) { return a.x < b.x; });
        QStringList line;
        for (const PlacedWord& w : row)
            line << w.word;
        lines.append(line);
    }
    return lines;
}

QStringList wordsOf(const QString& text) {
    return text.split(QRegularExpression(QStringLiteral("[\\s\\x{a0}]+")), Qt::SkipEmptyParts);
}

// Text a fixed pitch lays out: words wrapped greedily at `columns` characters.
QList<QStringList> wrapped(const QStringList& words, int columns) {
    QList<QStringList> lines;
    int length = 0;
    for (const QString& w : words) {
        if (lines.isEmpty() || length + 1 + w.size() > columns) {
            lines.append({w});
            length = int(w.size());
        } else {
            lines.back() << w;
            length += 1 + int(w.size());
        }
    }
    return lines;
}

// ---- the outputs, read back

// The page view's text records, as the screen and the print replay them.
PageLines screenLines(TSestVystup& doc, int page) {
    doc.ShowPage(page);
    QList<PlacedWord> words;
    for (const platform::MetaRecord& record : doc.PageView().records()) {
        const auto* text = std::get_if<platform::meta::Text>(&record);
        if (!text) continue;
        int x = text->origin.x();
        QString word;
        for (int i = 0; i <= text->text.size(); ++i) {
            const bool blank = i == text->text.size() || text->text[i].isSpace();
            if (!blank && word.isEmpty()) words.append({double(text->origin.y()), double(x), {}});
            if (!blank) word += text->text[i];
            if (blank && !word.isEmpty()) {
                words.back().word = word;
                word.clear();
            }
            if (i < text->advances.size()) x += text->advances[i];
        }
    }
    return linesOf(words, 6);
}

// Every page of a PDF through `pdftotext -bbox`.
QList<PageLines> pdfLines(const QString& pdf) {
    const ToolResult r = runTool(QStringLiteral("pdftotext"), {"-bbox", pdf, "-"});
    EXPECT_EQ(r.exitCode, 0) << pdf.toStdString() << r.err.toStdString();
    QList<PageLines> pages;
    const QString html = QString::fromUtf8(r.out);
    for (const QString& page : html.split(QStringLiteral("<page "), Qt::SkipEmptyParts).mid(1)) {
        QList<PlacedWord> words;
        QRegularExpressionMatchIterator it =
            QRegularExpression(
                QStringLiteral("<word xMin=\"([-\\d.]+)\" yMin=\"[-\\d.]+\" "
                               "xMax=\"[-\\d.]+\" yMax=\"([-\\d.]+)\">([^<]*)</word>"))
                .globalMatch(page);
        while (it.hasNext()) {
            const QRegularExpressionMatch m = it.next();
            words.append({m.captured(2).toDouble(), m.captured(1).toDouble(), m.captured(3)});
        }
        pages.append(linesOf(words, 2));
    }
    return pages;
}

// The character page's rows, page after page.
QList<PageLines> textFileLines(const QString& file, const TSestVystup& doc) {
    QFile f(file);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    const QStringList rows = QString::fromUtf8(f.readAll()).split(QStringLiteral("\r\n"));
    TZnakovePole grid;
    grid.SetPageSize(doc.PrintableHeight(), doc.LineCode());
    QList<PageLines> pages;
    for (int i = 0; i + grid.RowCount() <= rows.size(); i += grid.RowCount()) {
        PageLines lines;
        for (int k = 0; k < grid.RowCount(); ++k)
            if (!wordsOf(rows[i + k]).isEmpty()) lines.append(wordsOf(rows[i + k]));
        pages.append(lines);
    }
    return pages;
}

// One HTML page as xmllint parses it: each DIV's text at its top and left.
PageLines htmlLines(const QString& file) {
    const ToolResult r = runTool(QStringLiteral("xmllint"), {"--html", "--xmlout", file});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    QXmlStreamReader xml(r.out);
    QList<PlacedWord> words;
    const QRegularExpression at(QStringLiteral("top: (-?\\d+)px; left: (-?\\d+)px"));
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement || xml.name() != u"div") continue;
        const QRegularExpressionMatch m =
            at.match(xml.attributes().value(QStringLiteral("style")).toString());
        const QString text = xml.readElementText(QXmlStreamReader::IncludeChildElements);
        double x = m.captured(2).toDouble();
        for (const QString& w : wordsOf(text))
            words.append({m.captured(1).toDouble(), x++, w});
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    return linesOf(words, 1);
}

// One WMF page through wmf2svg, which places every character on its own: the characters of a
// line in x order, blanks lost, as one word.
PageLines wmfLines(const QString& file, const QString& svg) {
    const ToolResult r = runTool(QStringLiteral("wmf2svg"), {"-o", svg, file});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    QFile f(svg);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    const QString text = QString::fromLatin1(f.readAll());
    QList<PlacedWord> characters;
    // Each character is placed by the translation of its transform.
    QRegularExpressionMatchIterator it =
        QRegularExpression(
            QStringLiteral("<text[^>]*matrix\\([-\\d. ]* ([-\\d.]+) ([-\\d.]+)\\)\"\\s*>"
                           "([^<]*)</text>"))
            .globalMatch(text);
    while (it.hasNext()) {
        const QRegularExpressionMatch m = it.next();
        if (!m.captured(3).trimmed().isEmpty())
            characters.append(
                {m.captured(2).toDouble(), m.captured(1).toDouble(), m.captured(3).trimmed()});
    }
    PageLines lines;
    for (const QStringList& line : linesOf(characters, 2))
        lines.append({line.join(QString())});
    return lines;
}

// Lines with the blanks taken out, for readers that see characters, not words.
PageLines joined(const PageLines& lines) {
    PageLines out;
    for (const QStringList& line : lines)
        out.append({line.join(QString())});
    return out;
}

// ---- the report

// Words of the growing text: "g1" .. "g120", of changing lengths so that lines break
// everywhere.
QStringList growingWords() {
    QStringList words;
    for (int i = 1; i <= 120; ++i)
        words << QStringLiteral("g%1%2").arg(i).arg(QString(i % 5, QLatin1Char('x')));
    return words;
}

const QStringList kSpacedWords = wordsOf(QStringLiteral(
    "alfa beta gama delta epsilon zeta eta theta iota kappa lambda my ny ksi omikron pi"));
const QStringList kOverlongWords = wordsOf(QStringLiteral(
    "Tento text je delsi nez jeho ramecek a pokracuje pod nim na dalsich radcich az do konce "
    "vety ktera se nikam nevejde"));

// An element line with character spacing `spacing` (1/100 inch per character).
QString spaced(QString line, int spacing) {
    return line.left(line.size() - 5) + QStringLiteral("%1,0,0").arg(spacing);
}

// A report header with an overlong multiline text, a one-line title and a multiline page
// count, then one record: a
// multiline item with character spacing 12 in a box of four lines and, below it, a growing
// text that starts low on page 1 and ends on page 2. Fonts are the text printer's 10 cpi.
struct EveryOutputReport : TableReport {
    EveryOutputReport()
        : TableReport({QStringLiteral("Vel1"), QStringLiteral("Vel2")},
                      {{growingWords().join(u' '), kSpacedWords.join(u' ')}}) {
        const QString roman = QStringLiteral("Roman 10cpi");
        setTemplate(
            {paperLine(827, 1169, 50), sectionLine(0, true, 700), sectionLine(2, true, 140),
             textLine("Z", 1, "0", 0, 0, 300, 40, kOverlongWords.join(u' '), toMultiline, 11,
                      roman),
             textLine("Z", 1, "0", 0, 600, 300, 20, QStringLiteral("Titulek sestavy"), 0, 11,
                      roman),
             textLine("Z", 5, "4", 0, 640, 300, 20, QStringLiteral("%d stran"), toMultiline, 11,
                      roman),
             spaced(textLine("T", 2, "Vel2", 0, 0, 300, 80, {}, toMultiline, 11, roman), 12),
             textLine("T", 2, "Vel1", 0, 100, 300, 20, {}, toMultiline | toVarHeight, 9, roman)});
    }
};

// The lines an output shows of each text, in page order: the lines whose first word is one of
// the text's words.
QList<QStringList> linesOfText(const QList<PageLines>& pages, const QStringList& words) {
    QList<QStringList> found;
    for (const PageLines& page : pages)
        for (const QStringList& line : page)
            if (!line.isEmpty() && words.contains(line.front())) found.append(line);
    return found;
}

TEST(OneLayout, EveryOutputShowsTheLinesTheRunLaidOut) {
    EveryOutputReport t;
    ASSERT_EQ(t.report.Generate(true), 0);
    TSestVystup& doc = t.report.Vystup();
    ASSERT_EQ(doc.PageCount(), 2);

    // Fixed pitch: 10 units a character, 12 with the spacing, in 300 less the one unit the
    // layout keeps free; the spaced item shows the four lines its box holds.
    const QList<QStringList> growing = wrapped(growingWords(), 29);
    const QList<QStringList> spacedLines = wrapped(kSpacedWords, 24).mid(0, 4);
    const QList<QStringList> overlong = wrapped(kOverlongWords, 29);
    ASSERT_EQ(wrapped(kSpacedWords, 24).size(), 4);

    QList<PageLines> screen;
    for (int p = 0; p < doc.PageCount(); ++p)
        screen.append(screenLines(doc, p));
    // The growing text continues on page 2, each of its words once and in order.
    ASSERT_FALSE(linesOfText({screen[1]}, growingWords()).isEmpty());
    EXPECT_EQ(linesOfText(screen, growingWords()), growing);
    EXPECT_EQ(linesOfText(screen, kSpacedWords), spacedLines);
    EXPECT_EQ(linesOfText(screen, kOverlongWords), overlong);
    EXPECT_EQ(screen[0].count({QStringLiteral("Titulek"), QStringLiteral("sestavy")}), 1);
    // A multiline page count shows the count the run filled in at the end.
    EXPECT_EQ(screen[0].count({QStringLiteral("2"), QStringLiteral("stran")}), 1);

    QTemporaryDir dir;

    const auto path = [&](const QString& name) { return dir.filePath(name); };
    std::map<QString, QList<PageLines>> outputs;
    {
        TestPrinter printer;
        ASSERT_TRUE(PrintGraphic(doc, 1, doc.PageCount(), "every", 1));
        ASSERT_EQ(printer.pdfs().size(), 1);
        outputs["print"] = pdfLines(printer.path(printer.pdfs().first()));
    }
    ASSERT_TRUE(SaveToTextFile(doc, path("report.txt")));
    outputs["txt"] = textFileLines(path("report.txt"), doc);
    ASSERT_TRUE(SaveAllPagesHTML(doc, path("report.html")));
    ASSERT_TRUE(SaveAllPagesMetafile(doc, path("report.emf"), ".emf", false, true));
    ASSERT_TRUE(SaveAllPagesMetafile(doc, path("report.wmf"), ".wmf", false, false));
    ASSERT_TRUE(SaveToRTFFile(doc, path("report.rtf")));
    for (int p = 1; p <= doc.PageCount(); ++p) {
        outputs["html"].append(htmlLines(path(QStringLiteral("report%1.html").arg(p))));
        outputs["wmf"].append(
            wmfLines(path(QStringLiteral("report%1.wmf").arg(p)), path(QString("%1.svg").arg(p))));
    }
    // LibreOffice reads the RTF and the EMF pages in one start.
    const ToolResult office =
        runTool(QStringLiteral("soffice"),
                {QStringLiteral("-env:UserInstallation=file://") + path("profile"), "--headless",
                 "--convert-to", "pdf", "--outdir", path("office"), path("report.rtf"),
                 path("report1.emf"), path("report2.emf")},
                240000);
    ASSERT_EQ(office.exitCode, 0) << office.err.toStdString();
    outputs["rtf"] = pdfLines(path("office/report.pdf"));
    for (int p = 1; p <= doc.PageCount(); ++p)
        outputs["emf"].append(pdfLines(path(QStringLiteral("office/report%1.pdf").arg(p))));

    // Readers that see characters rather than words (wmf2svg; pdftotext on letters spaced
    // wider than a blank) are compared with the blanks taken out.
    for (const auto& [name, pages] : outputs) {
        ASSERT_EQ(pages.size(), screen.size()) << name.toStdString();
        const bool characters = name == "wmf" || name == "print" || name == "emf" || name == "rtf";
        for (int p = 0; p < int(pages.size()); ++p) {
            if (characters)
                EXPECT_EQ(joined(pages[p]), joined(screen[p]))
                    << name.toStdString() << " page " << p + 1;
            else
                EXPECT_EQ(pages[p], screen[p]) << name.toStdString() << " page " << p + 1;
        }
    }
}

} // namespace
