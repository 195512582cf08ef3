// The crystallization path of a marked melt, on a system built so that the
// answer can be worked out by hand: straight valleys, and in each primary
// field a liquidus plane through three T-points (the polynomial estimate of
// three points is that plane).
//
//   corners A (100, 0), B (0, 100), C (0, 0); primary phases the corners
//   valleys  (50, 50) - E,  (0, 40) - E,  (40, 0) - E,  with E = (30, 30)
//   field (A): T = 500 + 5 A - 3 B    through (100, 0) 1000, (50, 50) 600, (40, 0) 700
//   field (B): T = 200 - 2 A + 10 B   through (0, 100) 1200, (50, 50) 600, (0, 40) 600
//   field (C): T = 900 - 5 A - 7.5 B  through (0, 0) 900, (40, 0) 700, (0, 40) 600
//
// The melt X = (60, 20) in field (A): the ray from P = (100, 0) through X is
// (60 - 40 t, 20 + 20 t) and meets the valley A = B at t = 2/3, so
// L1 = (33.333, 33.333) and the solid there is t / (1 + t) = 40 %. The
// valley falls towards E (field (A): 566.67 at L1, 560 at E, 600 at
// (50, 50)); its tangent, the line A = B, cuts P Q = (100, 0)-(0, 100) at
// its middle. X in the triangle P, Q, E: X = 0.45 P + 0.05 Q + 0.5 E, so at
// E half the melt is solid, 45 % as A and 5 % as B. T(X) = 740.
#include <gtest/gtest.h>

#include <QLocale>
#include <cmath>
#include <functional>

#include "diagram/mouse_test_support.h"
#include "diagram/ternary_fixture.h"
#include "ternary_test_system.h"

using namespace ternary;
using ternarytest::SavePicture;
using ternarytest::SetArea;
using ternarytest::SetCurves;
using ternarytest::Sep;

namespace {

constexpr double Composition = 1e-6;  // percent
constexpr double Fraction = 0.01;     // percent of the whole
constexpr double Degrees = 0.1;

void LoadPlanarSystem(TTernagram& g) {
  SetArea(g, 0, QStringLiteral("(A)"), 70, 10, {{100, 0, 1000}, {50, 50, 600}, {40, 0, 700}});
  SetArea(g, 1, QStringLiteral("(B)"), 15, 70, {{0, 100, 1200}, {50, 50, 600}, {0, 40, 600}});
  SetArea(g, 2, QStringLiteral("(C)"), 10, 10, {{0, 0, 900}, {40, 0, 700}, {0, 40, 600}});
  g.AreaList()[0].PrimaryPhase = {true, 100, 0};
  g.AreaList()[1].PrimaryPhase = {true, 0, 100};
  g.AreaList()[2].PrimaryPhase = {true, 0, 0};
  g.SetAreas(3);
  SetCurves(g, {Sep, {50, 50}, {40, 40}, {30, 30}, Sep, {0, 40}, {30, 30}, Sep, {40, 0}, {30, 30}});
  g.SubstanceA()->SetName(QStringLiteral("A"));
  g.SubstanceB()->SetName(QStringLiteral("B"));
  g.SubstanceC()->SetName(QStringLiteral("C"));
  g.SetTCalcMethod(tcPolynomial);
  g.SetDrawSplines(true);
  g.SetDrawAreas(true);
}

class Crystallization : public ::testing::Test {
 protected:
  void SetUp() override {
    QLocale::setDefault(QLocale::c());
    g.resize(700, 520);
    LoadPlanarSystem(g);
    g.Repaint();
  }
  QPoint At(double A, double B) const {
    const TPoint p = g.ViewMap().transformRounded(A, B);
    return QPoint(p.X, p.Y);
  }
  void Mark(double A, double B) {
    g.SetMarkMode(true);
    TFullDataPoint& m = g.MarkedPoint();
    m.A = A;
    m.B = B;
    m.C = 100 - A - B;
    m.Visible = true;
    g.Invalidate();
  }
  // Pixels of the path's colour in the picture, and whether one lies
  // within r pixels of p.
  int PathPixels() {
    int n = 0;
    const TCanvas& c = *g.Canvas();
    for (int y = 0; y < c.Height(); ++y)
      for (int x = 0; x < c.Width(); ++x) n += c.Pixel(x, y) == TTernagram::CrystallizationColor;
    return n;
  }
  bool PathNear(QPoint p, int r = 1) {
    for (int dy = -r; dy <= r; ++dy)
      for (int dx = -r; dx <= r; ++dx)
        if (g.Canvas()->Pixel(p.x() + dx, p.y() + dy) == TTernagram::CrystallizationColor) return true;
    return false;
  }

