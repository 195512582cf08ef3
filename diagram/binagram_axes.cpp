// Axes, scales, grid, cut-axis zigzags, the marked-point cross and titles.
#include "diagram/binagram.h"

int TBinagram::TitleFontSize() const { return 10; }
int TBinagram::AxisFontSize() const { return 8; }
void TBinagram::DrawAxes(TCanvas&, TColor) {}
void TBinagram::DrawTitle(TCanvas&, TColor) {}
void TBinagram::DrawCAxisCaption(TCanvas&, TColor) {}
