// The binary control's base: area table, curve hand-over, the validated
// temperature window and the conversion of every stored temperature.
#include <cmath>
#include <limits>

#include "model_fixture.h"

using namespace binary;

using BinaplotTest = ModelTest;

TEST_F(BinaplotTest, NewControlHoldsSixteenNumberedAreasAndTheDefaultWindow) {
  ASSERT_EQ(Diagram.AreaList().Count(), 16);
  EXPECT_EQ(Diagram.AreaList().Get(0).Identifier, "Identifier for Area1");
  EXPECT_EQ(Diagram.AreaList().Get(15).Identifier, "Identifier for Area16");
  EXPECT_EQ(Diagram.Areas(), 0);
  EXPECT_EQ(Diagram.LowTLimit(), 0.0);
  EXPECT_EQ(Diagram.HighTLimit(), 1000.0);
  EXPECT_EQ(Diagram.TUnits(), tuC);
  EXPECT_EQ(Diagram.PaperColor(), clBtnFace);
  EXPECT_TRUE(Diagram.Border());
  EXPECT_FALSE(Diagram.Zooming());
  EXPECT_EQ(Diagram.ControlStyle() & (csOpaque | csFramed), csOpaque | csFramed);
}

TEST_F(BinaplotTest, AreaTableKeepsShortIdentifiersAndIgnoresIndicesPastIt) {
  TPhaseArea a;
  a.Identifier = QStringLiteral("Liquid + Mullite + much more text");
  Diagram.AreaList().Put(3, a);
  EXPECT_EQ(Diagram.AreaList().Get(3).Identifier, "Liquid + Mullite + much m");
  Diagram.AreaList().Put(16, a);
  Diagram.AreaList().Put(-1, a);
  EXPECT_EQ(Diagram.AreaList().Get(16).Identifier, "");
  Diagram.AreaList()[99].C = 5;  // a scratch entry, no area
  EXPECT_EQ(Diagram.AreaList().Get(15).C, 0);
}

TEST_F(BinaplotTest, AreasAbove16Store16AndRepaintEachTime) {
  Diagram.SetAreas(20);
  EXPECT_EQ(Diagram.Areas(), 16);
  EXPECT_EQ(Diagram.Repaints, 1);
  Diagram.SetAreas(16);
  EXPECT_EQ(Diagram.Repaints, 1);
  Diagram.SetAreas(20);
  EXPECT_EQ(Diagram.Areas(), 16);
  EXPECT_EQ(Diagram.Repaints, 2);
  Diagram.SetAreas(-3);
  EXPECT_EQ(Diagram.Areas(), 0);
}

TEST_F(BinaplotTest, LowLimitCloserThan100ToTheHighOneIsRefusedWithTheValues) {
  Diagram.SetLowTLimit(950);
  ASSERT_EQ(Messages.size(), 1);
  EXPECT_EQ(Messages[0], "Low temperature limit must be lower then high one:950 not < 1000");
  EXPECT_EQ(Diagram.LowTLimit(), 0);
  EXPECT_EQ(Diagram.Repaints, 0);

  Diagram.SetLowTLimit(900);
  EXPECT_EQ(Diagram.LowTLimit(), 900);
  EXPECT_EQ(Diagram.SavedLowTLimit(), 900);
  EXPECT_EQ(Diagram.Repaints, 1);
  Diagram.SetLowTLimit(900);
  EXPECT_EQ(Diagram.Repaints, 1);
  EXPECT_EQ(Messages.size(), 1);
}

TEST_F(BinaplotTest, HighLimitSpanMessageShowsFractionsInShortestForm) {
  Diagram.SetTUnits(tuK);
  Reset();
  Diagram.SetHighTLimit(300.5);
  ASSERT_EQ(Messages.size(), 1);
  EXPECT_EQ(Messages[0], "High temperature limit must be higher then low one:300.5 not > 273.15");
  EXPECT_EQ(Diagram.HighTLimit(), 1273.15);
}

TEST_F(BinaplotTest, LimitsOutsideTheUnitsRangeAreClampedWithTheirMessages) {
  Diagram.SetLowTLimit(-20);
  EXPECT_EQ(Diagram.LowTLimit(), 0);
  Diagram.SetHighTLimit(3500);
  EXPECT_EQ(Diagram.HighTLimit(), 3000);
  EXPECT_EQ(Diagram.SavedHighTLimit(), 3000);
  ASSERT_EQ(Messages.size(), 2);
  EXPECT_EQ(Messages[0], "The lowest temperature limit is 0C degrees");
  EXPECT_EQ(Messages[1], "The highest temperature limit is 3000C degrees");

  Diagram.SetTUnits(tuF);
  Reset();
  Diagram.SetLowTLimit(0);
  Diagram.SetHighTLimit(6000);
  EXPECT_EQ(Diagram.LowTLimit(), 32);
  EXPECT_EQ(Diagram.HighTLimit(), 5432);
  EXPECT_EQ(Messages, QStringList({"The lowest temperature limit is 32F degrees",
                                   "The highest temperature limit is 5432F degrees"}));

  Diagram.SetTUnits(tuK);
  Reset();
  Diagram.SetLowTLimit(100);
  Diagram.SetHighTLimit(4000);
  EXPECT_EQ(Diagram.LowTLimit(), 273.15);
  EXPECT_EQ(Diagram.HighTLimit(), 3273.15);
  EXPECT_EQ(Messages, QStringList({"The lowest temperature limit is 273.15K degrees",
                                   "The highest temperature limit is 3273.15K degrees"}));
}

