// Composition units and data orientation: both rewrite every stored
// composition in place.
//
// Stored compositions are percent of the current basis (mole or mass) in
// the current orientation; the parts units only divide what is shown by
// 100. A composition off the triangle (a share outside 0..100 or not a
// number: the host's error) is left as it is by both conversions, so that
// a rearranged share can never turn into the curve separator -1.
#include <algorithm>
#include <cmath>

#include "diagram/ternagram.h"

using namespace ternary;

namespace {

bool IsMassUnit(TCUnits u) { return u == cuMassPercents || u == cuMassParts; }
bool IsPartsUnit(TCUnits u) { return u == cuMolParts || u == cuMassParts; }

// Converted shares may sum to 100 plus a rounding error: still on the
// triangle.
constexpr double ShareSlack = 1e-4;
bool OnTriangle(double A, double B, double C) {
  auto share = [](double v) { return v >= -ShareSlack && v <= 100 + ShareSlack; };
  return share(A) && share(B) && share(C);
}

bool UsableMass(float m) { return std::isfinite(m) && m > 0; }

// The substance of the direct orientation standing at corners A, B, C.
constexpr int CornerSubstance[6][3] = {
    {0, 1, 2},  // doDirect
    {0, 2, 1},  // doACB
    {1, 0, 2},  // doBAC
    {1, 2, 0},  // doBCA
    {2, 0, 1},  // doCAB
    {2, 1, 0},  // doCBA
};

// A converted composition that lies within rounding of a side or a corner
// is put on it: what the user sees on the triangle stays on the triangle
// (and can be saved), and a corner stays a corner.
void KeepOnTriangle(double& A, double& B) {
  constexpr double Rounding = 1e-9;
  auto snap = [](double v) {
    if (std::fabs(v) < Rounding) return 0.0;
    if (std::fabs(v - 100) < Rounding) return 100.0;
    return v;
  };
  A = snap(A);
  B = snap(B);
  const double C = 100 - A - B;
  if (C < 0 && C > -Rounding) B = 100 - A;
}

}  // namespace

// Calls Convert(A, B, C) for every stored composition that lies on the
// triangle; Convert rewrites A and B (C follows as 100 - A - B).
template <class F>
void TTernagram::ForEachComposition(F&& Convert, bool SkipOutOfRange) {
  auto visit = [&](double& A, double& B, double C) {
    if (SkipOutOfRange && !OnTriangle(A, B, C)) return;
    Convert(A, B, C);
    KeepOnTriangle(A, B);
  };
  auto visitFloats = [&](float& A, float& B) {
    double a = A, b = B;
    if (SkipOutOfRange && !OnTriangle(a, b, 100 - a - b)) return;
    Convert(a, b, 100 - a - b);
    KeepOnTriangle(a, b);
    A = float(a);
    B = float(b);
  };

  std::vector<double>& as = CurveA();
  std::vector<double>& bs = CurveB();
  const int last = UsableCurveLastIndex();
  for (int j = 0; j <= last; ++j) {
    if (as[j] == -1) continue;  // a separator
    visit(as[j], bs[j], 100 - as[j] - bs[j]);
  }

  const int areas = AreasInUse();
  for (int i = 0; i < areas; ++i) {
    TTernaryArea& area = AreaList()[i];
    visitFloats(area.FillA, area.FillB);
    if (area.PrimaryPhase.Defined) visitFloats(area.PrimaryPhase.A, area.PrimaryPhase.B);
    const int n = std::min<int>(area.TPointCount, MaxTPoints);
    for (int j = 0; j < n; ++j) visitFloats(area.TPoints[j].A, area.TPoints[j].B);
  }

  // The marked point carries its own C.
  TFullDataPoint& m = markedPoint_;
  if (markMode_ && m.Visible && (!SkipOutOfRange || OnTriangle(m.A, m.B, m.C))) {
    Convert(m.A, m.B, m.C);
    KeepOnTriangle(m.A, m.B);
    m.C = 100 - m.A - m.B;
  }

  if (isotherms_->Calculated) {
    const std::size_t chains = std::min(isoPoints_.size(), isoPointCounts_.size());
    for (std::size_t k = 0; k < chains; ++k) {
      const int n = std::clamp<long long>(isoPointCounts_[k], 0, isoPoints_[k].size());
      for (int j = 0; j < n; ++j) visitFloats(isoPoints_[k][j].X, isoPoints_[k][j].Y);
    }
  }
  // A scan running now has read compositions of the old form: its result
  // must not be kept.
  if (computingIsotherms_) isotherms_->Calculated = false;
}

void TTernagram::SetCUnits(TCUnits Value) {
  if (Value == cUnits_) return;
  const bool basisChange = IsMassUnit(Value) != IsMassUnit(cUnits_);
  const double ma = SubstanceA()->MolMass, mb = SubstanceB()->MolMass,
               mc = SubstanceC()->MolMass;
  // Without three usable molar masses no composition can be converted, and
  // switching the basis anyway would mislabel every stored value.
  if (basisChange && !(UsableMass(SubstanceA()->MolMass) && UsableMass(SubstanceB()->MolMass) &&
                       UsableMass(SubstanceC()->MolMass)))
    return;

  cUnits_ = Value;
  static const char* const captions[4] = {"Mole Fraction in %", "Mole Fraction",
                                          "Mass Fraction in %", "Mass Fraction"};
  axisCaption_ = QString::fromLatin1(captions[Value]);
  SetCompositionScale(IsPartsUnit(Value) ? 1 : 100);
  if (AllowZoom() && Zoom()) RenameCorners();

  if (basisChange) {
    // Amounts of the three substances in the new basis: masses from moles
    // by multiplying with the molar masses, moles from masses by dividing.
    const bool toMass = IsMassUnit(Value);
    ForEachComposition(
        [&](double& A, double& B, double C) {
          const double a = toMass ? A * ma : A / ma;
          const double b = toMass ? B * mb : B / mb;
          const double c = toMass ? C * mc : C / mc;
          const double sum = a + b + c;
          if (sum == 0 || !std::isfinite(sum)) return;
          A = 100 * a / sum;
          B = 100 * b / sum;
        },
        true);
  }
  ForgetCursorReadout();  // and repaints
}

void TTernagram::SetDataOrientation(TDataOrientation Value) {
  if (Value == dataOrientation_ || zoom_ || Value < doDirect || Value > doCBA) return;
  const int* before = CornerSubstance[dataOrientation_];
  const int* after = CornerSubstance[Value];
  dataOrientation_ = Value;

  // Corner p now shows the substance that stood at corner from[p].
  int from[3];
  for (int p = 0; p < 3; ++p)
    from[p] = int(std::find(before, before + 3, after[p]) - before);

  ForEachComposition(
      [&](double& A, double& B, double C) {
        const double share[3] = {A, B, C};
        A = share[from[0]];
        B = share[from[1]];
      },
      true);

  // Names through the setter, so that the names shown follow.
  QString names[3];
  float masses[3];
  for (int p = 0; p < 3; ++p) {
    names[p] = substances_[p].Name();
    masses[p] = substances_[p].MolMass;
  }
  for (int p = 0; p < 3; ++p) {
    substances_[p].SetName(names[from[p]]);
    substances_[p].MolMass = masses[from[p]];
  }
  ForgetCursorReadout();  // and repaints
}
