#include "app/ternary_form.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QPrinter>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTabBar>
#include <QTimer>
#include <QToolButton>
#include <algorithm>
#include <cmath>

#include "app/document.h"
#include "app/document_windows.h"
#include "app/picture_output.h"
#include "app/ternary_sample.h"
#include "app/window_kit.h"
#include "app/window_menus.h"
#include "ui_ternary_form.h"
#include "widgets/spin_edit.h"

using namespace ternary;

TTernaryForm* TernaryForm = nullptr;

namespace {

QColor FromTColor(TColor c) { return QColor(GetRValue(c), GetGValue(c), GetBValue(c)); }
TColor ToTColor(const QColor& c) { return RGB(c.red(), c.green(), c.blue()); }

void SetPixelFont(QWidget* w, const char* Family, int PixelHeight) {
  QFont f(QString::fromLatin1(Family));
  f.setPixelSize(PixelHeight);
  w->setFont(f);
}

// The corner orders of the orientations, as indexes of the substances of
// the direct orientation.
constexpr int CornerOrder[6][3] = {{0, 1, 2}, {0, 2, 1}, {1, 0, 2}, {1, 2, 0}, {2, 0, 1}, {2, 1, 0}};

// The temperature unit items read C, F, K; the units run tuC, tuK, tuF.
constexpr TTUnits TUnitItems[] = {tuC, tuF, tuK};
// The temperature methods offered, in the order of their buttons. The
// thermodynamic estimate has no model behind it and is not offered.
constexpr TTCalcMethod TCalcMethodItems[] = {tcAltitude, tcPolynomial, tcTriangulation};

// A swatch of the hot isotherm's colour for its button.
QIcon Swatch(TColor c) {
  QPixmap pm(24, 12);
  pm.fill(FromTColor(c));
  QPainter p(&pm);
  p.setPen(Qt::black);
  p.drawRect(0, 0, 23, 11);
  return QIcon(pm);
}

// How often the end of an isotherm computation is looked for.
constexpr int ProgressPollMs = 20;

}  // namespace

TTernaryForm::TTernaryForm(QWidget* AOwner)
    : QWidget(AOwner, Qt::Window), ui_(std::make_unique<Ui::TernaryForm>()) {
  ui_->setupUi(this);
  setObjectName(QStringLiteral("TernaryForm"));
  TernaryForm = this;
  // Closing the main window ends the program even while this one is open.
  setAttribute(Qt::WA_QuitOnClose, false);
  SetPixelFont(this, "Arial", 13);
  QPalette pal = palette();
  pal.setColor(QPalette::Window, FromTColor(clBtnFace));
  pal.setColor(QPalette::WindowText, Qt::black);
  setPalette(pal);
  setAutoFillBackground(true);
  SetPixelFont(ui_->PageControl, "MS Sans Serif", 9);
  ui_->PageControl->tabBar()->setStyleSheet(
      "QTabBar::tab { padding: 2px 5px; border: 1px solid #a0a0a0; border-bottom: none;"
      " background: #e4e4e4; } QTabBar::tab:selected { background: #ffffff; }");
  for (QWidget* page : {ui_->Diagram, ui_->Presentation, ui_->Isotherms}) SetPixelFont(page, "MS Sans Serif", 11);
  for (QGroupBox* g : {ui_->OrientationGroup, ui_->CUnitsGroup, ui_->TUnitsGroup, ui_->GridTypeGroup,
                       ui_->TCalcMethodGroup, ui_->LineTypeGroup})
    MakeRadioGroup(g);
  ui_->Panel2->setContentsMargins(5, 5, 5, 5);
  ui_->PrintSpeedButton->setIcon(Glyph(glPrint));
  ui_->SaveSpeedButton->setIcon(Glyph(glSave));
  ui_->ProgressBar1->hide();

  progressTimer_ = new QTimer(this);
  progressTimer_->setInterval(ProgressPollMs);
  connect(progressTimer_, &QTimer::timeout, this, [this] {
    // The computation runs inside a paint of the diagram; once the paint is
    // over (and no picture for print or file is being made) it has ended.
    if (!outputRunning_ && Ternagram1()->Painted()) EndProgress();
  });

  TTernagram* g = ui_->Ternagram1;
  g->SetAlign(alClient);
  g->SetBorder(false);
  g->SetPaperColor(clBtnFace);
  g->SetOnZoomIn([this](QObject* Sender) { Ternagram1ZoomIn(Sender); });
  g->SetOnZoomOut([this](QObject* Sender) { Ternagram1ZoomOut(Sender); });
  g->SetOnIsothermCalcStep([this](QObject* Sender) { Ternagram1IsothermCalcStep(Sender); });

  FormCreate();
  ConnectControls();
  // Open and Save As after the two buttons of the stored layout, in the
  // same row (186 pixels wide inside the option column's border).
  AddDocumentButtons(ui_->Panel5, 186, this, [this] { OpenSpeedButtonClick(); },
                     [this] { SaveAsSpeedButtonClick(); });
  AddOutputButtons(ui_->Panel5, 186, this, g);
  CreateMenus();
  ShowDocumentsIn(TDiagramKind::Ternary, this, [this](const TDiagramDocument& d) {
    ShowDocument(d.Ternary);
    ShowWindow();
  });
}

