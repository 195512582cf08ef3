// The program's entry: the command line first, before any application
// object exists (a wrong one, help and version need neither a display nor
// Qt); then either a job without any window (rendering, the samples) on
// the offscreen platform, or the windows and the message loop until the
// main window is closed.
#include <QApplication>
#include <cstdio>
#include <vector>

#include "app/command_line.h"
#include "app/program.h"

int main(int argc, char** argv) {
  QStringList arguments;
  for (int i = 1; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
  const TCommandLine line = ParseCommandLine(arguments);
  if (line.Action == TCommandLine::caHelp || line.Action == TCommandLine::caVersion ||
      line.Action == TCommandLine::caError)
    return RunCommandLine(line, stdout, stderr);

  // QApplication reads (and keeps) the program's name and Qt's options only.
  std::vector<QByteArray> kept{QByteArray(argv[0])};
  if (!RunsWithoutDisplay(line))
    for (const QString& a : line.QtArguments) kept.push_back(a.toLocal8Bit());
  std::vector<char*> qtArgv;
  for (QByteArray& a : kept) qtArgv.push_back(a.data());
  qtArgv.push_back(nullptr);
  int qtArgc = int(kept.size());

  if (RunsWithoutDisplay(line)) {
    // No display is needed, nor used when there is one.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Standard error carries one line per failure: Qt's own notes about
    // the environment (no runtime folder in a bare shell, ...) stay out.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
      if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "phasediagrams: %s\n", qPrintable(text));
    });
    QApplication Application(qtArgc, qtArgv.data());
    return RunCommandLine(line, stdout, stderr);
  }

  // Without a display Qt would abort; say why instead.
  if (const QString why = WhyNoDisplay(line); !why.isEmpty()) {
    std::fprintf(stderr, "phasediagrams: %s\n", why.toLocal8Bit().constData());
    return 1;
  }
  QApplication Application(qtArgc, qtArgv.data());
  const auto windows = StartWindows(line.OpenFile, !line.NoSettings);
  if (!windows) return 0;
  return Application.exec();
}
