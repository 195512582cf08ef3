// Zooming by a left-button drag, leaving the zoom by a click, and marking a
// point with the right button, driven by real Qt mouse events on a diagram
// of known geometry (the slanted boundary C = T / 25 and the vertical one at
// C 70 between "Alpha", "Alpha + Beta" and "Beta").
#include <gtest/gtest.h>

#include "diagram/mouse_test_support.h"

using namespace mousetest;

namespace {

constexpr int kAlpha = 0, kTwoPhase = 1, kBeta = 2;

class MouseZoom : public ::testing::Test {
 protected:
  void SetUp() override {
    g.resize(700, 520);
    auto put = [&](int i, const char* name, int twoPhase, float C, float T) {
      TPhaseArea a = g.AreaList().Get(i);
      a.Identifier = QString::fromLatin1(name);
      a.TwoPhase = std::uint8_t(twoPhase);
      a.C = C;
      a.T = T;
      g.AreaList().Put(i, a);
    };
    put(kAlpha, "Alpha", 0, 10, 500);
    put(kTwoPhase, "Alpha + Beta", 1, 40, 500);
    put(kBeta, "Beta", 0, 85, 500);
    g.SetAreas(3);
    TSplinesData d;
    d.Points = {{-1, -1}, {0, 0}, {40, 1000}, {-1, -1}, {70, 0}, {70, 1000}};
    d.LastIndex = 5;
    g.SetSplinesData(d);
    g.SetDrawSplines(true);
    g.SetDrawAreas(true);
    g.Repaint();
    g.SetOnZoomIn([this](QObject* s) {
      EXPECT_EQ(s, &g);
      ++zoomIns;
    });
    g.SetOnZoomOut([this](QObject* s) {
      EXPECT_EQ(s, &g);
      ++zoomOuts;
    });
    g.SetOnMarkPoint([this](QObject* s) {
      EXPECT_EQ(s, &g);
      ++marks;
    });
  }
  void ExpectLimits(double lowT, double highT, double lowC, double highC) {
    EXPECT_EQ(g.LowTLimit(), lowT);
    EXPECT_EQ(g.HighTLimit(), highT);
    EXPECT_EQ(g.LowCLimit(), lowC);
    EXPECT_EQ(g.HighCLimit(), highC);
  }
  CountingBinagram g;
  MessageCatcher messages;
  int zoomIns = 0, zoomOuts = 0, marks = 0;
};

bool IsAreaColour(TColor c) {
  for (int i = 0; i < 3; ++i)
    if (c == AreaColor(i)) return true;
  return c == clWhite;
}

}  // namespace

TEST_F(MouseZoom, DragZoomsIntoTheSnappedWindow) {
  const QPoint from = At(g, 13, 230), to = At(g, 44, 640);
  Press(&g, from);
  EXPECT_TRUE(g.ZoomDragging());
  const QImage clean = Region(g, PlotRect(g));
  Move(&g, (from + to) / 2, Qt::LeftButton);
  EXPECT_NE(Region(g, PlotRect(g)), clean) << "the rubber band shows while dragging";
  Move(&g, to, Qt::LeftButton);
  Release(&g, to);

  EXPECT_TRUE(g.Zooming());
  EXPECT_FALSE(g.ZoomDragging());
  EXPECT_EQ(zoomIns, 1);
  EXPECT_EQ(zoomOuts, 0);
  ExpectLimits(200, 700, 10, 50);
  EXPECT_EQ(g.ZoomLowTLimit(), 200);
  EXPECT_EQ(g.ZoomHighTLimit(), 700);
  EXPECT_EQ(g.ZoomLowCLimit(), 10);
  EXPECT_EQ(g.ZoomHighCLimit(), 50);
  EXPECT_EQ(g.SavedLowCLimit(), 0);
  EXPECT_EQ(g.SavedHighCLimit(), 100);
  EXPECT_EQ(g.SavedLowTLimit(), 0);
  EXPECT_EQ(g.SavedHighTLimit(), 1000);
  EXPECT_TRUE(messages.Texts.isEmpty());
  EXPECT_TRUE(g.Stale()) << "the zoomed picture is requested";
}

TEST_F(MouseZoom, EdgeSeedsComeFromTheUnzoomedPictureWithoutTheBand) {
  Drag(&g, At(g, 13, 230), At(g, 44, 640));
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
  // The left edge (C 10) leaves Alpha at T 250.
  ASSERT_EQ(g.LeftSeeds().Count, 2);
  EXPECT_EQ(g.LeftSeeds().Items[0].Color, AreaColor(kAlpha));
  EXPECT_NEAR(g.LeftSeeds().Items[0].Position, (700 + 262.5) / 2, 4);
  for (const TEdgeSeeds* s : {&g.TopSeeds(), &g.BottomSeeds(), &g.LeftSeeds(), &g.RightSeeds()})
    for (int i = 0; i < s->Count; ++i) EXPECT_TRUE(IsAreaColour(s->Items[i].Color)) << i;
}

