#include "diagram/triangulation.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <tuple>

#include <Eigen/Cholesky>

namespace {

// A value with its derivatives in x and y, so that one evaluation of a cubic
// piece gives the gradient as well.
struct TDual {
  double V = 0, Dx = 0, Dy = 0;
};
TDual operator+(TDual a, TDual b) { return {a.V + b.V, a.Dx + b.Dx, a.Dy + b.Dy}; }
TDual operator-(TDual a, TDual b) { return {a.V - b.V, a.Dx - b.Dx, a.Dy - b.Dy}; }
TDual operator*(TDual a, TDual b) { return {a.V * b.V, a.Dx * b.V + a.V * b.Dx, a.Dy * b.V + a.V * b.Dy}; }
TDual operator*(double k, TDual a) { return {k * a.V, k * a.Dx, k * a.Dy}; }
TDual operator-(double k, TDual a) { return {k - a.V, -a.Dx, -a.Dy}; }
bool operator<(TDual a, TDual b) { return a.V < b.V; }

// Twice the signed area of (a, b, c): positive when counter-clockwise.
double Orient(double ax, double ay, double bx, double by, double cx, double cy) {
  return (bx - ax) * (cy - ay) - (by - ay) * (cx - ax);
}

// Positive when d lies inside the circle through the counter-clockwise a, b, c.
double InCircle(double ax, double ay, double bx, double by, double cx, double cy, double dx, double dy) {
  const double adx = ax - dx, ady = ay - dy, bdx = bx - dx, bdy = by - dy, cdx = cx - dx, cdy = cy - dy;
  return (adx * adx + ady * ady) * (bdx * cdy - cdx * bdy) + (bdx * bdx + bdy * bdy) * (cdx * ady - adx * cdy) +
         (cdx * cdx + cdy * cdy) * (adx * bdy - bdx * ady);
}

}  // namespace

TTriangulatedSurface::TTriangulatedSurface(int n, const double* X, const double* Y, const double* Z) {
  n = std::clamp(n, 0, MaxPoints);
  for (int i = 0; i < n; ++i) {
    x_[i] = X[i];
    y_[i] = Y[i];
    z_[i] = Z[i];
  }
  Triangulate(n);
  if (!Valid()) return;
  EstimateGradients();
  for (int t = 0; t < triangleCount_; ++t) SetUpTriangle(triangles_[t]);
}

// --- Delaunay triangulation ----------------------------------------------------------

