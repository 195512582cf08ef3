// The keys of both windows, pressed on the shown, active window as a user
// presses them: each runs its command once, in its own window only, and
// the button's hint names it.
#include <QAction>
#include <QApplication>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

#include <algorithm>

#include "app/main_form.h"
#include "app/window_kit.h"
#include "app/shortcuts.h"
#include "app/ternary_form.h"
#include "message_collector.h"

namespace {

struct SeamsGuard {
  ~SeamsGuard() { ResetToolSeams(); }
};

}  // namespace

TEST(Shortcuts, EveryKeyOfBothWindowsRunsItsCommandInThatWindow) {
  MessageCollector messages;
  SeamsGuard guard;
  // Which dialog a key opened, and over which window.
  QStringList asked;
  ToolSeams().ChooseOpenFile = [&](QWidget* parent, const QString& caption, const QString&) {
    asked << parent->window()->objectName() + ": " + caption;
    return QString();
  };
  ToolSeams().ChooseSaveFile = [&](QWidget* parent, const QString& caption, const QString&) {
    asked << parent->window()->objectName() + ": " + caption;
    return QString();
  };
  ToolSeams().ChoosePicture = [&](QWidget* parent, const QString& caption, const QString&, QSize) {
    asked << parent->window()->objectName() + ": " + caption;
    return TPictureChoice();
  };
  TMainForm main;
  TTernaryForm ternary(&main);

  // The keys of the document commands. The menus' other keys (Ctrl+P,
  // Ctrl+W, Ctrl+Q, F1) are pressed by the menu test; here no two commands
  // share a key, and each command listed answers to its key.
  const struct {
    QKeyCombination Key;
    const char* Action;
    const char* Dialog;
    const char* Hint;
  } keys[] = {
      {Qt::CTRL | Qt::Key_O, "OpenAction", "Open Diagram", "Open Diagram (Ctrl+O)"},
      {Qt::CTRL | Qt::SHIFT | Qt::Key_S, "SaveAsAction", "Save Diagram As", "Save Diagram As (Ctrl+Shift+S)"},
  };
  for (QWidget* window : {static_cast<QWidget*>(&main), static_cast<QWidget*>(&ternary)}) {
    SCOPED_TRACE(window->objectName().toStdString());
    window->show();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == window; }));

    QList<QKeySequence> taken;
    // The window's own actions: the ternary window, a child of the main
    // window, has its own.
    for (QAction* action : window->findChildren<QAction*>()) {
      const auto* owner = qobject_cast<QWidget*>(action->parent());
      if (owner && owner->window() != window) continue;
      for (const QKeySequence& key : action->shortcuts()) {
        // Two commands on one key would both stay silent.
        EXPECT_FALSE(taken.contains(key)) << key.toString().toStdString();
        taken << key;
        const bool command = std::any_of(std::begin(keys), std::end(keys), [&](const auto& k) {
          return action->objectName() == k.Action;
        });
        const bool listed = std::any_of(std::begin(keys), std::end(keys), [&](const auto& k) {
          return QKeySequence(k.Key) == key && action->objectName() == k.Action;
        });
        EXPECT_TRUE(listed || !command) << action->objectName().toStdString() << " " << key.toString().toStdString();
      }
    }
    for (const auto& k : keys) {
      SCOPED_TRACE(k.Hint);
      auto* action = window->findChild<QAction*>(k.Action);
      ASSERT_NE(action, nullptr);
      EXPECT_TRUE(action->shortcuts().contains(QKeySequence(k.Key)));
      auto* button = window->findChild<QToolButton*>(QString(k.Action).replace("Action", "SpeedButton"));
      ASSERT_NE(button, nullptr);
      EXPECT_EQ(button->toolTip(), k.Hint);

      asked.clear();
      QTest::keyClick(window, k.Key.key(), k.Key.keyboardModifiers());
      QApplication::processEvents();
      EXPECT_EQ(asked, QStringList{window->objectName() + ": " + k.Dialog});
    }
    window->hide();
  }
  EXPECT_TRUE(messages.texts.isEmpty()) << messages.texts.join(" | ").toStdString();
}

// Where the platform names no key for a command, the common key stands in;
// where it names one, that key is kept.
TEST(Shortcuts, CommandKeysFallBackOnlyWhereThePlatformHasNone) {
  const struct {
    QKeySequence::StandardKey Key;
    QKeySequence Common;
  } commands[] = {{QKeySequence::Open, QKeySequence(Qt::CTRL | Qt::Key_O)},
                  {QKeySequence::SaveAs, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)},
                  {QKeySequence::Print, QKeySequence(Qt::CTRL | Qt::Key_P)},
                  {QKeySequence::HelpContents, QKeySequence(Qt::Key_F1)}};
  for (const auto& c : commands) {
    const QList<QKeySequence> platform = QKeySequence::keyBindings(c.Key);
    const QList<QKeySequence> keys = CommandKeys(c.Key);
    if (platform.isEmpty())
      EXPECT_EQ(keys, QList<QKeySequence>{c.Common});
    else
      EXPECT_EQ(keys, platform);
  }
  EXPECT_TRUE(CommandKeys(QKeySequence::UnknownKey).isEmpty());
  QAction plain(QStringLiteral("Print"));
  EXPECT_EQ(HintWithKey(QStringLiteral("Print Diagram"), plain), "Print Diagram");
}
