#include "numerics/FaultScope.h"
#include "numerics/Mat_Ruti.h"

#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>
#include <limits>

using namespace numerics;

namespace {

// Values go through volatile variables so that the compiler cannot fold the faulting
// operation away at compile time.
volatile double g_zero = 0;
volatile double g_one = 1;
volatile double g_minusOne = -1;
volatile double g_huge = 1e308;
volatile double g_sink = 0;
volatile long double g_longZero = 0;
volatile long double g_longHuge = 1e4000L;
volatile long double g_longNan = std::numeric_limits<long double>::quiet_NaN();
volatile long double g_longSink = 0;
volatile bool g_boolSink = false;

// NaN in the middle of [0, 4], the identity elsewhere.
double nanInTheMiddle(double x, double) {
    return std::fabs(x - 2) < 0.5 ? std::numeric_limits<double>::quiet_NaN() : x;
}
// x below 1, 2x - 1 above; below 1 the square root is NaN, which PowerXY turns into 0.
double kinked(double x, double) {
    return x + PowerXY(std::sqrt(x - 1), 2);
}

} // namespace

TEST(FaultScope, ReportsFaultsTheMarkAndNonFiniteResults) {
    {
        FaultScope scope;
        g_sink = g_one / g_zero;
        EXPECT_TRUE(scope.faulted());
        EXPECT_THROW(scope.check("division"), NumericFault);
    }
    {
        FaultScope scope;
        g_sink = std::log(g_minusOne);
        EXPECT_TRUE(scope.faulted());
    }
    {
        FaultScope scope;
        g_sink = g_huge * 10;
        EXPECT_TRUE(scope.faulted());
    }
    {
        FaultScope scope;
        markGaveUp();
        EXPECT_TRUE(scope.faulted());
        EXPECT_THROW(scope.check("mark"), NumericFault);
    }
    FaultScope scope;
    EXPECT_FALSE(gaveUp());
    EXPECT_NO_THROW(scope.check("clean", {1.0, -2.0}));
    EXPECT_THROW(scope.check("result", {1.0, std::numeric_limits<double>::infinity()}),
                 NumericFault);
}

// Extended precision runs on the x87 unit, whose flags are kept apart from those of double
// arithmetic: the region tests compare with their decimal limits there.
TEST(FaultScope, ReportsFaultsOfExtendedPrecision) {
    {
        FaultScope scope;
        g_longSink = 1.0L / g_longZero;
        EXPECT_TRUE(scope.faulted());
    }
    {
        FaultScope scope;
        g_longSink = g_longHuge * g_longHuge;
        EXPECT_TRUE(scope.faulted());
    }
    {
        FaultScope scope;
        g_boolSink = g_longNan < 1.0L;
        EXPECT_TRUE(scope.faulted());
    }
    {
        // A fault raised before a scope opened is not that scope's, and is kept for the one
        // around it.
        FaultScope outer;
        g_longSink = 1.0L / g_longZero;
        {
            FaultScope inner;
            g_longSink = 2.0L / 3.0L;
            EXPECT_FALSE(inner.faulted());
        }
        EXPECT_TRUE(outer.faulted());
    }
}

TEST(FaultScope, NanSwallowedBySolverIsReported) {
    {
        // The solver meets NaN and returns the finite midpoint with the mark set.
        FaultScope scope;
        const double x = SolveRoot2({0, 4}, {0, 4}, nanInTheMiddle, 0, 2.2, 1e-9);
        EXPECT_TRUE(std::isfinite(x));
        EXPECT_THROW(scope.check("solve", {x}), NumericFault);
    }
    {
        // Every value the solver sees is finite and the root is right; only the flags know.
        FaultScope scope;
        const double x = SolveRoot2({0, 4}, {0, 7}, kinked, 0, 0.5, 1e-9);
        EXPECT_NEAR(x, 0.5, 1e-9);
        EXPECT_FALSE(gaveUp());
        EXPECT_THROW(scope.check("solve", {x}), NumericFault);
    }
}

