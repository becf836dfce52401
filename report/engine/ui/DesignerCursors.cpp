#include "report/engine/ui/DesignerCursors.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <array>
#include <functional>

namespace report {
namespace {

constexpr int size = 32;

constexpr std::array<const char*, DesignerCursorCount> names{
    "CURSOR_INS",  "CURSOR_DB",   "CURSOR_LB",   "CURSOR_PAR",  "CURSOR_FN",   "CURSOR_DATE",
    "CURSOR_TIME", "CURSOR_CISR", "CURSOR_CISS", "CURSOR_CELK", "CURSOR_CRSK", "CURSOR_CISK",
    "CURSOR_TEXT", "CURSOR_CARA", "CURSOR_RAM0", "CURSOR_RAM1", "CURSOR_RAM2", "CURSOR_OBR",
    "CURSOR_BARC", "CURSOR_PBOX", "CURSOR_DET"};

// The sign's area below right of the arrow.
const QRect signArea(13, 14, 18, 16);

void drawArrow(QPainter& p) {
    const QPolygon arrow({QPoint(0, 0), QPoint(0, 15), QPoint(4, 11), QPoint(7, 17), QPoint(9, 16),
                          QPoint(6, 10), QPoint(11, 10)});
    p.setPen(QPen(Qt::white, 1));
    p.setBrush(Qt::black);
    p.drawPolygon(arrow);
}

// A white halo under black strokes keeps the sign readable on any background.
void stroke(QPainter& p, const std::function<void()>& shape) {
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Qt::white, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    shape();
    p.setPen(QPen(Qt::black, 1));
    shape();
}

void label(QPainter& p, const QString& text) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(text.size() > 1 ? 9 : 12);
    font.setBold(true);
    QPainterPath path;
    path.addText(0, 0, font, text);
    const QRectF box = path.boundingRect();
    path.translate(signArea.center() - box.center());
    p.setPen(QPen(Qt::white, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    p.drawPath(path);
}

void drawSign(QPainter& p, int slot) {
    const QRect r = signArea.adjusted(1, 1, -2, -2);
    switch (slot) {
    case 1:
        stroke(p, [&] {
            p.drawLine(22, 16, 22, 28);
            p.drawLine(16, 22, 28, 22);
        });
        break;
    case 2:
        label(p, QStringLiteral("DB"));
        break;
    case 3:
        label(p, QStringLiteral("LB"));
        break;
    case 4:
        label(p, QStringLiteral("P"));
        break;
    case 5:
        label(p, QStringLiteral("fx"));
        break;
    case 6:
        stroke(p, [&] { // calendar sheet
            p.drawRect(r);
            p.drawLine(r.left(), r.top() + 3, r.right(), r.top() + 3);
            for (int x = r.left() + 3; x < r.right(); x += 4)
                for (int y = r.top() + 6; y < r.bottom(); y += 3)
                    p.drawPoint(x, y);
        });
        break;
    case 7:
        stroke(p, [&] { // clock
            p.drawEllipse(QPoint(22, 22), 7, 7);
            p.drawLine(22, 22, 22, 17);
            p.drawLine(22, 22, 26, 22);
        });
        break;
    case 8:
        label(p, QStringLiteral("#r"));
        break;
    case 9:
        label(p, QStringLiteral("#p"));
        break;
    case 10:
        label(p, QStringLiteral("Σp"));
        break;
    case 11:
        label(p, QStringLiteral("gr"));
        break;
    case 12:
        label(p, QStringLiteral("#g"));
        break;
    case 13:
        label(p, QStringLiteral("A"));
        break;
    case 14:
        stroke(p, [&] { p.drawLine(r.bottomLeft(), r.topRight()); });
        break;
    case 15:
        stroke(p, [&] { p.drawRect(r); });
        break;
    case 16:
        stroke(p, [&] { p.drawRoundedRect(r, 4, 4); });
        break;
    case 17:
        stroke(p, [&] { p.drawEllipse(r); });
        break;
    case 18:
        stroke(p, [&] { // picture: frame, hills and sun
            p.drawRect(r);
            p.drawPolyline(
                QPolygon({QPoint(r.left(), r.bottom() - 1), QPoint(r.left() + 5, r.top() + 5),
                          QPoint(r.left() + 9, r.bottom() - 3), QPoint(r.right(), r.top() + 7)}));
            p.drawPoint(r.right() - 3, r.top() + 3);
        });
        break;
    case 19: { // bar code
        p.fillRect(signArea.adjusted(0, 0, -1, -1), Qt::white);
        const int widths[] = {1, 2, 1, 1, 3, 1, 2, 1};
        int x = signArea.left() + 1;
        for (int i = 0; i < 8; ++i) {
            if (i % 2 == 0) p.fillRect(x, signArea.top() + 1, widths[i], 13, Qt::black);
            x += widths[i] + 1;
        }
        break;
    }
    case 20:
        stroke(p, [&] { // drawing area: frame with a stroke of a pen
            p.drawRect(r);
            QPainterPath wave(QPoint(r.left() + 2, r.center().y()));
            wave.cubicTo(r.left() + 6, r.top(), r.right() - 6, r.bottom(), r.right() - 2,
                         r.center().y());
            p.drawPath(wave);
        });
        break;
    default:
        stroke(p, [&] { // detail: a small report inside a report
            p.drawRect(r);
            p.drawRect(r.adjusted(4, 4, 0, 0));
            p.drawLine(r.left() + 6, r.top() + 8, r.right() - 2, r.top() + 8);
        });
        break;
    }
}

QPixmap cursorImage(int slot) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    drawSign(p, slot);
    p.setRenderHint(QPainter::Antialiasing, false);
    drawArrow(p);
    p.end();
    return QPixmap::fromImage(image);
}

std::array<QCursor, DesignerCursorCount>& cursors() {
    static std::array<QCursor, DesignerCursorCount> loaded = [] {
        std::array<QCursor, DesignerCursorCount> made;
        for (int slot = 1; slot <= DesignerCursorCount; ++slot)
            made[size_t(slot - 1)] = QCursor(cursorImage(slot), 0, 0);
        return made;
    }();
    return loaded;
}

} // namespace

QStringList DesignerCursorNames() {
    QStringList list;
    for (const char* name : names)
        list.append(QString::fromLatin1(name));
    return list;
}

void LoadDesignerCursors() {
    cursors();
}

QCursor DesignerCursor(int slot) {
    if (slot < 1 || slot > DesignerCursorCount) return QCursor(Qt::ArrowCursor);
    return cursors()[size_t(slot - 1)];
}

} // namespace report
