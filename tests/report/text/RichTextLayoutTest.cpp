// Rich-text layout: invariants over many widths and alignments, the alignment and justify
// rules, tab stops, indents, fitting, and the limits of hostile input.
#include "report/engine/text/sest_rtf.h"
#include "support/QtPrinters.h"

#include "platform/Metafile.h"
#include "platform/TVoranCanvas.h"
#include "platform/TextMeasure.h"

#include <gtest/gtest.h>

#include <tuple>

using namespace report;
using platform::TRect;

namespace {

constexpr int U = kInternalPerUnit;

const QString paragraph = QString::fromUtf8(
    "Sytá pára o tlaku 1 MPa má teplotu 179,88 °C a entalpii 2777,1 kJ/kg; voda v témž stavu "
    "má entalpii 762,5 kJ/kg.\nRozdíl je výparné teplo, které se spotřebuje na odpaření.\r\n"
    "Nadkritickýtlakneodděluježádnáhranicemezikapalinouaparou a dál.");

struct Fixture {
    platform::Metafile metafile{2000, 2000, 100};
    platform::TVoranCanvas canvas{metafile, 100};
    Fixture(const QString& face = "Arial", double size = 10) {
        platform::TFont font;
        font.name = face;
        font.size = size;
        canvas.SetFont(font);
    }
    TRadky layout(const QString& text, int width, RichTextOptions options = {},
                  int* result = nullptr) {
        TRadky lines;
        const int r =
            LayoutRichText(canvas, TRect{10, 20, 10 + width, 2000}, text, options, lines);
        if (result) *result = r;
        return lines;
    }
};

} // namespace

TEST(RichTextLayout, PlainLinesConsumeEveryCharacterOnce) {
    Fixture f;
    for (int alignment = 0; alignment < 4; ++alignment) {
        for (int width = 5; width < 700; width += 37) {
            RichTextOptions options;
            options.alignment = alignment;
            const TRadky lines = f.layout(paragraph, width, options);
            int total = 0;
            for (int i = 0; i < lines.Count(); ++i) {
                const TRadek& line = lines.GetRadek(i);
                ASSERT_GT(line.charCount, 0);
                ASSERT_EQ(line.firstChar, total);
                ASSERT_EQ(line.positions.size(), line.charCount);
                total += line.charCount;
            }
            EXPECT_EQ(total, paragraph.size());
            EXPECT_EQ(lines.Text(), paragraph);
            // A paragraph's end is the last character of its line.
            for (int i = 0; i < lines.Count(); ++i) {
                const int end = int(lines.GetRadek(i).text().indexOf(u'\n'));
                EXPECT_TRUE(end < 0 || end == lines.GetRadek(i).charCount - 1);
            }
        }
    }
}

TEST(RichTextLayout, LinesStayWithinTheWidthUnlessOneWordIsCut) {
    Fixture f;
    for (int width = 20; width < 600; width += 23) {
        const TRadky lines = f.layout(paragraph, width);
        const int available = width * U - U;
        for (int i = 0; i < lines.Count(); ++i) {
            const TRadek& line = lines.GetRadek(i);
            const QString text = line.text();
            if (line.width <= available) continue;
            // Only a word longer than the line overflows, and only by its last character.
            EXPECT_FALSE(text.contains(u' ')) << text.toStdString() << " at " << width;
            EXPECT_LE(line.positions.back(), available);
        }
        // Wrapping happens only where it must: with the next word the line would not fit.
        for (int i = 0; i + 1 < lines.Count(); ++i) {
            const QString text = lines.GetRadek(i).text();
            if (!text.endsWith(u' ')) continue;
            const QString next = lines.GetRadek(i + 1).text();
            const QString word = next.left(next.indexOf(u' '));
            EXPECT_GT(f.layout(text + word, width).Count(), 1) << text.toStdString();
        }
    }
}

