// The polynomial temperature surface of a phase area and the matrix toolkit
// under it: the determinant's pivoting, the products' bound checks, the term
// count per point count, and the failures a caller must not evaluate.
#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
#include <random>
#include <vector>

#include "diagram/polynoms.h"

namespace {

TMatrix Square(std::initializer_list<std::initializer_list<double>> rows) {
  TMatrix m;
  int r = 0;
  for (auto row : rows) {
    int c = 0;
    for (double v : row) m[r][c++] = v;
    ++r;
  }
  m.RowHigh = m.ColHigh = r - 1;
  return m;
}

struct Area {
  std::vector<double> A, B, T;
  int n() const { return int(A.size()); }
  TMatrix Fit() const { return FitTemperatureSurface(n(), A.data(), B.data(), T.data()); }
};

// Twelve compositions spread over the triangle (percent).
const double SpreadA[12] = {10, 70, 10, 40, 25, 50, 20, 60, 15, 33, 5, 45};
const double SpreadB[12] = {10, 10, 70, 40, 50, 25, 30, 15, 60, 33, 45, 5};

// A surface in the eight terms a fit of 10 or more points uses.
double EightTermSurface(double A, double B) {
  const double x = A / 100, y = B / 100;
  return 900 + 300 * x - 200 * y + 150 * x * x - 80 * x * y + 60 * y * y + 40 * x * x * x -
         70 * x * x * y;
}

Area SpreadArea(int n, double (*temperature)(double, double)) {
  Area a;
  for (int i = 0; i < n; ++i) {
    a.A.push_back(SpreadA[i]);
    a.B.push_back(SpreadB[i]);
    a.T.push_back(temperature(SpreadA[i], SpreadB[i]));
  }
  return a;
}

// Temperatures that no low-degree surface passes through.
double Rough(double A, double B) { return 1000 + 37 * std::sin(A * 0.7) + 23 * std::cos(B * 1.3); }

}  // namespace

TEST(Determinant, PivotingAndLimits) {
  struct Case {
    const char* what;
    TMatrix m;
    int h;
    double expected;
  } cases[] = {
      {"empty block", Square({{5}}), -1, 1.0},
      {"general 3x3", Square({{2, -1, 0}, {-1, 2, -1}, {0, -1, 2}}), 2, 4.0},
      {"only the leading 2x2 of a 3x3", Square({{2, 1, 9}, {1, 3, 9}, {9, 9, 9}}), 1, 5.0},
      {"one row swap negates", Square({{0, 2, 0}, {3, 0, 0}, {0, 0, 4}}), 2, -24.0},
      {"two row swaps", Square({{0, 0, 4}, {3, 0, 0}, {0, 2, 0}}), 2, 24.0},
      {"pivot column zero at and below the pivot", Square({{1, 2, 3}, {0, 0, 5}, {0, 0, 6}}), 2,
       0.0},
      {"h past the block counts as its last index", Square({{2, 0}, {0, 3}}), 40, 0.0},
  };
  for (const Case& c : cases) EXPECT_DOUBLE_EQ(Determinant(c.m, c.h), c.expected) << c.what;
}

TEST(MatrixProduct, ChecksBoundsAndMultiplies) {
  TMatrix a23 = Square({{1, 2, 3}, {4, 5, 6}, {0, 0, 0}}), b31 = Square({{1}, {0}, {-1}});
  a23.RowHigh = 1;
  b31.ColHigh = 0;
  const TMatrix p = MatrixProduct(a23, b31);
  ASSERT_EQ(p.Status, 0);
  EXPECT_EQ(p.RowHigh, 1);
  EXPECT_EQ(p.ColHigh, 0);
  EXPECT_EQ(p[0][0], -2);
  EXPECT_EQ(p[1][0], -2);

  EXPECT_EQ(MatrixProduct(a23, a23).Status, -1) << "inner bounds 2 and 1";
  b31.RowHigh = b31.ColHigh = a23.ColHigh = 20;
  EXPECT_EQ(MatrixProduct(a23, b31).Status, -1) << "bounds past the block";
}

