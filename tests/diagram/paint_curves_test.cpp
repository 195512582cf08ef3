// Phase-boundary curves: smoothed, straight, split and faulty runs.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <utility>
#include <vector>

#include "diagram/paint_test_support.h"

using namespace painttest;

namespace {

using Points = std::vector<std::pair<float, float>>;  // (C, T); C -1 separates

// A plain 469 x 322 diagram (plot 233 x 202 at 117, 59) with only curves.
class Curves : public ::testing::Test {
 protected:
  void SetUp() override {
    g.SetValuesTable(false);
    g.SetCoPhasesTable(false);
    g.SetBorder(false);
    g.SetDrawSplines(true);
    g.resize(469, 322);
  }
  void Show(const Points& pts, int lastIndex = -1) {
    TSplinesData d;
    for (auto [c, t] : pts) d.Points.push_back(TSplinePoint{c, t});
    d.LastIndex = std::uint16_t(lastIndex >= 0 ? lastIndex : int(pts.size()) - 1);
    g.SetSplinesData(d);
    g.Repaint();
  }
  // Unzoomed pixel of (C, T), where the curve code places its points.
  double PX(double c) const { return g.SavedCompositionMap().transform(c); }
  double PY(double t) const { return g.SavedTemperatureMap().transform(t); }
  TRect Interior() const {
    return TRect{g.PlotLeft() + 2, g.PlotTop() + 2, g.PlotLeft() + g.PlotWidth() - 1,
                 g.PlotTop() + g.PlotHeight() - 1};
  }
  int Black() { return CountColor(Surface(g), clBlack, Interior()); }
  // The interior's black pixels.
  std::vector<TPoint> BlackPixels(const TCanvas& c) const {
    std::vector<TPoint> out;
    const TRect r = Interior();
    for (int y = r.Top; y < r.Bottom; ++y)
      for (int x = r.Left; x < r.Right; ++x)
        if (c.Pixel(x, y) == clBlack) out.push_back({x, y});
    return out;
  }
  // Pixels of `a` with no black pixel of `b` within `d` pixels.
  static int Farther(const std::vector<TPoint>& a, const TCanvas& b, int d) {
    int n = 0;
    for (const TPoint& p : a) {
      bool near = false;
      for (int v = -d; v <= d && !near; ++v)
        for (int u = -d; u <= d && !near; ++u) near = b.Pixel(p.X + u, p.Y + v) == clBlack;
      n += !near;
    }
    return n;
  }
  // A white plot with straight lines through the rounded points, in order.
  void StraightReference(TBitmap& ref, const Points& pts) {
    ref.SetSize(g.Width(), g.Height());
    TCanvas& c = *ref.Canvas();
    c.Brush.Color = clWhite;
    c.FillRect(TRect{0, 0, ref.Width(), ref.Height()});
    c.Pen.Color = clBlack;
    c.Pen.Width = 1;
    for (size_t i = 0; i < pts.size(); ++i) {
      const int x = RoundPixel(std::nearbyint(PX(pts[i].first)));
      const int y = RoundPixel(std::nearbyint(PY(pts[i].second)));
      if (i == 0)
        c.MoveTo(x, y);
      else
        c.LineTo(x, y);
    }
  }
  bool SameInterior(const TCanvas& a, const TCanvas& b) const {
    const TRect r = Interior();
    for (int y = r.Top; y < r.Bottom; ++y)
      for (int x = r.Left; x < r.Right; ++x)
        if (a.Pixel(x, y) != b.Pixel(x, y)) return false;
    return true;
  }
  TestBinagram g;
};

TEST_F(Curves, NothingIsDrawnForSinglePointsOrWithoutCurves) {
  Show({{-1, -1}, {50, 500}});
  EXPECT_EQ(Black(), 0);
  Show({{-1, -1}, {50, 500}, {-1, -1}, {20, 200}, {-1, -1}});
  EXPECT_EQ(Black(), 0);
  Show({{50, 500}, {60, 600}}, 0);  // last index 0: no curve at all
  EXPECT_EQ(Black(), 0);
  Show({{-1, -1}, {20, 200}, {80, 800}});
  EXPECT_GT(Black(), 100);
  g.SetDrawSplines(false);
  g.Repaint();
  EXPECT_EQ(Black(), 0);
}

TEST_F(Curves, VerticalBoundaryIsOneStraightColumn) {
  Show({{-1, -1}, {50, 200}, {50, 800}});
  const int x = RoundPixel(PX(50));
  const int rows = std::abs(RoundPixel(PY(800)) - RoundPixel(PY(200)));
  EXPECT_EQ(Black(), rows);
  const TRect r = Interior();
  EXPECT_EQ(CountColor(Surface(g), clBlack, TRect{x, r.Top, x + 1, r.Bottom}), rows);
}

TEST_F(Curves, CurveTurningBackInXIsDrawnStraightInTheReversedOrder) {
  // Not monotonic either way: the spline refuses it and leaves the knots
  // reversed, so the straight polyline runs from the last point to the first.
  const Points pts{{20, 200}, {60, 500}, {30, 800}};
  Show({{-1, -1}, pts[0], pts[1], pts[2]});
  TBitmap ref;
  StraightReference(ref, {pts[2], pts[1], pts[0]});
  EXPECT_TRUE(SameInterior(Surface(g), *ref.Canvas()));
}

TEST_F(Curves, KnotsCloserThanATenthOfAPixelGiveStraightSegments) {
  const Points pts{{50, 200}, {50.01f, 500}, {70, 800}};
  Show({{-1, -1}, pts[0], pts[1], pts[2]});
  TBitmap ref;
  StraightReference(ref, pts);
  EXPECT_TRUE(SameInterior(Surface(g), *ref.Canvas()));
}

TEST_F(Curves, CurveIsSmoothedTheSameWhicheverWayItIsGiven) {
  const Points pts{{10, 300}, {35, 500}, {65, 550}, {90, 800}};
  Show({{-1, -1}, pts[0], pts[1], pts[2], pts[3]});
  TBitmap forward;
  forward.SetSize(g.Width(), g.Height());
  forward.Canvas()->CopyRect(TRect{0, 0, g.Width(), g.Height()}, Surface(g),
                             TRect{0, 0, g.Width(), g.Height()});
  const std::vector<TPoint> fw = BlackPixels(*forward.Canvas());

  Show({{-1, -1}, pts[3], pts[2], pts[1], pts[0]});
  const std::vector<TPoint> bw = BlackPixels(Surface(g));
  ASSERT_GT(fw.size(), 150u);
  // The same curve, give or take the pixel a line leaves out at its end.
  EXPECT_EQ(Farther(fw, Surface(g), 1), 0);
  EXPECT_EQ(Farther(bw, *forward.Canvas(), 1), 0);
  EXPECT_NEAR(double(fw.size()), double(bw.size()), 0.05 * fw.size());

  // And it is smooth, not the straight polyline through the knots.
  TBitmap straight;
  StraightReference(straight, pts);
  EXPECT_GT(Farther(fw, *straight.Canvas(), 1), 10);
}

TEST_F(Curves, RunLongerThanTenPointsIsDrawnInPiecesSharingTheirEnds) {
  Points run;
  for (int i = 0; i < 15; ++i) run.push_back({float(5 + 6 * i), float(500 + 300 * std::sin(i / 2.0))});
  Points whole{{-1, -1}};
  whole.insert(whole.end(), run.begin(), run.end());
  Show(whole);
  TBitmap one;
  one.SetSize(g.Width(), g.Height());
  one.Canvas()->CopyRect(TRect{0, 0, g.Width(), g.Height()}, Surface(g),
                         TRect{0, 0, g.Width(), g.Height()});

  Points split{{-1, -1}};
  split.insert(split.end(), run.begin(), run.begin() + 10);
  split.push_back({-1, -1});
  split.insert(split.end(), run.begin() + 9, run.end());
  Show(split);
  EXPECT_TRUE(SameInterior(Surface(g), *one.Canvas()));
  // The curve reaches its last point (the pixel just before it).
  const TRect nearEnd{RoundPixel(PX(run[14].first)) - 3, RoundPixel(PY(run[14].second)) - 3,
                      RoundPixel(PX(run[14].first)) + 4, RoundPixel(PY(run[14].second)) + 4};
  EXPECT_GT(CountColor(*one.Canvas(), clBlack, nearEnd), 0);

  // 25 points in one run: three pieces, and still the same picture.
  Points longer{{-1, -1}};
  for (int i = 0; i < 25; ++i) longer.push_back({float(2 + 4 * i), float(200 + 25 * i)});
  Show(longer);
  Points pieces{{-1, -1}};
  for (int i = 0; i < 10; ++i) pieces.push_back(longer[1 + i]);
  pieces.push_back({-1, -1});
  for (int i = 9; i < 19; ++i) pieces.push_back(longer[1 + i]);
  pieces.push_back({-1, -1});
  for (int i = 18; i < 25; ++i) pieces.push_back(longer[1 + i]);
  TBitmap three;
  three.SetSize(g.Width(), g.Height());
  three.Canvas()->CopyRect(TRect{0, 0, g.Width(), g.Height()}, Surface(g),
                           TRect{0, 0, g.Width(), g.Height()});
  Show(pieces);
  EXPECT_TRUE(SameInterior(Surface(g), *three.Canvas()));
}

TEST_F(Curves, PointWithoutAPlaceEndsTheCurve) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  Show({{-1, -1}, {10, 100}, {20, 200}, {-1, -1}, {30, 400}, {40, 500}});
  TBitmap expected;
  expected.SetSize(g.Width(), g.Height());
  expected.Canvas()->CopyRect(TRect{0, 0, g.Width(), g.Height()}, Surface(g),
                              TRect{0, 0, g.Width(), g.Height()});
  Show({{-1, -1}, {10, 100}, {20, 200}, {nan, 300}, {30, 400}, {40, 500}});
  EXPECT_TRUE(SameInterior(Surface(g), *expected.Canvas()));
  Show({{-1, -1}, {10, 100}, {20, 200}, {25, inf}, {30, 400}, {40, 500}});
  EXPECT_TRUE(SameInterior(Surface(g), *expected.Canvas()));
  // Far outside the plot: drawn towards it and clipped, nothing else.
  Show({{-1, -1}, {50, 500}, {1e30f, 500}, {-1, -1}, {50, 600}, {50, -1e30f}});
  EXPECT_TRUE(g.Painted());
  EXPECT_EQ(Surface(g).Pixel(RoundPixel(PX(80)), RoundPixel(PY(500))), clBlack);
}

}  // namespace
