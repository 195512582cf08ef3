// Zooming the ternary control: the drag that chooses the window, the
// corner names, what stays locked while zoomed, the clipping of curve
// segments, and the zoomed picture with its edge-seeded areas.
#include <gtest/gtest.h>

#include <QDir>
#include <cmath>

#include "diagram/mouse_test_support.h"
#include "diagram/paint_test_support.h"
#include "diagram/ternary_fixture.h"
#include "diagram/ternary_access.h"
#include "ternary_test_system.h"

using namespace ternary;
using ternarytest::IsAreaColor;
using ternarytest::SavePicture;
using mousetest::Click;
using mousetest::Move;
using mousetest::Press;
using mousetest::Release;
using painttest::ArialFont;
using painttest::FindText;

namespace {

class TernagramZoom : public ternarytest::TestSystemFixture {
 protected:
  // Drags along B = 23.5 % from C = 37.4 % to C = 61.9 %.
  void DragWindow() {
    const QPoint from = At(100 - 23.5 - 37.4, 23.5), to = At(100 - 23.5 - 61.9, 23.5);
    mousetest::Drag(&g, from, to);
  }
};

}  // namespace

TEST_F(TernagramZoom, DragChoosesTheGridWindowAndAClickLeavesIt) {
  int zoomIns = 0, zoomOuts = 0;
  g.SetOnZoomIn([&](QObject*) { ++zoomIns; });
  g.SetOnZoomOut([&](QObject*) { ++zoomOuts; });

  // A click without movement neither zooms nor stays dragging.
  Click(&g, At(40, 30));
  EXPECT_FALSE(g.Zoom());
  EXPECT_FALSE(g.ZoomDragging());

  DragWindow();
  ASSERT_TRUE(g.Zoom());
  EXPECT_FALSE(g.ZoomDragging());
  EXPECT_EQ(zoomIns, 1);
  const TTernaryWindow& w = g.ZoomWindow();
  EXPECT_EQ(w.Amin, 10);
  EXPECT_EQ(w.Bmin, 20);
  EXPECT_EQ(w.Cmin, 30);
  EXPECT_EQ(w.Amax, 50);
  EXPECT_EQ(w.Bmax, 60);
  EXPECT_EQ(w.Cmax, 70);
  EXPECT_EQ(g.SubstanceA()->Name(), "SubA-50.0;SubB-20.0;SubC-30.0");
  EXPECT_EQ(g.SubstanceB()->Name(), "SubA-10.0;SubB-60.0;SubC-30.0");
  EXPECT_EQ(g.SubstanceC()->Name(), "SubA-10.0;SubB-20.0;SubC-70.0");
  EXPECT_EQ(g.SubstanceA()->DisplayName, "SubA");

  // The parts units rename the corners in parts; the window stays.
  g.SetCUnits(cuMolParts);
  EXPECT_EQ(g.SubstanceA()->Name(), "SubA-0.5;SubB-0.2;SubC-0.3");
  EXPECT_EQ(g.ZoomWindow().Amax, 50);
  g.SetCUnits(cuMolPercents);

  // Locked while zoomed: orientation, AllowZoom (with a message), marking
  // (the balloon still shows), the co-phase table.
  g.SetDataOrientation(doCBA);
  EXPECT_EQ(g.DataOrientation(), doDirect);
  {
    mousetest::MessageCatcher messages;
    g.SetAllowZoom(false);
    EXPECT_TRUE(g.AllowZoom());
    EXPECT_EQ(messages.Texts,
              QStringList{QStringLiteral("That property can not be changed while zooming.")});
  }
  g.SetMarkMode(true);
  mousetest::Settle(g);
  const QPoint inB = [&] {
    const TPoint p = g.ViewMap().transformRounded(15, 50);
    return QPoint(p.X, p.Y);
  }();
  Move(&g, inB);
  Press(&g, inB, Qt::RightButton);
  EXPECT_TRUE(g.BalloonShown());
  Release(&g, inB, Qt::RightButton);
  EXPECT_FALSE(g.MarkedPoint().Visible);

  // Any left click leaves the zoom and restores the names.
  Click(&g, QPoint(5, 5));
  EXPECT_FALSE(g.Zoom());
  EXPECT_EQ(zoomOuts, 1);
  EXPECT_EQ(g.SubstanceA()->Name(), "SubA");
  EXPECT_EQ(g.SubstanceB()->Name(), "SubB");
  EXPECT_EQ(g.SubstanceC()->Name(), "SubC");
  EXPECT_TRUE(g.Stale());
}

