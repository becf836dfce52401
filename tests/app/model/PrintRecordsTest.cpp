// What the Print command hands to the report, against the calculation model and the recording
// stand-in of the library. Titles and a Points page without computed rows: the end-to-end test.

#include "StandInLibrary.h"

#include "app/CalculationModel.h"
#include "app/PrintRecords.h"
#include "platform/NumberText.h"

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
    expected << "1"; // the point's number
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
    ASSERT_EQ(model.computePoint(2, "", " "), CalculationModel::PointStatus::NotComputed);
    EXPECT_EQ(recordCount(state()), 2);
    const std::vector<QStringList> records = run();
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].mid(0, 2), (QStringList{"100.00", "0.100"}));
    EXPECT_EQ(records[1].mid(0, 2), (QStringList{"150.00", "0.500"}));
    EXPECT_EQ(records[1][2], model.formatted(numerics::Quantity(3), state().PointsTable[3][4]));
    EXPECT_EQ(records[0][6], "2"); // the points keep their numbers on the page
    EXPECT_EQ(records[1][6], "5");
}

// A printed input is the value the state was computed with: its text reads back as that value
// (0.0035 MPa typed for a quantity of three decimals prints 0.0035, never 0.004), with at
// least the quantity's decimals.
TEST_F(Print, InputsPrintTheValuesTheStateWasComputedWith) {
    state().CurrentPageTag = 1;
    for (const char* typed : {"0.0035", "1", "26.85", "0.1234567", "3e-4"}) {
        ASSERT_EQ(model.calculate(QString("150"), QString(typed)),
                  CalculationModel::Outcome::Computed);
        const QStringList record = run()[0];
        for (int place : {1, 2}) {
            const int q = state().QuantityOrder[place];
            EXPECT_EQ(platform::ParseNumber(record[place - 1]), state().StateValues[q]) << typed;
            const QString shown = model.formatted(numerics::Quantity(q), state().StateValues[q]);
            EXPECT_GE(record[place - 1].size(), shown.size()) << typed;
        }
    }
    EXPECT_EQ(run()[0][1], "0.0003");
}

// A state the library did not compute is never printed as a state of zeros. The Calculation
// page has no record then: before any calculation, after unreadable input, out of range. A
// Points row out of range prints its pair and no computed cells.
TEST_F(Print, AStateNotComputedPrintsNoComputedCells) {
    state().CurrentPageTag = 1;
    const auto expectNoRecord = [&](const char* what) {
        EXPECT_EQ(recordCount(state()), 0) << what;
        EXPECT_EQ(recordValues(state(), 1), QStringList(7, QString())) << what;
    };
    expectNoRecord("nothing computed yet");
    ASSERT_EQ(model.calculate(QString("150"), QString("1")), CalculationModel::Outcome::Computed);
    EXPECT_FALSE(run()[0][2].isEmpty());
    ASSERT_EQ(model.calculate(QString("abc"), QString("1")), CalculationModel::Outcome::Failed);
    expectNoRecord("unreadable input");
    StandIn::region = numerics::RegionCode::OutOfRange;
    ASSERT_EQ(model.calculate(QString("2500"), QString("1")), CalculationModel::Outcome::Computed);
    expectNoRecord("out of range");

    state().CurrentPageTag = 2;
    ASSERT_EQ(model.computePoint(0, "2500", "1"), CalculationModel::PointStatus::Computed);
    StandIn::region = numerics::RegionCode::Water;
    ASSERT_EQ(model.computePoint(1, "150", "1"), CalculationModel::PointStatus::Computed);
    const std::vector<QStringList> records = run();
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0], (QStringList{"2500.00", "1.000", "", "", "", "", "1"}));
    EXPECT_EQ(records[1].mid(0, 2), (QStringList{"150.00", "1.000"}));
    EXPECT_FALSE(records[1][2].isEmpty());
}

// What a row was given goes with the row: computed later it prints its state, and entering
// the page again forgets every row.
TEST_F(Print, AGivenPairGoesWhenItsRowIsComputedOrThePageCleared) {
    using Status = CalculationModel::PointStatus;
    state().CurrentPageTag = 2;
    ASSERT_EQ(model.computePoint(3, " abc ", "2"), Status::NotComputed);
    EXPECT_EQ(run(), std::vector<QStringList>({{"abc", "2.000", "", "", "", "", "4"}}));
    ASSERT_EQ(model.computePoint(3, "150", "2"), Status::Computed);
    std::vector<QStringList> records = run();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].mid(0, 2), (QStringList{"150.00", "2.000"}));
    EXPECT_FALSE(records[0][5].isEmpty());
    ASSERT_EQ(model.computePoint(3, "-150", "2,5"), Status::Negative);
    EXPECT_EQ(run(), std::vector<QStringList>({{"-150.00", "2.500", "", "", "", "", "4"}}));
    model.clearPoints();
    EXPECT_EQ(recordCount(state()), 0);
}
