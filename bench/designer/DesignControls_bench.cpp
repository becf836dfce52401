// The feel of the designer on big templates: repainting a body section that holds 500 mixed
// elements, and one step of an element drag (move event to repaint) on it.

#include "report/designer/TOddil.h"
#include "report/designer/TPapir.h"
#include "report/designer/TSesPrvek.h"
#include "report/engine/run/sestavy.h"

#include <QApplication>
#include <QMouseEvent>

#include <benchmark/benchmark.h>

#include <memory>

// Fontconfig's cache, held by the application that lives to the end, is no leak of ours.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig";
}

namespace {

const bool applicationReady = [] {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "designer_bench";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance()) new QApplication(argc, argv);
    return true;
}();

struct BusySection {
    explicit BusySection(double zoom) {
        paper = new designer::TPapir(&window);
        for (report::SectionNumber code : designer::kFixedSectionCodes)
            paper->AddOddil(code);
        paper->SetSirka(827);
        paper->SetZoom(zoom);
        body()->setSectionHeight(1000);
        body()->SetRastr(true, true, 8, 8, false);
        const int kinds[] = {1, 2, 7, 8, 9, 10, 12, 1, 5, 8};
        for (int i = 0; i < 500; ++i) {
            auto* control = new designer::TSesPrvek(body());
            auto element = std::make_unique<report::TVoranReportElement>(&report);
            element->Kind = kinds[i % 10];
            element->Left = (i * 37) % 700;
            element->Top = (i * 53) % 950;
            element->Width = 100;
            element->Height = 40;
            element->Text = QStringLiteral("Prvek %1").arg(i);
            element->Value.text = element->Text;
            element->SetBarcodeText(QStringLiteral("12345"));
            element->PenStyle = 3;
            element->PenWidth = 6;
            control->setElement(std::move(element));
            paper->AddPrvek(body(), control);
            control->SetZoom(zoom);
        }
        window.resize(paper->size());
    }
    designer::TOddil* body() const { return paper->Oddil(2); }

    report::TSestava report;
    QWidget window;
    designer::TPapir* paper;
};

void BM_RepaintBody(benchmark::State& state) {
    const double zoom = state.range(0) / 10.0;
    BusySection sheet(zoom);
    for (auto _ : state)
        benchmark::DoNotOptimize(sheet.body()->grab());
    state.SetItemsProcessed(state.iterations() * 500);
}
BENCHMARK(BM_RepaintBody)->Arg(10)->Arg(30)->Unit(benchmark::kMillisecond);

void BM_DragStep(benchmark::State& state) {
    BusySection sheet(1.0);
    designer::TSesPrvek* dragged = sheet.paper->Prvek(250);
    const QPointF inside(20, 10);
    QMouseEvent press(QEvent::MouseButtonPress, inside, inside, Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(dragged, &press);
    int step = 0;
    for (auto _ : state) {
        const QPointF to(20 + ((step++ % 2) ? 9 : -9), 10);
        QMouseEvent move(QEvent::MouseMove, to, to, Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(dragged, &move);
        benchmark::DoNotOptimize(sheet.body()->grab(dragged->geometry().adjusted(-20, 0, 20, 0)));
    }
    QMouseEvent release(QEvent::MouseButtonRelease, inside, inside, Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QCoreApplication::sendEvent(dragged, &release);
}
BENCHMARK(BM_DragStep)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
