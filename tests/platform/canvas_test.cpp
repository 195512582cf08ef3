// The canvas conventions every picture rests on, checked on real pixels.
#include <gtest/gtest.h>

#include <QFontInfo>
#include <QFontMetrics>
#include <chrono>
#include <climits>
#include <limits>

#include "platform/bitmap.h"
#include "platform/canvas.h"

namespace {

// Pixels of the given colour in the whole bitmap.
int CountColor(const TBitmap& b, TColor c) {
  int n = 0;
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x) n += b.Canvas()->Pixel(x, y) == c;
  return n;
}

// Every pixel of the rectangle [l, r) x [t, b) has the colour.
bool AllOf(const TBitmap& b, int l, int t, int r, int bottom, TColor c) {
  for (int y = t; y < bottom; ++y)
    for (int x = l; x < r; ++x)
      if (b.Canvas()->Pixel(x, y) != c) return false;
  return true;
}

// A busy picture so that not-xor restores have something to restore.
void Scribble(TBitmap& b) {
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x) b.Canvas()->SetPixel(x, y, RGB(x * 7, y * 5, (x * y) & 0xFF));
}

}  // namespace

TEST(CanvasBitmap, NewPixelsAreWhiteAndResizeKeepsNothing) {
  TBitmap b(4, 3);
  EXPECT_EQ(b.Width(), 4);
  EXPECT_EQ(b.Height(), 3);
  EXPECT_EQ(b.Image().format(), QImage::Format_RGB32);
  EXPECT_EQ(b.Image().dotsPerMeterX(), 3780);
  EXPECT_TRUE(AllOf(b, 0, 0, 4, 3, clWhite));
  b.Canvas()->SetPixel(1, 1, clRed);
  b.SetSize(4, 3);
  EXPECT_EQ(b.Canvas()->Pixel(1, 1), clWhite);
  // Width first, height next: the bitmap ends up with both.
  TBitmap n;
  n.SetWidth(30);
  n.SetHeight(20);
  EXPECT_EQ(n.Image().size(), QSize(30, 20));
  n.SetSize(-5, 7);
  EXPECT_EQ(n.Width(), 0);
  EXPECT_EQ(n.Canvas()->Width(), 0);
  n.SetSize(1 << 20, 1 << 20);  // refused, not attempted
  EXPECT_EQ(n.Width(), 0);
  EXPECT_TRUE(n.Image().isNull());
}

TEST(CanvasPixel, ReadsColourInsideAndInvalidOutside) {
  TBitmap b(5, 5);
  TCanvas& c = *b.Canvas();
  c.SetPixel(2, 3, 0x123456);
  EXPECT_EQ(c.Pixel(2, 3), 0x123456u);
  EXPECT_EQ(b.Image().pixel(2, 3), 0xFF563412u);  // $00BBGGRR against 0xAARRGGBB
  for (auto [x, y] : {std::pair{-1, 0}, {0, -1}, {5, 0}, {0, 5}, {INT_MIN, INT_MAX}})
    EXPECT_EQ(c.Pixel(x, y), clInvalid) << x << "," << y;
  c.SetPixel(5, 0, clBlack);  // ignored
  EXPECT_EQ(CountColor(b, clBlack), 0);
}

TEST(CanvasLine, LineToLeavesEndPixelAndMovesPen) {
  TBitmap b(20, 20);
  TCanvas& c = *b.Canvas();
  c.MoveTo(2, 5);
  c.LineTo(10, 5);
  EXPECT_EQ(c.PenPos(), (TPoint{10, 5}));
  EXPECT_EQ(CountColor(b, clBlack), 8);
  EXPECT_TRUE(AllOf(b, 2, 5, 10, 6, clBlack));
  EXPECT_EQ(c.Pixel(10, 5), clWhite);
  // Going on from the end joins without a gap or overlap.
  c.LineTo(10, 12);
  EXPECT_EQ(c.Pixel(10, 5), clBlack);
  EXPECT_EQ(c.Pixel(10, 11), clBlack);
  EXPECT_EQ(c.Pixel(10, 12), clWhite);
  // A zero-length line paints nothing.
  c.MoveTo(15, 15);
  c.LineTo(15, 15);
  EXPECT_EQ(c.Pixel(15, 15), clWhite);
}

