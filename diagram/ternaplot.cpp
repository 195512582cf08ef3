// TTernaplot: phase areas, boundary curves and presentation switches of the
// ternary phase diagram, and the triangle's composition map.
#include "diagram/ternaplot.h"

#include <algorithm>
#include <cmath>

using namespace ternary;

// --- Window and map ------------------------------------------------------------

bool TTernaryWindow::ContainsStrictly(double A, double B) const {
  const double C = 100 - A - B;
  return Amin < A && A < Amax && Bmin < B && B < Bmax && Cmin < C && C < Cmax;
}

bool TTernaryWindow::Contains(double A, double B) const {
  const double C = 100 - A - B;
  return Amin <= A && A <= Amax && Bmin <= B && B <= Bmax && Cmin <= C && C <= Cmax;
}

double TTriangleMap::LeftEdgeX(double y) const {
  return g_.TriLeft + (g_.TriTop + g_.TriHeight - y) / Sin60 / 2;
}

double TTriangleMap::RightEdgeX(double y) const {
  return 2.0 * g_.TriLeft + g_.TriSide - LeftEdgeX(y);
}

double TTriangleMap::Y(double B) const {
  return g_.TriTop + (w_.Bmax - B) / (w_.Bmax - w_.Bmin) * g_.TriHeight;
}

double TTriangleMap::X(double A, double B, double y) const {
  return LeftEdgeX(y) + (100 - A - B - w_.Cmin) / (w_.Cmax - w_.Cmin) * g_.TriSide;
}

TPoint TTriangleMap::transformRounded(double A, double B) const {
  const int y = g_.TriTop + RoundPixel((w_.Bmax - B) / (w_.Bmax - w_.Bmin) * g_.TriHeight);
  return TPoint{RoundPixel(X(A, B, y)), y};
}

bool TTriangleMap::Inside(int x, int y) const {
  return g_.TriTop < y && y < g_.Bottom() && LeftEdgeX(y) < x && x < RightEdgeX(y);
}

double TTriangleMap::AAt(double x, double y) const {
  return w_.Amin + (RightEdgeX(y) - x) / g_.TriSide * (w_.Amax - w_.Amin);
}

double TTriangleMap::CAt(double x, double y) const {
  return w_.Cmin + (x - LeftEdgeX(y)) / g_.TriSide * (w_.Cmax - w_.Cmin);
}

// --- TTernaplot ----------------------------------------------------------------

TTernaplot::TTernaplot(QWidget* AOwner) : TPhasePlot(AOwner) {}

TTernaplot::~TTernaplot() = default;

void TTernaplot::SetGraphType(TGraphType Value) {
  if (Value == graphType_) return;
  graphType_ = Value;
  Invalidate();
}

void TTernaplot::SetDrawTPoints(bool Value) {
  if (Value == drawTPoints_) return;
  drawTPoints_ = Value;
  Invalidate();
}


int TTernaplot::UsableCurveLastIndex() const {
  const long long held = std::min(curveA_.size(), curveB_.size());
  return int(std::min<long long>(curveLastIndex_, held - 1));
}
