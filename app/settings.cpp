#include "app/settings.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QSettings>
#include <QVariant>
#include <memory>

namespace {

const QString RecentKey = QStringLiteral("recentDocuments");

// The settings in use: a QSettings, or a map in memory.
struct TStore {
  std::unique_ptr<QSettings> Settings;
  QHash<QString, QVariant> Memory;

  QVariant Value(const QString& Key) const {
    return Settings ? Settings->value(Key) : Memory.value(Key);
  }
  void SetValue(const QString& Key, const QVariant& Value) {
    if (Settings) {
      Settings->setValue(Key, Value);
      Settings->sync();
    } else {
      Memory.insert(Key, Value);
    }
  }
};

TStore& Store() {
  static TStore store;
  return store;
}

// A dialog's caption as a key: "Save Diagram As" -> "lastFolder/Save Diagram As".
QString FolderKey(const QString& Dialog) {
  return QStringLiteral("lastFolder/") + QString(Dialog).remove(QLatin1Char('/'));
}

}  // namespace

void UseUserSettings() {
  Store().Settings = std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                                 QStringLiteral("phasediagrams"),
                                                 QStringLiteral("phasediagrams"));
}

void UseSettingsFile(const QString& FileName) {
  Store().Memory.clear();
  if (FileName.isEmpty())
    Store().Settings.reset();
  else
    Store().Settings = std::make_unique<QSettings>(FileName, QSettings::IniFormat);
}

QStringList RecentDocuments() {
  const QStringList stored = Store().Value(RecentKey).toStringList();
  QStringList present;
  for (const QString& f : stored)
    if (QFileInfo(f).isFile() && !present.contains(f) && present.size() < MaxRecentDocuments) present << f;
  if (present != stored) Store().SetValue(RecentKey, present);
  return present;
}

void NoteRecentDocument(const QString& FileName) {
  const QString path = QFileInfo(FileName).absoluteFilePath();
  QStringList list = Store().Value(RecentKey).toStringList();
  list.removeAll(path);
  list.prepend(path);
  while (list.size() > MaxRecentDocuments) list.removeLast();
  Store().SetValue(RecentKey, list);
}

void ClearRecentDocuments() { Store().SetValue(RecentKey, QStringList()); }

QString LastFolder(const QString& Dialog) {
  const QString folder = Store().Value(FolderKey(Dialog)).toString();
  return !folder.isEmpty() && QFileInfo(folder).isDir() ? folder : QString();
}

void NoteLastFolder(const QString& Dialog, const QString& Folder) {
  if (!Folder.isEmpty()) Store().SetValue(FolderKey(Dialog), QDir(Folder).absolutePath());
}
