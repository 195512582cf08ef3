// Vector export of both samples at 1920 x 1080: SVG and PDF bytes from a
// painted control (drawing, fill tracing and writing), timed in the same
// run as the peer (matplotlib saving the binary sample figure as SVG and as
// PDF, ../shared/bench/peers export). Counters: mean milliseconds of ours,
// the peer's medians, and the peer's time over ours.
#include <QProcess>
#include <QRegularExpression>
#include <map>

#include "app/picture_output.h"
#include "app/sample_system.h"
#include "app/ternary_sample.h"
#include "bench/bench_support.h"
#include "diagram/binagram.h"
#include "diagram/ternagram.h"

namespace {

using namespace benchsupport;

// The peer's median milliseconds of "savefig svg" and "savefig pdf" at the
// size (run once per process); 0 when it cannot run.
std::pair<double, double> PeerMedians(int w, int h) {
  static std::map<std::pair<int, int>, std::pair<double, double>> cache;
  auto it = cache.find({w, h});
  if (it != cache.end()) return it->second;
  QProcess p;
  p.start(QStringLiteral(PD_SOURCE_DIR "/../shared/bench/peers"),
          {"export", QString::number(w), QString::number(h), "10"});
  p.waitForFinished(600000);
  const QString out = QString::fromUtf8(p.readAllStandardOutput());
  auto median = [&](const char* kind) {
    const QRegularExpressionMatch m =
        QRegularExpression(QStringLiteral("savefig %1 .*median ([\\d.]+) ms").arg(kind)).match(out);
    return m.hasMatch() ? m.captured(1).toDouble() : 0.0;
  };
  return cache[{w, h}] = {median("svg"), median("pdf")};
}

template <class Control, class Load>
void Export(benchmark::State& state, const char* format, Load load) {
  const int w = int(state.range(0)), h = int(state.range(1));
  Control g;
  g.resize(w, h);
  load(g);
  g.Repaint();  // isotherms traced once, as on screen
  const auto peer = PeerMedians(w, h);
  double total = 0;
  std::size_t bytes = 0;
  for (auto _ : state) {
    const auto t0 = Clock::now();
    const QByteArray out = DiagramPictureBytes(g, format, QSize(w, h), 1, nullptr);
    total += std::chrono::duration<double>(Clock::now() - t0).count();
    bytes = std::size_t(out.size());
    benchmark::DoNotOptimize(out.constData());
  }
  const double ms = total / double(state.iterations()) * 1e3;
  const double peerMs = QByteArray(format) == "svg" ? peer.first : peer.second;
  state.counters["ms"] = ms;
  state.counters["peer_ms"] = peerMs;
  state.counters["x_faster"] = peerMs > 0 ? peerMs / ms : 0;
  state.counters["bytes"] = double(bytes);
}

void BM_ExportBinarySvg(benchmark::State& s) { Export<TBinagram>(s, "svg", [](TBinagram& g) { LoadSampleSystem(g); }); }
void BM_ExportBinaryPdf(benchmark::State& s) { Export<TBinagram>(s, "pdf", [](TBinagram& g) { LoadSampleSystem(g); }); }
void BM_ExportTernarySvg(benchmark::State& s) { Export<TTernagram>(s, "svg", [](TTernagram& g) { LoadTernarySample(g); }); }
void BM_ExportTernaryPdf(benchmark::State& s) { Export<TTernagram>(s, "pdf", [](TTernagram& g) { LoadTernarySample(g); }); }

}  // namespace

BENCHMARK(BM_ExportBinarySvg)->Args({1920, 1080})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportBinaryPdf)->Args({1920, 1080})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportTernarySvg)->Args({1920, 1080})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportTernaryPdf)->Args({1920, 1080})->Unit(benchmark::kMillisecond);
