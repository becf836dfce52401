#include "app/FunctionsPage.h"

#include "app/CalculationModel.h"
#include "app/PageStyle.h"
#include "app/Texts.h"
#include "platform/NumberText.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QWidget>

using namespace pagestyle;

namespace {

constexpr int kHelpContext = 40;

using numerics::Quantity;

// The quantity index a letter of a function name stands for (1..6); else 0.
int quantityOfLetter(QChar letter) {
    return int(QLatin1String(numerics::kQuantityLetters).indexOf(letter)) + 1;
}

} // namespace

FunctionsPage::FunctionsPage(QWidget* page, CalculationModel& model)
    : QObject(page), m_model(model), m_state(model.state()), m_page(page) {
    m_titleChoice = staticLabel(m_page, "lblVyberFunkce", 16, 38);
    setTextColour(m_titleChoice, kTitleColour);
    m_groupCaption = staticLabel(m_page, "lblFunSkup", kNameX, 63);
    m_groups = new QComboBox(page);
    m_groups->setObjectName("ComboSkupiny");
    m_groups->setGeometry(90, 59, 190, 22);
    m_groups->setProperty("helpContext", kHelpContext);
    connect(m_groups, &QComboBox::activated, this, [this] { ComboSkupinyChange(); });
    m_groupName = staticLabel(m_page, "Label27", 300, 63);
    setTextColour(m_groupName, kValueColour);
    for (int group = 1; group <= 5; ++group) {
        auto* list = new QComboBox(page);
        list->setObjectName(QString("Combo%1").arg(group));
        list->setProperty("tag", group);
        list->setProperty("helpContext", kHelpContext);
        list->setGeometry(90, 87, 190, 22);
        list->setMaxVisibleItems(21);
        list->addItems(texts::functionNames(texts::Czech, group));
        connect(list, &QComboBox::activated, this, [this, group] { comboChange(group); });
        m_lists[static_cast<std::size_t>(group)] = list;
    }

    m_titleInputs = staticLabel(m_page, "lblVstupniVelFunkce", 16, 124);
    setTextColour(m_titleInputs, kTitleColour);
    for (std::size_t i = 1; i <= 3; ++i) {
        const int y = 148 + static_cast<int>(i - 1) * 26;
        m_inputLabels[i] = staticLabel(m_page, QString("Lvstup%1").arg(i), kNameX, y);
        auto* edit = new QLineEdit(page);
        edit->setObjectName(QString("EditVstup%1").arg(i));
        edit->setGeometry(kValueX, y - 3, 130, 21);
        edit->setProperty("helpContext", kHelpContext);
        edit->installEventFilter(this);
        selectAllOnFocus(edit);
        m_edits[i] = edit;
        m_inputUnits[i] = staticLabel(m_page, QString("Ljedn%1").arg(i), kValueX + 138, y);
    }

    m_titleResult = staticLabel(m_page, "lblVysledekFunkce", 16, 236);
    setTextColour(m_titleResult, kTitleColour);
    m_resultLabel = staticLabel(m_page, "Lvystup", kNameX, 260);
    m_result = staticLabel(m_page, "Lhodnota", kValueX, 260);
    setTextColour(m_result, kValueColour);
    m_resultUnit = staticLabel(m_page, "LjednV", kValueX, 260);
    // Says why a function gave no value, under its result.
    m_banner = bannerLabel(page, "lblFunctionBanner", {16, 296, 340, 18});
    m_banner->hide();
    ApplyLanguage();
}

void FunctionsPage::ApplyLanguage() {
    const int language = m_state.Language;
    setLabelText(m_titleChoice, texts::pageText(language, 2));
    setLabelText(m_titleInputs, texts::pageText(language, 0));
    setLabelText(m_titleResult, texts::pageText(language, 3));
    setLabelText(m_groupCaption, texts::pageText(language, 4));
    m_groups->clear();
    for (int group = 1; group <= 5; ++group)
        m_groups->addItem(texts::functionGroup(language, group));
    m_lists[5]->clear();
    m_lists[5]->addItems(texts::functionNames(language, 5));
}

void FunctionsPage::enter() {
    m_groups->setCurrentIndex(0);
    for (std::size_t group = 1; group <= 5; ++group)
        m_lists[group]->setCurrentIndex(0);
    ComboSkupinyChange();
}

void FunctionsPage::ComboSkupinyChange() {
    const int group = m_groups->currentIndex() + 1;
    setLabelText(m_groupName, m_groups->currentText());
    for (std::size_t g = 1; g <= 5; ++g)
        m_lists[g]->setVisible(m_lists[g]->property("tag").toInt() == group);
    if (group < 1 || group > 5) return;
    const QComboBox* list = m_lists[static_cast<std::size_t>(group)];
    m_state.FunctionCode = 100 * group + list->currentIndex();
    m_state.FunctionName = list->currentText();
    UpdateFunctionInputs();
}

void FunctionsPage::comboChange(int group) {
    const QComboBox* list = m_lists[static_cast<std::size_t>(group)];
    m_state.FunctionCode = 100 * group + list->currentIndex();
    m_state.FunctionName = list->currentText();
    UpdateFunctionInputs();
}

QString FunctionsPage::initialText() const {
    return platform::FormatFixed(0.0, 1, m_state.DecimalSeparator);
}

