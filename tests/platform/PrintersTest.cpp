// Printers from CUPS: no scheduler means no printer; the CUPS-PDF queue's metrics; graphic
// jobs that print only when not cancelled; raw bytes that arrive unchanged; printers that
// vanish; the test printer.

#include "platform/Printers.h"
#include "Cups.h"
#include "platform/PrintJobs.h"

#include <QApplication>
#include <QFile>
#include <QPainter>
#include <QPrinter>
#include <QProcess>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <gtest/gtest.h>

using namespace platform;
using namespace testsupport;

namespace {

const QString pdfQueue = QStringLiteral("ReportPdf"); // created by scripts/cups-ci.sh

// Leaves no printer selected, whatever the test did.
struct PrinterReset {
    ~PrinterReset() {
        PrinterSystem::instance().removeTestPrinter();
        PrinterSystem::instance().selectPrinter(-2);
        PrinterSystem::instance().setCopies(1);
    }
};

// Selection is by index, and parallel tests add and delete queues between listing and
// selecting: try again when the index went stale.
bool selectQueue(const QString& name) {
    PrinterSystem& system = PrinterSystem::instance();
    for (int attempt = 0; attempt < 20; ++attempt) {
        const int index = int(system.printerNames().indexOf(name));
        if (index < 0) return false;
        if (system.selectPrinter(index) && system.currentName() == name) return true;
    }
    return false;
}

// The first page of a PDF rendered by poppler at 30 dpi.
QImage renderFirstPage(const QString& pdf) {
    QTemporaryDir dir;
    QProcess process;
    process.start(QStringLiteral("pdftoppm"), {"-r", "30", "-png", "-f", "1", "-l", "1",
                                               "-singlefile", pdf, dir.filePath("page")});
    process.waitForFinished(60000);
    return QImage(dir.filePath("page.png"));
}

// The bounding box of the dark pixels.
QRect inkBounds(const QImage& image) {
    QRect bounds;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 160) bounds |= QRect(x, y, 1, 1);
    return bounds;
}

void drawTwoPages(GraphicJob& job) {
    job.painter().drawText(100, 200, QStringLiteral("first page"));
    job.newPage();
    job.painter().drawRect(100, 100, 2000, 1000);
}

} // namespace

TEST(NoPrinter, WithoutASchedulerThereIsNoPrinterAndNothingPrints) {
    PrinterReset reset;
    ScopedCupsServer missing("/nonexistent.sock");
    PrinterSystem& system = PrinterSystem::instance();
    EXPECT_TRUE(system.printerNames().isEmpty());
    EXPECT_EQ(system.defaultIndex(), -1);
    EXPECT_FALSE(system.selectPrinter(-1));
    EXPECT_FALSE(system.selectPrinter(0));
    EXPECT_FALSE(system.hasPrinter());
    EXPECT_EQ(system.resolutionX(), 0);
    EXPECT_EQ(system.physicalPageSize(), QSize());
    EXPECT_EQ(system.deviceName(-1), QString());
    EXPECT_EQ(system.port(pdfQueue), QString());
    EXPECT_FALSE(system.isTextOnly(pdfQueue));
    EXPECT_FALSE(system.deviceMakesCopies());
    GraphicJob graphic;
    EXPECT_FALSE(graphic.begin(QStringLiteral("nowhere")));
    EXPECT_TRUE(graphic.outputFile().isEmpty());
    RawJob raw;
    EXPECT_FALSE(raw.begin(QStringLiteral("nowhere")));
    EXPECT_FALSE(raw.write("x"));
}

TEST(CupsPdfQueue, MetricsComeFromTheQueue) {
    REQUIRE_SCHEDULER();
    PrinterReset reset;
    PrinterSystem& system = PrinterSystem::instance();
    ASSERT_TRUE(selectQueue(pdfQueue)) << "queue missing; scripts/cups-ci.sh creates it";
    // The CUPS-PDF PPD: A4 at 1200 dpi with a 0.14" border.
    EXPECT_EQ(system.resolutionX(), 1200);
    EXPECT_EQ(system.resolutionY(), 1200);
    EXPECT_EQ(system.printingOffset(), QPoint(167, 167));
    EXPECT_EQ(system.physicalPageSize(), QSize(9917, 14033));
    EXPECT_EQ(system.printableSize(), QSize(9917 - 2 * 167, 14033 - 2 * 167));
    EXPECT_EQ(system.orientation(), 0);
    system.setOrientation(1);
    EXPECT_EQ(system.orientation(), 1);
    EXPECT_EQ(system.physicalPageSize(), QSize(14033, 9917));
    EXPECT_EQ(system.port(pdfQueue), "cups-pdf:/");
    EXPECT_TRUE(system.makeAndModel(pdfQueue).startsWith("Generic CUPS-PDF"));
    EXPECT_FALSE(system.isTextOnly(pdfQueue));
    EXPECT_TRUE(system.deviceMakesCopies());
}

