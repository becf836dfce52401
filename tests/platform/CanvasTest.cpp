// The canvas conventions, the metafile's records and the fidelity of a replayed recording.

#include "ImageCompare.h"
#include "platform/Metafile.h"
#include "platform/PainterCanvas.h"
#include "platform/RecordingCanvas.h"

#include <QPaintEngine>
#include <QPainter>

#include <gtest/gtest.h>

#include <cmath>

using namespace platform;

namespace {

QImage whiteImage(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

int scaled(double v, double s) {
    return int(std::nearbyint(v * s));
}
TRect scaledRect(int l, int t, int r, int b, double s) {
    return TRect{scaled(l, s), scaled(t, s), scaled(r, s), scaled(b, s)};
}

// A test picture of 400 x 300 hundredths of an inch drawn at `s` device units per hundredth,
// with every primitive the report draws: the same page drawn directly at a scale and
// recorded at 600 units per inch then replayed at that scale must look the same.
void drawPage(TCanvas& c, double s) {
    // Frames: cosmetic pen, wide pen, hatched and clear brushes.
    c.SetPen(TPen{0x000000, psSolid, 0});
    c.SetBrush(TBrush{0xFFFFFF, bsClear});
    c.Rectangle(scaledRect(5, 5, 395, 295, s));
    c.SetPen(TPen{0x0000FF, psSolid, scaled(3, s)});
    c.SetBrush(TBrush{0xFFFF00, bsSolid});
    c.Rectangle(scaledRect(20, 20, 120, 80, s));
    c.SetPen(TPen{0x008000, psInsideFrame, scaled(2, s)});
    c.SetBrush(TBrush{0x800000, bsCross});
    c.RoundRect(scaledRect(140, 20, 240, 80, s), scaled(40, s), scaled(40, s));
    c.SetPen(TPen{0x000000, psSolid, 0});
    c.SetBrush(TBrush{0x00FFFF, bsSolid});
    c.Ellipse(scaledRect(260, 20, 380, 80, s));
    // Lines in every style.
    for (int style = psSolid; style <= psDashDotDot; ++style) {
        c.SetPen(TPen{0x800080, style, 0});
        c.MoveTo(scaled(20, s), scaled(100 + 8 * style, s));
        c.LineTo(scaled(380, s), scaled(100 + 8 * style, s));
    }
    c.SetPen(TPen{0x000000, psSolid, scaled(2, s)});
    c.MoveTo(scaled(20, s), scaled(145, s));
    c.LineTo(scaled(120, s), scaled(190, s));
    // Barcode-like quadrilaterals, filled in the pen's colour.
    c.SetBrush(TBrush{0x000000, bsSolid});
    c.SetPen(TPen{0x000000, psSolid, 1});
    for (int bar = 0; bar < 6; ++bar) {
        const int x = scaled(140 + 12 * bar, s), w = scaled(4 + bar % 3 * 2, s);
        c.Polygon(
            QPolygon({QPoint(x, scaled(140, s)), QPoint(x, scaled(190, s)),
                      QPoint(x + w - 1, scaled(190, s)), QPoint(x + w - 1, scaled(140, s))}));
    }
    // Text: plain, bold opaque, rotated, clipped.
    TFont font;
    font.name = "Arial";
    font.height = 12 * 100 / 72.0 * s;
    c.SetFont(font);
    c.SetTextAlign(taLeft | taBaseline);
    c.TextOut(scaled(20, s), scaled(220, s), QStringLiteral("Příliš žluťoučký kůň"));
    font.bold = true;
    font.name = "Times New Roman";
    font.color = 0x0000C0;
    c.SetFont(font);
    c.SetTextBackground(true, 0xC0FFC0);
    c.SetTextAlign(taLeft | taTop);
    c.TextOut(scaled(20, s), scaled(235, s), QStringLiteral("Opaque 123"));
    c.SetTextBackground(false, 0xFFFFFF);
    font.bold = false;
    font.escapement = 900;
    font.color = 0x000000;
    c.SetFont(font);
    c.SetTextAlign(taCenter | taBaseline);
    c.TextOut(scaled(300, s), scaled(260, s), QStringLiteral("Up 90"));
    font.escapement = 0;
    c.SetFont(font);
    c.SetTextAlign(taLeft | taBaseline);
    const TRect clip = scaledRect(200, 270, 260, 290, s);
    c.TextOut(scaled(200, s), scaled(285, s), QStringLiteral("Clipped away text"), {}, &clip);
    // Save/restore with a clip: the ellipse is cut to the clip, the frame after it is not.
    c.SaveState();
    c.IntersectClipRect(scaledRect(140, 200, 200, 240, s));
    c.SetBrush(TBrush{0xFF0000, bsSolid});
    c.Ellipse(scaledRect(130, 195, 230, 260, s));
    c.RestoreState();
    c.SetBrush(TBrush{0, bsClear});
    c.Rectangle(scaledRect(130, 195, 230, 260, s));
    // A bitmap stretched 8 times.
    QImage tile(4, 2, QImage::Format_RGB32);
    tile.fill(Qt::black);
    tile.setPixelColor(1, 0, Qt::green);
    tile.setPixelColor(2, 1, Qt::blue);
    c.StretchDraw(scaledRect(320, 100, 352, 116, s), tile);
}

QImage drawDirect(double s, int width, int height) {
    QImage image = whiteImage(width, height);
    QPainter painter(&image);
    PainterCanvas canvas(painter);
    drawPage(canvas, s);
    return image;
}

Metafile recordPage() {
    Metafile page(400 * 6, 300 * 6, 600);
    RecordingCanvas recorder(page);
    drawPage(recorder, 6);
    return page;
}

QImage replay(const Metafile& page, int width, int height) {
    QImage image = whiteImage(width, height);
    QPainter painter(&image);
    PainterCanvas canvas(painter);
    page.Play(canvas, TRect{0, 0, width, height});
    return image;
}

} // namespace

TEST(CanvasConventions, RectangleExcludesRightAndBottomEdgeAndColoursAreBgr) {
    QImage image = whiteImage(20, 20);
    {
        QPainter painter(&image);
        PainterCanvas canvas(painter);
        canvas.SetPen(TPen{0x0000FF, psSolid, 1});
        canvas.SetBrush(TBrush{0xFF0000, bsSolid});
        canvas.Rectangle(TRect{2, 3, 12, 13});
    }
    EXPECT_EQ(image.pixelColor(2, 3), QColor(Qt::red));   // pen, top-left corner
    EXPECT_EQ(image.pixelColor(11, 12), QColor(Qt::red)); // pen, last unit inside
    EXPECT_EQ(image.pixelColor(12, 13), QColor(Qt::white));
    EXPECT_EQ(image.pixelColor(12, 8), QColor(Qt::white));
    EXPECT_EQ(image.pixelColor(6, 8), QColor(Qt::blue)); // brush 0xFF0000 is blue
}

TEST(CanvasConventions, FillRectCoversTheHalfOpenArea) {
    QImage image = whiteImage(10, 10);
    {
        QPainter painter(&image);
        PainterCanvas canvas(painter);
        canvas.SetBrush(TBrush{0x00FF00, bsSolid});
        canvas.FillRect(TRect{2, 2, 5, 4});
    }
    int green = 0;
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x)
            green += image.pixelColor(x, y) == QColor(Qt::green);
    EXPECT_EQ(green, 3 * 2);
    EXPECT_EQ(image.pixelColor(4, 3), QColor(Qt::green));
}

