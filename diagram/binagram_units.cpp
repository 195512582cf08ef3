// The composition axis of TBinagram: the validated window limits, the
// composition units (mole or mass basis, percent or parts) and the data
// orientation. Every stored composition is a percentage of the current
// basis; the parts units change only CompositionScale and the marked point.
#include <algorithm>
#include <cmath>

#include "diagram/binagram.h"
#include "platform/messages.h"

using namespace binary;

namespace {
bool IsMassUnit(TCUnits u) { return u == cuMassPercents || u == cuMassParts; }
bool IsPartsUnit(TCUnits u) { return u == cuMolParts || u == cuMassParts; }

// Amount a of B on a scale s (100 for percent) on the other basis; from mass
// to mole the masses are divided, from mole to mass multiplied. A degenerate
// denominator leaves the value as it is.
double Rebase(double a, double s, double ma, double mb, bool toMole) {
  const double b = toMole ? a / mb : a * mb;
  const double rest = toMole ? (s - a) / ma : (s - a) * ma;
  const double sum = b + rest;
  if (sum == 0 || !std::isfinite(sum)) return a;
  // Rounding must not push a value off the axis, where the way back would
  // leave it alone.
  return std::clamp(b * s / sum, 0.0, s);
}

bool UsableMass(float m) { return std::isfinite(m) && m > 0; }

// A composition on the axis 0..Scale. Values off the axis (separators, NaN,
// a host's faulty data) are left as they are by every conversion, so that
// none of them is turned into something else: -1 stays a separator and
// mirroring it twice cannot make one.
bool OnAxis(double c, double Scale = 100) { return c >= 0 && c <= Scale; }
}  // namespace

template <class F>
void TBinagram::ConvertMarkedPoint(F&& Convert) {
  TFullDataPoint& p = markedPoint_;
  p.A = Convert(p.A);
  if (p.CoPhases != 2) return;
  p.Phase1Value = Convert(p.Phase1Value);
  p.Phase2Value = Convert(p.Phase2Value);
  if (p.Phase1Value > p.Phase2Value) {
    std::swap(p.Phase1Value, p.Phase2Value);
    std::swap(p.Phase1Name, p.Phase2Name);
  }
  SetLeverRatios(p, compositionScale_);
}

void TBinagram::RebuildCAxisCaption() {
  const QString basis = IsMassUnit(cUnits_) ? QStringLiteral("Mass Fraction ")
                                            : QStringLiteral("Mole Fraction ");
  cAxisCaption_ = basis + substanceB_.Name();
  if (!IsPartsUnit(cUnits_)) cAxisCaption_ += QStringLiteral(" in %");
}

// The window keeps 0 <= LowCLimit < HighCLimit <= 100: a refused limit is
// moved 10 away from the other one, but never past the ends of the axis.
// Non-finite values are refused silently, as for the temperature limits.
void TBinagram::SetLowCLimit(double Value) {
  if (!std::isfinite(Value)) return;
  if (Value < 0) {
    lowCLimit_ = 0;
  } else if (Value >= highCLimit_) {
    ShowMessage(QStringLiteral("Low concentration limit must be lower then high one:") +
                FloatToStr(Value) + QStringLiteral(" not < ") + FloatToStr(highCLimit_));
    lowCLimit_ = std::max(0.0, highCLimit_ - 10);
  } else {
    lowCLimit_ = Value;
  }
  if (!Zooming()) savedLowCLimit_ = lowCLimit_;
  Invalidate();
}

void TBinagram::SetHighCLimit(double Value) {
  if (!std::isfinite(Value) || Value == highCLimit_) return;
  if (Value > 100) {
    highCLimit_ = 100;
  } else if (Value <= lowCLimit_) {
    ShowMessage(QStringLiteral("High concentration limit must be higher then low one:") +
                FloatToStr(Value) + QStringLiteral(" not > ") + FloatToStr(lowCLimit_));
    highCLimit_ = std::min(100.0, lowCLimit_ + 10);
  } else {
    highCLimit_ = Value;
  }
  if (!Zooming()) savedHighCLimit_ = highCLimit_;
  Invalidate();
}

