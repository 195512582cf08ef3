// The binary control driven at random the way hosts and users can drive
// it: faulty host data (NaN, infinities, huge values, separators anywhere,
// LastIndex past the points, long runs), random area tables, limits and
// properties, sizes from nothing to very large, real Qt mouse events
// (moves, drags, clicks while zoomed, right presses, outside the control),
// exports to good and bad paths, and the public drawing steps on a host's
// own canvas with any layout. After every step the invariants hold:
//   - no area colour outside the plot but in the legend's swatches;
//   - inverting twice and a unit round trip give back every value on the
//     axis (within rounding) and leave every other value as it was;
//   - zooming out restores the saved window;
//   - no gesture shows a message;
//   - every exported file decodes at its size.
//
// The run is seeded and prints its seed. Environment:
//   PD_ROBUSTNESS_SEED        run seed (default fixed, so CI is repeatable)
//   PD_ROBUSTNESS_ITERATIONS  number of iterations (default: the CI size)
//   PD_ROBUSTNESS_FIRST       first iteration; with ITERATIONS=1 it replays
//                             one failing iteration alone
//   PD_ROBUSTNESS_MAX_FAILURES  stop after this many failing iterations (5)
//   PD_ROBUSTNESS_VERBOSE     1: print every step
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "app/sample_system.h"
#include "diagram/mouse_test_support.h"
#include "message_collector.h"
#include "robustness/robustness_support.h"

using namespace robustness;
using namespace binary;

namespace {

constexpr std::uint64_t kDefaultSeed = 0x5EED2026;
constexpr int kDefaultIterations = 50;  // about 15 s on the 2-core CI machine
constexpr int kStepsPerIteration = 30;

// --- What one iteration remembers to compare after a round trip -------------

bool SameDouble(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }
bool SameFloat(float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0; }

struct TSnapshot {
  std::vector<double> C, T;
  std::vector<float> AreaC, AreaT;
  bool Marked = false;
  double MarkedA = 0, MarkedT = 0;
  double LowC = 0, HighC = 0;
  QString NameA, NameB;
  float MassA = 0, MassB = 0;
};

TSnapshot Take(const TBinagram& g) {
  TSnapshot s;
  const int n = std::min<int>(g.CurveLastIndex() + 2, int(g.CurveC().size()));
  s.C.assign(g.CurveC().begin(), g.CurveC().begin() + n);
  s.T.assign(g.CurveT().begin(), g.CurveT().begin() + std::min<int>(n, int(g.CurveT().size())));
  for (int i = 0; i < std::clamp(g.Areas(), 0, MaxAreas); ++i) {
    s.AreaC.push_back(g.AreaList()[i].C);
    s.AreaT.push_back(g.AreaList()[i].T);
  }
  s.Marked = g.MarkMode() && g.MarkedPoint().Visible;
  s.MarkedA = g.MarkedPoint().A;
  s.MarkedT = g.MarkedPoint().T;
  s.LowC = g.LowCLimit();
  s.HighC = g.HighCLimit();
  s.NameA = g.SubstanceA()->Name();
  s.NameB = g.SubstanceB()->Name();
  s.MassA = g.SubstanceA()->MolMass;
  s.MassB = g.SubstanceB()->MolMass;
  return s;
}

bool OnAxis(double c, double scale = 100) { return c >= 0 && c <= scale; }

// A value on the axis came back within tol; any other value is untouched.
std::string CompareComposition(const char* what, int i, double before, double after, double tol,
                               double scale = 100) {
  if (OnAxis(before, scale) ? std::fabs(after - before) <= tol : SameDouble(after, before))
    return {};
  return std::string(what) + "[" + std::to_string(i) + "] " +
         QString::number(before, 'g', 17).toStdString() + " came back as " +
         QString::number(after, 'g', 17).toStdString();
}

// --- One iteration ------------------------------------------------------------

class Iteration {
 public:
  Iteration(std::uint64_t seed, const QString& exportDir, bool verbose)
      : r_(seed), dir_(exportDir), log_(verbose) {}

  // Runs the steps; returns the first broken invariant, or "".
  std::string Run() {
    MessageCollector hostMessages;  // a host's faulty values may be told about
    g_ = std::make_unique<TBinagram>();
    g_->SetOnMarkPoint([this](QObject*) { ++Stats.Marks; });
    g_->SetOnZoomIn([this](QObject*) { ++Stats.ZoomIns; });
    if (r_.Chance(0.5)) {
      Log("sample system");
      LoadSampleSystem(*g_);
    } else {
      HostCurves();
      HostAreas();
      g_->SetDrawSplines(r_.Chance(0.8));
      g_->SetDrawAreas(r_.Chance(0.8));
    }
    Resize();
    g_->Repaint();
    for (step_ = 0; step_ < kStepsPerIteration; ++step_) {
      MessageCollector messages;
      std::string broken = Step(messages);
      if (broken.empty()) broken = CheckPicture();
      if (!broken.empty()) return broken + "\n  after the steps:\n" + History();
      Stats.Zoomed += g_->Zooming();
      Stats.Unframed += g_->PlotWidth() == 120;
    }
    return {};
  }

