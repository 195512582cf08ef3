// Isotherms: the scan of the composition grid for points near each
// isotherm temperature, the ordering, smoothing and thinning of the point
// chains, and their drawing with temperature labels.
//
// The chains hold compositions, not pixels, so they survive resizing and
// follow unit and orientation changes; they are recomputed only when a
// setting they depend on clears Isotherms()->Calculated.
#include <algorithm>
#include <cmath>

#include "diagram/spl.h"
#include "diagram/ternagram.h"
#include "platform/application.h"

using namespace ternary;

namespace {

// Temperature differences between neighbouring isotherms of the ladder.
constexpr int LadderStep = 50;
// A ladder longer than this comes only from nonsense temperatures (a host's
// typo of 10^9 degrees); it is cut so that memory and time stay bounded.
constexpr int MaxIsotherms = 1000;
// Neighbouring chain points farther apart (percent) are not joined.
constexpr double JoinDistance = 10;

double Distance(const TIsoPoint& a, const TIsoPoint& b) {
  return std::hypot(double(a.X) - b.X, double(a.Y) - b.Y);
}

// A whole Celsius temperature in the display unit.
int ToUnit(int t, TTUnits unit) {
  switch (unit) {
    case tuK:
      return t + 273;
    case tuF:
      return int(std::nearbyint(t * 1.8 + 32));
    default:
      return t;
  }
}

}  // namespace

// --- Chains --------------------------------------------------------------------