TEST(CupsPdfQueue, GraphicJobPrintsItsPagesAndCopies) {
    REQUIRE_SCHEDULER();
    PrinterReset reset;
    ASSERT_TRUE(selectQueue(pdfQueue));
    PrinterSystem::instance().setCopies(2);
    PrinterSystem::instance().setOrientation(1);
    const QString title = uniqueName(QStringLiteral("kolvgraphic"));
    GraphicJob job;
    ASSERT_TRUE(job.begin(title));
    drawTwoPages(job);
    ASSERT_TRUE(job.end());
    EXPECT_GT(job.jobId(), 0);
    EXPECT_FALSE(QFile::exists(job.outputFile())); // the spool copy is gone
    EXPECT_EQ(waitForJob(pdfQueue, job.jobId(), 60000), JobState::Completed);
    QStringList files;
    for (int i = 0; i < 100 && files.isEmpty(); ++i, QThread::msleep(100))
        files = cupsPdfFiles(title);
    ASSERT_EQ(files.size(), 1);
    const QString pdf = QDir(cupsPdfFolder()).filePath(files[0]);
    EXPECT_EQ(pdfInfo(pdf, "Pages"), "4"); // two pages, two collated copies
    // Landscape on the queue's A4 paper: the sheet stays portrait and the page turns on it,
    // so the line of text on the first page runs up the sheet.
    EXPECT_TRUE(pdfInfo(pdf, "Page size").startsWith("595 x 842"))
        << pdfInfo(pdf, "Page size").toStdString();
    const QRect ink = inkBounds(renderFirstPage(pdf));
    EXPECT_GT(ink.height(), 2 * ink.width()) << ink.width() << "x" << ink.height();
    QFile::remove(pdf);
    // The printer is the queue again after the job.
    EXPECT_EQ(PrinterSystem::instance().printer().printerName(), pdfQueue);
    EXPECT_EQ(PrinterSystem::instance().printer().outputFormat(), QPrinter::NativeFormat);
}

TEST(CupsPdfQueue, CancelledGraphicJobLeavesNoJobAndNoFile) {
    REQUIRE_SCHEDULER();
    PrinterReset reset;
    ASSERT_TRUE(selectQueue(pdfQueue));
    const QString title = uniqueName(QStringLiteral("kolvcancel"));
    QString spool;
    {
        GraphicJob job;
        ASSERT_TRUE(job.begin(title));
        drawTwoPages(job);
        spool = job.outputFile();
        job.abort();
        EXPECT_FALSE(job.isActive());
    }
    {
        GraphicJob dropped; // destroyed while active: the same as a cancel
        ASSERT_TRUE(dropped.begin(title));
        drawTwoPages(dropped);
    }
    QThread::msleep(1500);
    EXPECT_EQ(jobsTitled(pdfQueue, title), 0);
    EXPECT_TRUE(cupsPdfFiles(title).isEmpty());
    EXPECT_FALSE(QFile::exists(spool));
}

TEST(CupsRawQueue, BytesArriveUnchanged) {
    REQUIRE_SCHEDULER();
    PrinterReset reset;
    LoopbackRawQueue queue;
    ASSERT_TRUE(queue.error().isEmpty()) << queue.error().toStdString();
    ASSERT_TRUE(selectQueue(queue.name()));
    EXPECT_TRUE(PrinterSystem::instance().isTextOnly(queue.name()));
    const QByteArray bytes("\x50\xF8\xED\x6C\x69\x9A\x0D\x0A\x0C", 9);
    RawJob job;
    ASSERT_TRUE(job.begin(QStringLiteral("raw bytes")));
    ASSERT_TRUE(job.write(bytes.left(4)));
    ASSERT_TRUE(job.write(bytes.mid(4)));
    ASSERT_TRUE(job.end());
    EXPECT_EQ(queue.waitForJob(30000).toHex(' '), bytes.toHex(' '));
    EXPECT_EQ(waitForJob(queue.name(), job.jobId(), 30000), JobState::Completed);
}

TEST(CupsRawQueue, AbortedRawJobSendsNothing) {
    REQUIRE_SCHEDULER();
    PrinterReset reset;
    LoopbackRawQueue queue;
    ASSERT_TRUE(queue.error().isEmpty()) << queue.error().toStdString();
    ASSERT_TRUE(selectQueue(queue.name()));
    RawJob job;
    ASSERT_TRUE(job.begin(QStringLiteral("raw abort")));
    ASSERT_TRUE(job.write("never printed"));
    job.abort();
    EXPECT_FALSE(job.write("more"));
    EXPECT_TRUE(queue.waitForJob(2000).isEmpty());
    // The job was never handed over: the scheduler has no trace of it.
    EXPECT_EQ(job.jobId(), 0);
    EXPECT_EQ(jobsTitled(queue.name(), QStringLiteral("raw abort")), 0);
}

