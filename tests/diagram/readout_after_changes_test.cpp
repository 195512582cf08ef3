// Read-outs that must keep describing the picture: after a switch of units,
// orientation or temperature unit, after a resize, and off every area; and
// compositions that stay on the triangle through conversions, and zoom
// windows that come out as the rubber band showed them.
#include <gtest/gtest.h>

#include <QTest>
#include <cmath>
#include <functional>

#include "diagram/mouse_test_support.h"
#include "diagram/paint_test_support.h"
#include "diagram/ternary_access.h"
#include "diagram/ternary_fixture.h"

using namespace mousetest;

namespace {

// --- Binary: the marked point's co-phases follow a switch ------------------

struct BinarySwitch {
  const char* Name;
  std::function<void(TBinagram&)> Switch;
};

class BinaryReadoutAfterSwitch : public ::testing::TestWithParam<BinarySwitch> {};

TEST_P(BinaryReadoutAfterSwitch, MarkedCoPhasesAreConvertedAndTheCursorsReadoutDropped) {
  const BinarySwitch& c = GetParam();
  CountingBinagram g;
  g.SubstanceA()->MolMass = 101.96f;
  g.SubstanceB()->MolMass = 60.08f;
  LoadTestDiagram(g);
  g.SetMarkMode(true);
  const QPoint p = At(g, 40, 500);
  Move(&g, p);
  Press(&g, p, Qt::RightButton);
  Release(&g, p, Qt::RightButton);
  Settle(g);
  Move(&g, p + QPoint(3, 0));
  ASSERT_EQ(g.MarkedPoint().CoPhases, 2);
  ASSERT_TRUE(g.CursorOnArea());

  c.Switch(g);
  Settle(g);
  // Nothing of the cursor is shown in the old units.
  EXPECT_FALSE(g.CursorOnArea()) << c.Name;
  // The marked point reads as a fresh read-out beside it (its cross is
  // black) reads.
  const TFullDataPoint mark = g.MarkedPoint();
  const double percent = mark.A * 100 / g.CompositionScale();
  Move(&g, At(g, percent, mark.T) + QPoint(8, 0));
  const TFullDataPoint& now = g.CursorPoint();
  const double px = 100.0 / g.PlotWidth() * g.CompositionScale() / 100;
  ASSERT_EQ(now.CoPhases, 2) << c.Name;
  EXPECT_EQ(now.Phase1Name, mark.Phase1Name) << c.Name;
  EXPECT_EQ(now.Phase2Name, mark.Phase2Name) << c.Name;
  // The vertical boundary converts exactly; the slanted one is a straight
  // line between converted knots on another basis, which bends the true
  // boundary by up to about a percent.
  EXPECT_NEAR(now.Phase1Value, mark.Phase1Value, 4 * px + 0.015 * g.CompositionScale()) << c.Name;
  EXPECT_NEAR(now.Phase2Value, mark.Phase2Value, 4 * px) << c.Name;
  EXPECT_NEAR(now.Phase1Ratio, mark.Phase1Ratio, 6 * g.CompositionScale() / 100) << c.Name;
  EXPECT_NEAR(mark.Phase1Ratio + mark.Phase2Ratio, g.CompositionScale(), 1e-9) << c.Name;
}

INSTANTIATE_TEST_SUITE_P(
    Switches, BinaryReadoutAfterSwitch,
    ::testing::Values(BinarySwitch{"mass percent", [](TBinagram& g) { g.SetCUnits(binary::cuMassPercents); }},
                      BinarySwitch{"mole parts", [](TBinagram& g) { g.SetCUnits(binary::cuMolParts); }},
                      BinarySwitch{"mass parts", [](TBinagram& g) { g.SetCUnits(binary::cuMassParts); }},
                      BinarySwitch{"inversed", [](TBinagram& g) { g.SetDataOrientation(binary::doInversed); }},
                      BinarySwitch{"Fahrenheit", [](TBinagram& g) { g.SetTUnits(binary::tuF); }}),
    [](const auto& info) {
      std::string n = info.param.Name;
      for (char& ch : n)
        if (!isalnum(static_cast<unsigned char>(ch))) ch = '_';
      return n;
    });

// --- Ternary -------------------------------------------------------------------

using ternarytest::TestSystemFixture;
using TernaryReadout = TestSystemFixture;

TEST_F(TernaryReadout, TheFirstMoveAfterAResizeReadsTheNewLayout) {
  TTernagram other;
  other.resize(900, 700);
  ternarytest::LoadTestSystem(other);
  other.Repaint();
  const TPoint p = other.TriangleMap().transformRounded(30, 30);

  g.resize(900, 700);  // no paint yet
  Move(&g, QPoint(p.X, p.Y));
  const double px = 100.0 / other.TriSide();
  EXPECT_NEAR(g.CursorPoint().A, 30, 2 * px);
  EXPECT_NEAR(g.CursorPoint().B, 30, 2 * px);
  EXPECT_NEAR(g.CursorPoint().C, 40, 2 * px);
}

TEST_F(TernaryReadout, AUnitOrOrientationSwitchDropsTheCursorsReadout) {
  for (auto change : {std::function<void()>([&] { g.SetCUnits(ternary::cuMassPercents); }),
                      std::function<void()>([&] { g.SetDataOrientation(ternary::doCAB); })}) {
    Move(&g, At(75, 8));
    ASSERT_TRUE(g.CursorOnArea());
    change();
    EXPECT_FALSE(g.CursorOnArea());
    EXPECT_EQ(g.HotArea(), -1);
  }
}

// Conversions keep what lies on the triangle on it, exactly: a corner stays
// a corner, a side a side, so that whatever is shown can be saved.
TEST_F(TernaryReadout, ConversionsKeepCompositionsOnTheTriangle) {
  g.SubstanceA()->MolMass = 208.98f;
  g.SubstanceB()->MolMass = 207.2f;
  g.SubstanceC()->MolMass = 118.71f;
  const ternary::TDataOrientation orientations[] = {ternary::doCAB, ternary::doBCA, ternary::doCBA,
                                                    ternary::doACB, ternary::doDirect};
  for (ternary::TDataOrientation o : orientations) {
    g.SetCUnits(ternary::cuMassPercents);
    g.SetCUnits(ternary::cuMolPercents);
    g.SetDataOrientation(o);
    for (int j = 0; j <= g.CurveLastIndex(); ++j) {
      const double a = g.CurveA()[j], b = g.CurveB()[j];
      if (a == -1) continue;
      EXPECT_TRUE(a >= 0 && b >= 0 && 100 - a - b >= 0) << "curve point " << j << ": " << a << ", " << b;
    }
    for (int i = 0; i < g.Areas(); ++i)
      for (int k = 0; k < g.AreaList()[i].TPointCount; ++k) {
        const TTernaryTPoint& t = g.AreaList()[i].TPoints[k];
        EXPECT_TRUE(t.A >= 0 && t.B >= 0 && 100 - double(t.A) - t.B >= 0) << t.A << ", " << t.B;
      }
  }
  // The corners of the system are still corners.
  EXPECT_EQ(g.AreaList()[0].TPoints[0].A, 100);
  EXPECT_EQ(g.AreaList()[1].TPoints[0].B, 100);
}

// A drag exactly along grid points zooms into the window its band shows, at
// any size of the control.
TEST(TernaryZoomSnap, ADragAlongGridPointsGivesTheWindowOfItsBand) {
  for (const QSize size : {QSize(700, 520), QSize(640, 480), QSize(1000, 800), QSize(523, 411),
                           QSize(811, 633), QSize(1280, 1024)}) {
    for (const double b : {20.0, 40.0, 60.0}) {
      TTernagram g;
      g.resize(size);
      ternarytest::LoadTestSystem(g);
      g.Repaint();
      // Along B = b from the left side (C = 0) to the right side (A = 0).
      const double dragged[][2] = {{100 - b, b}, {0, b}};
      const TPoint from = g.TriangleMap().transformRounded(dragged[0][0], dragged[0][1]);
      const TPoint to = g.TriangleMap().transformRounded(dragged[1][0], dragged[1][1]);
      TTernagramTestAccess::ZoomInFrom(g, from, to.X);
      const TTernaryWindow& w = g.ZoomWindow();
      EXPECT_EQ(w.Bmin, b) << size.width() << "x" << size.height() << " B " << b;
      EXPECT_EQ(w.Amin + w.Cmin, 0) << size.width() << "x" << size.height() << " B " << b;
    }
  }
}

// Zoomed, the corners are named by their compositions: long names, which
// must not cover the C scale's labels under the bottom side.
TEST(TernaryZoomedNames, LeaveEveryCScaleLabelReadable) {
  using painttest::ArialFont;
  using painttest::FindText;
  for (const QSize size : {QSize(700, 520), QSize(560, 420), QSize(900, 700)}) {
    TTernagram g;
    g.resize(size);
    ternarytest::LoadTestSystem(g);
    g.Repaint();
    const TPoint from = g.TriangleMap().transformRounded(80, 20);
    const TPoint to = g.TriangleMap().transformRounded(0, 20);
    TTernagramTestAccess::ZoomInFrom(g, from, to.X);
    g.Repaint();
    ASSERT_TRUE(g.Zoom());
    TBitmap probe(1, 1);
    probe.Canvas()->Font = ArialFont(g.CaptionFontSize(), fsItalic);
    for (int i = 1; i < g.GridSteps(); ++i) {
      const TRect box = g.CScaleLabelBox(*probe.Canvas(), i);
      const TRect around{box.Left - 2, box.Top - 1, box.Right + 2, box.Bottom + 1};
      EXPECT_TRUE(FindText(*g.Canvas(), g.CScaleLabel(i), ArialFont(g.CaptionFontSize(), fsItalic),
                           g.PaperColor(), around)
                      .has_value())
          << size.width() << "x" << size.height() << ": label " << g.CScaleLabel(i).toStdString()
          << " is covered";
    }
  }
}

}  // namespace
