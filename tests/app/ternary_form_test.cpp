// The ternary window through its real widgets and real mouse events: what
// every option does to the diagram, orientation and units on the sample
// Bi-Pb-Sn system, reading, marking and zooming, the isotherm progress, and
// the main window's button that opens it.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QGroupBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <cmath>
#include <functional>

#include "app/main_form.h"
#include "app/window_kit.h"
#include "app/ternary_form.h"
#include "app/ternary_sample.h"
#include "diagram/mouse_test_support.h"
#include "message_collector.h"
#include "widgets/spin_edit.h"

using namespace ternary;
namespace ts = ternarysample;

namespace {

class TernaryFormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form = std::make_unique<TTernaryForm>();
    g = form->Ternagram1();
  }
  void TearDown() override {
    form.reset();
    ResetToolSeams();
  }

  template <class T>
  T* Find(const char* Name) const {
    T* w = form->findChild<T*>(Name);
    EXPECT_NE(w, nullptr) << Name;
    return w;
  }
  QGroupBox* Group(const char* Name) const { return Find<QGroupBox>(Name); }
  // The window as the user sees it, painted.
  void Show() {
    form->ShowWindow();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    g->Repaint();
  }
  void ShowPage(const char* Page) { Find<QTabWidget>("PageControl")->setCurrentWidget(Find<QWidget>(Page)); }
  // A user's click on item i of a radio group, on whichever page it is.
  void Choose(const char* GroupName, int i) {
    QGroupBox* group = Group(GroupName);
    Find<QTabWidget>("PageControl")->setCurrentWidget(group->parentWidget());
    QAbstractButton* b = RadioGroupItems(group)->button(i);
    ASSERT_NE(b, nullptr);
    QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(6, b->height() / 2));
    ASSERT_TRUE(b->isChecked()) << GroupName << " " << i;
  }
  void Click(QAbstractButton* b) {
    QWidget* page = b->parentWidget();
    while (page && page->parentWidget() && !qobject_cast<QTabWidget*>(page->parentWidget()->parentWidget()))
      page = page->parentWidget();
    if (page) Find<QTabWidget>("PageControl")->setCurrentWidget(page);
    QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(6, b->height() / 2));
  }
  // Typing a number into a spin edit and leaving it with Enter.
  static void Type(QAbstractSpinBox* spin, const QString& text) {
    spin->selectAll();
    QTest::keyClicks(spin, text);
    QTest::keyClick(spin, Qt::Key_Return);
  }
  QPoint At(double A, double B) const {
    const TPoint p = g->ViewMap().transformRounded(A, B);
    return QPoint(p.X, p.Y);
  }
  TColor FieldColor(int Area) const { return NearestColor(AreaColors[Area]); }
  // The field whose identifier names the substance.
  int FieldOf(const QString& Substance) const {
    for (int i = 0; i < g->Areas(); ++i)
      if (g->AreaList()[i].Identifier == "(" + Substance + ")") return i;
    return -1;
  }

  std::unique_ptr<TTernaryForm> form;
  TTernagram* g = nullptr;
  MessageCollector messages;
};

}  // namespace

