// Isotherms: the scan of the composition grid for points near each
// isotherm temperature, the chains made of them (ordered, smoothed and
// thinned in ternagram_chains.cpp), and their drawing with temperature labels.
//
// The chains hold compositions, not pixels, so they survive resizing and
// follow unit and orientation changes; they are recomputed only when a
// setting they depend on clears Isotherms()->Calculated.
#include <algorithm>
#include <cmath>

#include <atomic>
#include <chrono>
#include <limits>
#include <thread>

#include "diagram/altitude.h"
#include "diagram/polynoms.h"
#include "diagram/spl.h"
#include "diagram/ternagram.h"
#include "diagram/triangulation.h"
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

double Distance(const TIsoPoint& a, const TIsoPoint& b) { return std::sqrt(Distance2(a, b)); }

// Temperatures beyond this (in any unit) come only from nonsense data (a
// host's typo, an estimate extrapolated far off its points); they are
// held here so that the ladder and band arithmetic stays within an int.
constexpr double TemperatureLimit = 1e8;

// A Celsius temperature in the display unit.
double InUnit(double t, TTUnits unit) { return unit == tuK ? t + 273 : unit == tuF ? t * 1.8 + 32 : t; }

// A whole Celsius temperature in the display unit, whole and within the
// limit.
int ToUnit(double t, TTUnits unit) {
  return int(std::clamp(std::nearbyint(InUnit(t, unit)), -TemperatureLimit, TemperatureLimit));
}

}  // namespace

// --- The grid scan's estimates ------------------------------------------------------

// The temperatures of the grid points found in an area, estimated in
// parallel. The areas' T-points are copied when the scan starts, so what a
// handler writes while the scan lets messages run cannot race the pool;
// every estimate is a pure function of that copy.
class TIsothermScan {
 public:
  struct Job {
    float A, B;
    int Area;
    int Row, Column;  // of the grid: B = 100 - Row step, C = Column step
    double T;
  };

  explicit TIsothermScan(const TTernagram& g) : method_(g.TCalcMethod()) {
    const int areas = std::clamp(g.Areas(), 0, MaxAreas);
    for (int i = 0; i < areas; ++i) {
      const TTernaryArea& area = g.AreaList()[i];
      const int n = std::min<int>(area.TPointCount, MaxTPoints);
      TAreaData& d = areas_[std::size_t(i)];
      d.Count = n;
      double a[MaxTPoints] = {}, b[MaxTPoints] = {}, t[MaxTPoints] = {};
      for (int k = 0; k < n; ++k) {
        d.Points[std::size_t(k)] = TAltitudePoint{area.TPoints[k].A, area.TPoints[k].B,
                                                  double(area.TPoints[k].T)};
        a[k] = area.TPoints[k].A;
        b[k] = area.TPoints[k].B;
        t[k] = area.TPoints[k].T;
      }
      if (method_ == tcPolynomial) d.Fit = FitTemperatureSurface(n, a, b, t);
      if (method_ == tcTriangulation) d.Surface = TTriangulatedSurface(n, a, b, t);
    }
    const double step = g.Isotherms()->MethodStep();
    const long long rows = std::llround(100 / step);
    jobs_.reserve(std::size_t(std::max(0LL, (rows - 1) * (rows - 2) / 2)));
    rowEnds_.push_back(0);
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    for (unsigned w = 1; w < std::min(cores, 8u); ++w) workers_.emplace_back([this] { Work(false); });
  }
  ~TIsothermScan() { Finish(); }

  // Jobs are only appended (the storage never moves: it was reserved for
  // every grid point) and published by a count.
  void Add(float A, float B, int Area, int Row, int Column) {
    if (method_ == tcThermodynamic || jobs_.size() == jobs_.capacity()) return;
    jobs_.push_back(Job{A, B, Area, Row, Column, 0.0});
  }
  void EndRow() {
    rowEnds_.push_back(jobs_.size());
    published_.store(jobs_.size(), std::memory_order_release);
  }
  // Before row i starts, the pool has finished every row but the last two,
  // so that the progress the rows report is the progress of the work.
  void KeepUpWith(int Row) {
    const std::size_t upTo = Row >= 3 ? rowEnds_[std::size_t(Row - 3)] : 0;
    while (done_.load(std::memory_order_acquire) < upTo)
      if (!Take()) std::this_thread::yield();
  }
  void Finish() {
    if (finished_) return;
    finished_ = true;
    closed_.store(true, std::memory_order_release);
    Work(true);
    for (std::thread& t : workers_) t.join();
    workers_.clear();
  }
  const std::vector<Job>& Jobs() const { return jobs_; }

