// The text, HTML and RTF writers: their literal forms, escaping, code pages, cancelling, and
// files that are written completely or not at all.

#include "support/ExportFixture.h"
#include "support/QtPrinters.h"

#include "report/engine/document/RunProgress.h"
#include "report/engine/export/sest_str.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QMap>
#include <QPainter>
#include <QRegularExpression>

#include "platform/PainterCanvas.h"

#include <gtest/gtest.h>

using namespace report;
using namespace reporttest;

namespace {

QString html(ExportDocument& d, int page = 0, const QString& folder = {},
             const QString& name = QStringLiteral("page.html")) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(
        SaveToHTML(d.doc, buffer, folder.isEmpty() ? QDir::tempPath() : folder, page, name));
    return QString::fromUtf8(buffer.data());
}

QByteArray rtf(ExportDocument& d, bool* result = nullptr) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    const bool ok = SaveToRTF(d.doc, buffer);
    if (result) *result = ok;
    return buffer.data();
}

TEST(ExportText, RowsInTheCodePageOfTheExportLanguage) {
    ExportDocument d;
    d.text(0, 0, 0, 300, 17, QStringLiteral("Žluťoučký kůň"));
    d.text(1, 100, 17, 300, 17, QStringLiteral("page two"));
    for (auto [language, codec] : {std::pair{slCP852, "CP852"}, std::pair{slCP1250, "CP1250"}}) {
        d.doc.SetPageRange(1, 2, language, 1);
        QTemporaryDir dir;
        const QString path = dir.filePath("out.txt");
        ASSERT_TRUE(SaveToTextFile(d.doc, path));
        const ToolResult iconv = runTool("iconv", {"-f", codec, "-t", "UTF-8", path});
        ASSERT_EQ(iconv.exitCode, 0) << iconv.err.toStdString();
        QStringList rows = QString::fromUtf8(iconv.out).split("\r\n");
        for (QString& row : rows)
            while (row.endsWith(' '))
                row.chop(1);
        // 12 cpi for 10 points, 6 lines per inch: the second text is row 1, column 12 of the
        // second page.
        EXPECT_EQ(rows.value(0), QStringLiteral("Žluťoučký kůň"));
        const int second = int(rows.indexOf(QStringLiteral("            page two")));
        EXPECT_EQ(second, 1 + d.doc.PrintableHeight() * 6 / 100)
            << codec << rows.join('|').toStdString();
        EXPECT_FALSE(QString::fromUtf8(iconv.out).contains(QRegularExpression("[^\r]\n")));
    }
}

TEST(ExportText, CopiesRepeatAndCancelLeavesTheOldFile) {
    ExportDocument d;
    d.text(0, 0, 0, 300, 17, QStringLiteral("one"));
    d.text(0, 0, 17, 300, 17, QStringLiteral("two"));
    QBuffer once, twice;
    once.open(QIODevice::WriteOnly);
    twice.open(QIODevice::WriteOnly);
    ASSERT_TRUE(SaveToText(d.doc, once, 1, 1, 99));
    ASSERT_TRUE(SaveToText(d.doc, twice, 0, 2, 1));
    EXPECT_EQ(twice.data(), once.data() + once.data());

    QTemporaryDir dir;
    const QString path = dir.filePath("kept.txt");
    ASSERT_TRUE(writeFile(path, "previous"));
    const bool cancel = true;
    d.doc.SetCancelSource(&cancel);
    EXPECT_FALSE(SaveToTextFile(d.doc, path));
    d.doc.SetCancelSource(nullptr);
    EXPECT_EQ(readFile(path), "previous");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"kept.txt"});

    ExportDocument empty;
    QBuffer nothing;
    nothing.open(QIODevice::WriteOnly);
    EXPECT_TRUE(SaveToText(empty.doc, nothing, 1, 1, 9999));
    EXPECT_TRUE(nothing.data().isEmpty());
}

