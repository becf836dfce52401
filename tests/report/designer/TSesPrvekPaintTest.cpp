// What the design controls paint: each element kind as the engine prints it, and the marks,
// grid dots, column hatches and background of a section, checked by what must hold of them
// (where a press finds a handle, where the grid lies) rather than by single pixels.

#include "support/DesignFixture.h"

#include "platform/PainterCanvas.h"
#include "report/engine/barcode/sestbarc.h"
#include "report/engine/document/TPicture.h"
#include "report/engine/document/sestvyst.h"
#include "report/engine/expressions/sest_fn.h"
#include "report/engine/printing/sestprn.h"
#include "report/engine/sest_lib.h"

#include <QFile>
#include <QPainter>
#include <QSet>
#include <QTemporaryDir>

#include <algorithm>
#include <array>
#include <cmath>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

using designer::TSesPrvek;
using designtest::Sheet;

namespace {

bool near(QRgb a, QRgb b) {
    return std::abs(qRed(a) - qRed(b)) <= 100 && std::abs(qGreen(a) - qGreen(b)) <= 100 &&
           std::abs(qBlue(a) - qBlue(b)) <= 100;
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

TEST(ElementPainting, HandlesArePaintedWhereAPressTakesThem) {
    Sheet sheet;
    sheet.body()->setSectionHeight(100); // the caption strip below the element
    TSesPrvek* e = sheet.add(report::ekFrame, 10, 10, 101, 51);
    e->element()->PenWidth = 0;
    e->element()->BrushStyle = platform::bsClear;
    sheet.show();
    auto image = [&] {
        return sheet.body()->grab(e->geometry()).toImage().convertToFormat(QImage::Format_RGB32);
    };
    const QImage plain = image();
    const int w = plain.width(), h = plain.height();
    const QRect inside(1, 1, w - 2, h - 2);
    // Unselected: a light outline, nothing inside it.
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            ASSERT_EQ(isInk(plain.pixel(x, y)), !inside.contains(x, y)) << x << "," << y;

    // Selected: the handles are the ink inside the outline, each a filled square exactly where
    // a press finds that handle; the marks are symmetric; the outline darker than before.
    e->setSelectedMark(true);
    const QImage selected = image();
    EXPECT_EQ(selected, selected.mirrored(true, true));
    std::array<QRect, 9> handleBox{};
    std::array<int, 9> handlePixels{};
    int plainOutline = 0, selectedOutline = 0;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const int handle = e->HandleAt({x, y});
            handleBox[handle] |= QRect(x, y, 1, 1);
            ++handlePixels[handle];
            if (inside.contains(x, y)) {
                ASSERT_EQ(isInk(selected.pixel(x, y)), handle != 0) << x << "," << y;
            } else if (handle == 0) {
                plainOutline += qGray(plain.pixel(x, y));
                selectedOutline += qGray(selected.pixel(x, y));
            }
        }
    }
    EXPECT_LT(selectedOutline, plainOutline);
    for (int handle = 1; handle <= 8; ++handle) {
        const QRect box = handleBox[handle];
        EXPECT_EQ(box.width(), box.height()) << handle;
        EXPECT_EQ(box.width() * box.height(), handlePixels[handle]) << handle;
        EXPECT_FALSE(inside.contains(box)) << handle; // on the outline
        EXPECT_EQ(selected.pixel(box.center()), selected.pixel(handleBox[1].center()));
    }

    // In a multiple selection a press takes no handle; the corners are marked, filled on the
    // primary element and hollow on the others, and the sides are not.
    e->setMultiMark(true);
    const QImage primary = image();
    e->setSelectedMark(false);
    const QImage other = image();
    const std::array<int, 4> corners{1, 3, 6, 8};
    for (int y = 1; y < h - 1; ++y) {
        for (int x = 1; x < w - 1; ++x) {
            ASSERT_EQ(e->HandleAt({x, y}), 0);
            const QPoint p(x, y);
            const bool corner = std::any_of(corners.begin(), corners.end(),
                                            [&](int c) { return handleBox[c].contains(p); });
            bool cornerInside = false;
            for (int c : corners)
                cornerInside = cornerInside || handleBox[c].adjusted(1, 1, -1, -1).contains(p);
            ASSERT_EQ(isInk(primary.pixel(p)), corner) << x << "," << y;
            ASSERT_EQ(isInk(other.pixel(p)), corner && !cornerInside) << x << "," << y;
        }
    }
}

TEST(SectionPainting, GridDotsSitOnTheGridAtAnyZoom) {
    // 17 characters per inch across, 6 lines per inch down: steps that are no whole number of
    // pixels, so that a dot placed by adding rounded steps drifts off the grid.
    const double stepX = 100.0 / 17, stepY = 100.0 / 6;
    for (const double zoom : {1.0, 2.0}) {
        SCOPED_TRACE(zoom);
        Sheet sheet(zoom);
        sheet.body()->setSectionHeight(100);
        sheet.body()->SetRastr(true, true, stepX, stepY, true);
        sheet.show();
        const QImage image = sheet.body()->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const int above = image.height() - designer::TOddil::kCaptionHeight;
        // Nearest grid index of a pixel, when the pixel lies within half a pixel of it.
        const auto onGrid = [zoom](int pixel, double step) {
            const long index = std::lround(pixel / (step * zoom));
            return index >= 1 && std::abs(pixel - index * step * zoom) <= 0.5 + 1e-9;
        };
        int dots = 0;
        for (int y = 0; y < above; ++y)
            for (int x = 0; x < image.width(); ++x)
                if (isInk(image.pixel(x, y))) {
                    ++dots;
                    ASSERT_TRUE(onGrid(x, stepX) && onGrid(y, stepY)) << x << "," << y;
                }
        // One dot for every grid point above the caption strip.
        int points = 0;
        for (long i = 1; i * stepY * zoom < above - 0.5; ++i)
            for (long j = 1; j * stepX * zoom < image.width() - 0.5; ++j)
                ++points;
        EXPECT_EQ(dots, points);
    }
}

