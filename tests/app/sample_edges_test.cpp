// The sample diagram where the plot and the gestures reach their limits: a
// plot exactly at the width where its frame appears, a zoomed fill after
// the host narrows the window, drags whose snapped window collapses on one
// axis, and a zoom-out after the host moved the limits. No area colour may
// reach the paper, and no gesture may raise a limit message.
#include <gtest/gtest.h>

#include "app/sample_system.h"
#include "diagram/mouse_test_support.h"
#include "robustness/robustness_support.h"

using namespace mousetest;
using robustness::StrayAreaPixels;

namespace {

class SampleEdges : public ::testing::Test {
 protected:
  void Load(int width, int height) {
    g.resize(width, height);
    LoadSampleSystem(g);
    g.Repaint();
  }
  CountingBinagram g;
  MessageCatcher messages;
};

}  // namespace

// Plot width 120: the contents are drawn but the frame is not, so there is no
// outline for a fill to stop at. The picture keeps its curves, scales and
// legend and leaves the areas unfilled.
TEST_F(SampleEdges, PlotWithoutItsFrameIsNotFilled) {
  for (int width : {337, 338}) {
    Load(width, 315);
    ASSERT_EQ(g.PlotWidth(), 120) << width;
    const auto stray = StrayAreaPixels(*g.Canvas(), g);
    EXPECT_EQ(stray.Count, 0) << width << ": " << stray.Describe();
    int filled = 0;
    for (int i = 0; i < g.Areas(); ++i) filled += CountColor(g, AreaColor(i), PlotRect(g));
    EXPECT_EQ(filled, 0) << width;
    EXPECT_GT(CountColor(g, clBlack, PlotInterior(g)), 0) << "the curves are still drawn";
  }
  // One pixel wider the frame is there, and so is the fill.
  Load(339, 316);
  ASSERT_GT(g.PlotWidth(), 120);
  EXPECT_GT(CountColor(g, AreaColor(0), PlotInterior(g)), 0);
  EXPECT_EQ(StrayAreaPixels(*g.Canvas(), g).Count, 0);
}

// The seeds taken at zoom-in are placed with the current window; after the
// host narrows it some fall outside the plot and must fill nothing there.
TEST_F(SampleEdges, ZoomedFillStaysInsideWhenTheHostNarrowsTheWindow) {
  Load(1453, 743);
  Drag(&g, QPoint(815, 386), QPoint(975, 143));
  ASSERT_TRUE(g.Zooming());
  EXPECT_EQ(g.LowCLimit(), 70);
  EXPECT_EQ(g.HighCLimit(), 100);
  EXPECT_EQ(g.LowTLimit(), 1700);
  EXPECT_EQ(g.HighTLimit(), 2100);
  g.SetHighCLimit(80);
  g.Repaint();
  const auto stray = StrayAreaPixels(*g.Canvas(), g);
  EXPECT_EQ(stray.Count, 0) << stray.Describe();
  EXPECT_GT(CountColor(g, AreaColor(0), PlotInterior(g)), 0) << "seeds inside still fill";
  EXPECT_TRUE(messages.Texts.isEmpty()) << messages.Texts.join('|').toStdString();
}

// A drag near the top or the right edge snaps to a window that the current
// one cuts down to nothing on one axis: it becomes one grid step inside the
// current window there, and both axes zoom.
TEST_F(SampleEdges, DragSnappedToAnEmptyAxisZoomsOneGridStepWithoutAMessage) {
  struct Case {
    QPoint from, to;
    double lowC, highC, lowT, highT;
  };
  const Case cases[] = {
      {{342, 67}, {476, 92}, 40, 70, 2000, 2100},     // above 2050 degrees
      {{717, 308}, {737, 390}, 90, 100, 1700, 1900},  // right of 95 %
  };
  for (const Case& c : cases) {
    Load(1000, 700);
    ASSERT_FALSE(g.Zooming());
    Drag(&g, c.from, c.to);
    const std::string where = std::to_string(c.from.x()) + "," + std::to_string(c.from.y());
    EXPECT_TRUE(messages.Texts.isEmpty())
        << where << ": " << messages.Texts.join('|').toStdString();
    ASSERT_TRUE(g.Zooming()) << where;
    EXPECT_EQ(g.LowCLimit(), c.lowC) << where;
    EXPECT_EQ(g.HighCLimit(), c.highC) << where;
    EXPECT_EQ(g.LowTLimit(), c.lowT) << where;
    EXPECT_EQ(g.HighTLimit(), c.highT) << where;
    Settle(g);
    EXPECT_EQ(StrayAreaPixels(*g.Canvas(), g).Count, 0) << where;
    Click(&g, c.from);
    EXPECT_FALSE(g.Zooming());
    EXPECT_EQ(g.LowTLimit(), 1400);
    EXPECT_EQ(g.HighCLimit(), 100);
    EXPECT_TRUE(messages.Texts.isEmpty()) << messages.Texts.join('|').toStdString();
    messages.Texts.clear();
  }
}

// The host may move the limits while zoomed, even far from the saved
// window; the click that leaves the zoom gives that window back as it was.
TEST_F(SampleEdges, ZoomOutRestoresTheSavedWindowWhateverTheHostSetMeanwhile) {
  Load(1000, 700);
  Drag(&g, At(g, 60, 1820), At(g, 80, 1930));
  ASSERT_TRUE(g.Zooming());
  g.SetLowTLimit(0);
  g.SetHighTLimit(100);
  g.SetLowCLimit(10);
  g.SetHighCLimit(20);
  ASSERT_TRUE(messages.Texts.isEmpty()) << messages.Texts.join('|').toStdString();
  Settle(g);
  Click(&g, At(g, 15, 50));
  EXPECT_FALSE(g.Zooming());
  EXPECT_EQ(g.LowTLimit(), 1400);
  EXPECT_EQ(g.HighTLimit(), 2100);
  EXPECT_EQ(g.LowCLimit(), 0);
  EXPECT_EQ(g.HighCLimit(), 100);
  EXPECT_TRUE(messages.Texts.isEmpty()) << messages.Texts.join('|').toStdString();
}
