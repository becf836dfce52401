// The pages against the real property library. Expected values from python3-iapws
// (IAPWS97(T=373.15, P=0.1) and the states named below), shown with the default decimals of
// kolv.cfg. The library's own values are the numerics tests', each function code's the
// reference table's.

#include "WindowFixture.h"

#include "app/Texts.h"

namespace {

class EndToEnd : public testing::Test, public WindowFixture {
protected:
    void SetUp() override {
        open(RealPropertyLibrary());
        chooseLanguage(0);
    }
};

} // namespace

TEST_F(EndToEnd, HugeValuesAreOutOfRangeAndVolumeWithDrynessIsUnsupported) {
    compute("1e300", "3");
    EXPECT_EQ(state().CalcRegionCode, numerics::RegionCode::OutOfRange);
    EXPECT_EQ(find<QLineEdit>("Edit1")->text(), "1E300");
    tickBanner(20); // open
    EXPECT_EQ(text("lblNazevOblasti"), QString::fromUtf8("Hodnoty mimo funkční oblast"));

    click("ShapeV1"); // v, t, p, ...
    click("ShapeV4"); // x, v, p, s, h, t
    compute("0.5", "0.01");
    EXPECT_EQ(state().CalcRegionCode, numerics::RegionCode::Unsupported);
    tickBanner(20); // open
    EXPECT_EQ(text("lblNazevOblasti"), QString::fromUtf8("Kombinace proměnných není odladěna"));
    // The given values stay, and nothing shows as computed.
    EXPECT_EQ(find<QLineEdit>("Edit1")->text() + text("LabelV11") + text("LabelD11"),
              num("0.5000"));
    EXPECT_EQ(find<QLineEdit>("Edit2")->text(), num("0.010000"));
}

// Where the library gives no state for a function's inputs (900 is beyond every range), none of
// the 63 functions shows a number: the result stays empty and the banner says why. A property
// the state has not is a dash, here and on the Calculation page.
TEST_F(EndToEnd, NoFunctionShowsANumberOutOfRange) {
    compute("20", "1");
    EXPECT_EQ(text("LabelD33"), QString::fromUtf8("–")); // kappa of compressed water
    click("menu0_3");
    int checked = 0;
    for (int group = 1; group <= 5; ++group) {
        for (int i = 0; i < texts::functionNames(texts::Czech, group).size(); ++i, ++checked) {
            chooseFunction(100 * group + i);
            for (const char* box : {"EditVstup1", "EditVstup2", "EditVstup3"})
                find<QLineEdit>(box)->setText("900");
            QTest::keyClick(find<QLineEdit>("EditVstup1"), Qt::Key_Return);
            EXPECT_EQ(text("Lhodnota") + text("lblFunctionBanner"),
                      QString::fromUtf8("Hodnoty mimo funkční oblast"))
                << 100 * group + i;
            EXPECT_TRUE(find("lblFunctionBanner")->isVisible());
        }
    }
    EXPECT_EQ(checked, 63);
    chooseFunction(506);
    find<QLineEdit>("EditVstup1")->setText("20");
    find<QLineEdit>("EditVstup2")->setText("1");
    QTest::keyClick(find<QLineEdit>("EditVstup2"), Qt::Key_Return);
    EXPECT_EQ(text("Lhodnota"), QString::fromUtf8("–"));
    EXPECT_FALSE(find("lblFunctionBanner")->isVisible());
}

TEST_F(EndToEnd, ASecondEnterKeepsTheStateThatTheRoundedTextStandsFor) {
    // 28 °C and 0.0035 MPa is steam (ts = 26.7 °C); 0.004 MPa, as the box shows it, would be
    // water (ts = 29.0 °C).
    compute("28", "0.0035");
    ASSERT_EQ(state().CalcRegionCode, numerics::RegionCode::Steam);
    ASSERT_EQ(find<QLineEdit>("Edit2")->text(), num("0.004"));
    QTest::keyClick(find<QLineEdit>("Edit2"), Qt::Key_Return);
    EXPECT_EQ(state().CalcRegionCode, numerics::RegionCode::Steam);
    EXPECT_EQ(state().StateValues[2], 0.0035);
}

TEST_F(EndToEnd, APointOfSuperheatedSteam) {
    click("menu0_2");
    type("100");
    key(Qt::Key_Tab);
    type("0,1");
    key(Qt::Key_Tab);
    EXPECT_EQ(pointOutputs(0),
              (QStringList{num("1.695959"), num("7.3610"), num("2675.767"), num("1.0000")}));
}

// The three inputs of the heat drop reach the library in their order.
TEST_F(EndToEnd, HeatDropOnTheFunctionsPage) {
    click("menu0_3");
    chooseFunction(508);
    const char* inputs[] = {"10", "3375.0584418464077", "0,01"};
    for (int i = 0; i < 3; ++i)
        find<QLineEdit>(QString("EditVstup%1").arg(i + 1))->setText(inputs[i]);
    QTest::keyClick(find<QLineEdit>("EditVstup3"), Qt::Key_Return);
    // 1285.418 kJ/kg by iapws; the backward equation of region 2 moves it by up to 0.011.
    const double drop = text("Lhodnota").replace(',', '.').toDouble();
    EXPECT_NEAR(drop, 1285.418, 0.012);
}