TEST(ExportHtml, PerKindForms) {
    ExportDocument d;
    TVoranReportElement* red = d.element(1, 10, 20, 200, 30, "R");
    red->Font.color = 0x0000FF;
    red->Font.size = 16;
    red->Spacing = 20;
    red->Font.bold = true;
    red->Font.italic = true;
    red->Alignment = 1;
    d.add(0, red);
    d.brokenText(0, 0, 100, 400, QStringLiteral("x\n a  b"));
    d.shape(0, 7, 5, 6, 7, 8, 0, soTop | soLeft)->Source()->PenStyle = 2;
    d.shape(0, 8, 1, 2, 3, 4, 0)->Source()->BrushColor = 0x00FF00;
    d.text(0, 0, 0, 50, 10, QString());
    const QString h = html(d);
    const QStringList all = h.split('\n').filter("<DIV");
    ASSERT_EQ(all.size(), 6) << h.toStdString();
    // Each stacks in drawing order (z-index): graphics first, then texts.
    const QStringList divs{all.filter("#ff0000").value(0), all.filter(">x").value(0),
                           all.filter(";b<").value(0),     all.filter("dotted").value(0),
                           all.filter("#00ff00").value(0), all.filter("width: 50px").value(0)};
    EXPECT_EQ(divs[0],
              "<DIV STYLE=\"position: absolute; top: 20px; left: 10px; width: 200px; "
              "height: 30px; z-index: 5; letter-spacing: 9px; font: 16pt Arial; color: #ff0000\">"
              "<p align=\"right\" style=\"margin:0\"><b><i>R</i></b></DIV>");
    EXPECT_TRUE(divs[1].contains(">x&nbsp;</DIV>")) << divs[1].toStdString();
    EXPECT_TRUE(divs[2].contains(">&nbsp;a &nbsp;b</DIV>")) << divs[2].toStdString();
    EXPECT_TRUE(
        divs[2].contains(QRegularExpression("top: 1[0-9][0-9]px; left: 0px; width: 400px")));
    EXPECT_EQ(divs[3], "<DIV STYLE=\"font: 0pt; position: absolute; top: 6px; left: 5px; "
                       "width: 7px; height: 8px; z-index: 2; border-top: 0px dotted #000000; "
                       "border-Left: 0px dotted #000000;\"></DIV>");
    // A frame of pen width 0: its background, no borders.
    EXPECT_EQ(divs[4], "<DIV STYLE=\"font: 0pt; background-color: #00ff00; position: absolute; "
                       "top: 2px; left: 1px; width: 3px; height: 4px; z-index: 1;\"></DIV>");
    EXPECT_TRUE(divs[5].endsWith("color: #000000\"></DIV>"));
    EXPECT_TRUE(h.startsWith("<HTML> <HEAD> <TITLE> </TITLE>\n"
                             "<META NAME=\"Creator\" CONTENT=\"VoranReportGenerator\">\n"));
    EXPECT_TRUE(h.endsWith("</PRE></BODY> </HTML>\n"));

    QBuffer none;
    none.open(QIODevice::WriteOnly);
    EXPECT_FALSE(SaveToHTML(d.doc, none, QDir::tempPath(), 1, "x.html"));
    EXPECT_TRUE(none.data().isEmpty());
}

