// The vector record of a canvas: outlines of pixel runs, and flood-filled
// regions traced finely against the strokes drawn over them.
#include <QPainterPath>
#include <gtest/gtest.h>
#include <cmath>
#include <random>

#include "platform/bitmap.h"
#include "platform/vectorpicture.h"

TEST(TraceSpans, OutlinesRunsWithHolesAndCornerTouchingPixels) {
  // A 10 x 10 square with a 4 x 4 hole, given in pieces that touch, and a
  // pixel touching its corner diagonally.
  std::vector<TVectorPicture::Span> spans;
  for (int y = 0; y < 10; ++y) {
    if (y >= 3 && y < 7) {
      spans.push_back({y, 0, 2});
      spans.push_back({y, 7, 9});
    } else {
      spans.push_back({y, 0, 4});
      spans.push_back({y, 5, 9});
    }
  }
  spans.push_back({10, 10, 10});
  const QPainterPath path = TraceSpans(spans, 0);
  for (int y = -1; y <= 11; ++y)
    for (int x = -1; x <= 11; ++x) {
      const bool hole = x >= 3 && x < 7 && y >= 3 && y < 7;
      const bool filled = (x >= 0 && x < 10 && y >= 0 && y < 10 && !hole) || (x == 10 && y == 10);
      EXPECT_EQ(path.contains(QPointF(x + 0.5, y + 0.5)), filled) << x << "," << y;
    }
  // Straight sides keep only their corners: 4 + 4 + 4.
  EXPECT_LE(path.elementCount(), 12 + 3);  // and each loop closed once
}

TEST(VectorPicture, FillOutlinesMeetTheStrokesWithinOneFinePixel) {
  // A frame and a slanted line (as boundary curves are drawn), two areas
  // filled on either side, recorded with fills traced 3 times finer.
  TBitmap bitmap(160, 100);
  TVectorPicture picture(160, 100);
  picture.SetTraceScale(3);
  TCanvas& c = *bitmap.Canvas();
  c.Recorder = &picture;
  c.Pen = TPen{clBlack, 2, pmCopy};
  c.Polyline({{10, 10}, {150, 10}, {150, 90}, {10, 90}, {10, 10}});
  c.Pen.Width = 1;
  c.MoveTo(10, 70);
  c.LineTo(150, 23);
  c.Brush.Color = 0xE0E0FF;
  c.FloodFill(30, 20, clBlack);
  c.Brush.Color = 0xD8FFD8;
  c.FloodFill(100, 80, clBlack);
  c.Recorder = nullptr;
  const auto regions = picture.Regions();
  ASSERT_EQ(regions.size(), 2u);

  // Every corner of an outline lies on the edge of a stroke's band: the
  // frame's (2 wide, through pixel centres) or the line's (1 wide), within
  // a third of a pixel (a quarter point at 96 dots per inch).
  auto distanceToSegment = [](QPointF p, QPointF a, QPointF b) {
    const QPointF d = b - a;
    const double t = std::clamp(QPointF::dotProduct(p - a, d) / QPointF::dotProduct(d, d), 0.0, 1.0);
    const QPointF q = a + t * d - p;
    return std::hypot(q.x(), q.y());
  };
  const QPointF frame[] = {{11, 11}, {151, 11}, {151, 91}, {11, 91}};  // 2 wide: [10, 12)
  for (const QPainterPath& region : regions) {
    int corners = 0;
    for (int i = 0; i < region.elementCount(); ++i) {
      const QPointF p = region.elementAt(i);
      double off = std::fabs(distanceToSegment(p, {10.5, 70.5}, {150.5, 23.5}) - 0.5);
      for (int s = 0; s < 4; ++s) off = std::min(off, std::fabs(distanceToSegment(p, frame[s], frame[(s + 1) % 4]) - 1.0));
      EXPECT_LE(off, 1.0 / 3 + 1e-9) << p.x() << "," << p.y();
      ++corners;
    }
    EXPECT_GT(corners, 4);
    // Simplified: far fewer corners than the staircase of fine pixels along
    // the slanted line (about 2 x 3 x 140).
    EXPECT_LT(corners, 400);
  }
  // The two areas, one each side of the line.
  EXPECT_TRUE(regions[0].contains(QPointF(30, 20)));
  EXPECT_FALSE(regions[0].contains(QPointF(100, 80)));
  EXPECT_TRUE(regions[1].contains(QPointF(100, 80)));

  // Boxes reaching far beyond the bitmap are walls within it.
  TVectorPicture far(160, 100);
  far.SetTraceScale(3);
  c.Recorder = &far;
  c.Brush.Color = clWhite;
  c.FillRect(TRect{-2000000000, -2000000000, 2000000000, 2000000000});
  c.Brush.Color = clBlack;
  c.FillRect(TRect{-2000000000, 50, 2000000000, 2000000000});
  c.Brush.Color = 0xE0E0FF;
  c.FloodFill(80, 20, clBlack);
  ASSERT_EQ(far.Regions().size(), 1u);
  EXPECT_EQ(far.Regions()[0].boundingRect(), QRectF(0, 0, 160, 50));

  // Not-xor overlays are not recorded, copy-mode texts are.
  TVectorPicture overlay(160, 100);
  c.Recorder = &overlay;
  c.Pen.Mode = pmNotXor;
  c.MoveTo(0, 0);
  c.LineTo(50, 50);
  EXPECT_TRUE(overlay.IsEmpty());
  c.Pen.Mode = pmCopy;
  c.TextOut(20, 20, "Liquid");
  EXPECT_EQ(overlay.TextCount(), 1);
  c.Recorder = nullptr;
}

