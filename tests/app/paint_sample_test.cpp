// The sample Al2O3-SiO2 diagram as the user sees it on screen: areas in
// their colours, black curves and outline, scales, titles, legend and tables.
#include <gtest/gtest.h>

#include <QLocale>


#include "app/sample_system.h"
#include "diagram/paint_test_support.h"

using namespace painttest;

namespace {

class SamplePaint : public ::testing::Test {
 protected:
  void SetUp() override {
    g.resize(469, 322);
    LoadSampleSystem(g);
    g.Repaint();
  }
  TCanvas& S() { return Surface(g); }
  int X(double c) const { return g.CompositionMap().transformRounded(c); }
  int Y(double t) const { return g.TemperatureMap().transformRounded(t); }
  TFont Axis() const { return ArialFont(g.AxisFontSize(), fsItalic); }
  TFont Panel() const { return ArialFont(g.PanelFontSize()); }
  TestBinagram g;
};

TEST_F(SamplePaint, LayoutAndPaintedFlagAtDesignSize) {
  EXPECT_TRUE(g.Painted());
  EXPECT_EQ(g.LegendWidth(), 135);
  EXPECT_EQ(g.PlotWidth(), 214);
  EXPECT_EQ(g.PlotHeight(), 185);
  EXPECT_EQ(g.PlotLeft(), 59);
  EXPECT_EQ(g.PlotTop(), 67);
  // To look at the picture: PD_PAINT_PNG_DIR=/some/folder.
  const QString dir = qEnvironmentVariable("PD_PAINT_PNG_DIR");
  if (!dir.isEmpty()) g.Surface().Image().save(dir + QStringLiteral("/sample_469x322.png"));
}

TEST_F(SamplePaint, EveryAreaPointCarriesItsAreaColour) {
  // The sample's points lie on multiples of the grid step: take the grid away.
  g.SetGridType(binary::gtOutsideScale);
  g.Repaint();
  for (int i = 0; i < 8; ++i) {
    const TPhaseArea& a = g.AreaList()[i];
    EXPECT_EQ(S().Pixel(X(a.C), Y(a.T)), NearestColor(AreaColors[i])) << "area " << i << " " << a.C << " " << a.T << " " << X(a.C) << "," << Y(a.T);
  }
}

TEST_F(SamplePaint, OutlineAndCurvesAreBlackAndNoFillLeaksOutOfThePlot) {
  const TRect p = PlotRect(g);
  EXPECT_EQ(S().Pixel(p.Left, p.Top), clBlack);
  EXPECT_EQ(S().Pixel(p.Right, p.Bottom), clBlack);
  EXPECT_EQ(S().Pixel((p.Left + p.Right) / 2, p.Bottom), clBlack);
  // The eutectic line at 1585 (SiO2 28..100) and the mullite boundaries at 28 and 22 %.
  EXPECT_EQ(S().Pixel(X(60), Y(1585)), clBlack);
  EXPECT_EQ(S().Pixel(X(28), Y(1500)), clBlack);
  EXPECT_EQ(S().Pixel(X(22), Y(1500)), clBlack);
  EXPECT_EQ(S().Pixel(X(11), Y(1850)), clBlack);

  // Left of the legend column, no pixel outside the plot has an area colour.
  const int legendLeft = p.Right + 3 * TextWidthOf(Panel(), QStringLiteral("H"));
  int leaked = 0;
  for (int y = 0; y < g.Height(); ++y)
    for (int x = 0; x < legendLeft; ++x) {
      if (x >= p.Left && x <= p.Right && y >= p.Top && y <= p.Bottom) continue;
      const TColor c = S().Pixel(x, y);
      for (TColor a : AreaColors) leaked += c == NearestColor(a);
    }
  EXPECT_EQ(leaked, 0);
  // Inside, every area is filled: white is left only in pockets of a pixel
  // or two where curves meet.
  EXPECT_LT(CountColor(S(), clWhite, TRect{p.Left + 3, p.Top + 3, p.Right - 2, p.Bottom - 2}), 5);
}

TEST_F(SamplePaint, TemperatureAxisLabelsEveryHundredDegrees) {
  const int h1 = TextHeightOf(Axis(), QStringLiteral("1"));
  const int tick = h1 - 5;
  for (int t = 1400; t <= 2100; t += 100) {
    const QString text = QString::number(t);
    const auto at = FindText(S(), text, Axis(), g.PaperColor(),
                             TRect{0, g.PlotTop() - 20, g.PlotLeft(), g.PlotTop() + g.PlotHeight() + 20});
    ASSERT_TRUE(at) << t;
    const int w = TextWidthOf(Axis(), text), h = TextHeightOf(Axis(), text);
    EXPECT_EQ(at->X + w, g.PlotLeft() - tick - 1) << t;  // ends one pixel left of the tick
    EXPECT_NEAR(at->Y + h / 2.0, Y(t), 1.0) << t;        // centred on it
    EXPECT_EQ(S().Pixel(g.PlotLeft() - tick, Y(t)), g.PaperColor()) << t;  // tick end not painted
    EXPECT_EQ(S().Pixel(g.PlotLeft() - tick + 1, Y(t)), clBlack) << t;
  }
}

TEST_F(SamplePaint, CompositionAxisLabelsEveryTenPercentAndCaptionsAroundThePlot) {
  const int bottom = g.PlotTop() + g.PlotHeight();
  for (int c = 0; c <= 100; c += 10) {
    const QString text = QString::number(c);
    const auto at = FindText(S(), text, Axis(), g.PaperColor(),
                             TRect{X(c) - 20, bottom + 1, X(c) + 20, bottom + 30});
    ASSERT_TRUE(at) << c;
    EXPECT_NEAR(at->X + TextWidthOf(Axis(), text) / 2.0, X(c), 1.0) << c;
  }
  const QString caption = QStringLiteral("Mass Fraction SiO2 in %");
  const auto cap = FindText(S(), caption, ArialFont(g.AxisFontSize()), g.PaperColor(),
                            TRect{0, bottom, g.Width(), g.Height()});
  ASSERT_TRUE(cap);
  EXPECT_EQ(cap->Y, bottom + 2 * TextHeightOf(ArialFont(g.AxisFontSize()), caption));

  const QString title = QStringLiteral("Al2O3-SiO2 Sample");
  const auto tit = FindText(S(), title, ArialFont(g.TitleFontSize()), g.PaperColor(),
                            TRect{0, 0, g.Width(), g.PlotTop()});
  ASSERT_TRUE(tit);
  EXPECT_EQ(tit->Y, g.PlotTop() - 2 * TextHeightOf(ArialFont(g.TitleFontSize()), title));
  EXPECT_NEAR(tit->X + TextWidthOf(ArialFont(g.TitleFontSize()), title) / 2.0,
              g.PlotLeft() + g.PlotWidth() / 2.0, 1.0);
}

TEST_F(SamplePaint, PartsUnitsLabelTheCompositionAxisInFractions) {
  g.SetCUnits(binary::cuMassParts);
  g.Repaint();
  const int bottom = g.PlotTop() + g.PlotHeight();
  for (int c = 0; c <= 100; c += 10) {
    const QString text = QString::number(c / 100.0, 'f', 1);
    EXPECT_TRUE(FindText(S(), text, Axis(), g.PaperColor(),
                         TRect{X(c) - 20, bottom + 1, X(c) + 20, bottom + 30}))
        << text.toStdString();
  }
}

TEST_F(SamplePaint, LegendListsTheEightAreasInOrderWithTheirSwatches) {
  const int w = TextWidthOf(Panel(), QStringLiteral("H"));
  const int right = g.PlotLeft() + g.PlotWidth();
  int lastY = -1;
  for (int i = 0; i < 8; ++i) {
    const QString name = g.AreaList()[i].Identifier;
    // Lines are placed at rounded half-line steps: a cell may lose its last
    // row to the next line's cell.
    const int rows = TextHeightOf(Panel(), name) - 1;
    const auto at =
        FindText(S(), name, Panel(), clWhite, TRect{right, lastY + 1, g.Width(), g.Height()}, rows);
    ASSERT_TRUE(at) << i;
    EXPECT_EQ(at->X, right + 7 * w) << i;
    lastY = at->Y;
    // The swatch left of the name, on the same line.
    const int mid = at->Y + TextHeightOf(Panel(), name) / 2;
    EXPECT_EQ(S().Pixel(right + 5 * w, mid), NearestColor(AreaColors[i])) << i;
  }
}

TEST_F(SamplePaint, MarkedPointShowsItsCrossAndBothTables) {
  TFullDataPoint& m = g.MarkedPoint();
  m.Visible = true;
  m.A = 40;
  m.T = 1700;
  m.CoPhases = 2;
  m.Phase1Value = 28.5;
  m.Phase2Value = 61.25;
  m.Phase1Ratio = 64.12;
  m.Phase2Ratio = 35.88;
  g.Repaint();
  const int x = X(40), y = Y(1700);
  for (int d = -3; d <= 3; ++d) {
    EXPECT_EQ(S().Pixel(x + d, y + d), clBlack) << d;
    EXPECT_EQ(S().Pixel(x + d, y - d), clBlack) << d;
  }
  const TRect column{g.PlotLeft() + g.PlotWidth(), 0, g.Width(), g.Height()};
  EXPECT_TRUE(FindText(S(), QStringLiteral("SiO2: 40.0, T: 1700.00C"), Panel(), clWhite, column));
  EXPECT_TRUE(FindText(S(), QStringLiteral("Chemical Composition:"), Panel(), clWhite, column));
  EXPECT_TRUE(FindText(S(), QStringLiteral("Ph1: 28.50, Ph2: 61.25 "), Panel(), clWhite, column));
  EXPECT_TRUE(FindText(S(), QStringLiteral("Phases Ratio:"), Panel(), clWhite, column));
  EXPECT_TRUE(FindText(S(), QStringLiteral("Ph1: 64.12, Ph2: 35.88"), Panel(), clWhite, column));

  // The same point in parts units sits at the same place.
  g.SetCUnits(binary::cuMassParts);  // divides the visible mark by 100
  ASSERT_DOUBLE_EQ(g.MarkedPoint().A, 0.4);
  g.Repaint();
  EXPECT_EQ(S().Pixel(x + 3, y + 3), clBlack);
  EXPECT_EQ(S().Pixel(x - 3, y + 3), clBlack);
  EXPECT_TRUE(FindText(S(), QStringLiteral("SiO2: 0.400, T: 1700.00C"), Panel(), clWhite, column));
}

TEST_F(SamplePaint, CoPhasesTableIsErasedWithThePaperColourWhenLeft) {
  TFullDataPoint& m = g.MarkedPoint();
  m.Visible = true;
  m.CoPhases = 2;
  g.Repaint();
  const TRect column{g.PlotLeft() + g.PlotWidth(), 0, g.Width(), g.Height()};
  const auto at = FindText(S(), QStringLiteral("Chemical Composition:"), Panel(), clWhite, column);
  ASSERT_TRUE(at);
  // With 8 areas the box starts one text line below the legend box.
  const int h = TextHeightOf(Panel(), QStringLiteral("H"));
  const int y0 = g.PlotTop() - 2 * h;
  EXPECT_EQ(at->Y, y0 + RoundPixel(h * 10.5));
  const int w = TextWidthOf(Panel(), QStringLiteral("H"));
  const TRect box{g.PlotLeft() + g.PlotWidth() + 3 * w, y0 + 10 * h, g.Width() - 1, y0 + 16 * h};
  EXPECT_GT(CountColor(S(), clBlack, box), 0);

  m.CoPhases = 0;
  g.DrawCoPhasesTable(S());
  EXPECT_EQ(CountColor(S(), g.PaperColor(), box), box.Width() * box.Height());
  // The legend above stays.
  EXPECT_TRUE(FindText(S(), g.AreaList()[7].Identifier, Panel(), clWhite, column));
}

TEST_F(SamplePaint, ValuesTableCutsALongCompositionTo18Characters) {
  TFullDataPoint& m = g.MarkedPoint();
  m.Visible = true;
  m.A = 1e20;  // "100000000000000000000.0"
  m.T = 1500;
  g.resize(900, 322);  // room for the whole line
  g.Repaint();
  const QString expected = QStringLiteral("SiO2: 100000000000000000, T: 1500.00C");
  const auto at = FindText(S(), expected, Panel(), clWhite, TRect{0, 0, g.Width(), g.Height()});
  EXPECT_TRUE(at);
}

TEST_F(SamplePaint, NumbersUseTheUsersDecimalSeparatorWithoutGrouping) {
  struct LocaleGuard {
    ~LocaleGuard() { QLocale::setDefault(QLocale::c()); }
  } guard;
  QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
  TFullDataPoint& m = g.MarkedPoint();
  m.Visible = true;
  m.A = 40;
  m.T = 1700;
  g.Repaint();
  const TRect left{0, 0, g.PlotLeft(), g.Height()};
  EXPECT_TRUE(FindText(S(), QStringLiteral("2100"), Axis(), g.PaperColor(), left));
  EXPECT_FALSE(FindText(S(), QStringLiteral("2.100"), Axis(), g.PaperColor(), left));
  const TRect column{g.PlotLeft() + g.PlotWidth(), 0, g.Width(), g.Height()};
  EXPECT_TRUE(FindText(S(), QStringLiteral("SiO2: 40,0, T: 1700,00C"), Panel(), clWhite, column));
}

}  // namespace
