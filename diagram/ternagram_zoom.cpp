// Zooming: the zoom window, its image in the unzoomed picture, the rubber
// band, the clipping of curve segments and the edge seeds.
//
// The window is a sub-triangle on the 10 % grid. Curves are placed in the
// whole triangle and then clipped to the window's image and magnified; the
// areas whose own seed lies outside the window are filled from colours
// sampled along the window's sides while the screen still showed the whole
// diagram.
#include <algorithm>
#include <cmath>
#include <utility>

#include "diagram/ternagram.h"

using namespace ternary;

namespace {

// A minimum share of the window: truncated down to the 10 % grid and kept
// where a window can start (0..90). A share within half a pixel (Pixel: the
// percent one pixel spans) below a grid line counts as on it: the pixel a
// grid line is drawn on is the one nearest to it, so a drag along grid
// points, measured as 69.99, zooms as its band shows. Nonsense from a
// degenerate geometry counts as 0.
double SnapMinimum(double v, double Pixel) {
  if (!std::isfinite(v)) return 0;
  const double tolerance = std::isfinite(Pixel) ? std::clamp(Pixel / 2 + 1e-9, 0.0, 1.0) : 0;
  return std::trunc(std::clamp(v + tolerance, 0.0, 90.0) / 10) * 10;
}

// A pixel column or row from a position that may lie anywhere.
int TruncPixel(double v) { return int(std::trunc(std::clamp(v, -1.0e6, 1.0e6))); }

QString CornerName(const TSubstance* a, double av, const TSubstance* b, double bv,
                   const TSubstance* c, double cv) {
  const QChar dash = QLatin1Char('-'), semi = QLatin1Char(';');
  return a->DisplayName + dash + FormatFixed(av, 1) + semi + b->DisplayName + dash +
         FormatFixed(bv, 1) + semi + c->DisplayName + dash + FormatFixed(cv, 1);
}

// The band's outline, inverted so that drawing it twice restores the
// picture under it.
void StrokeBand(TCanvas& c, const std::array<TPoint, 3>& band) {
  c.Pen.Color = clBlack;
  c.Pen.Mode = pmNotXor;
  c.Pen.Width = 2;
  c.Polyline({band[0], band[1], band[2], band[0]});
  c.Pen.Mode = pmCopy;
  c.Pen.Width = 1;
}

}  // namespace

// --- The window's image ------------------------------------------------------------

void TTernagram::ComputeZoomImage() {
  const TTriangleMap map = TriangleMap();
  const TTernaryWindow& w = zoomWindow_;
  const double side = TriSide(), height = TriHeight();
  zyB_ = (100 - w.Bmin) / 100 * height + TriTop();
  const double edge = map.LeftEdgeX(zyB_);
  // The bottom corners, each a pixel inwards so that the unzoomed outline
  // and grid lines on the window's sides stay out of the picture.
  zxL_ = edge + (100 - w.Amax - w.Bmin) / 100 * side + 1;
  zxR_ = edge + (100 - w.Amin - w.Bmin) / 100 * side - 1;
  zxM_ = (zxL_ + zxR_) / 2;
  const double span = zxR_ - zxL_;
  // A triangle too small to hold a window has no image; the mapping stays
  // finite so that nothing derived from it runs away.
  const bool usable = side > 0 && span > 0 && std::isfinite(span);
  zMag_ = usable ? side / span : 1;
  zyA_ = zyB_ - height / zMag_;
  if (usable) {
    const double kl = (zyA_ - zyB_) / (zxM_ - zxL_);
    const double kr = (zyB_ - zyA_) / (zxR_ - zxM_);
    zSides_ = {TSideLine{kl, zyA_ - zxM_ * kl}, TSideLine{kr, zyB_ - zxR_ * kr},
               TSideLine{0, zyB_}};
  } else {
    zSides_ = {};
  }
}

