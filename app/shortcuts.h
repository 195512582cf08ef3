#pragma once
// Keys of the windows' commands. A standard command takes the platform's
// own keys; where the platform has none (QKeySequence::SaveAs is empty
// outside GNOME and macOS, for one), it takes the key most desktops use,
// so that every command the tool bar names with a key answers to it.
#include <QKeySequence>
#include <QList>
#include <QString>

class QAction;

// The platform's keys for Key, else the common one (Ctrl+Shift+S for
// SaveAs, Ctrl+O for Open, ...); empty for a command without either.
QList<QKeySequence> CommandKeys(QKeySequence::StandardKey Key);

// A button's hint with the action's first key: "Save Diagram As
// (Ctrl+Shift+S)"; the hint alone when the action has no key.
QString HintWithKey(const QString& Hint, const QAction& Action);
