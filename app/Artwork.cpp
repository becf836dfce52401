#include "app/Artwork.h"

#include "app/PageStyle.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

namespace artwork {

namespace {

using pagestyle::kNavy;
const QColor kDeepNavy(0, 0, 72);
const QColor kSteel(70, 110, 190);

QPixmap transparentPixmap(QSize size) {
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

} // namespace

QPixmap pageBackground(QSize size, bool startPage) {
    QPixmap pixmap(size);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient body(0, 0, 0, size.height());
    body.setColorAt(0, kNavy);
    body.setColorAt(1, kDeepNavy);
    p.fillRect(pixmap.rect(), body);

    // Gentle waves along the bottom: the program is about water.
    p.setPen(QPen(QColor(40, 70, 160), 1.2));
    for (int wave = 0; wave < 4; ++wave) {
        QPainterPath path;
        const double base = size.height() - 12.0 - wave * 9.0;
        path.moveTo(0, base);
        for (int x = 0; x <= size.width(); x += 40) {
            path.quadTo(x + 10, base - 5, x + 20, base);
            path.quadTo(x + 30, base + 5, x + 40, base);
        }
        p.drawPath(path);
    }
    if (startPage) {
        p.setPen(Qt::NoPen);
        for (int i = 0; i < 3; ++i) {
            QPainterPath drop;
            const double cx = size.width() - 70.0 + i * 22.0, top = 40.0 + i * 18.0;
            drop.moveTo(cx, top);
            drop.cubicTo(cx + 14, top + 22, cx + 10, top + 34, cx, top + 34);
            drop.cubicTo(cx - 10, top + 34, cx - 14, top + 22, cx, top);
            p.setBrush(QColor(90, 150, 230, 150 - i * 30));
            p.drawPath(drop);
        }
    } else {
        QLinearGradient band(0, 0, 0, 30);
        band.setColorAt(0, kSteel);
        band.setColorAt(1, kNavy);
        p.fillRect(QRect(0, 0, size.width(), 30), band);
        p.setPen(QColor(150, 180, 240));
        p.drawLine(0, 30, size.width(), 30);
    }
    p.setPen(QColor(150, 180, 240));
    p.setBrush(Qt::NoBrush);
    p.drawRect(pixmap.rect().adjusted(0, 0, -1, -1));
    return pixmap;
}

QPixmap exitImage() {
    QPixmap pixmap = transparentPixmap({22, 22});
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(230, 230, 255), 1.5));
    p.setBrush(QColor(170, 40, 40));
    p.drawEllipse(QRectF(1.5, 1.5, 19, 19));
    p.setPen(QPen(Qt::white, 2.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(7, 7), QPointF(15, 15));
    p.drawLine(QPointF(15, 7), QPointF(7, 15));
    return pixmap;
}

QPixmap languageImage(int language) {
    const QRectF flag(1, 1, 70, 46);
    QPixmap pixmap = transparentPixmap({72, 48});
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    if (language == 0) {
        // White over red with a blue wedge from the hoist.
        p.fillRect(QRectF(flag.x(), flag.y(), flag.width(), flag.height() / 2), Qt::white);
        p.fillRect(QRectF(flag.x(), flag.center().y(), flag.width(), flag.height() / 2),
                   QColor(215, 20, 26));
        p.setBrush(QColor(17, 69, 126));
        p.drawPolygon(QPolygonF(
            {flag.topLeft(), QPointF(flag.center().x(), flag.center().y()), flag.bottomLeft()}));
    } else {
        // Blue field with white and red crosses and diagonals.
        p.fillRect(flag, QColor(1, 33, 105));
        p.setPen(QPen(Qt::white, 9));
        p.drawLine(flag.topLeft(), flag.bottomRight());
        p.drawLine(flag.bottomLeft(), flag.topRight());
        p.setPen(QPen(QColor(200, 16, 46), 3));
        p.drawLine(flag.topLeft(), flag.bottomRight());
        p.drawLine(flag.bottomLeft(), flag.topRight());
        p.setPen(QPen(Qt::white, 14));
        p.drawLine(QPointF(flag.center().x(), flag.top()),
                   QPointF(flag.center().x(), flag.bottom()));
        p.drawLine(QPointF(flag.left(), flag.center().y()),
                   QPointF(flag.right(), flag.center().y()));
        p.setPen(QPen(QColor(200, 16, 46), 8));
        p.drawLine(QPointF(flag.center().x(), flag.top()),
                   QPointF(flag.center().x(), flag.bottom()));
        p.drawLine(QPointF(flag.left(), flag.center().y()),
                   QPointF(flag.right(), flag.center().y()));
    }
    p.setPen(QPen(QColor(200, 210, 240), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(flag);
    return pixmap;
}

QPixmap aboutOpenerImage(int set) {
    QPixmap pixmap = transparentPixmap({30, 30});
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(200, 210, 255), 1.5));
    p.setBrush(QColor(40, 80, 170));
    p.drawEllipse(QRectF(1.5, 1.5, 27, 27));
    QFont font("DejaVu Sans");
    font.setPixelSize(14);
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRectF(0, 0, 30, 30), Qt::AlignCenter, QString("i%1").arg(set));
    return pixmap;
}

} // namespace artwork