TEST(RichTextLayout, AlignmentPlacesLinesBetweenTheIndents) {
    Fixture f;
    const int width = 300;
    const QString text = "{\\li300\\ri600 " + QString(paragraph).replace("\n", "\\par ") + "}";
    const TRadky left = f.layout(text, width, {.rtf = true});
    RichTextOptions right{.alignment = alignRight, .rtf = true};
    RichTextOptions centre{.alignment = alignCenter, .rtf = true};
    const TRadky r = f.layout("{\\qr" + text.mid(1), width, right);
    const TRadky c = f.layout("{\\qc" + text.mid(1), width, centre);
    ASSERT_EQ(r.Count(), left.Count());
    ASSERT_EQ(c.Count(), left.Count());
    const int li = 300 * 72 / 15, ri = 600 * 72 / 15;
    for (int i = 0; i < left.Count(); ++i) {
        EXPECT_EQ(left.GetRadek(i).startX, U + li);
        EXPECT_EQ(r.GetRadek(i).startX + r.GetRadek(i).width, width * U - U - ri);
        const TRadek& line = c.GetRadek(i);
        EXPECT_NEAR(line.startX - li, width * U - ri - (line.startX + line.width), 1);
        // The same characters in every alignment: alignment never changes the breaks.
        EXPECT_EQ(r.GetRadek(i).charCount, left.GetRadek(i).charCount);
        EXPECT_EQ(c.GetRadek(i).positions, left.GetRadek(i).positions);
    }
}

TEST(RichTextLayout, JustifyStretchesOnlyWrappedLines) {
    Fixture f;
    const int width = 250;
    const TRadky natural = f.layout(paragraph, width);
    const TRadky justified = f.layout(paragraph, width, {.alignment = alignJustify});
    ASSERT_EQ(justified.Count(), natural.Count());
    int stretched = 0;
    for (int i = 0; i < justified.Count(); ++i) {
        const TRadek& line = justified.GetRadek(i);
        const TRadek& plain = natural.GetRadek(i);
        EXPECT_EQ(line.startX, U);
        const bool endsParagraph = line.text().endsWith(u'\n') || i == justified.Count() - 1;
        // Paragraph ends keep their spacing; so does a cut word wider than the line.
        if (endsParagraph || plain.startX + plain.width > width * U) {
            EXPECT_EQ(line.positions, plain.positions) << i;
        } else {
            ++stretched;
            EXPECT_EQ(line.startX + line.width, width * U) << i;
            // Proportional: every position grows by the same factor.
            const double factor = double(line.width) / plain.width;
            for (int k = 0; k < line.positions.size(); ++k)
                EXPECT_NEAR(line.positions[k], plain.positions[k] * factor, 1);
        }
    }
    EXPECT_GE(stretched, 3);
}

TEST(RichTextLayout, TabsAdvanceToMultiplesOfTheTabWidthFromTheInnerEdge) {
    Fixture f;
    const int tab = 720 * 72 / 15;
    const TRadky lines = f.layout("a\tb\tcccccccccccc\td", 2000);
    const TRadek& line = lines.GetRadek(0);
    EXPECT_EQ(line.positions[2], tab);
    EXPECT_EQ(line.positions[4], 2 * tab);
    EXPECT_EQ(line.positions[17] % tab, 0);
    // With a left indent, stops are still counted from the inner edge.
    const TRadky indented = f.layout("{\\li300\\deftab400 a\\tab b}", 2000, {.rtf = true});
    const int li = 300 * 72 / 15, stop = 400 * 72 / 15;
    EXPECT_EQ(li + indented.GetRadek(0).positions[2], 2 * stop);
    // A tab width of 0 cannot loop: the default is used.
    const TRadky zero = f.layout("{\\deftab0\\tab\\tab x}", 2000, {.rtf = true});
    EXPECT_EQ(zero.GetRadek(0).positions[2], 2 * tab);
}