TEST(SectionPainting, AThreeColumnBodyHatchesAllButItsFirstColumn) {
    const int gap = 20;
    for (const double zoom : {1.0, 1.5}) {
        SCOPED_TRACE(zoom);
        Sheet sheet(zoom);
        designer::TOddil* body = sheet.body();
        body->setSectionHeight(100);
        sheet.show();
        const auto grab = [body] {
            return body->grab().toImage().convertToFormat(QImage::Format_RGB32);
        };
        const QImage single = grab();
        body->setColumns(3, gap);
        const QImage three = grab();
        // A column with the gap after it, three times, less the last gap: the printable width.
        EXPECT_NEAR(3 * body->ColumnWidth() - gap, report::PrintableWidth(), 3);
        const double boundary = body->ColumnWidth() * zoom, gapStart = boundary - gap * zoom;
        const int w = three.width(), h = three.height();
        const int above = h - designer::TOddil::kCaptionHeight;

        // The hatch begins where the first column's gap does; the strip below changes only at
        // the column boundary, where it is marked.
        int hatchStart = w;
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                if (three.pixel(x, y) == single.pixel(x, y)) continue;
                if (y < above)
                    hatchStart = std::min(hatchStart, x);
                else
                    ASSERT_LE(std::abs(x - boundary), 2) << x << "," << y;
            }
        }
        EXPECT_NEAR(hatchStart, gapStart, 1);
        // Light in the gap, darker beyond the boundary: both hatched, not solid.
        const auto shade = [&](int from, int to) {
            long sum = 0, count = 0;
            QSet<QRgb> colours;
            for (int y = 0; y < above; ++y)
                for (int x = from; x < to; ++x, ++count) {
                    sum += qGray(three.pixel(x, y));
                    colours.insert(three.pixel(x, y));
                }
            EXPECT_GE(colours.size(), 2);
            return double(sum) / count;
        };
        const int inGap = int(std::ceil(gapStart)) + 1, atBoundary = int(std::lround(boundary));
        const double light = shade(inGap, atBoundary - 1);
        const double dark = shade(atBoundary + 2, w - 4);
        EXPECT_GT(light, dark + 30);
        bool marked = false;
        for (int x = atBoundary - 2; x <= atBoundary + 2; ++x)
            marked = marked || three.pixel(x, h - 8) != single.pixel(x, h - 8);
        EXPECT_TRUE(marked);
    }
}

TEST(SectionPainting, TheBackgroundPictureFillsItsZoomedPlace) {
    constexpr QRgb blue = qRgb(0, 0, 255);
    QImage bitmap(10, 10, QImage::Format_RGB32);
    bitmap.fill(blue);
    report::TPicture picture;
    picture.setBitmap(bitmap);
    for (const double zoom : {1.0, 2.0}) {
        SCOPED_TRACE(zoom);
        Sheet sheet(zoom);
        sheet.body()->setSectionHeight(100);
        // The rectangle (20, 10)-(60, 30) on the paper, shifted up by 5 for this section.
        sheet.body()->SetPozadi(&picture, {20, 10, 60, 30}, QPoint(0, -5));
        sheet.show();
        const auto blueBox = [&sheet] {
            const QImage image =
                sheet.body()->grab().toImage().convertToFormat(QImage::Format_RGB32);
            QRect box;
            int count = 0;
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x)
                    if (image.pixel(x, y) == blue) {
                        box |= QRect(x, y, 1, 1);
                        ++count;
                    }
            EXPECT_EQ(count, box.width() * box.height()); // one solid rectangle
            return box;
        };
        const QRect box = blueBox();
        EXPECT_NEAR(box.left(), 20 * zoom, 1);
        EXPECT_NEAR(box.top(), 5 * zoom, 1);
        EXPECT_NEAR(box.right() + 1, 60 * zoom, 1);
        EXPECT_NEAR(box.bottom() + 1, 25 * zoom, 1);
        sheet.body()->SetPozadi(nullptr, {}, {});
        EXPECT_TRUE(blueBox().isEmpty());
    }
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

// A picture that cannot be loaded (missing, empty, a folder) is marked in red with its name.
TEST(ElementPainting, APictureThatCannotBeLoadedSaysSoWithItsName) {
    QTemporaryDir folder;
    ASSERT_TRUE(QImage(8, 8, QImage::Format_RGB32).save(folder.filePath(u"ok.bmp"_s), "BMP"));
    ASSERT_TRUE(QFile(folder.filePath(u"prazdny.bmp"_s)).open(QIODevice::WriteOnly));
    Sheet sheet;
    TSesPrvek* e = sheet.add(report::ekPicture, 10, 10, 240, 40);
    const auto shown = [&](const QString& name) {
        e->element()->LoadPicture(folder.filePath(name));
        const QImage image = e->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const auto* pixels = reinterpret_cast<const QRgb*>(image.constBits());
        return std::pair{
            image, std::count(pixels, pixels + image.width() * image.height(), qRgb(255, 0, 0))};
    };
    for (const QString& name : {u"chybi.bmp"_s, u"prazdny.bmp"_s, u"."_s, u"ok.bmp"_s})
        EXPECT_EQ(shown(name).second > 0, name != u"ok.bmp"_s) << name.toStdString();
    EXPECT_NE(shown(u"a.bmp"_s).first, shown(u"jine.bmp"_s).first);
}
