// Cost of the read-out of one mouse move inside a two-phase field of the
// sample (pixel read, tie-line scans, values and co-phases tables), against
// one full paint of the same control measured in the same run. The move is
// sent as a real Qt mouse event, so the event dispatch is included.
#include "bench/bench_support.h"

#include "app/sample_system.h"
#include "diagram/binagram.h"

namespace {

using namespace benchsupport;

// Counter "percent_of_paint": a move's mean time as a share of a paint's.
void BM_MouseMoveReadout(benchmark::State& state) {
  const int w = int(state.range(0)), h = int(state.range(1));
  TBinagram g;
  g.resize(w, h);
  LoadSampleSystem(g);
  g.Repaint();
  const double paint = MeanPaintSeconds(g);

  // Two neighbouring points in "Mullite ss + Liquid", off the grid lines;
  // alternating between them makes every move a fresh read-out.
  const QPoint a(g.CompositionMap().transformRounded(57), g.TemperatureMap().transformRounded(1720));
  const QPoint b = a + QPoint(3, 1);
  SendMove(&g, a);
  if (g.CursorPoint().CoPhases != 2) state.SkipWithError("the point is not in a two-phase field");

  double total = 0;
  bool flip = false;
  for (auto _ : state) {
    const auto t0 = Clock::now();
    SendMove(&g, flip ? a : b);
    total += std::chrono::duration<double>(Clock::now() - t0).count();
    flip = !flip;
  }
  benchmark::DoNotOptimize(g.CursorPoint().Phase1Ratio);
  const double move = total / double(state.iterations());
  state.counters["paint_us"] = paint * 1e6;
  state.counters["move_us"] = move * 1e6;
  state.counters["percent_of_paint"] = 100 * move / paint;
}

}  // namespace

BENCHMARK(BM_MouseMoveReadout)->Args({469, 322})->Args({1920, 1080})->Unit(benchmark::kMicrosecond);
