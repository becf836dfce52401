// The element tree of a big template: one rebuild (as after an insertion, deletion or paste)
// of a designer window holding 1,000 elements in the body and both sections of two groups.

#include "report/designer/TEditorSettings.h"
#include "report/designer/TFormSestE.h"
#include "report/engine/run/sestavy.h"

#include <QTemporaryDir>
#include <QTreeWidget>

#include <benchmark/benchmark.h>

namespace {

void BM_ElementTreeRebuild(benchmark::State& state) {
    QTemporaryDir folder;
    report::TSestava report(nullptr, folder.path());
    report.SetItemNames({QStringLiteral("cislo"), QStringLiteral("nazev")});
    QStringList text{QStringLiteral("I,0,\"Velká sestava\""), QStringLiteral("I,1,5,40,17"),
                     QStringLiteral("I,3,2,1,5000,0"), QStringLiteral("I,4,0,0,1,100,1,100,0"),
                     QStringLiteral("I,4,1,1,1,100,1,100,0")};
    const char* const keys[] = {"T", "T", "T", "T", "S0", "U0", "S1", "U1"};
    for (int i = 0; i < 1000; ++i) {
        const int kind = i % 3 == 0 ? 2 : i % 3 == 1 ? 1 : 8;
        text << QStringLiteral("%1,%2,%3,%4,%5,60,20,Arial,10,0,0,0,0,1,\"prvek %6\",0,0,0")
                    .arg(QLatin1String(keys[i % 8]))
                    .arg(kind)
                    .arg(kind == 8 ? 8 : i % 2)
                    .arg((i * 37) % 700)
                    .arg((i * 11) % 80)
                    .arg(i);
    }
    report.SetPredloha(text);
    designer::TFormSestE window;
    window.OpenSestava(&report, 1, false);
    designer::EditorSettings().ShowTree = true;
    window.BuildElementTree();
    QTreeWidget* tree = window.elementTree();
    // the body and one footer opened, as a user would have them
    tree->topLevelItem(0)->child(4)->setExpanded(true);
    tree->topLevelItem(0)->child(6)->setExpanded(true);
    for (auto _ : state) {
        window.BuildElementTree();
        benchmark::DoNotOptimize(tree->topLevelItem(0));
    }
    state.SetItemsProcessed(state.iterations() * 1000);
    designer::EditorSettings() = {};
}
BENCHMARK(BM_ElementTreeRebuild)->Unit(benchmark::kMillisecond);

} // namespace