TEST(CanvasLine, ShallowLineStepsOnePixelPerColumn) {
  TBitmap b(20, 20);
  TCanvas& c = *b.Canvas();
  c.MoveTo(0, 0);
  c.LineTo(10, 3);
  EXPECT_EQ(CountColor(b, clBlack), 10);
  for (int x = 0; x < 10; ++x) {
    int inColumn = 0;
    for (int y = 0; y < 4; ++y) inColumn += c.Pixel(x, y) == clBlack;
    EXPECT_EQ(inColumn, 1) << x;
  }
  EXPECT_EQ(c.Pixel(0, 0), clBlack);
  EXPECT_EQ(c.Pixel(9, 3), clBlack);
}

TEST(CanvasLine, WidthTwoAddsTheNeighbourAcrossTheMinorAxis) {
  TBitmap b(20, 20);
  TCanvas& c = *b.Canvas();
  c.Pen.Width = 2;
  c.MoveTo(2, 5);
  c.LineTo(8, 5);  // flat: the row below joins
  EXPECT_TRUE(AllOf(b, 2, 5, 8, 7, clBlack));
  EXPECT_EQ(CountColor(b, clBlack), 12);
  b.SetSize(20, 20);
  c.MoveTo(4, 2);
  c.LineTo(4, 9);  // steep: the column to the right joins
  EXPECT_TRUE(AllOf(b, 4, 2, 6, 9, clBlack));
  EXPECT_EQ(CountColor(b, clBlack), 14);
}

TEST(CanvasLine, WildCoordinatesAreClippedExactly) {
  TBitmap b(50, 40);
  TCanvas& c = *b.Canvas();
  // The part inside equals the part of the same line drawn from nearby.
  c.MoveTo(-1000000000, 20);
  c.LineTo(1000000000, 20);
  EXPECT_TRUE(AllOf(b, 0, 20, 50, 21, clBlack));
  EXPECT_EQ(CountColor(b, clBlack), 50);
  TBitmap far(50, 40), near(50, 40);
  far.Canvas()->MoveTo(-2000000, -1000000);
  far.Canvas()->LineTo(2000002, 1000001);
  // The same line starts 2000000 steps earlier: find its pixels directly.
  near.Canvas()->MoveTo(0, 0);
  near.Canvas()->LineTo(100, 50);
  EXPECT_GT(CountColor(far, clBlack), 0);
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 50; ++x)
      ASSERT_EQ(far.Canvas()->Pixel(x, y), near.Canvas()->Pixel(x, y)) << x << "," << y;
  // Lines that only pass near or far outside touch nothing.
  TBitmap blank(50, 40);
  blank.Canvas()->Pen.Width = 2;
  blank.Canvas()->MoveTo(INT_MIN, INT_MIN);
  blank.Canvas()->LineTo(INT_MAX, INT_MIN);
  blank.Canvas()->MoveTo(INT_MIN, INT_MAX);
  blank.Canvas()->LineTo(INT_MIN, INT_MIN);
  blank.Canvas()->MoveTo(-2, -5);
  blank.Canvas()->LineTo(-2, 100);
  EXPECT_EQ(CountColor(blank, clBlack), 0);
  // ...but a width-2 line just left of the edge shows its right-hand half.
  blank.Canvas()->MoveTo(-1, -5);
  blank.Canvas()->LineTo(-1, 100);
  EXPECT_TRUE(AllOf(blank, 0, 0, 1, 40, clBlack));
  EXPECT_EQ(CountColor(blank, clBlack), 40);
}

TEST(CanvasShapes, RectangleCoversX1ToX2Minus1WithOutlineAndFill) {
  TBitmap b(20, 20);
  TCanvas& c = *b.Canvas();
  c.Brush.Color = clRed;
  c.Rectangle(2, 3, 8, 9);
  EXPECT_EQ(CountColor(b, clBlack), 2 * 6 + 2 * 4);
  EXPECT_EQ(CountColor(b, clRed), 4 * 4);
  EXPECT_TRUE(AllOf(b, 2, 3, 8, 4, clBlack));
  EXPECT_TRUE(AllOf(b, 2, 8, 8, 9, clBlack));
  EXPECT_TRUE(AllOf(b, 3, 4, 7, 8, clRed));
  EXPECT_EQ(c.Pixel(8, 5), clWhite);
  EXPECT_EQ(c.Pixel(5, 9), clWhite);
  // Clear brush: outline only; width 2: a two-pixel frame inside.
  b.SetSize(20, 20);
  c.Brush.Style = bsClear;
  c.Pen.Width = 2;
  c.Rectangle(8, 9, 2, 3);  // corners in any order
  EXPECT_TRUE(AllOf(b, 2, 3, 8, 5, clBlack));
  EXPECT_TRUE(AllOf(b, 2, 3, 4, 9, clBlack));
  EXPECT_TRUE(AllOf(b, 4, 5, 6, 7, clWhite));
  EXPECT_EQ(CountColor(b, clBlack), 36 - 4);
}

