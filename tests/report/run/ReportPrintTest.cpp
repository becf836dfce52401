// Printing generated reports: to PDF files through the graphic writer (read back by pdfinfo and
// pdftotext), raw text jobs, the no-printer message, and end to end through a CUPS scheduler
// (CUPS-PDF and a raw queue on a loopback socket) when one answers.

#include "support/ExportFixture.h"
#include "support/ProgressUser.h"

#include "Cups.h"

#include "platform/MessageSink.h"
#include "platform/PainterCanvas.h"
#include "platform/Printers.h"
#include "report/engine/document/sest_zn.h"
#include "report/engine/document/sestvyst.h"
#include "report/engine/document/sestvyst_print.h"
#include "report/engine/export/sest_str.h"

#include <QBuffer>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace report;
using namespace reporttest;
using platform::PrinterSystem;

namespace {

const QStringList kColumns{QStringLiteral("Vel1"), QStringLiteral("Vel2")};

std::vector<QStringList> twelveRows() {
    std::vector<QStringList> rows;
    for (int i = 1; i <= 12; ++i)
        rows.push_back({QStringLiteral("radek%1").arg(i), QString::number(i)});
    return rows;
}

// A template like the application's: a title, column heads, one line per record. Body rows
// are 100 high, so twelve records take two A4 pages.
QStringList applicationLikeTemplate() {
    return {"I,2,0,827,1169,60,70,50,50,1,0",
            sectionLine(0, true, 80),
            sectionLine(1, true, 40),
            sectionLine(2, true, 100),
            sectionLine(4, true, 30),
            textLine("Z", 1, "0", 120, 10, 400, 40, "Vlastnosti", 0, 16),
            textLine("H", 1, "0", 0, 0, 200, 30, "Hodnota"),
            textLine("T", 2, "Vel1", 0, 0, 200, 30),
            textLine("T", 2, "Vel2", 300, 0, 100, 30, {}, 1),
            textLine("P", 5, "3", 0, 0, 200, 20, "Strana %d")};
}

// Twelve records in the application's template, stored with the report.
struct TwelveRecords : TableReport {
    TwelveRecords() : TableReport(kColumns, twelveRows()) {
        setTemplate(applicationLikeTemplate());
        report.IsStored = true;
    }
};

// xMin, yMin of the first word `word` in `pdftotext -bbox` output; (-1, -1) when absent.
QPointF wordBox(const QString& pdf, const QString& word) {
    const QString html = QString::fromUtf8(runTool("pdftotext", {"-bbox", pdf, "-"}).out);
    const QRegularExpression re(
        QStringLiteral("<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\"[^>]*>%1</word>")
            .arg(QRegularExpression::escape(word)));
    const QRegularExpressionMatch m = re.match(html);
    return m.hasMatch() ? QPointF(m.captured(1).toDouble(), m.captured(2).toDouble())
                        : QPointF(-1, -1);
}

// Watches the progress window: what its label shows when painted with the button disabled.
class SendingWatch : public QObject {
public:
    SendingWatch() { qApp->installEventFilter(this); }
    ~SendingWatch() override { qApp->removeEventFilter(this); }
    QStringList labels;

protected:
    bool eventFilter(QObject* object, QEvent* event) override {
        auto* label = qobject_cast<QLabel*>(object);
        if (event->type() == QEvent::Paint && label && label->objectName() == u"LabelText" &&
            label->window()->objectName() == u"FormInfo") {
            const auto* button = label->window()->findChild<QWidget*>(QStringLiteral("Button1"));
            if (button && !button->isEnabled() && !labels.contains(label->text()))
                labels << label->text();
        }
        return false;
    }
};

TEST(ReportPrint, TwelveRecordsToAPdfFileWithTheProgressWindowSendingThem) {
    const ProgressWindowInstalled installed;
    TestPrinter printer;
    TwelveRecords t;
    int before = 0;
    int after = 0;
    t.report.BeforePrint = [&](QObject*) { ++before; };
    t.report.AfterPrint = [&](QObject*) { ++after; };
    const QStringList sending{QStringLiteral("Odesílám data do tiskárny ...")};
    {
        SendingWatch watch; // the run and the print share one window
        ASSERT_EQ(t.report.Print(), 0);
        EXPECT_EQ(watch.labels, sending);
    }
    EXPECT_EQ(before, 1);
    EXPECT_EQ(after, 1);
    const int pages = t.report.Vystup().PageCount();
    EXPECT_EQ(pages, 2);
    ASSERT_EQ(printer.pdfs().size(), 1);
    const QString pdf = printer.path(printer.pdfs().first());
    EXPECT_EQ(testsupport::pdfInfo(pdf, "Pages"), QString::number(pages));
    EXPECT_TRUE(testsupport::pdfInfo(pdf, "Page size").contains("A4"))
        << testsupport::pdfInfo(pdf, "Page size").toStdString();
    // The title where the template puts it: left margin 60 + left 120, in points.
    const QPointF title = wordBox(pdf, "Vlastnosti");
    EXPECT_NEAR(title.x(), (60 + 120) * 0.72, 1.0);
    EXPECT_GT(title.y(), (50 + 10) * 0.72 - 1);
    EXPECT_LT(title.y(), (50 + 50) * 0.72);
    const QPointF first = wordBox(pdf, "radek1");
    EXPECT_NEAR(first.x(), 60 * 0.72, 1.0);
    {
        SendingWatch watch; // printing the generated document alone shows its own window
        ASSERT_EQ(t.report.TSestavaTyp::PrintOn(-1, 0), 0);
        EXPECT_EQ(watch.labels, sending);
    }
    EXPECT_EQ(printer.pdfs().size(), 2);
}

TEST(ReportPrint, PageRangesAndCopies) {
    TestPrinter printer;
    TwelveRecords t;
    ASSERT_EQ(t.report.Generate(true), 0);
    TSestVystup& doc = t.report.Vystup();
    // An empty range starts no job.
    EXPECT_TRUE(PrintGraphic(doc, 2, 1, "prazdny", 1));
    EXPECT_TRUE(printer.pdfs().isEmpty());
    // Page 2 alone, then a range clamped to the document.
    EXPECT_TRUE(PrintGraphic(doc, 2, 2, "druha", 1));
    EXPECT_TRUE(PrintGraphic(doc, -3, 99, "vse", 1));
    ASSERT_EQ(printer.pdfs().size(), 2);
    EXPECT_EQ(testsupport::pdfInfo(printer.path("job-1.pdf"), "Pages"), "1");
    EXPECT_EQ(testsupport::pdfInfo(printer.path("job-2.pdf"), "Pages"), "2");
    // A cancel before printing aborts the job: no file, reported as not printed.
    bool cancel = true;
    doc.SetCancelSource(&cancel);
    EXPECT_FALSE(PrintGraphic(doc, 1, 2, "zrusen", 1));
    doc.SetCancelSource(nullptr);
    EXPECT_EQ(printer.pdfs().size(), 2);
}

TEST(ReportPrint, TextJobsAreCharacterPageRowsWithFormFeeds) {
    TestPrinter printer;
    TwelveRecords t;
    ASSERT_EQ(t.report.Generate(true), 0);
    TSestVystup& doc = t.report.Vystup();
    doc.SetPageRange(1, 9999, slCP852, 2);
    ASSERT_TRUE(PrintText(doc, 1, 2, "text", 2));
    const QList<QByteArray>& jobs = PrinterSystem::instance().capturedRawJobs();
    ASSERT_EQ(jobs.size(), 2);
    EXPECT_EQ(jobs[0], jobs[1]);

    // The same pages through the character page at the printer's offsets.
    PrinterSystem& system = PrinterSystem::instance();
    const int ox = 60 - system.printingOffset().x() * 100 / system.resolutionX();
    const int oy = 50 - system.printingOffset().y() * 100 / system.resolutionY();
    QByteArray expected;
    TZnakovePole page;
    page.SetPageSize(system.printableSize().height() * 100 / system.resolutionY(), 0);
    for (int p = 0; p < 2; ++p) {
        page.ClearPage();
        for (int i = 0; i < doc.Page(p)->Count(); ++i)
            TSestVystup::ToText(*doc.Page(p)->Prvek(i), page, ox, oy);
        expected += page.PageBytes(slCP852) + '\f';
    }
    EXPECT_EQ(jobs[0], expected);
    EXPECT_EQ(jobs[0].count('\f'), 2);
    EXPECT_TRUE(jobs[0].contains("radek12"));
    EXPECT_EQ(jobs[0].count("\r\n"), 2 * page.RowCount());
}

// A text-only printer gets every row the text export has, in order, the page footer at the
// foot of the page included: the rows stand at the printer's offsets, below the report's top
// margin, so the page the job describes is the printer's printable area, not the report's.
TEST(ReportPrint, TextJobsHoldEveryRowOfTheTextExport) {
    TestPrinter printer;
    TwelveRecords t;
    ASSERT_EQ(t.report.Generate(true), 0);
    TSestVystup& doc = t.report.Vystup();
    ASSERT_EQ(doc.PageCount(), 2);
    ASSERT_TRUE(PrintText(doc, 1, 2, "vse", 1));
    const QList<QByteArray> printed =
        PrinterSystem::instance().capturedRawJobs().value(0).split('\f');
    ASSERT_EQ(printed.size(), 3); // two pages and what follows the last form feed
    const auto rows = [](const QByteArray& page) {
        QStringList text;
        for (const QByteArray& row : page.split('\n'))
            if (!row.trimmed().isEmpty()) text << QString::fromUtf8(row.trimmed());
        return text;
    };
    for (int p = 1; p <= 2; ++p) {
        QBuffer exported;
        exported.open(QIODevice::WriteOnly);
        ASSERT_TRUE(SaveToText(doc, exported, p, 1, p));
        EXPECT_EQ(rows(printed[p - 1]), rows(exported.data())) << "page " << p;
        EXPECT_TRUE(printed[p - 1].contains("Strana " + QByteArray::number(p))) << p;
    }
}

// The page setup's output offsets move everything printed: a PDF's words by the offset in
// points, a text job's rows by the offset in lines.
TEST(ReportPrint, OutputOffsetsMoveThePrintedPage) {
    TestPrinter printer;
    TwelveRecords t;
    ASSERT_EQ(t.report.Generate(true), 0);
    TSestVystup& doc = t.report.Vystup();
    ASSERT_TRUE(PrintGraphic(doc, 1, 1, "bez", 1));
    ASSERT_TRUE(PrintText(doc, 1, 2, "bez", 1));
    PageSetup().outputOffsetX = 40;
    PageSetup().outputOffsetY = 100; // one inch: six lines of the text printer
    ASSERT_TRUE(PrintGraphic(doc, 1, 1, "posun", 1));
    PageSetup().outputOffsetX = 0; // columns move by each font's own pitch
    ASSERT_TRUE(PrintText(doc, 1, 2, "posun", 1));

    for (const QString& word : {QStringLiteral("Vlastnosti"), QStringLiteral("radek1")}) {
        const QPointF plain = wordBox(printer.path("job-1.pdf"), word);
        const QPointF moved = wordBox(printer.path("job-2.pdf"), word);
        ASSERT_GE(plain.x(), 0) << word.toStdString();
        EXPECT_NEAR(moved.x() - plain.x(), 40 * 0.72, 0.1) << word.toStdString();
        EXPECT_NEAR(moved.y() - plain.y(), 100 * 0.72, 0.1) << word.toStdString();
    }
    EXPECT_NEAR(wordBox(printer.path("job-2.pdf"), "Vlastnosti").x(), (60 + 120 + 40) * 0.72, 1.0);

    // Each page's rows come six lines lower; the last six fall off the page.
    const QList<QByteArray>& jobs = PrinterSystem::instance().capturedRawJobs();
    ASSERT_EQ(jobs.size(), 2);
    const QList<QByteArray> plainPages = jobs[0].split('\f');
    const QList<QByteArray> movedPages = jobs[1].split('\f');
    ASSERT_EQ(plainPages.size(), 3); // two pages and what follows the last form feed
    ASSERT_EQ(movedPages.size(), 3);
    for (int p = 0; p < 2; ++p) {
        const QList<QByteArray> plain = plainPages[p].split('\n');
        const QList<QByteArray> moved = movedPages[p].split('\n');
        ASSERT_EQ(moved.size(), plain.size());
        ASSERT_GT(plain.size(), 6);
        for (int row = 0; row < 6; ++row)
            EXPECT_EQ(moved[row].trimmed(), QByteArray()) << row;
        for (int row = 6; row + 1 < plain.size(); ++row)
            EXPECT_EQ(moved[row], plain[row - 6]) << "page " << p + 1 << " row " << row;
    }
    EXPECT_TRUE(jobs[1].contains("radek12"));
}

// A template whose own background is to be printed gets it on a direct Print(), without the
// caller asking for backgrounds: pdfimages finds the picture in the printed PDF.
TEST(RunFaults, AnOwnPrintableBackgroundIsPrintedByPrint) {
    TestPrinter printer;
    QTemporaryDir dir;
    QImage picture(40, 30, QImage::Format_RGB32);
    picture.fill(Qt::darkBlue);
    ASSERT_TRUE(picture.save(dir.filePath("pozadi.bmp")));
    for (const bool own : {true, false}) {
        TableReport t(kColumns, twelveRows());
        t.report.setReportDir(dir.path());
        t.report.ReportDirIgnore = false;
        t.report.IsStored = true;
        QStringList lines = applicationLikeTemplate();
        lines << QStringLiteral("I,7,%1,1,0,0,0,400,300,pozadi.bmp").arg(own ? 1 : 0);
        t.setTemplate(lines);
        const int before = printer.pdfs().size();
        ASSERT_EQ(t.report.Print(), 0);
        ASSERT_EQ(printer.pdfs().size(), before + 1);
        const ToolResult images =
            runTool("pdfimages", {"-list", printer.path(printer.pdfs().last())});
        ASSERT_EQ(images.exitCode, 0) << "pdfimages (poppler-utils) is needed";
        // The listing has two heading lines, then one line per image drawn.
        const int count = int(images.out.trimmed().split('\n').size()) - 2;
        EXPECT_EQ(count > 0, own) << images.out.toStdString();
    }
}

// Without a scheduler the user is told that the print service does not run (a scheduler
// without queues says "no printer installed": PrintFailureTest).
TEST(ReportPrint, WithoutPrintersTheUserIsWarned) {
    PrinterSystem::instance().removeTestPrinter();
    testsupport::ScopedCupsServer none("/nonexistent.sock");
    platform::MessageRecorder sink;
    TwelveRecords t;
    t.report.setMessageSink(&sink);
    ASSERT_EQ(t.report.Generate(true), 0);
    EXPECT_EQ(t.report.TSestavaTyp::PrintOn(-1), 2);
    ASSERT_EQ(sink.boxes().size(), 1);
    EXPECT_TRUE(sink.boxes()[0].text.contains(QString::fromUtf8("neběží")));
    EXPECT_EQ(sink.boxes()[0].caption, u"Chyba");
}

// ---- through the scheduler

int queueIndex(const QString& name) {
    return PrinterSystem::instance().printerNames().indexOf(name);
}

bool waitCompleted(const QString& queue, const QString& title) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 60000) {
        cups_job_t* jobs = nullptr;
        const int count = cupsGetJobs2(CUPS_HTTP_DEFAULT, &jobs, queue.toUtf8().constData(), 0,
                                       CUPS_WHICHJOBS_COMPLETED);
        bool done = false;
        for (int i = 0; i < count; ++i)
            done = done || QString::fromUtf8(jobs[i].title) == title;
        cupsFreeJobs(count, jobs);
        if (done) return true;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 200);
    }
    return false;
}

