// The canvas at the extremes a hostile picture reaches: rectangles as wide as int allows, text
// under transforms that stretch one direction far more than the other, and letters larger than
// any page or smaller than any dot.

#include "platform/PainterCanvas.h"

#include <QPainter>

#include <gtest/gtest.h>

#include <climits>

using namespace platform;

namespace {

// The bounding box of the pixels that are not white (smoothed strokes thinner than a pixel
// are light grey); empty when there are none.
QRect inkBox(const QImage& image) {
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 240) box |= QRect(x, y, 1, 1);
    return box;
}

// `text` at (x, 0) in a font `height` units high, drawn top-aligned under a painter scaled by
// (sx, sy); the image and the text's width in the canvas's units.
struct Drawn {
    QImage image;
    int width = 0;
};
Drawn drawScaled(double height, double sx, double sy, QSize size, int x = 0,
                 const QString& text = QStringLiteral("HWHW")) {
    Drawn d;
    d.image = QImage(size, QImage::Format_RGB32);
    d.image.fill(Qt::white);
    QPainter painter(&d.image);
    painter.scale(sx, sy);
    PainterCanvas canvas(painter, 96);
    TFont font;
    font.name = QStringLiteral("DejaVu Sans");
    font.height = height;
    canvas.SetFont(font);
    canvas.TextOut(x, 0, text);
    d.width = canvas.TextWidth(text);
    return d;
}

} // namespace

TEST(CanvasExtremes, RectangleSidesSaturateInsteadOfOverflowing) {
    EXPECT_EQ((TRect{INT_MIN, INT_MIN, INT_MAX, INT_MAX}.width()), INT_MAX);
    EXPECT_EQ((TRect{INT_MIN, INT_MIN, INT_MAX, INT_MAX}.height()), INT_MAX);
    EXPECT_EQ((TRect{INT_MAX, INT_MAX, INT_MIN, INT_MIN}.width()), INT_MIN);
    EXPECT_EQ((TRect{-5, 7, 10, -3}.width()), 15);
    EXPECT_EQ((TRect{-5, 7, 10, -3}.height()), -10);
}

// Qt's glyph cache renders glyphs under the whole transform; one direction stretched hundreds
// of times more than the other made its rasteriser fail on a W and Qt copy from nothing. Such
// text is filled as outlines: it shows where the text's width and the letters' height put it.
TEST(CanvasExtremes, TextUnderAStretchedTransformIsDrawnWhereItBelongs) {
    struct Case {
        double height, sx, sy;
    };
    // The first is the stretch of a picture one unit wide and 1001 high shown in a square.
    for (const Case c : {Case{1, 800, 0.8}, Case{20, 10, 0.5}, Case{10, 0.5, 40}, Case{30, 3, 1},
                         Case{200, 1, 0.04}}) {
        SCOPED_TRACE(testing::Message() << c.height << " " << c.sx << " x " << c.sy);
        const Drawn d = drawScaled(c.height, c.sx, c.sy, QSize(1000, 500), 2);
        const QRect ink = inkBox(d.image);
        const double em = c.height * c.sy;
        if (em < 4) continue; // letters under a few pixels high: drawn, too faint to measure
        ASSERT_FALSE(ink.isEmpty());
        // From the text's start to its end, as high as a capital.
        EXPECT_NEAR(ink.left(), 2 * c.sx, 0.15 * d.width * c.sx / 4 + 2);
        EXPECT_NEAR(ink.right() + 1, (2 + d.width) * c.sx, 0.15 * d.width * c.sx / 4 + 2);
        EXPECT_GT(ink.height(), 0.6 * em);
        EXPECT_LT(ink.bottom(), 1.05 * em + 2);
    }
}

// A turn at either end of int is drawn as the same turn within one circle.
TEST(CanvasExtremes, TextTurnedByTheEndsOfIntIsDrawnAtItsAngle) {
    const auto turned = [](int escapement) {
        QImage image(400, 400, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        PainterCanvas canvas(painter, 96);
        TFont font;
        font.name = QStringLiteral("DejaVu Sans");
        font.height = 30;
        font.escapement = escapement;
        canvas.SetFont(font);
        canvas.TextOut(200, 200, QStringLiteral("HWHW"));
        return inkBox(image);
    };
    for (const qint64 end : {qint64(INT_MIN), qint64(INT_MAX)}) {
        const QRect atEnd = turned(int(end));
        const QRect within = turned(int(end % 3600));
        ASSERT_FALSE(within.isEmpty());
        EXPECT_NEAR(atEnd.left(), within.left(), 2) << end;
        EXPECT_NEAR(atEnd.top(), within.top(), 2) << end;
        EXPECT_NEAR(atEnd.right(), within.right(), 2) << end;
        EXPECT_NEAR(atEnd.bottom(), within.bottom(), 2) << end;
    }
}

TEST(CanvasExtremes, LettersLargerThanAPageAreNotDrawn) {
    // A full block covers its whole em box: near 2^15 device pixels it still covers the image,
    // at twice that it is larger than any page, whether by its size or by the scale.
    const QString block(QChar(0x2588));
    const QSize size(200, 200);
    EXPECT_EQ(inkBox(drawScaled(32000, 1, 1, size, -100, block).image), QRect(QPoint(), size));
    EXPECT_TRUE(inkBox(drawScaled(70000, 1, 1, size, -100, block).image).isEmpty());
    EXPECT_TRUE(inkBox(drawScaled(7, 10000, 10000, size, 0, block).image).isEmpty());
}
