// Isotherms: the ladder, the grid scan and its progress events, the chains'
// ordering, smoothing and thinning, and their drawing.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QMouseEvent>
#include <cmath>
#include <functional>
#include <random>

#include "diagram/paint_test_support.h"
#include "diagram/ternary_fixture.h"
#include "diagram/ternary_access.h"
#include "ternary_test_system.h"

using namespace ternary;
using ternarytest::IsAreaColor;
using ternarytest::SavePicture;
using Access = TTernagramTestAccess;

namespace {

std::vector<TIsoPoint> Line(int n, double dx, double dy = 0) {
  std::vector<TIsoPoint> c;
  for (int i = 0; i < n; ++i) c.push_back({float(10 + i * dx), float(10 + i * dy)});
  return c;
}

// A system whose data range is 1000..1800 through T-points of a record
// that is not in use; area 0 is flat at the given temperature.
void LoadFlatSystem(TTernagram& g, int flat) {
  g.resize(600, 450);
  ternarytest::SetArea(g, 0, QStringLiteral("flat"), 20, 20,
                       {{5, 5, flat}, {90, 5, flat}, {5, 90, flat}});
  ternarytest::SetArea(g, 15, QStringLiteral("range"), 0, 0, {{0, 0, 1000}, {0, 0, 1800}});
  g.SetAreas(1);
  g.SetDrawAreas(true);
  g.SetDrawIsotherms(true);
}

}  // namespace

TEST(IsothermChains, OrderingSmoothingAndThinning) {
  // In path order with steps of 0.25 .. 20: nothing moves, nothing is cut.
  auto chain = Line(6, 0.25);
  chain.push_back({float(chain.back().X + 20), chain.back().Y});
  const auto ordered = chain;
  EXPECT_EQ(OrderChain(chain.data(), int(chain.size())), 0);
  for (std::size_t i = 0; i < chain.size(); ++i) EXPECT_EQ(chain[i].X, ordered[i].X) << i;
  // Shuffled points come back in order; a duplicate is a failed step.
  std::vector<TIsoPoint> shuffled{{10, 10}, {13, 10}, {11, 10}, {12, 10}, {12, 10}};
  EXPECT_EQ(OrderChain(shuffled.data(), 5), 1);
  EXPECT_EQ(shuffled[1].X, 11);
  EXPECT_EQ(shuffled[2].X, 12);

  // One smoothing pass: ends stay, (10, 0) goes to (7.5, 2.5).
  std::vector<TIsoPoint> zigzag{{0, 0}, {10, 0}, {10, 10}, {20, 10}, {20, 20}};
  SmoothChain(zigzag.data(), 5);
  EXPECT_FLOAT_EQ(zigzag[1].X, 7.5f);
  EXPECT_FLOAT_EQ(zigzag[1].Y, 2.5f);
  EXPECT_EQ(zigzag[0].X, 0);
  EXPECT_EQ(zigzag[4].Y, 20);

  // Thinning keeps both ends: 10 -> 7 -> 5 -> 4, 20 -> 12 -> 8 -> 6, 11 -> 7 -> 5 -> 4.
  for (auto [start, counts] : {std::pair{10, std::array{7, 5, 4}}, {20, {12, 8, 6}}, {11, {7, 5, 4}}}) {
    auto c = Line(start, 1);
    int n = start;
    for (int pass = 0; pass < 3; ++pass) {
      n = SimplifyChain(c.data(), n);
      EXPECT_EQ(n, counts[std::size_t(pass)]) << start << " pass " << pass;
      EXPECT_EQ(c[0].X, 10) << start;
      EXPECT_EQ(c[std::size_t(n - 1)].X, 10 + start - 1) << start;
    }
  }
}

