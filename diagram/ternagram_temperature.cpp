// The liquidus temperature at a composition of an area, estimated from the
// area's points of known temperature.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

#include "diagram/altitude.h"
#include "diagram/polynoms.h"
#include "diagram/ternagram.h"
#include "diagram/triangulation.h"

using namespace ternary;

namespace {
constexpr double NoTemperature = std::numeric_limits<double>::quiet_NaN();

// An area's T-points as the numeric units take them: shares and °C.
struct TAreaPoints {
  double A[MaxTPoints] = {}, B[MaxTPoints] = {}, T[MaxTPoints] = {};
  TAreaPoints(int n, const std::array<TTernaryTPoint, MaxTPoints>& Points) {
    for (int i = 0; i < n; ++i) {
      A[i] = Points[i].A;
      B[i] = Points[i].B;
      T[i] = Points[i].T;
    }
  }
};
}  // namespace

// The fitted and the triangulated surface of each area with the T-points
// they were made from. The host writes T-points in place, so every use
// compares them with the copy; an unchanged area reuses its surfaces and
// gives exactly the same numbers. Each surface is made on its first use.
struct TTernagram::TFitCache {
  struct Entry {
    bool Valid = false;
    int Count = 0;
    std::array<TTernaryTPoint, MaxTPoints> Points{};
    bool Fitted = false, Triangulated = false;
    TMatrix Fit;
    TTriangulatedSurface Surface;
  };
  std::array<Entry, MaxAreas> Entries;

  Entry& EntryOf(int Index, const TTernaryArea& Area) {
    Entry& e = Entries[Index];
    const int n = std::min<int>(Area.TPointCount, MaxTPoints);
    const bool same = e.Valid && e.Count == n &&
                      std::memcmp(e.Points.data(), Area.TPoints.data(),
                                  sizeof(TTernaryTPoint) * std::size_t(n)) == 0;
    if (!same) {
      e.Count = n;
      std::copy_n(Area.TPoints.begin(), n, e.Points.begin());
      e.Valid = true;
      e.Fitted = e.Triangulated = false;
    }
    return e;
  }
  const TMatrix& FitOf(int Index, const TTernaryArea& Area) {
    Entry& e = EntryOf(Index, Area);
    if (!e.Fitted) {
      TAreaPoints p(e.Count, e.Points);
      e.Fit = FitTemperatureSurface(e.Count, p.A, p.B, p.T);
      e.Fitted = true;
    }
    return e.Fit;
  }
  const TTriangulatedSurface& SurfaceOf(int Index, const TTernaryArea& Area) {
    Entry& e = EntryOf(Index, Area);
    if (!e.Triangulated) {
      TAreaPoints p(e.Count, e.Points);
      e.Surface = TTriangulatedSurface(e.Count, p.A, p.B, p.T);
      e.Triangulated = true;
    }
    return e.Surface;
  }
};

double TTernagram::AltitudeTemperature(int Area, double A, double B) const {
  if (Area < 0 || Area >= AreasInUse()) return NoTemperature;
  const TTernaryArea& area = AreaList()[Area];
  const int n = std::min<int>(area.TPointCount, MaxTPoints);
  TAltitudePoints points{};
  for (int i = 0; i < n; ++i)
    points[i] = TAltitudePoint{area.TPoints[i].A, area.TPoints[i].B, double(area.TPoints[i].T)};
  return EstimateAltitude(n, points, A, B);
}

double TTernagram::PolynomialTemperature(int Area, double A, double B) const {
  if (Area < 0 || Area >= AreasInUse()) return NoTemperature;
  if (!fits_) fits_ = std::make_shared<TFitCache>();
  const TMatrix& fit = fits_->FitOf(Area, AreaList()[Area]);
  // A surface that could not be fitted has no coefficients to evaluate.
  if (fit.Status != 0) return NoTemperature;
  return PolynomialValue(fit, A / 100, B / 100);
}

double TTernagram::TriangulationTemperature(int Area, double A, double B) const {
  if (Area < 0 || Area >= AreasInUse()) return NoTemperature;
  if (!fits_) fits_ = std::make_shared<TFitCache>();
  return fits_->SurfaceOf(Area, AreaList()[Area]).Value(A, B);
}

double TTernagram::AreaTemperature(int Area, double A, double B) const {
  switch (TCalcMethod()) {
    case tcAltitude:
      return AltitudeTemperature(Area, A, B);
    case tcPolynomial:
      return PolynomialTemperature(Area, A, B);
    case tcTriangulation:
      return TriangulationTemperature(Area, A, B);
    default:  // no thermodynamic model: no temperature
      return NoTemperature;
  }
}