TEST(CanvasConventions, CosmeticPenStaysOnePixelUnderAnyScale) {
    QImage image = whiteImage(40, 40);
    {
        QPainter painter(&image);
        painter.scale(10, 10);
        PainterCanvas canvas(painter);
        canvas.SetPen(TPen{0x000000, psSolid, 0});
        canvas.MoveTo(0, 2);
        canvas.LineTo(4, 2);
        canvas.SetPen(TPen{0x000000, psSolid, 1});
        canvas.MoveTo(2, 0);
        canvas.LineTo(2, 4);
    }
    int thinRows = 0, wideColumns = 0;
    for (int y = 0; y < 40; ++y)
        thinRows += image.pixelColor(5, y) == QColor(Qt::black);
    for (int x = 0; x < 40; ++x)
        wideColumns += image.pixelColor(x, 35) == QColor(Qt::black);
    EXPECT_EQ(thinRows, 1);     // width 0: one pixel at 10x
    EXPECT_EQ(wideColumns, 10); // width 1: one unit, ten pixels at 10x
}

TEST(CanvasConventions, EscapementTurnsTextCounterclockwise) {
    QImage image = whiteImage(200, 200);
    {
        QPainter painter(&image);
        PainterCanvas canvas(painter);
        TFont font;
        font.height = 30;
        font.escapement = 900;
        canvas.SetFont(font);
        canvas.SetTextAlign(taLeft | taBaseline);
        canvas.TextOut(100, 100, QStringLiteral("MMMM"));
    }
    // Upwards from the reference point, and nothing to its right.
    int above = 0, right = 0;
    for (int y = 0; y < 100; ++y)
        for (int x = 60; x < 100; ++x)
            above += qGray(image.pixel(x, y)) < 128;
    for (int y = 60; y < 140; ++y)
        for (int x = 110; x < 200; ++x)
            right += qGray(image.pixel(x, y)) < 128;
    EXPECT_GT(above, 200);
    EXPECT_EQ(right, 0);
}

