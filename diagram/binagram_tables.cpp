// Legend, values table and co-phases table: boxed panels in the column to
// the right of the plot. The legend is part of the off-screen picture; the
// two tables are drawn on the given canvas (on screen, the surface) after
// every paint and every mouse move.
#include <algorithm>
#include <cmath>

#include "diagram/binagram.h"

namespace {

// Measures every panel is laid out with, taken in the panel font.
struct TPanel {
  int w = 0;  // width of "H"
  int h = 0;  // height of "H"
  int R = 0;  // right edge of the plot
  int B = 0;  // bottom edge of the plot
  int P = 0;  // panel width: 5w + the widest area name
};

QString AreaName(const TPhaseArea& area) { return area.Identifier.left(MaxIdentifierLength); }

// A white box with a black outline and a black drop shadow: a strip along
// its right side from shadowTop to rightBottom, and one along its bottom,
// shifted half a letter right, down to shadowBottom.
void ShadowBox(TCanvas& c, const TPanel& m, int top, int bottom, int width, int shadowTop,
               int rightBottom, int shadowBottom) {
  const int x = m.R + 3 * m.w;
  const int sx = m.R + RoundPixel(3.5 * m.w);
  DrawShadowBox(c, TRect{x, top, x + width, bottom},
                TRect{x + width, shadowTop, sx + width, rightBottom},
                TRect{sx, bottom, sx + width, shadowBottom});
}

}  // namespace

int TBinagram::PanelFontSize() const {
  const int s = RoundPixel(std::sqrt(PlotWidth() / 3.0));
  if (s < 2 || s > 9) return 8;
  return s <= 3 ? 1 : s - 2;
}

namespace {

TPanel MeasurePanel(const TBinagram& g, TCanvas& c) {
  c.Font = TFont{QStringLiteral("Arial"), g.PanelFontSize(), clBlack, 0};
  c.Pen.Color = clBlack;
  c.Pen.Width = 1;
  c.Pen.Mode = pmCopy;
  c.Brush.Color = clWhite;
  c.Brush.Style = bsSolid;
  TPanel m;
  m.w = c.TextWidth(QStringLiteral("H"));
  m.h = c.TextHeight(QStringLiteral("H"));
  m.R = g.PlotLeft() + g.PlotWidth();
  m.B = g.PlotTop() + g.PlotHeight();
  // Entry 0 is always measured, also without areas.
  const int areas = std::clamp(g.Areas(), 1, MaxAreas);
  int widest = 0;
  for (int i = 0; i < areas; ++i) widest = std::max(widest, c.TextWidth(AreaName(g.AreaList()[i])));
  m.P = 5 * m.w + widest;
  return m;
}

}  // namespace

void TBinagram::DrawLegend(TCanvas& Canvas) {
  const int n = std::clamp(Areas(), 0, MaxAreas);
  if (n == 0) return;
  const TPanel m = MeasurePanel(*this, Canvas);
  const int y0 = PlotTop() - 2 * m.h;
  ShadowBox(Canvas, m, y0, y0 + (n + 1) * m.h, m.P, y0 + RoundPixel(0.5 * m.h),
            y0 + (n + 1) * m.h, y0 + RoundPixel(m.h * (n + 1.5)));
  for (int i = 1; i <= n; ++i) {
    Canvas.Brush.Color = NearestColor(AreaColors[i - 1]);
    Canvas.Rectangle(m.R + 4 * m.w, y0 + RoundPixel(m.h * (i - 0.45)), m.R + 6 * m.w,
                     y0 + RoundPixel(m.h * (i + 0.45)));
    Canvas.Brush.Color = clWhite;
    Canvas.TextOut(m.R + 7 * m.w, y0 + RoundPixel(m.h * (i - 0.5)), AreaName(AreaList()[i - 1]));
  }
}

void TBinagram::DrawValuesTable(TCanvas& Canvas) {
  const bool marked = MarkMode() && MarkedPoint().Visible;
  if (!ValuesTable() || !(marked || CursorOnArea())) return;
  const TFullDataPoint& point = marked ? MarkedPoint() : CursorPoint();
  const TPanel m = MeasurePanel(*this, Canvas);
  const int bottom = m.B + 2 * m.h;
  const int shadowBottom = bottom + RoundPixel(0.5 * m.h);
  ShadowBox(Canvas, m, m.B, bottom, m.P, bottom - RoundPixel(1.5 * m.h), shadowBottom,
            shadowBottom);

  const QString composition = FormatFixed(point.A, CompositionScale() == 100 ? 1 : 3).left(18);
  static const char* const unitLetters[] = {"C", "K", "F"};
  const QString unit = QString::fromLatin1(unitLetters[std::clamp(int(TUnits()), 0, 2)]);
  const QString text = SubstanceB()->Name() + QStringLiteral(": ") + composition +
                       QStringLiteral(", T: ") + FormatFixed(point.T, 2) + unit;
  Canvas.TextOut(m.R + 4 * m.w, bottom - RoundPixel(1.5 * m.h), text);
}

void TBinagram::DrawCoPhasesTable(TCanvas& Canvas) {
  if (!CoPhasesTable() || Zooming()) return;
  const bool marked = MarkMode() && MarkedPoint().Visible;
  const bool show = marked ? MarkedPoint().CoPhases == 2
                           : !DivisionPoint() && CursorPoint().CoPhases == 2;
  if (!show && !coPhasesShown_) return;

  const TPanel m = MeasurePanel(*this, Canvas);
  const int n = Legend() ? std::clamp(Areas(), 0, MaxAreas) : -2;
  const int y0 = PlotTop() - 2 * m.h;
  const int top = y0 + (n + 2) * m.h;
  if (!show) {
    // Leaving a two-phase field: paint the box and its shadow over.
    Canvas.Pen.Color = PaperColor();
    Canvas.Brush.Color = PaperColor();
    Canvas.Rectangle(m.R + 3 * m.w, top, Canvas.Width() - 1, y0 + (n + 8) * m.h);
    Canvas.Pen.Color = clBlack;
    Canvas.Brush.Color = clWhite;
    coPhasesShown_ = false;
    return;
  }

  const TFullDataPoint& point = marked ? MarkedPoint() : CursorPoint();
  const int width =
      std::max(m.P, Canvas.TextWidth(QStringLiteral("Chemical Composition:")) + 2 * m.w);
  const int shadowBottom = y0 + RoundPixel(m.h * (n + 7.5));
  ShadowBox(Canvas, m, top, y0 + (n + 7) * m.h, width, y0 + RoundPixel(m.h * (n + 2.5)),
            shadowBottom, shadowBottom);
  auto two = [](double v) { return FormatFixed(v, 2); };
  const QString lines[4] = {
      QStringLiteral("Chemical Composition:"),
      QStringLiteral("Ph1: ") + two(point.Phase1Value) + QStringLiteral(", Ph2: ") +
          two(point.Phase2Value) + QStringLiteral(" "),
      QStringLiteral("Phases Ratio:"),
      QStringLiteral("Ph1: ") + two(point.Phase1Ratio) + QStringLiteral(", Ph2: ") +
          two(point.Phase2Ratio),
  };
  for (int i = 0; i < 4; ++i)
    Canvas.TextOut(m.R + 4 * m.w, y0 + RoundPixel(m.h * (n + 2.5 + i)), lines[i]);
  coPhasesShown_ = true;
}