// The visible part of P-Q is P + t (Q - P) for t in [enter, leave]: each
// side of the image bounds t from one end, depending on whether the segment
// runs into or out of its half-plane. Computed this way the part keeps the
// segment's direction, so consecutive segments still share their pixels.
bool TTernagram::ClipSegment(double px, double py, double qx, double qy, TPoint& From,
                             TPoint& To) const {
  if (!(zxR_ > zxL_) || !std::isfinite(zMag_)) return false;
  if (!std::isfinite(px) || !std::isfinite(py) || !std::isfinite(qx) || !std::isfinite(qy))
    return false;
  const double dx = qx - px, dy = qy - py;
  double enter = 0, leave = 1;
  // Inside means y >= K x + B under the two slanted sides (y grows
  // downwards) and y <= yB above the bottom: g(t) = g0 + t g1 >= 0.
  auto bound = [&](double g0, double g1) {
    if (g1 == 0) return g0 >= 0;
    const double t = -g0 / g1;
    if (g1 > 0)
      enter = std::max(enter, t);
    else
      leave = std::min(leave, t);
    return enter <= leave;
  };
  for (int s = 0; s < 2; ++s) {
    const TSideLine& l = zSides_[s];
    if (!bound(py - (l.K * px + l.B), dy - l.K * dx)) return false;
  }
  if (!bound(zyB_ - py, -dy)) return false;
  if (!(enter < leave)) return false;  // touches a corner only
  auto map = [&](double t) {
    const double x = px + t * dx, y = py + t * dy;
    return TPoint{RoundPixel((x - zxL_) * zMag_) + TriLeft(),
                  RoundPixel((y - zyA_) * zMag_) + TriTop()};
  };
  From = map(enter);
  To = map(leave);
  return true;
}

// --- Edge seeds ----------------------------------------------------------------

void TTernagram::TakeEdgeSeeds() {
  for (TTernarySeeds& s : seeds_) s = TTernarySeeds{};
  const double side = TriSide(), height = TriHeight();
  if (!(side > 0 && height > 0 && zxR_ > zxL_)) return;
  const TTernaryWindow& w = zoomWindow_;
  const TCanvas& canvas = *Canvas();
  const TColor isotherm = isotherms_->Color();
  auto usable = [&](TColor c) {
    return c != clBlack && c != clWhite && c != clInvalid && c != isotherm &&
           c != hotIsothermColor_ && c != CrystallizationColor;
  };
  // One scanned pixel: a usable colour other than the last seed's starts a
  // seed, made by Make; the last seed's colour lengthens its run.
  auto scan = [&](TTernarySeeds& s, TColor c, auto make) {
    const TColor last = s.Count > 0 ? s.Items[s.Count - 1].Color : clBlack;
    if (usable(c) && c != last && s.Count < TTernarySeeds::MaxSeeds)
      s.Items[s.Count++] = make(c);
    if (s.Count > 0 && c == s.Items[s.Count - 1].Color) ++s.Items[s.Count - 1].Run;
  };
  const int baseRow = TruncPixel(zyB_);
  const int limit = Width() + Height() + 2;  // no side is longer than that

  // Bottom side, two pixels above it; each seed goes to the middle of its run.
  TTernarySeeds& bottom = seeds_[0];
  const int across = std::min(TruncPixel(zxR_ - zxL_) + 1, limit);
  const double bottomB = w.Bmin + 2 / height * (w.Bmax - w.Bmin);
  for (int k = 0; k <= across; ++k)
    scan(bottom, canvas.Pixel(TruncPixel(zxL_ + k), baseRow - 2), [&](TColor c) {
      return TTernarySeed{c, w.Amax - k / side * 100, bottomB, 0};
    });
  for (int i = 0; i < bottom.Count; ++i) {
    TTernarySeed& s = bottom.Items[i];
    if (s.Run % 2 == 0) ++s.Run;
    s.A -= (s.Run + 2) / 2.0 / side * 100;
  }

  // The slanted sides, a pixel inside them, from the bottom up.
  const int up = std::min(TruncPixel(zyB_ - zyA_), limit);
  for (int k = 1; k <= up; ++k) {
    const double d = k / Sin60 / 2;
    const double b = k / height * 100 + w.Bmin;
    auto at = [&](TColor c) { return TTernarySeed{c, 0, b, 0}; };
    scan(seeds_[1], canvas.Pixel(TruncPixel(d + zxL_) + 1, baseRow - k), at);
    scan(seeds_[2], canvas.Pixel(TruncPixel(zxR_ - d) - 1, baseRow - k), at);
  }
  for (int sideIndex = 1; sideIndex <= 2; ++sideIndex)
    for (int i = 0; i < seeds_[sideIndex].Count; ++i) {
      TTernarySeed& s = seeds_[sideIndex].Items[i];
      s.B += s.Run / 2.0 / height * 100;
      // One zoomed pixel in from the side the seed was found on.
      s.A = sideIndex == 1 ? 100 - s.B - w.Cmin - (w.Cmax - w.Cmin) / side
                           : w.Amin + (w.Amax - w.Amin) / side;
    }
}

