// Isotherms: tracing over the composition grid, chain ordering, smoothing
// and thinning, and drawing with labels.
#include <algorithm>
#include <cmath>

#include "diagram/ternagram.h"

using namespace ternary;

void TTernagram::DrawIsothermStep(TCanvas&) {}

int TTernagram::IsothermTemperature(int k) const {
  const TIsotherm& iso = *Isotherms();
  return k < iso.IsothermCount ? iso.LowIsotherm + 50 * k : HotIsotherm();
}