TEST(CanvasShapes, FillRectUsesBrushOnlyAndAlwaysCopies) {
  TBitmap b(10, 10);
  TCanvas& c = *b.Canvas();
  c.Brush.Color = clBlue;
  c.Pen.Mode = pmNotXor;
  c.FillRect({1, 2, 4, 6});
  c.FillRect({8, 8, 6, 6});  // inverted: nothing, as on the desktop
  EXPECT_EQ(CountColor(b, clBlue), 12);
  EXPECT_TRUE(AllOf(b, 1, 2, 4, 6, clBlue));
}

TEST(CanvasShapes, PolygonFillsInsideAndOutlinesClosed) {
  TBitmap b(30, 30);
  TCanvas& c = *b.Canvas();
  c.Brush.Color = clInfoBk;
  c.Polygon({{5, 5}, {15, 5}, {15, 12}, {5, 12}});
  // Outline through the vertices, fill strictly inside.
  EXPECT_TRUE(AllOf(b, 5, 5, 16, 6, clBlack));
  EXPECT_TRUE(AllOf(b, 5, 12, 16, 13, clBlack));
  EXPECT_TRUE(AllOf(b, 5, 5, 6, 13, clBlack));
  EXPECT_TRUE(AllOf(b, 15, 5, 16, 13, clBlack));
  EXPECT_TRUE(AllOf(b, 6, 6, 15, 12, clInfoBk));
  EXPECT_EQ(CountColor(b, clBlack) + CountColor(b, clInfoBk), 11 * 8);
  // A triangle far bigger than the image fills all of it without trouble.
  TBitmap big(40, 40);
  big.Canvas()->Brush.Color = clRed;
  big.Canvas()->Polygon({{-100000000, -100000000}, {1000000000, 0}, {0, 1000000000}});
  EXPECT_EQ(CountColor(big, clRed), 40 * 40);
}

TEST(CanvasShapes, EllipseStaysInItsBoxAndTouchesItsSides) {
  TBitmap b(30, 30);
  TCanvas& c = *b.Canvas();
  c.Brush.Color = clRed;
  c.Ellipse(5, 6, 16, 17);  // 11 x 11
  EXPECT_EQ(c.Pixel(5, 11), clBlack);
  EXPECT_EQ(c.Pixel(15, 11), clBlack);
  EXPECT_EQ(c.Pixel(10, 6), clBlack);
  EXPECT_EQ(c.Pixel(10, 16), clBlack);
  EXPECT_EQ(c.Pixel(10, 11), clRed);
  EXPECT_EQ(c.Pixel(5, 6), clWhite);  // corners stay outside
  int inBox = 0;
  for (int y = 6; y < 17; ++y)
    for (int x = 5; x < 16; ++x) inBox += c.Pixel(x, y) != clWhite;
  EXPECT_EQ(inBox, CountColor(b, clBlack) + CountColor(b, clRed));
}

TEST(CanvasNotXor, DrawingTwiceRestoresThePicture) {
  TBitmap b(60, 50);
  Scribble(b);
  const QImage before = b.Image().copy();
  TCanvas& c = *b.Canvas();
  c.Pen.Mode = pmNotXor;
  c.Pen.Color = clBlack;
  for (int width : {1, 2}) {
    c.Pen.Width = width;
    auto draw = [&] {
      c.MoveTo(3, 4);
      c.LineTo(55, 30);
      c.MoveTo(-10, 45);
      c.LineTo(70, -3);
      c.Brush.Style = bsClear;
      c.Rectangle(10, 10, 40, 35);
      c.Brush.Style = bsSolid;
      c.Brush.Color = clWhite;
      c.Rectangle(5, 20, 30, 48);
      c.Polyline({{1, 1}, {20, 1}, {20, 20}, {1, 1}});
    };
    draw();
    EXPECT_NE(b.Image(), before);
    draw();
    EXPECT_EQ(b.Image(), before) << "width " << width;
  }
}

