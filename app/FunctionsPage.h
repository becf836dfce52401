#pragma once
// The Functions page: one property function chosen by group and name, one to three typed
// inputs, Enter shows the result. Builds its controls on the page widget it is given.

#include "app/AppState.h"
#include "app/FunctionEvaluator.h"
#include "numerics/Vocabulary.h"

#include <QObject>

#include <array>

class CalculationModel;
class QComboBox;
class QLabel;
class QLineEdit;
class QWidget;

class FunctionsPage : public QObject {
    Q_OBJECT
public:
    FunctionsPage(QWidget* page, CalculationModel& model);

    // Page entry: the first group and the first function of every list.
    void enter();
    // Captions, the group list and the supplementary functions in the current language.
    void ApplyLanguage();

    // The chosen group changed: its list is shown and its chosen function takes over.
    void ComboSkupinyChange();
    // Function list `group` (1..5) changed.
    void comboChange(int group);
    // Inputs back to the initial text, input count and labels of the chosen function.
    void UpdateFunctionInputs();
    // Labels and units of inputs and result, and the result's decimals, from the function's
    // name (or, for codes 500 and up, from the supplementary tables).
    void SetFunctionLabels(const QString& name, int code);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void EditVstupKeyPress(int input);
    QString initialText() const;
    // The result line shows `text`; the banner names `region` unless it is None.
    void showResult(const QString& text, int region = numerics::RegionCode::None);
    void showResult(const FunctionResult& result);
    // Label and unit of input 1..3 from a quantity index (0 gives empty texts).
    void setInput(int input, int quantity);
    void setInput(int input, numerics::Quantity quantity);

    CalculationModel& m_model;
    AppState& m_state;
    QWidget* m_page;
    QLabel* m_titleChoice;
    QLabel* m_titleInputs;
    QLabel* m_titleResult;
    QLabel* m_groupCaption;
    QLabel* m_groupName;
    QComboBox* m_groups;
    std::array<QComboBox*, 6> m_lists{}; // Combo1..Combo5 at 1..5
    std::array<QLabel*, 4> m_inputLabels{};
    std::array<QLineEdit*, 4> m_edits{};
    std::array<QLabel*, 4> m_inputUnits{};
    QLabel* m_resultLabel;
    QLabel* m_result;
    QLabel* m_resultUnit;
    QLabel* m_banner;
};
