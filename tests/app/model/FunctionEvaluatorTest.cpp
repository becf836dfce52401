// EvaluateFunction against the recording stand-in: which library calls each code makes, with
// which pair code, argument order and flags, and which output it returns.

#include "StandInLibrary.h"

#include "app/FunctionEvaluator.h"
#include "app/Texts.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

double evaluate(int code, double x1, double x2 = 0, double x3 = 0) {
    return EvaluateFunction(StandIn::library(), code, x1, x2, x3);
}

int quantityOf(QChar letter) {
    return QStringLiteral("TPVSIX").indexOf(letter) + 1;
}

// What a function of groups 1..4 must do, read from its name alone: the letter before '_' is
// the result, the letters after it the inputs; "12" and "23" fix x at 0 and 1, a saturation
// function without them ("Ts_P", "Ps_T") fixes x at 0; "ms" asks for metastable vapour.
struct Expected {
    int pair;
    int result;
    double x1, x2;
    bool wantP, wantV, wantS, wantI, metastable;
};

Expected fromName(const QString& name, int group, double a, double b) {
    const qsizetype k = name.indexOf('_');
    const int result = quantityOf(name[0]);
    const int in1 = quantityOf(name[k + 1]);
    Expected e{};
    if (group == 1) {
        e.pair = 10 * in1 + 6;
        e.x1 = a;
        e.x2 = name.contains("23") ? 1.0 : 0.0;
    } else {
        e.pair = 10 * in1 + quantityOf(name[k + 2]);
        e.x1 = a;
        e.x2 = b;
    }
    e.result = result;
    e.wantP = result == 2;
    e.wantV = result == 3;
    e.wantS = result == 4;
    e.wantI = result == 5;
    e.metastable = name.contains("ms");
    return e;
}

class Evaluator : public testing::Test {
protected:
    void SetUp() override {
        StandIn::reset();
        // Distinct outputs, so the returned one is known.
        StandIn::outputs = {0, 101.5, 2.5, 0.75, 6.25, 2700.5, 0.875};
    }
};

} // namespace

TEST_F(Evaluator, EveryListedFunctionCallsItsPairWithItsFlagsAndReturnsItsOutput) {
    int checked = 0;
    for (int group = 1; group <= 4; ++group) {
        const QStringList names = texts::functionNames(texts::English, group);
        for (int i = 0; i < names.size(); ++i) {
            const int code = 100 * group + i;
            SCOPED_TRACE(testing::Message() << code << " " << names[i].toStdString());
            StandIn::reset();
            StandIn::outputs = {0, 101.5, 2.5, 0.75, 6.25, 2700.5, 0.875};
            const double a = 3.25, b = 4.5, c = 7.0;
            const Expected e = fromName(names[i], group, a, b);
            const double r = evaluate(code, a, b, c);

            ASSERT_EQ(StandIn::stateCalls.size(), 1u);
            EXPECT_EQ(StandIn::sequence, std::vector<std::string>{"StateFromPair"});
            const StandIn::StateCall& call = StandIn::stateCalls[0];
            EXPECT_EQ(call.pair, e.pair);
            EXPECT_EQ(call.x1, e.x1);
            EXPECT_EQ(call.x2, e.x2);
            EXPECT_EQ(call.wantP, e.wantP);
            EXPECT_EQ(call.wantV, e.wantV);
            EXPECT_EQ(call.wantS, e.wantS);
            EXPECT_EQ(call.wantI, e.wantI);
            EXPECT_EQ(call.metastable, e.metastable);
            EXPECT_EQ(r, StandIn::outputs[static_cast<std::size_t>(e.result)]);
            ++checked;
        }
    }
    EXPECT_EQ(checked, 53);
}

TEST_F(Evaluator, UnlistedDrynessCodesUseTheirPairsWithoutFlags) {
    namespace pc = numerics::PairCode;
    const int pairs[] = {pc::PI, pc::PS, pc::TS, pc::TV, pc::VI, pc::VS};
    for (int i = 0; i < 6; ++i) {
        StandIn::reset();
        StandIn::outputs[6] = 0.25 + i / 10.0;
        EXPECT_EQ(evaluate(216 + i, 1.5, 2.5), StandIn::outputs[6]);
        ASSERT_EQ(StandIn::stateCalls.size(), 1u);
        const auto& call = StandIn::stateCalls[0];
        EXPECT_EQ(call.pair, pairs[i]);
        EXPECT_EQ(std::make_pair(call.x1, call.x2), std::make_pair(1.5, 2.5));
        EXPECT_FALSE(call.wantP || call.wantV || call.wantS || call.wantI || call.metastable);
    }
}

