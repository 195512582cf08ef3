// Composition units and data orientation: both rewrite every stored
// composition in place.
#include <algorithm>
#include <cmath>

#include "diagram/ternagram.h"

using namespace ternary;

void TTernagram::SetCUnits(TCUnits Value) {
  if (Value == cUnits_) return;
  cUnits_ = Value;
  Invalidate();
}

void TTernagram::SetDataOrientation(TDataOrientation Value) {
  if (Value == dataOrientation_ || zoom_) return;
  dataOrientation_ = Value;
  Invalidate();
}
