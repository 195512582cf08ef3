// placeholder
#include "diagram/phasekit.h"
void TSubstance::SetName(const QString& Value) { name_ = Value; }
