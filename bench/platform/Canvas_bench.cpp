// Pages per second of replaying a recorded report page, and text extents per second on the
// measuring canvas (the report run measures every item text).

#include "platform/PainterCanvas.h"
#include "platform/TVoranCanvas.h"

#include <QGuiApplication>
#include <QPainter>

#include <benchmark/benchmark.h>

using namespace platform;

namespace {

// A dense A4 page as the page view records it (600 units per inch): a header with frames,
// 60 table rows of 6 framed cells with text, a rotated caption and a small bitmap.
Metafile densePage() {
    Metafile page(826 * 6, 1169 * 6, 600);
    TVoranCanvas canvas(page, 100);
    TFont font;
    font.name = "Arial";
    font.size = 9 * 6;
    canvas.SetTextAlign(taLeft | taBaseline);
    canvas.SetPen(TPen{0, psSolid, 0});
    canvas.SetBrush(TBrush{0xE0E0E0, bsSolid});
    canvas.Rectangle(TRect{0, 0, 826 * 6, 60 * 6});
    font.bold = true;
    canvas.SetFont(font);
    canvas.TextOut(30, 200, QStringLiteral("Vlastnosti vody a vodní páry podle IAPWS-IF97"));
    font.bold = false;
    canvas.SetFont(font);
    canvas.SetBrush(TBrush{0, bsClear});
    for (int row = 0; row < 60; ++row) {
        const int top = (80 + row * 17) * 6;
        for (int col = 0; col < 6; ++col) {
            const TRect cell{(20 + col * 130) * 6, top, (150 + col * 130) * 6, top + 17 * 6};
            canvas.Rectangle(cell);
            canvas.TextOut(cell.left + 20, cell.bottom - 25,
                           QStringLiteral("%1,%2 kJ/kg").arg(row * 37 + col).arg(col * 7 + 11));
        }
    }
    font.escapement = 900;
    canvas.SetFont(font);
    canvas.TextOut(810 * 6, 1100 * 6, QStringLiteral("Strana 1"));
    QImage logo(64, 32, QImage::Format_RGB32);
    logo.fill(Qt::darkBlue);
    canvas.StretchDraw(TRect{700 * 6, 10 * 6, 800 * 6, 50 * 6}, logo);
    return page;
}

void BM_ReplayPage(benchmark::State& state) {
    const double zoom = state.range(0) / 100.0;
    const Metafile page = densePage();
    QImage image(int(826 * zoom), int(1169 * zoom), QImage::Format_RGB32);
    for (auto _ : state) {
        image.fill(Qt::white);
        QPainter painter(&image);
        PainterCanvas canvas(painter);
        page.Play(canvas, TRect{0, 0, image.width(), image.height()});
    }
    state.counters["pages/s"] =
        benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}
// 100 %: one pixel per 1/100 inch (826 x 1169); 300: a 300 dpi page.
BENCHMARK(BM_ReplayPage)->Arg(100)->Arg(300)->Unit(benchmark::kMillisecond);

void BM_MeasureText(benchmark::State& state) {
    Metafile metafile(826, 10);
    TVoranCanvas canvas(metafile, 100);
    TFont font;
    font.name = "Times New Roman";
    font.size = 10;
    canvas.SetFont(font);
    const QStringList texts = {QStringLiteral("Entalpie"), QStringLiteral("2 675,43 kJ/kg"),
                               QStringLiteral("Příliš žluťoučký kůň úpěl ďábelské ódy"),
                               QStringLiteral("Měrná tepelná kapacita při stálém tlaku")};
    qsizetype i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(canvas.TextExtent(texts[i++ % texts.size()]));
    }
    state.counters["extents/s"] =
        benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_MeasureText);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
