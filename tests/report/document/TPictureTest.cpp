// Pictures load by content: JPEG through our decoder against an independent encoder's files,
// BMP and ICO through Qt, metafiles through the installed reader; damaged data never crashes.

#include "report/engine/document/TPicture.h"
#include "TestFiles.h"
#include "platform/RecordingCanvas.h"
#include "report/engine/export/EmfWriter.h"

#include <QBuffer>
#include <QFile>
#include <QImageWriter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using report::TPicture;

namespace {

QByteArray readData(const char* name) {
    return readFile(QStringLiteral(KOLV_TEST_DATA_DIR "/") + name);
}

QImage quadrants() {
    QImage image(16, 16, QImage::Format_RGB32);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            image.setPixelColor(
                x, y, y < 8 ? (x < 8 ? Qt::red : Qt::green) : (x < 8 ? Qt::blue : Qt::white));
    return image;
}

QByteArray encoded(const QImage& image, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(image.save(&buffer, format));
    return bytes;
}

void expectNear(const QImage& image, int x, int y, QColor expected) {
    const QColor c = image.pixelColor(x, y);
    EXPECT_NEAR(c.red(), expected.red(), 40) << x << "," << y;
    EXPECT_NEAR(c.green(), expected.green(), 40) << x << "," << y;
    EXPECT_NEAR(c.blue(), expected.blue(), 40) << x << "," << y;
}

} // namespace

TEST(TPicture, JpegInRgbGreyAndCmykDecodesToTheEncodedColours) {
    for (const char* name : {"quadrants_rgb.jpg", "quadrants_cmyk.jpg"}) {
        TPicture picture;
        ASSERT_TRUE(picture.LoadFromBytes(readData(name))) << name;
        ASSERT_EQ(picture.kind(), TPicture::Kind::Bitmap);
        EXPECT_EQ(picture.Width(), 16);
        EXPECT_EQ(picture.Height(), 16);
        expectNear(picture.bitmap(), 3, 3, Qt::red);
        expectNear(picture.bitmap(), 12, 3, Qt::green);
        expectNear(picture.bitmap(), 3, 12, Qt::blue);
        expectNear(picture.bitmap(), 12, 12, Qt::white);
    }
    TPicture grey;
    ASSERT_TRUE(grey.LoadFromBytes(readData("quadrants_gray.jpg")));
    // Luma of red, lime, blue, white: 0.299, 0.587, 0.114, 1.
    expectNear(grey.bitmap(), 3, 3, QColor(76, 76, 76));
    expectNear(grey.bitmap(), 12, 3, QColor(150, 150, 150));
    expectNear(grey.bitmap(), 3, 12, QColor(29, 29, 29));
    expectNear(grey.bitmap(), 12, 12, Qt::white);
}

TEST(TPicture, BmpAndIcoLoadThroughQtWhateverTheFileIsCalled) {
    const QImage source = quadrants();
    QTemporaryDir dir;
    for (const char* format : {"bmp", "ico"}) {
        // The name says JPEG; the content decides.
        const QString path = dir.filePath(QStringLiteral("picture_%1.jpg").arg(format));
        ASSERT_TRUE(writeFile(path, encoded(source, format)));
        TPicture picture;
        ASSERT_TRUE(picture.LoadFromFile(path)) << format;
        EXPECT_EQ(picture.bitmap().convertToFormat(QImage::Format_RGB32), source) << format;
    }
}

