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

// The vector forms are built with GCC's target pragmas, on x86-64 only.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
#define PD_ALTITUDE_LANES 1
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
      const bool off = (w < 0 && w * w > reach2) || (past > 0 && past * past > reach2);
      if (off) {
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

      // The candidate's own distance: from the edge's line when the corner went
      // to its foot, from the midpoint when it went there instead (a line that
      // passes close by must not lend its distance to a midpoint far away).
      double h2;
      if (off) {
        const double qfx = fx - X, qfy = fy - Y;
        h2 = qfx * qfx + qfy * qfy;
      } else {
        const double c = ex * dvy - ey * dvx;
        h2 = c * c / L2;
      }
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

#ifdef PD_ALTITUDE_LANES
namespace {

// Eight queries at a time in 512-bit vectors; masks are bits.
#pragma GCC push_options
#pragma GCC target("avx512f")
namespace wide512 {
using Vec = __m512d;
using Mask = __mmask8;
constexpr int Lanes = 8;
inline Vec Set(double v) { return _mm512_set1_pd(v); }
inline Vec Zero() { return _mm512_setzero_pd(); }
inline Vec Load(const double* p) { return _mm512_load_pd(p); }
inline void Store(double* p, Vec v) { _mm512_store_pd(p, v); }
inline Vec Add(Vec a, Vec b) { return _mm512_add_pd(a, b); }
inline Vec Sub(Vec a, Vec b) { return _mm512_sub_pd(a, b); }
inline Vec Mul(Vec a, Vec b) { return _mm512_mul_pd(a, b); }
inline Vec Div(Vec a, Vec b) { return _mm512_div_pd(a, b); }
inline Vec Sqrt(Vec a) { return _mm512_maskz_sqrt_pd(0xFF, a); }
inline Vec Abs(Vec a) { return _mm512_abs_pd(a); }
inline Mask Less(Vec a, Vec b) { return _mm512_cmp_pd_mask(a, b, _CMP_LT_OQ); }
inline Mask Greater(Vec a, Vec b) { return _mm512_cmp_pd_mask(a, b, _CMP_GT_OQ); }
inline Mask LessEq(Vec a, Vec b) { return _mm512_cmp_pd_mask(a, b, _CMP_LE_OQ); }
inline Mask NotLess(Vec a, Vec b) { return _mm512_cmp_pd_mask(a, b, _CMP_NLT_UQ); }
inline Mask Equal(Vec a, Vec b) { return _mm512_cmp_pd_mask(a, b, _CMP_EQ_OQ); }
inline Mask And(Mask a, Mask b) { return Mask(a & b); }
inline Mask Or(Mask a, Mask b) { return Mask(a | b); }
inline Mask AndNot(Mask a, Mask b) { return Mask(~a & b); }  // b without a
inline Vec Select(Mask m, Vec a, Vec b) { return _mm512_mask_blend_pd(m, b, a); }  // a where m
inline unsigned Bits(Mask m) { return m; }
inline Mask FromBits(unsigned b) { return Mask(b); }
#include "diagram/altitude_lanes.h"
}  // namespace wide512
#pragma GCC pop_options

// Four queries at a time in 256-bit vectors; masks are lanes of all ones.
#pragma GCC push_options
#pragma GCC target("avx2")
namespace wide256 {
using Vec = __m256d;
using Mask = __m256d;
constexpr int Lanes = 4;
inline Vec Set(double v) { return _mm256_set1_pd(v); }
inline Vec Zero() { return _mm256_setzero_pd(); }
inline Vec Load(const double* p) { return _mm256_load_pd(p); }
inline void Store(double* p, Vec v) { _mm256_store_pd(p, v); }
inline Vec Add(Vec a, Vec b) { return _mm256_add_pd(a, b); }
inline Vec Sub(Vec a, Vec b) { return _mm256_sub_pd(a, b); }
inline Vec Mul(Vec a, Vec b) { return _mm256_mul_pd(a, b); }
inline Vec Div(Vec a, Vec b) { return _mm256_div_pd(a, b); }
inline Vec Sqrt(Vec a) { return _mm256_sqrt_pd(a); }
inline Vec Abs(Vec a) { return _mm256_andnot_pd(_mm256_set1_pd(-0.0), a); }
inline Mask Less(Vec a, Vec b) { return _mm256_cmp_pd(a, b, _CMP_LT_OQ); }
inline Mask Greater(Vec a, Vec b) { return _mm256_cmp_pd(a, b, _CMP_GT_OQ); }
inline Mask LessEq(Vec a, Vec b) { return _mm256_cmp_pd(a, b, _CMP_LE_OQ); }
inline Mask NotLess(Vec a, Vec b) { return _mm256_cmp_pd(a, b, _CMP_NLT_UQ); }
inline Mask Equal(Vec a, Vec b) { return _mm256_cmp_pd(a, b, _CMP_EQ_OQ); }
inline Mask And(Mask a, Mask b) { return _mm256_and_pd(a, b); }
inline Mask Or(Mask a, Mask b) { return _mm256_or_pd(a, b); }
inline Mask AndNot(Mask a, Mask b) { return _mm256_andnot_pd(a, b); }  // b without a
inline Vec Select(Mask m, Vec a, Vec b) { return _mm256_blendv_pd(b, a, m); }  // a where m
inline unsigned Bits(Mask m) { return unsigned(_mm256_movemask_pd(m)); }
inline Mask FromBits(unsigned b) {
  const __m256i lane = _mm256_setr_epi64x(1, 2, 4, 8);
  return _mm256_castsi256_pd(
      _mm256_cmpeq_epi64(_mm256_and_si256(_mm256_set1_epi64x(b), lane), lane));
}
#include "diagram/altitude_lanes.h"
}  // namespace wide256
#pragma GCC pop_options

int WidestLanes() {
  __builtin_cpu_init();
  if (__builtin_cpu_supports("avx512f")) return 8;
  if (__builtin_cpu_supports("avx2")) return 4;
  return 1;
}

}  // namespace
#endif

int AltitudeLanes() {
#ifdef PD_ALTITUDE_LANES
  static const int lanes = WidestLanes();
  return lanes;
#else
  return 1;
#endif
}

void EstimateAltitudesUpTo(int Lanes, int n, const TAltitudePoints& points, int Count, const double* X,
                           const double* Y, double* Out) {
  n = std::clamp(n, 0, MaxAltitudePoints);
  Lanes = std::min(Lanes, AltitudeLanes());
#ifdef PD_ALTITUDE_LANES
  if (n > 0 && Count > 1 && Lanes >= 8) return wide512::EstimateInLanes(n, points, Count, X, Y, Out);
  if (n > 0 && Count > 1 && Lanes >= 4) return wide256::EstimateInLanes(n, points, Count, X, Y, Out);
#endif
  for (int i = 0; i < Count; ++i) Out[i] = EstimateAltitude(n, points, X[i], Y[i]);
}

void EstimateAltitudes(int n, const TAltitudePoints& points, int Count, const double* X, const double* Y,
                       double* Out) {
  EstimateAltitudesUpTo(AltitudeLanes(), n, points, Count, X, Y, Out);
}
