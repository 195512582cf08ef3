#pragma once
// What the benchmarks share: a clock and the baseline every full paint is
// compared with, six plain full-frame fills and copies of an image of the
// same size (what any double-buffered picture of that size costs at least).
#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QWidget>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstring>

#include "platform/control.h"

namespace benchsupport {

using Clock = std::chrono::steady_clock;

inline void SixFillsAndCopies(QImage& a, QImage& b) {
  for (int i = 0; i < 6; ++i) {
    a.fill(i % 2 ? 0xFF000000u : 0xFFF0F0F0u);
    std::memcpy(b.bits(), a.constBits(), size_t(a.sizeInBytes()));
  }
  benchmark::DoNotOptimize(b.constBits());
  benchmark::ClobberMemory();
}

// Best of a few runs, in seconds: the quietest measure of the baseline.
inline double BaselineSeconds(int w, int h) {
  QImage a(w, h, QImage::Format_RGB32), b(w, h, QImage::Format_RGB32);
  double best = 1e9;
  for (int r = 0; r < 30; ++r) {
    const auto t0 = Clock::now();
    SixFillsAndCopies(a, b);
    best = std::min(best, std::chrono::duration<double>(Clock::now() - t0).count());
  }
  return best;
}

// Mean time of one full paint of a control, in seconds.
inline double MeanPaintSeconds(TCustomControl& g, int runs = 20) {
  const auto t0 = Clock::now();
  for (int r = 0; r < runs; ++r) g.Repaint();
  return std::chrono::duration<double>(Clock::now() - t0).count() / runs;
}

// Times a repaint per benchmark iteration; counter "x_baseline" is the mean
// paint over the best baseline of the control's size.
inline void MeasurePaintAgainstBaseline(benchmark::State& state, TCustomControl& g) {
  g.Repaint();
  const double baseline = BaselineSeconds(g.width(), g.height());
  double total = 0;
  for (auto _ : state) {
    const auto t0 = Clock::now();
    g.Repaint();
    total += std::chrono::duration<double>(Clock::now() - t0).count();
  }
  state.counters["x_baseline"] = total / double(state.iterations()) / baseline;
  state.counters["baseline_us"] = baseline * 1e6;
}

// A real Qt mouse move, so that the event dispatch is measured too.
inline void SendMove(QWidget* w, QPoint p) {
  const QPointF local(p);
  QMouseEvent e(QEvent::MouseMove, local, w->mapToGlobal(local), Qt::NoButton, Qt::NoButton,
                Qt::NoModifier);
  QApplication::sendEvent(w, &e);
}

// Times one move per benchmark iteration, alternating between A and B so
// that every move is a fresh read-out. Counters: paint_us (Paint, seconds,
// measured by the caller), move_us and "percent_of_paint", a move's mean
// time as a share of a paint's.
inline void MeasureMovesAgainstPaint(benchmark::State& state, QWidget& g, double Paint, QPoint A, QPoint B) {
  double total = 0;
  bool flip = false;
  for (auto _ : state) {
    const auto t0 = Clock::now();
    SendMove(&g, flip ? A : B);
    total += std::chrono::duration<double>(Clock::now() - t0).count();
    flip = !flip;
  }
  const double move = total / double(state.iterations());
  state.counters["paint_us"] = Paint * 1e6;
  state.counters["move_us"] = move * 1e6;
  state.counters["percent_of_paint"] = 100 * move / Paint;
}

}  // namespace benchsupport
