// Inverse solving in regions 1 and 2, in wet steam up to 350 °C and in metastable vapour, and
// the wet-steam mixing functions. The brackets and their end values come from BoundaryValues,
// which the region test of the pair has just filled.

#include "numerics/BoundaryValues.h"
#include "numerics/Constants.h"
#include "numerics/DecimalLimits.h"
#include "numerics/FaultScope.h"
#include "numerics/Mat_Ruti.h"
#include "numerics/Sr_Ws.h"
#include "numerics/TP_WS.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <new>

namespace numerics {

namespace {

// Residuals every solve must meet: tight enough that no shown digit depends on the solver.
constexpr double kVolumePercent = 1e-8; // 1e-10 relative, as TolOf percent
constexpr double kEntropyTol = 1e-9;    // kJ/(kg K)
constexpr double kEnthalpyTol = 1e-7;   // kJ/kg
// The wet temperatures are solved to 1e-13 of the given s or h (at least 1e-13 in its unit):
// near the triple point the vapour volume changes by 7 % per kelvin, so the given pair comes
// back within 1e-9 only from a temperature found within about 1e-9 K.
constexpr double kWetPercent = 1e-11;
constexpr double kWetFloor = 1e-13;
// Newton solves in (t, p): residuals 1e-10 relative to each target; when the iteration bound
// stops them first, an iterate within the coarser 1e-6 is still a computed state.
constexpr double kNewtonPercent = 1e-8;
constexpr double kNewtonFallbackPercent = 1e-4;

constexpr double kPMax = 100.0; // MPa, upper pressure of the range
constexpr double kMetastableStepPercent = 1.0;
constexpr double kMetastableMinStep = 0.05; // K: start values near 0 °C would step by ~0

double volumeTol(double v) {
    return TolOf(v, kVolumePercent, 0.0);
}

double wetTol(double y) {
    return TolOf(std::fabs(y), kWetPercent, kWetFloor);
}

// Highest pressure of region 2 at the temperature of the current state, with the value of
// the solved property there: the saturation line, the B23 boundary, or 100 MPa.
struct Region2Top {
    double p, f;
};
Region2Top region2Top(double fAtPs, double fAtB23, double fAt100) {
    const BoundaryRecord& b = BoundaryValues;
    if (b.Ps > b.PB23) return {b.Ps, fAtPs};
    if (b.PB23 > 0.0) return {b.PB23, fAtB23};
    return {kPMax, fAt100};
}

double metastableTemperature(double t0, double target, double p, double tol, Function2 fn) {
    Pair x{}, f{};
    BracketRoot2(x, f, -1, p, target, t0, kMetastableStepPercent, fn, kMetastableMinStep);
    return SolveRoot2(x, f, fn, p, target, tol);
}

// Wet steam at t: stores Ps and the saturated values of one property (f12 from the liquid,
// f23 from the vapour equation) and mixes them linearly in volume or in dryness. In volume,
// each phase's equation is evaluated once for its volume and the property together (the sums
// come out as V1_TP, S1_TP, ... form them alone).
double mixByVolume(double t, double v, bool enthalpy, double& f12, double& f23) {
    BoundaryRecord& b = BoundaryValues;
    b.Ps = Ps_T(t);
    const unsigned need = kGammaPi | kGammaTau | (enthalpy ? 0u : unsigned{kGamma});
    const auto property = [enthalpy](const GibbsState& g) {
        return enthalpy ? enthalpyOf(g) : entropyOf(g);
    };
    const GibbsState liquid = evaluateGibbs(GibbsEquation::Region1, t, b.Ps, need);
    b.V12 = volumeOf(liquid);
    f12 = property(liquid);
    const GibbsState vapour = evaluateGibbs(GibbsEquation::Region2, t, b.Ps, need);
    b.V23 = volumeOf(vapour);
    f23 = property(vapour);
    return f12 + (f23 - f12) / (b.V23 - b.V12) * (v - b.V12);
}

double mixByDryness(double t, double x, Function2 liquid, Function2 vapour, double& f12,
                    double& f23) {
    BoundaryRecord& b = BoundaryValues;
    b.Ps = Ps_T(t);
    f12 = liquid(t, b.Ps);
    f23 = vapour(t, b.Ps);
    return (1.0 - x) * f12 + x * f23;
}

} // namespace

double V1_PT(double p, double t) {
    return V1_TP(t, p);
}
double S1_PT(double p, double t) {
    return S1_TP(t, p);
}
double V2_PT(double p, double t) {
    return V2_TP(t, p);
}
double S2_PT(double p, double t) {
    return S2_TP(t, p);
}

void VS2_TP(double t, double p, double& v, double& s) {
    v = V2_TP(t, p);
    s = S2_TP(t, p);
}

void VI2_TP(double t, double p, double& v, double& h) {
    v = V2_TP(t, p);
    h = I2_TP(t, p);
}

double S4_TV(double t, double v) {
    BoundaryRecord& b = BoundaryValues;
    return mixByVolume(t, v, false, b.S12, b.S23);
}

double I4_TV(double t, double v) {
    BoundaryRecord& b = BoundaryValues;
    return mixByVolume(t, v, true, b.I12, b.I23);
}

double S4_TX(double t, double x) {
    BoundaryRecord& b = BoundaryValues;
    return mixByDryness(t, x, S1_TP, S2_TP, b.S12, b.S23);
}

double I4_TX(double t, double x) {
    BoundaryRecord& b = BoundaryValues;
    return mixByDryness(t, x, I1_TP, I2_TP, b.I12, b.I23);
}

// The pressure solvers first run the secant through the ends of their bracket (in density for
// the volume of steam, which is nearly proportional to p), which reaches the root in a few
// evaluations; the regula falsi on the same bracket is the safeguard. Both stop on the same
// test of the given quantity.
double P1_TV(double t, double v) {
    const BoundaryRecord& b = BoundaryValues;
    const auto volume = [t](double p) { return V1_TP(t, p); };
    if (const auto p =
            SecantRoot(volume, {kPMax, b.V100, b.Ps, b.V12}, b.Ps, kPMax, v, volumeTol(v)))
        return *p;
    return SolveRoot2({kPMax, b.Ps}, {b.V100, b.V12}, V1_PT, t, v, volumeTol(v));
}

double P1_TS(double t, double s) {
    const BoundaryRecord& b = BoundaryValues;
    const auto entropy = [t](double p) { return S1_TP(t, p); };
    if (const auto p =
            SecantRoot(entropy, {kPMax, b.S100, b.Ps, b.S12}, b.Ps, kPMax, s, kEntropyTol))
        return *p;
    return SolveRoot2({kPMax, b.Ps}, {b.S100, b.S12}, S1_PT, t, s, kEntropyTol);
}

double P2_TV(double t, double v) {
    const BoundaryRecord& b = BoundaryValues;
    const Region2Top top = region2Top(b.V23, b.VB23, b.V100);
    const auto density = [t](double p) { return 1 / V2_TP(t, p); };
    if (const auto p = SecantRoot(density, {top.p, 1 / top.f, kPTriple, 1 / b.VTr}, kPTriple,
                                  top.p, 1 / v, volumeTol(v) / (v * v)))
        return *p;
    return SolveRoot2({top.p, kPTriple}, {top.f, b.VTr}, V2_PT, t, v, volumeTol(v));
}

double P2_TS(double t, double s) {
    const BoundaryRecord& b = BoundaryValues;
    const Region2Top top = region2Top(b.S23, b.SB23, b.S100);
    // s falls nearly with ln p: the secant runs on ln p.
    const auto entropy = [t](double u) { return S2_TP(t, std::exp(u)); };
    if (const auto u = SecantRoot(entropy, {std::log(top.p), top.f, std::log(kPTriple), b.STr},
                                  std::log(kPTriple), std::log(top.p), s, kEntropyTol))
        return std::clamp(std::exp(*u), kPTriple, top.p);
    return SolveRoot2({top.p, kPTriple}, {top.f, b.STr}, S2_PT, t, s, kEntropyTol);
}

namespace {

// The slopes dT/dy and dp/dy along region 2's isochore at the state g, y being s and h.
struct IsochoreSlopes {
    double tBySY, pBySY; // dT/ds, dp/ds
    double tByHY, pByHY; // dT/dh, dp/dh
};

IsochoreSlopes isochoreSlopes(const GibbsState& g) {
    const GibbsDerivatives& r = g.residual;
    constexpr double kVolumeFactor = kGasConstant / 1000;
    const double dvdp = kVolumeFactor * g.T * (r.gammaPiPi - 1 / (g.p * g.p));
    const double dvdT = kVolumeFactor * (1 / g.p + r.gammaPi - g.tau * r.gammaPiTau);
    const double cp = -kGasConstant * g.tau * g.tau * (g.ideal.gammaTauTau + r.gammaTauTau);
    const double dpdT = -dvdT / dvdp; // along the isochore
    const double dsdT = cp / g.T - 1000 * dvdT * dpdT;
    const double dhdT = cp + 1000 * (volumeOf(g) - g.T * dvdT) * dpdT;
    return {1 / dsdT, dpdT / dsdT, 1 / dhdT, dpdT / dhdT};
}

// The isochore's slopes at the two ends of the (v, s) and (v, h) first estimates of region 2
// volumes from the 350 °C saturated vapour up: the saturated vapour and the 800 °C isotherm.
// They change smoothly with v: a table over u = ln v, built once on first use, interpolated
// linearly (a start needs no more than three digits of them).
class EstimateSlopeTable {
public:
    static constexpr int kIntervals = 128;

