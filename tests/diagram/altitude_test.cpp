// The altitude estimate of the liquidus temperature: what a caller sees at
// the limits (no points, degenerate edges, the early end of the run), and the
// square-root-free formulation against the method done step by step.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <iostream>
#include <limits>
#include <random>
#include <vector>

#include "diagram/altitude.h"

namespace {

// The method as stated, with distances and square roots, on a copy. Lengths
// within a millionth of a percent count as equal, as they would in exact
// arithmetic (the method itself drops feet exactly on an edge's end and
// offers equal distances repeatedly): a foot that far past an end of its
// edge is on the edge, and a candidate must be closer by more than that.
double StepByStepAltitude(int n, TAltitudePoints p, double X, double Y) {
  constexpr double tie = 1e-6;
  n = std::clamp(n, 0, MaxAltitudePoints);
  double estimate = 0.0, best = 100.0;
  TAltitudePoint S = p[0];
  auto dist = [](double ax, double ay, double bx, double by) {
    return std::sqrt((ax - bx) * (ax - bx) + (ay - by) * (ay - by));
  };
  for (int pass = 0; pass < 100; ++pass) {
    for (int j = 0; j < n; ++j) {
      const TAltitudePoint U = p[j];
      const TAltitudePoint V = j < n - 1 ? p[j + 1] : S;
      if (std::fabs(U.X - V.X) < 0.1 && std::fabs(U.Y - V.Y) < 0.1) continue;
      const double dU = dist(X, Y, U.X, U.Y), dV = dist(X, Y, V.X, V.Y);
      const double L = dist(U.X, U.Y, V.X, V.Y);
      const double t = (L * L + dV * dV - dU * dU) / (2 * L);  // from V toward U
      TAltitudePoint F{V.X + (U.X - V.X) * t / L, V.Y + (U.Y - V.Y) * t / L,
                       V.Z + (U.Z - V.Z) * t / L};
      const bool midpoint = t < -tie || t > L + tie;
      if (midpoint) F = {(U.X + V.X) / 2, (U.Y + V.Y) / 2, (U.Z + V.Z) / 2};
      if (j == 0) S = p[0];
      p[j] = F;
      // A foot is as far as its line, a midpoint as far as itself.
      const double h = midpoint           ? dist(X, Y, F.X, F.Y)
                       : dV * dV >= t * t ? std::sqrt(dV * dV - t * t)
                                          : 0.0;
      if (pass > 10 && h <= 0.1) return F.Z;
      if (h < best - tie) {
        best = h;
        estimate = F.Z;
      }
    }
  }
  return estimate;
}

TAltitudePoints Corners(std::initializer_list<TAltitudePoint> list) {
  TAltitudePoints p{};
  std::copy(list.begin(), list.end(), p.begin());
  return p;
}

}  // namespace

TEST(EstimateAltitude, SmallAreas) {
  const TAltitudePoints one = Corners({{30, 30, 900}});
  const TAltitudePoints close = Corners({{10, 10, 500}, {10.0625, 9.9375, 700}});
  const TAltitudePoints apartInX = Corners({{10, 10, 500}, {10.25, 10, 700}});
  const TAltitudePoints apartInY = Corners({{10, 10, 500}, {10, 10.25, 700}});
  const TAltitudePoints isothermal = Corners({{0, 0, 1000}, {100, 0, 1000}, {0, 100, 1000}});
  struct Case {
    const char* what;
    int n;
    const TAltitudePoints& points;
    double x, y, expected;
  } cases[] = {
      {"no points", 0, one, 30, 30, 0},
      {"one point: its only edge runs to itself", 1, one, 30, 30, 0},
      {"two points closer than 0.1 in X and in Y: degenerate", 2, close, 10, 10, 0},
      // Halfway along the edge the foot carries the mean temperature.
      {"two points 0.25 apart in X only", 2, apartInX, 10.125, 10, 600},
      {"two points 0.25 apart in Y only", 2, apartInY, 10, 10.125, 600},
      {"isothermal triangle", 3, isothermal, 1, 1, 1000},
      {"isothermal triangle", 3, isothermal, 33.3, 33.3, 1000},
      {"isothermal triangle", 3, isothermal, 98, 1, 1000},
      {"isothermal triangle", 3, isothermal, 20, 70, 1000},
  };
  for (const Case& c : cases)
    EXPECT_NEAR(EstimateAltitude(c.n, c.points, c.x, c.y), c.expected, 1e-9)
        << c.what << " at " << c.x << ", " << c.y;
}

