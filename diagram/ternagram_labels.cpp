// Grid, scales, marked-point cross, title, unit caption, corner names and
// legend: everything drawn over the filled triangle.
#include <algorithm>
#include <cmath>
#include <climits>
#include <vector>

#include "diagram/ternagram.h"

using namespace ternary;

namespace {

QString AreaName(const TTernaryArea& area) { return area.Identifier.left(MaxIdentifierLength); }

TFont ArialFont(int size, unsigned style = 0) {
  return TFont{QStringLiteral("Arial"), size, clBlack, style};
}

}  // namespace

// --- Font sizes ------------------------------------------------------------------

namespace {
int SizeStep(int side) { return side > 0 ? int(std::trunc(std::sqrt(side / 3.0))) : 0; }
}  // namespace

int TTernagram::TitleFontSize() const { return std::clamp(SizeStep(TriSide()) - 1, 1, 10); }
int TTernagram::CaptionFontSize() const { return std::clamp(SizeStep(TriSide()) - 1, 1, 8); }
int TTernagram::PanelFontSize() const { return std::clamp(SizeStep(TriSide()) - 2, 1, 8); }

// --- Grid and scales ---------------------------------------------------------------

void TTernagram::DrawGrid(TCanvas& Canvas, TColor BrushColor) {
  const int s = GridSteps();
  if (s < 2) return;
  const double side = TriSide(), left = TriLeft();
  const int top = TriTop(), bottom = TriTop() + TriHeight();
  auto bx = [&](int i) { return RoundPixel(side / s * i) + TriLeft(); };
  auto lx = [&](int i) { return RoundPixel(side / s * i + left - side / s / 2 * i); };
  auto rx = [&](int i) { return RoundPixel(left + side / 2 + side / s / 2 * i); };
  auto hy = [&](int i) { return RoundPixel(side * Sin60 / s * i); };
  Canvas.Pen.Color = clBlack;
  Canvas.Pen.Width = 1;
  Canvas.Pen.Mode = pmCopy;

  if (GridType() == gtInnerParallel || GridType() == gtAllScales) {
    for (int i = 1; i < s; ++i) {  // constant C
      Canvas.MoveTo(bx(i), bottom);
      Canvas.LineTo(rx(i), hy(i) + top);
    }
    for (int i = 1; i < s; ++i) {  // constant A
      Canvas.MoveTo(bx(i), bottom);
      Canvas.LineTo(lx(i), bottom - hy(i));
    }
    for (int i = 1; i < s; ++i) {  // constant B
      const int y = hy(i) + top;
      Canvas.MoveTo(RoundPixel(left + side / 2 - side / s / 2 * i), y);
      Canvas.LineTo(rx(i), y);
    }
  }
  if (GridType() != gtOutsideScale && GridType() != gtAllScales) return;

  Canvas.Brush.Style = bsSolid;
  Canvas.Brush.Color = BrushColor;
  Canvas.Font = ArialFont(CaptionFontSize(), fsItalic);
  const double scale = CompositionScale();
  const double f = 100 / scale;
  const bool zoomed = AllowZoom() && Zoom();
  const TTernaryWindow& w = zoomWindow_;
  auto label = [&](double v) { return FormatFixed(v, scale == 100 ? 0 : 1); };

  for (int i = 1; i < s; ++i) {  // C along the bottom side
    const int x = bx(i);
    Canvas.Polyline({{x - 3, bottom - 4}, {x, bottom}, {x + 3, bottom - 5}});
    const TRect box = CScaleLabelBox(Canvas, i);
    Canvas.TextOut(box.Left, box.Top, CScaleLabel(i));
  }
  for (int i = 1; i < s; ++i) {  // A along the left side
    const int x = lx(i), y = bottom - hy(i);
    Canvas.Polyline({{x + 5, y - 1}, {x, y}, {x + 4, y + 5}});
    const double v = zoomed ? (w.Amax - (w.Amax - w.Amin) / s * i) / f : scale - scale / s * i;
    const QString text = label(v);
    const int tw = Canvas.TextWidth(text), th = Canvas.TextHeight(text);
    Canvas.TextOut(RoundPixel(side / s * i + left - side / s / 2 * i - tw) - 5,
                   bottom - RoundPixel(th / 2.0 + side * Sin60 / s * i), text);
  }
  for (int i = 1; i < s; ++i) {  // B along the right side
    const int x = rx(i), y = hy(i) + top;
    Canvas.Polyline({{x - 5, y - 1}, {x, y}, {x - 4, y + 5}});
    const double v = zoomed ? (w.Bmax - (w.Bmax - w.Bmin) / s * i) / f : scale - scale / s * i;
    const QString text = label(v);
    const int th = Canvas.TextHeight(text);
    Canvas.TextOut(x + 5, RoundPixel(side * Sin60 / s * i - th / 2.0) + top, text);
  }

  // The marked point, only where it lies strictly inside what is shown.
  if (MarkMode() && MarkedPoint().Visible) {
    const double a = MarkedPoint().A, b = MarkedPoint().B;
    if (zoomed ? w.ContainsStrictly(a, b) : TTernaryWindow{}.Contains(a, b)) {
      const TPoint p = ViewMap().transformRounded(a, b);
      Canvas.Brush.Color = clBlack;
      Canvas.Pen.Width = 2;
      Canvas.MoveTo(p.X - 4, p.Y - 4);
      Canvas.LineTo(p.X + 4, p.Y + 4);
      Canvas.MoveTo(p.X + 4, p.Y - 4);
      Canvas.LineTo(p.X - 4, p.Y + 4);
      Canvas.Pen.Width = 1;
    }
  }
}

