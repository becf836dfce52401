// Barcodes drawn through the canvas: exact element widths and short bars at angle 0, the
// rotation about the top-left corner, decoding at many angles, the shown text, and a canvas
// left as it was found.

#include "BarcodeOracles.h"

#include "platform/Metafile.h"
#include "platform/PainterCanvas.h"
#include "platform/RecordingCanvas.h"
#include "report/engine/sest_lib.h"

#include <QPainter>

#include <gtest/gtest.h>

#include <climits>

namespace report::test {
namespace {

constexpr int origin = 450;

class BarcodeDraw : public testing::Test {
protected:
    void SetUp() override { ResetBarcodePainter(); }

    // Draws on a white 900 x 900 image with the rectangle's top-left corner at its centre.
    static QImage draw(int type, const QString& text, int module, int angle, int height = 80,
                       bool showText = false) {
        QImage image(2 * origin, 2 * origin, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        platform::PainterCanvas canvas(painter, 96);
        DrawBarcode(canvas, {origin, origin, origin + 10, origin + height}, type, module, angle,
                    true, showText, text);
        return image;
    }
};

bool isBlack(const QImage& image, int x, int y) {
    return qGray(image.pixel(x, y)) < 128;
}

TEST_F(BarcodeDraw, UprightElementsHaveExactWidthsAndFullHeight) {
    for (int module : {1, 2, 3}) {
        const QImage image = draw(bcEan13, "400638133393", module, 0);
        const BarcodeSymbol symbol = EncodeBarcode(bcEan13, module, true, "400638133393");
        QString row;
        for (int x = origin; x < image.width(); ++x)
            row += isBlack(image, x, origin + 40) ? '1' : '0';
        QList<BarRun> drawn = ModuleRuns(row);
        drawn.removeLast(); // the white beyond the symbol
        EXPECT_EQ(drawn, PatternRuns(symbol.pattern, CurrentBarcodeWidths())) << module;
        // The first bar spans rows 0 .. height, and nothing is drawn left of the rectangle.
        EXPECT_TRUE(isBlack(image, origin, origin) && isBlack(image, origin, origin + 80));
        EXPECT_FALSE(isBlack(image, origin, origin - 1) || isBlack(image, origin, origin + 81));
        EXPECT_FALSE(isBlack(image, origin - 1, origin + 40));
    }
}

TEST_F(BarcodeDraw, ShortBarsHangFromTheTopToTwoFifths) {
    // PostNet "1": frame bar, wide space, then three short bars.
    const QImage image = draw(bcPostNet, "1", 2, 0, 100);
    const int firstShort = origin + 2 + 4; // after the frame bar (w1) and the wide space (w2)
    EXPECT_TRUE(isBlack(image, firstShort, origin));
    EXPECT_TRUE(isBlack(image, firstShort, origin + 40));
    EXPECT_FALSE(isBlack(image, firstShort, origin + 41));
    EXPECT_TRUE(isBlack(image, origin, origin + 100)); // the frame bar is full height
}

TEST_F(BarcodeDraw, AQuarterTurnTakesEachPointXYToYMinusX) {
    const QImage upright = draw(bcCode128B, "Turn", 2, 0);
    const QImage turned = draw(bcCode128B, "Turn", 2, 90);
    for (int x = 0; x < 200; ++x)
        for (int y = 1; y < 80; y += 13)
            ASSERT_EQ(isBlack(upright, origin + x, origin + y),
                      isBlack(turned, origin + y, origin - x))
                << x << "," << y;
}

TEST_F(BarcodeDraw, DecodesAtAnyAngle) {
    for (int angle : {0, 90, 180, 270, -90, 450, 30}) {
        // Tall bars, so that a scan line at 30 degrees still crosses the whole symbol.
        const QList<DecodedSymbol> ean =
            DecodeWithZbar(draw(bcEan13, "590123412345", 3, angle, 300));
        ASSERT_EQ(ean.size(), 1) << angle;
        EXPECT_EQ(ean[0].data, "5901234123457") << angle;
        const QList<DecodedSymbol> code = DecodeWithZbar(draw(bcCode93, "ANGLE", 3, angle, 300));
        ASSERT_EQ(code.size(), 1) << angle;
        EXPECT_EQ(code[0].data, "ANGLE") << angle;
    }
}

TEST_F(BarcodeDraw, ShownTextIsWrittenUnrotatedAtTheCornerAfterTheBars) {
    platform::Metafile metafile(1000, 1000, 100);
    platform::RecordingCanvas canvas(metafile);
    DrawBarcode(canvas, {100, 200, 300, 260}, bcCode128A, 4, 90, false, true, "abc");
    const QString dump = metafile.dump();
    const qsizetype text = dump.indexOf("text 100,200 \"ABC\"");
    ASSERT_GE(text, 0) << dump.toStdString();
    EXPECT_LT(dump.lastIndexOf("polygon"), text);
    // Arial at 3 points per module: 12 points at 100 units per inch.
    EXPECT_TRUE(dump.contains(QStringLiteral("font \"Arial\" height=16.67")));
    EXPECT_TRUE(dump.contains("escapement=0"));
    EXPECT_TRUE(dump.contains("textmode opaque background="));
}

TEST_F(BarcodeDraw, TheCanvasStateIsKept) {
    platform::Metafile metafile(1000, 1000, 100);
    platform::RecordingCanvas canvas(metafile);
    const platform::TPen pen{0x0000FF, platform::psDash, 3};
    const platform::TBrush brush{0x00FF00, platform::bsCross};
    platform::TFont font;
    font.name = "Times New Roman";
    canvas.SetPen(pen);
    canvas.SetBrush(brush);
    canvas.SetFont(font);
    DrawBarcode(canvas, {0, 0, 100, 50}, bcEan8, 2, 33, true, true, "1234567");
    EXPECT_EQ(canvas.Pen(), pen);
    EXPECT_EQ(canvas.Brush(), brush);
    EXPECT_EQ(canvas.Font(), font);
    EXPECT_FALSE(canvas.TextOpaque());
}

TEST_F(BarcodeDraw, ScaledModuleIsTheCodeTimesScaleOverSixTruncated) {
    platform::Metafile metafile(1000, 1000, 100);
    platform::RecordingCanvas canvas(metafile);
    DrawBarcodeScaled(canvas, {0, 0, 100, 50}, bcEan13, 8, 0, false, false, "1", 3.0);
    EXPECT_EQ(CurrentBarcodeWidths().w1, 4);
    DrawBarcodeScaled(canvas, {0, 0, 100, 50}, bcEan13, 11, 0, false, false, "1", 1.0);
    EXPECT_EQ(CurrentBarcodeWidths().w1, 1); // 1.83 truncated
}

TEST_F(BarcodeDraw, BadInputDrawsASymbolOrNothing) {
    platform::Metafile metafile(1000, 1000, 100);
    platform::RecordingCanvas canvas(metafile);
    for (int type : {-1, 20, INT_MAX})
        DrawBarcode(canvas, {0, 0, 100, 50}, type, 2, 0, true, true, "123");
    EXPECT_TRUE(metafile.isEmpty());
    for (int angle : {INT_MIN, -720, 100000, INT_MAX})
        for (int module : {0, 50})
            for (int type = 0; type < BarcodeTypeCount; ++type)
                DrawBarcode(canvas, {0, 0, 100, 50}, type, module, angle, true, true, "é1x\t");
    const QString longText = QString(5000, QChar(0x00E9)) + QString(5000, QChar('7'));
    for (int type = 0; type < BarcodeTypeCount; ++type)
        DrawBarcode(canvas, {0, 0, 100, 50}, type, 49, type * 45, true, true, longText);
    DrawBarcode(canvas, {0, 50, 100, 0}, bcEan13, 2, 0, true, false, "1"); // upside-down rect
    for (int angle : {0, 45})
        DrawBarcode(canvas, {INT_MAX - 5, INT_MIN, INT_MIN, INT_MAX}, bcEan13, 49, angle, true,
                    true, "1");
    EXPECT_FALSE(metafile.isEmpty());
}

} // namespace
} // namespace report::test
