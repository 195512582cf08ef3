// The ternary control driven at random the way hosts and users can drive
// it: faulty host data (NaN, infinities, huge values, separators anywhere,
// CurveLastIndex past the arrays or negative, runs longer than a spline,
// T-point counts past 12, seeds off the triangle), random properties and
// isotherm settings, sizes from nothing to large, and real Qt mouse events
// (moves, drags that zoom, clicks that leave the zoom, right presses and
// releases, points outside the control). After every step:
//   - no area colour outside the triangle but in the legend's swatches and
//     the T-point markers;
//   - a mole/mass round trip and an orientation round trip give back every
//     composition on the triangle (within rounding) and leave every other
//     value as it was;
//   - zooming out gives back the whole triangle;
//   - no gesture shows a message;
//   - actions run from the isotherm scan's own progress event (setting
//     changes, unit and orientation switches, resizes, exports that scan
//     again) leave the picture equal to a fresh repaint once events settle;
//   - a picture rendered at any size puts no area colour off its triangle.
//
// Seeded like the binary run (PD_ROBUSTNESS_SEED, PD_ROBUSTNESS_ITERATIONS,
// PD_ROBUSTNESS_FIRST, PD_ROBUSTNESS_VERBOSE).
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <algorithm>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "diagram/mouse_test_support.h"
#include "diagram/ternagram.h"
#include "message_collector.h"
#include "robustness/robustness_support.h"
#include "ternary_test_system.h"

using namespace robustness;
using namespace ternary;

