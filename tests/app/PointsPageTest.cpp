// The Points page against the recording stand-in: rows computed on leaving them, the marker
// texts, PointsTable and the column heads.

#include "StandInLibrary.h"
#include "WindowFixture.h"

namespace {

class PointsUi : public testing::Test, public WindowFixture {
protected:
    void SetUp() override {
        StandIn::reset();
        open(StandIn::library());
        chooseLanguage(0);
        click("menu0_2");
    }

    QTableWidget* inputs() const { return find<QTableWidget>("SGBody1"); }
    double table(int column, int row) const {
        return state().PointsTable.at(std::size_t(column)).at(std::size_t(row));
    }
    void clickCell(int row, int column) {
        const QRect cell = inputs()->visualRect(inputs()->model()->index(row, column));
        QTest::mouseClick(inputs()->viewport(), Qt::LeftButton, {}, cell.center());
    }
};

} // namespace

TEST_F(PointsUi, TypingARowAndTabbingOnComputesItAndReentryClearsEverything) {
    EXPECT_EQ(page(), "TabSheetBody");
    type("100");
    key(Qt::Key_Tab);
    EXPECT_TRUE(StandIn::stateCalls.empty()); // within the row nothing is computed
    type("0,1");
    key(Qt::Key_Tab);

    ASSERT_EQ(StandIn::stateCalls.size(), 1u);
    EXPECT_EQ(StandIn::stateCalls[0].args(), std::tuple(numerics::PairCode::TP, 100.0, 0.1));
    // v, s, h, x with the decimals 6, 4, 3, 4 of kolv.cfg.
    EXPECT_EQ(pointOutputs(0),
              (QStringList{num("0.001002"), num("0.3923"), num("115.331"), num("0.0000")}));
    EXPECT_EQ(state().PointsRow, 1);
    EXPECT_EQ(inputs()->currentRow(), 1);
    EXPECT_EQ(pointOutputs(1), (QStringList{"", "", "", ""}));
    // Leaving an empty row marks it not computed.
    clickCell(5, 0);
    EXPECT_EQ(pointOutputs(1), (QStringList{"- - -", "- - -", "- - -", "- - -"}));
    EXPECT_EQ(StandIn::stateCalls.size(), 1u);
    EXPECT_EQ(state().PointsRow, 5);
    // The grid carries its help context.
    key(Qt::Key_F1);
    EXPECT_EQ(help.topics, (HelpTopics{{"kolv.hlp", 60}}));

    // Another page clears the shown flag; back on the page the rows and the cursor stay. An
    // entry after a change of the inputs clears everything; a row never left is not computed.
    type("7");
    click("menu1_1");
    EXPECT_FALSE(state().PointsPageShown);
    click("menu0_2");
    EXPECT_EQ(pointOutputs(1)[0], "- - -");
    EXPECT_EQ(std::pair(table(0, 0), inputs()->currentRow()), std::pair(1.0, 5));
    click("menu1_1");
    click("ShapeV1");
    click("menu0_2");
    EXPECT_TRUE(state().PointsPageShown);
    EXPECT_EQ(StandIn::stateCalls.size(), 1u); // the row left unfinished was not computed
    for (int row = 0; row < 12; ++row) {
        EXPECT_EQ(pointOutputs(row), (QStringList{"", "", "", ""})) << row;
        for (int column = 0; column < 2; ++column) {
            const QTableWidgetItem* item = inputs()->item(row, column);
            EXPECT_TRUE(!item || item->text().isEmpty()) << row;
        }
        EXPECT_EQ(table(0, row), 0.0); // the model's test checks every column
    }
    EXPECT_EQ(state().PointsRow, 0);
    EXPECT_EQ(inputs()->currentRow(), 0);
    EXPECT_EQ(inputs()->currentColumn(), 0);
    EXPECT_EQ(QApplication::focusWidget(), inputs());
}

TEST_F(PointsUi, ArrowsShiftTabAndTheMouseLeaveRowsTooTypingReplacesACell) {
    type("50");
    key(Qt::Key_Tab);
    type("2");
    key(Qt::Key_Down); // to row 1, column 1
    EXPECT_EQ(StandIn::stateCalls.size(), 1u);
    type("3");
    key(Qt::Key_Backtab, Qt::ShiftModifier); // row 1, column 0: the same row
    EXPECT_EQ(StandIn::stateCalls.size(), 1u);
    type("60");
    key(Qt::Key_Up); // back to row 0, which computes row 1
    ASSERT_EQ(StandIn::stateCalls.size(), 2u);
    EXPECT_EQ(StandIn::stateCalls[1].args(), std::tuple(numerics::PairCode::TP, 60.0, 3.0));
    clickCell(11, 1); // row 0 again, by the mouse
    EXPECT_EQ(StandIn::stateCalls.size(), 3u);
    EXPECT_EQ(state().PointsRow, 11);
    // Typing into a filled cell replaces its text.
    clickCell(1, 0);
    type("5");
    key(Qt::Key_Tab);
    EXPECT_EQ(inputs()->item(1, 0)->text(), "5");
}

TEST_F(PointsUi, HeadsAndInputsFollowTheCalculationPagesOrder) {
    click("menu1_1");
    click("ShapeV1"); // v, t, p, s, h, x: pair 13 with the inputs swapped
    click("menu0_2");
    const int order[] = {3, 1, 2, 4, 5, 6};
    for (int place = 1; place <= 6; ++place)
        EXPECT_EQ(find(QString("L%1").arg(order[place - 1]))->x(), (place - 1) * 78 + 25) << place;
    type("0.5");
    key(Qt::Key_Tab);
    type("200");
    key(Qt::Key_Tab);
    ASSERT_EQ(StandIn::stateCalls.size(), 1u);
    // Outputs by places 3..6: p, s, h, x.
    EXPECT_EQ(pointOutputs(0)[0], num("3.000"));
    EXPECT_EQ(table(3, 0), 0.5);
}

// Tab and Shift+Tab stop at the grid's ends (going round, the next keys overwrote a row); Tab in
// the last cell computes its row. A value typed at once after a click on the current cell is
// kept. A row out of range shows the marker, no values.
TEST_F(PointsUi, TabStopsAtTheEndsAClickedCellKeepsWhatIsTypedOutOfRangeIsMarked) {
    type("50");
    key(Qt::Key_Backtab, Qt::ShiftModifier);
    StandIn::region = numerics::RegionCode::OutOfRange;
    clickCell(11, 0);
    EXPECT_EQ(pointOutputs(0), QStringList(4, "- - -"));
    StandIn::region = numerics::RegionCode::Water;
    for (const char* cell : {"60", "3", ""}) {
        type(cell);
        key(Qt::Key_Tab);
    }
    EXPECT_EQ(std::pair(inputs()->currentRow(), inputs()->currentColumn()), std::pair(11, 1));
    EXPECT_EQ(QApplication::focusWidget(), inputs());
    EXPECT_EQ(pointOutputs(11)[0], num("0.001002"));
    QTest::qWait(QApplication::doubleClickInterval() + 100); // a click, not half a double one
    clickCell(11, 1);
    type("4");
    QTest::qWait(QApplication::doubleClickInterval() + 100);
    type("5");
    key(Qt::Key_Up);
    EXPECT_EQ(StandIn::stateCalls.back().x2, 45.0);
}