TEST(FaultScope, NestedScopesKeepAnInnerFaultAndInventNone) {
    {
        FaultScope outer;
        {
            FaultScope inner;
            g_sink = g_one / g_one;
        }
        EXPECT_FALSE(outer.faulted());
    }
    FaultScope outer;
    {
        FaultScope inner;
        g_sink = g_one / g_zero;
        EXPECT_TRUE(inner.faulted());
    }
    EXPECT_TRUE(outer.faulted());
    {
        // An inner scope starts clean inside a faulted one and hands its mark outwards.
        FaultScope inner;
        EXPECT_FALSE(inner.faulted());
        markGaveUp();
    }
    EXPECT_TRUE(gaveUp());
}

constexpr int kWatched = FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW;

// The x87 status word alone, where long double arithmetic leaves its flags.
int x87Flags() {
    unsigned short status = 0;
    asm volatile("fnstsw %0" : "=am"(status));
    return status & kWatched;
}

// The entry points compute once whatever flags the caller left raised, throw on a fault of
// their own only, and give the caller's flags and mark back exactly, also when they throw.
TEST(RunChecked, ComputesOnceAndKeepsTheCallersFlagsExactly) {
    using Compute = double (*)();
    const Compute faulting[] = {[] { return g_one / g_zero; }, [] { return std::log(g_minusOne); },
                                [] { return g_huge * 10; }, [] { return markGaveUp(), 1.0; },
                                [] { return g_zero / g_zero; }};
    for (int caller : {0, FE_INVALID, FE_DIVBYZERO, FE_OVERFLOW, kWatched}) {
        for (bool callerMark : {false, true}) {
            SCOPED_TRACE(testing::Message()
                         << "caller's flags " << caller << " mark " << callerMark);
            const auto raiseCallers = [&] {
                std::feclearexcept(FE_ALL_EXCEPT);
                std::feraiseexcept(caller);
                if (callerMark)
                    markGaveUp();
                else
                    clearGaveUp();
            };
            raiseCallers();
            int runs = 0;
            EXPECT_EQ(runChecked("clean", [&] { return ++runs, g_one / 4; }), 0.25);
            EXPECT_EQ(runs, 1);
            EXPECT_EQ(std::fetestexcept(kWatched), caller);
            EXPECT_EQ(gaveUp(), callerMark);
            for (const Compute compute : faulting) {
                raiseCallers();
                EXPECT_THROW(runChecked("fault", compute), NumericFault);
                EXPECT_EQ(std::fetestexcept(kWatched), caller);
                EXPECT_EQ(gaveUp(), callerMark);
            }
            raiseCallers();
            EXPECT_THROW(runChecked("throws", [] { return throw NumericFault("inside"), 1.0; }),
                         NumericFault);
            EXPECT_EQ(std::fetestexcept(kWatched), caller);
        }
    }
    std::feclearexcept(FE_ALL_EXCEPT);
    clearGaveUp();
}

// Extended arithmetic leaves its flags in the x87 status word: a caller's flag there is no
// fault of a computation that uses the unit, and comes back where it was.
TEST(RunChecked, ReadsTheX87FlagsWhereExtendedArithmeticRan) {
    const auto extendedFault = [] {
        noteExtendedArithmetic();
        g_boolSink = g_longNan < 1.0L;
        return 1.0;
    };
    const auto extendedClean = [] {
        noteExtendedArithmetic();
        g_longSink = 2.0L / 3.0L;
        return 5.0;
    };
    std::feclearexcept(FE_ALL_EXCEPT);
    EXPECT_THROW(runChecked("extended", extendedFault), NumericFault);
    EXPECT_EQ(std::fetestexcept(kWatched), 0);
    for (int run = 0; run < 2; ++run) {
        std::feclearexcept(FE_ALL_EXCEPT);
        g_longSink = 1.0L / g_longZero;
        ASSERT_EQ(x87Flags(), FE_DIVBYZERO);
        if (run == 0) {
            EXPECT_EQ(runChecked("extended after a fault of the caller", extendedClean), 5.0);
        } else {
            EXPECT_THROW(runChecked("extended fault after one of the caller", extendedFault),
                         NumericFault);
        }
        EXPECT_EQ(x87Flags(), FE_DIVBYZERO);
        EXPECT_EQ(std::fetestexcept(kWatched), FE_DIVBYZERO);
        EXPECT_EQ(runChecked("double after a fault of the caller", [] { return 6.0; }), 6.0);
        EXPECT_EQ(x87Flags(), FE_DIVBYZERO);
    }
    std::feclearexcept(FE_ALL_EXCEPT);
}
