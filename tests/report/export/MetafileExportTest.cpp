// EMF and WMF of the page view: the files' own bookkeeping, what independent readers make of
// them (LibreOffice, libwmf), and our reader playing them back like the page view.

#include "support/ExportFixture.h"

#include "platform/PainterCanvas.h"
#include "report/engine/document/MetafileReader.h"
#include "report/engine/export/EmfWriter.h"
#include "report/engine/export/WmfWriter.h"
#include "report/engine/export/sest_str.h"

#include <QBuffer>
#include <QFile>
#include <QPainter>
#include <QRegularExpression>

#include <gtest/gtest.h>

using namespace report;
using namespace reporttest;

namespace {

quint32 u32(const QByteArray& b, qsizetype o) {
    return quint32(uchar(b[o])) | quint32(uchar(b[o + 1])) << 8 | quint32(uchar(b[o + 2])) << 16 |
           quint32(uchar(b[o + 3])) << 24;
}
int u16(const QByteArray& b, qsizetype o) {
    return uchar(b[o]) | uchar(b[o + 1]) << 8;
}

// A page with every kind the page view draws.
void fillPage(ExportDocument& d, int page = 0) {
    d.text(page, 20, 20, 400, 30, QStringLiteral("Žluťoučký kůň"));
    d.text(page, 20, 60, 400, 30, QStringLiteral("Plain ASCII line"));
    TVoranReportElement* turned = d.element(1, 500, 100, 100, 300, "Rotated");
    turned->Angle = 90;
    d.add(page, turned);
    d.shape(page, 7, 20, 120, 300, 0, 1, soTop)->Source()->PenStyle = 1;
    d.shape(page, 8, 20, 150, 200, 100, 2);
    d.shape(page, 9, 250, 150, 200, 100, 1)->Source()->BrushStyle = 6;
    d.shape(page, 10, 20, 300, 200, 100, 1);
    QImage image(16, 8, QImage::Format_RGB32);
    image.fill(Qt::blue);
    d.picture(page, 250, 300, 160, 80, image);
    d.barcode(page, 20, 450, 300, 100, QStringLiteral("123456"));
}

QByteArray pageBytes(ExportDocument& d, bool enhanced, int page = 0) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(SavePageMetafile(d.doc, buffer, page, false, enhanced));
    return buffer.data();
}

QImage render(const platform::Metafile& m, QSize size) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    platform::PainterCanvas canvas(painter);
    m.Play(canvas, {0, 0, size.width(), size.height()});
    return image;
}

double differingShare(const QImage& a, const QImage& b) {
    qint64 differing = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            if (std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) +
                    std::abs(qBlue(p) - qBlue(q)) >
                96)
                ++differing;
        }
    return double(differing) / (a.width() * a.height());
}

TEST(MetafileExport, EmfRecordsAddUpToTheHeader) {
    ExportDocument d;
    fillPage(d);
    const QByteArray emf = pageBytes(d, true);
    ASSERT_GE(emf.size(), 108);
    EXPECT_EQ(u32(emf, 0), 1u);
    EXPECT_EQ(u32(emf, 40), 0x464D4520u);
    EXPECT_EQ(u32(emf, 48), quint32(emf.size()));
    // The frame in 0.01 mm is the printable area: 727 x 1069 hundredths of an inch by default.
    EXPECT_EQ(u32(emf, 32), quint32(std::lrint(d.doc.PrintableWidth() * 25.4)));
    qsizetype offset = 0;
    quint32 records = 0, last = 0, highestHandle = 0;
    QSet<quint32> types, live;
    while (offset < emf.size()) {
        const quint32 size = u32(emf, offset + 4);
        ASSERT_TRUE(size >= 8 && size % 4 == 0 && offset + size <= emf.size()) << offset;
        last = u32(emf, offset);
        types << last;
        if (last == 38 || last == 39 || last == 82) {
            const quint32 handle = u32(emf, offset + 8);
            EXPECT_FALSE(live.contains(handle)) << "handle in use";
            live << handle;
            highestHandle = std::max(highestHandle, handle);
        } else if (last == 40) {
            EXPECT_TRUE(live.remove(u32(emf, offset + 8))) << "deleting a free handle";
        }
        offset += size;
        ++records;
    }
    EXPECT_EQ(records, u32(emf, 52));
    EXPECT_EQ(last, 14u);
    // Text, pen, brush, font, shapes, picture and the barcode's polygons or rectangles.
    for (quint32 type : {84u, 38u, 39u, 82u, 42u, 43u, 44u, 54u, 81u})
        EXPECT_TRUE(types.contains(type)) << type;
    EXPECT_EQ(quint32(u16(emf, 56)), highestHandle + 1);
    EXPECT_LE(live.size(), 3); // one pen, brush and font at a time
}