// --- Corner names ------------------------------------------------------------------

void TTernagram::RenameCorners() {
  const double f = 100 / CompositionScale();
  const TTernaryWindow& w = zoomWindow_;
  const TSubstance *a = SubstanceA(), *b = SubstanceB(), *c = SubstanceC();
  SubstanceA()->SetName(CornerName(a, w.Amax / f, b, w.Bmin / f, c, w.Cmin / f));
  SubstanceC()->SetName(CornerName(a, w.Amin / f, b, w.Bmin / f, c, w.Cmax / f));
  SubstanceB()->SetName(CornerName(a, w.Amin / f, b, w.Bmax / f, c, w.Cmin / f));
}

// --- Gestures ----------------------------------------------------------------------

void TTernagram::EraseRubberBand() {
  if (band_ == std::array<TPoint, 3>{}) return;
  StrokeBand(*Canvas(), band_);
  band_ = {};
  update();
}

void TTernagram::DrawRubberBand(int X) {
  const TTriangleMap map = TriangleMap();
  const int x0 = dragStart_.X, y0 = dragStart_.Y;
  if (!(map.LeftEdgeX(y0) < X && X < map.RightEdgeX(y0))) return;
  EraseRubberBand();
  // An upward equilateral triangle on the dragged base.
  band_ = {TPoint{x0, y0}, TPoint{x0 + (X - x0) / 2, y0 - RoundPixel(std::abs(X - x0) * Sin60)},
           TPoint{X, y0}};
  StrokeBand(*Canvas(), band_);
  dragX_ = X;
  update();
}

void TTernagram::ZoomIn() {
  zoom_ = true;
  DoZoomIn();

  // The window's minima from the dragged base: C left of it, B below it, A
  // right of it, each truncated down to the 10 % grid.
  const TTriangleMap map = TriangleMap();
  const double x0 = dragStart_.X, y0 = dragStart_.Y, x1 = dragX_;
  const double side = TriSide(), height = TriHeight();
  TTernaryWindow w;
  w.Cmin = SnapMinimum((std::min(x0, x1) - map.LeftEdgeX(y0)) / side * 100, 100 / side);
  w.Bmin = SnapMinimum((height + TriTop() - y0) / height * 100, 100 / height);
  w.Amin = SnapMinimum((map.RightEdgeX(y0) - std::max(x0, x1)) / side * 100, 100 / side);
  // A base of two pixels or more leaves the minima below 100 together; a
  // triangle whose height and side disagree by a pixel could still push
  // them to 100, which would leave no window: the largest gives way.
  while (w.Amin + w.Bmin + w.Cmin > 90) {
    double& largest = w.Amin >= w.Bmin && w.Amin >= w.Cmin ? w.Amin
                      : w.Bmin >= w.Cmin                   ? w.Bmin
                                                           : w.Cmin;
    largest -= 10;
  }
  w.Amax = 100 - w.Bmin - w.Cmin;
  w.Bmax = 100 - w.Amin - w.Cmin;
  w.Cmax = 100 - w.Amin - w.Bmin;
  zoomWindow_ = w;

  // Band and guide lines leave the screen, which still shows the whole
  // diagram: it is sampled before the names repaint the control zoomed.
  EraseRubberBand();
  if (std::exchange(mouseGridShown_, false)) DrawGuideLines();
  zoomDragging_ = false;
  ComputeZoomImage();
  TakeEdgeSeeds();
  RenameCorners();
  Invalidate();
}

void TTernagram::ZoomOut() {
  zoom_ = false;
  DoZoomOut();
  for (TSubstance& s : substances_) s.SetName(s.DisplayName);
  zoomWindow_ = TTernaryWindow{};
  // The names may not have changed (a host renamed a substance to its zoom
  // name): the picture must still go back to the whole triangle.
  Invalidate();
}