TEST_F(TernagramZoom, BandAndGuideLinesLeaveNoTraceAndWindowsNeverCollapse) {
  const QImage before = g.Canvas()->Image()->copy();
  const QPoint start = At(30, 20);
  Press(&g, start);
  Move(&g, start + QPoint(100, 0), Qt::LeftButton);
  const QImage wide = g.Canvas()->Image()->copy();
  Move(&g, start + QPoint(40, 0), Qt::LeftButton);
  const QImage narrow = g.Canvas()->Image()->copy();
  // The apex of the wide band, which the narrow one does not reach.
  const QPoint apex = start + QPoint(50, -RoundPixel(100 * Sin60));
  EXPECT_NE(wide.pixel(apex), before.pixel(apex));
  EXPECT_EQ(narrow.pixel(apex), before.pixel(apex));
  Release(&g, start + QPoint(40, 0));
  EXPECT_TRUE(g.Zoom());
  Click(&g, start);

  // Neither the band nor the guide lines are taken for area colours: the
  // sides' seeds are those of the clean picture.
  const QPoint from = At(100 - 23.5 - 37.4, 23.5), to = At(100 - 23.5 - 61.9, 23.5);
  mousetest::Settle(g);
  TTernagramTestAccess::ZoomInFrom(g, TPoint{from.x(), from.y()}, to.x());
  const std::array<TTernarySeeds, 3> clean{g.BottomSeeds(), g.LeftSeeds(), g.RightSeeds()};
  Click(&g, QPoint(2, 2));
  g.SetMouseGrid(true);
  mousetest::Settle(g);
  DragWindow();
  ASSERT_TRUE(g.Zoom());
  const std::array<TTernarySeeds, 3> dragged{g.BottomSeeds(), g.LeftSeeds(), g.RightSeeds()};
  for (int side = 0; side < 3; ++side) {
    ASSERT_EQ(dragged[side].Count, clean[side].Count) << side;
    for (int i = 0; i < clean[side].Count; ++i) {
      EXPECT_EQ(dragged[side].Items[i].Color, clean[side].Items[i].Color) << side;
      EXPECT_EQ(dragged[side].Items[i].Run, clean[side].Items[i].Run) << side;
    }
  }
  EXPECT_FALSE(g.MouseGridShown());
  Click(&g, QPoint(2, 2));
  g.SetMouseGrid(false);

  // A base of two pixels, bases near the corners, and a triangle with no
  // size at all: the window keeps a side of at least 10 % on the grid and
  // every share finite.
  struct Case {
    TPoint start;
    int x;
    bool degenerate;
  };
  const TTriangleMap map = g.TriangleMap();
  const int bottom = g.TriTop() + g.TriHeight();
  const TPoint apexPixel{g.TriLeft() + g.TriSide() / 2, g.TriTop() + 1};
  for (const Case& k : {Case{TPoint{At(40, 30).x(), At(40, 30).y()}, At(40, 30).x() + 2, false},
                        Case{TPoint{RoundPixel(map.LeftEdgeX(bottom)), bottom},
                             RoundPixel(map.RightEdgeX(bottom)), false},
                        Case{apexPixel, apexPixel.X + 2, false},
                        Case{TPoint{100, 100}, 200, true}}) {
    if (k.degenerate) {
      TTernaLayout none = g.Layout();
      none.TriSide = none.TriHeight = 0;
      g.SetLayout(none);
    }
    TTernagramTestAccess::ZoomInFrom(g, k.start, k.x);
    const TTernaryWindow& w = g.ZoomWindow();
    for (double v : {w.Amin, w.Bmin, w.Cmin}) {
      EXPECT_TRUE(std::isfinite(v)) << k.x;
      EXPECT_EQ(std::fmod(v, 10), 0) << k.x;
    }
    EXPECT_GE(w.Amax - w.Amin, 10) << k.x;
    EXPECT_GE(w.Amin, 0);
    EXPECT_EQ(w.Amax + w.Bmin + w.Cmin, 100);
    TPoint from, to;
    if (TTernagramTestAccess::Clip(g, 0, 0, 700, 520, from, to))
      EXPECT_TRUE(std::abs(from.X) < 100000 && std::abs(to.Y) < 100000);
    g.Repaint();  // draws without running away
    Click(&g, QPoint(2, 2));
    EXPECT_FALSE(g.Zoom());
  }
}

