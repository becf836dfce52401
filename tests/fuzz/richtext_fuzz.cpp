// Any byte string as rich text and as plain text: read, laid out at several widths, scales and
// alignments, fitted and drawn; also drawn rotated. An error code or lines, never a crash, a
// hang or a sanitizer report.

#include "FuzzApplication.h"

#include "platform/Metafile.h"
#include "platform/TVoranCanvas.h"
#include "report/engine/text/sest_rtf.h"

#include <QString>

#include <cstddef>
#include <cstdint>

namespace {

void check(bool condition) {
    if (!condition) __builtin_trap();
}

void exercise(const QString& text, bool rtf, unsigned seed) {
    platform::Metafile metafile(1000, 1000, 100);
    platform::TVoranCanvas canvas(metafile, 100);
    const int width = int(seed % 400) - 20;
    const platform::TRect rect{3, 7, 3 + width, 7 + int(seed % 300)};
    report::RichTextOptions options;
    options.wordWrap = seed % 5 != 0;
    options.alignment = int(seed % 4);
    options.rtf = rtf;
    options.scaleX = options.scaleY = seed % 3 == 0 ? 6 : 1;
    options.lineHeight = seed % 7 == 0 ? 16.6 : 0;
    options.charWidth = seed % 11 == 0 ? 8.33 : 0;

    report::TRadky lines;
    const int result = report::LayoutRichText(canvas, rect, text, options, lines);
    check(result >= 0 && result <= 9);
    check(lines.Text().size() <= text.size());
    if (!rtf && result == report::rtfOk) check(lines.Text() == text);
    int used = 0, last = 0;
    lines.FitHeight(0, rect.height(), used, last);
    check(last < lines.Count());
    report::DrawRichTextLines(canvas, rect, lines, 0, lines.Count() - 1, options);
    platform::TFont font;
    report::DrawRotatedText(canvas, rect, text.left(300), int(seed % 720) - 360, 1, 1, font);
}

} // namespace

// Measuring text needs the font database of a GUI application.
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    startGuiApplication(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    unsigned seed = 0;
    for (const char c : bytes.left(16))
        seed = seed * 31 + static_cast<unsigned char>(c);
    exercise(QString::fromLatin1(bytes), true, seed);
    exercise(QString::fromUtf8(bytes), false, seed / 3);
    return 0;
}
