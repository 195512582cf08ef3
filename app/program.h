#pragma once
// The program's start with windows, as main() runs it once the command line
// has been read and the application object made.
#include <QString>
#include <memory>

class TAboutBox;
class TInfoForm;
class TMainForm;
class TTernaryForm;

// The windows of a run, made in the order of start-up; they live until the
// program ends (the ternary window, owned by the main window, goes first).
struct TProgramWindows {
  std::unique_ptr<TMainForm> MainForm;  // its creation loads the sample system
  std::unique_ptr<TAboutBox> About;
  std::unique_ptr<TInfoForm> Info;  // reads phasediagrams.inf from the current directory
  std::unique_ptr<TTernaryForm> Ternary;
  TProgramWindows();
  ~TProgramWindows();
};

// The splash window first, painted at once; then the main, about, info and
// ternary windows; the splash window removed; the display checks; the main
// window maximized and the document OpenFile (when not empty) opened in the
// window of its kind. A document that cannot be read is reported and the
// samples stay. Null when a display check ends the program.
// With UserSettings the windows read and write the user's remembered state
// (recent documents, last folders); without, they keep it in memory only.
std::unique_ptr<TProgramWindows> StartWindows(const QString& OpenFile, bool UserSettings = false);