  TTernagram g;
};

}  // namespace

TEST_F(Crystallization, PathOfAMeltInFieldAMatchesTheHandConstruction) {
  const std::vector<TCrystallizationStage> s = g.CrystallizationPath(60, 20);
  ASSERT_EQ(s.size(), 3u);

  EXPECT_EQ(s[0].Kind, ckPrimary);
  EXPECT_NEAR(s[0].T, 740, Degrees);
  EXPECT_NEAR(s[0].A, 60, Composition);
  EXPECT_NEAR(s[0].B, 20, Composition);
  EXPECT_EQ(s[0].Phases, "A");
  EXPECT_NEAR(s[0].SolidPercent, 0, Fraction);
  EXPECT_EQ(s[0].Text, QString::fromUtf8("Liquid \u2192 A from 740.0 \u00B0C"));

  EXPECT_EQ(s[1].Kind, ckCotectic);
  EXPECT_NEAR(s[1].A, 100.0 / 3, Composition);
  EXPECT_NEAR(s[1].B, 100.0 / 3, Composition);
  EXPECT_NEAR(s[1].T, 500 + 2 * 100.0 / 3, Degrees);
  EXPECT_EQ(s[1].Phases, "A + B");
  EXPECT_NEAR(s[1].SolidPercent, 40, Fraction);
  EXPECT_EQ(s[1].Text, QString::fromUtf8("A + B from 566.7 \u00B0C, 40.0 % solid"));
  // The liquid goes down the valley to E, not up to the binary eutectic.
  ASSERT_GE(s[1].Way.size(), 2u);
  EXPECT_NEAR(s[1].Way.back().A, 30, Composition);
  EXPECT_NEAR(s[1].Way.back().B, 30, Composition);
  for (const TCompositionPoint& p : s[1].Way) EXPECT_NEAR(p.A, p.B, Composition);

  EXPECT_EQ(s[2].Kind, ckEutectic);
  EXPECT_NEAR(s[2].A, 30, Composition);
  EXPECT_NEAR(s[2].B, 30, Composition);
  EXPECT_NEAR(s[2].T, 560, Degrees);
  EXPECT_EQ(s[2].Phases, "A + B + C");
  EXPECT_NEAR(s[2].SolidPercent, 50, Fraction);
  ASSERT_GE(s[2].SharePercents.size(), 2u);
  EXPECT_NEAR(s[2].SharePercents[0], 45, Fraction);
  EXPECT_NEAR(s[2].SharePercents[1], 5, Fraction);
  EXPECT_EQ(s[2].Stop, csNone);
  EXPECT_TRUE(s[2].Reason.isEmpty());

  // A melt in (C) at (20, 10): the ray (20 + 20 t, 10 + 10 t) from the C
  // corner meets the valley A = 40 - B / 3 at t = 5/7 (the other valley,
  // B = 40 - A / 3, only at t = 7/5): L1 = (34.286, 17.143), solid
  // 5/12; T_C(X) = 725, T_C(L1) = 600. The valley's line cuts C A at
  // (40, 0).
  const std::vector<TCrystallizationStage> c = g.CrystallizationPath(20, 10);
  ASSERT_EQ(c.size(), 3u);
  EXPECT_NEAR(c[0].T, 725, Degrees);
  EXPECT_NEAR(c[1].A, 20 + 20 * 5.0 / 7, Composition);
  EXPECT_NEAR(c[1].B, 10 + 10 * 5.0 / 7, Composition);
  EXPECT_NEAR(c[1].SolidPercent, 100 * 5.0 / 12, Fraction);
  EXPECT_NEAR(c[1].T, 600, Degrees);
  EXPECT_EQ(c[1].Phases, "C + A");
  EXPECT_EQ(c[2].Phases, "C + A + B");
  // X = a C + b A + e E: A: 100 b + 30 e = 20, B: 30 e = 10, so e = 1/3,
  // b = 0.1, a = 17/30.
  EXPECT_NEAR(c[2].SolidPercent, 100 * 2.0 / 3, Fraction);
  EXPECT_NEAR(c[2].SharePercents[0], 100 * 17.0 / 30, Fraction);
  EXPECT_NEAR(c[2].SharePercents[1], 10, Fraction);

  // A melt on the line from its corner to E, (65, 15): the liquid reaches
  // E itself (t = 1, half solid) and freezes there without a cotectic stage.
  const std::vector<TCrystallizationStage> e = g.CrystallizationPath(65, 15);
  ASSERT_EQ(e.size(), 2u);
  EXPECT_EQ(e[1].Kind, ckEutectic);
  EXPECT_NEAR(e[1].A, 30, Composition);
  EXPECT_NEAR(e[1].B, 30, Composition);
  EXPECT_NEAR(e[1].T, 560, Degrees);
  EXPECT_NEAR(e[1].SolidPercent, 50, Fraction);
  EXPECT_EQ(e[1].Phases.split(" + ").size(), 3);
}