TEST_F(BinaplotTest, NonFiniteLimitsChangeNothing) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  for (double v : {nan, inf, -inf}) {
    Diagram.SetLowTLimit(v);
    Diagram.SetHighTLimit(v);
  }
  EXPECT_EQ(Diagram.LowTLimit(), 0);
  EXPECT_EQ(Diagram.HighTLimit(), 1000);
  EXPECT_EQ(Diagram.Repaints, 0);
  EXPECT_TRUE(Messages.isEmpty());
}

TEST_F(BinaplotTest, LimitsSetWhileZoomedLeaveTheSavedWindowAlone) {
  Diagram.SetZoomed(true);
  Diagram.SetLowTLimit(200);
  Diagram.SetHighTLimit(600);
  EXPECT_EQ(Diagram.LowTLimit(), 200);
  EXPECT_EQ(Diagram.HighTLimit(), 600);
  EXPECT_EQ(Diagram.SavedLowTLimit(), 0);
  EXPECT_EQ(Diagram.SavedHighTLimit(), 1000);

  // The saved window cannot follow a unit change, so none is made.
  SetCurves({{-1, -1}, {10, 500}});
  Diagram.SetTUnits(tuK);
  EXPECT_EQ(Diagram.TUnits(), tuC);
  EXPECT_EQ(Diagram.LowTLimit(), 200);
  EXPECT_EQ(Diagram.CurveT()[1], 500);
  Diagram.SetZoomed(false);
  Diagram.SetTUnits(tuK);
  EXPECT_DOUBLE_EQ(Diagram.SavedHighTLimit(), 873.15);
}

TEST_F(BinaplotTest, CelsiusToFahrenheitAndBackRestoresTheWindowExactly) {
  Diagram.SetHighTLimit(2100);
  Diagram.SetLowTLimit(1400);
  SetCurves({{-1, -1}, {0, 2050}, {60, 1585}, {-1, -1}});
  Diagram.SetAreas(2);
  SetArea(0, 30, 1800);
  SetArea(2, 30, 1800);  // not in use
  Reset();

  Diagram.SetTUnits(tuF);
  EXPECT_TRUE(Messages.isEmpty()) << Messages.join('|').toStdString();
  EXPECT_DOUBLE_EQ(Diagram.LowTLimit(), 2552);
  EXPECT_DOUBLE_EQ(Diagram.HighTLimit(), 3812);
  EXPECT_DOUBLE_EQ(Diagram.SavedLowTLimit(), 2552);
  EXPECT_NEAR(Diagram.CurveT()[2], 2885, 1e-9);
  EXPECT_EQ(Diagram.CurveT()[0], -1);
  EXPECT_FLOAT_EQ(Diagram.AreaList().Get(0).T, 3272);
  EXPECT_EQ(Diagram.AreaList().Get(2).T, 1800);
  EXPECT_GE(Diagram.Repaints, 1);

  Diagram.SetTUnits(tuC);
  EXPECT_TRUE(Messages.isEmpty());
  EXPECT_EQ(Diagram.LowTLimit(), 1400);
  EXPECT_EQ(Diagram.HighTLimit(), 2100);
  EXPECT_NEAR(Diagram.CurveT()[2], 1585, 1e-9);
  EXPECT_EQ(Diagram.CurveT()[3], -1);
  EXPECT_NEAR(Diagram.AreaList().Get(0).T, 1800, 1e-3);
}

TEST_F(BinaplotTest, CelsiusToKelvinRaisesNoMessageAtTheLowestBound) {
  SetCurves({{-1, -1}, {10, 500}, {-1, -1}});
  Diagram.SetTUnits(tuK);
  EXPECT_TRUE(Messages.isEmpty()) << Messages.join('|').toStdString();
  EXPECT_DOUBLE_EQ(Diagram.LowTLimit(), 273.15);
  EXPECT_DOUBLE_EQ(Diagram.HighTLimit(), 1273.15);
  EXPECT_DOUBLE_EQ(Diagram.CurveT()[1], 773.15);
  EXPECT_EQ(Diagram.CurveT()[0], -1);
  EXPECT_EQ(Diagram.CurveT()[2], -1);
}

