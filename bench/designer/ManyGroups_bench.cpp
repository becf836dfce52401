// Templates of many groups: opening one in the designer window (every group's two sections
// and an element in each header), and one undo on it, which clears the paper and reads the
// template again. The application object comes from the start-up of DesignControls_bench.cpp.

#include "report/designer/TEditorSettings.h"
#include "report/designer/TFormSestE.h"
#include "report/engine/run/sestavy.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

QStringList manyGroups(int groups) {
    QStringList text{QStringLiteral("I,0,\"Mnoho skupin\""), QStringLiteral("I,1,5,40,17"),
                     QStringLiteral("I,2,0,827,1169,50,50,70,70,1,0"),
                     QStringLiteral("I,3,2,1,40,0")};
    for (int k = 0; k < groups; ++k)
        text << QStringLiteral("I,4,%1,%2,1,24,1,24,0").arg(k).arg(k % 2);
    text << QStringLiteral("T,2,0,10,2,200,20,Arial,10,0,0,0,0,1,\"\",0,0,0");
    for (int k = 0; k < groups; ++k)
        text << QStringLiteral("S%1,1,0,10,2,300,20,Arial,10,0,0,0,0,1,\"Skupina %1\",0,0,0")
                    .arg(k);
    return text;
}

struct GroupedReport {
    explicit GroupedReport(int groups) : report(nullptr, folder.path()) {
        designer::EditorSettings() = {};
        report.SetItemNames({QStringLiteral("cislo"), QStringLiteral("nazev")});
        report.SetPredloha(manyGroups(groups));
    }
    QTemporaryDir folder;
    report::TSestava report;
};

void BM_OpenManyGroups(benchmark::State& state) {
    GroupedReport fixture(int(state.range(0)));
    for (auto _ : state) {
        auto window = std::make_unique<designer::TFormSestE>();
        window->OpenSestava(&fixture.report, 1, false);
        state.PauseTiming();
        window.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_OpenManyGroups)->Arg(10000)->Arg(30000)->Unit(benchmark::kMillisecond);

void BM_UndoManyGroups(benchmark::State& state) {
    GroupedReport fixture(int(state.range(0)));
    designer::TFormSestE window;
    window.OpenSestava(&fixture.report, 1, false);
    for (auto _ : state) {
        state.PauseTiming();
        // what the event loop does between two commands: the new sections are polished
        QCoreApplication::processEvents();
        window.RecordChange(designer::ckMove);
        state.ResumeTiming();
        window.Undo();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_UndoManyGroups)->Arg(10000)->Unit(benchmark::kMillisecond);

} // namespace