// The points are added in lexicographic order (x, then y), so each new point
// lies outside the hull built so far and is joined to the hull edges it sees.
// Edges are then flipped until every one is locally Delaunay (Lawson), which
// for a dozen points is cheaper than any cleverer scheme.
void TTriangulatedSurface::Triangulate(int n) {
  triangleCount_ = hullCount_ = 0;
  double lowX = 0, highX = 0, lowY = 0, highY = 0;
  int order[MaxPoints];
  int m = 0;
  for (int i = 0; i < n; ++i) {
    if (!std::isfinite(x_[i]) || !std::isfinite(y_[i]) || !std::isfinite(z_[i])) return;
    bool again = false;
    for (int k = 0; k < m && !again; ++k) again = x_[order[k]] == x_[i] && y_[order[k]] == y_[i];
    if (again) continue;  // the first value at a place counts
    order[m++] = i;
    lowX = m == 1 ? x_[i] : std::min(lowX, x_[i]);
    highX = m == 1 ? x_[i] : std::max(highX, x_[i]);
    lowY = m == 1 ? y_[i] : std::min(lowY, y_[i]);
    highY = m == 1 ? y_[i] : std::max(highY, y_[i]);
  }
  if (m < 3) return;
  std::sort(order, order + m, [this](int a, int b) { return x_[a] != x_[b] ? x_[a] < x_[b] : y_[a] < y_[b]; });

  // Turns and circle tests within rounding of zero count as zero.
  const double size = std::max(highX - lowX, highY - lowY);
  const double flat = 1e-12 * size * size;
  const double round = 1e-10 * size * size * size * size;
  auto orient = [this](int a, int b, int c) { return Orient(x_[a], y_[a], x_[b], y_[b], x_[c], y_[c]); };

  // The first points may lie on one line; the first point off it closes a fan.
  int k = 2;
  while (k < m && std::fabs(orient(order[0], order[1], order[k])) <= flat) ++k;
  if (k == m) return;  // all on one line
  const bool left = orient(order[0], order[1], order[k]) > 0;
  int hull[MaxPoints + 1];
  int h = 0;
  for (int i = 0; i + 1 < k; ++i) {
    Triangle& t = triangles_[triangleCount_++];
    t.V = left ? std::array<int, 3>{order[i], order[i + 1], order[k]}
               : std::array<int, 3>{order[i + 1], order[i], order[k]};
  }
  if (left) {
    for (int i = 0; i <= k; ++i) hull[h++] = order[i];
  } else {
    hull[h++] = order[k];
    for (int i = k - 1; i >= 0; --i) hull[h++] = order[i];
  }

  // The rest, each joined to the hull edges it sees (strictly to their right).
  for (int i = k + 1; i < m; ++i) {
    const int p = order[i];
    bool sees[MaxPoints + 1];
    int seen = 0;
    for (int e = 0; e < h; ++e) seen += sees[e] = orient(hull[e], hull[(e + 1) % h], p) < -flat;
    if (seen == 0 || seen == h) continue;  // on the line of a hull edge, within rounding
    // The first seen edge after one not seen: the seen edges run on from it.
    int first = 0;
    while (!(sees[first] && !sees[(first + h - 1) % h])) ++first;
    int newHull[MaxPoints + 1];
    int nh = 0;
    for (int s = 0; s < seen; ++s) {
      const int e = (first + s) % h;
      Triangle& t = triangles_[triangleCount_++];
      t.V = {hull[(e + 1) % h], hull[e], p};
    }
    // Keep the hull from the end of the seen run round to its start, then p.
    for (int s = 0; s <= h - seen; ++s) newHull[nh++] = hull[(first + seen + s) % h];
    newHull[nh++] = p;
    std::copy(newHull, newHull + nh, hull);
    h = nh;
  }

  // Lawson's flips: an edge whose far corner lies inside the circle of the
  // triangle on this side is replaced by the other diagonal.
  for (int sweep = 0; sweep < 1000; ++sweep) {
    bool flipped = false;
    for (int t1 = 0; t1 < triangleCount_; ++t1)
      for (int e1 = 0; e1 < 3; ++e1) {
        Triangle& A = triangles_[t1];
        const int a = A.V[e1], b = A.V[(e1 + 1) % 3], c = A.V[(e1 + 2) % 3];
        for (int t2 = 0; t2 < triangleCount_; ++t2) {
          if (t2 == t1) continue;
          Triangle& B = triangles_[t2];
          int e2 = 0;
          while (e2 < 3 && !(B.V[e2] == b && B.V[(e2 + 1) % 3] == a)) ++e2;
          if (e2 == 3) continue;
          const int d = B.V[(e2 + 2) % 3];
          if (InCircle(x_[a], y_[a], x_[b], y_[b], x_[c], y_[c], x_[d], y_[d]) > round &&
              orient(a, d, c) > flat && orient(d, b, c) > flat) {
            A.V = {a, d, c};
            B.V = {d, b, c};
            flipped = true;
          }
          break;
        }
      }
    if (!flipped) break;
  }

  // Neighbours across the edges, and the hull as the edges without one.
  for (int t1 = 0; t1 < triangleCount_; ++t1)
    for (int k1 = 0; k1 < 3; ++k1) {
      Triangle& A = triangles_[t1];
      const int a = A.V[(k1 + 1) % 3], b = A.V[(k1 + 2) % 3];
      A.Across[k1] = -1;
      for (int t2 = 0; t2 < triangleCount_ && A.Across[k1] < 0; ++t2)
        for (int e2 = 0; e2 < 3; ++e2)
          if (t2 != t1 && triangles_[t2].V[e2] == b && triangles_[t2].V[(e2 + 1) % 3] == a) A.Across[k1] = t2;
      if (A.Across[k1] < 0 && hullCount_ < MaxPoints) hull_[hullCount_++] = HullEdge{a, b, t1};
    }
}

