#include "app/main_form.h"

#include <QApplication>
#include <QBoxLayout>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSignalBlocker>
#include <QTabBar>
#include <QToolButton>
#include <cmath>

#include "app/document_windows.h"
#include "app/picture_output.h"
#include "app/sample_system.h"
#include "app/splash_form.h"
#include "app/stacking.h"
#include "app/version_resource.h"
#include "ui_main_form.h"
#include "widgets/version_info.h"

using namespace binary;

namespace {

void SetFont(QWidget* w, const char* Family, int PixelHeight, QColor Color = QColor()) {
  QFont f(Family);
  f.setPixelSize(PixelHeight);
  w->setFont(f);
  if (Color.isValid()) {
    QPalette p = w->palette();
    p.setColor(QPalette::WindowText, Color);
    w->setPalette(p);
  }
}

QColor FromTColor(TColor c) { return QColor(GetRValue(c), GetGValue(c), GetBValue(c)); }

// "%.*f" as the diagram writes it (user's decimal separator, no grouping,
// halves to even); "-" where there is no number, and no "-0.000" for a
// value that rounds to zero.
QString Fixed(double v, int Decimals) {
  if (!std::isfinite(v)) return "-";
  QString s = FormatFixed(v, Decimals);
  if (s.startsWith('-') && !s.contains(QRegularExpression("[1-9]"))) s.remove(0, 1);
  return s;
}

}  // namespace

TMainForm::TMainForm(QWidget* AOwner) : QWidget(AOwner), ui_(std::make_unique<Ui::MainForm>()) {
  InitVersionResource();
  // The stored layout.
  ui_->setupUi(this);
  setObjectName("MainForm");
  SetFont(this, "Arial", 13, Qt::black);
  QPalette pal = palette();
  pal.setColor(QPalette::Window, FromTColor(clBtnFace));
  setPalette(pal);
  setAutoFillBackground(true);
  SetFont(ui_->PageControl, "MS Sans Serif", 9);
  // Narrow tabs so that all three fit the column, as the page control's
  // rows of tabs do.
  ui_->PageControl->tabBar()->setStyleSheet(
      "QTabBar::tab { padding: 2px 5px; border: 1px solid #a0a0a0; border-bottom: none;"
      " background: #e4e4e4; } QTabBar::tab:selected { background: #ffffff; }");
  SetFont(ui_->RadioGroup1, "MS Sans Serif", 11);
  for (QCheckBox* c : ui_->GroupBox2->findChildren<QCheckBox*>()) SetFont(c, "MS Sans Serif", 11);
  for (QLabel* l : {ui_->Label10, ui_->Label4, ui_->Label5, ui_->Label7, ui_->Label8})
    SetFont(l, "MS Sans Serif", 8, FromTColor(clBlue));
  for (QLabel* l : {ui_->Label14, ui_->Label15}) SetFont(l, "MS Sans Serif", 9, FromTColor(clGreen));
  for (QGroupBox* g : {ui_->RadioGroup4, ui_->RadioGroup1, ui_->RadioGroup5, ui_->RadioGroup2,
                       ui_->RadioGroup3})
    MakeRadioGroup(g);
  // The frames' bevels and borders, 7 pixels in all around the diagram.
  ui_->Panel2->setContentsMargins(5, 5, 5, 5);
  const std::pair<QToolButton*, TGlyph> glyphs[] = {
      {ui_->SpeedButton1, glPrint}, {ui_->SpeedButton2, glSave}, {ui_->HelpSpeedButton, glHelp},
      {ui_->SpeedButton3, glInfo},  {ui_->SpeedButton4, glAbout}, {ui_->SpeedButton5, glTernary}};
  for (const auto& [button, glyph] : glyphs) button->setIcon(Glyph(glyph));

  // The stored properties of Binagram1, in their order.
  TBinagram* g = ui_->Binagram1;
  g->SetAlign(alClient);
  ApplySampleProperties(*g);
  g->SetOnMarkPoint([this](QObject* Sender) { Binagram1MarkPoint(Sender); });
  g->SetOnZoomIn([this](QObject* Sender) { Binagram1ZoomIn(Sender); });
  g->SetOnZoomOut([this](QObject* Sender) { Binagram1ZoomOut(Sender); });
  g->SetOnMouseMove([this](QObject* Sender, TShiftState Shift, int X, int Y) {
    Binagram1MouseMove(Sender, Shift, X, Y);
  });

  FormCreate();
  ConnectControls();
  // Made here rather than in the stored layout, in a second tool-bar row
  // under Panel5 (which keeps its five buttons), 194 pixels wide inside the
  // option column's border.
  auto* strip = new QWidget(ui_->Panel1);
  strip->setObjectName("DocumentStrip");
  strip->setFixedHeight(24);
  if (auto* column = qobject_cast<QBoxLayout*>(ui_->Panel5->parentWidget()->layout()))
    column->insertWidget(column->indexOf(ui_->Panel5) + 1, strip);
  AddDocumentButtons(strip, 194, this, [this] { OpenSpeedButtonClick(); },
                     [this] { SaveAsSpeedButtonClick(); });
  AddOutputButtons(strip, 194, this, g);
  CreateMenus();
  ReceiveDocuments();
}