namespace {

constexpr std::uint64_t kDefaultSeed = 0x7E2A2026;
constexpr int kDefaultIterations = 40;
constexpr int kStepsPerIteration = 25;

bool OnTriangle(double a, double b) {
  return std::isfinite(a) && std::isfinite(b) && a >= 0 && b >= 0 && a + b <= 100;
}
bool Same(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// Every composition the control converts, in one list.
std::vector<std::pair<double, double>> Compositions(const TTernagram& g) {
  std::vector<std::pair<double, double>> all;
  const int last = g.UsableCurveLastIndex();
  for (int j = 0; j <= last; ++j) all.push_back({g.CurveA()[j], g.CurveB()[j]});
  for (int i = 0; i < std::clamp(g.Areas(), 0, MaxAreas); ++i) {
    const TTernaryArea& a = g.AreaList()[i];
    all.push_back({a.FillA, a.FillB});
    for (int k = 0; k < std::min<int>(a.TPointCount, MaxTPoints); ++k)
      all.push_back({a.TPoints[k].A, a.TPoints[k].B});
  }
  return all;
}

// Area-coloured pixels off the triangle that are neither a legend swatch
// nor a T-point marker, on the control's surface or on a picture laid out
// like it.
long long StrayPixels(TTernagram& g, TPoint& first, TCanvas* picture = nullptr) {
  TCanvas& c = picture ? *picture : *g.Canvas();
  const TTriangleMap map = g.TriangleMap();
  const TTriangleMap view = g.ViewMap();
  std::vector<TPoint> markers;
  for (int i = 0; i < std::clamp(g.Areas(), 0, MaxAreas); ++i) {
    const TTernaryArea& a = g.AreaList()[i];
    for (int k = 0; k < std::min<int>(a.TPointCount, MaxTPoints); ++k)
      if (OnTriangle(a.TPoints[k].A, a.TPoints[k].B))
        markers.push_back(view.transformRounded(a.TPoints[k].A, a.TPoints[k].B));
  }
  TBitmap probe(1, 1);
  probe.Canvas()->Font = TFont{QStringLiteral("Arial"), g.PanelFontSize(), clBlack, 0};
  const int th = probe.Canvas()->TextHeight(QStringLiteral("H"));
  const long long legendLeft = (long long)g.TriLeft() + g.TriSide();
  const long long legendTop = (long long)g.TriTop() - 2 * th;
  const long long legendBottom = legendTop + (long long)th * (std::clamp(g.Areas(), 0, MaxAreas) + 1);
  long long n = 0;
  for (int y = 0; y < c.Height(); ++y)
    for (int x = 0; x < c.Width(); ++x) {
      if (AreaIndexOfColor(c.Pixel(x, y)) < 0) continue;
      const bool inTriangle = y >= g.TriTop() - 1 && y <= g.TriTop() + g.TriHeight() + 2 &&
                              x >= map.LeftEdgeX(y) - 2 && x <= map.RightEdgeX(y) + 2;
      const bool inLegend = g.Legend() && x > legendLeft && y >= legendTop && y <= legendBottom;
      bool marker = false;
      for (const TPoint& p : markers) marker |= std::abs(p.X - x) <= 3 && std::abs(p.Y - y) <= 3;
      if (inTriangle || inLegend || marker) continue;
      if (n++ == 0) first = TPoint{x, y};
    }
  return n;
}

class Iteration {
 public:
  Iteration(std::uint64_t seed, bool verbose) : r_(seed), log_(verbose) {}

  std::string Run() {
    g_ = std::make_unique<TTernagram>();
    g_->resize(r_.Int(200, 900), r_.Int(150, 700));
    if (r_.Chance(0.5)) {
      Log("test system");
      ternarytest::LoadTestSystem(*g_);
    } else {
      HostData();
    }
    g_->SetMarkMode(r_.Chance(0.7));
    for (step_ = 0; step_ < kStepsPerIteration; ++step_) {
      MessageCollector messages;
      std::string broken;
      const int what = r_.Int(0, 11);
      if (what <= 3) {
        broken = Gesture(messages);
      } else if (what <= 5) {
        Property();
      } else if (what == 6) {
        broken = UnitRoundTrip();
      } else if (what == 7) {
        broken = OrientationRoundTrip();
      } else if (what == 8) {
        HostData();
      } else if (what == 10) {
        broken = MidScan();
      } else if (what == 11) {
        broken = RenderAtRandomSize();
      } else {
        const int w = r_.Chance(0.1) ? r_.Int(0, 130) : r_.Int(200, 1600);
        const int h = r_.Chance(0.1) ? r_.Int(0, 130) : r_.Int(150, 1000);
        Log("size " + std::to_string(w) + "x" + std::to_string(h));
        g_->resize(w, h);
      }
      if (broken.empty()) {
        g_->Repaint();
        TPoint at;
        const long long stray = StrayPixels(*g_, at);
        if (stray > 0)
          broken = std::to_string(stray) + " area-coloured pixels off the triangle, the first at (" +
                   std::to_string(at.X) + ", " + std::to_string(at.Y) + ")";
      }
      if (!broken.empty()) return broken + "\n" + History();
    }
    return {};
  }
  int Steps() const { return step_; }

 private:
  double Share() { return r_.Chance(0.85) ? r_.Real(0, 100) : r_.Value(0, 100); }

  void HostData() {
    Log("host data");
    const int areas = r_.Chance(0.1) ? r_.Int(17, 300) : r_.Int(0, 16);
    for (int i = 0; i < MaxAreas; ++i) {
      TTernaryArea& a = g_->AreaList()[i];
      a.TwoPhase = std::uint8_t(r_.Int(0, 2));
      a.TPointCount = std::uint8_t(r_.Chance(0.1) ? r_.Int(13, 255) : r_.Int(0, 12));
      for (TTernaryTPoint& p : a.TPoints) {
        p.A = float(Share());
        p.B = float(Share() * (100 - std::clamp(double(p.A), 0.0, 100.0)) / 100);
        p.T = r_.Chance(0.05) ? r_.Int(INT_MIN / 2, INT_MAX / 2) : r_.Int(-100, 3000);
      }
      a.FillA = float(Share());
      a.FillB = float(Share() / 2);
      a.PrimaryPhase = {r_.Chance(0.7), float(Share()), float(Share() / 2)};
    }
    g_->SetAreas(areas);
    std::vector<double>& ca = g_->CurveA();
    std::vector<double>& cb = g_->CurveB();
    ca.clear();
    cb.clear();
    const int n = r_.Int(0, 60);
    for (int j = 0; j < n; ++j) {
      const bool sep = r_.Chance(0.15);
      ca.push_back(sep ? -1 : Share());
      cb.push_back(sep ? -1 : Share() / 2);
    }
    if (r_.Chance(0.3)) cb.resize(std::size_t(r_.Int(0, n)));
    g_->SetCurveLastIndex(r_.Chance(0.2) ? r_.Pick({-5, 0, 100000, INT_MAX}) : n - 1);
    g_->SetDrawSplines(r_.Chance(0.8));
    g_->SetDrawAreas(r_.Chance(0.8));
    g_->SetDrawTPoints(r_.Chance(0.5));
    g_->SetDrawCrystallization(r_.Chance(0.7));
  }

  void Property() {
    TIsotherm& iso = *g_->Isotherms();
    switch (r_.Int(0, 15)) {
      case 0: Log("grid steps"); g_->SetGridSteps(r_.Int(-3, 300)); break;
      case 1: Log("grid type"); g_->SetGridType(TGridType(r_.Int(0, 2))); break;
      case 2: Log("temperature unit"); g_->SetTUnits(TTUnits(r_.Int(0, 2))); break;
      case 3: Log("units"); g_->SetCUnits(TCUnits(r_.Int(0, 3))); break;
      case 4: Log("orientation"); g_->SetDataOrientation(TDataOrientation(r_.Int(0, 5))); break;
      case 5: Log("isotherms"); g_->SetDrawIsotherms(r_.Chance(0.6)); break;
      case 6: Log("method"); g_->SetTCalcMethod(TTCalcMethod(r_.Int(0, 3))); break;
      case 7: Log("method step"); iso.SetMethodStep(float(r_.Chance(0.2) ? r_.Value(-5, 5) : r_.Real(1, 3))); break;
      case 8: Log("isotherm graph"); iso.SetGraphType(TIsothermType(r_.Int(0, 2))); break;
      case 9: Log("smoothing"); iso.SetSmoothed(r_.Chance(0.5)); iso.SetSimplified(r_.Chance(0.5)); break;
      case 10: Log("switches"); g_->SetLegend(r_.Chance(0.7)); g_->SetCoPhasesTable(r_.Chance(0.5)); break;
      case 11: Log("mouse grid"); g_->SetMouseGrid(r_.Chance(0.5)); break;
      case 12: Log("hot isotherm"); g_->SetHotIsotherm(r_.Int(-2000, 4000)); break;
      case 13: Log("molar mass"); g_->SubstanceB()->MolMass = float(r_.Chance(0.2) ? r_.Value(-1, 1) : r_.Real(1, 300)); break;
      case 14: Log("allow zoom"); g_->SetAllowZoom(r_.Chance(0.8)); break;
      default: Log("title"); g_->SetTitle(QString(r_.Int(0, 300), QLatin1Char('T'))); break;
    }
  }

  QPoint Inside() {
    const TTriangleMap map = g_->TriangleMap();
    const double b = r_.Real(0, 100), a = r_.Real(0, 100 - b);
    const TPoint p = map.transformRounded(a, b);
    return QPoint(p.X, p.Y);
  }
  QPoint Anywhere() {
    return r_.Chance(0.7) ? Inside() : QPoint(r_.Int(-50, g_->width() + 50), r_.Int(-50, g_->height() + 50));
  }

  std::string Gesture(MessageCollector& messages) {
    QWidget* w = g_.get();
    g_->Repaint();
    switch (r_.Int(0, 4)) {
      case 0:
        Log("moves");
        for (int k = 0; k < 4; ++k) mousetest::Move(w, Anywhere());
        break;
      case 1: {
        Log("drag");
        const QPoint from = Inside();
        const QPoint to(from.x() + r_.Int(-300, 300), from.y());
        mousetest::Press(w, from);
        mousetest::Move(w, (from + to) / 2, Qt::LeftButton);
        mousetest::Move(w, to, Qt::LeftButton);
        mousetest::Release(w, to);
        break;
      }
      case 2: {
        Log("click");
        const bool zoomed = g_->Zoom();
        mousetest::Click(w, Anywhere());
        if (zoomed && g_->AllowZoom() && !g_->Zoom()) {
          const TTernaryWindow& z = g_->ZoomWindow();
          if (z.Amin != 0 || z.Bmin != 0 || z.Cmin != 0 || z.Amax != 100 || z.Bmax != 100 || z.Cmax != 100)
            return "zooming out left a window of A " + std::to_string(z.Amin) + ".." + std::to_string(z.Amax);
        }
        break;
      }
      case 3: {
        Log("right click");
        const QPoint p = Anywhere();
        mousetest::Move(w, p);
        mousetest::Press(w, p, Qt::RightButton);
        mousetest::Release(w, p, Qt::RightButton);
        break;
      }
      default:
        Log("press outside, release inside");
        mousetest::Press(w, QPoint(-10, -10));
        mousetest::Release(w, Inside());
        break;
    }
    if (!messages.texts.isEmpty()) return "a gesture showed \"" + messages.texts.front().toStdString() + "\"";
    return {};
  }

  std::string Compare(const char* what, const std::vector<std::pair<double, double>>& before) {
    const auto after = Compositions(*g_);
    if (after.size() != before.size()) return std::string(what) + " changed the number of compositions";
    for (std::size_t i = 0; i < before.size(); ++i) {
      const auto [a0, b0] = before[i];
      const auto [a1, b1] = after[i];
      const bool ok = OnTriangle(a0, b0) && a0 != -1
                          ? std::fabs(a1 - a0) < 1e-3 && std::fabs(b1 - b0) < 1e-3
                          : (Same(a0, a1) || (std::isnan(a0) && std::isnan(a1))) &&
                                (Same(b0, b1) || (std::isnan(b0) && std::isnan(b1)));
      if (!ok)
        return std::string(what) + ": composition " + std::to_string(i) + " (" + std::to_string(a0) +
               ", " + std::to_string(b0) + ") came back as (" + std::to_string(a1) + ", " +
               std::to_string(b1) + ")";
    }
    return {};
  }

  std::string UnitRoundTrip() {
    Log("mole/mass round trip");
    const auto before = Compositions(*g_);
    const TCUnits u = g_->CUnits();
    const TCUnits other = u == cuMolPercents || u == cuMolParts ? cuMassPercents : cuMolPercents;
    g_->SetCUnits(other);
    g_->SetCUnits(u);
    return Compare("mole/mass round trip", before);
  }

  std::string OrientationRoundTrip() {
    Log("orientation round trip");
    const auto before = Compositions(*g_);
    const QString name = g_->SubstanceA()->Name();
    const TDataOrientation o = g_->DataOrientation();
    g_->SetDataOrientation(TDataOrientation(r_.Int(0, 5)));
    g_->SetDataOrientation(o);
    if (g_->SubstanceA()->Name() != name) return "an orientation round trip renamed SubstanceA";
    return Compare("orientation round trip", before);
  }

  // One of the things a handler of the scan's progress event (or the user,
  // while the scan lets messages run) may do.
  void MidScanAction() {
    switch (r_.Int(0, 5)) {
      case 0: Property(); break;
      case 1: {
        const int w = r_.Chance(0.1) ? 1 : r_.Int(200, 1200), h = r_.Chance(0.1) ? 1 : r_.Int(150, 900);
        Log("  resize " + std::to_string(w) + "x" + std::to_string(h));
        g_->resize(w, h);
        break;
      }
      case 2:
        Log("  save as BMP");
        g_->SaveToFile(dir_.filePath(QStringLiteral("mid-scan.bmp")));
        break;
      case 3: Log("  temperature unit"); g_->SetTUnits(TTUnits(r_.Int(0, 2))); break;
      case 4: Log("  units"); g_->SetCUnits(TCUnits(r_.Int(0, 3))); break;
      default: Log("  orientation"); g_->SetDataOrientation(TDataOrientation(r_.Int(0, 5))); break;
    }
  }

  std::string MidScan() {
    Log("mid-scan actions");
    g_->SetDrawIsotherms(true);
    g_->SetHotIsotherm(r_.Int(0, 2000));  // the isotherms are computed again
    const int rows[] = {r_.Int(1, 8), r_.Int(8, 25), r_.Int(20, 40)};
    int row = 0, nesting = 0;
    g_->SetOnIsothermCalcStep([&](QObject*) {
      ++row;
      if (nesting < 2 && std::find(std::begin(rows), std::end(rows), row) != std::end(rows)) {
        ++nesting;
        MidScanAction();
        --nesting;
      }
    });
    g_->Repaint();
    g_->SetOnIsothermCalcStep({});
    for (int k = 0; k < 5 && g_->Stale(); ++k) g_->Repaint();
    if (g_->Stale()) return "the control stays stale after the scan";
    const QImage shown = g_->Canvas()->Image()->copy();
    g_->Repaint();
    if (!(shown == g_->Canvas()->Image()->copy())) return "the picture after the scan is not a fresh repaint";
    if (g_->IsoPoints().size() != g_->IsoPointCounts().size()) return "chains and their counts disagree";
    return {};
  }

  std::string RenderAtRandomSize() {
    const int w = r_.Chance(0.3) ? r_.Int(1, 500) : r_.Int(200, 2000);
    const int h = r_.Chance(0.3) ? r_.Int(1, 300) : r_.Int(150, 1200);
    Log("render " + std::to_string(w) + "x" + std::to_string(h));
    TBitmap picture(w, h);
    g_->RenderPicture(picture);
    // The picture's own layout, for the check.
    const TTernaLayout screen = g_->Layout();
    g_->RunLayout(w, h);
    TPoint at;
    const long long stray = StrayPixels(*g_, at, picture.Canvas());
    g_->SetLayout(screen);
    if (stray > 0)
      return std::to_string(stray) + " area-coloured pixels off the triangle of a rendered picture, the first at (" +
             std::to_string(at.X) + ", " + std::to_string(at.Y) + ")";
    return {};
  }

  void Log(std::string line) { log_.Add(step_, std::move(line)); }
  std::string History() const { return log_.Text(); }

  TRandom r_;
  TStepLog log_;
  QTemporaryDir dir_;
  std::unique_ptr<TTernagram> g_;
  int step_ = -1;
};

}  // namespace

TEST(TernagramRandom, InvariantsHoldUnderRandomHostDataMouseAndUnits) {
  const std::uint64_t seed = EnvNumber("PD_ROBUSTNESS_SEED", kDefaultSeed);
  const int iterations = int(EnvNumber("PD_ROBUSTNESS_ITERATIONS", kDefaultIterations));
  const int first = int(EnvNumber("PD_ROBUSTNESS_FIRST", 0));
  const bool verbose = EnvNumber("PD_ROBUSTNESS_VERBOSE", 0) != 0;
  std::printf("ternagram random run: PD_ROBUSTNESS_SEED=%llu, iterations %d..%d\n",
              static_cast<unsigned long long>(seed), first, first + iterations - 1);
  const auto start = std::chrono::steady_clock::now();
  int failures = 0;
  long long steps = 0;
  for (int i = first; i < first + iterations && failures < 5; ++i) {
    Iteration it(IterationSeed(seed, i), verbose);
    const std::string broken = it.Run();
    steps += it.Steps();
    if (!broken.empty()) {
      ++failures;
      ADD_FAILURE() << "iteration " << i << " (replay: PD_ROBUSTNESS_SEED=" << seed
                    << " PD_ROBUSTNESS_FIRST=" << i << " PD_ROBUSTNESS_ITERATIONS=1): " << broken;
    }
  }
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("ternagram random run: %lld steps in %.1f s, %d failing iterations\n", steps, seconds, failures);
}
