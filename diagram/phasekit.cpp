// Substances and data points shared by the diagram controls.
#include "diagram/phasekit.h"

#include "diagram/binagram.h"

void TSubstance::SetName(const QString& Value) {
  if (Value == name_) return;
  name_ = Value;
  // While its control is zoomed the name shown may change, but DisplayName
  // keeps the pure name for the zoom-out.
  if (auto* binary = dynamic_cast<TBinagram*>(Owner)) {
    if (!binary->Zooming()) DisplayName = Value;
    binary->Invalidate();
  }
}
