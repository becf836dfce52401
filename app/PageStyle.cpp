#include "app/PageStyle.h"

#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QTimer>

namespace pagestyle {

QLabel* staticLabel(QWidget* page, const QString& name, int x, int y) {
    auto* label = new QLabel(page);
    label->setObjectName(name);
    label->move(x, y);
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    return label;
}

void setTextColour(QWidget* widget, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    widget->setPalette(palette);
}

void setLabelText(QLabel* label, const QString& text) {
    label->setText(text);
    label->adjustSize();
}

namespace {

class SelectAllOnFocus : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::FocusIn &&
            static_cast<QFocusEvent*>(event)->reason() != Qt::MouseFocusReason) {
            auto* edit = static_cast<QLineEdit*>(watched);
            // After the box's own focus handling, which may place the cursor.
            QTimer::singleShot(0, edit, [edit] {
                if (edit->hasFocus()) edit->selectAll();
            });
            edit->selectAll();
        }
        return false;
    }
};

} // namespace

void selectAllOnFocus(QLineEdit* edit) {
    edit->installEventFilter(new SelectAllOnFocus(edit));
}

void placeUnit(const QLabel* value, QLabel* unit) {
    unit->move(value->x() + value->width() + kUnitGap, value->y());
}

void showValue(QLabel* value, QLabel* unit, const QString& text) {
    setLabelText(value, text);
    placeUnit(value, unit);
    unit->setVisible(!text.isEmpty());
}

QLabel* bannerLabel(QWidget* page, const QString& name, QRect geometry) {
    auto* banner = new QLabel(page);
    banner->setObjectName(name);
    banner->setGeometry(geometry);
    banner->setAlignment(Qt::AlignCenter);
    banner->setAutoFillBackground(true);
    QPalette palette = banner->palette();
    palette.setColor(QPalette::Window, QColor(30, 90, 150));
    palette.setColor(QPalette::WindowText, kTitleColour);
    banner->setPalette(palette);
    banner->setAttribute(Qt::WA_TransparentForMouseEvents);
    return banner;
}

} // namespace pagestyle
