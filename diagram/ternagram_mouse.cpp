// Cursor read-out, guide lines, the values and co-phase tables, the name
// balloon and marking; the zoom gestures start and end here (the zoom
// itself is ternagram_zoom.cpp).
//
// Areas are recognised by the colours painted on the control's surface:
// pixels are read back through Canvas()->Pixel, which answers clInvalid
// outside the surface. Guide lines and the rubber band are drawn in
// pmNotXor and erased by drawing them again; the balloon and the tables
// are drawn straight onto the surface and removed by a repaint.
#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

#include "diagram/ternagram.h"

using namespace ternary;

namespace {

TFont PanelFont(int size) { return TFont{QStringLiteral("Arial"), size, clBlack, 0}; }

QString Cut(const QString& s, int n) { return s.left(n); }

}  // namespace

// --- Area lookup -----------------------------------------------------------------

bool TTernagram::FieldPixel(TColor c) const {
  return c != clBlack && c != Isotherms()->Color() && c != hotIsothermColor_ && c != CrystallizationColor;
}

int TTernagram::LookupArea(const TCanvas& Canvas, int X, int Y, TColor c) {
  auto usable = [this](TColor p) { return FieldPixel(p); };
  if (usable(c)) {
    SetDivisionPoint(false);
    return AreaOfColor(c, Areas());
  }
  const TDiagonalProbe probe = ProbeDiagonals(Canvas, X, Y, usable);
  if (probe.Division) {
    divisionPoint_ = true;
    divisionText_ = QStringLiteral("Division Point");
    return -1;
  }
  SetDivisionPoint(false);
  return probe.Found ? AreaOfColor(probe.Color, Areas()) : -1;
}

// On a boundary the liquidus is where the surfaces of the fields beside it
// meet; their estimates differ by the estimation's error only, and their
// mean is taken. The fields are those met along the four diagonals.
double TTernagram::BoundaryTemperature(const TCanvas& Canvas, int X, int Y, double A, double B) const {
  static constexpr int dirs[4][2] = {{-1, 1}, {1, 1}, {-1, -1}, {1, -1}};
  std::array<bool, MaxAreas> seen{};
  double sum = 0;
  int n = 0;
  for (const auto& d : dirs)
    for (int i = 1; i <= 2; ++i) {
      const TColor c = Canvas.Pixel(X + d[0] * i, Y + d[1] * i);
      if (!FieldPixel(c)) continue;
      const int field = AreaOfColor(c, Areas());
      if (field >= 0 && !std::exchange(seen[std::size_t(field)], true)) {
        const double v = AreaTemperature(field, A, B);
        if (std::isfinite(v)) {
          sum += v;
          ++n;
        }
      }
      break;
    }
  return n > 0 ? sum / n : std::numeric_limits<double>::quiet_NaN();
}

// --- Mouse move ------------------------------------------------------------------

void TTernagram::ForgetCursorReadout() {
  cursorOnArea_ = false;
  cursorPoint_.A = cursorPoint_.B = cursorPoint_.C = 0;
  cursorPoint_.T = std::numeric_limits<double>::quiet_NaN();
  cursorPoint_.CoPhases = coPhases_ = 0;
  cursorPoint_.PhaseName.clear();
  hotArea_ = -1;
  Invalidate();
}