// Dark pixels in the rows [top, bottom) of the image.
int darkPixels(const QImage& image, int top, int bottom) {
    int dark = 0;
    for (int y = std::max(top, 0); y < std::min(bottom, image.height()); ++y)
        for (int x = 0; x < image.width(); ++x)
            dark += qGray(image.pixel(x, y)) < 128;
    return dark;
}

TEST(CanvasConventions, UnderlineRunsJustBelowTheBaselineUnderAScale) {
    QImage image = whiteImage(400, 200);
    {
        QPainter painter(&image);
        painter.translate(20, 10);
        painter.scale(2, 2);
        PainterCanvas canvas(painter);
        TFont font;
        font.height = 20;
        font.underline = true;
        canvas.SetFont(font);
        canvas.SetTextAlign(taLeft | taBaseline);
        canvas.TextOut(0, 40, QStringLiteral("ooooo")); // no descenders: only the underline
    }
    // Baseline at 10 + 2 * 40 = 90; the underline lies within a few pixels below it.
    EXPECT_GT(darkPixels(image, 91, 97), 2 * 40);
    EXPECT_EQ(darkPixels(image, 97, 200), 0);
}

TEST(CanvasConventions, CharactersMissingFromTheFaceAreStillDrawn) {
    // A character the Arial stand-in lacks but another installed face has.
    const QString missing = QStringLiteral("\u2602"); // umbrella
    QImage image = whiteImage(100, 60);
    {
        QPainter painter(&image);
        PainterCanvas canvas(painter);
        TFont font;
        font.height = 40;
        canvas.SetFont(font);
        canvas.TextOut(10, 5, missing, {40});
    }
    EXPECT_GT(darkPixels(image, 0, 60), 20);
}

// Runs of brush-coloured pixels down one column.
int hatchLines(const QImage& image, int x) {
    int lines = 0;
    bool inLine = false;
    for (int y = 0; y < image.height(); ++y) {
        const bool on = image.pixelColor(x, y) == QColor(Qt::blue);
        lines += on && !inLine;
        inLine = on;
    }
    return lines;
}