  long long Steps() const { return step_; }

  // What the run went through, to judge its reach.
  struct TStats {
    long long ZoomIns = 0, Zoomed = 0, Marks = 0, Unframed = 0, Exports = 0;
    void Add(const TStats& o) {
      ZoomIns += o.ZoomIns, Zoomed += o.Zoomed, Marks += o.Marks, Unframed += o.Unframed;
      Exports += o.Exports;
    }
  } Stats;

 private:
  using Action = std::string (Iteration::*)(MessageCollector&);

  std::string Step(MessageCollector& messages) {
    struct Weighted {
      int weight;
      Action action;
    };
    static const Weighted actions[] = {
        {3, &Iteration::StepHostCurves},
        {3, &Iteration::StepHostAreas},
        {5, &Iteration::StepHostLimits},
        {6, &Iteration::StepHostProperty},
        {2, &Iteration::StepHostMarkedPoint},
        {4, &Iteration::StepResize},
        {14, &Iteration::StepMouse},
        {6, &Iteration::StepZoomIn},
        {3, &Iteration::StepInvertTwice},
        {3, &Iteration::StepCompositionRoundTrip},
        {3, &Iteration::StepTemperatureRoundTrip},
        {2, &Iteration::StepExport},
        {2, &Iteration::StepHostDraws},
        {2, &Iteration::StepCanvas},
    };
    int total = 0;
    for (const Weighted& a : actions) total += a.weight;
    int pick = r_.Int(0, total - 1);
    for (const Weighted& a : actions) {
      if (pick < a.weight) return (this->*a.action)(messages);
      pick -= a.weight;
    }
    return {};
  }

  // --- The picture's invariant ----------------------------------------------

  std::string CheckPicture() {
    if (hostLayout_) {
      g_->Repaint();
      hostLayout_ = false;
    }
    mousetest::Settle(*g_);
    if (!g_->Painted()) return "the paint did not complete";
    const TStrayPixels stray = StrayAreaPixels(*g_->Canvas(), *g_);
    if (stray.Count > 0) return stray.Describe() + " on the " + SizeText();
    return {};
  }

  // --- Host data --------------------------------------------------------------

  void HostCurves() {
    TSplinesData d;
    const int n = r_.Chance(0.1) ? 0 : r_.Int(1, r_.Chance(0.2) ? 400 : 60);
    const double lo = g_->LowTLimit() - 200, hi = g_->HighTLimit() + 200;
    for (int i = 0; i < n; ++i) {
      if (i == 0 || r_.Chance(0.12))
        d.Points.push_back({-1, r_.Chance(0.8) ? -1.0f : float(r_.Value(lo, hi))});
      else
        d.Points.push_back({float(r_.Value(0, 100)), float(r_.Value(lo, hi))});
    }
    const int last = n - 1;
    d.LastIndex = std::uint16_t(r_.Chance(0.8) ? std::max(last, 0) : r_.Int(0, 65535));
    Log("curves: " + std::to_string(n) + " points, LastIndex " + std::to_string(d.LastIndex));
    g_->SetSplinesData(d);
  }

  QString RandomText(int maxLength) {
    static const char16_t* pieces[] = {
        u"Liquid",  u" + ",          u"Mullite ss", u"α",  u"Жидкость", u"液相", u"\U0001F525",
        u"e\u0301", u"\u05D0\u05D1", u"\t",         u"\n", u" ",        u"W",    u"%s%d",
        u"&&"};
    QString t;
    const int n = r_.Int(0, maxLength);
    while (t.size() < n) t += QString::fromUtf16(r_.Pick(pieces));
    return t;
  }

  void HostAreas() {
    for (int i = 0; i < MaxAreas; ++i) {
      if (!r_.Chance(0.7)) continue;
      TPhaseArea a;
      a.Identifier = RandomText(r_.Chance(0.1) ? 60 : 20);
      a.TwoPhase = std::uint8_t(r_.Pick({0, 0, 1, 1, 255}));
      a.C = float(r_.Value(0, 100));
      a.T = float(r_.Value(g_->LowTLimit(), g_->HighTLimit()));
      g_->AreaList().Put(r_.Chance(0.05) ? r_.Int(-3, 20) : i, a);
    }
    const int areas = r_.Int(-3, 20);
    Log("areas: " + std::to_string(areas));
    g_->SetAreas(areas);
  }

  std::string StepHostCurves(MessageCollector&) {
    HostCurves();
    return {};
  }
  std::string StepHostAreas(MessageCollector&) {
    HostAreas();
    return {};
  }

