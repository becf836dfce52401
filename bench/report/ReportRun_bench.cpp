// The report run and its writers: 10,000 records through the data events into about 300 A4
// pages (page header and footer, a group every 50 records with sum, average and standard
// deviation, six items per record); recording page views; printing the pages to a PDF file.

#include "platform/Printers.h"
#include "report/engine/run/sestavy.h"
#include "report/engine/document/sestvyst.h"

#include <QApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <malloc.h>

#include <vector>

// Fontconfig's cache, held by the application that lives to the end, is no leak of ours.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig"; }

namespace {

constexpr int recordCount = 10000;

// Fonts and printers need the application object; it is made before any benchmark runs, with
// an event loop the run processes between sections. It lives to the end of the process:
// destroyed among the static objects, Qt's clean-up would run after Qt Sql's statics are gone.
const bool applicationReady = [] {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "report_bench";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance()) new QApplication(argc, argv);
    return true;
}();

QString textLine(const QString& key, int kind, const QString& ref, int left, int top, int width,
                 const QString& text = {}, int alignment = 0) {
    return QStringLiteral("%1,%2,%3,%4,%5,%6,20,Arial,10,0,0,%7,0,238,\"%8\",0,0,0")
        .arg(key)
        .arg(kind)
        .arg(ref)
        .arg(left)
        .arg(top)
        .arg(width)
        .arg(alignment)
        .arg(text);
}

report::TPredloha benchTemplate() {
    QStringList lines{"I,2,0,827,1169,40,40,40,40,1,0",
                      "I,3,1,1,60,0",
                      "I,3,2,1,26,0",
                      "I,3,4,1,30,0",
                      "I,3,0,0,0,0",
                      "I,3,3,1,30,0",
                      "I,4,0,Skupina,1,24,1,24,0",
                      "F,0,suma,\"soucet\",0,\"0\",2,\"#Vel2\",2,15,2,1",
                      "F,1,prumer,\"prumer\",0,\"0\",2,\"#Vel3\",3,15,3,1",
                      "F,2,odchylka,\"odchylka\",0,\"0\",2,\"#Vel4\",6,15,3,1",
                      textLine("H", 1, "0", 0, 0, 400, "Vlastnosti vody a páry"),
                      textLine("H", 5, "3", 500, 0, 120, "Strana %d"),
                      textLine("H", 5, "4", 640, 0, 100, "z %d"),
                      textLine("P", 5, "0", 0, 5, 200, "", 0),
                      textLine("S0", 2, "Skupina", 0, 2, 200),
                      textLine("U0", 6, "suma", 100, 2, 150, {}, 1),
                      textLine("U0", 6, "prumer", 300, 2, 150, {}, 1),
                      textLine("U0", 6, "odchylka", 500, 2, 150, {}, 1),
                      textLine("K", 1, "0", 0, 5, 300, "Konec")};
    for (int i = 0; i < 6; ++i)
        lines << textLine("T", 2, QStringLiteral("Vel%1").arg(i + 1), i * 120, 3, 110, {}, 1);
    return report::TPredloha(lines);
}

// A report fed by events from rows made once.
struct BenchReport {
    BenchReport() {
        for (int r = 0; r < recordCount; ++r) {
            QStringList row;
            for (int i = 0; i < 6; ++i)
                row << QString::number(100.0 + r * 0.37 + i * 11.5, 'f', 3);
            row << QStringLiteral("Skupina %1").arg(r / 50 + 1);
            rows.push_back(row);
        }
        report.SetItemNames({"Vel1", "Vel2", "Vel3", "Vel4", "Vel5", "Vel6", "Skupina"});
        report.OnGetData = [this](report::TSestavaD* sender) {
            sender->itemValues() = rows[size_t(current)];
        };
        report.OnStepData = [this](report::TSestavaD*, int dir) {
            if (dir == 0) {
                current = 0;
                return 0;
            }
            if (current + 1 >= int(rows.size())) return 2;
            ++current;
            return 0;
        };
        report.SetPredloha(benchTemplate());
    }

    report::TSestava report;
    std::vector<QStringList> rows;
    int current = 0;
};

BenchReport& generated() {
    static BenchReport bench;
    static const bool ran = bench.report.Generate(true) == 0;
    (void)ran;
    return bench;
}

void BM_Generate(benchmark::State& state) {
    BenchReport& bench = generated();
    int pages = 0;
    for (auto _ : state) {
        bench.report.Generate(true);
        pages += bench.report.Vystup().PageCount();
    }
    // Heap held by one generated document, per page.
    bench.report.Vystup().Clear();
    const size_t before = mallinfo2().uordblks;
    bench.report.Generate(true);
    const size_t after = mallinfo2().uordblks;
    const int perRun = bench.report.Vystup().PageCount();
    state.counters["records"] =
        benchmark::Counter(double(state.iterations()) * recordCount, benchmark::Counter::kIsRate);
    state.counters["pages"] = benchmark::Counter(pages, benchmark::Counter::kIsRate);
    state.counters["pages_per_run"] = perRun;
    state.counters["KiB_per_page"] =
        after > before ? double(after - before) / 1024.0 / std::max(perRun, 1) : 0.0;
}
BENCHMARK(BM_Generate)->Unit(benchmark::kMillisecond);

void BM_ShowPage(benchmark::State& state) {
    report::TSestVystup& doc = generated().report.Vystup();
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

void BM_PrintPdf(benchmark::State& state) {
    report::TSestVystup& doc = generated().report.Vystup();
    QTemporaryDir folder;
    platform::PrinterSystem& printers = platform::PrinterSystem::instance();
    printers.installTestPrinter(folder.path());
    int pages = 0;
    for (auto _ : state) {
        if (!doc.PrintGraphic(1, doc.PageCount(), nullptr, QStringLiteral("bench"), 1))
            state.SkipWithError("printing failed");
        pages += doc.PageCount();
    }
    printers.removeTestPrinter();
    state.counters["pages"] = benchmark::Counter(pages, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_PrintPdf)->Unit(benchmark::kMillisecond);

} // namespace
