// The calculation model without widgets, against the recording stand-in of the library: pair
// codes, argument order and want flags for every ordered pair of inputs, rotation, the failure
// path, the Points table and the notifications that the views rely on.

#include "StandInLibrary.h"

#include "app/CalculationModel.h"

#include <gtest/gtest.h>

#include <deque>
#include <map>
#include <set>

using numerics::Quantity;
namespace rc = numerics::RegionCode;

namespace {

using Order = std::array<int, 7>;

class Model : public testing::Test {
protected:
    void SetUp() override {
        StandIn::reset();
        QObject::connect(&model, &CalculationModel::stateChanged, [this] { ++stateChanges; });
        QObject::connect(&model, &CalculationModel::pointChanged,
                         [this](int row) { changedRows.push_back(row); });
    }
    const AppState& state() const { return model.state(); }

    CalculationModel model{StandIn::library()};
    int stateChanges = 0;
    std::vector<int> changedRows;
};

// For each ordered pair of inputs, an order of the quantities that rotations reach from the
// start order.
std::map<std::pair<int, int>, Order> ordersForEveryPair() {
    std::map<std::pair<int, int>, Order> byInputs;
    std::set<Order> seen{Order{0, 1, 2, 3, 4, 5, 6}};
    for (std::deque<Order> queue(seen.begin(), seen.end()); !queue.empty(); queue.pop_front()) {
        const Order o = queue.front();
        byInputs.emplace(std::pair(o[1], o[2]), o);
        for (int row = 1; row <= 4; ++row) {
            CalculationModel probe(StandIn::library());
            probe.state().QuantityOrder = o;
            probe.rotate(row);
            if (seen.insert(probe.state().QuantityOrder).second)
                queue.push_back(probe.state().QuantityOrder);
        }
    }
    return byInputs;
}

} // namespace

TEST_F(Model, EveryOrderedPairGivesItsPairCodeValueOrderAndFlags) {
    const auto orders = ordersForEveryPair();
    ASSERT_EQ(orders.size(), 30u);
    for (const auto& [inputs, order] : orders) {
        const auto [a, b] = inputs;
        SCOPED_TRACE(testing::Message() << "inputs " << a << ", " << b);
        StandIn::reset();
        CalculationModel m(StandIn::library());
        m.state().QuantityOrder = order;

        EXPECT_EQ(m.calculate("11.5", "22.25"), CalculationModel::Outcome::Computed);
        ASSERT_EQ(StandIn::stateCalls.size(), 1u);
        const StandIn::StateCall& call = StandIn::stateCalls[0];
        EXPECT_EQ(call.args(), std::tuple(10 * std::min(a, b) + std::max(a, b),
                                          a < b ? 11.5 : 22.25, a < b ? 22.25 : 11.5));
        EXPECT_EQ(m.pairCode(), call.pair);
        EXPECT_EQ(m.inputsSwapped(), b < a);
        // A given quantity is never asked for; every other one is.
        std::string wants;
        for (int q = 2; q <= 5; ++q)
            if (a != q && b != q) wants += "PVSI"[q - 2];
        EXPECT_EQ(call.wants(), wants);
    }
}

TEST_F(Model, ACalculationCallsTheLibraryInOrderAndKeepsItsResultsANegativeOneNothing) {
    EXPECT_EQ(model.calculate("26,85", "3.0"), CalculationModel::Outcome::Computed);
    EXPECT_EQ(StandIn::sequence, (std::vector<std::string>{"StateFromPair", "cp", "cv", "kappa",
                                                           "w", "eta", "lambda"}));
    const std::array<double, 2> tv{26.85, StandIn::outputs[3]};
    EXPECT_EQ(StandIn::transport, (std::vector<std::array<double, 2>>{tv, tv}));
    for (std::size_t q = 1; q <= 6; ++q)
        EXPECT_EQ(state().StateValues[q], q == 1 ? 26.85 : q == 2 ? 3.0 : StandIn::outputs[q]);
    for (std::size_t k = 1; k <= 6; ++k)
        EXPECT_EQ(state().DerivedValues[k], StandIn::results[k]);
    EXPECT_EQ(state().CalcRegionCode, rc::Water);
    EXPECT_EQ(stateChanges, 1);

    // A negative value computes nothing and leaves no state (the views hear of it otherwise).
    EXPECT_EQ(model.calculate("-1", "3"), CalculationModel::Outcome::Ignored);
    EXPECT_EQ(model.calculate("1", "-0.5"), CalculationModel::Outcome::Ignored);
    EXPECT_EQ(StandIn::stateCalls.size(), 1u);
    EXPECT_EQ(state().StateKnown, (std::array<bool, 7>{false, true, true}));
    EXPECT_EQ(stateChanges, 1);
    // Without a positive volume there is no viscosity or conductivity.
    StandIn::outputs[3] = 0;
    StandIn::transport.clear();
    model.calculate("26.85", "3");
    EXPECT_TRUE(StandIn::transport.empty());
    EXPECT_EQ(state().DerivedValues[5], 0);
    EXPECT_EQ(state().DerivedValues[6], 0);
}