TEST(CanvasConventions, HatchesKeepTheirScreenDensityOnDenseDevices) {
    for (int dpi : {96, 960}) {
        const int side = 80 * dpi / 96; // the same physical size
        QImage image = whiteImage(side, side);
        image.setDotsPerMeterX(int(std::lround(dpi / 0.0254)));
        image.setDotsPerMeterY(int(std::lround(dpi / 0.0254)));
        {
            QPainter painter(&image);
            PainterCanvas canvas(painter);
            canvas.SetBrush(TBrush{0xFF0000, bsHorizontal});
            canvas.FillRect(TRect{0, 0, side, side});
        }
        EXPECT_NEAR(hatchLines(image, side / 2), 10, 1) << dpi << " dpi";
    }
}

TEST(CanvasConventions, DashesOfTheThinnestLineKeepTheirLengthOnDenseDevices) {
    for (int dpi : {96, 960}) {
        const int side = dpi; // one inch
        QImage image = whiteImage(side, 4);
        image.setDotsPerMeterX(int(std::lround(dpi / 0.0254)));
        image.setDotsPerMeterY(int(std::lround(dpi / 0.0254)));
        {
            QPainter painter(&image);
            PainterCanvas canvas(painter);
            canvas.SetPen(TPen{0, psDash, 0});
            canvas.MoveTo(0, 1);
            canvas.LineTo(side, 1);
        }
        int dashes = 0;
        bool inDash = false;
        for (int x = 0; x < side; ++x) {
            const bool on = qGray(image.pixel(x, 1)) < 128;
            dashes += on && !inDash;
            inDash = on;
        }
        EXPECT_NEAR(dashes, 16, 1) << dpi << " dpi"; // a dash and a gap: 6 pixels at 96 dpi
    }
}

TEST(CanvasConventions, UnbalancedRestoreIsHarmless) {
    Metafile m(10, 10);
    RecordingCanvas c(m);
    c.RestoreState();
    c.SetPen(TPen{0x123456, psDot, 2});
    c.SaveState();
    c.SetPen(TPen{0, psSolid, 0});
    c.RestoreState();
    EXPECT_EQ(c.Pen(), (TPen{0x123456, psDot, 2}));
}

TEST(MetafileRecords, DumpShowsEachPrimitiveWithItsState) {
    Metafile m(1000, 500, 600);
    RecordingCanvas c(m);
    c.SetPen(TPen{0x0000FF, psSolid, 0});
    c.MoveTo(1, 2);
    c.LineTo(30, 40);
    c.LineTo(50, 40); // same pen: not selected again
    c.SetBrush(TBrush{0x00FF00, bsCross});
    c.RoundRect(TRect{0, 0, 100, 50}, 20, 10);
    TFont font;
    font.name = "Arial";
    font.size = 12; // 12 points at 600 units per inch: 100 units
    font.bold = true;
    font.charset = csEastEurope;
    font.escapement = 450;
    c.SetFont(font);
    c.SetTextAlign(taBaseline);
    const TRect clip{0, 0, 40, 40};
    c.TextOut(5, 60, QStringLiteral("ab"), {11, 12}, &clip);
    c.SaveState();
    c.IntersectClipRect(TRect{1, 2, 3, 4});
    c.RestoreState();
    EXPECT_EQ(m.dump().toStdString(),
              "frame 1000x500 units-per-inch=600\n"
              "pen color=0x0000FF style=0 width=0 cosmetic\n"
              "line 1,2 -> 30,40\n"
              "line 30,40 -> 50,40\n"
              "brush color=0x00FF00 style=6\n"
              "roundrect 0,0,100,50 corner=20x10\n"
              "font \"Arial\" height=100.00 bold charset=238 escapement=450 color=0x000000\n"
              "textmode transparent background=0xFFFFFF align=24\n"
              "text 5,60 \"ab\" advances=11,12 clip=0,0,40,40\n"
              "save\n"
              "clip 1,2,3,4\n"
              "restore\n");
}

