// Rich-text layout and drawing: every multiline text of a report run is laid out, and the page
// view lays out and draws its texts again on every page shown.
#include "platform/Metafile.h"
#include "platform/PainterCanvas.h"
#include "platform/TVoranCanvas.h"
#include "report/engine/text/sest_rtf.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

namespace {

// Measuring text needs the font database of a GUI application.
void ensureApplication() {
    static int argc = 1;
    static char name[] = "report_bench";
    static char* argv[] = {name, nullptr};
    if (!QGuiApplication::instance()) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        static QGuiApplication application(argc, argv);
    }
}

platform::TFont arial() {
    platform::TFont font;
    font.name = "Arial";
    font.size = 10;
    return font;
}

QString plainParagraph() {
    const QString sentence = QString::fromUtf8(
        "Sytá pára o tlaku 1 MPa má teplotu 179,88 °C a entalpii 2777,1 kJ/kg. ");
    QString text;
    while (text.size() < 2000)
        text += sentence;
    return text.left(2000);
}

QString formattedRtf() {
    QString rtf = "{\\rtf1\\ansi\\ansicpg1250{\\fonttbl{\\f0\\fswiss\\fcharset238 Arial;}"
                  "{\\f1\\froman\\fcharset238 Times New Roman;}}"
                  "{\\colortbl;\\red200\\green0\\blue0;}";
    while (rtf.size() < 20000)
        rtf += "\\pard\\qj\\li300\\fi-150 P\\'f8\\'edli\\'9a {\\b \\'9elu\\'9dou\\'e8k\\'fd} "
               "k\\'f9\\'f2 {\\cf1\\fs28 \\'fap\\'ecl} {\\f1\\i \\'ef\\'e1belsk\\'e9 \\'f3dy}, "
               "tlak 1 MPa\\tab teplota 179,88 \\'b0C.\\par ";
    return rtf + "}";
}

const platform::TRect column{0, 0, 600, 100000}; // 6 inches wide in 1/100 inch

void BM_LayoutPlainParagraphJustified(benchmark::State& state) {
    ensureApplication();
    platform::Metafile metafile(1000, 1000, 100);
    platform::TVoranCanvas canvas(metafile, 100);
    canvas.SetFont(arial());
    const QString text = plainParagraph();
    for (auto _ : state) {
        report::TRadky lines;
        report::LayoutRichText(canvas, column, text, {.alignment = report::alignJustify}, lines);
        benchmark::DoNotOptimize(lines.Count());
    }
    state.SetItemsProcessed(state.iterations() * text.size()); // characters
}
BENCHMARK(BM_LayoutPlainParagraphJustified);

void BM_LayoutFormattedRtf20k(benchmark::State& state) {
    ensureApplication();
    platform::Metafile metafile(1000, 1000, 100);
    platform::TVoranCanvas canvas(metafile, 100);
    canvas.SetFont(arial());
    const QString text = formattedRtf();
    for (auto _ : state) {
        report::TRadky lines;
        report::LayoutRichText(canvas, column, text, {.rtf = true}, lines);
        benchmark::DoNotOptimize(lines.Count());
    }
    state.SetItemsProcessed(state.iterations() * text.size()); // source characters
}
BENCHMARK(BM_LayoutFormattedRtf20k);

// A page of 60 single-line items, as a report body draws them.
void drawPage(platform::TCanvas& canvas) {
    for (int i = 0; i < 60; ++i) {
        const platform::TRect rect{50, 50 + 17 * i, 776, 67 + 17 * i};
        report::DrawRichText(canvas, rect,
                             QString::fromUtf8("Položka %1: tlak 1 MPa, teplota 179,88 °C").arg(i),
                             {.alignment = i % 3});
    }
}

void BM_DrawPageIntoRecorder(benchmark::State& state) {
    ensureApplication();
    for (auto _ : state) {
        platform::Metafile metafile(826, 1169, 100);
        platform::TVoranCanvas canvas(metafile, 100);
        canvas.SetFont(arial());
        drawPage(canvas);
        benchmark::DoNotOptimize(metafile.records().size());
    }
    state.SetItemsProcessed(state.iterations()); // pages
}
BENCHMARK(BM_DrawPageIntoRecorder);

void BM_DrawPageIntoImage(benchmark::State& state) {
    ensureApplication();
    QImage image(826, 1169, QImage::Format_RGB32);
    for (auto _ : state) {
        image.fill(Qt::white);
        QPainter painter(&image);
        platform::PainterCanvas canvas(painter, 100);
        canvas.SetFont(arial());
        drawPage(canvas);
    }
    state.SetItemsProcessed(state.iterations()); // pages
}
BENCHMARK(BM_DrawPageIntoImage);

} // namespace