TEST_F(Model, NoNumberOrALibraryFaultClearsTheOutputsAndAllDerivedValues) {
    for (const char* bad : {"", "1.2.3", "nan", "inf", "1e400", "0x10"}) {
        SCOPED_TRACE(bad);
        model.calculate("26.85", "3");
        EXPECT_EQ(model.calculate(bad, "3"), CalculationModel::Outcome::Failed);
        for (std::size_t q = 3; q <= 6; ++q)
            EXPECT_EQ(state().StateValues[q], 0) << q;
        EXPECT_FALSE(state().StateKnown[1]); // nor can a box that the page wrote stand for t
        EXPECT_EQ(model.calculate(std::nullopt, "3"), CalculationModel::Outcome::Failed);
        EXPECT_EQ(state().DerivedValues, (std::array<double, 7>{}));
        EXPECT_EQ(state().CalcRegionCode, rc::None);
    }
    for (const char* at : {"StateFromPair", "w", "lambda"}) {
        SCOPED_TRACE(at);
        model.calculate("26.85", "3");
        StandIn::faultAt = at;
        EXPECT_EQ(model.calculate("30", "3"), CalculationModel::Outcome::Failed);
        EXPECT_EQ(state().DerivedValues, (std::array<double, 7>{}));
        EXPECT_EQ(state().StateValues[3], 0);
        StandIn::faultAt.clear();
    }
}

// A point that fails, in any way, loses its flag; every region counts as computed.
TEST_F(Model, PointsAreComputedWithTheCalculationPagesPairAndOnlyGoodOnesFlagged) {
    using Status = CalculationModel::PointStatus;
    model.rotate(1); // v, t: pair 13 with the inputs swapped
    EXPECT_EQ(model.computePoint(4, "0.5", "200"), Status::Computed);
    ASSERT_EQ(StandIn::stateCalls.size(), 1u);
    EXPECT_EQ(StandIn::stateCalls[0].args(), std::tuple(numerics::PairCode::TV, 200.0, 0.5));
    EXPECT_EQ(StandIn::stateCalls[0].wants(), "PSI");
    const auto& table = state().PointsTable;
    EXPECT_EQ(table[0][4], 1.0);
    EXPECT_EQ(table[numerics::at(Quantity::V)][4], 0.5);
    EXPECT_EQ(table[numerics::at(Quantity::T)][4], 200.0);
    EXPECT_EQ(table[numerics::at(Quantity::I)][4], StandIn::outputs[5]);
    EXPECT_EQ(changedRows, std::vector<int>{4});

    EXPECT_EQ(model.computePoint(4, "-5", "1"), Status::Negative);
    EXPECT_EQ(table[0][4], 0.0);
    for (const char* bad : {"", "abc", "nan"})
        EXPECT_EQ(model.computePoint(1, bad, "1"), Status::NotComputed) << bad;
    model.computePoint(4, "0.5", "200");
    StandIn::faultAt = "StateFromPair";
    EXPECT_EQ(model.computePoint(4, "0.5", "200"), Status::NotComputed);
    EXPECT_EQ(table[0][4], 0.0);
    StandIn::faultAt.clear();
    StandIn::region = rc::OutOfRange;
    EXPECT_EQ(model.computePoint(3, "1e300", "1"), Status::Computed);
    EXPECT_EQ(table[0][3], 1.0);

    model.clearPoints();
    for (int row = 0; row < kPointRows; ++row) {
        EXPECT_EQ(model.pointStatus(row), Status::Empty);
        for (std::size_t column = 0; column <= 6; ++column)
            EXPECT_EQ(table[column][std::size_t(row)], 0.0);
    }
}