TEST_F(MouseZoom, ZoomedPictureFillsAreasWhoseSeedLiesOutside) {
  Drag(&g, At(g, 13, 230), At(g, 44, 640));
  Settle(g);
  // Alpha's own seed (C 10) is on the window's edge, so only the edge seeds
  // can fill it; the whole plot is filled.
  EXPECT_EQ(g.Canvas()->Pixel(At(g, 12, 650).x(), At(g, 12, 650).y()), AreaColor(kAlpha));
  EXPECT_EQ(g.Canvas()->Pixel(At(g, 40, 300).x(), At(g, 40, 300).y()), AreaColor(kTwoPhase));
  EXPECT_EQ(CountColor(g, clWhite, PlotInterior(g)), 0);

  // The read-out follows the zoomed window.
  Move(&g, At(g, 30, 400));
  EXPECT_NEAR(g.CursorPoint().A, 30, 0.2);
  EXPECT_NEAR(g.CursorPoint().T, 400, 3);
  EXPECT_EQ(g.HotArea(), kTwoPhase);
}

TEST_F(MouseZoom, LowTemperatureRoundingBelowTheWindowKeepsTheLimit) {
  Drag(&g, At(g, 13, 30), At(g, 44, 640));
  ASSERT_TRUE(g.Zooming());
  ExpectLimits(0, 700, 10, 50);
  EXPECT_TRUE(messages.Texts.isEmpty());
}

TEST_F(MouseZoom, LeftClickWhileZoomedRestoresTheWindow) {
  Drag(&g, At(g, 13, 230), At(g, 44, 640));
  Settle(g);
  ASSERT_TRUE(g.Zooming());
  Click(&g, At(g, 30, 400));
  EXPECT_FALSE(g.Zooming());
  EXPECT_FALSE(g.ZoomDragging());
  EXPECT_EQ(zoomOuts, 1);
  EXPECT_EQ(zoomIns, 1);
  ExpectLimits(0, 1000, 0, 100);
  EXPECT_TRUE(messages.Texts.isEmpty());
  Settle(g);
  EXPECT_EQ(g.Canvas()->Pixel(At(g, 85, 500).x(), At(g, 85, 500).y()), AreaColor(kBeta));
}

TEST_F(MouseZoom, ClickWithoutMovementDoesNotZoom) {
  const int before = g.Repaints;
  Click(&g, At(g, 40, 500));
  EXPECT_FALSE(g.Zooming());
  EXPECT_FALSE(g.ZoomDragging());
  EXPECT_EQ(zoomIns, 0);
  EXPECT_EQ(g.Repaints, before + 1) << "the drag ends with a repaint at once";
  ExpectLimits(0, 1000, 0, 100);

  // A drag along one direction only does not zoom either.
  Drag(&g, At(g, 20, 500), At(g, 60, 500));
  EXPECT_FALSE(g.Zooming());
}

TEST_F(MouseZoom, LeavingThePlotCancelsTheDrag) {
  Press(&g, At(g, 20, 300));
  Move(&g, At(g, 40, 500), Qt::LeftButton);
  Move(&g, QPoint(g.PlotLeft() + g.PlotWidth() + 10, At(g, 40, 500).y()), Qt::LeftButton);
  EXPECT_FALSE(g.ZoomDragging());
  EXPECT_TRUE(g.Stale()) << "the band is repainted away";
  Release(&g, QPoint(g.PlotLeft() + g.PlotWidth() + 10, At(g, 40, 500).y()));
  EXPECT_FALSE(g.Zooming());
  EXPECT_EQ(zoomIns, 0);
}

TEST_F(MouseZoom, NoZoomWhenNotAllowed) {
  g.SetAllowZoom(false);
  Drag(&g, At(g, 13, 230), At(g, 44, 640));
  EXPECT_FALSE(g.Zooming());
  EXPECT_EQ(zoomIns, 0);
  ExpectLimits(0, 1000, 0, 100);
}

TEST_F(MouseZoom, RightButtonMarksTheCursorPoint) {
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

  // A plain left click removes the mark.
  const int repaints = g.Repaints;
  Click(&g, At(g, 85, 500));
  EXPECT_FALSE(g.MarkedPoint().Visible);
  EXPECT_GE(g.Repaints, repaints + 1);
  EXPECT_FALSE(g.Zooming());
}

TEST_F(MouseZoom, MarkingWithoutMarkModeStillFiresButAClickKeepsIt) {
  const QPoint p = At(g, 40, 500);
  Move(&g, p);
  Click(&g, p, Qt::RightButton);
  EXPECT_EQ(marks, 1);
  EXPECT_TRUE(g.MarkedPoint().Visible);
  Click(&g, p);
  EXPECT_TRUE(g.MarkedPoint().Visible) << "only a shown mark is removed by a click";
}

TEST_F(MouseZoom, NoMarkingWhileZoomed) {
  g.SetMarkMode(true);
  Drag(&g, At(g, 13, 230), At(g, 44, 640));
  Settle(g);
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
