// Drawing laid-out rich text: glyph runs on the canvas's positioned-text primitive, the same
// positions on every canvas, and rotated text.
#include "report/engine/text/sest_rtf.h"
#include "support/QtPrinters.h"

#include "platform/Metafile.h"
#include "platform/PainterCanvas.h"
#include "platform/TVoranCanvas.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

using namespace report;
using platform::TRect;

namespace {

constexpr int U = kInternalPerUnit;

const QString text = QString::fromUtf8(
    "{\\rtf1{\\fonttbl{\\f0\\fswiss\\fcharset238 Arial;}{\\f1\\froman\\fcharset238 Times New "
    "Roman;}}{\\colortbl;\\red200\\green0\\blue0;}\\f0\\fs20 P\\'f8\\'edli\\'9a "
    "{\\b \\'9elu\\'9dou\\'e8k\\'fd} k\\'f9\\'f2 {\\cf1\\fs32 \\'fap\\'ecl} \\f1 "
    "\\'ef\\'e1belsk\\'e9 "
    "\\'f3dy a dal\\'9a\\'ed slova, aby se \\'f8\\'e1dek zalomil.\\par Druh\\'fd odstavec.}");

platform::TFont arial() {
    platform::TFont font;
    font.name = "Arial";
    font.size = 10;
    return font;
}

struct Recorder {
    platform::Metafile metafile{2000, 2000, 100};
    platform::TVoranCanvas canvas{metafile, 100};
    Recorder() { canvas.SetFont(arial()); }

    QList<platform::meta::Text> texts() const {
        QList<platform::meta::Text> result;
        for (const auto& record : metafile.records())
            if (const auto* t = std::get_if<platform::meta::Text>(&record)) result.append(*t);
        return result;
    }
    QList<platform::TFont> fonts() const {
        QList<platform::TFont> result;
        for (const auto& record : metafile.records())
            if (const auto* f = std::get_if<platform::meta::SelectFont>(&record))
                result.append(f->font);
        return result;
    }
};

// The device x of each drawn (visible) character of the lines, from the layout.
QList<int> expectedXs(const TRadky& lines, const TRect& rect) {
    QList<int> xs;
    for (int i = 0; i < lines.Count(); ++i) {
        const TRadek& line = lines.GetRadek(i);
        for (int k = 0; k < line.charCount; ++k) {
            const QChar c = line.content->text[line.firstChar + k];
            if (c.category() != QChar::Other_Control && c != u' ')
                xs.append((rect.left * U + line.startX + line.positions[k]) / U);
        }
    }
    return xs;
}

QList<int> recordedXs(const QList<platform::meta::Text>& texts) {
    QList<int> xs;
    for (const auto& t : texts) {
        int x = t.origin.x();
        for (int k = 0; k < t.text.size(); ++k) {
            if (t.text[k] != u' ') xs.append(x);
            x += t.advances[k];
        }
    }
    return xs;
}

} // namespace

TEST(RichTextDraw, SameGlyphPositionsOnImageAndRecorder) {
    const TRect rect{30, 40, 330, 400};
    const RichTextOptions options{.alignment = alignJustify, .rtf = true};
    QImage image(800, 800, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    platform::PainterCanvas screen(painter, 96); // a screen's resolution, not the report's
    screen.SetFont(arial());
    Recorder recorder;
    TRadky onScreen, recorded;
    ASSERT_EQ(LayoutRichText(screen, rect, text, options, onScreen), rtfOk);
    ASSERT_EQ(LayoutRichText(recorder.canvas, rect, text, options, recorded), rtfOk);
    ASSERT_GE(onScreen.Count(), 3);
    ASSERT_EQ(onScreen.Count(), recorded.Count());
    for (int i = 0; i < onScreen.Count(); ++i) {
        EXPECT_EQ(onScreen.GetRadek(i).positions, recorded.GetRadek(i).positions);
        EXPECT_EQ(onScreen.GetRadek(i).startX, recorded.GetRadek(i).startX);
        EXPECT_EQ(onScreen.GetRadek(i).height, recorded.GetRadek(i).height);
    }
    // What is recorded is exactly the layout's positions.
    DrawRichText(recorder.canvas, rect, text, options);
    EXPECT_EQ(recordedXs(recorder.texts()), expectedXs(recorded, rect));
    // And the image shows ink inside the rectangle only.
    DrawRichText(screen, rect, text, options);
    painter.end();
    int ink = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != qRgb(255, 255, 255)) {
                ++ink;
                ASSERT_TRUE(x >= rect.left && x < rect.right + 2 && y >= rect.top &&
                            y < rect.bottom)
                    << x << "," << y;
            }
    EXPECT_GT(ink, 500);
}

