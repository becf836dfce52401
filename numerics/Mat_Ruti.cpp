#include "numerics/Mat_Ruti.h"

#include "numerics/FaultScope.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace numerics {

namespace {

// Safety net of the clamped walks; a sound walk reaches a limit long before.
constexpr long kClampedWalkSteps = 1'000'000;
// BracketRoot2 has no limits: a function that never crosses the target would walk for ever.
constexpr long kFreeWalkSteps = 10'000;
constexpr int kSolveIterations = 100;
// Newton2D normally converges in under 10 iterations.
constexpr int kNewtonIterations = 100;
constexpr double kPivotFloor = 1e-19;

// One- or two-argument callback seen as a function of x alone, so that the three bracket walks
// and the two solvers share one implementation each.
struct Curve {
    Function1 one;
    Function2 two;
    double param;
    double operator()(double x) const { return one != nullptr ? one(x) : two(x, param); }
};

double midpoint(const Pair& x) {
    return (x[0] + x[1]) / 2;
}

// The bracket walk. limits == nullptr walks without clamping. Ends with the mark set on a zero
// step, a non-finite value, the step bound, or a second slope reversal: the walk then restarts
// from x0 in its first direction with the same points, which is a cycle.
void walk(const Pair* limits, Pair& x, Pair& f, double target, double x0, double percent, int dir,
          Curve fn, double minStep = 0) {
    const double step = std::max(std::fabs(x0) * percent / 100, minStep);
    double lo = 0;
    double hi = 0;
    if (limits != nullptr) {
        lo = std::min((*limits)[0], (*limits)[1]);
        hi = std::max((*limits)[0], (*limits)[1]);
        x0 = std::clamp(x0, lo, hi);
    }
    const double f0 = fn(x0);
    x = {x0, x0};
    f = {f0, f0};
    if (step == 0 || !std::isfinite(step) || !std::isfinite(f0)) {
        markGaveUp();
        return;
    }
    const int s = SignOf(f0 - target);
    // k: the end that holds the last point on the near side; 0 when the root lies above it.
    int k = s * dir > 0 ? 1 : 0;
    int reversals = 0;
    const long maxSteps = limits != nullptr ? kClampedWalkSteps : kFreeWalkSteps;
    for (long n = 0; n < maxSteps; ++n) {
        const int j = 1 - k;
        x[j] = k == 0 ? x[k] + step : x[k] - step;
        bool stop = false;
        if (limits != nullptr && ((j == 0 && x[0] < lo) || (j == 1 && x[1] > hi))) {
            x[j] = j == 0 ? lo : hi;
            stop = true;
        }
        f[j] = fn(x[j]);
        if (!std::isfinite(f[j])) {
            markGaveUp();
            return;
        }
        if (SignOf((f[1] - f[0]) * (x[1] - x[0])) != dir) {
            // The slope is not the expected one: start again from x0 the other way. A walk
            // already stopped at a limit ends here as it would have anyway.
            if (!stop && ++reversals == 2) {
                markGaveUp();
                return;
            }
            dir = -dir;
            k = s * dir > 0 ? 1 : 0;
            x[k] = x0;
            f[k] = f0;
        } else if ((target - f[0]) * (target - f[1]) > 0) {
            // Not bracketed yet; at a limit both ends end up on the limit.
            x[k] = x[j];
            f[k] = f[j];
        } else {
            stop = true;
        }
        if (stop) return;
    }
    markGaveUp();
}

// The width of the bracket is measured against the magnitude of its larger end (SolveRoot2) or
// of x[0] (SolveRoot), or of the other end when that one is 0. Both 0 means the bracket has
// collapsed, which counts as narrow.
bool isNarrow(const Pair& x, bool byLargerEnd) {
    const int first = byLargerEnd && x[0] < x[1] ? 1 : 0;
    double scale = std::fabs(x[first]);
    if (scale == 0) scale = std::fabs(x[1 - first]);
    return scale == 0 || std::fabs(x[1] - x[0]) / scale < 1e-10;
}

// Regula falsi with one bisection step per iteration. A non-finite function value ends the
// solve with the midpoint and the mark set.
double solve(Pair x, Pair f, Curve fn, double target, double tol, bool byLargerEnd) {
    if (x[0] > x[1]) {
        std::swap(x[0], x[1]);
        std::swap(f[0], f[1]);
    }
    const int d = f[1] > f[0] ? 1 : -1;
    for (int iteration = 1;; ++iteration) {
        const double m = f[1] == f[0] ? 0.0 : (x[1] - x[0]) / (f[1] - f[0]);
        if (std::fabs(m) >= 1e15 || std::fabs(m) <= 1e-15) return midpoint(x);
        const double xs = x[0] + (target - f[0]) * m;
        const double fs = fn(xs);
        if (!std::isfinite(fs)) {
            markGaveUp();
            return midpoint(x);
        }
        double xr = xs;
        bool done = std::fabs(target - fs) < tol;
        if (!done) {
            const int s = fs < target ? 1 : -1;
            // The secant point replaces the end on its own side of the root.
            const int k = d * s > 0 ? 0 : 1;
            const int other = 1 - k;
            x[k] = xs;
            f[k] = fs;
            const double xm = (x[other] + xs) / 2;
            const double fm = fn(xm);
            if (!std::isfinite(fm)) {
                markGaveUp();
                return midpoint(x);
            }
            const int moved = (fm - target) * s > 0 ? other : k;
            x[moved] = xm;
            f[moved] = fm;
            if (std::fabs(target - f[k]) < tol) {
                xr = f[1] == f[0] ? midpoint(x)
                                  : x[k] + (target - f[k]) * (x[1] - x[0]) / (f[1] - f[0]);
                done = true;
            } else if (std::fabs(target - f[other]) < tol) {
                xr = x[other];
                done = true;
            }
            if (isNarrow(x, byLargerEnd)) {
                xr = midpoint(x);
                done = true;
            }
        }
        if (iteration > kSolveIterations) return midpoint(x);
        if (done) return xr;
    }
}

bool finite(double a, double b) {
    return std::isfinite(a) && std::isfinite(b);
}

} // namespace