TEST(MetafileRecords, TextWithoutAdvancesGetsMeasuredOnesThatSumToTheWidth) {
    Metafile m(1000, 1000);
    RecordingCanvas c(m);
    TFont font;
    font.height = 100;
    c.SetFont(font);
    const QString text = QStringLiteral("Wi ř\U0001F600x");
    c.TextOut(0, 0, text);
    const auto* record = std::get_if<meta::Text>(&m.records().back());
    ASSERT_NE(record, nullptr);
    ASSERT_EQ(record->advances.size(), text.size());
    int sum = 0;
    for (int a : record->advances)
        sum += a;
    EXPECT_EQ(sum, c.TextWidth(text));
    EXPECT_EQ(record->advances[5], 0); // a surrogate pair's width is on its high half
    EXPECT_GT(record->advances[0], record->advances[1]); // W wider than i
}

TEST(MetafileRecords, NestedPictureReplaysIntoItsRectangle) {
    Metafile inner(100, 100);
    {
        RecordingCanvas c(inner);
        c.SetBrush(TBrush{0x0000FF, bsSolid});
        c.FillRect(TRect{0, 0, 50, 100});
    }
    Metafile outer(200, 200);
    {
        RecordingCanvas c(outer);
        c.StretchDraw(TRect{100, 0, 200, 200}, inner);
        c.SetBrush(TBrush{0x00FF00, bsSolid});
        c.FillRect(TRect{0, 0, 10, 10}); // the nested brush did not leak
    }
    EXPECT_NE(outer.dump().indexOf("picture 100,0,200,200\n  frame 100x100"), -1);
    const QImage image = replay(outer, 20, 20);
    EXPECT_EQ(image.pixelColor(12, 10), QColor(Qt::red));   // left half of the inner picture
    EXPECT_EQ(image.pixelColor(17, 10), QColor(Qt::white)); // right half is empty
    EXPECT_EQ(image.pixelColor(0, 0), QColor(Qt::green));
}

TEST(MetafileRecords, EmptyFrameDrawsNothing) {
    Metafile empty;
    {
        RecordingCanvas c(empty);
        c.SetBrush(TBrush{0, bsSolid});
        c.FillRect(TRect{0, 0, 10, 10});
    }
    const QImage image = replay(empty, 10, 10);
    EXPECT_EQ(image, whiteImage(10, 10));
}

// A device that counts the state changes its painter sends it, and the texts drawn.
class StateCountingEngine : public QPaintEngine {
public:
    StateCountingEngine() : QPaintEngine(AllFeatures) {}
    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState& state) override {
        const DirtyFlags flags = state.state();
        pens += flags.testFlag(DirtyPen);
        transforms += flags.testFlag(DirtyTransform);
        clips += (flags & (DirtyClipPath | DirtyClipRegion | DirtyClipEnabled)) != 0;
    }
    void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
    void drawTextItem(const QPointF&, const QTextItem&) override { ++texts; }
    void drawLines(const QLineF*, int count) override { lines += count; }
    Type type() const override { return User; }
    int pens = 0;
    int transforms = 0;
    int clips = 0;
    int texts = 0;
    int lines = 0;
};

class StateCountingDevice : public QPaintDevice {
public:
    QPaintEngine* paintEngine() const override { return &engine; }
    int metric(PaintDeviceMetric m) const override {
        switch (m) {
        case PdmWidth:
        case PdmHeight:
            return 2000;
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY:
            return 600;
        case PdmDepth:
            return 32;
        case PdmDevicePixelRatio:
            return 1;
        case PdmDevicePixelRatioScaled:
            return int(devicePixelRatioFScale());
        default:
            return 0;
        }
    }
    mutable StateCountingEngine engine;
};

