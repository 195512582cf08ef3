// Cursor read-out with the lever rule, zooming and point marking.
//
// Areas are recognised by the colours painted on the control's surface: the
// read-out and the zoom's edge sampling read pixels back through
// Canvas()->Pixel, which answers clInvalid outside the surface, so no read
// can leave the picture. The cross-hair and the rubber band are drawn with
// pmNotXor and erased by drawing them again; the name balloon and the tables
// are drawn straight onto the surface and removed by a repaint.
#include <algorithm>
#include <cmath>

#include "diagram/binagram.h"

namespace {

TRect Normalized(TPoint a, TPoint b) {
  return TRect{std::min(a.X, b.X), std::min(a.Y, b.Y), std::max(a.X, b.X), std::max(a.Y, b.Y)};
}

// One axis of a zoom window: the snapped lo..hi kept inside the current
// window L..H. Where that leaves less than the axis accepts (no composition
// range at all, less than 100 degrees: a drag along the window's high
// edge), the window becomes one grid step inside the current one at that
// end, or the whole current window when it is narrower than a step.
struct TAxisWindow {
  double Low, High;
};
TAxisWindow ZoomAxis(double lo, double hi, double L, double H, double step, double minSpan) {
  lo = std::max(lo, L);
  hi = std::min(hi, H);
  if (hi > lo && hi - lo >= minSpan) return {lo, hi};
  hi = std::min(lo + step, H);
  lo = std::max(hi - step, L);
  return {lo, hi};
}

}  // namespace

// --- Read-out helpers --------------------------------------------------------

void TBinagram::ClearCursorPoint() {
  cursorPoint_.A = 0;
  cursorPoint_.T = 0;
  cursorPoint_.CoPhases = 0;
  cursorPoint_.PhaseName.clear();
  cursorPoint_.Phase1Name.clear();
  cursorPoint_.Phase2Name.clear();
  cursorPoint_.Phase1Value = 0;
  cursorPoint_.Phase2Value = 0;
  cursorPoint_.Phase1Ratio = 0;
  cursorPoint_.Phase2Ratio = 0;
}

// The amounts of the two phases by the lever rule, on the composition scale.
void TBinagram::SetLeverRatios(TFullDataPoint& p, double Scale) {
  const double span = p.Phase2Value - p.Phase1Value;
  if (span != 0 && std::isfinite(span)) {
    p.Phase1Ratio = (p.Phase2Value - p.A) / span * Scale;
    p.Phase2Ratio = (p.A - p.Phase1Value) / span * Scale;
  } else {
    // Both phases have the same composition: the lever rule cannot split
    // the amount, so all of it is counted as the first phase.
    p.Phase1Ratio = Scale;
    p.Phase2Ratio = 0;
  }
}

// After a change of units or orientation the cursor's read-out is in the
// old ones: it is dropped, and the tables show nothing of the cursor until
// the next move reads it again.
void TBinagram::DropCursorReadout() {
  ClearCursorPoint();
  cursorOnArea_ = false;
  coPhasesShown_ = false;
}

void TBinagram::ForgetCursorReadout() {
  DropCursorReadout();
  Invalidate();
}

void TBinagram::IdentifyArea(TColor c, int x, int y) {
  divisionPoint_ = false;
  divisionText_.clear();
  if (c == clBlack) {
    // On a curve, grid line or outline: look along the four diagonals for the
    // colours on either side. Two different ones mean a boundary.
    const TDiagonalProbe probe =
        ProbeDiagonals(*Canvas(), x, y, [](TColor p) { return p != clBlack; });
    if (probe.Division) {
      divisionPoint_ = true;
      divisionText_ = QStringLiteral("Division Point");
    } else {
      c = probe.Color;
    }
  }
  const int area = AreaOfColor(c, Areas());
  if (area >= 0) hotArea_ = area;
  if (c == clWhite) hotArea_ = -1;
}

