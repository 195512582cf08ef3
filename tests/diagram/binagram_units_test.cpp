// The composition axis: validated window, mole/mass and percent/parts units
// and the mirrored orientation.
#include <functional>
#include <limits>
#include <string>

#include "model_fixture.h"

using namespace binary;

class BinagramUnitsTest : public ModelTest {
 protected:
  // Al2O3 (A) and SiO2 (B) with a curve, a separator and two areas.
  void LoadSystem() {
    Diagram.SubstanceA()->SetName(QStringLiteral("Al2O3"));
    Diagram.SubstanceA()->MolMass = 101.96f;
    Diagram.SubstanceA()->Element = QStringLiteral("Al");
    Diagram.SubstanceA()->ElementAtoms = 2;
    Diagram.SubstanceB()->SetName(QStringLiteral("SiO2"));
    Diagram.SubstanceB()->MolMass = 60.08f;
    SetCurves({{-1, -1}, {0, 2050}, {50, 1850}, {100, 1720}, {-1, -1}, {30, 1600}, {80, 1590}});
    Diagram.SetAreas(2);
    SetArea(0, 50, 1900);
    SetArea(1, 20, 1700);
    SetArea(2, 50, 1000);  // not in use
    Reset();
  }
};

TEST_F(BinagramUnitsTest, LowLimitNotBelowTheHighOneIsMovedTenBelowIt) {
  Diagram.SetLowCLimit(100);
  EXPECT_EQ(Messages,
            QStringList{"Low concentration limit must be lower then high one:100 not < 100"});
  EXPECT_EQ(Diagram.LowCLimit(), 90);
  EXPECT_EQ(Diagram.SavedLowCLimit(), 90);
  EXPECT_EQ(Diagram.Repaints, 1);
}

TEST_F(BinagramUnitsTest, HighLimitNotAboveTheLowOneIsMovedTenAboveIt) {
  Diagram.SetLowCLimit(40);
  Reset();
  Diagram.SetHighCLimit(30);
  EXPECT_EQ(Messages,
            QStringList{"High concentration limit must be higher then low one:30 not > 40"});
  EXPECT_EQ(Diagram.HighCLimit(), 50);
  EXPECT_EQ(Diagram.SavedHighCLimit(), 50);
}

TEST_F(BinagramUnitsTest, LimitsOutsideZeroToHundredAreCutSilently) {
  Diagram.SetHighCLimit(60);
  Diagram.SetHighCLimit(150);
  EXPECT_EQ(Diagram.HighCLimit(), 100);
  Diagram.SetLowCLimit(-5);
  EXPECT_EQ(Diagram.LowCLimit(), 0);
  EXPECT_TRUE(Messages.isEmpty());
}

TEST_F(BinagramUnitsTest, CorrectedLimitsNeverLeaveTheAxis) {
  Diagram.SetHighCLimit(5);
  Diagram.SetLowCLimit(7);  // 10 below 5 would be -5
  EXPECT_EQ(Diagram.LowCLimit(), 0);
  Diagram.SetHighCLimit(100);
  Diagram.SetLowCLimit(95);
  Diagram.SetHighCLimit(50);  // 10 above 95 would be 105
  EXPECT_EQ(Diagram.HighCLimit(), 100);
  EXPECT_EQ(Messages.size(), 2);
}

TEST_F(BinagramUnitsTest, OnlyTheHighLimitHasAnEqualityShortcut) {
  Diagram.SetLowCLimit(0);
  EXPECT_EQ(Diagram.Repaints, 1);
  Diagram.SetHighCLimit(100);
  EXPECT_EQ(Diagram.Repaints, 1);
  const double nan = std::numeric_limits<double>::quiet_NaN();
  Diagram.SetLowCLimit(nan);
  Diagram.SetHighCLimit(nan);
  EXPECT_EQ(Diagram.LowCLimit(), 0);
  EXPECT_EQ(Diagram.HighCLimit(), 100);
  EXPECT_EQ(Diagram.Repaints, 1);
}

TEST_F(BinagramUnitsTest, LimitsSetWhileZoomedKeepTheSavedWindow) {
  Diagram.SetZoomed(true);
  Diagram.SetLowCLimit(20);
  Diagram.SetHighCLimit(40);
  EXPECT_EQ(Diagram.LowCLimit(), 20);
  EXPECT_EQ(Diagram.HighCLimit(), 40);
  EXPECT_EQ(Diagram.SavedLowCLimit(), 0);
  EXPECT_EQ(Diagram.SavedHighCLimit(), 100);
}

