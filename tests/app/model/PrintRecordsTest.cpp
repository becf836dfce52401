// What the Print command hands to the report, against the calculation model and the recording
// stand-in of the library. Titles and a Points page without computed rows: the end-to-end test.

#include "StandInLibrary.h"

#include "app/CalculationModel.h"
#include "app/PrintRecords.h"

#include <gtest/gtest.h>

using namespace print_records;

namespace {

class Print : public testing::Test {
protected:
    void SetUp() override { StandIn::reset(); }
    AppState& state() { return model.state(); }
    // Walks the report's steps from the first record to the end, collecting every record.
    std::vector<QStringList> run() {
        state().CurrentRecord = 1;
        state().RecordCount = recordCount(state());
        std::vector<QStringList> records;
        int answer = step(state(), sdFirst);
        while (true) {
            records.push_back(recordValues(state(), state().CurrentRecord));
            answer = step(state(), sdNext);
            if (answer == srEof) break;
        }
        return records;
    }

    CalculationModel model{StandIn::library()};
};

} // namespace

TEST_F(Print, StepsStayWithinTheRecords) {
    struct Case {
        int count, current, dir, result, after;
    };
    const Case cases[] = {
        {3, 2, sdFirst, srBof, 1}, {3, 1, sdPrior, srBof, 1}, {3, 3, sdPrior, srOk, 2},
        {3, 3, sdNext, srEof, 3},  {3, 1, sdNext, srOk, 2},   {3, 1, sdLast, srEof, 3},
        {0, 1, sdNext, srEof, 1},  {0, 1, sdFirst, srBof, 1}, {0, 1, sdLast, srEof, 0},
        {1, 1, sdPrior, srBof, 1}, {1, 1, sdNext, srEof, 1},
    };
    for (const Case& c : cases) {
        state().RecordCount = c.count;
        state().CurrentRecord = c.current;
        EXPECT_EQ(step(state(), c.dir), c.result) << c.count << ' ' << c.current << ' ' << c.dir;
        EXPECT_EQ(state().CurrentRecord, c.after) << c.count << ' ' << c.current << ' ' << c.dir;
    }
}

// After a rotation place one is the volume, in the record as in the heads.
TEST_F(Print, TheCalculationPageIsOneRecordInDisplayOrder) {
    ASSERT_EQ(model.calculate(QString("26.85"), QString("3")),
              CalculationModel::Outcome::Computed);
    model.rotate(1);
    state().DecimalSeparator = ',';
    state().CurrentPageTag = 1;
    const std::vector<QStringList> records = run();
    ASSERT_EQ(records.size(), 1u);
    QStringList expected;
    for (int q : {3, 1, 2, 4, 5, 6})
        expected << model.formatted(numerics::Quantity(q), state().StateValues[q]);
    EXPECT_EQ(records[0], expected);
    EXPECT_EQ(records[0][1], "26,85");
    const QStringList params = parameters(state());
    ASSERT_EQ(params.size(), 15);
    EXPECT_EQ(params[0], QString::fromUtf8("Měrný objem = "));
    EXPECT_EQ(params[7], QString::fromUtf8("°C"));
}

TEST_F(Print, FlaggedRowsTwoAndFiveAreTheRecordsInRowOrder) {
    state().CurrentPageTag = 2;
    ASSERT_EQ(model.computePoint(4, "150", "0.5"), CalculationModel::PointStatus::Computed);
    ASSERT_EQ(model.computePoint(1, "100", "0.1"), CalculationModel::PointStatus::Computed);
    ASSERT_EQ(model.computePoint(2, "-1", "0.1"), CalculationModel::PointStatus::Negative);
    EXPECT_EQ(recordCount(state()), 2);
    const std::vector<QStringList> records = run();
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].mid(0, 2), (QStringList{"100.00", "0.100"}));
    EXPECT_EQ(records[1].mid(0, 2), (QStringList{"150.00", "0.500"}));
    EXPECT_EQ(records[1][2], model.formatted(numerics::Quantity(3), state().PointsTable[3][4]));
}