    EstimateSlopeTable()
        : m_u0(std::log(kV23At350)),
          m_step((std::log(static_cast<double>(limits::kVMax.value)) - m_u0) / kIntervals) {
        // Built inside the first call that needs it: what the building raises is not that
        // call's (nothing should), so the flags and the mark are given back as they were.
        const unsigned flags = detail::statusOfDoubles();
        const bool mark = gaveUp();
        for (int k = 0; k <= kIntervals; ++k) {
            const double v =
                std::min(std::exp(m_u0 + k * m_step), static_cast<double>(limits::kVMax.below));
            const double t = T23_V(v);
            m_low[k] =
                isochoreSlopes(evaluateGibbs(GibbsEquation::Region2, t, Ps_T(t), kGammaAll));
            m_top[k] =
                isochoreSlopes(evaluateGibbs(GibbsEquation::Region2, 800, Ptmax_V(v), kGammaAll));
        }
        if (detail::statusOfDoubles() != flags) detail::setStatusOfDoubles(flags);
        if (!mark) clearGaveUp();
    }

    // The slopes at the saturated vapour and on the 800 °C isotherm of the volume e^u.
    void at(double u, IsochoreSlopes& low, IsochoreSlopes& top) const {
        // Quiet comparisons: a NaN gives 0 without raising a flag, and the index stays inside.
        const double scaled = (u - m_u0) / m_step;
        const double x =
            std::isgreaterequal(scaled, 0.0)
                ? (std::isless(scaled, double(kIntervals)) ? scaled : double(kIntervals))
                : 0.0;
        const int k = std::min(static_cast<int>(x), kIntervals - 1);
        const double a = x - k;
        low = interpolate(m_low[k], m_low[k + 1], a);
        top = interpolate(m_top[k], m_top[k + 1], a);
    }

private:
    static IsochoreSlopes interpolate(const IsochoreSlopes& l, const IsochoreSlopes& r, double a) {
        return {l.tBySY + a * (r.tBySY - l.tBySY), l.pBySY + a * (r.pBySY - l.pBySY),
                l.tByHY + a * (r.tByHY - l.tByHY), l.pByHY + a * (r.pByHY - l.pByHY)};
    }