 private:
  static constexpr std::size_t Batch = 64;
  struct TAreaData {
    int Count = 0;
    TAltitudePoints Points{};
    TMatrix Fit;
    TTriangulatedSurface Surface;
  };

  // Fills in the temperatures of jobs From..To-1. The altitude estimate takes
  // the jobs of one area together, so that several run side by side.
  void Estimate(std::size_t From, std::size_t To) {
    if (method_ == tcTriangulation) {
      for (std::size_t k = From; k < To; ++k)
        jobs_[k].T = areas_[std::size_t(jobs_[k].Area)].Surface.Value(jobs_[k].A, jobs_[k].B);
      return;
    }
    if (method_ != tcAltitude) {
      for (std::size_t k = From; k < To; ++k) {
        const TAreaData& d = areas_[std::size_t(jobs_[k].Area)];
        jobs_[k].T = d.Fit.Status != 0 ? std::numeric_limits<double>::quiet_NaN()
                                       : PolynomialValue(d.Fit, jobs_[k].A / 100.0, jobs_[k].B / 100.0);
      }
      return;
    }
    double a[Batch], b[Batch], t[Batch];
    std::size_t of[Batch];
    bool taken[Batch] = {};
    for (std::size_t k = From; k < To; ++k) {
      if (taken[k - From]) continue;
      const int area = jobs_[k].Area;
      int m = 0;
      for (std::size_t q = k; q < To; ++q)
        if (!taken[q - From] && jobs_[q].Area == area) {
          taken[q - From] = true;
          a[m] = jobs_[q].A;
          b[m] = jobs_[q].B;
          of[m++] = q;
        }
      const TAreaData& d = areas_[std::size_t(area)];
      EstimateAltitudes(d.Count, d.Points, m, a, b, t);
      for (int r = 0; r < m; ++r) jobs_[of[r]].T = t[r];
    }
  }
  // Works out a batch of published jobs; false when none is waiting. One
  // shared counter update per job would keep its cache line travelling
  // between the cores.
  bool Take() {
    std::size_t i = next_.load(std::memory_order_relaxed), end = 0;
    do {
      const std::size_t published = published_.load(std::memory_order_acquire);
      if (i >= published) return false;
      end = std::min(i + Batch, published);
    } while (!next_.compare_exchange_weak(i, end, std::memory_order_acq_rel));
    Estimate(i, end);
    done_.fetch_add(end - i, std::memory_order_acq_rel);
    return true;
  }
  void Work(bool Last) {
    int idle = 0;
    for (;;) {
      if (Take()) {
        idle = 0;
        continue;
      }
      if (closed_.load(std::memory_order_acquire) &&
          next_.load(std::memory_order_acquire) >= published_.load(std::memory_order_acquire))
        break;
      // While the rows wait for a long handler, stop spinning.
      if (++idle > 1000)
        std::this_thread::sleep_for(std::chrono::microseconds(100));
      else
        std::this_thread::yield();
    }
    if (Last)
      while (done_.load(std::memory_order_acquire) < published_.load(std::memory_order_acquire))
        std::this_thread::yield();
  }

  TTCalcMethod method_;
  std::array<TAreaData, MaxAreas> areas_;
  std::vector<Job> jobs_;
  std::vector<std::size_t> rowEnds_;
  std::atomic<std::size_t> published_{0}, next_{0}, done_{0};
  std::atomic<bool> closed_{false};
  bool finished_ = false;
  std::vector<std::thread> workers_;
};

// The estimated temperatures of a scan's grid points in the display unit,
// unrounded, by row and column; NaN where none was estimated (off every
// area, off the grid).
class TGridTemperatures {
 public:
  TGridTemperatures(const std::vector<TIsothermScan::Job>& Jobs, int Rows, TTUnits Unit)
      : side_(std::max(Rows, 1)), t_(std::size_t(side_) * std::size_t(side_), NaN) {
    for (const TIsothermScan::Job& job : Jobs)
      if (std::isfinite(job.T)) t_[Index(job.Row, job.Column)] = InUnit(job.T, Unit);
  }