TEST(RichTextDraw, RunsBreakOnFontColourAndSizeAndShareTheLineBaseline) {
    Recorder r;
    DrawRichText(
        r.canvas, TRect{0, 0, 1000, 500},
        "{{\\colortbl;\\red255\\green0\\blue0;}ab {\\b cd} {\\cf1 ef} gh{\\fs60 BIG}\\par ij}",
        {.rtf = true});
    const QList<platform::meta::Text> texts = r.texts();
    QStringList runs;
    for (const auto& t : texts)
        runs.append(t.text);
    ASSERT_EQ(runs, QStringList({"ab ", "cd", " ", "ef", " gh", "BIG", "ij"}));
    // One line, one baseline, below the top by the big letters' ascent (30 pt ~ 38 units);
    // the next line lower.
    for (int i = 1; i < 6; ++i)
        EXPECT_EQ(texts[i].origin.y(), texts[0].origin.y());
    EXPECT_GT(texts[0].origin.y(), 30);
    EXPECT_GT(texts[6].origin.y(), texts[0].origin.y());
    const QList<platform::TFont> fonts = r.fonts();
    bool red = false, bold = false;
    for (const platform::TFont& f : fonts) {
        red = red || f.color == platform::rgbColor(255, 0, 0);
        bold = bold || f.bold;
    }
    EXPECT_TRUE(red && bold);
    // The canvas keeps its own font.
    EXPECT_EQ(r.canvas.Font(), arial());
}

TEST(RichTextDraw, LongRunsAreSplit) {
    Recorder r;
    const QString x(3000, u'x');
    DrawRichText(r.canvas, TRect{0, 0, 100000, 100}, x, {});
    const QList<platform::meta::Text> texts = r.texts();
    ASSERT_EQ(texts.size(), 3);
    QString joined;
    for (const auto& t : texts) {
        EXPECT_LE(t.text.size(), 1024);
        joined += t.text;
    }
    EXPECT_EQ(joined, x);
}

TEST(RichTextDraw, LineRangeStartsAtTheRectangleTop) {
    Recorder all, part;
    const TRect rect{10, 100, 200, 1000};
    TRadky lines;
    LayoutRichText(all.canvas, rect, text, {.rtf = true}, lines);
    ASSERT_GE(lines.Count(), 4);
    DrawRichTextLines(part.canvas, rect, lines, 2, 3, {});
    const QList<platform::meta::Text> texts = part.texts();
    ASSERT_FALSE(texts.isEmpty());
    EXPECT_EQ(texts.front().origin.y(), (rect.top * U + U + lines.GetRadek(2).baseline) / U);
    QString drawn;
    for (const auto& t : texts)
        drawn += t.text;
    QString expected = lines.GetRadek(2).text() + lines.GetRadek(3).text();
    expected.remove(u'\n');
    EXPECT_EQ(drawn, expected);
    // Out-of-range requests draw what exists, or nothing.
    Recorder none;
    DrawRichTextLines(none.canvas, rect, lines, 50, 60, {});
    DrawRichTextLines(none.canvas, rect, lines, 3, 1, {});
    EXPECT_TRUE(none.texts().isEmpty());
}

