// The Ranges page: decimals held to 0..8, their effect on the Calculation page and on kolv.cfg,
// and the spin edits' arrows.

#include "StandInLibrary.h"
#include "WindowFixture.h"

#include <QSpinBox>
#include <QStyleOptionSpinBox>
#include <QToolTip>

namespace {

class RangesUi : public testing::Test, public WindowFixture {
protected:
    void SetUp() override { StandIn::reset(); }

    QSpinBox* spin(int q) const { return find<QSpinBox>(QString("SpinEdit%1").arg(q)); }
    const std::array<int, 7>& decimals() const { return state().DecimalPlaces; }
};

} // namespace

TEST_F(RangesUi, EntryHoldsTheSpinsToZeroToEightAndWritesThemBack) {
    open(StandIn::library(), QByteArray("12\r\n-3\r\n6\r\n4\r\n8\r\n0\r\n"));
    chooseLanguage(0);
    // Used as read until the page is entered.
    EXPECT_EQ(decimals(), (std::array<int, 7>{0, 12, -3, 6, 4, 8, 0}));
    click("menu0_4");
    const int held[] = {8, 0, 6, 4, 8, 0};
    for (int q = 1; q <= 6; ++q) {
        EXPECT_EQ(spin(q)->value(), held[q - 1]) << q;
        EXPECT_EQ(spin(q)->property("tag").toInt(), q);
    }
    EXPECT_EQ(decimals(), (std::array<int, 7>{0, 8, 0, 6, 4, 8, 0}));
    EXPECT_EQ(QApplication::focusWidget(), spin(1));
    // The arrows stop at 0 and 8; a step counts at once.
    QTest::keyClick(spin(1), Qt::Key_Up);
    spin(2)->setFocus();
    QTest::keyClick(spin(2), Qt::Key_Down);
    EXPECT_EQ(spin(1)->value(), 8);
    EXPECT_EQ(spin(2)->value(), 0);
    QTest::keyClick(spin(2), Qt::Key_Up);
    EXPECT_EQ(decimals()[2], 1);
    QTest::keyClick(spin(2), Qt::Key_F1);
    EXPECT_EQ(help.topics, (HelpTopics{{"kolv.hlp", 50}}));
    window->close();
    EXPECT_EQ(cfgBytes(), "8\r\n1\r\n6\r\n4\r\n8\r\n0\r\n");
}

TEST_F(RangesUi, SpinsShowArrowsAndNoDecimalsForTReachTheCalculationPage) {
    open(StandIn::library());
    chooseLanguage(0);
    click("menu0_4");
    for (int q = 1; q <= 6; ++q) {
        QSpinBox* box = spin(q);
        QStyleOptionSpinBox option;
        option.initFrom(box);
        option.subControls = QStyle::SC_All;
        option.stepEnabled = QAbstractSpinBox::StepUpEnabled | QAbstractSpinBox::StepDownEnabled;
        const QImage image = box->grab().toImage();
        // An arrow inside each button, away from its edges: a few dark pixels, not a stray one.
        for (auto button : {QStyle::SC_SpinBoxUp, QStyle::SC_SpinBoxDown}) {
            const QRect area = box->style()
                                   ->subControlRect(QStyle::CC_SpinBox, &option, button, box)
                                   .adjusted(2, 1, -2, -1);
            int dark = 0;
            for (int y = area.top(); y <= area.bottom(); ++y)
                for (int x = area.left(); x <= area.right(); ++x)
                    dark += qGray(image.pixel(x * image.devicePixelRatio(),
                                              y * image.devicePixelRatio())) < 60;
            EXPECT_GE(dark, 3) << "quantity " << q << ", button " << button;
            EXPECT_GE(area.height(), 6) << q;
        }
    }

    QSpinBox* t = spin(1);
    QTest::keyClick(t, Qt::Key_Down);
    QTest::keyClick(t, Qt::Key_Down);
    EXPECT_EQ(decimals()[1], 0); // at once, without leaving the page

    // The pages format with the model's decimals of the moment (the Points page: its test).
    click("menu3_1");
    enter("Edit1", "26.85");
    EXPECT_EQ(find<QLineEdit>("Edit1")->text(), "27");
}

// The ranges show the locale's decimal separator, as every number does; a digit that a box
// refuses (beyond 8) is said to be refused, and the last value stays in view.
TEST_F(RangesUi, RangesFollowTheLocaleARefusedDigitSaysWhy) {
    open(StandIn::library());
    chooseLanguage(1);
    click("menu0_4");
    EXPECT_EQ(text("LabelMin").count(sep()), 5);
    for (bool emptied : {false, true}) {
        spin(1)->selectAll();
        if (emptied) QTest::keyClick(spin(1), Qt::Key_Backspace);
        QTest::keyClick(spin(1), '9');
        EXPECT_EQ(spin(1)->text(), "2") << emptied;
        EXPECT_EQ(QToolTip::text(), "The number of decimal places is 0 to 8.");
    }
}
