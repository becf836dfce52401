// Pictures no writer of ours would make, built record by record: frames out of all proportion
// are refused, numbers beyond what a page can show are held within reach, and what loads shows
// in the preview, prints and exports to EMF, WMF and HTML with no crash and no overflow. The
// preview paints through Qt's raster engine as the program does; the glyph cache there crashed
// on the first picture below.

#include "support/ExportFixture.h"
#include "support/MetafileBytes.h"

#include "platform/MessageSink.h"
#include "report/engine/document/MetafileReader.h"
#include "report/engine/document/sestvyst_print.h"
#include "report/engine/export/sest_str.h"
#include "report/engine/ui/sestp.h"

#include <QBuffer>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <climits>

using namespace report;
using namespace reporttest;

namespace {

struct Hostile {
    const char* what;
    QByteArray bytes;
};

std::vector<Hostile> loadable() {
    return {
        // A picture one unit wide and 1001 high shown in a square: its text is stretched 800
        // to 0.8, the stretch at which Qt's glyph rasteriser failed.
        {"text stretched 1000 times more across than down",
         EmfBytes(0, 0, 0, 1000).font(1).text(0, 0, QStringLiteral("Hello World"), 1).bytes()},
        {"a font as high as int allows",
         EmfBytes(0, 0, 399, 199).font(INT_MAX).text(10, 10, QStringLiteral("Hi"), 50).bytes()},
        {"a font of height INT_MIN",
         EmfBytes(0, 0, 399, 199).font(INT_MIN).text(10, 10, QStringLiteral("Hi"), 50).bytes()},
        {"text turned by INT_MIN tenths of a degree",
         EmfBytes(0, 0, 399, 199).font(20, INT_MIN).text(200, 100, "turned", 50).bytes()},
        {"text turned by INT_MAX tenths of a degree",
         EmfBytes(0, 0, 399, 199).font(20, INT_MAX).text(200, 100, "turned", 50).bytes()},
        {"every number at the ends of int", EmfBytes(0, 0, 399, 199)
                                                .pen(INT_MAX)
                                                .rectangle(INT_MIN, INT_MIN, INT_MAX, INT_MAX)
                                                .polygon({{INT_MIN, 0}, {INT_MAX, INT_MAX}})
                                                .font(20)
                                                .text(INT_MAX, INT_MIN, "far", INT_MAX)
                                                .bitmap(INT_MAX, INT_MAX, INT_MAX, INT_MAX)
                                                .bitmap(-5, -5, INT_MAX, 3)
                                                .bytes()},
        {"a WMF one unit wide and 32000 high with text",
         WmfBytes(0, 0, 1, 32000, 1440).font(1).text(0, 0, "Hello World", 1).bytes()},
        {"a WMF font of 32767 units in a frame of 100",
         WmfBytes(0, 0, 100, 100, 1440).font(32767).text(0, 0, "Hi", 30000).bytes()},
    };
}

std::vector<Hostile> refused() {
    return {
        {"a frame over the whole of int", EmfBytes(INT_MIN, INT_MIN, INT_MAX, INT_MAX).bytes()},
        {"a frame whose right end wraps past int", EmfBytes(INT_MAX, 0, INT_MIN, 10).bytes()},
        {"a frame 2^31 units wide", EmfBytes(-(1 << 30), 0, (1 << 30) - 1, 99).bytes()},
        {"an empty frame", EmfBytes(10, 10, 9, 20).font(10).text(0, 0, "x", 5).bytes()},
        {"a WMF with no size", WmfBytes(0, 0, 0, 0, 1440).font(10).text(0, 0, "x", 5).bytes()},
        {"a WMF whose window has no size",
         WmfBytes(5, 5, 5, 5, 1440).windowExtent(0, -3).text(0, 0, "x", 5).bytes()},
    };
}

// Every integer of the recording's dump.
QList<qint64> numbersOf(const platform::Metafile& metafile) {
    QList<qint64> numbers;
    static const QRegularExpression number(QStringLiteral("-?\\d+"));
    for (const auto& m : number.globalMatch(metafile.dump()))
        numbers << m.captured().toLongLong();
    return numbers;
}

// A picture element of page 1 showing `bytes`, stretched over its rectangle or at its size.
void addPicture(ExportDocument& d, QRect at, const QByteArray& bytes, bool stretched) {
    TVoranReportElement* e = d.element(11, at.x(), at.y(), at.width(), at.height());
    e->Options = stretched ? 16 : 0;
    TPicture picture;
    ASSERT_TRUE(picture.LoadFromBytes(bytes));
    d.add(0, e)->SetPicture(&picture);
}

// How many pixels of `area` of the image are dark.
int darkPixels(const QImage& image, QRect area) {
    int dark = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            dark += image.valid(x, y) && qGray(image.pixel(x, y)) < 128;
    return dark;
}

} // namespace

