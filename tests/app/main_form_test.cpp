// The main window through its real widgets: layout, captions, what every
// option does to the diagram, the zoom lock and the batch calculator.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

#include "app/main_form.h"
#include "app/stacking.h"
#include "app/version_resource.h"
#include "platform/messages.h"
#include "widgets/spin_edit.h"
#include "widgets/version_info.h"

using namespace binary;

namespace {

class MainFormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    oldHandler_ = SetMessageHandler([this](const QString& t) { messages << t; });
    form = std::make_unique<TMainForm>();
    g = form->Binagram1();
  }
  void TearDown() override {
    form.reset();
    SetMessageHandler(oldHandler_);
  }

  template <class T>
  T* Find(const char* Name) const {
    T* w = form->findChild<T*>(Name);
    EXPECT_NE(w, nullptr) << Name;
    return w;
  }
  QGroupBox* Group(const char* Name) const { return Find<QGroupBox>(Name); }
  QLabel* Label(const char* Name) const { return Find<QLabel>(Name); }
  QComboBox* Combo(const char* Name) const { return Find<QComboBox>(Name); }

  // The radio buttons of a group in item order.
  static QList<QAbstractButton*> Items(QGroupBox* Group) {
    QList<QAbstractButton*> items;
    const QButtonGroup* bg = Group->findChild<QButtonGroup*>();
    for (int i = 0; bg && bg->button(i); ++i) items << bg->button(i);
    return items;
  }
  static QStringList Texts(QGroupBox* Group) {
    QStringList texts;
    for (QAbstractButton* b : Items(Group)) texts << b->text();
    return texts;
  }
  // A user's click on item i.
  void Choose(const char* GroupName, int i) {
    form->show();
    QAbstractButton* b = Items(Group(GroupName)).value(i);
    ASSERT_NE(b, nullptr);
    QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(6, b->height() / 2));
    ASSERT_TRUE(b->isChecked()) << GroupName << " " << i;
  }
  void Click(const char* CheckBoxName) {
    form->show();
    QCheckBox* c = Find<QCheckBox>(CheckBoxName);
    QTest::mouseClick(c, Qt::LeftButton, {}, QPoint(6, c->height() / 2));
  }

  // The diagram marks a point: the read-out copied, then OnMarkPoint.
  void Mark(double A, int CoPhases = 0) {
    TFullDataPoint& p = g->MarkedPoint();
    p.A = A;
    p.Visible = true;
    p.CoPhases = CoPhases;
    g->OnMarkPoint()(g);
  }
  void MouseMoveOverDiagram() { g->OnMouseMove()(g, 0, 10, 10); }
  QString Results() const {
    return Label("Label14")->text() + " | " + Label("Label15")->text();
  }

  std::unique_ptr<TMainForm> form;
  TBinagram* g = nullptr;
  QStringList messages;

 private:
  TMessageHandler oldHandler_;
};

TEST_F(MainFormTest, CaptionIsTheProgramsDescriptionAndFileVersion) {
  InitVersionResource();
  const TVersionInfo v;
  ASSERT_TRUE(v.Loaded());
  EXPECT_EQ(v.FileVersion(), "1.5.1.1");
  EXPECT_EQ(v.ProductVersion(), "1.5.1.1");  // one version: file and product
  EXPECT_EQ(v.FixedFileVersion().Text(), "1.5.1.1");
  EXPECT_EQ(v.FixedProductVersion().Text(), "1.5.1.1");
  EXPECT_FALSE(v.FileDescription().isEmpty());
  EXPECT_EQ(form->windowTitle(), v.FileDescription() + " version 1.5.1.1");
  EXPECT_EQ(QApplication::applicationDisplayName(), form->windowTitle());
  EXPECT_EQ(form->objectName(), "MainForm");
  EXPECT_TRUE(messages.isEmpty()) << messages.join("\n").toStdString();
}

