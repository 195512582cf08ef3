// The batch calculator: amounts of two starting compounds for a marked
// composition (an amount of SubstanceB, SiO2 in the sample).
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "app/stacking.h"

namespace {

const double MA = 101.9613f, MB = 60.0843f;  // the sample's Al2O3 and SiO2

TStackingInput Input(double X, double S, double M, bool Mole, const char* A, const char* B) {
  TStackingInput in;
  in.X = X;
  in.S = S;
  in.M = M;
  in.MoleUnits = Mole;
  in.PureSubstances = QString(A) == "Al2O3" && QString(B) == "SiO2";
  in.AtomsA = 2;
  in.AtomsB = 1;
  in.MolMassA = MA;
  in.MolMassB = MB;
  in.CompoundA = *FindStartingCompound(StartingCompoundsA(), A);
  in.CompoundB = *FindStartingCompound(StartingCompoundsB(), B);
  return in;
}

std::pair<double, double> Amounts(const TStackingInput& in) {
  const TStackingResult r = CalculateStacking(in);
  EXPECT_TRUE(r.Defined);
  return {r.QA, r.QB};
}

TEST(Stacking, CompoundsCarryTheirOwnMolarMasses) {
  EXPECT_EQ(FindStartingCompound(StartingCompoundsA(), "Al(NO3)3*9H2O")->MolMass, 375.1343f);
  EXPECT_EQ(FindStartingCompound(StartingCompoundsA(), "Al2(SO4)3*(NH4)2SO4*24H2O")->Atoms, 2);
  // Not the substance's 60.0843.
  EXPECT_EQ(FindStartingCompound(StartingCompoundsB(), "SiO2")->MolMass, 60.0854f);
  EXPECT_EQ(FindStartingCompound(StartingCompoundsB(), "SiO"), nullptr);
}

TEST(Stacking, PureSubstancesSplitTheAmountByComposition) {
  auto [a, b] = Amounts(Input(50, 100, 1, false, "Al2O3", "SiO2"));
  EXPECT_NEAR(a, 0.5, 1e-12);
  EXPECT_NEAR(b, 0.5, 1e-12);
  // Mullite at 28 % SiO2: 72 % of the batch is alumina, in either units.
  for (bool mole : {false, true}) {
    std::tie(a, b) = Amounts(Input(28, 100, 1, mole, "Al2O3", "SiO2"));
    EXPECT_NEAR(a, 0.72, 1e-12);
    EXPECT_NEAR(b, 0.28, 1e-12);
  }
}

TEST(Stacking, ExamplesOfTheBatchPage) {
  struct Case { double X; double M; bool Mole; const char* A; const char* B; double QA, QB; };
  const Case cases[] = {
      {50, 1, true, "Al(NO3)3*9H2O", "SiO2", 0.667, 0.333},  // two Al nitrates per Al2O3
      {50, 10, false, "Al2O3", "H2SiO3", 4.348, 5.652},
      {50, 1, false, "Al(NO3)3*9H2O", "SiO2", 0.880, 0.120},
      {72, 100, false, "Al(OH)3", "SiCl4", 17.385, 82.615},
      {28, 100, false, "Al(OH)3", "SiCl4", 58.184, 41.816},
      {25, 1, true, "Al(NO3)3*9H2O", "SiO2", 0.857, 0.143},
  };
  for (const Case& c : cases) {
    const auto [a, b] = Amounts(Input(c.X, 100, c.M, c.Mole, c.A, c.B));
    EXPECT_NEAR(a, c.QA, 0.0005) << c.A << " " << c.B << " at " << c.X;
    EXPECT_NEAR(b, c.QB, 0.0005) << c.A << " " << c.B << " at " << c.X;
  }
}

// Whatever the compounds, the batch turns into the marked composition: the
// recipe read back through the compounds' formulas gives x again.
TEST(Stacking, EveryRecipeGivesBackTheMarkedComposition) {
  for (const TStartingCompound& ca : StartingCompoundsA())
    for (const TStartingCompound& cb : StartingCompoundsB())
      for (bool mole : {false, true})
        for (double x : {0.0, 3.0, 28.0, 50.0, 72.0, 99.5, 100.0}) {
          const TStackingInput in = Input(x, 100, 7, mole, qPrintable(ca.Name), qPrintable(cb.Name));
          const auto [qA, qB] = Amounts(in);
          EXPECT_NEAR(qA + qB, 7, 1e-9);
          EXPECT_GE(qA, 0);
          EXPECT_GE(qB, 0);
          // Moles of the compounds, then formula units of Al2O3 and SiO2.
          const double molesA = mole ? qA : qA / ca.MolMass, molesB = mole ? qB : qB / cb.MolMass;
          const double alumina = molesA * ca.Atoms / 2, silica = molesB * cb.Atoms / 1;
          // The pure substances are weighed as they are.
          const double back = in.PureSubstances ? 100 * qB / (qA + qB)
                              : mole ? 100 * silica / (alumina + silica)
                                     : 100 * silica * MB / (alumina * MA + silica * MB);
          EXPECT_NEAR(back, x, 1e-9) << qPrintable(ca.Name) << " " << qPrintable(cb.Name);
        }
}

TEST(Stacking, PartsGiveTheSameAmountsAsPercent) {
  for (bool mole : {false, true})
    for (const char* a : {"Al2O3", "Al(OH)3", "AlO(OH)"}) {
      const auto [pa, pb] = Amounts(Input(0.5, 1, 10, mole, a, "H2SiO3"));
      const auto [ca, cb] = Amounts(Input(50, 100, 10, mole, a, "H2SiO3"));
      EXPECT_NEAR(pa, ca, 1e-12) << a;
      EXPECT_NEAR(pb, cb, 1e-12) << a;
    }
}

TEST(Stacking, InputsWithoutAnAnswerAreUndefined) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  auto undefined = [](TStackingInput in) { return !CalculateStacking(in).Defined; };
  const TStackingInput base = Input(50, 100, 1, false, "Al(OH)3", "SiCl4");
  ASSERT_FALSE(undefined(base));

