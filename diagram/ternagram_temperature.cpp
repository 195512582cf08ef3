// The liquidus temperature at a composition of an area, estimated from the
// area's points of known temperature.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

#include "diagram/altitude.h"
#include "diagram/polynoms.h"
#include "diagram/ternagram.h"

using namespace ternary;

namespace {
constexpr double NoTemperature = std::numeric_limits<double>::quiet_NaN();
}

// The fitted surface of each area with the T-points it was fitted to. The
// host writes T-points in place, so every use compares them with the copy;
// an unchanged area reuses its fit and gives exactly the same numbers.
struct TTernagram::TFitCache {
  struct Entry {
    bool Valid = false;
    int Count = 0;
    std::array<TTernaryTPoint, MaxTPoints> Points{};
    TMatrix Fit;
  };
  std::array<Entry, MaxAreas> Entries;

  const TMatrix& FitOf(int Index, const TTernaryArea& Area) {
    Entry& e = Entries[Index];
    const int n = std::min<int>(Area.TPointCount, MaxTPoints);
    const bool same = e.Valid && e.Count == n &&
                      std::memcmp(e.Points.data(), Area.TPoints.data(),
                                  sizeof(TTernaryTPoint) * std::size_t(n)) == 0;
    if (!same) {
      double a[MaxTPoints] = {}, b[MaxTPoints] = {}, t[MaxTPoints] = {};
      for (int i = 0; i < n; ++i) {
        a[i] = Area.TPoints[i].A;
        b[i] = Area.TPoints[i].B;
        t[i] = Area.TPoints[i].T;
      }
      e.Fit = FitTemperatureSurface(n, a, b, t);
      e.Count = n;
      std::copy_n(Area.TPoints.begin(), n, e.Points.begin());
      e.Valid = true;
    }
    return e.Fit;
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

double TTernagram::AreaTemperature(int Area, double A, double B) const {
  switch (TCalcMethod()) {
    case tcAltitude:
      return AltitudeTemperature(Area, A, B);
    case tcPolynomial:
      return PolynomialTemperature(Area, A, B);
    default:  // no thermodynamic model: no temperature
      return NoTemperature;
  }
}