TEST(CanvasNotXor, BlackPenInvertsAndWhiteBrushKeepsTheInside) {
  TBitmap b(20, 20);
  TCanvas& c = *b.Canvas();
  c.FillRect({0, 0, 20, 20});  // white
  c.Brush.Color = clRed;
  c.FillRect({0, 0, 20, 10});
  c.Pen.Mode = pmNotXor;
  c.Pen.Width = 2;
  c.Brush.Color = clWhite;
  c.Rectangle(2, 2, 18, 18);
  EXPECT_EQ(c.Pixel(2, 15), clBlack);      // black pen on white: black
  EXPECT_EQ(c.Pixel(2, 5), 0xFFFF00u);     // on red: its complement
  EXPECT_EQ(c.Pixel(10, 5), clRed);        // inside untouched
  EXPECT_EQ(c.Pixel(10, 15), clWhite);
  EXPECT_EQ(b.Image().pixel(2, 5) >> 24, 0xFFu);  // alpha stays opaque
  // A closed not-xor outline of width 2 keeps its corners.
  TBitmap t(20, 20);
  t.Canvas()->Pen.Mode = pmNotXor;
  t.Canvas()->Pen.Width = 2;
  t.Canvas()->Polyline({{2, 2}, {12, 2}, {12, 12}, {2, 12}, {2, 2}});
  EXPECT_EQ(t.Canvas()->Pixel(12, 2), clBlack);
  EXPECT_EQ(t.Canvas()->Pixel(2, 12), clBlack);
  EXPECT_EQ(t.Canvas()->Pixel(2, 2), clBlack);
}

TEST(CanvasText, CellIsFilledAndHeightIsAscentPlusDescent) {
  TBitmap b(200, 60);
  TCanvas& c = *b.Canvas();
  c.Font.Name = QStringLiteral("Arial");
  c.Font.Size = 10;
  c.Brush.Color = clInfoBk;
  const QString text = QStringLiteral("Liquid + Mullite");
  const int w = c.TextWidth(text), h = c.TextHeight(text);
  QFont f(QStringLiteral("Arial"));
  f.setPointSize(10);
  QImage device(1, 1, QImage::Format_RGB32);
  device.setDotsPerMeterX(3780);
  device.setDotsPerMeterY(3780);
  const QFontMetrics m(f, &device);
  EXPECT_EQ(h, m.ascent() + m.descent());
  EXPECT_GT(w, 50);
  EXPECT_EQ(c.TextHeight(QStringLiteral("x")), h);
  c.TextOut(10, 20, text);
  EXPECT_EQ(c.PenPos(), (TPoint{10 + w, 20}));
  // Every cell pixel is the brush or the font colour; nothing else anywhere.
  int ink = 0;
  for (int y = 20; y < 20 + h; ++y)
    for (int x = 10; x < 10 + w; ++x) {
      const TColor p = c.Pixel(x, y);
      ASSERT_TRUE(p == clInfoBk || p == clBlack) << x << "," << y << " " << std::hex << p;
      ink += p == clBlack;
    }
  EXPECT_GT(ink, 20);
  EXPECT_EQ(CountColor(b, clInfoBk) + ink, w * h);
  EXPECT_EQ(c.Pixel(10 + w, 20), clWhite);
  EXPECT_EQ(c.Pixel(10, 20 + h), clWhite);
  // Clear brush: only the glyphs, in the font colour, and no blending.
  TBitmap t(200, 60);
  t.Canvas()->Brush.Style = bsClear;
  t.Canvas()->Font.Color = clRed;
  t.Canvas()->TextOut(10, 20, text);
  EXPECT_EQ(CountColor(t, clRed) + CountColor(t, clWhite), 200 * 60);
  EXPECT_GT(CountColor(t, clRed), 20);
}

TEST(CanvasText, ArialResolvesToLiberationSansAndStylesWiden) {
  QFont f(QStringLiteral("Arial"));
  EXPECT_EQ(QFontInfo(f).family(), QStringLiteral("Liberation Sans"));
  TBitmap b(10, 10);
  TCanvas& c = *b.Canvas();
  c.Font.Size = 12;
  const int plain = c.TextWidth(QStringLiteral("Temperature"));
  c.Font.Style = fsBold;
  EXPECT_GT(c.TextWidth(QStringLiteral("Temperature")), plain);
  c.Font.Style = 0;
  c.Font.Size = 24;
  EXPECT_GT(c.TextWidth(QStringLiteral("Temperature")), plain);
  // 12 points at 96 dpi are 16 pixels: the cell is about that high.
  c.Font.Size = 12;
  EXPECT_GE(c.TextHeight(QStringLiteral("T")), 16);
  EXPECT_LE(c.TextHeight(QStringLiteral("T")), 20);
}