TEST_F(MainFormTest, PagesGroupsAndItemsAsDesigned) {
  auto* pages = Find<QTabWidget>("PageControl");
  ASSERT_EQ(pages->count(), 3);
  EXPECT_EQ(pages->currentWidget()->objectName(), "Diagram");
  const char* names[] = {"Diagram", "Presentation", "Stacking"};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(pages->widget(i)->objectName(), names[i]);
    EXPECT_EQ(pages->tabText(i), names[i]);
  }
  struct GroupCase { const char* Name; const char* Caption; QStringList Items; int Initial; };
  const GroupCase groups[] = {
      {"RadioGroup4", "Data Orientation", {"Direct (AB)", "Inversed (BA)"}, 0},
      {"RadioGroup1", "Concentration Units", {"Mole %", "Mole ", "Mass %", "Mass"}, 2},
      {"RadioGroup5", "Temperature Units", {"C", "F", "K"}, 0},
      {"RadioGroup2", "Temperature Grid Step", {"25", "50", "100"}, 2},
      {"RadioGroup3", "Concentration Grid Step", {"2", "5", "10"}, 1},
  };
  for (const GroupCase& c : groups) {
    EXPECT_EQ(Group(c.Name)->title(), c.Caption);
    EXPECT_EQ(Texts(Group(c.Name)), c.Items) << c.Name;
    EXPECT_EQ(RadioGroupItemIndex(Group(c.Name)), c.Initial) << c.Name;
  }
  EXPECT_EQ(Group("RadioGroup4")->height(), 52);
  EXPECT_EQ(Group("RadioGroup5")->height(), 34);
  EXPECT_EQ(Group("GroupBox2")->title(), "Controls");
  EXPECT_EQ(Group("GroupBox2")->height(), 127);

  struct CheckCase { const char* Name; const char* Caption; int Top; bool Checked; };
  const CheckCase checks[] = {
      {"CheckBox1", "Legend", 16, true},         {"CheckBox2", "Values Table", 34, true},
      {"CheckBox4", "Co-existing Phases", 52, true}, {"CheckBox3", "Mouse Grid", 70, false},
      {"CheckBox5", "Overall Scale Grid", 88, true}, {"CheckBox6", "Mark Points", 106, true}};
  for (const CheckCase& c : checks) {
    auto* box = Find<QCheckBox>(c.Name);
    EXPECT_EQ(box->text(), c.Caption);
    EXPECT_EQ(box->pos(), QPoint(10, c.Top)) << c.Name;
    EXPECT_EQ(box->isChecked(), c.Checked) << c.Name;
  }

  // The diagram starts as the option controls say.
  EXPECT_EQ(g->objectName(), "Binagram1");
  EXPECT_EQ(g->CUnits(), cuMassPercents);
  EXPECT_EQ(g->TUnits(), tuC);
  EXPECT_EQ(g->DataOrientation(), doDirect);
  EXPECT_EQ(g->TAxisStep(), 100);
  EXPECT_EQ(g->CAxisStep(), 5);
  EXPECT_EQ(g->GridType(), gtOverAllScale);
  EXPECT_TRUE(g->MarkMode());
  EXPECT_FALSE(g->MouseGrid());
  EXPECT_TRUE(g->Legend() && g->ValuesTable() && g->CoPhasesTable());
  EXPECT_EQ(g->Title(), "Al2O3-SiO2 Sample");
  EXPECT_EQ(g->Areas(), 8);
  EXPECT_TRUE(g->DrawSplines() && g->DrawAreas());
}

