// Layout, paint pipeline, boundary curves, area fill and T-points.
#include <algorithm>
#include <cmath>

#include "diagram/ternagram.h"

using namespace ternary;

namespace {

// Interpolated points the curves get between two neighbouring knots.
constexpr int SamplesPerInterval = 8;

// The triangle is drawn only above this side; at exactly this side the
// contents are drawn without it and therefore without any fill, which
// would have no outline to stop at.
constexpr int SmallestSide = 120;

// A pixel coordinate from a computed position. Positions far outside any
// bitmap keep their direction instead of collapsing to 0, so a line towards
// them is still clipped at the right place.
int Px(double v) { return RoundPixel(std::clamp(v, -1.0e6, 1.0e6)); }

}  // namespace

// --- Layout and maps -------------------------------------------------------------

void TTernagram::RunLayout(int Width, int Height) {
  TTernaLayout l;
  const double w = std::max(Width, 0);
  l.LegendWidth = 0;
  if ((Legend() && Areas() > 0) || CoPhasesTable())
    l.LegendWidth = std::min(RoundPixel(std::sqrt(w) * std::sqrt(w / 12)), 180);
  // Sums in 64 bits: a host may pass any int.
  const long long side = (long long)Width - 120 - l.LegendWidth;
  const long long height = (long long)Height - 120;
  double s = double(side), h = double(height);
  if (h > std::nearbyint(s * Sin60))
    h = std::nearbyint(s * Sin60);
  else if (s > std::nearbyint(h / Sin60))
    s = std::nearbyint(h / Sin60);
  l.TriSide = int(std::clamp(s, -1e9, 1e9));
  l.TriHeight = int(std::clamp(h, -1e9, 1e9));
  l.TriLeft = int(((long long)Width - l.TriSide - l.LegendWidth) / 2);
  l.TriTop = int(((long long)Height - l.TriHeight) / 2);
  SetLayout(l);
}

// Every measure is held within 2^24 pixels, far beyond any picture, so that
// the sums and products of the drawing steps stay within an int.
void TTernagram::SetLayout(const TTernaLayout& Value) {
  static constexpr int Bound = 1 << 24;
  auto bounded = [](int v) { return std::clamp(v, -Bound, Bound); };
  layout_ = Value;
  layout_.TriLeft = bounded(Value.TriLeft);
  layout_.TriTop = bounded(Value.TriTop);
  layout_.TriSide = bounded(Value.TriSide);
  layout_.TriHeight = bounded(Value.TriHeight);
  layout_.LegendWidth = bounded(Value.LegendWidth);
}

TTriangleMap TTernagram::TriangleMap() const { return TTriangleMap(layout_); }

TTriangleMap TTernagram::ViewMap() const {
  return zoom_ && allowZoom_ ? TTriangleMap(layout_, zoomWindow_) : TTriangleMap(layout_);
}

// --- Paint pipeline --------------------------------------------------------------

void TTernagram::Paint() {
  // A paint asked for while the isotherm scan lets messages run would draw
  // into the pictures the scan's paint is still composing: it runs after.
  if (computingIsotherms_) {
    paintPending_ = true;
    return;
  }
  painted_ = false;
  RunLayout(Width(), Height());
  PaintOffScreen(paintFrame_, paintBuffer_,
                 [this](TCanvas& bc) { ComposePicture(bc, &paperCache_); });
  TCanvas& screen = *Canvas();

  // What follows the mouse is drawn on the surface itself.
  if (mouseGridShown_) DrawGuideLines();
  if (CoPhasesTable()) DrawCoPhasesTable(screen);
  if (ValuesTable()) DrawValuesTable(screen);
  painted_ = true;

  if (paintPending_) {
    paintPending_ = false;
    Invalidate();
  }
}

// A paint that scans for isotherms lets messages run once per row.
bool TTernagram::PaintRunsMessages() const {
  return DrawIsotherms() && Areas() > 0 && !zoom_ && !Isotherms()->Calculated;
}