// Qt's own metrics wrap past 2^25 pixels; the canvas measures long texts in
// pieces, so a width grows with the text and the cell is still filled.
TEST(CanvasText, VeryWideTextsKeepTheirWidthAndBackground) {
  TBitmap b(300, 10);
  TCanvas& c = *b.Canvas();
  c.Font.Size = 1000;
  const int one = c.TextWidth(QStringLiteral("W"));
  ASSERT_GT(one, 500);
  for (int n : {1000, 30000, 100000}) {
    const int w = c.TextWidth(QString(n, QLatin1Char('W')));
    EXPECT_GE(w, 0) << n;
    EXPECT_NEAR(double(w) / n, one, 1.0) << n;
  }
  // Beyond INT_MAX pixels the width stops there instead of wrapping.
  c.Font.Size = 30000;
  EXPECT_EQ(c.TextWidth(QString(100000, QLatin1Char('W'))), std::numeric_limits<int>::max());

  c.Font.Size = 1000;
  c.Brush.Color = clInfoBk;
  c.TextOut(-100, -700, QString(100000, QLatin1Char('W')));  // the glyphs' middle rows
  EXPECT_GT(CountColor(b, clInfoBk), 0) << "the cell's background is painted";
  EXPECT_EQ(CountColor(b, clWhite), 0);
}

TEST(CanvasFlood, StopsAtTheBorderAndDoesNotLeakThroughADiagonalGap) {
  TBitmap b(30, 30);
  TCanvas& c = *b.Canvas();
  c.Rectangle(0, 0, 30, 30);
  // A diagonal wall from corner to corner: 4-connected fill cannot cross it.
  for (int i = 0; i < 30; ++i) c.SetPixel(i, i, clBlack);
  c.Brush.Color = clRed;
  c.FloodFill(20, 5, clBlack, fsBorder);
  // Upper-right triangle inside the frame: strictly above the diagonal.
  int expected = 0;
  for (int y = 1; y < 29; ++y)
    for (int x = 1; x < 29; ++x) expected += x > y;
  EXPECT_EQ(CountColor(b, clRed), expected);
  EXPECT_EQ(c.Pixel(5, 20), clWhite);
}

TEST(CanvasFlood, RegionAlreadyOfTheBrushColourIsFilledAndEnds) {
  TBitmap b(40, 40);
  TCanvas& c = *b.Canvas();
  c.Brush.Color = clRed;
  c.FillRect({10, 0, 20, 40});  // a red band cutting the white region
  c.Rectangle(0, 0, 40, 40);    // black frame, red inside
  c.Brush.Color = clRed;
  c.FloodFill(15, 20, clBlack, fsBorder);
  EXPECT_EQ(CountColor(b, clRed), 38 * 38);
  // Other colours inside are filled over too, up to the border only.
  c.SetPixel(5, 5, clBlue);
  c.Brush.Color = clGreen;
  c.FloodFill(1, 1, clBlack, fsBorder);
  EXPECT_EQ(CountColor(b, clGreen), 38 * 38);
}

TEST(CanvasFlood, SeedOnBorderOrOutsideFillsNothing) {
  TBitmap b(20, 20);
  TCanvas& c = *b.Canvas();
  c.Rectangle(0, 0, 20, 20);
  const QImage before = b.Image().copy();
  c.Brush.Color = clRed;
  for (auto [x, y] : {std::pair{0, 5}, {-1, 5}, {5, 20}, {INT_MAX, INT_MIN}}) c.FloodFill(x, y, clBlack, fsBorder);
  c.FloodFill(5, 5, clBlue, fsSurface);  // seed not of the surface colour
  EXPECT_EQ(b.Image(), before);
}

