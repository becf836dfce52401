#include "app/RangesPage.h"

#include "app/PageStyle.h"
#include "app/Texts.h"
#include "numerics/Vocabulary.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QStyle>
#include <QStyleFactory>
#include <QToolTip>
#include <QWidget>

#include <functional>

using namespace pagestyle;

namespace {

constexpr int kMaxDecimals = 8;

// A decimal-places box that says so when it refuses a digit (one that would take it out of its
// range), and shows its value again if the refused digit came into an emptied box.
class DecimalsBox : public QSpinBox {
public:
    using QSpinBox::QSpinBox;
    // Why a digit is refused, in the language of the moment.
    std::function<QString()> refusal;

protected:
    void keyPressEvent(QKeyEvent* event) override {
        const QString before = text();
        QSpinBox::keyPressEvent(event);
        const QString typed = event->text();
        if (typed.size() != 1 || !typed[0].isDigit() || text() != before) return;
        if (!hasAcceptableInput()) {
            lineEdit()->setText(textFromValue(value()));
            selectAll();
        }
        QToolTip::showText(mapToGlobal(QPoint(0, height())), refusal(), this);
    }
};

// One classic style for the spin edits, living as long as the application.
QStyle* spinStyle() {
    static QStyle* style = [] {
        QStyle* created = QStyleFactory::create("Windows");
        created->setParent(qApp);
        return created;
    }();
    return style;
}

} // namespace

RangesPage::RangesPage(QWidget* page, AppState& state)
    : QObject(page), m_state(state), m_page(page) {
    m_titleRanges = staticLabel(m_page, "lblMezni", 16, 34);
    m_titleRanges->setFixedWidth(482);
    m_titleRanges->setWordWrap(true);
    m_minimum = staticLabel(m_page, "lblMinim", 24, 70);
    m_maximum = staticLabel(m_page, "lblMaxim", 380, 70);
    m_ranges = staticLabel(m_page, "LabelMin", 16, 90);
    m_ranges->setGeometry(16, 90, 482, 112);
    m_ranges->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_ranges->setWordWrap(true);
    setTextColour(m_ranges, kValueColour);
    m_titleSettings = staticLabel(m_page, "lblNastaveni", 16, 218);
    for (QLabel* title : {m_titleRanges, m_titleSettings})
        setTextColour(title, kTitleColour);

    for (int q = 1; q <= numerics::kQuantityCount; ++q) {
        // The letters of the ranges text name the spin edits.
        QLabel* letter = staticLabel(m_page, QString("lblSpin%1").arg(q), 24 + (q - 1) * 78, 246);
        letter->setText(QString(QChar(numerics::letterOf(numerics::quantityAt(q)))));
        auto* spin = new DecimalsBox(page);
        spin->refusal = [this] { return texts::decimalsRange(m_state.Language, 0, kMaxDecimals); };
        spin->setObjectName(QString("SpinEdit%1").arg(q));
        spin->setProperty("tag", q);
        spin->setProperty("helpContext", 50);
        spin->setRange(0, kMaxDecimals);
        spin->setGeometry(24 + (q - 1) * 78, 262, 64, 26);
        // Classic arrow buttons, in the application's own colours rather than the page's:
        // the default style draws no arrows on this page.
        spin->setStyle(spinStyle());
        spin->setPalette(QApplication::palette(spin));
        connect(spin, &QSpinBox::valueChanged, this, [this, spin] { SpinEditChange(spin); });
        m_spins[static_cast<std::size_t>(q)] = spin;
    }
    ApplyLanguage();
}

void RangesPage::ApplyLanguage() {
    const int language = m_state.Language;
    m_titleRanges->setText(texts::pageText(language, 5));
    m_titleRanges->adjustSize();
    m_titleSettings->setText(texts::pageText(language, 6));
    m_minimum->setText(texts::pageText(language, 7));
    m_maximum->setText(texts::pageText(language, 8));
    for (QLabel* title : {m_titleSettings, m_minimum, m_maximum})
        title->adjustSize();
    m_ranges->setText(texts::rangesText(m_state.DecimalSeparator));
}

void RangesPage::enter() {
    for (std::size_t q = 1; q <= numerics::kQuantityCount; ++q) {
        // A spin edit holds its value to 0..8 without telling anyone when the value it held
        // does not change, so the held value is written back explicitly.
        QSpinBox* spin = m_spins[q];
        {
            const QSignalBlocker blocker(spin);
            spin->setValue(m_state.DecimalPlaces[q]);
        }
        m_state.DecimalPlaces[q] = spin->value();
    }
    m_spins[1]->setFocus();
}

void RangesPage::SpinEditChange(QSpinBox* sender) {
    const int q = sender->property("tag").toInt();
    if (q >= 1 && q <= numerics::kQuantityCount)
        m_state.DecimalPlaces[static_cast<std::size_t>(q)] = sender->value();
}
