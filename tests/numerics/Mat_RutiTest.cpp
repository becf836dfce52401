#include "numerics/Mat_Ruti.h"
#include "numerics/FaultScope.h"

#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>
#include <functional>
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

// The target lies between the bracket's values (or on one of them).
bool brackets(const Pair& f, double target) {
    return (f[0] - target) * (f[1] - target) <= 0;
}

} // namespace

TEST(SmallHelpers, ExpAndPowerKeepToTheirRange) {
    volatile double at = 88, above = 88.0001, below = -88.0001;
    EXPECT_EQ(ExpSafe(at), std::exp(88.0));
    EXPECT_EQ(ExpSafe(above), 1.7e38);
    EXPECT_EQ(ExpSafe(below), 0.0);
    // Negative bases: integer exponents keep their sign, others give 0, never NaN.
    FaultScope scope;
    const struct {
        double base, exponent, expected;
    } rows[] = {{0, -1, 0},        {0, 0, 1},           {-2, 3, -8},     {-2, -1, -0.5},
                {-2, 0.5, 0},      {-8, 1.0 / 3, 0},    {1, 1e300, 1},   {2, 0.5, std::sqrt(2.0)},
                {10, 100, 1.7e38}, {-10, 101, -1.7e38}, {2.9e-39, 1, 0}, {-2.9e-39, -3, 0}};
    for (const auto& r : rows)
        EXPECT_DOUBLE_EQ(PowerXY(r.base, r.exponent), r.expected) << r.base << "^" << r.exponent;
    EXPECT_FALSE(scope.faulted());
    EXPECT_EQ(SignOf(0), 1);
    EXPECT_EQ(SignOf(-0.0), 1);
    EXPECT_EQ(SignOf(-1e-300), -1);
}

// Whatever the start and the announced slope, the walk ends on a bracket of the target.
TEST(BracketWalk, BracketsTheTargetFromAnyStart) {
    FaultScope scope;
    Pair x{}, f{};
    // Rising function announced as falling: the walk turns round once.
    BracketRoot2(x, f, -1, 1.0, 12, 10, 10, scaled);
    EXPECT_TRUE(brackets(f, 12));
    // Start at the root.
    BracketRoot2(x, f, 1, 1.0, 5, 5, 10, scaled);
    EXPECT_TRUE(brackets(f, 5));
    // Falling function, target above x0 in x.
    BracketRoot3({-100, 100}, x, f, -20, 10, 50, -1, -1.0, scaled);
    EXPECT_TRUE(brackets(f, -20));
    EXPECT_LE(x[0], 20);
    // Unsorted limits, the last step clamped.
    BracketRoot({20, 0}, x, f, 19.8, 15, 10, 1, identity);
    EXPECT_TRUE(brackets(f, 19.8));
    EXPECT_LE(x[1], 20);
    // x0 beyond the limit is clamped into it.
    BracketRoot3({0, 20}, x, f, 10, 30, 10, 1, 1.0, scaled);
    EXPECT_TRUE(brackets(f, 10));
    // A start at 0 moves with the step floor; above the floor the percentage step holds.
    BracketRoot2(x, f, 1, 1.0, 0.7, 0, 1, scaled, 0.25);
    EXPECT_TRUE(brackets(f, 0.7));
    BracketRoot2(x, f, 1, 1.0, 110, 100, 5, scaled, 0.25);
    EXPECT_EQ(x, (Pair{105, 110}));
    EXPECT_FALSE(scope.faulted());
    // The root lies beyond the limit: both ends end on it and the solver returns it.
    BracketRoot({0, 20}, x, f, 100, 15, 10, 1, identity);
    EXPECT_EQ(x, (Pair{20, 20}));
    EXPECT_EQ(SolveRoot(x, f, identity, 100, 1e-9), 20.0);
}

