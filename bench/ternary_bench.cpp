// The ternary control at 1920 x 1080 with the test system: a full paint
// against the six-pass baseline, one mouse move's read-out against a
// paint, and a paint with a fresh isotherm computation by each method at
// grid steps of 1 % and 0.25 %, on the test system and on the Bi-Pb-Sn
// sample.
#include "app/ternary_sample.h"
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

constexpr ternary::TTCalcMethod Methods[] = {ternary::tcAltitude, ternary::tcPolynomial, ternary::tcTriangulation};

// Arguments: method (0 altitude, 1 polynomial, 2 triangulation), grid step
// in hundredths. The Bi-Pb-Sn sample is the system the peer
// (../shared/bench/peers isotherms) traces its isotherms on.
template <bool Sample>
void BM_TernaryIsotherms(benchmark::State& state) {
  TTernagram g;
  g.resize(1920, 1080);
  if (Sample)
    LoadTernarySample(g);
  else
    ternarytest::LoadTestSystem(g);
  g.SetDrawIsotherms(true);
  g.SetTCalcMethod(Methods[state.range(0)]);
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
BENCHMARK(BM_TernaryIsotherms<false>)
    ->Name("BM_TernaryIsotherms")
    ->ArgNames({"method", "step"})
    ->ArgsProduct({{0, 1, 2}, {100, 25}})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TernaryIsotherms<true>)
    ->Name("BM_TernarySampleIsotherms")
    ->ArgNames({"method", "step"})
    ->ArgsProduct({{0, 1, 2}, {100, 25}})
    ->Unit(benchmark::kMillisecond);