TEST_F(BinagramUnitsTest, MoleToMassRecomputesEveryStoredCompositionAndBack) {
  LoadSystem();
  Diagram.SetLowCLimit(50);
  Diagram.SetCUnits(cuMassPercents);
  EXPECT_EQ(Diagram.CAxisCaption(), "Mass Fraction SiO2 in %");
  EXPECT_EQ(Diagram.CompositionScale(), 100);
  const auto& c = Diagram.CurveC();
  EXPECT_NEAR(c[2], 37.08, 0.005);
  EXPECT_EQ(c[1], 0);
  EXPECT_NEAR(c[3], 100, 1e-12);
  EXPECT_EQ(c[0], -1);
  EXPECT_EQ(c[4], -1);
  EXPECT_NEAR(Diagram.AreaList().Get(0).C, 37.08, 0.005);
  EXPECT_EQ(Diagram.AreaList().Get(2).C, 50);  // not in use
  EXPECT_NEAR(Diagram.LowCLimit(), 37.08, 0.005);
  EXPECT_EQ(Diagram.SavedLowCLimit(), Diagram.LowCLimit());
  EXPECT_TRUE(Messages.isEmpty());

  Diagram.SetCUnits(cuMolPercents);
  EXPECT_NEAR(c[2], 50, 1e-9);
  EXPECT_NEAR(c[5], 30, 1e-9);
  EXPECT_NEAR(Diagram.AreaList().Get(1).C, 20, 1e-4);
  EXPECT_NEAR(Diagram.LowCLimit(), 50, 1e-9);
  EXPECT_NEAR(Diagram.HighCLimit(), 100, 1e-9);
}

TEST_F(BinagramUnitsTest, PartsUnitsRescaleOnlyTheMarkedPoint) {
  LoadSystem();
  Diagram.SetMarkMode(true);
  Diagram.MarkedPoint().Visible = true;
  Diagram.MarkedPoint().A = 50;
  Reset();

  Diagram.SetCUnits(cuMolParts);
  EXPECT_EQ(Diagram.CompositionScale(), 1);
  EXPECT_EQ(Diagram.CAxisCaption(), "Mole Fraction SiO2");
  EXPECT_EQ(Diagram.MarkedPoint().A, 0.5);
  EXPECT_EQ(Diagram.CurveC()[2], 50);
  EXPECT_EQ(Diagram.AreaList().Get(0).C, 50);
  EXPECT_EQ(Diagram.Repaints, 1);

  // Parts to parts on the other basis converts the point on the scale 1.
  Diagram.SetCUnits(cuMassParts);
  EXPECT_EQ(Diagram.CAxisCaption(), "Mass Fraction SiO2");
  EXPECT_NEAR(Diagram.MarkedPoint().A, 0.3708, 0.00005);
  EXPECT_NEAR(Diagram.CurveC()[2], 37.08, 0.005);

  Diagram.SetCUnits(cuMolPercents);
  EXPECT_NEAR(Diagram.MarkedPoint().A, 50, 1e-9);
  EXPECT_EQ(Diagram.CompositionScale(), 100);
}

TEST_F(BinagramUnitsTest, BasisChangeWithoutUsableMolarMassesIsRefused) {
  LoadSystem();
  Diagram.SubstanceA()->MolMass = 0;
  Diagram.SetCUnits(cuMassPercents);
  EXPECT_EQ(Diagram.CUnits(), cuMolPercents);
  EXPECT_EQ(Diagram.CurveC()[2], 50);
  EXPECT_EQ(Diagram.Repaints, 0);
}

TEST_F(BinagramUnitsTest, InversingMirrorsCompositionsAndExchangesTheSubstances) {
  LoadSystem();
  Diagram.SetMarkMode(true);
  Diagram.MarkedPoint().Visible = true;
  Diagram.MarkedPoint().A = 30;
  Diagram.SetLowCLimit(10);
  Reset();

  Diagram.SetDataOrientation(doInversed);
  const auto& c = Diagram.CurveC();
  EXPECT_EQ(c[1], 100);
  EXPECT_EQ(c[2], 50);
  EXPECT_EQ(c[5], 70);
  EXPECT_EQ(c[0], -1);
  EXPECT_EQ(Diagram.AreaList().Get(1).C, 80);
  EXPECT_EQ(Diagram.AreaList().Get(2).C, 50);  // not in use
  EXPECT_EQ(Diagram.SubstanceA()->Name(), "SiO2");
  EXPECT_EQ(Diagram.SubstanceA()->DisplayName, "SiO2");
  EXPECT_EQ(Diagram.SubstanceB()->Name(), "Al2O3");
  EXPECT_EQ(Diagram.SubstanceA()->MolMass, 60.08f);
  EXPECT_EQ(Diagram.SubstanceB()->MolMass, 101.96f);
  EXPECT_EQ(Diagram.SubstanceA()->Element, "Al");  // stays with its substance
  EXPECT_EQ(Diagram.MarkedPoint().A, 70);
  EXPECT_EQ(Diagram.LowCLimit(), 10);  // the window is not mirrored
  EXPECT_GE(Diagram.Repaints, 1);

  Diagram.SetDataOrientation(doDirect);
  EXPECT_EQ(c[1], 0);
  EXPECT_EQ(c[5], 30);
  EXPECT_EQ(c[6], 80);
  EXPECT_EQ(Diagram.AreaList().Get(1).C, 20);
  EXPECT_EQ(Diagram.SubstanceA()->Name(), "Al2O3");
  EXPECT_EQ(Diagram.SubstanceB()->Name(), "SiO2");
  EXPECT_EQ(Diagram.SubstanceA()->MolMass, 101.96f);
  EXPECT_EQ(Diagram.MarkedPoint().A, 30);
}

