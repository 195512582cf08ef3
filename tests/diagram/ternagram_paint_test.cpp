// The ternary control's picture: layout, triangle, curves, fill, T-points,
// grid and scales, texts and legend, read from the painted surface.
#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <cmath>

#include "diagram/paint_test_support.h"
#include "diagram/ternary_fixture.h"
#include "diagram/ternagram.h"
#include "ternary_test_system.h"

using namespace ternary;
using ternarytest::IsAreaColor;
using ternarytest::SavePicture;
using painttest::ArialFont;
using painttest::CountColor;
using painttest::FindText;

namespace {

// Area-coloured pixels outside the triangle, not counting the legend's
// swatches and the T-point circles (markers, not fills).
int AreaColorOutsideTriangle(TTernagram& g) {
  const TTriangleMap map = g.TriangleMap();
  TCanvas& c = *g.Canvas();
  std::vector<TPoint> tpoints;
  for (int i = 0; i < g.Areas(); ++i)
    for (int j = 0; j < std::min<int>(g.AreaList()[i].TPointCount, MaxTPoints); ++j) {
      const auto& t = g.AreaList()[i].TPoints[j];
      tpoints.push_back(map.transformRounded(t.A, t.B));
    }
  const int legendLeft = g.TriLeft() + g.TriSide();
  int n = 0;
  for (int y = 0; y < c.Height(); ++y)
    for (int x = 0; x < c.Width(); ++x) {
      if (!IsAreaColor(c.Pixel(x, y))) continue;
      if (y >= g.TriTop() - 1 && y <= g.TriTop() + g.TriHeight() + 1 &&
          x >= map.LeftEdgeX(y) - 2 && x <= map.RightEdgeX(y) + 2)
        continue;
      if (x > legendLeft) continue;  // the legend's swatches
      bool marker = false;
      for (TPoint p : tpoints) marker |= std::abs(p.X - x) <= 3 && std::abs(p.Y - y) <= 3;
      if (!marker) ++n;
    }
  return n;
}

}  // namespace

TEST(TernagramPaint, LayoutFollowsTheSize) {
  TTernagram g;
  ternarytest::LoadTestSystem(g);
  g.Repaint();
  EXPECT_EQ(g.LegendWidth(), 135);
  EXPECT_EQ(g.TriSide(), 214);
  EXPECT_EQ(g.TriHeight(), 185);
  EXPECT_EQ(g.TriLeft(), 60);
  EXPECT_EQ(g.TriTop(), 68);
  EXPECT_TRUE(g.Painted());

  struct Case {
    int w, h;
    bool legend, coPhases;
    int legendWidth;
  };
  for (const Case& c : {Case{3000, 2000, true, true, 180}, Case{469, 322, false, false, 0},
                        Case{469, 322, false, true, 135}, Case{469, 322, true, false, 135}}) {
    g.SetLegend(c.legend);
    g.SetCoPhasesTable(c.coPhases);
    g.RunLayout(c.w, c.h);
    EXPECT_EQ(g.LegendWidth(), c.legendWidth) << c.w << " " << c.legend << c.coPhases;
    EXPECT_EQ(g.TriHeight(), std::lround(g.TriSide() * Sin60)) << c.w;
  }
}