  TStackingInput in = base;
  in.MolMassA = 0;  // a zero molar mass
  EXPECT_TRUE(undefined(in));
  in = base;
  in.MolMassB = nan;
  EXPECT_TRUE(undefined(in));
  in = base;
  in.CompoundB.MolMass = 0;
  EXPECT_TRUE(undefined(in));
  in = base;
  in.CompoundA.Atoms = 0;  // no aluminium in it
  EXPECT_TRUE(undefined(in));
  in = base;
  in.AtomsA = in.AtomsB = 0;  // nothing to weigh at all
  EXPECT_TRUE(undefined(in));
  for (double x : {nan, inf, -1.0, 100.5}) {
    in = base;
    in.X = x;
    EXPECT_TRUE(undefined(in)) << x;
  }
  in = base;
  in.S = 0;
  EXPECT_TRUE(undefined(in));
  in = base;
  in.M = inf;
  EXPECT_TRUE(undefined(in));
  // A zero molar mass does not matter where it is not used.
  in = Input(50, 100, 1, true, "Al(OH)3", "SiCl4");
  in.MolMassA = 0;
  EXPECT_FALSE(undefined(in));
}

TEST(Stacking, EndsOfTheAxisArePureRawMaterials) {
  // No point marked yet reads composition 0: all of it is A.
  auto [a, b] = Amounts(Input(0, 100, 5, false, "Al(OH)3", "SiCl4"));
  EXPECT_EQ(a, 5);
  EXPECT_EQ(b, 0);
  std::tie(a, b) = Amounts(Input(100, 100, 5, true, "Al(OH)3", "SiCl4"));
  EXPECT_EQ(a, 0);
  EXPECT_EQ(b, 5);
  // A read-out a rounding error past the end still counts as the end.
  std::tie(a, b) = Amounts(Input(100 + 1e-12, 100, 5, false, "Al2O3", "SiO2"));
  EXPECT_NEAR(b, 5, 1e-9);
}

}  // namespace