double ExpSafe(double x) {
    if (x > 88) return 1.7e38;
    if (x < -88) return 0;
    return std::exp(x);
}

double PowerXY(double base, double exponent) {
    constexpr double tiny = 2.9e-39;
    if (exponent == 0 || base == 1) return 1;
    if (base > tiny) return ExpSafe(exponent * std::log(base));
    if (base < -tiny) {
        if (exponent != std::trunc(exponent)) return 0;
        const double half = exponent / 2;
        const double sign = half == std::trunc(half) ? 1.0 : -1.0;
        return sign * ExpSafe(exponent * std::log(-base));
    }
    return 0;
}

int SignOf(double x) {
    return x >= 0 ? 1 : -1;
}

void BracketRoot(Pair limits, Pair& x, Pair& f, double target, double x0, double percent, int dir,
                 Function1 fn) {
    walk(&limits, x, f, target, x0, percent, dir, Curve{fn, nullptr, 0});
}

void BracketRoot2(Pair& x, Pair& f, int dir, double param, double target, double x0,
                  double percent, Function2 fn, double minStep) {
    walk(nullptr, x, f, target, x0, percent, dir, Curve{nullptr, fn, param}, minStep);
}

void BracketRoot3(Pair limits, Pair& x, Pair& f, double target, double x0, double percent, int dir,
                  double param, Function2 fn) {
    walk(&limits, x, f, target, x0, percent, dir, Curve{nullptr, fn, param});
}

double SolveRoot(Pair x, Pair f, Function1 fn, double target, double tol) {
    return solve(x, f, Curve{fn, nullptr, 0}, target, tol, false);
}

double SolveRoot2(Pair x, Pair f, Function2 fn, double param, double target, double tol) {
    return solve(x, f, Curve{nullptr, fn, param}, target, tol, true);
}

double SecantThenSolveRoot2(Pair x, Pair f, Function2 fn, double param, double target,
                            double tol) {
    double last = std::numeric_limits<double>::quiet_NaN();
    const auto evaluate = [&](double xi) {
        last = xi;
        return fn(xi, param);
    };
    const auto root = SecantRoot(evaluate, {x[0], f[0], x[1], f[1]}, std::min(x[0], x[1]),
                                 std::max(x[0], x[1]), target, tol);
    // The regula falsi may end on a point it did not evaluate last (a midpoint, or a result
    // replaced in the same iteration): the root is evaluated once more.
    const double result = root ? *root : SolveRoot2(x, f, fn, param, target, tol);
    if (!root || result != last) fn(result, param);
    return result;
}

