// Cost of one full paint of the sample diagram, against the baseline of
// six plain full-frame fills and copies of an image of the same size.
#include "bench/bench_support.h"

#include "app/sample_system.h"
#include "diagram/binagram.h"

namespace {

using namespace benchsupport;

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
  MeasurePaintAgainstBaseline(state, g);
}

}  // namespace

BENCHMARK(BM_Baseline)->Args({469, 322})->Args({1920, 1080})->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FullPaint)->Args({469, 322})->Args({1920, 1080})->Unit(benchmark::kMicrosecond);