TEST(CupsRawQueue, VanishedQueueIsNoPrinter) {
    REQUIRE_SCHEDULER();
    PrinterReset reset;
    auto queue = std::make_unique<LoopbackRawQueue>();
    ASSERT_TRUE(queue->error().isEmpty()) << queue->error().toStdString();
    const QString name = queue->name();
    ASSERT_TRUE(selectQueue(name));
    queue.reset(); // deleted by the administrator between listing and use
    PrinterSystem& system = PrinterSystem::instance();
    EXPECT_FALSE(system.hasPrinter());
    EXPECT_EQ(system.resolutionX(), 0);
    GraphicJob graphic;
    EXPECT_FALSE(graphic.begin(QStringLiteral("gone")));
    RawJob raw;
    EXPECT_FALSE(raw.begin(QStringLiteral("gone")));
}

TEST(TestPrinter, GraphicJobsBecomeFilesAndRawJobsAreKept) {
    PrinterReset reset;
    QTemporaryDir folder;
    PrinterSystem& system = PrinterSystem::instance();
    system.installTestPrinter(folder.path());
    EXPECT_EQ(system.printerNames(), QStringList{testPrinterName});
    ASSERT_TRUE(system.selectPrinter(-1));
    EXPECT_FALSE(system.deviceMakesCopies()); // the caller repeats the job for copies
    EXPECT_EQ(system.resolutionX(), 1200);

    system.setOrientation(1);
    GraphicJob job;
    ASSERT_TRUE(job.begin(QStringLiteral("test")));
    drawTwoPages(job);
    ASSERT_TRUE(job.end());
    EXPECT_EQ(pdfInfo(folder.filePath("job-1.pdf"), "Pages"), "2");
    EXPECT_TRUE(pdfInfo(folder.filePath("job-1.pdf"), "Page size").startsWith("842 x 595"));

    GraphicJob cancelled;
    ASSERT_TRUE(cancelled.begin(QStringLiteral("test")));
    drawTwoPages(cancelled);
    cancelled.abort();
    EXPECT_FALSE(QFile::exists(folder.filePath("job-2.pdf")));

    RawJob raw;
    ASSERT_TRUE(raw.begin(QStringLiteral("raw")));
    raw.write("AB\r\n");
    raw.write("\x0C");
    ASSERT_TRUE(raw.end());
    RawJob aborted;
    ASSERT_TRUE(aborted.begin(QStringLiteral("raw")));
    aborted.write("lost");
    aborted.abort();
    EXPECT_EQ(system.capturedRawJobs(), QList<QByteArray>{QByteArray("AB\r\n\x0C")});
}

TEST(TestPrinter, SelectionHoldsWhileAJobDraws) {
    PrinterReset reset;
    QTemporaryDir folder;
    PrinterSystem& system = PrinterSystem::instance();
    system.installTestPrinter(folder.path());
    ASSERT_TRUE(system.selectPrinter(0));
    GraphicJob job;
    ASSERT_TRUE(job.begin(QStringLiteral("held")));
    EXPECT_FALSE(system.selectPrinter(5));
    EXPECT_TRUE(system.hasPrinter());
    job.painter().drawLine(0, 0, 100, 100);
    EXPECT_TRUE(job.end());
}

TEST(TestPrinter, PageSetupDialogChangesTheSharedPrinter) {
    PrinterReset reset;
    QTemporaryDir folder;
    PrinterSystem& system = PrinterSystem::instance();
    EXPECT_FALSE(system.showPageSetupDialog(nullptr)); // no printer: no dialog
    system.installTestPrinter(folder.path());
    ASSERT_TRUE(system.selectPrinter(0));
    ASSERT_EQ(system.orientation(), 0);
    bool found = false;
    QTimer::singleShot(0, [&] {
        QWidget* dialog = QApplication::activeModalWidget();
        ASSERT_NE(dialog, nullptr);
        auto* landscape = dialog->findChild<QRadioButton*>("landscape");
        found = landscape != nullptr;
        if (landscape) landscape->click();
        QMetaObject::invokeMethod(dialog, "accept");
    });
    EXPECT_TRUE(system.showPageSetupDialog(nullptr));
    EXPECT_TRUE(found);
    EXPECT_EQ(system.orientation(), 1);
    EXPECT_GT(system.physicalPageSize().width(), system.physicalPageSize().height());
}
