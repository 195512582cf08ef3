// Composition units and data orientation of the ternary control: every
// stored composition is converted the same way, nothing else is touched.
#include <gtest/gtest.h>

#include <cmath>
#include <map>

#include "diagram/ternary_access.h"
#include "ternary_test_system.h"

using namespace ternary;
using ternarytest::Sep;

namespace {

// Every composition the control holds, in the order it holds them.
std::vector<double> Compositions(TTernagram& g) {
  std::vector<double> v;
  for (int j = 0; j <= g.CurveLastIndex(); ++j) {
    v.push_back(g.CurveA()[j]);
    v.push_back(g.CurveB()[j]);
  }
  const TTernaryArea& a = g.AreaList()[0];
  v.insert(v.end(), {a.FillA, a.FillB, a.TPoints[0].A, a.TPoints[0].B});
  v.insert(v.end(), {g.MarkedPoint().A, g.MarkedPoint().B, g.MarkedPoint().C});
  for (const TIsoPoint& p : g.IsoPoints()[0]) v.insert(v.end(), {p.X, p.Y});
  return v;
}

// One in-range composition everywhere, plus the host's mistakes in the
// curves: a separator, a share above 100, a negative C, not a number.
void Load(TTernagram& g, double A, double B) {
  ternarytest::SetCurves(g, {Sep, {A, B}, {150, -20}, {60, 41}, {NAN, 10}, Sep, {A, B}});
  ternarytest::SetArea(g, 0, QStringLiteral("(A)"), float(A), float(B),
                       {{float(A), float(B), 1000}});
  g.SetAreas(1);
  g.SetMarkMode(true);
  g.MarkedPoint().Visible = true;
  g.MarkedPoint().A = A;
  g.MarkedPoint().B = B;
  g.MarkedPoint().C = 100 - A - B;
  TTernagramTestAccess::SetChains(g, {{TIsoPoint{float(A), float(B)}}}, 1000);
}

// Compares two sets of compositions; NaN matches NaN.
void ExpectSame(const std::vector<double>& a, const std::vector<double>& b, double tol,
                const std::string& what) {
  ASSERT_EQ(a.size(), b.size());
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::isnan(a[i])) {
      EXPECT_TRUE(std::isnan(b[i])) << what << " #" << i;
      continue;
    }
    EXPECT_NEAR(a[i], b[i], tol) << what << " #" << i;
  }
}

}  // namespace

TEST(TernagramUnits, CaptionsScalesAndTheBasisConversion) {
  TTernagram g;
  Load(g, 50, 25);
  const std::vector<double> mole = Compositions(g);

  // Within a basis only the caption and the scale change.
  struct Unit {
    TCUnits u;
    const char* caption;
    double scale;
  };
  for (const Unit& k : {Unit{cuMolParts, "Mole Fraction", 1},
                        Unit{cuMolPercents, "Mole Fraction in %", 100}}) {
    g.SetCUnits(k.u);
    EXPECT_EQ(g.AxisCaption(), QString::fromLatin1(k.caption));
    EXPECT_EQ(g.CompositionScale(), k.scale);
    ExpectSame(Compositions(g), mole, 0, k.caption);
  }

  // Equal molar masses: mole and mass fractions are the same.
  g.SetCUnits(cuMassParts);
  EXPECT_EQ(g.AxisCaption(), "Mass Fraction");
  EXPECT_EQ(g.CompositionScale(), 1);
  ExpectSame(Compositions(g), mole, 1e-4, "masses 1, 1, 1");
  g.SetCUnits(cuMolPercents);

  // MA = 2: (50, 25, 25) mole is (66.67, 16.67, 16.67) mass, and back.
  g.SubstanceA()->MolMass = 2;
  g.SetCUnits(cuMassPercents);
  EXPECT_EQ(g.AxisCaption(), "Mass Fraction in %");
  const std::vector<double> mass = Compositions(g);
  TTernagram expected;
  Load(expected, 200.0 / 3, 100.0 / 6);
  std::vector<double> want = Compositions(expected);
  // The host's mistakes are left as they were.
  for (int i = 4; i < 10; ++i) want[i] = mole[i];
  ExpectSame(mass, want, 1e-4, "mole to mass");
  g.SetCUnits(cuMolParts);
  ExpectSame(Compositions(g), mole, 1e-4, "mass to mole");
  EXPECT_EQ(g.CurveA()[0], -1);
  EXPECT_EQ(g.CurveA()[5], -1);

  // A molar mass that is zero, negative or not a number refuses a basis
  // change altogether; a change within the basis still works.
  for (float bad : {0.0f, -1.0f, NAN}) {
    g.SubstanceC()->MolMass = bad;
    g.SetCUnits(cuMassParts);
    EXPECT_EQ(g.CUnits(), cuMolParts) << bad;
    EXPECT_EQ(g.AxisCaption(), "Mole Fraction") << bad;
    ExpectSame(Compositions(g), mole, 1e-4, "refused");
    g.SetCUnits(cuMolPercents);
    EXPECT_EQ(g.CUnits(), cuMolPercents);
    g.SetCUnits(cuMolParts);
  }

  // A scan that is running while the compositions change must start again.
  g.SubstanceC()->MolMass = 1;
  TTernagramTestAccess::SetComputingIsotherms(g, true);
  g.SetCUnits(cuMassPercents);
  EXPECT_FALSE(g.Isotherms()->Calculated);
  TTernagramTestAccess::SetComputingIsotherms(g, false);
}

