#pragma once
// Files written whole or not at all: through a temporary file in the same
// folder and a rename (QSaveFile), without a buffer, every write checked as
// it happens. A buffered write would report a file cut short by a full
// disk as written, or lose the reason ("Unknown error"); here the reason
// is the system's ("No space left on device", "File too large"). On
// failure the old file is left as it was and no temporary file remains.
#include <QByteArray>
#include <QSaveFile>
#include <QString>

class TCheckedFile {
 public:
  explicit TCheckedFile(const QString& FileName);
  ~TCheckedFile();  // without Commit, nothing is written
  bool Open();
  bool Write(const char* Data, qint64 Size);
  bool Write(const QByteArray& Bytes) { return Write(Bytes.constData(), Bytes.size()); }
  bool Commit();
  // Why the last step failed.
  const QString& Why() const { return why_; }

 private:
  bool Fail();
  QSaveFile file_;
  QString why_;
  bool failed_ = false;
};

// Writes Bytes as one file through TCheckedFile; on failure Why says why.
bool WriteWholeFile(const QString& FileName, const QByteArray& Bytes, QString* Why);
