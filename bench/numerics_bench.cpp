// Cost of the liquidus temperature estimates the isotherm scan and the cursor
// read-out run: one altitude estimate on a 12-point area (at one query and
// averaged over a grid of queries inside the area), one polynomial fit with
// its evaluation, one evaluation of a fit kept by the caller, and the same
// for the triangulated surface.
#include <benchmark/benchmark.h>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <vector>

#include "diagram/altitude.h"
#include "diagram/polynoms.h"
#include "diagram/triangulation.h"

namespace {

// Twelve T-points around (35, 35) in percent, in order along the boundary,
// with temperatures that rise toward substance A.
struct TwelvePointArea {
  double A[12], B[12], T[12];
  TAltitudePoints corners{};

  TwelvePointArea() {
    for (int i = 0; i < 12; ++i) {
      const double angle = i * 2 * std::numbers::pi / 12;
      const double radius = 25 + 4 * std::sin(3 * angle);
      A[i] = 35 + radius * std::cos(angle);
      B[i] = 35 + radius * std::sin(angle);
      T[i] = std::nearbyint(900 + 6 * A[i] - 2 * B[i] + 15 * std::cos(2 * angle));
      corners[i] = {A[i], B[i], T[i]};
    }
  }
};

void BM_EstimateAltitude(benchmark::State& state) {
  const TwelvePointArea area;
  double X = 38.5, Y = 31.25;
  for (auto _ : state) {
    benchmark::DoNotOptimize(X);
    benchmark::DoNotOptimize(EstimateAltitude(12, area.corners, X, Y));
  }
}

// The grid compositions (step 1 %) within 18 % of the area's centre, as the
// isotherm scan visits them.
void BM_EstimateAltitudeGrid(benchmark::State& state) {
  const TwelvePointArea area;
  std::vector<std::pair<double, double>> queries;
  for (int a = 0; a <= 100; ++a)
    for (int b = 0; a + b <= 100; ++b)
      if (std::hypot(a - 35.0, b - 35.0) < 18) queries.emplace_back(a, b);
  for (auto _ : state)
    for (auto [X, Y] : queries) benchmark::DoNotOptimize(EstimateAltitude(12, area.corners, X, Y));
  state.SetItemsProcessed(state.iterations() * std::int64_t(queries.size()));
}

void BM_FitTemperatureSurfaceAndValue(benchmark::State& state) {
  const TwelvePointArea area;
  double x = 0.385, y = 0.3125;
  for (auto _ : state) {
    benchmark::DoNotOptimize(x);
    const TMatrix fit = FitTemperatureSurface(12, area.A, area.B, area.T);
    if (fit.Status == 0) benchmark::DoNotOptimize(PolynomialValue(fit, x, y));
  }
}

void BM_PolynomialValue(benchmark::State& state) {
  const TwelvePointArea area;
  const TMatrix fit = FitTemperatureSurface(12, area.A, area.B, area.T);
  double x = 0.385, y = 0.3125;
  for (auto _ : state) {
    benchmark::DoNotOptimize(x);
    benchmark::DoNotOptimize(PolynomialValue(fit, x, y));
  }
}

// Making the triangulated surface of the area, and one value of a surface
// kept by the caller, inside the hull and beyond it.
void BM_TriangulatedSurfaceMake(benchmark::State& state) {
  const TwelvePointArea area;
  for (auto _ : state) benchmark::DoNotOptimize(TTriangulatedSurface(12, area.A, area.B, area.T));
}

void BM_TriangulatedSurfaceValue(benchmark::State& state) {
  const TwelvePointArea area;
  const TTriangulatedSurface surface(12, area.A, area.B, area.T);
  double X = state.range(0) ? 5.0 : 38.5, Y = 31.25;
  for (auto _ : state) {
    benchmark::DoNotOptimize(X);
    benchmark::DoNotOptimize(surface.Value(X, Y));
  }
}

}  // namespace

BENCHMARK(BM_TriangulatedSurfaceMake)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TriangulatedSurfaceValue)->ArgName("outside")->Arg(0)->Arg(1)->Unit(benchmark::kNanosecond);
BENCHMARK(BM_EstimateAltitude)->Unit(benchmark::kNanosecond);
BENCHMARK(BM_EstimateAltitudeGrid)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FitTemperatureSurfaceAndValue)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PolynomialValue)->Unit(benchmark::kNanosecond);
