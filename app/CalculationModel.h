#pragma once
// The calculator's model: the window-wide state, the state of the Calculation page computed
// from two typed values, and the Points table. It knows no widget; the pages and the chart
// window show it and hand it what the user typed. Every change of computed values is
// announced by stateChanged() or pointChanged().

#include "app/AppState.h"
#include "app/FunctionEvaluator.h"
#include "app/LibraryBinding.h"
#include "numerics/Vocabulary.h"

#include <QObject>
#include <QString>

#include <array>
#include <optional>

class CalculationModel : public QObject {
    Q_OBJECT
public:
    enum class Outcome { Computed, Ignored, Failed };
    // A row of the Points table: never left yet, computed, a negative input ("x x x"), or
    // not a number or not computed ("- - -").
    enum class PointStatus { Empty, Computed, Negative, NotComputed };

    explicit CalculationModel(const PropertyLibrary& library, QObject* parent = nullptr);

    const AppState& state() const { return m_state; }
    // The window's own bookkeeping (page, hover, drag, banner, settings) is written directly;
    // computed values change only through the operations below.
    AppState& state() { return m_state; }

    // The quantity in place 1..6 of the Calculation page.
    numerics::Quantity quantityAt(int place) const;
    // Pair code of the two inputs, and whether input 2 is the smaller quantity (passed as X1).
    int pairCode() const;
    bool inputsSwapped() const;

    // Computes the state from what input 1 and 2 hold: the text the user typed (both
    // separators accepted), or nothing when the box still shows the text the page wrote, which
    // stands for the exact value behind it (the shown text is rounded to the decimals). An input
    // that is negative (Ignored) or not a number, or a library fault (Failed), is refused: it
    // leaves no state, only the inputs that were numbers (inputRefused(), not stateChanged()).
    // A state out of range, or of a pair the library does not take, keeps the given values.
    Outcome calculate(const std::optional<QString>& typed1, const std::optional<QString>& typed2);
    // The computed row 1..4 becomes input 1; the inputs move down one place. Nothing is
    // computed and the region goes back to 0.
    void rotate(int row);
    void toggleMetastable();

    // The text of a value of quantity `q` with its decimals and the decimal separator.
    QString formatted(numerics::Quantity q, double value) const;
    // Points: every row empty and PointsTable zeroed.
    void clearPoints();
    // Computes row 0..11 of the Points table from its two typed inputs. A row given something
    // it cannot compute keeps its inputs as typed (PointGivenInputs).
    PointStatus computePoint(int row, const QString& input1, const QString& input2);
    PointStatus pointStatus(int row) const;

    // A property function of the Functions page (see FunctionEvaluator.h).
    FunctionResult evaluateFunction(int code, double x1, double x2, double x3) const;

signals:
    void stateChanged();
    // A calculation was refused: the state is gone, the inputs keep what the user typed.
    void inputRefused();
    void pointChanged(int row);

private:
    void refuse(std::optional<double> a1, std::optional<double> a2);
    PointStatus completePoint(std::size_t row, std::optional<double> a1, std::optional<double> a2);

    AppState m_state;
    const PropertyLibrary& m_library;
    // Receives the library's six outputs, t..x; kept between calculations because the library
    // leaves outputs it does not compute as they were.
    std::array<double, 7> m_scratch{};
    std::array<PointStatus, kPointRows> m_pointStatus{};
};