TEST_F(TernaryFormTest, EveryOptionSetsItsPropertyOnTheDiagram) {
  form->show();
  // The option controls start as the diagram does.
  EXPECT_EQ(form->objectName(), "TernaryForm");
  EXPECT_EQ(g->objectName(), "Ternagram1");
  EXPECT_EQ(RadioGroupItemIndex(Group("CUnitsGroup")), 2);  // the sample is in mass percent
  EXPECT_EQ(g->CUnits(), cuMassPercents);
  EXPECT_EQ(RadioGroupItemIndex(Group("LineTypeGroup")), g->Isotherms()->GraphType());
  EXPECT_EQ(Find<TSpinEdit>("IsothermStepSpinEdit")->Value(), g->Isotherms()->Step());
  EXPECT_TRUE(Find<QCheckBox>("DrawIsothermsCheckBox")->isChecked());

  const TIsotherm& iso = *g->Isotherms();
  auto check = [this](const char* Name) { Click(Find<QCheckBox>(Name)); };
  auto type = [this](const char* Name, const char* Text) { Type(Find<QAbstractSpinBox>(Name), Text); };
  struct Case {
    const char* What;
    std::function<void()> Do;
    std::function<bool()> Done;
  };
  const Case cases[] = {
      {"Mole %", [&] { Choose("CUnitsGroup", 0); }, [&] { return g->CUnits() == cuMolPercents; }},
      {"Mole", [&] { Choose("CUnitsGroup", 1); }, [&] { return g->CUnits() == cuMolParts && g->CompositionScale() == 1; }},
      {"Mass", [&] { Choose("CUnitsGroup", 3); }, [&] { return g->CUnits() == cuMassParts; }},
      {"Mass %", [&] { Choose("CUnitsGroup", 2); }, [&] { return g->CUnits() == cuMassPercents; }},
      {"F", [&] { Choose("TUnitsGroup", 1); }, [&] { return g->TUnits() == tuF; }},
      {"K", [&] { Choose("TUnitsGroup", 2); }, [&] { return g->TUnits() == tuK; }},
      {"C", [&] { Choose("TUnitsGroup", 0); }, [&] { return g->TUnits() == tuC; }},
      {"Inner Lines", [&] { Choose("GridTypeGroup", 0); }, [&] { return g->GridType() == gtInnerParallel; }},
      {"Outside Scales", [&] { Choose("GridTypeGroup", 1); }, [&] { return g->GridType() == gtOutsideScale; }},
      {"All Scales", [&] { Choose("GridTypeGroup", 2); }, [&] { return g->GridType() == gtAllScales; }},
      {"Triangulation", [&] { Choose("TCalcMethodGroup", 2); }, [&] { return g->TCalcMethod() == tcTriangulation; }},
      {"Polynomial", [&] { Choose("TCalcMethodGroup", 1); }, [&] { return g->TCalcMethod() == tcPolynomial; }},
      {"Altitude", [&] { Choose("TCalcMethodGroup", 0); }, [&] { return g->TCalcMethod() == tcAltitude; }},
      {"Points", [&] { Choose("LineTypeGroup", 0); }, [&] { return iso.GraphType() == itPoints; }},
      {"Polyline", [&] { Choose("LineTypeGroup", 1); }, [&] { return iso.GraphType() == itPolyline; }},
      {"Spline", [&] { Choose("LineTypeGroup", 2); }, [&] { return iso.GraphType() == itSpline; }},
      {"Legend", [&] { check("LegendCheckBox"); }, [&] { return !g->Legend(); }},
      {"Values Table", [&] { check("ValuesTableCheckBox"); }, [&] { return !g->ValuesTable(); }},
      {"Co-existing Phases", [&] { check("CoPhasesCheckBox"); }, [&] { return !g->CoPhasesTable(); }},
      {"Mouse Grid", [&] { check("MouseGridCheckBox"); }, [&] { return g->MouseGrid(); }},
      {"Mark Points", [&] { check("MarkPointsCheckBox"); }, [&] { return !g->MarkMode(); }},
      {"Crystallization Path", [&] { check("CrystallizationCheckBox"); }, [&] { return !g->DrawCrystallization(); }},
      {"Draw Isotherms", [&] { check("DrawIsothermsCheckBox"); }, [&] { return !g->DrawIsotherms(); }},
      {"Smoothing", [&] { check("SmoothedCheckBox"); }, [&] { return !iso.Smoothed(); }},
      {"Thinning", [&] { check("SimplifiedCheckBox"); }, [&] { return iso.Simplified(); }},
      {"Labels", [&] { check("SignedCheckBox"); }, [&] { return !iso.Signed(); }},
      {"Grid Steps", [&] { type("GridStepsSpinEdit", "8"); }, [&] { return g->GridSteps() == 8; }},
      {"Isotherm Step", [&] { type("IsothermStepSpinEdit", "150"); }, [&] { return iso.Step() == 150; }},
      {"Band Error", [&] { type("ErrorSpinEdit", "6"); }, [&] { return iso.Error() == 6; }},
      {"Grid Step, %", [&] { type("MethodStepSpinBox", "2.5"); }, [&] { return iso.MethodStep() == 2.5f; }},
      {"Smoothing times", [&] { type("SmoothedTimesSpinEdit", "5"); }, [&] { return iso.SmoothedTimes() == 5; }},
      {"Thinning times", [&] { type("SimplifiedTimesSpinEdit", "2"); }, [&] { return iso.SimplifiedTimes() == 2; }},
      {"Labels, every", [&] { type("SignStepSpinEdit", "25"); }, [&] { return iso.SignStep() == 25; }},
      {"Hot isotherm", [&] { type("HotIsothermSpinEdit", "157"); }, [&] { return g->HotIsotherm() == 150; }},
  };
  for (const Case& c : cases) {
    c.Do();
    EXPECT_TRUE(c.Done()) << c.What;
  }

  // A value the diagram brings into its range shows as stored once typed.
  type("IsothermStepSpinEdit", "120");
  EXPECT_EQ(iso.Step(), 100);
  EXPECT_EQ(Find<TSpinEdit>("IsothermStepSpinEdit")->Value(), 100);
  type("MethodStepSpinBox", "0.6");
  EXPECT_EQ(iso.MethodStep(), 0.5f);
  EXPECT_DOUBLE_EQ(Find<QDoubleSpinBox>("MethodStepSpinBox")->value(), 0.5);
  EXPECT_EQ(Find<TSpinEdit>("HotIsothermSpinEdit")->Value(), 150);

  // The colour button asks for a colour; cancelling keeps the old one.
  QStringList asked;
  ToolSeams().ChooseColor = [&](QWidget*, const QColor& initial, const QString&) {
    asked << initial.name();
    return QColor(0, 128, 255);
  };
  Click(Find<QPushButton>("HotIsothermColorButton"));
  EXPECT_EQ(asked, QStringList{"#0000ff"});  // the diagram's blue
  EXPECT_EQ(g->HotIsothermColor(), RGB(0, 128, 255));
  ToolSeams().ChooseColor = [](QWidget*, const QColor&, const QString&) { return QColor(); };
  Click(Find<QPushButton>("HotIsothermColorButton"));
  EXPECT_EQ(g->HotIsothermColor(), RGB(0, 128, 255));
  EXPECT_TRUE(messages.texts.isEmpty()) << messages.texts.join("\n").toStdString();
}

