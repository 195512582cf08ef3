#pragma once
// Documents from the windows: the "Open Diagram" and "Save Diagram As"
// buttons both windows carry, and where an opened document is shown (a
// binary diagram in the main window, a ternary one in the ternary window,
// from whichever window it was opened). The windows tell where they show
// documents (ShowDocumentsIn), so this lies below both of them.
#include <QString>
#include <functional>

#include "app/document.h"

class QWidget;

// Window shows opened documents of Kind through Show, which puts the
// document into its diagram and brings the window to the front, for as
// long as Window exists. The newest living window of a kind is used.
void ShowDocumentsIn(TDiagramKind Kind, QWidget* Window, std::function<void(const TDiagramDocument&)> Show);
// The window that shows documents of Kind; null when there is none.
QWidget* DocumentWindow(TDiagramKind Kind);

// Adds the two buttons to a tool bar strip (see AddStripButtons) with the
// window-wide keys of CommandKeys(Open) and CommandKeys(SaveAs) (Ctrl+O and
// Ctrl+Shift+S where the platform has none). Object names
// "OpenSpeedButton" and "SaveAsSpeedButton", with the actions "OpenAction"
// and "SaveAsAction".
void AddDocumentButtons(QWidget* Strip, int RowWidth, QWidget* Window, std::function<void()> Open,
                        std::function<void()> SaveAs);

// "Open Diagram": asks for a file through ToolSeams().ChooseOpenFile and
// opens it with OpenDocumentFile.
void ChooseAndOpenDocument(QWidget* Parent);
// Reads FileName and shows it in the window of its kind. A file that cannot
// be read, or that has no window to be shown in, is reported to the user
// (ShowMessage) and no diagram changes.
bool OpenDocumentFile(const QString& FileName);
// "Save Diagram As": asks for a name through ToolSeams().ChooseSaveFile;
// ".pdiag" is added to a name without an extension. A failed save is
// reported to the user and leaves any existing file as it was.
void ChooseAndSaveDocument(QWidget* Parent, const TDiagramDocument& Document);
