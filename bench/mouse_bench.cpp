// Cost of the read-out of one mouse move inside a two-phase field of the
// sample (pixel read, tie-line scans, values and co-phases tables), against
// one full paint of the same control measured in the same run. The move is
// sent as a real Qt mouse event, so the event dispatch is included.
#include "bench/bench_support.h"

#include "app/sample_system.h"
#include "diagram/binagram.h"

namespace {

using namespace benchsupport;

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
  MeasureMovesAgainstPaint(state, g, paint, a, b);
  benchmark::DoNotOptimize(g.CursorPoint().Phase1Ratio);
}

}  // namespace

BENCHMARK(BM_MouseMoveReadout)->Args({469, 322})->Args({1920, 1080})->Unit(benchmark::kMicrosecond);
