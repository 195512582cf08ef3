// The ternary read-out through real Qt mouse events: areas by colour,
// division points, composition and temperature, the tables, the balloon,
// marking and the guide lines; and the temperature estimates behind it.
#include <gtest/gtest.h>

#include <cmath>

#include "diagram/mouse_test_support.h"
#include "diagram/paint_test_support.h"
#include "diagram/ternary_fixture.h"
#include "ternary_test_system.h"

using namespace ternary;
using mousetest::Click;
using mousetest::Move;
using mousetest::Press;
using mousetest::Release;
using painttest::ArialFont;
using painttest::FindText;

namespace {

class ReadoutTest : public ternarytest::TestSystemFixture {
 protected:
  TRect ValuesBox() const {
    return TRect{g.TriLeft() + g.TriSide() - 150, g.TriTop(), g.TriLeft() + g.TriSide() + 10,
                 g.TriTop() + 80};
  }
  bool ShowsValue(const QString& text) {
    return FindText(*g.Canvas(), text, ArialFont(g.PanelFontSize()), clWhite, ValuesBox())
        .has_value();
  }
};

}  // namespace

TEST(TernaryTemperature, AdaptersAndTheirNoTemperatureCases) {
  TTernagram g;
  ternarytest::LoadTestSystem(g);
  // At every T-point each method gives its temperature (the four points of
  // an area determine a four-term polynomial through them; the triangulated
  // surface passes through its points).
  const auto methods = {&TTernagram::AltitudeTemperature, &TTernagram::PolynomialTemperature,
                        &TTernagram::TriangulationTemperature};
  for (int area = 0; area < 3; ++area)
    for (int i = 0; i < g.AreaList()[area].TPointCount; ++i) {
      const TTernaryTPoint& p = g.AreaList()[area].TPoints[i];
      for (auto f : methods) EXPECT_NEAR((g.*f)(area, p.A, p.B), p.T, 2) << area << " " << i;
      EXPECT_NEAR(g.TriangulationTemperature(area, p.A, p.B), p.T, 1e-9) << area << " " << i;
    }
  // Between the points: inside the range of the area's temperatures.
  for (int area = 0; area < 3; ++area)
    for (auto f : methods) {
      const auto& a = g.AreaList()[area];
      const double t = (g.*f)(area, a.FillA, a.FillB);
      EXPECT_GT(t, 900) << area;
      EXPECT_LT(t, 1700) << area;
    }
  // No such area in use, or a surface that cannot be fitted: no temperature.
  EXPECT_TRUE(std::isnan(g.AltitudeTemperature(3, 10, 10)));
  EXPECT_TRUE(std::isnan(g.PolynomialTemperature(-1, 10, 10)));
  EXPECT_TRUE(std::isnan(g.TriangulationTemperature(3, 10, 10)));
  g.SetTCalcMethod(tcTriangulation);
  EXPECT_EQ(g.AreaTemperature(0, 80, 5), g.TriangulationTemperature(0, 80, 5));
  g.SetTCalcMethod(tcThermodynamic);
  EXPECT_TRUE(std::isnan(g.AreaTemperature(0, 80, 5)));
  ternarytest::SetArea(g, 2, QStringLiteral("(C)"), 12, 12, {{20, 10, 1000}, {20, 40, 1200}});
  EXPECT_TRUE(std::isnan(g.PolynomialTemperature(2, 20, 20)));  // same A twice: singular
  EXPECT_TRUE(std::isnan(g.TriangulationTemperature(2, 20, 20)));  // two points span no triangle

  // The reused surfaces notice a T-point written in place.
  for (auto f : {&TTernagram::PolynomialTemperature, &TTernagram::TriangulationTemperature}) {
    g.AreaList()[1].TPoints[0].T = 1700;
    const double before = (g.*f)(1, 10, 60);
    EXPECT_EQ((g.*f)(1, 10, 60), before);
    g.AreaList()[1].TPoints[0].T = 2000;
    EXPECT_GT((g.*f)(1, 10, 60), before);
  }
}