// --- Gradients of least curvature ------------------------------------------------------

// Along an edge from p to q (e = q - p, length L) runs the cubic with the end
// values fp, fq and the end slopes e·gp, e·gq. The gradients g minimise the
// sum over all edges of the squared second derivative of these cubics; at
// each point p that is, summed over its edges,
//   (4 e eᵀ gp + 2 e eᵀ gq) / L³ = 6 (fq - fp) e / L³,
// a linear system, symmetric and positive definite because every point has
// two edges that are not parallel. (scipy iterates on the same equations
// point by point until the gradients change by less than its tolerance.)
void TTriangulatedSurface::EstimateGradients() {
  int slot[MaxPoints];
  int used = 0;
  std::fill(slot, slot + MaxPoints, -1);
  for (int t = 0; t < triangleCount_; ++t)
    for (int v : triangles_[t].V)
      if (slot[v] < 0) slot[v] = used++;

  Eigen::Matrix<double, Eigen::Dynamic, Eigen::Dynamic, 0, 2 * MaxPoints, 2 * MaxPoints> Q =
      Eigen::Matrix<double, Eigen::Dynamic, Eigen::Dynamic, 0, 2 * MaxPoints, 2 * MaxPoints>::Zero(2 * used,
                                                                                                   2 * used);
  Eigen::Matrix<double, Eigen::Dynamic, 1, 0, 2 * MaxPoints, 1> s =
      Eigen::Matrix<double, Eigen::Dynamic, 1, 0, 2 * MaxPoints, 1>::Zero(2 * used);
  // Each edge once: from the triangle on its left, or the one with the
  // smaller index when both exist.
  for (int t = 0; t < triangleCount_; ++t)
    for (int k = 0; k < 3; ++k) {
      const Triangle& T = triangles_[t];
      if (T.Across[k] >= 0 && T.Across[k] < t) continue;
      const int p = T.V[(k + 1) % 3], q = T.V[(k + 2) % 3];
      const double ex = x_[q] - x_[p], ey = y_[q] - y_[p];
      const double L = std::sqrt(ex * ex + ey * ey), L3 = L * L * L;
      const double exx = ex * ex / L3, exy = ex * ey / L3, eyy = ey * ey / L3;
      const double rise = 6 * (z_[q] - z_[p]);
      const int P = 2 * slot[p], R = 2 * slot[q];
      for (auto [a, b, w] : {std::tuple{P, P, 4.0}, {R, R, 4.0}, {P, R, 2.0}, {R, P, 2.0}}) {
        Q(a, b) += w * exx;
        Q(a, b + 1) += w * exy;
        Q(a + 1, b) += w * exy;
        Q(a + 1, b + 1) += w * eyy;
      }
      s(P) += rise * ex / L3;
      s(P + 1) += rise * ey / L3;
      s(R) += rise * ex / L3;
      s(R + 1) += rise * ey / L3;
    }
  const Eigen::Matrix<double, Eigen::Dynamic, 1, 0, 2 * MaxPoints, 1> g = Q.ldlt().solve(s);
  for (int v = 0; v < MaxPoints; ++v)
    if (slot[v] >= 0) {
      gx_[v] = g(2 * slot[v]);
      gy_[v] = g(2 * slot[v] + 1);
    }
}

// --- The Clough–Tocher pieces ----------------------------------------------------------