// Two pieces of one isotherm beside a side of the triangle, 22 % apart and
// ordered one after the other (as the Bi-Pb-Sn sample's 200 °C isotherm in
// the (Pb) and (Sn) fields): smoothing and thinning work on each piece as on
// a chain of its own, so the gap stays and no line grows along the side.
TEST(IsothermChains, SmoothingAndThinningStopAtBreaks) {
  std::vector<TIsoPoint> upper, lower;
  for (int i = 0; i < 12; ++i) {
    upper.push_back({float(1 + i % 2), float(57 - i)});
    lower.push_back({float(1 + i % 2), float(24 - i)});
  }
  auto joined = [](std::vector<TIsoPoint> a, const std::vector<TIsoPoint>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
  };
  auto same = [](const std::vector<TIsoPoint>& got, int n, const std::vector<TIsoPoint>& expected) {
    ASSERT_EQ(n, int(expected.size()));
    for (int i = 0; i < n; ++i)
      EXPECT_TRUE(got[std::size_t(i)].X == expected[std::size_t(i)].X && got[std::size_t(i)].Y == expected[std::size_t(i)].Y)
          << "point " << i;
  };
  auto smooth = [](TIsoPoint* p, int m) { SmoothChain(p, m); return m; };

  std::vector<TIsoPoint> chain = joined(upper, lower), u = upper, l = lower;
  int n = int(chain.size());
  for (int pass = 0; pass < 3; ++pass) {
    n = InStretches(chain.data(), n, 10, smooth);
    SmoothChain(u.data(), int(u.size()));
    SmoothChain(l.data(), int(l.size()));
  }
  same(chain, n, joined(u, l));
  EXPECT_GT(std::sqrt(Distance2(chain[11], chain[12])), 20);

  n = InStretches(chain.data(), n, 10, SimplifyChain);
  u.resize(std::size_t(SimplifyChain(u.data(), int(u.size()))));
  l.resize(std::size_t(SimplifyChain(l.data(), int(l.size()))));
  same(chain, n, joined(u, l));
  EXPECT_GT(std::sqrt(Distance2(chain[u.size() - 1], chain[u.size()])), 20);
}

// Long chains are walked with a grid of cells; the walk must come out as the
// plain comparison of every pair gives it, ties and failed steps included.
TEST(IsothermChains, LongChainsWalkAsEveryPairComparedGivesThem) {
  const auto byComparison = [](std::vector<TIsoPoint> P) {
    int failures = 0;
    for (std::size_t s = 0; s + 1 < P.size(); ++s) {
      double best = 100.0 * 100.0;
      std::size_t at = 0;
      for (std::size_t t = s + 1; t < P.size(); ++t) {
        const double dx = double(P[s].X) - P[t].X, dy = double(P[s].Y) - P[t].Y;
        if (dx * dx + dy * dy <= best) {
          best = dx * dx + dy * dy;
          at = t;
        }
      }
      if (at == 0 || best < 0.25 * 0.25 || best > 20.0 * 20.0)
        ++failures;
      else
        std::swap(P[s + 1], P[at]);
    }
    return std::pair{failures, P};
  };
  std::mt19937_64 rng(7);
  const auto uniform = [&](double a, double b) { return std::uniform_real_distribution<double>(a, b)(rng); };
  const auto lattice = [&](int k, double step) { return float(step * std::uniform_int_distribution<int>(0, k)(rng)); };
  // Point sets: a band of a scan on a 0.25 grid (many equal distances), a
  // lattice with duplicates, scatter over the triangle, clusters farther
  // apart than a step may go, and a wide spread of host values.
  const std::vector<std::function<TIsoPoint(int)>> kinds{
      [&](int i) { return TIsoPoint{float(0.25 * (i % 300)), float(40 + 0.25 * std::floor(uniform(0, 3)))}; },
      [&](int) { return TIsoPoint{lattice(30, 0.5), lattice(30, 0.5)}; },
      [&](int) { return TIsoPoint{float(uniform(0, 100)), float(uniform(0, 100))}; },
      [&](int i) { return TIsoPoint{float(30 * (i % 3) + uniform(0, 2)), float(uniform(0, 3))}; },
      [&](int) { return TIsoPoint{float(uniform(-1e4, 1e4)), lattice(4, 0.25)}; },
  };
  for (std::size_t kind = 0; kind < kinds.size(); ++kind)
    for (int n : {64, 65, 200, 1500}) {
      std::vector<TIsoPoint> P;
      for (int i = 0; i < n; ++i) P.push_back(kinds[kind](i));
      const auto [failures, expected] = byComparison(P);
      EXPECT_EQ(OrderChain(P.data(), n), failures) << "kind " << kind << ", " << n << " points";
      for (int i = 0; i < n; ++i)
        ASSERT_TRUE(P[std::size_t(i)].X == expected[std::size_t(i)].X &&
                    P[std::size_t(i)].Y == expected[std::size_t(i)].Y)
            << "kind " << kind << ", " << n << " points, position " << i;
    }
}

