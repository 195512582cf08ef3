// The main window's documents: Open and Save As, and the option pages
// brought in line with an opened diagram.
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QSignalBlocker>

#include "app/document_windows.h"
#include "app/main_form.h"
#include "app/ternary_form.h"
#include "ui_main_form.h"

using namespace binary;

void TMainForm::ReceiveDocuments() {
  ShowDocumentsIn(TDiagramKind::Binary, this, [this](const TDiagramDocument& d) {
    ShowDocument(d.Binary);
    if (isVisible()) {
      if (isMinimized()) showNormal();
      raise();
      activateWindow();
    }
  });
  // The ternary window shows ternary documents itself; should it be gone,
  // it is made as the "Ternary Diagram" button makes it.
  ShowDocumentsIn(TDiagramKind::Ternary, this, [this](const TDiagramDocument& d) {
    SpeedButton5Click();
    TernaryForm->ShowDocument(d.Ternary);
  });
}

void TMainForm::OpenSpeedButtonClick() { ChooseAndOpenDocument(this); }

void TMainForm::SaveAsSpeedButtonClick() { ChooseAndSaveDocument(this, DocumentOf(*Binagram1())); }

void TMainForm::ShowDocument(const TBinaryDocument& Document) {
  LoadDocument(*ui_->Binagram1, Document);
  ShowProperties();
  // No point is marked in a new diagram: the calculator is locked as
  // before the first mark, and its result follows the new substances.
  LockCalculator();
  StackingMain();
  ui_->Binagram1->Invalidate();
}

void TMainForm::ShowProperties() {
  const TBinagram* g = ui_->Binagram1;
  auto setItem = [](QGroupBox* group, int index) {
    QButtonGroup* items = group->findChild<QButtonGroup*>(QString(), Qt::FindDirectChildrenOnly);
    const QSignalBlocker quiet(items);
    SetRadioGroupItemIndex(group, index);
  };
  auto setCheck = [](QCheckBox* box, bool on) {
    const QSignalBlocker quiet(box);
    box->setChecked(on);
  };
  setItem(ui_->RadioGroup4, g->DataOrientation() == doDirect ? 0 : 1);
  setItem(ui_->RadioGroup1, int(g->CUnits()));
  ui_->StackingUnits->setText(g->CUnits() <= cuMolParts ? "mole" : "kg");
  // The items read C, F, K.
  setItem(ui_->RadioGroup5, g->TUnits() == tuC ? 0 : g->TUnits() == tuF ? 1 : 2);
  setCheck(ui_->CheckBox1, g->Legend());
  setCheck(ui_->CheckBox2, g->ValuesTable());
  setCheck(ui_->CheckBox4, g->CoPhasesTable());
  setCheck(ui_->CheckBox3, g->MouseGrid());
  setCheck(ui_->CheckBox5, g->GridType() == gtOverAllScale);
  setCheck(ui_->CheckBox6, g->MarkMode());
  // Steps the groups do not offer leave them without a chosen item.
  const int t = g->TAxisStep();
  setItem(ui_->RadioGroup2, t == 25 ? 0 : t == 50 ? 1 : t == 100 ? 2 : -1);
  const int c = g->CAxisStep();
  setItem(ui_->RadioGroup3, c == 2 ? 0 : c == 5 ? 1 : c == 10 ? 2 : -1);
}