void TTernagram::MouseMove(TShiftState Shift, int X, int Y) {
  if (!painted_) return;
  TTernaplot::MouseMove(Shift, X, Y);
  RemoveBalloon();
  // A pending repaint means the surface shows an outdated picture (another
  // size, another layout): bring it up to date before reading anything. A
  // drag reads nothing.
  if (!zoomDragging_ && Stale()) Repaint();

  const TTriangleMap whole = TriangleMap();
  const int bottom = TriTop() + TriHeight();
  const double L = whole.LeftEdgeX(Y), R = whole.RightEdgeX(Y);
  const bool inside = TriSide() > 0 && Y < bottom && L <= X && X <= R;
  if (!inside) {
    SetCursor(crDefault);
    if (cursorOnArea_) {
      cursorOnArea_ = false;
      if (!(markMode_ && markedPoint_.Visible)) Invalidate();  // removes the tables
    }
    cursorPoint_.A = cursorPoint_.B = cursorPoint_.C = cursorPoint_.T = 0;
    if (mouseGrid_ && mouseGridShown_) {
      DrawGuideLines();
      mouseGridShown_ = false;
    }
    if (zoomDragging_) {
      // Leaving the triangle cancels the drag and its band.
      zoomDragging_ = false;
      Invalidate();
    }
    update();
    return;
  }

  cursorOnArea_ = true;
  TCanvas& screen = *Canvas();
  const TColor pixel = screen.Pixel(X, Y);
  const int area = LookupArea(screen, X, Y, pixel);
  SetCursor(mouseGrid_ ? crArrow : crCross);

  const double scale = CompositionScale(), f = 100 / scale;
  const TTriangleMap view = ViewMap();
  cursorPoint_.A = view.AAt(X, Y) / f;
  cursorPoint_.C = view.CAt(X, Y) / f;
  cursorPoint_.B = scale - (cursorPoint_.A + cursorPoint_.C);
  // Off every area (white paper, a line with no field beside it) or where
  // the estimate gives none, there is no temperature: NaN, shown as "-".
  cursorPoint_.T = area >= 0 ? AreaTemperature(area, cursorPoint_.A * f, cursorPoint_.B * f)
                  : divisionPoint_ ? BoundaryTemperature(screen, X, Y, cursorPoint_.A * f, cursorPoint_.B * f)
                                   : std::numeric_limits<double>::quiet_NaN();

  if (allowZoom_ && !zoom_ && zoomDragging_) {
    const double l0 = whole.LeftEdgeX(dragStart_.Y), r0 = whole.RightEdgeX(dragStart_.Y);
    if (l0 < X && X < r0) DrawRubberBand(X);
  }
  if (mouseGrid_ && mouseGridShown_) DrawGuideLines();  // erase the old ones

  bool haveColour = false;
  if (!zoomDragging_ && L + 3 < X && X < R - 3 && Y < bottom - 2) {
    hotColor_ = pixel;
    haveColour = true;
    hotArea_ = area;  // near the sides HotArea keeps its value
  }
  if (hotArea_ >= 0) {
    if (AreaList()[hotArea_].TwoPhase != 0) {
      // A two-phase area always has two co-existing phases; on a black
      // line the count stays as it was.
      if (haveColour && hotColor_ != clBlack) coPhases_ = 2;
    } else {
      coPhases_ = 0;
    }
    cursorPoint_.CoPhases = coPhases_;
    cursorPoint_.PhaseName = AreaList()[hotArea_].Identifier;
  }

  if (mouseGrid_) {
    const double d = X - L;
    guide_ = {TPoint{X, Y}, TPoint{RoundPixel(R), Y}, TPoint{RoundPixel(X - L + TriLeft()), bottom},
              TPoint{X - RoundPixel(d / 2), Y - RoundPixel(d * Sin60)}};
    DrawGuideLines();
    mouseGridShown_ = true;
  }
  if (valuesTable_) DrawValuesTable(screen);
  if (coPhasesTable_ && !zoomDragging_ && hotArea_ >= 0) DrawCoPhasesTable(screen);
  update();
}

void TTernagram::DrawGuideLines() {
  TCanvas& c = *Canvas();
  c.Pen.Color = clBlack;
  c.Pen.Width = 2;
  c.Pen.Mode = pmNotXor;
  for (int k = 1; k <= 3; ++k) {
    c.MoveTo(guide_[0].X, guide_[0].Y);
    c.LineTo(guide_[k].X, guide_[k].Y);
  }
  c.Pen.Mode = pmCopy;
  c.Pen.Width = 1;
  update();
}

// --- Buttons ---------------------------------------------------------------------

