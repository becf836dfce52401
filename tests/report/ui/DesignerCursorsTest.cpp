// The designer's cursors: 21 different images with the hot spot at the arrow's tip.

#include "report/engine/ui/DesignerCursors.h"

#include <QImage>
#include <QPainter>
#include <QPixmap>

#include <gtest/gtest.h>

namespace report {
namespace {

TEST(DesignerCursors, TwentyOneDistinctCursorsPointingWithTheirTip) {
    EXPECT_EQ(DesignerCursorNames().size(), DesignerCursorCount);
    EXPECT_EQ(DesignerCursorNames().first(), "CURSOR_INS");
    EXPECT_EQ(DesignerCursorNames().last(), "CURSOR_DET");
    LoadDesignerCursors();
    QList<QImage> images;
    for (int slot = 1; slot <= DesignerCursorCount; ++slot) {
        const QCursor cursor = DesignerCursor(slot);
        ASSERT_EQ(cursor.shape(), Qt::BitmapCursor) << slot;
        EXPECT_EQ(cursor.hotSpot(), QPoint(0, 0)) << slot;
        const QImage image = cursor.pixmap().toImage();
        ASSERT_EQ(image.size(), QSize(32, 32)) << slot;
        EXPECT_GT(qAlpha(image.pixel(0, 0)), 0) << slot;  // the tip
        EXPECT_EQ(qAlpha(image.pixel(31, 0)), 0) << slot; // transparent around
        for (const QImage& other : images)
            EXPECT_NE(image, other) << slot;
        images.append(image);
    }
    // A sheet of all cursors, for looking at them.
    if (qEnvironmentVariableIsSet("KOLV_CURSOR_SHEET")) {
        QImage sheet(21 * 40, 40, QImage::Format_RGB32);
        sheet.fill(QColor(200, 210, 230));
        QPainter painter(&sheet);
        for (int i = 0; i < images.size(); ++i)
            painter.drawImage(i * 40 + 4, 4, images[i]);
        painter.end();
        sheet.scaled(sheet.size() * 2).save(qEnvironmentVariable("KOLV_CURSOR_SHEET"));
    }
}

TEST(DesignerCursors, OtherSlotsGiveTheArrow) {
    for (int slot : {0, 22, -1})
        EXPECT_EQ(DesignerCursor(slot).shape(), Qt::ArrowCursor) << slot;
}

} // namespace
} // namespace report