TEST_F(BinagramUnitsTest, UnitsAndOrientationStayWhileZoomed) {
  LoadSystem();
  Diagram.SetZoomed(true);
  Diagram.SetCUnits(cuMassPercents);
  Diagram.SetDataOrientation(doInversed);
  EXPECT_EQ(Diagram.CUnits(), cuMolPercents);
  EXPECT_EQ(Diagram.DataOrientation(), doDirect);
  EXPECT_EQ(Diagram.CurveC()[5], 30);
  EXPECT_EQ(Diagram.SubstanceA()->Name(), "Al2O3");
  EXPECT_EQ(Diagram.Repaints, 0);
  EXPECT_TRUE(Messages.isEmpty());
}

// Host data off the axis (0..100, 0..1 for a marked point in parts) are the
// host's error; no conversion may turn them into something else, such as a
// separator that cuts a curve in two. Values on the axis convert and come
// back within rounding.
TEST_F(BinagramUnitsTest, ValuesOffTheAxisAreLeftAloneByEveryConversion) {
  LoadSystem();
  SetCurves({{-1, -1}, {0, 500}, {50, 600}, {101, 700}, {-1, -1}, {-0.5f, 800}, {30, 900}});
  Diagram.SetAreas(3);
  SetArea(0, -1e9f, 1500);
  SetArea(1, 30, 1600);
  SetArea(2, 250, 1700);
  Diagram.SetMarkMode(true);
  Diagram.MarkedPoint().Visible = true;
  const double offAxis[] = {-1, 101, -1, -0.5};  // indices 0, 3, 4, 5
  const int offIndex[] = {0, 3, 4, 5};
  const double onAxis[] = {0, 50, 30};  // indices 1, 2, 6
  const int onIndex[] = {1, 2, 6};

  struct RoundTrip {
    const char* name;
    std::function<void()> there, back;
  };
  const RoundTrip trips[] = {
      {"orientation", [&] { Diagram.SetDataOrientation(doInversed); },
       [&] { Diagram.SetDataOrientation(doDirect); }},
      {"mole to mass", [&] { Diagram.SetCUnits(cuMassPercents); },
       [&] { Diagram.SetCUnits(cuMolPercents); }},
      {"mole percent to mass parts", [&] { Diagram.SetCUnits(cuMassParts); },
       [&] { Diagram.SetCUnits(cuMolPercents); }},
  };
  for (double marked : {1e300, -3.0, 40.0}) {
    for (const RoundTrip& trip : trips) {
      Diagram.MarkedPoint().A = marked;
      const bool markedOnAxis = marked >= 0 && marked <= 100;
      for (int step = 0; step < 2; ++step) {
        (step == 0 ? trip.there : trip.back)();
        const std::string where = std::string(trip.name) + (step ? " and back" : "") +
                                  ", marked point " + QString::number(marked).toStdString();
        const auto& c = Diagram.CurveC();
        for (int k = 0; k < 4; ++k) EXPECT_EQ(c[offIndex[k]], offAxis[k]) << where;
        EXPECT_EQ(Diagram.AreaList().Get(0).C, -1e9f) << where;
        EXPECT_EQ(Diagram.AreaList().Get(2).C, 250) << where;
        if (!markedOnAxis) EXPECT_EQ(Diagram.MarkedPoint().A, marked) << where;
        if (step == 1) {
          for (int k = 0; k < 3; ++k) EXPECT_NEAR(c[onIndex[k]], onAxis[k], 1e-9) << where;
          EXPECT_NEAR(Diagram.AreaList().Get(1).C, 30, 1e-4) << where;
          EXPECT_NEAR(Diagram.MarkedPoint().A, marked, 1e-9) << where;
        }
      }
    }
  }
  EXPECT_TRUE(Messages.isEmpty());
}