TEST_F(MainFormTest, WindowLayoutAndToolBar) {
  EXPECT_EQ(form->DesignWidth(), 798);
  EXPECT_EQ(form->DesignHeight(), 598);
  EXPECT_EQ(form->SampleCurves().LastIndex, 47);
  form->show();
  auto* panel1 = Find<QWidget>("Panel1");
  EXPECT_EQ(panel1->width(), 200);
  // Below the menu bar.
  const int menuHeight = Find<QMenuBar>("MenuBar")->height();
  EXPECT_GT(menuHeight, 10);
  EXPECT_EQ(panel1->y(), menuHeight);
  EXPECT_EQ(panel1->height(), form->height() - menuHeight);
  EXPECT_EQ(Find<QWidget>("Panel5")->height(), 30);
  // The diagram fills Panel2, inside its border.
  auto* panel2 = Find<QWidget>("Panel2");
  EXPECT_EQ(panel2->x(), 200);
  EXPECT_EQ(g->parentWidget(), panel2);
  EXPECT_EQ(g->geometry(), panel2->contentsRect());
  EXPECT_GT(g->width(), 500);

  struct ButtonCase { const char* Name; const char* Hint; int Left; };
  const ButtonCase buttons[] = {{"SpeedButton1", "Print Diagram", 4}, {"SpeedButton2", "Save Diagram", 40},
                                {"HelpSpeedButton", "Help", 76}, {"SpeedButton3", "Info", 110},
                                {"SpeedButton4", "About", 146}};
  for (const ButtonCase& b : buttons) {
    auto* button = Find<QToolButton>(b.Name);
    EXPECT_EQ(button->geometry(), QRect(b.Left, 6, 35, 22)) << b.Name;
    EXPECT_EQ(button->toolTip(), b.Hint);
    EXPECT_FALSE(button->icon().isNull()) << b.Name;
  }
}

TEST_F(MainFormTest, SmallerThanTheDesignSizeHidesTheOptionColumn) {
  form->resize(1000, 700);
  form->show();
  QWidget* panel1 = Find<QWidget>("Panel1");
  ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
  // The design size counts the window's frame.
  const QSize frame = form->frameGeometry().size() - form->size();
  auto outer = [&](int w, int h) { form->resize(w - frame.width(), h - frame.height()); };
  EXPECT_TRUE(panel1->isVisible());
  outer(797, 700);
  EXPECT_FALSE(panel1->isVisible());
  outer(798, 598);
  EXPECT_TRUE(panel1->isVisible());
  outer(900, 597);
  EXPECT_FALSE(panel1->isVisible());
  outer(900, 650);
  EXPECT_TRUE(panel1->isVisible());
  // Without the column the diagram takes the whole window.
  outer(700, 500);
  QApplication::processEvents();
  EXPECT_EQ(Find<QWidget>("Panel2")->geometry(),
            form->rect().adjusted(0, Find<QMenuBar>("MenuBar")->height(), 0, 0));
}

TEST_F(MainFormTest, ActivationRepaintsTheDiagram) {
  // Coming back from another window, as from a modal one.
  QWidget other;
  form->show();
  other.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
  QApplication::setActiveWindow(&other);
  ASSERT_FALSE(form->isActiveWindow());
  g->grab();  // paints it
  ASSERT_FALSE(g->Stale());
  QApplication::setActiveWindow(form.get());
  ASSERT_TRUE(form->isActiveWindow());
  EXPECT_TRUE(g->Stale());
}

TEST_F(MainFormTest, UnitOptionsSetTheDiagramsUnits) {
  Choose("RadioGroup1", 3);  // "Mass"
  EXPECT_EQ(g->CUnits(), cuMassParts);
  EXPECT_EQ(Label("StackingUnits")->text(), "kg");
  EXPECT_EQ(g->CompositionScale(), 1);
  Choose("RadioGroup1", 1);  // "Mole "
  EXPECT_EQ(g->CUnits(), cuMolParts);
  EXPECT_EQ(Label("StackingUnits")->text(), "mole");
  Choose("RadioGroup1", 0);  // "Mole %"
  EXPECT_EQ(g->CUnits(), cuMolPercents);
  EXPECT_EQ(Label("StackingUnits")->text(), "mole");
  Choose("RadioGroup1", 2);
  EXPECT_EQ(g->CUnits(), cuMassPercents);
  EXPECT_EQ(Label("StackingUnits")->text(), "kg");

  Choose("RadioGroup5", 1);  // "F"
  EXPECT_EQ(g->TUnits(), tuF);
  Choose("RadioGroup5", 2);  // "K"
  EXPECT_EQ(g->TUnits(), tuK);
  Choose("RadioGroup5", 0);
  EXPECT_EQ(g->TUnits(), tuC);

  Choose("RadioGroup4", 1);
  EXPECT_EQ(g->DataOrientation(), doInversed);
  EXPECT_EQ(g->SubstanceA()->Name(), "SiO2");
  Choose("RadioGroup4", 0);
  EXPECT_EQ(g->DataOrientation(), doDirect);
  EXPECT_EQ(g->SubstanceA()->Name(), "Al2O3");
}