TEST_F(TernaryFormTest, OrientationsPutTheNamedSubstancesAtTheCorners) {
  Show();
  Click(Find<QCheckBox>("DrawIsothermsCheckBox"));  // no isotherm over the corners' pixels
  ASSERT_FALSE(g->DrawIsotherms());
  QStringList captions;
  for (int i = 0; i < 6; ++i) captions << RadioGroupItems(Group("OrientationGroup"))->button(i)->text();
  EXPECT_EQ(captions, QStringList({"Bi-Pb-Sn", "Bi-Sn-Pb", "Pb-Bi-Sn", "Pb-Sn-Bi", "Sn-Bi-Pb", "Sn-Pb-Bi"}));
  const struct {
    double A, B;
  } corners[] = {{92, 4}, {4, 92}, {4, 4}};  // inside corner A, B, C
  for (int o : {3, 1, 4, 2, 5, 0}) {
    Choose("OrientationGroup", o);
    ASSERT_EQ(g->DataOrientation(), TDataOrientation(o));
    g->Repaint();
    const QStringList names = captions[o].split('-');
    const TSubstance* substances[] = {g->SubstanceA(), g->SubstanceB(), g->SubstanceC()};
    for (int k = 0; k < 3; ++k) {
      EXPECT_EQ(substances[k]->Name(), names[k]) << captions[o].toStdString() << " corner " << k;
      // The substance's field fills its corner, and its melting point
      // (the field's first T-point) sits there.
      const int field = FieldOf(names[k]);
      ASSERT_GE(field, 0) << names[k].toStdString();
      const QPoint p = At(corners[k].A, corners[k].B);
      EXPECT_EQ(g->Canvas()->Pixel(p.x(), p.y()), FieldColor(field)) << captions[o].toStdString() << " corner " << k;
      const TTernaryTPoint& melt = g->AreaList()[field].TPoints[0];
      const double share[] = {melt.A, melt.B, 100 - melt.A - melt.B};
      EXPECT_NEAR(share[k], 100, 1e-3) << names[k].toStdString();
    }
  }
  // Back to Bi-Pb-Sn: the data are as loaded.
  const TTernaryTPoint& e = g->AreaList()[ts::FieldBi].TPoints[2];
  EXPECT_NEAR(e.A, ts::Eutectic.A, 1e-3);
  EXPECT_NEAR(e.B, ts::Eutectic.B, 1e-3);
  EXPECT_NEAR(g->SubstanceA()->MolMass, 208.98f, 1e-3);
}

