// Files written whole or not at all, every write checked.
#include "platform/checked_file.h"

TCheckedFile::TCheckedFile(const QString& FileName) : file_(FileName) {}

TCheckedFile::~TCheckedFile() {
  if (file_.isOpen()) file_.cancelWriting();
}

bool TCheckedFile::Fail() {
  why_ = file_.error() != QFileDevice::NoError && !file_.errorString().isEmpty()
             ? file_.errorString()
             : QStringLiteral("the file could not be written");
  failed_ = true;
  if (file_.isOpen()) file_.cancelWriting();
  return false;
}

bool TCheckedFile::Open() {
  failed_ = false;
  return file_.open(QIODevice::WriteOnly | QIODevice::Unbuffered) || Fail();
}

bool TCheckedFile::Write(const char* Data, qint64 Size) {
  if (failed_ || !file_.isOpen()) return false;
  qint64 done = 0;
  while (done < Size) {
    const qint64 n = file_.write(Data + done, Size - done);
    if (n <= 0) return Fail();
    done += n;
  }
  return true;
}

bool TCheckedFile::Commit() {
  if (failed_ || !file_.isOpen()) return false;
  return file_.commit() || Fail();
}

bool WriteWholeFile(const QString& FileName, const QByteArray& Bytes, QString* Why) {
  TCheckedFile file(FileName);
  const bool ok = file.Open() && file.Write(Bytes) && file.Commit();
  if (!ok && Why) *Why = file.Why();
  return ok;
}
