#pragma once
// IAPWS-IF97 basic equations at given temperature and pressure: region 1 (compressed water),
// region 2 (superheated steam) and the supplementary equation for metastable (supercooled)
// vapour in region 2 below the saturation line.
//
// Units: t in °C (T = t + 273.15 K), p in MPa, v in m3/kg, h in kJ/kg, s in kJ/(kg K).
// The functions check nothing: callers use them only inside their region. Outside it they give
// whatever the equation gives. In region 2 and the metastable region p = 0 divides by zero in
// the volume and the entropy, and p < 0 takes the logarithm of a negative number in the
// entropy; a FaultScope turns these flags into NumericFault. The enthalpy has neither.

namespace numerics {

inline constexpr double kGasConstant = 0.461526; // R in kJ/(kg K)
inline constexpr double kKelvinOffset = 273.15;  // T = t + kKelvinOffset

// Reducing values: region 1 pi = p / 16.53 MPa, tau = 1386 K / T;
// region 2 and metastable pi = p / 1 MPa, tau = 540 K / T.
inline constexpr double kRegion1PStar = 16.53;
inline constexpr double kRegion1TStar = 1386.0;
inline constexpr double kRegion2TStar = 540.0;

double V1_TP(double t, double p);
double S1_TP(double t, double p);
double I1_TP(double t, double p);
double V2_TP(double t, double p);
double S2_TP(double t, double p);
double I2_TP(double t, double p);
double V2m_TP(double t, double p);
double S2m_TP(double t, double p);
double I2m_TP(double t, double p);

// Shared Gibbs-derivative evaluators.
//
// gamma = g / (R T) is the dimensionless Gibbs free energy as a function of the reduced
// pressure pi and reduced inverse temperature tau (reducing values above); the evaluators
// return gamma and its partial derivatives in these variables. Only the sums selected by the
// bit set `need` are formed; the other fields stay 0. With them:
//   v  = R T pi gamma_pi / p          (R in kJ/(kg K) and p in MPa: multiply by 1e-3 for m3/kg)
//   h  = R T tau gamma_tau
//   s  = R (tau gamma_tau - gamma)
//   cp = -R tau^2 gamma_tautau
//   cv = cp + R (gamma_pi - tau gamma_pitau)^2 / gamma_pipi
//   w^2 = 1e3 R T gamma_pi^2
//         / ((gamma_pi - tau gamma_pitau)^2 / (tau^2 gamma_tautau) - gamma_pipi)   (w in m/s)
// For region 2 and the metastable region gamma is the sum of the ideal-gas and the residual
// part, each returned by its own evaluator (add the fields of the two).
enum GibbsNeed : unsigned {
    kGamma = 1u << 0,
    kGammaPi = 1u << 1,
    kGammaPiPi = 1u << 2,
    kGammaTau = 1u << 3,
    kGammaTauTau = 1u << 4,
    kGammaPiTau = 1u << 5,
    kGammaAll = (1u << 6) - 1,
};

struct GibbsDerivatives {
    double gamma = 0.0;
    double gammaPi = 0.0;     // d gamma / d pi
    double gammaPiPi = 0.0;   // d2 gamma / d pi2
    double gammaTau = 0.0;    // d gamma / d tau
    double gammaTauTau = 0.0; // d2 gamma / d tau2
    double gammaPiTau = 0.0;  // d2 gamma / d pi d tau
};

// Region 1: pi = p / 16.53, tau = 1386 / T (34-term equation).
GibbsDerivatives region1Gibbs(double pi, double tau, unsigned need);
// Region 2: pi = p / 1, tau = 540 / T. Ideal-gas part (ln pi + 9 terms; needs pi > 0 for
// gamma and its pi derivatives) and residual part (43 terms).
GibbsDerivatives region2IdealGibbs(double pi, double tau, unsigned need);
GibbsDerivatives region2ResidualGibbs(double pi, double tau, unsigned need);
// Metastable vapour: reduced as region 2. The ideal-gas part differs from region 2 only in
// its constant and linear tau terms; the residual part has 13 terms.
GibbsDerivatives metastableIdealGibbs(double pi, double tau, unsigned need);
GibbsDerivatives metastableResidualGibbs(double pi, double tau, unsigned need);

// One evaluation of a (t, p) equation with the sums in `need`, and the properties that follow
// from it. The functions above and the heat-capacity, exponent and speed-of-sound workers go
// through it, so a state procedure that evaluates once for its outputs and a derived property
// gets the same digits as the single functions. The ideal-gas part is evaluated only for the
// sums the relations use of it (gamma, gamma_tau, gamma_tautau); region 1 has none.
enum class GibbsEquation { Region1, Region2, Metastable };

struct GibbsState {
    GibbsEquation equation;
    double T;                  // K
    double inverseT;           // 1 / T, formed while the sums are
    double p;                  // MPa
    double pi;                 // reduced pressure of the equation
    double tau;                // reduced inverse temperature of the equation
    GibbsDerivatives ideal;    // 0 in region 1
    GibbsDerivatives residual; // in region 1 the whole gamma
};

GibbsState evaluateGibbs(GibbsEquation equation, double t, double p, unsigned need);

// Region 2 on the 800 °C isotherm, the upper end of the range, where the residual part and its
// derivatives are polynomials in p with fixed coefficients: v [m3/kg] and dv/dp [m3/(kg MPa)],
// s and h at p [MPa] in a few operations (V2_TP(800, p), S2_TP and I2_TP to the rounding of
// the sums).
void V2At800(double p, double& v, double& dvdp);
double S2At800(double p);
double I2At800(double p);
// Region 1 on the 0 °C and 350 °C isotherms, the ends of its temperature range, likewise: s and
// h at p (S1_TP and I1_TP to the rounding of the sums).
double S1At0(double p);
double I1At0(double p);
double S1At350(double p);
double I1At350(double p);

// v needs kGammaPi, s kGamma | kGammaTau, h kGammaTau. Inline: a state procedure forms them
// right after its evaluation. The factors that do not depend on the sums come first, so that
// no division waits for the sums.
inline double volumeOf(const GibbsState& g) {
    constexpr double kVolumeFactor = kGasConstant / 1000.0; // R T / p, p in MPa -> m3/kg
    constexpr double kRegion1VolumeFactor = kVolumeFactor / kRegion1PStar;
    const GibbsDerivatives& r = g.residual;
    switch (g.equation) {
    case GibbsEquation::Region1:
        return kRegion1VolumeFactor * g.T * r.gammaPi;
    case GibbsEquation::Region2:
        return kVolumeFactor * g.T / g.p * (1.0 + g.p * r.gammaPi);
    default:
        return kVolumeFactor * g.T * (1.0 / g.p + r.gammaPi);
    }
}

inline double enthalpyOf(const GibbsState& g) {
    if (g.equation == GibbsEquation::Region1)
        return kGasConstant * kRegion1TStar * g.residual.gammaTau;
    return kGasConstant * kRegion2TStar * (g.ideal.gammaTau + g.residual.gammaTau);
}

inline double entropyOf(const GibbsState& g) {
    if (g.equation == GibbsEquation::Region1)
        return enthalpyOf(g) * g.inverseT - kGasConstant * g.residual.gamma;
    return enthalpyOf(g) * g.inverseT - kGasConstant * (g.ideal.gamma + g.residual.gamma);
}

} // namespace numerics
