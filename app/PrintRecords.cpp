#include "app/PrintRecords.h"

#include "app/CalculationModel.h"
#include "app/Texts.h"
#include "platform/NumberText.h"

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

// Row of the Points table behind record `record`, or -1.
int rowOfRecord(const AppState& state, int record) {
    int seen = 0;
    for (int row = 0; row < kPointRows; ++row) {
        if (computed(state, row) && ++seen == record) return row;
    }
    return -1;
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
    return names;
}

int recordCount(const AppState& state) {
    if (state.CurrentPageTag == 1) return 1;
    int count = 0;
    for (int row = 0; row < kPointRows; ++row)
        count += computed(state, row) ? 1 : 0;
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
    const bool computed =
        calculation
            ? state.StateComputed
            : row >= 0 && CalculationModel::isComputedRegion(state.PointRegions[size_t(row)]);
    QStringList values;
    for (int place = 1; place <= kPlaces; ++place) {
        const int q = state.QuantityOrder[place];
        // No row behind the record, or a cell of a state the library did not compute.
        if ((!calculation && row < 0) || (place > 2 && !computed)) {
            values << QString();
            continue;
        }
        const double value = row < 0 ? state.StateValues[q] : state.PointsTable[q][row];
        values << (place <= 2 ? inputText(value, state.DecimalPlaces[q], state.DecimalSeparator)
                              : platform::FormatFixed(value, state.DecimalPlaces[q],
                                                      state.DecimalSeparator));
    }
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
