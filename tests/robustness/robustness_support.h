#pragma once
// What the randomized tests of the diagram controls share: a seeded random
// source whose every iteration can be replayed on its own, the run's size
// from the environment, and the invariants checked on a painted picture.
#include <QByteArray>
#include <QtGlobal>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <deque>
#include <limits>
#include <string>
#include <utility>

#include "diagram/binagram.h"

namespace robustness {

// --- Seeded random source ----------------------------------------------------

// splitmix64: small, fast and the same on every platform, so a seed replays
// the same iteration anywhere (the standard distributions are not portable).
class TRandom {
 public:
  explicit TRandom(std::uint64_t seed) : state_(seed) {}
  std::uint64_t Next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  // Uniform between lo and hi, both included (in either order).
  int Int(int lo, int hi) {
    if (hi < lo) std::swap(lo, hi);
    const std::uint64_t span = std::uint64_t(std::int64_t(hi) - lo) + 1;
    return int(std::int64_t(lo) + std::int64_t(Next() % span));
  }
  double Real(double lo, double hi) { return lo + (hi - lo) * double(Next() >> 11) * 0x1.0p-53; }
  bool Chance(double p) { return Real(0, 1) < p; }
  template <class T, std::size_t N>
  const T& Pick(const T (&items)[N]) {
    return items[Next() % N];
  }

  // A number a host might hand over by mistake or on purpose: mostly inside
  // lo..hi, sometimes on its ends, just outside, huge, infinite or NaN.
  double Value(double lo, double hi) {
    switch (Int(0, 19)) {
      case 0:
        return std::numeric_limits<double>::quiet_NaN();
      case 1:
        return Chance(0.5) ? std::numeric_limits<double>::infinity()
                           : -std::numeric_limits<double>::infinity();
      case 2:
        return Chance(0.5) ? 1e300 : -1e300;
      case 3:
        return Chance(0.5) ? 3e38 : -3e9;
      case 4:
        return Chance(0.5) ? lo : hi;
      case 5:
        return Chance(0.5) ? lo - Real(0, 10) : hi + Real(0, 10);
      case 6:
        return -1;
      default:
        return Real(lo, hi);
    }
  }

 private:
  std::uint64_t state_;
};

// The seed of iteration i of a run: every iteration has its own stream, so
// PD_ROBUSTNESS_FIRST=i PD_ROBUSTNESS_ITERATIONS=1 replays it alone.
// The last steps of an iteration, told when a check fails; printed as they
// are taken when the run is verbose.
class TStepLog {
 public:
  explicit TStepLog(bool Verbose) : verbose_(Verbose) {}
  void Add(int Step, std::string Line) {
    Line = "  step " + std::to_string(Step) + ": " + Line;
    if (verbose_) std::printf("%s\n", Line.c_str());
    lines_.push_back(std::move(Line));
    if (lines_.size() > 12) lines_.pop_front();
  }
  std::string Text() const {
    std::string s;
    for (const std::string& l : lines_) s += l + "\n";
    return s;
  }

 private:
  bool verbose_;
  std::deque<std::string> lines_;
};

inline std::uint64_t IterationSeed(std::uint64_t runSeed, int i) {
  TRandom r(runSeed ^ (0xD1B54A32D192ED03ull * std::uint64_t(i + 1)));
  return r.Next();
}

inline std::uint64_t EnvNumber(const char* name, std::uint64_t fallback) {
  const QByteArray v = qgetenv(name);
  if (v.isEmpty()) return fallback;
  bool ok = false;
  const qulonglong n = v.toULongLong(&ok, 0);
  return ok ? n : fallback;
}

// --- Invariants on a painted picture -----------------------------------------

// Index of the area whose fill colour c is, or -1.
inline int AreaIndexOfColor(TColor c) {
  for (int i = 0; i < MaxAreas; ++i)
    if (c == NearestColor(AreaColors[i])) return i;
  return -1;
}

// A pixel of an area colour outside the plot rectangle (its outline
// included) that is not in the legend's swatch of that colour.
struct TStrayPixels {
  long long Count = 0;
  TPoint First{-1, -1};
  TColor Color = 0;
  std::string Describe() const {
    return std::to_string(Count) + " area-coloured pixels outside the plot, the first at (" +
           std::to_string(First.X) + ", " + std::to_string(First.Y) + ")";
  }
};

// Scans the picture on c painted with g's layout. Legend swatches are where
// the legend draws them: column R + 4w..R + 6w, row i from
// y0 + round(h(i - 0.45)) to y0 + round(h(i + 0.45)), in the panel font.
inline TStrayPixels StrayAreaPixels(const TCanvas& c, const TBinagram& g) {
  const TBinaLayout& l = g.Layout();
  const long long left = l.PlotLeft, top = l.PlotTop;
  const long long right = left + l.PlotWidth + 1, bottom = top + l.PlotHeight + 1;
  int w = 0, h = 0;
  {
    TBitmap probe(1, 1);
    probe.Canvas()->Font = TFont{QStringLiteral("Arial"), g.PanelFontSize(), clBlack, 0};
    w = probe.Canvas()->TextWidth(QStringLiteral("H"));
    h = probe.Canvas()->TextHeight(QStringLiteral("H"));
  }
  const long long R = left + l.PlotWidth, y0 = top - 2LL * h;
  const int legendAreas = g.Legend() ? std::clamp(g.Areas(), 0, MaxAreas) : 0;
  auto inSwatch = [&](long long x, long long y, int area) {
    if (area >= legendAreas) return false;
    const int i = area + 1;
    return R + 4LL * w <= x && x < R + 6LL * w && y0 + RoundPixel(h * (i - 0.45)) <= y &&
           y < y0 + RoundPixel(h * (i + 0.45));
  };
  TStrayPixels s;
  TColor lastColor = clBlack;
  int lastArea = -1;
  const QImage& img = *c.Image();
  if (img.isNull() || img.depth() != 32) return s;
  for (int y = 0; y < img.height(); ++y) {
    const auto* row = reinterpret_cast<const std::uint32_t*>(img.constScanLine(y));
    for (int x = 0; x < img.width(); ++x) {
      if (left <= x && x <= right && top <= y && y <= bottom) continue;
      const TColor col = FromPixel(row[x]);
      if (col == clBlack || col == clWhite) continue;
      if (col != lastColor) {  // runs of one colour are the rule
        lastColor = col;
        lastArea = AreaIndexOfColor(col);
      }
      const int area = lastArea;
      if (area < 0 || inSwatch(x, y, area)) continue;
      if (s.Count++ == 0) {
        s.First = TPoint{x, y};
        s.Color = col;
      }
    }
  }
  return s;
}

}  // namespace robustness