TEST_F(Evaluator, EveryOutputIsPresetToTheGivenValuesOrZero) {
    // Codes whose library answer leaves some outputs alone must not read anything stale.
    for (int code : {100, 103, 208, 302, 407, 500, 502, 508, 509}) {
        SCOPED_TRACE(code);
        StandIn::reset();
        evaluate(code, 9.0, 8.0, 1.0);
        ASSERT_FALSE(StandIn::presets.empty());
        for (std::size_t n = 0; n < StandIn::presets.size(); ++n) {
            const StandIn::StateCall& call = StandIn::stateCalls[n];
            std::array<double, 7> expected{};
            expected[static_cast<std::size_t>(call.pair / 10)] = call.x1;
            expected[static_cast<std::size_t>(call.pair % 10)] = call.x2;
            EXPECT_EQ(StandIn::presets[n], expected) << "call " << n;
        }
    }
}

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
        ASSERT_EQ(StandIn::stateCalls.size(), 1u);
        const auto& call = StandIn::stateCalls[0];
        EXPECT_EQ(call.pair, numerics::PairCode::PI);
        EXPECT_EQ(std::make_pair(call.x1, call.x2), std::make_pair(0.5, 2000.0));
        EXPECT_FALSE(call.wantP || call.wantV || call.wantS || call.wantI || call.metastable);
        EXPECT_DOUBLE_EQ(evaluate(501, 0.5, 2000), dryness == -1.0 ? -1.0 : 1.0 - dryness);
    }
}

TEST_F(Evaluator, TransportFunctionsCompleteTheVolumeFirst) {
    StandIn::outputs[3] = 0.0123;
    EXPECT_EQ(evaluate(502, 150, 0.4), StandIn::results[5]);
    EXPECT_EQ(evaluate(503, 150, 0.4), StandIn::results[6]);
    EXPECT_EQ(StandIn::sequence,
              (std::vector<std::string>{"StateFromPair", "eta", "StateFromPair", "lambda"}));
    for (const auto& call : StandIn::stateCalls) {
        EXPECT_EQ(call.pair, numerics::PairCode::TP);
        EXPECT_EQ(std::make_pair(call.x1, call.x2), std::make_pair(150.0, 0.4));
        EXPECT_TRUE(call.wantV);
        EXPECT_FALSE(call.wantP || call.wantS || call.wantI || call.metastable);
    }
    const std::array<double, 2> tv{150.0, 0.0123};
    EXPECT_EQ(StandIn::transport, (std::vector<std::array<double, 2>>{tv, tv}));
}

TEST_F(Evaluator, HeatCapacitiesExponentAndSoundSpeedTakeTemperatureAndPressure) {
    const char* names[] = {"cp", "cv", "kappa", "w"};
    for (int i = 0; i < 4; ++i) {
        StandIn::reset();
        EXPECT_EQ(evaluate(504 + i, 250, 1.5), StandIn::results[static_cast<std::size_t>(i + 1)]);
        EXPECT_TRUE(StandIn::stateCalls.empty());
        ASSERT_EQ(StandIn::derivedCalls.size(), 1u);
        const StandIn::DerivedCall& call = StandIn::derivedCalls[0];
        EXPECT_EQ(call.name, names[i]);
        EXPECT_EQ(call.pair, numerics::PairCode::TP);
        EXPECT_FALSE(call.metastable);
        EXPECT_EQ(std::make_pair(call.x1, call.x2), std::make_pair(250.0, 1.5));
    }
}

