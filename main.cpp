// The program's entry: the command line first; then either a job without
// any window (rendering, the samples, help, version), or the windows in
// their order, the display checks and the message loop until the main
// window is closed.
#include <QApplication>
#include <cstdio>

#include "app/about_box.h"
#include "app/command_line.h"
#include "app/display_checks.h"
#include "app/document_windows.h"
#include "app/info_form.h"
#include "app/main_form.h"
#include "app/settings.h"
#include "app/splash_form.h"
#include "app/ternary_form.h"
#include "app/version_resource.h"
#include "platform/application.h"

int main(int argc, char** argv) {
  QStringList arguments;
  for (int i = 1; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
  TCommandLine line = ParseCommandLine(arguments);
  // Qt's own options (-platform, -style, ...) are for the windows.
  const bool qtOptions = line.Action == TCommandLine::caError && arguments.front().startsWith('-') &&
                         !arguments.front().startsWith("--");
  if (!qtOptions && (line.Action == TCommandLine::caHelp || line.Action == TCommandLine::caVersion ||
                     line.Action == TCommandLine::caError))
    return RunCommandLine(line, stdout, stderr);
  if (!qtOptions && RunsWithoutDisplay(line)) {
    // No display is needed, nor used when there is one.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Standard error carries one line per failure: Qt's own notes about
    // the environment (no runtime folder in a bare shell, ...) stay out.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
      if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "phasediagrams: %s\n", qPrintable(text));
    });
    QApplication Application(argc, argv);
    return RunCommandLine(line, stdout, stderr);
  }

  QApplication Application(argc, argv);
  if (qtOptions) {
    line = ParseCommandLine(QApplication::arguments().mid(1));
    if (line.Action != TCommandLine::caWindows) return RunCommandLine(line, stdout, stderr);
  }
  InitVersionResource();
  if (!line.NoSettings) UseUserSettings();  // the recent documents and last folders
  QApplication::setWindowIcon(QPixmap::fromImage(ProgramIconImage(32)));

  // The splash window first, painted at once, before anything else is made.
  auto* Splash = new TSplashForm;
  Splash->show();
  Splash->repaint();
  ProcessMessages();

  // The main and about windows read the splash window's labels.
  TMainForm MainForm;  // the main window; its creation loads the sample system
  TAboutBox About;
  TInfoForm Info;      // reads phasediagrams.inf (app/program_files.h)
  TTernaryForm Ternary(&MainForm);  // Bi-Pb-Sn; stays above the main window when shown
  Splash->hide();
  delete Splash;

  // A palette display or a screen narrower than 800 pixels ends the program
  // once every check has had its say.
  if (RunDisplayChecks(ScreenNumColors(), ScreenWidth())) return 0;

  MainForm.showMaximized();
  // A document named on the command line replaces the sample of its kind;
  // one that cannot be read is reported and the samples stay.
  if (!line.OpenFile.isEmpty()) OpenDocumentFile(line.OpenFile);
  return Application.exec();
}