TEST(TernagramPaint, TestSystemPicture) {
  TTernagram g;
  g.resize(800, 600);
  ternarytest::LoadTestSystem(g);
  g.Repaint();
  SavePicture(g, "ternary_800x600");
  TCanvas& c = *g.Canvas();
  const TTriangleMap map = g.TriangleMap();

  // Every area's seed region carries its colour; nothing leaks out.
  for (int i = 0; i < g.Areas(); ++i) {
    const TPoint seed = map.transformRounded(g.AreaList()[i].FillA, g.AreaList()[i].FillB);
    EXPECT_EQ(c.Pixel(seed.X, seed.Y), NearestColor(AreaColors[i])) << i;
  }
  EXPECT_EQ(AreaColorOutsideTriangle(g), 0);

  // Outline and curves are black: the three sides and the valleys' bends.
  const int bottom = g.TriTop() + g.TriHeight();
  const int y3 = g.TriTop() + g.TriHeight() * 3 / 10;
  EXPECT_EQ(c.Pixel(g.TriLeft() + g.TriSide() * 3 / 10, bottom), clBlack);
  EXPECT_EQ(c.Pixel(RoundPixel(map.LeftEdgeX(y3)), y3), clBlack);
  EXPECT_EQ(c.Pixel(RoundPixel(map.RightEdgeX(y3)), y3), clBlack);
  for (auto [a, b] : {std::pair{50.0, 36.0}, {20.0, 40.0}, {46.0, 14.0}}) {
    const double y = map.Y(b);
    EXPECT_EQ(c.Pixel(RoundPixel(map.X(a, b, y)), RoundPixel(y)), clBlack) << a << " " << b;
  }

  // Scale labels 20..80 on each side, in the scale font on the paper.
  const TFont scaleFont = ArialFont(g.CaptionFontSize(), fsItalic);
  const TRect below{g.TriLeft(), bottom, g.TriLeft() + g.TriSide(), bottom + 30};
  for (const char* v : {"20", "40", "60", "80"}) {
    EXPECT_TRUE(FindText(c, QString::fromLatin1(v), scaleFont, g.PaperColor(), below)) << v;
    EXPECT_TRUE(FindText(c, QString::fromLatin1(v), scaleFont, g.PaperColor(),
                         TRect{0, g.TriTop(), g.TriLeft() + g.TriSide() / 2, bottom}))
        << v;
  }
  // Title above, caption below, corner names, legend entries.
  EXPECT_TRUE(FindText(c, QStringLiteral("Test System"), ArialFont(g.TitleFontSize()),
                       g.PaperColor(), TRect{0, 0, c.Width(), g.TriTop()}));
  EXPECT_TRUE(FindText(c, QStringLiteral("Mole Fraction in %"), ArialFont(g.CaptionFontSize()),
                       g.PaperColor(), TRect{0, bottom, c.Width(), c.Height()}));
  for (const char* n : {"SubA", "SubB", "SubC"})
    EXPECT_TRUE(FindText(c, QString::fromLatin1(n), ArialFont(g.PanelFontSize()), g.PaperColor(),
                         TRect{0, 0, c.Width(), c.Height()}))
        << n;
  for (const char* n : {"(A)", "(B)", "(C)"})
    EXPECT_TRUE(FindText(c, QString::fromLatin1(n), ArialFont(g.PanelFontSize()), clWhite,
                         TRect{g.TriLeft() + g.TriSide(), 0, c.Width(), c.Height()}))
        << n;
}

TEST(TernagramPaint, SmallTrianglesAndHostDataNeverFloodThePaper) {
  // 337 wide: a legend of 97 leaves a side of exactly 120.
  struct Case {
    int w, h, side;
    bool triangle, contents;
  };
  for (const Case& k : {Case{337, 315, 120, false, true}, Case{330, 315, 0, false, false},
                        Case{345, 315, 0, true, true}}) {
    TTernagram g;
    g.resize(k.w, k.h);
    ternarytest::LoadTestSystem(g);
    g.Repaint();
    SavePicture(g, QStringLiteral("ternary_small_%1").arg(k.w));
    if (k.side) EXPECT_EQ(g.TriSide(), k.side);
    const bool enlarge = FindText(*g.Canvas(), QStringLiteral("Enlarge Me.."), TFont{}, clWhite,
                                  TRect{0, 0, 120, 40})
                             .has_value();
    EXPECT_EQ(enlarge, !k.triangle) << k.w;
    // The legend's swatches are the only area colour outside the triangle.
    EXPECT_EQ(AreaColorOutsideTriangle(g), 0) << k.w;
    const TRect legendColumn{g.TriLeft() + g.TriSide() + 1, 0, k.w, k.h};
    const int swatches = CountColor(*g.Canvas(), NearestColor(AreaColors[2]), legendColumn);
    EXPECT_EQ(swatches > 0, k.contents) << k.w;
  }

  // The host's mistakes: seeds off the triangle, on black or not a number,
  // indices past the arrays, too many T-points, runs longer than a spline.
  TTernagram g;
  g.resize(700, 500);
  ternarytest::LoadTestSystem(g);
  g.AreaList()[0].FillA = 150;
  g.AreaList()[1].FillA = std::nanf("");
  g.AreaList()[2].FillA = 40;  // the ternary eutectic: a black curve point
  g.AreaList()[2].FillB = 30;
  g.AreaList()[2].TPointCount = 200;
  g.AreaList()[2].TPoints[11] = {1e30f, -1e30f, 5};
  g.CurveA().push_back(std::numeric_limits<double>::infinity());
  g.CurveB().push_back(10);
  for (int i = 0; i < 25; ++i) {
    g.CurveA().push_back(5 + i);
    g.CurveB().push_back(20 + (i % 3));
  }
  g.SetCurveLastIndex(100000);
  g.Repaint();
  EXPECT_EQ(AreaColorOutsideTriangle(g), 0);
  g.SetCurveLastIndex(-5);
  g.Repaint();
  EXPECT_TRUE(g.Painted());
}

