// The crystallization path of a melt: what the construction of
// crystallization.cpp asks of the diagram, the stages as the host and the
// table see them, and the drawing of the path.
//
// The area of a composition is found as the read-out finds it, by colour,
// but on a map of its own: the boundary curves and the area fill alone,
// drawn unzoomed at a fixed size, so that the path depends on the diagram's
// data and not on the window's size, zoom or what else is painted. The map
// is kept while the curves and the seeds stay the same.
#include <algorithm>
#include <cmath>

#include "diagram/ternagram.h"

using namespace ternary;

namespace {

using P2 = TCompositionPoint;

// The map's triangle: one pixel is 1/8 percent.
constexpr int MapSide = 800;
constexpr int MapMargin = 10;

TTriangleGeometry MapGeometry() {
  TTriangleGeometry g;
  g.TriLeft = MapMargin;
  g.TriTop = MapMargin;
  g.TriSide = MapSide;
  g.TriHeight = RoundPixel(MapSide * Sin60);
  return g;
}

// Points the curves get between two knots, as on the screen.
constexpr int SamplesPerInterval = 8;

// The boundary curves as polylines of compositions: each run smoothed by
// the spline in the same pieces as the screen draws it (in the map's
// pixels), a run the spline refuses kept straight between its knots.
std::vector<std::vector<P2>> BoundaryPolylines(const TTernagram& g, const TTriangleMap& map) {
  std::vector<std::vector<P2>> lines;
  std::vector<P2> run;
  const TTriangleGeometry& geo = map.Geometry();
  auto back = [&](double x, double y) {
    // B from the row, C from the column; A is what is left (the map's
    // height is rounded, so its shares only add up this way).
    const double b = 100 - (y - geo.TriTop) / geo.TriHeight * 100;
    return P2{100 - b - map.CAt(x, y), b};
  };
  auto endRun = [&] {
    if (run.size() >= 2) lines.push_back(run);
    run.clear();
  };
  TCurveRun pieces([&](int n, TSplineKnots& x, TSplineKnots& y) {
    const TSplineKnots kx = x, ky = y;  // the spline may reverse them
    std::vector<P2> piece;
    VisitSplinePiece(n, x, y, SamplesPerInterval, [&](double px, double py, bool, bool smooth) {
      if (smooth) piece.push_back(back(px, py));
    });
    if (piece.empty())  // straight: the knots as they are, not rounded
      for (int k = 1; k <= n; ++k) piece.push_back(back(kx[std::size_t(k)], ky[std::size_t(k)]));
    const P2 first = back(kx[1], ky[1]);
    const P2 a = piece.front();
    if (std::abs(a.A - first.A) + std::abs(a.B - first.B) > 1e-9) std::reverse(piece.begin(), piece.end());
    run.insert(run.end(), piece.begin() + (run.empty() ? 0 : 1), piece.end());
  });
  const int last = g.UsableCurveLastIndex();
  if (g.CurveLastIndex() > 0) {
    for (int j = 0; j <= last; ++j) {
      const double a = g.CurveA()[std::size_t(j)], b = g.CurveB()[std::size_t(j)];
      const double y = map.Y(b), x = map.X(a, b, y);
      if (a == -1 || !std::isfinite(x) || !std::isfinite(y)) {
        pieces.End();
        endRun();
        continue;
      }
      pieces.Add(x, y);
    }
  }
  pieces.End();
  endRun();
  return lines;
}

double ToUnit(double celsius, TTUnits u) {
  switch (u) {
    case tuK: return celsius + 273.15;
    case tuF: return celsius * 1.8 + 32;
    default: return celsius;
  }
}

QString UnitSuffix(TTUnits u) {
  switch (u) {
    case tuK: return QStringLiteral(" K");
    case tuF: return QStringLiteral(" \u00B0F");
    default: return QStringLiteral(" \u00B0C");
  }
}

QString StopReason(TCrystallizationStop s) {
  switch (s) {
    case csNoField: return QStringLiteral("not in a phase area");
    case csOnBoundary: return QStringLiteral("on a boundary");
    case csNoPrimaryPhase: return QStringLiteral("no primary phase");
    case csPrimaryPhase: return QStringLiteral("the melt is its primary phase");
    case csNoTemperature: return QStringLiteral("no liquidus temperature");
    case csNoNeighbour: return QStringLiteral("no neighbour with a primary phase");
    case csReaction: return QStringLiteral("temperature does not fall (reaction)");
    case csCurveEnds: return QStringLiteral("boundary ends without a third field");
    default: return {};
  }
}

}  // namespace

// --- The map of the areas ----------------------------------------------------------

