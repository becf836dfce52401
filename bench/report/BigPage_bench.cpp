// One page that holds very many elements: a body section of no height, so that every record
// lands on the first page, ten items per record, texts and frames mixed as reports mix them.
// The argument is the number of elements on the page; the time is one whole report run.

#include "BenchApplication.h"

#include "report/engine/document/sestvyst.h"
#include "report/engine/run/sestavy.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace {

constexpr int itemsPerRecord = 10;

report::TPredloha bigPageTemplate() {
    QStringList lines{"I,2,0,827,1169,40,40,40,40,1,0", "I,3,2,1,0,0"};
    for (int i = 0; i < itemsPerRecord; ++i) {
        // Items, plain texts, frames and lines, as a table with ruling has them: the page
        // holds several runs of equal drawing keys.
        const int left = i * 70;
        if (i % 5 == 3)
            lines << QStringLiteral("T,8,0,%1,0,60,20,,1,0,0,0,15,0").arg(left);
        else if (i % 5 == 4)
            lines << QStringLiteral("T,7,0,%1,0,60,20,,1,0,0,1,15,0").arg(left);
        else
            lines << QStringLiteral("T,%1,%2,%3,0,60,20,Arial,10,0,0,0,0,238,\"x\",0,0,0")
                         .arg(i % 5 == 2 ? 1 : 2)
                         .arg(i % 5 == 2 ? QStringLiteral("0")
                                         : QStringLiteral("Vel%1").arg(i % 6 + 1))
                         .arg(left);
    }
    return report::TPredloha(lines);
}

struct BigPageReport {
    explicit BigPageReport(int records) : records(records) {
        report.SetItemNames({"Vel1", "Vel2", "Vel3", "Vel4", "Vel5", "Vel6"});
        report.OnGetData = [this](report::TSestavaD* sender) {
            QStringList row;
            for (int i = 0; i < 6; ++i)
                row << QString::number(current * 6 + i);
            sender->itemValues() = row;
        };
        report.OnStepData = [this](report::TSestavaD*, int dir) {
            if (dir == 0) {
                current = 0;
                return 0;
            }
            if (current + 1 >= this->records) return 2;
            ++current;
            return 0;
        };
        report.SetPredloha(bigPageTemplate());
    }

    report::TSestava report;
    int records;
    int current = 0;
};

void BM_OnePageOfManyElements(benchmark::State& state) {
    ensureBenchApplication();
    BigPageReport bench(int(state.range(0)) / itemsPerRecord);
    for (auto _ : state) {
        if (bench.report.Generate(true) != 0) state.SkipWithError("the run failed");
    }
    const report::TSestVystup& doc = bench.report.Vystup();
    if (doc.PageCount() != 1 || doc.Page(0)->Count() != state.range(0))
        state.SkipWithError("the elements are not all on one page");
    state.counters["elements"] = benchmark::Counter(
        double(state.iterations()) * double(state.range(0)), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_OnePageOfManyElements)
    ->Arg(10'000)
    ->Arg(30'000)
    ->Arg(100'000)
    ->Unit(benchmark::kMillisecond);

} // namespace