TEST(ExportHtml, LibxmlReadsEscapedCzechTextAndEveryBox) {
    ExportDocument d;
    d.text(0, 10, 20, 300, 30, QStringLiteral("Čeřovský <b> & \"x\""));
    d.shape(0, 9, 40, 50, 60, 70, 2);
    d.picture(0, 100, 200, 40, 30, QImage(8, 8, QImage::Format_RGB32));
    QTemporaryDir dir;
    const QString path = dir.filePath("Page.html");
    ASSERT_TRUE(SaveToHTMLFile(d.doc, path, 0));
    const auto xpath = [&](const QString& expression) {
        const ToolResult r = runTool("xmllint", {"--html", "--xpath", expression, path});
        EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
        return QString::fromUtf8(r.out).trimmed();
    };
    EXPECT_EQ(xpath("count(//div)"), "3");
    EXPECT_EQ(xpath("string(//div[contains(., 'x')])"), QStringLiteral("Čeřovský <b> & \"x\""));
    EXPECT_EQ(xpath("string(//div/img/@src)"), "Page1.bmp");
    EXPECT_EQ(xpath("string(//div[contains(@style, 'top: 20px')]/@style)"),
              "position: absolute; top: 20px; left: 10px; width: 300px; height: 30px; "
              "z-index: 3; font: 10pt Arial; color: #000000");
    QImageReader bmp(dir.filePath("Page1.bmp"), "BMP");
    EXPECT_EQ(bmp.size(), QSize(40, 30));
}

TEST(ExportHtml, AllPagesPictureNamesAreDistinctAndReadable) {
    ExportDocument d;
    for (int page = 0; page < 12; ++page) {
        for (int i = 0; i < 10; ++i)
            d.text(page, 0, i * 20, 100, 20, QStringLiteral("p%1 e%2").arg(page).arg(i));
        d.picture(page, 0, 300, 30 + page, 20, QImage(4, 4, QImage::Format_RGB32));
        d.barcode(page, 0, 400, 150, 60, QStringLiteral("12345"));
    }
    QTemporaryDir dir;
    const QString base = dir.filePath("Out.html");
    ASSERT_TRUE(SaveAllPagesHTML(d.doc, base));
    QStringList sources;
    for (int k = 1; k <= 12; ++k) {
        const QString page = QString::fromUtf8(readFile(PageFileName(base, k, ".html")));
        QRegularExpressionMatchIterator it =
            QRegularExpression("<IMG SRC=\"([^\"]+)\"").globalMatch(page);
        QList<QSize> sizes;
        while (it.hasNext()) {
            const QString src = it.next().captured(1);
            sources << src;
            sizes << QImageReader(dir.filePath(src), "BMP").size();
        }
        EXPECT_TRUE(sizes.contains(QSize(30 + k - 1, 20))) << k;
        EXPECT_TRUE(sizes.contains(QSize(150, 60))) << k;
    }
    EXPECT_EQ(sources.size(), 24);
    EXPECT_EQ(QSet<QString>(sources.begin(), sources.end()).size(), 24);
}

// DIVs in reading order, each stacked as drawn, under the report's title (from the run).
TEST(ExportHtml, DivsInReadingOrderStackedAsDrawnUnderTheReportsTitle) {
    ExportDocument d;
    QStringList reading;
    // from the top left, as a run adds them (drawn the other way round), each a frame and its text
    for (int cell = 0; cell < 9; ++cell) {
        d.shape(0, 8, cell % 3 * 100, cell / 3 * 30, 100, 30);
        d.text(0, cell % 3 * 100 + 5, cell / 3 * 30 + 5, 90, 20, QString::number(cell));
        reading << QString::number(cell);
    }
    d.report.SetPredloha(TPredloha({"I,0,\"Měření <1>\"", sectionLine(2, true, 20)}));
    ASSERT_EQ(d.report.Generate(true), 0);
    d.doc.SetTitle(d.report.Vystup().Title());
    const QString h = html(d);
    EXPECT_TRUE(h.startsWith("<HTML> <HEAD> <TITLE>Měření &lt;1&gt;</TITLE>\n"));
    QStringList texts;
    for (const QRegularExpressionMatch& m : QRegularExpression(">(\\d)</DIV>").globalMatch(h))
        texts << m.captured(1);
    EXPECT_EQ(texts, reading);
    for (int i = 0; i < d.doc.Page(0)->Count(); ++i) {
        const TVystPrvek& e = *d.doc.Page(0)->Prvek(i);
        const QString box = "top: %1px; left: %2px; width: %3px; height: %4px; z-index: %5;";
        EXPECT_TRUE(h.contains(box.arg(e.Top).arg(e.Left).arg(e.Width).arg(e.Height).arg(i + 1)));
    }
}