// The coefficients follow the construction of scipy's interpnd: cubic
// Bézier nets on the three sub-triangles around the centroid, with the
// derivative across each edge made linear along it in the direction towards
// the neighbour's centroid (affine invariant; the centroid direction of the
// triangle itself on the hull).
void TTriangulatedSurface::SetUpTriangle(Triangle& t) const {
  const int v0 = t.V[0], v1 = t.V[1], v2 = t.V[2];
  t.X2 = x_[v2];
  t.Y2 = y_[v2];
  const double ax = x_[v0] - t.X2, ay = y_[v0] - t.Y2, bx = x_[v1] - t.X2, by = y_[v1] - t.Y2;
  const double det = ax * by - bx * ay;
  t.B0x = by / det;
  t.B0y = -bx / det;
  t.B1x = -ay / det;
  t.B1y = ax / det;

  const double e12x = x_[v1] - x_[v0], e12y = y_[v1] - y_[v0];
  const double e23x = x_[v2] - x_[v1], e23y = y_[v2] - y_[v1];
  const double e31x = x_[v0] - x_[v2], e31y = y_[v0] - y_[v2];
  const double f1 = z_[v0], f2 = z_[v1], f3 = z_[v2];
  const double df12 = gx_[v0] * e12x + gy_[v0] * e12y;
  const double df21 = -(gx_[v1] * e12x + gy_[v1] * e12y);
  const double df23 = gx_[v1] * e23x + gy_[v1] * e23y;
  const double df32 = -(gx_[v2] * e23x + gy_[v2] * e23y);
  const double df31 = gx_[v2] * e31x + gy_[v2] * e31y;
  const double df13 = -(gx_[v0] * e31x + gy_[v0] * e31y);

  t.C3000 = f1;
  t.C2100 = (df12 + 3 * t.C3000) / 3;
  t.C2010 = (df13 + 3 * t.C3000) / 3;
  t.C0300 = f2;
  t.C1200 = (df21 + 3 * t.C0300) / 3;
  t.C0210 = (df23 + 3 * t.C0300) / 3;
  t.C0030 = f3;
  t.C1020 = (df31 + 3 * t.C0030) / 3;
  t.C0120 = (df32 + 3 * t.C0030) / 3;
  t.C2001 = (t.C2100 + t.C2010 + t.C3000) / 3;
  t.C0201 = (t.C1200 + t.C0300 + t.C0210) / 3;
  t.C0021 = (t.C1020 + t.C0120 + t.C0030) / 3;

  double g[3];
  for (int k = 0; k < 3; ++k) {
    const int across = t.Across[k];
    if (across < 0) {
      g[k] = -0.5;
      continue;
    }
    const Triangle& o = triangles_[across];
    const double cx = (x_[o.V[0]] + x_[o.V[1]] + x_[o.V[2]]) / 3;
    const double cy = (y_[o.V[0]] + y_[o.V[1]] + y_[o.V[2]]) / 3;
    const double c0 = t.B0x * (cx - t.X2) + t.B0y * (cy - t.Y2);
    const double c1 = t.B1x * (cx - t.X2) + t.B1y * (cy - t.Y2);
    const double c2 = 1 - c0 - c1;
    if (k == 0)
      g[k] = (2 * c2 + c1 - 1) / (2 - 3 * c2 - 3 * c1);
    else if (k == 1)
      g[k] = (2 * c0 + c2 - 1) / (2 - 3 * c0 - 3 * c2);
    else
      g[k] = (2 * c1 + c0 - 1) / (2 - 3 * c1 - 3 * c0);
  }
  t.C0111 = (g[0] * (-t.C0300 + 3 * t.C0210 - 3 * t.C0120 + t.C0030) +
             (-t.C0300 + 2 * t.C0210 - t.C0120 + t.C0021 + t.C0201)) /
            2;
  t.C1011 = (g[1] * (-t.C0030 + 3 * t.C1020 - 3 * t.C2010 + t.C3000) +
             (-t.C0030 + 2 * t.C1020 - t.C2010 + t.C2001 + t.C0021)) /
            2;
  t.C1101 = (g[2] * (-t.C3000 + 3 * t.C2100 - 3 * t.C1200 + t.C0300) +
             (-t.C3000 + 2 * t.C2100 - t.C1200 + t.C2001 + t.C0201)) /
            2;
  t.C1002 = (t.C1101 + t.C1011 + t.C2001) / 3;
  t.C0102 = (t.C1101 + t.C0111 + t.C0201) / 3;
  t.C0012 = (t.C1011 + t.C0111 + t.C0021) / 3;
  t.C0003 = (t.C1002 + t.C0102 + t.C0012) / 3;
}

