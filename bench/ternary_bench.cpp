// The ternary control at 1920 x 1080 with the test system: a full paint
// against the six-pass baseline, one mouse move's read-out against a
// paint, and a paint with a fresh isotherm computation by each method at
// grid steps of 1 % and 0.25 %.
#include "bench/bench_support.h"
#include "diagram/ternagram.h"
#include "tests/ternary_test_system.h"

namespace {

using namespace benchsupport;

void BM_TernaryFullPaint(benchmark::State& state) {
  const int w = int(state.range(0)), h = int(state.range(1));
  TTernagram g;
  g.resize(w, h);
  ternarytest::LoadTestSystem(g);
  MeasurePaintAgainstBaseline(state, g);
}

void BM_TernaryMouseMove(benchmark::State& state) {
  TTernagram g;
  g.resize(1920, 1080);
  ternarytest::LoadTestSystem(g);
  g.Repaint();
  const double paint = MeanPaintSeconds(g);
  // Two neighbouring points inside the (B) field, off the grid lines.
  const TPoint p = g.TriangleMap().transformRounded(12, 75);
  const QPoint a(p.X, p.Y), b = a + QPoint(3, 1);
  SendMove(&g, a);
  if (g.HotArea() != 1) state.SkipWithError("the point is not in the (B) field");
  MeasureMovesAgainstPaint(state, g, paint, a, b);
}

// Arguments: method (0 altitude, 1 polynomial), grid step in hundredths.
void BM_TernaryIsotherms(benchmark::State& state) {
  TTernagram g;
  g.resize(1920, 1080);
  ternarytest::LoadTestSystem(g);
  g.SetDrawIsotherms(true);
  g.SetTCalcMethod(state.range(0) == 0 ? ternary::tcAltitude : ternary::tcPolynomial);
  g.Isotherms()->SetMethodStep(float(state.range(1)) / 100);
  g.Repaint();
  for (auto _ : state) {
    g.Isotherms()->Calculated = false;
    g.Repaint();
  }
  int points = 0;
  for (int n : g.IsoPointCounts()) points += n;
  state.counters["chain_points"] = points;
}

}  // namespace

BENCHMARK(BM_TernaryFullPaint)->Args({1920, 1080})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TernaryMouseMove)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TernaryIsotherms)
    ->ArgNames({"method", "step"})
    ->Args({0, 100})
    ->Args({1, 100})
    ->Args({0, 25})
    ->Args({1, 25})
    ->Unit(benchmark::kMillisecond);