// A page view as the report records it: every cell in a state of its own, the rules between
// them in another, one cell clipped. Replayed, the device is told only what changes: the
// scale of the page once, the text colour once, the rule pen once per switch from texts to
// rules, the clip when it narrows and when it is released.
// A clip holds until the state it was narrowed in is restored, at whatever depth; the clip of
// a text holds for that text alone.
TEST(CanvasState, ClipsEndWithTheirStateAndATextsClipWithTheText) {
    QImage image = whiteImage(40, 20);
    {
        QPainter painter(&image);
        PainterCanvas c(painter);
        c.SetPen(TPen{0, psClear, 1});
        c.SaveState();
        c.SaveState();
        c.IntersectClipRect(TRect{0, 0, 10, 10});
        c.SetBrush(TBrush{0x0000FF, bsSolid});
        c.FillRect(TRect{0, 0, 40, 20});
        c.RestoreState();
        c.SetBrush(TBrush{0x00FF00, bsSolid});
        c.FillRect(TRect{20, 0, 40, 10});
        c.RestoreState();
        TFont font;
        font.height = 30;
        c.SetFont(font);
        const TRect clip{0, 0, 1, 1};
        c.TextOut(0, 0, QStringLiteral("MMM"), {}, &clip);
        c.SetBrush(TBrush{0xFF0000, bsSolid});
        c.FillRect(TRect{20, 10, 40, 20});
    }
    EXPECT_EQ(image.pixelColor(5, 5), QColor(Qt::red));
    EXPECT_EQ(image.pixelColor(15, 5), QColor(Qt::white));
    EXPECT_EQ(image.pixelColor(30, 5), QColor(Qt::green));
    EXPECT_EQ(image.pixelColor(30, 15), QColor(Qt::blue));
    EXPECT_EQ(image.pixelColor(15, 15), QColor(Qt::white)); // the text, clipped away
}

TEST(CanvasState, ReplaySendsTheDeviceOnlyTheStateThatChanges) {
    Metafile page(3000, 3000, 600);
    {
        RecordingCanvas c(page);
        TFont font;
        font.name = "Arial";
        for (int row = 0; row < 30; ++row) {
            for (int column = 0; column < 3; ++column) {
                c.SaveState();
                c.SaveState();
                if (row == 7 && column == 1) c.IntersectClipRect(TRect{0, 0, 3000, 700});
                c.SetFont(font);
                c.SetTextAlign(taLeft | taBaseline);
                c.TextOut(100 + 900 * column, 100 + 90 * row, QString::number(row * 3 + column));
                c.RestoreState();
                c.RestoreState();
            }
            c.SaveState();
            c.SetPen(TPen{0x000000, psSolid, 2});
            c.MoveTo(100, 110 + 90 * row);
            c.LineTo(2800, 110 + 90 * row);
            c.RestoreState();
        }
    }
    StateCountingDevice device;
    {
        QPainter painter(&device);
        PainterCanvas canvas(painter);
        page.Play(canvas, TRect{0, 0, 1500, 1500});
    }
    const StateCountingEngine& e = device.engine;
    EXPECT_EQ(e.texts, 90);
    EXPECT_EQ(e.lines, 30);
    EXPECT_LE(e.transforms, 2);
    EXPECT_LE(e.pens, 2 * 30 + 1);
    EXPECT_LE(e.clips, 2);
}

class ReplayFidelity : public ::testing::TestWithParam<double> {};

// The page recorded at 600 units per inch and replayed at a zoom matches the page drawn
// directly at that zoom, up to edges one pixel apart.
TEST_P(ReplayFidelity, ReplayMatchesDirectDrawing) {
    const double s = GetParam();
    const int width = scaled(400, s), height = scaled(300, s);
    const QImage direct = drawDirect(s, width, height);
    const QImage replayed = replay(recordPage(), width, height);
    const int differing = testsupport::differingPixels(direct, replayed);
    EXPECT_LE(differing, width * height / 500) << "zoom " << s;
}

INSTANTIATE_TEST_SUITE_P(Zooms, ReplayFidelity, ::testing::Values(1.0, 0.32, 3.0));

TEST(ReplayFidelityOracle, ComparisonCatchesAMisplacedPage) {
    const QImage direct = drawDirect(1.0, 400, 300);
    QImage shifted = whiteImage(400, 300);
    {
        QPainter painter(&shifted);
        painter.translate(3, 0);
        PainterCanvas canvas(painter);
        drawPage(canvas, 1.0);
    }
    EXPECT_GT(testsupport::differingPixels(direct, shifted), 400 * 300 / 500);
}
