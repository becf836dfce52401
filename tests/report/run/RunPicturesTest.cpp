// Pictures of a run: a file named in the record section is decoded once, and every record's
// element and every page that draws one show that one image.

#include "support/ReportFixture.h"

#include "report/engine/document/sestvyst.h"

#include <QImage>
#include <QSet>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace report;
using namespace reporttest;

namespace {

// The images every page draws, page by page.
QList<QImage> drawnImages(TSestVystup& doc) {
    QList<QImage> images;
    for (int page = 0; page < doc.PageCount(); ++page) {
        doc.ShowPage(page);
        for (const platform::MetaRecord& record : doc.PageView().records())
            if (const auto* bitmap = std::get_if<platform::meta::Bitmap>(&record))
                images << bitmap->image;
    }
    return images;
}

} // namespace

// With the template's picture and with a copy of its own for every record (option 64); a file
// changed before the next run is read again.
TEST(RunPictures, APictureIsDecodedOnceARunAndSharedByEveryDraw) {
    QTemporaryDir dir;
    const QString file = dir.filePath("photo.bmp");
    std::vector<QStringList> rows;
    for (int i = 1; i <= 12; ++i)
        rows.push_back({QString::number(i)});
    for (const int options : {16, 16 | 64}) {
        SCOPED_TRACE(options);
        TableReport t({QStringLiteral("Vel1")}, rows);
        t.setTemplate(
            {paperLine(827, 1169, 50), sectionLine(2, true, 300),
             QStringLiteral("T,11,0,0,0,200,150,,1,0,0,%1,15,0,\"%2\"").arg(options).arg(file)});
        for (const QColor colour : {QColor(Qt::red), QColor(Qt::blue)}) {
            QImage picture(40, 30, QImage::Format_RGB32);
            picture.fill(colour);
            ASSERT_TRUE(picture.save(file, "BMP"));
            ASSERT_EQ(t.report.Generate(true), 0);
            ASSERT_GT(t.report.Vystup().PageCount(), 2);
            const QList<QImage> drawn = drawnImages(t.report.Vystup());
            ASSERT_EQ(drawn.size(), 12);
            QSet<qint64> decoded;
            for (const QImage& image : drawn)
                decoded.insert(image.cacheKey());
            EXPECT_EQ(decoded.size(), 1);
            EXPECT_EQ(drawn.first().pixelColor(5, 5), colour);
        }
    }
}
