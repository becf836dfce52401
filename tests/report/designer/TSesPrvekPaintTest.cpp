// What the design controls paint: each element kind as the engine prints it, the selection
// marks, grid dots and the inactive columns of a multi-column body.

#include "support/DesignFixture.h"

#include "platform/PainterCanvas.h"
#include "report/engine/document/TPicture.h"
#include "report/engine/expressions/sest_fn.h"
#include "report/engine/sest_lib.h"
#include "report/engine/barcode/sestbarc.h"
#include "report/engine/printing/sestprn.h"
#include "report/engine/document/sestvyst.h"

#include <QPainter>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

using designer::TSesPrvek;
using designtest::Sheet;

namespace {

bool near(QRgb a, QRgb b) {
    return std::abs(qRed(a) - qRed(b)) <= 100 && std::abs(qGreen(a) - qGreen(b)) <= 100 &&
           std::abs(qBlue(a) - qBlue(b)) <= 100;
}

constexpr QRgb kWhite = qRgb(255, 255, 255), kBlack = qRgb(0, 0, 0);
constexpr QRgb kSilver = qRgb(0xC0, 0xC0, 0xC0), kGrey = qRgb(0x80, 0x80, 0x80);

struct Pixel {
    int x, y;
    QRgb colour;
};

void expectPixels(const QImage& image, std::initializer_list<Pixel> pixels) {
    for (const Pixel& p : pixels)
        EXPECT_EQ(image.pixel(p.x, p.y), p.colour) << p.x << "," << p.y;
}

bool isInk(QRgb c) {
    return qRed(c) < 200 || qGreen(c) < 200 || qBlue(c) < 200;
}

// Pixels of `a` (inside a 1-pixel border) that no pixel of `b` within one pixel matches.
int unmatched(const QImage& a, const QImage& b) {
    int count = 0;
    for (int y = 1; y < a.height() - 1; ++y)
        for (int x = 1; x < a.width() - 1; ++x) {
            bool found = false;
            for (int dy = -1; dy <= 1 && !found; ++dy)
                for (int dx = -1; dx <= 1 && !found; ++dx)
                    found =
                        b.valid(x + dx, y + dy) && near(a.pixel(x, y), b.pixel(x + dx, y + dy));
            count += !found;
        }
    return count;
}

int inkOf(const QImage& image) {
    int count = 0;
    for (int y = 1; y < image.height() - 1; ++y)
        for (int x = 1; x < image.width() - 1; ++x)
            count += isInk(image.pixel(x, y));
    return count;
}

// The engine's drawing of the element at 100 units per inch.
QImage engineImage(report::TVoranReportElement& e) {
    QImage image(e.Width, e.Height, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    platform::PainterCanvas canvas(painter, 100);
    report::ElementContent content;
    if (e.Kind == report::ekDrawingArea) e.PaintDrawingArea();
    content.text = e.GetText();
    content.hasPicture = e.GetPicture() != nullptr;
    report::DrawReportElement(canvas, e, content, {0, 0, e.Width, e.Height}, 0, 0, 1.0, 1.0);
    return image;
}

void setUpKind(report::TVoranReportElement& e, int kind) {
    e.Font.name = u"DejaVu Sans"_s;
    e.Font.size = 14;
    e.Font.bold = true;
    e.PenWidth = 3;
    e.PenColor = 0x0000C0;
    e.BrushColor = 0x00C000;
    switch (kind) {
    case report::ekText:
        e.Text = u"Ahoj, páro!"_s;
        break;
    case report::ekItem:
    case report::ekVariable:
        e.Value.text = u"21,5 °C"_s;
        break;
    case report::ekLine:
        e.Options = report::soLeft | report::soTop | report::soOption5 | report::soOption6;
        break;
    case report::ekPicture: {
        QImage picture(40, 20, QImage::Format_RGB32);
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 40; ++x)
                picture.setPixel(x, y, qRgb(x * 6, y * 12, 128));
        report::TPicture owned;
        owned.setBitmap(picture);
        e.SetPicture(&owned);
        e.Options = report::soOption5; // stretched
        break;
    }
    case report::ekBarcode:
        e.PenStyle = report::bcCode39;
        e.PenWidth = 8;
        e.SetBarcodeText(u"KOLV42"_s);
        break;
    case report::ekDrawingArea:
        e.BrushStyle = 1;
        break;
    default:
        break;
    }
}

} // namespace

