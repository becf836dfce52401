#include "numerics/FaultScope.h"
#include "numerics/Mat_Ruti.h"

#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>
#include <limits>
#include <vector>

using namespace numerics;

namespace {

// Callbacks are plain function pointers: they count their calls here.
int g_calls = 0;

double identity(double x) {
    ++g_calls;
    return x;
}
double scaled(double x, double param) {
    ++g_calls;
    return x * param;
}
double cube(double x, double) {
    ++g_calls;
    return x * x * x;
}
double cubeRoot(double x) {
    ++g_calls;
    return std::cbrt(x);
}
double cubeRoot2(double x, double) {
    return cubeRoot(x);
}
// Minimum 1 at x = 0: never reaches a target below 1.
double bowl(double x, double) {
    ++g_calls;
    return x * x + 1;
}
double bowl1(double x) {
    return bowl(x, 0);
}
// Finite below 3 only.
double finiteBelowThree(double x, double) {
    ++g_calls;
    return x < 3 ? x : std::numeric_limits<double>::quiet_NaN();
}

double identity2(double x, double) {
    return identity(x);
}
double fallingCube(double x, double param) {
    return -cube(x, param);
}

struct Bracket {
    Pair x{};
    Pair f{};
};

} // namespace

TEST(ExpSafe, ClampsBeyondEightyEight) {
    volatile double at = 88, above = 88.0001, below = -88.0001, low = -88;
    EXPECT_EQ(ExpSafe(at), std::exp(88.0));
    EXPECT_EQ(ExpSafe(above), 1.7e38);
    EXPECT_EQ(ExpSafe(below), 0.0);
    EXPECT_EQ(ExpSafe(low), std::exp(-88.0));
    EXPECT_DOUBLE_EQ(ExpSafe(1), std::exp(1.0));
}

TEST(PowerXY, AppliesItsRulesInOrder) {
    EXPECT_EQ(PowerXY(0, -1), 0.0);
    EXPECT_EQ(PowerXY(0, 0), 1.0); // exponent 0 wins over the tiny base
    EXPECT_DOUBLE_EQ(PowerXY(-2, 3), -8.0);
    EXPECT_DOUBLE_EQ(PowerXY(-2, 2), 4.0);
    EXPECT_DOUBLE_EQ(PowerXY(-2, -1), -0.5);
    EXPECT_EQ(PowerXY(-2, 0.5), 0.0);
    EXPECT_EQ(PowerXY(-8, 1.0 / 3), 0.0);
    EXPECT_EQ(PowerXY(5, 0), 1.0);
    EXPECT_EQ(PowerXY(1, 1e300), 1.0);
    EXPECT_DOUBLE_EQ(PowerXY(2, 0.5), std::sqrt(2.0));
    EXPECT_EQ(PowerXY(10, 100), 1.7e38); // through ExpSafe
    EXPECT_EQ(PowerXY(-10, 101), -1.7e38);
    EXPECT_EQ(PowerXY(2.9e-39, 1), 0.0);
    EXPECT_EQ(PowerXY(-2.9e-39, -3), 0.0);
}

TEST(SmallHelpers, SignMaxAndTolerance) {
    EXPECT_EQ(SignOf(0), 1);
    EXPECT_EQ(SignOf(-0.0), 1);
    EXPECT_EQ(SignOf(-1e-300), -1);
    EXPECT_EQ(MaxOf(1, 2), 2.0);
    EXPECT_EQ(MaxOf(2, 1), 2.0);
    EXPECT_DOUBLE_EQ(TolOf(0.2, 0.05, 1e-12), 1e-4);
    EXPECT_EQ(TolOf(0, 0.05, 1e-12), 1e-12);
}

TEST(BracketWalk, ReversesOnceAndBrackets) {
    // Rising function announced as falling: the first step shows the wrong slope, the walk
    // restarts from x0 upwards and brackets 12 at its third point.
    FaultScope scope;
    Bracket b;
    BracketRoot2(b.x, b.f, -1, 1.0, 12, 10, 10, scaled);
    EXPECT_EQ(b.x, (Pair{11, 12}));
    EXPECT_EQ(b.f, (Pair{11, 12}));
    EXPECT_FALSE(scope.faulted());
}