TEST_F(Evaluator, HeatDropExpandsAlongTheStartEntropy) {
    std::array<double, 7> start = StandIn::outputs;
    start[4] = 6.5; // s1
    std::array<double, 7> end = StandIn::outputs;
    end[5] = 2400; // h2
    StandIn::answers = {start, end};
    EXPECT_DOUBLE_EQ(evaluate(508, 5.0, 3100, 0.1), 3100 - 2400);
    ASSERT_EQ(StandIn::stateCalls.size(), 2u);
    const auto& first = StandIn::stateCalls[0];
    const auto& second = StandIn::stateCalls[1];
    EXPECT_EQ(first.pair, numerics::PairCode::PI);
    EXPECT_EQ(std::make_pair(first.x1, first.x2), std::make_pair(5.0, 3100.0));
    EXPECT_TRUE(first.wantS && !first.wantI && !first.wantP && !first.wantV);
    EXPECT_EQ(second.pair, numerics::PairCode::PS);
    EXPECT_EQ(std::make_pair(second.x1, second.x2), std::make_pair(0.1, 6.5));
    EXPECT_TRUE(second.wantI && !second.wantS && !second.wantP && !second.wantV);
    EXPECT_FALSE(first.metastable || second.metastable);

    // A rise instead of a drop gives 0.
    StandIn::reset();
    StandIn::answers = {start, end};
    EXPECT_EQ(evaluate(508, 5.0, 2000, 0.1), 0.0);

    // No expansion without a pressure drop: no library call at all.
    for (double p2 : {5.0, 7.0}) {
        StandIn::reset();
        EXPECT_EQ(evaluate(508, 5.0, 3100, p2), 0.0);
        EXPECT_TRUE(StandIn::sequence.empty());
    }
}

TEST_F(Evaluator, PumpWorkCompressesFromTemperatureAndPressure) {
    std::array<double, 7> start = StandIn::outputs;
    start[4] = 0.57;  // s1
    start[5] = 168.0; // h1
    std::array<double, 7> end = StandIn::outputs;
    end[5] = 178.5; // h2
    StandIn::answers = {start, end};
    // Inputs p1, t1, p2; the first call takes (t1, p1).
    EXPECT_DOUBLE_EQ(evaluate(509, 0.1, 40, 10), 178.5 - 168.0);
    ASSERT_EQ(StandIn::stateCalls.size(), 2u);
    const auto& first = StandIn::stateCalls[0];
    const auto& second = StandIn::stateCalls[1];
    EXPECT_EQ(first.pair, numerics::PairCode::TP);
    EXPECT_EQ(std::make_pair(first.x1, first.x2), std::make_pair(40.0, 0.1));
    EXPECT_TRUE(first.wantS && first.wantI && !first.wantP && !first.wantV);
    EXPECT_EQ(second.pair, numerics::PairCode::PS);
    EXPECT_EQ(std::make_pair(second.x1, second.x2), std::make_pair(10.0, 0.57));
    EXPECT_TRUE(second.wantI && !second.wantS);

    // A lower end enthalpy gives 0, whatever the pressures.
    StandIn::reset();
    end[5] = 150;
    StandIn::answers = {start, end};
    EXPECT_EQ(evaluate(509, 10, 40, 0.1), 0.0);
    EXPECT_EQ(StandIn::stateCalls.size(), 2u);
}

TEST_F(Evaluator, UnknownCodesGiveMinusOneWithoutCallingTheLibrary) {
    for (int code : {-1, 0, 99, 108, 199, 222, 299, 321, 408, 499, 510, 600, 1 << 30}) {
        StandIn::reset();
        EXPECT_EQ(evaluate(code, 1, 2, 3), -1.0) << code;
        EXPECT_TRUE(StandIn::sequence.empty()) << code;
    }
}

TEST_F(Evaluator, FaultsAndNonFiniteValuesGiveMinusOne) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    StandIn::faultAt = "StateFromPair";
    for (int code : {100, 215, 320, 407, 500, 501, 502, 508, 509})
        EXPECT_EQ(evaluate(code, 1, 2, 0.5), -1.0) << code;
    StandIn::reset();
    StandIn::faultAt = "eta";
    EXPECT_EQ(evaluate(502, 100, 1), -1.0);
    EXPECT_NE(evaluate(503, 100, 1), -1.0);

    StandIn::reset();
    StandIn::results[1] = nan;
    EXPECT_EQ(evaluate(504, 100, 1), -1.0);
    StandIn::outputs[1] = std::numeric_limits<double>::infinity();
    EXPECT_EQ(evaluate(100, 1), -1.0);
}
