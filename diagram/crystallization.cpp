// The crystallization path of a melt: the primary ray, the walk down the
// boundary curve and the eutectic, with the lever-rule amounts.
//
// Compositions are worked on as (A, B) pairs. The construction uses only
// what an affine map keeps (intersections, ratios along a line, barycentric
// coordinates), so the plain (A, B) plane serves; lengths that must mean
// the same in every direction (the probe distances) are measured on the
// equilateral triangle of side 100.
#include "diagram/crystallization.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <numbers>

namespace ternary {

namespace {

using P2 = TCompositionPoint;

constexpr double Sin60 = 0.8660254037844386;
// Parameters closer than this to an end still count as on the segment.
constexpr double Slack = 1e-9;
// Curve ends closer than this (percent) are one point.
constexpr double SamePoint = 1e-6;
// How far down a boundary the temperature is compared, percent.
constexpr double DownhillStep = 1.0;

P2 operator+(P2 a, P2 b) { return {a.A + b.A, a.B + b.B}; }
P2 operator-(P2 a, P2 b) { return {a.A - b.A, a.B - b.B}; }
P2 operator*(P2 a, double k) { return {a.A * k, a.B * k}; }
double Cross(P2 a, P2 b) { return a.A * b.B - a.B * b.A; }

// Lengths on the equilateral triangle of side 100.
double Length(P2 v) {
  const double x = -v.A - v.B / 2, y = v.B * Sin60;
  return std::hypot(x, y);
}
// The direction at right angles to v on that triangle, of length 1 there.
P2 Normal(P2 v) {
  const double x = -v.A - v.B / 2, y = v.B * Sin60;
  const double l = std::hypot(x, y);
  if (l == 0) return {0, 0};
  const double nx = -y / l, ny = x / l;
  const double b = ny / Sin60;
  return {-nx - b / 2, b};
}
P2 Unit(P2 v) {
  const double l = Length(v);
  return l == 0 ? P2{0, 0} : v * (1 / l);
}

bool Same(P2 a, P2 b) { return std::abs(a.A - b.A) < SamePoint && std::abs(a.B - b.B) < SamePoint; }

// Where the ray X + t d first meets a boundary segment (t > 0).
struct THit {
  double t = std::numeric_limits<double>::infinity();
  int Curve = -1;
  int Segment = -1;
};

THit FirstHit(const std::vector<std::vector<P2>>& curves, P2 X, P2 d) {
  THit hit;
  for (int c = 0; c < int(curves.size()); ++c) {
    const std::vector<P2>& pts = curves[std::size_t(c)];
    for (int i = 0; i + 1 < int(pts.size()); ++i) {
      const P2 s0 = pts[std::size_t(i)], e = pts[std::size_t(i) + 1] - s0;
      const double den = Cross(d, e);
      if (den == 0) continue;  // parallel: it cannot be crossed
      const P2 w = s0 - X;
      const double t = Cross(w, e) / den, u = Cross(w, d) / den;
      if (t > Slack && u >= -Slack && u <= 1 + Slack && t < hit.t) hit = THit{t, c, i};
    }
  }
  return hit;
}

// Where the ray X + t d leaves the triangle (t > 0).
double SideHit(P2 X, P2 d) {
  double best = std::numeric_limits<double>::infinity();
  const double v[3] = {X.A, X.B, 100 - X.A - X.B}, dv[3] = {d.A, d.B, -d.A - d.B};
  for (int k = 0; k < 3; ++k)
    if (dv[k] < 0) best = std::min(best, std::max(0.0, -v[k] / dv[k]));
  return best;
}

// The way from a point on segment i of pts to one end of the polyline.
std::vector<P2> WayTo(const std::vector<P2>& pts, int i, P2 from, bool forward) {
  std::vector<P2> way{from};
  if (forward) {
    for (std::size_t k = std::size_t(i) + 1; k < pts.size(); ++k)
      if (!Same(pts[k], way.back())) way.push_back(pts[k]);
  } else {
    for (int k = i; k >= 0; --k)
      if (!Same(pts[std::size_t(k)], way.back())) way.push_back(pts[std::size_t(k)]);
  }
  return way;
}

double WayLength(const std::vector<P2>& way) {
  double l = 0;
  for (std::size_t k = 1; k < way.size(); ++k) l += Length(way[k] - way[k - 1]);
  return l;
}

// The point at distance s along a way (its end when the way is shorter).
P2 AlongWay(const std::vector<P2>& way, double s) {
  for (std::size_t k = 1; k < way.size(); ++k) {
    const double l = Length(way[k] - way[k - 1]);
    if (s <= l && l > 0) return way[k - 1] + (way[k] - way[k - 1]) * (s / l);
    s -= l;
  }
  return way.back();
}

TCrystallizationStep Stopped(TCrystallizationStop why, P2 at, double T, std::vector<int> fields,
                             double solid = 0, std::vector<double> shares = {}) {
  TCrystallizationStep s;
  s.Kind = ckStop;
  s.Stop = why;
  s.Liquid = at;
  s.T = T;
  s.Fields = std::move(fields);
  s.Solid = solid;
  s.Shares = std::move(shares);
  return s;
}

// The fields on a ring around a point other than f and g, the most often
// met first.
std::vector<int> FieldsAround(const TCrystallizationSystem& S, P2 at, int f, int g) {
  std::map<int, int> seen;
  constexpr int RingPoints = 36;
  for (int k = 0; k < RingPoints; ++k) {
    const double a = 2 * std::numbers::pi * k / RingPoints;
    // A unit step on the equilateral triangle at angle a.
    const double x = std::cos(a), y = std::sin(a);
    const double b = y / Sin60;
    const P2 r = at + P2{-x - b / 2, b} * S.Ring;
    const int field = S.FieldAt(r.A, r.B);
    if (field >= 0 && field != f && field != g) ++seen[field];
  }
  std::vector<std::pair<int, int>> order(seen.begin(), seen.end());
  std::stable_sort(order.begin(), order.end(), [](auto& a, auto& b) { return a.second > b.second; });
  std::vector<int> fields;
  for (const auto& [field, count] : order) fields.push_back(field);
  return fields;
}

}  // namespace

std::optional<std::array<double, 3>> Barycentric(P2 X, P2 P, P2 Q, P2 R) {
  const double den = Cross(Q - P, R - P);
  if (den == 0 || !std::isfinite(den)) return std::nullopt;
  const double q = Cross(X - P, R - P) / den;
  const double r = Cross(Q - P, X - P) / den;
  return std::array<double, 3>{1 - q - r, q, r};
}

std::vector<TCrystallizationStep> TraceCrystallization(const TCrystallizationSystem& S, P2 X) {
  std::vector<TCrystallizationStep> steps;
  const double nan = std::numeric_limits<double>::quiet_NaN();

  // --- The melt and its field ---------------------------------------------
  const int f = S.FieldAt(X.A, X.B);
  if (f == -2) return {Stopped(csOnBoundary, X, nan, {})};
  if (f < 0) return {Stopped(csNoField, X, nan, {})};
  const std::optional<P2> primary = S.PrimaryOf(f);
  if (!primary) return {Stopped(csNoPrimaryPhase, X, nan, {f})};
  const P2 P = *primary;
  const double tx = S.Temperature(f, X.A, X.B);
  if (!std::isfinite(tx)) return {Stopped(csNoTemperature, X, nan, {f})};

  TCrystallizationStep first;
  first.Kind = ckPrimary;
  first.T = tx;
  first.Liquid = X;
  first.Fields = {f};
  const P2 d = X - P;
  if (Length(d) < SamePoint) {
    // A melt of the primary phase's own composition freezes as a whole.
    steps.push_back(first);
    steps.push_back(Stopped(csPrimaryPhase, X, tx, {f}, 1, {1}));
    return steps;
  }

  // --- Primary crystallization: straight away from P to L1 -----------------
  const THit hit = FirstHit(S.Boundaries, X, d);
  const double side = SideHit(X, d);
  const bool onCurve = hit.Curve >= 0 && hit.t <= side + Slack;
  const double t = onCurve ? hit.t : side;
  const P2 L1 = X + d * t;
  // Lever rule on the line P X L1: the solid is P, the liquid L1.
  // |X L1| / |P L1|, with |P X| taken as 1 and so |X L1| = t.
  const double solid1 = t / (1 + t);
  first.Way = {X, L1};
  steps.push_back(first);
  // On a boundary the liquidus is the field's surface as it reaches the
  // boundary: extrapolated along a straight line from two points inside the
  // field, where the read-out reads it. An estimate may jump right at the
  // boundary (a curve bent past the straight edge between the T-points);
  // a plane is met exactly.
  auto fromInside = [&](P2 p, P2 in) {
    const double near = S.Temperature(f, p.A + in.A * S.Probe, p.B + in.B * S.Probe);
    const double far = S.Temperature(f, p.A + in.A * 2 * S.Probe, p.B + in.B * 2 * S.Probe);
    return std::isfinite(near) && std::isfinite(far) ? 2 * near - far : S.Temperature(f, p.A, p.B);
  };
  const double t1 = fromInside(L1, Unit(X - L1));
  if (!onCurve) {  // the side of the triangle: nothing lies beyond it
    steps.push_back(Stopped(csNoNeighbour, L1, t1, {f}, solid1, {solid1}));
    return steps;
  }
  if (!std::isfinite(t1)) {
    steps.push_back(Stopped(csNoTemperature, L1, nan, {f}, solid1, {solid1}));
    return steps;
  }

  // A ray straight into the point where the field meets two others: the
  // liquid reaches the eutectic without a cotectic stage.
  const std::vector<P2>* pts = &S.Boundaries[std::size_t(hit.Curve)];
  if (Same(L1, pts->front()) || Same(L1, pts->back())) {
    const std::vector<int> others = FieldsAround(S, L1, f, -1);
    if (others.size() >= 2 && S.PrimaryOf(others[0]) && S.PrimaryOf(others[1])) {
      TCrystallizationStep eut;
      eut.Kind = ckEutectic;
      eut.T = S.Temperature(f, L1.A, L1.B);
      if (!std::isfinite(eut.T)) eut.T = t1;
      eut.Liquid = L1;
      eut.Fields = {f, others[0], others[1]};
      eut.Solid = solid1;
      eut.Shares = {solid1, 0, 0};
      steps.push_back(eut);
      return steps;
    }
  }

  // The neighbouring field across the boundary: beside it, away from X;
  // failing that, straight on along the ray.
  const P2 tangent = (*pts)[std::size_t(hit.Segment) + 1] - (*pts)[std::size_t(hit.Segment)];
  P2 across = Normal(tangent);
  if (Cross(tangent, across) * Cross(tangent, X - L1) > 0) across = across * -1;
  int g = -1;
  for (P2 probe : {L1 + across * S.Probe, L1 + Unit(d) * S.Probe}) {
    const int h = S.FieldAt(probe.A, probe.B);
    if (h >= 0 && h != f) {
      g = h;
      break;
    }
  }
  const std::optional<P2> second = g >= 0 ? S.PrimaryOf(g) : std::nullopt;
  if (!second) {
    steps.push_back(Stopped(csNoNeighbour, L1, t1, {f}, solid1, {solid1}));
    return steps;
  }
  const P2 Q = *second;

  // --- Cotectic crystallization: down the boundary ---------------------------
  // The liquid goes the way the temperature falls; where it falls neither
  // way the boundary is no valley for P and Q.
  std::vector<P2> ways[2] = {WayTo(*pts, hit.Segment, L1, true), WayTo(*pts, hit.Segment, L1, false)};
  double downhill[2];
  for (int k = 0; k < 2; ++k) {
    downhill[k] = std::numeric_limits<double>::infinity();
    const double l = WayLength(ways[k]);
    if (l <= 0) continue;
    const P2 q = AlongWay(ways[k], std::min(DownhillStep, l));
    const double tq = fromInside(q, across * -1);
    if (std::isfinite(tq)) downhill[k] = tq;
  }
  const int way = downhill[0] <= downhill[1] ? 0 : 1;
  // The tangent at the liquid, extended, must cut the segment P Q: the
  // solid then separating lies between P and Q, both crystallize.
  const double den = Cross(tangent, Q - P);
  const double cut = den == 0 ? nan : Cross(L1 - P, tangent) / -den;
  const bool cotectic = std::isfinite(cut) && cut >= -Slack && cut <= 1 + Slack;
  if (!(downhill[way] < t1) || !cotectic) {
    steps.push_back(Stopped(csReaction, L1, t1, {f, g}, solid1, {solid1, 0}));
    return steps;
  }

  TCrystallizationStep cot;
  cot.Kind = ckCotectic;
  cot.T = t1;
  cot.Liquid = L1;
  cot.Fields = {f, g};
  cot.Solid = solid1;
  cot.Shares = {solid1, 0};
  cot.Way = ways[way];

  // Follow the curve to its end, through curves that continue it, to where
  // a third field meets it.
  int h = -1;
  int curve = hit.Curve;
  for (std::size_t guard = 0; guard <= S.Boundaries.size(); ++guard) {
    const P2 end = cot.Way.back();
    const std::vector<int> around = FieldsAround(S, end, f, g);
    if (!around.empty()) {
      h = around.front();
      break;
    }
    // No third field here: a single other curve from this point carries the
    // boundary on (where several meet, none does).
    int next = -1, found = 0;
    bool reversed = false;
    for (int c = 0; c < int(S.Boundaries.size()); ++c) {
      const std::vector<P2>& o = S.Boundaries[std::size_t(c)];
      if (c == curve || o.size() < 2) continue;
      if (Same(o.front(), end) || Same(o.back(), end)) {
        next = c;
        reversed = !Same(o.front(), end);
        ++found;
      }
    }
    if (found != 1) break;
    const std::vector<P2>& o = S.Boundaries[std::size_t(next)];
    const std::vector<P2> more = WayTo(o, reversed ? int(o.size()) - 2 : 0, end, !reversed);
    cot.Way.insert(cot.Way.end(), more.begin() + 1, more.end());
    curve = next;
  }
  steps.push_back(cot);

  const P2 E = cot.Way.back();
  const double te = S.Temperature(f, E.A, E.B);
  // X = a P + b Q + c E: a and b are the solids, c the liquid left.
  const std::optional<std::array<double, 3>> w = Barycentric(X, P, Q, E);
  const double solidE = w ? 1 - (*w)[2] : nan;
  const std::vector<double> sharesE = w ? std::vector<double>{(*w)[0], (*w)[1]} : std::vector<double>{};
  const std::optional<P2> third = h >= 0 ? S.PrimaryOf(h) : std::nullopt;
  if (h < 0) {
    steps.push_back(Stopped(csCurveEnds, E, te, {f, g}, solidE, sharesE));
    return steps;
  }
  if (!third) {
    steps.push_back(Stopped(csNoNeighbour, E, te, {f, g}, solidE, sharesE));
    return steps;
  }
  if (!std::isfinite(te)) {
    steps.push_back(Stopped(csNoTemperature, E, nan, {f, g}, solidE, sharesE));
    return steps;
  }

  // --- The eutectic ----------------------------------------------------------
  TCrystallizationStep eut;
  eut.Kind = ckEutectic;
  eut.T = te;
  eut.Liquid = E;
  eut.Fields = {f, g, h};
  eut.Solid = solidE;
  eut.Shares = sharesE;
  eut.Shares.push_back(0);
  steps.push_back(eut);
  return steps;
}

}  // namespace ternary