TEST(BracketWalk, StartAtTheRootEndsWithTheFirstGoodStep) {
    FaultScope scope;
    Bracket b;
    BracketRoot2(b.x, b.f, 1, 1.0, 5, 5, 10, scaled);
    EXPECT_EQ(b.x, (Pair{4.5, 5}));
    EXPECT_FALSE(scope.faulted());
}

TEST(BracketWalk, FallingFunctionWalksTowardsTheTarget) {
    // f = -x: the target -20 lies above x0 = 10 in x; steps of 5.
    FaultScope scope;
    Bracket b;
    BracketRoot3({-100, 100}, b.x, b.f, -20, 10, 50, -1, -1.0, scaled);
    EXPECT_EQ(b.x, (Pair{15, 20}));
    EXPECT_EQ(b.f, (Pair{-15, -20}));
    EXPECT_FALSE(scope.faulted());
}

TEST(BracketWalk, ClampsToItsLimits) {
    FaultScope scope;
    Bracket b;
    // Unsorted limits; the clamped last step brackets the target.
    BracketRoot({20, 0}, b.x, b.f, 19.8, 15, 10, 1, identity);
    EXPECT_EQ(b.x[0], 19.5);
    EXPECT_EQ(b.x[1], 20.0);
    // The root lies beyond the limit: both ends end on it and the solver returns it.
    BracketRoot({0, 20}, b.x, b.f, 100, 15, 10, 1, identity);
    EXPECT_EQ(b.x, (Pair{20, 20}));
    EXPECT_EQ(b.f, (Pair{20, 20}));
    EXPECT_EQ(SolveRoot(b.x, b.f, identity, 100, 1e-9), 20.0);
    // x0 = 30 is clamped to 20, but the step stays 10 % of 30.
    BracketRoot3({0, 20}, b.x, b.f, 10, 30, 10, 1, 1.0, scaled);
    EXPECT_EQ(b.x, (Pair{8, 11}));
    EXPECT_FALSE(scope.faulted());
}

TEST(BracketWalk, PingPongStopsAtTheSecondReversal) {
    {
        FaultScope scope;
        Bracket b;
        g_calls = 0;
        BracketRoot2(b.x, b.f, 1, 0, 0, 1, 10, bowl);
        EXPECT_TRUE(gaveUp());
        EXPECT_EQ(g_calls, 13); // x0, eleven steps down to -0.1, one step up to 1.1
    }
    {
        FaultScope scope;
        Bracket b;
        g_calls = 0;
        BracketRoot({-1e6, 1e6}, b.x, b.f, 0, 1, 10, 1, bowl1);
        EXPECT_TRUE(gaveUp());
        EXPECT_EQ(g_calls, 13);
    }
}

TEST(BracketWalk, StopsOnZeroStepAndNonFiniteValues) {
    Bracket b;
    {
        FaultScope scope;
        g_calls = 0;
        BracketRoot2(b.x, b.f, 1, 1.0, 10, 0, 10, scaled);
        EXPECT_TRUE(gaveUp());
        EXPECT_EQ(g_calls, 1);
        EXPECT_EQ(b.x, (Pair{0, 0}));
    }
    {
        FaultScope scope;
        g_calls = 0;
        BracketRoot3({-100, 100}, b.x, b.f, 10, 0, 10, 1, 1.0, scaled);
        EXPECT_TRUE(gaveUp());
        EXPECT_EQ(g_calls, 1);
    }
    {
        FaultScope scope;
        g_calls = 0;
        BracketRoot2(b.x, b.f, 1, 0, 10, 1, 50, finiteBelowThree);
        EXPECT_TRUE(gaveUp());
        EXPECT_EQ(g_calls, 5); // 1, 1.5, 2, 2.5, 3
    }
}

