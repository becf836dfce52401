// Template fonts and the printer-resident pitch fonts, picture fitting and drawing, text
// shortening and the version text.

#include "report/engine/barcode/sestbarc.h"
#include "report/engine/document/TPicture.h"
#include "report/engine/printing/sestprn.h"
#include "report/engine/sest_lib.h"

#include "platform/Metafile.h"
#include "platform/PainterCanvas.h"
#include "platform/RecordingCanvas.h"
#include "platform/TVoranCanvas.h"

#include <QPainter>

#include <gtest/gtest.h>

#include <climits>
#include <tuple>
#include <utility>

namespace report {
namespace {

using platform::TFont;
using platform::TRect;

TEST(RomanFonts, PitchGivesSizeWidthAndLineHeight) {
    for (auto [name, size] :
         {std::pair{"Roman 17cpi", 8}, {"Roman 12cpi", 10}, {"Roman 10cpi", 11}, {"Arial", 13}}) {
        TFont font;
        font.name = name;
        font.size = 13;
        EXPECT_EQ(RomanFontSize(font), size) << name;
    }
    EXPECT_NEAR(RomanCharWidth("Roman 12cpi", 3), 8.33, 0.005);
    EXPECT_EQ(RomanCharWidth("Roman 10cpi", 3), 10);
    EXPECT_EQ(RomanCharWidth("Roman xx", 3), 10);
    EXPECT_EQ(RomanCharWidth("Roman 00", 3), 10); // no division by a zero pitch
    EXPECT_EQ(RomanCharWidth("Arial", 3), 3);
    EXPECT_NEAR(RomanLineHeight("Roman 17cpi", 5), 16.666666, 1e-6);
    EXPECT_EQ(RomanLineHeight("Romanesque", 5), 5);
    EXPECT_TRUE(IsRomanFont("Roman 10cpi"));
    EXPECT_FALSE(IsRomanFont("Roman"));
}

TEST(RomanFonts, MapToCourierNewCentralEuropean) {
    TFont font;
    font.name = "Roman 12cpi";
    font.size = 30;
    font.bold = true;
    MapRomanFont(font);
    EXPECT_EQ(font.name, "Courier New");
    EXPECT_EQ(font.size, 10);
    EXPECT_EQ(font.charset, 238);
    EXPECT_TRUE(font.bold);
    TFont other;
    other.name = "Arial";
    const TFont before = other;
    MapRomanFont(other);
    EXPECT_EQ(other, before);
}

// Script suffixes only for names outside the printer's font list: a given list, or the
// printer model's own when none is given.
TEST(TemplateFonts, ScriptSuffixesOnlyForNamesOutsideThePrinterList) {
    const QStringList printerFonts{"Arial", "Times New Roman", "Fancy CE", "Roman 10cpi"};
    const std::tuple<const char*, int, const char*, int> cases[] = {
        {"Arial CE", 0, "Arial", 238},
        {"Fancy CE", 0, "Fancy CE", 0},
        {"Times New Roman CYR", 0, "Times New Roman", 204},
        {"Courier Greek", 0, "Courier", 161},
        {"Unknown", 186, "Unknown", 186},
    };
    for (const auto& [name, charset, face, script] : cases) {
        TFont font;
        SetTemplateFont(font, name, 10, charset, 0, 0, printerFonts);
        EXPECT_EQ(font.name, face) << name;
        EXPECT_EQ(font.charset, script) << name;
    }
    for (auto [name, face, script] :
         {std::tuple{"Arial CE", "Arial", 238}, std::tuple{"Roman 10cpi", "Roman 10cpi", 0}}) {
        TFont font;
        SetTemplateFont(font, name, 10, 0, 0, 0);
        EXPECT_EQ(font.name, face) << name;
        EXPECT_EQ(font.charset, script) << name;
    }
}

TEST(TemplateFonts, SizeStyleAndColour) {
    TFont font;
    SetTemplateFont(font, "Arial", -100, 238, 1 | 2, 12, {"Arial"});
    EXPECT_EQ(font.size, 72); // 1 inch
    EXPECT_TRUE(font.bold && font.italic && !font.underline && !font.strikeOut);
    EXPECT_EQ(font.color, platform::rgbColor(0, 0, 255));
    SetTemplateFont(font, "Arial", -33, 238, 0, 99, {"Arial"});
    EXPECT_EQ(font.size, 23); // 33 * 72 / 100 truncated
    EXPECT_EQ(font.color, 0u);
    EXPECT_FALSE(font.bold);
    SetTemplateFont(font, "Arial", 0, 238, 0, 0, {"Arial"});
    EXPECT_EQ(font.size, 10);
    SetTemplateFont(font, "Arial", INT_MIN, 238, 0, 0, {"Arial"});
    EXPECT_GT(font.size, 0);
}

TPicture pictureOf(int width, int height) {
    TPicture picture;
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::red);
    picture.setBitmap(image);
    return picture;
}

TRect fitted(TRect rect, bool stretch, bool keepAspect, const TPicture& picture, int alignment,
             double scale = 1.0) {
    FitPictureRect(rect, stretch, keepAspect, picture, alignment, scale, scale);
    return rect;
}

TEST(FitPicture, UnstretchedKeepsItsSizeAndAligns) {
    const TPicture wide = pictureOf(200, 100);
    EXPECT_EQ(fitted({10, 20, 1000, 1000}, false, false, wide, 0), (TRect{10, 20, 210, 120}));
    EXPECT_EQ(fitted({10, 20, 1000, 1000}, false, false, wide, 1), (TRect{800, 20, 1000, 120}));
    EXPECT_EQ(fitted({10, 20, 1000, 1000}, false, false, wide, 2), (TRect{405, 20, 605, 120}));
    EXPECT_EQ(fitted({10, 20, 1000, 1000}, false, true, wide, 0, 0.5), (TRect{10, 20, 110, 70}));
}

TEST(FitPicture, StretchedWithAspectShrinksOneSide) {
    EXPECT_EQ(fitted({0, 0, 400, 400}, true, true, pictureOf(200, 100), 0),
              (TRect{0, 0, 400, 200}));
    EXPECT_EQ(fitted({0, 0, 400, 400}, true, true, pictureOf(100, 200), 2),
              (TRect{100, 0, 300, 400}));
    EXPECT_EQ(fitted({0, 0, 400, 400}, true, true, pictureOf(100, 200), 1),
              (TRect{200, 0, 400, 400}));
    EXPECT_EQ(fitted({0, 0, 400, 400}, true, true, pictureOf(100, 200), 0),
              (TRect{0, 0, 200, 400}));
}

TEST(FitPicture, StretchedFreelyOrWithoutSizeLeavesTheRectangle) {
    EXPECT_EQ(fitted({5, 6, 70, 80}, true, false, pictureOf(200, 100), 2), (TRect{5, 6, 70, 80}));
    EXPECT_EQ(fitted({5, 6, 70, 80}, false, false, TPicture(), 2), (TRect{5, 6, 70, 80}));
    EXPECT_EQ(fitted({5, 6, 5, 80}, true, true, pictureOf(200, 100), 2), (TRect{5, 6, 5, 80}));
    EXPECT_EQ(fitted({5, 6, 70, 80}, false, false, pictureOf(200, 100), 0, 0.0),
              (TRect{5, 6, 70, 80}));
    // Extreme rectangles and scales give some rectangle, no overflow.
    for (int alignment : {0, 1, 2}) {
        fitted({INT_MIN, INT_MIN, INT_MAX, INT_MAX}, true, true, pictureOf(1, 3), alignment);
        fitted({INT_MAX, INT_MAX, INT_MIN, INT_MIN}, false, true, pictureOf(3, 1), alignment,
               1e12);
        fitted({INT_MIN, 0, INT_MIN, 10}, false, true, pictureOf(3, 1), alignment, 1e12);
    }
}

TEST(DrawPictures, BitmapsAreStretchedAndMetafilesReplayed) {
    QImage page(60, 60, QImage::Format_RGB32);
    page.fill(Qt::white);
    {
        QPainter painter(&page);
        platform::PainterCanvas canvas(painter, 96);
        DrawPicture(canvas, {10, 10, 30, 40}, pictureOf(2, 2));
        platform::Metafile drawing(10, 10, 100);
        platform::RecordingCanvas recorder(drawing);
        recorder.SetBrush({platform::rgbColor(0, 0, 255), platform::bsSolid});
        recorder.FillRect({0, 0, 10, 10});
        TPicture vector;
        vector.setMetafile(drawing);
        DrawPicture(canvas, {40, 40, 50, 60}, vector);
        DrawPicture(canvas, {0, 0, 60, 60}, TPicture()); // nothing
    }
    EXPECT_EQ(page.pixelColor(10, 10), QColor(Qt::red));
    EXPECT_EQ(page.pixelColor(29, 39), QColor(Qt::red));
    EXPECT_EQ(page.pixelColor(30, 40), QColor(Qt::white));
    EXPECT_EQ(page.pixelColor(9, 9), QColor(Qt::white));
    EXPECT_EQ(page.pixelColor(45, 55), QColor(Qt::blue));
    EXPECT_EQ(page.pixelColor(39, 39), QColor(Qt::white));
}

// Width of `text` on the measuring canvas at 100 units per inch.
int widthOf(const QString& text, const TFont& font) {
    platform::Metafile metafile(100, 10, 100);
    platform::TVoranCanvas canvas(metafile, 100);
    canvas.SetFont(font);
    return canvas.TextWidth(text);
}

TEST(FitText, KeepsTheLongestPrefixThatFits) {
    TFont font;
    font.name = "Arial";
    font.size = 10;
    const QString text = QStringLiteral("Měrná entalpie páry, kJ/kg");
    for (int width = 1; width < widthOf(text, font) + 5; width += 3) {
        const QString fitted = FitTextToWidth(text, font, width);
        ASSERT_TRUE(text.startsWith(fitted));
        EXPECT_LE(widthOf(fitted, font), width);
        if (fitted.size() < text.size()) {
            EXPECT_GT(widthOf(text.left(fitted.size() + 1), font), width) << width;
        }
    }
    EXPECT_EQ(FitTextToWidth(text, font, 0), "");
    EXPECT_EQ(FitTextToWidth(text, font, -5), "");
    EXPECT_EQ(FitTextToWidth(text, font, 100000), text);
    EXPECT_EQ(FitTextToWidth(QString(100000, 'W'), font, 200).size(),
              FitTextToWidth(QString(100, 'W'), font, 200).size());
}

TEST(FitText, NeverSplitsASurrogatePair) {
    TFont font;
    const QString text = QStringLiteral("a\U0001F600b");
    const int upToPair = widthOf(QStringLiteral("a\U0001F600"), font);
    const QString fitted = FitTextToWidth(text, font, upToPair - 1);
    EXPECT_EQ(fitted, "a");
}

} // namespace
} // namespace report