TEST_F(TernaryFormTest, UnitsConvertBetweenMassAndMoleThroughTheMolarMasses) {
  const TTernaryTPoint& e = g->AreaList()[ts::FieldPb].TPoints[2];  // the ternary eutectic
  Choose("CUnitsGroup", 0);  // "Mole %"
  EXPECT_NEAR(e.A, 46.85, 0.005);
  EXPECT_NEAR(e.B, 28.80, 0.005);
  EXPECT_NEAR(100 - e.A - e.B, 24.35, 0.005);
  EXPECT_EQ(g->AxisCaption(), "Mole Fraction in %");
  Choose("CUnitsGroup", 1);  // "Mole": the same numbers, shown in parts
  EXPECT_NEAR(e.A, 46.85, 0.005);
  Choose("CUnitsGroup", 2);
  EXPECT_NEAR(e.A, 52.5, 1e-3);
  EXPECT_NEAR(e.B, 32, 1e-3);
  EXPECT_EQ(g->AxisCaption(), "Mass Fraction in %");
}

TEST_F(TernaryFormTest, PointingMarkingAndZoomingOnTheWindow) {
  using namespace mousetest;
  Show();
  ASSERT_TRUE(Find<QWidget>("Panel1")->isVisible());
  // The isotherms' labels would hide the fields' colours at some points.
  Click(Find<QCheckBox>("DrawIsothermsCheckBox"));
  g->Repaint();
  // Just inside the (Sn) field beside the ternary eutectic, and near Pb.
  Move(g, At(51, 30.5));
  EXPECT_EQ(g->HotArea(), ts::FieldSn);
  EXPECT_NEAR(g->CursorPoint().T, 95, 12);
  EXPECT_NEAR(g->CursorPoint().A, 51, 0.5);
  Move(g, At(3, 94));
  EXPECT_EQ(g->HotArea(), ts::FieldPb);
  EXPECT_GT(g->CursorPoint().T, 300);
  EXPECT_LT(g->CursorPoint().T, 327);

  // A right click marks the point.
  int marks = 0;
  g->SetOnMarkPoint([&](QObject*) { ++marks; });
  Move(g, At(70, 10));
  mousetest::Click(g, At(70, 10), Qt::RightButton);
  EXPECT_EQ(marks, 1);
  ASSERT_TRUE(g->MarkedPoint().Visible);
  EXPECT_NEAR(g->MarkedPoint().A, 70, 0.5);
  EXPECT_NEAR(g->MarkedPoint().B, 10, 0.5);
  g->Repaint();

  // A drag zooms and greys the orientation; the units stay usable.
  Drag(g, At(60, 20), At(20, 20));
  g->Repaint();
  ASSERT_TRUE(g->Zoom());
  EXPECT_FALSE(Group("OrientationGroup")->isEnabled());
  for (const char* n : {"CUnitsGroup", "TUnitsGroup", "GridTypeGroup", "LineTypeGroup"})
    EXPECT_TRUE(Group(n)->isEnabled()) << n;
  EXPECT_TRUE(g->SubstanceA()->Name().startsWith("Bi-"));  // a corner of the zoom window
  // Units relabel the zoomed corners.
  const QString percentName = g->SubstanceA()->Name();
  Choose("CUnitsGroup", 3);
  EXPECT_NE(g->SubstanceA()->Name(), percentName);
  Choose("CUnitsGroup", 2);
  EXPECT_EQ(g->SubstanceA()->Name(), percentName);

  // A click leaves the zoom.
  mousetest::Click(g, At(40, 30));
  EXPECT_FALSE(g->Zoom());
  EXPECT_TRUE(Group("OrientationGroup")->isEnabled());
  EXPECT_EQ(g->SubstanceA()->Name(), "Bi");
  EXPECT_TRUE(messages.texts.isEmpty()) << messages.texts.join("\n").toStdString();
}