void TBinagram::FindCoPhases(TColor a, int x, int y) {
  TFullDataPoint& p = cursorPoint_;
  const int left = layout_.PlotLeft;
  const int right = layout_.PlotLeft + layout_.PlotWidth;
  const TScaleMap cmap = CompositionMap();
  const double unit = compositionScale_ == 1 ? 0.01 : 1.0;
  auto compositionAt = [&](int u) { return cmap.invTransform(u) * unit; };
  // A pixel that is neither a boundary nor this area's colour belongs to the
  // neighbouring phase along the tie line.
  auto isNeighbour = [&](TColor c) { return c != clBlack && c != a; };

  p.CoPhases = 0;
  for (int i = 1; i <= x - left && p.CoPhases == 0; ++i) {
    const TColor c = Canvas()->Pixel(x - i, y);
    if (isNeighbour(c)) {
      p.CoPhases = 1;
      const int area = AreaOfColor(c, Areas());
      p.Phase1Name = area >= 0 ? AreaList()[area].Identifier : QString();
      p.Phase1Value = compositionAt(x - i);
    } else if (i == x - left - 1) {
      // The area reaches the left edge of the plot: pure SubstanceA.
      p.CoPhases = 1;
      p.Phase1Name = substanceA_.Name();
      p.Phase1Value = 0;
    }
  }
  if (p.CoPhases == 0) {
    p.Phase1Value = 0;
    p.Phase1Name.clear();
    p.CoPhases = 1;
  }

  auto ratios = [&] { SetLeverRatios(p, compositionScale_); };

  for (int i = 1; i <= right - x && p.CoPhases < 2; ++i) {
    const TColor c = Canvas()->Pixel(x + i, y);
    if (isNeighbour(c)) {
      p.CoPhases = 2;
      const int area = AreaOfColor(c, Areas());
      p.Phase2Name = area >= 0 ? AreaList()[area].Identifier : QString();
      p.Phase2Value = compositionAt(x + i);
      ratios();
    } else if (i == right - x - 1) {
      // The area reaches the right edge of the plot: pure SubstanceB.
      p.Phase2Name = substanceB_.Name();
    }
  }
  if (p.CoPhases == 1) {
    p.Phase2Value = compositionScale_;
    ratios();
    p.CoPhases = 2;
  }
}

// --- Overlays on the surface ----------------------------------------------

void TBinagram::DrawMouseGrid() {
  if (!mouseGrid_) return;
  TCanvas& c = *Canvas();
  const TPen saved = c.Pen;
  c.Pen.Color = clBlack;
  c.Pen.Width = 2;
  c.Pen.Mode = pmNotXor;
  c.MoveTo(gridH1_.X, gridH1_.Y);
  c.LineTo(gridH2_.X, gridH2_.Y);
  c.MoveTo(gridV1_.X, gridV1_.Y);
  c.LineTo(gridV2_.X, gridV2_.Y);
  c.Pen = saved;
  c.Pen.Mode = pmCopy;
  update();
}

void TBinagram::DrawRubberBand() {
  // The band before the first drag move has both corners at (0, 0): there
  // is nothing to draw or erase yet.
  if (!zoomDragging_ || bandCorner1_ == bandCorner2_) return;
  TCanvas& c = *Canvas();
  const TPen savedPen = c.Pen;
  const TBrush savedBrush = c.Brush;
  c.Pen.Color = clBlack;
  c.Pen.Width = 2;
  c.Pen.Mode = pmNotXor;
  c.Brush.Style = bsClear;
  c.Rectangle(Normalized(bandCorner1_, bandCorner2_));
  c.Pen = savedPen;
  c.Pen.Mode = pmCopy;
  c.Brush = savedBrush;
  update();
}

void TBinagram::DrawBalloon(int x, int y) {
  const QString text = divisionPoint_ ? divisionText_ : AreaList()[hotArea_].Identifier;
  // In the right half of the plot the label opens to the left.
  DrawNameBalloon(*Canvas(), x, y, text, x > layout_.PlotLeft + layout_.PlotWidth / 2);
  balloonShown_ = true;
  update();
}

void TBinagram::TakeEdgeSeeds() {
  const int pw = layout_.PlotWidth, ph = layout_.PlotHeight;
  for (TEdgeSeeds* s : {&topSeeds_, &bottomSeeds_, &leftSeeds_, &rightSeeds_}) *s = TEdgeSeeds{};
  if (pw <= 0 || ph <= 0) return;
  const double dC = (savedHighCLimit_ - savedLowCLimit_) / pw;
  const double dT = (SavedHighTLimit() - SavedLowTLimit()) / ph;
  const int x1 = RoundPixel(zx1_), x2 = RoundPixel(zx2_);
  const int y1 = RoundPixel(zy1_), y2 = RoundPixel(zy2_);
  // The window lies inside the unzoomed plot; bound the walks by the surface
  // anyway so that odd limits cannot make them run away.
  const int nx = std::clamp(RoundPixel(zx2_ - zx1_), 0, Width());
  const int ny = std::clamp(RoundPixel(zy2_ - zy1_), 0, Height());

  // Walks one edge, starting a seed at every change of colour and counting
  // the run of each; pos(k) is the value along the edge at step k.
  auto walk = [&](TEdgeSeeds& seeds, int n, auto pixelAt, auto pos) {
    TEdgeSeed* current = nullptr;
    for (int k = 1; k <= n; ++k) {
      const TColor c = pixelAt(k);
      if (c == clBlack) continue;
      if (current == nullptr || c != current->Color) {
        if (seeds.Count >= TEdgeSeeds::MaxSeeds) continue;
        current = &seeds.Items[seeds.Count++];
        *current = TEdgeSeed{c, pos(k), 0};
      }
      ++current->Run;
    }
  };
  auto compositionAt = [&](int k) { return zoomLowCLimit_ + k * dC; };
  auto temperatureAt = [&](int k) { return zoomHighTLimit_ - k * dT; };
  TCanvas& c = *Canvas();
  walk(topSeeds_, nx, [&](int k) { return c.Pixel(x1 + k, y1 + 2); }, compositionAt);
  walk(bottomSeeds_, nx, [&](int k) { return c.Pixel(x1 + k, y2 - 2); }, compositionAt);
  walk(leftSeeds_, ny, [&](int k) { return c.Pixel(x1 + 2, y1 + k); }, temperatureAt);
  walk(rightSeeds_, ny, [&](int k) { return c.Pixel(x2 - 2, y1 + k); }, temperatureAt);

  // Each seed goes to the middle of its run.
  for (TEdgeSeeds* s : {&topSeeds_, &bottomSeeds_})
    for (int i = 0; i < s->Count; ++i) s->Items[i].Position += (s->Items[i].Run / 2.0) * dC;
  for (TEdgeSeeds* s : {&leftSeeds_, &rightSeeds_})
    for (int i = 0; i < s->Count; ++i) s->Items[i].Position -= (s->Items[i].Run / 2.0) * dT;
}

