// First estimates of the region 2 (v, s) and (v, h) solvers and of the metastable-vapour
// (p, s) and (p, h) solvers, built from the values the region test of the pair has just left in
// BoundaryValues. A field the test did not reach is 0, and the estimates rely on that: the upper
// point is the 800 °C one exactly when the test reached the 800 °C isotherm.

#include "numerics/BoundaryValues.h"
#include "numerics/DecimalLimits.h"
#include "numerics/Sr_Ws.h"

namespace numerics {

namespace {

using namespace limits;

// The straight line through (x0, y0) and (x1, y1), evaluated at x.
double lineThrough(double x0, double y0, double x1, double y1, double x) {
    return y0 + (y1 - y0) / (x1 - x0) * (x - x0);
}

// The range of the (v, s) and (v, h) pairs, outside which the region 2 estimates are 0.
bool outsideBox(double v, double y, const DecimalLimit& yMax) {
    return v < kVCrit || v > kVMax || y < 0 || y > yMax;
}

// Subcooling of metastable vapour below the saturation temperature [K] as a function of the
// pressure (rows: powers 0..3 of p in MPa) and of the distance d from saturated vapour
// (columns: powers 0..2 of d). Own fits; the constant column is 0, so d = 0 gives Ts.
using SubcoolingTable = double[4][3];
constexpr SubcoolingTable kSubcoolingPS = {
    {0, 17.58221383, -0.09961841746},
    {0, -0.3515191407, -0.1942560109},
    {0, -0.1669732952, -0.07345851003},
    {0, 0.01143815134, 0.008338059055},
};
constexpr SubcoolingTable kSubcoolingPI = {
    {0, 0.5223474997, -0.001009026344},
    {0, -0.1541673776, 5.670867205e-05},
    {0, 0.02640520116, 3.486313197e-05},
    {0, -0.001481745792, -3.263508097e-06},
};

double subcooling(const SubcoolingTable& c, double p, double d) {
    double sum = 0;
    for (int i = 3; i >= 0; --i)
        sum = sum * p + (c[i][0] + (c[i][1] + c[i][2] * d) * d);
    return sum;
}

// Entropy unit pc vc / Tc of the (p, s) fit [kJ/(kg K)].
constexpr double kEntropyUnit = 0.10589114927373185;

} // namespace

double T2Est_VS(double v, double s) {
    if (outsideBox(v, s, kSMax)) return 0;
    const auto& bv = BoundaryValues;
    const bool at800 = bv.S800 > bv.S100;
    return lineThrough(bv.S23, bv.Ts, at800 ? bv.S800 : bv.S100, at800 ? 800 : bv.T100, s);
}

double P2Est_VS(double v, double s) {
    if (outsideBox(v, s, kSMax)) return 0;
    const auto& bv = BoundaryValues;
    const bool at800 = bv.S800 > bv.S100;
    const bool onB23 = bv.SB23 > bv.S23;
    return lineThrough(onB23 ? bv.SB23 : bv.S23, onB23 ? bv.PB23 : bv.Ps,
                       at800 ? bv.S800 : bv.S100, at800 ? bv.P800 : 100, s);
}

double T2Est_VI(double v, double h) {
    if (outsideBox(v, h, kIMax)) return 0;
    const auto& bv = BoundaryValues;
    const bool at800 = bv.I800 > bv.I100;
    return lineThrough(bv.I23, bv.Ts, at800 ? bv.I800 : bv.I100, at800 ? 800 : bv.T100, h);
}

double P2Est_VI(double v, double h) {
    if (outsideBox(v, h, kIMax)) return 0;
    const auto& bv = BoundaryValues;
    const bool at800 = bv.I800 > bv.I100;
    const bool onB23 = bv.IB23 > bv.I23;
    return lineThrough(onB23 ? bv.IB23 : bv.I23, onB23 ? bv.PB23 : bv.Ps,
                       at800 ? bv.I800 : bv.I100, at800 ? bv.P800 : 100, h);
}

double T2mEst_PS(double p, double s) {
    const auto& bv = BoundaryValues;
    return bv.Ts - subcooling(kSubcoolingPS, p, (bv.S23 - s) / kEntropyUnit);
}

double T2mEst_PI(double p, double h) {
    const auto& bv = BoundaryValues;
    return bv.Ts - subcooling(kSubcoolingPI, p, bv.I23 - h);
}

} // namespace numerics
