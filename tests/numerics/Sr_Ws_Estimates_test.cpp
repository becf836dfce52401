#include "numerics/BoundaryValues.h"
#include "numerics/Sr_Ws.h"
#include "numerics/TP_WS.h"

#include <gtest/gtest.h>

using namespace numerics;

namespace {

// The estimates read what the region test of the pair left in the record; a copy of it.
BoundaryRecord regionTest(int (*test)(double, double), double v, double y) {
    ClearBoundaryValues();
    test(v, y);
    return BoundaryValues;
}

TEST(FirstEstimates, LinesThroughTheBoundaryValues) {
    // v >= the saturated-vapour volume at 350 °C: between saturation and the 800 °C isotherm.
    BoundaryRecord bv = regionTest(Region_VS, 1.0, 8.0);
    EXPECT_EQ(T2Est_VS(1.0, bv.S23), bv.Ts);
    EXPECT_DOUBLE_EQ(T2Est_VS(1.0, bv.S800), 800);
    EXPECT_DOUBLE_EQ(P2Est_VS(1.0, bv.S23), bv.Ps);
    EXPECT_DOUBLE_EQ(P2Est_VS(1.0, bv.S800), bv.P800);
    bv = regionTest(Region_VI, 1.0, 3000);
    EXPECT_EQ(T2Est_VI(1.0, bv.I23), bv.Ts);
    EXPECT_DOUBLE_EQ(T2Est_VI(1.0, bv.I800), 800);
    // Small volumes: from the B23 boundary up to the 100 MPa isobar.
    bv = regionTest(Region_VS, 0.004, 5.5);
    ASSERT_NE(bv.S100, 0);
    EXPECT_DOUBLE_EQ(T2Est_VS(0.004, bv.S100), bv.T100);
    EXPECT_DOUBLE_EQ(P2Est_VS(0.004, bv.SB23), bv.PB23);
    EXPECT_DOUBLE_EQ(P2Est_VS(0.004, bv.S100), 100);
    bv = regionTest(Region_VI, 0.004, 2900);
    ASSERT_NE(bv.I100, 0);
    EXPECT_DOUBLE_EQ(T2Est_VI(0.004, bv.I100), bv.T100);
    EXPECT_DOUBLE_EQ(P2Est_VI(0.004, bv.IB23), bv.PB23);
}

TEST(FirstEstimates, ZeroOutsideTheRange) {
    regionTest(Region_VS, 1.0, 8.0);
    EXPECT_EQ(T2Est_VS(0.003, 7), 0); // below the critical volume
    EXPECT_EQ(P2Est_VS(250, 7), 0);
    EXPECT_EQ(T2Est_VS(1.0, 9.2), 0);
    EXPECT_EQ(P2Est_VS(1.0, -0.1), 0);
    regionTest(Region_VI, 1.0, 3000);
    EXPECT_EQ(T2Est_VI(0.003, 3000), 0);
    EXPECT_EQ(P2Est_VI(1.0, 4200), 0);
    EXPECT_NE(T2Est_VI(1.0, 3000), 0);
}

// The fitted subcooling: 0 on the saturated-vapour line, and within a few kelvin of the
// metastable temperature that has the given s or h, down to half way to the lowest one.
TEST(FirstEstimates, MetastableTemperature) {
    for (double p : {0.005, 0.1, 1.0, 5.0, 9.0}) {
        ClearBoundaryValues();
        const double ts = Ts_P(p);
        const double s2 = S2_TP(ts, p), s1 = S1_TP(ts, p);
        Region_PS(true, p, s2 - 0.02 * (s2 - s1));
        EXPECT_EQ(T2mEst_PS(p, BoundaryValues.S23), BoundaryValues.Ts) << p;
        for (double dt : {2.0, (ts - TMeta_P(p)) / 2}) {
            const double t = ts - dt;
            EXPECT_NEAR(T2mEst_PS(p, S2m_TP(t, p)), t, 2 + 0.1 * dt) << p << " " << dt;
        }
        ClearBoundaryValues();
        const double h2 = I2_TP(ts, p), h1 = I1_TP(ts, p);
        Region_PI(true, p, h2 - 0.02 * (h2 - h1));
        EXPECT_EQ(T2mEst_PI(p, BoundaryValues.I23), BoundaryValues.Ts) << p;
        for (double dt : {2.0, (ts - TMeta_P(p)) / 2}) {
            const double t = ts - dt;
            EXPECT_NEAR(T2mEst_PI(p, I2m_TP(t, p)), t, 2 + 0.1 * dt) << p << " " << dt;
        }
    }
}

} // namespace
