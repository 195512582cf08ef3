// Legend, values table and co-phases table.
#include "diagram/binagram.h"

int TBinagram::PanelFontSize() const { return 8; }
void TBinagram::DrawLegend(TCanvas&) {}
void TBinagram::DrawValuesTable(TCanvas&) {}
void TBinagram::DrawCoPhasesTable(TCanvas&) {}
