// Editing in the designer window on big selections: a paste of 200 elements (create the
// controls, select them, record the history step) and one arrow-key move of 1,000 selected
// elements (move, repaint requests, history step). The application object comes from the
// start-up of DesignControls_bench.cpp.

#include "report/designer/TEditorSettings.h"
#include "report/designer/TFormSestE.h"
#include "report/designer/TOddil.h"
#include "report/designer/TSesPrvek.h"
#include "report/engine/run/sestavy.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

QStringList elementLines(const QString& key, int count) {
    QStringList lines;
    const char* const shapes[] = {
        "1,0,%1,%2,120,20,Arial,10,0,0,0,0,1,\"Text %3\",0,0,0",
        "5,3,%1,%2,60,20,Arial,10,0,1,1,0,1,\"\",0,0,0",
        "8,8,%1,%2,80,40,,1,0,0,15,15,0",
        "7,0,%1,%2,100,3,,2,0,0,0,15,0",
    };
    for (int i = 0; i < count; ++i) {
        QString line = QString::fromLatin1(shapes[i % 4]).arg((i * 37) % 650).arg((i * 53) % 900);
        lines << key + u',' + (i % 4 == 0 ? line.arg(i) : line);
    }
    return lines;
}

struct Designer {
    explicit Designer(const QStringList& body) : report(nullptr, folder.path()) {
        designer::EditorSettings() = {};
        QStringList text{QStringLiteral("I,0,\"Benchmark\""), QStringLiteral("I,1,5,40,17"),
                         QStringLiteral("I,3,2,1,1000,0")};
        report.SetPredloha(text + body);
        window = std::make_unique<designer::TFormSestE>();
        window->OpenSestava(&report, 1, false);
    }
    designer::TOddil* body() const { return window->paper()->Oddil(2); }

    QTemporaryDir folder;
    report::TSestava report;
    std::unique_ptr<designer::TFormSestE> window;
};

void BM_PasteTwoHundred(benchmark::State& state) {
    Designer sheet({});
    QStringList text{QStringLiteral("VoranEditor"), QStringLiteral("0"), QStringLiteral("0"),
                     QStringLiteral("0")};
    text += elementLines(QStringLiteral("X"), 200);
    QGuiApplication::clipboard()->setText(text.join(QStringLiteral("\r\n")));
    for (auto _ : state) {
        sheet.window->PasteAt(sheet.body(), 8, 8);
        state.PauseTiming();
        sheet.window->Undo();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * 200);
}
BENCHMARK(BM_PasteTwoHundred)->Unit(benchmark::kMillisecond);

void BM_KeyMoveThousandSelected(benchmark::State& state) {
    Designer sheet(elementLines(QStringLiteral("T"), 1000));
    designer::TOddil* body = sheet.body();
    sheet.window->SelectElement(body->Prvek(0));
    for (int i = 1; i < body->PocetPrvku(); ++i)
        sheet.window->AddToSelection(body->Prvek(i));
    int step = 0;
    for (auto _ : state) {
        QKeyEvent press(QEvent::KeyPress, (step++ % 2) ? Qt::Key_Left : Qt::Key_Right,
                        Qt::ControlModifier);
        QCoreApplication::sendEvent(sheet.window->paper(), &press);
    }
    state.SetItemsProcessed(state.iterations() * 1000);
}
BENCHMARK(BM_KeyMoveThousandSelected)->Unit(benchmark::kMillisecond);

} // namespace