void TBinagram::StoreCLimits(double Low, double High) {
  if (Low == lowCLimit_ && High == highCLimit_) return;
  lowCLimit_ = Low;
  highCLimit_ = High;
  if (!Zooming()) {
    savedLowCLimit_ = Low;
    savedHighCLimit_ = High;
  }
  Invalidate();
}

void TBinagram::SetCUnits(TCUnits Value) {
  if (Zooming() || Value == cUnits_) return;
  const TCUnits old = cUnits_;
  const bool basisChange = IsMassUnit(old) != IsMassUnit(Value);
  const double ma = substanceA_.MolMass;
  const double mb = substanceB_.MolMass;
  // Without usable molar masses no composition can be recomputed; switching
  // the basis anyway would mislabel every stored value.
  if (basisChange && !(UsableMass(substanceA_.MolMass) && UsableMass(substanceB_.MolMass)))
    return;

  cUnits_ = Value;
  RebuildCAxisCaption();
  compositionScale_ = IsPartsUnit(Value) ? 1 : 100;

  // A marked point off the axis keeps its value through both steps.
  const bool marked = markMode_ && markedPoint_.Visible &&
                      OnAxis(markedPoint_.A, IsPartsUnit(old) ? 1 : 100);
  if (marked && IsPartsUnit(old) != IsPartsUnit(Value))
    ConvertMarkedPoint([&](double a) { return IsPartsUnit(Value) ? a / 100 : a * 100; });

  if (basisChange) {
    const bool toMole = !IsMassUnit(Value);
    lowCLimit_ = Rebase(lowCLimit_, 100, ma, mb, toMole);
    highCLimit_ = Rebase(highCLimit_, 100, ma, mb, toMole);
    savedLowCLimit_ = lowCLimit_;
    savedHighCLimit_ = highCLimit_;
    if (marked)
      ConvertMarkedPoint([&](double a) { return Rebase(a, compositionScale_, ma, mb, toMole); });
    std::vector<double>& c = CurveCRef();
    if (CurveLastIndex() > 0)
      for (int i = 0; i <= CurveLastIndex() && i < int(c.size()); ++i)
        if (OnAxis(c[i])) c[i] = Rebase(c[i], 100, ma, mb, toMole);
    for (int i = 0; i < Areas(); ++i)
      if (OnAxis(AreaList()[i].C))
        AreaList()[i].C = float(Rebase(AreaList()[i].C, 100, ma, mb, toMole));
  }
  DropCursorReadout();
  Invalidate();
}

void TBinagram::SetDataOrientation(TDataOrientation Value) {
  if (Zooming() || Value == dataOrientation_) return;
  dataOrientation_ = Value;

  // Mirror the axis: the position after the last point is included.
  std::vector<double>& c = CurveCRef();
  for (int i = 0; i <= CurveLastIndex() + 1 && i < int(c.size()); ++i)
    if (OnAxis(c[i])) c[i] = 100 - c[i];
  for (int i = 0; i < Areas(); ++i)
    if (OnAxis(AreaList()[i].C)) AreaList()[i].C = 100 - AreaList()[i].C;

  // The substances change ends; Element and ElementAtoms stay with theirs.
  const QString formerB = substanceB_.Name();
  substanceB_.SetName(substanceA_.Name());
  substanceA_.SetName(formerB);
  std::swap(substanceA_.MolMass, substanceB_.MolMass);

  if (markMode_ && markedPoint_.Visible && OnAxis(markedPoint_.A, compositionScale_))
    ConvertMarkedPoint([&](double a) { return compositionScale_ - a; });
  DropCursorReadout();
  Invalidate();
}
