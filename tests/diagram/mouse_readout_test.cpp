// Cursor read-out of the binary control driven by real Qt mouse events on
// the small test diagram of mouse_test_support.h.
#include <gtest/gtest.h>

#include <cmath>

#include "diagram/mouse_test_support.h"

using namespace mousetest;

namespace {

class MouseReadout : public ::testing::Test {
 protected:
  void SetUp() override {
    LoadTestDiagram(g);
    g.SetOnMouseMove([this](QObject* sender, TShiftState, int x, int y) {
      EXPECT_EQ(sender, &g);
      ++moves;
      lastMove = QPoint(x, y);
    });
    px = 100.0 / g.PlotWidth();
  }
  // Width of the balloon's inside along its top inner row, walking from the
  // cursor in direction dir.
  int BalloonRun(QPoint p, int dir, const QString& text) {
    TBitmap probe(10, 10);
    probe.Canvas()->Font.Name = "Arial";
    probe.Canvas()->Font.Size = 8;
    const int row = p.y() - (probe.Canvas()->TextHeight(text) + 4);
    int run = 0;
    for (int x = p.x() + dir; run < 400; x += dir, ++run) {
      const TColor c = g.Canvas()->Pixel(x, row);
      if (c != clInfoBk && c != clRed) break;
    }
    return run - (probe.Canvas()->TextWidth(text) + 5);  // 0 when it fits the text
  }
  CountingBinagram g;
  int moves = 0;
  QPoint lastMove;
  double px = 0;  // percent per pixel
};

}  // namespace

TEST(MouseReadoutBeforePaint, IsIgnoredUntilTheFirstPaintHasCompleted) {
  TBinagram g;
  int events = 0;
  g.SetOnMouseMove([&](QObject*, TShiftState, int, int) { ++events; });
  g.SetOnMouseDown([&](QObject*, TMouseButton, TShiftState, int, int) { ++events; });
  ASSERT_FALSE(g.Painted());
  Move(&g, QPoint(200, 150));
  Press(&g, QPoint(200, 150), Qt::RightButton);
  EXPECT_EQ(events, 0);
  EXPECT_FALSE(g.CursorOnArea());
  EXPECT_FALSE(g.BalloonShown());
}

TEST_F(MouseReadout, TwoPhaseAreaGivesTieLineAndLeverRule) {
  const QPoint p = At(g, 40, 500);
  Move(&g, p);
  EXPECT_EQ(moves, 1);
  EXPECT_EQ(lastMove, p);
  EXPECT_TRUE(g.CursorOnArea());
  EXPECT_EQ(g.Cursor(), crCross);

  const TFullDataPoint& cp = g.CursorPoint();
  EXPECT_NEAR(cp.A, 40, px);
  EXPECT_NEAR(cp.T, 500, 1000.0 / g.PlotHeight());
  EXPECT_EQ(g.HotArea(), kTwoPhase);
  EXPECT_EQ(cp.PhaseName, "Alpha + Beta");
  EXPECT_EQ(cp.CoPhases, 2);
  EXPECT_EQ(cp.Phase1Name, "Alpha");
  EXPECT_EQ(cp.Phase2Name, "Beta");
  // The first pixels of the neighbours lie just beyond the black lines.
  EXPECT_NEAR(cp.Phase1Value, 20, 3 * px);
  EXPECT_LT(cp.Phase1Value, 20);
  EXPECT_NEAR(cp.Phase2Value, 70, 3 * px);
  EXPECT_GT(cp.Phase2Value, 70);
  // Lever rule: 40 between 20 and 70 is 60 % of the first phase.
  EXPECT_NEAR(cp.Phase1Ratio, 60, 2);
  EXPECT_NEAR(cp.Phase2Ratio, 40, 2);
  EXPECT_NEAR(cp.Phase1Ratio + cp.Phase2Ratio, 100, 1e-9);
  EXPECT_DOUBLE_EQ(cp.Phase1Ratio,
                   (cp.Phase2Value - cp.A) / (cp.Phase2Value - cp.Phase1Value) * 100);
  EXPECT_FALSE(g.DivisionPoint());

  // In parts units the same point reads on a scale of 1.
  g.SetCUnits(binary::cuMolParts);
  Move(&g, p);
  EXPECT_NEAR(cp.A, 0.40, px / 100);
  EXPECT_NEAR(cp.Phase1Value, 0.20, 3 * px / 100);
  EXPECT_NEAR(cp.Phase2Value, 0.70, 3 * px / 100);
  EXPECT_NEAR(cp.Phase1Ratio + cp.Phase2Ratio, 1, 1e-12);
}