// A per-page export cancelled at page 3, or whose page 3 meets a folder of its name once pages
// 1 to 13 are written, leaves the earlier files byte for byte, and none of its own.
TEST(ExportSet, AFailedOrCancelledExportLeavesTheEarlierSetByteForByte) {
    struct User final : RunProgress {
        void ShowItem(int n) override { stop = onPage(n); }
        void ShowSending() override {}
        const bool* cancelFlag() const override { return &stop; }
        std::function<bool(int)> onPage;
        bool stop = false;
    } user;
    for (int run = 0; run < 6; ++run) {
        const QString ext = QStringList{".html", ".emf", ".wmf"}[run % 3], third = "r3" + ext;
        SCOPED_TRACE(run);
        QTemporaryDir dir;
        QDir folder(dir.path());
        ExportDocument earlier, later;
        for (int page = 0; page < 14; ++page) {
            earlier.picture(page, 0, 40, 30, 20, QImage(6, 4, QImage::Format_RGB32));
            later.text(page, 0, 0, 300, 20, QStringLiteral("later %1").arg(page));
        }
        const auto all = [&](TSestVystup& doc) {
            const QString name = folder.filePath("r" + ext);
            return ext == ".html" ? SaveAllPagesHTML(doc, name)
                                  : SaveAllPagesMetafile(doc, name, ext, false, ext == ".emf");
        };
        ASSERT_TRUE(all(earlier.doc));
        QMap<QString, QByteArray> before;
        for (const QString& name : folder.entryList(QDir::Files | QDir::Hidden))
            before[name] = readFile(folder.filePath(name));
        user.onPage = [&, cancel = run >= 3](int page) {
            if (!cancel && page == 14)
                before.remove(third), folder.remove(third), folder.mkdir(third);
            return cancel && page >= 3;
        };
        later.doc.SetProgress(&user);
        EXPECT_FALSE(all(later.doc));
        for (const QString& name : folder.entryList(QDir::Files | QDir::Hidden))
            EXPECT_EQ(readFile(folder.filePath(name)), before.take(name)) << name.toStdString();
        EXPECT_TRUE(before.isEmpty());
    }
}

TEST(ExportHtml, PictureThatCannotBeWrittenFailsTheExport) {
    ExportDocument d;
    d.picture(0, 0, 0, 10, 10, QImage(4, 4, QImage::Format_RGB32));
    QTemporaryDir dir;
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    EXPECT_FALSE(SaveToHTML(d.doc, buffer, dir.filePath("missing"), 0, "a.html"));
    // A file standing where the folder should be.
    ASSERT_TRUE(writeFile(dir.filePath("blocked"), {}));
    EXPECT_FALSE(SaveToHTMLFile(d.doc, dir.filePath("blocked/a.html"), 0));
    EXPECT_FALSE(SaveAllPagesHTML(d.doc, dir.filePath("blocked/a.html")));
}

