// The menu bars of both windows, driven by real key presses: every entry
// that a tool-strip button offers is that button's own action, the keys
// reach the actions, and a button runs its action once.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QToolButton>

#include "app/help_window.h"
#include "app/info_form.h"
#include "app/main_form.h"
#include "app/window_kit.h"
#include "app/ternary_form.h"
#include "message_collector.h"

namespace {

// What the windows asked of the desktop.
struct Desktop {
  QStringList calls;
  Desktop() {
    ToolSeams().PrinterPresent = [] { return false; };
    ToolSeams().Confirm = [this](const QString&) { return calls << "confirm", false; };
    ToolSeams().ChooseOpenFile = [this](QWidget*, const QString& c, const QString&) {
      return calls << "open: " + c, QString();
    };
    ToolSeams().ChooseSaveFile = [this](QWidget*, const QString& c, const QString&) {
      return calls << "save: " + c, QString();
    };
    ToolSeams().ChoosePicture = [this](QWidget*, const QString& c, const QString&, QSize) {
      return calls << "save: " + c, TPictureChoice();
    };
    ToolSeams().ShowModal = [this](QDialog* d) { calls << "modal: " + d->objectName(); };
  }
  ~Desktop() { ResetToolSeams(); }
  QStringList Take() { return std::exchange(calls, {}); }
};

// The entries of a menu bar, "File: &Open... | Open &Recent | ...".
QStringList Entries(QMenuBar* Bar) {
  QStringList menus;
  for (QAction* m : Bar->actions()) {
    QStringList items;
    for (QAction* a : m->menu()->actions())
      if (!a->isSeparator()) items << a->text();
    menus << m->text() + ": " + items.join(" | ");
  }
  return menus;
}

QList<QAction*> MenuActions(QMenuBar* Bar) {
  QList<QAction*> all;
  for (QAction* m : Bar->actions()) all += m->menu()->actions();
  return all;
}

void Activate(QWidget* Window) {
  Window->show();
  QApplication::setActiveWindow(Window);
  ASSERT_TRUE(QTest::qWaitForWindowActive(Window));
}

}  // namespace

TEST(WindowMenus, BothWindowsHaveMenusWhoseEntriesAreTheToolButtonsActions) {
  MessageCollector messages;
  TMainForm main;
  TTernaryForm ternary(&main);
  auto* mainBar = main.findChild<QMenuBar*>("MenuBar", Qt::FindDirectChildrenOnly);
  auto* ternaryBar = ternary.findChild<QMenuBar*>("MenuBar", Qt::FindDirectChildrenOnly);
  ASSERT_TRUE(mainBar && ternaryBar);
  const QStringList common = {"&Edit: &Copy Diagram", "&View: &Ternary Diagram | &Binary Diagram",
                              "&Help: &Manual | &Info | &About"};
  EXPECT_EQ(Entries(mainBar),
            QStringList({"&File: &Open... | Open &Recent | Save &As... | Export Pic&ture... | &Export Data... | "
                         "&Print... | &Close | &Quit"}) + common);
  EXPECT_EQ(Entries(ternaryBar), Entries(mainBar));

  // One action, two places: each button of both tool strips shows an
  // action that is in its window's menus, with the button's tool tip.
  for (auto [window, bar] : {std::pair<QWidget*, QMenuBar*>{&main, mainBar}, {&ternary, ternaryBar}}) {
    int buttons = 0;
    for (QToolButton* b : window->findChildren<QToolButton*>()) {
      if (b->window() != window || b->parentWidget()->inherits("QTabBar") || b->parentWidget() == bar) continue;
      ++buttons;
      ASSERT_NE(b->defaultAction(), nullptr) << qPrintable(b->objectName());
      EXPECT_TRUE(MenuActions(bar).contains(b->defaultAction())) << qPrintable(b->objectName());
      EXPECT_FALSE(b->toolTip().contains('&')) << qPrintable(b->objectName());
    }
    EXPECT_EQ(buttons, window == &main ? 10 : 6);
  }
  // The keys the menus show.
  auto key = [](QWidget* w, const char* name) {
    return w->findChild<QAction*>(name)->shortcut().toString(QKeySequence::PortableText);
  };
  for (QWidget* w : {static_cast<QWidget*>(&main), static_cast<QWidget*>(&ternary)}) {
    EXPECT_EQ(key(w, "OpenAction"), "Ctrl+O");
    EXPECT_EQ(key(w, "PrintAction"), "Ctrl+P");
    EXPECT_EQ(key(w, "QuitAction"), "Ctrl+Q");
    EXPECT_EQ(key(w, "ManualAction"), "F1");
    EXPECT_EQ(key(w, "CopyAction"), "Ctrl+C");
  }
  EXPECT_EQ(main.findChild<QToolButton*>("SpeedButton1")->toolTip(), "Print Diagram");
  EXPECT_EQ(main.findChild<QWidget*>("DocumentStrip")->findChild<QToolButton*>("OpenSpeedButton")->toolTip(),
            "Open Diagram (Ctrl+O)");
}

