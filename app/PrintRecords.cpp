#include "app/PrintRecords.h"

#include "app/LibraryBinding.h"
#include "app/Texts.h"
#include "platform/NumberText.h"

#include <optional>

namespace print_records {

namespace {

// Page texts of the report: title, subtitle, record caption.
constexpr int kTitleText = 9;
constexpr int kPlaces = 6;
// Decimals of an input at most: the page's ten significant digits after a leading zero.
constexpr int kInputDecimals = 10;

bool computed(const AppState& state, int row) {
    return state.PointsTable[0][row] == 1.0;
}

// Computed, or given something the library did not compute: the rows a print shows.
bool printed(const AppState& state, int row) {
    const auto& given = state.PointGivenInputs[std::size_t(row)];
    return computed(state, row) || !given[0].isEmpty() || !given[1].isEmpty();
}

// Row of the Points table behind record `record`, or -1.
int rowOfRecord(const AppState& state, int record) {
    int seen = 0;
    for (int row = 0; row < kPointRows; ++row) {
        if (printed(state, row) && ++seen == record) return row;
    }
    return -1;
}

// `value` as place 1..6 prints it: an input as it reads back, the others as the page shows them.
QString valueText(const AppState& state, int place, double value) {
    const int q = state.QuantityOrder[place];
    if (place <= 2) return inputText(value, state.DecimalPlaces[q], state.DecimalSeparator);
    return platform::FormatFixed(value, state.DecimalPlaces[q], state.DecimalSeparator);
}

// Place 1..6 of the Calculation page's state (row -1) or of Points row `row`: empty for a cell
// the library did not compute.
QString cellText(const AppState& state, int row, int place) {
    const bool input = place <= 2;
    const auto q = std::size_t(state.QuantityOrder[place]);
    if (row < 0) return valueText(state, place, state.StateValues[q]);
    const auto r = std::size_t(row);
    if (computed(state, row)) {
        if (input || isComputedRegion(state.PointRegions[r]))
            return valueText(state, place, state.PointsTable[q][r]);
        return QString();
    }
    if (!input) return QString();
    // What the row was given: a number in the page's notation, any other text as typed.
    const QString& typed = state.PointGivenInputs[r][std::size_t(place - 1)];
    const std::optional<double> number = platform::ParseNumber(typed);
    return number ? valueText(state, place, *number) : typed;
}

} // namespace

QStringList parameters(const AppState& state) {
    QStringList lines;
    for (int place = 1; place <= kPlaces; ++place)
        lines << texts::rowName(state.Language, state.QuantityOrder[place]);
    for (int place = 1; place <= kPlaces; ++place)
        lines << texts::quantityUnit(state.QuantityOrder[place]);
    for (int i = 0; i < 3; ++i)
        lines << texts::pageText(state.Language, kTitleText + i);
    return lines;
}

QStringList itemNames() {
    QStringList names;
    for (int i = 1; i <= kPlaces; ++i)
        names << QStringLiteral("Vel%1").arg(i);
    names << QStringLiteral("Bod");
    return names;
}

int recordCount(const AppState& state) {
    if (state.CurrentPageTag == 1) return state.StateComputed ? 1 : 0;
    int count = 0;
    for (int row = 0; row < kPointRows; ++row)
        count += printed(state, row) ? 1 : 0;
    return count;
}

QString inputText(double value, int decimals, QChar separator) {
    // The fewest decimals, from the quantity's own, that write the value as it reads back;
    // a value that needs more than the page's precision is shown as the page shows it.
    const int least = std::max(decimals, 0);
    for (int d = least; d <= std::max(least, kInputDecimals); ++d) {
        const QString text = platform::FormatFixed(value, d, separator);
        if (platform::ParseNumber(text) == value) return text;
    }
    return platform::FormatFixed(value, decimals, separator);
}

QStringList recordValues(const AppState& state, int record) {
    const bool calculation = state.CurrentPageTag == 1;
    const int row = calculation ? -1 : rowOfRecord(state, record);
    if (calculation ? !state.StateComputed : row < 0) return QStringList(kPlaces + 1, QString());
    QStringList values;
    for (int place = 1; place <= kPlaces; ++place)
        values << cellText(state, row, place);
    // The point's number is its row on the page, as the screen numbers it.
    values << QString::number(row < 0 ? 1 : row + 1);
    return values;
}

int step(AppState& state, int dir) {
    switch (dir) {
    case sdFirst:
        state.CurrentRecord = 1;
        return srBof;
    case sdPrior:
        if (state.CurrentRecord < 2) return srBof;
        --state.CurrentRecord;
        return srOk;
    case sdNext:
        if (state.CurrentRecord >= state.RecordCount) return srEof;
        ++state.CurrentRecord;
        return srOk;
    case sdLast:
        state.CurrentRecord = state.RecordCount;
        return srEof;
    default:
        return srEof;
    }
}

} // namespace print_records