TEST(FitTemperatureSurface, TermCountAndFitFollowThePointCount) {
  struct Case {
    int n;
    int lastTerm;
  } cases[] = {{1, 0}, {3, 2}, {6, 5}, {9, 8}, {10, 7}, {11, 7}, {12, 7}};
  // A stable least-squares solve keeps the digits of these fits.
  constexpr double tolerance = 1e-6;
  for (const Case& c : cases) {
    // Up to 9 points the surface passes through the T-points.
    const Area rough = SpreadArea(c.n, Rough);
    const TMatrix fit = rough.Fit();
    ASSERT_EQ(fit.Status, 0) << c.n << " points";
    EXPECT_EQ(fit.RowHigh, c.lastTerm) << c.n << " points";
    double worst = 0;
    for (int i = 0; i < c.n; ++i)
      worst = std::max(worst, std::fabs(PolynomialValue(fit, rough.A[i] / 100, rough.B[i] / 100) -
                                        rough.T[i]));
    if (c.n <= 9)
      EXPECT_LT(worst, tolerance) << c.n << " points";
    else
      EXPECT_GT(worst, 1.0) << c.n << " points: least squares, not through the points";

    // From 10 points on, temperatures on a surface of the eight terms give
    // that surface back.
    if (c.n >= 10) {
      const TMatrix exact = SpreadArea(c.n, EightTermSurface).Fit();
      for (auto [A, B] : {std::pair{12.0, 7.0}, {48.0, 31.0}, {3.0, 90.0}})
        EXPECT_NEAR(PolynomialValue(exact, A / 100, B / 100), EightTermSurface(A, B), tolerance)
            << c.n << " points at " << A << ", " << B;
    }
  }
}

// Exact data on a surface of the fit's terms gives the surface back. Ten
// T-points on the plane T = 600 + 5A + 4B once read -830 843 °C at (20, 20)
// through the normal equations inverted by cofactors; random areas of 10 to
// 12 points went wrong by more than a degree about once in 150.
TEST(FitTemperatureSurface, WellPosedFitsKeepTheirDigits) {
  Area plane;
  for (auto [A, B] : {std::pair{10.0, 10.0}, {30.0, 10.0}, {50.0, 10.0}, {70.0, 10.0}, {10.0, 30.0},
                      {30.0, 30.0}, {50.0, 30.0}, {10.0, 50.0}, {30.0, 50.0}, {10.0, 70.0}}) {
    plane.A.push_back(A);
    plane.B.push_back(B);
    plane.T.push_back(600 + 5 * A + 4 * B);
  }
  const TMatrix fit = plane.Fit();
  ASSERT_EQ(fit.Status, 0);
  EXPECT_NEAR(PolynomialValue(fit, 0.2, 0.2), 780, 1e-6);
  EXPECT_NEAR(PolynomialValue(fit, 0.4, 0.4), 960, 1e-6);

  std::mt19937_64 rng(19);
  std::uniform_real_distribution<double> share(0, 1), coefficient(-500, 500);
  std::uniform_int_distribution<int> count(10, 12);
  double worst = 0;
  for (int trial = 0; trial < 3000; ++trial) {
    double c[8];
    for (double& k : c) k = coefficient(rng);
    auto surface = [&c](double A, double B) {
      const double x = A / 100, y = B / 100;
      return 1000 + c[1] * x + c[2] * y + c[3] * x * x + c[4] * x * y + c[5] * y * y + c[6] * x * x * x +
             c[7] * x * x * y;
    };
    Area area;
    const int n = count(rng);
    while (area.n() < n) {
      const double A = 100 * share(rng), B = 100 * share(rng);
      if (A + B > 100) continue;
      area.A.push_back(A);
      area.B.push_back(B);
      area.T.push_back(surface(A, B));
    }
    const TMatrix f = area.Fit();
    ASSERT_EQ(f.Status, 0) << "trial " << trial;
    for (auto [A, B] : {std::pair{20.0, 20.0}, {60.0, 10.0}, {5.0, 80.0}})
      worst = std::max(worst, std::fabs(PolynomialValue(f, A / 100, B / 100) - surface(A, B)));
  }
  EXPECT_LT(worst, 1e-6);
}

