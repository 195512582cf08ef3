// The program's start with windows: the windows in their order, the
// display checks, the document named on the command line.
#include "app/program.h"

#include <QApplication>
#include <QPixmap>

#include "app/about_box.h"
#include "app/display_checks.h"
#include "app/document_windows.h"
#include "app/info_form.h"
#include "app/main_form.h"
#include "app/settings.h"
#include "app/splash_form.h"
#include "app/ternary_form.h"
#include "app/version_resource.h"
#include "platform/application.h"

TProgramWindows::TProgramWindows() = default;

TProgramWindows::~TProgramWindows() {
  // The ternary window is a child of the main window: it goes first.
  Ternary.reset();
  Info.reset();
  About.reset();
  MainForm.reset();
}

std::unique_ptr<TProgramWindows> StartWindows(const QString& OpenFile, bool UserSettings) {
  InitVersionResource();
  if (UserSettings) UseUserSettings();  // the recent documents and last folders
  QApplication::setWindowIcon(QPixmap::fromImage(ProgramIconImage(32)));

  // The splash window first, painted at once, before anything else is made.
  auto* Splash = new TSplashForm;
  Splash->show();
  Splash->repaint();
  ProcessMessages();

  // The main and about windows read the splash window's labels.
  auto windows = std::make_unique<TProgramWindows>();
  windows->MainForm = std::make_unique<TMainForm>();
  windows->About = std::make_unique<TAboutBox>();
  windows->Info = std::make_unique<TInfoForm>();
  // Bi-Pb-Sn; stays above the main window when shown.
  windows->Ternary = std::make_unique<TTernaryForm>(windows->MainForm.get());
  Splash->hide();
  delete Splash;

  // A palette display or a screen narrower than 800 pixels ends the program
  // once every check has had its say.
  if (RunDisplayChecks(ScreenNumColors(), ScreenWidth())) return nullptr;

  windows->MainForm->showMaximized();
  if (!OpenFile.isEmpty()) OpenDocumentFile(OpenFile);
  return windows;
}