// --- Mouse events -------------------------------------------------------------

void TBinagram::MouseMove(TShiftState Shift, int X, int Y) {
  if (!painted_) return;
  TBinaplot::MouseMove(Shift, X, Y);

  RemoveBalloon();
  // The area is read from the surface: when a repaint is still pending the
  // surface shows an outdated picture (an earlier window, a removed label),
  // so bring it up to date first. A drag reads nothing and keeps its band.
  if (!zoomDragging_ && Stale()) Repaint();

  const int left = layout_.PlotLeft, top = layout_.PlotTop;
  const int right = left + layout_.PlotWidth, bottom = top + layout_.PlotHeight;
  const bool outside = Y < top || Y > bottom || X < left || X > right ||
                       layout_.PlotWidth <= 0 || layout_.PlotHeight <= 0;
  if (outside) {
    SetCursor(crArrow);
    if (cursorOnArea_) {
      cursorOnArea_ = false;
      if (!(markMode_ && markedPoint_.Visible)) Invalidate();  // clears the tables
    }
    ClearCursorPoint();
    if (hotArea_ != -1) {
      hotArea_ = -1;
      if (zoomDragging_) DrawRubberBand();
    }
    if (mouseGrid_ && mouseGridShown_) {
      DrawMouseGrid();
      mouseGridShown_ = false;
    }
    if (zoomDragging_) {
      // Leaving the plot cancels the drag.
      Invalidate();
      zoomDragging_ = false;
    }
    return;
  }

  cursorOnArea_ = true;
  SetCursor(mouseGrid_ ? crArrow : crCross);
  const double unit = compositionScale_ == 1 ? 0.01 : 1.0;
  cursorPoint_.A = CompositionMap().invTransform(X) * unit;
  cursorPoint_.T = TemperatureMap().invTransform(Y);

  if (allowZoom_ && zoomDragging_ && left < X && X < right) {
    DrawRubberBand();
    bandCorner1_ = dragStart_;
    bandCorner2_ = TPoint{dragStart_.X < X ? X : X + 1, dragStart_.Y < Y ? Y : Y + 1};
    DrawRubberBand();
    dragEnd_ = TPoint{X, Y};
  }

  if (mouseGrid_ && mouseGridShown_) DrawMouseGrid();  // erase the old one

  bool haveColour = false;
  TColor colour = clBlack;
  if (!zoomDragging_ && left + 1 < X && X < right - 1 && top + 1 < Y && Y < bottom - 1) {
    colour = Canvas()->Pixel(X, Y);
    haveColour = true;
    IdentifyArea(colour, X, Y);
  }

  if (hotArea_ >= 0) {
    const TPhaseArea& area = AreaList()[hotArea_];
    cursorPoint_.PhaseName = area.Identifier;
    if (area.TwoPhase) {
      // On a black line the previous phase values stay.
      if (haveColour && colour != clBlack) FindCoPhases(colour, X, Y);
    } else {
      cursorPoint_.CoPhases = 0;
      cursorPoint_.Phase1Name.clear();
      cursorPoint_.Phase2Name.clear();
      cursorPoint_.Phase1Value = cursorPoint_.Phase2Value = 0;
      cursorPoint_.Phase1Ratio = cursorPoint_.Phase2Ratio = 0;
    }
  }

  if (mouseGrid_) {
    gridH1_ = TPoint{left, Y};
    gridH2_ = TPoint{right, Y};
    gridV1_ = TPoint{X, top};
    gridV2_ = TPoint{X, bottom};
    lastMouse_ = TPoint{X, Y};
    DrawMouseGrid();
    mouseGridShown_ = true;
  }

  if (valuesTable_) DrawValuesTable(*Canvas());
  if (coPhasesTable_ && !zoomDragging_) DrawCoPhasesTable(*Canvas());
  update();
}