TEST(RichTextLayout, WordWrapOffGivesOneLineAndResultNine) {
    Fixture f;
    int result = -1;
    const TRadky lines = f.layout(paragraph, 100, {.wordWrap = false}, &result);
    EXPECT_EQ(result, rtfLineTooLong);
    ASSERT_EQ(lines.Count(), 1);
    EXPECT_LT(lines.GetRadek(0).charCount, paragraph.indexOf(u'\n'));
    const TRadky fits = f.layout("short\nlines", 500, {.wordWrap = false}, &result);
    EXPECT_EQ(result, rtfOk);
    EXPECT_EQ(fits.Count(), 2);
}

TEST(RichTextLayout, HeightsFitAndTotalAgree) {
    Fixture f;
    for (int width = 40; width < 400; width += 60) {
        const TRadky lines = f.layout(paragraph, width);
        const int total = lines.TotalHeight();
        int used = 0, last = 0;
        EXPECT_TRUE(lines.FitHeight(0, total, used, last));
        EXPECT_EQ(last, lines.Count() - 1);
        EXPECT_EQ(used, total);
        EXPECT_FALSE(lines.FitHeight(0, total - 1, used, last));
        EXPECT_EQ(last, lines.Count() - 2);
        // From a later line, only the rest counts.
        EXPECT_TRUE(lines.FitHeight(1, total, used, last));
        EXPECT_FALSE(lines.FitHeight(0, 0, used, last));
        EXPECT_EQ(last, -1);
        // Laid out to fit, exactly the lines that fit remain.
        TRadky fitting;
        LayoutRichTextToFit(f.canvas, TRect{0, 0, width, total - 1}, paragraph, {}, fitting);
        EXPECT_EQ(fitting.Count(), lines.Count() - 1);
    }
    TRadky none;
    EXPECT_EQ(none.TotalHeight(), 0);
    EXPECT_EQ(f.layout("", 100).Count(), 0);
}

TEST(RichTextLayout, GivenLineHeightAndCharacterWidth) {
    Fixture f;
    const TRadky lines = f.layout("abc def", 1000, {.charWidth = 8.33, .lineHeight = 16.6});
    const TRadek& line = lines.GetRadek(0);
    EXPECT_EQ(line.height, 17 * U);
    EXPECT_EQ(line.positions[4], 4 * 600); // 8.33 * 72 = 599.76 per character
    const TRadky big = f.layout("abc", 1000, {.scaleX = 2, .charWidth = 10});
    EXPECT_EQ(big.GetRadek(0).positions[2], 2 * 2 * 10 * U);
}

TEST(RichTextLayout, HalfPointSizesMatchThePointSizeOfTheBaseFont) {
    Fixture tenPoint;
    Fixture twelvePoint("Arial", 12);
    const TRadky rich = tenPoint.layout("{\\fs24 Sytá pára}", 1000, {.rtf = true});
    const TRadky plain = twelvePoint.layout("Sytá pára", 1000);
    EXPECT_EQ(rich.GetRadek(0).positions, plain.GetRadek(0).positions);
    EXPECT_EQ(rich.GetRadek(0).height, plain.GetRadek(0).height);
    const TRadky ten = tenPoint.layout("Sytá pára", 1000);
    EXPECT_LT(ten.GetRadek(0).width, plain.GetRadek(0).width);
}