TEST(CanvasFlood, SurfaceFillTakesTheSeedColourRegion) {
  TBitmap b(20, 20);
  TCanvas& c = *b.Canvas();
  c.Brush.Color = clBlue;
  c.FillRect({0, 0, 10, 20});
  c.Brush.Color = clRed;
  c.FloodFill(2, 2, clBlue, fsSurface);
  EXPECT_EQ(CountColor(b, clRed), 200);
  EXPECT_EQ(CountColor(b, clWhite), 200);
}

TEST(CanvasFlood, FullHdAreaFillsQuickly) {
  TBitmap b(1920, 1080);
  TCanvas& c = *b.Canvas();
  c.Rectangle(0, 0, 1920, 1080);
  c.MoveTo(0, 0);
  c.LineTo(1919, 1079);
  c.Brush.Color = clRed;
  const auto start = std::chrono::steady_clock::now();
  c.FloodFill(1000, 10, clBlack, fsBorder);
  c.FloodFill(10, 1000, clBlack, fsBorder);
  const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  EXPECT_EQ(CountColor(b, clBlack) + CountColor(b, clRed), 1920 * 1080);
  EXPECT_LT(ms, 500.0);
}

TEST(CanvasCopy, ThreeRasterOperations) {
  TBitmap src(10, 10), dst(10, 10);
  src.Canvas()->Brush.Color = 0x0F0F0F;
  src.Canvas()->FillRect({0, 0, 10, 10});
  src.Canvas()->SetPixel(1, 1, clRed);
  TCanvas& c = *dst.Canvas();
  c.Brush.Color = 0x00FF00;
  c.FillRect({0, 0, 10, 10});
  c.CopyMode = BLACKNESS;
  c.CopyRect({2, 2, 5, 5}, *src.Canvas(), {0, 0, 3, 3});
  EXPECT_TRUE(AllOf(dst, 2, 2, 5, 5, clBlack));
  EXPECT_EQ(c.Pixel(5, 5), 0x00FF00u);
  c.CopyMode = SRCCOPY;
  c.CopyRect({0, 0, 3, 3}, *src.Canvas(), {0, 0, 3, 3});
  EXPECT_EQ(c.Pixel(1, 1), clRed);
  EXPECT_EQ(c.Pixel(2, 2), 0x0F0F0Fu);
  EXPECT_EQ(c.Pixel(3, 3), clBlack);
  c.CopyMode = SRCINVERT;
  c.CopyRect({6, 6, 10, 10}, *src.Canvas(), {0, 0, 4, 4});
  EXPECT_EQ(c.Pixel(7, 7), 0x00FF00u ^ 0x0000FFu);
  EXPECT_EQ(c.Pixel(8, 8), 0x00FF00u ^ 0x0F0F0Fu);
  EXPECT_EQ(dst.Image().pixel(8, 8) >> 24, 0xFFu);
  // SRCINVERT onto black reproduces the source: the paint pipeline's step.
  TBitmap frame(10, 10);
  frame.Canvas()->CopyMode = BLACKNESS;
  frame.Canvas()->Draw(0, 0, src);
  frame.Canvas()->CopyMode = SRCINVERT;
  frame.Canvas()->Draw(0, 0, src);
  EXPECT_EQ(frame.Image(), src.Image());
}

TEST(CanvasCopy, ClippedToBothImagesForWildRectangles) {
  TBitmap src(8, 8), dst(6, 6);
  src.Canvas()->Brush.Color = clRed;
  src.Canvas()->FillRect({0, 0, 8, 8});
  TCanvas& c = *dst.Canvas();
  c.Draw(3, 4, src);
  EXPECT_EQ(CountColor(dst, clRed), 3 * 2);
  EXPECT_EQ(c.Pixel(3, 4), clRed);
  dst.SetSize(6, 6);
  c.CopyRect({-2, -2, 4, 4}, *src.Canvas(), {5, 5, 11, 11});  // source runs off its edge
  EXPECT_EQ(CountColor(dst, clRed), 1);  // only source (7,7) -> dest (0,0)
  EXPECT_EQ(c.Pixel(0, 0), clRed);
  dst.SetSize(6, 6);
  c.CopyRect({INT_MIN, INT_MIN, INT_MAX, INT_MAX}, *src.Canvas(), {INT_MIN, INT_MIN, INT_MAX, INT_MAX});
  c.Draw(INT_MAX, INT_MAX, src);
  c.Draw(INT_MIN, INT_MIN, src);
  c.StretchDraw({INT_MIN, 0, INT_MAX, 3}, src);
  EXPECT_EQ(c.Pixel(0, 0), clRed);
  TBitmap empty;
  empty.Canvas()->Draw(0, 0, src);
  empty.Canvas()->CopyRect({0, 0, 5, 5}, *src.Canvas(), {0, 0, 5, 5});
  c.Draw(1, 1, empty);
  c.StretchDraw({0, 0, 6, 6}, empty);
  EXPECT_EQ(empty.Width(), 0);
}

