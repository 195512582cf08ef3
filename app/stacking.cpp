#include "app/stacking.h"

#include <algorithm>
#include <cmath>

const QString StartingElementA = QStringLiteral("Al");
const QString StartingElementB = QStringLiteral("Si");

const std::vector<TStartingCompound>& StartingCompoundsA() {
  static const std::vector<TStartingCompound> List = {
      {"Al2O3", 101.9613f, 2},
      {"Al(NO3)3*9H2O", 375.1343f, 1},
      {"Al(OH)3", 78.0036f, 1},
      {"Al2(SO4)3", 342.1478f, 2},
      {"Al2(SO4)3*(NH4)2SO4*24H2O", 906.6548f, 2},
      {"AlO(OH)", 59.9883f, 1},
  };
  return List;
}

const std::vector<TStartingCompound>& StartingCompoundsB() {
  static const std::vector<TStartingCompound> List = {
      {"SiO2", 60.0854f, 1},
      {"H2SiO3", 78.1f, 1},
      {"SiCl4", 169.899f, 1},
  };
  return List;
}

const TStartingCompound* FindStartingCompound(const std::vector<TStartingCompound>& List,
                                              const QString& Name) {
  for (const TStartingCompound& c : List)
    if (c.Name == Name) return &c;
  return nullptr;
}

TStackingResult CalculateStacking(const TStackingInput& In) {
  const double S = In.S, M = In.M;
  if (!std::isfinite(S) || S <= 0 || !std::isfinite(M) || !std::isfinite(In.X)) return {};
  // A read-out at the very edge may stray by a rounding error; more is no
  // composition at all.
  const double tolerance = 1e-9 * S;
  if (In.X < -tolerance || In.X > S + tolerance) return {};
  const double xB = std::clamp(In.X, 0.0, S) / S;  // share of SubstanceB
  const double xA = 1 - xB;

  double qA = 0, qB = 0;
  if (In.PureSubstances) {
    qB = M * xB;
    qA = M - qB;
  } else {
    const double kA = In.CompoundA.Atoms, kB = In.CompoundB.Atoms;
    if (kA <= 0 || kB <= 0 || In.AtomsA < 0 || In.AtomsB < 0) return {};
    // Formula units of each substance in the product...
    double nA = xA, nB = xB;
    if (!In.MoleUnits) {
      if (!(In.MolMassA > 0) || !(In.MolMassB > 0)) return {};
      nA = xA / In.MolMassA;
      nB = xB / In.MolMassB;
    }
    // ...and moles of the compounds that carry them.
    double cA = nA * In.AtomsA / kA;
    double cB = nB * In.AtomsB / kB;
    if (!In.MoleUnits) {
      const double mA = In.CompoundA.MolMass, mB = In.CompoundB.MolMass;
      if (!(mA > 0) || !(mB > 0)) return {};
      cA *= mA;  // now masses
      cB *= mB;
    }
    const double total = cA + cB;
    if (!(total > 0)) return {};
    if (In.MoleUnits) {
      qA = M * cA / total;
      qB = M - qA;
    } else {
      qB = M * cB / total;
      qA = M - qB;
    }
  }
  if (!std::isfinite(qA) || !std::isfinite(qB)) return {};
  return {true, qA, qB};
}
