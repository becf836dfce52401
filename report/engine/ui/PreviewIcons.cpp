#include "report/engine/ui/PreviewIcons.h"

#include <QPainter>
#include <QPixmap>

namespace report {

namespace {

// The printer on a 32 x 32 grid, scaled to `size`.
QPixmap printerPixmap(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 32.0, size / 32.0);
    const QPen outline(QColor(40, 40, 40), 1.5);
    painter.setPen(outline);
    // The sheet waiting at the back.
    painter.setBrush(Qt::white);
    painter.drawRect(QRectF(9, 3, 14, 10));
    // The body with its paper slot and a lamp.
    painter.setBrush(QColor(120, 128, 140));
    painter.drawRoundedRect(QRectF(3, 12, 26, 12), 2, 2);
    painter.setBrush(QColor(60, 200, 90));
    painter.drawEllipse(QRectF(23.5, 15, 3, 3));
    // The printed sheet coming out at the front, with lines of text.
    painter.setBrush(Qt::white);
    painter.drawRect(QRectF(8, 20, 16, 10));
    painter.setPen(QPen(QColor(90, 90, 90), 1.2));
    for (double y : {23.5, 26.5})
        painter.drawLine(QPointF(11, y), QPointF(21, y));
    return pixmap;
}

} // namespace

QIcon PrinterIcon() {
    QIcon icon;
    for (int size : {16, 24, 32, 48})
        icon.addPixmap(printerPixmap(size));
    return icon;
}

} // namespace report
