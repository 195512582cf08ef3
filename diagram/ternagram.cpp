// TTernagram: construction, properties and events; the isotherm settings.
// Units and orientation are in ternagram_units.cpp.
#include "diagram/ternagram.h"

#include <algorithm>
#include <cmath>


using namespace ternary;

// --- TIsotherm -----------------------------------------------------------------

namespace {

// Brings v into lo..hi and down to a whole multiple of unit.
template <class T>
T StepClamp(T v, T lo, T hi, T unit) {
  if (!(v >= lo)) return lo;  // NaN too
  if (v > hi) return hi;
  return T(std::trunc(double(v) / double(unit)) * double(unit));
}

}  // namespace

void TIsotherm::Changed(bool Recompute) {
  if (Recompute) Calculated = false;
  if (Diagram) Diagram->Invalidate();
}

void TIsotherm::SetColor(TColor Value) {
  if (Value == color_) return;
  color_ = Value;
  Changed(false);
}

void TIsotherm::SetError(int Value) {
  if (Value == error_) return;
  error_ = std::clamp(Value, 1, 10);
  Changed(true);
}

void TIsotherm::SetGraphType(TIsothermType Value) {
  if (Value == graphType_) return;
  graphType_ = Value;
  Changed(false);
}

void TIsotherm::SetMethod(TIsothermMethod Value) {
  if (Value == method_) return;
  method_ = Value;
  Changed(true);
}

void TIsotherm::SetMethodStep(float Value) {
  if (Value == methodStep_) return;
  methodStep_ = StepClamp(Value, 0.25f, 3.0f, 0.25f);
  Changed(true);
}

void TIsotherm::SetSigned(bool Value) {
  if (Value == signed_) return;
  signed_ = Value;
  Changed(false);
}

void TIsotherm::SetSignStep(int Value) {
  if (Value == signStep_) return;
  signStep_ = StepClamp(Value, 5, 50, 5);
  Changed(false);
}

void TIsotherm::SetSimplified(bool Value) {
  if (Value == simplified_) return;
  simplified_ = Value;
  Changed(true);
}

void TIsotherm::SetSimplifiedTimes(int Value) {
  if (Value == simplifiedTimes_) return;
  simplifiedTimes_ = std::clamp(Value, 1, 3);
  Changed(true);
}

void TIsotherm::SetSmoothed(bool Value) {
  if (Value == smoothed_) return;
  smoothed_ = Value;
  Changed(true);
}

void TIsotherm::SetSmoothedTimes(int Value) {
  if (Value == smoothedTimes_) return;
  smoothedTimes_ = std::clamp(Value, 1, 5);
  Changed(true);
}

void TIsotherm::SetStep(int Value) {
  if (Value == step_) return;
  step_ = StepClamp(Value, 50, 250, 50);
  Changed(false);
}

void TIsotherm::SetWidth(int Value) {
  if (Value == width_) return;
  width_ = std::clamp(Value, 0, 255);
  Changed(false);
}

// --- Construction ----------------------------------------------------------------

TTernagram::TTernagram(QWidget* AOwner) : TTernaplot(AOwner) {
  axisCaption_ = QStringLiteral("Mole Fraction in %");

  // Named before they get their owner, so naming them repaints nothing.
  static const char* const names[3] = {"SubA", "SubB", "SubC"};
  for (int i = 0; i < 3; ++i) {
    substances_[i].SetName(QString::fromLatin1(names[i]));
    substances_[i].DisplayName = substances_[i].Name();
    substances_[i].Owner = this;
  }

  isotherms_ = std::make_unique<TIsotherm>();
  isotherms_->Diagram = this;

  SetCompositionScale(100);
  resize(469, 322);
  layout_.TriSide = 260;
  layout_.TriHeight = 220;
  const double w = Width();
  layout_.LegendWidth = RoundPixel(std::sqrt(w) * std::sqrt(w / 12));
}

TTernagram::~TTernagram() {
  onIsothermCalcStep_ = nullptr;
  if (isotherms_) isotherms_->Diagram = nullptr;
}

// --- Properties ------------------------------------------------------------------

void TTernagram::SetTCalcMethod(TTCalcMethod Value) {
  if (Value == tCalcMethod_) return;
  tCalcMethod_ = Value;
  isotherms_->Calculated = false;
  Invalidate();
}

void TTernagram::SetDrawIsotherms(bool Value) {
  if (Value == drawIsotherms_) return;
  drawIsotherms_ = Value;
  Invalidate();
}

void TTernagram::SetIsotherms(const TIsotherm* Value) {
  if (!Value || Value == isotherms_.get()) return;
  TIsotherm& own = *isotherms_;
  own.SetColor(Value->Color());
  own.SetError(Value->Error());
  own.SetGraphType(Value->GraphType());
  own.SetMethod(Value->Method());
  own.SetMethodStep(Value->MethodStep());
  own.SetSigned(Value->Signed());
  own.SetSignStep(Value->SignStep());
  own.SetSimplified(Value->Simplified());
  own.SetSimplifiedTimes(Value->SimplifiedTimes());
  own.SetSmoothed(Value->Smoothed());
  own.SetSmoothedTimes(Value->SmoothedTimes());
  own.SetStep(Value->Step());
  own.SetWidth(Value->Width());
}

void TTernagram::SetGridSteps(int Value) {
  Value = std::clamp(Value, 2, 10);
  if (Value == gridSteps_) return;
  gridSteps_ = Value;
  Invalidate();
}

void TTernagram::SetGridType(TGridType Value) {
  if (Value == gridType_) return;
  gridType_ = Value;
  Invalidate();
}

void TTernagram::SetHotIsotherm(int Value) {
  Value = Value / 10 * 10;  // toward zero: 1237 -> 1230, -15 -> -10
  if (Value == hotIsotherm_) return;
  hotIsotherm_ = Value;
  isotherms_->Calculated = false;
  Invalidate();
}

void TTernagram::SetHotIsothermColor(TColor Value) {
  if (Value == hotIsothermColor_) return;
  hotIsothermColor_ = Value;
  Invalidate();
}

void TTernagram::SetTUnits(TTUnits Value) {
  if (Value == tUnits_) return;
  tUnits_ = Value;
  isotherms_->Calculated = false;
  Invalidate();
}

void TTernagram::SetDivisionPoint(bool Value) {
  divisionPoint_ = Value;
  if (!Value) divisionText_.clear();
}

// --- Events ----------------------------------------------------------------------

void TTernagram::DoIsothermCalcStep() {
  if (onIsothermCalcStep_) onIsothermCalcStep_(this);
}