TEST(MetafileExport, WmfPlaceableHeaderAndSizes) {
    ExportDocument d;
    fillPage(d);
    const QByteArray wmf = pageBytes(d, false);
    ASSERT_GE(wmf.size(), 40);
    EXPECT_EQ(u32(wmf, 0), 0x9AC6CDD7u);
    int checksum = 0;
    for (int i = 0; i < 10; ++i)
        checksum ^= u16(wmf, 2 * i);
    EXPECT_EQ(u16(wmf, 20), checksum);
    EXPECT_EQ(u16(wmf, 14), 600);
    EXPECT_EQ(u16(wmf, 10), d.doc.PrintableWidth() * 6);
    EXPECT_EQ(qsizetype(u32(wmf, 22 + 6)) * 2, wmf.size() - 22);
    qsizetype offset = 40;
    int largest = 0, function = -1;
    while (offset < wmf.size()) {
        const qsizetype words = u32(wmf, offset);
        ASSERT_GE(words, 3);
        function = u16(wmf, offset + 4);
        largest = std::max(largest, int(words));
        offset += words * 2;
    }
    EXPECT_EQ(offset, wmf.size());
    EXPECT_EQ(function, 0);
    EXPECT_EQ(qsizetype(u32(wmf, 22 + 12)), largest);
}

// Both formats read back with their Czech text and play like the page view.
TEST(MetafileExport, ReaderPlaysBothFormatsLikeThePageView) {
    ExportDocument d;
    fillPage(d);
    d.doc.ShowPage(0);
    const QSize size(d.doc.PrintableWidth(), d.doc.PrintableHeight());
    const QImage view = render(d.doc.PageView(), size);
    for (bool enhanced : {true, false}) {
        platform::Metafile read;
        ASSERT_TRUE(ReadMetafile(pageBytes(d, enhanced), read)) << enhanced;
        EXPECT_EQ(read.width() * 600 / read.unitsPerInch(), d.doc.PageView().width());
        const QImage back = render(read, size);
        EXPECT_LT(differingShare(view, back), 0.002) << enhanced;
        EXPECT_TRUE(read.dump().contains(QStringLiteral("\"Žluťoučký kůň\""))) << enhanced;
        // TPicture loads the files through the reader.
        QTemporaryDir dir;
        const QString path = dir.filePath(enhanced ? "p.emf" : "p.wmf");
        ASSERT_TRUE(SavePageMetafileFile(d.doc, path, 0, false, enhanced));
        TPicture picture;
        ASSERT_TRUE(picture.LoadFromFile(path));
        EXPECT_EQ(picture.kind(), TPicture::Kind::Metafile);
    }
}

// WMF text is 8-bit: what the font's code page lacks becomes "?".
TEST(MetafileExport, WmfTextIsEncodedForTheFontsCharset) {
    EXPECT_EQ(EncodeForCharset(QStringLiteral("aΩ€"), 238), QByteArray("a?\x80"));
    EXPECT_EQ(EncodeForCharset(QStringLiteral("Ж😀"), 204), QByteArray("\xC6?"));
}

TEST(MetafileExport, PagesBeyondSixteenBitsAreScaledInWmf) {
    platform::Metafile tall(600 * 10, 600 * 60, 600);
    platform::RecordingCanvas canvas(tall);
    canvas.Rectangle({600, 600 * 55, 1200, 600 * 59});
    const QByteArray wmf = WriteWmf(tall);
    const int inch = u16(wmf, 14);
    EXPECT_LT(inch, 600);
    EXPECT_EQ(600 % inch, 0);
    platform::Metafile read;
    ASSERT_TRUE(ReadMetafile(wmf, read));
    EXPECT_EQ(read.height() / read.unitsPerInch(), 60);
    EXPECT_TRUE(read.dump().contains(QStringLiteral("rectangle %1,%2,%3,%4")
                                         .arg(600 / (600 / inch))
                                         .arg(600 * 55 / (600 / inch))
                                         .arg(1200 / (600 / inch))
                                         .arg(600 * 59 / (600 / inch))))
        << read.dump().toStdString();
}