TEST_F(TernagramZoom, SegmentsAreClippedToTheWindowInTheirOwnDirection) {
  DragWindow();
  ASSERT_TRUE(g.Zoom());
  mousetest::Settle(g);  // the zoomed layout
  const TTriangleMap whole = g.TriangleMap(), view = g.ViewMap();
  auto px = [&](double A, double B) {
    const double y = whole.Y(B);
    return std::pair{whole.X(A, B, y), y};
  };
  auto zoomed = [&](double A, double B) { return view.transformRounded(A, B); };
  // How far a pixel lies from the zoomed triangle's outline (0 on it).
  auto offOutline = [&](TPoint p) {
    const double l = std::abs(p.X - view.LeftEdgeX(p.Y)), r = std::abs(p.X - view.RightEdgeX(p.Y));
    return std::min({l, r, double(std::abs(p.Y - (g.TriTop() + g.TriHeight())))});
  };
  // The image's corners sit a pixel inside the window's, so a magnified
  // unzoomed pixel lands up to one magnification (here 2.5) from where the
  // composition itself is drawn.
  auto near = [](TPoint a, TPoint b) { return std::abs(a.X - b.X) <= 3 && std::abs(a.Y - b.Y) <= 3; };

  struct Case {
    double pa, pb, qa, qb;
    bool visible, fromInside, toInside;
  };
  // Window A 10..50, B 20..60, C 30..70.
  for (const Case& k : {
           Case{80, 10, 70, 15, false, false, false},  // wholly outside
           Case{5, 90, 0, 80, false, false, false},    // outside, by the apex
           Case{20, 30, 30, 35, true, true, true},     // wholly inside
           Case{60, 40, 20, 40, true, false, true},    // enters through the left side
           Case{20, 40, 60, 40, true, true, false},    // the same, leaving
           Case{60, 40, 0, 40, true, false, false},    // crosses left and right
           Case{20, 45, 20, 5, true, true, false},     // leaves through the bottom
       }) {
    const auto [x1, y1] = px(k.pa, k.pb);
    const auto [x2, y2] = px(k.qa, k.qb);
    TPoint from, to;
    const bool visible = TTernagramTestAccess::Clip(g, x1, y1, x2, y2, from, to);
    ASSERT_EQ(visible, k.visible) << k.pa << " " << k.pb << " -> " << k.qa << " " << k.qb;
    if (!visible) continue;
    if (k.fromInside)
      EXPECT_TRUE(near(from, zoomed(k.pa, k.pb))) << k.pa << " " << k.pb;
    else
      EXPECT_LE(offOutline(from), 1.5) << k.pa << " " << k.pb;
    if (k.toInside)
      EXPECT_TRUE(near(to, zoomed(k.qa, k.qb))) << k.qa << " " << k.qb;
    else
      EXPECT_LE(offOutline(to), 1.5) << k.qa << " " << k.qb;
    // The part runs the segment's way.
    EXPECT_EQ((to.X - from.X > 0), (x2 - x1 > 0)) << k.pa << " " << k.pb;
  }
}