TEST(BracketWalk, UnlimitedWalkIsBounded) {
    FaultScope scope;
    Bracket b;
    g_calls = 0;
    BracketRoot2(b.x, b.f, 1, 1.0, 1e300, 1, 1, scaled);
    EXPECT_TRUE(gaveUp());
    EXPECT_EQ(g_calls, 10'001);
}

TEST(SolveRoot, LinearFunctionIsExactInTheFirstIteration) {
    g_calls = 0;
    // 2x = 6 on [0, 8]; then x = 3 on a reversed bracket.
    EXPECT_EQ(SolveRoot2({0, 8}, {0, 16}, scaled, 2.0, 6, 1e-9), 3.0);
    EXPECT_EQ(g_calls, 1);
    g_calls = 0;
    EXPECT_EQ(SolveRoot({8, 0}, {8, 0}, identity, 3, 1e-9), 3.0);
    EXPECT_EQ(g_calls, 1);
}

TEST(SolveRoot, EqualEndValuesGiveTheMidpointAtOnce) {
    g_calls = 0;
    EXPECT_EQ(SolveRoot2({6, 2}, {5, 5}, scaled, 1.0, 4, 1e-9), 4.0);
    EXPECT_EQ(SolveRoot({2, 6}, {5, 5}, identity, 4, 1e-9), 4.0);
    EXPECT_EQ(g_calls, 0);
}

TEST(SolveRoot, GivesTheMidpointOnceOneHundredIterationsAreExceeded) {
    // Tolerance 0 is never met; the upper end sits on the root 0, so the width test measures
    // against the lower end and never passes while the lower end halves each iteration.
    for (bool two : {false, true}) {
        FaultScope scope;
        g_calls = 0;
        const double x = two ? SolveRoot2({-1, 0}, {-1, 0}, identity2, 0, 0, 0)
                             : SolveRoot({-1, 0}, {-1, 0}, identity, 0, 0);
        EXPECT_EQ(g_calls, 202) << two;
        EXPECT_EQ(x, -std::ldexp(1.0, -102)) << two;
        EXPECT_FALSE(scope.faulted()) << two;
    }
}

TEST(SolveRoot, LastSecantCorrectionFromTheMovedEnd) {
    // x^3 = 6 on [0, 2]: the secant point 1.5 and the bisection point 1.75 both lie below the
    // root; 1.75 meets the tolerance 1 and is corrected along the new bracket [1.75, 2].
    g_calls = 0;
    const double x = SolveRoot2({0, 2}, {0, 8}, cube, 0, 6, 1);
    EXPECT_EQ(g_calls, 2);
    EXPECT_DOUBLE_EQ(x, 1.75 + (6 - 5.359375) * 0.25 / (8 - 5.359375));
}

TEST(SolveRoot, FallingFunctionConverges) {
    FaultScope scope;
    const double x = SolveRoot2({2, 1}, {-8, -1}, fallingCube, 0, -5, 1e-12);
    EXPECT_NEAR(x, std::cbrt(5.0), 1e-12);
    EXPECT_FALSE(scope.faulted());
}

TEST(SolveRoot, NegativeBracketAndZeroEndConvergeToTolerance) {
    // Below zero the larger end is negative and then 0: the width is measured against a
    // magnitude, so the solve neither stops unconverged nor divides by 0.
    FaultScope scope;
    const double tol = 1e-10;
    const double xNegative = SolveRoot2({-8, 0}, {-2, 0}, cubeRoot2, 0, -1.2, tol);
    EXPECT_LT(std::fabs(std::cbrt(xNegative) + 1.2), tol);
    const double xCube = SolveRoot2({-3, -2.5}, {-27, -15.625}, cube, 0, -20, 1e-9);
    EXPECT_LT(std::fabs(xCube * xCube * xCube + 20), 1e-9);
    const double xZero = SolveRoot({0, 8}, {0, 2}, cubeRoot, 1.2, tol);
    EXPECT_LT(std::fabs(std::cbrt(xZero) - 1.2), tol);
    EXPECT_FALSE(scope.faulted());
}

namespace {

struct Call {
    double x1, x2;
};
Call g_newtonCalls[400];
int g_newtonCount = 0;

void record(double x1, double x2) {
    if (g_newtonCount < 400) g_newtonCalls[g_newtonCount] = {x1, x2};
    ++g_newtonCount;
}
// x1^2 + x2^2 = 5, x1 x2 = 2 has the root (2, 1) near the start (2.5, 0.8).
void circleHyperbola(double x1, double x2, double& f1, double& f2) {
    record(x1, x2);
    f1 = x1 * x1 + x2 * x2;
    f2 = x1 * x2;
}
void dependent(double x1, double x2, double& f1, double& f2) {
    record(x1, x2);
    f1 = x1 + x2;
    f2 = 2 * (x1 + x2);
}
// x1^2 + x2^2 = -1 has no real solution.
void unsolvable(double x1, double x2, double& f1, double& f2) {
    record(x1, x2);
    f1 = x1 * x1 + x2 * x2;
    f2 = x1 - x2;
}

} // namespace

TEST(Newton2D, SolvesANonlinearSystem) {
    FaultScope scope;
    g_newtonCount = 0;
    double x1 = 0, x2 = 0;
    const double percent = 0.01;
    Newton2D(circleHyperbola, x1, x2, 2.5, 0.8, percent, 5, 2);
    EXPECT_FALSE(scope.faulted());
    EXPECT_NEAR(x1, 2, 1e-3);
    EXPECT_NEAR(x2, 1, 1e-3);
    EXPECT_LT(std::fabs(x1 * x1 + x2 * x2 - 5), 5e-4);
    EXPECT_LT(std::fabs(x1 * x2 - 2), 2e-4);
    // Calls: F, G at (x1 + h1, x2), G at (x1, x2 + h2), F at the new point, then the next
    // difference points one step in the direction of the last correction (x1 fell, x2 rose).
    ASSERT_GE(g_newtonCount, 6);
    const double h1 = 2 * percent / 100 * 2.5, h2 = 2 * percent / 100 * 0.8;
    EXPECT_EQ(g_newtonCalls[1].x1, 2.5 + h1);
    EXPECT_LT(g_newtonCalls[3].x1, 2.5);
    EXPECT_GT(g_newtonCalls[3].x2, 0.8);
    EXPECT_DOUBLE_EQ(g_newtonCalls[4].x1, g_newtonCalls[3].x1 - h1);
    EXPECT_DOUBLE_EQ(g_newtonCalls[5].x2, g_newtonCalls[3].x2 + h2);
}

TEST(Newton2D, GivesUpOnSingularZeroStepAndUnsolvableSystems) {
    double x1 = 0, x2 = 0;
    {
        // Exact differences (steps 0.5): the Jacobian [[1, 1], [2, 2]] is singular, no
        // correction is applied.
        FaultScope scope;
        g_newtonCount = 0;
        Newton2D(dependent, x1, x2, 1, 1, 25, 10, 5);
        EXPECT_TRUE(gaveUp());
        EXPECT_EQ(g_newtonCount, 3);
        EXPECT_EQ(x1, 1.0);
        EXPECT_EQ(x2, 1.0);
    }
    {
        // A start value of 0 gives a zero difference step: no 0 / 0 is computed.
        FaultScope scope;
        g_newtonCount = 0;
        Newton2D(circleHyperbola, x1, x2, 0, 1, 0.01, 5, 2);
        EXPECT_TRUE(gaveUp());
        EXPECT_EQ(std::fetestexcept(FE_INVALID | FE_DIVBYZERO), 0);
        EXPECT_EQ(g_newtonCount, 1);
    }
    {
        FaultScope scope;
        g_newtonCount = 0;
        Newton2D(unsolvable, x1, x2, 1, 2, 0.01, -1, 0);
        EXPECT_TRUE(gaveUp());
        EXPECT_LE(g_newtonCount, 1 + 100 * 3);
    }
}

TEST(GaussSolve, ExchangesRowsOnAZeroPivot) {
    GaussMatrix a{};
    a[1] = {0, 0, 1, 2};
    a[2] = {0, 1, 0, 3};
    bool singular = true;
    GaussSolve(a, 2, singular);
    EXPECT_FALSE(singular);
    EXPECT_EQ(a[1][3], 3.0);
    EXPECT_EQ(a[2][3], 2.0);
}

TEST(GaussSolve, ReportsASingularSystem) {
    GaussMatrix a{};
    a[1] = {0, 1, 1, 1};
    a[2] = {0, 1, 1, 2};
    bool singular = false;
    GaussSolve(a, 2, singular);
    EXPECT_TRUE(singular);
}

TEST(GaussSolve, SolvesFourEquations) {
    // Solution (1, -2, 3, 0.5); column 5 holds the right-hand side.
    GaussMatrix a{};
    a[1] = {0, 2, 1, -1, 4, -1};
    a[2] = {0, -3, -1, 2, 1, 5.5};
    a[3] = {0, -2, 1, 2, 0, 2};
    a[4] = {0, 1, 0, 0, 2, 2};
    bool singular = true;
    GaussSolve(a, 4, singular);
    EXPECT_FALSE(singular);
    EXPECT_NEAR(a[1][5], 1, 1e-14);
    EXPECT_NEAR(a[2][5], -2, 1e-14);
    EXPECT_NEAR(a[3][5], 3, 1e-14);
    EXPECT_NEAR(a[4][5], 0.5, 1e-14);
}

namespace {
// x1 seen through a 1e-6 grid and offset by 3e-7: the first equation can come no closer than
// 3e-7 to its target, though the iteration settles next to it.
void coarseFirstEquation(double x1, double x2, double& f1, double& f2) {
    f1 = std::round(x1 * 1e6) / 1e6 - 9999 + 3e-7;
    f2 = x2 - 9999;
}
} // namespace

TEST(Newton2D, AcceptsAnIterateWithinTheFallbackLevel) {
    double x1 = 0, x2 = 0;
    {
        FaultScope scope;
        Newton2D(coarseFirstEquation, x1, x2, 1e4, 1e4, 1e-6, 1, 1);
        EXPECT_TRUE(gaveUp());
    }
    {
        FaultScope scope;
        Newton2D(coarseFirstEquation, x1, x2, 1e4, 1e4, 1e-6, 1, 1, 1e-4);
        EXPECT_FALSE(scope.faulted());
        EXPECT_NEAR(x1, 1e4, 1e-6);
        EXPECT_NEAR(x2, 1e4, 1e-9);
    }
    {
        // Residuals beyond the fallback level still give up.
        FaultScope scope;
        Newton2D(coarseFirstEquation, x1, x2, 1e4, 1e4, 1e-6, 1, 1, 1e-5);
        EXPECT_TRUE(gaveUp());
    }
}

TEST(BracketWalk, StepFloorMovesAWalkStartingAtZero) {
    FaultScope scope;
    Bracket b;
    BracketRoot2(b.x, b.f, 1, 1.0, 0.7, 0, 1, scaled, 0.25);
    EXPECT_FALSE(scope.faulted());
    EXPECT_EQ(b.x, (Pair{0.5, 0.75}));
    // Above the floor the percentage step holds.
    BracketRoot2(b.x, b.f, 1, 1.0, 110, 100, 5, scaled, 0.25);
    EXPECT_EQ(b.x, (Pair{105, 110}));
}

// ---------------------------------------------------------------------------------------------
// The fast paths that run before the bracketing searches: they may give up, but never evaluate
// outside their limits and never return a point that misses the stop test.

TEST(SecantRoot, ConvergesInsideItsLimitsOrGivesNothing) {
    std::vector<double> seen;
    const auto record = [&](double x) {
        seen.push_back(x);
        return x * x * x + x;
    };
    // Monotone and smooth: a few steps from two start points.
    const auto root = SecantRoot(record, 0.5, 0.6, 0.0, 2.0, 1.0, 1e-12);
    ASSERT_TRUE(root.has_value());
    EXPECT_LT(std::abs(*root * *root * *root + *root - 1.0), 1e-12);
    EXPECT_LT(seen.size(), 10u);
    // The first secant step from these ends leaves [0.9, 1.0]: nothing is evaluated there.
    seen.clear();
    EXPECT_FALSE(SecantRoot(record, {0.9, 1.629, 1.0, 2.0}, 0.9, 1.0, 3.0, 1e-12).has_value());
    EXPECT_TRUE(seen.empty());
    // A non-finite value ends it.
    const auto broken = [](double x) { return x > 0.7 ? std::nan("") : x; };
    EXPECT_FALSE(SecantRoot(broken, 0.0, 0.1, 0.0, 1.0, 0.9, 1e-12).has_value());
}

TEST(SecantThenSolveRoot2, LeavesTheRootAsTheLastPointEvaluated) {
    static double last = 0;
    const Function2 recording = [](double x, double) {
        last = x;
        return std::exp(x) - 1;
    };
    for (double target : {0.3, 1.0, 5.0}) {
        const double x = SecantThenSolveRoot2({0.0, 2.0}, {0.0, std::exp(2.0) - 1}, recording, 0,
                                              target, 1e-12);
        EXPECT_LT(std::abs(std::exp(x) - 1 - target), 1e-12) << target;
        EXPECT_EQ(last, x) << target;
    }
}

// x1^2 + x2^2 = 5 + a, x1 x2 = 2 with its Jacobian; the difference Newton is the reference.
ValuesAndSlopes circleHyperbolaWithSlopes(double x1, double x2) {
    return {x1 * x1 + x2 * x2, x1 * x2, 2 * x1, 2 * x2, x2, x1};
}
void circleHyperbolaPair(double x1, double x2, double& f1, double& f2) {
    f1 = x1 * x1 + x2 * x2;
    f2 = x1 * x2;
}

TEST(NewtonWithSlopes, ReachesTheRootOfTheDifferenceNewtonAndStaysInside) {
    const auto anywhere = [](double, double) { return true; };
    for (double a : {0.0, 0.5, 2.0}) {
        double x1 = 0, x2 = 0, r1 = 0, r2 = 0;
        ASSERT_TRUE(NewtonWithSlopes(circleHyperbolaWithSlopes, anywhere, x1, x2, 2.5, 0.8,
                                     1e-10, 5 + a, 2));
        Newton2D(circleHyperbolaPair, r1, r2, 2.5, 0.8, 1e-10, 5 + a, 2);
        EXPECT_NEAR(x1, r1, 1e-9 * r1) << a;
        EXPECT_NEAR(x2, r2, 1e-9 * r2) << a;
    }
    // Steps are halved to stay where x2 > 0.5; the root there is still found.
    int outside = 0;
    const auto counting = [&](double x1, double x2) {
        if (x2 <= 0.5) ++outside;
        return circleHyperbolaWithSlopes(x1, x2);
    };
    double x1 = 0, x2 = 0;
    EXPECT_TRUE(NewtonWithSlopes(counting, [](double, double x2) { return x2 > 0.5; }, x1, x2,
                                 0.2, 3.0, 1e-10, 5, 2));
    EXPECT_EQ(outside, 0);
    EXPECT_NEAR(x1 * x2, 2, 1e-9);
    // A singular Jacobian gives up without writing the results.
    double y1 = 7, y2 = 8;
    EXPECT_FALSE(NewtonWithSlopes(circleHyperbolaWithSlopes, anywhere, y1, y2, 1.0, 1.0, 1e-10,
                                  5, 2));
    EXPECT_EQ(y1, 7);
    EXPECT_EQ(y2, 8);
}