void TTernagram::ComposePicture(TCanvas& Canvas, TBitmap* PaperCache) {
  if (PaperCache) {
    // Paper and triangle change only with the size and the layout: the
    // screen keeps them and copies them in.
    const TPaperKey key{Canvas.Width(), Canvas.Height(), layout_, Border(), PaperColor()};
    const TRect whole{0, 0, Canvas.Width(), Canvas.Height()};
    if (!(key == paperKey_) || PaperCache->Width() != key.Width || PaperCache->Height() != key.Height) {
      PaperCache->SetSize(key.Width, key.Height);
      TCanvas& pc = *PaperCache->Canvas();
      pc.Brush.Style = bsSolid;
      pc.Brush.Color = clBlack;
      pc.FillRect(whole);
      DrawPaper(pc);
      paperKey_ = key;
    }
    Canvas.CopyMode = SRCCOPY;
    Canvas.CopyRect(whole, *PaperCache->Canvas(), whole);
  } else {
    DrawPaper(Canvas);
  }
  const int side = TriSide();
  if (side < SmallestSide) return;
  if (AllowZoom() && Zoom()) ComputeZoomImage();
  if (DrawSplines()) DrawCurves(Canvas);
  if (side > SmallestSide) {
    if (DrawAreas()) FillAreas(Canvas);
    if (DrawIsotherms()) DrawIsothermStep(Canvas);
  }
  if (DrawTPoints()) DrawTPointCircles(Canvas);
  DrawGrid(Canvas, PaperColor());
  if (drawCrystallization_) DrawCrystallizationPath(Canvas);
  DrawTexts(Canvas, PaperColor());
  if (Legend() && Areas() > 0) DrawLegend(Canvas);
  if (drawCrystallization_) DrawCrystallizationTable(Canvas);
}

void TTernagram::RenderPicture(TBitmap& Bitmap) {
  const TTernaLayout screen = layout_;
  RunLayout(Bitmap.Width(), Bitmap.Height());
  ComposeInto(Bitmap);
  layout_ = screen;
}

void TTernagram::ComposeInto(TBitmap& Bitmap) {
  TCanvas& c = *Bitmap.Canvas();
  c.Brush.Style = bsSolid;
  c.Brush.Color = clBlack;
  c.FillRect(TRect{0, 0, Bitmap.Width(), Bitmap.Height()});
  ComposePicture(c, nullptr);
}

void TTernagram::DrawPaper(TCanvas& Canvas) {
  DrawPaperBackground(Canvas);
  if (TriSide() > SmallestSide) {
    const int l = TriLeft(), t = TriTop(), s = TriSide(), b = t + TriHeight();
    Canvas.Polygon({{l + s / 2, t}, {l, b}, {l + s, b}});
  } else {
    Canvas.Font = TFont{};
    Canvas.TextOut(4, 4, QStringLiteral("Enlarge Me.."));
  }
  Canvas.Pen.Width = 1;
}

// --- Curves ----------------------------------------------------------------------

void TTernagram::DrawCurves(TCanvas& Canvas) {
  const int last = UsableCurveLastIndex();
  if (CurveLastIndex() <= 0 || last < 0) return;
  const bool zoomed = AllowZoom() && Zoom();
  Canvas.Pen.Color = clBlack;
  Canvas.Pen.Width = Zoom() ? 2 : 1;
  Canvas.Pen.Mode = pmCopy;
  // Curves are placed in the whole triangle; while zoomed each segment is
  // clipped to the window's image and mapped onto the picture.
  const TTriangleMap map = TriangleMap();
  double prevX = 0, prevY = 0;
  bool drawn = false;
  TPoint end;
  auto line = [&](TPoint from, TPoint to) {
    Canvas.MoveTo(from.X, from.Y);
    Canvas.LineTo(to.X, to.Y);
    drawn = true;
    end = to;
  };
  auto visit = [&](double x, double y, bool first, bool smooth) {
    if (!first) {
      if (!zoomed) {
        line(TPoint{Px(prevX), Px(prevY)}, TPoint{Px(x), Px(y)});
      } else if (!(smooth && x == prevX && y == prevY)) {
        TPoint from, to;
        if (ClipSegment(prevX, prevY, x, y, from, to)) line(from, to);
      }
    }
    prevX = x;
    prevY = y;
  };
  // A run longer than one spline holds is drawn in pieces; a point without
  // a place (NaN, infinite) ends its run. A line leaves out its last pixel:
  // where several curves end in one point (valleys meeting at a eutectic)
  // that pixel would let one area's fill through into the next, so every
  // piece also gets its end pixel.
  TCurveRun run([&](int n, TSplineKnots& x, TSplineKnots& y) {
    drawn = false;
    VisitSplinePiece(n, x, y, SamplesPerInterval, visit);
    if (drawn) line(end, TPoint{end.X + 1, end.Y});
  });
  const std::vector<double>& as = CurveA();
  const std::vector<double>& bs = CurveB();
  for (int j = 0; j <= last; ++j) {
    const double a = as[j], b = bs[j];
    if (a == -1) {
      run.End();
      continue;
    }
    const double y = map.Y(b);
    const double x = map.X(a, b, y);
    if (!std::isfinite(x) || !std::isfinite(y))
      run.End();
    else
      run.Add(x, y);
  }
  run.End();
  Canvas.Pen.Width = 1;
}