void Newton2D(PairFunction fn, double& x1, double& x2, double x1start, double x2start,
              double percent, double y1, double y2, double fallbackPercent) {
    const double tol1 = percent / 100 * std::fabs(y1);
    const double tol2 = percent / 100 * std::fabs(y2);
    const double h1 = 2 * percent / 100 * x1start;
    const double h2 = 2 * percent / 100 * x2start;
    double u1 = x1start;
    double u2 = x2start;
    double b1 = u1 + h1;
    double b2 = u2 + h2;
    double f1 = 0;
    double f2 = 0;
    double g1 = 0;
    double g2 = 0;
    fn(u1, u2, f1, f2);
    for (int iteration = 0; iteration < kNewtonIterations && finite(f1, f2); ++iteration) {
        // A zero difference step (a start value of 0) leaves the Jacobian undefined.
        if (b1 == u1 || b2 == u2) break;
        GaussMatrix a{};
        a[1][3] = y1 - f1;
        a[2][3] = y2 - f2;
        fn(b1, u2, g1, g2);
        if (!finite(g1, g2)) break;
        a[1][1] = (g1 - f1) / (b1 - u1);
        a[2][1] = (g2 - f2) / (b1 - u1);
        fn(u1, b2, g1, g2);
        if (!finite(g1, g2)) break;
        a[1][2] = (g1 - f1) / (b2 - u2);
        a[2][2] = (g2 - f2) / (b2 - u2);
        bool singular = false;
        GaussSolve(a, 2, singular);
        if (singular) break;
        u1 += a[1][3];
        u2 += a[2][3];
        fn(u1, u2, f1, f2);
        if (finite(f1, f2) && std::fabs(f1 - y1) < tol1 && std::fabs(f2 - y2) < tol2) {
            x1 = u1;
            x2 = u2;
            return;
        }
        // The next difference points lie one step away in the direction of the last correction.
        b1 = u1 + SignOf(a[1][3]) * h1;
        b2 = u2 + SignOf(a[2][3]) * h2;
    }
    // An iterate that meets the coarser acceptance is still a solution.
    const bool acceptable = finite(f1, f2) &&
                            std::fabs(f1 - y1) < fallbackPercent / 100 * std::fabs(y1) &&
                            std::fabs(f2 - y2) < fallbackPercent / 100 * std::fabs(y2);
    if (!acceptable) markGaveUp();
    x1 = u1;
    x2 = u2;
}

void GaussSolve(GaussMatrix& a, int n, bool& singular) {
    singular = true;
    if (n < 1 || n > 4) return;
    for (int i = 1; i < n; ++i) {
        for (int j = i + 1; j <= n; ++j) {
            if (std::fabs(a[i][i]) < kPivotFloor) {
                SwapRows(a, i, j, n + 1);
                if (std::fabs(a[i][i]) < kPivotFloor) return;
            }
            if (std::fabs(a[j][i]) > kPivotFloor) AddRowMultiple(a, i, j, n, -a[j][i] / a[i][i]);
        }
    }
    if (std::fabs(a[n][n]) < kPivotFloor) return;
    a[n][n + 1] = a[n][n + 1] / a[n][n];
    for (int i = n - 1; i >= 1; --i)
        a[i][n + 1] = (a[i][n + 1] - BackSubSum(a, i, n)) / a[i][i];
    singular = false;
}

double BackSubSum(const GaussMatrix& a, int i, int n) {
    double sum = 0;
    for (int k = i + 1; k <= n; ++k)
        sum += a[i][k] * a[k][n + 1];
    return sum;
}

void SwapRows(GaussMatrix& a, int i, int j, int columns) {
    for (int c = 1; c <= columns; ++c)
        std::swap(a[i][c], a[j][c]);
}

void AddRowMultiple(GaussMatrix& a, int i, int j, int n, double factor) {
    for (int c = 1; c <= n + 1; ++c)
        a[j][c] += factor * a[i][c];
}

} // namespace numerics
