// The menu bars of both windows and the actions they share.
#include "app/window_menus.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QToolButton>

#include "app/about_box.h"
#include "app/document_windows.h"
#include "app/help_window.h"
#include "app/info_form.h"
#include "app/settings.h"
#include "app/window_kit.h"

namespace {

// A window-wide action of Window named Name, with its menu text (with its
// "&" mnemonic) and key, running Run when triggered. With a Button, the
// button shows the action and keeps its own icon and tool tip.
QAction* AddWindowAction(QWidget* Window, const char* Name, const QString& Text, const QKeySequence& Key,
                         const TMenuCommand& Command) {
  auto* action = new QAction(Text, Window);
  action->setObjectName(QString::fromLatin1(Name));
  action->setShortcut(Key);
  action->setShortcutContext(Qt::WindowShortcut);
  QObject::connect(action, &QAction::triggered, Window, [run = Command.Run] { run(); });
  Window->addAction(action);
  if (QToolButton* Button = Command.Button) {
    action->setIcon(Button->icon());
    action->setToolTip(Button->toolTip());
    Button->setDefaultAction(action);
  }
  return action;
}

QMenuBar* AddMenuBar(QWidget* Window) {
  auto* bar = new QMenuBar(Window);
  bar->setObjectName(QStringLiteral("MenuBar"));
  if (QLayout* layout = Window->layout()) layout->setMenuBar(bar);
  return bar;
}

// The action Name of a button the window's tool strip made itself
// (AddStripButtons), with its menu text Text; null when there is none. It
// keeps the button's tool tip.
QAction* StripAction(QWidget* Window, const char* Name, const QString& Text) {
  auto* action = Window->findChild<QAction*>(QString::fromLatin1(Name), Qt::FindDirectChildrenOnly);
  if (!action) return nullptr;
  for (QObject* o : action->associatedObjects())
    if (auto* button = qobject_cast<QToolButton*>(o)) action->setToolTip(button->toolTip());
  action->setText(Text);
  return action;
}

QMenu* AddFileMenu(QMenuBar* Bar, QWidget* Window, QAction* Picture, QAction* Print, QAction* Close) {
  QMenu* file = Bar->addMenu(QStringLiteral("&File"));
  file->setObjectName(QStringLiteral("FileMenu"));
  auto stripAction = [&](const char* Name, const QString& Text) {
    if (QAction* action = StripAction(Window, Name, Text)) file->addAction(action);
  };
  stripAction("OpenAction", QStringLiteral("&Open..."));
  AddRecentMenu(file);
  stripAction("SaveAsAction", QStringLiteral("Save &As..."));
  file->addSeparator();
  if (Picture) file->addAction(Picture);
  stripAction("ExportAction", QStringLiteral("&Export Data..."));
  if (Print) file->addAction(Print);
  file->addSeparator();
  file->addAction(Close);
  file->addAction(AddWindowAction(Window, "QuitAction", QStringLiteral("&Quit"), QKeySequence(QStringLiteral("Ctrl+Q")),
                                  {[] { QApplication::closeAllWindows(); }}));
  return file;
}

// Edit, View and Help.
void AddViewAndHelpMenus(QMenuBar* Bar, QWidget* Window, QAction* Ternary, QAction* Manual, QAction* Info,
                         QAction* About) {
  if (QAction* copy = StripAction(Window, "CopyAction", QStringLiteral("&Copy Diagram"))) {
    QMenu* edit = Bar->addMenu(QStringLiteral("&Edit"));
    edit->setObjectName(QStringLiteral("EditMenu"));
    edit->addAction(copy);
  }
  QMenu* view = Bar->addMenu(QStringLiteral("&View"));
  view->setObjectName(QStringLiteral("ViewMenu"));
  view->addAction(Ternary);
  view->addAction(AddWindowAction(Window, "BinaryAction", QStringLiteral("&Binary Diagram"),
                                  QKeySequence(), {[] { ShowMainWindow(); }}));
  QMenu* help = Bar->addMenu(QStringLiteral("&Help"));
  help->setObjectName(QStringLiteral("HelpMenu"));
  help->addActions({Manual, Info, About});
}

}  // namespace

QMenuBar* AddWindowMenus(QWidget* Window, const TWindowCommands& Commands) {
  QMenuBar* bar = AddMenuBar(Window);
  AddFileMenu(bar, Window,
              AddWindowAction(Window, "PictureAction", QStringLiteral("Export Pic&ture..."), QKeySequence(),
                              Commands.Picture),
              AddWindowAction(Window, "PrintAction", QStringLiteral("&Print..."), QKeySequence(QStringLiteral("Ctrl+P")),
                              Commands.Print),
              AddWindowAction(Window, "CloseAction", QStringLiteral("&Close"), QKeySequence(QStringLiteral("Ctrl+W")),
                              {[Window] { Window->close(); }}));
  AddViewAndHelpMenus(bar, Window,
                      AddWindowAction(Window, "TernaryAction", QStringLiteral("&Ternary Diagram"), QKeySequence(),
                                      Commands.Ternary),
                      AddWindowAction(Window, "ManualAction", QStringLiteral("&Manual"), QKeySequence(Qt::Key_F1),
                                      Commands.Manual),
                      AddWindowAction(Window, "InfoAction", QStringLiteral("&Info"), QKeySequence(), Commands.Info),
                      AddWindowAction(Window, "AboutAction", QStringLiteral("&About"), QKeySequence(), Commands.About));
  return bar;
}

QMenu* AddRecentMenu(QMenu* File) {
  QMenu* recent = File->addMenu(QStringLiteral("Open &Recent"));
  recent->setObjectName(QStringLiteral("RecentMenu"));
  QObject::connect(recent, &QMenu::aboutToShow, recent, [recent] { FillRecentMenu(recent); });
  FillRecentMenu(recent);
  return recent;
}

void FillRecentMenu(QMenu* Recent) {
  Recent->clear();
  const QStringList files = RecentDocuments();
  for (int i = 0; i < files.size(); ++i) {
    // "&1 bi-pb-sn.pdiag" with the folder in the tip; 10 is "1&0".
    const QString number = i < 9 ? QStringLiteral("&%1").arg(i + 1) : QStringLiteral("1&0");
    QAction* entry = Recent->addAction(
        QStringLiteral("%1  %2").arg(number, QDir::toNativeSeparators(files[i]).section(QDir::separator(), -1)));
    entry->setToolTip(QDir::toNativeSeparators(files[i]));
    entry->setStatusTip(entry->toolTip());
    entry->setData(files[i]);
    QObject::connect(entry, &QAction::triggered, Recent, [file = files[i]] { OpenDocumentFile(file); });
  }
  if (files.isEmpty()) Recent->addAction(QStringLiteral("(none)"))->setEnabled(false);
  Recent->setEnabled(true);
}

void ShowManual(QWidget* Window) {
  auto* help = Window->findChild<THelpWindow*>(QStringLiteral("HelpWindow"), Qt::FindDirectChildrenOnly);
  if (!help) help = new THelpWindow(Window);
  help->ShowContents();
}

void ShowInfo(QWidget* Window) {
  if (!InfoForm) new TInfoForm(Window);  // normally made at start-up
  ToolSeams().ShowModal(InfoForm);
}

void ShowAbout(QWidget* Window) {
  if (!AboutBox) new TAboutBox(Window);  // normally made at start-up
  ToolSeams().ShowModal(AboutBox);
}

void ShowMainWindow() {
  if (QWidget* form = DocumentWindow(TDiagramKind::Binary)) {
    if (form->isMinimized()) form->showNormal();
    form->show();
    form->raise();
    form->activateWindow();
  }
}