TEST_F(Crystallization, EveryCaseWhereTheConstructionDoesNotApplySaysWhyAndStops) {
  struct TCase {
    const char* What;
    std::function<void(TTernagram&)> Change;
    double A, B;
    TCrystallizationStop Stop;
    size_t Stages;  // with the stop
    double StopA, StopB, SolidPercent;
  };
  const double third = 100.0 / 3;
  const TCase cases[] = {
      {"the field has no primary phase", [](TTernagram& g) { g.AreaList()[0].PrimaryPhase = {}; }, 60, 20,
       csNoPrimaryPhase, 1, 60, 20, 0},
      {"the melt lies on a boundary", nullptr, 40, 40, csOnBoundary, 1, 40, 40, 0},
      {"the melt lies in no area", nullptr, 70, 40, csNoField, 1, 70, 40, 0},
      {"the liquidus estimate gives no temperature", [](TTernagram& g) { g.SetTCalcMethod(tcThermodynamic); },
       60, 20, csNoTemperature, 1, 60, 20, 0},
      {"the boundary reached has no neighbour with a primary phase",
       [](TTernagram& g) { g.AreaList()[1].PrimaryPhase = {}; }, 60, 20, csNoNeighbour, 2, third, third, 40},
      {"a reaction boundary: the tangent misses the segment P Q",
       [](TTernagram& g) { g.AreaList()[1].PrimaryPhase = {true, 80, 10}; }, 60, 20, csReaction, 2, third,
       third, 40},
      {"the valley ends where no third field with a primary phase meets it",
       [](TTernagram& g) { g.AreaList()[2].PrimaryPhase = {}; }, 60, 20, csNoNeighbour, 3, 30, 30, 50},
      {"the valley ends without a third field", [](TTernagram& g) { g.SetAreas(2); }, 60, 20, csCurveEnds, 3,
       30, 30, 50},
  };
  for (const TCase& k : cases) {
    SCOPED_TRACE(k.What);
    TTernagram d;
    LoadPlanarSystem(d);
    if (k.Change) k.Change(d);
    const std::vector<TCrystallizationStage> s = d.CrystallizationPath(k.A, k.B);
    ASSERT_EQ(s.size(), k.Stages);
    const TCrystallizationStage& last = s.back();
    EXPECT_EQ(last.Kind, ckStop);
    EXPECT_EQ(last.Stop, k.Stop);
    EXPECT_FALSE(last.Reason.isEmpty());
    EXPECT_TRUE(last.Text.startsWith("Stops")) << last.Text.toStdString();
    EXPECT_TRUE(last.Text.endsWith(last.Reason)) << last.Text.toStdString();
    EXPECT_NEAR(last.A, k.StopA, Composition);
    EXPECT_NEAR(last.B, k.StopB, Composition);
    EXPECT_NEAR(last.SolidPercent, k.SolidPercent, Fraction);
    // Nothing crystallizes past the stop: no stage after it, and no way.
    EXPECT_TRUE(last.Way.empty());
    for (const TCrystallizationStage& st : s) EXPECT_NE(st.Kind, ckEutectic);
  }
}