// No bracket to be had: the walk gives up after a bounded number of calls and never
// evaluates beyond a non-finite value.
TEST(BracketWalk, GivesUpWithinBoundedCalls) {
    Pair x{}, f{};
    const struct {
        const char* what;
        std::function<void()> walk;
        int maxCalls;
    } cases[] = {
        {"ping-pong", [&] { BracketRoot2(x, f, 1, 0, 0, 1, 10, bowl); }, 13},
        {"ping-pong limited",
         [&] {
             BracketRoot({-1e6, 1e6}, x, f, 0, 1, 10, 1, bowl1);
         },
         13},
        {"zero step", [&] { BracketRoot2(x, f, 1, 1.0, 10, 0, 10, scaled); }, 1},
        {"zero step limited",
         [&] {
             BracketRoot3({-100, 100}, x, f, 10, 0, 10, 1, 1.0, scaled);
         },
         1},
        {"non-finite", [&] { BracketRoot2(x, f, 1, 0, 10, 1, 50, finiteBelowThree); }, 5},
        {"unlimited", [&] { BracketRoot2(x, f, 1, 1.0, 1e300, 1, 1, scaled); }, 10'001},
    };
    for (const auto& c : cases) {
        FaultScope scope;
        g_calls = 0;
        c.walk();
        EXPECT_TRUE(gaveUp()) << c.what;
        EXPECT_LE(g_calls, c.maxCalls) << c.what;
    }
}

// Each solve meets its target within the tolerance, bracket ends in either order, falling or
// rising, negative or touching 0.
TEST(SolveRoot, MeetsTheTargetOnAnyBracket) {
    FaultScope scope;
    const struct {
        Function2 fn;
        Pair x, f;
        double target, tol;
    } cases[] = {
        {scaled, {0, 8}, {0, 16}, 6, 1e-9},         {fallingCube, {2, 1}, {-8, -1}, -5, 1e-12},
        {cubeRoot2, {-8, 0}, {-2, 0}, -1.2, 1e-10}, {cube, {-3, -2.5}, {-27, -15.625}, -20, 1e-9},
        {cube, {0, 2}, {0, 8}, 6, 1e-12},
    };
    for (const auto& c : cases) {
        const double param = c.fn == scaled ? 2.0 : 0;
        const double x = SolveRoot2(c.x, c.f, c.fn, param, c.target, c.tol);
        EXPECT_LT(std::fabs(c.fn(x, param) - c.target), c.tol) << c.target;
    }
    const double xZero = SolveRoot({0, 8}, {0, 2}, cubeRoot, 1.2, 1e-10);
    EXPECT_LT(std::fabs(std::cbrt(xZero) - 1.2), 1e-10);
    const double xReversed = SolveRoot({8, 0}, {8, 0}, identity, 3, 1e-9);
    EXPECT_EQ(xReversed, 3.0);
    EXPECT_FALSE(scope.faulted());
    // Equal end values: the midpoint, without a call.
    g_calls = 0;
    EXPECT_EQ(SolveRoot2({6, 2}, {5, 5}, scaled, 1.0, 4, 1e-9), 4.0);
    EXPECT_EQ(SolveRoot({2, 6}, {5, 5}, identity, 4, 1e-9), 4.0);
    EXPECT_EQ(g_calls, 0);
}

TEST(SolveRoot, StopsAfterAHundredIterations) {
    // Tolerance 0 is never met; the upper end sits on the root 0, so the width test measures
    // against the lower end and never passes while the lower end halves each iteration.
    for (bool two : {false, true}) {
        FaultScope scope;
        g_calls = 0;
        const double x = two ? SolveRoot2({-1, 0}, {-1, 0}, identity2, 0, 0, 0)
                             : SolveRoot({-1, 0}, {-1, 0}, identity, 0, 0);
        EXPECT_LE(g_calls, 202) << two;
        EXPECT_LE(x, 0) << two;
        EXPECT_GT(x, -1e-25) << two;
        EXPECT_FALSE(scope.faulted()) << two;
    }
}

namespace {

int g_newtonCalls = 0;

// x1^2 + x2^2 = 5, x1 x2 = 2 has the root (2, 1) near the start (2.5, 0.8).
void circleHyperbola(double x1, double x2, double& f1, double& f2) {
    ++g_newtonCalls;
    f1 = x1 * x1 + x2 * x2;
    f2 = x1 * x2;
}
void dependent(double x1, double x2, double& f1, double& f2) {
    ++g_newtonCalls;
    f1 = x1 + x2;
    f2 = 2 * (x1 + x2);
}
// x1^2 + x2^2 = -1 has no real solution.
void unsolvable(double x1, double x2, double& f1, double& f2) {
    ++g_newtonCalls;
    f1 = x1 * x1 + x2 * x2;
    f2 = x1 - x2;
}
// x1 seen through a 1e-6 grid and offset by 3e-7: the first equation can come no closer than
// 3e-7 to its target, though the iteration settles next to it.
void coarseFirstEquation(double x1, double x2, double& f1, double& f2) {
    f1 = std::round(x1 * 1e6) / 1e6 - 9999 + 3e-7;
    f2 = x2 - 9999;
}

} // namespace

TEST(Newton2D, SolvesANonlinearSystemAndAcceptsTheFallbackLevel) {
    double x1 = 0, x2 = 0;
    {
        FaultScope scope;
        Newton2D(circleHyperbola, x1, x2, 2.5, 0.8, 0.01, 5, 2);
        EXPECT_FALSE(scope.faulted());
        EXPECT_LT(std::fabs(x1 * x1 + x2 * x2 - 5), 5e-4);
        EXPECT_LT(std::fabs(x1 * x2 - 2), 2e-4);
        EXPECT_NEAR(x1, 2, 1e-3);
    }
    for (const double fallback : {0.0, 1e-4, 1e-5}) {
        FaultScope scope;
        if (fallback == 0)
            Newton2D(coarseFirstEquation, x1, x2, 1e4, 1e4, 1e-6, 1, 1);
        else
            Newton2D(coarseFirstEquation, x1, x2, 1e4, 1e4, 1e-6, 1, 1, fallback);
        // Only a level above the residual 3e-7 lets the iterate through.
        EXPECT_EQ(gaveUp(), fallback != 1e-4) << fallback;
        if (fallback == 1e-4) {
            EXPECT_FALSE(scope.faulted());
            EXPECT_NEAR(x1, 1e4, 1e-6);
        }
    }
}

TEST(Newton2D, GivesUpOnSingularZeroStepAndUnsolvableSystems) {
    double x1 = 0, x2 = 0;
    {
        // Exact differences (steps 0.5): the Jacobian [[1, 1], [2, 2]] is singular, no
        // correction is applied.
        FaultScope scope;
        Newton2D(dependent, x1, x2, 1, 1, 25, 10, 5);
        EXPECT_TRUE(gaveUp());
        EXPECT_EQ(x1, 1.0);
        EXPECT_EQ(x2, 1.0);
    }
    {
        // A start value of 0 gives a zero difference step: no 0 / 0 is computed.
        FaultScope scope;
        Newton2D(circleHyperbola, x1, x2, 0, 1, 0.01, 5, 2);
        EXPECT_TRUE(gaveUp());
        EXPECT_EQ(std::fetestexcept(FE_INVALID | FE_DIVBYZERO), 0);
    }
    {
        FaultScope scope;
        g_newtonCalls = 0;
        Newton2D(unsolvable, x1, x2, 1, 2, 0.01, -1, 0);
        EXPECT_TRUE(gaveUp());
        EXPECT_LE(g_newtonCalls, 1 + 100 * 3);
    }
}

TEST(GaussSolve, SolvesWithRowExchangeAndReportsSingularSystems) {
    // Solution (1, -2, 3, 0.5); column 5 holds the right-hand side; a[1][1] needs no pivot,
    // the second system has a zero pivot, the third is singular.
    GaussMatrix a{};
    a[1] = {0, 2, 1, -1, 4, -1};
    a[2] = {0, -3, -1, 2, 1, 5.5};
    a[3] = {0, -2, 1, 2, 0, 2};
    a[4] = {0, 1, 0, 0, 2, 2};
    bool singular = true;
    GaussSolve(a, 4, singular);
    EXPECT_FALSE(singular);
    const double solution[] = {1, -2, 3, 0.5};
    for (int i = 1; i <= 4; ++i)
        EXPECT_NEAR(a[i][5], solution[i - 1], 1e-14) << i;
    GaussMatrix b{};
    b[1] = {0, 0, 1, 2};
    b[2] = {0, 1, 0, 3};
    GaussSolve(b, 2, singular);
    EXPECT_FALSE(singular);
    EXPECT_EQ(b[1][3], 3.0);
    EXPECT_EQ(b[2][3], 2.0);
    GaussMatrix c{};
    c[1] = {0, 1, 1, 1};
    c[2] = {0, 1, 1, 2};
    GaussSolve(c, 2, singular);
    EXPECT_TRUE(singular);
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

TEST(NewtonWithSlopes, ReachesTheRootOfTheDifferenceNewtonAndStaysInside) {
    const auto anywhere = [](double, double) { return true; };
    for (double a : {0.0, 0.5, 2.0}) {
        double x1 = 0, x2 = 0, r1 = 0, r2 = 0;
        ASSERT_TRUE(NewtonWithSlopes(circleHyperbolaWithSlopes, anywhere, x1, x2, 2.5, 0.8, 1e-10,
                                     5 + a, 2));
        Newton2D(circleHyperbola, r1, r2, 2.5, 0.8, 1e-10, 5 + a, 2);
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
    EXPECT_TRUE(NewtonWithSlopes(
        counting, [](double, double x2) { return x2 > 0.5; }, x1, x2, 0.2, 3.0, 1e-10, 5, 2));
    EXPECT_EQ(outside, 0);
    EXPECT_NEAR(x1 * x2, 2, 1e-9);
    // A singular Jacobian gives up without writing the results.
    double y1 = 7, y2 = 8;
    EXPECT_FALSE(
        NewtonWithSlopes(circleHyperbolaWithSlopes, anywhere, y1, y2, 1.0, 1.0, 1e-10, 5, 2));
    EXPECT_EQ(y1, 7);
    EXPECT_EQ(y2, 8);
}