// A WMF font's turn has 16 bits: a text turned by more than a full circle keeps its angle.
TEST(MetafileExport, WmfKeepsTheAngleOfTextTurnedBeyondAFullCircle) {
    for (const int escapement : {3600 * 1000 + 900, -3600 * 20 - 450, 2700}) {
        platform::Metafile page(600, 600, 600);
        platform::RecordingCanvas canvas(page);
        platform::TFont font;
        font.height = 40;
        font.escapement = escapement;
        canvas.SetFont(font);
        canvas.TextOut(300, 300, QStringLiteral("turned"));
        platform::Metafile read;
        ASSERT_TRUE(ReadMetafile(WriteWmf(page), read));
        const QRegularExpressionMatch turn =
            QRegularExpression(QStringLiteral("escapement=(-?\\d+)")).match(read.dump());
        ASSERT_TRUE(turn.hasMatch()) << read.dump().toStdString();
        const int tenths = turn.captured(1).toInt();
        EXPECT_EQ((escapement - tenths) % 3600, 0) << escapement << " read as " << tenths;
    }
}

TEST(MetafileExport, ReaderRefusesDamagedFilesWithoutCrashing) {
    ExportDocument d;
    fillPage(d);
    for (bool enhanced : {true, false}) {
        const QByteArray good = pageBytes(d, enhanced);
        for (qsizetype cut = 0; cut < good.size();
             cut += std::max<qsizetype>(1, good.size() / 300)) {
            platform::Metafile m;
            EXPECT_FALSE(ReadMetafile(good.left(cut), m)) << cut;
        }
        QByteArray flipped = good;
        for (qsizetype i = 40; i < flipped.size(); i += 97) {
            flipped[i] = char(flipped[i] ^ 0x5A);
            platform::Metafile m;
            ReadMetafile(flipped, m); // any answer, no crash
        }
    }
    platform::Metafile m;
    EXPECT_FALSE(ReadMetafile(QByteArray("not a metafile"), m));
}

TEST(MetafileExport, InvalidPageWritesNothing) {
    ExportDocument d;
    fillPage(d);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    EXPECT_FALSE(SavePageMetafile(d.doc, buffer, 1, false, true));
    EXPECT_FALSE(SavePageMetafile(d.doc, buffer, -1, false, false));
    EXPECT_TRUE(buffer.data().isEmpty());
    QTemporaryDir dir;
    EXPECT_FALSE(SavePageMetafileFile(d.doc, dir.filePath("x.emf"), 3, false, true));
    EXPECT_FALSE(QFile::exists(dir.filePath("x.emf")));
}

TEST(MetafileExport, LibreOfficeAndLibwmfReadTheTexts) {
    ExportDocument d;
    fillPage(d);
    fillPage(d, 1);
    QTemporaryDir dir;
    ASSERT_TRUE(SaveAllPagesMetafile(d.doc, dir.filePath("Report.emf"), ".emf", false, true));
    ASSERT_TRUE(SaveAllPagesMetafile(d.doc, dir.filePath("Report.wmf"), ".wmf", false, false));
    ASSERT_TRUE(QFile::exists(dir.filePath("Report2.emf")));

    const QString svg = convertWithOffice(dir.filePath("Report1.emf"), "svg", dir.filePath("lo"));
    ASSERT_FALSE(svg.isEmpty());
    QFile lo(svg);
    ASSERT_TRUE(lo.open(QIODevice::ReadOnly));
    const QString loText = QString::fromUtf8(lo.readAll());
    EXPECT_TRUE(loText.contains(QStringLiteral("Žluťoučký"))) << "LibreOffice SVG";
    EXPECT_TRUE(loText.contains(QStringLiteral("Plain ASCII line")));

    const QString out = dir.filePath("wmf.svg");
    const ToolResult r = runTool("wmf2svg", {"-o", out, dir.filePath("Report1.wmf")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    QFile wmf(out);
    ASSERT_TRUE(wmf.open(QIODevice::ReadOnly));
    // libwmf places every character by its advance, one <text> each, and passes the 8-bit
    // bytes through: the ASCII texts read in order without blanks.
    const QString wmfSvg = QString::fromLatin1(wmf.readAll());
    QString characters;
    QRegularExpressionMatchIterator it =
        QRegularExpression("<text[^>]*>\\s*([^<]*?)\\s*</text>").globalMatch(wmfSvg);
    while (it.hasNext())
        characters += it.next().captured(1);
    EXPECT_TRUE(characters.contains("PlainASCIIline")) << characters.toStdString();
    EXPECT_TRUE(characters.contains("Rotated"));
    EXPECT_TRUE(characters.contains("123456"));
    EXPECT_TRUE(wmfSvg.contains("<ellipse"));
}

} // namespace