TMainForm::~TMainForm() {
  // The diagram may outlive the handlers' captures by a moment while the
  // children are destroyed.
  TBinagram* g = ui_->Binagram1;
  g->SetOnMarkPoint(nullptr);
  g->SetOnZoomIn(nullptr);
  g->SetOnZoomOut(nullptr);
  g->SetOnMouseMove(nullptr);
}

TBinagram* TMainForm::Binagram1() const { return ui_->Binagram1; }

void TMainForm::ConnectControls() {
  const std::pair<QGroupBox*, void (TMainForm::*)()> groups[] = {
      {ui_->RadioGroup4, &TMainForm::RadioGroup4Click}, {ui_->RadioGroup1, &TMainForm::RadioGroup1Click},
      {ui_->RadioGroup5, &TMainForm::RadioGroup5Click}, {ui_->RadioGroup2, &TMainForm::RadioGroup2Click},
      {ui_->RadioGroup3, &TMainForm::RadioGroup3Click}};
  for (const auto& [group, handler] : groups)
    connect(RadioGroupItems(group), &QButtonGroup::idToggled, this, [this, handler = handler](int, bool on) {
      if (on) (this->*handler)();  // the newly chosen item, not the one let go
    });
  const std::pair<QCheckBox*, void (TMainForm::*)()> checks[] = {
      {ui_->CheckBox1, &TMainForm::CheckBox1Click}, {ui_->CheckBox2, &TMainForm::CheckBox2Click},
      {ui_->CheckBox4, &TMainForm::CheckBox4Click}, {ui_->CheckBox3, &TMainForm::CheckBox3Click},
      {ui_->CheckBox5, &TMainForm::CheckBox5Click}, {ui_->CheckBox6, &TMainForm::CheckBox6Click}};
  for (const auto& [box, handler] : checks) connect(box, &QCheckBox::toggled, this, handler);

  // The tool buttons show the actions of the menus (app/window_menus.cpp).

  connect(ui_->ComboBox1, &QComboBox::currentIndexChanged, this, &TMainForm::ComboBox1Change);
  connect(ui_->ComboBox2, &QComboBox::currentIndexChanged, this, &TMainForm::ComboBox2Change);
  ui_->SpinEdit1->SetOnChange([this](QObject*) { SpinEdit1Change(); });
}