TEST_F(TernagramZoom, ZoomedPictureFillsEveryRegionAndClipsTheCurves) {
  DragWindow();
  ASSERT_TRUE(g.Zoom());
  Move(&g, QPoint(3, 3));  // away, so that no table covers the triangle
  mousetest::Settle(g);
  SavePicture(g, "ternary_zoomed");
  TCanvas& c = *g.Canvas();
  const TTriangleMap view = g.ViewMap();
  const int top = g.TriTop(), bottom = g.TriTop() + g.TriHeight();

  // No area's seed lies in this window: all three fields are coloured
  // from the edge seeds, each in its own colour.
  for (int i = 0; i < 3; ++i)
    EXPECT_FALSE(g.ZoomWindow().ContainsStrictly(g.AreaList()[i].FillA, g.AreaList()[i].FillB));
  EXPECT_GT(g.BottomSeeds().Count, 0);
  EXPECT_GT(g.LeftSeeds().Count, 0);
  EXPECT_GT(g.RightSeeds().Count, 0);
  struct Field {
    double A, B;
    int area;
  };
  for (const Field& f : {Field{45, 22, 0}, Field{15, 50, 1}, Field{15, 25, 2}}) {
    const TPoint p = view.transformRounded(f.A, f.B);
    EXPECT_EQ(c.Pixel(p.X, p.Y), NearestColor(AreaColors[f.area])) << f.area;
  }
  // No white is left anywhere inside the triangle, and no area colour
  // outside it but in the legend's column.
  int white = 0, outside = 0;
  for (int y = 0; y < c.Height(); ++y)
    for (int x = 0; x < g.TriLeft() + g.TriSide(); ++x) {
      const TColor p = c.Pixel(x, y);
      const bool inner = y > top + 4 && y < bottom - 3 && x > view.LeftEdgeX(y) + 3 &&
                         x < view.RightEdgeX(y) - 3;
      const bool near = y >= top - 4 && y <= bottom + 4 && x >= view.LeftEdgeX(y) - 4 &&
                        x <= view.RightEdgeX(y) + 4;
      if (inner && p == clWhite) ++white;
      if (!near && IsAreaColor(p)) ++outside;
    }
  EXPECT_EQ(white, 0);
  EXPECT_EQ(outside, 0);

  // The valley e2 runs through the window: black at its knot (20, 40).
  const TPoint knot = view.transformRounded(20, 40);
  int black = 0;
  for (int dy = -1; dy <= 1; ++dy)
    for (int dx = -1; dx <= 1; ++dx) black += c.Pixel(knot.X + dx, knot.Y + dy) == clBlack;
  EXPECT_GE(black, 2);
  // Clipped: without the curves nothing changes outside the triangle.
  const QImage withCurves = c.Image()->copy();
  g.SetDrawSplines(false);
  g.SetDrawAreas(false);
  mousetest::Settle(g);
  int differ = 0;
  for (int y = 0; y < c.Height(); ++y)
    for (int x = 0; x < c.Width(); ++x) {
      const bool near = y >= top - 3 && y <= bottom + 3 && x >= view.LeftEdgeX(y) - 3 &&
                        x <= view.RightEdgeX(y) + 3;
      if (!near && withCurves.pixel(x, y) != c.Image()->pixel(x, y)) ++differ;
    }
  EXPECT_EQ(differ, 0);
  g.SetDrawSplines(true);
  g.SetDrawAreas(true);
  mousetest::Settle(g);

  // The window's scales (5 steps of 8 %) and corner names.
  const TFont scale = ArialFont(g.CaptionFontSize(), fsItalic);
  const TRect below{g.TriLeft(), bottom, g.TriLeft() + g.TriSide(), bottom + 30};
  const TRect left{0, top, g.TriLeft() + g.TriSide() / 2, bottom};
  const TRect right{g.TriLeft() + g.TriSide() / 2, top, c.Width(), bottom};
  for (const char* v : {"38", "46", "54", "62"})
    EXPECT_TRUE(FindText(c, QString::fromLatin1(v), scale, g.PaperColor(), below)) << v;
  for (const char* v : {"42", "34", "26", "18"})
    EXPECT_TRUE(FindText(c, QString::fromLatin1(v), scale, g.PaperColor(), left)) << v;
  for (const char* v : {"52", "44", "36", "28"})
    EXPECT_TRUE(FindText(c, QString::fromLatin1(v), scale, g.PaperColor(), right)) << v;
  const TRect all{0, 0, c.Width(), c.Height()};
  for (const TSubstance* s : {g.SubstanceA(), g.SubstanceB(), g.SubstanceC()})
    EXPECT_TRUE(FindText(c, s->Name(), ArialFont(g.PanelFontSize()), g.PaperColor(), all))
        << s->Name().toStdString();
}