TTernaryForm::~TTernaryForm() {
  EndProgress();
  TTernagram* g = ui_->Ternagram1;
  g->SetOnZoomIn(nullptr);
  g->SetOnZoomOut(nullptr);
  g->SetOnIsothermCalcStep(nullptr);
  if (TernaryForm == this) TernaryForm = nullptr;
}

TTernagram* TTernaryForm::Ternagram1() const { return ui_->Ternagram1; }

void TTernaryForm::FormCreate() {
  ui_->PageControl->setCurrentWidget(ui_->Diagram);
  designWidth_ = width();
  designHeight_ = height();
  TTernagram* g = ui_->Ternagram1;
  LoadTernarySample(*g);
  ShowSubstanceNames();
  ShowProperties();
}

void TTernaryForm::ShowSubstanceNames() {
  // The substances of the loaded system (unzoomed: while zoomed the
  // corners carry the window's compositions) in the order of the corners
  // A, B, C of each orientation.
  // The corners show the substances in the current orientation; the
  // captions name them as each orientation would place them, so the
  // substances of the direct orientation are found first.
  const TTernagram* g = ui_->Ternagram1;
  const QString corners[] = {g->SubstanceA()->Name(), g->SubstanceB()->Name(), g->SubstanceC()->Name()};
  const int* now = CornerOrder[std::clamp(int(g->DataOrientation()), 0, 5)];
  QString names[3];
  for (int p = 0; p < 3; ++p) names[now[p]] = corners[p];
  const QButtonGroup* orientations = RadioGroupItems(ui_->OrientationGroup);
  for (int o = 0; o < 6; ++o)
    orientations->button(o)->setText(names[CornerOrder[o][0]] + '-' + names[CornerOrder[o][1]] + '-' +
                                     names[CornerOrder[o][2]]);
}

void TTernaryForm::ShowWindow() {
  if (!shownBefore_) {
    shownBefore_ = true;
    resize(designWidth_, designHeight_);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
      move(screen->availableGeometry().center() - rect().center());
  }
  if (isMinimized()) showNormal();
  show();
  raise();
  activateWindow();
}

void TTernaryForm::FormResize() {
  // As in the main window: below the design size the diagram takes the
  // whole window.
  const QSize size = frameGeometry().size();
  ui_->Panel1->setVisible(size.height() >= designHeight_ && size.width() >= designWidth_);
}

void TTernaryForm::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  FormResize();
}

void TTernaryForm::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() == QEvent::ActivationChange && isActiveWindow()) ui_->Ternagram1->Invalidate();
}

// --- Option pages ----------------------------------------------------------------