// The sample reads what its T-points say: by every method at every T-point,
// and through the mouse at the ternary eutectic's pixel and the eight pixels
// around it (the eutectic's own pixel read 126 °C in the (Sn) field by the
// altitude estimate, the temperature of a midpoint far away). Each pixel is
// reached from the eutectic's own pixel, as a user's mouse would: on a
// curve's black pixel the reading stays. The triangulated surface reads
// 95 °C at all nine, the altitude estimate at each whose composition does
// not lie beyond the eutectic corner of its field's polygon of T-points
// (where the fill puts a pixel of the field's colour past the corner, no
// edge of the polygon has a foot near the composition, and the contracted
// polygon answers from far away).
TEST_F(TernaryFormTest, TheSampleReadsItsTPointTemperatures) {
  for (int area = 0; area < g->Areas(); ++area)
    for (int i = 0; i < g->AreaList()[area].TPointCount; ++i) {
      const TTernaryTPoint& p = g->AreaList()[area].TPoints[i];
      for (auto f : {&TTernagram::AltitudeTemperature, &TTernagram::PolynomialTemperature,
                     &TTernagram::TriangulationTemperature})
        EXPECT_NEAR((g->*f)(area, p.A, p.B), p.T, 2) << "area " << area << ", point " << i;
    }

  // Outside both edges of the area's polygon that meet at the eutectic.
  auto beyondCorner = [this](int area, double A, double B) {
    const TTernaryArea& a = g->AreaList()[area];
    const int n = a.TPointCount;
    auto side = [&](int i, double x, double y) {
      const TTernaryTPoint &p = a.TPoints[i % n], &q = a.TPoints[(i + 1) % n];
      return (double(q.A) - p.A) * (y - p.B) - (double(q.B) - p.B) * (x - p.A);
    };
    int k = 0;
    while (k < n && !(a.TPoints[k].A == float(ts::Eutectic.A) && a.TPoints[k].B == float(ts::Eutectic.B))) ++k;
    const int opposite = (k + 2) % n;  // a corner inside both edges' half-planes
    const double in1 = side(k + n - 1, a.TPoints[opposite].A, a.TPoints[opposite].B);
    const double in2 = side(k, a.TPoints[opposite].A, a.TPoints[opposite].B);
    return side(k + n - 1, A, B) * in1 < 0 && side(k, A, B) * in2 < 0;
  };
  using namespace mousetest;
  Show();
  if (g->DrawIsotherms()) Click(Find<QCheckBox>("DrawIsothermsCheckBox"));
  const QPoint eutectic = At(ts::Eutectic.A, ts::Eutectic.B);
  int altitudeChecked = 0;
  for (int method : {2, 0}) {
    Choose("TCalcMethodGroup", method);
    g->Repaint();
    for (int dy = -1; dy <= 1; ++dy)
      for (int dx = -1; dx <= 1; ++dx) {
        Move(g, eutectic);
        ASSERT_GE(g->HotArea(), 0);
        Move(g, eutectic + QPoint(dx, dy));
        // HotArea -1: a boundary's black pixel, read as the mean of the
        // fields beside it; by the altitude method one of them may lie
        // beyond its polygon's corner there.
        if (method == 0 && (g->HotArea() < 0 || beyondCorner(g->HotArea(), g->CursorPoint().A, g->CursorPoint().B)))
          continue;
        altitudeChecked += method == 0;
        EXPECT_NEAR(g->CursorPoint().T, 95, 2)
            << (method ? "triangulation" : "altitude") << ", pixel " << dx << ", " << dy << " from the eutectic";
      }
  }
  EXPECT_GE(altitudeChecked, 3);
}

