#include "numerics/IAPS_ML.h"

#include "ReferenceCsv.h"
#include "numerics/FaultScope.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <limits>
#include <sstream>
#include <string>

namespace {

using numerics::ConductivityTV;
using numerics::NumericFault;
using numerics::ViscosityTV;

double relativeDeviation(double value, double reference) {
    return std::fabs(value / reference - 1.0);
}

struct TransportPoint {
    double temperatureK;
    double density;      // kg/m3
    double viscosity;    // µPa s
    double conductivity; // mW/(m K)
};

// Values of the two equations with the reducing constants used here, evaluated independently
// in double precision with plain exponentials and powers. Nine significant digits.
constexpr TransportPoint kRegressionPoints[] = {
    {273.15, 999.8424, 1792.42736, 562.029072}, {293.15, 998.003992, 1002.17668, 599.28941},
    {298.15, 998, 889.913326, 608.638545},      {298.15, 1200, 1326.94657, 855.468384},
    {373.15, 1000, 308.58088, 727.781726},      {433.15, 1, 14.5313855, 29.9625308},
    {433.15, 1000, 216.237283, 792.942856},     {647.26, 317.7, 39.0505715, 833.983144},
    {647, 200, 29.7720773, 322.818416},         {647.5, 400, 46.9001741, 507.935218},
    {873.15, 1, 32.6248541, 80.0761873},        {873.15, 100, 35.7327578, 114.58982},
    {873.15, 600, 78.1362046, 485.471794},      {1173.15, 1, 44.0946324, 122.378546},
    {1173.15, 100, 48.0201481, 155.700804},     {1173.15, 400, 66.9969985, 348.525686},
};

TEST(IAPS_ML, ReproducesRegressionValues) {
    for (const TransportPoint& p : kRegressionPoints) {
        SCOPED_TRACE(::testing::Message() << "T " << p.temperatureK << " rho " << p.density);
        const double t = p.temperatureK - 273.15;
        const double v = 1.0 / p.density;
        if (t > 800) { // beyond the range of the equations
            EXPECT_THROW(ViscosityTV(t, v), NumericFault);
            EXPECT_THROW(ConductivityTV(t, v), NumericFault);
            continue;
        }
        EXPECT_LT(relativeDeviation(ViscosityTV(t, v), p.viscosity), 1e-8);
        EXPECT_LT(relativeDeviation(ConductivityTV(t, v), p.conductivity), 1e-8);
    }
}

// The critical term of the conductivity switches its factor S at T/T* = 1 (T* = 647.26 K).
// Both sides stay finite and meet almost without a step; the viscosity has no switch at all.
TEST(IAPS_ML, BothSidesOfReducingTemperatureAreFiniteAndNearlyContinuous) {
    constexpr double tStar = 647.26 - 273.15;
    for (double v : {1.0 / 317.7, 1.0 / 250.0, 1.0 / 400.0}) {
        SCOPED_TRACE(::testing::Message() << "v " << v);
        const double below = ConductivityTV(tStar - 1e-9, v);
        const double above = ConductivityTV(tStar + 1e-9, v);
        EXPECT_LT(relativeDeviation(below, above), 1e-3);
        EXPECT_LT(relativeDeviation(ViscosityTV(tStar - 1e-9, v), ViscosityTV(tStar + 1e-9, v)),
                  1e-9);
        // The critical term peaks at T/T* = 1 and fades on both sides.
        EXPECT_GT(above, ConductivityTV(tStar + 5.0, v));
        EXPECT_GT(below, ConductivityTV(tStar - 5.0, v));
    }
    // A sweep right through the switch never faults.
    for (int k = -200; k <= 200; ++k)
        EXPECT_NO_THROW(ConductivityTV(tStar + k * 1e-3, 1.0 / 317.7)) << k;
}

// At 800 °C and 3e-4 m3/kg the exponent of the viscosity's density factor is far above 80, so
// the factor is e^80 and the result no longer depends on the density. The dilute limit (a huge
// volume) leaves the temperature factor alone, which gives the expected capped value.
TEST(IAPS_ML, ViscosityExponentIsCappedAt80) {
    const double capped = ViscosityTV(800.0, 3e-4);
    EXPECT_TRUE(std::isfinite(capped));
    EXPECT_EQ(capped, ViscosityTV(800.0, 2.5e-4));
    const double dilute = ViscosityTV(800.0, 1e12);
    EXPECT_LT(relativeDeviation(capped, dilute * std::exp(80.0)), 1e-12);
}

TEST(IAPS_ML, HugelyNegativeViscosityExponentGivesZeroWithoutFault) {
    double mu = -1.0;
    EXPECT_NO_THROW(mu = ViscosityTV(20.0, 3e-4));
    EXPECT_EQ(mu, 0.0);
}

// Both equations hold from 0 to 800 °C and for v > 0; elsewhere they would give finite but
// meaningless numbers (down to -1.7e41), or fault.
TEST(IAPS_ML, OutsideTheirRangeNotComputed) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const struct {
        double t, v;
        bool computed;
    } cases[] = {{0.0, 0.001, true},     {800.0, 0.01, true},   {800.0, 10.0, true},
                 {-0.01, 0.001, false},  {800.01, 0.01, false}, {-273.15, 0.001, false},
                 {-300.0, 0.001, false}, {1e308, 1.0, false},   {20.0, 0.0, false},
                 {20.0, -0.0, false},    {20.0, -0.001, false}, {20.0, -1e-30, false},
                 {nan, 0.001, false},    {20.0, nan, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "t " << c.t << ", v " << c.v);
        for (double (*fn)(double, double) : {ViscosityTV, ConductivityTV}) {
            if (c.computed)
                EXPECT_GT(fn(c.t, c.v), 0.0);
            else
                EXPECT_THROW(fn(c.t, c.v), NumericFault);
        }
    }
}

// The newer IAPWS formulations (viscosity 2008, conductivity 2011) from an independent
// implementation, compressed water and superheated steam away from the critical point. The
// equations here are older, so only a band is expected; a wrong coefficient leaves it.
TEST(IAPS_ML, StaysInBandAroundNewerFormulations) {
    int rows = 0;
    double worstMu = 0.0;
    double worstLambda = 0.0;
    for (const CsvRow& r : readCsv("transport_band.csv")) {
        const double t = r[0], v = r[1], mu = r[2], lambda = r[3];
        SCOPED_TRACE(testing::Message() << "t " << t << ", v " << v);
        const double devMu = relativeDeviation(ViscosityTV(t, v), mu);
        const double devLambda = relativeDeviation(ConductivityTV(t, v), lambda);
        EXPECT_LT(devMu, 0.02);
        EXPECT_LT(devLambda, 0.035);
        worstMu = std::fmax(worstMu, devMu);
        worstLambda = std::fmax(worstLambda, devLambda);
        ++rows;
    }
    EXPECT_GT(rows, 500);
    RecordProperty("worst_viscosity_deviation", std::to_string(worstMu));
    RecordProperty("worst_conductivity_deviation", std::to_string(worstLambda));
}

} // namespace