// Where the normal equations are well conditioned, the cofactor solve the
// toolkit still offers and the fit agree.
TEST(FitTemperatureSurface, AgreesWithTheNormalEquationsWhereTheyAreSound) {
  for (int n : {3, 4, 6}) {
    const Area area = SpreadArea(n, Rough);
    const TMatrix fit = area.Fit();
    ASSERT_EQ(fit.Status, 0);
    TMatrix D, Dt, t;
    for (int i = 0; i < n; ++i) {
      const double x = area.A[i] / 100, y = area.B[i] / 100;
      const double terms[] = {1, x, y, x * x, x * y, y * y};
      for (int k = 0; k < n; ++k) Dt[k][i] = D[i][k] = terms[k];
      t[i][0] = area.T[i];
    }
    D.RowHigh = Dt.ColHigh = t.RowHigh = n - 1;
    D.ColHigh = Dt.RowHigh = n - 1;
    t.ColHigh = 0;
    const TMatrix old = MatrixProduct(MatrixProduct(MatrixInverse(MatrixProduct(Dt, D), n - 1), Dt), t);
    ASSERT_EQ(old.Status, 0);
    for (auto [A, B] : {std::pair{12.0, 7.0}, {48.0, 31.0}, {3.0, 90.0}, {33.0, 33.0}})
      EXPECT_NEAR(PolynomialValue(fit, A / 100, B / 100), PolynomialValue(old, A / 100, B / 100), 1e-6)
          << n << " points at " << A << ", " << B;
  }
}

TEST(FitTemperatureSurface, SimpleAreas) {
  const Area one{{30}, {20}, {1234}};
  const TMatrix constant = one.Fit();
  ASSERT_EQ(constant.Status, 0);
  for (auto [A, B] : {std::pair{0.0, 0.0}, {30.0, 20.0}, {80.0, 15.0}})
    EXPECT_DOUBLE_EQ(PolynomialValue(constant, A / 100, B / 100), 1234);

  // T = 1000 + 3A - 2B: the plane itself, at the T-points and elsewhere.
  const Area three{{10, 70, 20}, {10, 20, 60}, {1010, 1170, 940}};
  const TMatrix plane = three.Fit();
  ASSERT_EQ(plane.Status, 0);
  for (auto [A, B] : {std::pair{10.0, 10.0}, {70.0, 20.0}, {20.0, 60.0}, {33.0, 33.0}})
    EXPECT_NEAR(PolynomialValue(plane, A / 100, B / 100), 1000 + 3 * A - 2 * B, 1e-9);

  EXPECT_EQ(PolynomialValue(plane, -0.01, 0.5), 0);
  EXPECT_EQ(PolynomialValue(plane, 0.5, -0.01), 0);
}

TEST(FitTemperatureSurface, EveryOneOfTwelvePointsTakesPart) {
  Area area = SpreadArea(12, Rough);
  const TMatrix before = area.Fit();
  for (int last : {10, 11}) {
    Area changed = area;
    changed.T[last] += 50;
    const TMatrix after = changed.Fit();
    ASSERT_EQ(after.Status, 0);
    EXPECT_GT(std::fabs(PolynomialValue(after, 0.3, 0.3) - PolynomialValue(before, 0.3, 0.3)), 0.1)
        << "point " << last + 1;
  }
}

TEST(FitTemperatureSurface, FailuresAreReportedInStatus) {
  const double many[13] = {10, 20, 30, 40, 50, 60, 70, 80, 90, 15, 25, 35, 45};
  struct Case {
    const char* what;
    Area area;
    std::int32_t status;
  } cases[] = {
      {"no points", {}, FitNoPoints},
      {"two points with the same A", {{30, 30}, {10, 60}, {900, 1100}}, FitSingular},
      {"three points on a line", {{10, 40, 70}, {50, 50, 50}, {900, 1000, 1100}}, FitSingular},
      {"ten points on one slanted line",
       {{0, 10, 20, 30, 40, 50, 60, 70, 80, 90}, {95, 85, 75, 65, 55, 45, 35, 25, 15, 5},
        {900, 910, 920, 930, 940, 950, 960, 970, 980, 990}},
       FitSingular},
      {"more points than an area holds",
       {{std::begin(many), std::end(many)}, {std::begin(many), std::end(many)},
        {std::begin(many), std::end(many)}},
       FitOutOfRange},
  };
  for (const Case& c : cases) EXPECT_EQ(c.area.Fit().Status, c.status) << c.what;
}