TEST(WindowMenus, KeysAndButtonsRunEachActionOnce) {
  MessageCollector messages;
  Desktop desktop;
  TMainForm main;
  TTernaryForm ternary(&main);

  Activate(&main);
  QTest::keyClick(&main, Qt::Key_P, Qt::ControlModifier);  // no printer: a PDF?
  QTest::keyClick(&main, Qt::Key_O, Qt::ControlModifier);
  EXPECT_EQ(desktop.Take(), QStringList({"confirm", "open: Open Diagram"}));
  QTest::keyClick(&main, Qt::Key_F1);
  auto* help = main.findChild<THelpWindow*>("HelpWindow");
  ASSERT_NE(help, nullptr);
  EXPECT_TRUE(help->isVisible());
  help->close();
  // A click on a tool button runs its action, once.
  for (const char* name : {"SpeedButton1", "SpeedButton2", "SpeedButton3", "SpeedButton4"})
    QTest::mouseClick(main.findChild<QToolButton*>(name), Qt::LeftButton);
  EXPECT_EQ(desktop.Take(), QStringList({"confirm", "save: Save Diagram", "modal: InfoForm", "modal: AboutBox"}));

  // The menus through their mnemonics: Alt+H opens Help, A chooses About.
  Activate(&main);
  QTest::keyClick(&main, Qt::Key_H, Qt::AltModifier);
  QWidget* popup = QApplication::activePopupWidget();
  ASSERT_NE(popup, nullptr);
  EXPECT_EQ(popup->objectName(), "HelpMenu");
  QTest::keyClick(popup, Qt::Key_A);
  EXPECT_EQ(desktop.Take(), QStringList({"modal: AboutBox"}));

  // View > Ternary Diagram by its mnemonics shows the ternary window; its
  // own keys reach its own actions.
  QTest::keyClick(&main, Qt::Key_V, Qt::AltModifier);
  ASSERT_NE(QApplication::activePopupWidget(), nullptr);
  QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_T);
  EXPECT_TRUE(ternary.isVisible());
  Activate(&ternary);
  QTest::keyClick(&ternary, Qt::Key_P, Qt::ControlModifier);
  QTest::keyClick(&ternary, Qt::Key_O, Qt::ControlModifier);
  EXPECT_EQ(desktop.Take(), QStringList({"confirm", "open: Open Diagram"}));
  QTest::keyClick(&ternary, Qt::Key_F1);
  EXPECT_NE(ternary.findChild<THelpWindow*>("HelpWindow"), nullptr);
  QTest::keyClick(&ternary, Qt::Key_F, Qt::AltModifier);
  ASSERT_NE(QApplication::activePopupWidget(), nullptr);
  QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_T);  // Export Picture
  EXPECT_EQ(desktop.Take(), QStringList({"save: Save Diagram"}));
  // Ctrl+W closes the ternary window only; Ctrl+Q closes every window.
  QTest::keyClick(&ternary, Qt::Key_W, Qt::ControlModifier);
  EXPECT_FALSE(ternary.isVisible());
  EXPECT_TRUE(main.isVisible());
  ternary.show();
  Activate(&main);
  QTest::keyClick(&main, Qt::Key_Q, Qt::ControlModifier);
  EXPECT_FALSE(main.isVisible());
  EXPECT_FALSE(ternary.isVisible());
  // Nothing went wrong but the info text missing beside the tests.
  messages.texts.removeAll("Cannot open file phasediagrams.inf");
  EXPECT_TRUE(messages.texts.isEmpty()) << qPrintable(messages.texts.join('\n'));
}
