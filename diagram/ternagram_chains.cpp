// Isotherm chains: the points the grid scan found near one temperature, put
// into path order by a nearest-neighbour walk, then smoothed and thinned.
#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "diagram/ternagram.h"

using namespace ternary;

namespace {

// A step of the walk succeeds when its nearest point is 0.25 to 20 away.
constexpr double ShortestStep2 = 0.25 * 0.25;
constexpr double LongestStep = 20.0;
constexpr double LongestStep2 = LongestStep * LongestStep;
// Only points at most this far away are candidates at all.
constexpr double FarthestCandidate2 = 100.0 * 100.0;

bool StepFails(int at, double best) { return at < 0 || best < ShortestStep2 || best > LongestStep2; }

// The walk as it reads: each step compares its point with every point ahead
// of it and brings the nearest one next to it; on equal distances the later
// point wins. A step with no acceptable nearest point fails and the walk
// goes on from the point that happens to follow.
int OrderChainByComparison(TIsoPoint* P, int n) {
  int failures = 0;
  for (int s = 0; s + 1 < n; ++s) {
    double best = FarthestCandidate2;
    int at = -1;
    for (int t = s + 1; t < n; ++t) {
      const double d = Distance2(P[s], P[t]);
      if (d <= best) {
        best = d;
        at = t;
      }
    }
    if (StepFails(at, best))
      ++failures;
    else
      std::swap(P[s + 1], P[at]);
  }
  return failures;
}

// The same walk with the points ahead kept in a grid of square cells. A
// step can only succeed on a point at most 20 away, and which point it finds
// matters only then, so a step searches the rings of cells around its point
// outwards until the next ring lies farther than the nearest point found or
// than 20. A scan's chain of thousands of points is ordered in a few
// milliseconds instead of a quarter of a second.
class TChainGrid {
 public:
  TChainGrid(const TIsoPoint* P, int n) : points_(P, P + n), pos_(std::size_t(n)), id_(std::size_t(n)) {
    float x0 = P[0].X, x1 = x0, y0 = P[0].Y, y1 = y0;
    for (int i = 0; i < n; ++i) {
      x0 = std::min(x0, P[i].X);
      x1 = std::max(x1, P[i].X);
      y0 = std::min(y0, P[i].Y);
      y1 = std::max(y1, P[i].Y);
    }
    x0_ = x0;
    y0_ = y0;
    // Cells of 1 % hold a few points of a chain found on a fine grid; wide
    // spreads get larger cells so that the grid stays small.
    cell_ = std::max({1.0, (double(x1) - x0) / MaxCells, (double(y1) - y0) / MaxCells});
    cols_ = CellOf(x1, x0_) + 1;
    rows_ = CellOf(y1, y0_) + 1;

    // Counting sort of the points by cell; each cell's live points lead its
    // slice, so that removing one swaps it with the cell's last live point.
    start_.assign(std::size_t(cols_) * rows_ + 1, 0);
    for (int i = 0; i < n; ++i) ++start_[std::size_t(CellIndex(i)) + 1];
    for (std::size_t c = 1; c < start_.size(); ++c) start_[c] += start_[c - 1];
    live_.assign(start_.begin(), start_.end() - 1);
    members_.resize(std::size_t(n));
    slot_.resize(std::size_t(n));
    for (int i = 0; i < n; ++i) {
      const int c = CellIndex(i);
      slot_[std::size_t(i)] = live_[std::size_t(c)];
      members_[std::size_t(live_[std::size_t(c)]++)] = i;
      pos_[std::size_t(i)] = i;
      id_[std::size_t(i)] = i;
    }
  }

  // The walk; P is the array the grid was made from and is put in order.
  int Walk(TIsoPoint* P) {
    const int n = int(points_.size());
    int failures = 0;
    Remove(id_[0]);
    for (int s = 0; s + 1 < n; ++s) {
      const auto [at, best] = Nearest(points_[std::size_t(id_[std::size_t(s)])]);
      if (StepFails(at, best)) {
        ++failures;
      } else {
        std::swap(P[s + 1], P[at]);
        const int a = id_[std::size_t(s + 1)], b = id_[std::size_t(at)];
        std::swap(id_[std::size_t(s + 1)], id_[std::size_t(at)]);
        pos_[std::size_t(a)] = at;
        pos_[std::size_t(b)] = s + 1;
      }
      Remove(id_[std::size_t(s + 1)]);
    }
    return failures;
  }

 private:
  static constexpr int MaxCells = 256;

  int CellOf(float v, double origin) const {
    return std::clamp(int((double(v) - origin) / cell_), 0, MaxCells);
  }
  int CellIndex(int i) const {
    return CellOf(points_[std::size_t(i)].Y, y0_) * cols_ + CellOf(points_[std::size_t(i)].X, x0_);
  }