struct TTernagram::TCrystallizationCache {
  TTriangleMap Map{MapGeometry()};
  TBitmap Picture;
  // What the picture was drawn from.
  std::vector<std::vector<P2>> Lines;
  std::vector<std::pair<float, float>> Seeds;
  bool Drawn = false;

  void Draw(const std::vector<std::vector<P2>>& lines, const std::vector<std::pair<float, float>>& seeds) {
    const TTriangleGeometry& geo = Map.Geometry();
    Picture.SetSize(geo.TriSide + 2 * MapMargin, geo.TriHeight + 2 * MapMargin);
    TCanvas& c = *Picture.Canvas();
    // Black around the triangle, which the lookup does not take for an area.
    c.Brush.Style = bsSolid;
    c.Brush.Color = clBlack;
    c.FillRect(TRect{0, 0, Picture.Width(), Picture.Height()});
    c.Pen.Color = clBlack;
    c.Pen.Width = 1;
    c.Pen.Mode = pmCopy;
    c.Brush.Color = clWhite;
    const int l = geo.TriLeft, t = geo.TriTop, s = geo.TriSide, b = geo.Bottom();
    c.Polygon({{l + s / 2, t}, {l, b}, {l + s, b}});
    for (const std::vector<P2>& line : lines) {
      std::vector<TPoint> px;
      for (const P2& p : line) {
        const double y = Map.Y(p.B);
        px.push_back(TPoint{RoundPixel(Map.X(p.A, p.B, y)), RoundPixel(y)});
      }
      c.Polyline(px);
      c.SetPixel(px.back().X, px.back().Y, clBlack);  // a line leaves out its end
    }
    for (std::size_t i = 0; i < seeds.size(); ++i) {
      const TPoint p = Map.transformRounded(seeds[i].first, seeds[i].second);
      if (!Map.Inside(p.X, p.Y)) continue;
      c.Brush.Color = NearestColor(AreaColors[i]);
      c.FloodFill(p.X, p.Y, clBlack, fsBorder);
    }
    Lines = lines;
    Seeds = seeds;
    Drawn = true;
  }

  // The area at a composition as the read-out finds it: -1 none, -2 on a
  // division between two areas.
  int FieldAt(double A, double B, int Areas) const {
    if (!std::isfinite(A) || !std::isfinite(B)) return -1;
    const TPoint p = Map.transformRounded(A, B);
    const TCanvas& c = *Picture.Canvas();
    auto usable = [](TColor colour) { return colour != clBlack; };
    const TColor here = c.Pixel(p.X, p.Y);
    if (usable(here) && here != clInvalid) return AreaOfColor(here, Areas);
    const TDiagonalProbe probe = ProbeDiagonals(c, p.X, p.Y, usable);
    if (probe.Division) return -2;
    return probe.Found ? AreaOfColor(probe.Color, Areas) : -1;
  }
};

void TTernagram::SetDrawCrystallization(bool Value) { Change(drawCrystallization_, Value); }

// --- The path ------------------------------------------------------------------------

// The map brought up to date with the curves and seeds.
TTernagram::TCrystallizationCache& TTernagram::CrystallizationMap() const {
  if (!crystallization_) crystallization_ = std::make_shared<TCrystallizationCache>();
  TCrystallizationCache& cache = *crystallization_;
  const std::vector<std::vector<P2>> lines = BoundaryPolylines(*this, cache.Map);
  std::vector<std::pair<float, float>> seeds;
  for (int i = 0; i < AreasInUse(); ++i) seeds.emplace_back(AreaList()[i].FillA, AreaList()[i].FillB);
  auto same = [](const std::vector<P2>& a, const std::vector<P2>& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](const P2& p, const P2& q) {
             return p.A == q.A && p.B == q.B;
           });
  };
  if (!cache.Drawn || cache.Seeds != seeds || cache.Lines.size() != lines.size() ||
      !std::equal(cache.Lines.begin(), cache.Lines.end(), lines.begin(), same))
    cache.Draw(lines, seeds);
  return cache;
}

int TTernagram::AreaAt(double A, double B) const {
  const int areas = AreasInUse();
  return CrystallizationMap().FieldAt(A, B, areas);
}

void TTernagram::MarkPoint(double A, double B) {
  if (!markMode_ || zoom_) return;
  const int area = AreaAt(A, B);
  markedPoint_.A = A;
  markedPoint_.B = B;
  markedPoint_.C = 100 - A - B;
  const double t = area >= 0 ? AreaTemperature(area, A, B) : std::nan("");
  markedPoint_.T = std::isfinite(t) ? t : 0;
  markedPoint_.PhaseName = area >= 0 ? AreaList()[area].Identifier : QString();
  markedPoint_.CoPhases = area >= 0 && AreaList()[area].TwoPhase != 0 ? 2 : 0;
  markedPoint_.Visible = true;
  DoMarkPoint();
  Invalidate();
}

std::vector<TCrystallizationStage> TTernagram::CrystallizationPath(double A, double B) const {
  const int areas = AreasInUse();
  TCrystallizationCache& cache = CrystallizationMap();
  TCrystallizationSystem system;
  system.Boundaries = cache.Lines;
  system.FieldAt = [&](double a, double b) { return cache.FieldAt(a, b, areas); };
  system.PrimaryOf = [this](int field) -> std::optional<P2> {
    const TPrimaryPhase& p = AreaList()[field].PrimaryPhase;
    if (!p.Defined) return std::nullopt;
    return P2{p.A, p.B};
  };
  system.Temperature = [this](int field, double a, double b) { return AreaTemperature(field, a, b); };
  const std::vector<TCrystallizationStep> steps = TraceCrystallization(system, P2{A, B});

  // Names: a corner's substance, else the area's name without its brackets.
  auto phaseName = [this](int field) {
    const TPrimaryPhase& p = AreaList()[field].PrimaryPhase;
    constexpr double Near = 1e-4;
    if (p.Defined && p.A >= 100 - Near) return SubstanceA()->DisplayName;
    if (p.Defined && p.B >= 100 - Near) return SubstanceB()->DisplayName;
    if (p.Defined && p.A <= Near && p.B <= Near) return SubstanceC()->DisplayName;
    QString name = AreaList()[field].Identifier;
    if (name.size() > 2 && name.startsWith(QLatin1Char('(')) && name.endsWith(QLatin1Char(')')))
      name = name.mid(1, name.size() - 2);
    return name;
  };
  const TTUnits unit = TUnits();
  auto temperature = [&](double t) { return FormatFixed(ToUnit(t, unit), 1) + UnitSuffix(unit); };

  std::vector<TCrystallizationStage> stages;
  for (const TCrystallizationStep& s : steps) {
    TCrystallizationStage st;
    st.Kind = s.Kind;
    st.T = ToUnit(s.T, unit);
    st.A = s.Liquid.A;
    st.B = s.Liquid.B;
    QStringList names;
    for (int field : s.Fields) names << phaseName(field);
    st.Phases = names.join(QStringLiteral(" + "));
    st.SolidPercent = s.Solid * 100;
    for (double share : s.Shares) st.SharePercents.push_back(share * 100);
    st.Stop = s.Stop;
    st.Reason = StopReason(s.Stop);
    st.Way = s.Way;
    const QString solid = FormatFixed(st.SolidPercent, 1) + QStringLiteral(" % solid");
    switch (s.Kind) {
      case ckPrimary:
        st.Text = QStringLiteral("Liquid \u2192 ") + st.Phases + QStringLiteral(" from ") + temperature(s.T);
        break;
      case ckCotectic:
        st.Text = st.Phases + QStringLiteral(" from ") + temperature(s.T) + QStringLiteral(", ") + solid;
        break;
      case ckEutectic:
        st.Text = QStringLiteral("Eutectic ") + st.Phases + QStringLiteral(" at ") + temperature(s.T) +
                  QStringLiteral(", ") + solid;
        break;
      case ckStop:
        st.Text = QStringLiteral("Stops") +
                  (std::isfinite(s.T) ? QStringLiteral(" at ") + temperature(s.T) : QString()) +
                  QStringLiteral(": ") + st.Reason;
        break;
    }
    stages.push_back(std::move(st));
  }
  return stages;
}

// --- Drawing -------------------------------------------------------------------------

void TTernagram::DrawCrystallizationPath(TCanvas& Canvas) {
  if (!(markMode_ && markedPoint_.Visible)) return;
  const std::vector<TCrystallizationStage> stages = CrystallizationPath(markedPoint_.A, markedPoint_.B);
  const bool zoomed = AllowZoom() && Zoom();
  const TTriangleMap whole = TriangleMap();
  const TTriangleMap view = ViewMap();
  Canvas.Pen.Color = CrystallizationColor;
  Canvas.Pen.Mode = pmCopy;
  Canvas.Brush.Style = bsSolid;
  Canvas.Brush.Color = CrystallizationColor;

  // A segment between two compositions, clipped to the window while zoomed.
  auto segment = [&](const P2& p, const P2& q) {
    const double py = whole.Y(p.B), px = whole.X(p.A, p.B, py);
    const double qy = whole.Y(q.B), qx = whole.X(q.A, q.B, qy);
    TPoint from{RoundPixel(px), RoundPixel(py)}, to{RoundPixel(qx), RoundPixel(qy)};
    if (zoomed && !ClipSegment(px, py, qx, qy, from, to)) return;
    Canvas.MoveTo(from.X, from.Y);
    Canvas.LineTo(to.X, to.Y);
  };
  auto shown = [&](const P2& p) { return !zoomed || zoomWindow_.Contains(p.A, p.B); };
  auto place = [&](const P2& p) {
    const double y = view.Y(p.B);
    return std::pair{view.X(p.A, p.B, y), y};
  };

  // An arrowhead halfway along a way (its length in the picture), pointing
  // the way the liquid goes; none on a way too short to carry one or whose
  // middle lies outside the zoom window.
  auto arrowhead = [&](const std::vector<P2>& way) {
    std::vector<std::pair<double, double>> px;
    for (const P2& p : way) px.push_back(place(p));
    std::vector<double> lengths;
    double total = 0;
    for (std::size_t k = 1; k < px.size(); ++k)
      total += lengths.emplace_back(std::hypot(px[k].first - px[k - 1].first, px[k].second - px[k - 1].second));
    if (total < 16) return;
    double walked = 0;
    std::size_t k = 0;
    while (k + 1 < lengths.size() && (lengths[k] == 0 || walked + lengths[k] < total / 2)) walked += lengths[k++];
    const double l = lengths[k];
    if (l == 0) return;
    const double f = (total / 2 - walked) / l;
    const P2 mid{way[k].A + (way[k + 1].A - way[k].A) * f, way[k].B + (way[k + 1].B - way[k].B) * f};
    if (!shown(mid)) return;
    const double ux = (px[k + 1].first - px[k].first) / l, uy = (px[k + 1].second - px[k].second) / l;
    const auto [tx, ty] = place(mid);
    const double hx = tx + ux * 5, hy = ty + uy * 5;  // the tip a little ahead
    Canvas.Pen.Width = 1;
    Canvas.Polygon({TPoint{RoundPixel(hx), RoundPixel(hy)},
                    TPoint{RoundPixel(hx - ux * 10 - uy * 5), RoundPixel(hy - uy * 10 + ux * 5)},
                    TPoint{RoundPixel(hx - ux * 10 + uy * 5), RoundPixel(hy - uy * 10 - ux * 5)}});
  };

  for (const TCrystallizationStage& s : stages) {
    Canvas.Pen.Width = 2;
    for (std::size_t k = 1; k < s.Way.size(); ++k) segment(s.Way[k - 1], s.Way[k]);
    if (s.Way.size() >= 2) arrowhead(s.Way);
  }
  // Dots where the stages change.
  Canvas.Pen.Width = 1;
  for (const TCrystallizationStage& s : stages) {
    const P2 p{s.A, s.B};
    if (!shown(p)) continue;
    const TPoint c = view.transformRounded(p.A, p.B);
    Canvas.Ellipse(c.X - 3, c.Y - 3, c.X + 4, c.Y + 4);
  }
  Canvas.Brush.Color = clWhite;
}

void TTernagram::DrawCrystallizationTable(TCanvas& Canvas) {
  if (!(markMode_ && markedPoint_.Visible)) return;
  const std::vector<TCrystallizationStage> stages = CrystallizationPath(markedPoint_.A, markedPoint_.B);
  Canvas.Font = TFont{QStringLiteral("Arial"), PanelFontSize(), clBlack, 0};
  Canvas.Pen.Color = clBlack;
  Canvas.Pen.Width = 1;
  Canvas.Pen.Mode = pmCopy;
  Canvas.Brush.Style = bsSolid;
  Canvas.Brush.Color = clWhite;
  const QString title = QStringLiteral("Crystallization");
  const int hw = Canvas.TextWidth(QStringLiteral("H")), th = Canvas.TextHeight(QStringLiteral("H"));
  int widest = Canvas.TextWidth(title);
  for (const TCrystallizationStage& s : stages) widest = std::max(widest, Canvas.TextWidth(s.Text));
  const int boxW = widest + 2 * hw;
  // Under the co-phase table's place in the column right of the triangle,
  // moved left where the column is too narrow.
  const int m = legend_ ? AreasInUse() : -2;
  const int x0 = std::max(2, std::min(TriLeft() + TriSide() + hw, Canvas.Width() - boxW - 2 * hw));
  const int y0 = TriTop() + th * (m + 10);
  const int rows = int(stages.size()) + 1;
  const int y1 = y0 + th * rows + th / 2;
  const int shadow = hw / 2 + 1;
  DrawShadowBox(Canvas, TRect{x0, y0, x0 + boxW, y1}, TRect{x0 + boxW, y0 + th / 2, x0 + boxW + shadow, y1},
                TRect{x0 + shadow, y1, x0 + boxW + shadow, y1 + shadow});
  Canvas.TextOut(x0 + hw, y0 + th / 4, title);
  for (int k = 0; k < int(stages.size()); ++k)
    Canvas.TextOut(x0 + hw, y0 + th / 4 + th * (k + 1), stages[std::size_t(k)].Text);
}