void TTernagram::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (!painted_) return;
  TTernaplot::MouseDown(Button, Shift, X, Y);
  const TTriangleMap whole = TriangleMap();
  const int top = TriTop(), bottom = TriTop() + TriHeight();
  const double L = whole.LeftEdgeX(Y), R = whole.RightEdgeX(Y);

  if (Button == mbRight) {
    const bool onArea = hotArea_ != -1 && top + 2 <= Y && Y <= bottom - 2 && L + 2 <= X &&
                        X <= R - 2;
    if (onArea || (hotArea_ == -1 && divisionPoint_)) DrawBalloon(X, Y);
  }
  if (Button == mbLeft) {
    const bool inside = top <= Y && Y <= bottom && L <= X && X <= R;
    if (allowZoom_ && inside) {
      dragStart_ = TPoint{X, Y};
      dragX_ = X;
      band_ = {};
      if (!zoom_) zoomDragging_ = true;
    }
    if (allowZoom_ && zoom_) ZoomOut();
  }
}

void TTernagram::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (!painted_) return;
  TTernaplot::MouseUp(Button, Shift, X, Y);

  if (Button == mbLeft && allowZoom_ && zoomDragging_) {
    if (std::abs(dragStart_.X - dragX_) <= 1) {
      zoomDragging_ = false;
      Repaint();
    } else {
      ZoomIn();
    }
  }
  if (Button == mbLeft && markMode_ && markedPoint_.Visible && !zoomDragging_) {
    markedPoint_.Visible = false;
    Repaint();
  }
  if (Button == mbRight && balloonShown_) {
    if (!zoom_) {
      const double f = 100 / CompositionScale();
      markedPoint_.A = cursorPoint_.A * f;
      markedPoint_.B = cursorPoint_.B * f;
      markedPoint_.C = cursorPoint_.C * f;
      markedPoint_.T = cursorPoint_.T;
      markedPoint_.CoPhases = cursorPoint_.CoPhases;
      markedPoint_.PhaseName = cursorPoint_.PhaseName;
      markedPoint_.Visible = true;
      DoMarkPoint();
    }
    Invalidate();
    if (valuesTable_) DrawValuesTable(*Canvas());
    if (coPhasesTable_ && !zoomDragging_) DrawCoPhasesTable(*Canvas());
    balloonShown_ = false;
  }
}

void TTernagram::DrawBalloon(int X, int Y) {
  const QString text = divisionPoint_ ? divisionText_ : AreaList()[hotArea_].Identifier;
  // Right of the apex the balloon opens to the left.
  DrawNameBalloon(*Canvas(), X, Y, text, X > TriLeft() + TriSide() / 2);
  balloonShown_ = true;
  update();
}

// --- Tables ----------------------------------------------------------------------

