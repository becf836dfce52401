// The report run and its writers on the workload of ReportWorkload.h: generating from events
// and from a SQLite file, recording page views, printing the pages to a PDF file, and the floor
// of that printing: the same texts and rules drawn straight with QPainter into a PDF.
//
// Read BM_PrintPdf against BM_PdfFloor of the same run: both write the same pages through the
// same printer, so their ratio of time per page takes the speed of the machine out.

#include "ReportWorkload.h"

#include "platform/PrintJobs.h"
#include "platform/Printers.h"
#include "report/engine/document/sestvyst.h"
#include "report/engine/document/sestvyst_print.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <malloc.h>

#include "PageFloor.h"

// Fontconfig's cache, held by the application that lives to the end, is no leak of ours.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig";
}

namespace {

using benchwork::kRecordCount;

void countPages(benchmark::State& state, int pages) {
    state.counters["records"] =
        benchmark::Counter(double(state.iterations()) * kRecordCount, benchmark::Counter::kIsRate);
    state.counters["pages"] = benchmark::Counter(pages, benchmark::Counter::kIsRate);
}

void BM_Generate(benchmark::State& state) {
    report::TSestava& report = benchwork::eventsReport().report;
    int pages = 0;
    for (auto _ : state) {
        report.Generate(true);
        pages += report.Vystup().PageCount();
    }
    // Heap held by one generated document, per page.
    report.Vystup().Clear();
    const size_t before = mallinfo2().uordblks;
    report.Generate(true);
    const size_t after = mallinfo2().uordblks;
    const int perRun = report.Vystup().PageCount();
    countPages(state, pages);
    state.counters["pages_per_run"] = perRun;
    state.counters["KiB_per_page"] =
        after > before ? double(after - before) / 1024.0 / std::max(perRun, 1) : 0.0;
}
BENCHMARK(BM_Generate)->Unit(benchmark::kMillisecond);

void BM_GenerateSql(benchmark::State& state) {
    benchwork::SqlReport& bench = benchwork::sqlReport();
    int pages = 0;
    for (auto _ : state) {
        if (bench.generate() != 0) state.SkipWithError("the run failed");
        pages += bench.report.Vystup().PageCount();
    }
    countPages(state, pages);
    state.counters["pages_per_run"] = bench.report.Vystup().PageCount();
}
BENCHMARK(BM_GenerateSql)->Unit(benchmark::kMillisecond);

void BM_ShowPage(benchmark::State& state) {
    report::TSestVystup& doc = benchwork::sqlReport().report.Vystup();
    int page = 0;
    for (auto _ : state) {
        doc.ShowPage(page);
        page = (page + 1) % doc.PageCount();
        benchmark::DoNotOptimize(doc.PageView().records().size());
    }
    state.counters["pages"] =
        benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ShowPage);

// The PDF files go to a folder of their own, on the test printer (PDF at the resolution and
// printable area of a real queue).
struct PdfPrinter {
    PdfPrinter() {
        platform::PrinterSystem& printers = platform::PrinterSystem::instance();
        printers.installTestPrinter(folder.path());
        if (!printers.hasPrinter()) printers.selectPrinter(-1);
    }
    ~PdfPrinter() { platform::PrinterSystem::instance().removeTestPrinter(); }
    QTemporaryDir folder;
};

void BM_PrintPdf(benchmark::State& state) {
    report::TSestVystup& doc = benchwork::sqlReport().report.Vystup();
    PdfPrinter printer;
    int pages = 0;
    for (auto _ : state) {
        if (!report::PrintGraphic(doc, 1, doc.PageCount(), QStringLiteral("bench"), 1))
            state.SkipWithError("printing failed");
        pages += doc.PageCount();
    }
    state.counters["pages"] = benchmark::Counter(pages, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_PrintPdf)->Unit(benchmark::kMillisecond);

void BM_PdfFloor(benchmark::State& state) {
    report::TSestVystup& doc = benchwork::sqlReport().report.Vystup();
    PdfPrinter printer;
    const benchwork::FloorDocument floor = benchwork::floorOf(doc);
    int pages = 0;
    for (auto _ : state) {
        if (!benchwork::drawFloor(floor)) state.SkipWithError("printing failed");
        pages += int(floor.pages.size());
    }
    state.counters["pages"] = benchmark::Counter(pages, benchmark::Counter::kIsRate);
    state.counters["texts_per_page"] = double(floor.textCount()) / floor.pages.size();
}
BENCHMARK(BM_PdfFloor)->Unit(benchmark::kMillisecond);

} // namespace