TEST(ExportRtf, LiteralFormAndSortedTables) {
    ExportDocument d;
    TVoranReportElement* times = d.element(1, 0, 0, 200, 100, "T");
    times->Font.name = "Times New Roman";
    d.add(0, times);
    d.text(0, 10, 10, 200, 100, QStringLiteral("Č {a}\\b Ω"));
    d.shape(0, 8, 0, 0, 50, 50, 0);
    for (int page = 1; page < 5; ++page)
        d.text(page, 0, 0, 10, 10, "x");
    d.doc.SetPageLayout({827, 1169, 50, 70, 60, 80}); // left, top, right, bottom
    const QByteArray r = rtf(d);
    EXPECT_TRUE(r.startsWith("{\\rtf1\\ansi\\ansicpg1250\\deff0\\deftab720{\\fonttbl"
                             "\\f0\\fnil Arial;\\f1\\fnil Times New Roman;}"))
        << r.toStdString();
    EXPECT_TRUE(r.contains("\\paperw11908\\paperh16833\\margl720\\margr864\\margt1008\\margb1152"
                           "\\headery0\\footery0\r\n"));
    EXPECT_TRUE(r.contains("\\pvpg\\phpg\\absw2880\\absh-1440\\posy1008\\posx720\\f1"));
    EXPECT_TRUE(r.contains("\\f0\\cf0\\fs20 \\ql \\'c8 \\{a\\}\\\\b \\u937? "));
    // A frame with pen width 0: no borders.
    EXPECT_FALSE(r.contains("\\brdr"));
    EXPECT_EQ(r.count("\\par\\pard\\page}"), 4);
    EXPECT_EQ(r.count("\\par}"), 1);
    EXPECT_TRUE(r.endsWith("\\par}}"));

    // Cancelled after the first element: the page stays open, only the final brace follows.
    const bool cancel = true;
    d.doc.SetCancelSource(&cancel);
    bool ok = true;
    const QByteArray cut = rtf(d, &ok);
    EXPECT_FALSE(ok);
    EXPECT_EQ(cut.count("\\pvpg"), 1);
    EXPECT_TRUE(cut.endsWith("\\cbpat0}")) << cut.right(40).toStdString();

    // A failed or cancelled file export leaves nothing behind.
    QTemporaryDir dir;
    EXPECT_FALSE(SaveToRTFFile(d.doc, dir.filePath("c.rtf")));
    EXPECT_FALSE(QFile::exists(dir.filePath("c.rtf")));
    d.doc.SetCancelSource(nullptr);
    EXPECT_FALSE(SaveToRTFFile(d.doc, dir.filePath("no/such/dir/c.rtf")));
}

// The page setup's output offsets move every frame, broken lines' frames included.
TEST(ExportRtf, OutputOffsetsMoveEveryFrame) {
    PageSetupGuard setup;
    ExportDocument d;
    d.text(0, 10, 10, 200, 100, "a");
    d.shape(1, 7, 100, 100, 100, 0, 2, soTop);
    d.brokenText(1, 0, 300, 500, QStringLiteral("first\nsecond"));
    d.doc.SetPageLayout({827, 1169, 50, 70, 60, 80});
    const auto positions = [&] {
        QList<QPoint> at;
        const QString r = QString::fromLatin1(rtf(d));
        QRegularExpressionMatchIterator it =
            QRegularExpression(QStringLiteral("\\\\posy(-?\\d+)\\\\posx(-?\\d+)")).globalMatch(r);
        while (it.hasNext()) {
            const QRegularExpressionMatch m = it.next();
            at << QPoint(m.captured(2).toInt(), m.captured(1).toInt());
        }
        return at;
    };
    const QList<QPoint> plain = positions();
    PageSetup().outputOffsetX = 40;
    PageSetup().outputOffsetY = -25;
    const QList<QPoint> moved = positions();
    ASSERT_EQ(plain.size(), 4);
    ASSERT_EQ(moved.size(), plain.size());
    for (qsizetype i = 0; i < plain.size(); ++i)
        EXPECT_EQ(moved[i] - plain[i], QPoint(576, -360)) << i; // in twips
}

TEST(ExportRtf, LinesAndBrokenTexts) {
    ExportDocument d;
    TVystPrvek* line = d.shape(0, 7, 100, 100, 100, 0, 2, soTop | soRight);
    line->Source()->PenStyle = 1;
    line->Source()->PenColor = 0x0000FF;
    d.brokenText(0, 0, 0, 500, QStringLiteral("first\n a  b"));
    const QByteArray r = rtf(d);
    // Colours sorted as text: black before red.
    EXPECT_TRUE(r.contains("{\\colortbl\\red0\\green0\\blue0;\\red255\\green0\\blue0;}"))
        << r.toStdString();
    EXPECT_TRUE(r.contains("\\par\\pard\\brdrt\\brdrs\\brdrdash\\brdrw24\\brdrcf1 "
                           "\\brdrr\\brdrs\\brdrdash\\brdrw24\\brdrcf1 \\pvpg"));
    EXPECT_TRUE(r.contains(" \\ql first  "));
    EXPECT_TRUE(r.contains(" \\ql  a  b "));
    EXPECT_EQ(r.count("\r\n\\par\\pard\\pvpg\\phpg\\absw7200\\absh-"), 2);
}

