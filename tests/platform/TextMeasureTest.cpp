// Measuring is independent of the screen: widths follow the font files (read independently by
// FreeType, tests/oracle/gen_font_widths.py) and scale linearly with pixels per inch. This
// group also runs under a doubled screen scale and a 144 dpi screen (tests/CMakeLists.txt).

#include "platform/TVoranCanvas.h"

#include <QFile>
#include <QStringList>

#include <gtest/gtest.h>

#if defined(__SANITIZE_ADDRESS__)
#define KOLV_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define KOLV_ADDRESS_SANITIZER 1
#endif
#endif
#ifdef KOLV_ADDRESS_SANITIZER
// The sanitizer's count of the bytes its allocator has handed out and not taken back.
extern "C" size_t __sanitizer_get_current_allocated_bytes();
#else
#include <malloc.h>
#endif

using namespace platform;

namespace {

struct Sample {
    TFont font;
    QString text;
    double widthAtEm2048;
};

// The generator writes plain comma-separated fields; only texts with a comma are quoted.
QStringList splitCsvLine(const QString& line) {
    QStringList fields;
    QString field;
    bool quoted = false;
    for (QChar c : line) {
        if (c == '"') {
            quoted = !quoted;
        } else if (c == ',' && !quoted) {
            fields << field;
            field.clear();
        } else {
            field += c;
        }
    }
    fields << field;
    return fields;
}

std::vector<Sample> samples() {
    QFile file(QStringLiteral(KOLV_TEST_DATA_DIR "/font_widths.csv"));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    std::vector<Sample> result;
    const QStringList lines = QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
    for (const QString& line : lines.mid(1)) {
        const QStringList f = splitCsvLine(line);
        Sample s;
        s.font.name = f[0];
        s.font.bold = f[1] == "1";
        s.font.italic = f[2] == "1";
        s.text = f[3];
        s.widthAtEm2048 = f[4].toDouble();
        result.push_back(s);
    }
    EXPECT_EQ(result.size(), 16u);
    return result;
}

double measuredWidth(const Sample& s, double pixelsPerInch, double points) {
    Metafile m(100, 10);
    TVoranCanvas canvas(m, pixelsPerInch);
    TFont font = s.font;
    font.size = points;
    canvas.SetFont(font);
    return canvas.TextExtentF(s.text).width();
}

// Bytes the program holds on the heap.
qint64 liveHeapBytes() {
#ifdef KOLV_ADDRESS_SANITIZER
    return qint64(__sanitizer_get_current_allocated_bytes());
#else
    return qint64(mallinfo2().uordblks);
#endif
}

} // namespace

TEST(TextMeasure, WidthsFollowTheFontFiles) {
    for (const Sample& s : samples()) {
        // 10 points at 100 pixels per inch: an em of 1000/72 units.
        const double expected = s.widthAtEm2048 / 2048 * (10 * 100 / 72.0);
        EXPECT_NEAR(measuredWidth(s, 100, 10), expected, 0.05)
            << s.font.name.toStdString() << ": " << s.text.toStdString();
    }
}

TEST(TextMeasure, WidthAt100PpiIsTheWidthAt600PpiOverSix) {
    for (const Sample& s : samples()) {
        Metafile m(100, 10);
        TVoranCanvas at100(m, 100), at600(m, 600);
        TFont font = s.font;
        font.size = 9;
        at100.SetFont(font);
        at600.SetFont(font);
        EXPECT_NEAR(at100.TextWidth(s.text), at600.TextWidth(s.text) / 6.0, 1.0);
    }
}

TEST(TextMeasure, RoundedAdvancesAddUpToTheRoundedWidth) {
    Metafile m(100, 10);
    TVoranCanvas canvas(m, 100);
    for (const Sample& s : samples()) {
        TFont font = s.font;
        font.size = 11;
        canvas.SetFont(font);
        int sum = 0;
        for (int a : canvas.CharAdvances(s.text))
            sum += a;
        EXPECT_EQ(sum, canvas.TextWidth(s.text));
    }
}

TEST(TextMeasure, MetricsScaleWithTheHeight) {
    Metafile m(100, 10);
    TVoranCanvas canvas(m, 100);
    TFont font;
    font.height = 100;
    canvas.SetFont(font);
    const TTextMetrics small = canvas.GetTextMetrics();
    EXPECT_EQ(canvas.TextHeight("X"), 112); // the cell: ascent + descent
    font.height = 300;
    canvas.SetFont(font);
    const TTextMetrics large = canvas.GetTextMetrics();
    EXPECT_NEAR(large.ascent, 3 * small.ascent, 1e-9);
    EXPECT_NEAR(large.height, 3 * small.height, 1e-9);
    // Liberation Sans: ascent 1854, descent 434 of 2048 font units.
    EXPECT_NEAR(small.ascent, 100 * 1854 / 2048.0, 0.05);
    EXPECT_NEAR(small.descent, 100 * 434 / 2048.0, 0.05);
}

// A program that reads many templates and pictures meets any number of font names; each face
// measured holds a font engine. However many names come, the memory held tops out: the most
// held while measuring in the second half of 16000 names is what was held in the first (Qt's
// own caches of faces rise and fall within a few thousand names).
TEST(TextMeasure, ManyFontNamesTakeBoundedMemory) {
    Metafile m(100, 10);
    TVoranCanvas canvas(m, 96);
    const qint64 start = liveHeapBytes();
    qint64 mostInFirstHalf = 0;
    qint64 mostInSecondHalf = 0;
    TFont font;
    for (int i = 0; i < 16000; ++i) {
        font.name = QStringLiteral("Font %1").arg(i);
        canvas.SetFont(font);
        canvas.TextWidth(QStringLiteral("Hello"));
        qint64& most = i < 8000 ? mostInFirstHalf : mostInSecondHalf;
        most = std::max(most, liveHeapBytes() - start);
    }
    EXPECT_LT(mostInSecondHalf - mostInFirstHalf, mostInFirstHalf / 2);
}