void TTernagram::DrawValuesTable(TCanvas& Canvas) {
  const bool marked = markMode_ && markedPoint_.Visible;
  if (!marked && !cursorOnArea_) return;
  Canvas.Font = PanelFont(PanelFontSize());
  Canvas.Pen.Color = clBlack;
  Canvas.Pen.Width = 1;
  Canvas.Pen.Mode = pmCopy;
  Canvas.Brush.Style = bsSolid;
  Canvas.Brush.Color = clWhite;
  const bool percent = CompositionScale() == 100;
  const int zw = Canvas.TextWidth(QStringLiteral("0")), th = Canvas.TextHeight(QStringLiteral("0"));
  const int numW = (percent ? 6 : 7) * zw;
  int names = 0;
  for (int k = 0; k < 3; ++k) names = std::max(names, Canvas.TextWidth(substances_[k].DisplayName));
  const int w = std::max(names + numW, Canvas.TextWidth(QStringLiteral("T: 0000C")));
  const int boxW = 2 * zw + w;
  const int xr = TriLeft() + TriSide(), top = TriTop();
  DrawShadowBox(Canvas, TRect{xr - boxW, top, xr, top + 5 * th},
                TRect{xr, top + th / 2, xr + zw / 2, top + 5 * th},
                TRect{xr - boxW + zw / 2, top + 5 * th, xr + zw / 2, top + int(std::trunc(5.5 * th))});

  const int x0 = xr - boxW + zw, y0 = top + th / 2;
  const TFullDataPoint& p = marked ? markedPoint_ : cursorPoint_;
  // The marked point is kept in percent; the cursor in display units.
  const double toDisplay = marked && !percent ? 0.01 : 1.0;
  const double values[3] = {p.A * toDisplay, p.B * toDisplay, p.C * toDisplay};
  for (int k = 0; k < 3; ++k) {
    Canvas.TextOut(x0 + numW, y0 + k * th, substances_[k].DisplayName);
    Canvas.TextOut(x0, y0 + k * th, Cut(FormatFixed(values[k], percent ? 3 : 5), 20));
  }
  double t = p.T;
  QString unit = QStringLiteral("C");
  if (tUnits_ == tuK) {
    t += 273.15;
    unit = QStringLiteral("K");
  } else if (tUnits_ == tuF) {
    t = t * 1.8 + 32;
    unit = QStringLiteral("F");
  }
  const QString value = std::isfinite(t) ? Cut(FormatFixed(t, 0) + unit, 20) : QStringLiteral("-");
  Canvas.TextOut(x0, y0 + 3 * th, QStringLiteral("T: ") + value);
}

void TTernagram::DrawCoPhasesTable(TCanvas& Canvas) {
  if (zoom_) return;
  Canvas.Font = PanelFont(PanelFontSize());
  Canvas.Pen.Color = clBlack;
  Canvas.Pen.Width = 1;
  Canvas.Pen.Mode = pmCopy;
  Canvas.Brush.Style = bsSolid;
  const int hw = Canvas.TextWidth(QStringLiteral("H")), th = Canvas.TextHeight(QStringLiteral("H"));
  const int areas = AreasInUse();
  int widest = 0;
  for (int i = 0; i < areas; ++i)
    widest = std::max(widest, Canvas.TextWidth(AreaList()[i].Identifier.left(MaxIdentifierLength)));
  const int boxW = std::max(5 * hw + widest,
                            Canvas.TextWidth(QStringLiteral("Chemical structure:")) + 2 * hw);
  const int m = legend_ ? areas : -2;
  const int x0 = TriLeft() + TriSide(), y0 = TriTop() - 2 * th;

  if (coPhases_ < 2 || divisionPoint_) {
    // Erase the table's place.
    Canvas.Pen.Color = PaperColor();
    Canvas.Brush.Color = PaperColor();
    Canvas.Rectangle(x0 + hw, TriTop() + th * m, Width() - 1, TriTop() + th * (m + 9));
    Canvas.Pen.Color = clBlack;
    Canvas.Brush.Color = clWhite;
    return;
  }
  const int shadowX = x0 + boxW + int(std::trunc(1.5 * hw));
  const int shadowBottom = y0 + int(std::trunc(th * (m + 10.5)));
  DrawShadowBox(Canvas, TRect{x0 + hw, TriTop() + th * m, x0 + hw + boxW, TriTop() + th * (m + 8)},
                TRect{x0 + hw + boxW, y0 + int(std::trunc(th * (m + 2.5))), shadowX, shadowBottom},
                TRect{x0 + int(std::trunc(1.5 * hw)), y0 + th * (m + 10), shadowX, shadowBottom});
  const QString lines[7] = {
      Cut(QStringLiteral("Ph: ") + AreaList()[hotArea_].Identifier, 29),
      QStringLiteral("Chemical structure:"),
      QStringLiteral("Ph1: ..."),
      QStringLiteral("Ph2: ..."),
      QStringLiteral("Phases ratio:"),
      QStringLiteral("Ph1: ..."),
      QStringLiteral("Ph2: ..."),
  };
  for (int k = 0; k < 7; ++k)
    Canvas.TextOut(x0 + 2 * hw, y0 + int(std::trunc(th * (m + 2.5 + k))), lines[k]);
}
