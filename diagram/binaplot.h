#pragma once
// TBinaplot: what every binary phase diagram holds regardless of how it is
// drawn: up to 16 named phase areas, the phase-boundary curves, the
// temperature window and unit with conversion of every stored temperature,
// and the appearance switches. TBinagram adds the composition axis, the
// drawing and the mouse.
#include <QString>
#include <array>
#include <cmath>
#include <cstdint>
#include <vector>

#include "diagram/plotkit.h"
#include "platform/color.h"
#include "platform/control.h"

namespace binary {
enum TGraphKind { gkHorizontal, gkVertical };
enum TTUnits { tuC, tuK, tuF };
enum TCUnits { cuMolPercents, cuMolParts, cuMassPercents, cuMassParts };
enum TDataOrientation { doDirect, doInversed };
enum TGridType { gtOverAllScale, gtOutsideScale };
}  // namespace binary

struct TPhaseArea {
  QString Identifier;        // at most 25 characters are used
  std::uint8_t TwoPhase = 0;  // 1 for a two-phase field
  float C = 0;               // composition of a point inside the area
  float T = 0;               // its temperature (current unit)
};

using TPhaseAreaList = TAreaTable<TPhaseArea>;

struct TSplinePoint {
  float C = 0;  // -1 marks a separator between curves
  float T = 0;
};

struct TSplinesData {
  std::vector<TSplinePoint> Points;
  std::uint16_t LastIndex = 0;  // index of the last valid point
};

// A linear map between a value range and a pixel range, in the manner of a
// plot library's scale map. v1 maps to p1 and v2 to p2.
struct TScaleMap {
  double v1 = 0, v2 = 1;
  double p1 = 0, p2 = 1;
  double transform(double v) const { return p1 + (v - v1) / (v2 - v1) * (p2 - p1); }
  double invTransform(double p) const { return v1 + (p - p1) / (p2 - p1) * (v2 - v1); }
  // round(offset from p1) + p1: the rounding the diagram uses for positions.
  int transformRounded(double v) const;
};

class TBinaplot : public TPhasePlot {
  Q_OBJECT
 public:
  explicit TBinaplot(QWidget* AOwner = nullptr);
  ~TBinaplot() override;

  binary::TGraphKind GraphKind() const { return graphKind_; }
  void SetGraphKind(binary::TGraphKind Value);
  double HighTLimit() const { return highTLimit_; }
  void SetHighTLimit(double Value);
  double LowTLimit() const { return lowTLimit_; }
  void SetLowTLimit(double Value);
  binary::TTUnits TUnits() const { return tUnits_; }
  virtual void SetTUnits(binary::TTUnits Value);
  // A temperature t in unit From expressed in unit To (not rounded).
  static double ConvertTemperature(double t, binary::TTUnits From, binary::TTUnits To);

  // Write-only in the published interface: hands over all curve points.
  void SetSplinesData(const TSplinesData& Data);
  // The same in the precision the control keeps: C[i] and T[i] of every
  // point, C = -1 ending a curve (the shorter list decides the count). A
  // document hands its curves over this way, so that compositions and
  // temperatures the control computed in a unit conversion read back
  // unchanged.
  void SetCurvePoints(const std::vector<double>& C, const std::vector<double>& T);

  TPhaseAreaList& AreaList() { return areaList_; }
  const TPhaseAreaList& AreaList() const { return areaList_; }

  bool Zooming() const { return zooming_; }
  double SavedLowTLimit() const { return savedLowTLimit_; }
  double SavedHighTLimit() const { return savedHighTLimit_; }

  // The stored curves: compositions and temperatures, LastIndex + 2 each
  // (the element after the last point never holds a point).
  int CurveLastIndex() const { return lastIndex_; }
  const std::vector<double>& CurveC() const { return curveC_; }
  const std::vector<double>& CurveT() const { return curveT_; }

 protected:
  void SetZooming(bool Value) { zooming_ = Value; }
  void SetSavedLowTLimit(double Value) { savedLowTLimit_ = Value; }
  void SetSavedHighTLimit(double Value) { savedHighTLimit_ = Value; }
  std::vector<double>& CurveCRef() { return curveC_; }
  std::vector<double>& CurveTRef() { return curveT_; }
  // Low/high temperature clamps of the current unit with their messages.
  double ClampTemperature(double x) const;
  // Stores a window the caller has already made valid (inside the unit's
  // range, at least 100 degrees), without messages; the saved copies follow
  // when not zooming. Repaints when anything changed.
  void StoreTLimits(double Low, double High);

 private:
  binary::TGraphKind graphKind_ = binary::gkHorizontal;
  double highTLimit_ = 1000.0;
  double lowTLimit_ = 0.0;
  binary::TTUnits tUnits_ = binary::tuC;
  TPhaseAreaList areaList_;
  bool zooming_ = false;
  double savedLowTLimit_ = 0.0;
  double savedHighTLimit_ = 1000.0;
  int lastIndex_ = 0;
  std::vector<double> curveC_;
  std::vector<double> curveT_;
};