TEST(TPicture, DamagedOrUnknownDataGivesNoPicture) {
    QByteArray jpeg = readData("quadrants_rgb.jpg");
    // The frame header claims 65000 x 65000 pixels: refused before any allocation.
    const qsizetype sof = jpeg.indexOf("\xFF\xC0");
    ASSERT_GT(sof, 0);
    QByteArray huge = jpeg;
    huge[sof + 5] = char(0xFD), huge[sof + 6] = char(0xE8), huge[sof + 7] = char(0xFD),
               huge[sof + 8] = char(0xE8);
    QByteArray junk = QByteArray("\xFF\xD8\xFF\xE0", 4) + QByteArray(200, 'x');
    const QByteArray cut = jpeg.left(40);
    QTemporaryDir dir;
    for (const QByteArray& bytes :
         {huge, junk, cut, QByteArray("BM"), QByteArray("hello"), QByteArray()}) {
        TPicture picture;
        picture.setBitmap(quadrants());
        EXPECT_FALSE(picture.LoadFromBytes(bytes));
        EXPECT_TRUE(picture.isEmpty());
        EXPECT_EQ(picture.Width(), 0);
    }
    TPicture missing;
    EXPECT_FALSE(missing.LoadFromFile(dir.filePath("none.bmp")));
}

// Every cut and every corrupted byte of real JPEG files: a picture of the header's size or no
// picture, never a crash or a read outside the data (the sanitizer build checks).
TEST(TPicture, CutAndCorruptedJpegNeverCrash) {
    for (const char* name : {"quadrants_rgb.jpg", "quadrants_gray.jpg", "quadrants_cmyk.jpg"}) {
        const QByteArray jpeg = readData(name);
        for (qsizetype length = 0; length < jpeg.size(); ++length) {
            TPicture picture;
            if (picture.LoadFromBytes(jpeg.left(length))) {
                EXPECT_EQ(picture.Width(), 16);
            }
        }
        for (qsizetype i = 0; i < jpeg.size(); ++i) {
            QByteArray damaged = jpeg;
            damaged[i] = char(damaged[i] ^ 0x5A);
            TPicture picture;
            if (picture.LoadFromBytes(damaged)) {
                EXPECT_GT(picture.Width(), 0);
            }
        }
    }
}

// Puts a metafile reader in place for its scope, and the one it replaced back after it, so that
// the tests after this one read metafiles as the program does.
class ScopedMetafileReader {
public:
    explicit ScopedMetafileReader(TPicture::MetafileReader reader)
        : m_previous(TPicture::setMetafileReader(std::move(reader))) {}
    ~ScopedMetafileReader() { TPicture::setMetafileReader(std::move(m_previous)); }
    ScopedMetafileReader(const ScopedMetafileReader&) = delete;
    ScopedMetafileReader& operator=(const ScopedMetafileReader&) = delete;

private:
    TPicture::MetafileReader m_previous;
};

TEST(TPicture, MetafilesLoadThroughTheInstalledReader) {
    QByteArray emf(64, '\0');
    emf[0] = 1;
    emf.replace(40, 4, " EMF");
    // A page of our own EMF writer, which the program's reader reads.
    platform::Metafile drawn(1200, 600, 600);
    platform::RecordingCanvas canvas(drawn);
    canvas.Rectangle({60, 60, 600, 300});
    const QByteArray page = report::WriteEmf(drawn);
    TPicture picture;
    ASSERT_TRUE(picture.LoadFromBytes(page));
    EXPECT_FALSE(picture.LoadFromBytes(emf)); // no EMF the program can read
    {
        const ScopedMetafileReader none({});
        EXPECT_FALSE(picture.LoadFromBytes(page)); // no reader: no picture
    }
    {
        const ScopedMetafileReader fake([](const QByteArray&, platform::Metafile& out) {
            out = platform::Metafile(1200, 600, 600);
            return true;
        });
        ASSERT_TRUE(picture.LoadFromBytes(emf));
        EXPECT_EQ(picture.kind(), TPicture::Kind::Metafile);
        EXPECT_EQ(picture.Width(), 200); // hundredths of an inch
        EXPECT_EQ(picture.Height(), 100);
    }
    // The program's reader is back.
    EXPECT_TRUE(picture.LoadFromBytes(page));
    EXPECT_FALSE(picture.LoadFromBytes(emf));
}
