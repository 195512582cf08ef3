// The smooth surface through an area's T-points: the values scipy's
// Clough–Tocher interpolator gives on the same points, exactness at the
// points, planes kept, no jump across triangle edges or the hull, and no
// surface where the points span no triangle.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "diagram/triangulation.h"

namespace {

struct TReferencePoint {
  double A, B, T;
};
struct TReferenceSet {
  const char* What;
  int Count;
  std::vector<TReferencePoint> Points;
  int Triangles;
  int QueryCount;
  std::vector<TReferencePoint> Queries;  // T: scipy's value
};

// Made once by tests/diagram/data/clough_tocher_reference.py with scipy.
const TReferenceSet ReferenceSets[] = {
#include "tests/diagram/data/clough_tocher_reference.inc"
};

TTriangulatedSurface SurfaceOf(const std::vector<TReferencePoint>& points) {
  std::vector<double> a, b, t;
  for (const TReferencePoint& p : points) {
    a.push_back(p.A);
    b.push_back(p.B);
    t.push_back(p.T);
  }
  return TTriangulatedSurface(int(points.size()), a.data(), b.data(), t.data());
}

// Twelve scattered compositions (percent) and a curved liquidus over them.
const std::vector<std::pair<double, double>> Scattered = {{3, 4},   {91, 2},  {2, 93},  {47, 6},
                                                           {6, 48},  {45, 44}, {22, 21}, {66, 17},
                                                           {17, 67}, {33, 52}, {58, 31}, {28, 34}};
double Curved(double A, double B) {
  return 900 - 4 * A + 2 * B + 0.03 * A * B - 0.02 * B * B + 30 * std::sin(A / 12);
}
double Plane(double A, double B) { return 1200 - 3.5 * A + 1.25 * B; }

std::vector<TReferencePoint> Sampled(int n, double (*f)(double, double)) {
  std::vector<TReferencePoint> p;
  for (int i = 0; i < n; ++i) {
    const auto [A, B] = Scattered[std::size_t(i)];
    p.push_back({A, B, f(A, B)});
  }
  return p;
}

}  // namespace

TEST(TriangulatedSurface, AgreesWithScipysCloughTocherInterpolator) {
  for (const TReferenceSet& set : ReferenceSets) {
    const TTriangulatedSurface s = SurfaceOf(set.Points);
    ASSERT_TRUE(s.Valid()) << set.What;
    EXPECT_EQ(s.TriangleCount(), set.Triangles) << set.What;
    for (const TReferencePoint& q : set.Queries)
      EXPECT_NEAR(s.Value(q.A, q.B), q.T, 1e-9) << set.What << " at " << q.A << ", " << q.B;
  }
}

TEST(TriangulatedSurface, PassesThroughEveryPointAndKeepsPlanes) {
  for (int n : {3, 4, 7, 12}) {
    const TTriangulatedSurface curved = SurfaceOf(Sampled(n, Curved));
    ASSERT_TRUE(curved.Valid()) << n << " points";
    for (int i = 0; i < n; ++i)
      EXPECT_NEAR(curved.Value(Scattered[i].first, Scattered[i].second),
                  Curved(Scattered[i].first, Scattered[i].second), 1e-9)
          << n << " points, point " << i;

    // A plane comes back as the plane, inside the hull and beyond it.
    const TTriangulatedSurface plane = SurfaceOf(Sampled(n, Plane));
    for (double A = 0; A <= 100; A += 7)
      for (double B = 0; A + B <= 100; B += 7)
        EXPECT_NEAR(plane.Value(A, B), Plane(A, B), 1e-9) << n << " points at " << A << ", " << B;
  }
}

// Walks across the whole triangle in steps of 0.01 % along lines in three
// directions: no step may change the value by more than half a degree, on
// triangle edges, on the hull or beyond it.
TEST(TriangulatedSurface, NoJumpAcrossTriangleEdgesOrTheHull) {
  const std::vector<TReferencePoint> sets[] = {Sampled(12, Curved), Sampled(5, Curved), ReferenceSets[0].Points};
  constexpr double step = 0.01;
  for (const auto& points : sets) {
    const TTriangulatedSurface s = SurfaceOf(points);
    ASSERT_TRUE(s.Valid());
    double worst = 0;
    for (int line = 1; line < 100; line += 3)
      for (auto [dA, dB] : {std::pair{1.0, 0.0}, {0.0, 1.0}, {-1.0, 1.0}}) {
        // Lines of constant B, of constant A and of constant C.
        double A = 0, B = line;
        if (dB != 0) B = 0, A = dA == 0 ? line : 100 - line;
        double before = s.Value(A, B);
        for (int k = 1; A + step * dA >= 0 && A + B + step * (dA + dB) <= 100 + 1e-9 && k < 20000; ++k) {
          A += step * dA;
          B += step * dB;
          const double now = s.Value(A, B);
          ASSERT_TRUE(std::isfinite(now)) << A << ", " << B;
          worst = std::max(worst, std::fabs(now - before));
          before = now;
        }
      }
    EXPECT_LT(worst, 0.5) << points.size() << " points";
  }
}

TEST(TriangulatedSurface, NoSurfaceWithoutATriangle) {
  struct Case {
    const char* what;
    std::vector<TReferencePoint> points;
    bool valid;
  } cases[] = {
      {"no points", {}, false},
      {"one point", {{20, 20, 500}}, false},
      {"two points", {{20, 20, 500}, {40, 10, 600}}, false},
      {"three on a line", {{10, 10, 500}, {20, 20, 600}, {30, 30, 700}}, false},
      {"four on a line of constant B", {{10, 40, 500}, {30, 40, 600}, {50, 40, 700}, {70, 40, 800}}, false},
      {"two places, one given twice", {{20, 20, 500}, {40, 10, 600}, {20, 20, 550}}, false},
      {"three places, one given twice", {{20, 20, 500}, {40, 10, 600}, {20, 20, 550}, {30, 50, 700}}, true},
      {"a line and one point off it", {{10, 10, 500}, {20, 20, 600}, {30, 30, 700}, {10, 30, 650}}, true},
  };
  for (const Case& c : cases) {
    const TTriangulatedSurface s = SurfaceOf(c.points);
    EXPECT_EQ(s.Valid(), c.valid) << c.what;
    if (!c.valid) EXPECT_TRUE(std::isnan(s.Value(25, 25))) << c.what;
    if (c.valid)
      for (const TReferencePoint& p : c.points)
        if (!(p.T == 550)) EXPECT_NEAR(s.Value(p.A, p.B), p.T, 1e-9) << c.what;  // the first value at a place counts
  }
  EXPECT_TRUE(std::isnan(TTriangulatedSurface().Value(10, 10)));
}