TEST_F(MainFormTest, PresentationOptionsSetTheDiagramsSwitches) {
  Click("CheckBox5");  // "Overall Scale Grid" off
  EXPECT_EQ(g->GridType(), gtOutsideScale);
  Click("CheckBox5");
  EXPECT_EQ(g->GridType(), gtOverAllScale);
  Click("CheckBox1");
  EXPECT_FALSE(g->Legend());
  Click("CheckBox2");
  EXPECT_FALSE(g->ValuesTable());
  Click("CheckBox4");
  EXPECT_FALSE(g->CoPhasesTable());
  Click("CheckBox3");
  EXPECT_TRUE(g->MouseGrid());
  Click("CheckBox6");
  EXPECT_FALSE(g->MarkMode());
  Click("CheckBox1");
  EXPECT_TRUE(g->Legend());

  const int tSteps[] = {25, 50, 100};
  const int cSteps[] = {2, 5, 10};
  for (int i = 0; i < 3; ++i) {
    Choose("RadioGroup2", i);
    EXPECT_EQ(g->TAxisStep(), tSteps[i]);
    Choose("RadioGroup3", i);
    EXPECT_EQ(g->CAxisStep(), cSteps[i]);
  }
  // No item chosen: the step stays.
  SetRadioGroupItemIndex(Group("RadioGroup2"), -1);
  EXPECT_EQ(RadioGroupItemIndex(Group("RadioGroup2")), -1);
  form->RadioGroup2Click();
  EXPECT_EQ(g->TAxisStep(), 100);
}

TEST_F(MainFormTest, ZoomGreysTheUnitAndOrientationGroups) {
  const char* locked[] = {"RadioGroup1", "RadioGroup5", "RadioGroup4"};
  g->OnZoomIn()(g);
  for (const char* n : locked) EXPECT_FALSE(Group(n)->isEnabled()) << n;
  EXPECT_TRUE(Group("RadioGroup2")->isEnabled());
  EXPECT_TRUE(Group("GroupBox2")->isEnabled());
  g->OnZoomOut()(g);
  for (const char* n : locked) EXPECT_TRUE(Group(n)->isEnabled()) << n;
}

