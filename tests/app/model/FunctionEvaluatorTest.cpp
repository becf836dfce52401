// EvaluateFunction against the recording stand-in: which library calls each code makes, with
// which pair code, argument order and flags, and which output it returns. The values of the
// unlisted dryness codes, of the transport and heat capacity functions and of the heat drop and
// pump work chains are checked against the reference table with the real library.

#include "StandInLibrary.h"

#include "app/FunctionEvaluator.h"
#include "app/Texts.h"

#include <gtest/gtest.h>

#include <limits>

using Calls = std::vector<std::string>;

namespace {

// The function's value, or -1 where it gives none.
double evaluate(int code, double x1, double x2 = 0, double x3 = 0) {
    const FunctionResult r = EvaluateFunction(StandIn::library(), code, x1, x2, x3);
    return r.status == FunctionResult::Computed ? r.value : -1.0;
}

int quantityOf(QChar letter) {
    return QStringLiteral("TPVSIX").indexOf(letter) + 1;
}

class Evaluator : public testing::Test {
protected:
    void SetUp() override { reset(); }
    // Distinct outputs, so the returned one is known.
    static void reset() {
        StandIn::reset();
        StandIn::outputs = {0, 101.5, 2.5, 0.75, 6.25, 2700.5, 0.875};
    }
    static const StandIn::StateCall& call(std::size_t n) { return StandIn::stateCalls.at(n); }
};

} // namespace

// What a function of groups 1..4 must do, read from its name alone: the letter before '_' is
// the result, the letters after it the inputs; "12" and "23" fix x at 0 and 1, a saturation
// function without them ("Ts_P", "Ps_T") fixes x at 0; "ms" asks for metastable vapour.
TEST_F(Evaluator, EveryListedFunctionCallsItsPairWithItsFlagsAndReturnsItsOutput) {
    int checked = 0;
    for (int group = 1; group <= 4; ++group) {
        const QStringList names = texts::functionNames(texts::English, group);
        for (int i = 0; i < names.size(); ++i, ++checked) {
            const QString& name = names[i];
            SCOPED_TRACE(testing::Message() << 100 * group + i << " " << name.toStdString());
            reset();
            const double r = evaluate(100 * group + i, 3.25, 4.5, 7.0);
            const qsizetype k = name.indexOf('_');
            const int result = quantityOf(name[0]), in1 = quantityOf(name[k + 1]);
            const auto args = group == 1
                                  ? std::tuple(10 * in1 + 6, 3.25, name.contains("23") ? 1.0 : 0.0)
                                  : std::tuple(10 * in1 + quantityOf(name[k + 2]), 3.25, 4.5);
            const std::string want = result >= 2 && result <= 5 ? name.left(1).toStdString() : "";
            ASSERT_EQ(StandIn::sequence, Calls{"StateFromPair"});
            EXPECT_EQ(call(0).args(), args);
            EXPECT_EQ(call(0).wants(), want + (name.contains("ms") ? "ms" : ""));
            EXPECT_EQ(r, StandIn::outputs[std::size_t(result)]);
        }
    }
    EXPECT_EQ(checked, 53);
}

TEST_F(Evaluator, EveryOutputIsPresetToTheGivenValuesOrZeroAndNoDropIsNegative) {
    // Codes whose library answer leaves some outputs alone must not read anything stale.
    for (int code : {100, 103, 208, 302, 407, 500, 502, 508, 509}) {
        SCOPED_TRACE(code);
        reset();
        evaluate(code, 9.0, 8.0, 1.0);
        ASSERT_FALSE(StandIn::presets.empty());
        for (std::size_t n = 0; n < StandIn::presets.size(); ++n) {
            std::array<double, 7> expected{};
            expected[std::size_t(call(n).pair / 10)] = call(n).x1;
            expected[std::size_t(call(n).pair % 10)] = call(n).x2;
            EXPECT_EQ(StandIn::presets[n], expected) << "call " << n;
        }
    }
    // The stand-in's end state (h2 = 2700.5) lies above h1: a rise, which is no heat drop.
    reset();
    EXPECT_EQ(evaluate(508, 5.0, 2000, 0.1), 0.0);
}

// Also the regions that the real library never gives; its values are the reference table's.
TEST_F(Evaluator, DrynessAndMoistureFollowTheRegionCode) {
    StandIn::outputs[6] = 0.3;
    const std::pair<int, double> byRegion[] = {{1, 0.0},   {2, 1.0},  {3, 1.0},  {5, 0.3},
                                               {6, 0.3},   {8, 1.0},  {9, -1.0}, {10, -1.0},
                                               {11, -1.0}, {0, -1.0}, {4, -1.0}, {7, -1.0}};
    for (const auto& [region, dryness] : byRegion) {
        SCOPED_TRACE(region);
        StandIn::region = region;
        StandIn::stateCalls.clear();
        EXPECT_DOUBLE_EQ(evaluate(500, 0.5, 2000), dryness);
        EXPECT_DOUBLE_EQ(evaluate(501, 0.5, 2000), dryness == -1.0 ? -1.0 : 1.0 - dryness);
        // None: for a pair the library does not take, else for no state.
        const bool unavailable = region == 10 || region == 11;
        EXPECT_EQ(EvaluateFunction(StandIn::library(), 501, 0.5, 2000, 0).status,
                  dryness >= 0  ? FunctionResult::Computed
                  : unavailable ? FunctionResult::Unavailable
                                : FunctionResult::OutOfRange);
    }
}

TEST_F(Evaluator, UnknownCodesFaultsAndNonFiniteValuesGiveMinusOne) {
    for (int code : {-1, 0, 99, 108, 199, 222, 299, 321, 408, 499, 510, 600, 1 << 30}) {
        reset();
        EXPECT_EQ(evaluate(code, 1, 2, 3), -1.0) << code;
        EXPECT_TRUE(StandIn::sequence.empty()) << code;
    }
    reset();
    StandIn::faultAt = "StateFromPair";
    for (int code : {100, 215, 320, 407, 500, 501, 502, 508, 509})
        EXPECT_EQ(evaluate(code, 1, 2, 0.5), -1.0) << code;
    reset();
    StandIn::faultAt = "eta";
    EXPECT_EQ(evaluate(502, 100, 1), -1.0);
    EXPECT_NE(evaluate(503, 100, 1), -1.0);

    reset();
    StandIn::results[1] = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(evaluate(504, 100, 1), -1.0);
    StandIn::outputs[1] = std::numeric_limits<double>::infinity();
    EXPECT_EQ(evaluate(100, 1), -1.0);
}