void TTernaryForm::ConnectControls() {
  const std::pair<QGroupBox*, void (TTernaryForm::*)()> groups[] = {
      {ui_->OrientationGroup, &TTernaryForm::OrientationGroupClick},
      {ui_->CUnitsGroup, &TTernaryForm::CUnitsGroupClick},
      {ui_->TUnitsGroup, &TTernaryForm::TUnitsGroupClick},
      {ui_->GridTypeGroup, &TTernaryForm::GridTypeGroupClick},
      {ui_->TCalcMethodGroup, &TTernaryForm::TCalcMethodGroupClick},
      {ui_->LineTypeGroup, &TTernaryForm::LineTypeGroupClick}};
  for (const auto& [group, handler] : groups)
    connect(RadioGroupItems(group), &QButtonGroup::idToggled, this, [this, handler = handler](int, bool on) {
      if (on && !syncing_) (this->*handler)();  // the newly chosen item, not the one let go
    });

  for (QCheckBox* c : {ui_->LegendCheckBox, ui_->ValuesTableCheckBox, ui_->CoPhasesCheckBox,
                       ui_->MouseGridCheckBox, ui_->MarkPointsCheckBox, ui_->DrawIsothermsCheckBox,
                       ui_->CrystallizationCheckBox})
    connect(c, &QCheckBox::toggled, this, [this] {
      if (!syncing_) ControlsChange();
    });
  ui_->GridStepsSpinEdit->SetOnChange([this](QObject*) {
    if (!syncing_) ControlsChange();
  });

  for (QCheckBox* c : {ui_->SmoothedCheckBox, ui_->SimplifiedCheckBox, ui_->SignedCheckBox})
    connect(c, &QCheckBox::toggled, this, [this] {
      if (!syncing_) IsothermSettingsChange();
    });
  for (TSpinEdit* s : {ui_->IsothermStepSpinEdit, ui_->ErrorSpinEdit, ui_->SmoothedTimesSpinEdit,
                       ui_->SimplifiedTimesSpinEdit, ui_->SignStepSpinEdit, ui_->HotIsothermSpinEdit}) {
    s->SetOnChange([this](QObject*) {
      if (!syncing_) IsothermSettingsChange();
    });
    // A value the diagram brought into its range shows as stored once the
    // user leaves the edit.
    connect(s, &QSpinBox::editingFinished, this, &TTernaryForm::ShowProperties);
  }
  connect(ui_->MethodStepSpinBox, &QDoubleSpinBox::valueChanged, this, [this] {
    if (!syncing_) IsothermSettingsChange();
  });
  connect(ui_->MethodStepSpinBox, &QDoubleSpinBox::editingFinished, this, &TTernaryForm::ShowProperties);
  connect(ui_->HotIsothermColorButton, &QPushButton::clicked, this, &TTernaryForm::HotIsothermColorButtonClick);

  // The tool buttons show the actions of the menus (app/window_menus.cpp).
}

void TTernaryForm::ShowProperties() {
  const TTernagram* g = ui_->Ternagram1;
  const TIsotherm& iso = *g->Isotherms();
  syncing_ = true;
  SetRadioGroupItemIndex(ui_->OrientationGroup, g->DataOrientation());
  SetRadioGroupItemIndex(ui_->CUnitsGroup, g->CUnits());
  SetRadioGroupItemIndex(ui_->TUnitsGroup, int(std::find(std::begin(TUnitItems), std::end(TUnitItems), g->TUnits()) -
                                               std::begin(TUnitItems)));
  SetRadioGroupItemIndex(ui_->GridTypeGroup, g->GridType());
  const auto* method = std::find(std::begin(TCalcMethodItems), std::end(TCalcMethodItems), g->TCalcMethod());
  SetRadioGroupItemIndex(ui_->TCalcMethodGroup,
                         method == std::end(TCalcMethodItems) ? 0 : int(method - std::begin(TCalcMethodItems)));
  SetRadioGroupItemIndex(ui_->LineTypeGroup, iso.GraphType());
  ui_->LegendCheckBox->setChecked(g->Legend());
  ui_->ValuesTableCheckBox->setChecked(g->ValuesTable());
  ui_->CoPhasesCheckBox->setChecked(g->CoPhasesTable());
  ui_->MouseGridCheckBox->setChecked(g->MouseGrid());
  ui_->MarkPointsCheckBox->setChecked(g->MarkMode());
  ui_->DrawIsothermsCheckBox->setChecked(g->DrawIsotherms());
  ui_->CrystallizationCheckBox->setChecked(g->DrawCrystallization());
  ui_->GridStepsSpinEdit->SetValue(g->GridSteps());
  ui_->IsothermStepSpinEdit->SetValue(iso.Step());
  ui_->ErrorSpinEdit->SetValue(iso.Error());
  ui_->MethodStepSpinBox->setValue(iso.MethodStep());
  ui_->SmoothedCheckBox->setChecked(iso.Smoothed());
  ui_->SmoothedTimesSpinEdit->SetValue(iso.SmoothedTimes());
  ui_->SimplifiedCheckBox->setChecked(iso.Simplified());
  ui_->SimplifiedTimesSpinEdit->SetValue(iso.SimplifiedTimes());
  ui_->SignedCheckBox->setChecked(iso.Signed());
  ui_->SignStepSpinEdit->SetValue(iso.SignStep());
  ui_->HotIsothermSpinEdit->SetValue(g->HotIsotherm());
  ui_->HotIsothermColorButton->setIcon(Swatch(g->HotIsothermColor()));
  syncing_ = false;
}

