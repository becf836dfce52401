#include "app/CalculationPage.h"

#include "app/PageStyle.h"
#include "app/Texts.h"
#include "numerics/FaultScope.h"
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

CalculationPage::CalculationPage(QWidget* page, AppState& state, const PropertyLibrary& library)
    : QObject(page), m_state(state), m_library(library), m_page(page) {
    m_titleInputs = StaticLabel(m_page, "lblVstupniVeliciny", 16, 38);
    SetTextColour(m_titleInputs, kTitleColour);
    for (int i = 1; i <= 2; ++i) {
        const int y = 60 + (i - 1) * 26;
        m_inputLabels[i] = StaticLabel(m_page, QString("Label%1").arg(i), kNameX, y);
        auto* edit = new QLineEdit(page);
        edit->setObjectName(QString("Edit%1").arg(i));
        edit->setGeometry(kValueX, y - 3, 130, 21);
        edit->setProperty("helpContext", 30);
        edit->installEventFilter(this);
        m_edits[i] = edit;
    }
    m_titleComputed = StaticLabel(m_page, "lblVypocteneVeliciny", 16, 114);
    SetTextColour(m_titleComputed, kTitleColour);
    for (int k = 1; k <= 4; ++k) {
        const int y = 134 + (k - 1) * 18;
        const QString n = QString::number(k);
        m_rows[k] = {StaticLabel(m_page, "LabelV" + n, kNameX, y),
                     StaticLabel(m_page, "LabelV" + n + n, kValueX, y),
                     StaticLabel(m_page, "LabelV" + n + n + n, kValueX, y)};
        SetTextColour(m_rows[k][1], kValueColour);
        auto* shape = new QWidget(page);
        shape->setObjectName("ShapeV" + n);
        shape->setGeometry(16, y - 2, 470, 18);
        shape->setCursor(Qt::PointingHandCursor);
        shape->setToolTip(texts::RotateHint());
        shape->installEventFilter(this);
        m_shapes[k] = shape;
    }
    for (int k = 1; k <= 6; ++k) {
        const int y = 212 + (k - 1) * 16;
        const QString n = QString::number(k);
        m_derived[k] = {StaticLabel(m_page, "LabelD" + n, kNameX, y),
                        StaticLabel(m_page, "LabelD" + n + n, kValueX, y),
                        StaticLabel(m_page, "LabelD" + n + n + n, kValueX, y)};
        SetTextColour(m_derived[k][1], kValueColour);
    }

    m_banner = new QLabel(page);
    m_banner->setObjectName("lblNazevOblasti");
    m_banner->setGeometry(16, 314, kBannerWidth, 0);
    m_banner->setAlignment(Qt::AlignCenter);
    m_banner->setAutoFillBackground(true);
    QPalette bannerPalette = m_banner->palette();
    bannerPalette.setColor(QPalette::Window, QColor(30, 90, 150));
    bannerPalette.setColor(QPalette::WindowText, kTitleColour);
    m_banner->setPalette(bannerPalette);
    m_banner->setAttribute(Qt::WA_TransparentForMouseEvents);

    m_metastable = new QLabel(page);
    m_metastable->setObjectName("lblMetastab");
    m_metastable->move(16, 340);
    m_metastable->setCursor(Qt::PointingHandCursor);
    m_metastable->installEventFilter(this);
    SetLabelText(m_metastable, texts::MetastableCaption(texts::Czech, false));

    QLabel* brand = StaticLabel(m_page, "lblKolv", 400, 56);
    QFont brandFont = brand->font();
    brandFont.setPixelSize(34);
    brandFont.setBold(true);
    brand->setFont(brandFont);
    SetTextColour(brand, QColor(110, 160, 235));
    SetLabelText(brand, "KOLV");

    m_timer = new QTimer(this);
    m_timer->setObjectName("Timer2");
    m_timer->setInterval(50);
    connect(m_timer, &QTimer::timeout, this, &CalculationPage::Timer2Timer);
}

QString CalculationPage::format(double value, int decimals) const {
    return platform::FormatFixed(value, decimals, m_state.DecimalSeparator);
}

void CalculationPage::ApplyLanguage() {
    SetLabelText(m_metastable, texts::MetastableCaption(m_state.Language, false));
    SetLabelText(m_titleInputs, texts::PageText(m_state.Language, 0));
    SetLabelText(m_titleComputed, texts::PageText(m_state.Language, 1));
    RefreshCalculationPage();
}

void CalculationPage::FocusFirstInput() {
    m_edits[1]->setFocus();
}