// A line that passes close to the query point, with its foot beyond the
// edge's end, once lent its small distance to the edge's midpoint far away:
// next to the Bi-Pb-Sn ternary eutectic (52.5, 32, 95 °C) the (Sn) field
// read 117 °C, the midpoint of the edge from the Bi-Sn eutectic (57, 0,
// 139). Each field that meets at the eutectic now reads its 95 °C there.
TEST(EstimateAltitude, AMidpointCountsWithItsOwnDistance) {
  auto P = [](float a, float b, int t) { return TAltitudePoint{a, b, double(t)}; };
  const TAltitudePoints sn = Corners({P(0, 0, 232), P(57, 0, 139), P(52.5f, 32, 95), P(0, 38.1f, 183)});
  const TAltitudePoints bi = Corners({P(100, 0, 271), P(55.5f, 44.5f, 124), P(52.5f, 32, 95), P(57, 0, 139)});
  const TAltitudePoints pb = Corners({P(0, 100, 327), P(0, 38.1f, 183), P(52.5f, 32, 95), P(55.5f, 44.5f, 124)});
  struct Case {
    const char* field;
    const TAltitudePoints& points;
    double x, y;
  } cases[] = {
      {"(Sn)", sn, 52.569, 31.963}, {"(Sn)", sn, 52.5, 31.9}, {"(Sn)", sn, 52.0, 31.5}, {"(Sn)", sn, 52.5, 32},
      {"(Bi)", bi, 52.569, 31.963}, {"(Bi)", bi, 52.6, 32.0},  {"(Bi)", bi, 52.6, 32.1}, {"(Bi)", bi, 52.5, 32},
      {"(Pb)", pb, 52.4, 32.1},     {"(Pb)", pb, 52.45, 32.3}, {"(Pb)", pb, 52.3, 32.2}, {"(Pb)", pb, 52.5, 32},
  };
  for (const Case& c : cases)
    EXPECT_NEAR(EstimateAltitude(4, c.points, c.x, c.y), 95, 2) << c.field << " at " << c.x << ", " << c.y;
}

TEST(EstimateAltitude, FromPass11TheFirstLineWithin0_1EndsTheRun) {
  // Temperatures on the plane T = 1000 + 5·B, so every foot and midpoint
  // lies on it too. In pass 0 the line of the first edge (x = 50) runs
  // through the query point itself, but its foot lies off the edge: the
  // candidate is the edge's midpoint (50, 70), at 1350 and 50 away. The run
  // ends in a pass after the tenth at a foot within 0.1 of the query point,
  // near the plane's 1100 there.
  auto T = [](double x, double y) { return TAltitudePoint{x, y, 1000 + 5 * y}; };
  const TAltitudePoints p = Corners({T(50, 60), T(50, 80), T(100, 0), T(0, 0)});
  EXPECT_NEAR(EstimateAltitude(4, p, 50, 20), 1100, 0.5);
}

