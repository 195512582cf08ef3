// Layout, paint pipeline, curves and area fill.
#include <algorithm>
#include <climits>
#include <cmath>
#include <utility>

#include "diagram/binagram.h"
#include "diagram/spl.h"

namespace {

// The plot keeps its height at this fraction of its width (an equilateral
// triangle's height, so binary and ternary diagrams look alike).
constexpr double HeightRatio = 0.8660254;

// Spline queries placed between two neighbouring knots.
constexpr int SamplesPerInterval = 5;

// The plot frame is drawn above this width, the contents from it on.
constexpr int FramedPlotWidth = 120;

// A pixel coordinate from a computed position. Positions far outside any
// bitmap keep their direction instead of collapsing to 0, so a line towards
// them is still clipped at the right place.
int Px(double v) { return RoundPixel(std::clamp(v, -1.0e6, 1.0e6)); }

}  // namespace

// --- Layout and maps ---------------------------------------------------------

void TBinagram::SetLayout(const TBinaLayout& Value) {
  auto clamp = [](int v) { return std::clamp(v, -(1 << 24), 1 << 24); };
  layout_ = TBinaLayout{clamp(Value.PlotLeft), clamp(Value.PlotTop), clamp(Value.PlotWidth),
                        clamp(Value.PlotHeight), clamp(Value.LegendWidth)};
}

void TBinagram::RunLayout(int Width, int Height) {
  // In 64 bits: a host may ask for any int size.
  using i64 = long long;
  i64 legend = 0;
  if ((Legend() && Areas() > 0) || ValuesTable() || CoPhasesTable()) {
    const double w = std::max(Width, 0);
    legend = std::min(RoundPixel(std::sqrt(w) * std::sqrt(w / 12)), 180);
  }
  i64 plotWidth = i64(Width) - 120 - legend;
  i64 plotHeight = i64(Height) - 120;
  auto round = [](double v) { return i64(std::nearbyint(v)); };
  if (plotHeight > round(plotWidth * HeightRatio))
    plotHeight = round(plotWidth * HeightRatio);
  else if (plotWidth > round(plotHeight / HeightRatio))
    plotWidth = round(plotHeight / HeightRatio);
  auto fit = [](i64 v) { return int(std::clamp<i64>(v, INT_MIN, INT_MAX)); };
  SetLayout(TBinaLayout{fit((i64(Width) - plotWidth - legend - 2) / 2),
                        fit((i64(Height) - plotHeight - 2) / 2), fit(plotWidth), fit(plotHeight),
                        fit(legend)});
}

TScaleMap TBinagram::CompositionMap() const {
  return {lowCLimit_, highCLimit_, double(PlotLeft()), double(PlotLeft() + PlotWidth())};
}

TScaleMap TBinagram::TemperatureMap() const {
  return {HighTLimit(), LowTLimit(), double(PlotTop()), double(PlotTop() + PlotHeight())};
}

TScaleMap TBinagram::SavedCompositionMap() const {
  return {savedLowCLimit_, savedHighCLimit_, double(PlotLeft()),
          double(PlotLeft() + PlotWidth())};
}

TScaleMap TBinagram::SavedTemperatureMap() const {
  return {SavedHighTLimit(), SavedLowTLimit(), double(PlotTop()),
          double(PlotTop() + PlotHeight())};
}

// --- Paint pipeline ----------------------------------------------------------

void TBinagram::Paint() {
  painted_ = false;
  RunLayout(Width(), Height());
  // The picture is composed off screen and reaches the surface in one copy,
  // so the screen never shows a half-drawn diagram.
  PaintOffScreen(paintFrame_, paintBuffer_, [this](TCanvas& bc) { ComposePicture(bc); });
  TCanvas& screen = *Canvas();

  // What follows the mouse is drawn on the surface itself.
  if (MouseGridShown()) DrawMouseGrid();
  if (CoPhasesTable()) DrawCoPhasesTable(screen);
  if (ValuesTable()) DrawValuesTable(screen);
  painted_ = true;
}

void TBinagram::ComposePicture(TCanvas& bc) {
  DrawFrame(bc);
  if (PlotWidth() < FramedPlotWidth) return;
  if (AllowZoom() && Zooming()) ComputeZoomWindow();
  if (DrawSplines()) DrawCurves(bc);
  // The fill stops at the plot's outline: a plot drawn without its frame
  // (exactly the smallest width) is left unfilled rather than flooded.
  if (DrawAreas() && PlotWidth() > FramedPlotWidth) FillAreas(bc);
  DrawAxes(bc, PaperColor());
  DrawTitle(bc, PaperColor());
  DrawCAxisCaption(bc, PaperColor());
  if (Legend() && Areas() > 0) DrawLegend(bc);
}

