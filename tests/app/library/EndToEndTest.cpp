// The window against the real property library. Expected values from IAPWS-IF97's own
// verification point of region 1 (300 K, 3 MPa), shown with the default decimals.

#include "WindowFixture.h"

namespace {

class EndToEnd : public testing::Test, public WindowFixture {
protected:
    void SetUp() override { open(RealPropertyLibrary()); }
    void openBanner() { tickBanner(20); }
};

} // namespace

TEST_F(EndToEnd, CompressedWaterAt300KelvinAnd3MPa) {
    chooseLanguage(0);
    compute("26.85", "3");
    EXPECT_EQ(state().CalcRegionCode, numerics::RegionCode::Water);
    EXPECT_EQ(find<QLineEdit>("Edit1")->text(), num("26.85"));
    EXPECT_EQ(text("LabelV11"), num("0.001002"));  // v
    EXPECT_EQ(text("LabelV22"), num("0.3923"));    // s
    EXPECT_EQ(text("LabelV33"), num("115.331"));   // h
    EXPECT_EQ(text("LabelV44"), "0");              // x
    EXPECT_EQ(text("LabelD11"), num("4.173"));     // cp
    EXPECT_EQ(text("LabelD44"), num("1507.7392")); // w
    EXPECT_NE(text("LabelD55"), "0");
    EXPECT_NE(text("LabelD66"), "0");
    EXPECT_TRUE(QTest::qWaitFor([this] { return bannerHeight() == 18; }, 2000));
    EXPECT_EQ(text("lblNazevOblasti"), QString::fromUtf8("Oblast tlakové vody"));
}

TEST_F(EndToEnd, HugeValuesAreOutOfRangeAndVolumeWithDrynessIsUnsupported) {
    chooseLanguage(0);
    compute("1e300", "3");
    EXPECT_EQ(state().CalcRegionCode, numerics::RegionCode::OutOfRange);
    EXPECT_EQ(find<QLineEdit>("Edit1")->text(), "1E300");
    openBanner();
    EXPECT_EQ(text("lblNazevOblasti"), QString::fromUtf8("Hodnoty mimo funkční oblast"));

    click("ShapeV1"); // v, t, p, ...
    click("ShapeV4"); // x, v, p, s, h, t
    EXPECT_EQ(window->model().pairCode(), numerics::PairCode::VX);
    compute("0.5", "0.01");
    EXPECT_EQ(state().CalcRegionCode, numerics::RegionCode::Unsupported);
    openBanner();
    EXPECT_EQ(text("lblNazevOblasti"), QString::fromUtf8("Kombinace proměnných není odladěna"));
}

TEST_F(EndToEnd, ASecondEnterKeepsTheStateThatTheRoundedTextStandsFor) {
    // 28 °C and 0.0035 MPa is steam (ts = 26.7 °C); 0.004 MPa, as the box shows it, would be
    // water (ts = 29.0 °C).
    chooseLanguage(0);
    compute("28", "0.0035");
    ASSERT_EQ(state().CalcRegionCode, numerics::RegionCode::Steam);
    ASSERT_EQ(find<QLineEdit>("Edit2")->text(), num("0.004"));
    QTest::keyClick(find<QLineEdit>("Edit2"), Qt::Key_Return);
    EXPECT_EQ(state().CalcRegionCode, numerics::RegionCode::Steam);
    EXPECT_EQ(state().StateValues[2], 0.0035);
}
