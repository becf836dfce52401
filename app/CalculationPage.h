#pragma once
// The Calculation page: a view of the calculation model with two input boxes, the other four
// quantities, six derived properties and the region banner. Builds its controls on the page
// widget it is given.

#include <QObject>

#include <array>

class CalculationModel;
class QLabel;
class QLineEdit;
class QTimer;
class QWidget;

class CalculationPage : public QObject {
    Q_OBJECT
public:
    CalculationPage(QWidget* page, CalculationModel& model);

    // Redraws the page from the model and starts the banner timer.
    void RefreshCalculationPage();
    // Redraws all but the input boxes.
    void showResults();
    // Captions of the current language; the metastable option shows "off".
    void ApplyLanguage();
    void focusFirstInput();

    // One step of the banner animation (the 50 ms timer's slot).
    void Timer2Timer();
    QTimer* timer2() const { return m_timer; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool calculate();
    void toggleMetastable();
    void ShowDerivedRow(int row);

    CalculationModel& m_model;

    QWidget* m_page;
    QLabel* m_titleInputs;
    QLabel* m_titleComputed;
    std::array<QLabel*, 3> m_inputLabels{};
    std::array<QLineEdit*, 3> m_edits{};
    std::array<std::array<QLabel*, 3>, 5> m_rows{};    // [row 1..4] name, value, unit
    std::array<std::array<QLabel*, 3>, 7> m_derived{}; // [row 1..6] name, value, unit
    std::array<QWidget*, 5> m_shapes{};
    QLabel* m_banner;
    QLabel* m_metastable;
    QTimer* m_timer;
};