TEST(CanvasCopy, CopyWithinOneImageUsesTheOriginalPixels) {
  TBitmap b(10, 1);
  for (int x = 0; x < 10; ++x) b.Canvas()->SetPixel(x, 0, RGB(x, 0, 0));
  b.Canvas()->CopyRect({1, 0, 10, 1}, *b.Canvas(), {0, 0, 9, 1});
  for (int x = 1; x < 10; ++x) EXPECT_EQ(b.Canvas()->Pixel(x, 0), RGB(x - 1, 0, 0));
}

TEST(CanvasCopy, StretchDrawScalesByNearestPixel) {
  TBitmap src(2, 2), dst(8, 6);
  src.Canvas()->SetPixel(0, 0, clRed);
  src.Canvas()->SetPixel(1, 1, clBlue);
  dst.Canvas()->StretchDraw({0, 0, 8, 6}, src);
  EXPECT_TRUE(AllOf(dst, 0, 0, 4, 3, clRed));
  EXPECT_TRUE(AllOf(dst, 4, 3, 8, 6, clBlue));
  EXPECT_TRUE(AllOf(dst, 4, 0, 8, 3, clWhite));
  EXPECT_EQ(CountColor(dst, clRed) + CountColor(dst, clBlue) + CountColor(dst, clWhite), 48);
}

TEST(CanvasClip, EveryOperationIsSafeOnAnEmptyImageAndWithWildCoordinates) {
  for (int size : {0, 1}) {
    TBitmap b(size, size);
    TBitmap other(3, 3);
    TCanvas& c = *b.Canvas();
    for (int width : {1, 2, 1000}) {
      c.Pen.Width = width;
      for (TPenMode mode : {pmCopy, pmNotXor}) {
        c.Pen.Mode = mode;
        c.MoveTo(INT_MIN, INT_MIN);
        c.LineTo(INT_MAX, INT_MAX);
        c.Polyline({{INT_MIN, 0}, {INT_MAX, 0}, {0, INT_MAX}, {INT_MIN, INT_MIN}});
        c.Polygon({{INT_MIN, INT_MIN}, {INT_MAX, INT_MIN}, {0, INT_MAX}});
        c.Polygon({});
        c.Polygon({{0, 0}});
        c.Rectangle(INT_MIN, INT_MIN, INT_MAX, INT_MAX);
        c.Ellipse(INT_MIN, INT_MIN, INT_MAX, INT_MAX);
        c.FillRect({INT_MIN, INT_MIN, INT_MAX, INT_MAX});
        c.TextOut(INT_MAX, INT_MIN, QStringLiteral("Text"));
        c.TextOut(INT_MIN, INT_MAX, QStringLiteral("Text"));
        c.FloodFill(0, 0, clBlack, fsBorder);
        c.FloodFill(0, 0, clRed, fsSurface);
        c.Draw(-1, -1, other);
        c.StretchDraw({INT_MIN, INT_MIN, INT_MAX, INT_MAX}, other);
      }
    }
    EXPECT_EQ(b.Width(), size);
    EXPECT_EQ(c.Pixel(0, 0), size ? c.Pixel(0, 0) : clInvalid);
  }
}

TEST(CanvasSpeed, FullHdFillAndCopyCostAboutAMemoryPass) {
  TBitmap a(1920, 1080), b(1920, 1080);
  a.Canvas()->Brush.Color = clRed;
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < 20; ++i) {
    a.Canvas()->FillRect({0, 0, 1920, 1080});
    b.Canvas()->Draw(0, 0, a);
  }
  const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count() / 20;
  EXPECT_EQ(b.Canvas()->Pixel(1919, 1079), clRed);
  // A fill plus a copy of 8 MB each: a few milliseconds; generous for a busy machine.
  EXPECT_LT(ms, 40.0);
  RecordProperty("fill_and_copy_ms", std::to_string(ms));
  std::printf("1920x1080 fill + copy: %.2f ms\n", ms);
}
