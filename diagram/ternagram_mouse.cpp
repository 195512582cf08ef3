// Cursor read-out, the values and co-phase tables, the name balloon and
// marking.
#include <algorithm>
#include <cmath>

#include "diagram/ternagram.h"

using namespace ternary;

void TTernagram::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TTernaplot::MouseDown(Button, Shift, X, Y);
}
void TTernagram::MouseMove(TShiftState Shift, int X, int Y) { TTernaplot::MouseMove(Shift, X, Y); }
void TTernagram::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TTernaplot::MouseUp(Button, Shift, X, Y);
}
void TTernagram::DrawGuideLines() {}
void TTernagram::DrawValuesTable(TCanvas&) {}
void TTernagram::DrawCoPhasesTable(TCanvas&) {}
void TTernagram::DrawBalloon(int, int) {}