TEST_F(TernaryFormTest, IsothermProgressShowsWhileTheWindowStaysResponsive) {
  Show();
  QTest::qWait(60);  // the first computation, at the first paint, is over
  auto* bar = Find<QProgressBar>("ProgressBar1");
  EXPECT_FALSE(bar->isVisible());
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  for (const auto& [step, rows] : {std::pair{2.0f, 49}, std::pair{2.5f, 39}}) {
    g->Isotherms()->SetMethodStep(step);
    ASSERT_FALSE(g->Isotherms()->Calculated);
    // What the user sees while the rows are scanned: a timer of this test
    // runs whenever the window processes its messages.
    struct Seen {
      bool Visible;
      int Value, Maximum;
      bool Waiting;
    };
    std::vector<Seen> seen;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
      const QCursor* c = QApplication::overrideCursor();
      seen.push_back({bar->isVisible(), bar->value(), bar->maximum(), c && c->shape() == Qt::WaitCursor});
    });
    watch.start(0);
    g->Repaint();
    watch.stop();
    ASSERT_TRUE(g->Isotherms()->Calculated);
    ASSERT_GE(seen.size(), 10u) << "the computation let no messages run";
    for (const Seen& s : seen) {
      EXPECT_TRUE(s.Visible && s.Waiting);
      EXPECT_EQ(s.Maximum, rows);
    }
    EXPECT_LE(seen.front().Value, 1);
    EXPECT_GE(seen.back().Value, rows - 2);
    for (std::size_t i = 1; i < seen.size(); ++i) EXPECT_GE(seen[i].Value, seen[i - 1].Value);
    // Once the paint is over the bar and the hourglass go.
    QTest::qWait(60);
    EXPECT_FALSE(bar->isVisible());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  }
}

TEST(TernaryWindowButton, TheSixthToolBarButtonOpensTheOneTernaryWindow) {
  MessageCollector messages;
  TMainForm main;
  main.show();
  auto* button = main.findChild<QToolButton*>("SpeedButton5");
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(button->toolTip(), "Ternary Diagram");
  EXPECT_FALSE(button->icon().isNull());
  // After the five, below them.
  const QToolButton* about = main.findChild<QToolButton*>("SpeedButton4");
  EXPECT_GT(button->mapTo(&main, QPoint()).y(), about->mapTo(&main, QPoint()).y());
  EXPECT_TRUE(button->isVisible());

  ASSERT_EQ(TernaryForm, nullptr);
  QTest::mouseClick(button, Qt::LeftButton);
  ASSERT_NE(TernaryForm, nullptr);
  TTernaryForm* first = TernaryForm;
  EXPECT_TRUE(first->isVisible());
  EXPECT_FALSE(first->isModal());
  EXPECT_TRUE(first->isWindow());
  EXPECT_EQ(first->size(), QSize(first->DesignWidth(), first->DesignHeight()));
  EXPECT_EQ(first->Ternagram1()->Title(), "Bi-Pb-Sn Sample");
  first->close();
  QTest::mouseClick(button, Qt::LeftButton);
  EXPECT_EQ(TernaryForm, first);  // made once, shown again
  EXPECT_TRUE(first->isVisible());
  EXPECT_TRUE(main.isEnabled());  // not modal: the main window stays usable
  EXPECT_TRUE(messages.texts.isEmpty()) << messages.texts.join("\n").toStdString();
}