// Lines laid out once at scale 1 and scaled are the lines a layout at that scale gives, so
// that a device drawing the run's lines draws what a layout for it would.
TEST(RichTextLayout, ScaleKeepsTheBreaksAndScaledLinesMatchAScaledLayout) {
    Fixture f;
    for (int alignment = alignLeft; alignment <= alignJustify; ++alignment)
        for (int width = 60; width < 500; width += 55) {
            const RichTextOptions options{.alignment = alignment};
            const TRadky one = f.layout(paragraph, width, options);
            const TRadky six =
                f.layout(paragraph, width * 6, {.scaleX = 6, .scaleY = 6, .alignment = alignment});
            const TRadky scaled = ScaledLines(one, 0, one.Count() - 1, 6, 6);
            ASSERT_EQ(one.Count(), six.Count()) << width;
            ASSERT_EQ(scaled.Count(), six.Count()) << width;
            for (int i = 0; i < one.Count(); ++i) {
                const TRadek& a = scaled.GetRadek(i);
                const TRadek& b = six.GetRadek(i);
                EXPECT_EQ(one.GetRadek(i).charCount, b.charCount);
                EXPECT_EQ(a.positions, b.positions) << width << " line " << i;
                EXPECT_EQ(std::tuple(a.width, a.startX, a.height, a.baseline),
                          std::tuple(b.width, b.startX, b.height, b.baseline));
            }
        }
    // A range past the list is clamped.
    const TRadky one = f.layout(paragraph, 200);
    EXPECT_EQ(ScaledLines(one, -5, 1, 2, 2).Count(), 2);
    EXPECT_EQ(ScaledLines(one, one.Count() - 1, 99, 2, 2).Text(),
              one.GetRadek(one.Count() - 1).text());
}

TEST(RichTextLayout, BulletIndentConvertsTwipsLikeEveryIndent) {
    Fixture f;
    const TRadky lines =
        f.layout("{\\pnindent360{\\pntext *\\tab}Item\\par\\pard Next}", 1000, {.rtf = true});
    ASSERT_EQ(lines.Count(), 2);
    EXPECT_EQ(lines.GetRadek(0).startX, U + 360 * 72 / 15);
    EXPECT_EQ(lines.GetRadek(1).startX, U);
    // Paragraph properties given after the bullet's text hold for its whole paragraph.
    const TRadky later =
        f.layout("{\\pnindent360{\\pntext *\\tab}\\fi-360\\li720 Item\\par\\pard Next}", 1000,
                 {.rtf = true});
    EXPECT_EQ(later.GetRadek(0).startX, U + 720 * 72 / 15);
}

TEST(RichTextLayout, HostileSizesTerminateWithLines) {
    Fixture f;
    int result = -1;
    const TRadky huge = f.layout("{\\li99999 a b c}", 100, {.rtf = true}, &result);
    EXPECT_EQ(result, rtfOk);
    EXPECT_EQ(huge.Text(), "a b c"); // one character per line, blanks included
    EXPECT_EQ(huge.Count(), 5);
    EXPECT_EQ(f.layout("abc", 0).Count(), 3);
    EXPECT_EQ(f.layout("abc", -50).Count(), 3);
    const TRadky big = f.layout("{\\fs99999999 x}{\\li-99999999999 y}", 100, {.rtf = true});
    EXPECT_EQ(big.Text(), "xy");
    const TRadky scaled = f.layout("x y", 100, {.scaleX = -1, .scaleY = 1e300});
    EXPECT_EQ(scaled.Text(), "x y");
}

TEST(RichTextLayout, ReaderErrorsKeepTheLinesReadBefore) {
    Fixture f;
    int result = 0;
    const TRadky lines = f.layout("{ab\\par cd}}ef", 1000, {.rtf = true}, &result);
    EXPECT_EQ(result, rtfStackUnderflow);
    EXPECT_EQ(lines.Text(), "ab\ncd");
    EXPECT_EQ(RichTextPlainText("{ab\\par cd}}ef", true), "ab\ncd");
}

TEST(RichTextLayout, GetRadekPastTheEndGivesTheFirstLine) {
    Fixture f;
    const TRadky lines = f.layout("one\ntwo", 1000);
    EXPECT_EQ(lines.GetRadek(5).text(), "one\n");
    EXPECT_EQ(lines.GetRadek(-1).text(), "one\n");
    TRadky copy;
    copy.AppendLines(lines);
    copy.AppendLines(copy);
    EXPECT_EQ(copy.Text(), "one\ntwoone\ntwo");
    EXPECT_EQ(TRadky().GetRadek(0).charCount, 0);
}