void CalculationPage::RefreshCalculationPage() {
    const AppState& s = m_state;
    for (std::size_t i = 1; i <= 2; ++i) {
        const auto q = static_cast<std::size_t>(s.QuantityOrder[i]);
        SetLabelText(m_inputLabels[i], texts::InputLabel(s.Language, static_cast<int>(q)));
        m_edits[i]->setText(format(s.StateValues[q], s.DecimalPlaces[q]));
    }
    for (std::size_t k = 1; k <= 4; ++k) {
        const int q = s.QuantityOrder[k + 2];
        const double value = s.StateValues[static_cast<std::size_t>(q)];
        auto& [name, shown, unit] = m_rows[k];
        SetLabelText(name, texts::RowName(s.Language, q));
        SetLabelText(shown, value == 0
                                ? QString("0")
                                : format(value, s.DecimalPlaces[static_cast<std::size_t>(q)]));
        SetLabelText(unit, texts::QuantityUnit(q));
        PlaceUnit(shown, unit);
    }
    for (int k = 1; k <= 6; ++k)
        ShowDerivedRow(k);

    const int q1 = s.QuantityOrder[1];
    const int q2 = s.QuantityOrder[2];
    m_inputsSwapped = q2 < q1;
    m_pairCode = m_inputsSwapped ? 10 * q2 + q1 : 10 * q1 + q2;
    if (!m_timer->isActive()) m_timer->start();
}

void CalculationPage::ShowDerivedRow(int row) {
    const double value = m_state.DerivedValues[static_cast<std::size_t>(row)];
    auto& [name, shown, unit] = m_derived[static_cast<std::size_t>(row)];
    SetLabelText(name, texts::DerivedName(m_state.Language, row));
    SetLabelText(shown, value == 0 ? QString("0") : format(value, texts::DerivedDecimals(row)));
    SetLabelText(unit, texts::DerivedUnit(row));
    PlaceUnit(shown, unit);
}

CalculationPage::Outcome CalculationPage::calculate() {
    AppState& s = m_state;
    const auto a1 = platform::ParseNumber(m_edits[1]->text());
    const auto a2 = platform::ParseNumber(m_edits[2]->text());
    if (!a1 || !a2) {
        failCalculation();
        return Outcome::Failed;
    }
    if (*a1 < 0 || *a2 < 0) return Outcome::Ignored;

    const int q1 = s.QuantityOrder[1];
    const int q2 = s.QuantityOrder[2];
    s.StateValues[static_cast<std::size_t>(q1)] = *a1;
    s.StateValues[static_cast<std::size_t>(q2)] = *a2;
    m_X1 = m_inputsSwapped ? *a2 : *a1;
    m_X2 = m_inputsSwapped ? *a1 : *a2;
    // Given quantities need not be computed.
    const bool wantP = q1 != 2 && q2 != 2;
    const bool wantV = q1 != 3 && q2 != 3;
    const bool wantS = q1 != 4 && q2 != 4;
    const bool wantI = q1 != 5 && q2 != 5;
    const bool meta = s.MetastablePreferred;
    try {
        auto& r = m_scratch;
        m_library.StateFromPair(m_pairCode, wantP, wantV, m_X1, m_X2, wantS, wantI, meta, r[1],
                                r[2], r[3], r[4], r[5], r[6], s.CalcRegionCode);
        for (std::size_t q = 1; q <= 6; ++q)
            s.StateValues[q] = r[q];
        auto& d = s.DerivedValues;
        d[1] = m_library.IsobaricHeatCapacity(m_pairCode, meta, m_X1, m_X2);
        d[2] = m_library.IsochoricHeatCapacity(m_pairCode, meta, m_X1, m_X2);
        d[3] = m_library.IsentropicExponent(m_pairCode, meta, m_X1, m_X2);
        d[4] = m_library.SpeedOfSound(m_pairCode, meta, m_X1, m_X2);
        const double t = r[1];
        const double v = r[3];
        d[5] = v > 0 ? m_library.ViscosityTV(t, v) : 0;
        d[6] = v > 0 ? m_library.ConductivityTV(t, v) : 0;
    } catch (const numerics::NumericFault&) {
        failCalculation();
        return Outcome::Failed;
    }
    RefreshCalculationPage();
    return Outcome::Computed;
}

void CalculationPage::failCalculation() {
    for (std::size_t place = 3; place <= 6; ++place)
        m_state.StateValues[static_cast<std::size_t>(m_state.QuantityOrder[place])] = 0;
    // All six derived values go: none of them belongs to a state any more.
    m_state.DerivedValues.fill(0);
    m_state.CalcRegionCode = 0;
    RefreshCalculationPage();
}

void CalculationPage::rotate(int row) {
    auto& order = m_state.QuantityOrder;
    const auto place = static_cast<std::size_t>(row + 2);
    const int first = order[1];
    const int second = order[2];
    order[1] = order[place];
    order[2] = first;
    order[place] = second;
    m_state.CalcRegionCode = 0;
    RefreshCalculationPage();
}

void CalculationPage::toggleMetastable() {
    m_state.MetastablePreferred = !m_state.MetastablePreferred;
    SetLabelText(m_metastable,
                 texts::MetastableCaption(m_state.Language, m_state.MetastablePreferred));
    calculate();
}

void CalculationPage::Timer2Timer() {
    AppState& s = m_state;
    int h = m_banner->height();
    if (s.CalcRegionCode != 0) {
        if (h == 0) m_banner->setText(texts::RegionName(s.Language, s.CalcRegionCode));
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
                if (m_banner->text() == texts::RegionName(s.Language, s.CalcRegionCode))
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
            if (calculate() != Outcome::Failed)
                (watched == m_edits[1] ? m_edits[2] : m_edits[1])->setFocus();
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
            rotate(k);
            return true;
        }
    }
    return false;
}
