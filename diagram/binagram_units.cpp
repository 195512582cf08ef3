// placeholder
#include "diagram/binagram.h"
void TBinagram::SetCUnits(binary::TCUnits v) { cUnits_ = v; }
void TBinagram::SetDataOrientation(binary::TDataOrientation v) { dataOrientation_ = v; }
void TBinagram::SetLowCLimit(double v) { lowCLimit_ = v; }
void TBinagram::SetHighCLimit(double v) { highCLimit_ = v; }