  // Whether the grid point lies on the middle of its isotherm's band. Where
  // the liquidus is flat a band of Tk -+ Error is several grid points wide,
  // and the walk that orders a chain would run along one edge of it and
  // back along the other: a thin loop drawn as two strokes with their
  // labels twice. The band is crossed by the grid direction along which the
  // temperature changes fastest at the point; the point stays when neither
  // neighbour along that direction is nearer Tk (the later one when equally
  // near), so that each crossing keeps one point.
  bool AtBandCentre(int Row, int Column, double Tk) const {
    const double t = At(Row, Column);
    if (!std::isfinite(t)) return true;
    // Along the row (C), along A constant, along C constant.
    static constexpr int Steps[3][2] = {{0, 1}, {1, 1}, {1, 0}};
    double steepest = 0, before = NaN, after = NaN;
    for (const auto& d : Steps) {
      double lo = At(Row - d[0], Column - d[1]), hi = At(Row + d[0], Column + d[1]);
      // A neighbour off the areas (at a side, under a boundary line) is
      // taken as the slope on the other side continues.
      if (!std::isfinite(lo)) lo = 2 * t - hi;
      if (!std::isfinite(hi)) hi = 2 * t - lo;
      const double slope = std::isfinite(lo) ? std::fabs(hi - lo) / 2 : 0;
      if (slope > steepest) {
        steepest = slope;
        before = lo;
        after = hi;
      }
    }
    const double off = std::fabs(t - Tk);
    auto nearer = [&](double n, bool OrEqual) {
      return OrEqual ? std::fabs(n - Tk) <= off : std::fabs(n - Tk) < off;
    };
    return steepest == 0 || (!nearer(before, false) && !nearer(after, true));
  }

 private:
  static constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
  std::size_t Index(int Row, int Column) const { return std::size_t(Row) * std::size_t(side_) + std::size_t(Column); }
  double At(int Row, int Column) const {
    return Row > 0 && Row < side_ && Column > 0 && Column < Row ? t_[Index(Row, Column)] : NaN;
  }

  int side_;
  std::vector<double> t_;
};

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

  // The chains of this scan are its own until it has finished: whatever runs
  // while messages are processed (a setting, an export that scans again)
  // may empty or rebuild the control's chains and ladder.
  const int count = iso.IsothermCount;
  const unsigned generation = ++isoGeneration_;
  isoPoints_.assign(std::size_t(count) + 1, {});
  isoPointCounts_.assign(std::size_t(count) + 1, 0);
  isoGapCounts_.assign(std::size_t(count) + 1, 0);
  std::vector<std::vector<TIsoPoint>> chains(std::size_t(count) + 1);

  const double s = iso.MethodStep();
  const int rows = int(std::nearbyint(100 / s));
  const int error = iso.Error();
  const TTriangleMap map = TriangleMap();
  const int low = iso.LowIsotherm, hot = HotIsotherm();
  const TTUnits unit = tUnits_;
  const bool smoothed = iso.Smoothed(), simplified = iso.Simplified();
  const int smoothedTimes = iso.SmoothedTimes(), simplifiedTimes = iso.SimplifiedTimes();
  // The scan stops when a handler has cleared the result it works for, or
  // another scan has started since.
  auto abandoned = [&] { return !iso.Calculated || isoGeneration_ != generation; };

  // The estimates are worked out by a pool while this thread walks the rows
  // (progress event, pending messages, pixel lookups) and joins in; the
  // chains are then filled in scan order.
  TIsothermScan scan(*this);
  const bool outerComputing = computingIsotherms_;
  computingIsotherms_ = true;
  bool stopped = false;
  for (int i = 1; i < rows && !stopped; ++i) {
    const double B = 100 - i * s;
    scan.KeepUpWith(i);
    DoIsothermCalcStep();
    ProcessMessages();
    if ((stopped = abandoned())) break;
    for (int j = 1; j < i; ++j) {
      const double A = 100 - B - j * s;
      TPoint p = map.transformRounded(A, B);
      TColor c = Canvas.Pixel(p.X, p.Y);
      while (c == clBlack) c = Canvas.Pixel(++p.X, p.Y);  // outside reads clInvalid
      const int area = LookupArea(Canvas, p.X, p.Y, c);
      if (area >= 0) scan.Add(float(A), float(B), area, i, j);
    }
    scan.EndRow();
  }
  scan.Finish();
  computingIsotherms_ = outerComputing;
  SetCursor(crDefault);
  // A paint asked for during the scan was put off until it ended.
  if (!computingIsotherms_ && paintPending_) {
    paintPending_ = false;
    Invalidate();
  }
  if (stopped) {
    // The picture being composed shows no isotherms of the current
    // settings: a repaint with a scan of its own follows.
    if (isoGeneration_ == generation) iso.Calculated = false;
    Invalidate();
    return;
  }

  const TGridTemperatures grid(scan.Jobs(), rows, unit);
  for (const TIsothermScan::Job& job : scan.Jobs()) {
    const double t = job.T;
    if (!std::isfinite(t) || std::fabs(t) > 1e9) continue;  // no temperature
    const double T = ToUnit(std::nearbyint(t), unit);
    auto join = [&](int k, double Tk) {
      if (grid.AtBandCentre(job.Row, job.Column, Tk)) chains[std::size_t(k)].push_back(TIsoPoint{job.A, job.B});
    };
    // Regular isotherms whose band T falls in: low + 50k within T -+ Error.
    const int kFrom = int(std::clamp(std::ceil((T - error - low) / LadderStep), 0.0, double(count)));
    const int kTo = int(std::clamp(std::floor((T + error - low) / LadderStep), -1.0, count - 1.0));
    for (int k = kFrom; k <= kTo; ++k) join(k, double(low) + double(LadderStep) * k);
    if (double(hot) - error <= T && T <= double(hot) + error) join(count, hot);
  }

  std::vector<int> counts(chains.size()), gaps(chains.size());
  for (std::size_t k = 0; k < chains.size(); ++k) {
    std::vector<TIsoPoint>& chain = chains[k];
    int n = int(chain.size());
    gaps[k] = OrderChain(chain.data(), n);
    n -= std::min(gaps[k], n);
    if (n >= 10) {
      auto smooth = [](TIsoPoint* p, int m) { SmoothChain(p, m); return m; };
      if (smoothed)
        for (int pass = 0; pass < smoothedTimes; ++pass)
          n = InStretches(chain.data(), n, JoinDistance, smooth);
      if (simplified)
        for (int pass = 0; pass < simplifiedTimes; ++pass)
          n = InStretches(chain.data(), n, JoinDistance, SimplifyChain);
    }
    chain.resize(std::size_t(n));
    counts[k] = n;
  }
  isoPoints_ = std::move(chains);
  isoPointCounts_ = std::move(counts);
  isoGapCounts_ = std::move(gaps);
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

