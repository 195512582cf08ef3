#pragma once
// TTernaplot: what every ternary phase diagram holds regardless of how it is
// drawn: up to 16 phase areas with their points of known temperature and
// fill seeds, the boundary curves, and the presentation switches. TTernagram
// adds the substances, the isotherms, the drawing and the mouse.
//
// Compositions are shares of A, B and C in percent (0..100) of the current
// basis; C is never stored for curves and areas but is 100 - A - B.
#include <QString>
#include <array>
#include <cstdint>
#include <vector>

#include "diagram/plotkit.h"
#include "platform/control.h"

namespace ternary {
enum TGraphType { gtPhase, gtMelting };
enum TCUnits { cuMolPercents, cuMolParts, cuMassPercents, cuMassParts };
enum TTUnits { tuC, tuK, tuF };
enum TDataOrientation { doDirect, doACB, doBAC, doBCA, doCAB, doCBA };
enum TGridType { gtInnerParallel, gtOutsideScale, gtAllScales };
// tcTriangulation: a smooth surface through every T-point (diagram/triangulation.h).
enum TTCalcMethod { tcAltitude, tcPolynomial, tcThermodynamic, tcTriangulation };
enum TIsothermMethod { imCornerConsecutive, imCenterRadial };
enum TIsothermType { itPoints, itPolyline, itSpline };
}  // namespace ternary

constexpr int MaxTPoints = 12;

// A composition with a known (liquidus) temperature, whole degrees Celsius.
struct TTernaryTPoint {
  float A = 0;
  float B = 0;
  std::int32_t T = 0;
};

// The solid that crystallizes first from a melt in an area: its
// composition, A and B in percent like every composition (a corner for a
// pure substance, a point inside for a compound). Defined false: the area
// names none.
struct TPrimaryPhase {
  bool Defined = false;
  float A = 0;
  float B = 0;
};

struct TTernaryArea {
  QString Identifier;         // at most 25 characters are used
  std::uint8_t TwoPhase = 0;  // nonzero for a two-phase area
  std::uint8_t TPointCount = 0;
  std::array<TTernaryTPoint, MaxTPoints> TPoints{};
  float FillA = 0;  // the seed the area is flood-filled from
  float FillB = 0;
  TPrimaryPhase PrimaryPhase;
};

using TTernaryAreaList = TAreaTable<TTernaryArea>;

// Where the triangle stands in a picture, in pixels: bottom-left corner at
// x = TriLeft, apex at y = TriTop.
struct TTriangleGeometry {
  int TriLeft = 0, TriTop = 0;
  int TriSide = 260, TriHeight = 220;
  int Bottom() const { return TriTop + TriHeight; }
};

// The composition window a (zoomed) triangle shows, in percent. The whole
// triangle is 0..100 on every share.
struct TTernaryWindow {
  double Amin = 0, Amax = 100;
  double Bmin = 0, Bmax = 100;
  double Cmin = 0, Cmax = 100;
  // Strictly inside, or inside with the border included.
  bool ContainsStrictly(double A, double B) const;
  bool Contains(double A, double B) const;
};

// sqrt(3)/2: a side turned into a height and back.
constexpr double Sin60 = 0.8660254037844386;

// Maps compositions (A, B in percent; C = 100 - A - B) of a window to pixels
// of a triangle and back, in the manner of a plot library's scale map. A
// composition lies at the height where B measures up from the bottom side
// and at the place where C measures right from the left side.
class TTriangleMap {
 public:
  TTriangleMap() = default;
  explicit TTriangleMap(const TTriangleGeometry& Geometry, const TTernaryWindow& Window = {})
      : g_(Geometry), w_(Window) {}
  const TTriangleGeometry& Geometry() const { return g_; }
  const TTernaryWindow& Window() const { return w_; }

  double LeftEdgeX(double y) const;
  double RightEdgeX(double y) const;
  // Both coordinates kept fractional.
  double Y(double B) const;
  double X(double A, double B, double y) const;
  // The screen position: y rounded first, x computed from the rounded y.
  TPoint transformRounded(double A, double B) const;
  // Whether the pixel lies strictly inside the triangle (not on its sides).
  bool Inside(int x, int y) const;
  // The shares at a pixel row y and column x, in percent of the window.
  double AAt(double x, double y) const;
  double CAt(double x, double y) const;

 private:
  TTriangleGeometry g_;
  TTernaryWindow w_;
};

class TTernaplot : public TPhasePlot {
  Q_OBJECT
 public:
  explicit TTernaplot(QWidget* AOwner = nullptr);
  ~TTernaplot() override;

  ternary::TGraphType GraphType() const { return graphType_; }
  void SetGraphType(ternary::TGraphType Value);
  bool DrawTPoints() const { return drawTPoints_; }
  void SetDrawTPoints(bool Value);

  TTernaryAreaList& AreaList() { return areaList_; }
  const TTernaryAreaList& AreaList() const { return areaList_; }

  // The boundary curves, filled by the host: A and B of each point, an
  // entry with A = -1 separating runs. The control rewrites them in place
  // when the basis or the orientation changes.
  std::vector<double>& CurveA() { return curveA_; }
  std::vector<double>& CurveB() { return curveB_; }
  const std::vector<double>& CurveA() const { return curveA_; }
  const std::vector<double>& CurveB() const { return curveB_; }
  int CurveLastIndex() const { return curveLastIndex_; }
  void SetCurveLastIndex(int Value) { curveLastIndex_ = Value; }
  // The index of the last entry that both arrays hold, at most
  // CurveLastIndex; -1 when there is none.
  int UsableCurveLastIndex() const;

  // Full-scale composition in display units: 100 (percent) or 1 (parts).
  double CompositionScale() const { return compositionScale_; }

 protected:
  void SetCompositionScale(double Value) { compositionScale_ = Value; }

 private:
  ternary::TGraphType graphType_ = ternary::gtPhase;
  bool drawTPoints_ = false;
  TTernaryAreaList areaList_;
  std::vector<double> curveA_;
  std::vector<double> curveB_;
  int curveLastIndex_ = 0;
  double compositionScale_ = 100.0;
};