  // A valid temperature window of the current unit, little more than the
  // smallest span, set in the order the setters accept.
  void HostValidWindow() {
    const double min = g_->TUnits() == tuF ? 32 : g_->TUnits() == tuK ? 273.15 : 0;
    const double max = g_->TUnits() == tuF ? 5432 : g_->TUnits() == tuK ? 3273.15 : 3000;
    const double span = r_.Chance(0.5) ? 100 : r_.Real(100, 400);
    const double low = r_.Chance(0.2)   ? min
                       : r_.Chance(0.2) ? max - span
                                        : r_.Real(min, max - span);
    Log("temperature window " + QString::number(low, 'g', 17).toStdString() + " + " +
        QString::number(span, 'g', 17).toStdString());
    if (low < g_->LowTLimit()) {
      g_->SetLowTLimit(low);
      g_->SetHighTLimit(low + span);
    } else {
      g_->SetHighTLimit(low + span);
      g_->SetLowTLimit(low);
    }
  }

  std::string StepHostLimits(MessageCollector&) {
    if (r_.Chance(0.3)) {
      HostValidWindow();
      return {};
    }
    const int which = r_.Int(0, 3);
    const double v = which < 2 ? r_.Value(-20, 120) : r_.Value(-100, 5600);
    static const char* names[] = {"LowCLimit", "HighCLimit", "LowTLimit", "HighTLimit"};
    Log(std::string(names[which]) + " := " + QString::number(v, 'g', 17).toStdString() +
        (g_->Zooming() ? " (zoomed)" : ""));
    switch (which) {
      case 0:
        g_->SetLowCLimit(v);
        break;
      case 1:
        g_->SetHighCLimit(v);
        break;
      case 2:
        g_->SetLowTLimit(v);
        break;
      default:
        g_->SetHighTLimit(v);
        break;
    }
    return {};
  }

  TColor PaperColour() {
    // Any colour but an area's: a paper in an area colour would be the
    // host's own choice to show that colour everywhere.
    for (;;) {
      const TColor c = r_.Chance(0.5) ? r_.Pick({clBtnFace, clSilver, clWhite, clBlack, clInfoBk})
                                      : TColor(r_.Next() & 0xFFFFFF);
      if (AreaIndexOfColor(c) < 0) return c;
    }
  }

  float MolarMass() {
    switch (r_.Int(0, 9)) {
      case 0:
        return 0;
      case 1:
        return -float(r_.Real(0, 100));
      case 2:
        return std::numeric_limits<float>::quiet_NaN();
      case 3:
        return r_.Chance(0.5) ? 1e30f : 1e-30f;
      default:
        return float(r_.Real(10, 500));
    }
  }

  std::string StepHostProperty(MessageCollector&) {
    TBinagram& g = *g_;
    const int which = r_.Int(0, 21);
    Log("property " + std::to_string(which));
    switch (which) {
      case 0:
        g.SetAllowZoom(r_.Chance(0.7));
        break;
      case 1:
        g.SetCAxisStep(r_.Int(-5, 30));
        break;
      case 2:
        g.SetCoPhasesTable(r_.Chance(0.6));
        break;
      case 3:
        g.SetGridType(r_.Chance(0.5) ? gtOverAllScale : gtOutsideScale);
        break;
      case 4:
        g.SetLegend(r_.Chance(0.7));
        break;
      case 5:
        g.SetMarkMode(r_.Chance(0.6));
        break;
      case 6:
        g.SetMouseGrid(r_.Chance(0.5));
        break;
      case 7:
        g.SetTAxisStep(r_.Chance(0.8) ? r_.Pick({10, 25, 50, 100, 250}) : r_.Int(-100, 100000));
        break;
      case 8:
        g.SetTitle(r_.Chance(0.05) ? QString(r_.Int(1000, 20000), QLatin1Char('W'))
                                   : RandomText(40));
        break;
      case 9:
        g.SetValuesTable(r_.Chance(0.6));
        break;
      case 10:
        g.SetBorder(r_.Chance(0.5));
        break;
      case 11:
        g.SetPaperColor(PaperColour());
        break;
      case 12:
        g.SetDrawSplines(r_.Chance(0.8));
        break;
      case 13:
        g.SetDrawAreas(r_.Chance(0.8));
        break;
      case 14:
        g.SetGraphKind(r_.Chance(0.5) ? gkHorizontal : gkVertical);
        break;
      case 15:
        g.SubstanceA()->SetName(RandomText(30));
        break;
      case 16:
        g.SubstanceB()->SetName(RandomText(30));
        break;
      case 17:
        g.SubstanceA()->MolMass = MolarMass();
        break;
      case 18:
        g.SubstanceB()->MolMass = MolarMass();
        break;
      case 19:
        g.SetCUnits(TCUnits(r_.Int(0, 3)));
        break;
      case 20:
        g.SetDataOrientation(r_.Chance(0.5) ? doDirect : doInversed);
        break;
      default:
        g.SetTUnits(TTUnits(r_.Int(0, 2)));
        break;
    }
    return {};
  }

