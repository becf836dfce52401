#pragma once
// The Points page: up to twelve states for the Calculation page's pair of inputs, one per row.
// A row is computed when the selection leaves it; the results go to the output grid and to
// PointsTable. Builds its controls on the page widget it is given.

#include "app/AppState.h"
#include "app/LibraryBinding.h"

#include <QObject>

#include <array>

class CalculationPage;
class QLabel;
class QTableWidget;
class QWidget;

class PointsPage : public QObject {
    Q_OBJECT
public:
    // The pair code and the order of the inputs are the Calculation page's.
    PointsPage(QWidget* page, AppState& state, const CalculationPage& calculation,
               const PropertyLibrary& library);

    // Page entry: heads in the current order, both grids and PointsTable cleared, the
    // selection and the focus on the first cell.
    void Enter();
    // The column heads in the current language.
    void ApplyLanguage();

private:
    // The selection moved to `row`: computes the row that is being left, if it is another.
    void SGBody1SelectCell(int row);
    void computeRow(int row);
    void showOutputs(int row, const QString& text);

    AppState& m_state;
    const CalculationPage& m_calculation;
    const PropertyLibrary& m_library;
    std::array<QLabel*, 7> m_heads{}; // L1..L6 by quantity
    QTableWidget* m_inputs;
    QTableWidget* m_outputs;
};
