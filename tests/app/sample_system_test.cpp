// The sample system as the main window's diagram receives it.
#include <gtest/gtest.h>

#include "app/sample_system.h"

namespace {

TEST(SampleSystem, CurvesAreNineSeparatedRunsOfAtMostTenPoints) {
  const TSplinesData Data = SampleCurves();
  ASSERT_EQ(Data.Points.size(), 48u);
  EXPECT_EQ(Data.LastIndex, 47);
  const int separators[] = {0, 5, 14, 21, 30, 33, 36, 42, 45};
  int run = 0, curves = 0;
  for (int i = 0; i < 48; ++i) {
    const TSplinePoint& p = Data.Points[i];
    const bool isSeparator = std::find(std::begin(separators), std::end(separators), i) !=
                             std::end(separators);
    if (isSeparator) {
      EXPECT_EQ(p.C, -1.0f) << i;
      EXPECT_EQ(p.T, -1.0f) << i;
      run = 0;
      ++curves;
    } else {
      EXPECT_GE(p.C, 0.0f) << i;
      EXPECT_LE(p.C, 100.0f) << i;
      EXPECT_LE(++run, 10) << i;
    }
  }
  EXPECT_EQ(curves, 9);
  EXPECT_NE(Data.Points.back().C, -1.0f);  // no separator after the last curve
}

TEST(SampleSystem, CompositionsAreAmountsOfSilica) {
  const TSplinesData Data = SampleCurves();
  // Curve 1 starts at the melting point of pure Al2O3 (2050 °C is alumina's,
  // 1720 °C silica's): silica's end is composition 100.
  EXPECT_EQ(Data.Points[1].C, 100.0f);
  EXPECT_EQ(Data.Points[1].T, 1720.0f);
  EXPECT_EQ(Data.Points[29].C, 0.0f);
  EXPECT_EQ(Data.Points[29].T, 2050.0f);
  // The mullite line stands at 28 % SiO2 (72 % Al2O3).
  EXPECT_EQ(Data.Points[34].C, 28.0f);
  EXPECT_EQ(Data.Points[35].C, 28.0f);
  EXPECT_EQ(Data.Points[35].T, 1400.0f);
  EXPECT_FLOAT_EQ(Data.Points[2].C, 97.5f);
}

TEST(SampleSystem, LoadAppliesStoredPropertiesAreasAndCurves) {
  TBinagram Binagram1;
  LoadSampleSystem(Binagram1);
  EXPECT_FALSE(Binagram1.Border());
  EXPECT_EQ(Binagram1.PaperColor(), clBtnFace);
  EXPECT_EQ(Binagram1.Areas(), 8);
  EXPECT_EQ(Binagram1.HighTLimit(), 2100.0);
  EXPECT_EQ(Binagram1.LowTLimit(), 1400.0);
  EXPECT_EQ(Binagram1.CAxisStep(), 5);
  EXPECT_EQ(Binagram1.CUnits(), binary::cuMassPercents);
  EXPECT_EQ(Binagram1.GridType(), binary::gtOverAllScale);
  EXPECT_EQ(Binagram1.LowCLimit(), 0.0);
  EXPECT_EQ(Binagram1.HighCLimit(), 100.0);
  EXPECT_TRUE(Binagram1.MarkMode());
  EXPECT_FALSE(Binagram1.MouseGrid());
  EXPECT_EQ(Binagram1.SubstanceA()->Name(), "Al2O3");
  EXPECT_EQ(Binagram1.SubstanceA()->Element, "Al");
  EXPECT_EQ(Binagram1.SubstanceA()->ElementAtoms, 2);
  EXPECT_EQ(Binagram1.SubstanceA()->MolMass, 101.9613f);
  EXPECT_EQ(Binagram1.SubstanceB()->Name(), "SiO2");
  EXPECT_EQ(Binagram1.SubstanceB()->Element, "Si");
  EXPECT_EQ(Binagram1.SubstanceB()->ElementAtoms, 1);
  EXPECT_EQ(Binagram1.SubstanceB()->MolMass, 60.0843f);
  EXPECT_EQ(Binagram1.TAxisStep(), 100);
  EXPECT_EQ(Binagram1.Title(), "Al2O3-SiO2 Sample");
  EXPECT_TRUE(Binagram1.DrawSplines());
  EXPECT_TRUE(Binagram1.DrawAreas());
  EXPECT_EQ(Binagram1.TUnits(), binary::tuC);
  EXPECT_EQ(Binagram1.DataOrientation(), binary::doDirect);

  struct Row { const char* Name; int TwoPhase; float C, T; };
  const Row rows[] = {
      {"Liquid", 0, 60, 1900},
      {"Mullite ss + Liquid", 1, 60, 1700},
      {"\u0430-Al2O3 + Liquid", 1, 10, 1950},
      {"Mulite ss + a-Al2O3", 1, 10, 1650},
      {"Cristobalite + Mullite ss", 1, 60, 1500},
      {"Cristobalite + Liquid", 1, 97, 1600},
      {"Mullite ss", 0, 25, 1650},
      {"Mullite ss + Liquid", 1, 25, 1885},
  };
  for (int i = 0; i < 8; ++i) {
    const TPhaseArea a = Binagram1.AreaList().Get(i);
    EXPECT_EQ(a.Identifier, QString::fromUtf8(rows[i].Name)) << i;
    EXPECT_EQ(a.TwoPhase, rows[i].TwoPhase) << i;
    EXPECT_EQ(a.C, rows[i].C) << i;
    EXPECT_EQ(a.T, rows[i].T) << i;
  }
  EXPECT_EQ(Binagram1.AreaList().Get(2).Identifier.at(0).unicode(), 0x0430);
  EXPECT_TRUE(Binagram1.AreaList().Get(3).Identifier.endsWith("a-Al2O3"));  // a Latin a

  // The curves arrive as handed over, mirrored compositions included.
  ASSERT_EQ(Binagram1.CurveLastIndex(), 47);
  ASSERT_GE(Binagram1.CurveC().size(), 48u);
  EXPECT_EQ(Binagram1.CurveC()[0], -1.0);
  EXPECT_EQ(Binagram1.CurveC()[34], 28.0);
  EXPECT_EQ(Binagram1.CurveT()[34], 1910.0);
}

}  // namespace