void TBinagram::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (!painted_) return;
  TBinaplot::MouseDown(Button, Shift, X, Y);

  const int left = layout_.PlotLeft, top = layout_.PlotTop;
  const int right = left + layout_.PlotWidth, bottom = top + layout_.PlotHeight;
  const bool inside = left <= X && X <= right && top <= Y && Y <= bottom;

  if (Button == mbRight && inside && (hotArea_ != -1 || divisionPoint_)) DrawBalloon(X, Y);

  if (Button == mbLeft && allowZoom_ && inside) {
    dragStart_ = dragEnd_ = TPoint{X, Y};
    bandCorner1_ = bandCorner2_ = TPoint{0, 0};
    if (!Zooming()) zoomDragging_ = true;
  }
  if (Button == mbLeft && allowZoom_ && Zooming()) {
    // Leave the zoom: back to the limits in force before zooming in, as
    // they were, whatever the host set meanwhile; a click shows no message.
    SetZooming(false);
    DoZoomOut();
    StoreTLimits(SavedLowTLimit(), SavedHighTLimit());
    StoreCLimits(savedLowCLimit_, savedHighCLimit_);
    Invalidate();
  }
}

void TBinagram::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (!painted_) return;
  TBinaplot::MouseUp(Button, Shift, X, Y);

  if (Button == mbLeft && zoomDragging_) {
    // The window snaps to 10 % and 100 degrees inside the current one;
    // both axes zoom together.
    const TScaleMap cmap = CompositionMap(), tmap = TemperatureMap();
    const double c1 = cmap.invTransform(dragStart_.X), c2 = cmap.invTransform(dragEnd_.X);
    const double t1 = tmap.invTransform(dragStart_.Y), t2 = tmap.invTransform(dragEnd_.Y);
    const TAxisWindow cw = ZoomAxis(std::nearbyint(std::min(c1, c2) / 10) * 10,
                                    std::nearbyint(std::max(c1, c2) / 10 + 1) * 10, lowCLimit_,
                                    highCLimit_, 10, 0);
    const TAxisWindow tw = ZoomAxis(std::nearbyint(std::min(t1, t2) / 100) * 100,
                                    std::nearbyint(std::max(t1, t2) / 100 + 1) * 100, LowTLimit(),
                                    HighTLimit(), 100, 100);
    const bool usable = std::isfinite(cw.Low) && std::isfinite(cw.High) && cw.Low < cw.High &&
                        std::isfinite(tw.Low) && std::isfinite(tw.High) && tw.Low < tw.High;
    if (allowZoom_ && usable && dragEnd_.X != dragStart_.X && dragEnd_.Y != dragStart_.Y) {
      SetZooming(true);
      DoZoomIn();
      StoreTLimits(tw.Low, tw.High);
      StoreCLimits(cw.Low, cw.High);
      Invalidate();  // the zoomed picture, also of an unchanged window
      SetZoomWindow(lowCLimit_, highCLimit_, LowTLimit(), HighTLimit());

      DrawRubberBand();
      zoomDragging_ = false;
      if (mouseGridShown_) DrawMouseGrid();
      mouseGridShown_ = false;
      // The zoomed repaint is only requested: the surface still
      // shows the whole diagram, which is what the edge seeds sample.
      ComputeZoomWindow();
      TakeEdgeSeeds();
      return;
    }
    zoomDragging_ = false;
    Repaint();
  }

  if (Button == mbLeft && markMode_ && markedPoint_.Visible && !zoomDragging_) {
    markedPoint_.Visible = false;
    Repaint();
  }

  if (Button == mbRight && balloonShown_ && !zoomDragging_) {
    if (!Zooming()) {
      TFullDataPoint& m = markedPoint_;
      const TFullDataPoint& p = cursorPoint_;
      m.A = p.A;
      m.T = p.T;
      m.CoPhases = p.CoPhases;
      m.PhaseName = p.PhaseName;
      m.Phase1Name = p.Phase1Name;
      m.Phase1Value = p.Phase1Value;
      m.Phase1Ratio = p.Phase1Ratio;
      m.Phase2Name = p.Phase2Name;
      m.Phase2Value = p.Phase2Value;
      m.Phase2Ratio = p.Phase2Ratio;
      m.Visible = true;
      DoMarkPoint();
    }
    Invalidate();
    if (valuesTable_) DrawValuesTable(*Canvas());
    if (coPhasesTable_) DrawCoPhasesTable(*Canvas());
    balloonShown_ = false;
  }
}