void TTernaryForm::OrientationGroupClick() {
  const int i = RadioGroupItemIndex(ui_->OrientationGroup);
  if (i >= 0 && i <= doCBA) ui_->Ternagram1->SetDataOrientation(TDataOrientation(i));
}

void TTernaryForm::CUnitsGroupClick() {
  const int i = RadioGroupItemIndex(ui_->CUnitsGroup);
  if (i >= 0 && i <= cuMassParts) ui_->Ternagram1->SetCUnits(TCUnits(i));
}

void TTernaryForm::TUnitsGroupClick() {
  const int i = RadioGroupItemIndex(ui_->TUnitsGroup);
  if (i >= 0 && i <= 2) ui_->Ternagram1->SetTUnits(TUnitItems[i]);
}

void TTernaryForm::GridTypeGroupClick() {
  const int i = RadioGroupItemIndex(ui_->GridTypeGroup);
  if (i >= 0 && i <= gtAllScales) ui_->Ternagram1->SetGridType(TGridType(i));
}

void TTernaryForm::TCalcMethodGroupClick() {
  const int i = RadioGroupItemIndex(ui_->TCalcMethodGroup);
  if (i >= 0 && i < int(std::size(TCalcMethodItems))) ui_->Ternagram1->SetTCalcMethod(TCalcMethodItems[i]);
}

void TTernaryForm::LineTypeGroupClick() {
  const int i = RadioGroupItemIndex(ui_->LineTypeGroup);
  if (i >= 0 && i <= itSpline) ui_->Ternagram1->Isotherms()->SetGraphType(TIsothermType(i));
}

void TTernaryForm::ControlsChange() {
  TTernagram* g = ui_->Ternagram1;
  g->SetLegend(ui_->LegendCheckBox->isChecked());
  g->SetValuesTable(ui_->ValuesTableCheckBox->isChecked());
  g->SetCoPhasesTable(ui_->CoPhasesCheckBox->isChecked());
  g->SetMouseGrid(ui_->MouseGridCheckBox->isChecked());
  g->SetMarkMode(ui_->MarkPointsCheckBox->isChecked());
  g->SetDrawIsotherms(ui_->DrawIsothermsCheckBox->isChecked());
  g->SetDrawCrystallization(ui_->CrystallizationCheckBox->isChecked());
  g->SetGridSteps(ui_->GridStepsSpinEdit->Value());
}

void TTernaryForm::IsothermSettingsChange() {
  // Every setter ignores an unchanged value, so only the setting the user
  // touched takes effect, and only those that decide the isotherms start a
  // new computation. A value the setter brings into range shows once the
  // user leaves the edit (ShowProperties).
  TTernagram* g = ui_->Ternagram1;
  TIsotherm& iso = *g->Isotherms();
  iso.SetStep(ui_->IsothermStepSpinEdit->Value());
  iso.SetError(ui_->ErrorSpinEdit->Value());
  iso.SetMethodStep(float(ui_->MethodStepSpinBox->value()));
  iso.SetSmoothed(ui_->SmoothedCheckBox->isChecked());
  iso.SetSmoothedTimes(ui_->SmoothedTimesSpinEdit->Value());
  iso.SetSimplified(ui_->SimplifiedCheckBox->isChecked());
  iso.SetSimplifiedTimes(ui_->SimplifiedTimesSpinEdit->Value());
  iso.SetSigned(ui_->SignedCheckBox->isChecked());
  iso.SetSignStep(ui_->SignStepSpinEdit->Value());
  g->SetHotIsotherm(ui_->HotIsothermSpinEdit->Value());
}

