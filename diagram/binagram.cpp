// TBinagram: construction, grid steps and the temperature unit (the
// switches, marking and events it shares with the ternary control live in
// TPhasePlot). The composition window, units and orientation are in
// binagram_units.cpp.
#include "diagram/binagram.h"

#include <cmath>


using namespace binary;

TBinagram::TBinagram(QWidget* AOwner) : TBinaplot(AOwner) {
  // Named before they get their owner, so naming them repaints nothing.
  substanceA_.SetName(QStringLiteral("SubA"));
  substanceA_.DisplayName = substanceA_.Name();
  substanceB_.SetName(QStringLiteral("SubB"));
  substanceB_.DisplayName = substanceB_.Name();
  substanceA_.Owner = this;
  substanceB_.Owner = this;

  RebuildCAxisCaption();
  compositionScale_ = 100;

  resize(469, 322);
  layout_.PlotWidth = 260;
  layout_.PlotHeight = 220;
  const double w = Width();
  layout_.LegendWidth = int(std::nearbyint(std::sqrt(w) * std::sqrt(w / 12)));

  SetSavedLowTLimit(0);
  SetSavedHighTLimit(1000);
  savedLowCLimit_ = 0;
  savedHighCLimit_ = 100;
}

TBinagram::~TBinagram() = default;

void TBinagram::SetCAxisStep(int Value) {
  if (Value == cAxisStep_) return;
  // Only steps of 2, 5 and 10 percent divide the axis evenly.
  if (Value < 2)
    Value = 2;
  else if (Value >= 3 && Value <= 9)
    Value = 5;
  else if (Value > 10)
    Value = 10;
  cAxisStep_ = Value;
  Invalidate();
}

void TBinagram::SetGridType(TGridType Value) { Change(gridType_, Value); }

void TBinagram::SetTAxisStep(int Value) {
  if (Value == tAxisStep_) return;
  tAxisStep_ = Value < 10 ? 10 : Value;
  Invalidate();
}

void TBinagram::SetTUnits(TTUnits Value) {
  if (Value == TUnits() || Zooming()) return;
  // The marked point follows the unit like the limits: whole degrees in
  // Celsius.
  if (markMode_ && markedPoint_.Visible) {
    double t = ConvertTemperature(markedPoint_.T, TUnits(), Value);
    markedPoint_.T = Value == tuC ? std::nearbyint(t) : t;
  }
  DropCursorReadout();
  TBinaplot::SetTUnits(Value);
}