TEST(ElementPainting, EveryKindLooksAsTheEngineDrawsIt) {
    Sheet sheet;
    sheet.report.SetItemNames({u"Teplota"_s});
    sheet.report.setParametry({u"Tlak"_s});
    sheet.report.setItemDescriptions({u"Teplota páry"_s});
    report::TRadekFunkce& function = sheet.report.Funkce().AddFunction();
    function.SetDefinition(u"F"_s, {}, u"'výsledek'"_s, 1, {}, 0, 0, 15, 2, 2);
    function.Calculate();
    sheet.report.OnPaintBox = [](report::TSestavaD*, int, int w, int h,
                                 platform::TCanvas& canvas) {
        canvas.SetBrush({0xFF0000, platform::bsSolid});
        canvas.Ellipse({0, 0, w, h});
    };
    sheet.body()->setSectionHeight(400);
    sheet.show();
    for (int kind = 1; kind <= 13; ++kind) {
        SCOPED_TRACE(kind);
        TSesPrvek* control = sheet.add(kind, 20, 20, 240, 90);
        setUpKind(*control->element(), kind);
        // Seen on its section, which shows through where the element leaves it blank.
        const QImage shown = sheet.body()
                                 ->grab(control->geometry())
                                 .toImage()
                                 .convertToFormat(QImage::Format_RGB32);
        const QImage reference = engineImage(*control->element());
        ASSERT_EQ(shown.size(), reference.size());
        const int ink = inkOf(reference);
        EXPECT_GT(ink, 80) << control->element()->GetText().toStdString();
        EXPECT_LE(unmatched(reference, shown), ink / 25 + 5);
        EXPECT_LE(unmatched(shown, reference), ink / 25 + 5);
        sheet.paper->RemovePrvek(control);
        delete control;
    }
}

TEST(ElementPainting, ADetailShowsACrossHatch) {
    Sheet sheet;
    TSesPrvek* detail = sheet.add(report::ekDetail, 0, 0, 100, 40);
    sheet.show();
    const QImage image = detail->grab().toImage();
    const int ink = inkOf(image);
    EXPECT_GT(ink, 100);
    EXPECT_LT(ink, 100 * 40 / 2);
}

TEST(ElementPainting, SelectionMarksAndHandles) {
    Sheet sheet;
    TSesPrvek* e = sheet.add(report::ekFrame, 10, 10, 101, 51);
    e->element()->PenWidth = 0;
    e->element()->BrushStyle = platform::bsClear;
    sheet.show();
    auto image = [&] {
        return sheet.body()->grab(e->geometry()).toImage().convertToFormat(QImage::Format_RGB32);
    };
    expectPixels(image(), {{50, 0, kSilver}, {2, 2, kWhite}});
    e->setSelectedMark(true);
    const QImage selected = image();
    const QPoint centres[] = {{2, 2},   {50, 2}, {98, 2},  {2, 25},
                              {98, 25}, {2, 48}, {50, 48}, {98, 48}};
    for (int handle = 1; handle <= 8; ++handle) {
        EXPECT_EQ(TSesPrvek::handlePosition(handle, 101, 51) + QPoint(2, 2), centres[handle - 1]);
        EXPECT_EQ(selected.pixel(centres[handle - 1]), kGrey) << handle;
        EXPECT_EQ(e->HandleAt(centres[handle - 1]), handle);
    }
    expectPixels(selected, {{50, 0, kGrey}, {25, 2, kWhite}});
    EXPECT_EQ(e->HandleAt({25, 25}), 0);
    e->setMultiMark(true); // multi and primary: filled corners, no side handles
    expectPixels(image(), {{2, 2, kGrey}, {50, 2, kWhite}});
    e->setSelectedMark(false); // multi only: hollow corners
    expectPixels(image(), {{2, 2, kWhite}, {0, 2, kGrey}});
}

TEST(SectionPainting, GridDotsAtAFractionalCharacterGrid) {
    Sheet sheet;
    const double step = 100.0 / 17; // 17 characters per inch
    sheet.body()->setSectionHeight(100);
    sheet.body()->SetRastr(true, true, step, 100.0 / 6, true);
    sheet.show();
    const QImage image = sheet.body()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QRgb red = qRgb(255, 0, 0);
    for (int j = 1; j <= 20; ++j) {
        for (int i = 1; i <= 5; ++i) {
            const int x = report::ScaleRound(j * step, 1.0);
            const int y = report::ScaleRound(i * 100.0 / 6, 1.0);
            EXPECT_EQ(image.pixel(x, y), red) << j << "," << i;
            EXPECT_EQ(image.pixel(x, y + 2), kWhite);
        }
    }
    EXPECT_EQ(image.pixel(3, 3), kWhite);
}

