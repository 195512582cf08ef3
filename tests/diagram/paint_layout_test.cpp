// Layout of the screen picture, font sizes, the small-control rules and
// painting at any control size.
#include <gtest/gtest.h>

#include <climits>

#include "diagram/paint_test_support.h"

using namespace painttest;

namespace {

TEST(PaintLayout, LegendColumnAtDesignSize) {
  TBinagram g;
  g.RunLayout(469, 322);
  EXPECT_EQ(g.LegendWidth(), 135);
  EXPECT_EQ(g.PlotWidth(), 214);
  EXPECT_EQ(g.PlotHeight(), 185);  // round(214 * 0.8660254) is below 202
  EXPECT_EQ(g.PlotLeft(), 59);
  EXPECT_EQ(g.PlotTop(), 67);
}

TEST(PaintLayout, NoColumnWithoutLegendAndTables) {
  TBinagram g;
  g.SetValuesTable(false);
  g.SetCoPhasesTable(false);
  g.RunLayout(469, 322);
  // Legend is on but there are no areas: no column either.
  EXPECT_EQ(g.LegendWidth(), 0);
  EXPECT_EQ(g.PlotWidth(), 233);  // 349 is above round(202 / 0.8660254)
  EXPECT_EQ(g.PlotHeight(), 202);
  EXPECT_EQ(g.PlotLeft(), 117);
  EXPECT_EQ(g.PlotTop(), 59);

  g.SetAreas(1);
  g.RunLayout(469, 322);
  EXPECT_EQ(g.LegendWidth(), 135);
}

TEST(PaintLayout, ColumnWidthIsCappedAndOddSizesTruncate) {
  TBinagram g;
  g.RunLayout(1920, 1080);
  EXPECT_EQ(g.LegendWidth(), 180);  // round(sqrt(1920) * sqrt(160)) = 554
  EXPECT_EQ(g.PlotHeight(), 960);
  EXPECT_EQ(g.PlotWidth(), 1109);  // round(960 / 0.8660254)
  EXPECT_EQ(g.PlotLeft(), (1920 - 1109 - 180 - 2) / 2);
  EXPECT_EQ(g.PlotTop(), (1080 - 960 - 2) / 2);

  // A control with no room: the rules still give definite numbers.
  g.RunLayout(0, 0);
  EXPECT_EQ(g.LegendWidth(), 0);
  EXPECT_EQ(g.PlotHeight(), -120);
  EXPECT_EQ(g.PlotWidth(), -139);  // -120 > round(-120 / 0.8660254)
  EXPECT_EQ(g.PlotLeft(), 68);
  EXPECT_EQ(g.PlotTop(), 59);
}

// The layout calls are public: a host may hand them any int. The results
// stay usable: no plot for a negative size, and a plot wider than any bitmap
// is drawn and mapped from where it starts.
TEST(PaintLayout, SizesAtTheEndsOfIntGiveAUsableLayout) {
  TBinagram g;
  g.RunLayout(INT_MIN, 300);
  EXPECT_LE(g.PlotWidth(), 0);
  g.RunLayout(300, INT_MIN);
  EXPECT_LE(g.PlotHeight(), 0);
  g.RunLayout(INT_MAX, 2);
  EXPECT_LE(g.PlotHeight(), 0);
  EXPECT_GT(g.PlotLeft(), 0);
  g.RunLayout(INT_MAX, INT_MAX);
  EXPECT_GT(g.PlotWidth(), 0);
  EXPECT_GT(g.PlotHeight(), 0);

  g.SetDrawSplines(true);
  g.SetDrawAreas(true);
  TSplinesData d;
  d.Points = {{-1, -1}, {10, 100}, {50, 500}, {90, 900}};
  d.LastIndex = 3;
  g.SetSplinesData(d);
  g.SetAreas(2);
  g.SetLayout(TBinaLayout{60, 60, INT_MAX - 1, 100, 0});
  TBitmap b(300, 200);
  TCanvas& c = *b.Canvas();
  g.DrawFrame(c);
  EXPECT_EQ(c.Pixel(200, 60), clBlack) << "top outline";
  EXPECT_EQ(c.Pixel(200, 100), clWhite) << "inside the plot";
  EXPECT_EQ(c.Pixel(59, 100), g.PaperColor());
  EXPECT_GT(g.CompositionMap().transform(50), 60);
  EXPECT_GT(g.SavedCompositionMap().transform(50), 60);
  // Every drawing step runs with it.
  g.DrawCurves(c);
  g.FillAreas(c);
  g.DrawAxes(c, clWhite);
  g.DrawTitle(c, clWhite);
  g.DrawCAxisCaption(c, clWhite);
  g.DrawLegend(c);
  g.DrawValuesTable(c);
  g.DrawCoPhasesTable(c);
  EXPECT_EQ(c.Pixel(200, 60), clBlack);
}

TEST(PaintLayout, FontSizesFollowThePlotWidth) {
  TBinagram g;
  struct Case {
    int width, title, axis, panel;
  } cases[] = {
      {214, 7, 7, 6},   // s = 8
      {3, 1, 1, 8},     // s = 1
      {12, 1, 1, 1},    // s = 2
      {27, 2, 2, 1},    // s = 3
      {243, 8, 8, 7},   // s = 9
      {300, 9, 8, 8},   // s = 10
      {363, 10, 8, 8},  // s = 11
      {1109, 10, 8, 8}, // s = 19
      {0, 10, 8, 8},    // s = 0
      {-50, 10, 8, 8},  // no size step at all
  };
  for (const Case& c : cases) {
    TBinaLayout l;
    l.PlotWidth = c.width;
    g.SetLayout(l);
    EXPECT_EQ(g.TitleFontSize(), c.title) << c.width;
    EXPECT_EQ(g.AxisFontSize(), c.axis) << c.width;
    EXPECT_EQ(g.PanelFontSize(), c.panel) << c.width;
  }
}

TEST(PaintLayout, MapsRoundTheOffsetBeforeAddingThePlotOrigin) {
  TBinagram g;
  g.SetHighTLimit(2000);
  g.SetLowTLimit(1000);
  TBinaLayout l;
  l.PlotLeft = 3;
  l.PlotTop = 5;
  l.PlotWidth = 5;
  l.PlotHeight = 5;
  g.SetLayout(l);
  // 50 % of 5 pixels is 2.5: rounded to 2, then moved by 3 -> 5 (not round(5.5) = 6).
  EXPECT_EQ(g.CompositionMap().transformRounded(50), 5);
  EXPECT_EQ(g.TemperatureMap().transformRounded(1500), 7);
  EXPECT_EQ(g.TemperatureMap().transformRounded(2000), 5);  // high end at the top
  EXPECT_DOUBLE_EQ(g.TemperatureMap().invTransform(10), 1000);
  EXPECT_DOUBLE_EQ(g.SavedTemperatureMap().transform(1000), 10);
  EXPECT_DOUBLE_EQ(g.SavedCompositionMap().transform(100), 8);
}

// Every pixel of r is colour c.
bool AllOf(const TCanvas& s, TColor c, TRect r) { return CountColor(s, c, r) == r.Width() * r.Height(); }

TEST(PaintPipeline, NarrowControlShowsOnlyPaperAndEnlargeMe) {
  TBinagram g;
  g.SetBorder(false);
  g.resize(230, 300);  // PlotWidth 230 - 120 - 66 < 120
  g.Repaint();
  ASSERT_LT(g.PlotWidth(), 120);
  const TFont font = TFont{};
  const auto at = FindText(Surface(g), QStringLiteral("Enlarge Me.."), font, clWhite,
                           TRect{0, 0, 100, 40});
  ASSERT_TRUE(at);
  EXPECT_EQ(*at, (TPoint{4, 4}));
  const int w = TextWidthOf(font, QStringLiteral("Enlarge Me.."));
  const int h = TextHeightOf(font, QStringLiteral("Enlarge Me.."));
  // Everything else is paper.
  const int paper = CountColor(Surface(g), g.PaperColor(), TRect{0, 0, g.Width(), g.Height()});
  EXPECT_EQ(paper, g.Width() * g.Height() - w * h);
  EXPECT_TRUE(g.Painted());
}

TEST(PaintPipeline, AtExactly120TheContentIsDrawnWithoutTheFrame) {
  TBinagram g;
  g.SetBorder(false);
  g.SetValuesTable(false);
  g.SetCoPhasesTable(false);
  g.resize(240, 300);
  g.Repaint();
  ASSERT_EQ(g.PlotWidth(), 120);
  EXPECT_TRUE(FindText(Surface(g), QStringLiteral("Enlarge Me.."), TFont{}, clWhite,
                       TRect{0, 0, 100, 40}));
  // The left edge between two temperature ticks: no outline there.
  const int yMid = (g.TemperatureMap().transformRounded(500) +
                    g.TemperatureMap().transformRounded(600)) / 2;
  EXPECT_EQ(Surface(g).Pixel(g.PlotLeft(), yMid), g.PaperColor());
  // But the scales are: "0" below the plot's left end.
  const TFont axis = ArialFont(g.AxisFontSize(), fsItalic);
  EXPECT_TRUE(FindText(Surface(g), QStringLiteral("0"), axis, g.PaperColor(),
                       TRect{g.PlotLeft() - 10, g.PlotTop() + g.PlotHeight(), g.PlotLeft() + 10,
                             g.Height()}));

  g.resize(241, 300);
  g.Repaint();
  ASSERT_EQ(g.PlotWidth(), 121);
  EXPECT_EQ(Surface(g).Pixel(g.PlotLeft(), yMid), clBlack);
  EXPECT_FALSE(FindText(Surface(g), QStringLiteral("Enlarge Me.."), TFont{}, clWhite,
                        TRect{0, 0, 100, 40}));
}

TEST(PaintPipeline, BorderLeavesABlackRimAndTheEmptyPlotIsWhite) {
  TBinagram g;
  g.resize(469, 322);
  g.Repaint();
  const TCanvas& s = Surface(g);
  EXPECT_TRUE(AllOf(s, clBlack, TRect{0, 0, g.Width(), 1}));
  EXPECT_TRUE(AllOf(s, clBlack, TRect{0, 0, 1, g.Height()}));
  EXPECT_TRUE(AllOf(s, clBlack, TRect{g.Width() - 1, 0, g.Width(), g.Height()}));
  EXPECT_TRUE(AllOf(s, clBlack, TRect{0, g.Height() - 1, g.Width(), g.Height()}));
  EXPECT_EQ(s.Pixel(1, 1), g.PaperColor());
  const TRect p = PlotRect(g);
  EXPECT_TRUE(AllOf(s, clWhite, TRect{p.Left + 2, p.Top + 2, p.Right - 1, p.Bottom - 1}));

  g.SetBorder(false);
  g.Repaint();
  EXPECT_EQ(s.Pixel(0, 0), g.PaperColor());
  EXPECT_EQ(s.Pixel(g.Width() - 1, g.Height() - 1), g.PaperColor());
}

TEST(PaintPipeline, AnyControlSizeDownToNothingPaints) {
  TBinagram g;
  TSplinesData d;
  d.Points = {{-1, -1}, {10, 100}, {50, 500}, {90, 900}};
  d.LastIndex = 3;
  g.SetSplinesData(d);
  g.SetDrawSplines(true);
  g.SetDrawAreas(true);
  g.SetAreas(3);
  g.SetTitle(QStringLiteral("A title"));
  g.MarkedPoint().Visible = true;
  g.SetMarkMode(true);
  g.MarkedPoint().Visible = true;
  g.MarkedPoint().CoPhases = 2;
  const int sizes[][2] = {{0, 0},   {1, 1},   {0, 300},  {300, 0},   {2, 2},    {60, 40},
                          {119, 500}, {240, 300}, {241, 300}, {500, 121}, {121, 500}, {800, 130}};
  for (const auto& s : sizes) {
    g.resize(s[0], s[1]);
    g.Repaint();
    EXPECT_TRUE(g.Painted()) << s[0] << "x" << s[1];
    EXPECT_EQ(g.Surface().Width(), s[0]);
    EXPECT_EQ(g.Surface().Height(), s[1]);
  }
}

}  // namespace