TEST(ReportPrintCups, PdfQueueMatchesThePageView) {
    REQUIRE_SCHEDULER();
    const int index = queueIndex("ReportPdf");
    ASSERT_GE(index, 0) << "no ReportPdf queue (scripts/cups-ci.sh makes it)";
    TwelveRecords t;
    const QString title = testsupport::uniqueName("KolvReport");
    t.report.Popis = title;
    ASSERT_EQ(t.report.PrintOn(index), 0);
    ASSERT_TRUE(waitCompleted("ReportPdf", title));
    QStringList files;
    for (int i = 0; i < 100 && files.isEmpty(); ++i) {
        files = testsupport::cupsPdfFiles(title);
        QCoreApplication::processEvents(QEventLoop::AllEvents, 100);
    }
    ASSERT_EQ(files.size(), 1);
    const QString pdf = QDir(testsupport::cupsPdfFolder()).filePath(files.first());
    EXPECT_EQ(testsupport::pdfInfo(pdf, "Pages"), "2");

    // Page 1 at 100 dpi against our own page view replayed at 100 % on the same sheet.
    QTemporaryDir dir;
    runTool("pdftoppm", {"-r", "100", "-f", "1", "-l", "1", "-png", pdf, dir.filePath("p")});
    QImage printed(dir.filePath("p-1.png"));
    ASSERT_FALSE(printed.isNull());
    printed = printed.convertToFormat(QImage::Format_Grayscale8);
    QImage ours(printed.size(), QImage::Format_Grayscale8);
    ours.fill(Qt::white);
    {
        TSestVystup& doc = t.report.Vystup();
        doc.ShowPage(0);
        QPainter painter(&ours);
        platform::PainterCanvas canvas(painter, 100);
        doc.PageView().Play(
            canvas, {60, 50, 60 + doc.PrintableWidth() + 1, 50 + doc.PrintableHeight() + 1});
    }
    ours = ours.convertToFormat(QImage::Format_Grayscale8);
    // Dark pixels of each, and how many of ours have a dark printed pixel within 2 pixels.
    int dark = 0;
    int matched = 0;
    for (int y = 2; y < ours.height() - 2; ++y)
        for (int x = 2; x < ours.width() - 2; ++x) {
            if (qGray(ours.pixel(x, y)) > 128) continue;
            ++dark;
            bool near = false;
            for (int dy = -2; dy <= 2 && !near; ++dy)
                for (int dx = -2; dx <= 2 && !near; ++dx)
                    near = qGray(printed.pixel(x + dx, y + dy)) < 160;
            matched += near;
        }
    ASSERT_GT(dark, 200);
    EXPECT_GT(matched, dark * 9 / 10);
}