TEST_F(MainFormTest, StackingPageAsDesigned) {
  EXPECT_EQ(Group("ISGroupBox")->title(), "Raw Matherials");
  EXPECT_EQ(Group("StackingGroupBox2")->title(), "Stacking Purpose (Product)");
  EXPECT_EQ(Group("StackingGroupBox1")->title(), "Product Characteristics");
  EXPECT_EQ(Group("StackingGroupBox3")->title(), "Results (Raw Matherials)");
  EXPECT_TRUE(Group("StackingGroupBox1")->isHidden());
  EXPECT_TRUE(Group("StackingGroupBox3")->isHidden());
  QStringList a, b;
  for (int i = 0; i < Combo("ComboBox1")->count(); ++i) a << Combo("ComboBox1")->itemText(i);
  for (int i = 0; i < Combo("ComboBox2")->count(); ++i) b << Combo("ComboBox2")->itemText(i);
  EXPECT_EQ(a, QStringList({"Al2O3", "Al(NO3)3*9H2O", "Al(OH)3", "Al2(SO4)3",
                            "Al2(SO4)3*(NH4)2SO4*24H2O", "AlO(OH)"}));
  EXPECT_EQ(b, QStringList({"SiO2", "H2SiO3", "SiCl4"}));
  // The calculation knows every compound the lists offer, in the same order.
  for (int i = 0; i < a.size(); ++i) EXPECT_EQ(StartingCompoundsA().at(i).Name, a[i]);
  for (int i = 0; i < b.size(); ++i) EXPECT_EQ(StartingCompoundsB().at(i).Name, b[i]);
  for (const char* c : {"ComboBox1", "ComboBox2"}) {
    EXPECT_FALSE(Combo(c)->isEnabled());
    EXPECT_FALSE(Combo(c)->isEditable());
    EXPECT_EQ(Combo(c)->currentIndex(), 0);
  }
  auto* spin = Find<TSpinEdit>("SpinEdit1");
  EXPECT_EQ(spin->Value(), 1);
  EXPECT_EQ(spin->MaxValue(), 1000);
  EXPECT_EQ(Label("StackingUnits")->text(), "kg");
}

TEST_F(MainFormTest, MarkingAPointGivesTheRecipe) {
  // Mullite: 28 % SiO2 in the diagram, 72 % Al2O3 in the batch.
  Mark(28);
  MouseMoveOverDiagram();
  EXPECT_FALSE(Group("StackingGroupBox3")->isHidden());
  EXPECT_TRUE(Group("StackingGroupBox1")->isHidden());
  EXPECT_TRUE(Combo("ComboBox1")->isEnabled());
  EXPECT_TRUE(Combo("ComboBox2")->isEnabled());
  EXPECT_EQ(Results(), "A: 0.720 kg | B: 0.280 kg");

  Mark(50);
  EXPECT_EQ(Results(), "A: 0.500 kg | B: 0.500 kg");
  Combo("ComboBox2")->setCurrentIndex(1);  // "H2SiO3"
  Find<TSpinEdit>("SpinEdit1")->SetValue(10);
  EXPECT_EQ(Results(), "A: 4.348 kg | B: 5.652 kg");
  Combo("ComboBox1")->setCurrentIndex(1);  // "Al(NO3)3*9H2O"
  Combo("ComboBox2")->setCurrentIndex(0);
  Find<TSpinEdit>("SpinEdit1")->SetValue(1);
  EXPECT_EQ(Results(), "A: 0.880 kg | B: 0.120 kg");

  // The same mole percent: two moles of nitrate per mole of alumina.
  Choose("RadioGroup1", 0);
  g->MarkedPoint().A = 50;
  form->StackingMain();
  EXPECT_EQ(Results(), "A: 0.667 mole | B: 0.333 mole");

  // Parts give the amounts of percent.
  Choose("RadioGroup1", 3);
  Combo("ComboBox1")->setCurrentIndex(2);  // "Al(OH)3"
  Combo("ComboBox2")->setCurrentIndex(2);  // "SiCl4"
  Find<TSpinEdit>("SpinEdit1")->SetValue(100);
  Mark(0.28);
  EXPECT_EQ(Results(), "A: 58.184 kg | B: 41.816 kg");
  Choose("RadioGroup1", 2);
  Mark(72);
  EXPECT_EQ(Results(), "A: 17.385 kg | B: 82.615 kg");
}

