// TBinagram's construction and property setters, and the substances it owns.
#include "model_fixture.h"

using namespace binary;

using BinagramModelTest = ModelTest;

TEST_F(BinagramModelTest, NewControlHasItsSizeLayoutSubstancesAndPoints) {
  EXPECT_EQ(Diagram.Width(), 469);
  EXPECT_EQ(Diagram.Height(), 322);
  EXPECT_EQ(Diagram.PlotWidth(), 260);
  EXPECT_EQ(Diagram.PlotHeight(), 220);
  EXPECT_EQ(Diagram.LegendWidth(), 135);  // 469 / sqrt(12) = 135.4
  EXPECT_EQ(Diagram.SubstanceA()->Name(), "SubA");
  EXPECT_EQ(Diagram.SubstanceA()->DisplayName, "SubA");
  EXPECT_EQ(Diagram.SubstanceB()->Name(), "SubB");
  EXPECT_EQ(Diagram.SubstanceB()->DisplayName, "SubB");
  EXPECT_EQ(Diagram.SubstanceA()->Owner, &Diagram);
  EXPECT_EQ(Diagram.MarkedPoint().Owner, &Diagram);
  EXPECT_EQ(Diagram.CursorPoint().Owner, &Diagram);
  EXPECT_FALSE(Diagram.MarkedPoint().Visible);
  EXPECT_EQ(Diagram.CAxisCaption(), "Mole Fraction SubB in %");
  EXPECT_EQ(Diagram.CompositionScale(), 100);
  EXPECT_EQ(Diagram.HotArea(), -1);
  EXPECT_FALSE(Diagram.MouseGrid());
  EXPECT_TRUE(Diagram.AllowZoom());
  EXPECT_EQ(Diagram.CAxisStep(), 2);
  EXPECT_EQ(Diagram.TAxisStep(), 100);
  EXPECT_EQ(Diagram.GridType(), gtOutsideScale);
  EXPECT_EQ(Diagram.SavedLowCLimit(), 0);
  EXPECT_EQ(Diagram.SavedHighCLimit(), 100);
  EXPECT_EQ(Diagram.SavedHighTLimit(), 1000);
  EXPECT_EQ(Diagram.ControlStyle() & (csOpaque | csFramed), csOpaque | csFramed);
}

TEST_F(BinagramModelTest, GridStepsSnapToTheStepsTheAxesCanShow) {
  const std::pair<int, int> cases[] = {{7, 5}, {1, 2}, {25, 10}, {10, 10}, {3, 5}, {9, 5}, {2, 2}};
  for (auto [given, stored] : cases) {
    Diagram.SetCAxisStep(given);
    EXPECT_EQ(Diagram.CAxisStep(), stored) << "CAxisStep := " << given;
  }
  Diagram.SetTAxisStep(5);
  EXPECT_EQ(Diagram.TAxisStep(), 10);
  Diagram.SetTAxisStep(250);
  EXPECT_EQ(Diagram.TAxisStep(), 250);
  Reset();
  Diagram.SetTAxisStep(250);
  Diagram.SetCAxisStep(2);
  EXPECT_EQ(Diagram.Repaints, 0);
}

TEST_F(BinagramModelTest, DisplaySwitchesRepaintOnceWhenChangedAndNeverWhenNot) {
  Diagram.SetLegend(false);
  Diagram.SetValuesTable(false);
  Diagram.SetCoPhasesTable(false);
  Diagram.SetGridType(gtOverAllScale);
  Diagram.SetTitle(QStringLiteral("Al2O3 - SiO2"));
  Diagram.SetDrawAreas(true);
  Diagram.SetPaperColor(clSilver);
  EXPECT_EQ(Diagram.Repaints, 7);
  Diagram.SetLegend(false);
  Diagram.SetValuesTable(false);
  Diagram.SetCoPhasesTable(false);
  Diagram.SetGridType(gtOverAllScale);
  Diagram.SetTitle(QStringLiteral("Al2O3 - SiO2"));
  Diagram.SetDrawAreas(true);
  Diagram.SetPaperColor(clSilver);
  EXPECT_EQ(Diagram.Repaints, 7);
  Diagram.SetMouseGrid(true);
  Diagram.SetAllowZoom(false);
  EXPECT_TRUE(Diagram.MouseGrid());
  EXPECT_FALSE(Diagram.AllowZoom());
  EXPECT_EQ(Diagram.Repaints, 7);
}

