#include "ReferenceCsv.h"
#include "numerics/Sr_Ws.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <fstream>
#include <map>
#include <string>
#include <vector>

namespace {

using numerics::PB2bc_I;
using numerics::T1_PI;
using numerics::T1_PS;
using numerics::T2_PI;
using numerics::T2_PS;

constexpr double kKelvin = 273.15;

using Backward = double (*)(double p, double x);

struct Published {
    Backward fn;
    const char* name;
    double p; // MPa
    double x; // h in kJ/kg or s in kJ/(kg K)
    double T; // K, nine significant digits
};

// The computer-program verification values of the IF97 release (Tables 7, 9, 24 and 28).
const Published kPublished[] = {
    {T1_PI, "T1_PI", 3, 500, 391.798509},      {T1_PI, "T1_PI", 80, 500, 378.108626},
    {T1_PI, "T1_PI", 80, 1500, 611.041229},    {T1_PS, "T1_PS", 3, 0.5, 307.842258},
    {T1_PS, "T1_PS", 80, 0.5, 309.979785},     {T1_PS, "T1_PS", 80, 3, 565.899909},
    {T2_PI, "T2_PI", 0.001, 3000, 534.433241}, {T2_PI, "T2_PI", 3, 3000, 575.373370},
    {T2_PI, "T2_PI", 3, 4000, 1010.77577},     {T2_PI, "T2_PI", 5, 3500, 801.299102},
    {T2_PI, "T2_PI", 5, 4000, 1015.31583},     {T2_PI, "T2_PI", 25, 3500, 875.279054},
    {T2_PI, "T2_PI", 40, 2700, 743.056411},    {T2_PI, "T2_PI", 60, 2700, 791.137067},
    {T2_PI, "T2_PI", 60, 3200, 882.756860},    {T2_PS, "T2_PS", 0.1, 7.5, 399.517097},
    {T2_PS, "T2_PS", 0.1, 8, 514.127081},      {T2_PS, "T2_PS", 2.5, 8, 1039.84917},
    {T2_PS, "T2_PS", 8, 6, 600.484040},        {T2_PS, "T2_PS", 8, 7.5, 1064.95556},
    {T2_PS, "T2_PS", 90, 6, 1038.01126},       {T2_PS, "T2_PS", 20, 5.75, 697.992849},
    {T2_PS, "T2_PS", 80, 5.25, 854.011484},    {T2_PS, "T2_PS", 80, 5.75, 949.017998},
};

// Half a unit in the ninth significant digit of a published value.
double ninthDigit(double published) {
    return 0.5 * std::pow(10.0, std::floor(std::log10(std::fabs(published))) - 8.0);
}

TEST(Sr_Ws_Backward, ReproducesPublishedVerificationValues) {
    for (const Published& v : kPublished) {
        SCOPED_TRACE(::testing::Message() << v.name << "(" << v.p << ", " << v.x << ")");
        EXPECT_NEAR(v.fn(v.p, v.x) + kKelvin, v.T, ninthDigit(v.T));
    }
    // The B2bc check point of the release: 100 MPa at 3516.004323 kJ/kg.
    EXPECT_NEAR(PB2bc_I(3516.004323), 100.0, ninthDigit(100.0));
}

// At a sub-region tie the result must continue the sub-region on `same` side and differ
// measurably from the other one: the equations of neighbouring sub-regions disagree on their
// common boundary by some 1e-6 to 2e-2 K, while one ulp of input moves a result by 1e-13 K.
void expectSide(double atTie, double same, double other) {
    EXPECT_NEAR(atTie, same, 1e-9);
    EXPECT_GT(std::fabs(atTie - other), 1e-6);
}

TEST(Sr_Ws_Backward, TiesGoToTheHigherPressureOrLowerEntropySubRegion) {
    const double up = 5.0, down = 3.0;
    // At 6.5 kJ/(kg K) the 2a and 2b equations happen to agree within 2.4e-6 K; at 7 within
    // 4e-3 K.
    for (double s : {6.5, 7.0}) {
        SCOPED_TRACE(::testing::Message() << "T2_PS(4, " << s << "): 2b, not 2a");
        expectSide(T2_PS(4, s), T2_PS(std::nextafter(4.0, up), s),
                   T2_PS(std::nextafter(4.0, down), s));
    }
    {
        SCOPED_TRACE("T2_PS at s = 5.85: 2c, not 2b");
        expectSide(T2_PS(10, 5.85), T2_PS(10, std::nextafter(5.85, 0.0)),
                   T2_PS(10, std::nextafter(5.85, 9.0)));
    }
    {
        SCOPED_TRACE("T2_PI at p = 4 MPa: 2b, not 2a");
        expectSide(T2_PI(4, 3000), T2_PI(std::nextafter(4.0, up), 3000),
                   T2_PI(std::nextafter(4.0, down), 3000));
    }
    for (double h : {2800.0, 3000.0, 3516.004323}) {
        SCOPED_TRACE(::testing::Message() << "T2_PI at p = pB2bc(" << h << "): 2c, not 2b");
        const double p = PB2bc_I(h);
        expectSide(T2_PI(p, h), T2_PI(std::nextafter(p, 200.0), h),
                   T2_PI(std::nextafter(p, 0.0), h));
    }
    // Just below 4 MPa the 2a equation holds (python3-iapws, sub-region 2a).
    EXPECT_NEAR(T2_PS(3.99, 6.5) + kKelvin, 602.4883368769838, 1e-9);
}

// python3-iapws over dense grids of region 1 and of each sub-region of region 2, beside but
// never on the sub-region boundaries (tests/oracle/gen_if97_backward.py).
TEST(Sr_Ws_Backward, MatchesIndependentImplementationOnGrids) {
    const std::map<std::string, Backward> functions = {
        {"T1_PI", T1_PI}, {"T1_PS", T1_PS}, {"T2_PI", T2_PI}, {"T2_PS", T2_PS}};
    std::map<std::string, int> counts;
    for (const CsvRow& row : readCsv("if97_backward.csv")) {
        ASSERT_EQ(row.texts.size(), 5u);
        const std::string label = row.texts[0] + " " + row.texts[1];
        const double p = row.numbers[2], x = row.numbers[3], T = row.numbers[4];
        const double computed = functions.at(row.texts[0])(p, x) + kKelvin;
        EXPECT_NEAR(computed / T, 1.0, 1e-11) << label << " p " << p << " x " << x;
        ++counts[label];
    }
    for (const char* label : {"T1_PI 1", "T1_PS 1", "T2_PI 2a", "T2_PI 2b", "T2_PI 2c", "T2_PS 2a",
                              "T2_PS 2b", "T2_PS 2c"})
        EXPECT_GT(counts[label], 300) << label;
}

// The backward-equation columns of the reference states, twelve significant digits.
TEST(Sr_Ws_Backward, MatchesBackwardColumnsOfReferenceStates) {
    int checked = 0;
    for (const CsvRow& row : readCsv("if97-inverse.csv")) {
        ASSERT_EQ(row.numbers.size(), 11u);
        const int region = static_cast<int>(row.numbers[0]);
        if (region == 3) continue;
        const double p = row.numbers[2], h = row.numbers[3], s = row.numbers[4];
        const double Tph = (region == 1 ? T1_PI(p, h) : T2_PI(p, h)) + kKelvin;
        const double Tps = (region == 1 ? T1_PS(p, s) : T2_PS(p, s)) + kKelvin;
        EXPECT_NEAR(Tph / row.numbers[9], 1.0, 1e-11) << "region " << region << " p " << p;
        EXPECT_NEAR(Tps / row.numbers[10], 1.0, 1e-11) << "region " << region << " p " << p;
        ++checked;
    }
    EXPECT_EQ(checked, 123);
}

} // namespace
