// The ternary control's properties, their clamps and repaints, and the
// isotherm settings with their range rules.
#include <gtest/gtest.h>

#include "diagram/ternagram.h"
#include "message_collector.h"

using namespace ternary;

namespace {

class CountingTernagram : public TTernagram {
 public:
  int Repaints = 0;
  void Invalidate() override {
    ++Repaints;
    TTernagram::Invalidate();
  }
};

}  // namespace

TEST(TernagramModel, NewControlHoldsTheInitialSystem) {
  TTernagram g;
  for (int i = 0; i < 16; ++i)
    EXPECT_EQ(g.AreaList()[i].Identifier, QStringLiteral("Identifier for Area%1").arg(i + 1));
  EXPECT_EQ(g.Areas(), 0);
  EXPECT_EQ(g.GridSteps(), 5);
  EXPECT_EQ(g.GridType(), gtAllScales);
  EXPECT_EQ(g.HotIsothermColor(), TColor(0xFF0000));
  EXPECT_EQ(g.PaperColor(), clBtnFace);
  EXPECT_EQ(g.AxisCaption(), QStringLiteral("Mole Fraction in %"));
  EXPECT_EQ(g.CompositionScale(), 100);
  EXPECT_EQ(g.HotArea(), -1);
  EXPECT_EQ(g.Width(), 469);
  EXPECT_EQ(g.Height(), 322);
  EXPECT_EQ(g.TriSide(), 260);
  EXPECT_EQ(g.TriHeight(), 220);
  EXPECT_EQ(g.LegendWidth(), 135);
  EXPECT_FALSE(g.Painted());
  const QString names[3] = {"SubA", "SubB", "SubC"};
  const TSubstance* subs[3] = {g.SubstanceA(), g.SubstanceB(), g.SubstanceC()};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(subs[i]->Name(), names[i]);
    EXPECT_EQ(subs[i]->DisplayName, names[i]);
  }
  EXPECT_EQ(g.Isotherms()->Diagram, &g);
  EXPECT_FALSE(g.Isotherms()->Calculated);
}

TEST(TernagramModel, SettersClampAndRepaintOnlyOnChange) {
  CountingTernagram g;
  struct Case {
    const char* what;
    std::function<void(int)> set;
    std::function<int()> get;
    int given, stored;
  };
  const auto areas = [&](int v) { g.SetAreas(v); };
  const auto steps = [&](int v) { g.SetGridSteps(v); };
  const auto hot = [&](int v) { g.SetHotIsotherm(v); };
  const Case cases[] = {
      {"Areas", areas, [&] { return g.Areas(); }, 40, 16},
      {"GridSteps", steps, [&] { return g.GridSteps(); }, 1, 2},
      {"GridSteps", steps, [&] { return g.GridSteps(); }, 255, 10},
      {"GridSteps", steps, [&] { return g.GridSteps(); }, 0, 2},
      {"HotIsotherm", hot, [&] { return g.HotIsotherm(); }, 1237, 1230},
      {"HotIsotherm", hot, [&] { return g.HotIsotherm(); }, -15, -10},
  };
  for (const Case& c : cases) {
    g.Repaints = 0;
    c.set(c.given);
    EXPECT_EQ(c.get(), c.stored) << c.what << " " << c.given;
    EXPECT_EQ(g.Repaints, 1) << c.what << " " << c.given;
    c.set(c.stored);  // the stored value again changes nothing
    EXPECT_EQ(g.Repaints, 1) << c.what << " " << c.given;
  }

  // Stored without a repaint.
  g.Repaints = 0;
  g.SetMouseGrid(true);
  g.SetAllowZoom(false);
  EXPECT_TRUE(g.MouseGrid());
  EXPECT_FALSE(g.AllowZoom());
  EXPECT_EQ(g.Repaints, 0);

  // The settings the isotherms depend on forget them.
  for (auto set : std::initializer_list<std::function<void()>>{
           [&] { g.SetTCalcMethod(tcPolynomial); }, [&] { g.SetTUnits(tuK); },
           [&] { g.SetHotIsotherm(900); }}) {
    g.Isotherms()->Calculated = true;
    set();
    EXPECT_FALSE(g.Isotherms()->Calculated);
  }
}