void FunctionsPage::UpdateFunctionInputs() {
    for (std::size_t i = 1; i <= 3; ++i)
        m_edits[i]->setText(initialText());
    showResult(QString());
    const int code = m_state.FunctionCode;
    m_state.InputCount = code < 200 ? 1 : code < 508 ? 2 : 3;
    for (std::size_t i = 2; i <= 3; ++i) {
        const bool shown = m_state.InputCount >= static_cast<int>(i);
        for (QWidget* w :
             {static_cast<QWidget*>(m_inputLabels[i]), static_cast<QWidget*>(m_edits[i]),
              static_cast<QWidget*>(m_inputUnits[i])})
            w->setVisible(shown);
    }
    SetFunctionLabels(m_state.FunctionName, code);
    m_edits[1]->setFocus();
}

void FunctionsPage::setInput(int input, int quantity) {
    const auto i = static_cast<std::size_t>(input);
    setLabelText(m_inputLabels[i], texts::rowName(m_state.Language, quantity));
    setLabelText(m_inputUnits[i], texts::quantityUnit(quantity));
}

void FunctionsPage::setInput(int input, Quantity quantity) {
    setInput(input, int(quantity));
}

void FunctionsPage::SetFunctionLabels(const QString& name, int code) {
    const int language = m_state.Language;
    if (code >= 500) {
        const int i = code - 500;
        if (code <= 501) {
            setInput(1, Quantity::P);
            setInput(2, Quantity::I);
        } else if (code <= 507) {
            setInput(1, Quantity::T);
            setInput(2, Quantity::P);
        } else {
            // p, h, p for the expansion; p, t, p for the pump.
            const int chain = code == 508 ? 0 : 3;
            constexpr Quantity units[2][3] = {{Quantity::P, Quantity::I, Quantity::P},
                                              {Quantity::P, Quantity::T, Quantity::P}};
            for (int k = 0; k < 3; ++k) {
                const auto input = static_cast<std::size_t>(k + 1);
                setLabelText(m_inputLabels[input], texts::chainInputLabel(language, chain + k));
                setLabelText(m_inputUnits[input],
                             texts::quantityUnit(int(units[code == 508 ? 0 : 1][k])));
            }
        }
        setLabelText(m_resultLabel, texts::resultLabel(language, i));
        setLabelText(m_resultUnit, texts::resultUnit(i));
        m_state.ResultDecimals = texts::fixedDecimals(i);
    } else {
        // "Ims_PS": the result is the first letter, the inputs the letters after '_'.
        const qsizetype k = name.indexOf('_');
        if (k >= 0 && k + 1 < name.size()) setInput(1, quantityOfLetter(name[k + 1]));
        if (k >= 0 && k + 2 < name.size()) setInput(2, quantityOfLetter(name[k + 2]));
        const int result = name.isEmpty() ? 0 : quantityOfLetter(name[0]);
        setLabelText(m_resultLabel, texts::rowName(language, result));
        setLabelText(m_resultUnit, texts::quantityUnit(result));
        m_state.ResultDecimals =
            result > 0 ? m_state.DecimalPlaces[static_cast<std::size_t>(result)] : 0;
    }
    placeUnit(m_result, m_resultUnit);
}

void FunctionsPage::showResult(const QString& text, int region) {
    showValue(m_result, m_resultUnit, text);
    m_banner->setText(texts::regionName(m_state.Language, region));
    m_banner->setVisible(region != numerics::RegionCode::None);
}

void FunctionsPage::showResult(const FunctionResult& result) {
    namespace rc = numerics::RegionCode;
    switch (result.status) {
    case FunctionResult::Computed:
        showResult(
            platform::FormatFixed(result.value, m_state.ResultDecimals, m_state.DecimalSeparator));
        break;
    case FunctionResult::NotDefined:
        showResult(kNoValue);
        break;
    case FunctionResult::OutOfRange:
        showResult({}, rc::OutOfRange);
        break;
    case FunctionResult::Unavailable:
        showResult({}, rc::UnknownPair);
        break;
    }
}

void FunctionsPage::EditVstupKeyPress(int input) {
    AppState& s = m_state;
    s.FunctionInputs = {0, 0, 0};
    const QString initial = initialText();
    const int count = s.InputCount;
    if (m_edits[1]->text() == initial || (count > 1 && m_edits[2]->text() == initial) ||
        (count >= 3 && m_edits[3]->text() == initial)) {
        // Inputs left as they came: nothing to evaluate.
        showResult(QString());
    } else {
        for (int i = 0; i < count; ++i) {
            const auto value =
                platform::ParseNumber(m_edits[static_cast<std::size_t>(i + 1)]->text());
            if (!value) {
                showResult(QString());
                return; // the focus stays for a correction
            }
            s.FunctionInputs[static_cast<std::size_t>(i)] = *value;
        }
        const auto& x = s.FunctionInputs;
        showResult(m_model.evaluateFunction(s.FunctionCode, x[0], x[1], x[2]));
    }
    // The focus cycles through the visible inputs.
    if (input == 3 || (input == 2 && count < 3))
        m_edits[1]->setFocus();
    else if (input == 2 || (input == 1 && count >= 2))
        m_edits[static_cast<std::size_t>(input + 1)]->setFocus();
}

bool FunctionsPage::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            for (int i = 1; i <= 3; ++i)
                if (watched == m_edits[static_cast<std::size_t>(i)]) EditVstupKeyPress(i);
        }
    }
    return false; // every key goes on to the box
}
