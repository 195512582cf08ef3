// The tool bar and the menus of the main window: print, save, help, info,
// about and the ternary window.
#include <QPrinter>
#include <QToolButton>

#include "app/main_form.h"
#include "app/picture_output.h"
#include "app/ternary_form.h"
#include "app/window_kit.h"
#include "app/window_menus.h"
#include "ui_main_form.h"

void TMainForm::BitBtn2Click() {
  PrintOrOfferPdf(this, [this](QPrinter* printer) {
    if (printer)
      Binagram1()->Print(*printer);
    else
      Binagram1()->Print();
  });
}

void TMainForm::BitBtn4Click() {
  // A bitmap is the print picture, the others the screen's.
  ChooseAndSavePicture(this, *Binagram1(), [this](const QString& file) { Binagram1()->SaveToBitmap(file, false); });
}

void TMainForm::HelpSpeedButtonClick() { ShowManual(this); }

void TMainForm::BitBtn1Click() { ShowInfo(this); }

void TMainForm::BitBtn3Click() { ShowAbout(this); }

void TMainForm::SpeedButton5Click() {
  // The ternary window is not modal: the user may keep both diagrams in
  // view and go on working in either.
  if (!TernaryForm) new TTernaryForm(this);  // normally made at start-up
  TernaryForm->ShowWindow();
}

void TMainForm::CreateMenus() {
  AddWindowMenus(this, {{[this] { BitBtn4Click(); }, ui_->SpeedButton2},
                        {[this] { BitBtn2Click(); }, ui_->SpeedButton1},
                        {[this] { SpeedButton5Click(); }, ui_->SpeedButton5},
                        {[this] { HelpSpeedButtonClick(); }, ui_->HelpSpeedButton},
                        {[this] { BitBtn1Click(); }, ui_->SpeedButton3},
                        {[this] { BitBtn3Click(); }, ui_->SpeedButton4}});
}