TEST(Isotherms, LadderFollowsTheTemperatureUnit) {
  struct Case {
    TTUnits unit;
    int low, high, count;
  };
  for (const Case& c : {Case{tuC, 1050, 1800, 16}, Case{tuK, 1300, 2050, 16}, Case{tuF, 1850, 3250, 29}}) {
    TTernagram g;
    LoadFlatSystem(g, 1400);
    g.SetTUnits(c.unit);
    g.Repaint();
    const TIsotherm& iso = *g.Isotherms();
    EXPECT_TRUE(iso.Calculated);
    EXPECT_EQ(iso.LowIsotherm, c.low) << c.unit;
    EXPECT_EQ(iso.HighIsotherm, c.high) << c.unit;
    EXPECT_EQ(iso.IsothermCount, c.count) << c.unit;
    EXPECT_EQ(g.IsoPoints().size(), std::size_t(c.count + 1));  // the hot one last
  }
}

TEST(Isotherms, ScanRowsBandsAndCaching) {
  // Error 2: a surface at 1098 lies on the 1100 isotherm, at 1097 on none.
  for (auto [flat, onIt] : {std::pair{1098, true}, {1097, false}}) {
    TTernagram g;
    LoadFlatSystem(g, flat);
    g.Repaint();
    const int k1100 = (1100 - g.Isotherms()->LowIsotherm) / 50;
    EXPECT_EQ(g.IsoPointCounts()[std::size_t(k1100)] > 0, onIt) << flat;
    for (std::size_t k = 0; k + 1 < g.IsoPoints().size(); ++k)
      if (int(k) != k1100) EXPECT_EQ(g.IsoPointCounts()[k], 0) << flat << " " << k;
  }

  TTernagram g;
  LoadFlatSystem(g, 1098);
  int steps = 0;
  g.SetOnIsothermCalcStep([&](QObject*) { ++steps; });
  g.Repaint();
  EXPECT_EQ(steps, 99);  // rows 1..99 at a step of 1 %
  g.Repaint();
  g.resize(800, 600);
  g.Repaint();
  EXPECT_EQ(steps, 99);  // nothing changed that the chains depend on
  g.Isotherms()->SetMethodStep(3.0f);
  steps = 0;
  g.Repaint();
  EXPECT_EQ(steps, 32);  // Round(100 / 3) = 33 rows less the corner

  // No temperature model: every chain stays empty.
  g.SetTCalcMethod(tcThermodynamic);
  g.Repaint();
  for (int n : g.IsoPointCounts()) EXPECT_EQ(n, 0);

  // Zoomed: nothing is computed or drawn, Calculated is left alone.
  g.SetTCalcMethod(tcAltitude);
  Access::SetZoom(g, true);
  steps = 0;
  g.Repaint();
  EXPECT_EQ(steps, 0);
  EXPECT_FALSE(g.Isotherms()->Calculated);
}

