// Diagram documents and the two controls: what a control shows as a
// document, and a document loaded into a control.
#include <QApplication>
#include <QMouseEvent>
#include <algorithm>

#include "app/document.h"
#include "diagram/binagram.h"
#include "diagram/ternagram.h"

namespace {

TDocumentSubstance SubstanceOf(const TSubstance& s, const QString& Name) {
  return {Name, s.MolMass, s.Element, s.ElementAtoms};
}

void SetSubstance(TSubstance& s, const TDocumentSubstance& d) {
  s.SetName(d.Name);
  s.MolMass = d.MolMass;
  s.Element = d.Element;
  s.ElementAtoms = d.ElementAtoms;
}

// The runs of a curve list whose entries with a first value of -1 end a
// run; runs without points are dropped.
std::vector<TDocumentRun> RunsOf(const std::vector<double>& X, const std::vector<double>& Y, int Last) {
  std::vector<TDocumentRun> runs;
  TDocumentRun run;
  const int count = int(std::min(X.size(), Y.size()));
  for (int i = 0; i <= Last && i < count; ++i) {
    if (X[i] == -1) {
      if (!run.empty()) runs.push_back(std::move(run));
      run.clear();
    } else {
      run.emplace_back(X[i], Y[i]);
    }
  }
  if (!run.empty()) runs.push_back(std::move(run));
  return runs;
}

// The runs as the controls keep them: each run behind a separator (-1, -1).
void Flatten(const std::vector<TDocumentRun>& Runs, std::vector<double>& X, std::vector<double>& Y) {
  X.clear();
  Y.clear();
  for (const TDocumentRun& run : Runs) {
    X.push_back(-1);
    Y.push_back(-1);
    for (const auto& [x, y] : run) {
      X.push_back(x);
      Y.push_back(y);
    }
  }
  if (X.empty()) {
    X.push_back(-1);
    Y.push_back(-1);
  }
}

// A zoomed control refuses new units and orientations, so a document is
// loaded into the whole diagram: the control's own gesture leaves the zoom
// (a left click while zoomed), as if the user had clicked.
void LeaveZoom(TCustomControl& Control) {
  Control.Repaint();  // the mouse is ignored until a paint has completed
  const QPointF at(0, 0);
  QMouseEvent press(QEvent::MouseButtonPress, at, Control.mapToGlobal(at), Qt::LeftButton,
                    Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&Control, &press);
  QMouseEvent release(QEvent::MouseButtonRelease, at, Control.mapToGlobal(at), Qt::LeftButton,
                      Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(&Control, &release);
}

// Sets a temperature window through setters that refuse a limit less than
// 100 degrees from the other one: the order is chosen so that neither is
// (the new window itself is at least 100 degrees wide).
template <class SetLow, class SetHigh>
void SetTWindow(double Low, double High, double CurrentLow, SetLow&& setLow, SetHigh&& setHigh) {
  if (High >= CurrentLow + 100) {
    setHigh(High);
    setLow(Low);
  } else {
    setLow(Low);
    setHigh(High);
  }
}

TPlotSettings PlotSettingsOf(const TPhasePlot& g) {
  TPlotSettings d;
  d.Border = g.Border();
  d.PaperColor = g.PaperColor();
  d.DrawSplines = g.DrawSplines();
  d.DrawAreas = g.DrawAreas();
  d.AllowZoom = g.AllowZoom();
  d.Legend = g.Legend();
  d.ValuesTable = g.ValuesTable();
  d.CoPhasesTable = g.CoPhasesTable();
  d.MarkMode = g.MarkMode();
  d.MouseGrid = g.MouseGrid();
  return d;
}

// Set after the kind's own settings and the title; the drawing switches last.
void SetPlotSettings(TPhasePlot& g, const TPlotSettings& d) {
  g.SetBorder(d.Border);
  g.SetPaperColor(d.PaperColor);
  g.SetAllowZoom(d.AllowZoom);
  g.SetLegend(d.Legend);
  g.SetValuesTable(d.ValuesTable);
  g.SetCoPhasesTable(d.CoPhasesTable);
  g.SetMarkMode(d.MarkMode);
  g.SetMouseGrid(d.MouseGrid);
  g.SetDrawSplines(d.DrawSplines);
  g.SetDrawAreas(d.DrawAreas);
}

// What both kinds take from a control alike: units, orientation, title
// and the plot settings.
template <class TDocument, class TControl>
void HeadOf(const TControl& g, TDocument& d) {
  d.CUnits = g.CUnits();
  d.TUnits = g.TUnits();
  d.DataOrientation = g.DataOrientation();
  d.Title = g.Title();
  static_cast<TPlotSettings&>(d) = PlotSettingsOf(g);
}

// The orientation first, then the substances, then the basis of the
// compositions: the orientation exchanges the substances' names and molar
// masses, and a change of basis needs usable molar masses.
template <class TControl, class TDocument>
void LoadHead(TControl& g, const TDocument& d, std::initializer_list<TSubstance*> Substances) {
  g.MarkedPoint().Visible = false;
  g.ForgetCursorReadout();  // the read-out was of the other system
  g.SetDataOrientation(d.DataOrientation);
  std::size_t i = 0;
  for (TSubstance* s : Substances) SetSubstance(*s, d.Substances[i++]);
  g.SetCUnits(d.CUnits);
}

// All 16 area records: the document's, then records with the initial
// names.
template <class TArea, class TPut>
void PutAreas(const std::vector<TArea>& Areas, TPut&& Put) {
  for (int i = 0; i < MaxAreas; ++i) {
    TArea area;
    area.Identifier = DefaultAreaIdentifier(i);
    Put(i, i < int(Areas.size()) ? Areas[std::size_t(i)] : area);
  }
}

}  // namespace

// --- Binary ------------------------------------------------------------------

TDiagramDocument DocumentOf(const TBinagram& g) {
  TDiagramDocument doc;
  doc.Kind = TDiagramKind::Binary;
  TBinaryDocument& d = doc.Binary;
  HeadOf(g, d);
  d.Substances = {SubstanceOf(*g.SubstanceA(), g.SubstanceA()->Name()),
                  SubstanceOf(*g.SubstanceB(), g.SubstanceB()->Name())};
  for (int i = 0; i < std::clamp(g.Areas(), 0, MaxAreas); ++i) d.Areas.push_back(g.AreaList()[i]);
  d.Curves = RunsOf(g.CurveC(), g.CurveT(), g.CurveLastIndex());
  // The whole diagram, not a zoom window.
  d.LowTLimit = g.Zooming() ? g.SavedLowTLimit() : g.LowTLimit();
  d.HighTLimit = g.Zooming() ? g.SavedHighTLimit() : g.HighTLimit();
  d.LowCLimit = g.Zooming() ? g.SavedLowCLimit() : g.LowCLimit();
  d.HighCLimit = g.Zooming() ? g.SavedHighCLimit() : g.HighCLimit();
  d.GraphKind = g.GraphKind();
  d.GridType = g.GridType();
  d.CAxisStep = g.CAxisStep();
  d.TAxisStep = g.TAxisStep();
  return doc;
}

void LoadDocument(TBinagram& g, const TBinaryDocument& d) {
  using namespace binary;
  if (g.Zooming()) LeaveZoom(g);
  // Orientation and units first, so the data go in as they are written.
  LoadHead(g, d, {g.SubstanceA(), g.SubstanceB()});
  if (g.TUnits() != d.TUnits) {
    // The old window converts to the new unit; a window well inside the
    // range of either unit converts without any message.
    static constexpr double lowest[3] = {0, 273.15, 32};
    const double base = lowest[g.TUnits()];
    SetTWindow(base + 500, base + 1000, g.LowTLimit(), [&](double v) { g.SetLowTLimit(v); },
               [&](double v) { g.SetHighTLimit(v); });
    g.SetTUnits(d.TUnits);
  }

  PutAreas(d.Areas, [&](int i, const TPhaseArea& a) { g.AreaList().Put(i, a); });
  g.SetAreas(int(d.Areas.size()));

  std::vector<double> c, t;
  Flatten(d.Curves, c, t);
  g.SetCurvePoints(c, t);

  SetTWindow(d.LowTLimit, d.HighTLimit, g.LowTLimit(), [&](double v) { g.SetLowTLimit(v); },
             [&](double v) { g.SetHighTLimit(v); });
  // A low limit at or above the current high one would be refused.
  if (d.LowCLimit < g.HighCLimit()) {
    g.SetLowCLimit(d.LowCLimit);
    g.SetHighCLimit(d.HighCLimit);
  } else {
    g.SetHighCLimit(d.HighCLimit);
    g.SetLowCLimit(d.LowCLimit);
  }

  g.SetGraphKind(d.GraphKind);
  g.SetGridType(d.GridType);
  g.SetCAxisStep(d.CAxisStep);
  g.SetTAxisStep(d.TAxisStep);
  g.SetTitle(d.Title);
  SetPlotSettings(g, d);
  g.Invalidate();
}

// --- Ternary -----------------------------------------------------------------

TDiagramDocument DocumentOf(const TTernagram& g) {
  TDiagramDocument doc;
  doc.Kind = TDiagramKind::Ternary;
  TTernaryDocument& d = doc.Ternary;
  HeadOf(g, d);
  // While zoomed the corners show the window's compositions; the
  // substances' own names are kept aside.
  auto name = [&](const TSubstance* s) { return g.Zoom() ? s->DisplayName : s->Name(); };
  d.Substances = {SubstanceOf(*g.SubstanceA(), name(g.SubstanceA())),
                  SubstanceOf(*g.SubstanceB(), name(g.SubstanceB())),
                  SubstanceOf(*g.SubstanceC(), name(g.SubstanceC()))};
  for (int i = 0; i < std::clamp(g.Areas(), 0, MaxAreas); ++i) {
    TTernaryArea a = g.AreaList()[i];
    a.TPointCount = std::min<std::uint8_t>(a.TPointCount, MaxTPoints);
    d.Areas.push_back(a);
  }
  d.Curves = RunsOf(g.CurveA(), g.CurveB(), g.UsableCurveLastIndex());
  const ternary::TIsotherm& i = *g.Isotherms();
  d.Isotherms = {i.Color(),    i.Error(),           i.GraphType(), i.Method(), i.MethodStep(),
                 i.Signed(),   i.SignStep(),        i.Simplified(), i.SimplifiedTimes(),
                 i.Smoothed(), i.SmoothedTimes(),   i.Step(),      i.Width()};
  d.GraphType = g.GraphType();
  d.DrawTPoints = g.TTernaplot::DrawTPoints();
  d.DrawIsotherms = g.DrawIsotherms();
  d.TCalcMethod = g.TCalcMethod();
  d.GridSteps = g.GridSteps();
  d.GridType = g.GridType();
  d.HotIsotherm = g.HotIsotherm();
  d.HotIsothermColor = g.HotIsothermColor();
  d.DrawCrystallization = g.DrawCrystallization();
  if (g.MarkMode() && g.MarkedPoint().Visible) d.MarkedPoint = std::pair{g.MarkedPoint().A, g.MarkedPoint().B};
  return doc;
}

void LoadDocument(TTernagram& g, const TTernaryDocument& d) {
  if (g.Zoom()) LeaveZoom(g);
  LoadHead(g, d, {g.SubstanceA(), g.SubstanceB(), g.SubstanceC()});
  g.SetTUnits(d.TUnits);

  PutAreas(d.Areas, [&](int i, const TTernaryArea& a) { g.AreaList()[i] = a; });
  g.SetAreas(int(d.Areas.size()));

  Flatten(d.Curves, g.CurveA(), g.CurveB());
  g.SetCurveLastIndex(int(g.CurveA().size()) - 1);

  ternary::TIsotherm settings;
  const TIsothermSettings& s = d.Isotherms;
  settings.SetColor(s.Color);
  settings.SetError(s.Error);
  settings.SetGraphType(s.GraphType);
  settings.SetMethod(s.Method);
  settings.SetMethodStep(s.MethodStep);
  settings.SetSigned(s.Signed);
  settings.SetSignStep(s.SignStep);
  settings.SetSimplified(s.Simplified);
  settings.SetSimplifiedTimes(s.SimplifiedTimes);
  settings.SetSmoothed(s.Smoothed);
  settings.SetSmoothedTimes(s.SmoothedTimes);
  settings.SetStep(s.Step);
  settings.SetWidth(s.Width);
  g.SetIsotherms(&settings);
  // New T-points: the isotherms are traced again.
  g.Isotherms()->Calculated = false;

  g.SetGraphType(d.GraphType);
  g.SetTCalcMethod(d.TCalcMethod);
  g.SetGridSteps(d.GridSteps);
  g.SetGridType(d.GridType);
  g.SetHotIsotherm(d.HotIsotherm);
  g.SetHotIsothermColor(d.HotIsothermColor);
  g.SetTitle(d.Title);
  SetPlotSettings(g, d);
  g.SetDrawTPoints(d.DrawTPoints);
  g.SetDrawIsotherms(d.DrawIsotherms);
  g.SetDrawCrystallization(d.DrawCrystallization);
  if (d.MarkedPoint && d.MarkMode) g.MarkPoint(d.MarkedPoint->first, d.MarkedPoint->second);
  g.Invalidate();
}