void TMainForm::FormCreate() {
  // The caption is the program's description and file version, as the
  // splash window shows them (read the same way when there is none).
  QString caption;
  if (SplashForm) {
    caption = SplashForm->Caption();
  } else {
    const TVersionInfo version;
    caption = version.FileDescription() + " version " + version.FileVersion();
  }
  setWindowTitle(caption);
  QApplication::setApplicationDisplayName(caption);
  ui_->PageControl->setCurrentWidget(ui_->Diagram);
  ui_->ComboBox1->setCurrentIndex(0);
  ui_->ComboBox2->setCurrentIndex(0);
  designWidth_ = width();
  designHeight_ = height();
  sampleCurves_ = ::SampleCurves();
  FillSampleSystem(*ui_->Binagram1, sampleCurves_);
}

void TMainForm::FormActivate() { ui_->Binagram1->Invalidate(); }

void TMainForm::FormResize() {
  // Sizes with the window frame, as the design size counts it: a maximized
  // window on an 800x600 screen still shows the option column.
  const QSize size = frameGeometry().size();
  const bool large = size.height() >= designHeight_ && size.width() >= designWidth_;
  ui_->Panel1->setVisible(large);
}

void TMainForm::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  FormResize();
}

void TMainForm::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() == QEvent::ActivationChange && isActiveWindow()) FormActivate();
}

// --- Option pages --------------------------------------------------------

void TMainForm::RadioGroup4Click() {
  ui_->Binagram1->SetDataOrientation(RadioGroupItemIndex(ui_->RadioGroup4) == 0 ? doDirect
                                                                                 : doInversed);
}

void TMainForm::RadioGroup1Click() {
  const int i = RadioGroupItemIndex(ui_->RadioGroup1);
  if (i >= 0 && i <= 3) {
    ui_->Binagram1->SetCUnits(TCUnits(i));
    ui_->StackingUnits->setText(i <= 1 ? "mole" : "kg");
  }
  StackingMain();
}

void TMainForm::RadioGroup5Click() {
  // The items read C, F, K; the units run tuC, tuK, tuF.
  static constexpr TTUnits units[] = {tuC, tuF, tuK};
  const int i = RadioGroupItemIndex(ui_->RadioGroup5);
  if (i >= 0 && i <= 2) ui_->Binagram1->SetTUnits(units[i]);
}

void TMainForm::CheckBox1Click() { ui_->Binagram1->SetLegend(ui_->CheckBox1->isChecked()); }
void TMainForm::CheckBox2Click() { ui_->Binagram1->SetValuesTable(ui_->CheckBox2->isChecked()); }
void TMainForm::CheckBox4Click() { ui_->Binagram1->SetCoPhasesTable(ui_->CheckBox4->isChecked()); }
void TMainForm::CheckBox3Click() { ui_->Binagram1->SetMouseGrid(ui_->CheckBox3->isChecked()); }
void TMainForm::CheckBox5Click() {
  ui_->Binagram1->SetGridType(ui_->CheckBox5->isChecked() ? gtOverAllScale : gtOutsideScale);
}
void TMainForm::CheckBox6Click() { ui_->Binagram1->SetMarkMode(ui_->CheckBox6->isChecked()); }

void TMainForm::RadioGroup2Click() {
  static constexpr int steps[] = {25, 50, 100};
  const int i = RadioGroupItemIndex(ui_->RadioGroup2);
  if (i >= 0 && i <= 2) ui_->Binagram1->SetTAxisStep(steps[i]);
}

void TMainForm::RadioGroup3Click() {
  static constexpr int steps[] = {2, 5, 10};
  const int i = RadioGroupItemIndex(ui_->RadioGroup3);
  if (i >= 0 && i <= 2) ui_->Binagram1->SetCAxisStep(steps[i]);
}

// --- Binagram1's events --------------------------------------------------

// Units and orientation cannot change while the diagram is zoomed.
void TMainForm::Binagram1ZoomIn(QObject*) {
  for (QGroupBox* g : {ui_->RadioGroup1, ui_->RadioGroup5, ui_->RadioGroup4}) g->setEnabled(false);
}

void TMainForm::Binagram1ZoomOut(QObject*) {
  for (QGroupBox* g : {ui_->RadioGroup1, ui_->RadioGroup5, ui_->RadioGroup4}) g->setEnabled(true);
}