int ternary::OrderChain(TIsoPoint* P, int n) {
  int failures = 0;
  for (int s = 0; s + 1 < n; ++s) {
    double best = 100.0;
    int at = -1;
    for (int t = s + 1; t < n; ++t) {
      const double d = Distance(P[s], P[t]);
      if (d <= best) {  // on equal distances the later point wins
        best = d;
        at = t;
      }
    }
    if (at < 0 || best < 0.25 || best > 20)
      ++failures;
    else
      std::swap(P[s + 1], P[at]);
  }
  return failures;
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

// --- The isotherm step ---------------------------------------------------------------

int TTernagram::IsothermTemperature(int k) const {
  const TIsotherm& iso = *Isotherms();
  return k < iso.IsothermCount ? iso.LowIsotherm + LadderStep * k : HotIsotherm();
}

void TTernagram::DrawIsothermStep(TCanvas& Canvas) {
  if (Areas() == 0 || zoom_) return;
  if (!Isotherms()->Calculated) ComputeIsotherms(Canvas);
  DrawIsothermChains(Canvas);
}

void TTernagram::ComputeIsotherms(TCanvas& Canvas) {
  TIsotherm& iso = *Isotherms();
  SetCursor(crHourGlass);

  // The range of the data: every T-point slot of every record counts.
  int tmin = 0, tmax = 0;
  bool haveMin = false;
  for (int i = 0; i < MaxAreas; ++i)
    for (const TTernaryTPoint& p : AreaList()[i].TPoints) {
      if (p.T != 0 && p.T < 5000 && (!haveMin || p.T < tmin)) {
        tmin = p.T;
        haveMin = true;
      }
      if (p.T > 0 && p.T > tmax) tmax = p.T;
    }
  tmin = ToUnit(tmin, tUnits_);
  tmax = ToUnit(tmax, tUnits_);
  iso.LowIsotherm = (tmin / LadderStep + 1) * LadderStep;
  iso.HighIsotherm = tmax / LadderStep * LadderStep;
  iso.IsothermCount = int(std::nearbyint((double(iso.HighIsotherm) - iso.LowIsotherm) / LadderStep)) + 1;
  iso.IsothermCount = std::clamp(iso.IsothermCount, 0, MaxIsotherms);
  // Set before the scan: a paint while the scan lets messages run must not
  // start another one.
  iso.Calculated = true;

  const int count = iso.IsothermCount;
  isoPoints_.assign(std::size_t(count) + 1, {});
  isoPointCounts_.assign(std::size_t(count) + 1, 0);
  isoGapCounts_.assign(std::size_t(count) + 1, 0);

  const double s = iso.MethodStep();
  const int rows = int(std::nearbyint(100 / s));
  const int error = iso.Error();
  const TTriangleMap map = TriangleMap();
  const int low = iso.LowIsotherm, hot = HotIsotherm();
  const TTUnits unit = tUnits_;
  computingIsotherms_ = true;
  for (int i = 1; i < rows; ++i) {
    const double B = 100 - i * s;
    DoIsothermCalcStep();
    ProcessMessages();
    // A handler may have emptied the system or changed the settings the
    // scan depends on: it is left to the next paint to start afresh.
    if (!iso.Calculated || isoPoints_.size() != std::size_t(count) + 1) break;
    for (int j = 1; j < i; ++j) {
      const double A = 100 - B - j * s;
      TPoint p = map.transformRounded(A, B);
      TColor c = Canvas.Pixel(p.X, p.Y);
      while (c == clBlack) c = Canvas.Pixel(++p.X, p.Y);  // outside reads clInvalid
      const int area = LookupArea(Canvas, p.X, p.Y, c);
      if (area < 0) continue;
      const double t = AreaTemperature(area, A, B);
      if (!std::isfinite(t) || std::fabs(t) > 1e9) continue;
      const int T = ToUnit(int(std::nearbyint(t)), unit);
      // Regular isotherms whose band T falls in: low + 50k within T -+ Error.
      const int kFrom = std::max(0, int(std::ceil(double(T - error - low) / LadderStep)));
      const int kTo = std::min(count - 1, int(std::floor(double(T + error - low) / LadderStep)));
      for (int k = kFrom; k <= kTo; ++k) isoPoints_[k].push_back(TIsoPoint{float(A), float(B)});
      if (hot - error <= T && T <= hot + error) isoPoints_[count].push_back(TIsoPoint{float(A), float(B)});
    }
  }
  computingIsotherms_ = false;

  for (std::size_t k = 0; k < isoPoints_.size(); ++k) {
    std::vector<TIsoPoint>& chain = isoPoints_[k];
    int n = int(chain.size());
    const int gaps = OrderChain(chain.data(), n);
    n -= std::min(gaps, n);
    if (n >= 10) {
      if (iso.Smoothed())
        for (int pass = 0; pass < iso.SmoothedTimes(); ++pass) SmoothChain(chain.data(), n);
      if (iso.Simplified())
        for (int pass = 0; pass < iso.SimplifiedTimes(); ++pass) n = SimplifyChain(chain.data(), n);
    }
    chain.resize(std::size_t(n));
    isoPointCounts_[k] = n;
    isoGapCounts_[k] = gaps;
  }
  SetCursor(crDefault);
}

// --- Drawing -------------------------------------------------------------------------

namespace {

// A chain drawn as a smooth line: each stretch between breaks is a curve
// through its points, parametrised by the distance along it, in pieces of
// at most one spline's knots that share their end points.
void DrawSmoothStretch(TCanvas& Canvas, const std::vector<TPoint>& pts) {
  const int n = int(pts.size());
  if (n < 2) return;
  constexpr int Samples = 8;
  for (int start = 0; start + 1 < n; start += MaxSplineKnots - 1) {
    const int m = std::min(MaxSplineKnots, n - start);
    TSplineKnots u{}, x{}, y{};
    for (int k = 1; k <= m; ++k) {
      const TPoint& p = pts[std::size_t(start + k - 1)];
      x[k] = p.X;
      y[k] = p.Y;
      u[k] = k == 1 ? 0 : u[k - 1] + std::hypot(x[k] - x[k - 1], y[k] - y[k - 1]);
    }
    TSplineSamples uq{}, xq{}, yq{};
    for (int k = 2; k <= m; ++k)
      for (int j = 1; j <= Samples; ++j)
        uq[Samples * (k - 1) + j] = u[k - 1] + (u[k] - u[k - 1]) * j / (Samples + 1);
    TSplineKnots u2 = u;
    SplineError ex = 0, ey = 0;
    CubicSpline(m, u, x, Samples * m, uq, xq, ex);
    CubicSpline(m, u2, y, Samples * m, uq, yq, ey);
    Canvas.MoveTo(RoundPixel(x[1]), RoundPixel(y[1]));
    for (int k = 2; k <= m; ++k) {
      if (ex == 0 && ey == 0)
        for (int j = 1; j <= Samples; ++j)
          Canvas.LineTo(RoundPixel(xq[Samples * (k - 1) + j]), RoundPixel(yq[Samples * (k - 1) + j]));
      Canvas.LineTo(RoundPixel(x[k]), RoundPixel(y[k]));
    }
  }
}

}  // namespace

void TTernagram::DrawIsothermChains(TCanvas& Canvas) {
  const TIsotherm& iso = *Isotherms();
  const int count = std::min<int>(iso.IsothermCount, int(isoPoints_.size()) - 1);
  const TTriangleMap map = TriangleMap();
  const int labelSize = std::clamp(TriSide() > 0 ? int(std::sqrt(TriSide() / 3.0)) - 2 : 1, 1, 7);
  const int step = std::max(iso.Step(), 1);
  Canvas.Pen.Mode = pmCopy;
  for (int k = 0; k <= count; ++k) {
    const bool hot = k == count;
    const int tk = IsothermTemperature(k);
    if (!hot && tk / step * step != tk) continue;
    const std::vector<TIsoPoint>& chain = isoPoints_[std::size_t(k)];
    const int n = std::min<int>(isoPointCounts_[std::size_t(k)], int(chain.size()));
    if (n == 0) continue;
    Canvas.Pen.Color = hot ? HotIsothermColor() : iso.Color();
    Canvas.Pen.Width = iso.Width();

    std::vector<TPoint> pixels(static_cast<std::size_t>(n));
    for (int p = 0; p < n; ++p) pixels[std::size_t(p)] = map.transformRounded(chain[p].X, chain[p].Y);
    switch (iso.GraphType()) {
      case itPoints:
        for (const TPoint& p : pixels) Canvas.Ellipse(p.X - 1, p.Y - 1, p.X + 1, p.Y + 1);
        break;
      case itPolyline:
        Canvas.MoveTo(pixels[0].X, pixels[0].Y);
        for (int p = 1; p < n; ++p) {
          if (Distance(chain[p - 1], chain[p]) > JoinDistance)
            Canvas.MoveTo(pixels[p].X, pixels[p].Y);
          else
            Canvas.LineTo(pixels[p].X, pixels[p].Y);
        }
        break;
      case itSpline: {
        std::vector<TPoint> stretch{pixels[0]};
        for (int p = 1; p <= n; ++p) {
          if (p == n || Distance(chain[p - 1], chain[p]) > JoinDistance) {
            DrawSmoothStretch(Canvas, stretch);
            stretch.clear();
          }
          if (p < n) stretch.push_back(pixels[p]);
        }
        break;
      }
    }

    if (iso.Signed()) {
      Canvas.Font = TFont{QStringLiteral("Arial"), labelSize, clBlack, fsItalic};
      Canvas.Brush.Style = bsSolid;
      Canvas.Brush.Color = clWhite;
      const QString text = QString::number(tk);
      const int w = Canvas.TextWidth(text), h = Canvas.TextHeight(text);
      for (int p = iso.SignStep(); p <= n && iso.SignStep() > 0; p += iso.SignStep()) {
        const TPoint& at = pixels[std::size_t(p - 1)];
        Canvas.TextOut(at.X - w / 2, at.Y - h / 2, text);
      }
    }
  }
  Canvas.Pen.Width = 1;
  Canvas.Pen.Color = clBlack;
}
