#include "app/PageStyle.h"

#include <QLabel>
#include <QPalette>

namespace pagestyle {

QLabel* StaticLabel(QWidget* page, const QString& name, int x, int y) {
    auto* label = new QLabel(page);
    label->setObjectName(name);
    label->move(x, y);
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    return label;
}

void SetTextColour(QWidget* widget, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    widget->setPalette(palette);
}

void SetLabelText(QLabel* label, const QString& text) {
    label->setText(text);
    label->adjustSize();
}

void PlaceUnit(const QLabel* value, QLabel* unit) {
    unit->move(value->x() + value->width() + kUnitGap, value->y());
}

} // namespace pagestyle