TEST(Isotherms, AWideBandGivesOneLineThroughItsMiddle) {
  // A plane rising 4 degrees per percent of B: with Error 5 each band is
  // 2.5 % of B wide, five grid rows at a step of 0.5. Each isotherm is the
  // line B = (T - 1000) / 4 across the triangle, traced once, not as a thin
  // loop along the band's two edges.
  TTernagram g;
  g.resize(600, 450);
  ternarytest::SetArea(g, 0, QStringLiteral("plane"), 20, 20,
                       {{0, 0, 1000}, {100, 0, 1000}, {0, 100, 1400}, {50, 50, 1200}});
  ternarytest::SetArea(g, 15, QStringLiteral("range"), 0, 0, {{0, 0, 1000}, {0, 0, 1400}});
  g.SetAreas(1);
  g.SetDrawAreas(true);
  g.SetDrawIsotherms(true);
  g.SetTCalcMethod(tcTriangulation);
  g.Isotherms()->SetError(5);
  g.Isotherms()->SetMethodStep(0.5f);
  g.Repaint();
  int traced = 0;
  for (int k = 0; k < g.Isotherms()->IsothermCount; ++k) {
    const double onLine = (g.IsothermTemperature(k) - 1000) / 4.0;
    const int n = g.IsoPointCounts()[std::size_t(k)];
    if (onLine < 5 || onLine > 95) continue;
    ++traced;
    // One point per grid column across the triangle (A from 0 to 100 - B,
    // a point each 0.5): a walk along both edges would give twice as many.
    EXPECT_GT(n, 0.6 * (100 - onLine) / 0.5) << onLine;
    EXPECT_LT(n, 1.2 * (100 - onLine) / 0.5) << onLine;
    double farthest = 0;
    for (const TIsoPoint& p : g.IsoPoints()[std::size_t(k)]) farthest = std::max(farthest, std::fabs(p.Y - onLine));
    EXPECT_LT(farthest, 0.3) << onLine;
  }
  EXPECT_GE(traced, 6);
}

TEST(Isotherms, DrawingStepsBreaksAndLabels) {
  TTernagram g;
  g.resize(700, 560);
  g.SetAreas(1);
  g.Repaint();
  TIsotherm& iso = *g.Isotherms();
  iso.SetSigned(false);
  iso.SetGraphType(itPolyline);
  iso.SetColor(0x008080);
  TBitmap b(700, 560);
  auto drawn = [&](const std::vector<std::vector<TIsoPoint>>& chains, int low) {
    b.Canvas()->Brush.Color = clWhite;
    b.Canvas()->FillRect(TRect{0, 0, 700, 560});
    Access::SetChains(g, chains, low);
    Access::DrawChains(g, *b.Canvas());
    return painttest::CountColor(*b.Canvas(), 0x008080, TRect{0, 0, 700, 560});
  };
  // Step 100 skips 1050 and draws 1100; 250 draws 1250 only.
  const auto one = Line(5, 1);
  EXPECT_EQ(drawn({one, {}, {}}, 1050), 0);
  EXPECT_GT(drawn({{}, one, {}}, 1050), 0);
  iso.SetStep(250);
  EXPECT_EQ(drawn({{}, one, {}}, 1050), 0);
  EXPECT_GT(drawn({{}, {}, {}, {}, one, {}}, 1050), 0);
  // The hot isotherm is always drawn, in its own colour.
  g.SetHotIsothermColor(0x0000C0);
  Access::SetChains(g, {{}, one}, 1050);
  Access::DrawChains(g, *b.Canvas());
  EXPECT_GT(painttest::CountColor(*b.Canvas(), 0x0000C0, TRect{0, 0, 700, 560}), 0);

  // A polyline joins neighbours 10 percent apart and breaks at 10.5.
  iso.SetStep(50);
  const int joined = drawn({{{10, 10}, {20, 10}}, {}}, 1050);
  const int broken = drawn({{{10, 10}, {20.5f, 10}}, {}}, 1050);
  EXPECT_GT(joined, 20);
  EXPECT_EQ(broken, 0);

  // Labels on every SignStep-th point: 10 and 20 of 25.
  iso.SetSigned(true);
  iso.SetSignStep(10);
  iso.SetGraphType(itPoints);
  Access::SetChains(g, {Line(25, 2, 1), {}}, 1100);
  b.Canvas()->FillRect(TRect{0, 0, 700, 560});
  Access::DrawChains(g, *b.Canvas());
  const TFont labelFont = painttest::ArialFont(std::clamp(int(std::sqrt(g.TriSide() / 3.0)) - 2, 1, 7), fsItalic);
  const int w = painttest::TextWidthOf(labelFont, QStringLiteral("1100"));
  const int h = painttest::TextHeightOf(labelFont, QStringLiteral("1100"));
  int labels = 0;
  for (int p = 1; p <= 25; ++p) {
    const TIsoPoint q = Line(25, 2, 1)[std::size_t(p - 1)];
    const TPoint at = g.TriangleMap().transformRounded(q.X, q.Y);
    if (painttest::FindText(*b.Canvas(), QStringLiteral("1100"), labelFont, clWhite,
                            TRect{at.X - w / 2, at.Y - h / 2, at.X - w / 2 + w, at.Y - h / 2 + h}))
      labels += p % 10 == 0 ? 1 : 100;
  }
  EXPECT_EQ(labels, 2);
}

