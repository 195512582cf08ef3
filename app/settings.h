#pragma once
// What the program remembers between runs (QSettings): the ten most recent
// documents and the last folder of each file dialog.
//
// Nothing is read from or written to the user's settings until the program
// calls UseUserSettings() (main() does, unless started with --no-settings);
// until then the state lives in memory for the run only, so tests and other
// hosts of the windows never touch the user's settings.
#include <QString>
#include <QStringList>

constexpr int MaxRecentDocuments = 10;

// The user's settings: ~/.config/phasediagrams/phasediagrams.conf.
void UseUserSettings();
// An INI file of the caller's (tests); an empty name: memory only again.
void UseSettingsFile(const QString& FileName);

// The recent documents, newest first. Files that have gone are dropped from
// the list as it is read.
QStringList RecentDocuments();
// Puts a document (its absolute path) at the top of the list.
void NoteRecentDocument(const QString& FileName);
void ClearRecentDocuments();

// The folder a file dialog (by its caption) was last left in; empty when
// it has not been used.
QString LastFolder(const QString& Dialog);
void NoteLastFolder(const QString& Dialog, const QString& Folder);
