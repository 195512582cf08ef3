// Cost of one full paint of the sample diagram, against a baseline of six
// plain full-frame fills and copies of an image of the same size (what any
// double-buffered picture of that size costs at least).
#include <QImage>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstring>

#include "app/sample_system.h"
#include "diagram/binagram.h"

namespace {

using Clock = std::chrono::steady_clock;

void SixFillsAndCopies(QImage& a, QImage& b) {
  for (int i = 0; i < 6; ++i) {
    a.fill(i % 2 ? 0xFF000000u : 0xFFF0F0F0u);
    std::memcpy(b.bits(), a.constBits(), size_t(a.sizeInBytes()));
  }
  benchmark::DoNotOptimize(b.constBits());
  benchmark::ClobberMemory();
}

// Best of a few runs, in seconds: the quietest measure of the baseline.
double BaselineSeconds(int w, int h) {
  QImage a(w, h, QImage::Format_RGB32), b(w, h, QImage::Format_RGB32);
  double best = 1e9;
  for (int r = 0; r < 30; ++r) {
    const auto t0 = Clock::now();
    SixFillsAndCopies(a, b);
    best = std::min(best, std::chrono::duration<double>(Clock::now() - t0).count());
  }
  return best;
}

void BM_Baseline(benchmark::State& state) {
  const int w = int(state.range(0)), h = int(state.range(1));
  QImage a(w, h, QImage::Format_RGB32), b(w, h, QImage::Format_RGB32);
  for (auto _ : state) SixFillsAndCopies(a, b);
}

// Counter "x_baseline": the paint's mean time over the best baseline time.
void BM_FullPaint(benchmark::State& state) {
  const int w = int(state.range(0)), h = int(state.range(1));
  TBinagram g;
  g.resize(w, h);
  LoadSampleSystem(g);
  g.Repaint();
  const double baseline = BaselineSeconds(w, h);
  double total = 0;
  for (auto _ : state) {
    const auto t0 = Clock::now();
    g.Repaint();
    total += std::chrono::duration<double>(Clock::now() - t0).count();
  }
  state.counters["x_baseline"] = total / double(state.iterations()) / baseline;
  state.counters["baseline_us"] = baseline * 1e6;
}

}  // namespace

BENCHMARK(BM_Baseline)->Args({469, 322})->Args({1920, 1080})->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FullPaint)->Args({469, 322})->Args({1920, 1080})->Unit(benchmark::kMicrosecond);