TEST(Isotherms, TestSystemPictureInEachLineType) {
  TTernagram g;
  g.resize(900, 700);
  ternarytest::LoadTestSystem(g);
  g.SetDrawIsotherms(true);
  g.SetHotIsotherm(1250);
  for (auto type : {itPoints, itPolyline, itSpline}) {
    g.Isotherms()->SetGraphType(type);
    g.Repaint();
    SavePicture(g, QStringLiteral("isotherms_%1").arg(int(type)));
    // Every regular isotherm between the eutectic and the highest melting
    // point was found, and the hot one too.
    const TIsotherm& iso = *g.Isotherms();
    EXPECT_EQ(iso.LowIsotherm, 950);
    EXPECT_EQ(iso.HighIsotherm, 1700);
    for (int k = 0; k <= iso.IsothermCount; ++k)
      if (g.IsothermTemperature(k) < 1650) EXPECT_GT(g.IsoPointCounts()[std::size_t(k)], 3) << k;
    EXPECT_GT(painttest::CountColor(*g.Canvas(), g.HotIsothermColor(),
                                    TRect{0, 0, g.Width(), g.Height()}),
              0);
  }
}

// The scan asks the chosen method: each unsmoothed chain point lies within
// the band of its isotherm by that method's estimate in one of the areas,
// and every method finds the isotherms between the eutectic and the peaks.
TEST(Isotherms, EachMethodsScanKeepsToItsOwnEstimate) {
  TTernagram g;
  g.resize(900, 700);
  ternarytest::LoadTestSystem(g);
  g.SetDrawIsotherms(true);
  TIsotherm& iso = *g.Isotherms();
  iso.SetSmoothed(false);
  iso.SetSimplified(false);
  iso.SetError(6);  // wider than a grid step's change where the liquidus is steepest
  for (auto method : {tcAltitude, tcPolynomial, tcTriangulation}) {
    g.SetTCalcMethod(method);
    g.Repaint();
    ASSERT_TRUE(iso.Calculated);
    for (int k = 0; k < iso.IsothermCount; ++k) {
      const int T = g.IsothermTemperature(k);
      if (T < 1650) EXPECT_GT(g.IsoPointCounts()[std::size_t(k)], 3) << method << " " << T;
      for (int i = 0; i < g.IsoPointCounts()[std::size_t(k)]; ++i) {
        const TIsoPoint p = g.IsoPoints()[std::size_t(k)][std::size_t(i)];
        bool inBand = false;
        for (int area = 0; area < g.Areas(); ++area)
          inBand |= std::fabs(std::nearbyint(g.AreaTemperature(area, p.X, p.Y)) - T) <= iso.Error();
        ASSERT_TRUE(inBand) << method << ", isotherm " << T << " at " << p.X << ", " << p.Y;
      }
    }
  }
}

