// Keys of the windows' commands: the platform's, else the common ones.
#include "app/shortcuts.h"

#include <QAction>

QList<QKeySequence> CommandKeys(QKeySequence::StandardKey Key) {
  QList<QKeySequence> keys = QKeySequence::keyBindings(Key);
  if (!keys.isEmpty()) return keys;
  static const struct {
    QKeySequence::StandardKey Key;
    QKeyCombination Combination;
  } common[] = {
      {QKeySequence::Open, Qt::CTRL | Qt::Key_O},          {QKeySequence::Save, Qt::CTRL | Qt::Key_S},
      {QKeySequence::SaveAs, Qt::CTRL | Qt::SHIFT | Qt::Key_S}, {QKeySequence::Print, Qt::CTRL | Qt::Key_P},
      {QKeySequence::HelpContents, QKeyCombination(Qt::Key_F1)}, {QKeySequence::Close, Qt::CTRL | Qt::Key_W},
      {QKeySequence::Quit, Qt::CTRL | Qt::Key_Q}, {QKeySequence::Copy, Qt::CTRL | Qt::Key_C},
  };
  for (const auto& c : common)
    if (c.Key == Key) keys << QKeySequence(c.Combination);
  return keys;
}

QString HintWithKey(const QString& Hint, const QAction& Action) {
  const QKeySequence key = Action.shortcut();
  return key.isEmpty() ? Hint : QStringLiteral("%1 (%2)").arg(Hint, key.toString(QKeySequence::NativeText));
}