// The piece of the sub-triangle the point lies in: with m the smallest
// barycentric coordinate, the coordinates b - m of the corners and 3m of the
// centroid (one of the four is zero).
template <typename S>
S TTriangulatedSurface::Evaluate(const Triangle& t, S b0, S b1) const {
  const S b2 = 1.0 - b0 - b1;
  S low = b0;
  if (b1 < low) low = b1;
  if (b2 < low) low = b2;
  const S a = b0 - low, b = b1 - low, c = b2 - low, d = 3.0 * low;
  const S aa = a * a, bb = b * b, cc = c * c, dd = d * d;
  return aa * a * S{t.C3000} + 3.0 * (aa * b) * S{t.C2100} + 3.0 * (aa * c) * S{t.C2010} +
         3.0 * (aa * d) * S{t.C2001} + 3.0 * (a * bb) * S{t.C1200} + 6.0 * (a * b * d) * S{t.C1101} +
         3.0 * (a * cc) * S{t.C1020} + 6.0 * (a * c * d) * S{t.C1011} + 3.0 * (a * dd) * S{t.C1002} +
         bb * b * S{t.C0300} + 3.0 * (bb * c) * S{t.C0210} + 3.0 * (bb * d) * S{t.C0201} +
         3.0 * (b * cc) * S{t.C0120} + 6.0 * (b * c * d) * S{t.C0111} + 3.0 * (b * dd) * S{t.C0102} +
         cc * c * S{t.C0030} +
         3.0 * (cc * d) * S{t.C0021} + 3.0 * (c * dd) * S{t.C0012} + dd * d * S{t.C0003};
}

double TTriangulatedSurface::Value(double X, double Y) const {
  if (!Valid()) return std::numeric_limits<double>::quiet_NaN();
  // The triangle the point lies deepest in: every coordinate >= 0 inside.
  int best = 0;
  double bestLow = -std::numeric_limits<double>::infinity(), b0 = 0, b1 = 0;
  for (int i = 0; i < triangleCount_; ++i) {
    const Triangle& t = triangles_[i];
    const double c0 = t.B0x * (X - t.X2) + t.B0y * (Y - t.Y2);
    const double c1 = t.B1x * (X - t.X2) + t.B1y * (Y - t.Y2);
    const double low = std::min({c0, c1, 1 - c0 - c1});
    if (low > bestLow) {
      best = i;
      bestLow = low;
      b0 = c0;
      b1 = c1;
      if (low >= 0) break;
    }
  }
  if (bestLow >= -1e-12) return Evaluate(triangles_[best], b0, b1);
  return Extend(X, Y);
}

// Outside the hull: the value and gradient at the nearest point of the hull,
// carried on linearly.
double TTriangulatedSurface::Extend(double X, double Y) const {
  double best = std::numeric_limits<double>::infinity(), px = X, py = Y;
  int triangle = 0;
  for (int e = 0; e < hullCount_; ++e) {
    const HullEdge& h = hull_[e];
    const double ex = x_[h.To] - x_[h.From], ey = y_[h.To] - y_[h.From];
    const double s = std::clamp(((X - x_[h.From]) * ex + (Y - y_[h.From]) * ey) / (ex * ex + ey * ey), 0.0, 1.0);
    const double fx = x_[h.From] + ex * s, fy = y_[h.From] + ey * s;
    const double d = (X - fx) * (X - fx) + (Y - fy) * (Y - fy);
    if (d < best) {
      best = d;
      px = fx;
      py = fy;
      triangle = h.Triangle;
    }
  }
  const Triangle& t = triangles_[triangle];
  const TDual b0{t.B0x * (px - t.X2) + t.B0y * (py - t.Y2), t.B0x, t.B0y};
  const TDual b1{t.B1x * (px - t.X2) + t.B1y * (py - t.Y2), t.B1x, t.B1y};
  const TDual at = Evaluate(t, b0, b1);
  return at.V + at.Dx * (X - px) + at.Dy * (Y - py);
}
