#pragma once
// Liquidus temperature inside one phase area of the ternary diagram by the
// altitude method: the area's T-points are the corners of a polygon in the
// composition plane that is contracted, pass after pass, toward the query
// composition. Each corner slides onto its outgoing edge at the foot of the
// perpendicular from the query point, carrying the temperature along the edge
// linearly; the temperature of the foot point closest to the query point is
// the estimate. Plain numerics: no Qt, no allocation, no exceptions.
#include <array>

// One corner: X = share of A, Y = share of B (percent), Z = temperature (°C).
struct TAltitudePoint {
  double X = 0;
  double Y = 0;
  double Z = 0;
};

constexpr int MaxAltitudePoints = 12;
using TAltitudePoints = std::array<TAltitudePoint, MaxAltitudePoints>;

// The estimated temperature at (X, Y) from the first n points (n is taken as
// 0..12: a larger count uses the 12 slots, a negative one none). Returns 0.0
// when there is nothing to estimate from (no points, only degenerate edges,
// or no edge line within 100 of the query). The points are not changed.
//
// The run: up to 100 passes over the corners j = 0..n-1. The edge of corner j
// runs to corner j+1, the last one back to the first corner as it stood before
// the current pass moved it. An edge shorter than 0.1 in both X and Y is left
// alone. Otherwise the corner moves to the foot of the perpendicular from the
// query point on the edge's line, or to the edge's midpoint when the foot lies
// outside the edge's X or Y range. The new corner is a candidate at the
// distance h from the query point: the distance of the edge's line for a foot,
// the distance of the midpoint itself for a midpoint. An h <= 0.1 ends the run
// from pass 11 on (that candidate's temperature is returned); otherwise a
// smaller h than all before it makes its candidate's temperature the
// estimate, the earlier candidate staying on equal distances. Lengths within a millionth of a percent count as equal here, so
// that rounding cannot decide: a foot that close past an end of its edge is on
// the edge, and a candidate must be closer by more than that.
double EstimateAltitude(int n, const TAltitudePoints& points, double X, double Y);

// The estimates for Count query points of one area at once:
// Out[i] = EstimateAltitude(n, points, X[i], Y[i]), bit for bit. Where the
// processor has vector units, several queries run side by side: eight with
// 512-bit vectors (AVX-512), four with 256-bit ones (AVX2).
void EstimateAltitudes(int n, const TAltitudePoints& points, int Count, const double* X, const double* Y,
                       double* Out);
// How many queries this processor runs side by side: 8, 4 or 1.
int AltitudeLanes();
// EstimateAltitudes with at most Lanes queries side by side (a width the
// processor lacks is not used), for comparing the widths.
void EstimateAltitudesUpTo(int Lanes, int n, const TAltitudePoints& points, int Count, const double* X,
                           const double* Y, double* Out);
