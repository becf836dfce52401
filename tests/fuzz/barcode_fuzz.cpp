// Any bytes as a barcode: the first byte picks the symbology (also a few beyond the 20), the
// second the module, the check digit and the shown text, the third the angle, and the rest is
// the text (UTF-8). Encoded, then drawn on a page recording and on a bitmap. Never a crash, a
// hang or a sanitizer report; a symbology gives only elements that have a width, an unknown one
// nothing.

#include "FuzzApplication.h"

#include "platform/PainterCanvas.h"
#include "platform/RecordingCanvas.h"
#include "report/engine/barcode/sestbarc.h"

#include <QPainter>

#include <cstddef>
#include <cstdint>

namespace {

void check(bool condition) {
    if (!condition) __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    startGuiApplication(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 3) return 0;
    const int type = data[0] % (report::BarcodeTypeCount + 4);
    const int module = data[1] % 64;
    const bool checkDigit = data[1] & 0x40;
    const bool showText = data[1] & 0x80;
    const int angle = data[2] * 3 - 360;
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char*>(data) + 3, qsizetype(size) - 3);

    // The painter keeps state between symbols: every input starts from the program's start.
    report::ResetBarcodePainter();
    const report::BarcodeSymbol symbol = report::EncodeBarcode(type, module, checkDigit, text);
    if (type >= report::BarcodeTypeCount) check(symbol.pattern.isEmpty());
    const report::BarcodeWidths widths = report::CurrentBarcodeWidths();
    for (const QChar element : symbol.pattern)
        check(report::BarcodeElementWidth(element, widths) > 0);

    platform::Metafile page(850, 1100, 100);
    platform::RecordingCanvas recording(page);
    report::DrawBarcode(recording, {100, 100, 500, 180}, type, module, angle, checkDigit, showText,
                        text);
    QImage bitmap(220, 120, QImage::Format_RGB32);
    bitmap.fill(Qt::white);
    QPainter painter(&bitmap);
    platform::PainterCanvas canvas(painter, 96);
    report::DrawBarcode(canvas, {10, 10, 210, 90}, type, module, angle, checkDigit, showText,
                        text);
    page.Play(canvas, {0, 0, 220, 120});
    return 0;
}