  std::string StepHostMarkedPoint(MessageCollector&) {
    TFullDataPoint& m = g_->MarkedPoint();
    m.Visible = r_.Chance(0.7);
    m.A = r_.Value(0, g_->CompositionScale());
    m.T = r_.Value(g_->LowTLimit(), g_->HighTLimit());
    m.CoPhases = std::uint8_t(r_.Int(0, 3));
    m.Phase1Value = r_.Value(0, 100);
    m.Phase2Value = r_.Value(0, 100);
    m.Phase1Ratio = r_.Value(0, 100);
    m.Phase2Ratio = r_.Value(0, 100);
    Log("marked point A " + QString::number(m.A).toStdString());
    g_->Invalidate();
    return {};
  }

  void Resize() {
    int w = 469, h = 322;
    switch (r_.Int(0, 9)) {
      case 0:
        w = r_.Int(0, 130), h = r_.Int(0, 130);
        break;
      case 1:
        w = r_.Int(330, 345), h = r_.Int(300, 330);
        break;  // plot about 120 wide
      case 2:
        w = r_.Int(230, 250), h = r_.Int(220, 400);
        break;  // without legend column
      case 3:
        w = r_.Int(1200, 2600), h = r_.Int(800, 1500);
        break;
      case 4:
        w = r_.Chance(0.5) ? 3000 : r_.Int(0, 5), h = w > 5 ? r_.Int(0, 5) : 2000;
        break;
      case 5:
        // Very large, but bounded: each of the three pictures of the paint
        // takes 48 MB at this size.
        if (r_.Chance(0.25)) w = 4000, h = 3000;
        break;
      default:
        w = r_.Int(200, 1200), h = r_.Int(150, 900);
        break;
    }
    Log("resize " + std::to_string(w) + "x" + std::to_string(h));
    g_->resize(w, h);
  }

  std::string StepResize(MessageCollector&) {
    Resize();
    if (r_.Chance(0.5)) g_->Repaint();
    return {};
  }

  // --- The mouse ----------------------------------------------------------------

  QPoint RandomPoint() {
    const TBinaLayout& l = g_->Layout();
    switch (r_.Int(0, 9)) {
      case 0:
        return QPoint(r_.Int(-50, g_->width() + 50), r_.Int(-50, g_->height() + 50));
      case 1:
        return QPoint(r_.Int(-100000, 100000), r_.Int(-100000, 100000));
      case 2:  // on or next to an edge of the plot
        return QPoint(
            r_.Chance(0.5) ? l.PlotLeft + r_.Int(-3, 3) : l.PlotLeft + l.PlotWidth + r_.Int(-3, 3),
            r_.Int(l.PlotTop - 3, l.PlotTop + l.PlotHeight + 3));
      case 3:
        return QPoint(
            r_.Int(l.PlotLeft - 3, l.PlotLeft + l.PlotWidth + 3),
            r_.Chance(0.5) ? l.PlotTop + r_.Int(-3, 3) : l.PlotTop + l.PlotHeight + r_.Int(-3, 3));
      default:
        return QPoint(r_.Int(l.PlotLeft, l.PlotLeft + std::max(l.PlotWidth, 0)),
                      r_.Int(l.PlotTop, l.PlotTop + std::max(l.PlotHeight, 0)));
    }
  }

  static std::string Text(QPoint p) {
    return "(" + std::to_string(p.x()) + ", " + std::to_string(p.y()) + ")";
  }

  // A left press while zoomed leaves the zoom: it must give back the saved
  // window exactly. Every gesture: no message.
  std::string Press(QPoint p, Qt::MouseButton b, MessageCollector& messages) {
    const bool leaves = b == Qt::LeftButton && g_->Zooming() && g_->AllowZoom() && g_->Painted();
    const double saved[4] = {g_->SavedLowCLimit(), g_->SavedHighCLimit(), g_->SavedLowTLimit(),
                             g_->SavedHighTLimit()};
    mousetest::Press(g_.get(), p, b);
    if (leaves) {
      const double now[4] = {g_->LowCLimit(), g_->HighCLimit(), g_->LowTLimit(), g_->HighTLimit()};
      if (g_->Zooming()) return "a left press while zoomed did not leave the zoom";
      for (int i = 0; i < 4; ++i)
        if (!SameDouble(now[i], saved[i]))
          return "zoom-out gave " + Window(now) + " for the saved window " + Window(saved);
    }
    return NoMessage(messages, "press");
  }

  static std::string Window(const double (&w)[4]) {
    auto n = [](double v) { return QString::number(v, 'g', 17).toStdString(); };
    return "C " + n(w[0]) + ".." + n(w[1]) + ", T " + n(w[2]) + ".." + n(w[3]);
  }

