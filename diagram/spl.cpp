// Natural cubic spline: knots 1..N, queries 1..M, everything on the stack.
#include "diagram/spl.h"

#include <cmath>
#include <utility>

namespace {

using Coeffs = std::array<double, MaxSplineKnots + 1>;

// The step check: h[i] = X[i+1] - X[i]. A step shorter than 0.1 gives 1, a
// negative one 2; the last offending step decides, and within one step a
// negative step overrides a short one.
SplineError CheckSteps(int N, const TSplineKnots& X, Coeffs& h) {
  SplineError err = 0;
  for (int i = 1; i <= N - 1; ++i) {
    h[i] = X[i + 1] - X[i];
    if (std::fabs(h[i]) < 0.1) err = 1;
    if (h[i] < 0) err = 2;
  }
  return err;
}

void Reverse(int N, TSplineKnots& X, TSplineKnots& Y) {
  for (int i = 1, j = N; i < j; ++i, --j) {
    std::swap(X[i], X[j]);
    std::swap(Y[i], Y[j]);
  }
}

// Fits the natural spline (zero second derivative at both ends) and
// evaluates it at Xq[1..M]. The knots must pass the step check.
void FitAndEvaluate(int N, const TSplineKnots& X, const TSplineKnots& Y, const Coeffs& h, int M,
                    const TSplineSamples& Xq, TSplineSamples& Yq) {
  Coeffs a{}, b{}, c{}, d{}, alpha{}, mu{}, z{};
  for (int i = 1; i <= N; ++i) a[i] = Y[i];

  for (int i = 2; i <= N - 1; ++i)
    alpha[i] = 3 * (a[i + 1] * h[i - 1] - a[i] * (X[i + 1] - X[i - 1]) + a[i - 1] * h[i]) /
               (h[i - 1] * h[i]);

  mu[1] = 0;
  z[1] = 0;
  for (int i = 2; i <= N - 1; ++i) {
    const double l = 2 * (X[i + 1] - X[i - 1]) - h[i - 1] * mu[i - 1];
    mu[i] = h[i] / l;
    z[i] = (alpha[i] - h[i - 1] * z[i - 1]) / l;
  }

  c[N] = 0;
  for (int j = N - 1; j >= 1; --j) c[j] = z[j] - mu[j] * c[j + 1];
  for (int j = N - 1; j >= 1; --j) {
    b[j] = (a[j + 1] - a[j]) / h[j] - h[j] * (2 * c[j] + c[j + 1]) / 3;
    d[j] = (c[j + 1] - c[j]) / (3 * h[j]);
  }

  for (int k = 1; k <= M; ++k) {
    const double x = Xq[k];
    // The last piece whose knot lies strictly left of x; outside the knots
    // the first or last cubic is extrapolated.
    int p = 1;
    for (int i = 1; i <= N - 1; ++i)
      if (x > X[i]) p = i;
    const double t = x - X[p];
    Yq[k] = ((d[p] * t + c[p]) * t + b[p]) * t + a[p];
  }
}

}  // namespace

void CubicSpline(int N, TSplineKnots& X, TSplineKnots& Y, int M, const TSplineSamples& Xq,
                 TSplineSamples& Yq, SplineError& Err) {
  // The arrays hold no more than 10 knots and 100 queries: larger counts are
  // cut to what fits instead of running past them.
  if (N > MaxSplineKnots) N = MaxSplineKnots;
  if (M > MaxSplineSamples) M = MaxSplineSamples;

  Err = 0;
  if (N < 2) {
    Err = 3;
    return;
  }
  Coeffs h{};
  Err = CheckSteps(N, X, h);
  if (Err == 2) {
    // Knots given right to left: fit them the other way round.
    Reverse(N, X, Y);
    Err = CheckSteps(N, X, h);
    if (Err != 0) return;  // X and Y stay reversed
    FitAndEvaluate(N, X, Y, h, M, Xq, Yq);
    Reverse(N, X, Y);
    return;
  }
  if (Err == 1) return;
  FitAndEvaluate(N, X, Y, h, M, Xq, Yq);
}
