// The altitude estimate without square roots in its inner loop. With
// e = U - V, L² = |e|², dU² = |QU|², dV² = |QV|² and w = L² + dV² - dU², the
// signed distance of the foot from V is t = w / 2L, so the foot is
// F = V + e·s with s = t / L = w / 2L². The foot lies on the edge when
// 0 <= t <= L, that is 0 <= w <= 2L². The squared distance of Q from the
// edge's line is h² = c² / L² with the cross product c = e × (V - Q), the
// same as dV² - t² but without its cancellation when Q is near the line.
//
// Two decisions of the run would otherwise be taken by rounding noise, and
// the method produces both situations itself:
// - a foot exactly at an end of its edge. A corner held still by a degenerate
//   edge leaves its neighbour on the line the neighbour was just moved onto,
//   so in the next pass that foot falls exactly on the neighbour;
// - equal distances. The closing edge ends at the saved first corner, which
//   stays put while the first edge is degenerate, so the last corner walks
//   along one line and offers the same distance pass after pass.
// Taken literally in floating point, these decisions flip with the order of
// the operations (two transcriptions that differ only in (U - V)·t / L
// against (U - V)·(t / L) disagree by a degree or more on about one random
// area in fifty). Lengths within Tie (a millionth of a percent) of each other
// therefore count as equal: a foot that far past an end is on the edge, and a
// candidate must be closer by more than Tie to replace the estimate.
#include "diagram/altitude.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int Passes = 100;
constexpr int LastPassWithoutEarlyEnd = 10;
constexpr double DegenerateStep = 0.1;  // in X and in Y
constexpr double Near = 0.1;            // distance that ends the run after pass 10
constexpr double Near2 = Near * Near;
constexpr double FirstBest = 100.0;
constexpr double Tie = 1e-6;

// Square of the distance a candidate must get below to replace the estimate
// found at distance h; -1 when nothing can.
double BeatSquared(double h) { return h > Tie ? (h - Tie) * (h - Tie) : -1.0; }

}  // namespace

double EstimateAltitude(int n, const TAltitudePoints& points, double X, double Y) {
  n = std::clamp(n, 0, MaxAltitudePoints);

  // Working copy, one array per coordinate.
  double px[MaxAltitudePoints], py[MaxAltitudePoints], pz[MaxAltitudePoints];
  for (int i = 0; i < n; ++i) {
    px[i] = points[i].X;
    py[i] = points[i].Y;
    pz[i] = points[i].Z;
  }
  // The first corner as it stood before the latest pass that moved it: the
  // far end of the closing edge.
  double sx = 0, sy = 0, sz = 0;
  if (n > 0) {
    sx = px[0];
    sy = py[0];
    sz = pz[0];
  }

  double estimate = 0.0;
  double beat2 = BeatSquared(FirstBest);
  for (int pass = 0; pass < Passes; ++pass) {
    bool moved = false;
    for (int j = 0; j < n; ++j) {
      const double ux = px[j], uy = py[j], uz = pz[j];
      const bool closing = j == n - 1;
      const double vx = closing ? sx : px[j + 1];
      const double vy = closing ? sy : py[j + 1];
      const double vz = closing ? sz : pz[j + 1];
      const double ex = ux - vx, ey = uy - vy;
      if (std::fabs(ex) < DegenerateStep && std::fabs(ey) < DegenerateStep) continue;

      const double dux = ux - X, duy = uy - Y;
      const double dvx = vx - X, dvy = vy - Y;
      const double L2 = ex * ex + ey * ey;  // >= 0.01: the edge is not degenerate
      const double w = L2 + (dvx * dvx + dvy * dvy) - (dux * dux + duy * duy);
      const double past = w - 2 * L2;  // > 0: the foot lies beyond U
      const double reach2 = 4 * L2 * Tie * Tie;  // (2L·Tie)²: Tie as a change of w

      double fx, fy, fz;
      if ((w < 0 && w * w > reach2) || (past > 0 && past * past > reach2)) {
        fx = (ux + vx) / 2;  // the foot lies off the edge
        fy = (uy + vy) / 2;
        fz = (uz + vz) / 2;
      } else {
        const double s = w / (2 * L2);
        fx = vx + ex * s;
        fy = vy + ey * s;
        fz = vz + (uz - vz) * s;
      }
      if (j == 0) {
        sx = ux;
        sy = uy;
        sz = uz;
      }
      px[j] = fx;
      py[j] = fy;
      pz[j] = fz;
      moved = true;

      // The distance of the line, whether or not the corner went to its foot.
      const double c = ex * dvy - ey * dvx;
      const double h2 = c * c / L2;
      if (pass > LastPassWithoutEarlyEnd && h2 <= Near2) return fz;
      if (h2 < beat2) {
        estimate = fz;
        beat2 = BeatSquared(std::sqrt(h2));  // rare: only on a closer candidate
      }
    }
    // A pass in which every edge was degenerate changed nothing, so every
    // later pass would repeat it.
    if (!moved) break;
  }
  return estimate;
}