TEST(HostilePictures, FramesOutOfAllProportionAreRefused) {
    for (const Hostile& h : refused()) {
        platform::Metafile metafile;
        EXPECT_FALSE(ReadMetafile(h.bytes, metafile)) << h.what;
        TPicture picture;
        EXPECT_FALSE(picture.LoadFromBytes(h.bytes)) << h.what;
        EXPECT_TRUE(picture.isEmpty()) << h.what;
    }
}

// Whatever a record says, the recording's numbers keep far enough from the ends of int that
// their sides, sums and differences do not overflow, and a picture's size is never negative.
TEST(HostilePictures, RecordNumbersAreHeldWithinReach) {
    for (const Hostile& h : loadable()) {
        platform::Metafile metafile;
        ASSERT_TRUE(ReadMetafile(h.bytes, metafile)) << h.what;
        EXPECT_GT(metafile.width(), 0) << h.what;
        EXPECT_GT(metafile.height(), 0) << h.what;
        for (const qint64 n : numbersOf(metafile))
            EXPECT_LT(std::abs(n), qint64(1) << 30) << h.what;
        TPicture picture;
        ASSERT_TRUE(picture.LoadFromBytes(h.bytes)) << h.what;
        EXPECT_GE(picture.Width(), 0) << h.what;
        EXPECT_GE(picture.Height(), 0) << h.what;
    }
}

// A turn of more than a full circle is read as the same turn within one circle.
TEST(HostilePictures, TurnsBeyondAFullCircleAreTheSameTurn) {
    for (const qint64 escapement : {qint64(INT_MIN), qint64(INT_MAX), qint64(3600 * 7 + 450)}) {
        platform::Metafile metafile;
        ASSERT_TRUE(ReadMetafile(
            EmfBytes(0, 0, 99, 99).font(10, escapement).text(5, 5, "x", 5).bytes(), metafile));
        const QRegularExpression turn(QStringLiteral("escapement=(-?\\d+)"));
        const QRegularExpressionMatch read = turn.match(metafile.dump());
        ASSERT_TRUE(read.hasMatch()) << metafile.dump().toStdString();
        const qint64 tenths = read.captured(1).toLongLong();
        EXPECT_LT(std::abs(tenths), 3600) << escapement;
        EXPECT_EQ((escapement - tenths) % 3600, 0) << escapement;
    }
}

// One page holding each picture stretched and at its own size, and a word drawn after them.
TEST(HostilePictures, APageWithThemPreviewsPrintsAndExports) {
    ExportDocument d;
    int top = 50;
    for (const Hostile& h : loadable()) {
        addPicture(d, {50, top, 300, 60}, h.bytes, true);
        addPicture(d, {400, top, 300, 60}, h.bytes, false);
        top += 100;
    }
    const QRect word(100, top, 300, 40);
    d.text(0, word.x(), word.y(), word.width(), word.height(), QStringLiteral("Kontrola"));
    const QSize sheet(826, 1169);
    const int margin = 50;
    d.doc.SetPageLayout({sheet.width(), sheet.height(), margin, margin, margin, margin});
    d.doc.SetPageRange(1, 9999, 0, 1);

    TFormSestP preview;
    platform::MessageRecorder messages;
    preview.setMessageSink(&messages);
    preview.SetDocument(&d.doc);
    preview.show();
    for (int step : {TFormSestP::DefaultZoomStep, TFormSestP::ZoomStepCount - 1}) {
        preview.SetZoom(step);
        const QImage page = preview.panel()->grab().toImage();
        // The word's place on the sheet at this zoom, inside the margins.
        const double zoom = page.width() / double(sheet.width());
        const QRect shown = QRectF(QRectF(word).translated(margin, margin).topLeft() * zoom,
                                   QSizeF(word.size()) * zoom)
                                .toRect();
        EXPECT_GT(darkPixels(page, shown), 20) << "zoom step " << step;
    }

    {
        TestPrinter printer;
        ASSERT_TRUE(PrintGraphic(d.doc, 1, 1, QStringLiteral("hostile"), 1));
        ASSERT_EQ(printer.pdfs().size(), 1);
        const ToolResult text = runTool("pdftotext", {printer.path(printer.pdfs().first()), "-"});
        EXPECT_TRUE(text.out.contains("Kontrola")) << text.out.toStdString();
    }

    for (const bool enhanced : {true, false}) {
        QBuffer file;
        file.open(QIODevice::WriteOnly);
        ASSERT_TRUE(SavePageMetafile(d.doc, file, 0, false, enhanced)) << enhanced;
        platform::Metafile back;
        ASSERT_TRUE(ReadMetafile(file.data(), back)) << enhanced;
        EXPECT_TRUE(back.dump().contains(QStringLiteral("\"Kontrola\""))) << enhanced;
    }
    QTemporaryDir dir;
    EXPECT_TRUE(SaveAllPagesHTML(d.doc, dir.filePath(QStringLiteral("hostile.html"))));
}
