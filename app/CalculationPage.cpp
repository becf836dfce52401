#include "app/CalculationPage.h"

#include "app/CalculationModel.h"
#include "app/PageStyle.h"
#include "app/Texts.h"
#include "platform/NumberText.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTimer>
#include <QWidget>

using namespace pagestyle;

namespace {

constexpr int kBannerHeight = 18;
constexpr int kBannerStep = 3;
constexpr int kBannerWidth = 340;

} // namespace

using numerics::at;

CalculationPage::CalculationPage(QWidget* page, CalculationModel& model)
    : QObject(page), m_model(model), m_page(page) {
    m_titleInputs = staticLabel(m_page, "lblVstupniVeliciny", 16, 38);
    setTextColour(m_titleInputs, kTitleColour);
    for (int i = 1; i <= 2; ++i) {
        const int y = 60 + (i - 1) * 26;
        m_inputLabels[i] = staticLabel(m_page, QString("Label%1").arg(i), kNameX, y);
        auto* edit = new QLineEdit(page);
        edit->setObjectName(QString("Edit%1").arg(i));
        edit->setGeometry(kValueX, y - 3, 130, 21);
        edit->setProperty("helpContext", 30);
        edit->installEventFilter(this);
        selectAllOnFocus(edit);
        m_edits[i] = edit;
    }
    m_titleComputed = staticLabel(m_page, "lblVypocteneVeliciny", 16, 114);
    setTextColour(m_titleComputed, kTitleColour);
    for (int k = 1; k <= 4; ++k) {
        const int y = 134 + (k - 1) * 18;
        const QString n = QString::number(k);
        m_rows[k] = {staticLabel(m_page, "LabelV" + n, kNameX, y),
                     staticLabel(m_page, "LabelV" + n + n, kValueX, y),
                     staticLabel(m_page, "LabelV" + n + n + n, kValueX, y)};
        setTextColour(m_rows[k][1], kValueColour);
        auto* shape = new QWidget(page);
        shape->setObjectName("ShapeV" + n);
        shape->setGeometry(16, y - 2, 470, 18);
        shape->setCursor(Qt::PointingHandCursor);
        shape->setToolTip(texts::rotateHint());
        shape->installEventFilter(this);
        m_shapes[k] = shape;
    }
    for (int k = 1; k <= 6; ++k) {
        const int y = 212 + (k - 1) * 16;
        const QString n = QString::number(k);
        m_derived[k] = {staticLabel(m_page, "LabelD" + n, kNameX, y),
                        staticLabel(m_page, "LabelD" + n + n, kValueX, y),
                        staticLabel(m_page, "LabelD" + n + n + n, kValueX, y)};
        setTextColour(m_derived[k][1], kValueColour);
    }

    m_banner = bannerLabel(page, "lblNazevOblasti", {16, 314, kBannerWidth, 0});

    m_metastable = new QLabel(page);
    m_metastable->setObjectName("lblMetastab");
    m_metastable->move(16, 340);
    m_metastable->setCursor(Qt::PointingHandCursor);
    m_metastable->installEventFilter(this);
    setLabelText(m_metastable, texts::metastableCaption(texts::Czech, false));

    QLabel* brand = staticLabel(m_page, "lblKolv", 400, 56);
    QFont brandFont = brand->font();
    brandFont.setPixelSize(34);
    brandFont.setBold(true);
    brand->setFont(brandFont);
    setTextColour(brand, QColor(110, 160, 235));
    setLabelText(brand, "KOLV");

    m_timer = new QTimer(this);
    m_timer->setObjectName("Timer2");
    m_timer->setInterval(50);
    connect(m_timer, &QTimer::timeout, this, &CalculationPage::Timer2Timer);
    connect(&m_model, &CalculationModel::stateChanged, this,
            &CalculationPage::RefreshCalculationPage);
    // A refused input stays in its box for the user to mend.
    connect(&m_model, &CalculationModel::inputRefused, this, &CalculationPage::showResults);
}

void CalculationPage::ApplyLanguage() {
    const int language = m_model.state().Language;
    setLabelText(m_metastable, texts::metastableCaption(language, false));
    setLabelText(m_titleInputs, texts::pageText(language, 0));
    setLabelText(m_titleComputed, texts::pageText(language, 1));
    RefreshCalculationPage();
}

void CalculationPage::focusFirstInput() {
    m_edits[1]->setFocus();
}

