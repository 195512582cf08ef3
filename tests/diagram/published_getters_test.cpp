// A host reads every published property of a control through the control's
// own type. A member of the same name in a derived class (a drawing step,
// say) hides the base's getter, and a host's call no longer compiles: the
// checks below are made by the compiler.
#include "diagram/binagram.h"
#include "diagram/ternagram.h"

namespace {

template <class C>
concept ReadsSharedProperties = requires(const C& g) {
  g.Border();
  g.PaperColor();
  g.DrawSplines();
  g.DrawAreas();
  g.Areas();
  g.AllowZoom();
  g.CoPhasesTable();
  g.Legend();
  g.MarkMode();
  g.MouseGrid();
  g.Title();
  g.ValuesTable();
  g.OnMarkPoint();
  g.OnZoomIn();
  g.OnZoomOut();
  g.OnMouseDown();
  g.OnMouseMove();
  g.OnMouseUp();
  g.MarkedPoint();
  g.CursorPoint();
  g.AreaList();
  g.CurveLastIndex();
  g.CompositionScale();
  g.CUnits();
  g.TUnits();
  g.DataOrientation();
  g.GridType();
  g.CursorOnArea();
  g.SubstanceA();
  g.SubstanceB();
  g.HotArea();
  g.DivisionPoint();
  g.DivisionText();
};

template <class C>
concept ReadsBinaryProperties = ReadsSharedProperties<C> && requires(const C& g) {
  g.GraphKind();
  g.HighTLimit();
  g.LowTLimit();
  g.Zooming();
  g.CurveC();
  g.CurveT();
  g.CAxisStep();
  g.LowCLimit();
  g.HighCLimit();
  g.TAxisStep();
  g.CAxisCaption();
  g.PlotLeft();
  g.PlotTop();
  g.PlotWidth();
  g.PlotHeight();
};

template <class C>
concept ReadsTernaryProperties = ReadsSharedProperties<C> && requires(const C& g) {
  g.GraphType();
  g.DrawTPoints();
  g.CurveA();
  g.CurveB();
  g.TCalcMethod();
  g.CoPhases();
  g.DrawIsotherms();
  g.Isotherms();
  g.GridSteps();
  g.HotIsotherm();
  g.HotIsothermColor();
  g.SubstanceC();
  g.Zoom();
  g.OnIsothermCalcStep();
  g.AxisCaption();
  g.TriLeft();
  g.TriTop();
  g.TriSide();
  g.TriHeight();
};

static_assert(ReadsBinaryProperties<TBinagram>, "a published getter of TBinagram is hidden");
static_assert(ReadsTernaryProperties<TTernagram>, "a published getter of TTernagram is hidden");

}  // namespace