  static std::string NoMessage(const MessageCollector& messages, const char* gesture) {
    if (messages.texts.isEmpty()) return {};
    return std::string("the ") + gesture + " showed \"" +
           messages.texts.join("\" \"").toStdString() + "\"";
  }

  std::string StepMouse(MessageCollector& messages) {
    if (r_.Chance(0.3)) mousetest::Settle(*g_);  // or act on a pending repaint
    const QPoint p = RandomPoint();
    switch (r_.Int(0, 6)) {
      case 0:
      case 1: {
        Log("move " + Text(p));
        mousetest::Move(g_.get(), p);
        return NoMessage(messages, "move");
      }
      case 2: {
        Log("left click " + Text(p) + (g_->Zooming() ? " while zoomed" : ""));
        std::string broken = Press(p, Qt::LeftButton, messages);
        if (!broken.empty()) return broken;
        mousetest::Release(g_.get(), p);
        return NoMessage(messages, "left click");
      }
      case 3: {
        Log("right press and release " + Text(p));
        mousetest::Move(g_.get(), p);
        std::string broken = Press(p, Qt::RightButton, messages);
        if (!broken.empty()) return broken;
        if (r_.Chance(0.3)) mousetest::Move(g_.get(), RandomPoint(), Qt::RightButton);
        mousetest::Release(g_.get(), r_.Chance(0.8) ? p : RandomPoint(), Qt::RightButton);
        return NoMessage(messages, "right click");
      }
      case 4: {
        Log("middle click " + Text(p));
        std::string broken = Press(p, Qt::MiddleButton, messages);
        if (!broken.empty()) return broken;
        mousetest::Release(g_.get(), p, Qt::MiddleButton);
        return NoMessage(messages, "middle click");
      }
      default:
        return Drag(RandomPoint(), RandomPoint(), messages);
    }
  }

  std::string Drag(QPoint from, QPoint to, MessageCollector& messages) {
    Log("drag " + Text(from) + " -> " + Text(to) + (g_->Zooming() ? " while zoomed" : ""));
    std::string broken = Press(from, Qt::LeftButton, messages);
    if (!broken.empty()) return broken;
    const int moves = r_.Int(0, 6);
    auto between = [&](int a, int b, int i) { return int(a + (static_cast<long long>(b) - a) * i / moves); };
    for (int i = 1; i <= moves; ++i)
      mousetest::Move(g_.get(), QPoint(between(from.x(), to.x(), i), between(from.y(), to.y(), i)),
                      Qt::LeftButton);
    if (r_.Chance(0.1)) {  // a second press before the release
      broken = Press(to, r_.Chance(0.5) ? Qt::LeftButton : Qt::RightButton, messages);
      if (!broken.empty()) return broken;
    }
    mousetest::Release(g_.get(), to);
    return NoMessage(messages, "drag");
  }

  // A drag inside the plot, to spend time zoomed.
  std::string StepZoomIn(MessageCollector& messages) {
    mousetest::Settle(*g_);
    const TBinaLayout& l = g_->Layout();
    if (l.PlotWidth < 4 || l.PlotHeight < 4) return StepResize(messages);
    auto inside = [&] {
      return QPoint(r_.Int(l.PlotLeft + 1, l.PlotLeft + l.PlotWidth - 1),
                    r_.Int(l.PlotTop + 1, l.PlotTop + l.PlotHeight - 1));
    };
    if (g_->Zooming()) {
      const QPoint p = inside();
      Log("zoom out by a click " + Text(p));
      std::string broken = Press(p, Qt::LeftButton, messages);
      if (!broken.empty()) return broken;
      mousetest::Release(g_.get(), p);
      mousetest::Settle(*g_);
    }
    return Drag(inside(), inside(), messages);
  }

  // --- Round trips --------------------------------------------------------------

  std::string StepInvertTwice(MessageCollector& messages) {
    if (g_->Zooming()) return {};
    const TSnapshot before = Take(*g_);
    const TDataOrientation o = g_->DataOrientation();
    Log("invert twice");
    g_->SetDataOrientation(o == doDirect ? doInversed : doDirect);
    g_->SetDataOrientation(o);
    const TSnapshot after = Take(*g_);
    std::string broken = CompareCompositions(before, after, 1e-12, 1e-5, g_->CompositionScale());
    if (broken.empty() &&
        (after.NameA != before.NameA || after.NameB != before.NameB ||
         !SameFloat(after.MassA, before.MassA) || !SameFloat(after.MassB, before.MassB)))
      broken = "the substances did not come back";
    if (broken.empty() &&
        (!SameDouble(after.LowC, before.LowC) || !SameDouble(after.HighC, before.HighC)))
      broken = "the composition window changed";
    return broken.empty() ? NoMessage(messages, "orientation switch")
                          : "inverting twice: " + broken;
  }