TEST_F(BinagramModelTest, AllowZoomCannotChangeWhileZoomed) {
  Diagram.SetZoomed(true);
  Diagram.SetAllowZoom(false);
  EXPECT_EQ(Messages, QStringList{"That property can not be changed while zooming."});
  EXPECT_TRUE(Diagram.AllowZoom());
  Diagram.SetAllowZoom(true);  // unchanged: no message
  EXPECT_EQ(Messages.size(), 1);

  Diagram.SetZoomed(false);
  Diagram.SetAllowZoom(false);
  EXPECT_FALSE(Diagram.AllowZoom());
  EXPECT_EQ(Messages.size(), 1);
  EXPECT_EQ(Diagram.Repaints, 0);
}

TEST_F(BinagramModelTest, LeavingMarkModeHidesTheMarkedPointForGood) {
  Diagram.SetMarkMode(true);
  Diagram.MarkedPoint().Visible = true;
  Reset();
  Diagram.SetMarkMode(false);
  EXPECT_FALSE(Diagram.MarkedPoint().Visible);
  EXPECT_EQ(Diagram.Repaints, 1);
  Diagram.SetMarkMode(true);
  EXPECT_FALSE(Diagram.MarkedPoint().Visible);
}

TEST_F(BinagramModelTest, MarkedPointFollowsTheTemperatureUnitInWholeCelsius) {
  Diagram.SetMarkMode(true);
  Diagram.MarkedPoint().Visible = true;
  Diagram.MarkedPoint().T = 1000.4;
  Diagram.SetTUnits(tuK);
  EXPECT_NEAR(Diagram.MarkedPoint().T, 1273.55, 1e-9);
  Diagram.SetTUnits(tuC);
  EXPECT_EQ(Diagram.MarkedPoint().T, 1000);  // rounded on the way to Celsius

  Diagram.MarkedPoint().T = 1585;
  Diagram.SetTUnits(tuF);
  EXPECT_NEAR(Diagram.MarkedPoint().T, 2885, 1e-9);

  // A point not shown is not converted.
  Diagram.MarkedPoint().Visible = false;
  Diagram.SetTUnits(tuC);
  EXPECT_NEAR(Diagram.MarkedPoint().T, 2885, 1e-9);
}

TEST_F(BinagramModelTest, RenamingASubstanceRepaintsAndTracksItsDisplayName) {
  TSubstance* b = Diagram.SubstanceB();
  b->SetName(QStringLiteral("SubB"));
  EXPECT_EQ(Diagram.Repaints, 0);

  b->SetName(QStringLiteral("SiO2"));
  EXPECT_EQ(b->DisplayName, "SiO2");
  EXPECT_EQ(Diagram.Repaints, 1);

  Diagram.SetZoomed(true);
  b->SetName(QStringLiteral("SiO2-42.0"));
  EXPECT_EQ(b->Name(), "SiO2-42.0");
  EXPECT_EQ(b->DisplayName, "SiO2");
  EXPECT_EQ(Diagram.Repaints, 2);
}

TEST(Substance, WithoutAnOwnerOnlyTheNameChanges) {
  TSubstance s;
  EXPECT_EQ(s.MolMass, 1.0f);
  EXPECT_EQ(s.ElementAtoms, 0);
  s.SetName(QStringLiteral("Al2O3"));
  EXPECT_EQ(s.Name(), "Al2O3");
  EXPECT_EQ(s.DisplayName, "");
  QObject other;
  s.Owner = &other;  // not a diagram control
  s.SetName(QStringLiteral("MgO"));
  EXPECT_EQ(s.Name(), "MgO");
  EXPECT_EQ(s.DisplayName, "");
}
