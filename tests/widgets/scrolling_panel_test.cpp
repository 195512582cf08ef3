// TScrollingPanel: start, stop, playing out by itself, clicks and drawing.
#include <QMouseEvent>
#include <QTest>
#include <gtest/gtest.h>

#include "widgets/scrolling_panel.h"

namespace {
struct Recorder {
  int starts = 0, stops = 0, clicks = 0;
  void Attach(TScrollingPanel& panel) {
    panel.SetOnStartPlay([this](QObject*) { ++starts; });
    panel.SetOnStopPlay([this](QObject*) { ++stops; });
    panel.SetOnClick([this](QObject*) { ++clicks; });
  }
};

int BluePixels(TScrollingPanel& panel) {
  const QImage image = panel.grab().toImage();
  int n = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) n += (image.pixel(x, y) & 0xFFFFFF) == 0x0000FF;
  return n;
}
}  // namespace

TEST(ScrollingPanel, StartAndStopAreEachReportedOnce) {
  TScrollingPanel panel;
  Recorder rec;
  rec.Attach(panel);
  panel.resize(100, 60);
  panel.Stop();  // not playing: nothing to report
  EXPECT_EQ(rec.stops, 0);
  panel.Play();
  panel.Play();
  EXPECT_TRUE(panel.Active());
  EXPECT_EQ(rec.starts, 1);
  EXPECT_EQ(panel.ScrollPos(), 60);  // the text enters from below
  panel.Stop();
  EXPECT_FALSE(panel.Active());
  EXPECT_EQ(rec.stops, 1);
}

TEST(ScrollingPanel, PlaysOutByItselfOnceTheLastLineHasLeftTheTop) {
  TScrollingPanel panel;
  Recorder rec;
  rec.Attach(panel);
  panel.SetLines({"one", "two", "three"});
  panel.resize(100, 60);
  panel.Play();
  int steps = 0;
  while (panel.Active() && steps < 10000) {
    panel.Step();
    ++steps;
  }
  EXPECT_EQ(steps, 60 + 3 * panel.LineHeight());
  EXPECT_EQ(rec.stops, 1);

  // A restart begins at the bottom again, and the timer drives it to the end.
  panel.SetInterval(1);
  panel.Play();
  EXPECT_EQ(panel.ScrollPos(), 60);
  EXPECT_TRUE(QTest::qWaitFor([&] { return !panel.Active(); }, 5000));
  EXPECT_EQ(rec.starts, 2);
  EXPECT_EQ(rec.stops, 2);
}

TEST(ScrollingPanel, TextIsDrawnOnlyWhilePlaying) {
  TScrollingPanel panel;
  QFont font("Arial");
  font.setPixelSize(18);
  font.setStyleStrategy(QFont::NoAntialias);
  panel.setFont(font);
  panel.SetLines({"HHHH", "HHHH"});
  panel.resize(120, 60);
  EXPECT_EQ(BluePixels(panel), 0);
  panel.Play();
  for (int i = 0; i < 40; ++i) panel.Step();  // first line well inside
  EXPECT_GT(BluePixels(panel), 20);
  panel.Stop();
  EXPECT_EQ(BluePixels(panel), 0);
}

TEST(ScrollingPanel, ClickIsReportedOnReleaseInside) {
  TScrollingPanel panel;
  Recorder rec;
  rec.Attach(panel);
  panel.resize(100, 60);
  QTest::mouseClick(&panel, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
  EXPECT_EQ(rec.clicks, 1);
  QTest::mouseClick(&panel, Qt::RightButton, Qt::NoModifier, QPoint(10, 10));
  EXPECT_EQ(rec.clicks, 1);
}