// The C scale's label i (1 .. GridSteps - 1) and its box under the bottom
// side, measured in the canvas's current font.
QString TTernagram::CScaleLabel(int i) const {
  const double scale = CompositionScale(), f = 100 / scale;
  const int s = GridSteps();
  const TTernaryWindow& w = zoomWindow_;
  const double v = AllowZoom() && Zoom() ? ((w.Cmax - w.Cmin) / s * i + w.Cmin) / f : scale / s * i;
  return FormatFixed(v, scale == 100 ? 0 : 1);
}

TRect TTernagram::CScaleLabelBox(TCanvas& Canvas, int i) const {
  const QString text = CScaleLabel(i);
  const int tw = Canvas.TextWidth(text), th = Canvas.TextHeight(text);
  const int x = RoundPixel(double(TriSide()) / GridSteps() * i - tw / 2.0) + TriLeft();
  const int y = TriTop() + TriHeight() + 2;
  return TRect{x, y, x + tw, y + th};
}

// --- Texts -----------------------------------------------------------------------

void TTernagram::DrawTexts(TCanvas& Canvas, TColor BrushColor) {
  Canvas.Brush.Style = bsSolid;
  Canvas.Brush.Color = BrushColor;
  const int left = TriLeft(), side = TriSide(), top = TriTop(), bottom = TriTop() + TriHeight();
  auto centred = [&](const QString& text) {
    return RoundPixel((side - Canvas.TextWidth(text)) / 2.0) + left;
  };

  Canvas.Font = ArialFont(TitleFontSize());
  Canvas.TextOut(centred(Title()), top - 2 * Canvas.TextHeight(Title()) - 2, Title());

  Canvas.Font = ArialFont(CaptionFontSize());
  Canvas.TextOut(centred(AxisCaption()), bottom + 2 * Canvas.TextHeight(AxisCaption()),
                 AxisCaption());

  // The C scale's labels under the bottom side: a corner name (long while
  // zoomed, when it gives the corner's composition) that would cover one
  // goes below them.
  std::vector<TRect> labels;
  if (GridSteps() >= 2 && (GridType() == gtOutsideScale || GridType() == gtAllScales)) {
    Canvas.Font = ArialFont(CaptionFontSize(), fsItalic);
    for (int i = 1; i < GridSteps(); ++i) labels.push_back(CScaleLabelBox(Canvas, i));
  }
  Canvas.Font = ArialFont(PanelFontSize());
  auto cornerName = [&](long long x, const QString& name) {
    const int h = Canvas.TextHeight(name);
    long long y = (long long)bottom + h + 1;
    const long long right = x + Canvas.TextWidth(name);
    for (const TRect& r : labels)
      if (x < r.Right && r.Left < right && y < r.Bottom && r.Top < y + h) y = std::max<long long>(y, r.Bottom + 1);
    Canvas.TextOut(int(std::clamp<long long>(x, INT_MIN / 2, INT_MAX / 2)),
                   int(std::clamp<long long>(y, INT_MIN / 2, INT_MAX / 2)), name);
  };
  const QString& a = SubstanceA()->Name();
  const int aw = Canvas.TextWidth(a);
  long long x = (long long)left - aw / 2;
  if (x <= 2) x = 3;
  cornerName(x, a);

  const QString& c = SubstanceC()->Name();
  const int cw = Canvas.TextWidth(c);
  const long long rightLimit = 2LL * left + side - 2;
  long long cx = (long long)left + side - cw / 2;
  if (cx + cw > rightLimit) cx = rightLimit - cw;
  cornerName(cx, c);

  const QString& b = SubstanceB()->Name();
  Canvas.TextOut(centred(b), top - Canvas.TextHeight(b) - 3, b);
}

// --- Legend ----------------------------------------------------------------------

void TTernagram::DrawLegend(TCanvas& Canvas) {
  const int m = AreasInUse();
  if (m == 0) return;
  Canvas.Font = ArialFont(PanelFontSize());
  Canvas.Pen.Color = clBlack;
  Canvas.Pen.Width = 1;
  Canvas.Pen.Mode = pmCopy;
  Canvas.Brush.Style = bsSolid;
  Canvas.Brush.Color = clWhite;
  int widest = 0;
  for (int i = 0; i < m; ++i) widest = std::max(widest, Canvas.TextWidth(AreaName(AreaList()[i])));
  const int hw = Canvas.TextWidth(QStringLiteral("H")) & 0xFF;
  const int th = Canvas.TextHeight(QStringLiteral("H")) & 0xFF;
  const int x0 = TriLeft() + TriSide(), y0 = TriTop() - 2 * th;
  const int boxW = 5 * hw + widest;
  const int shadowX = x0 + boxW + int(std::trunc(1.5 * hw));
  DrawShadowBox(Canvas, TRect{x0 + hw, y0, x0 + hw + boxW, y0 + th * (m + 1)},
                TRect{x0 + hw + boxW, y0 + int(std::trunc(0.5 * th)), shadowX, y0 + th * (m + 1)},
                TRect{x0 + int(std::trunc(1.5 * hw)), y0 + th * (m + 1), shadowX,
                      y0 + int(std::trunc(th * (m + 1.5)))});
  for (int i = 1; i <= m; ++i) {
    Canvas.Brush.Color = NearestColor(AreaColors[i - 1]);
    Canvas.Rectangle(x0 + 2 * hw, y0 + int(std::trunc(th * (i - 0.45))), x0 + 4 * hw,
                     y0 + int(std::trunc(th * (i + 0.45))));
    Canvas.Brush.Color = clWhite;
    Canvas.Font.Color = clBlack;
    Canvas.TextOut(x0 + 5 * hw, y0 + int(std::trunc(th * (i - 0.5))), AreaName(AreaList()[i - 1]));
  }
}