TEST(VectorPicture, TraceScaleForAQuarterPoint) {
  EXPECT_EQ(TVectorPicture::TraceScaleFor(0.75), 3);  // a pixel at 96 dpi
  EXPECT_EQ(TVectorPicture::TraceScaleFor(1.3), 6);
  EXPECT_EQ(TVectorPicture::TraceScaleFor(100), 16);
}

TEST(TraceSpans, SimplifiedOutlinesStayWithinTheTolerance) {
  // Blobs of discs and slanted bands, as fine fills along curves are: every
  // edge of the pixel staircase must lie within the tolerance of the
  // simplified outline (its middle, where the staircase meets the true
  // edge best), and cells well inside or outside keep their side.
  std::mt19937 random(2026);
  for (int blob = 0; blob < 12; ++blob) {
    std::uniform_real_distribution<double> at(10, 70), radius(3, 25), slope(-3, 3);
    const double cx = at(random), cy = at(random), r = radius(random), k = slope(random), c0 = at(random);
    auto filled = [&](int x, int y) {
      const double px = x + 0.5, py = y + 0.5;
      return std::hypot(px - cx, py - cy) < r || std::fabs(py - (c0 + k * (px - 40))) < 2.5 + blob % 3;
    };
    std::vector<TVectorPicture::Span> spans;
    for (int y = 0; y < 80; ++y)
      for (int x = 0; x < 80; ++x)
        if (filled(x, y)) {
          int end = x;
          while (end + 1 < 80 && filled(end + 1, y)) ++end;
          spans.push_back({y, x, end});
          x = end;
        }
    const double tolerance = 0.5;
    const QPainterPath path = TraceSpans(spans, tolerance);
    std::vector<std::pair<QPointF, QPointF>> sides;
    for (int i = 0; i < path.elementCount(); ++i) {
      const QPainterPath::Element e = path.elementAt(i);
      if (e.type == QPainterPath::LineToElement) sides.push_back({path.elementAt(i - 1), e});
    }
    auto distance = [&](QPointF p) {
      double best = 1e9;
      for (const auto& [a, b] : sides) {
        const QPointF d = b - a;
        const double len2 = QPointF::dotProduct(d, d);
        const double t = len2 > 0 ? std::clamp(QPointF::dotProduct(p - a, d) / len2, 0.0, 1.0) : 0;
        const QPointF q = a + t * d - p;
        best = std::min(best, std::hypot(q.x(), q.y()));
      }
      return best;
    };
    auto in = [&](int x, int y) { return x >= 0 && y >= 0 && x < 80 && y < 80 && filled(x, y); };
    for (int y = -1; y <= 80; ++y)
      for (int x = -1; x <= 80; ++x) {
        // The middles of the cell's right and lower edges where they divide
        // filled from empty.
        if (in(x, y) != in(x + 1, y))
          EXPECT_LE(distance(QPointF(x + 1, y + 0.5)), tolerance + 1e-9) << blob << ": " << x << "," << y;
        if (in(x, y) != in(x, y + 1))
          EXPECT_LE(distance(QPointF(x + 0.5, y + 1)), tolerance + 1e-9) << blob << ": " << x << "," << y;
        bool edge = false;
        for (int dy = -1; dy <= 1; ++dy)
          for (int dx = -1; dx <= 1; ++dx) edge |= in(x + dx, y + dy) != in(x, y);
        if (!edge) EXPECT_EQ(path.contains(QPointF(x + 0.5, y + 0.5)), in(x, y)) << blob << ": " << x << "," << y;
      }
  }
}
