#include "app/CalculationModel.h"

#include "numerics/NumericFault.h"
#include "platform/NumberText.h"

#include <optional>

using numerics::at;
using numerics::Quantity;

namespace {

// What StateFromPair is asked for: every quantity that is not given.
struct Wants {
    bool p, v, s, i;
};

Wants wantsFor(Quantity given1, Quantity given2) {
    auto wanted = [&](Quantity q) { return given1 != q && given2 != q; };
    return {wanted(Quantity::P), wanted(Quantity::V), wanted(Quantity::S), wanted(Quantity::I)};
}

} // namespace

CalculationModel::CalculationModel(const PropertyLibrary& library, QObject* parent)
    : QObject(parent), m_library(library) {}

Quantity CalculationModel::quantityAt(int place) const {
    return numerics::quantityAt(m_state.QuantityOrder[static_cast<std::size_t>(place)]);
}

int CalculationModel::pairCode() const {
    return numerics::pairOf(quantityAt(1), quantityAt(2));
}

bool CalculationModel::inputsSwapped() const {
    return quantityAt(2) < quantityAt(1);
}

QString CalculationModel::formatted(Quantity q, double value) const {
    return platform::FormatFixed(value, m_state.DecimalPlaces[at(q)], m_state.DecimalSeparator);
}

CalculationModel::Outcome CalculationModel::calculate(const std::optional<QString>& typed1,
                                                      const std::optional<QString>& typed2) {
    AppState& s = m_state;
    const auto valueOf = [&](const std::optional<QString>& typed, int place) {
        if (typed) return platform::ParseNumber(*typed);
        const std::size_t q = at(quantityAt(place));
        return s.StateKnown[q] ? std::optional(s.StateValues[q]) : std::nullopt;
    };
    const std::optional<double> a1 = valueOf(typed1, 1);
    const std::optional<double> a2 = valueOf(typed2, 2);
    if (!a1 || !a2 || *a1 < 0 || *a2 < 0) {
        refuse(a1, a2);
        return a1 && a2 ? Outcome::Ignored : Outcome::Failed;
    }

    const Quantity q1 = quantityAt(1);
    const Quantity q2 = quantityAt(2);
    s.StateValues[at(q1)] = *a1;
    s.StateValues[at(q2)] = *a2;
    const int pair = pairCode();
    const double x1 = inputsSwapped() ? *a2 : *a1;
    const double x2 = inputsSwapped() ? *a1 : *a2;
    const Wants want = wantsFor(q1, q2);
    const bool meta = s.MetastablePreferred;
    try {
        auto& r = m_scratch;
        m_library.StateFromPair(pair, want.p, want.v, x1, x2, want.s, want.i, meta, r[1], r[2],
                                r[3], r[4], r[5], r[6], s.CalcRegionCode);
        for (std::size_t q = 1; q <= numerics::kQuantityCount; ++q)
            s.StateValues[q] = r[q];
        // The given values stand, also where the library zeroes them (a pair it does not take).
        s.StateValues[at(q1)] = *a1;
        s.StateValues[at(q2)] = *a2;
        auto& d = s.DerivedValues;
        d[1] = m_library.IsobaricHeatCapacity(pair, meta, x1, x2);
        d[2] = m_library.IsochoricHeatCapacity(pair, meta, x1, x2);
        d[3] = m_library.IsentropicExponent(pair, meta, x1, x2);
        d[4] = m_library.SpeedOfSound(pair, meta, x1, x2);
        const double t = r[at(Quantity::T)];
        const double v = r[at(Quantity::V)];
        d[5] = v > 0 ? m_library.ViscosityTV(t, v) : 0;
        d[6] = v > 0 ? m_library.ConductivityTV(t, v) : 0;
    } catch (const numerics::NumericFault&) {
        refuse(a1, a2);
        return Outcome::Failed;
    }
    s.StateComputed = isComputedRegion(s.CalcRegionCode);
    s.StateKnown.fill(s.StateComputed);
    s.StateKnown[at(q1)] = s.StateKnown[at(q2)] = true;
    emit stateChanged();
    return Outcome::Computed;
}

