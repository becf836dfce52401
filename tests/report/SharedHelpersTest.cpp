// The shared helpers: palette and script tables, style bits, zoom steps, rounding, and the
// template-line field reader against the field writers.

#include "report/engine/sest_lib.h"

#include <QColor>
#include <QRandomGenerator>

#include <gtest/gtest.h>

#include <climits>
#include <cmath>

namespace report {
namespace {

TEST(SharedHelpers, PaletteHoldsTheSixteenStandardColoursInTemplateOrder) {
    const QStringList names{"black", "maroon",  "green",  "olive", "navy", "purple",
                            "teal",  "grey",    "silver", "red",   "lime", "yellow",
                            "blue",  "fuchsia", "aqua",   "white"};
    for (int i = 0; i < names.size(); ++i) {
        const QColor named = QColor::fromString(names[i]);
        const platform::TColor colour =
            platform::rgbColor(named.red(), named.green(), named.blue());
        EXPECT_EQ(IndexToColor(i), colour) << i;
        EXPECT_EQ(ColorToIndex(colour), i);
    }
    EXPECT_EQ(ColorToIndex(0x123456), 0);
    EXPECT_EQ(IndexToColor(16), 0u);
    EXPECT_EQ(IndexToColor(-1), 0u);
}

TEST(SharedHelpers, ScriptTable) {
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(CharsetToIndex(IndexToCharset(i)), i);
    EXPECT_EQ(IndexToCharset(4), 238);
    EXPECT_EQ(CharsetToIndex(77), 7);
    EXPECT_EQ(IndexToCharset(8), 1);
    EXPECT_EQ(IndexToCharset(-1), 1);
}

TEST(SharedHelpers, StyleBitsRoundTrip) {
    for (int bits = 0; bits < 16; ++bits) {
        platform::TFont font;
        BitsToFontStyle(font, bits);
        EXPECT_EQ(FontStyleToBits(font), bits);
    }
    platform::TFont font;
    BitsToFontStyle(font, 1 | 4);
    EXPECT_TRUE(font.bold && font.underline && !font.italic && !font.strikeOut);
}

TEST(SharedHelpers, ZoomAndFontSizeListsAndTheNearestZoomStep) {
    EXPECT_EQ(NearestZoomStep(10), 0);
    EXPECT_EQ(NearestZoomStep(35), 0);
    EXPECT_EQ(NearestZoomStep(36), 1); // 0.72 is not below 0.32f + 0.40f
    EXPECT_EQ(NearestZoomStep(100), 6);
    EXPECT_EQ(NearestZoomStep(1000), 10);
    EXPECT_EQ(NearestZoomStep(INT_MIN), 0);
    // Every step's own percentage finds that step, and the steps match their texts, which
    // are added to the list.
    QStringList texts{"kept"};
    FillZoomList(texts);
    ASSERT_EQ(texts.size(), 12);
    EXPECT_EQ(texts[0], "kept");
    for (int i = 0; i < 11; ++i) {
        const int percent = int(std::lround(ZoomFactor(i) * 100));
        EXPECT_EQ(QString("%1 %").arg(percent), texts[i + 1]);
        EXPECT_EQ(NearestZoomStep(percent), i);
    }
    QStringList sizes;
    FillFontSizeList(sizes);
    EXPECT_EQ(sizes.join(' '), "8 9 10 11 12 14 16 18 20 22 24 26 28 36 48 72");
}

TEST(SharedHelpers, RoundingIsToNearestWithTiesToEven) {
    EXPECT_EQ(ScaleRound(5, 0.5), 2);
    EXPECT_EQ(ScaleRound(7, 0.5), 4);
    EXPECT_EQ(ScaleRound(-5, 0.5), -2);
    EXPECT_EQ(UnscaleRound(5, 2), 2);
    EXPECT_EQ(UnscaleRound(7, 2), 4);
    EXPECT_EQ(UnscaleRound(1, 0), 0);
    EXPECT_EQ(ScaleRound(1e300, 1e300), INT_MAX);
    EXPECT_EQ(ScaleRound(-1e300, 1e10), INT_MIN);
    EXPECT_EQ(SnapToGrid(14, 8), 16);
    EXPECT_EQ(SnapToGrid(12, 8), 16); // 1.5 steps go to 2
    EXPECT_EQ(SnapToGrid(20, 8), 16); // 2.5 steps go to 2
    EXPECT_EQ(SnapToGrid(10, 2.5), 10);
    EXPECT_EQ(SnapToGrid(7, 0), 7);
    EXPECT_EQ(CompareInt(1, 2), -1);
    EXPECT_EQ(CompareInt(2, 2), 0);
    EXPECT_EQ(CompareInt(3, 2), 1);
}

// A line, its first field and the rest of the line.
TEST(SharedHelpers, NextFieldReadsQuotedAndBareFields) {
    const char* const cases[][3] = {
        {R"("a""b",c)", R"(a"b)", "c"},
        {"y", "y", ""},
        {"", "", ""},
        {R"("ab"cd,e)", "abcd", "e"}, // text after the closing quote belongs to the field
        {R"(a"b,c)", R"(a"b)", "c"},  // a quote inside a bare field is ordinary
        {R"("open, never closed)", "open, never closed", ""},
        {",,", "", ","},
    };
    for (const auto& [text, field, rest] : cases) {
        QString line = text;
        EXPECT_EQ(NextField(line), field) << text;
        EXPECT_EQ(line, rest) << text;
    }
}

TEST(SharedHelpers, NextFieldIntAndBoolFallBack) {
    QString line = "12, -7 ,abc,,99999999999,0,1";
    EXPECT_EQ(NextFieldInt(line, 5), 12);
    EXPECT_EQ(NextFieldInt(line, 5), -7);
    EXPECT_EQ(NextFieldInt(line, 5), 5);
    EXPECT_EQ(NextFieldInt(line, 5), 5);
    EXPECT_EQ(NextFieldInt(line, 5), 5);
    EXPECT_FALSE(NextFieldBool(line, true));
    EXPECT_TRUE(NextFieldBool(line, false));
    EXPECT_TRUE(NextFieldBool(line, true)); // missing field
    EXPECT_EQ(NextFieldInt(line, -1), -1);
}

TEST(SharedHelpers, QuoteTextDoublesQuotes) {
    EXPECT_EQ(QuoteText(R"(a"b)"), R"(a""b)");
    EXPECT_EQ(BareField("plain text"), "plain text");
    EXPECT_EQ(BareField("a,b"), R"("a,b")");
    EXPECT_EQ(BareField(R"("q)"), R"("""q")");
}

// Whatever a writer puts into a line, the reader gives back, and the rest of the line stays.
TEST(SharedHelpers, EveryWrittenFieldReadsBackExactly) {
    QRandomGenerator random(139);
    const QString alphabet = QStringLiteral("ab ,\"\"'č;\\");
    for (int n = 0; n < 2000; ++n) {
        QString text;
        const int length = random.bounded(0, 12);
        for (int i = 0; i < length; ++i)
            text += alphabet.at(random.bounded(alphabet.size()));
        for (const QString& written : {QuotedField(text), BareField(text)}) {
            QString line = written + ",rest,\"x\"";
            ASSERT_EQ(NextField(line), text) << written.toStdString();
            ASSERT_EQ(line, "rest,\"x\"");
        }
    }
}

TEST(SharedHelpers, AddTrailingBackslashAddsOneSlash) {
    EXPECT_EQ(AddTrailingBackslash("/tmp/a"), "/tmp/a/");
    EXPECT_EQ(AddTrailingBackslash("/tmp/a/"), "/tmp/a/");
    EXPECT_EQ(AddTrailingBackslash(""), "/");
}

} // namespace
} // namespace report
