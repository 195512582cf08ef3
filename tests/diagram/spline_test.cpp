// The cubic spline that smooths every boundary curve: its result codes, the
// knot reordering, and the values of the natural spline.
#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>

#include "diagram/spl.h"

namespace {

struct Knots {
  TSplineKnots X{}, Y{};
  int N = 0;
  Knots(std::initializer_list<std::pair<double, double>> pts) {
    for (auto [x, y] : pts) {
      ++N;
      X[N] = x;
      Y[N] = y;
    }
  }
};

struct Queries {
  TSplineSamples Xq{}, Yq{};
  int M = 0;
  Queries(std::initializer_list<double> xs) {
    for (double x : xs) Xq[++M] = x;
    Yq.fill(-999);  // untouched marker
  }
};

}  // namespace

TEST(CubicSpline, FewerThanTwoKnotsReportCode3AndTouchNothing) {
  for (int n : {0, 1}) {
    Knots k{{5, 7}};
    Queries q{1, 2};
    SplineError err = 0;
    CubicSpline(n, k.X, k.Y, q.M, q.Xq, q.Yq, err);
    EXPECT_EQ(err, 3) << "N = " << n;
    EXPECT_EQ(q.Yq[1], -999);
    EXPECT_EQ(k.X[1], 5);
    EXPECT_EQ(k.Y[1], 7);
  }
}

TEST(CubicSpline, KnotsCloserThanATenthReportCode1) {
  Knots k{{0, 0}, {3, 1}, {3, 4}, {6, 2}};  // a vertical piece of boundary
  Queries q{1};
  SplineError err = 0;
  CubicSpline(k.N, k.X, k.Y, q.M, q.Xq, q.Yq, err);
  EXPECT_EQ(err, 1);
  EXPECT_EQ(q.Yq[1], -999);
  EXPECT_EQ(k.X[2], 3);  // no reordering
  EXPECT_EQ(k.Y[3], 4);
}

TEST(CubicSpline, InterpolatesTheThreeKnotArch) {
  // Natural spline through (0,0), (1,1), (2,0): c2 = -1.5, b1 = 1.5,
  // d1 = -0.5, b2 = 0, d2 = 0.5.
  Knots k{{0, 0}, {1, 1}, {2, 0}};
  Queries q{0.5, 1.5, 1, -1, 3, 0, 2};
  SplineError err = 9;
  CubicSpline(k.N, k.X, k.Y, q.M, q.Xq, q.Yq, err);
  ASSERT_EQ(err, 0);
  EXPECT_DOUBLE_EQ(q.Yq[1], 0.6875);
  EXPECT_DOUBLE_EQ(q.Yq[2], 0.6875);
  EXPECT_DOUBLE_EQ(q.Yq[3], 1);
  EXPECT_DOUBLE_EQ(q.Yq[4], -1);  // first cubic extrapolated
  EXPECT_DOUBLE_EQ(q.Yq[5], -1);  // last cubic extrapolated
  EXPECT_DOUBLE_EQ(q.Yq[6], 0);
  EXPECT_DOUBLE_EQ(q.Yq[7], 0);
}

TEST(CubicSpline, KnotsRightToLeftGiveTheSameCurveAndKeepTheCallersOrder) {
  Knots k{{2, 0}, {1, 1}, {0, 0}};
  Queries q{0.5, 1.5, 1};
  SplineError err = 9;
  CubicSpline(k.N, k.X, k.Y, q.M, q.Xq, q.Yq, err);
  ASSERT_EQ(err, 0);
  EXPECT_DOUBLE_EQ(q.Yq[1], 0.6875);
  EXPECT_DOUBLE_EQ(q.Yq[2], 0.6875);
  EXPECT_DOUBLE_EQ(q.Yq[3], 1);
  EXPECT_EQ(k.X[1], 2);
  EXPECT_EQ(k.X[3], 0);
  EXPECT_EQ(k.Y[2], 1);
}

