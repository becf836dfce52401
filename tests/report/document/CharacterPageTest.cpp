// The character page: rows by line spacing, placing and cutting texts, merging slots, and the
// bytes a text printer receives, read back by glibc's iconv.

#include "report/engine/document/sest_zn.h"

#include "platform/Metafile.h"
#include "platform/RecordingCanvas.h"

#include <QBuffer>
#include <QProcess>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <climits>

namespace report {
namespace {

using platform::TRect;

// A field of `columns` characters at 10 cpi starting at column `column` of row 0.
TRect field(int column, int columns) {
    return {column * 10, 0, (column + columns) * 10, 20};
}

TEST(CharacterPage, RowsFollowTheLineSpacing) {
    TZnakovePole page;
    const std::pair<int, int> spacingRows[] = {{0, 66}, {1, 44}, {2, 33}, {7, 66}, {-1, 66}};
    for (auto [spacing, rows] : spacingRows) {
        page.SetPageSize(1100, spacing);
        EXPECT_EQ(page.RowCount(), rows) << spacing;
    }
    page.SetPageSize(-100, 0);
    EXPECT_EQ(page.RowCount(), 0);
    page.SetPageSize(INT_MAX, 0); // bounded, not billions of rows
    EXPECT_GT(page.RowCount(), 0);
    EXPECT_LE(page.RowCount(), 100000);
}

TEST(CharacterPage, RowsRoundToEvenAndPitchFollowsTheFontSize) {
    TZnakovePole page;
    page.SetPageSize(1100, 0);
    page.PutText({0, 75, 100, 90}, "a", 0, 0, 12, 0); // 4.5 rows
    page.PutText({0, 25, 100, 90}, "b", 0, 0, 12, 0); // 1.5 rows
    page.PutText({0, 25, 100, 90}, "c", 0, 0, 12, 3);
    EXPECT_EQ(page.Slot(4, 0, 0), "a         ");
    EXPECT_EQ(page.Slot(2, 0, 0), "b         ");
    EXPECT_EQ(page.Slot(5, 0, 0), "c         ");
    // One inch from the left: column 10, 12 or 17 by the pitch of 11, 10 and 8 points.
    page.PutText({100, 0, 200, 10}, "x", 0, 0, 11, 0);
    page.PutText({100, 0, 200, 10}, "y", 0, 0, 10, 0);
    page.PutText({100, 0, 200, 10}, "z", 0, 0, 8, 0);
    EXPECT_EQ(page.Slot(0, 0, 0).indexOf('x'), 10);
    EXPECT_EQ(page.Slot(0, 1, 0).indexOf('y'), 12);
    EXPECT_EQ(page.Slot(0, 2, 0).indexOf('z'), 17);
}

TEST(CharacterPage, TextsAreAlignedAndCutToTheirField) {
    TZnakovePole page;
    page.SetPageSize(100, 0);
    const std::tuple<int, const char*, const char*> cases[] = {
        {0, "ABCDEF", "ABCD"}, {1, "ABCDEF", "CDEF"}, {2, "ABCDEF", "BCDE"},  {0, "AB", "AB  "},
        {1, "AB", "  AB"},     {2, "AB", " AB "},     {2, "ABCDEFG", "BCDE"}, {2, "A", " A  "}};
    for (auto [alignment, text, expected] : cases) {
        page.ClearPage();
        page.PutText(field(3, 4), text, alignment, 0, 12, 0);
        EXPECT_EQ(page.Slot(0, 0, 0), QString("   ") + expected) << alignment << text;
    }
    // A later text overwrites only where its characters fall.
    page.ClearPage();
    page.PutText(field(0, 8), "abcdefgh", 0, 0, 12, 0);
    page.PutText(field(2, 3), "XY", 1, 0, 12, 0);
    EXPECT_EQ(page.Slot(0, 0, 0), "abcXYfgh");
}

TEST(CharacterPage, LowerSlotsWinOverHigherOnesExceptWhereBlank) {
    TZnakovePole page;
    page.SetPageSize(100, 0);
    page.SetSlot(0, 0, 0, "A C");
    page.SetSlot(0, 1, 0, "XYZW");
    page.SetSlot(0, 0, 1, " b");
    EXPECT_EQ(page.MergedRow(0), "AbCW");
    page.SetSlot(9, 0, 0, "ignored");
    page.SetSlot(0, 3, 0, "ignored");
    page.SetSlot(0, 0, 8, "ignored");
    EXPECT_EQ(page.Slot(9, 0, 0), "");
    EXPECT_EQ(page.MergedRow(0), "AbCW");
}

TEST(CharacterPage, NothingIsPlacedOutsideThePage) {
    TZnakovePole page;
    page.SetPageSize(100, 0); // 6 rows
    page.PutText(field(250, 5), "fits", 0, 0, 12, 0);
    EXPECT_EQ(page.Slot(0, 0, 0).size(), 255);
    page.ClearPage();
    page.PutText(field(250, 6), "past 255", 0, 0, 12, 0);
    page.PutText({-10, 0, 50, 10}, "left of the page", 0, 0, 12, 0);
    page.PutText({50, 0, 40, 10}, "negative width", 0, 0, 12, 0);
    page.PutText({0, -30, 50, 10}, "above", 0, 0, 12, 0);
    page.PutText({0, 100, 50, 10}, "below the last row", 0, 0, 12, 0);
    page.PutText({0, 0, 50, 10}, "offset", 0, 0, 12, INT_MAX);
    page.PutText({0, 0, 50, 10}, "offset", 0, 0, 12, INT_MIN);
    page.PutText({INT_MIN, INT_MIN, INT_MAX, INT_MAX}, "huge", 2, 99, 1e300, 0);
    page.PutText({INT_MAX, INT_MAX, INT_MIN, INT_MIN}, "huge", 1, -5, -1e300, 0);
    page.PutText({0, 0, 50, 10}, "", 0, 0, 12, 0);
    EXPECT_EQ(page.PageBytes(slCP852), QByteArray("\r\n").repeated(6));
}

TEST(CharacterPage, AnEmptyPageWritesOneLineEndPerRow) {
    TZnakovePole page;
    page.SetPageSize(500, 1);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    page.WriteTo(slCP852); // no stream yet: nothing written anywhere
    page.BeginPage(&buffer);
    page.WriteTo(slCP852);
    page.EndOutput();
    page.WriteTo(slCP852);
    EXPECT_EQ(buffer.data(), QByteArray("\r\n").repeated(20));
}

TEST(CharacterPage, ACp852PageReadsBackThroughIconv) {
    TZnakovePole page;
    page.SetPageSize(50, 0); // 3 rows
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    page.BeginPage(&buffer);
    page.PutText(field(0, 30), QStringLiteral("Příliš žluťoučký kůň"), 0, 0, 12, 0);
    page.PutText({0, 17, 200, 50}, QStringLiteral("ÚPĚL ĎÁBELSKÉ ÓDY"), 1, 1, 12, 0);
    page.WriteTo(slCP852);

    QProcess iconv;
    iconv.start("iconv", {"-f", "CP852", "-t", "UTF-8"});
    ASSERT_TRUE(iconv.waitForStarted(10000)) << "iconv is missing";
    iconv.write(buffer.data());
    iconv.closeWriteChannel();
    ASSERT_TRUE(iconv.waitForFinished(10000));
    ASSERT_EQ(iconv.exitCode(), 0) << iconv.readAllStandardError().toStdString();
    EXPECT_EQ(QString::fromUtf8(iconv.readAllStandardOutput()),
              QStringLiteral("Příliš žluťoučký kůň          \r\n"
                             "   ÚPĚL ĎÁBELSKÉ ÓDY\r\n"
                             "\r\n"));
}

TEST(CharacterPage, ACharacterOutsideTheBasicPlaneTakesOneColumn) {
    TZnakovePole page;
    page.SetPageSize(50, 0);
    page.PutText(field(0, 4), QStringLiteral("a\U0001F600\tb"), 0, 0, 12, 0);
    EXPECT_EQ(page.PageBytes(slCP1250).left(4), "a? b");
}

TEST(CharacterPage, DrawsEachSlotInItsPitchFontAndRow) {
    TZnakovePole page;
    page.SetPageSize(50, 0);
    page.SetSlot(0, 0, 1, QStringLiteral("Čtyři"));
    page.SetSlot(2, 2, 0, QStringLiteral("pět"));
    platform::Metafile metafile(800, 300, 100);
    platform::RecordingCanvas canvas(metafile);
    platform::TFont font;
    font.name = "Arial";
    font.size = 12;
    canvas.SetFont(font);
    const int lineHeight = canvas.TextHeight("X");
    page.Draw(canvas, slASCII);
    const QString dump = metafile.dump();
    EXPECT_TRUE(dump.contains(QStringLiteral("text 0,0 \"Ctyri\""))) << dump.toStdString();
    EXPECT_TRUE(dump.contains(QStringLiteral("text 0,%1 \"pet\"").arg(2 * lineHeight)));
    EXPECT_TRUE(dump.contains(QRegularExpression("font \"Courier New\" height=[0-9.]+ bold "
                                                 "charset=238")));
    EXPECT_EQ(canvas.Font(), font);
}

} // namespace
} // namespace report
