// The program's entry: the windows in their order, the display checks, then
// the message loop until the main window is closed.
#include <QApplication>
#include <QTimer>

#include "app/about_box.h"
#include "app/display_checks.h"
#include "app/info_form.h"
#include "app/main_form.h"
#include "app/splash_form.h"
#include "app/ternary_form.h"
#include "app/version_resource.h"
#include "platform/application.h"

int main(int argc, char** argv) {
  QApplication Application(argc, argv);
  InitVersionResource();
  QApplication::setWindowIcon(QPixmap::fromImage(ProgramIconImage(32)));

  // The splash window first, painted at once, before anything else is made.
  auto* Splash = new TSplashForm;
  Splash->show();
  Splash->repaint();
  ProcessMessages();

  // The main and about windows read the splash window's labels.
  TMainForm MainForm;  // the main window; its creation loads the sample system
  TAboutBox About;
  TInfoForm Info;      // reads phasediagrams.inf from the current directory
  TTernaryForm Ternary(&MainForm);  // Bi-Pb-Sn; stays above the main window when shown
  Splash->hide();
  delete Splash;

  // A palette display or a screen narrower than 800 pixels ends the program
  // once every check has had its say.
  if (RunDisplayChecks(ScreenNumColors(), ScreenWidth())) return 0;

  MainForm.showMaximized();
  // For scripts/screenshot only: PD_SCREENSHOT_WINDOW=ternary opens the
  // ternary window once the main window is up, as its button does.
  if (qEnvironmentVariable("PD_SCREENSHOT_WINDOW") == QLatin1String("ternary"))
    QTimer::singleShot(500, &MainForm, [&MainForm] { MainForm.SpeedButton5Click(); });
  return Application.exec();
}
