#pragma once
// Numerical tools of the inverse calculations: clamped exponential and real power, bracket
// walks, the regula falsi / bisection solvers, a two-dimensional Newton solver and the small
// Gauss elimination it uses. They know nothing about water; every property function reaches
// them as a callback. No allocation.
//
// Every loop is bounded. A bracket walk that reverses its direction a second time, steps by 0,
// meets a non-finite function value or reaches its step bound (10,000 steps without limits,
// 10^6 with), a solver that meets a non-finite function value, and a Newton solve that meets
// a zero difference step, a non-finite value or a singular system or does not converge in 100
// iterations, return what they have and set the "gave up" mark (FaultScope.h), which the
// calling entry point turns into "not computed".

#include <array>
#include <cmath>
#include <optional>

namespace numerics {

// A bracket or a pair of limits: element 0 is the first end, element 1 the second.
using Pair = std::array<double, 2>;

using Function1 = double (*)(double x);
using Function2 = double (*)(double x, double param);
using PairFunction = void (*)(double x1, double x2, double& f1, double& f2);

// Rows 1..4 and columns 1..5; index 0 is unused so that the elimination reads as written.
using GaussMatrix = std::array<std::array<double, 6>, 5>;

// e^x; 1.7e38 when x > 88; 0 when x < -88.
double ExpSafe(double x);
// base^exponent for any sign of the base: 1 for exponent 0 or base 1; 0 for a negative base
// with a fractional exponent and for |base| <= 2.9e-39.
double PowerXY(double base, double exponent);
// +1 when x >= 0, else -1.
int SignOf(double x);
// b when a < b, else a. Inline, as TolOf: the solvers ask for them in every step.
inline double MaxOf(double a, double b) {
    return a < b ? b : a;
}
// MaxOf(value * percent / 100, floor).
inline double TolOf(double value, double percent, double floor) {
    return MaxOf(value * percent / 100, floor);
}

// Widen the start value x0 into a bracket of the target, stepping by |x0| * percent / 100.
// dir is the expected sign of the slope of fn. BracketRoot and BracketRoot3 clamp to the
// limits and return the clamped pair even without a sign change; BracketRoot2 has no limits.
void BracketRoot(Pair limits, Pair& x, Pair& f, double target, double x0, double percent, int dir,
                 Function1 fn);
// minStep: a floor on the step of BracketRoot2, for start values near 0.
void BracketRoot2(Pair& x, Pair& f, int dir, double param, double target, double x0,
                  double percent, Function2 fn, double minStep = 0);
void BracketRoot3(Pair limits, Pair& x, Pair& f, double target, double x0, double percent, int dir,
                  double param, Function2 fn);

// The root of fn(x) = target in the bracket x with its values f, to |target - fn| < tol.
// Always returns a value: the bracket's midpoint once 100 iterations are exceeded, on a
// degenerate slope, or when the bracket is narrower than 1e-10 relative to the magnitude of
// its larger end (SolveRoot2) or of x[0] (SolveRoot), the other end's when that one is 0.
double SolveRoot(Pair x, Pair f, Function1 fn, double target, double tol);
double SolveRoot2(Pair x, Pair f, Function2 fn, double param, double target, double tol);

// SolveRoot2 on the same bracket, stop test and function, with the secant through the bracket
// ends run first inside it (SecantRoot). The root returned is the last point fn evaluated, so a
// function that leaves the values of its last point behind (the wet-steam mixing functions)
// leaves those of the root.
double SecantThenSolveRoot2(Pair x, Pair f, Function2 fn, double param, double target, double tol);

// Solves fn(x1, x2) = (y1, y2) from the start values, each residual relative to its target
// within percent %; difference steps are 2 * percent % of the start values. When it gives up,
// x1 and x2 hold the last iterate; that iterate still counts as a solution, without the mark,
// when its residuals lie within fallbackPercent % of the targets.
void Newton2D(PairFunction fn, double& x1, double& x2, double x1start, double x2start,
              double percent, double y1, double y2, double fallbackPercent = 0);

// The secant method on fn(x) = target from two start points x0, x1 (with their values f0, f1
// when the caller has them), every iterate kept within [lo, hi]. Gives the root when
// |fn(x) - target| < tol within `iterations` steps; gives nothing when a step would leave the
// limits, stalls or meets a non-finite value, so that the caller falls back on a bracketing
// search. No point outside the limits is evaluated. For the smooth, monotone functions of the
// property library it converges in a few steps from a fit's start value.
struct SecantStart {
    double x0, f0, x1, f1;
};
template <class Fn>
std::optional<double> SecantRoot(Fn fn, SecantStart start, double lo, double hi, double target,
                                 double tol, int iterations = 12) {
    double x0 = start.x0, f0 = start.f0 - target, x1 = start.x1, f1 = start.f1 - target;
    if (!std::isfinite(f0) || !std::isfinite(f1)) return std::nullopt;
    if (std::fabs(f0) < tol && std::fabs(f0) <= std::fabs(f1)) return x0;
    for (int k = 0; k < iterations; ++k) {
        if (std::fabs(f1) < tol) return x1;
        if (f1 == f0) return std::nullopt;
        const double x2 = x1 - f1 * (x1 - x0) / (f1 - f0);
        if (!(x2 >= lo && x2 <= hi)) return std::nullopt;
        x0 = x1;
        f0 = f1;
        x1 = x2;
        f1 = fn(x2) - target;
        if (!std::isfinite(f1)) return std::nullopt;
    }
    if (std::fabs(f1) < tol) return x1;
    return std::nullopt;
}
template <class Fn>
std::optional<double> SecantRoot(Fn fn, double x0, double x1, double lo, double hi, double target,
                                 double tol, int iterations = 12) {
    return SecantRoot(fn, {x0, fn(x0), x1, fn(x1)}, lo, hi, target, tol, iterations);
}

// Two values of a function of two unknowns and their partial derivatives.
struct ValuesAndSlopes {
    double f1, f2;
    double d11, d12; // df1/dx1, df1/dx2
    double d21, d22; // df2/dx1, df2/dx2
};

// Newton's method in two unknowns with the Jacobian the function gives with its values (one
// evaluation per step, against Newton2D's three). Same start values and stop test as Newton2D:
// each residual within percent % of its target. A step that would leave the domain, where
// `inside` is false, is halved until it stays in; nothing outside is evaluated. Gives true with
// the root in x1, x2; false, with nothing written or marked, when it does not converge within
// `iterations` steps or meets a singular or non-finite Jacobian, so that the caller falls back
// on Newton2D.
template <class Fn, class Inside>
bool NewtonWithSlopes(Fn fn, Inside inside, double& x1, double& x2, double x1start, double x2start,
                      double percent, double y1, double y2, int iterations = 30) {
    const double tol1 = percent / 100 * std::fabs(y1);
    const double tol2 = percent / 100 * std::fabs(y2);
    double u1 = x1start, u2 = x2start;
    if (!inside(u1, u2)) return false;
    for (int k = 0;; ++k) {
        const ValuesAndSlopes e = fn(u1, u2);
        const double r1 = y1 - e.f1, r2 = y2 - e.f2;
        if (!std::isfinite(r1) || !std::isfinite(r2)) return false;
        if (std::fabs(r1) < tol1 && std::fabs(r2) < tol2) {
            x1 = u1;
            x2 = u2;
            return true;
        }
        const double det = e.d11 * e.d22 - e.d12 * e.d21;
        if (k == iterations || det == 0 || !std::isfinite(det)) return false;
        double s1 = (r1 * e.d22 - r2 * e.d12) / det;
        double s2 = (e.d11 * r2 - e.d21 * r1) / det;
        if (!std::isfinite(s1) || !std::isfinite(s2)) return false;
        int halvings = 0;
        while (!inside(u1 + s1, u2 + s2)) {
            if (++halvings > 30) return false;
            s1 /= 2;
            s2 /= 2;
        }
        u1 += s1;
        u2 += s2;
    }
}

// Gauss elimination of an n x n system (n <= 4), right-hand side in column n + 1, where the
// solution is left. singular is set when a pivot stays below 1e-19 (and for n outside 1..4).
void GaussSolve(GaussMatrix& a, int n, bool& singular);
double BackSubSum(const GaussMatrix& a, int i, int n);
void SwapRows(GaussMatrix& a, int i, int j, int columns);
void AddRowMultiple(GaussMatrix& a, int i, int j, int n, double factor);

} // namespace numerics
