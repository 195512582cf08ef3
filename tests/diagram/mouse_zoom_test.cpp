// Zooming by a left-button drag, leaving the zoom by a click, and marking a
// point with the right button, driven by real Qt mouse events on the small
// test diagram of mouse_test_support.h.
#include <gtest/gtest.h>

#include "diagram/mouse_test_support.h"

using namespace mousetest;

namespace {

class MouseZoom : public ::testing::Test {
 protected:
  void SetUp() override {
    LoadTestDiagram(g);
    g.SetOnZoomIn([this](QObject* s) { zoomIns += s == &g; });
    g.SetOnZoomOut([this](QObject* s) { zoomOuts += s == &g; });
    g.SetOnMarkPoint([this](QObject* s) { marks += s == &g; });
  }
  void ExpectLimits(double lowT, double highT, double lowC, double highC) {
    EXPECT_EQ(g.LowTLimit(), lowT);
    EXPECT_EQ(g.HighTLimit(), highT);
    EXPECT_EQ(g.LowCLimit(), lowC);
    EXPECT_EQ(g.HighCLimit(), highC);
  }
  // The drag used throughout: C 13..44, T 230..640 snaps to 10..50, 200..700.
  void ZoomIn() { Drag(&g, At(g, 13, 230), At(g, 44, 640)); }
  CountingBinagram g;
  MessageCatcher messages;
  int zoomIns = 0, zoomOuts = 0, marks = 0;
};

}  // namespace

TEST_F(MouseZoom, DragZoomsIntoTheSnappedWindowAndAClickLeavesIt) {
  const QPoint from = At(g, 13, 230), to = At(g, 44, 640);
  Press(&g, from);
  EXPECT_TRUE(g.ZoomDragging());
  const QImage clean = Region(g, PlotRect(g));
  Move(&g, (from + to) / 2, Qt::LeftButton);
  EXPECT_NE(Region(g, PlotRect(g)), clean) << "the rubber band shows while dragging";
  Move(&g, to, Qt::LeftButton);
  Release(&g, to);
  EXPECT_EQ(Region(g, PlotRect(g)), clean) << "the band is erased, the zoomed picture pending";
  EXPECT_TRUE(g.Stale());

  EXPECT_TRUE(g.Zooming());
  EXPECT_FALSE(g.ZoomDragging());
  EXPECT_EQ(zoomIns, 1);
  ExpectLimits(200, 700, 10, 50);
  EXPECT_EQ(g.ZoomLowTLimit(), 200);
  EXPECT_EQ(g.ZoomHighTLimit(), 700);
  EXPECT_EQ(g.ZoomLowCLimit(), 10);
  EXPECT_EQ(g.ZoomHighCLimit(), 50);
  EXPECT_EQ(g.SavedLowCLimit(), 0);
  EXPECT_EQ(g.SavedHighTLimit(), 1000);

  // The read-out follows the zoomed window.
  Move(&g, At(g, 30, 400));
  EXPECT_NEAR(g.CursorPoint().A, 30, 0.2);
  EXPECT_NEAR(g.CursorPoint().T, 400, 3);
  EXPECT_EQ(g.HotArea(), kTwoPhase);

  Click(&g, At(g, 30, 400));
  EXPECT_FALSE(g.Zooming());
  EXPECT_FALSE(g.ZoomDragging());
  EXPECT_EQ(zoomOuts, 1);
  EXPECT_EQ(zoomIns, 1);
  ExpectLimits(0, 1000, 0, 100);
  Settle(g);
  EXPECT_EQ(g.Canvas()->Pixel(At(g, 85, 500).x(), At(g, 85, 500).y()), AreaColor(kBeta));
  EXPECT_TRUE(messages.Texts.isEmpty());
}

TEST_F(MouseZoom, EdgeSeedsComeFromTheUnzoomedPictureWithoutTheBand) {
  ZoomIn();
  ASSERT_TRUE(g.Zooming());
  // Along the top edge (T 700) Alpha reaches C 28, then the two-phase field.
  const TEdgeSeeds& top = g.TopSeeds();
  ASSERT_EQ(top.Count, 2);
  EXPECT_EQ(top.Items[0].Color, AreaColor(kAlpha));
  EXPECT_EQ(top.Items[1].Color, AreaColor(kTwoPhase));
  EXPECT_GT(top.Items[0].Position, 10);
  EXPECT_LT(top.Items[0].Position, 28);
  EXPECT_GT(top.Items[1].Position, 28);
  EXPECT_LT(top.Items[1].Position, 50);
  // The bottom edge (T 200) lies in the two-phase field all along.
  ASSERT_EQ(g.BottomSeeds().Count, 1);
  EXPECT_EQ(g.BottomSeeds().Items[0].Color, AreaColor(kTwoPhase));
  EXPECT_NEAR(g.BottomSeeds().Items[0].Position, 30, 1) << "the middle of its run";
  // The left edge, two pixels inside C 10, leaves Alpha at T 262.5.
  ASSERT_EQ(g.LeftSeeds().Count, 2);
  EXPECT_EQ(g.LeftSeeds().Items[0].Color, AreaColor(kAlpha));
  EXPECT_NEAR(g.LeftSeeds().Items[0].Position, (700 + 262.5) / 2, 4);
  ASSERT_EQ(g.RightSeeds().Count, 1);
  EXPECT_EQ(g.RightSeeds().Items[0].Color, AreaColor(kTwoPhase));
}

