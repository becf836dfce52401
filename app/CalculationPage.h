#pragma once
// The Calculation page: two typed quantities in, the other four, six derived properties and
// the region of the state out. Builds its controls on the page widget it is given.

#include "app/AppState.h"
#include "app/LibraryBinding.h"

#include <QObject>

#include <array>

class QLabel;
class QLineEdit;
class QTimer;
class QWidget;

class CalculationPage : public QObject {
    Q_OBJECT
public:
    CalculationPage(QWidget* page, AppState& state, const PropertyLibrary& library);

    // Redraws the page from the state, recomputes the pair code and starts the banner timer.
    void RefreshCalculationPage();
    // Captions of the current language; the metastable option shows "off".
    void ApplyLanguage();
    void FocusFirstInput();

    // One step of the banner animation (the 50 ms timer's slot).
    void Timer2Timer();
    QTimer* Timer2() const { return m_timer; }

    int PairCode() const { return m_pairCode; }
    bool InputsSwapped() const { return m_inputsSwapped; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum class Outcome { Computed, Ignored, Failed };

    Outcome calculate();
    void failCalculation();
    void rotate(int row);
    void toggleMetastable();
    void ShowDerivedRow(int row);
    QString format(double value, int decimals) const;

    AppState& m_state;
    const PropertyLibrary& m_library;
    int m_pairCode = 12;
    bool m_inputsSwapped = false;
    double m_X1 = 0;
    double m_X2 = 0;
    // Receives the library's six outputs, t..x; kept between calculations because the library
    // leaves outputs it does not compute as they were.
    std::array<double, 7> m_scratch{};

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