void TBinagram::DrawFrame(TCanvas& Canvas) {
  DrawPaperBackground(Canvas);
  if (PlotWidth() > FramedPlotWidth) {
    // The closed polygon of the four corners, white inside: for a rectangle
    // a fill and the closed outline give the same pixels, much faster.
    const int l = PlotLeft(), t = PlotTop(), r = l + PlotWidth(), b = t + PlotHeight();
    Canvas.FillRect(TRect{l, t, r, b});
    Canvas.Polyline({{l, t}, {r, t}, {r, b}, {l, b}, {l, t}});
  } else {
    Canvas.Font = TFont{};
    Canvas.TextOut(4, 4, QStringLiteral("Enlarge Me.."));
  }
  Canvas.Pen.Width = 1;
}

// --- Zoom window -------------------------------------------------------------

void TBinagram::SetZoomWindow(double LowC, double HighC, double LowT, double HighT) {
  zoomLowCLimit_ = LowC;
  zoomHighCLimit_ = HighC;
  zoomLowTLimit_ = LowT;
  zoomHighTLimit_ = HighT;
}

void TBinagram::ComputeZoomWindow() {
  const TScaleMap cm = SavedCompositionMap(), tm = SavedTemperatureMap();
  zx1_ = cm.transform(zoomLowCLimit_);
  zx2_ = cm.transform(zoomHighCLimit_);
  zy1_ = tm.transform(zoomHighTLimit_);
  zy2_ = tm.transform(zoomLowTLimit_);
  // A window without extent has no scale; 0 keeps the mapping finite.
  zsx_ = PlotWidth() / (zx2_ - zx1_);
  zsy_ = PlotHeight() / (zy2_ - zy1_);
  if (!std::isfinite(zsx_)) zsx_ = 0;
  if (!std::isfinite(zsy_)) zsy_ = 0;
}

bool TBinagram::MapZoomSegment(double px, double py, double qx, double qy,
                               TRect& Mapped) const {
  const double x1 = zx1_, x2 = zx2_, y1 = zy1_, y2 = zy2_;
  const double loX = std::min(px, qx), hiX = std::max(px, qx);
  const double loY = std::min(py, qy), hiY = std::max(py, qy);
  const bool slanted = px != qx && py != qy;
  const bool horizontal = px != qx && py == qy;
  const bool vertical = px == qx;
  const double m = slanted ? (qy - py) / (qx - px) : 0;
  const double b = slanted ? py - m * px : 0;

  double ex[2] = {0, 0}, ey[2] = {0, 0};
  int ends = 0;
  auto add = [&](double x, double y) {
    if (ends < 2) {
      ex[ends] = x;
      ey[ends] = y;
      ++ends;
    }
  };
  auto onSegment = [&](double x, double y) { return loX <= x && x <= hiX && loY <= y && y <= hiY; };
  // Crossings with a horizontal edge (top, bottom) and a vertical one (sides),
  // with one pixel of tolerance along the edge.
  auto rowEdge = [&](double y) {
    if (horizontal) return;
    const double x = slanted ? (y - b) / m : px;
    if (x1 - 1 <= x && x <= x2 + 1 && onSegment(x, y)) add(x, y);
  };
  auto columnEdge = [&](double x) {
    if (vertical) return;
    const double y = slanted ? m * x + b : py;
    if (y1 - 1 <= y && y <= y2 + 1 && onSegment(x, y)) add(x, y);
  };
  rowEdge(y1);
  columnEdge(x2);
  rowEdge(y2);
  columnEdge(x1);

  if (ends == 0) {
    auto nearInside = [&](double x, double y) { return x1 - 1 < x && x < x2 + 1 && y1 - 1 < y && y < y2 + 1; };
    if (nearInside(px, py)) add(px, py);
    if (nearInside(qx, qy)) add(qx, qy);
  }
  if (ends == 1) {
    auto inside = [&](double x, double y) { return x1 < x && x < x2 && y1 < y && y < y2; };
    if (inside(px, py))
      add(px, py);
    else if (inside(qx, qy))
      add(qx, qy);
  }
  if (ends < 2) return false;
  // Keep the curve's direction, P towards Q: the pen leaves out the last
  // pixel of every line, so a piece drawn from the edge back to P would
  // leave a hole at P where the next fill leaks through.
  if ((ex[1] - ex[0]) * (qx - px) + (ey[1] - ey[0]) * (qy - py) < 0) {
    std::swap(ex[0], ex[1]);
    std::swap(ey[0], ey[1]);
  }

  const int left = PlotLeft(), top = PlotTop();
  const int right = left + PlotWidth(), bottom = top + PlotHeight();
  auto mapX = [&](double x) {
    const int X = Px((x - x1) * zsx_) + left;
    return X < left + 3 ? left : X > right - 3 ? right : X;
  };
  auto mapY = [&](double y) {
    const int Y = Px((y - y1) * zsy_) + top;
    return Y < top + 3 ? top : Y > bottom - 3 ? bottom : Y;
  };
  Mapped = TRect{mapX(ex[0]), mapY(ey[0]), mapX(ex[1]), mapY(ey[1])};
  return true;
}