TEST_F(Crystallization, PathFollowsUnitAndOrientationChangesAndComesBack) {
  auto expectSame = [](const std::vector<TCrystallizationStage>& a, const std::vector<TCrystallizationStage>& b,
                       double tolerance) {
    ASSERT_EQ(a.size(), b.size());
    for (size_t k = 0; k < a.size(); ++k) {
      EXPECT_EQ(a[k].Kind, b[k].Kind);
      EXPECT_NEAR(a[k].A, b[k].A, tolerance);
      EXPECT_NEAR(a[k].B, b[k].B, tolerance);
      EXPECT_NEAR(a[k].T, b[k].T, Degrees);
      EXPECT_NEAR(a[k].SolidPercent, b[k].SolidPercent, Fraction);
      EXPECT_EQ(a[k].Phases, b[k].Phases);
    }
  };
  const std::vector<TCrystallizationStage> before = g.CrystallizationPath(60, 20);
  ASSERT_EQ(before.size(), 3u);

  // Orientation B C A: (A, B, C) shows as (B, C, A); the primary phases,
  // curves and T-points turn with it, so the same melt gives the same path.
  g.SetDataOrientation(doBCA);
  EXPECT_EQ(g.AreaList()[0].PrimaryPhase.A, 0);    // A's corner now shows as C
  EXPECT_EQ(g.AreaList()[0].PrimaryPhase.B, 0);
  EXPECT_EQ(g.AreaList()[1].PrimaryPhase.A, 100);  // B's corner now at A
  std::vector<TCrystallizationStage> turned = g.CrystallizationPath(20, 20);
  ASSERT_EQ(turned.size(), 3u);
  for (size_t k = 0; k < 3; ++k) {
    EXPECT_NEAR(turned[k].A, before[k].B, 1e-4);
    EXPECT_NEAR(turned[k].B, 100 - before[k].A - before[k].B, 1e-4);
    EXPECT_NEAR(turned[k].T, before[k].T, Degrees);
    EXPECT_NEAR(turned[k].SolidPercent, before[k].SolidPercent, Fraction);
    EXPECT_EQ(turned[k].Phases, before[k].Phases);  // the names turned with the corners
  }
  g.SetDataOrientation(doDirect);
  expectSame(before, g.CrystallizationPath(60, 20), 1e-4);

  // Kelvin: the same path, its temperatures 273.15 higher.
  g.SetTUnits(tuK);
  const std::vector<TCrystallizationStage> kelvin = g.CrystallizationPath(60, 20);
  ASSERT_EQ(kelvin.size(), 3u);
  EXPECT_NEAR(kelvin[2].T, 560 + 273.15, Degrees);
  EXPECT_TRUE(kelvin[2].Text.contains(QString::fromUtf8("833.1 K")) ||
              kelvin[2].Text.contains(QString::fromUtf8("833.2 K")))
      << kelvin[2].Text.toStdString();
  g.SetTUnits(tuC);

  // Mole to mass and back: every composition, the primary phases included,
  // is converted there and back.
  g.SubstanceA()->MolMass = 2;
  g.SubstanceB()->MolMass = 1;
  g.SubstanceC()->MolMass = 1;
  g.SetCUnits(cuMassPercents);
  EXPECT_EQ(g.AreaList()[0].PrimaryPhase.A, 100);  // a corner stays a corner
  // The melt (60, 20, 20) mole % is (75, 12.5, 12.5) mass %; P and the
  // straight rays stay straight, so L1 is the image of the mole L1.
  const std::vector<TCrystallizationStage> mass = g.CrystallizationPath(75, 12.5);
  ASSERT_EQ(mass.size(), 3u);
  EXPECT_NEAR(mass[1].A, 50, 1e-4);    // (1/3, 1/3, 1/3) mole -> (50, 25, 25) mass
  EXPECT_NEAR(mass[1].B, 25, 1e-4);
  EXPECT_NEAR(mass[2].A, 30 * 2 / 1.3, 1e-4);  // E (30, 30, 40) mole
  g.SetCUnits(cuMolPercents);
  expectSame(before, g.CrystallizationPath(60, 20), 1e-4);
}