TEST_F(ReadoutTest, AreasDivisionsAndTemperatureUnderTheCursor) {
  // Inside (A): its area, a temperature from its points, the values table.
  Move(&g, At(75, 8));
  EXPECT_TRUE(g.CursorOnArea());
  EXPECT_EQ(g.HotArea(), 0);
  EXPECT_FALSE(g.DivisionPoint());
  const double tA = g.CursorPoint().T;
  EXPECT_NEAR(tA, g.AltitudeTemperature(0, g.CursorPoint().A, g.CursorPoint().B), 1e-9);
  EXPECT_TRUE(ShowsValue(QStringLiteral("T: ") + FormatFixed(tA, 0) + QStringLiteral("C")));

  // A grid line inside (C) has only (C) around it.
  QPoint onGrid = At(40, 20) + QPoint(30, -2);
  while (g.Canvas()->Pixel(onGrid.x(), onGrid.y()) != clBlack && onGrid.y() < At(40, 20).y() + 2)
    onGrid.ry() += 1;
  ASSERT_EQ(g.Canvas()->Pixel(onGrid.x(), onGrid.y()), clBlack);
  Move(&g, onGrid);
  EXPECT_EQ(g.HotArea(), 2);
  EXPECT_FALSE(g.DivisionPoint());

  // On the valley between (A) and (C): a division point, named so in the
  // balloon although no area is hot.
  const QPoint valley = At(46, 14);
  Move(&g, valley);
  EXPECT_TRUE(g.DivisionPoint());
  EXPECT_EQ(g.DivisionText(), QStringLiteral("Division Point"));
  EXPECT_EQ(g.HotArea(), -1);
  Press(&g, valley, Qt::RightButton);
  EXPECT_TRUE(g.BalloonShown());
  const TRect around{valley.x() - 120, valley.y() - 30, valley.x() + 120, valley.y()};
  EXPECT_TRUE(FindText(*g.Canvas(), QStringLiteral("Division Point"), ArialFont(8), clInfoBk, around));
  Release(&g, valley, Qt::RightButton);

  // Kelvin and Fahrenheit in the table.
  Move(&g, At(75, 8));
  g.SetTUnits(tuK);
  Move(&g, At(75, 8) + QPoint(1, 0));
  const double t = g.CursorPoint().T;
  EXPECT_TRUE(ShowsValue(QStringLiteral("T: ") + FormatFixed(t + 273.15, 0) + QStringLiteral("K")));
  g.SetTUnits(tuF);
  Move(&g, At(75, 8));
  EXPECT_TRUE(ShowsValue(QStringLiteral("T: ") + FormatFixed(g.CursorPoint().T * 1.8 + 32, 0) +
                         QStringLiteral("F")));
}

TEST_F(ReadoutTest, WhitePaperEdgesAndCorners) {
  // (C) without a fill: white paper inside the triangle.
  g.AreaList()[2].FillA = 200;
  g.Repaint();
  Move(&g, At(75, 8));
  const double tA = g.CursorPoint().T;
  EXPECT_TRUE(std::isfinite(tA));
  Move(&g, At(12, 12));
  EXPECT_EQ(g.HotArea(), -1);
  // No area, no temperature: none is shown, neither 0 nor the last one.
  EXPECT_TRUE(std::isnan(g.CursorPoint().T));
  EXPECT_TRUE(ShowsValue(QStringLiteral("T: -")));

  // Within 3 pixels of a side HotArea keeps what it had further in.
  Move(&g, At(75, 8));
  EXPECT_EQ(g.HotArea(), 0);
  const TTriangleMap map = g.TriangleMap();
  const int y = At(10, 80).y();
  Move(&g, QPoint(RoundPixel(map.RightEdgeX(y)) - 2, y));  // in (B), near the right side
  EXPECT_EQ(g.HotArea(), 0);
  Move(&g, At(12, 75));
  EXPECT_EQ(g.HotArea(), 1);

  // The bottom-left corner reads pure A.
  const int bottom = g.TriTop() + g.TriHeight() - 1;
  Move(&g, QPoint(int(std::ceil(map.LeftEdgeX(bottom))), bottom));
  EXPECT_NEAR(g.CursorPoint().A, 100, 1);
  EXPECT_NEAR(g.CursorPoint().B, 0, 1);
  EXPECT_NEAR(g.CursorPoint().C, 0, 1);
  EXPECT_TRUE(ShowsValue(FormatFixed(g.CursorPoint().A, 3)));
}