// Counts from -2 to 14: outside 0..12 they are taken as 0 or 12. The
// caller's points stay as they were.
TEST(EstimateAltitude, AgreesWithTheStepByStepMethodOnRandomAreas) {
  std::mt19937_64 rng(20240611);
  std::uniform_real_distribution<double> pct(0, 100), wide(-20, 120), temp(200, 2500),
      tiny(-0.09, 0.09), unit(0, 1);
  std::uniform_int_distribution<int> count(-2, MaxAltitudePoints + 2);
  int compared = 0, nonzero = 0;
  for (int trial = 0; trial < 20000; ++trial) {
    TAltitudePoints p{};
    const int n = count(rng);
    for (int i = 0; i < MaxAltitudePoints; ++i) {
      const double r = unit(rng);
      if (i > 0 && r < 0.1)
        p[i] = p[i - 1];  // duplicate
      else if (i > 0 && r < 0.2)
        p[i] = {p[i - 1].X + tiny(rng), p[i - 1].Y + tiny(rng), temp(rng)};  // degenerate edge
      else
        p[i] = {pct(rng), pct(rng), temp(rng)};
    }
    const double x = trial % 4 == 0 ? wide(rng) : pct(rng);
    const double y = trial % 4 == 0 ? wide(rng) : pct(rng);
    const double expected = StepByStepAltitude(n, p, x, y);
    const TAltitudePoints before = p;
    const double got = EstimateAltitude(n, p, x, y);
    ASSERT_EQ(std::memcmp(&before, &p, sizeof p), 0) << "trial " << trial;
    ++compared;
    if (expected != 0) ++nonzero;
    ASSERT_NEAR(got, expected, 1e-6 * std::max(1.0, std::fabs(expected)))
        << "trial " << trial << ", n = " << n << ", query " << x << ", " << y;
  }
  EXPECT_GT(nonzero, compared / 2);
}

// Many queries of one area at once give each query's own estimate to the
// last bit, in every vector width the processor has: the lanes run queries
// side by side that end at different passes (early ends, polygons that stop
// moving, all 100).
TEST(EstimateAltitude, ManyQueriesAtOnceGiveEachQuerysOwnBits) {
  std::cout << "vector lanes here: " << AltitudeLanes() << "\n";
  std::mt19937_64 rng(99);
  std::uniform_real_distribution<double> pct(-10, 110), temp(200, 2500), unit(0, 1);
  std::uniform_int_distribution<int> count(-1, MaxAltitudePoints + 1), queries(0, 40);
  const double nan = std::numeric_limits<double>::quiet_NaN();
  for (int trial = 0; trial < 3000; ++trial) {
    TAltitudePoints p{};
    for (int i = 0; i < MaxAltitudePoints; ++i) {
      const double r = unit(rng);
      p[i] = i > 0 && r < 0.1  ? TAltitudePoint{p[i - 1].X + 0.05, p[i - 1].Y, temp(rng)}
             : trial % 50 == 0 ? TAltitudePoint{r < 0.3 ? nan : pct(rng), pct(rng), temp(rng)}
                               : TAltitudePoint{pct(rng), pct(rng), temp(rng)};
    }
    const int n = count(rng), m = queries(rng);
    std::vector<double> x(std::size_t(m) + 1), y(x.size()), got(x.size(), -1);
    for (int i = 0; i < m; ++i) {
      // Neighbouring grid points, as the isotherm scan asks, and some at a corner.
      x[std::size_t(i)] = i % 9 == 8 ? p[0].X : 20 + 0.25 * i + (trial % 7);
      y[std::size_t(i)] = i % 9 == 8 ? p[0].Y : 30 + (trial % 13) - 0.25 * (i % 4);
      if (trial % 40 == 1 && i == 3) x[std::size_t(i)] = nan;
    }
    for (int lanes : {8, 4}) {
      if (lanes > AltitudeLanes()) continue;
      EstimateAltitudesUpTo(lanes, n, p, m, x.data(), y.data(), got.data());
      ASSERT_EQ(got[std::size_t(m)], -1) << "written past the last query";
      for (int i = 0; i < m; ++i) {
        const double expected = EstimateAltitude(n, p, x[std::size_t(i)], y[std::size_t(i)]);
        ASSERT_EQ(std::memcmp(&expected, &got[std::size_t(i)], sizeof expected), 0)
            << lanes << " lanes, trial " << trial << ", n = " << n << ", query " << i << ": "
            << got[std::size_t(i)] << " instead of " << expected;
      }
    }
  }
}