TEST_F(Crystallization, MarkedPathIsDrawnWithItsTableAndClippedToAZoomWindow) {
  // Off by default: a marked point alone draws no path.
  Mark(60, 20);
  g.Repaint();
  EXPECT_FALSE(g.DrawCrystallization());
  EXPECT_EQ(PathPixels(), 0);

  g.SetDrawCrystallization(true);
  g.Repaint();
  SavePicture(g, QStringLiteral("crystallization_path"));
  const int whole = PathPixels();
  EXPECT_GT(whole, 100);
  // Along X -> L1 and down the valley to E, and dots at X, L1 and E.
  const double third = 100.0 / 3;
  for (double s : {0.2, 0.5, 0.8}) {
    EXPECT_TRUE(PathNear(At(60 + (third - 60) * s, 20 + (third - 20) * s))) << s;
    EXPECT_TRUE(PathNear(At(third + (30 - third) * s, third + (30 - third) * s))) << s;
  }
  for (QPoint p : {At(60, 20), At(third, third), At(30, 30)})
    EXPECT_EQ(g.Canvas()->Pixel(p.x(), p.y()), TTernagram::CrystallizationColor);
  // Not past E, and nowhere else in the triangle.
  EXPECT_FALSE(PathNear(At(25, 25), 2));
  EXPECT_FALSE(PathNear(At(40, 40), 2));
  // The read-out looks past the path: on the line it still finds field (A).
  const double a = 60 + (third - 60) * 0.25, b = 20 + (third - 20) * 0.25;
  ASSERT_TRUE(PathNear(At(a, b), 0));
  mousetest::Move(&g, At(a, b));
  EXPECT_EQ(g.HotArea(), 0);
  EXPECT_NEAR(g.CursorPoint().T, 500 + 5 * a - 3 * b, 3);

  // Where the path stops, nothing is drawn past the stop.
  g.AreaList()[1].PrimaryPhase = {};
  g.Repaint();
  EXPECT_TRUE(PathNear(At(60 + (third - 60) * 0.5, 20 + (third - 20) * 0.5)));
  EXPECT_FALSE(PathNear(At(third + (30 - third) * 0.5, third + (30 - third) * 0.5), 2));
  g.AreaList()[1].PrimaryPhase = {true, 0, 100};

  // Zoom into A 20..50, B 20..50, C 30..60: X lies outside, L1 and E inside.
  // Drag along B = 25.5 from C = 35.5 to C = 48.5.
  mousetest::Drag(&g, At(100 - 25.5 - 35.5, 25.5), At(100 - 25.5 - 48.5, 25.5));
  ASSERT_TRUE(g.Zoom());
  ASSERT_EQ(g.ZoomWindow().Amin, 20);
  ASSERT_EQ(g.ZoomWindow().Bmin, 20);
  ASSERT_EQ(g.ZoomWindow().Cmin, 30);
  Mark(60, 20);  // the left release of the drag took the mark away
  g.Repaint();
  SavePicture(g, QStringLiteral("crystallization_zoomed"));
  const TTriangleMap frame = g.TriangleMap();
  int inside = 0;
  const TCanvas& c = *g.Canvas();
  for (int y = 0; y < c.Height(); ++y)
    for (int x = 0; x < c.Width(); ++x) {
      if (c.Pixel(x, y) != TTernagram::CrystallizationColor) continue;
      // Every pixel of the path lies in the triangle (the outline's width
      // and a dot's radius allowed).
      const bool near = y >= g.TriTop() - 3 && y <= g.TriTop() + g.TriHeight() + 3 &&
                        x >= frame.LeftEdgeX(y) - 4 && x <= frame.RightEdgeX(y) + 4;
      EXPECT_TRUE(near) << x << "," << y;
      inside += near;
    }
  EXPECT_GT(inside, 100);
  // The ray enters the window where C reaches 30 (at (40, 30)); L1 and E
  // have their dots in the zoomed picture, X has none.
  EXPECT_TRUE(PathNear(At(38, 31)));
  EXPECT_EQ(g.Canvas()->Pixel(At(third, third).x(), At(third, third).y()), TTernagram::CrystallizationColor);
  EXPECT_EQ(g.Canvas()->Pixel(At(30, 30).x(), At(30, 30).y()), TTernagram::CrystallizationColor);
}
