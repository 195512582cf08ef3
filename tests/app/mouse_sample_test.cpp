// The mouse on the sample Al2O3-SiO2 diagram (compositions as SiO2), as the
// user works with it: reading a two-phase field, a boundary, zooming into the
// liquidus and out again, marking a point; on a control of the design size
// and on the real main window.
#include <gtest/gtest.h>

#include <QGroupBox>
#include <QTest>

#include "app/main_form.h"
#include "app/sample_system.h"
#include "diagram/mouse_test_support.h"

using namespace mousetest;

namespace {

constexpr int kLiquid = 0, kMulliteLiquid = 1;

class SampleMouse : public ::testing::Test {
 protected:
  void SetUp() override {
    g.resize(469, 322);
    LoadSampleSystem(g);
    g.Repaint();
    g.SetOnZoomIn([this](QObject*) { ++zoomIns; });
    g.SetOnZoomOut([this](QObject*) { ++zoomOuts; });
    g.SetOnMarkPoint([this](QObject*) { ++marks; });
    px = 100.0 / g.PlotWidth();
  }
  CountingBinagram g;
  MessageCatcher messages;
  int zoomIns = 0, zoomOuts = 0, marks = 0;
  double px = 0;  // percent per pixel
};

}  // namespace

TEST_F(SampleMouse, MulliteAndLiquidFieldReadsBothPhasesByTheLeverRule) {
  // Off the grid lines (every 5 % and 100 degrees).
  Move(&g, At(g, 57, 1720));
  const TFullDataPoint& cp = g.CursorPoint();
  EXPECT_NEAR(cp.A, 57, px);
  EXPECT_NEAR(cp.T, 1720, 700.0 / g.PlotHeight());
  EXPECT_EQ(g.HotArea(), kMulliteLiquid);
  EXPECT_EQ(cp.PhaseName, "Mullite ss + Liquid");
  ASSERT_EQ(cp.CoPhases, 2);
  // The tie line runs from the mullite boundary at 28 % to the liquidus,
  // which passes 85 % at 1700 and 80 % at 1728 degrees.
  EXPECT_EQ(cp.Phase1Name, "Mullite ss");
  EXPECT_NEAR(cp.Phase1Value, 28, 3 * px);
  EXPECT_EQ(cp.Phase2Name, "Liquid");
  EXPECT_GT(cp.Phase2Value, 80);
  EXPECT_LT(cp.Phase2Value, 84);
  EXPECT_NEAR(cp.Phase1Ratio + cp.Phase2Ratio, g.CompositionScale(), 1e-9);
  EXPECT_NEAR(cp.Phase2Ratio, (57 - 28) / (82.0 - 28) * 100, 4);
}

TEST_F(SampleMouse, MullitePhaseBoundaryIsADivisionPointAndTheBalloonSaysSo) {
  const QPoint near = At(g, 31, 1720);
  Move(&g, near);
  int x = At(g, 28, 1720).x();
  for (int d : {0, -1, 1, -2, 2})
    if (g.Canvas()->Pixel(At(g, 28, 1720).x() + d, near.y()) == clBlack) {
      x = At(g, 28, 1720).x() + d;
      break;
    }
  const QPoint p(x, near.y());
  Move(&g, p);
  EXPECT_TRUE(g.DivisionPoint());
  EXPECT_EQ(g.DivisionText(), "Division Point");
  Press(&g, p, Qt::RightButton);
  EXPECT_TRUE(g.BalloonShown());
  // Left half of the plot: the label opens to the right of the cursor.
  EXPECT_GT(CountColor(g, clInfoBk, TRect{p.x(), p.y() - 25, p.x() + 100, p.y()}), 150);
  EXPECT_EQ(CountColor(g, clInfoBk, TRect{p.x() - 100, p.y() - 25, p.x(), p.y()}), 0);
  Release(&g, p, Qt::RightButton);
  Move(&g, near);
  EXPECT_EQ(CountColor(g, clInfoBk, TRect{0, 0, g.Width(), g.Height()}), 0);
  EXPECT_EQ(g.HotArea(), kMulliteLiquid);
}