TEST(CubicSpline, ShortNegativeStepTriesTheReversalAndLeavesKnotsReversed) {
  Knots k{{10, 1}, {9.95, 2}};
  Queries q{9.97};
  SplineError err = 0;
  CubicSpline(k.N, k.X, k.Y, q.M, q.Xq, q.Yq, err);
  EXPECT_EQ(err, 1);
  EXPECT_EQ(k.X[1], 9.95);
  EXPECT_EQ(k.Y[1], 2);
  EXPECT_EQ(k.X[2], 10);
  EXPECT_EQ(q.Yq[1], -999);
}

TEST(CubicSpline, LastOffendingStepDecidesTheCode) {
  // -5 then +0.05: the short step comes last, so code 1 and no reversal.
  Knots k{{10, 0}, {5, 1}, {5.05, 2}};
  Queries q{6};
  SplineError err = 0;
  CubicSpline(k.N, k.X, k.Y, q.M, q.Xq, q.Yq, err);
  EXPECT_EQ(err, 1);
  EXPECT_EQ(k.X[1], 10);
  EXPECT_EQ(k.X[3], 5.05);
}

TEST(CubicSpline, ZigZagReportsCode2WithKnotsReversed) {
  Knots k{{0, 0}, {1, 1}, {0, 2}, {1, 3}};
  Queries q{0.5};
  SplineError err = 0;
  CubicSpline(k.N, k.X, k.Y, q.M, q.Xq, q.Yq, err);
  EXPECT_EQ(err, 2);
  EXPECT_EQ(k.Y[1], 3);
  EXPECT_EQ(k.Y[4], 0);
  EXPECT_EQ(q.Yq[1], -999);
}

TEST(CubicSpline, TwoKnotsGiveTheStraightLineEverywhere) {
  Knots k{{10, 100}, {30, 60}};
  Queries q{10, 15, 30, 0, 50};
  SplineError err = 9;
  CubicSpline(k.N, k.X, k.Y, q.M, q.Xq, q.Yq, err);
  ASSERT_EQ(err, 0);
  for (int i = 1; i <= q.M; ++i)
    EXPECT_NEAR(q.Yq[i], 100 - 2 * (q.Xq[i] - 10), 1e-12) << "at " << q.Xq[i];
}

TEST(CubicSpline, PassesThroughEveryKnotWithoutKinks) {
  // Ten knots of a boundary curve, as the diagram hands them over.
  Knots k{{20, 200}, {35, 180}, {52, 185}, {60, 150}, {80, 140},
          {95, 90},  {110, 95}, {130, 60}, {150, 62}, {171, 30}};
  TSplineSamples xq{}, yq{};
  int m = 0;
  for (int i = 1; i <= k.N; ++i) xq[++m] = k.X[i];
  SplineError err = 9;
  CubicSpline(k.N, k.X, k.Y, m, xq, yq, err);
  ASSERT_EQ(err, 0);
  for (int i = 1; i <= k.N; ++i) EXPECT_NEAR(yq[i], k.Y[i], 1e-9) << "knot " << i;

  // The slope on both sides of each interior knot agrees.
  for (int i = 2; i < k.N; ++i) {
    const double e = 1e-5;
    TSplineSamples q{}, r{};
    q[1] = k.X[i] - e;
    q[2] = k.X[i];
    q[3] = k.X[i] + e;
    CubicSpline(k.N, k.X, k.Y, 3, q, r, err);
    ASSERT_EQ(err, 0);
    EXPECT_NEAR((r[2] - r[1]) / e, (r[3] - r[2]) / e, 1e-3) << "knot " << i;
  }
}

TEST(CubicSpline, CountsBeyondTheArraysAreCutToWhatFits) {
  Knots k{{0, 0}, {1, 1}, {2, 0}, {3, 1}, {4, 0}, {5, 1}, {6, 0}, {7, 1}, {8, 0}, {9, 1}};
  TSplineSamples xq{}, yq{}, ref{};
  for (int i = 1; i <= MaxSplineSamples; ++i) xq[i] = i * 0.09;
  SplineError err = 9;
  CubicSpline(MaxSplineKnots, k.X, k.Y, MaxSplineSamples, xq, ref, err);
  ASSERT_EQ(err, 0);
  CubicSpline(5000, k.X, k.Y, 100000, xq, yq, err);
  ASSERT_EQ(err, 0);
  EXPECT_EQ(yq, ref);
}