TEST_F(MouseReadout, TwoPhaseAreaAtThePlotEdgesEndsInThePureSubstances) {
  for (int i : {kAlpha, kBeta}) {
    TPhaseArea a = g.AreaList().Get(i);
    a.TwoPhase = 1;
    g.AreaList().Put(i, a);
  }
  Move(&g, At(g, 85, 500));
  const TFullDataPoint& cp = g.CursorPoint();
  EXPECT_EQ(cp.PhaseName, "Beta");
  EXPECT_EQ(cp.CoPhases, 2);
  EXPECT_EQ(cp.Phase1Name, "Alpha + Beta");
  EXPECT_NEAR(cp.Phase1Value, 70, 3 * px);
  EXPECT_EQ(cp.Phase2Name, "SubB");
  EXPECT_EQ(cp.Phase2Value, 100);
  EXPECT_NEAR(cp.Phase1Ratio, 50, 2);

  Move(&g, At(g, 5, 500));
  EXPECT_EQ(cp.PhaseName, "Alpha");
  EXPECT_EQ(cp.Phase1Name, "SubA");
  EXPECT_EQ(cp.Phase1Value, 0);
  EXPECT_EQ(cp.Phase2Name, "Alpha + Beta");
  EXPECT_NEAR(cp.Phase2Value, 20, 3 * px);
  EXPECT_NEAR(cp.Phase1Ratio, 75, 2);
}

TEST_F(MouseReadout, SinglePhaseAreaHasNoCoPhasesAndNoCoPhasesTable) {
  // Beside the plot, above its bottom, the co-phases table is the only thing
  // a move draws (the values table sits below the plot's bottom).
  const TRect column{g.PlotLeft() + g.PlotWidth() + 2, 0, g.Width(), g.PlotTop() + g.PlotHeight()};
  const QImage clean = Region(g, column);
  Move(&g, At(g, 40, 500));
  ASSERT_EQ(g.CursorPoint().CoPhases, 2);
  EXPECT_NE(Region(g, column), clean) << "the co-phases table is drawn in a two-phase area";

  Move(&g, At(g, 85, 500));
  const TFullDataPoint& cp = g.CursorPoint();
  EXPECT_EQ(g.HotArea(), kBeta);
  EXPECT_EQ(cp.PhaseName, "Beta");
  EXPECT_EQ(cp.CoPhases, 0);
  EXPECT_TRUE(cp.Phase1Name.isEmpty() && cp.Phase2Name.isEmpty());
  EXPECT_EQ(cp.Phase1Value, 0);
  EXPECT_EQ(cp.Phase2Ratio, 0);
  EXPECT_EQ(Region(g, column), clean) << "leaving the two-phase field erases the table";
}

