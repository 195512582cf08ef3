// Substances and data points shared by the diagram controls.
#include "diagram/phasekit.h"

void TSubstance::SetName(const QString& Value) {
  if (Value == name_) return;
  name_ = Value;
  // While its control is zoomed the name shown may change, but DisplayName
  // keeps the pure name for the zoom-out.
  if (auto* owner = dynamic_cast<TSubstanceOwner*>(Owner)) {
    if (!owner->KeepsDisplayNames()) DisplayName = Value;
    owner->SubstanceRenamed();
  }
}
