// A picture in the record section: 300 records, each with a 1000 x 1700 pixel BMP (6.8 MB
// decoded), generated and printed into one PDF. Counts the peak memory the run and the print
// add to the process and how many images the PDF holds.
//
// Each run starts from a report made afresh; read the memory alone (other benchmarks of the
// process leave freed memory behind that this one would reuse unseen):
//     report_bench --benchmark_filter=BM_PictureRecords

#include "ReportWorkload.h"

#include "platform/Printers.h"
#include "report/engine/document/sestvyst_print.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

constexpr int kRecords = 300;

// A line of /proc/self/status in KiB ("VmRSS", "VmHWM").
double statusKiB(const char* field) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(line.indexOf(':') + 1).trimmed().split(' ')[0].toDouble();
    return 0;
}

// The peak resident size starts again from the present one.
void resetPeak() {
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly)) clear.write("5");
}

// The picture file, written once per process.
QString pictureFile() {
    static QTemporaryDir folder;
    static const QString file = [] {
        const QString name = folder.filePath(QStringLiteral("photo.bmp"));
        QImage picture(1000, 1700, QImage::Format_RGB32);
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x)
                picture.setPixel(x, y, qRgb(x % 256, y % 256, (x ^ y) % 256));
        picture.save(name, "BMP");
        return name;
    }();
    return file;
}

struct PictureReport {
    PictureReport() {
        report.SetItemNames({QStringLiteral("Vel1")});
        report.OnGetData = [this](report::TSestavaD* sender) {
            sender->itemValues() = {QString::number(current)};
        };
        report.OnStepData = [this](report::TSestavaD*, int dir) {
            current = dir == 0 ? 0 : current + 1;
            return current < kRecords ? 0 : 2;
        };
        // Stretched into its box, each record's element keeping its own copy (options 16 and
        // 64), beside the record's number.
        report.SetPredloha(report::TPredloha(
            {"I,2,0,827,1169,40,40,40,40,1,0", "I,3,2,1,180,0",
             QStringLiteral("T,11,0,0,0,100,170,,1,0,0,80,15,0,\"%1\"").arg(pictureFile()),
             "T,2,Vel1,200,0,200,20,Arial,10,0,0,0,0,238,\"\",0,0,0"}));
    }
    report::TSestava report;
    int current = 0;
};

// One run and its print from a report made afresh, so that the memory they add is all theirs.
void BM_PictureRecords(benchmark::State& state) {
    benchwork::ensureApplication();
    pictureFile();
    QTemporaryDir pdfs;
    platform::PrinterSystem& printers = platform::PrinterSystem::instance();
    printers.installTestPrinter(pdfs.path());
    if (!printers.hasPrinter()) printers.selectPrinter(-1);
    double added = 0;
    for (auto _ : state) {
        state.PauseTiming();
        PictureReport bench;
        const double before = statusKiB("VmRSS");
        resetPeak();
        state.ResumeTiming();
        if (bench.report.Generate(true) != 0) state.SkipWithError("the run failed");
        report::TSestVystup& doc = bench.report.Vystup();
        if (!report::PrintGraphic(doc, 1, doc.PageCount(), QStringLiteral("pictures"), 1))
            state.SkipWithError("printing failed");
        added = std::max(added, statusKiB("VmHWM") - before);
    }
    // The images of the last PDF: each is an XObject of its own.
    const QStringList written = QDir(pdfs.path()).entryList({"*.pdf"}, QDir::Files, QDir::Time);
    QFile pdf(pdfs.filePath(written.value(0)));
    const QByteArray bytes = pdf.open(QIODevice::ReadOnly) ? pdf.readAll() : QByteArray();
    printers.removeTestPrinter();
    state.counters["records"] =
        benchmark::Counter(double(state.iterations()) * kRecords, benchmark::Counter::kIsRate);
    state.counters["peak_added_MiB"] = added / 1024;
    state.counters["pdf_images"] = double(bytes.count("/Subtype /Image"));
    state.counters["pdf_MiB"] = double(bytes.size()) / (1024 * 1024);
}
// Once: a later run would reuse the memory the first one freed, unseen.
BENCHMARK(BM_PictureRecords)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace
