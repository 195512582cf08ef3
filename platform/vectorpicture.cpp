// TVectorPicture: the canvas's operations as vectors, their playback, and
// the tracing of flood-filled regions into outlines.
#include "platform/vectorpicture.h"

#include <QBuffer>
#include <QFontMetrics>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPainterPathStroker>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QSvgGenerator>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <functional>

#include "platform/canvas.h"

namespace {

constexpr int kDotsPerMeter = 3780;  // 96 dots per inch

QColor ColorOf(TColor c) { return QColor(GetRValue(c), GetGValue(c), GetBValue(c)); }

// Where a stroke of the width runs for pixel p: through its centre, or for
// an even width (which the canvas widens below and to the right) through
// its far corner.
QPointF Centre(QPoint p, int width = 1) {
  const double at = width % 2 ? 0.5 : 1.0;
  return QPointF(p.x() + at, p.y() + at);
}

QPen PenOf(const QColor& color, double width) {
  QPen pen(color, width, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin);
  return pen;
}

// --- Outlines of pixel runs ------------------------------------------------------

using Loop = std::vector<QPointF>;

// Simplifies points[from..to] (both kept) in one pass, marking what stays:
// from each kept point a straight segment reaches as far along the points as
// it can while passing within tolerance of every point it leaves out (the
// sleeve of Zhao and Saalfeld, its wedge of directions kept as two vectors).
// A segment ends only at the point farthest from its start so far, and a
// path that turns back ends it, so that points are near the segment and not
// only near its line.
void Simplify(const Loop& points, std::size_t from, std::size_t to, double tolerance,
              std::vector<char>& keep) {
  const double t2 = tolerance * tolerance;
  auto cross = [](QPointF a, QPointF b) { return a.x() * b.y() - a.y() * b.x(); };
  std::size_t anchor = from;
  while (anchor < to) {
    const QPointF a = points[anchor];
    QPointF lo, hi;      // the directions left, clockwise to anticlockwise
    bool open = true;    // none excluded yet
    double reach = 0;    // the farthest distance from the start so far
    std::size_t end = anchor + 1;
    for (std::size_t i = anchor + 1; i <= to; ++i) {
      const QPointF v = points[i] - a;
      const double d2 = QPointF::dotProduct(v, v), d = std::sqrt(d2);
      if (d < reach - tolerance) break;  // turning back
      if (!open && QPointF::dotProduct(v, lo) < 0 && QPointF::dotProduct(v, hi) < 0) break;  // behind
      const bool inside = open || (cross(lo, v) >= 0 && cross(v, hi) >= 0);
      if (inside && d >= reach) end = i;
      reach = std::max(reach, d);
      if (d2 <= t2) continue;  // every direction passes near it
      // The directions passing within tolerance of the point: v turned
      // either way by asin(tolerance / d).
      const double sn = tolerance / d, cs = std::sqrt(1 - sn * sn);
      const QPointF wlo(v.x() * cs + v.y() * sn, v.y() * cs - v.x() * sn);
      const QPointF whi(v.x() * cs - v.y() * sn, v.y() * cs + v.x() * sn);
      if (open) {
        lo = wlo;
        hi = whi;
        open = false;
        continue;
      }
      if (cross(lo, wlo) > 0) lo = wlo;
      if (cross(hi, whi) < 0) hi = whi;
      if (cross(lo, hi) < 0) break;  // no direction passes near them all
    }
    keep[end] = 1;
    anchor = end;
  }
}

// The loop of a rectilinear outline through the middles of its unit
// edges, where an edge sampled at cell centres meets the true one best: a
// side of one unit by its middle, a longer side by the points half a unit
// from its ends (the rest lies between them).
Loop EdgeMiddles(const Loop& corners) {
  Loop out;
  out.reserve(corners.size() * 2);
  for (std::size_t i = 0; i < corners.size(); ++i) {
    const QPointF a = corners[i], b = corners[(i + 1) % corners.size()];
    const QPointF d = b - a;
    const double length = std::abs(d.x()) + std::abs(d.y());
    if (length <= 1) {
      out.push_back((a + b) / 2);
    } else {
      const QPointF half = d / (2 * length);
      out.push_back(a + half);
      out.push_back(b - half);
    }
  }
  return out;
}

// A closed loop simplified: split at its first point and the point farthest
// from it, each half simplified on its own.
Loop SimplifyLoop(const Loop& loop, double tolerance) {
  const std::size_t n = loop.size();
  if (n < 4 || tolerance <= 0) return loop;
  std::size_t far = 0;
  double best = -1;
  for (std::size_t i = 1; i < n; ++i) {
    const QPointF d = loop[i] - loop[0];
    const double d2 = QPointF::dotProduct(d, d);
    if (d2 > best) {
      best = d2;
      far = i;
    }
  }
  Loop closed(loop);
  closed.push_back(loop[0]);
  std::vector<char> keep(closed.size(), 0);
  keep[0] = keep[far] = keep[n] = 1;
  Simplify(closed, 0, far, tolerance, keep);
  Simplify(closed, far, n, tolerance, keep);
  Loop out;
  for (std::size_t i = 0; i < n; ++i)
    if (keep[i]) out.push_back(closed[i]);
  return out;
}

using Interval = TVectorPicture::Run;

// Cells of row a not in row b, as intervals (both sorted and disjoint).
std::vector<Interval> Minus(const std::vector<Interval>& a, const std::vector<Interval>& b) {
  std::vector<Interval> out;
  std::size_t j = 0;
  for (Interval s : a) {
    int from = s.l;
    while (j < b.size() && b[j].r < from) ++j;
    std::size_t k = j;
    while (from <= s.r) {
      if (k >= b.size() || b[k].l > s.r) {
        out.push_back({from, s.r});
        break;
      }
      if (b[k].l > from) out.push_back({from, b[k].l - 1});
      from = std::max(from, b[k].r + 1);
      ++k;
    }
  }
  return out;
}

// Items sorted by their row, rows First..Last (counted out: the rows are
// few and dense), and along each row by Less. Returns where each row's
// items begin, and their end.
template <class T, class Row, class Less>
std::vector<std::size_t> SortByRows(std::vector<T>& items, int First, int Last, Row row, Less less) {
  std::vector<std::size_t> start(std::size_t(Last - First) + 2, 0);
  for (const T& t : items) ++start[std::size_t(row(t) - First) + 1];
  for (std::size_t r = 1; r < start.size(); ++r) start[r] += start[r - 1];
  std::vector<T> sorted(items.size());
  std::vector<std::size_t> at(start.begin(), start.end() - 1);
  for (const T& t : items) sorted[at[std::size_t(row(t) - First)]++] = t;
  for (std::size_t r = 0; r + 1 < start.size(); ++r)
    std::sort(sorted.begin() + std::ptrdiff_t(start[r]), sorted.begin() + std::ptrdiff_t(start[r + 1]), less);
  items = std::move(sorted);
  return start;
}

}  // namespace

QPainterPath TraceSpans(std::vector<TVectorPicture::Span> Spans, double Tolerance) {
  QPainterPath path;
  path.setFillRule(Qt::WindingFill);
  if (Spans.empty()) return path;
  std::sort(Spans.begin(), Spans.end(), [](const auto& a, const auto& b) {
    return a.Y != b.Y ? a.Y < b.Y : a.Left < b.Left;
  });
  // Rows of merged intervals.
  const int y0 = Spans.front().Y, y1 = Spans.back().Y;
  std::vector<std::vector<Interval>> rows(std::size_t(y1 - y0 + 1));
  for (const auto& s : Spans) {
    auto& row = rows[std::size_t(s.Y - y0)];
    if (!row.empty() && s.Left <= row.back().r + 1)
      row.back().r = std::max(row.back().r, s.Right);
    else
      row.push_back({s.Left, s.Right});
  }
  // Directed boundary edges, the region on their right (y down): along the
  // top from left to right, down the right side, back along the bottom, up
  // the left side.
  struct Edge {
    int x1, y1, x2, y2;
  };
  std::vector<Edge> edges;
  std::vector<Interval> cut;
  const std::vector<Interval> none;
  for (int y = y0; y <= y1; ++y) {
    const auto& row = rows[std::size_t(y - y0)];
    const auto& above = y > y0 ? rows[std::size_t(y - 1 - y0)] : none;
    const auto& below = y < y1 ? rows[std::size_t(y + 1 - y0)] : none;
    cut = Minus(row, above);
    for (Interval t : cut) edges.push_back({t.l, y, t.r + 1, y});
    cut = Minus(row, below);
    for (Interval b : cut) edges.push_back({b.r + 1, y + 1, b.l, y + 1});
    for (Interval s : row) {
      edges.push_back({s.r + 1, y, s.r + 1, y + 1});
      edges.push_back({s.l, y + 1, s.l, y});
    }
  }
  // By the row they start on, then along it.
  const std::vector<std::size_t> start = SortByRows(
      edges, y0, y1 + 1, [](const Edge& e) { return e.y1; },
      [](const Edge& p, const Edge& q) { return p.x1 < q.x1; });
  std::vector<char> used(edges.size(), 0);
  auto next = [&](int x, int y) -> std::ptrdiff_t {
    if (y < y0 || y > y1 + 1) return -1;
    const auto begin = edges.begin() + std::ptrdiff_t(start[std::size_t(y - y0)]);
    const auto end = edges.begin() + std::ptrdiff_t(start[std::size_t(y - y0) + 1]);
    for (auto it = std::lower_bound(begin, end, x, [](const Edge& e, int v) { return e.x1 < v; });
         it != end && it->x1 == x; ++it) {
      const auto i = it - edges.begin();
      if (!used[std::size_t(i)]) return i;
    }
    return -1;
  };
  for (std::size_t start = 0; start < edges.size(); ++start) {
    if (used[start]) continue;
    Loop loop;
    std::ptrdiff_t e = std::ptrdiff_t(start);
    while (e >= 0) {
      used[std::size_t(e)] = 1;
      const Edge& edge = edges[std::size_t(e)];
      const QPointF p(edge.x1, edge.y1);
      // A corner only where the direction turns.
      if (loop.size() >= 2) {
        const QPointF a = loop[loop.size() - 2], b = loop.back();
        if ((a.x() == b.x() && b.x() == p.x()) || (a.y() == b.y() && b.y() == p.y())) loop.pop_back();
      }
      loop.push_back(p);
      e = next(edge.x2, edge.y2);
    }
    // Where the walk began and ended in the middle of a side.
    auto straight = [](QPointF a, QPointF b, QPointF c) {
      return (a.x() == b.x() && b.x() == c.x()) || (a.y() == b.y() && b.y() == c.y());
    };
    while (loop.size() >= 3 && straight(loop[loop.size() - 2], loop.back(), loop[0])) loop.pop_back();
    if (loop.size() >= 3 && straight(loop.back(), loop[0], loop[1])) loop.erase(loop.begin());
    if (Tolerance > 0 && loop.size() >= 3) loop = SimplifyLoop(EdgeMiddles(loop), Tolerance);
    if (loop.size() < 3) continue;
    path.moveTo(loop[0]);
    for (std::size_t i = 1; i < loop.size(); ++i) path.lineTo(loop[i]);
    path.closeSubpath();
  }
  return path;
}

void TVectorPicture::SetTraceScale(int Value) { traceScale_ = std::clamp(Value, 1, 16); }

int TVectorPicture::TraceScaleFor(double PointsPerPixel, double Tolerance) {
  if (!(PointsPerPixel > 0) || !(Tolerance > 0)) return 1;
  return std::clamp(int(std::ceil(PointsPerPixel / Tolerance - 1e-9)), 1, 16);
}

// --- Recording -----------------------------------------------------------------------

void TVectorPicture::Stroke(const std::vector<QPoint>& Points, bool Closed, TColor Color, int Width) {
  if (Points.size() < 2) return;
  ++drawn_;
  const QColor color = ColorOf(Color);
  if (!Closed && !ops_.empty()) {
    Op& last = ops_.back();
    if (last.Kind == Op::opStroke && last.Color == color && last.Width == Width &&
        last.Path.elementCount() > 0 && last.Path.currentPosition() == Centre(Points.front(), Width)) {
      for (std::size_t i = 1; i < Points.size(); ++i) last.Path.lineTo(Centre(Points[i], Width));
      return;
    }
  }
  Op op{Op::opStroke, {}, color, double(Width), false, {}, {}, {}, {}};
  op.Path.moveTo(Centre(Points.front(), Width));
  for (std::size_t i = 1; i < Points.size(); ++i) op.Path.lineTo(Centre(Points[i], Width));
  if (Closed) op.Path.closeSubpath();
  ops_.push_back(std::move(op));
}

void TVectorPicture::StrokePath(const QPainterPath& Path, TColor Color, double Width) {
  ++drawn_;
  ops_.push_back(Op{Op::opStroke, Path, ColorOf(Color), Width, false, {}, {}, {}, {}});
}

void TVectorPicture::FillPath(const QPainterPath& Path, TColor Color) {
  ++drawn_;
  ops_.push_back(Op{Op::opFill, Path, ColorOf(Color), 1, false, {}, {}, {}, {}});
}

void TVectorPicture::FillBox(int X1, int Y1, int X2, int Y2, TColor Color) {
  const int l = std::min(X1, X2), r = std::max(X1, X2), t = std::min(Y1, Y2), b = std::max(Y1, Y2);
  if (l == r || t == b) return;
  const QRectF box(l, t, double(r) - l, double(b) - t);
  QPainterPath path;
  path.addRect(box);
  FillPath(path, Color);
  ops_.back().Box = box;
}

void TVectorPicture::Text(int X, int Y, const QString& Text, const QString& FontName, int FontSize,
                          unsigned FontStyle, TColor Color) {
  if (Text.isEmpty()) return;
  QFont font(FontName);
  font.setPointSize(std::max(FontSize, 1));
  font.setBold(FontStyle & fsBold);
  font.setItalic(FontStyle & fsItalic);
  font.setUnderline(FontStyle & fsUnderline);
  // The canvas puts the baseline at the top plus the ascent.
  const double ascent = QFontMetrics(font, &FontMeasuringDevice()).ascent();
  ops_.push_back(Op{Op::opText, {}, ColorOf(Color), 1, false, QPointF(X, Y + ascent), Text, font, {}});
}

void TVectorPicture::Flood(QPoint Seed, TColor Color, TColor Border, const std::vector<Span>& Spans,
                           QSize Bitmap) {
  if (Spans.empty()) return;
  QPainterPath path = TraceRegion(Seed, Border, Spans, Bitmap);
  ops_.push_back(Op{Op::opFill, std::move(path), ColorOf(Color), 1, true, {}, {}, {}, {}});
}

namespace {

// Runs l..r of a row merged with the sorted runs of `add`: their union, or
// (Wall false) what of `row` lies outside them.
void Apply(std::vector<Interval>& row, const std::vector<Interval>& add, bool Wall) {
  if (add.empty()) return;
  if (!Wall) {
    if (!row.empty()) row = Minus(row, add);
    return;
  }
  std::vector<Interval> out;
  out.reserve(row.size() + add.size());
  std::size_t i = 0, j = 0;
  while (i < row.size() || j < add.size()) {
    const Interval next = j >= add.size() || (i < row.size() && row[i].l < add[j].l) ? row[i++] : add[j++];
    if (!out.empty() && next.l <= out.back().r + 1)
      out.back().r = std::max(out.back().r, next.r);
    else
      out.push_back(next);
  }
  row = std::move(out);
}

// The cells of a Rows x Columns grid whose centres lie inside the polygons
// (every one closed, the fill rule over them all), by rows: what the
// painter fills without antialiasing.
void CoverCells(const QList<QPolygonF>& Polygons, Qt::FillRule Rule, int Rows, int Columns,
                const std::function<void(int, const std::vector<Interval>&)>& Row) {
  struct Crossing {
    int y;
    double x;
    int dir;
  };
  std::vector<Crossing> crossings;
  for (const QPolygonF& polygon : Polygons) {
    const qsizetype n = polygon.size();
    for (qsizetype i = 0; i < n; ++i) {
      const QPointF a = polygon[i], b = polygon[(i + 1) % n];
      if (a.y() == b.y()) continue;
      const double lo = std::min(a.y(), b.y()), hi = std::max(a.y(), b.y());
      // Rows whose centre y + 0.5 lies in [lo, hi).
      const int from = int(std::clamp(std::ceil(lo - 0.5), 0.0, double(Rows)));
      const int to = int(std::clamp(std::ceil(hi - 0.5), 0.0, double(Rows)));
      const double slope = (b.x() - a.x()) / (b.y() - a.y());
      const int dir = a.y() < b.y() ? 1 : -1;
      for (int y = from; y < to; ++y) crossings.push_back({y, a.x() + (y + 0.5 - a.y()) * slope, dir});
    }
  }
  if (crossings.empty()) return;
  int y0 = crossings.front().y, y1 = y0;
  for (const Crossing& c : crossings) y0 = std::min(y0, c.y), y1 = std::max(y1, c.y);
  SortByRows(
      crossings, y0, y1, [](const Crossing& c) { return c.y; },
      [](const Crossing& p, const Crossing& q) { return p.x < q.x; });
  std::vector<Interval> runs;
  for (std::size_t i = 0; i < crossings.size();) {
    const int y = crossings[i].y;
    runs.clear();
    int winding = 0;
    for (; i < crossings.size() && crossings[i].y == y; ++i) {
      const bool inside = Rule == Qt::WindingFill ? winding != 0 : (winding & 1) != 0;
      winding += crossings[i].dir;
      const bool after = Rule == Qt::WindingFill ? winding != 0 : (winding & 1) != 0;
      if (inside == after) continue;
      // Cells with centres x + 0.5 in [enter, leave).
      const int at = int(std::clamp(std::ceil(crossings[i].x - 0.5), -1.0, double(Columns) + 1));
      if (after) {
        runs.push_back({at, 0});
      } else {
        Interval& run = runs.back();
        run.l = std::max(run.l, 0);
        run.r = std::min(at, Columns) - 1;
        if (run.r < run.l)
          runs.pop_back();
        else if (runs.size() >= 2 && run.l <= runs[runs.size() - 2].r + 1) {
          runs[runs.size() - 2].r = std::max(runs[runs.size() - 2].r, run.r);
          runs.pop_back();
        }
      }
    }
    if (!runs.empty()) Row(y, runs);
  }
}

}  // namespace

// The walls at the fine resolution over the whole bitmap: what was drawn in
// the border colour and not drawn over again in another, as runs of fine
// cells. Kept for the next fill as long as nothing but fills was recorded
// meanwhile.
TVectorPicture::Walls& TVectorPicture::WallsFor(TColor Border, QSize Bitmap) {
  const int k = traceScale_;
  Walls& w = walls_;
  if (w.Valid && w.Border == Border && w.Scale == k && w.Bitmap == Bitmap && w.Drawn == drawn_) return w;
  w.Valid = true;
  w.Border = Border;
  w.Scale = k;
  w.Bitmap = Bitmap;
  w.Drawn = drawn_;
  const QColor border = ColorOf(Border);
  // What lies under a box over the whole bitmap is not seen; a box of
  // another colour than the border's leaves it all open, as it starts.
  std::size_t first = FirstSeen(Bitmap);
  if (first < ops_.size() && ops_[first].Box.isValid() && ops_[first].Color != border) ++first;
  // Only where the walls are: a fill reaching beyond them has none to find.
  QRectF box;
  for (std::size_t i = first; i < ops_.size(); ++i)
    if (ops_[i].Color == border && ops_[i].Kind != Op::opText)
      box |= ops_[i].Path.controlPointRect().adjusted(-ops_[i].Width, -ops_[i].Width, ops_[i].Width, ops_[i].Width);
  w.Box = box.toAlignedRect().adjusted(-2, -2, 2, 2) & QRect(QPoint(0, 0), Bitmap);
  if (w.Box.isEmpty()) w.Box = QRect(0, 0, 1, 1);
  const int rows = Bitmap.height() * k, columns = Bitmap.width() * k;
  w.Rows.assign(std::size_t(rows), {});
  const QTransform fine = QTransform::fromScale(k, k);
  QPainterPathStroker stroker;
  stroker.setCapStyle(Qt::SquareCap);
  stroker.setJoinStyle(Qt::MiterJoin);
  stroker.setMiterLimit(QPen().miterLimit());
  bool walled = false;  // until a wall is drawn, a fill of another colour changes nothing
  for (std::size_t i = first; i < ops_.size(); ++i) {
    const Op& op = ops_[i];
    if (op.Kind == Op::opText) continue;
    const bool wall = op.Color == border;
    if (!wall && !walled) continue;
    walled = true;
    auto apply = [&](int y, const std::vector<Interval>& runs) { Apply(w.Rows[std::size_t(y)], runs, wall); };
    if (op.Box.isValid()) {
      // In fine cells, clipped to the bitmap (boxes may reach far beyond it).
      auto at = [k](double v, int limit) { return int(std::clamp(v * k, 0.0, double(limit))); };
      const int l = at(op.Box.left(), columns), r = at(op.Box.right(), columns) - 1;
      const int t = at(op.Box.top(), rows), b = at(op.Box.bottom(), rows);
      if (l <= r)
        for (int y = t; y < b; ++y) apply(y, {{l, r}});
    } else if (op.Kind == Op::opStroke) {
      stroker.setWidth(op.Width);
      const QPainterPath outline = stroker.createStroke(op.Path);
      CoverCells(outline.toSubpathPolygons(fine), Qt::WindingFill, rows, columns, apply);
    } else {
      CoverCells(op.Path.toSubpathPolygons(fine), op.Path.fillRule(), rows, columns, apply);
    }
  }
  return w;
}

std::size_t TVectorPicture::FirstSeen(QSize Bitmap) const {
  const QRectF whole(0, 0, Bitmap.width(), Bitmap.height());
  for (std::size_t i = ops_.size(); i-- > 0;)
    if (ops_[i].Box.contains(whole)) return i;
  return 0;
}

QPainterPath TVectorPicture::TraceRegion(QPoint Seed, TColor Border, const std::vector<Span>& Spans,
                                         QSize Bitmap) {
  const int k = traceScale_;
  // A fill by surface colour has no walls to find again.
  if (k <= 1 || Border == clInvalid || Bitmap.isEmpty() ||
      std::int64_t(Bitmap.width()) * Bitmap.height() * k * k > (std::int64_t(1) << 28))
    return TraceSpans(Spans, 0);
  const Walls& w = WallsFor(Border, Bitmap);
  // The room: the filled pixels and their neighbours, in bitmap pixels.
  int bx0 = Spans.front().Left, bx1 = Spans.front().Right, by0 = Spans.front().Y, by1 = by0;
  for (const Span& s : Spans) {
    bx0 = std::min(bx0, s.Left);
    bx1 = std::max(bx1, s.Right);
    by0 = std::min(by0, s.Y);
    by1 = std::max(by1, s.Y);
  }
  bx0 = std::max(bx0 - 1, 0), by0 = std::max(by0 - 1, 0);
  bx1 = std::min(bx1 + 1, Bitmap.width() - 1), by1 = std::min(by1 + 1, Bitmap.height() - 1);
  if (!w.Box.contains(QRect(QPoint(bx0, by0), QPoint(bx1, by1)))) return TraceSpans(Spans, 0);
  std::vector<std::vector<Interval>> room(std::size_t(by1 - by0 + 1));
  for (const Span& s : Spans)
    for (int y = std::max(s.Y - 1, by0); y <= std::min(s.Y + 1, by1); ++y)
      room[std::size_t(y - by0)].push_back({std::max(s.Left - 1, bx0), std::min(s.Right + 1, bx1)});
  // The open fine cells of the room, row by row (fine rows from by0 * k):
  // the room's cells less the walls.
  const int fy0 = by0 * k;
  std::vector<Interval> open;
  std::vector<std::size_t> rowStart{0};
  std::vector<Interval> scaled;
  for (int y = by0; y <= by1; ++y) {
    auto& runs = room[std::size_t(y - by0)];
    std::sort(runs.begin(), runs.end(), [](Interval a, Interval b) { return a.l < b.l; });
    scaled.clear();
    for (Interval r : runs) {
      const Interval f{r.l * k, (r.r + 1) * k - 1};
      if (!scaled.empty() && f.l <= scaled.back().r + 1)
        scaled.back().r = std::max(scaled.back().r, f.r);
      else
        scaled.push_back(f);
    }
    for (int fy = y * k; fy < (y + 1) * k; ++fy) {
      const auto& wall = w.Rows[std::size_t(fy)];
      if (wall.empty())
        open.insert(open.end(), scaled.begin(), scaled.end());
      else
        for (Interval r : Minus(scaled, wall)) open.push_back(r);
      rowStart.push_back(open.size());
    }
  }
  const int rows = int(rowStart.size()) - 1;
  // The open run holding a fine cell, or -1.
  auto runAt = [&](int fx, int fy) -> std::ptrdiff_t {
    const int row = fy - fy0;
    if (row < 0 || row >= rows) return -1;
    const auto begin = open.begin() + std::ptrdiff_t(rowStart[std::size_t(row)]);
    const auto end = open.begin() + std::ptrdiff_t(rowStart[std::size_t(row) + 1]);
    const auto it = std::lower_bound(begin, end, fx, [](Interval r, int x) { return r.r < x; });
    return it != end && it->l <= fx ? it - open.begin() : -1;
  };
  // The seed at the centre of its pixel, else at any filled pixel's centre
  // that the walls leave open.
  std::ptrdiff_t seed = runAt(Seed.x() * k + k / 2, Seed.y() * k + k / 2);
  for (std::size_t i = 0; seed < 0 && i < Spans.size(); ++i)
    for (int x = Spans[i].Left; x <= Spans[i].Right && seed < 0; ++x)
      seed = runAt(x * k + k / 2, Spans[i].Y * k + k / 2);
  if (seed < 0) return TraceSpans(Spans, 0);
  // The open runs 4-connected to the seed's.
  std::vector<int> rowOf(open.size());
  for (int row = 0; row < rows; ++row)
    std::fill(rowOf.begin() + std::ptrdiff_t(rowStart[std::size_t(row)]),
              rowOf.begin() + std::ptrdiff_t(rowStart[std::size_t(row) + 1]), row);
  std::vector<char> reached(open.size(), 0);
  std::vector<std::size_t> stack{std::size_t(seed)};
  reached[std::size_t(seed)] = 1;
  std::vector<Span> fine;
  while (!stack.empty()) {
    const std::size_t i = stack.back();
    stack.pop_back();
    const Interval run = open[i];
    const int row = rowOf[i];
    fine.push_back({fy0 + row, run.l, run.r});
    for (const int next : {row - 1, row + 1}) {
      if (next < 0 || next >= rows) continue;
      const auto begin = open.begin() + std::ptrdiff_t(rowStart[std::size_t(next)]);
      const auto end = open.begin() + std::ptrdiff_t(rowStart[std::size_t(next) + 1]);
      for (auto it = std::lower_bound(begin, end, run.l, [](Interval r, int x) { return r.r < x; });
           it != end && it->l <= run.r; ++it) {
        const std::size_t j = std::size_t(it - open.begin());
        if (!reached[j]) {
          reached[j] = 1;
          stack.push_back(j);
        }
      }
    }
  }
  return QTransform::fromScale(1.0 / k, 1.0 / k).map(TraceSpans(std::move(fine), 0.5));
}

// --- Playback ------------------------------------------------------------------------

void TVectorPicture::Play(QPainter& Painter) const {
  QPaintDevice* device = Painter.device();
  const double dpi = device ? std::max(device->logicalDpiY(), 1) : 96;
  // What lies under a box over the whole picture is never seen (and would
  // show at the box's antialiased edges): play from the last such box.
  for (std::size_t i = FirstSeen(QSize(width_, height_)); i < ops_.size(); ++i) {
    const Op& op = ops_[i];
    switch (op.Kind) {
      case Op::opFill:
        Painter.fillPath(op.Path, op.Color);
        break;
      case Op::opStroke:
        Painter.strokePath(op.Path, PenOf(op.Color, op.Width));
        break;
      case Op::opText: {
        // Points at 96 dots per inch, whatever the device's resolution.
        QFont font = op.Font;
        font.setPointSizeF(op.Font.pointSizeF() * 96.0 / dpi);
        Painter.setFont(font);
        Painter.setPen(op.Color);
        Painter.drawText(op.At, op.Text);
        break;
      }
    }
  }
}

QImage TVectorPicture::ToImage(double Scale, bool Antialiased) const {
  const int w = int(std::lround(width_ * Scale)), h = int(std::lround(height_ * Scale));
  QImage image(std::max(w, 0), std::max(h, 0), QImage::Format_RGB32);
  if (image.isNull()) return image;
  image.setDotsPerMeterX(kDotsPerMeter);
  image.setDotsPerMeterY(kDotsPerMeter);
  image.fill(Qt::white);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing, Antialiased);
  p.setRenderHint(QPainter::TextAntialiasing, Antialiased);
  p.scale(Scale, Scale);
  Play(p);
  return image;
}

QByteArray TVectorPicture::ToSvg(const QString& Title) const {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QSvgGenerator svg;
  svg.setOutputDevice(&buffer);
  svg.setResolution(96);
  svg.setSize(QSize(width_, height_));
  svg.setViewBox(QRect(0, 0, width_, height_));
  svg.setTitle(Title);
  svg.setDescription(QStringLiteral("phasediagrams"));
  QPainter p;
  if (!p.begin(&svg)) return {};
  Play(p);
  p.end();
  // The generator gives the size in millimetres, which readers turn into
  // pixels at their own resolution: it is given in pixels instead.
  const qsizetype svgAt = bytes.indexOf("<svg");
  const qsizetype end = svgAt < 0 ? -1 : bytes.indexOf('>', svgAt);
  if (end > svgAt) {
    QByteArray head = bytes.mid(svgAt, end - svgAt);
    QString text = QString::fromLatin1(head);
    text.replace(QRegularExpression(QStringLiteral(" width=\"[^\"]*\"")), QStringLiteral(" width=\"%1\"").arg(width_));
    text.replace(QRegularExpression(QStringLiteral(" height=\"[^\"]*\"")), QStringLiteral(" height=\"%1\"").arg(height_));
    bytes.replace(svgAt, end - svgAt, text.toLatin1());
  }
  return bytes;
}

QByteArray TVectorPicture::ToPdf(const QString& Title) const {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  {
    QPdfWriter pdf(&buffer);
    pdf.setCreator(QStringLiteral("phasediagrams"));
    pdf.setTitle(Title);
    pdf.setResolution(96);
    pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
    pdf.setPageSize(QPageSize(QSizeF(width_ * 72.0 / 96, height_ * 72.0 / 96), QPageSize::Point,
                              QString(), QPageSize::ExactMatch));
    QPainter p;
    if (!p.begin(&pdf)) return {};
    Play(p);
    p.end();
  }
  return bytes;
}

std::vector<QPainterPath> TVectorPicture::Regions() const {
  std::vector<QPainterPath> regions;
  for (const Op& op : ops_)
    if (op.Region) regions.push_back(op.Path);
  return regions;
}

int TVectorPicture::RegionCount() const {
  return int(std::count_if(ops_.begin(), ops_.end(), [](const Op& op) { return op.Region; }));
}

int TVectorPicture::TextCount() const {
  return int(std::count_if(ops_.begin(), ops_.end(), [](const Op& op) { return op.Kind == Op::opText; }));
}
