#include "widgets/version_info.h"

#include <QFile>
#include <QStringList>
#include <QTextStream>

namespace {

// "1,5,1,1" (or "1.5.1.1"): exactly four whole numbers, else false.
bool ParseFixed(const QString& Text, TFixedVersion& Version) {
  const QStringList parts = QString(Text).replace('.', ',').split(',');
  if (parts.size() != 4) return false;
  int n[4];
  for (int i = 0; i < 4; ++i) {
    bool ok = false;
    n[i] = parts[i].trimmed().toInt(&ok);
    if (!ok) return false;
  }
  Version = {n[0], n[1], n[2], n[3]};
  return true;
}

}  // namespace

const QString TVersionInfo::ResourceFile = QStringLiteral(":/version.ini");

QString TFixedVersion::Text() const {
  return QString::asprintf("%d.%d.%d.%d", Major, Minor, Release, Build);
}

TVersionInfo::TVersionInfo() { Read(ResourceFile); }

TVersionInfo::TVersionInfo(const QString& FileName) { Read(FileName); }

void TVersionInfo::Read(const QString& FileName) {
  QFile file(FileName);
  if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) return;
  loaded_ = true;
  QTextStream in(&file);
  in.setEncoding(QStringConverter::Utf8);
  QString section;
  while (!in.atEnd()) {
    const QString line = in.readLine().trimmed();
    if (line.isEmpty() || line.startsWith(';') || line.startsWith('#')) continue;
    if (line.startsWith('[') && line.endsWith(']')) {
      section = line.mid(1, line.size() - 2).trimmed();
      continue;
    }
    const qsizetype eq = line.indexOf('=');
    if (eq <= 0) continue;
    const QString name = line.left(eq).trimmed();
    const QString value = line.mid(eq + 1).trimmed();
    if (section == "StringFileInfo") {
      strings_.insert(name, value);
    } else if (section == "FixedFileInfo") {
      if (name == "FileVersion") hasFixedFile_ = ParseFixed(value, fixedFile_);
      if (name == "ProductVersion") hasFixedProduct_ = ParseFixed(value, fixedProduct_);
    }
  }
}

QString TVersionInfo::ProductVersion() const {
  if (HasEntry("ProductVersion")) return Entry("ProductVersion");
  return hasFixedProduct_ ? fixedProduct_.Text() : QString();
}

QString TVersionInfo::FileVersion() const {
  if (HasEntry("FileVersion")) return Entry("FileVersion");
  return hasFixedFile_ ? fixedFile_.Text() : QString();
}
