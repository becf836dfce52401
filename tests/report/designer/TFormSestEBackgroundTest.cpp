// What the designer draws of a section's background is what prints under that section: a
// striped picture over the whole paper, each section of the designer against the same section
// of the printed first page, found by a black mark the section carries.

#include "support/DesignerWindow.h"

#include "platform/PainterCanvas.h"
#include "report/designer/TOddil.h"
#include "report/designer/TPapir.h"
#include "report/engine/document/sestvyst.h"
#include "report/engine/ui/sestp.h"

#include <QImage>
#include <QPainter>
#include <QTest>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

constexpr int kPaperWidth = 827;
constexpr int kPaperHeight = 1169;
constexpr int kMarkX = 700;

// The picture at paper point (x, y): columns in stripes of 20 numbered in green, rows in
// stripes of 5 numbered in red (low four bits) and blue (the rest), so that no two rows of
// stripes look alike.
QRgb stripeColour(int x, int y) {
    const int row = y / 5;
    return qRgb(row % 16 * 16, x / 20 % 16 * 16, row / 16 * 16);
}

// The stripes a colour numbers (column, row), or (-1, -1) for a colour not of the picture.
QPoint stripeOf(QRgb c) {
    if (qRed(c) % 16 || qGreen(c) % 16 || qBlue(c) % 16) return {-1, -1};
    return {qGreen(c) / 16, qBlue(c) + qRed(c) / 16};
}

} // namespace

TEST(SectionBackground, EachSectionShowsWhatPrintsUnderIt) {
    designtest::DesignedReport fixture({{"a"}, {"A"}, {}, 0});
    QImage stripes(kPaperWidth, kPaperHeight, QImage::Format_RGB32);
    for (int y = 0; y < kPaperHeight; ++y)
        for (int x = 0; x < kPaperWidth; ++x)
            stripes.setPixel(x, y, stripeColour(x, y));
    const QString picture = fixture.folder.filePath(u"pruhy.bmp"_s);
    ASSERT_TRUE(stripes.save(picture));

    // every section visible, with a group; each carries its black mark at its top
    const QString mark = u",8,8,%1,3,8,8,,1,0,0,15,0,0"_s.arg(kMarkX);
    fixture.report.TiskJedenZaznam = true;
    auto window = fixture.open(
        {u"I,0,\"Pozadí\""_s, u"I,1,5,40,17"_s,
         u"I,2,0,%1,%2,50,40,70,60,1,0"_s.arg(kPaperWidth).arg(kPaperHeight), u"I,3,0,1,45,0"_s,
         u"I,3,1,1,35,0"_s, u"I,3,2,1,30,0"_s, u"I,3,3,1,25,0"_s, u"I,3,4,1,40,0"_s,
         u"I,4,0,0,1,20,1,15,0"_s, u"I,5,0"_s, u"I,6,0,8,8,0,1,0,0"_s,
         u"I,7,1,1,0,0,0,0,0,"_s + picture, u"Z"_s + mark, u"H"_s + mark, u"T"_s + mark,
         u"K"_s + mark, u"P"_s + mark, u"S0"_s + mark, u"U0"_s + mark});
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));

    // the printed first page at 1 pixel per 1/100 inch, from the top left printable corner
    QImage printed;
    report::TFormSestP::setModalHook([&](report::TFormSestP&) {
        report::TSestVystup& doc = fixture.report.Vystup();
        doc.ShowPage(0);
        printed = QImage(doc.PrintableWidth(), doc.PrintableHeight(), QImage::Format_RGB32);
        printed.fill(Qt::white);
        QPainter painter(&printed);
        platform::PainterCanvas canvas(painter, 100);
        doc.PageView().Play(canvas, {0, 0, printed.width(), printed.height()});
        return int(report::TFormSestP::Closed);
    });
    window->PreviewReport();
    report::TFormSestP::setModalHook({});
    ASSERT_FALSE(printed.isNull());

    // the rows where the marks print: the tops of the printed sections
    QList<int> printedTops;
    for (int y = 1; y < printed.height(); ++y)
        if (qGray(printed.pixel(kMarkX + 4, y)) < 40 &&
            qGray(printed.pixel(kMarkX + 4, y - 1)) > 40)
            printedTops << y - 3;
    ASSERT_EQ(printedTops.size(), window->paper()->PocetOddilu());
    QList<int> matched;
    for (int i = 0; i < window->paper()->PocetOddilu(); ++i) {
        designer::TOddil* section = window->paper()->Oddil(i);
        SCOPED_TRACE(section->code());
        const QImage drawn = section->grab().toImage();
        // the printed section whose picture agrees with the drawn one, left of the mark
        int samples = 0, best = -1, bestHits = -1;
        for (const int top : printedTops) {
            int hits = 0;
            samples = 0;
            for (int y = 0; y < section->sectionHeight() && top + y < printed.height(); ++y)
                for (int x = 10; x < kMarkX - 20; x += 50, ++samples)
                    hits += stripeOf(drawn.pixel(x, y)) != QPoint(-1, -1) &&
                            stripeOf(drawn.pixel(x, y)) == stripeOf(printed.pixel(x, top + y));
            if (hits > bestHits) bestHits = hits, best = top;
        }
        EXPECT_GE(bestHits, samples * 95 / 100);
        EXPECT_FALSE(matched.contains(best));
        matched << best;
    }
}