void CalculationModel::refuse(std::optional<double> a1, std::optional<double> a2) {
    AppState& s = m_state;
    s.StateValues.fill(0);
    s.StateKnown.fill(false);
    const std::pair<int, std::optional<double>> inputs[] = {{1, a1}, {2, a2}};
    for (const auto& [place, value] : inputs) {
        const std::size_t q = at(quantityAt(place));
        s.StateValues[q] = value.value_or(0);
        s.StateKnown[q] = value.has_value();
    }
    // All six derived values go: none of them belongs to a state any more.
    s.DerivedValues.fill(0);
    s.CalcRegionCode = numerics::RegionCode::None;
    s.StateComputed = false;
    emit inputRefused();
}

void CalculationModel::rotate(int row) {
    auto& order = m_state.QuantityOrder;
    const auto place = static_cast<std::size_t>(row + 2);
    const int first = order[1];
    const int second = order[2];
    order[1] = order[place];
    order[2] = first;
    order[place] = second;
    m_state.CalcRegionCode = numerics::RegionCode::None;
    emit stateChanged();
}

void CalculationModel::toggleMetastable() {
    m_state.MetastablePreferred = !m_state.MetastablePreferred;
}

void CalculationModel::clearPoints() {
    for (auto& column : m_state.PointsTable)
        column.fill(0.0);
    m_state.PointGivenInputs.fill({});
    m_pointStatus.fill(PointStatus::Empty);
    for (int row = 0; row < kPointRows; ++row)
        emit pointChanged(row);
}

CalculationModel::PointStatus CalculationModel::pointStatus(int row) const {
    return m_pointStatus[static_cast<std::size_t>(row)];
}

CalculationModel::PointStatus CalculationModel::computePoint(int row, const QString& input1,
                                                             const QString& input2) {
    const auto r = static_cast<std::size_t>(row);
    m_state.PointsTable[0][r] = 0.0;
    m_pointStatus[r] =
        completePoint(r, platform::ParseNumber(input1), platform::ParseNumber(input2));
    m_state.PointGivenInputs[r] = {};
    if (m_pointStatus[r] != PointStatus::Computed)
        m_state.PointGivenInputs[r] = {input1.trimmed(), input2.trimmed()};
    emit pointChanged(row);
    return m_pointStatus[r];
}

CalculationModel::PointStatus CalculationModel::completePoint(std::size_t row,
                                                              std::optional<double> a1,
                                                              std::optional<double> a2) {
    if (!a1 || !a2) return PointStatus::NotComputed;
    if (*a1 < 0 || *a2 < 0) return PointStatus::Negative;
    const Quantity q1 = quantityAt(1);
    const Quantity q2 = quantityAt(2);
    const double x1 = inputsSwapped() ? *a2 : *a1;
    const double x2 = inputsSwapped() ? *a1 : *a2;
    // Outputs start at the given values and 0, so none the library leaves alone is stale.
    std::array<double, 7> out{};
    out[at(q1)] = *a1;
    out[at(q2)] = *a2;
    const Wants want = wantsFor(q1, q2);
    int region = 0; // not shown: every region counts as computed on the page
    try {
        m_library.StateFromPair(pairCode(), want.p, want.v, x1, x2, want.s, want.i,
                                m_state.MetastablePreferred, out[1], out[2], out[3], out[4],
                                out[5], out[6], region);
    } catch (const numerics::NumericFault&) {
        return PointStatus::NotComputed;
    }
    auto& table = m_state.PointsTable;
    table[0][row] = 1.0;
    m_state.PointRegions[row] = region;
    for (std::size_t q = 1; q <= numerics::kQuantityCount; ++q)
        table[q][row] = out[q];
    return PointStatus::Computed;
}

FunctionResult CalculationModel::evaluateFunction(int code, double x1, double x2,
                                                  double x3) const {
    return EvaluateFunction(m_library, code, x1, x2, x3);
}