// --- The data as a file ----------------------------------------------------------------

QByteArray TTernagram::DataCsv() const {
  const double scale = CompositionScale() / 100;
  QString out = QStringLiteral("kind,T,chain,point,A,B,C,area,identifier\n");
  auto composition = [&](double A, double B) {
    return QStringLiteral("%1,%2,%3").arg(CsvNumber(A * scale), CsvNumber(B * scale),
                                          CsvNumber((100 - A - B) * scale));
  };
  const TIsotherm& iso = *Isotherms();
  const int count = std::min<int>(iso.IsothermCount, int(isoPoints_.size()) - 1);
  const int step = std::max(iso.Step(), 1);
  for (int k = 0; k <= count && iso.Calculated; ++k) {
    // The isotherms the picture shows: those of the step, and the hot one.
    const int tk = IsothermTemperature(k);
    if (k != count && tk / step * step != tk) continue;
    const std::vector<TIsoPoint>& chain = isoPoints_[std::size_t(k)];
    const int n = std::min<int>(isoPointCounts_[std::size_t(k)], int(chain.size()));
    int piece = 1, point = 0;
    for (int p = 0; p < n; ++p) {
      if (p > 0 && Distance(chain[p - 1], chain[p]) > JoinDistance) {
        ++piece;
        point = 0;
      }
      out += QStringLiteral("isotherm,%1,%2,%3,%4,,\n")
                 .arg(tk)
                 .arg(piece)
                 .arg(++point)
                 .arg(composition(chain[p].X, chain[p].Y));
    }
  }
  for (int i = 0; i < AreasInUse(); ++i) {
    const TTernaryArea& area = AreaList()[i];
    const int n = std::min<int>(area.TPointCount, MaxTPoints);
    for (int j = 0; j < n; ++j) {
      const TTernaryTPoint& t = area.TPoints[j];
      out += QStringLiteral("tpoint,%1,,%2,%3,%4,%5\n")
                 .arg(ToUnit(t.T, tUnits_))
                 .arg(j + 1)
                 .arg(composition(t.A, t.B))
                 .arg(i + 1)
                 .arg(CsvText(area.Identifier));
    }
  }
  // The stages of the marked melt's crystallization path, as drawn: where
  // each begins (temperature, liquid) and what crystallizes, or why the
  // path stops.
  if (drawCrystallization_ && markMode_ && markedPoint_.Visible) {
    const std::vector<TCrystallizationStage> stages = CrystallizationPath(markedPoint_.A, markedPoint_.B);
    for (std::size_t k = 0; k < stages.size(); ++k)
      out += QStringLiteral("crystallization,%1,,%2,%3,,%4\n")
                 .arg(CsvNumber(stages[k].T))
                 .arg(k + 1)
                 .arg(composition(stages[k].A, stages[k].B),
                      CsvText(stages[k].Phases.isEmpty() ? stages[k].Reason : stages[k].Phases));
  }
  return out.toUtf8();
}
