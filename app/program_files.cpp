#include "app/program_files.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#ifndef PD_DATA_FROM_BIN
#define PD_DATA_FROM_BIN "../share/phasediagrams"
#endif

QString ProgramDataFolder() {
  if (!QCoreApplication::instance()) return QString();
  const QDir data(QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral(PD_DATA_FROM_BIN)));
  return data.exists() ? data.canonicalPath() : QString();
}

QString FindProgramFile(const QString& Name) {
  if (QFileInfo::exists(Name)) return Name;
  const QString data = ProgramDataFolder();
  if (!data.isEmpty()) {
    const QString installed = QDir(data).filePath(Name);
    if (QFileInfo::exists(installed)) return installed;
  }
  return Name;
}

QString SamplesFolder() {
  const QString data = ProgramDataFolder();
  if (data.isEmpty()) return QString();
  const QString samples = QDir(data).filePath(QStringLiteral("samples"));
  return QFileInfo(samples).isDir() ? samples : QString();
}
