// The tool bar and the menus of the main window: print, save, help, info,
// about and the ternary window.
#include <QMenuBar>
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
  QToolButton *Print = ui_->SpeedButton1, *Picture = ui_->SpeedButton2, *Help = ui_->HelpSpeedButton,
              *Info = ui_->SpeedButton3, *About = ui_->SpeedButton4, *Ternary = ui_->SpeedButton5;
  QMenuBar* bar = AddMenuBar(this);
  AddFileMenu(bar, this,
              AddWindowAction(this, "PictureAction", QStringLiteral("Export Pic&ture..."), QKeySequence(),
                              [this] { BitBtn4Click(); }, Picture),
              AddWindowAction(this, "PrintAction", QStringLiteral("&Print..."), QKeySequence(QStringLiteral("Ctrl+P")),
                              [this] { BitBtn2Click(); }, Print),
              AddWindowAction(this, "CloseAction", QStringLiteral("&Close"), QKeySequence(QStringLiteral("Ctrl+W")),
                              [this] { close(); }));
  AddViewAndHelpMenus(bar, this,
                 AddWindowAction(this, "TernaryAction", QStringLiteral("&Ternary Diagram"), QKeySequence(),
                                 [this] { SpeedButton5Click(); }, Ternary),
                 AddWindowAction(this, "ManualAction", QStringLiteral("&Manual"), QKeySequence(Qt::Key_F1),
                                 [this] { HelpSpeedButtonClick(); }, Help),
                 AddWindowAction(this, "InfoAction", QStringLiteral("&Info"), QKeySequence(),
                                 [this] { BitBtn1Click(); }, Info),
                 AddWindowAction(this, "AboutAction", QStringLiteral("&About"), QKeySequence(),
                                 [this] { BitBtn3Click(); }, About));
}