TEST_F(MouseReadout, OnAGridLineInsideAnAreaThePhaseValuesStay) {
  g.SetGridType(binary::gtOverAllScale);
  g.SetCAxisStep(10);
  Move(&g, At(g, 45, 350));  // the slanted boundary is at C 14 here
  const double before = g.CursorPoint().Phase1Value;
  ASSERT_NEAR(before, 14, 3 * px);

  // The grid line of 500 degrees, found where the picture has it.
  const QPoint onLine = At(g, 45, 500);
  int y = onLine.y();
  for (int d : {0, -1, 1, -2, 2})
    if (g.Canvas()->Pixel(onLine.x(), onLine.y() + d) == clBlack) {
      y = onLine.y() + d;
      break;
    }
  ASSERT_EQ(g.Canvas()->Pixel(onLine.x(), y), clBlack);
  Move(&g, QPoint(onLine.x(), y));
  EXPECT_FALSE(g.DivisionPoint()) << "the same colour on both sides of a grid line";
  EXPECT_EQ(g.HotArea(), kTwoPhase);
  EXPECT_NEAR(g.CursorPoint().T, 500, 2 * 1000.0 / g.PlotHeight());
  EXPECT_NEAR(g.CursorPoint().A, 45, px);
  EXPECT_EQ(g.CursorPoint().Phase1Value, before);

  Move(&g, QPoint(onLine.x(), y - 4));
  EXPECT_GT(g.CursorPoint().Phase1Value, 19) << "off the line the tie line is read again";
}

TEST_F(MouseReadout, RightPressShowsTheNameBalloonUntilTheNextMove) {
  const QPoint p = At(g, 40, 500);  // left half: the label opens to the right
  Move(&g, p);
  Press(&g, p, Qt::RightButton);
  EXPECT_TRUE(g.BalloonShown());
  EXPECT_EQ(CountColor(g, clInfoBk, TRect{p.x() - 100, p.y() - 30, p.x(), p.y()}), 0);
  EXPECT_GT(CountColor(g, clRed, TRect{p.x(), p.y() - 8, p.x() + 7, p.y()}), 5);
  EXPECT_NEAR(BalloonRun(p, +1, "Alpha + Beta"), 0, 2) << "the label fits the area's name";

  Release(&g, p, Qt::RightButton);
  Move(&g, p + QPoint(3, 0));
  EXPECT_FALSE(g.BalloonShown());
  EXPECT_EQ(CountColor(g, clInfoBk, TRect{0, 0, g.Width(), g.Height()}), 0)
      << "the next move repaints the label away";
}

TEST_F(MouseReadout, BalloonOnADivisionPointOpensLeftInTheRightHalf) {
  const QPoint inside = At(g, 60, 500);
  Move(&g, inside);
  int x = At(g, 70, 500).x();
  while (g.Canvas()->Pixel(x, inside.y()) != clBlack && x > inside.x()) --x;
  const QPoint p(x, inside.y());
  Move(&g, p);
  ASSERT_TRUE(g.DivisionPoint());
  EXPECT_EQ(g.DivisionText(), "Division Point");
  EXPECT_EQ(g.HotArea(), kTwoPhase) << "a division point keeps the area";
  Press(&g, p, Qt::RightButton);
  ASSERT_TRUE(g.BalloonShown());
  EXPECT_EQ(CountColor(g, clInfoBk, TRect{p.x() + 1, p.y() - 30, p.x() + 150, p.y()}), 0);
  EXPECT_NEAR(BalloonRun(p, -1, "Division Point"), 0, 2);
}

TEST_F(MouseReadout, RightPressOnAnUnfilledSpotShowsNothing) {
  g.SetDrawAreas(false);
  const QPoint p = At(g, 40, 500);
  Move(&g, p);
  EXPECT_EQ(g.HotArea(), -1) << "white is no area";
  Click(&g, p, Qt::RightButton);
  EXPECT_FALSE(g.BalloonShown());
  EXPECT_FALSE(g.MarkedPoint().Visible);
}

