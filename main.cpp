// The program's entry: the windows in their order, the display checks, then
// the message loop until the main window is closed.
#include <QApplication>

#include "app/display_checks.h"
#include "app/main_form.h"
#include "app/version_resource.h"
#include "platform/application.h"

int main(int argc, char** argv) {
  QApplication Application(argc, argv);
  InitVersionResource();

  TMainForm MainForm;  // the main window; its creation loads the sample system

  // A palette display or a screen narrower than 800 pixels ends the program
  // once every check has had its say.
  if (RunDisplayChecks(ScreenNumColors(), ScreenWidth())) return 0;

  MainForm.showMaximized();
  return Application.exec();
}