void TTernaryForm::HotIsothermColorButtonClick() {
  TTernagram* g = ui_->Ternagram1;
  const QColor c = ToolSeams().ChooseColor(this, FromTColor(g->HotIsothermColor()),
                                           QStringLiteral("Hot Isotherm Colour"));
  if (!c.isValid()) return;  // cancelled
  g->SetHotIsothermColor(ToTColor(c));
  ui_->HotIsothermColorButton->setIcon(Swatch(g->HotIsothermColor()));
}

// --- Tool bar --------------------------------------------------------------------

void TTernaryForm::PrintSpeedButtonClick() {
  outputRunning_ = true;
  PrintOrOfferPdf(this, [this](QPrinter* printer) {
    if (printer)
      Ternagram1()->Print(*printer);
    else
      Ternagram1()->Print();
  });
  outputRunning_ = false;
  EndProgress();
}

void TTernaryForm::SaveSpeedButtonClick() {
  outputRunning_ = true;
  ChooseAndSavePicture(this, *Ternagram1(), [this](const QString& file) { Ternagram1()->SaveToFile(file); });
  outputRunning_ = false;
  EndProgress();
}

// --- Documents -------------------------------------------------------------------

void TTernaryForm::OpenSpeedButtonClick() { ChooseAndOpenDocument(this); }

void TTernaryForm::SaveAsSpeedButtonClick() { ChooseAndSaveDocument(this, DocumentOf(*Ternagram1())); }

void TTernaryForm::ShowDocument(const TTernaryDocument& Document) {
  TTernagram* g = ui_->Ternagram1;
  LoadDocument(*g, Document);
  // The document's diagram is unzoomed: the orientation can change again.
  ui_->OrientationGroup->setEnabled(!g->Zoom());
  ShowSubstanceNames();
  ShowProperties();
  g->Invalidate();
}

// --- Ternagram1's events ---------------------------------------------------------

// The orientation cannot change while the diagram is zoomed. The units can:
// the diagram then relabels the corners of the zoom window.
void TTernaryForm::Ternagram1ZoomIn(QObject*) { ui_->OrientationGroup->setEnabled(false); }

void TTernaryForm::Ternagram1ZoomOut(QObject*) { ui_->OrientationGroup->setEnabled(true); }

void TTernaryForm::Ternagram1IsothermCalcStep(QObject*) {
  // Called before each row of the composition grid; the diagram lets
  // pending messages run right after, so the bar and the cursor show.
  const double step = Ternagram1()->Isotherms()->MethodStep();
  const int rows = std::max(int(std::nearbyint(100 / step)) - 1, 1);
  // A computation that follows another before its end was seen starts
  // the count afresh.
  if (progressRows_ == 0 || progressRow_ >= progressRows_ || rows != progressRows_) {
    if (progressRows_ == 0) {
      ui_->ProgressBar1->show();
      ui_->StatusLabel->setText(QStringLiteral("Computing isotherms..."));
      QApplication::setOverrideCursor(Qt::WaitCursor);
      progressTimer_->start();
    }
    progressRows_ = rows;
    progressRow_ = 0;
    ui_->ProgressBar1->setRange(0, rows);
  }
  ui_->ProgressBar1->setValue(progressRow_);  // rows done so far
  ++progressRow_;
}

void TTernaryForm::EndProgress() {
  if (progressRows_ == 0) return;
  progressTimer_->stop();
  progressRows_ = 0;
  progressRow_ = 0;
  ui_->ProgressBar1->hide();
  ui_->StatusLabel->clear();
  QApplication::restoreOverrideCursor();
}

// --- Menus -----------------------------------------------------------------------

void TTernaryForm::CreateMenus() {
  AddWindowMenus(this, {{[this] { SaveSpeedButtonClick(); }, ui_->SaveSpeedButton},
                        {[this] { PrintSpeedButtonClick(); }, ui_->PrintSpeedButton},
                        {[this] { ShowWindow(); }},
                        {[this] { ShowManual(this); }},
                        {[this] { ShowInfo(this); }},
                        {[this] { ShowAbout(this); }}});
}
