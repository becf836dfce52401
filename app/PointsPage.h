#pragma once
// The Points page: a view of the calculation model's Points table. Up to twelve states for the
// Calculation page's pair of inputs, one per row; a row is computed when the selection leaves
// it. Builds its controls on the page widget it is given.

#include <QObject>

#include <array>
#include <utility>

class CalculationModel;
class QLabel;
class QTableWidget;
class QWidget;

class PointsPage : public QObject {
    Q_OBJECT
public:
    PointsPage(QWidget* page, CalculationModel& model);

    // Page entry: heads in the current order and the focus on the input grid. Rows typed for
    // other inputs than the current ones go: both grids and the Points table are cleared, the
    // selection goes to the first cell. Rows typed for these inputs stay where they were.
    void enter();
    // The column heads in the current language.
    void ApplyLanguage();

private:
    // The selection moved to `row`: computes the row that is being left, if it is another.
    void SGBody1SelectCell(int row);
    void computeRow(int row);
    void showRow(int row);

    CalculationModel& m_model;
    std::array<QLabel*, 7> m_heads{}; // L1..L6 by quantity
    QTableWidget* m_inputs;
    QTableWidget* m_outputs;
    // The quantities of inputs 1 and 2 that the rows were typed for (none at first).
    std::pair<int, int> m_rowsInputs{0, 0};
};