TEST_F(MouseZoom, ZoomedPictureFillsAreasWhoseSeedLiesOutside) {
  ZoomIn();
  Settle(g);
  // Alpha's own point (C 10) is on the window's edge, so only the edge seeds
  // can fill it; the whole plot is filled.
  EXPECT_EQ(g.Canvas()->Pixel(At(g, 12, 650).x(), At(g, 12, 650).y()), AreaColor(kAlpha));
  EXPECT_EQ(g.Canvas()->Pixel(At(g, 40, 300).x(), At(g, 40, 300).y()), AreaColor(kTwoPhase));
  EXPECT_EQ(CountColor(g, clWhite, PlotInterior(g)), 0);
}

TEST_F(MouseZoom, LowTemperatureRoundingBelowTheWindowKeepsTheLimit) {
  Drag(&g, At(g, 13, 30), At(g, 44, 640));
  ASSERT_TRUE(g.Zooming());
  ExpectLimits(0, 700, 10, 50);
  EXPECT_TRUE(messages.Texts.isEmpty());
}

TEST_F(MouseZoom, ClickOrOneWayDragDoesNotZoom) {
  const int before = g.Repaints;
  Click(&g, At(g, 40, 500));
  EXPECT_FALSE(g.ZoomDragging());
  EXPECT_EQ(g.Repaints, before + 1) << "the drag ends with a repaint at once";
  Drag(&g, At(g, 20, 500), At(g, 60, 500));
  g.SetAllowZoom(false);
  ZoomIn();
  EXPECT_FALSE(g.Zooming());
  EXPECT_EQ(zoomIns, 0);
  ExpectLimits(0, 1000, 0, 100);
}

TEST_F(MouseZoom, LeavingThePlotCancelsTheDrag) {
  const QPoint out(g.PlotLeft() + g.PlotWidth() + 10, At(g, 40, 500).y());
  Press(&g, At(g, 20, 300));
  Move(&g, At(g, 40, 500), Qt::LeftButton);
  Move(&g, out, Qt::LeftButton);
  EXPECT_FALSE(g.ZoomDragging());
  EXPECT_TRUE(g.Stale()) << "the band is repainted away";
  Release(&g, out);
  EXPECT_FALSE(g.Zooming());
  EXPECT_EQ(zoomIns, 0);
}

TEST_F(MouseZoom, RightButtonMarksTheCursorPointAndALeftClickRemovesIt) {
  g.SetMarkMode(true);
  const QPoint p = At(g, 40, 500);
  Move(&g, p);
  Press(&g, p, Qt::RightButton);
  EXPECT_EQ(marks, 0) << "marking happens on release";
  const int before = g.Requests();
  Release(&g, p, Qt::RightButton);
  EXPECT_EQ(marks, 1);
  EXPECT_FALSE(g.BalloonShown());
  EXPECT_GT(g.Requests(), before);

  const TFullDataPoint& m = g.MarkedPoint();
  const TFullDataPoint& c = g.CursorPoint();
  EXPECT_TRUE(m.Visible);
  EXPECT_EQ(m.A, c.A);
  EXPECT_EQ(m.T, c.T);
  EXPECT_EQ(m.CoPhases, 2);
  EXPECT_EQ(m.PhaseName, "Alpha + Beta");
  EXPECT_EQ(m.Phase1Name, "Alpha");
  EXPECT_EQ(m.Phase2Name, "Beta");
  EXPECT_EQ(m.Phase1Value, c.Phase1Value);
  EXPECT_EQ(m.Phase2Value, c.Phase2Value);
  EXPECT_EQ(m.Phase1Ratio, c.Phase1Ratio);
  EXPECT_EQ(m.Phase2Ratio, c.Phase2Ratio);

  // The marked point stays while the cursor reads elsewhere.
  Move(&g, At(g, 85, 500));
  EXPECT_EQ(g.MarkedPoint().PhaseName, "Alpha + Beta");
  EXPECT_EQ(g.CursorPoint().PhaseName, "Beta");

  const int repaints = g.Repaints;
  Click(&g, At(g, 85, 500));
  EXPECT_FALSE(g.MarkedPoint().Visible);
  EXPECT_GE(g.Repaints, repaints + 1);
  EXPECT_FALSE(g.Zooming());

  // Without MarkMode a point is still marked, but a click does not remove it.
  g.SetMarkMode(false);
  Click(&g, p, Qt::RightButton);
  EXPECT_EQ(marks, 2);
  Click(&g, p);
  EXPECT_TRUE(g.MarkedPoint().Visible);
}

TEST_F(MouseZoom, NoMarkingWhileZoomed) {
  g.SetMarkMode(true);
  ZoomIn();
  ASSERT_TRUE(g.Zooming());
  const QPoint p = At(g, 30, 400);
  Move(&g, p);
  Press(&g, p, Qt::RightButton);
  EXPECT_TRUE(g.BalloonShown());
  Release(&g, p, Qt::RightButton);
  EXPECT_EQ(marks, 0);
  EXPECT_FALSE(g.MarkedPoint().Visible);
  EXPECT_FALSE(g.BalloonShown());
  EXPECT_TRUE(g.Zooming()) << "the right button does not leave the zoom";
}
