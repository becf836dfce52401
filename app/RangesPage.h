#pragma once
// The Ranges page: the definition ranges of the six quantities and the decimals shown for each.
// A change of a spin edit takes effect at once in DecimalPlaces. Builds its controls on the
// page widget it is given.

#include "app/AppState.h"

#include <QObject>

#include <array>

class QLabel;
class QSpinBox;
class QWidget;

class RangesPage : public QObject {
    Q_OBJECT
public:
    RangesPage(QWidget* page, AppState& state);

    // Page entry: the spin edits take DecimalPlaces, held to 0..8, and DecimalPlaces takes
    // back what the spin edits hold; the focus goes to SpinEdit1.
    void enter();
    // Captions and the ranges text in the current language.
    void ApplyLanguage();

private:
    void SpinEditChange(QSpinBox* sender);

    AppState& m_state;
    QWidget* m_page;
    QLabel* m_titleRanges;
    QLabel* m_titleSettings;
    QLabel* m_minimum;
    QLabel* m_maximum;
    QLabel* m_ranges;
    std::array<QSpinBox*, 7> m_spins{}; // SpinEdit1..SpinEdit6 by quantity
};