// --- Curves ------------------------------------------------------------------

namespace {

// The pen's walk along one curve: straight lines between rounded points, or
// segments mapped through the zoom window.
struct TCurvePen {
  const TBinagram& Gram;
  TCanvas& Canvas;
  bool Zoomed;
  bool First = true;
  double X = 0, Y = 0;

  void Visit(double x, double y, bool skipEqual) {
    if (First) {
      First = false;
      if (!Zoomed) Canvas.MoveTo(Px(x), Px(y));
    } else if (!Zoomed) {
      Canvas.MoveTo(Px(X), Px(Y));
      Canvas.LineTo(Px(x), Px(y));
    } else if (!(skipEqual && x == X && y == Y)) {
      TRect s;
      if (Gram.MapZoomSegment(X, Y, x, y, s)) {
        Canvas.MoveTo(s.Left, s.Top);
        Canvas.LineTo(s.Right, s.Bottom);
      }
    }
    X = x;
    Y = y;
  }
};

}  // namespace

void TBinagram::DrawCurves(TCanvas& Canvas) {
  const int last = CurveLastIndex();
  if (last <= 0) return;
  const std::vector<double>& cs = CurveC();
  const std::vector<double>& ts = CurveT();
  const int count = int(std::min(cs.size(), ts.size()));

  const bool zoomed = AllowZoom() && Zooming();
  Canvas.Pen.Color = clBlack;
  Canvas.Pen.Width = Zooming() ? 2 : 1;
  Canvas.Pen.Mode = pmCopy;
  const TScaleMap cm = SavedCompositionMap(), tm = SavedTemperatureMap();
  TCurvePen pen{*this, Canvas, zoomed};

  // A run longer than one spline holds is drawn in pieces; a point without
  // a place on the plot (NaN, infinite) ends the curve.
  TCurveRun run([&](int n, TSplineKnots& x, TSplineKnots& y) {
    pen.First = true;
    VisitSplinePiece(n, x, y, SamplesPerInterval, [&](double px, double py, bool, bool smooth) {
      pen.Visit(px, py, smooth);
    });
  });
  for (int j = 0; j <= last + 1; ++j) {
    const bool point = j <= last && j < count && cs[j] != -1;
    const double px = point ? cm.transform(cs[j]) : 0;
    const double py = point ? tm.transform(ts[j]) : 0;
    if (!point || !std::isfinite(px) || !std::isfinite(py))
      run.End();
    else
      run.Add(px, py);
  }
  Canvas.Pen.Width = 1;
}

// --- Area fill ---------------------------------------------------------------

void TBinagram::FillAreas(TCanvas& Canvas) {
  const TScaleMap cm = CompositionMap(), tm = TemperatureMap();
  const int left = PlotLeft(), top = PlotTop();
  const int right = left + PlotWidth(), bottom = top + PlotHeight();
  // The outline holds a fill only from inside: a seed on it or beyond it
  // (a zoom seed placed with limits the host narrowed while zoomed) would
  // flood the paper, so it fills nothing.
  auto fillFrom = [&](TPoint p, TColor color) {
    if (!(left < p.X && p.X < right && top < p.Y && p.Y < bottom)) return;
    Canvas.Brush.Color = color;
    Canvas.FloodFill(p.X, p.Y, clBlack, fsBorder);
  };
  Canvas.Brush.Style = bsSolid;
  const int areas = std::clamp(Areas(), 0, MaxAreas);
  for (int i = 0; i < areas; ++i) {
    const double c = AreaList()[i].C, t = AreaList()[i].T;
    if (!(lowCLimit_ < c && c < highCLimit_ && LowTLimit() < t && t < HighTLimit())) continue;
    fillFrom(TPoint{cm.transformRounded(c), tm.transformRounded(t)}, NearestColor(AreaColors[i]));
  }
  if (!(AllowZoom() && Zooming())) return;

  // Areas cut by the zoom window whose own point lies outside it are filled
  // from the colours sampled along the window's edges at zoom-in.
  auto fill = [&](const TEdgeSeeds& seeds, auto at) {
    const int count = std::min<int>(seeds.Count, TEdgeSeeds::MaxSeeds);
    for (int k = 0; k < count; ++k) fillFrom(at(seeds.Items[k].Position), seeds.Items[k].Color);
  };
  fill(TopSeeds(), [&](double c) { return TPoint{cm.transformRounded(c), top + 3}; });
  fill(BottomSeeds(), [&](double c) { return TPoint{cm.transformRounded(c), bottom - 3}; });
  fill(LeftSeeds(), [&](double t) { return TPoint{left + 3, tm.transformRounded(t)}; });
  fill(RightSeeds(), [&](double t) { return TPoint{right - 3, tm.transformRounded(t)}; });
}