TEST(SectionPainting, CaptionStripAndTheHatchesOfAThreeColumnBody) {
    Sheet sheet;
    sheet.body()->setSectionHeight(100);
    sheet.body()->setColumns(3, 20);
    sheet.show();
    const QImage image = sheet.body()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const int b = report::ScaleRound((report::PrintableWidth() + 20) / 3, 1.0);
    const int h = image.height(), w = image.width();
    // the first column white; in the gap a light hatch, beyond it a dark one, dots where x and
    // y agree; the caption strip: black top row, white below it, silver inside, grey and black
    // at the foot, and the column boundary
    // clang-format off
    expectPixels(image, {{b - 30, 10, kWhite}, {b - 10, 10, kSilver}, {b - 10, 11, kWhite},
                         {b + 10, 10, kSilver}, {b + 10, 11, kGrey}, {40, h - 16, kBlack},
                         {40, h - 15, kWhite}, {w - 30, h - 8, kSilver}, {40, h - 3, kGrey},
                         {40, h - 1, kBlack}, {b, h - 8, kBlack}, {b + 1, h - 8, kWhite},
                         {b - 1, h - 8, kGrey}});
    // clang-format on
}

TEST(SectionPainting, TheBackgroundPictureLiesAtItsZoomedPlace) {
    const QRgb blue = qRgb(0, 0, 255);
    QImage bitmap(10, 10, QImage::Format_RGB32);
    bitmap.fill(blue);
    report::TPicture picture;
    picture.setBitmap(bitmap);
    Sheet sheet(2.0);
    sheet.body()->setSectionHeight(100);
    // The rectangle (20, 10)-(60, 30) on the paper, shifted up by 5 for this section.
    sheet.body()->SetPozadi(&picture, {20, 10, 60, 30}, QPoint(0, -5));
    sheet.show();
    const QImage image = sheet.body()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    expectPixels(
        image,
        {{41, 11, blue}, {118, 48, blue}, {38, 11, kWhite}, {41, 8, kWhite}, {122, 30, kWhite}});
    sheet.body()->SetPozadi(nullptr, {}, {});
    EXPECT_EQ(sheet.body()->grab().toImage().pixel(60, 30), kWhite);
}

TEST(ElementCursor, TheCursorTellsWhatADragWouldDo) {
    Sheet sheet;
    TSesPrvek* e = sheet.add(report::ekFrame, 10, 10, 101, 51);
    sheet.show();
    QWindow* window = sheet.window.windowHandle();
    auto shapeAt = [&](QPoint p) {
        QTest::mouseMove(window, e->mapTo(&sheet.window, p));
        return e->cursor().shape();
    };
    EXPECT_EQ(shapeAt({40, 40}), Qt::ArrowCursor); // not selected
    e->setSelectedMark(true);
    const struct {
        QPoint at;
        Qt::CursorShape shape;
    } cases[] = {{{2, 2}, Qt::SizeFDiagCursor},   {{50, 2}, Qt::SizeVerCursor},
                 {{98, 2}, Qt::SizeBDiagCursor},  {{2, 25}, Qt::SizeHorCursor},
                 {{98, 48}, Qt::SizeFDiagCursor}, {{30, 30}, Qt::DragMoveCursor}};
    for (const auto& c : cases)
        EXPECT_EQ(shapeAt(c.at), c.shape) << c.at.x() << "," << c.at.y();
    e->setMultiMark(true);
    EXPECT_EQ(shapeAt({3, 3}), Qt::DragCopyCursor);
}

TEST(ElementControl, ADrawingAreaIsMarkedWhenItsControlIsMade) {
    Sheet sheet;
    TSesPrvek* area = sheet.add(report::ekDrawingArea, 0, 0, 50, 50);
    EXPECT_TRUE(area->element()->GetOption5()); // before any paint
    TSesPrvek* frame = sheet.add(report::ekFrame, 0, 0, 50, 50);
    EXPECT_FALSE(frame->element()->GetOption5());
}
