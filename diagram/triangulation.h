#pragma once
// Liquidus temperature inside one phase area of the ternary diagram by a
// smooth surface that passes through every T-point: the T-points are joined
// into their Delaunay triangulation in the composition plane, and each
// triangle carries a Clough–Tocher interpolant (split at its centroid into
// three cubic pieces) that is C1 across every edge. The gradients at the
// T-points are Nielson's minimum-curvature estimate: the gradients for which
// the cubics along all edges of the triangulation bend least (the same
// surface as scipy's CloughTocher2DInterpolator, whose iteration converges to
// the solution this unit computes directly). A plane is reproduced exactly.
//
// Outside the hull of the T-points (an area's boundary curves bulge past the
// polygon of its T-points) the surface goes on linearly: the value at the
// nearest point P of the hull plus the surface's gradient at P times the way
// from P. That is continuous across the hull and follows the slope the area
// has there, so isotherms cross the bulge instead of ending at the hull.
//
// Plain numerics: no Qt, no allocation after construction, no exceptions.
#include <array>

class TTriangulatedSurface {
 public:
  static constexpr int MaxPoints = 12;
  static constexpr int MaxTriangles = 2 * MaxPoints - 5;

  // No surface: Value gives NaN.
  TTriangulatedSurface() = default;
  // The surface through the first n points (X[i], Y[i]) with values Z[i];
  // n above MaxPoints uses MaxPoints. A point at the place of an earlier one
  // is left out. Fewer than three places, or all on one line: no surface.
  TTriangulatedSurface(int n, const double* X, const double* Y, const double* Z);

  bool Valid() const { return triangleCount_ > 0; }
  // The surface's value at (X, Y); NaN when there is no surface.
  double Value(double X, double Y) const;

  // The triangulation, for inspection: triangle t has the point indices
  // (0..n-1 as given) Corner(t, 0..2), counter-clockwise.
  int TriangleCount() const { return triangleCount_; }
  int Corner(int Triangle, int k) const { return triangles_[Triangle].V[k]; }

 private:
  struct Triangle {
    std::array<int, 3> V{};         // point indices, counter-clockwise
    std::array<int, 3> Across{};    // the triangle across the edge opposite V[k]; -1 on the hull
    // The barycentric coordinates of (x, y) for V[0] and V[1]:
    // b0 = B0x·(x - X2) + B0y·(y - Y2), b1 likewise; b2 = 1 - b0 - b1.
    double X2 = 0, Y2 = 0, B0x = 0, B0y = 0, B1x = 0, B1y = 0;
    // The Bernstein–Bézier coefficients of the three cubic pieces.
    double C3000 = 0, C0300 = 0, C0030 = 0, C2100 = 0, C2010 = 0, C1200 = 0, C0210 = 0, C1020 = 0,
           C0120 = 0, C2001 = 0, C0201 = 0, C0021 = 0, C1101 = 0, C1011 = 0, C0111 = 0, C1002 = 0,
           C0102 = 0, C0012 = 0, C0003 = 0;
  };
  struct HullEdge {
    int From = 0, To = 0;  // point indices; the area lies to the left
    int Triangle = 0;
  };

  void Triangulate(int n);
  void EstimateGradients();
  void SetUpTriangle(Triangle& t) const;
  template <typename S>
  S Evaluate(const Triangle& t, S b0, S b1) const;
  double Extend(double X, double Y) const;

  std::array<double, MaxPoints> x_{}, y_{}, z_{}, gx_{}, gy_{};
  std::array<Triangle, MaxTriangles> triangles_{};
  int triangleCount_ = 0;
  std::array<HullEdge, MaxPoints> hull_{};
  int hullCount_ = 0;
};
