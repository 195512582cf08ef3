// The crystallization path against a mouse move's read-out, on the ternary
// test system at 1920 x 1080 with the corners as primary phases: one path
// (its map of the areas already drawn) per iteration, and the mean of a
// mouse move's read-out measured alongside. Counters: path_us, move_us,
// "path_percent_of_move", and first_path_us, the first path of a control,
// which draws the map.
#include "bench/bench_support.h"
#include "diagram/ternagram.h"
#include "tests/ternary_test_system.h"

namespace {

using namespace benchsupport;

void LoadWithPrimaryPhases(TTernagram& g) {
  ternarytest::LoadTestSystem(g);
  g.AreaList()[0].PrimaryPhase = {true, 100, 0};
  g.AreaList()[1].PrimaryPhase = {true, 0, 100};
  g.AreaList()[2].PrimaryPhase = {true, 0, 0};
}

void BM_CrystallizationPathAgainstMove(benchmark::State& state) {
  TTernagram g;
  g.resize(1920, 1080);
  LoadWithPrimaryPhases(g);
  g.Repaint();

  // A melt in the (B) field, and the move the read-out benchmark makes
  // there.
  const auto t0 = Clock::now();
  const std::vector<TCrystallizationStage> first = g.CrystallizationPath(12, 75);
  const double firstPath = std::chrono::duration<double>(Clock::now() - t0).count();
  if (first.empty() || first.back().Kind != ternary::ckEutectic)
    state.SkipWithError("the melt does not reach the eutectic");

  const TPoint p = g.TriangleMap().transformRounded(12, 75);
  const QPoint a(p.X, p.Y), b = a + QPoint(3, 1);
  constexpr int Moves = 200;
  const auto m0 = Clock::now();
  for (int i = 0; i < Moves; ++i) SendMove(&g, i % 2 ? a : b);
  const double move = std::chrono::duration<double>(Clock::now() - m0).count() / Moves;

  double total = 0;
  bool flip = false;
  for (auto _ : state) {
    const auto s0 = Clock::now();
    benchmark::DoNotOptimize(g.CrystallizationPath(flip ? 12 : 13, 75));
    total += std::chrono::duration<double>(Clock::now() - s0).count();
    flip = !flip;
  }
  const double path = total / double(state.iterations());
  state.counters["path_us"] = path * 1e6;
  state.counters["move_us"] = move * 1e6;
  state.counters["path_percent_of_move"] = 100 * path / move;
  state.counters["first_path_us"] = firstPath * 1e6;
}

}  // namespace

BENCHMARK(BM_CrystallizationPathAgainstMove)->Unit(benchmark::kMicrosecond);