TEST_F(MouseReadout, LeavingThePlotClearsTheReadOutAndTheTables) {
  const QImage clean = g.Surface().Image().copy();
  Move(&g, At(g, 40, 500));
  ASSERT_NE(g.Surface().Image(), clean) << "the tables follow the mouse";
  const int before = g.Requests();

  Move(&g, QPoint(g.PlotLeft() - 5, g.PlotTop() + 20));
  EXPECT_FALSE(g.CursorOnArea());
  EXPECT_EQ(g.Cursor(), crArrow);
  EXPECT_EQ(g.HotArea(), -1);
  const TFullDataPoint& cp = g.CursorPoint();
  EXPECT_EQ(cp.A, 0);
  EXPECT_EQ(cp.T, 0);
  EXPECT_EQ(cp.CoPhases, 0);
  EXPECT_TRUE(cp.PhaseName.isEmpty() && cp.Phase1Name.isEmpty());
  EXPECT_EQ(cp.Phase2Value, 0);
  EXPECT_EQ(g.Requests(), before + 1);
  Settle(g);
  EXPECT_EQ(g.Surface().Image(), clean);

  // Moving about outside asks for nothing more.
  const int settled = g.Requests();
  Move(&g, QPoint(g.PlotLeft() - 8, g.PlotTop() + 30));
  EXPECT_EQ(g.Requests(), settled);
}

TEST_F(MouseReadout, LeavingWithAShownMarkedPointKeepsThePicture) {
  g.SetMarkMode(true);
  const QPoint p = At(g, 40, 500);
  Move(&g, p);
  Click(&g, p, Qt::RightButton);
  ASSERT_TRUE(g.MarkedPoint().Visible);
  Move(&g, p);
  const int before = g.Requests();
  Move(&g, QPoint(g.PlotLeft() + g.PlotWidth() + 5, p.y()));
  EXPECT_FALSE(g.CursorOnArea());
  EXPECT_EQ(g.Requests(), before) << "the tables keep showing the marked point";
}

TEST_F(MouseReadout, CrossHairIsDrawnOverThePictureAndErasedExactly) {
  g.SetMouseGrid(true);
  const TRect plot = PlotRect(g);
  const QImage clean = Region(g, plot);
  const QPoint p = At(g, 40, 500), q = At(g, 85, 500);
  Move(&g, p);
  EXPECT_TRUE(g.MouseGridShown());
  EXPECT_EQ(g.Cursor(), crArrow) << "the cross-hair replaces the cross cursor";
  // Not-xor with a black pen inverts what lies under the lines.
  EXPECT_EQ(g.Canvas()->Pixel(q.x(), p.y()), ~AreaColor(kBeta) & 0xFFFFFF);
  EXPECT_EQ(g.Canvas()->Pixel(p.x(), At(g, 40, 200).y()), ~AreaColor(kTwoPhase) & 0xFFFFFF);
  EXPECT_EQ(g.CursorPoint().Phase2Name, "Beta") << "the read-out saw the diagram";

  Move(&g, At(g, 30, 300));
  EXPECT_EQ(g.CursorPoint().Phase2Name, "Beta") << "the old cross-hair was erased before reading";
  EXPECT_EQ(g.Canvas()->Pixel(q.x(), p.y()), AreaColor(kBeta));

  // A repaint in between draws the cross-hair again, so leaving still erases it.
  g.Repaint();
  Move(&g, QPoint(plot.Left - 10, plot.Top - 10));
  EXPECT_FALSE(g.MouseGridShown());
  EXPECT_EQ(Region(g, plot), clean);
}

TEST_F(MouseReadout, TinyControlsReadOutWithoutFault) {
  for (QSize size : {QSize(0, 0), QSize(60, 40), QSize(200, 150), QSize(260, 160)}) {
    g.resize(size);
    g.Repaint();
    for (int x = -2; x <= size.width() + 2; x += 3)
      for (int y = -2; y <= size.height() + 2; y += 7) Move(&g, QPoint(x, y));
    Click(&g, QPoint(size.width() / 2, size.height() / 2), Qt::RightButton);
    const TFullDataPoint& cp = g.CursorPoint();
    EXPECT_TRUE(std::isfinite(cp.A) && std::isfinite(cp.T)) << size.width();
    EXPECT_TRUE(std::isfinite(cp.Phase1Ratio) && std::isfinite(cp.Phase2Ratio)) << size.width();
  }
}
