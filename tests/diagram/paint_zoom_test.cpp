// Curves mapped into the zoom window and the zoomed area fill.
#include <gtest/gtest.h>

#include "diagram/paint_test_support.h"

using namespace painttest;

namespace {

// The window C 25..75, T 250..750 on a 200 x 200 plot at (100, 100) with the
// unzoomed window 0..100, 0..1000: it spans 150..250 both ways, scale 2.
class ZoomSegment : public ::testing::Test {
 protected:
  void SetUp() override {
    g.SetLayout(TBinaLayout{100, 100, 200, 200, 0});
    g.SetZoomWindow(25, 75, 250, 750);
    g.ComputeZoomWindow();
  }
  // The mapped segment, or a rectangle of -1 when nothing is visible.
  TRect Map(double px, double py, double qx, double qy) {
    TRect r{-1, -1, -1, -1};
    if (!g.MapZoomSegment(px, py, qx, qy, r)) return TRect{-1, -1, -1, -1};
    return r;
  }
  TBinagram g;
};

TEST_F(ZoomSegment, WindowRectangleAndScale) {
  EXPECT_DOUBLE_EQ(g.ZoomX1(), 150);
  EXPECT_DOUBLE_EQ(g.ZoomX2(), 250);
  EXPECT_DOUBLE_EQ(g.ZoomY1(), 150);
  EXPECT_DOUBLE_EQ(g.ZoomY2(), 250);
}

TEST_F(ZoomSegment, InsideSegmentIsScaled) {
  EXPECT_EQ(Map(160, 160, 240, 220), (TRect{120, 120, 280, 240}));
  // Ends within 3 pixels of an edge snap onto it.
  EXPECT_EQ(Map(151, 160, 200, 249), (TRect{100, 120, 200, 300}));
}

TEST_F(ZoomSegment, CrossingSegmentsAreCutAtTheEdges) {
  // Horizontal, entering through the left edge.
  EXPECT_EQ(Map(100, 200, 200, 200), (TRect{100, 200, 200, 200}));
  // The same backwards: still from P towards Q.
  EXPECT_EQ(Map(200, 200, 100, 200), (TRect{200, 200, 100, 200}));
  // Vertical through the whole window: cut at the top, then the bottom.
  EXPECT_EQ(Map(200, 0, 200, 400), (TRect{200, 100, 200, 300}));
  // Slanted through two corners' edges.
  EXPECT_EQ(Map(100, 100, 300, 300), (TRect{100, 100, 300, 300}));
  // Slanted, leaving through the right edge at y 230.
  EXPECT_EQ(Map(200, 180, 300, 280), (TRect{200, 160, 300, 260}));
  EXPECT_EQ(Map(300, 280, 200, 180), (TRect{300, 260, 200, 160}));
  // Vertical upwards through the window.
  EXPECT_EQ(Map(200, 400, 200, 0), (TRect{200, 300, 200, 100}));
}

TEST_F(ZoomSegment, OutsideSegmentsAreNotVisible) {
  EXPECT_EQ(Map(0, 0, 50, 80), (TRect{-1, -1, -1, -1}));
  EXPECT_EQ(Map(100, 300, 300, 300), (TRect{-1, -1, -1, -1}));  // below the window
  EXPECT_EQ(Map(200, 0, 200, 140), (TRect{-1, -1, -1, -1}));    // stops above it
}

TEST_F(ZoomSegment, EdgeToleranceOfOnePixel) {
  // Half a pixel left of the window, along it: still drawn, on the edge.
  EXPECT_EQ(Map(149.5, 160, 149.5, 200), (TRect{100, 120, 100, 200}));
  // A pixel and a half off: gone.
  EXPECT_EQ(Map(148.5, 160, 148.5, 200), (TRect{-1, -1, -1, -1}));
}

}  // namespace