    double m_u0, m_step; // u at the 350 °C volume, and between nodes
    std::array<IsochoreSlopes, kIntervals + 1> m_low{}, m_top{};
};

// The start of the (v, s) and (v, h) solvers from the saturated vapour up. T2Est_* and P2Est_*
// run a straight line in y between the ends (Ts, Ps, y23) and (800 °C, P800, y800); the cubic
// through the same ends with the isochore's slopes there lies within a few kelvin of the state,
// where the line may miss it by tens: Newton's method then needs one step fewer. Below the 350
// °C volume the ends are others (B23, 100 MPa): the line stays.
void region2Start(double v, double y, bool enthalpy, double& t0, double& p0) {
    if (!(v >= kV23At350 && v <= limits::kVMax)) return;
    static const EstimateSlopeTable table;
    IsochoreSlopes low{}, top{};
    table.at(std::log(v), low, top);
    const BoundaryRecord& b = BoundaryValues;
    const double y23 = enthalpy ? b.I23 : b.S23, y800 = enthalpy ? b.I800 : b.S800;
    const double span = y800 - y23, u = (y - y23) / span, w = 1 - u;
    const double h00 = (1 + 2 * u) * w * w, h10 = u * w * w, h01 = u * u * (3 - 2 * u),
                 h11 = -u * u * w;
    const double tLow = enthalpy ? low.tByHY : low.tBySY, tTop = enthalpy ? top.tByHY : top.tBySY;
    const double pLow = enthalpy ? low.pByHY : low.pBySY, pTop = enthalpy ? top.pByHY : top.pBySY;
    const double t = h00 * b.Ts + h01 * 800 + span * (h10 * tLow + h11 * tTop);
    const double p = h00 * b.Ps + h01 * b.P800 + span * (h10 * pLow + h11 * pTop);
    if (p > 0 && t + kKelvinOffset > 0) {
        t0 = t;
        p0 = p;
    }
}

// v and s (or h) of region 2 at (t, p) with their partial derivatives in t and p, from one
// evaluation of the equation (v in m3/kg, p in MPa, s in kJ/(kg K), h in kJ/kg):
//   dv/dp = R T (gamma_r_pipi - 1 / p^2) / 1000,
//   dv/dT = R (1 / p + gamma_r_pi - tau gamma_r_pitau) / 1000,
//   ds/dT = cp / T, ds/dp = -1000 dv/dT, dh/dT = cp, dh/dp = 1000 (v - T dv/dT).
// The evaluation is left in `g`.
ValuesAndSlopes region2WithSlopes(double t, double p, bool enthalpy, GibbsState& g) {
    // Formed in place: a copy of the record would be read back in wider loads than it was
    // written with, which waits for the stores to complete.
    ::new (&g) GibbsState(evaluateGibbs(GibbsEquation::Region2, t, p, kGammaAll));
    const GibbsDerivatives& r = g.residual;
    constexpr double kVolumeFactor = kGasConstant / 1000;
    const double v = volumeOf(g);
    const double dvdp = kVolumeFactor * g.T * (r.gammaPiPi - 1 / (p * p));
    const double dvdT = kVolumeFactor * (1 / p + r.gammaPi - g.tau * r.gammaPiTau);
    const double cp = -kGasConstant * g.tau * g.tau * (g.ideal.gammaTauTau + r.gammaTauTau);
    if (enthalpy) return {v, enthalpyOf(g), dvdT, dvdp, cp, 1000 * (v - g.T * dvdT)};
    return {v, entropyOf(g), dvdT, dvdp, cp / g.T, -1000 * dvdT};
}

bool insideRegion2(double t, double p) {
    return p > 0 && t + kKelvinOffset > 0;
}

// Newton with the Jacobian from the equation's own derivatives, from the same start values
// and to the same stop test as the difference Newton, which stays as the safeguard. True when
// the first one found the state: its last evaluation, at the state, is then in `atRoot`.
bool region2FromVolume(double& t, double& p, double v, double y, bool enthalpy, double t0,
                       double p0, GibbsState& atRoot) {
    const auto fn = [enthalpy, &atRoot](double tt, double pp) {
        return region2WithSlopes(tt, pp, enthalpy, atRoot);
    };
    if (NewtonWithSlopes(fn, insideRegion2, t, p, t0, p0, kNewtonPercent, v, y)) return true;
    Newton2D(enthalpy ? VI2_TP : VS2_TP, t, p, t0, p0, kNewtonPercent, v, y,
             kNewtonFallbackPercent);
    return false;
}

} // namespace

void TP2_VS(double& t, double& p, double v, double s) {
    GibbsState atRoot;
    TP2_VS(t, p, v, s, atRoot);
}

void TP2_VI(double& t, double& p, double v, double h) {
    GibbsState atRoot;
    TP2_VI(t, p, v, h, atRoot);
}

bool TP2_VS(double& t, double& p, double v, double s, GibbsState& atRoot) {
    double t0 = T2Est_VS(v, s), p0 = P2Est_VS(v, s);
    region2Start(v, s, false, t0, p0);
    return region2FromVolume(t, p, v, s, false, t0, p0, atRoot);
}

bool TP2_VI(double& t, double& p, double v, double h, GibbsState& atRoot) {
    double t0 = T2Est_VI(v, h), p0 = P2Est_VI(v, h);
    region2Start(v, h, true, t0, p0);
    return region2FromVolume(t, p, v, h, true, t0, p0, atRoot);
}

double T4_VS(double v, double s) {
    const BoundaryRecord& b = BoundaryValues;
    const bool upTo350 = b.S350 >= b.S23;
    const Pair x{0.0, upTo350 ? 350.0 : b.Ts};
    const Pair f{b.S0, upTo350 ? b.S350 : b.S23};
    return SecantThenSolveRoot2(x, f, S4_TV, v, s, wetTol(s));
}

double T4_VI(double v, double h) {
    const BoundaryRecord& b = BoundaryValues;
    const bool upTo350 = b.I350 >= b.I23;
    const Pair x{0.0, upTo350 ? 350.0 : b.Ts};
    const Pair f{b.I0, upTo350 ? b.I350 : b.I23};
    return SecantThenSolveRoot2(x, f, I4_TV, v, h, wetTol(h));
}

double T4_SX(double x, double s) {
    const BoundaryRecord& b = BoundaryValues;
    return SecantThenSolveRoot2({0.0, 350.0}, {b.S0, b.S350}, S4_TX, x, s, wetTol(s));
}

double T4_IX(double x, double h) {
    const BoundaryRecord& b = BoundaryValues;
    return SecantThenSolveRoot2({0.0, 170.0}, {b.I0, b.I170}, I4_TX, x, h, wetTol(h));
}

double T2m_PS(double p, double s) {
    return metastableTemperature(T2mEst_PS(p, s), s, p, kEntropyTol, S2m_TP);
}

double T2m_PI(double p, double h) {
    return metastableTemperature(T2mEst_PI(p, h), h, p, kEnthalpyTol, I2m_TP);
}

} // namespace numerics