// --- Area fill -------------------------------------------------------------------

void TTernagram::FillAreas(TCanvas& Canvas) {
  const TTriangleMap whole = TriangleMap();
  const TTriangleMap view = ViewMap();
  const bool zoomed = AllowZoom() && Zoom();
  Canvas.Brush.Style = bsSolid;
  // A seed that does not fall strictly inside the triangle would flood the
  // paper around it: such a seed fills nothing.
  // Nor does any seed while the outline is cut by the picture's edge: the
  // fill would escape through the gap.
  const int l = TriLeft(), t = TriTop();
  if (l < 0 || t < 0 || (long long)l + TriSide() >= Canvas.Width() ||
      (long long)t + TriHeight() >= Canvas.Height())
    return;
  auto fill = [&](TPoint p, TColor colour) {
    if (!whole.Inside(p.X, p.Y)) return;
    Canvas.Brush.Color = colour;
    Canvas.FloodFill(p.X, p.Y, clBlack, fsBorder);
  };
  const int areas = AreasInUse();
  for (int i = 0; i < areas; ++i) {
    const TTernaryArea& area = AreaList()[i];
    if (zoomed && !zoomWindow_.ContainsStrictly(area.FillA, area.FillB)) continue;
    fill(view.transformRounded(area.FillA, area.FillB), NearestColor(AreaColors[i]));
  }
  if (!zoomed) return;

  // Areas cut by the window whose own seed lies outside it are filled from
  // the colours sampled along the window's sides at zoom-in. A seed of a
  // short run at a corner of the window would fall on the outline or
  // outside it: it is moved just inside the outline.
  const TTernaryWindow& w = zoomWindow_;
  const int bottomY = TriTop() + TriHeight() - 3;
  const int firstX = RoundPixel(view.LeftEdgeX(bottomY)) + 2;
  const int lastX = RoundPixel(view.RightEdgeX(bottomY)) - 1;
  for (int k = 0; k < std::min(seeds_[0].Count, TTernarySeeds::MaxSeeds); ++k) {
    const TTernarySeed& s = seeds_[0].Items[k];
    const double x = view.LeftEdgeX(bottomY) + (100 - s.A - s.B - w.Cmin) / (w.Cmax - w.Cmin) * TriSide();
    fill(TPoint{std::clamp(RoundPixel(x), firstX, std::max(firstX, lastX)), bottomY}, s.Color);
  }
  // Near the apex the triangle is too narrow for a seed three pixels in.
  const int firstY = TriTop() + 6, lastY = TriTop() + TriHeight() - 2;
  for (int side = 1; side <= 2; ++side) {
    for (int k = 0; k < std::min(seeds_[side].Count, TTernarySeeds::MaxSeeds); ++k) {
      const TTernarySeed& s = seeds_[side].Items[k];
      const int y = std::clamp(
          TriTop() + RoundPixel((w.Bmax - s.B) / (w.Bmax - w.Bmin) * TriHeight()), firstY,
          std::max(firstY, lastY));
      const int edge = RoundPixel(view.LeftEdgeX(y));
      const int x = side == 1 ? edge + 3 : 2 * TriLeft() + TriSide() - edge - 3;
      fill(TPoint{x, y}, s.Color);
    }
  }
}

// --- T-points --------------------------------------------------------------------

void TTernagram::DrawTPointCircles(TCanvas& Canvas) {
  const int areas = AreasInUse();
  if (areas == 0) return;
  const bool zoomed = AllowZoom() && Zoom();
  const TTriangleMap view = ViewMap();
  const TTernaryWindow everything;
  const int r = zoomed ? 3 : 2;
  Canvas.Pen.Color = clBlack;
  Canvas.Pen.Width = 1;
  Canvas.Pen.Mode = pmCopy;
  Canvas.Brush.Style = bsSolid;
  for (int i = 0; i < areas; ++i) {
    const TTernaryArea& area = AreaList()[i];
    Canvas.Brush.Color = NearestColor(AreaColors[i]);
    const int n = std::min<int>(area.TPointCount, MaxTPoints);
    for (int j = 0; j < n; ++j) {
      const TTernaryTPoint& t = area.TPoints[j];
      // A point off the triangle (the host's error) has no place to be shown.
      if (!everything.Contains(t.A, t.B)) continue;
      if (zoomed && !zoomWindow_.Contains(t.A, t.B)) continue;
      const TPoint p = view.transformRounded(t.A, t.B);
      Canvas.Ellipse(p.X - r, p.Y - r, p.X + r, p.Y + r);
    }
  }
}