TEST(ReportPrintCups, RawQueueGetsTheRowsOncePerCopy) {
    REQUIRE_SCHEDULER();
    testsupport::LoopbackRawQueue queue;
    ASSERT_TRUE(queue.error().isEmpty()) << queue.error().toStdString();
    const int index = queueIndex(queue.name());
    ASSERT_GE(index, 0);
    TwelveRecords t;
    t.report.PrintCopies = 2;
    t.report.Popis = testsupport::uniqueName("KolvText");
    ASSERT_EQ(t.report.PrintOn(index), 0);
    const QByteArray& received = queue.waitForJob(60000);
    // Both copies arrive, each with one form feed per page.
    QElapsedTimer timer;
    timer.start();
    while (received.count('\f') < 4 && timer.elapsed() < 30000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 100);
    EXPECT_EQ(received.count('\f'), 4);
    EXPECT_EQ(received.count("radek12"), 2);
}

} // namespace

namespace {

// The print-fit dialog answers from the test: sheets across and down, or no printing.
class ScriptedFitDialog {
public:
    ScriptedFitDialog(bool print, int columns, int rows, int zoom) {
        SetPrintFitDialog([=, this](const TSestVystup::PageLayout& page, int& c, int& r, int& z) {
            ++asked;
            askedWidth = page.pageWidth;
            c = columns;
            r = rows;
            z = zoom;
            return print;
        });
    }
    ~ScriptedFitDialog() { SetPrintFitDialog(nullptr); }
    int asked = 0;
    int askedWidth = 0;
};

TEST(ReportPrint, PagesLargerThanTheSheetGoThroughThePrintFitDialog) {
    TestPrinter printer;
    const auto generate = [](TableReport& t, int paperWidth) {
        QStringList lines = applicationLikeTemplate();
        lines[0] = QStringLiteral("I,2,0,%1,1169,60,70,50,50,1,0").arg(paperWidth);
        t.setTemplate(lines);
        return t.report.Generate(true);
    };
    {
        // Within 1 % of the A4 sheet: no dialog.
        ScriptedFitDialog dialog(false, 1, 1, 100);
        TableReport t(kColumns, twelveRows());
        ASSERT_EQ(generate(t, 822), 0);
        EXPECT_TRUE(PrintGraphic(t.report.Vystup(), 1, 2, "a4", 1));
        EXPECT_EQ(dialog.asked, 0);
    }
    {
        // Wider: two sheets across per page.
        ScriptedFitDialog dialog(true, 2, 1, 100);
        TableReport t(kColumns, twelveRows());
        ASSERT_EQ(generate(t, 1100), 0);
        EXPECT_TRUE(PrintGraphic(t.report.Vystup(), 1, 2, "wide", 1));
        EXPECT_EQ(dialog.asked, 1);
        EXPECT_EQ(dialog.askedWidth, 1100);
        EXPECT_EQ(testsupport::pdfInfo(printer.path("job-2.pdf"), "Pages"), "4");
    }
    {
        // Closed without printing: nothing printed, reported as not printed.
        ScriptedFitDialog dialog(false, 1, 1, 100);
        TableReport t(kColumns, twelveRows());
        ASSERT_EQ(generate(t, 1100), 0);
        EXPECT_FALSE(PrintGraphic(t.report.Vystup(), 1, 2, "closed", 1));
        EXPECT_EQ(printer.pdfs().size(), 2);
    }
}

} // namespace