// A plain one-line text drawn by the short path records what the layout and its drawing
// record, call for call: every alignment, scale, character width, a line that runs past its
// width, characters outside the basic plane, faces and sizes, rectangles left of the origin.
TEST(PlainLine, RecordsWhatTheLayoutRecords) {
    const QString texts[] = {
        QStringLiteral("123,456"),  QString::fromUtf8("Příliš žluťoučký kůň úpěl ďábelské ódy"),
        QString::fromUtf8("x𝄞y 𝄞"), QStringLiteral(" a  b "),
        QStringLiteral("W"),        QString(200, u'm'),
    };
    platform::TFont times = arial();
    times.name = "Times New Roman";
    times.bold = true;
    times.size = 13.5;
    platform::TFont courier = arial();
    courier.name = "Courier New";
    courier.italic = true;
    courier.underline = true;
    courier.height = 37;
    courier.color = 0x00C000;
    int cases = 0;
    for (const QString& line : texts)
        for (const platform::TFont& font : {arial(), times, courier})
            for (int alignment = 0; alignment <= 3; ++alignment)
                for (double scale : {1.0, 6.0, 0.32, 3.125})
                    for (double charWidth : {0.0, 7.5})
                        for (const TRect rect : {TRect{10, 20, 410, 60}, TRect{-35, 5, 40, 30}}) {
                            RichTextOptions options;
                            options.wordWrap = false;
                            options.alignment = alignment;
                            options.scaleX = scale;
                            options.scaleY = scale * 1.5;
                            options.charWidth = charWidth;
                            Recorder shortPath;
                            shortPath.canvas.SetFont(font);
                            int result = -1;
                            ASSERT_TRUE(
                                DrawPlainLine(shortPath.canvas, rect, line, options, result));
                            Recorder layout;
                            layout.canvas.SetFont(font);
                            TRadky lines;
                            const int expected =
                                LayoutRichText(layout.canvas, rect, line, options, lines);
                            DrawRichTextLines(layout.canvas, rect, lines, 0, lines.Count() - 1,
                                              options);
                            SCOPED_TRACE(testing::Message()
                                         << line.left(20).toStdString() << " "
                                         << font.name.toStdString() << " alignment " << alignment
                                         << " scale " << scale << " width " << charWidth
                                         << " left " << rect.left);
                            EXPECT_EQ(result, expected);
                            EXPECT_EQ(shortPath.metafile.dump().toStdString(),
                                      layout.metafile.dump().toStdString());
                            ++cases;
                        }
    EXPECT_EQ(cases, 6 * 3 * 4 * 4 * 2 * 2);
}

// Rich text, wrapping, control characters and very long texts take the layout.
TEST(PlainLine, LeavesEveryOtherTextToTheLayout) {
    RichTextOptions plain;
    plain.wordWrap = false;
    RichTextOptions wrapping;
    RichTextOptions rtf = plain;
    rtf.rtf = true;
    const TRect rect{0, 0, 400, 40};
    const std::pair<QString, RichTextOptions> declined[] = {
        {QStringLiteral("a"), wrapping}, {text, rtf},
        {QStringLiteral("a\tb"), plain}, {QStringLiteral("a\nb"), plain},
        {QStringLiteral("a\rb"), plain}, {QString(1025, u'a'), plain},
    };
    for (const auto& [line, options] : declined) {
        Recorder recorder;
        int result = -1;
        EXPECT_FALSE(DrawPlainLine(recorder.canvas, rect, line, options, result));
        EXPECT_TRUE(recorder.metafile.isEmpty());
    }
    Recorder recorder;
    int result = -1;
    EXPECT_TRUE(DrawPlainLine(recorder.canvas, rect, QString(), plain, result));
    EXPECT_EQ(result, rtfOk);
    EXPECT_TRUE(recorder.metafile.isEmpty()); // as the layout: no line, nothing drawn
}

TEST(RichTextDraw, RotatedTextIsCentredClippedAndMeasuredAtSeventyTwoTimes) {
    const TRect rect{100, 100, 300, 200};
    platform::TFont font = arial();
    font.size = 12;
    for (const int angle : {0, 90}) {
        Recorder r;
        DrawRotatedText(r.canvas, rect, "Tlak", angle, 2, 2, font);
        const QList<platform::meta::Text> texts = r.texts();
        ASSERT_EQ(texts.size(), 1);
        const platform::meta::Text& t = texts.front();
        EXPECT_EQ(r.fonts().back().escapement, angle * 10);
        EXPECT_TRUE(t.clipped);
        EXPECT_EQ(t.clip, (TRect{200, 200, 600, 400}));
        int width = 0;
        for (const int a : t.advances)
            width += a;
        // The advances add up to the width of the text at twice 12 pt, to a unit.
        platform::TFont big = font;
        big.height = 12 * 100.0 / 72 * 2;
        r.canvas.SetFont(big);
        EXPECT_NEAR(width, r.canvas.TextExtentF("Tlak").width(), 1);
        if (angle == 0) {
            EXPECT_NEAR(t.origin.x(), 400 - width / 2.0, 1);
            EXPECT_EQ(t.origin.y(), 300);
        } else {
            EXPECT_EQ(t.origin.x(), 400);
            EXPECT_NEAR(t.origin.y(), 300 + width / 2.0, 1);
        }
    }
    Recorder longText;
    DrawRotatedText(longText.canvas, rect, QString(1000, u'x'), 45, 1, 1, font);
    EXPECT_EQ(longText.texts().front().text.size(), 256);
}
