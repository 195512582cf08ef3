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

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define PD_ALTITUDE_AVX512 1
#include <immintrin.h>
#endif

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

// --- Many queries of one area side by side ----------------------------------------

#ifdef PD_ALTITUDE_AVX512
namespace {

constexpr int Lanes = 8;

// The runs of the lanes in Ended are over with the values of Result.
__attribute__((target("avx512f"))) void EndLanes(__mmask8 Ended, __m512d Result, const int* Query,
                                                  double* Out, __mmask8& Live, __mmask8& Idle) {
  alignas(64) double lane[Lanes];
  _mm512_store_pd(lane, Result);
  for (int l = 0; l < Lanes; ++l)
    if (Ended & (1u << l)) Out[Query[l]] = lane[l];
  Live &= __mmask8(~Ended);
  Idle |= Ended;
}

// The run above with one query per lane of eight. Each lane carries its own
// polygon, saved first corner, estimate, bound and pass number; masks stand
// for the branches, and the operations are the same ones in the same order,
// so every lane's numbers are those of the run above (the file is built
// without contracting a multiply and an add into one rounding). A lane whose
// run ends takes the next query at the start of the next pass.
__attribute__((target("avx512f"))) void EstimateAltitudesAvx512(int n, const TAltitudePoints& points,
                                                                 int Count, const double* X,
                                                                 const double* Y, double* Out) {
  const __m512d degenerate = _mm512_set1_pd(DegenerateStep), near2 = _mm512_set1_pd(Near2),
                tie = _mm512_set1_pd(Tie), zero = _mm512_setzero_pd(), one = _mm512_set1_pd(1.0),
                two = _mm512_set1_pd(2.0), four = _mm512_set1_pd(4.0), half = _mm512_set1_pd(0.5),
                nothing = _mm512_set1_pd(-1.0), passes = _mm512_set1_pd(Passes),
                lateAfter = _mm512_set1_pd(LastPassWithoutEarlyEnd),
                firstBeat = _mm512_set1_pd(BeatSquared(FirstBest));

  __m512d px[MaxAltitudePoints], py[MaxAltitudePoints], pz[MaxAltitudePoints];
  __m512d sx = zero, sy = zero, sz = zero, qx = zero, qy = zero, estimate = zero, beat2 = zero, pass = zero;
  int query[Lanes];
  __mmask8 live = 0, idle = 0xFF;  // running lanes; lanes free for a new query
  int next = 0;

  for (int k = 0; k < n; ++k) px[k] = py[k] = pz[k] = zero;
  while (true) {
    // Free lanes take the next queries and start from the area's points.
    __mmask8 fresh = 0;
    alignas(64) double fx[Lanes] = {}, fy[Lanes] = {};
    for (int l = 0; l < Lanes && next < Count; ++l)
      if (idle & (1u << l)) {
        query[l] = next;
        fx[l] = X[next];
        fy[l] = Y[next];
        ++next;
        fresh |= __mmask8(1u << l);
      }
    if (fresh) {
      qx = _mm512_mask_mov_pd(qx, fresh, _mm512_load_pd(fx));
      qy = _mm512_mask_mov_pd(qy, fresh, _mm512_load_pd(fy));
      for (int k = 0; k < n; ++k) {
        px[k] = _mm512_mask_mov_pd(px[k], fresh, _mm512_set1_pd(points[k].X));
        py[k] = _mm512_mask_mov_pd(py[k], fresh, _mm512_set1_pd(points[k].Y));
        pz[k] = _mm512_mask_mov_pd(pz[k], fresh, _mm512_set1_pd(points[k].Z));
      }
      sx = _mm512_mask_mov_pd(sx, fresh, px[0]);
      sy = _mm512_mask_mov_pd(sy, fresh, py[0]);
      sz = _mm512_mask_mov_pd(sz, fresh, pz[0]);
      estimate = _mm512_mask_mov_pd(estimate, fresh, zero);
      beat2 = _mm512_mask_mov_pd(beat2, fresh, firstBeat);
      pass = _mm512_mask_mov_pd(pass, fresh, zero);
      live |= fresh;
      idle &= __mmask8(~fresh);
    }
    if (!live) break;

    // One pass over the corners in every running lane.
    __mmask8 moved = 0;
    const __mmask8 late = _mm512_cmp_pd_mask(pass, lateAfter, _CMP_GT_OQ);
    for (int j = 0; j < n; ++j) {
      const __m512d ux = px[j], uy = py[j], uz = pz[j];
      const bool closing = j == n - 1;
      const __m512d vx = closing ? sx : px[j + 1], vy = closing ? sy : py[j + 1],
                    vz = closing ? sz : pz[j + 1];
      const __m512d ex = _mm512_sub_pd(ux, vx), ey = _mm512_sub_pd(uy, vy);
      const __mmask8 act = _mm512_mask_cmp_pd_mask(live, _mm512_abs_pd(ex), degenerate, _CMP_NLT_UQ) |
                           _mm512_mask_cmp_pd_mask(live, _mm512_abs_pd(ey), degenerate, _CMP_NLT_UQ);
      if (!act) continue;

      const __m512d dux = _mm512_sub_pd(ux, qx), duy = _mm512_sub_pd(uy, qy);
      const __m512d dvx = _mm512_sub_pd(vx, qx), dvy = _mm512_sub_pd(vy, qy);
      // Lanes that leave this edge alone get a harmless length.
      const __m512d L2 =
          _mm512_mask_blend_pd(act, one, _mm512_add_pd(_mm512_mul_pd(ex, ex), _mm512_mul_pd(ey, ey)));
      const __m512d w =
          _mm512_sub_pd(_mm512_add_pd(L2, _mm512_add_pd(_mm512_mul_pd(dvx, dvx), _mm512_mul_pd(dvy, dvy))),
                        _mm512_add_pd(_mm512_mul_pd(dux, dux), _mm512_mul_pd(duy, duy)));
      const __m512d twoL2 = _mm512_mul_pd(two, L2);
      const __m512d past = _mm512_sub_pd(w, twoL2);
      const __m512d reach2 = _mm512_mul_pd(_mm512_mul_pd(_mm512_mul_pd(four, L2), tie), tie);
      const __mmask8 off =
          _mm512_mask_cmp_pd_mask(_mm512_cmp_pd_mask(w, zero, _CMP_LT_OQ), _mm512_mul_pd(w, w), reach2,
                                  _CMP_GT_OQ) |
          _mm512_mask_cmp_pd_mask(_mm512_cmp_pd_mask(past, zero, _CMP_GT_OQ), _mm512_mul_pd(past, past),
                                  reach2, _CMP_GT_OQ);
      const __m512d s = _mm512_div_pd(w, twoL2);
      __m512d fx = _mm512_add_pd(vx, _mm512_mul_pd(ex, s));
      __m512d fy = _mm512_add_pd(vy, _mm512_mul_pd(ey, s));
      __m512d fz = _mm512_add_pd(vz, _mm512_mul_pd(_mm512_sub_pd(uz, vz), s));
      if (off) {
        fx = _mm512_mask_mul_pd(fx, off, _mm512_add_pd(ux, vx), half);
        fy = _mm512_mask_mul_pd(fy, off, _mm512_add_pd(uy, vy), half);
        fz = _mm512_mask_mul_pd(fz, off, _mm512_add_pd(uz, vz), half);
      }
      if (j == 0) {
        sx = _mm512_mask_mov_pd(sx, act, ux);
        sy = _mm512_mask_mov_pd(sy, act, uy);
        sz = _mm512_mask_mov_pd(sz, act, uz);
      }
      px[j] = _mm512_mask_mov_pd(ux, act, fx);
      py[j] = _mm512_mask_mov_pd(uy, act, fy);
      pz[j] = _mm512_mask_mov_pd(uz, act, fz);
      moved |= act;

      const __m512d c = _mm512_sub_pd(_mm512_mul_pd(ex, dvy), _mm512_mul_pd(ey, dvx));
      const __m512d h2 = _mm512_div_pd(_mm512_mul_pd(c, c), L2);
      const __mmask8 ends = _mm512_mask_cmp_pd_mask(act & late, h2, near2, _CMP_LE_OQ);
      const __mmask8 better = _mm512_mask_cmp_pd_mask(act & __mmask8(~ends), h2, beat2, _CMP_LT_OQ);
      if (better) {
        const __m512d h = _mm512_mask_sqrt_pd(zero, better, h2), margin = _mm512_sub_pd(h, tie);
        const __m512d beat =
            _mm512_mask_blend_pd(_mm512_cmp_pd_mask(h, tie, _CMP_GT_OQ), nothing, _mm512_mul_pd(margin, margin));
        estimate = _mm512_mask_mov_pd(estimate, better, fz);
        beat2 = _mm512_mask_mov_pd(beat2, better, beat);
      }
      if (ends) EndLanes(ends, fz, query, Out, live, idle);
    }

    // Runs that moved nothing, or ran their last pass, end with their estimate.
    pass = _mm512_add_pd(pass, one);
    const __mmask8 finished = live & __mmask8(~moved | _mm512_cmp_pd_mask(pass, passes, _CMP_EQ_OQ));
    if (finished) EndLanes(finished, estimate, query, Out, live, idle);
  }
}

}  // namespace
#endif

void EstimateAltitudes(int n, const TAltitudePoints& points, int Count, const double* X, const double* Y,
                       double* Out) {
  n = std::clamp(n, 0, MaxAltitudePoints);
#ifdef PD_ALTITUDE_AVX512
  static const bool wide = [] {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx512f") != 0;
  }();
  if (wide && n > 0 && Count > 1) return EstimateAltitudesAvx512(n, points, Count, X, Y, Out);
#endif
  for (int i = 0; i < Count; ++i) Out[i] = EstimateAltitude(n, points, X[i], Y[i]);
}