  std::string CompareCompositions(const TSnapshot& a, const TSnapshot& b, double tol,
                                  double floatTol, double scale) {
    if (a.C.size() != b.C.size() || a.AreaC.size() != b.AreaC.size())
      return "the data changed size";
    for (std::size_t i = 0; i < a.C.size(); ++i) {
      std::string s = CompareComposition("curve C", int(i), a.C[i], b.C[i], tol);
      if (!s.empty()) return s;
    }
    for (std::size_t i = 0; i < a.AreaC.size(); ++i) {
      std::string s = CompareComposition("area C", int(i), a.AreaC[i], b.AreaC[i], floatTol);
      if (!s.empty()) return s;
    }
    if (a.Marked)
      return CompareComposition("marked A", 0, a.MarkedA, b.MarkedA, tol * scale, scale);
    return {};
  }

  std::string StepCompositionRoundTrip(MessageCollector& messages) {
    if (g_->Zooming()) return {};
    const TCUnits from = g_->CUnits();
    const TCUnits to = TCUnits((int(from) + r_.Int(1, 3)) % 4);
    const TSnapshot before = Take(*g_);
    const double scale = g_->CompositionScale();
    Log("composition units " + std::to_string(from) + " -> " + std::to_string(to) + " and back");
    g_->SetCUnits(to);
    g_->SetCUnits(from);
    const TSnapshot after = Take(*g_);
    // Rounding grows with the ratio of the molar masses: a conversion there
    // and back stretches an error by up to that ratio.
    // Without usable masses nothing converts: the values stay exactly.
    const double ma = before.MassA, mb = before.MassB;
    const double ratio = ma > 0 && mb > 0 ? std::max(ma / mb, mb / ma) : 1;
    std::string broken;
    if (std::isfinite(ratio) && ratio <= 1e4) {
      broken = CompareCompositions(before, after, 1e-12 * ratio, 1e-5 * ratio, scale);
      if (broken.empty() && (std::fabs(after.LowC - before.LowC) > 1e-10 * ratio ||
                             std::fabs(after.HighC - before.HighC) > 1e-10 * ratio))
        broken = "the composition window did not come back";
    } else {
      // Only the values off the axis are certain to come back.
      broken = CompareCompositions(before, after, 1e300, 1e300, scale);
    }
    return broken.empty() ? NoMessage(messages, "unit switch") : "composition units: " + broken;
  }

  std::string StepTemperatureRoundTrip(MessageCollector& messages) {
    if (g_->Zooming()) return {};
    const TTUnits from = g_->TUnits();
    const TTUnits to = TTUnits((int(from) + r_.Int(1, 2)) % 3);
    const TSnapshot before = Take(*g_);
    Log("temperature units " + std::to_string(from) + " -> " + std::to_string(to) + " and back");
    g_->SetTUnits(to);
    std::string broken = ValidWindow();
    g_->SetTUnits(from);
    if (broken.empty()) broken = ValidWindow();
    const TSnapshot after = Take(*g_);
    for (std::size_t i = 0; broken.empty() && i < before.T.size() && i < before.C.size(); ++i) {
      const double t = before.T[i], back = after.T[i];
      // Points on the axis convert and come back within rounding (beyond
      // 1e200 degrees the conversion may overflow); the others stay.
      const bool converts = int(i) <= g_->CurveLastIndex() && OnAxis(before.C[i]);
      bool ok = SameDouble(back, t);
      if (converts)
        ok = !std::isfinite(t) || std::fabs(t) > 1e200 ||
             std::fabs(back - t) <= 1e-9 * Magnitude(t);
      if (!ok)
        broken = "curve T[" + std::to_string(i) + "] " + QString::number(t, 'g', 17).toStdString() +
                 " came back as " + QString::number(back, 'g', 17).toStdString();
    }
    for (std::size_t i = 0; broken.empty() && i < before.AreaT.size(); ++i) {
      const float t = before.AreaT[i], back = after.AreaT[i];
      if (std::isfinite(t) && std::fabs(t) < 1e30f &&
          std::fabs(double(back) - t) > 1e-6 * Magnitude(t))
        broken = "area T[" + std::to_string(i) + "] " + std::to_string(t) + " came back as " +
                 std::to_string(back);
    }
    return broken.empty() ? NoMessage(messages, "unit switch") : "temperature units: " + broken;
  }

  // The size of t and of its value in any other unit: the rounding of a
  // conversion there and back is relative to the larger.
  static double Magnitude(double t) { return 2 * std::fabs(t) + 600; }