  void Remove(int i) {
    const int c = CellIndex(i);
    const int last = --live_[std::size_t(c)];
    const int moved = members_[std::size_t(last)];
    const int at = slot_[std::size_t(i)];
    members_[std::size_t(at)] = moved;
    slot_[std::size_t(moved)] = at;
    members_[std::size_t(last)] = i;
    slot_[std::size_t(i)] = last;
  }

  // The position of the nearest point ahead (the later one on equal
  // distances) and its squared distance, looked for within 20 only: -1 and
  // the first candidate bound when there is none.
  std::pair<int, double> Nearest(const TIsoPoint& q) const {
    double best = FarthestCandidate2;
    int at = -1;
    const int cx = CellOf(q.X, x0_), cy = CellOf(q.Y, y0_);
    for (int r = 0;; ++r) {
      // Every point of ring r lies at least r - 1 cells away. The margin
      // keeps rounding from cutting off a point at exactly the best distance.
      const double reach = (r - 1) * cell_;
      if (r > 0 && reach > std::sqrt(std::min(best, LongestStep2)) + 1e-6) break;
      if (cx - r < 0 && cy - r < 0 && cx + r >= cols_ && cy + r >= rows_) break;
      const auto visit = [&](int x, int y) {
        if (x < 0 || x >= cols_ || y < 0 || y >= rows_) return;
        const int c = y * cols_ + x;
        for (int k = start_[std::size_t(c)]; k < live_[std::size_t(c)]; ++k) {
          const int i = members_[std::size_t(k)];
          const double d = Distance2(q, points_[std::size_t(i)]);
          const int p = pos_[std::size_t(i)];
          if (d < best || (d == best && p > at)) {
            best = d;
            at = p;
          }
        }
      };
      if (r == 0) {
        visit(cx, cy);
        continue;
      }
      for (int x = cx - r; x <= cx + r; ++x) {
        visit(x, cy - r);
        visit(x, cy + r);
      }
      for (int y = cy - r + 1; y < cy + r; ++y) {
        visit(cx - r, y);
        visit(cx + r, y);
      }
    }
    return {at, best};
  }

  std::vector<TIsoPoint> points_;  // by id: the points as they were given
  std::vector<int> pos_;           // id -> position in the array
  std::vector<int> id_;            // position -> id
  std::vector<int> start_;         // cell -> first slot of its slice
  std::vector<int> live_;          // cell -> end of its live points
  std::vector<int> members_;       // slot -> id
  std::vector<int> slot_;          // id -> slot
  double x0_ = 0, y0_ = 0, cell_ = 1;
  int cols_ = 1, rows_ = 1;
};

}  // namespace

int ternary::OrderChain(TIsoPoint* P, int n) {
  // Short chains and odd values are walked by plain comparison.
  constexpr int GridFrom = 64;
  bool finite = true;
  for (int i = 0; i < n && finite; ++i) finite = std::isfinite(P[i].X) && std::isfinite(P[i].Y);
  if (n < GridFrom || !finite) return OrderChainByComparison(P, n);
  return TChainGrid(P, n).Walk(P);
}

void ternary::SmoothChain(TIsoPoint* P, int n) {
  if (n < 3) return;
  TIsoPoint before = P[0];  // the old value of the point left of c
  for (int c = 1; c + 1 < n; ++c) {
    const TIsoPoint old = P[c];
    const double mx = (double(before.X) + P[c + 1].X) / 2, my = (double(before.Y) + P[c + 1].Y) / 2;
    P[c] = TIsoPoint{float((old.X + mx) / 2), float((old.Y + my) / 2)};
    before = old;
  }
}

int ternary::SimplifyChain(TIsoPoint* P, int n) {
  if (n < 3) return n;
  const int h = (n - 1) / 2;
  const TIsoPoint last = P[n - 1], beforeLast = P[n - 2];
  // Every write goes below every old point still to be read.
  for (int q = 1; q <= h; ++q) {
    const TIsoPoint a = P[2 * q - 2], b = P[2 * q - 1], c = P[2 * q];
    P[q] = TIsoPoint{float((double(b.X) + (double(a.X) + c.X) / 2) / 2),
                     float((double(b.Y) + (double(a.Y) + c.Y) / 2) / 2)};
  }
  if (n % 2 == 1) {
    P[h + 1] = last;
    return h + 2;
  }
  P[h + 1] = beforeLast;
  P[h + 2] = last;
  return h + 3;
}

int ternary::InStretches(TIsoPoint* P, int n, double Join, int (*Pass)(TIsoPoint*, int)) {
  // Breaks are found on the points not yet worked on: each finished stretch
  // is written at or before the place it came from.
  const double join2 = Join * Join;
  int out = 0;
  for (int start = 0, i = 1; i <= n; ++i)
    if (i == n || Distance2(P[i - 1], P[i]) > join2) {
      std::copy(P + start, P + i, P + out);
      out += Pass(P + out, i - start);
      start = i;
    }
  return out;
}
