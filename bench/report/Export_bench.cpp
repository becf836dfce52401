// The export writers on a 500-page document (pages per second), the EMF and WMF of a dense
// page (bytes written), and painting a page view as the preview does at 100 % and 300 %.

#include "platform/PainterCanvas.h"
#include "report/engine/document/sestvyst.h"
#include "report/engine/export/EmfWriter.h"
#include "report/engine/export/WmfWriter.h"
#include "report/engine/export/sest_str.h"
#include "report/engine/run/sestavy.h"

#include <QApplication>
#include <QBuffer>
#include <QPainter>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

namespace {

const bool applicationReady = [] {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "report_bench";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance()) new QApplication(argc, argv);
    return true;
}();

struct Document {
    report::TSestava report;
    std::vector<std::unique_ptr<report::TVoranReportElement>> elements;
    report::TSestVystup doc;

    report::TVoranReportElement* element(int kind, int left, int top, int width, int height) {
        elements.push_back(std::make_unique<report::TVoranReportElement>(&report));
        elements.back()->LoadFromLine(
            QStringLiteral("T,%1,0,%2,%3,%4,%5,Arial,10,0,0,0,0,238,\"\",0,0,0")
                .arg(kind)
                .arg(left)
                .arg(top)
                .arg(width)
                .arg(height));
        return elements.back().get();
    }
    void add(int page, report::TVoranReportElement* e, const QString& text = {}) {
        auto out = std::make_unique<report::TVystPrvek>(e, e->Left, e->Top, e->Width, e->Height);
        out->SetText(text);
        doc.AddElement(page, std::move(out));
    }
};

// Pages of 40 text rows and two frames each.
Document& pagesDocument() {
    static Document d;
    static const bool built = [] {
        report::TVoranReportElement* row = d.element(1, 0, 0, 300, 20);
        report::TVoranReportElement* frame = d.element(8, 400, 0, 200, 100);
        for (int p = 0; p < 500; ++p) {
            for (int r = 0; r < 40; ++r)
                d.add(p, row, QStringLiteral("Řádek %1 strany %2: 123,456 kJ/kg").arg(r).arg(p));
            d.add(p, frame);
            d.add(p, frame);
        }
        return true;
    }();
    (void)built;
    return d;
}

// 300 texts, 100 frames and 20 barcodes on one page.
Document& densePage() {
    static Document d;
    static const bool built = [] {
        for (int i = 0; i < 300; ++i) {
            report::TVoranReportElement* e = d.element(1, (i % 3) * 240, (i / 3) * 10, 230, 10);
            d.add(0, e, QStringLiteral("Hodnota %1 = %2 °C").arg(i).arg(i * 1.5));
        }
        for (int i = 0; i < 100; ++i)
            d.add(0, d.element(8, (i % 10) * 70, 100 + (i / 10) * 70, 60, 60));
        for (int i = 0; i < 20; ++i) {
            report::TVoranReportElement* e =
                d.element(12, (i % 4) * 180, 800 + (i / 4) * 60, 170, 50);
            e->PenWidth = 2;
            d.add(0, e, QStringLiteral("%1").arg(100000 + i));
        }
        d.doc.ShowPage(0);
        return true;
    }();
    (void)built;
    return d;
}

void BM_SaveToRTF(benchmark::State& state) {
    Document& d = pagesDocument();
    for (auto _ : state) {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        report::SaveToRTF(d.doc, buffer);
        benchmark::DoNotOptimize(buffer.data().size());
    }
    state.counters["pages/s"] = benchmark::Counter(double(d.doc.PageCount()),
                                                   benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_SaveToRTF)->Unit(benchmark::kMillisecond);

void BM_SaveToText(benchmark::State& state) {
    Document& d = pagesDocument();
    for (auto _ : state) {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        report::SaveToText(d.doc, buffer, 1, 1, d.doc.PageCount());
        benchmark::DoNotOptimize(buffer.data().size());
    }
    state.counters["pages/s"] = benchmark::Counter(double(d.doc.PageCount()),
                                                   benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_SaveToText)->Unit(benchmark::kMillisecond);

void BM_SaveAllPagesHTML(benchmark::State& state) {
    Document& d = pagesDocument();
    QTemporaryDir dir;
    for (auto _ : state)
        benchmark::DoNotOptimize(report::SaveAllPagesHTML(d.doc, dir.filePath("page.html")));
    state.counters["pages/s"] = benchmark::Counter(double(d.doc.PageCount()),
                                                   benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_SaveAllPagesHTML)->Unit(benchmark::kMillisecond);

void BM_DensePageMetafile(benchmark::State& state) {
    Document& d = densePage();
    const bool enhanced = state.range(0);
    qsizetype bytes = 0;
    for (auto _ : state) {
        const QByteArray out =
            enhanced ? report::WriteEmf(d.doc.PageView()) : report::WriteWmf(d.doc.PageView());
        bytes = out.size();
        benchmark::DoNotOptimize(bytes);
    }
    state.counters["bytes"] = double(bytes);
}
BENCHMARK(BM_DensePageMetafile)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

void BM_PreviewPaint(benchmark::State& state) {
    Document& d = densePage();
    const double zoom = state.range(0) / 100.0;
    const QSize size(int(827 * zoom), int(1169 * zoom));
    QImage image(size, QImage::Format_RGB32);
    for (auto _ : state) {
        image.fill(Qt::white);
        QPainter painter(&image);
        platform::PainterCanvas canvas(painter, 100 * zoom);
        d.doc.PageView().Play(canvas, {0, 0, size.width(), size.height()});
    }
}
BENCHMARK(BM_PreviewPaint)->Arg(100)->Arg(300)->Unit(benchmark::kMillisecond);

} // namespace