  std::string ValidWindow() {
    const double lo = g_->LowTLimit(), hi = g_->HighTLimit();
    const double min = g_->TUnits() == tuF ? 32 : g_->TUnits() == tuK ? 273.15 : 0;
    const double max = g_->TUnits() == tuF ? 5432 : g_->TUnits() == tuK ? 3273.15 : 3000;
    if (lo >= min - 1e-9 && hi <= max + 1e-9 && hi - lo >= 100 - 1e-9) return {};
    return "the temperature window became " + QString::number(lo, 'g', 17).toStdString() + ".." +
           QString::number(hi, 'g', 17).toStdString() + " in unit " + std::to_string(g_->TUnits());
  }

  // --- Export, the host's own drawing, the canvas ---------------------------------

  std::string StepExport(MessageCollector&) {
    const bool mono = r_.Chance(0.3);
    const int kind = r_.Int(0, 4);
    if (kind >= 2) {
      const QString path = dir_ + QStringLiteral("/export%1.bmp").arg(exports_++);
      Log("export to " + path.toStdString() + (mono ? " (monochrome)" : ""));
      QString error;
      if (!g_->SaveToBitmap(path, mono, &error))
        return "the export to a good path failed: " + error.toStdString();
      const QImage image(path);
      const bool column = g_->Legend() || g_->CoPhasesTable() || g_->ValuesTable();
      const QSize expected = column ? QSize(600, 386) : QSize(443, 400);
      if (image.isNull() || image.size() != expected)
        return "the exported file decodes as " + std::to_string(image.width()) + "x" +
               std::to_string(image.height());
      QFile::remove(path);
      ++Stats.Exports;
      // The picture the export writes keeps its colours inside its plot.
      TBitmap picture;
      g_->RenderPrintBitmap(picture);
      const TStrayPixels stray = StrayAreaPixels(*picture.Canvas(), *g_);
      g_->Repaint();
      if (stray.Count > 0) return "exported picture: " + stray.Describe();
      return {};
    }
    static const QString bad[] = {QStringLiteral("/no/such/folder/diagram.bmp"), QString(),
                                  QStringLiteral("")};
    QString path = kind == 0 ? dir_ : bad[r_.Int(0, 2)];
    if (path.isNull()) path = dir_ + QStringLiteral("/missing/diagram.bmp");
    Log("export to a bad path \"" + path.toStdString() + "\"");
    QString error;
    if (g_->SaveToBitmap(path, mono, &error)) return "the export to a bad path succeeded";
    if (error.isEmpty()) return "the failed export gave no reason";
    return {};
  }

  int ExtremeInt() {
    return r_.Pick({INT_MIN, INT_MIN + 1, -1000000, -1, 0, 1, 120, 1000000, INT_MAX - 1, INT_MAX});
  }

  std::string StepHostDraws(MessageCollector&) {
    TBinagram& g = *g_;
    if (r_.Chance(0.5)) {
      const int w = r_.Chance(0.5) ? ExtremeInt() : r_.Int(-500, 5000);
      const int h = r_.Chance(0.5) ? ExtremeInt() : r_.Int(-500, 5000);
      Log("RunLayout(" + std::to_string(w) + ", " + std::to_string(h) + ")");
      g.RunLayout(w, h);
    } else {
      auto v = [&] { return r_.Chance(0.4) ? ExtremeInt() : r_.Int(-300, 600); };
      const TBinaLayout l{v(), v(), v(), v(), v()};
      Log("SetLayout(" + std::to_string(l.PlotLeft) + ", " + std::to_string(l.PlotTop) + ", " +
          std::to_string(l.PlotWidth) + ", " + std::to_string(l.PlotHeight) + ", " +
          std::to_string(l.LegendWidth) + ")");
      g.SetLayout(l);
    }
    TBitmap b(r_.Int(0, 300), r_.Int(0, 300));
    TCanvas& c = *b.Canvas();
    if (g.AllowZoom() && g.Zooming()) g.ComputeZoomWindow();
    g.DrawFrame(c);
    g.DrawCurves(c);
    g.FillAreas(c);
    g.DrawAxes(c, clWhite);
    g.DrawTitle(c, clWhite);
    g.DrawCAxisCaption(c, clWhite);
    g.DrawLegend(c);
    g.DrawValuesTable(c);
    g.DrawCoPhasesTable(c);
    (void)g.CompositionMap().transformRounded(r_.Value(0, 100));
    (void)g.TemperatureMap().transformRounded(r_.Value(0, 3000));
    // The mouse now works with the host's layout until the next paint.
    hostLayout_ = true;
    if (r_.Chance(0.5)) mousetest::Move(g_.get(), RandomPoint());
    return {};
  }