TEST(TernagramUnits, EveryOrientationMovesSharesNamesAndMassesTogether) {
  // doDirect -> doBCA: (20, 30, 50) becomes (30, 50, 20); A is now SubB.
  {
    TTernagram g;
    Load(g, 20, 30);
    g.SubstanceB()->MolMass = 7;
    g.SetDataOrientation(doBCA);
    EXPECT_DOUBLE_EQ(g.CurveA()[1], 30);
    EXPECT_DOUBLE_EQ(g.CurveB()[1], 50);
    EXPECT_DOUBLE_EQ(g.MarkedPoint().C, 20);
    EXPECT_EQ(g.SubstanceA()->Name(), "SubB");
    EXPECT_EQ(g.SubstanceA()->DisplayName, "SubB");
    EXPECT_EQ(g.SubstanceA()->MolMass, 7);
  }

  // All 30 ordered pairs: each substance keeps its share and its molar
  // mass wherever it goes, and going back restores everything.
  const std::map<QString, double> share{{"SubA", 20}, {"SubB", 30}, {"SubC", 50}};
  const std::map<QString, float> mass{{"SubA", 1}, {"SubB", 2}, {"SubC", 3}};
  const TDataOrientation all[] = {doDirect, doACB, doBAC, doBCA, doCAB, doCBA};
  for (TDataOrientation from : all)
    for (TDataOrientation to : all) {
      if (from == to) continue;
      TTernagram g;
      Load(g, 20, 30);
      g.SubstanceB()->MolMass = 2;
      g.SubstanceC()->MolMass = 3;
      g.SetDataOrientation(from);
      const std::vector<double> before = Compositions(g);
      const QString names[3] = {g.SubstanceA()->Name(), g.SubstanceB()->Name(),
                                g.SubstanceC()->Name()};
      g.SetDataOrientation(to);
      const std::string pair = std::to_string(from) + "->" + std::to_string(to);
      const TSubstance* s[3] = {g.SubstanceA(), g.SubstanceB(), g.SubstanceC()};
      const double now[3] = {g.CurveA()[1], g.CurveB()[1], 100 - g.CurveA()[1] - g.CurveB()[1]};
      for (int p = 0; p < 3; ++p) {
        EXPECT_NEAR(now[p], share.at(s[p]->Name()), 1e-9) << pair << " corner " << p;
        EXPECT_EQ(s[p]->MolMass, mass.at(s[p]->Name())) << pair;
      }
      EXPECT_NEAR(g.MarkedPoint().C, now[2], 1e-9) << pair;
      EXPECT_NEAR(g.IsoPoints()[0][0].X, now[0], 1e-4) << pair;
      EXPECT_NEAR(g.AreaList()[0].TPoints[0].B, now[1], 1e-4) << pair;
      g.SetDataOrientation(from);
      ExpectSame(Compositions(g), before, 1e-4, pair + " and back");
      for (int p = 0; p < 3; ++p) EXPECT_EQ(s[p]->Name(), names[p]) << pair;
    }
}