namespace {

// Alpha | Alpha + Beta | Beta, split by the slanted boundary C = T / 25 and
// the vertical one at C 70.
class ZoomFill : public ::testing::Test {
 protected:
  void SetUp() override {
    g.resize(700, 520);
    auto put = [&](int i, const char* name, float C, float T) {
      TPhaseArea a = g.AreaList().Get(i);
      a.Identifier = QString::fromLatin1(name);
      a.C = C;
      a.T = T;
      g.AreaList().Put(i, a);
    };
    put(0, "Alpha", 10, 500);
    put(1, "Alpha + Beta", 40, 500);
    put(2, "Beta", 85, 500);
    g.SetAreas(3);
    TSplinesData d;
    d.Points = {{-1, -1}, {0, 0}, {40, 1000}, {-1, -1}, {70, 0}, {70, 1000}};
    d.LastIndex = 5;
    g.SetSplinesData(d);
    g.SetDrawSplines(true);
    g.SetDrawAreas(true);
    g.Repaint();
  }
  // What a zoom-in does: sample the edges of the unzoomed picture, then show
  // the window.
  void ZoomTo(double lowC, double highC, double lowT, double highT) {
    g.SetZoomWindow(lowC, highC, lowT, highT);
    g.ComputeZoomWindow();
    g.TakeEdgeSeeds();
    g.SetZooming(true);
    g.SetLowTLimit(lowT);
    g.SetHighTLimit(highT);
    g.SetLowCLimit(lowC);
    g.SetHighCLimit(highC);
    g.Repaint();
  }
  TColor At(double c, double t) {
    return Surface(g).Pixel(g.CompositionMap().transformRounded(c),
                            g.TemperatureMap().transformRounded(t));
  }
  TestBinagram g;
};

TEST_F(ZoomFill, AreasCutByTheWindowAreFilledFromTheEdges) {
  // Alpha's own point (C 10) lies on the window's edge: only the colours
  // sampled along the edges can fill it.
  ZoomTo(10, 50, 200, 700);
  EXPECT_EQ(At(12, 650), NearestColor(AreaColors[0]));
  EXPECT_EQ(At(14, 400), NearestColor(AreaColors[0]));  // the boundary is at C 16 there
  EXPECT_EQ(At(40, 300), NearestColor(AreaColors[1]));
  EXPECT_EQ(At(12, 210), NearestColor(AreaColors[1]));
  const TRect p = PlotRect(g);
  EXPECT_EQ(CountColor(Surface(g), clWhite, TRect{p.Left + 2, p.Top + 2, p.Right, p.Bottom}), 0);
}

TEST_F(ZoomFill, ZoomedCurvesAreDrawnTwoPixelsWide) {
  auto blackRun = [&](int x) {
    int n = 0;
    for (int y = g.PlotTop() + 3; y < g.PlotTop() + g.PlotHeight() - 2; ++y)
      n += Surface(g).Pixel(x, y) == clBlack;
    return n;
  };
  const int inner = g.PlotHeight() - 5;
  int x = g.CompositionMap().transformRounded(70);
  EXPECT_EQ(blackRun(x), inner);
  EXPECT_EQ(blackRun(x + 1), 0);

  ZoomTo(50, 90, 200, 700);
  x = g.CompositionMap().transformRounded(70);
  EXPECT_EQ(blackRun(x - 1), 0);
  EXPECT_EQ(blackRun(x), inner);
  EXPECT_EQ(blackRun(x + 1), inner);
  EXPECT_EQ(blackRun(x + 2), 0);
  EXPECT_EQ(At(60, 650), NearestColor(AreaColors[1]));
  EXPECT_EQ(At(80, 650), NearestColor(AreaColors[2]));
}

TEST_F(ZoomFill, AnAreaWhosePointLiesOnTheWindowEdgeIsNotFilled) {
  g.SetLowCLimit(10);  // unzoomed: Alpha's point C 10 is now on the left edge
  g.Repaint();
  EXPECT_EQ(At(12, 650), clWhite);
  EXPECT_EQ(At(40, 300), NearestColor(AreaColors[1]));
  EXPECT_EQ(At(85, 300), NearestColor(AreaColors[2]));
}

}  // namespace
