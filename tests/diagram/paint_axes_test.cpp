// Ticks, numbers, grid lines and cut-axis zigzags.
#include <gtest/gtest.h>

#include <algorithm>

#include "diagram/paint_test_support.h"

using namespace painttest;

namespace {

// A plain 469 x 322 diagram (plot 233 x 202 at 117, 59), 1400..2100 degrees.
class Axes : public ::testing::Test {
 protected:
  void SetUp() override {
    g.SetValuesTable(false);
    g.SetCoPhasesTable(false);
    g.SetBorder(false);
    g.SetHighTLimit(2100);
    g.SetLowTLimit(1400);
    g.resize(469, 322);
    g.Repaint();
  }
  int X(double c) const { return g.CompositionMap().transformRounded(c); }
  int Y(double t) const { return g.TemperatureMap().transformRounded(t); }
  int Left() const { return g.PlotLeft(); }
  int Right() const { return g.PlotLeft() + g.PlotWidth(); }
  int Bottom() const { return g.PlotTop() + g.PlotHeight(); }
  TFont Axis() const { return ArialFont(g.AxisFontSize(), fsItalic); }
  int LongTick() const { return TextHeightOf(Axis(), QStringLiteral("1")) - 5; }
  int ShortTick() const {
    return RoundPixel(TextHeightOf(Axis(), QStringLiteral("1")) / 2.0 - 3);
  }
  bool Black(int x, int y) { return Surface(g).Pixel(x, y) == clBlack; }
  // Length of the tick left of the plot on row y (the frame covers Left).
  int LeftTick(int y) {
    int n = 0;
    while (Black(Left() - 1 - n, y)) ++n;
    return n + 1;
  }
  // Length of the tick below the plot in column x (the frame covers Bottom, Bottom + 1).
  int BottomTick(int x) {
    int n = 0;
    while (Black(x, Bottom() + 2 + n)) ++n;
    return n + 2;
  }
  std::optional<TPoint> TemperatureLabel(const QString& text) {
    return FindText(Surface(g), text, Axis(), g.PaperColor(), TRect{0, 0, Left(), g.Height()});
  }
  std::optional<TPoint> CompositionLabel(const QString& text) {
    return FindText(Surface(g), text, Axis(), g.PaperColor(),
                    TRect{0, Bottom(), g.Width(), Bottom() + 3 * LongTick() + 10});
  }
  TestBinagram g;
};

TEST_F(Axes, TemperatureTicksEveryStepWithNumbersAtTheHundreds) {
  ASSERT_GT(LongTick(), ShortTick());
  g.SetTAxisStep(25);
  g.Repaint();
  for (int t = 1400; t <= 2100; t += 25) {
    const bool hundred = t % 100 == 0;
    EXPECT_EQ(LeftTick(Y(t)), hundred ? LongTick() : ShortTick()) << t;
    // Right of the plot the same tick, outwards.
    const int L = hundred ? LongTick() : ShortTick();
    EXPECT_TRUE(Black(Right() + L - 1, Y(t))) << t;
    EXPECT_FALSE(Black(Right() + L, Y(t))) << t;
    EXPECT_EQ(bool(TemperatureLabel(QString::number(t))), hundred) << t;
  }
}

TEST_F(Axes, CompositionTicksEveryStepWithNumbersAtTheTens) {
  for (int c = 0; c <= 100; c += 2) {
    const bool ten = c % 10 == 0;
    EXPECT_EQ(BottomTick(X(c)), ten ? LongTick() : ShortTick()) << c;
    // Above the plot: from the top edge outwards.
    const int L = ten ? LongTick() : ShortTick();
    EXPECT_TRUE(Black(X(c), g.PlotTop() - L + 1)) << c;
    EXPECT_FALSE(Black(X(c), g.PlotTop() - L)) << c;
  }
  for (int c = 0; c <= 100; c += 10) {
    const auto at = CompositionLabel(QString::number(c));
    ASSERT_TRUE(at) << c;
    EXPECT_EQ(at->Y, Bottom() + LongTick() + 1) << c;
  }
}

TEST_F(Axes, OverallGridCrossesThePlotAtEveryTick) {
  const int between = (Y(1500) + Y(1600)) / 2;
  EXPECT_FALSE(Black(X(50), between));
  EXPECT_FALSE(Black(X(51), Y(1500)));
  g.SetGridType(binary::gtOverAllScale);
  g.Repaint();
  for (int c = 2; c < 100; c += 2) EXPECT_TRUE(Black(X(c), between)) << c;
  for (int t = 1500; t < 2100; t += 100) EXPECT_TRUE(Black(X(51), Y(t))) << t;
  EXPECT_FALSE(Black(X(51), between));
}

TEST_F(Axes, LimitsOffTheStepStartTheTicksAtTheFirstMultipleInside) {
  // Kelvin limits 273.15..1273.15: the numbers 300..1200 sit at their own
  // temperatures, and no tick stands for the limit itself.
  g.SetTUnits(binary::tuK);
  g.Repaint();
  ASSERT_DOUBLE_EQ(g.LowTLimit(), 1673.15);
  for (int t = 1700; t <= 2300; t += 100) {
    const auto at = TemperatureLabel(QString::number(t));
    ASSERT_TRUE(at) << t;
    // Ticks are spaced evenly between the end ticks: within a pixel of Y(t).
    EXPECT_NEAR(at->Y + TextHeightOf(Axis(), QString::number(t)) / 2.0, Y(t), 1.5) << t;
    EXPECT_EQ(std::max({LeftTick(Y(t) - 1), LeftTick(Y(t)), LeftTick(Y(t) + 1)}), LongTick()) << t;
  }
  EXPECT_FALSE(TemperatureLabel(QStringLiteral("1673")));
  EXPECT_FALSE(Black(Left() - 2, Bottom()));  // no tick at the low limit

  g.SetLowCLimit(3);
  g.SetHighCLimit(97);
  g.Repaint();
  EXPECT_EQ(BottomTick(X(4)), ShortTick());
  EXPECT_EQ(BottomTick(X(10)), LongTick());
  EXPECT_EQ(BottomTick(X(96)), ShortTick());
  const auto ten = CompositionLabel(QStringLiteral("10"));
  ASSERT_TRUE(ten);
  EXPECT_NEAR(ten->X + TextWidthOf(Axis(), QStringLiteral("10")) / 2.0, X(10), 1.0);
}

// Black runs in column x between the plot's top and bottom edges.
int Runs(TBinagram& g, int x) {
  int runs = 0;
  bool in = false;
  for (int y = g.PlotTop() + 2; y < g.PlotTop() + g.PlotHeight(); ++y) {
    const bool b = Surface(g).Pixel(x, y) == clBlack;
    runs += b && !in;
    in = b;
  }
  return runs;
}

TEST_F(Axes, CutAxisZigzagsShowAWindowThatMissesAPureComponent) {
  const int leftTip = RoundPixel(Left() + 0.02 * g.PlotWidth());
  const int rightTip = RoundPixel(Left() + g.PlotWidth() - 0.02 * g.PlotWidth());
  EXPECT_EQ(Runs(g, leftTip), 0);

  g.SetLowCLimit(20);
  g.Repaint();
  EXPECT_EQ(Runs(g, leftTip), 5);  // five teeth reaching 2 % inwards
  EXPECT_EQ(Runs(g, leftTip + 1), 0);
  EXPECT_EQ(Runs(g, rightTip), 0);

  g.SetHighCLimit(90);
  g.Repaint();
  EXPECT_EQ(Runs(g, rightTip), 5);
  EXPECT_EQ(Runs(g, rightTip - 1), 0);

  // Zoomed into 60..80: the window is not the saved one, no zigzag.
  g.SetZooming(true);
  g.SetLowCLimit(60);
  g.SetHighCLimit(80);
  g.Repaint();
  EXPECT_EQ(Runs(g, leftTip), 0);
  EXPECT_EQ(Runs(g, rightTip), 0);
  // Zoomed with the saved composition window: the cuts show again.
  g.SetLowCLimit(20);
  g.SetHighCLimit(90);
  g.Repaint();
  EXPECT_EQ(Runs(g, leftTip), 5);
  EXPECT_EQ(Runs(g, rightTip), 5);
}

TEST_F(Axes, MarkedPointCrossOnlyInMarkMode) {
  g.MarkedPoint().Visible = true;
  g.MarkedPoint().A = 30;
  g.MarkedPoint().T = 1800;
  g.Repaint();
  EXPECT_FALSE(Black(X(30) + 3, Y(1800) + 3));
  g.SetMarkMode(true);
  g.MarkedPoint().Visible = true;
  g.Repaint();
  for (int d : {-4, -2, 0, 2, 3}) {
    EXPECT_TRUE(Black(X(30) + d, Y(1800) + d)) << d;
    EXPECT_TRUE(Black(X(30) - d, Y(1800) + d)) << d;
  }
  EXPECT_FALSE(Black(X(30) + 6, Y(1800)));
}

}  // namespace
