// Printing and bitmap export with the fixed print layout.
//
// Both render the diagram again into a plain white bitmap whose size does
// not depend on the control's, with the same drawing steps as the screen
// paint and white behind every text, then send it to the printer or a file
// and repaint the control with its screen layout.
#include <QPrinter>
#include <algorithm>
#include <cmath>

#include "diagram/binagram.h"

namespace {
// Height of the plot relative to its width on every picture.
constexpr double kAspect = 0.8660254;

// Under the printed picture: the component, then the project that makes it.
const QString kFooter = PrintFooter(QStringLiteral("Binagram"));
}  // namespace

void TBinagram::RunPrintLayout() {
  TBinaLayout l;
  // The legend column has a fixed width here: the number of areas does not count.
  if (legend_ || coPhasesTable_ || valuesTable_)
    l.LegendWidth = std::min(RoundPixel(std::sqrt(600.0) * std::sqrt(50.0)), 180);
  l.PlotWidth = 480 - l.LegendWidth;
  l.PlotHeight = 280;
  if (280 > RoundPixel(l.PlotWidth * kAspect))
    l.PlotHeight = RoundPixel(l.PlotWidth * kAspect);
  else if (l.PlotWidth > RoundPixel(280 / kAspect))
    l.PlotWidth = RoundPixel(l.PlotHeight / kAspect);
  l.PlotLeft = 60;
  l.PlotTop = 60;
  SetLayout(l);
}

void TBinagram::RenderPrintBitmap(TBitmap& Bitmap) {
  RunPrintLayout();
  const int L = PlotLeft(), T = PlotTop(), W = PlotWidth(), H = PlotHeight();
  Bitmap.SetSize(W + LegendWidth() + 120, H + 120);  // new pixels are white
  TCanvas& c = *Bitmap.Canvas();
  c.Pen = TPen{clBlack, 2, pmCopy};
  c.Brush = TBrush{clWhite, bsSolid};
  c.Polyline({{L, T}, {L + W, T}, {L + W, T + H}, {L, T + H}, {L, T}});

  if (AllowZoom() && Zooming()) ComputeZoomWindow();
  if (DrawSplines()) DrawCurves(c);
  if (DrawAreas()) FillAreas(c);
  DrawAxes(c, clWhite);
  DrawTitle(c, clWhite);
  DrawCAxisCaption(c, clWhite);
  if (Legend() && Areas() > 0) DrawLegend(c);

  // Only a marked point is printed, never the read-out of the moving cursor.
  const bool marked = MarkMode() && MarkedPoint().Visible;
  if (ValuesTable() && marked) DrawValuesTable(c);
  if (CoPhasesTable() && marked) {
    // The table remembers whether it is shown on screen, to erase it there
    // later; the picture must neither see nor change that: a table hidden
    // here (while zoomed) would otherwise "erase" a paper-coloured block
    // onto the white bitmap.
    const bool shownOnScreen = coPhasesShown_;
    coPhasesShown_ = false;
    DrawCoPhasesTable(c);
    coPhasesShown_ = shownOnScreen;
  }
}

bool TBinagram::Print(QPrinter& Printer) {
  return PrintRendered(Printer, [this](TBitmap& b) { RenderPrintBitmap(b); }, kFooter);
}

void TBinagram::Print() {
  PrintOnDefaultPrinter([this](QPrinter& printer) { Print(printer); });
}

bool TBinagram::SaveToBitmap(const QString& FileName, bool Monochrome, QString* Error) {
  QString reason;
  bool ok;
  {
    TBitmap bitmap;
    RenderPrintBitmap(bitmap);
    bitmap.SetMonochrome(Monochrome);
    ok = bitmap.SaveToFile(FileName, &reason);
  }
  Repaint();  // back to the screen layout
  if (!ok) ReportSaveFailure(FileName, reason, Error);
  return ok;
}

// --- The screen's picture and the data, for the vector output -----------------

void TBinagram::DrawScreenPicture(TCanvas& Canvas, int Width, int Height) {
  RunLayout(Width, Height);
  Canvas.Brush = TBrush{clBlack, bsSolid};
  Canvas.FillRect(TRect{0, 0, Width, Height});
  ComposePicture(Canvas);
  // The tables as the screen shows them; the screen's own memory of a
  // shown co-phases table is neither used nor changed.
  const bool shownOnScreen = coPhasesShown_;
  coPhasesShown_ = false;
  if (CoPhasesTable()) DrawCoPhasesTable(Canvas);
  coPhasesShown_ = shownOnScreen;
  if (ValuesTable()) DrawValuesTable(Canvas);
}

QByteArray TBinagram::DataCsv() const {
  const double scale = CompositionScale() / 100;
  QString out = QStringLiteral("kind,curve,point,C,T,phase,phase1,C1,amount1,phase2,C2,amount2\n");
  const std::vector<double>& cs = CurveC();
  const std::vector<double>& ts = CurveT();
  const int last = std::min<int>(CurveLastIndex(), int(std::min(cs.size(), ts.size())) - 1);
  int run = 0, point = 0;
  for (int j = 0; j <= last; ++j) {
    if (cs[j] == -1) {
      if (point > 0) ++run;
      point = 0;
      continue;
    }
    if (point == 0 && run == 0) run = 1;
    out += QStringLiteral("curve,%1,%2,%3,%4,,,,,,,\n")
               .arg(run)
               .arg(++point)
               .arg(CsvNumber(cs[j] * scale), CsvNumber(ts[j]));
  }
  const TFullDataPoint& m = MarkedPoint();
  if (MarkMode() && m.Visible) {
    out += QStringLiteral("marked,,,%1,%2,%3").arg(CsvNumber(m.A), CsvNumber(m.T), CsvText(m.PhaseName));
    if (m.CoPhases)
      out += QStringLiteral(",%1,%2,%3,%4,%5,%6\n")
                 .arg(CsvText(m.Phase1Name), CsvNumber(m.Phase1Value), CsvNumber(m.Phase1Ratio),
                      CsvText(m.Phase2Name), CsvNumber(m.Phase2Value), CsvNumber(m.Phase2Ratio));
    else
      out += QStringLiteral(",,,,,,\n");
  }
  return out.toUtf8();
}