TEST(TernagramPaint, GridTypesScalesAndCornerNames) {
  TTernagram g;
  g.resize(600, 450);
  ternarytest::LoadTestSystem(g);
  // Long names: A never left of x = 3, C ends 2 pixels before the right clamp.
  g.SubstanceA()->SetName(QString(16, QLatin1Char('W')));
  g.SubstanceC()->SetName(QString(16, QLatin1Char('M')));
  g.SetGridSteps(2);
  g.Repaint();
  SavePicture(g, "ternary_long_names");
  TCanvas& c = *g.Canvas();
  const TFont names = ArialFont(g.PanelFontSize());
  const int bottom = g.TriTop() + g.TriHeight();
  const TRect row{0, bottom, c.Width(), c.Height()};
  auto a = FindText(c, g.SubstanceA()->Name(), names, g.PaperColor(), row);
  auto cc = FindText(c, g.SubstanceC()->Name(), names, g.PaperColor(), row);
  ASSERT_TRUE(a && cc);
  EXPECT_EQ(a->X, 3);
  EXPECT_EQ(cc->X + painttest::TextWidthOf(names, g.SubstanceC()->Name()),
            2 * g.TriLeft() + g.TriSide() - 2);

  // Two steps: one label per side, "50"; parts units would write "0.5".
  const TFont scale = ArialFont(g.CaptionFontSize(), fsItalic);
  const TRect below{g.TriLeft(), bottom, g.TriLeft() + g.TriSide(), bottom + 30};
  EXPECT_TRUE(FindText(c, QStringLiteral("50"), scale, g.PaperColor(), below));
  // The inner grid alone: no scales, no ticks.
  g.SetGridType(gtInnerParallel);
  g.Repaint();
  EXPECT_FALSE(FindText(c, QStringLiteral("50"), scale, g.PaperColor(), below));
  // The line of B = 50 crosses the triangle's middle.
  const int mid = g.TriLeft() + g.TriSide() / 2;
  const int halfway = g.TriTop() + RoundPixel(g.TriSide() * Sin60 / 2);
  EXPECT_EQ(c.Pixel(mid, halfway), clBlack);
  // Scales alone: labels, no inner lines.
  g.SetGridType(gtOutsideScale);
  g.Repaint();
  SavePicture(g, "ternary_outside_scale");
  EXPECT_TRUE(FindText(c, QStringLiteral("50"), scale, g.PaperColor(), below));
  EXPECT_NE(c.Pixel(mid, halfway), clBlack);
}

TEST(TernagramPaint, CurvesEndingInOnePointLeaveNoGap) {
  // A line leaves out its last pixel. Two runs that end in the same point
  // from either side must still close the boundary there, else the fill
  // of one area runs through into the other.
  for (int w : {500, 731, 964}) {
    TTernagram g;
    g.resize(w, w * 3 / 4);
    ternarytest::SetArea(g, 0, QStringLiteral("above"), 15, 60, {});
    ternarytest::SetArea(g, 1, QStringLiteral("below"), 45, 10, {});
    g.SetAreas(2);
    ternarytest::SetCurves(g, {ternarytest::Sep, {70, 30}, {35, 30}, ternarytest::Sep, {0, 30}, {35, 30}});
    g.SetDrawSplines(true);
    g.SetDrawAreas(true);
    g.SetGridType(gtOutsideScale);
    g.Repaint();
    const TTriangleMap map = g.TriangleMap();
    for (int i = 0; i < 2; ++i) {
      const TPoint seed = map.transformRounded(g.AreaList()[i].FillA, g.AreaList()[i].FillB);
      EXPECT_EQ(g.Canvas()->Pixel(seed.X, seed.Y), NearestColor(AreaColors[i])) << w << " area " << i;
    }
  }
}
