// Axes, scales, grid, cut-axis zigzags, the marked-point cross and titles.
#include <QLocale>
#include <algorithm>
#include <charconv>
#include <cmath>

#include "diagram/binagram.h"

namespace {

// Text sizes grow with the plot up to a cap: s = round(sqrt(PlotWidth / 3)).
int SizeStep(int plotWidth) { return RoundPixel(std::sqrt(plotWidth / 3.0)); }

// Size rule shared by the title and the axis texts: below 3, size 1.
int GrowingSize(int s, int cap) {
  if (s < 1 || s > cap) return cap;
  return s <= 2 ? 1 : s - 1;
}

// More ticks than this on one axis means degenerate limits: draw none.
constexpr int MaxTicks = 10000;

// The ticks of one axis: the first and last multiples of the step inside
// the window, their pixels and the number of intervals between them.
struct TTicks {
  double First = 0, Last = 0;
  int PFirst = 0, PLast = 0;
  int Intervals = -1;  // below 0: no tick
  double Spacing = 0;  // pixels per interval
};

// lo..hi is the window, loMap/hiMap place a value rounding from the low and
// from the high end of the axis.
TTicks MakeTicks(double lo, double hi, double step, const TScaleMap& loMap,
                 const TScaleMap& hiMap) {
  TTicks t;
  if (!(step > 0) || !std::isfinite(lo) || !std::isfinite(hi)) return t;
  t.First = std::nearbyint(lo / step) * step;
  if (t.First < lo) t.First += step;
  t.Last = std::nearbyint(hi / step) * step;
  if (t.Last > hi) t.Last -= step;
  t.PFirst = loMap.transformRounded(t.First);
  t.PLast = hiMap.transformRounded(t.Last);
  const double k = std::nearbyint((t.Last - t.First) / step);
  if (!(k >= 0 && k <= MaxTicks)) return t;
  t.Intervals = int(k);
  t.Spacing = t.Intervals > 0 ? double(t.PLast - t.PFirst) / t.Intervals : 0;
  return t;
}

bool MultipleOf(double v, double m) { return v == std::nearbyint(v / m) * m; }

}  // namespace

int TBinagram::TitleFontSize() const { return GrowingSize(SizeStep(PlotWidth()), 10); }
int TBinagram::AxisFontSize() const { return GrowingSize(SizeStep(PlotWidth()), 8); }