TEST_F(BinaplotTest, KelvinAndFahrenheitConvertBothWays) {
  Diagram.SetTUnits(tuK);
  Diagram.SetTUnits(tuF);  // 273.15..1273.15 K
  EXPECT_NEAR(Diagram.LowTLimit(), 32, 1e-9);
  EXPECT_NEAR(Diagram.HighTLimit(), 1832, 1e-9);
  Diagram.SetTUnits(tuK);
  EXPECT_NEAR(Diagram.LowTLimit(), 273.15, 1e-9);
  EXPECT_NEAR(Diagram.HighTLimit(), 1273.15, 1e-9);
  Diagram.SetTUnits(tuC);
  EXPECT_EQ(Diagram.LowTLimit(), 0);
  EXPECT_EQ(Diagram.HighTLimit(), 1000);
  EXPECT_TRUE(Messages.isEmpty()) << Messages.join('|').toStdString();
}

TEST_F(BinaplotTest, CurvesAreStoredWithOneSpareElement) {
  TSplinesData data;
  for (int i = 0; i < 48; ++i) data.Points.push_back({float(i), float(1000 + i)});
  data.LastIndex = 47;
  Diagram.SetSplinesData(data);
  EXPECT_EQ(Diagram.CurveLastIndex(), 47);
  ASSERT_EQ(Diagram.CurveC().size(), 49u);
  ASSERT_EQ(Diagram.CurveT().size(), 49u);
  EXPECT_EQ(Diagram.CurveC()[47], 47);
  EXPECT_EQ(Diagram.CurveT()[47], 1047);
  EXPECT_EQ(Diagram.Repaints, 1);
}

TEST_F(BinaplotTest, LastIndexPastThePointsIsCutToThePointsGiven) {
  TSplinesData data;
  data.Points = {{-1, -1}, {20, 1500}, {40, 1600}};
  data.LastIndex = 500;
  Diagram.SetSplinesData(data);
  EXPECT_EQ(Diagram.CurveLastIndex(), 2);
  EXPECT_EQ(Diagram.CurveC().size(), 4u);
  EXPECT_EQ(Diagram.CurveT()[2], 1600);

  Diagram.SetSplinesData(TSplinesData{});
  EXPECT_EQ(Diagram.CurveLastIndex(), 0);
  ASSERT_EQ(Diagram.CurveC().size(), 2u);
  EXPECT_EQ(Diagram.CurveC()[0], -1);  // no curve left
}

// A valid window stays valid through a unit switch: converted, and widened
// to the 100-degree span at its high end (at its low end against the top of
// the range) where the conversion to Celsius shrinks it, without a message.
TEST_F(BinaplotTest, UnitSwitchOfAValidWindowConvertsItWithoutAMessage) {
  struct Case {
    TTUnits from;
    double low, high;
    TTUnits to;
    double newLow, newHigh;
  };
  const Case cases[] = {
      {tuF, 100, 200, tuC, 38, 138},
      {tuF, 5332, 5432, tuC, 2900, 3000},
      {tuF, 32, 5432, tuK, 273.15, 3273.15},
      {tuC, 0, 3000, tuK, 273.15, 3273.15},
      {tuC, 0, 3000, tuF, 32, 5432},
      {tuK, 273.15, 373.15, tuC, 0, 100},
      {tuK, 3173.15, 3273.15, tuF, 5252, 5432},
      {tuK, 1000.2, 1100.4, tuC, 727, 827},
  };
  for (const Case& c : cases) {
    CountingBinagram g;
    g.SetTUnits(c.from);
    g.SetHighTLimit(c.high);
    g.SetLowTLimit(c.low);
    g.SetHighTLimit(c.high);
    ASSERT_EQ(g.LowTLimit(), c.low);
    ASSERT_EQ(g.HighTLimit(), c.high);
    Reset();
    g.SetTUnits(c.to);
    const std::string where = std::to_string(c.low) + ".." + std::to_string(c.high);
    EXPECT_TRUE(Messages.isEmpty()) << where << ": " << Messages.join('|').toStdString();
    EXPECT_NEAR(g.LowTLimit(), c.newLow, 1e-9) << where;
    EXPECT_NEAR(g.HighTLimit(), c.newHigh, 1e-9) << where;
    EXPECT_EQ(g.SavedLowTLimit(), g.LowTLimit()) << where;
    EXPECT_EQ(g.SavedHighTLimit(), g.HighTLimit()) << where;
    EXPECT_GE(g.HighTLimit() - g.LowTLimit(), 100 - 1e-9) << where;
  }
}