  std::string StepCanvas(MessageCollector&) {
    TBitmap b(r_.Int(0, 200), r_.Int(0, 200));
    TCanvas& c = *b.Canvas();
    c.Font.Size = r_.Chance(0.4) ? r_.Pick({-5, 0, 1000, 5000, 30000}) : r_.Int(1, 40);
    c.Font.Style = unsigned(r_.Int(0, 7));
    const QString text =
        r_.Chance(0.4) ? QString(r_.Int(1000, 100000), QLatin1Char('W')) : RandomText(30);
    Log("canvas: text of " + std::to_string(text.size()) + " at size " +
        std::to_string(c.Font.Size));
    const int w = c.TextWidth(text);
    if (w < 0)
      return "TextWidth " + std::to_string(w) + " for a text of " + std::to_string(text.size());
    c.Brush.Style = r_.Chance(0.8) ? bsSolid : bsClear;
    c.TextOut(r_.Chance(0.5) ? r_.Int(-100, 100) : ExtremeInt(), r_.Int(-100, 100), text);
    c.Pen.Width = r_.Int(-2, 5);
    c.Pen.Mode = r_.Chance(0.5) ? pmCopy : pmNotXor;
    c.MoveTo(ExtremeInt(), ExtremeInt());
    c.LineTo(ExtremeInt(), r_.Int(-10, 10));
    c.Rectangle(ExtremeInt(), ExtremeInt(), ExtremeInt(), ExtremeInt());
    c.Ellipse(r_.Int(-50, 250), r_.Int(-50, 250), r_.Int(-50, 250), r_.Int(-50, 250));
    c.Polygon({{ExtremeInt(), 0},
               {r_.Int(-50, 250), ExtremeInt()},
               {r_.Int(-50, 250), r_.Int(-50, 250)}});
    c.FloodFill(r_.Int(-5, 205), r_.Int(-5, 205), clBlack, r_.Chance(0.5) ? fsBorder : fsSurface);
    c.CopyMode = r_.Pick({BLACKNESS, SRCCOPY, SRCINVERT});
    c.CopyRect(TRect{ExtremeInt(), r_.Int(-10, 10), r_.Int(-10, 300), ExtremeInt()}, c,
               TRect{r_.Int(-10, 300), r_.Int(-10, 300), ExtremeInt(), r_.Int(-10, 300)});
    c.StretchDraw(TRect{r_.Int(-100, 300), r_.Int(-100, 300), r_.Int(-100, 300), r_.Int(-100, 300)},
                  b);
    if (c.Pixel(-1, 0) != clInvalid || c.Pixel(0, b.Height()) != clInvalid)
      return "a pixel outside the bitmap did not read as invalid";
    return {};
  }

  // --- Bookkeeping ----------------------------------------------------------------

  void Log(std::string line) { log_.Add(step_, std::move(line)); }
  std::string History() const { return log_.Text(); }
  std::string SizeText() const {
    return std::to_string(g_->width()) + "x" + std::to_string(g_->height()) + " control (plot " +
           std::to_string(g_->PlotWidth()) + " wide" + (g_->Zooming() ? ", zoomed)" : ")");
  }

  TRandom r_;
  QString dir_;
  TStepLog log_;
  std::unique_ptr<TBinagram> g_;
  int step_ = -1;
  int exports_ = 0;
  bool hostLayout_ = false;
};

}  // namespace

TEST(BinagramRandom, InvariantsHoldUnderRandomHostDataMouseAndExports) {
  const std::uint64_t seed = EnvNumber("PD_ROBUSTNESS_SEED", kDefaultSeed);
  const int iterations = int(EnvNumber("PD_ROBUSTNESS_ITERATIONS", kDefaultIterations));
  const int first = int(EnvNumber("PD_ROBUSTNESS_FIRST", 0));
  const bool verbose = EnvNumber("PD_ROBUSTNESS_VERBOSE", 0) != 0;
  const int maxFailures = int(EnvNumber("PD_ROBUSTNESS_MAX_FAILURES", 5));
  std::printf("binagram random run: PD_ROBUSTNESS_SEED=%llu, iterations %d..%d\n",
              static_cast<unsigned long long>(seed), first, first + iterations - 1);
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());

  const auto start = std::chrono::steady_clock::now();
  int failures = 0;
  long long steps = 0;
  Iteration::TStats stats;
  for (int i = first; i < first + iterations && failures < maxFailures; ++i) {
    if (verbose) std::printf("iteration %d\n", i);
    Iteration it(IterationSeed(seed, i), dir.path(), verbose);
    const std::string broken = it.Run();
    steps += it.Steps();
    stats.Add(it.Stats);
    if (!broken.empty()) {
      ++failures;
      ADD_FAILURE() << "iteration " << i << " (replay: PD_ROBUSTNESS_SEED=" << seed
                    << " PD_ROBUSTNESS_FIRST=" << i << " PD_ROBUSTNESS_ITERATIONS=1): " << broken;
    }
  }
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf(
      "binagram random run: %lld steps in %.1f s, %d failing iterations; %lld zoom-ins, %lld "
      "steps zoomed, %lld marks, %lld steps at the unframed plot width, %lld exports decoded\n",
      steps, seconds, failures, stats.ZoomIns, stats.Zoomed, stats.Marks, stats.Unframed,
      stats.Exports);
}
