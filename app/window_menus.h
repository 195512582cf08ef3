#pragma once
// The menu bars of the main and the ternary window, and the actions they
// share. An entry that a tool-strip button also offers is that button's own
// QAction (the button shows it as its default action): menu entry, key and
// button are one action, enabled and triggered together.
#include <QKeySequence>
#include <QString>
#include <functional>

class QAction;
class QMenu;
class QMenuBar;
class QToolButton;
class QWidget;

// A window-wide action of Window named Name, with its menu text (with its
// "&" mnemonic) and key, running Run when triggered. With a Button, the
// button shows the action and keeps its own icon and tool tip.
QAction* AddWindowAction(QWidget* Window, const char* Name, const QString& Text, const QKeySequence& Key,
                         std::function<void()> Run, QToolButton* Button = nullptr);

// The window's menu bar ("MenuBar"), at the top of its layout.
QMenuBar* AddMenuBar(QWidget* Window);
// The File menu of either window: Open, Open Recent, Save As, then Picture,
// Export Data and Print (each may be missing), Close and Quit. Open, Save As
// and Export Data are the window's "OpenAction", "SaveAsAction"
// (AddDocumentButtons) and "ExportAction" (AddOutputButtons).
QMenu* AddFileMenu(QMenuBar* Bar, QWidget* Window, QAction* Picture, QAction* Print, QAction* Close);
// "Open Recent" ("RecentMenu"): the recent documents (app/settings.h), read
// again each time the menu opens; an entry opens its document as "Open"
// does. FillRecentMenu rebuilds its entries.
QMenu* AddRecentMenu(QMenu* File);
void FillRecentMenu(QMenu* Recent);

// Edit (the strip's "Copy Diagram" of AddOutputButtons, when there is one),
// View (Ternary, then "Binary Diagram": ShowMainWindow) and Help (Manual,
// Info, About): the same on both windows but for the actions that are the
// main window's tool-strip buttons.
void AddViewAndHelpMenus(QMenuBar* Bar, QWidget* Window, QAction* Ternary, QAction* Manual, QAction* Info,
                         QAction* About);

// What the Help menu shows, from either window: the manual (a help window
// of Window's), the info window and the about window (modal, through
// ToolSeams().ShowModal).
void ShowManual(QWidget* Window);
void ShowInfo(QWidget* Window);
void ShowAbout(QWidget* Window);
// Brings the main window (the one showing binary documents) to the front.
void ShowMainWindow();
