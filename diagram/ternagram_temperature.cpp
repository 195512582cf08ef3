// The liquidus temperature at a composition of an area, from its T-points.
#include <cmath>
#include <limits>

#include "diagram/ternagram.h"

using namespace ternary;

struct TTernagram::TFitCache {};

double TTernagram::AltitudeTemperature(int, double, double) const {
  return std::numeric_limits<double>::quiet_NaN();
}
double TTernagram::PolynomialTemperature(int, double, double) const {
  return std::numeric_limits<double>::quiet_NaN();
}
double TTernagram::AreaTemperature(int Area, double A, double B) const {
  switch (TCalcMethod()) {
    case tcAltitude: return AltitudeTemperature(Area, A, B);
    case tcPolynomial: return PolynomialTemperature(Area, A, B);
    default: return std::numeric_limits<double>::quiet_NaN();
  }
}