TEST_F(ReadoutTest, MarkingAndTheGuideLines) {
  int marks = 0;
  g.SetOnMarkPoint([&](QObject*) { ++marks; });
  g.SetMarkMode(true);
  const QPoint p = At(12, 75);
  Move(&g, p);
  Press(&g, p, Qt::RightButton);
  Release(&g, p, Qt::RightButton);
  EXPECT_EQ(marks, 1);
  EXPECT_TRUE(g.MarkedPoint().Visible);
  EXPECT_NEAR(g.MarkedPoint().A, g.CursorPoint().A, 1e-9);
  EXPECT_EQ(g.MarkedPoint().T, g.CursorPoint().T);
  mousetest::Settle(g);
  // The cross at the mark; leaving the triangle keeps the marked values.
  EXPECT_EQ(g.Canvas()->Pixel(p.x() + 3, p.y() + 3), clBlack);
  Move(&g, QPoint(5, 5));
  mousetest::Settle(g);
  EXPECT_TRUE(ShowsValue(FormatFixed(g.MarkedPoint().B, 3)));
  // A left click removes the mark.
  Click(&g, At(75, 8));
  EXPECT_FALSE(g.MarkedPoint().Visible);

  // Guide lines in not-xor: shown, then erased by drawing them again.
  g.Repaint();
  Move(&g, QPoint(3, 3));
  mousetest::Settle(g);
  const QImage before = g.Surface().Image().copy();
  g.SetMouseGrid(true);
  Move(&g, At(30, 30));
  EXPECT_TRUE(g.MouseGridShown());
  EXPECT_EQ(g.Cursor(), crArrow);
  Move(&g, At(32, 31));
  Move(&g, QPoint(3, 3));
  EXPECT_FALSE(g.MouseGridShown());
  mousetest::Settle(g);
  EXPECT_EQ(g.Surface().Image(), before);
}

TEST_F(ReadoutTest, CoPhaseTableForTwoPhaseAreas) {
  g.AreaList()[1].TwoPhase = 1;
  g.AreaList()[1].Identifier = QStringLiteral("L + (B)");
  g.Repaint();
  Move(&g, At(12, 75));
  EXPECT_EQ(g.CoPhases(), 2);
  const TFont font = ArialFont(g.PanelFontSize());
  const TRect column{g.TriLeft() + g.TriSide(), 0, g.Width(), g.Height()};
  for (const char* line : {"Ph: L + (B)", "Chemical structure:", "Phases ratio:"})
    EXPECT_TRUE(FindText(*g.Canvas(), QString::fromLatin1(line), font, clWhite, column)) << line;
  // A one-phase area erases the table's place.
  Move(&g, At(12, 12));
  EXPECT_EQ(g.CoPhases(), 0);
  EXPECT_FALSE(FindText(*g.Canvas(), QStringLiteral("Phases ratio:"), font, clWhite, column));
}

TEST_F(ReadoutTest, PartsUnitsShowPartsAndMarkPercent) {
  g.SetCUnits(cuMolParts);
  g.SetMarkMode(true);
  g.Repaint();
  const QPoint p = At(12, 75);
  Move(&g, p);
  // Display units: parts of one, five decimals.
  EXPECT_NEAR(g.CursorPoint().B, 0.75, 0.01);
  EXPECT_TRUE(ShowsValue(FormatFixed(g.CursorPoint().B, 5)));
  Press(&g, p, Qt::RightButton);
  Release(&g, p, Qt::RightButton);
  // The mark is kept in percent, its temperature as it was read.
  EXPECT_NEAR(g.MarkedPoint().B, g.CursorPoint().B * 100, 1e-9);
  EXPECT_EQ(g.MarkedPoint().T, g.CursorPoint().T);
  mousetest::Settle(g);
  EXPECT_TRUE(ShowsValue(FormatFixed(g.MarkedPoint().A / 100, 5)));
}
