#pragma once
// The menu bars of the main and the ternary window, and the actions they
// share. An entry that a tool-strip button also offers is that button's own
// QAction (the button shows it as its default action): menu entry, key and
// button are one action, enabled and triggered together.
#include <QKeySequence>
#include <QString>
#include <functional>

class QMenu;
class QMenuBar;
class QToolButton;
class QWidget;

// What a window's menu entry runs, with the tool-strip button that shows
// its action (none: the entry is the menu's own).
struct TMenuCommand {
  std::function<void()> Run;
  QToolButton* Button = nullptr;
};
struct TWindowCommands {
  TMenuCommand Picture, Print, Ternary, Manual, Info, About;
};

// The window's menu bar ("MenuBar"), at the top of its layout:
//   File: Open..., Open Recent, Save As..., Export Picture..., Export
//         Data..., Print... (Ctrl+P), Close (Ctrl+W), Quit (Ctrl+Q);
//   Edit: Copy Diagram;
//   View: Ternary Diagram, Binary Diagram (ShowMainWindow);
//   Help: Manual (F1), Info, About.
// Open, Save As, Export Data and Copy Diagram are the actions the window's
// strip made ("OpenAction", "SaveAsAction" of AddDocumentButtons,
// "ExportAction" and "CopyAction" of AddOutputButtons), left out where the
// window has none. Each entry is a window-wide action named after it
// ("PictureAction", "PrintAction", "CloseAction", "QuitAction",
// "TernaryAction", "BinaryAction", "ManualAction", "InfoAction",
// "AboutAction").
QMenuBar* AddWindowMenus(QWidget* Window, const TWindowCommands& Commands);

// "Open Recent" ("RecentMenu"): the recent documents (app/settings.h), read
// again each time the menu opens; an entry opens its document as "Open"
// does. FillRecentMenu rebuilds its entries.
QMenu* AddRecentMenu(QMenu* File);
void FillRecentMenu(QMenu* Recent);

// What the Help menu shows, from either window: the manual (a help window
// of Window's), the info window and the about window (modal, through
// ToolSeams().ShowModal).
void ShowManual(QWidget* Window);
void ShowInfo(QWidget* Window);
void ShowAbout(QWidget* Window);
// Brings the main window (the one showing binary documents) to the front.
void ShowMainWindow();