TEST_F(SampleMouse, DragIntoTheLiquidusZoomsToTheSnappedWindowAndFillsIt) {
  Drag(&g, At(g, 60, 1820), At(g, 80, 1930));
  ASSERT_TRUE(g.Zooming());
  EXPECT_EQ(zoomIns, 1);
  EXPECT_EQ(g.LowTLimit(), 1800);
  EXPECT_EQ(g.HighTLimit(), 2000);
  EXPECT_EQ(g.LowCLimit(), 60);
  EXPECT_EQ(g.HighCLimit(), 90);
  EXPECT_TRUE(messages.Texts.isEmpty());

  Settle(g);
  // The liquid's own point (60 %, 1900) lies on the window's edge and the
  // mullite field's far below it: both are filled from the edge seeds.
  const TRect inner = PlotInterior(g);
  EXPECT_EQ(CountColor(g, clWhite, inner), 0) << "every area cut by the window is filled";
  EXPECT_GT(CountColor(g, AreaColor(kLiquid), inner), inner.Width() * inner.Height() / 2);
  const QPoint corner = At(g, 60.5, 1801);
  EXPECT_EQ(g.Canvas()->Pixel(corner.x() + 2, corner.y() - 2), AreaColor(kMulliteLiquid));

  Click(&g, At(g, 70, 1900));
  EXPECT_FALSE(g.Zooming());
  EXPECT_EQ(zoomOuts, 1);
  EXPECT_EQ(g.LowTLimit(), 1400);
  EXPECT_EQ(g.HighTLimit(), 2100);
  EXPECT_EQ(g.LowCLimit(), 0);
  EXPECT_EQ(g.HighCLimit(), 100);
  EXPECT_TRUE(messages.Texts.isEmpty());
}

TEST_F(SampleMouse, RightClickMarksThePointAndALeftClickRemovesIt) {
  ASSERT_TRUE(g.MarkMode());
  const QPoint p = At(g, 57, 1720);
  Move(&g, p);
  Click(&g, p, Qt::RightButton);
  EXPECT_EQ(marks, 1);
  const TFullDataPoint& m = g.MarkedPoint();
  EXPECT_TRUE(m.Visible);
  EXPECT_EQ(m.PhaseName, "Mullite ss + Liquid");
  EXPECT_EQ(m.Phase1Name, "Mullite ss");
  EXPECT_EQ(m.Phase2Name, "Liquid");
  EXPECT_EQ(m.A, g.CursorPoint().A);
  EXPECT_EQ(m.Phase1Ratio, g.CursorPoint().Phase1Ratio);

  // The marked cross is in the picture now.
  Settle(g);
  EXPECT_EQ(g.Canvas()->Pixel(p.x() + 3, p.y() + 3), clBlack);

  Click(&g, At(g, 40, 1500));
  EXPECT_FALSE(g.MarkedPoint().Visible);
  EXPECT_FALSE(g.Zooming());
}

TEST(MainFormMouse, ZoomGreysTheUnitAndOrientationGroupsUntilZoomOut) {
  TMainForm form;
  form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  auto* g = form.findChild<TBinagram*>("Binagram1");
  ASSERT_NE(g, nullptr);
  QApplication::processEvents();
  Settle(*g);
  ASSERT_TRUE(g->Painted());
  auto* units = form.findChild<QGroupBox*>("RadioGroup1");
  auto* orientation = form.findChild<QGroupBox*>("RadioGroup4");
  auto* temperature = form.findChild<QGroupBox*>("RadioGroup5");
  ASSERT_TRUE(units && orientation && temperature);
  ASSERT_TRUE(units->isEnabled());

  Drag(g, At(*g, 60, 1820), At(*g, 80, 1930));
  ASSERT_TRUE(g->Zooming());
  EXPECT_EQ(g->LowTLimit(), 1800);
  EXPECT_EQ(g->HighTLimit(), 2000);
  EXPECT_EQ(g->LowCLimit(), 60);
  EXPECT_EQ(g->HighCLimit(), 90);
  EXPECT_FALSE(units->isEnabled());
  EXPECT_FALSE(orientation->isEnabled());
  EXPECT_FALSE(temperature->isEnabled());

  QApplication::processEvents();
  Click(g, At(*g, 70, 1900));
  EXPECT_FALSE(g->Zooming());
  EXPECT_EQ(g->LowTLimit(), 1400);
  EXPECT_EQ(g->HighTLimit(), 2100);
  EXPECT_TRUE(units->isEnabled());
  EXPECT_TRUE(orientation->isEnabled());
  EXPECT_TRUE(temperature->isEnabled());
}