TEST_F(MainFormTest, MarkFillsThePhaseLabels) {
  TFullDataPoint& p = g->MarkedPoint();
  p.PhaseName = "Mullite ss + Liquid";
  p.Phase1Name = "Mullite ss";
  p.Phase2Name = "Liquid";
  p.Phase1Value = 25.5;
  p.Phase2Value = 60.125;
  p.Phase1Ratio = 0.375;
  p.Phase2Ratio = 66.667;
  Mark(40, 2);
  EXPECT_EQ(Label("Label10")->text(), "Mullite ss + Liquid");
  EXPECT_EQ(Label("Label4")->text(), "Mullite ss: 25.50");
  EXPECT_EQ(Label("Label5")->text(), "Liquid: 60.12");  // an exact half goes to even
  EXPECT_EQ(Label("Label7")->text(), "Mullite ss: 0.38");
  EXPECT_EQ(Label("Label8")->text(), "Liquid: 66.67");
  EXPECT_TRUE(Group("StackingGroupBox1")->isHidden());

  p.PhaseName = "Liquid";
  Mark(40, 0);
  EXPECT_EQ(Label("Label10")->text(), "Liquid");
  for (const char* l : {"Label4", "Label5", "Label7", "Label8"})
    EXPECT_EQ(Label(l)->text(), "No Co-existing Phases..") << l;
}

TEST_F(MainFormTest, ClearedMarkLocksThePageAgain) {
  Mark(28);
  MouseMoveOverDiagram();
  Combo("ComboBox1")->setCurrentIndex(3);
  Combo("ComboBox2")->setCurrentIndex(2);
  const QString before = Results();
  Click("CheckBox6");  // "Mark Points" off clears the mark
  ASSERT_FALSE(g->MarkedPoint().Visible);
  MouseMoveOverDiagram();
  EXPECT_EQ(Combo("ComboBox1")->currentText(), "Al2O3");
  EXPECT_EQ(Combo("ComboBox2")->currentText(), "SiO2");
  EXPECT_FALSE(Combo("ComboBox1")->isEnabled());
  EXPECT_FALSE(Combo("ComboBox2")->isEnabled());
  EXPECT_TRUE(Group("StackingGroupBox3")->isHidden());
  // The reset runs no calculation...
  EXPECT_EQ(Results(), before);
  // ...but a change of the amount does, hidden or not.
  Find<TSpinEdit>("SpinEdit1")->SetValue(2);
  EXPECT_NE(Results(), before);
}

TEST_F(MainFormTest, AmountTextThatIsNoNumberCountsAsOne) {
  Mark(28);
  Find<TSpinEdit>("SpinEdit1")->SetValue(10);
  EXPECT_EQ(Results(), "A: 7.200 kg | B: 2.800 kg");
  Find<TSpinEdit>("SpinEdit1")->SetText("ten");
  EXPECT_EQ(Results(), "A: 0.720 kg | B: 0.280 kg");
}

TEST_F(MainFormTest, UndefinedBatchShowsNoNumbers) {
  Mark(50);
  Combo("ComboBox1")->setCurrentIndex(2);
  g->SubstanceA()->MolMass = 0;  // a host's faulty substance
  form->StackingMain();
  EXPECT_EQ(Results(), "A: - | B: -");
  g->SubstanceA()->MolMass = 101.9613f;
  g->MarkedPoint().A = std::numeric_limits<double>::quiet_NaN();
  form->StackingMain();
  EXPECT_EQ(Results(), "A: - | B: -");
  EXPECT_FALSE(Results().contains("nan") || Results().contains("inf"));
}

TEST_F(MainFormTest, InversedAxisGivesNoRecipeForTheLists) {
  Mark(28);
  Choose("RadioGroup4", 1);  // the diagram's A is now SiO2
  ASSERT_EQ(g->SubstanceA()->Name(), "SiO2");
  form->StackingMain();
  EXPECT_EQ(Results(), "A: - | B: -");
  Choose("RadioGroup4", 0);
  form->StackingMain();
  EXPECT_EQ(Results(), "A: 0.720 kg | B: 0.280 kg");
}

TEST_F(MainFormTest, NumbersUseTheUsersDecimalSeparator) {
  QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
  Mark(28);
  EXPECT_EQ(Results(), "A: 0,720 kg | B: 0,280 kg");
  QLocale::setDefault(QLocale::c());
}

}  // namespace
