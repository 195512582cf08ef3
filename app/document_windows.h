#pragma once
// Documents from the windows: the "Open Diagram" and "Save Diagram As"
// buttons both windows carry, and where an opened document is shown (a
// binary diagram in the main window, a ternary one in the ternary window,
// from whichever window it was opened).
#include <QIcon>
#include <QKeySequence>
#include <QList>
#include <QString>
#include <functional>
#include <vector>

#include "app/document.h"

class QToolButton;
class QWidget;
class TMainForm;

// The main window, when there is one.
TMainForm* MainWindow();

// Adds the two buttons to a tool bar strip, after the tool buttons already
// there (in a new row of the strip when they would reach past RowWidth),
// with the window-wide keys of CommandKeys(Open) and CommandKeys(SaveAs)
// (Ctrl+O and Ctrl+Shift+S where the platform has none). Object
// names "OpenSpeedButton" and "SaveAsSpeedButton", with the actions
// "OpenAction" and "SaveAsAction".
void AddDocumentButtons(QWidget* Strip, int RowWidth, QWidget* Window, std::function<void()> Open,
                        std::function<void()> SaveAs);

// One button of a window's tool strip with its window-wide action: object
// name "XxxSpeedButton" (its action "XxxAction"), hint, icon, keys (none
// when empty; see CommandKeys) and what it runs.
struct TStripButton {
  QString Name;
  QString Hint;
  QIcon Icon;
  QList<QKeySequence> Keys;
  std::function<void()> Run;
};
// Adds buttons to a tool strip as AddDocumentButtons does.
void AddStripButtons(QWidget* Strip, int RowWidth, QWidget* Window, std::vector<TStripButton> Buttons);

// "Open Diagram": asks for a file through ToolSeams().ChooseOpenFile and
// opens it with OpenDocumentFile.
void ChooseAndOpenDocument(QWidget* Parent);
// Reads FileName and shows it in the window of its kind. A file that cannot
// be read is reported to the user (ShowMessage) and no diagram changes.
bool OpenDocumentFile(const QString& FileName);
// "Save Diagram As": asks for a name through ToolSeams().ChooseSaveFile;
// ".pdiag" is added to a name without an extension. A failed save is
// reported to the user and leaves any existing file as it was.
void ChooseAndSaveDocument(QWidget* Parent, const TDiagramDocument& Document);
// The name a chosen name is saved under.
QString DocumentFileName(const QString& Chosen);