void CalculationPage::RefreshCalculationPage() {
    const AppState& s = m_model.state();
    for (int i = 1; i <= 2; ++i) {
        const numerics::Quantity q = m_model.quantityAt(i);
        setLabelText(m_inputLabels[i], texts::inputLabel(s.Language, int(q)));
        m_edits[i]->setText(s.StateKnown[at(q)] ? m_model.formatted(q, s.StateValues[at(q)])
                                                : QString());
    }
    showResults();
}

void CalculationPage::showResults() {
    const AppState& s = m_model.state();
    for (std::size_t k = 1; k <= 4; ++k) {
        const numerics::Quantity q = m_model.quantityAt(int(k) + 2);
        const double value = s.StateValues[at(q)];
        auto& [name, shown, unit] = m_rows[k];
        setLabelText(name, texts::rowName(s.Language, int(q)));
        setLabelText(unit, texts::quantityUnit(int(q)));
        showValue(shown, unit,
                  !s.StateKnown[at(q)] ? QString()
                  : value == 0         ? QString("0")
                                       : m_model.formatted(q, value));
        // The strip ends with the row's text; the background beyond it drags the window.
        QWidget* shape = m_shapes[k];
        shape->resize(unit->geometry().right() + 4 - shape->x(), shape->height());
    }
    for (int k = 1; k <= 6; ++k)
        ShowDerivedRow(k);
    if (!m_timer->isActive()) m_timer->start();
}

void CalculationPage::ShowDerivedRow(int row) {
    const AppState& s = m_model.state();
    const double value = s.DerivedValues[static_cast<std::size_t>(row)];
    auto& [name, shown, unit] = m_derived[static_cast<std::size_t>(row)];
    setLabelText(name, texts::derivedName(s.Language, row));
    setLabelText(unit, texts::derivedUnit(row));
    // The library's 0 is a property the state's region does not have.
    showValue(shown, unit,
              !s.StateComputed ? QString()
              : value == 0
                  ? kNoValue
                  : platform::FormatFixed(value, texts::derivedDecimals(row), s.DecimalSeparator));
}

// True unless the texts were no numbers or the library failed.
bool CalculationPage::calculate() {
    // A box the user has not edited since the page wrote it stands for the exact value.
    const auto typed = [](const QLineEdit* edit) {
        return edit->isModified() ? std::optional<QString>(edit->text()) : std::nullopt;
    };
    return m_model.calculate(typed(m_edits[1]), typed(m_edits[2])) !=
           CalculationModel::Outcome::Failed;
}

void CalculationPage::toggleMetastable() {
    m_model.toggleMetastable();
    const AppState& s = m_model.state();
    setLabelText(m_metastable, texts::metastableCaption(s.Language, s.MetastablePreferred));
    calculate();
}

void CalculationPage::Timer2Timer() {
    AppState& s = m_model.state();
    int h = m_banner->height();
    if (s.CalcRegionCode != numerics::RegionCode::None) {
        if (h == 0) m_banner->setText(texts::regionName(s.Language, s.CalcRegionCode));
        if (s.BannerOpen) {
            if (h >= 1)
                h -= kBannerStep;
            else
                s.BannerOpen = false;
        }
        if (!s.BannerOpen) {
            if (h >= kBannerHeight) {
                s.BannerOpen = true;
                // A result that arrived while the banner was opening has not had its name
                // shown yet: keep going, so that the banner closes and reopens with it.
                if (m_banner->text() == texts::regionName(s.Language, s.CalcRegionCode))
                    m_timer->stop();
            } else {
                h += kBannerStep;
            }
        }
    } else if (h < 1) {
        s.BannerOpen = false;
        m_timer->stop();
    } else {
        h -= kBannerStep;
    }
    m_banner->resize(kBannerWidth, std::max(h, 0));
}

bool CalculationPage::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (calculate()) (watched == m_edits[1] ? m_edits[2] : m_edits[1])->setFocus();
        }
        return false; // the key goes on to the box
    }
    if (event->type() != QEvent::MouseButtonRelease) return false;
    if (watched == m_metastable) {
        // A click: the left button released over the label.
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const QPoint at = mouse->position().toPoint();
        if (mouse->button() == Qt::LeftButton && m_metastable->rect().contains(at))
            toggleMetastable();
        return true;
    }
    for (int k = 1; k <= 4; ++k) {
        if (watched == m_shapes[static_cast<std::size_t>(k)]) {
            m_model.rotate(k);
            return true;
        }
    }
    return false;
}