void TMainForm::Binagram1MarkPoint(QObject*) {
  const TFullDataPoint& p = ui_->Binagram1->MarkedPoint();
  ui_->Label10->setText(p.PhaseName);
  if (p.CoPhases <= 0) {
    for (QLabel* l : {ui_->Label4, ui_->Label5, ui_->Label7, ui_->Label8})
      l->setText("No Co-existing Phases..");
  } else {
    ui_->Label4->setText(p.Phase1Name + ": " + Fixed(p.Phase1Value, 2));
    ui_->Label5->setText(p.Phase2Name + ": " + Fixed(p.Phase2Value, 2));
    ui_->Label7->setText(p.Phase1Name + ": " + Fixed(p.Phase1Ratio, 2));
    ui_->Label8->setText(p.Phase2Name + ": " + Fixed(p.Phase2Ratio, 2));
  }
  StackingMain();
}

void TMainForm::Binagram1MouseMove(QObject*, TShiftState, int, int) {
  if (ui_->Binagram1->MarkedPoint().Visible) {
    ui_->ComboBox1->setEnabled(true);
    ui_->ComboBox2->setEnabled(true);
    ui_->StackingGroupBox3->show();
  } else {
    LockCalculator();
  }
}

void TMainForm::LockCalculator() {
  for (QComboBox* c : {ui_->ComboBox1, ui_->ComboBox2}) {
    const QSignalBlocker quiet(c);
    c->setCurrentIndex(0);
    c->setEnabled(false);
  }
  ui_->StackingGroupBox1->hide();
  ui_->StackingGroupBox3->hide();
}

// --- Batch calculator ----------------------------------------------------

void TMainForm::ComboBox1Change() { StackingMain(); }
void TMainForm::ComboBox2Change() { StackingMain(); }
void TMainForm::SpinEdit1Change() { StackingMain(); }

void TMainForm::StackingMain() {
  const TBinagram* g = ui_->Binagram1;
  const QString nameA = ui_->ComboBox1->currentText();
  const QString nameB = ui_->ComboBox2->currentText();
  TStackingInput in;
  in.X = g->MarkedPoint().A;
  in.S = g->CompositionScale();
  in.M = ui_->SpinEdit1->Value();
  in.MoleUnits = g->CUnits() == cuMolPercents || g->CUnits() == cuMolParts;
  in.PureSubstances = nameA == g->SubstanceA()->Name() && nameB == g->SubstanceB()->Name();
  in.AtomsA = g->SubstanceA()->ElementAtoms;
  in.AtomsB = g->SubstanceB()->ElementAtoms;
  in.MolMassA = g->SubstanceA()->MolMass;
  in.MolMassB = g->SubstanceB()->MolMass;
  // An unknown compound keeps zero atoms, which the calculation refuses.
  if (const TStartingCompound* c = FindStartingCompound(StartingCompoundsA(), nameA)) in.CompoundA = *c;
  if (const TStartingCompound* c = FindStartingCompound(StartingCompoundsB(), nameB)) in.CompoundB = *c;

  // The lists hold aluminium compounds for A and silicon compounds for B.
  // With the axis inversed the diagram's A is SiO2 (only names and molar
  // masses change sides), so there is no sound recipe to show; nor for an
  // opened system of other elements, unless its own substances are chosen.
  const bool listsFit = in.PureSubstances || (g->SubstanceA()->Element == StartingElementA &&
                                              g->SubstanceB()->Element == StartingElementB);
  const TStackingResult r =
      g->DataOrientation() == doDirect && listsFit ? CalculateStacking(in) : TStackingResult{};
  const QString unit = ui_->StackingUnits->text();
  if (r.Defined) {
    ui_->Label14->setText("A: " + Fixed(r.QA, 3) + " " + unit);
    ui_->Label15->setText("B: " + Fixed(r.QB, 3) + " " + unit);
  } else {
    ui_->Label14->setText("A: -");
    ui_->Label15->setText("B: -");
  }
}
