#pragma once
// The batch calculator of the "Stacking" page: how much of two starting
// compounds (raw materials) to weigh out so that, once they have turned
// into the oxides SubstanceA and SubstanceB, the batch has the marked
// composition.
//
// The composition x is the amount of SubstanceB in the diagram's current
// units (percent when S is 100, parts when S is 1), as every composition of
// the diagram is. A compound with k atoms of its substance's element gives
// a/k formula units of SubstanceA per mole (a = SubstanceA's atoms), and
// likewise for B. The two amounts always add up to M: kilograms of raw
// materials in the mass units, moles of raw materials in the mole units.
#include <QString>
#include <vector>

struct TStartingCompound {
  QString Name;
  float MolMass;  // grams per mole
  int Atoms;      // atoms of the substance's element in one formula unit
};

// The elements the compounds of each list carry: the lists fit a system
// whose SubstanceA is counted in aluminium atoms and SubstanceB in silicon.
extern const QString StartingElementA;  // "Al"
extern const QString StartingElementB;  // "Si"
// The lists of the two combo boxes, in list order.
const std::vector<TStartingCompound>& StartingCompoundsA();  // aluminium compounds
const std::vector<TStartingCompound>& StartingCompoundsB();  // silicon compounds
// The entry of that name, or nullptr.
const TStartingCompound* FindStartingCompound(const std::vector<TStartingCompound>& List,
                                              const QString& Name);

struct TStackingInput {
  double X = 0;       // marked composition: amount of SubstanceB
  double S = 100;     // CompositionScale: 100 or 1
  double M = 1;       // wanted amount
  bool MoleUnits = false;
  // The chosen compounds are the pure substances themselves: the amounts
  // follow from the composition alone, whatever the units.
  bool PureSubstances = false;
  int AtomsA = 0, AtomsB = 0;          // a, b: ElementAtoms of the substances
  double MolMassA = 0, MolMassB = 0;   // MA, MB of the substances
  TStartingCompound CompoundA{}, CompoundB{};
};

struct TStackingResult {
  bool Defined = false;  // false: the inputs give no finite amounts
  double QA = 0;
  double QB = 0;
};

TStackingResult CalculateStacking(const TStackingInput& In);