TEST(ExportNames, PerPageNamesKeepCaseAndFolderDots) {
    EXPECT_EQ(PageFileName("a.html", 3, ".html"), "a3.html");
    EXPECT_EQ(PageFileName("/x.y/Report", 2, ".wmf"), "/x.y/Report2.wmf");
    EXPECT_EQ(PageFileName("/Home/Ana/Out.WMF", 12, ".WMF"), "/Home/Ana/Out12.WMF");
    EXPECT_EQ(PageFileName("a3_.html", 7, ".bmp"), "a3_7.bmp");
}

} // namespace

namespace {

TEST(ExportBadInput, ManyElementsLongTextsAndHugePictures) {
    ExportDocument d;
    TVoranReportElement* row = d.element(1, 0, 0, 300, 10);
    for (int i = 0; i < 10000; ++i)
        d.add(0, row, QStringLiteral("r%1 <&>{}\\\t\x01").arg(i));
    QString longText(100000, QChar(u'ž'));
    d.text(1, -20, -30, 700, 40, longText);
    QTemporaryDir dir;
    ASSERT_TRUE(SaveToRTFFile(d.doc, dir.filePath("many.rtf")));
    ASSERT_TRUE(SaveToHTMLFile(d.doc, dir.filePath("many.html"), 0));
    ASSERT_TRUE(SaveToHTMLFile(d.doc, dir.filePath("long.html"), 1));
    ASSERT_TRUE(SaveToTextFile(d.doc, dir.filePath("many.txt")));
    ASSERT_TRUE(SavePageMetafileFile(d.doc, dir.filePath("many.emf"), 0, false, true));
    ASSERT_TRUE(SavePageMetafileFile(d.doc, dir.filePath("long.wmf"), 1, false, false));
    const QByteArray r = readFile(dir.filePath("many.rtf"));
    EXPECT_EQ(r.count("\\pvpg"), 10001);
    // Negative positions are written as they are.
    EXPECT_TRUE(r.contains("\\posy-432\\posx-288"));
    const ToolResult lint = runTool("xmllint", {"--html", "--noout", dir.filePath("many.html")});
    EXPECT_EQ(lint.exitCode, 0) << lint.err.left(300).toStdString();
    const ToolResult count =
        runTool("xmllint", {"--html", "--xpath", "count(//div)", dir.filePath("many.html")});
    EXPECT_EQ(count.out.trimmed(), "10000");

    // A picture too large to render fails the export; nothing is left behind.
    ExportDocument huge;
    huge.picture(0, 0, 0, 200000, 200000, QImage(4, 4, QImage::Format_RGB32));
    EXPECT_FALSE(SaveToHTMLFile(huge.doc, dir.filePath("huge.html"), 0));
    EXPECT_FALSE(QFile::exists(dir.filePath("huge.html")));
    EXPECT_FALSE(QFile::exists(dir.filePath("huge1.bmp")));
}

} // namespace