TEST(TernagramModel, MarkModeOffHidesTheMark) {
  TTernagram g;
  g.SetMarkMode(true);
  EXPECT_FALSE(g.MarkedPoint().Visible);
  g.MarkedPoint().Visible = true;
  g.SetMarkMode(false);
  EXPECT_FALSE(g.MarkedPoint().Visible);
}

TEST(IsothermSettings, RangeRulesCompareBeforeTheClamp) {
  CountingTernagram g;
  TIsotherm& iso = *g.Isotherms();
  struct Case {
    const char* what;
    std::function<void(double)> set;
    std::function<double()> get;
    double given, stored;
    bool recompute;
  };
  const auto step = [&](double v) { iso.SetStep(int(v)); };
  const auto methodStep = [&](double v) { iso.SetMethodStep(float(v)); };
  const auto signStep = [&](double v) { iso.SetSignStep(int(v)); };
  const auto error = [&](double v) { iso.SetError(int(v)); };
  const auto smoothed = [&](double v) { iso.SetSmoothedTimes(int(v)); };
  const auto simplified = [&](double v) { iso.SetSimplifiedTimes(int(v)); };
  const Case cases[] = {
      {"Step", step, [&] { return iso.Step(); }, 120, 100, false},
      {"Step", step, [&] { return iso.Step(); }, 49, 50, false},
      {"Step", step, [&] { return iso.Step(); }, 251, 250, false},
      {"MethodStep", methodStep, [&] { return iso.MethodStep(); }, 0.3, 0.25, true},
      {"MethodStep", methodStep, [&] { return iso.MethodStep(); }, 2.9, 2.75, true},
      {"MethodStep", methodStep, [&] { return iso.MethodStep(); }, 3.1, 3.0, true},
      {"MethodStep", methodStep, [&] { return iso.MethodStep(); }, 0.1, 0.25, true},
      {"SignStep", signStep, [&] { return iso.SignStep(); }, 4, 5, false},
      {"SignStep", signStep, [&] { return iso.SignStep(); }, 12, 10, false},
      {"SignStep", signStep, [&] { return iso.SignStep(); }, 51, 50, false},
      {"Error", error, [&] { return iso.Error(); }, 11, 10, true},
      {"Error", error, [&] { return iso.Error(); }, 1, 1, true},
      // 0 differs from the stored 1 before the clamp: it still counts.
      {"Error", error, [&] { return iso.Error(); }, 0, 1, true},
      {"SmoothedTimes", smoothed, [&] { return iso.SmoothedTimes(); }, 0, 1, true},
      {"SmoothedTimes", smoothed, [&] { return iso.SmoothedTimes(); }, 7, 5, true},
      {"SimplifiedTimes", simplified, [&] { return iso.SimplifiedTimes(); }, 4, 3, true},
  };
  for (const Case& c : cases) {
    iso.Calculated = true;
    g.Repaints = 0;
    c.set(c.given);
    EXPECT_DOUBLE_EQ(c.get(), c.stored) << c.what << " " << c.given;
    EXPECT_EQ(g.Repaints, 1) << c.what << " " << c.given;
    EXPECT_EQ(iso.Calculated, !c.recompute) << c.what << " " << c.given;
    // The stored value again: no effect at all.
    iso.Calculated = true;
    c.set(c.stored);
    EXPECT_EQ(g.Repaints, 1) << c.what;
    EXPECT_TRUE(iso.Calculated) << c.what;
  }

  // Drawing-only settings repaint and keep the computation.
  iso.Calculated = true;
  iso.SetColor(0x123456);
  iso.SetWidth(3);
  iso.SetGraphType(itPolyline);
  iso.SetSigned(false);
  EXPECT_TRUE(iso.Calculated);

  // Settings without a control repaint nothing and take every value.
  TIsotherm loose;
  loose.SetStep(250);
  loose.SetMethod(imCenterRadial);
  EXPECT_EQ(loose.Step(), 250);
  EXPECT_EQ(loose.Method(), imCenterRadial);
}