void TBinagram::DrawAxes(TCanvas& Canvas, TColor BrushColor) {
  const int left = PlotLeft(), top = PlotTop();
  const int right = left + PlotWidth(), bottom = top + PlotHeight();
  const bool grid = GridType() == binary::gtOverAllScale;

  Canvas.Pen.Color = clBlack;
  Canvas.Pen.Width = 1;
  Canvas.Pen.Mode = pmCopy;
  Canvas.Brush.Color = BrushColor;
  Canvas.Brush.Style = bsSolid;
  Canvas.Font = TFont{QStringLiteral("Arial"), AxisFontSize(), clBlack, fsItalic};
  const int h1 = Canvas.TextHeight(QStringLiteral("1"));
  const int longTick = h1 - 5;
  const int shortTick = RoundPixel(h1 / 2.0 - 3);
  auto line = [&](int xa, int ya, int xb, int yb) {
    Canvas.MoveTo(xa, ya);
    Canvas.LineTo(xb, yb);
  };

  // Composition axis: ticks above and below the plot, numbers below at the
  // multiples of 10 percent.
  const TScaleMap cFromLow = CompositionMap();
  const TScaleMap cFromHigh{highCLimit_, lowCLimit_, double(right), double(left)};
  const TTicks ct = MakeTicks(lowCLimit_, highCLimit_, CAxisStep(), cFromLow, cFromHigh);
  for (int e = 0; e <= ct.Intervals; ++e) {
    const double v = ct.First + e * double(CAxisStep());
    const int x = RoundPixel(e * ct.Spacing) + ct.PFirst;
    const bool major = MultipleOf(v, 10);
    const int L = major ? longTick : shortTick;
    line(x, top, x, top - L);
    if (grid) line(x, top, x, bottom);
    line(x, bottom, x, bottom + L);
    if (!major) continue;
    const QString text = CompositionScale() == 1 ? FormatFixed(v / 100, 1) : FormatFixed(v, 0);
    const int width = Canvas.TextWidth(text);
    Canvas.TextOut(RoundPixel(e * ct.Spacing - width / 2.0) + ct.PFirst, bottom + L + 1, text);
  }

  // Cut-axis zigzags: the window does not reach a pure component.
  const bool cutLeft = lowCLimit_ > 0 && (!Zooming() || lowCLimit_ == savedLowCLimit_);
  const bool cutRight = highCLimit_ < 100 && (!Zooming() || highCLimit_ == savedHighCLimit_);
  auto zigzag = [&](int edge, int tooth) {
    Canvas.MoveTo(edge, top);
    for (int i = 1; i <= 9; ++i)
      Canvas.LineTo(i % 2 ? tooth : edge, RoundPixel(top + i * PlotHeight() / 10.0));
    Canvas.LineTo(edge, bottom);
  };
  if (cutLeft) zigzag(left, RoundPixel(left + 0.02 * PlotWidth()));
  if (cutRight) zigzag(right, RoundPixel(left + PlotWidth() - 0.02 * PlotWidth()));

  // Temperature axis: ticks left and right of the plot, numbers on the left
  // at the multiples of 100 degrees; counted from the top.
  const TScaleMap tFromLow{LowTLimit(), HighTLimit(), double(bottom), double(top)};
  const TScaleMap tFromHigh = TemperatureMap();
  const TTicks tt = MakeTicks(LowTLimit(), HighTLimit(), TAxisStep(), tFromLow, tFromHigh);
  // Here the first tick is the top one.
  const double dy = tt.Intervals > 0 ? double(tt.PFirst - tt.PLast) / tt.Intervals : 0;
  for (int p = 0; p <= tt.Intervals; ++p) {
    const double v = tt.Last - p * double(TAxisStep());
    const int y = RoundPixel(p * dy) + tt.PLast;
    const bool major = MultipleOf(v, 100);
    const int L = major ? longTick : shortTick;
    line(left, y, left - L, y);
    if (grid) line(left, y, right, y);
    line(right, y, right + L, y);
    if (!major) continue;
    const QString text = FormatFixed(v, 0);
    const int width = Canvas.TextWidth(text), height = Canvas.TextHeight(text);
    Canvas.TextOut(left - width - L - 1, tt.PLast + RoundPixel(p * dy - height / 2.0), text);
  }

  // The marked point's cross.
  if (MarkMode() && MarkedPoint().Visible) {
    const double a = CompositionScale() == 100 ? MarkedPoint().A : 100 * MarkedPoint().A;
    const int x = CompositionMap().transformRounded(a);
    const int y = TemperatureMap().transformRounded(MarkedPoint().T);
    Canvas.Brush.Color = clBlack;
    Canvas.Pen.Width = 2;
    line(x - 4, y - 4, x + 4, y + 4);
    line(x + 4, y - 4, x - 4, y + 4);
    Canvas.Pen.Width = 1;
  }
}

void TBinagram::DrawTitle(TCanvas& Canvas, TColor BrushColor) {
  Canvas.Brush.Color = BrushColor;
  Canvas.Brush.Style = bsSolid;
  Canvas.Font = TFont{QStringLiteral("Arial"), TitleFontSize(), clBlack, 0};
  const int width = Canvas.TextWidth(Title()), height = Canvas.TextHeight(Title());
  Canvas.TextOut(RoundPixel((PlotWidth() - width) / 2.0) + PlotLeft(), PlotTop() - 2 * height,
                 Title());
}

void TBinagram::DrawCAxisCaption(TCanvas& Canvas, TColor BrushColor) {
  RebuildCAxisCaption();
  Canvas.Brush.Color = BrushColor;
  Canvas.Brush.Style = bsSolid;
  Canvas.Font = TFont{QStringLiteral("Arial"), AxisFontSize(), clBlack, 0};
  const QString& text = CAxisCaption();
  const int width = Canvas.TextWidth(text), height = Canvas.TextHeight(text);
  Canvas.TextOut(RoundPixel((PlotWidth() - width) / 2.0) + PlotLeft(),
                 PlotTop() + PlotHeight() + 2 * height, text);
}
