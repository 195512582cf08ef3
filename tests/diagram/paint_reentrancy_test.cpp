// The isotherm scan lets messages run once per row. Whatever they deliver
// (an expose, a resize, a setting typed meanwhile, an export that scans
// again) must neither run the scan inside a paint event (the window
// system's paint of the window is open there, and on scaled screens a
// second one pulls the device from under it) nor leave the picture stale:
// once events settle the control shows what a fresh repaint shows.
// Run also with QT_SCALE_FACTOR 2 and 1.5 (see tests/CMakeLists.txt).
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QPaintEvent>
#include <QTemporaryDir>
#include <QTest>
#include <functional>

#include "diagram/ternagram.h"
#include "diagram/ternary_fixture.h"

using namespace ternary;

namespace {

// A ternary control that counts how deep in paint events it is.
class DepthTernagram : public TTernagram {
 public:
  int Depth = 0;

 protected:
  void paintEvent(QPaintEvent* e) override {
    ++Depth;
    TTernagram::paintEvent(e);
    --Depth;
  }
};

// Lets events run until the control has nothing left to paint.
bool Settle(DepthTernagram& g) {
  QElapsedTimer t;
  t.start();
  while (t.elapsed() < 20000) {
    QApplication::processEvents();
    QTest::qWait(5);
    if (!g.Stale() && !g.Painting() && g.Isotherms()->Calculated) {
      QApplication::processEvents();
      if (!g.Stale()) return true;
    }
  }
  return false;
}

struct MidScanCase {
  const char* Name;
  // What a handler of the scan's progress event does at the given rows.
  std::function<void(DepthTernagram&, int Row)> Action;
  // Checked once events settle.
  std::function<void(DepthTernagram&)> Check;
};

class PaintReentrancy : public ::testing::TestWithParam<MidScanCase> {};

TEST_P(PaintReentrancy, ScanRunsOutsidePaintEventsAndTheSettledPictureIsFresh) {
  const MidScanCase& c = GetParam();
  DepthTernagram g;
  g.resize(700, 520);
  ternarytest::LoadTestSystem(g);
  g.Isotherms()->SetMethodStep(1);
  g.SetDrawIsotherms(true);
  int row = 0, deepest = 0;
  g.SetOnIsothermCalcStep([&](QObject*) {
    deepest = std::max(deepest, g.Depth);
    c.Action(g, ++row);
  });
  // The real expose path: the window is shown and the scan starts from its
  // first paint.
  g.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&g));
  ASSERT_TRUE(Settle(g)) << c.Name << ": the control never settled";
  EXPECT_GT(row, 0) << c.Name;
  EXPECT_EQ(deepest, 0) << c.Name << ": the scan ran inside a paint event";

  const QImage shown = g.Canvas()->Image()->copy();
  g.Repaint();
  const QImage fresh = g.Canvas()->Image()->copy();
  ASSERT_EQ(shown.size(), QSize(g.width(), g.height())) << c.Name;
  EXPECT_TRUE(shown == fresh) << c.Name << ": the picture shown is not that of a fresh repaint";
  if (c.Check) c.Check(g);
}

bool HasChains(const TTernagram& g) {
  for (int n : g.IsoPointCounts())
    if (n > 0) return true;
  return false;
}

INSTANTIATE_TEST_SUITE_P(
    MidScan, PaintReentrancy,
    ::testing::Values(
        MidScanCase{"expose and resize",
                    [](DepthTernagram& g, int row) {
                      if (row == 3) g.repaint();  // a paint event now, inside the scan
                      if (row == 5) g.resize(760, 560);
                      if (row == 9) g.update();
                    },
                    [](DepthTernagram& g) { EXPECT_TRUE(HasChains(g)); }},
        // A user typing 150 into the hot isotherm's field, a key a row.
        MidScanCase{"setting typed during the scan",
                    [](DepthTernagram& g, int row) {
                      if (row == 4) g.SetHotIsotherm(1);
                      if (row == 6) g.SetHotIsotherm(15);
                      if (row == 8) g.SetHotIsotherm(1150);
                    },
                    [](DepthTernagram& g) {
                      EXPECT_EQ(g.HotIsotherm(), 1150);
                      EXPECT_TRUE(HasChains(g)) << "the isotherms vanished";
                    }},
        MidScanCase{"areas switched off during the scan",
                    [](DepthTernagram& g, int row) {
                      if (row == 4) {
                        g.SetDrawAreas(false);
                        g.SetDrawTPoints(false);  // their circles carry the area colours
                      }
                    },
                    [](DepthTernagram& g) {
                      int coloured = 0;
                      for (int y = 0; y < g.height(); y += 2)
                        for (int x = 0; x <= g.TriLeft() + g.TriSide(); x += 2)
                          if (const TColor c = g.Canvas()->Pixel(x, y);
                              ternarytest::IsAreaColor(c) && c != g.Isotherms()->Color() &&
                              c != g.HotIsothermColor())
                            ++coloured;
                      EXPECT_EQ(coloured, 0) << "areas still painted with Draw Areas off";
                    }},
        // Saving while the scan runs, in another temperature unit, with
        // settings changed by the save's own scan: a scan inside the scan.
        MidScanCase{"export with a nested scan",
                    [](DepthTernagram& g, int row) {
                      static QTemporaryDir dir;
                      if (row == 2) g.SetTUnits(tuF);
                      if (row == 4) {
                        g.SetTUnits(tuC);
                        EXPECT_TRUE(g.SaveToFile(dir.filePath(QStringLiteral("x.bmp"))));
                      }
                      if (row == 22) g.SetDataOrientation(doCAB);
                      if (row == 30) g.Isotherms()->SetMethodStep(2);
                    },
                    [](DepthTernagram& g) {
                      EXPECT_EQ(g.IsoPoints().size(), g.IsoPointCounts().size());
                      EXPECT_TRUE(HasChains(g));
                    }}),
    [](const auto& info) {
      std::string n = info.param.Name;
      for (char& ch : n)
        if (!isalnum(static_cast<unsigned char>(ch))) ch = '_';
      return n;
    });

}  // namespace