TEST(Isotherms, WhatRunsWhileTheScanYieldsIsSafe) {
  TTernagram g;
  g.resize(700, 520);
  ternarytest::LoadTestSystem(g);
  g.SetDrawIsotherms(true);
  int row = 0;
  // Each row the handler does something else a user or host might do then.
  g.SetOnIsothermCalcStep([&](QObject*) {
    switch (++row % 7) {
      case 0: g.Repaint(); break;
      case 1: g.resize(650 + row % 50, 500); break;
      case 2: g.SetTitle(QStringLiteral("Row %1").arg(row)); break;
      case 3: {
        QMouseEvent e(QEvent::MouseMove, QPointF(300, 300), QPointF(300, 300), Qt::NoButton,
                      Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(&g, &e);
        break;
      }
      case 4: g.AreaList()[0].TPoints[1].T += 1; break;
      case 5: g.Invalidate(); break;
      case 6: if (row == 20) g.Isotherms()->SetError(3); break;
    }
  });
  g.Repaint();
  // The setting changed in the middle forgot the computation: the paint the
  // scan left pending computes afresh, with everything in place.
  EXPECT_FALSE(g.Isotherms()->Calculated);
  EXPECT_TRUE(g.Painted());
  g.SetOnIsothermCalcStep([](QObject*) {});
  g.Repaint();
  EXPECT_TRUE(g.Isotherms()->Calculated);
  EXPECT_EQ(g.IsoPoints().size(), std::size_t(g.Isotherms()->IsothermCount + 1));
  // The fresh picture is the one a quiet paint gives.
  const QImage first = g.Surface().Image().copy();
  g.Isotherms()->Calculated = false;
  g.Repaint();
  EXPECT_EQ(g.Surface().Image(), first);

  // A handler that empties the system ends the scan without harm.
  g.SetOnIsothermCalcStep([&](QObject*) { g.SetAreas(0); });
  g.Isotherms()->Calculated = false;
  g.Repaint();
  EXPECT_TRUE(g.Painted());
}

TEST(Isotherms, ChainsFollowUnitsAndOrientationWithoutANewScan) {
  TTernagram g;
  g.resize(700, 520);
  ternarytest::LoadTestSystem(g);
  g.SetDrawIsotherms(true);
  g.SubstanceA()->MolMass = 2;
  int steps = 0;
  g.SetOnIsothermCalcStep([&](QObject*) { ++steps; });
  g.Repaint();
  ASSERT_EQ(steps, 99);
  const auto before = g.IsoPoints();
  // Orientation: every chain point moves with the compositions.
  g.SetDataOrientation(doBAC);
  g.SetCUnits(cuMassPercents);
  g.Repaint();
  EXPECT_EQ(steps, 99);
  EXPECT_TRUE(g.Isotherms()->Calculated);
  const auto& after = g.IsoPoints();
  ASSERT_EQ(after.size(), before.size());
  for (std::size_t k = 0; k < after.size(); ++k)
    for (std::size_t i = 0; i < after[k].size(); ++i) {
      // BAC puts the former B share at A and the former A (molar mass 2) at
      // B, which in mass weighs twice.
      const double a = before[k][i].Y, b = before[k][i].X * 2, c = 100 - before[k][i].X - before[k][i].Y;
      EXPECT_NEAR(after[k][i].X, 100 * a / (a + b + c), 1e-3);
      EXPECT_NEAR(after[k][i].Y, 100 * b / (a + b + c), 1e-3);
    }
  // Back again: the first picture's chains.
  g.SetCUnits(cuMolPercents);
  g.SetDataOrientation(doDirect);
  for (std::size_t k = 0; k < before.size(); ++k)
    for (std::size_t i = 0; i < before[k].size(); ++i)
      EXPECT_NEAR(g.IsoPoints()[k][i].X, before[k][i].X, 1e-3);
}