// HTML and RTF draw an outline exactly where the page does. The page view, replayed into an
// image, is the oracle: for every pen style, a frame and a line with all sides either show
// dark pixels on their edge there, or they do not, and the exports write borders alike (the
// clear style hides lines, never a frame's outline).
TEST(ExportOutlines, HtmlAndRtfWriteBordersWhereThePageDrawsThem) {
    for (int kind : {7, 8}) {
        for (int style = 0; style <= 6; ++style) {
            ExportDocument d;
            TVystPrvek* e =
                d.shape(0, kind, 20, 20, 60, 40, 3, soLeft | soTop | soRight | soBottom);
            e->Source()->PenStyle = style;
            e->Source()->BrushStyle = 1; // clear: only the outline can darken the page
            d.doc.ShowPage(0);
            const QSize size(d.doc.PrintableWidth(), d.doc.PrintableHeight());
            QImage page(size, QImage::Format_RGB32);
            page.fill(Qt::white);
            {
                QPainter painter(&page);
                platform::PainterCanvas canvas(painter);
                d.doc.PageView().Play(canvas, {0, 0, size.width(), size.height()});
            }
            int dark = 0;
            for (int y = 19; y <= 61; ++y)
                dark += qGray(page.pixel(21, y)) < 128;
            const bool drawn = dark > 0;
            const QString what = QStringLiteral("kind %1 style %2").arg(kind).arg(style);
            EXPECT_EQ(html(d).contains("border"), drawn) << what.toStdString();
            EXPECT_EQ(rtf(d).contains("\\brdr"), drawn) << what.toStdString();
        }
    }
}

// Side lines of a text broken into lines (an empty box of their own over the lines) and of an
// item showing a picture: the file parses as HTML, and each box carries a border on exactly
// the sides set, over the element's whole rectangle.
TEST(ExportHtml, SideLinesOfBrokenTextsAndItemPicturesOnExactlyTheSidesSet) {
    const std::pair<int, QString> sideNames[] = {
        {soLeft, "left"}, {soTop, "top"}, {soRight, "right"}, {soBottom, "bottom"}};
    QTemporaryDir dir;
    const QString path = dir.filePath("frames.html");
    for (int sides = 0; sides <= (soLeft | soTop | soRight | soBottom); ++sides) {
        SCOPED_TRACE(sides);
        ExportDocument d;
        TVystPrvek* text = d.brokenText(0, 20, 40, 90, QStringLiteral("jedna dva tri ctyri pet"));
        ASSERT_GE(text->Lines()->Count(), 2);
        text->Source()->Options = sides;
        text->Height = 100;
        TVoranReportElement* item = d.element(ekItem, 300, 50, 40, 30);
        item->Options = sides | soPictureStretch;
        item->PenWidth = 2;
        TPicture picture;
        picture.setBitmap(QImage(8, 8, QImage::Format_RGB32));
        d.add(0, item)->SetPicture(&picture);
        ASSERT_TRUE(SaveToHTMLFile(d.doc, path, 0));
        const ToolResult lint = runTool("xmllint", {"--html", "--noout", path});
        ASSERT_EQ(lint.exitCode, 0) << lint.err.toStdString();
        const auto style = [&](const QString& div) {
            const ToolResult r =
                runTool("xmllint", {"--html", "--xpath", "string(" + div + "/@style)", path});
            EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
            return QString::fromUtf8(r.out);
        };
        const auto borders = [](const QString& css) {
            QStringList found;
            QRegularExpression border("border-(\\w+):", QRegularExpression::CaseInsensitiveOption);
            for (const QRegularExpressionMatch& m : border.globalMatch(css))
                found << m.captured(1).toLower();
            found.sort();
            return found;
        };
        QStringList expected;
        for (const auto& [side, name] : sideNames)
            if (sides & side) expected << name;
        expected.sort();
        // The text's box: the one DIV with nothing in it, there only when a side is set.
        const QString box = style("//div[not(node())]");
        EXPECT_EQ(borders(box), expected) << box.toStdString();
        if (sides) {
            EXPECT_TRUE(box.contains("top: 40px; left: 20px; width: 90px; height: 100px;"))
                << box.toStdString();
        }
        const QString shown = style("//div[img]");
        EXPECT_EQ(borders(shown), expected) << shown.toStdString();
        EXPECT_TRUE(shown.contains("top: 50px; left: 300px; width: 40px; height: 30px;"));
        for (const QString& b : shown.split(u';').filter("border"))
            EXPECT_TRUE(b.contains(": 2px ")) << b.toStdString();
    }
}
