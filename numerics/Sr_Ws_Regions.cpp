// Region tests: the region code of a given pair, and the saturation and boundary values found on
// the way, left in BoundaryValues for the first estimates, solvers and state procedures.
//
// Each test runs its steps in order and returns at the first step that decides. A comparison
// with a decimal limit is made as in long double (DecimalLimits.h), so the side of a limit on
// which a typed value lies is fixed; 0, 1, 10, 100, 350, 590 and 800 are exact in double. The
// wet lines of (v, s), (v, h), (s, x) and (h, x) are evaluated in long double itself, which
// runs on the x87 unit. Each test writes only the fields its steps name: the first estimates
// read an unwritten field as 0.
// A NaN argument raises the invalid flag at the first relational comparison.

#include "numerics/BoundaryValues.h"
#include "numerics/DecimalLimits.h"
#include "numerics/FaultScope.h"
#include "numerics/Sr_Cr.h"
#include "numerics/Sr_Ws.h"
#include "numerics/TP_WS.h"
#include "numerics/numerics.h"

namespace numerics {

namespace {

using namespace limits;
// The decimal limit, not the double of the same name in Constants.h.
using limits::kV23At350;
using Long = long double;

constexpr int kWater = RegionCode::Water, kSteam = RegionCode::Steam,
              kCritical = RegionCode::Critical, kWetHigh = RegionCode::WetHigh,
              kWetLow = RegionCode::WetLow, kMeta = RegionCode::Metastable,
              kOut = RegionCode::OutOfRange;

// Straight lines of wet steam in v through the saturated liquid and vapour at one temperature
// [kJ/(kg K) or kJ/kg per m3/kg], and the wet values at 0 and 350 °C (s) or 170 °C (h) in x.
constexpr Long kS350Slope = 202.89401083L, kS350At0 = 3.4252314463L;
constexpr Long kS0Slope = 0.044416275205L, kS0At0 = -0.00019897506062L;
constexpr Long kI350Slope = 126434.11864L, kI350At0 = 1450.8539318L;
constexpr Long kI0Slope = 12.132287679L, kI0At0 = -0.053722624653L;
constexpr Long kS12At0 = -0.00015455L, kS23At0 = 9.1557594L;
constexpr Long kS12At350 = 3.77828134L, kS23At350Wet = 5.21088782L;
constexpr Long kI12At0 = -0.04158783L, kI23At0 = 2500.892618L;
constexpr Long kI12At170 = 719.2063979L, kI23At170 = 2767.893655L;

inline Long ld(double x) {
    return x;
}

// Liquid-side check of region 3 from (t, v): pressures above 100 MPa are out of range.
int liquidSide3_TV(double t, double v) {
    const double pr = v <= kVDenseLiquid ? 101.0 : P3_TV(t, v);
    return pr > 100 ? kOut : kCritical;
}

// Vapour side of the (v, s) and (v, h) tests, shared by both: `y` is s or h, `Y2` its region 2
// function of (t, p) and `Y2At800` that on the 800 °C isotherm, `Y3` its region 3 function of
// (t, v); the three field pointers name the 800 °C, B23 and 100 MPa values of y.
using Fn1 = double (*)(double);
using Fn2 = double (*)(double, double);
int vapourSide_V(double v, double y, Fn2 Y2, Fn1 Y2At800, Fn2 Y3, double BoundaryRecord::*Y800,
                 double BoundaryRecord::*YB23, double BoundaryRecord::*Y100) {
    auto& bv = BoundaryValues;
    const auto isotherm800 = [&] {
        bv.P800 = Ptmax_V(v);
        bv.*Y800 = Y2At800(bv.P800);
        return y >= bv.*Y800 ? kOut : kSteam;
    };
    if (v >= kV23At350) return isotherm800();
    bv.TB23 = TB23_V(v);
    bv.PB23 = PB23_T(bv.TB23);
    bv.*YB23 = Y3(bv.TB23, v);
    if (y < bv.*YB23) return kCritical;
    if (v >= kVAt800And100) return isotherm800();
    bv.T100 = Tpmax_V(v);
    bv.*Y100 = Y2(bv.T100, 100);
    return y >= bv.*Y100 ? kOut : kSteam;
}

} // namespace

int Region_TP(bool Metastable, double t, double p) {
    auto& bv = BoundaryValues;
    if (t < 0 || t > 800 || p < limits::kPTriple || p > 100) return kOut;
    if (p <= kPs350) {
        // Region 1 and 2 states read no saturation value afterwards: it is worked out only near
        // the line and for metastable vapour.
        const int side = saturationSideOf(t, p);
        if (side > 0) return kSteam;
        if (side < 0 && !(Metastable && p <= 10)) return kWater;
        bv.Ts = Ts_P(p);
        if (t >= bv.Ts) return kSteam;
        if (Metastable && p <= 10) {
            bv.TMeta = TMeta_P(p);
            if (t - bv.TMeta > 1) {
                const double hm = I2m_TP(t, p);
                bv.I12 = I1_TP(bv.Ts, p);
                bv.I23 = I2_TP(bv.Ts, p);
                if ((hm - bv.I12) / (bv.I23 - bv.I12) > kMetaDryness) return kMeta;
            }
        }
        return kWater;
    }
    if (t < 350) return kWater;
    if (t > 590) return kSteam;
    bv.PB23 = PB23_T(t);
    return p >= bv.PB23 ? kCritical : kSteam;
}

int Region_TV(double t, double v) {
    auto& bv = BoundaryValues;
    if (t < 0 || t > 800) return kOut;
    const auto triplePoint = [&] {
        bv.VTr = V2_TP(t, numerics::kPTriple);
        return v >= bv.VTr ? kOut : kSteam;
    };
    if (t < 350) {
        bv.Ps = Ps_T(t);
        bv.V12 = V1_TP(t, bv.Ps);
        if (v < bv.V12) {
            bv.V100 = V1_TP(t, 100);
            return v > bv.V100 ? kWater : kOut;
        }
        bv.V23 = V2_TP(t, bv.Ps);
        if (v <= bv.V23) return kWetLow;
        return triplePoint();
    }
    if (t < 590) {
        bv.PB23 = PB23_T(t);
        bv.VB23 = V2_TP(t, bv.PB23);
        if (v > bv.VB23) return triplePoint();
        if (t < kTCrit) {
            bv.Ps = Ps_T(t);
            bv.V12 = V12kr_T(t, bv.Ps);
            if (v < bv.V12) return liquidSide3_TV(t, v);
            bv.V23 = V23kr_T(t, bv.Ps);
            return v <= bv.V23 ? kWetHigh : kCritical;
        }
        return liquidSide3_TV(t, v);
    }
    bv.V100 = V2_TP(t, 100);
    if (v < bv.V100) return kOut;
    return triplePoint();
}

int Region_TS(double t, double s) {
    auto& bv = BoundaryValues;
    if (t < 0 || t > 800 || s < 0 || s > kSMax) return kOut;
    const auto triplePoint = [&] {
        bv.STr = S2_TP(t, numerics::kPTriple);
        return s >= bv.STr ? kOut : kSteam;
    };
    const auto liquidSide3 = [&] {
        bv.V100 = Vpmax_T(t);
        bv.S100 = S3_TV(t, bv.V100);
        return s <= bv.S100 ? kOut : kCritical;
    };
    if (t < 350) {
        bv.Ps = Ps_T(t);
        bv.S12 = S1_TP(t, bv.Ps);
        if (s < bv.S12) {
            bv.S100 = S1_TP(t, 100);
            return s > bv.S100 ? kWater : kOut;
        }
        bv.S23 = S2_TP(t, bv.Ps);
        if (s <= bv.S23) return kWetLow;
        return triplePoint();
    }
    if (t < 590) {
        bv.PB23 = PB23_T(t);
        bv.SB23 = S2_TP(t, bv.PB23);
        if (s > bv.SB23) return triplePoint();
        if (t < kTCrit) {
            bv.Ps = Ps_T(t);
            bv.V12 = V12kr_T(t, bv.Ps);
            bv.S12 = S3_TV(t, bv.V12);
            if (s < bv.S12) return liquidSide3();
            bv.V23 = V23kr_T(t, bv.Ps);
            bv.S23 = S3_TV(t, bv.V23);
            return s <= bv.S23 ? kWetHigh : kCritical;
        }
        return liquidSide3();
    }
    bv.S100 = S2_TP(t, 100);
    if (s < bv.S100) return kOut;
    return triplePoint();
}

int Region_TI(double t, double h) {
    auto& bv = BoundaryValues;
    if (t < 0 || t > kTCrit) return kOut;
    bv.Ts = t;
    bv.Ps = Ps_T(t);
    if (t < 350) {
        bv.I12 = I1_TP(t, bv.Ps);
        bv.I23 = I2_TP(t, bv.Ps);
        return bv.I12 <= h && h <= bv.I23 ? kWetLow : kOut;
    }
    bv.V23 = V23kr_T(t, bv.Ps);
    bv.I23 = I3_TV(t, bv.V23);
    bv.V12 = V12kr_T(t, bv.Ps);
    bv.I12 = I3_TV(t, bv.V12);
    return bv.I12 <= h && h <= bv.I23 ? kWetHigh : kOut;
}

int Region_TX(double x, double t) {
    auto& bv = BoundaryValues;
    if (x < 0 || x > 1 || t < 0 || t > kTCrit) return kOut;
    bv.Ts = t;
    bv.Ps = Ps_T(t);
    return t > 350 ? kWetHigh : kWetLow;
}

int Region_PX(double x, double p) {
    auto& bv = BoundaryValues;
    if (x < 0 || x > 1 || p < limits::kPTriple || p > kPCrit) return kOut;
    bv.Ps = p;
    bv.Ts = Ts_P(p);
    return bv.Ts >= 350 ? kWetHigh : kWetLow;
}

int Region_PV(double p, double v) {
    auto& bv = BoundaryValues;
    if (p < limits::kPTriple || p > kPCrit) return kOut;
    bv.Ts = Ts_P(p);
    if (bv.Ts < 350) {
        bv.V12 = V1_TP(bv.Ts, p);
        bv.V23 = V2_TP(bv.Ts, p);
        return bv.V12 <= v && v <= bv.V23 ? kWetLow : kOut;
    }
    bv.V12 = V12kr_T(bv.Ts, p);
    bv.V23 = V23kr_T(bv.Ts, p);
    return bv.V12 <= v && v <= bv.V23 ? kWetHigh : kOut;
}

int Region_PS(bool Metastable, double p, double s) {
    auto& bv = BoundaryValues;
    if (p < limits::kPTriple || p > 100 || s < 0 || s > kSMax) return kOut;
    const auto isotherm800 = [&] {
        bv.S800 = S2At800(p);
        return s >= bv.S800 ? kOut : kSteam;
    };
    const auto isotherm0 = [&] {
        bv.S0 = S1At0(p);
        return s <= bv.S0 ? kOut : kWater;
    };
    if (p <= kPs350) {
        bv.Ts = Ts_P(p);
        bv.S23 = S2_TP(bv.Ts, p);
        if (s > bv.S23) return isotherm800();
        bv.S12 = S1_TP(bv.Ts, p);
        if (s < bv.S12) return isotherm0();
        const double xs = (s - bv.S12) / (bv.S23 - bv.S12);
        return xs > kMetaDryness && p <= 10 && Metastable ? kMeta : kWetLow;
    }
    bv.TB23 = TB23_P(p);
    bv.SB23 = S2_TP(bv.TB23, p);
    if (s > bv.SB23) return isotherm800();
    if (s < S1At350(p)) return isotherm0();
    if (p >= kPCrit) return kCritical;
    bv.Ts = Ts_P(p);
    bv.V12 = V12kr_T(bv.Ts, p);
    bv.S12 = S3_TV(bv.Ts, bv.V12);
    if (s < bv.S12) return kCritical;
    bv.V23 = V23kr_T(bv.Ts, p);
    bv.S23 = S3_TV(bv.Ts, bv.V23);
    return s <= bv.S23 ? kWetHigh : kCritical;
}

int Region_PI(bool Metastable, double p, double h) {
    auto& bv = BoundaryValues;
    if (p < limits::kPTriple || p > 100 || h < 0 || h > kIMax) return kOut;
    const auto isotherm800 = [&] {
        bv.I800 = I2At800(p);
        return h >= bv.I800 ? kOut : kSteam;
    };
    const auto isotherm0 = [&] {
        bv.I0 = I1At0(p);
        return h <= bv.I0 ? kOut : kWater;
    };
    if (p <= kPs350) {
        bv.Ts = Ts_P(p);
        bv.Ps = p;
        bv.I23 = I2_TP(bv.Ts, p);
        if (h > bv.I23) return isotherm800();
        bv.I12 = I1_TP(bv.Ts, p);
        if (h < bv.I12) return isotherm0();
        const double xh = (h - bv.I12) / (bv.I23 - bv.I12);
        return xh > kMetaDryness && p <= 10 && Metastable ? kMeta : kWetLow;
    }
    bv.TB23 = TB23_P(p);
    bv.IB23 = I2_TP(bv.TB23, p);
    if (h > bv.IB23) return isotherm800();
    if (h < I1At350(p)) return isotherm0();
    if (p >= kPCrit) return kCritical;
    bv.Ts = Ts_P(p);
    bv.V12 = V12kr_T(bv.Ts, p);
    bv.I12 = I3_TV(bv.Ts, bv.V12);
    if (h < bv.I12) return kCritical;
    bv.V23 = V23kr_T(bv.Ts, p);
    bv.I23 = I3_TV(bv.Ts, bv.V23);
    return h <= bv.I23 ? kWetHigh : kCritical;
}

int Region_VS(double v, double s) {
    auto& bv = BoundaryValues;
    if (v < kVCrit || v > kVMax || s < 0 || s > kSMax) return kOut;
    std::optional<GibbsState> atTs;
    bv.Ts = saturationOfVapourVolume(v, kGamma | kGammaTau, atTs);
    bv.Ps = Ps_T(bv.Ts);
    if (bv.Ts < 350)
        bv.S23 = atTs ? entropyOf(*atTs) : S2_TP(bv.Ts, bv.Ps);
    else
        bv.S23 = S3_TV(bv.Ts, v);
    if (s < bv.S23) {
        noteExtendedArithmetic();
        if (bv.S23 < kS23At350) {
            const Long s350 = kS350Slope * v + kS350At0;
            bv.S350 = static_cast<double>(s350);
            if (s > s350) return kWetHigh;
        }
        const Long s0 = kS0Slope * v + kS0At0;
        bv.S0 = static_cast<double>(s0);
        return s > s0 ? kWetLow : kOut;
    }
    return vapourSide_V(v, s, S2_TP, S2At800, S3_TV, &BoundaryRecord::S800, &BoundaryRecord::SB23,
                        &BoundaryRecord::S100);
}

int Region_VI(double v, double h) {
    auto& bv = BoundaryValues;
    if (v < kVCrit || v > kVMax || h < 0 || h > kIMax) return kOut;
    std::optional<GibbsState> atTs;
    bv.Ts = saturationOfVapourVolume(v, kGammaTau, atTs);
    bv.Ps = Ps_T(bv.Ts);
    if (bv.Ts < 350)
        bv.I23 = atTs ? enthalpyOf(*atTs) : I2_TP(bv.Ts, bv.Ps);
    else
        bv.I23 = I3_TV(bv.Ts, v);
    if (h < bv.I23) {
        noteExtendedArithmetic();
        if (bv.I23 < kI23At350) {
            const Long i350 = kI350Slope * v + kI350At0;
            bv.I350 = static_cast<double>(i350);
            if (h > i350) return kWetHigh;
        }
        const Long i0 = kI0Slope * v + kI0At0;
        bv.I0 = static_cast<double>(i0);
        return h > i0 ? kWetLow : kOut;
    }
    return vapourSide_V(v, h, I2_TP, I2At800, I3_TV, &BoundaryRecord::I800, &BoundaryRecord::IB23,
                        &BoundaryRecord::I100);
}

int Region_SX(double x, double s) {
    auto& bv = BoundaryValues;
    if (x < 0 || x > 1 || s < 0 || s > kSMax) return kOut;
    noteExtendedArithmetic();
    const Long s0 = (1 - ld(x)) * kS12At0 + x * kS23At0;
    const Long s350 = (1 - ld(x)) * kS12At350 + x * kS23At350Wet;
    bv.S0 = static_cast<double>(s0);
    bv.S350 = static_cast<double>(s350);
    if (x >= kXWetHigh) {
        if (s > s0 || s < kSCrit) return kOut;
        return s > s350 ? kWetLow : kWetHigh;
    }
    if (x <= kXWetLow) {
        if (s < s0 || s > kSCrit) return kOut;
        return s < s350 ? kWetLow : kWetHigh;
    }
    return kOut;
}

int Region_IX(double x, double h) {
    auto& bv = BoundaryValues;
    if (x < 0 || x > 1) return kOut;
    noteExtendedArithmetic();
    const Long i0 = (1 - ld(x)) * kI12At0 + x * kI23At0;
    const Long i170 = (1 - ld(x)) * kI12At170 + x * kI23At170;
    bv.I0 = static_cast<double>(i0);
    bv.I170 = static_cast<double>(i170);
    return i0 <= h && h <= i170 ? kWetLow : kOut;
}

} // namespace numerics
