// Every file the program writes, cut short as a full disk cuts it (a file
// size limit, whoever runs the test): each writer says the system's reason,
// leaves the old file as it was and leaves no temporary file behind.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <functional>
#ifdef Q_OS_UNIX
#include <sys/resource.h>
#endif

#include "app/command_line.h"
#include "app/document.h"
#include "app/sample_system.h"
#include "app/ternary_sample.h"
#include "diagram/binagram.h"
#include "diagram/ternagram.h"
#include "message_collector.h"
#include "platform/bitmap.h"

#ifdef Q_OS_UNIX
namespace {

QByteArray Contents(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

// Runs Write while no file may grow past Limit bytes.
bool WithFileSizeLimit(rlim_t Limit, const std::function<bool()>& Write) {
  rlimit saved{};
  if (getrlimit(RLIMIT_FSIZE, &saved) != 0) return false;
  rlimit small = saved;
  small.rlim_cur = Limit;
  auto previousSignal = std::signal(SIGXFSZ, SIG_IGN);
  setrlimit(RLIMIT_FSIZE, &small);
  const bool ok = Write();
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, previousSignal);
  return ok;
}

}  // namespace

TEST(FullDisk, EveryWriterSaysWhyAndKeepsTheOldFile) {
  MessageCollector messages;
  QTemporaryDir dir;
  const QString document = dir.filePath("sample.pdiag");
  TBinagram binary;
  LoadSampleSystem(binary);
  TTernagram ternary;
  LoadTernarySample(ternary);
  ASSERT_TRUE(WriteDocument(document, DocumentOf(binary), nullptr));
  // Noise, so that no format packs it into less than the limit.
  TBitmap picture(300, 300);
  std::uint32_t noise = 12345;
  for (int y = 0; y < 300; ++y)
    for (int x = 0; x < 300; ++x) picture.Image().setPixel(x, y, (noise = noise * 1664525u + 1013904223u) >> 8);
  TBitmap mono(600, 600);
  mono.SetMonochrome(true);

  using TWriter = std::function<bool(const QString& File, QString* Why)>;
  const struct {
    const char* File;
    TWriter Write;
  } writers[] = {
      {"bitmap.bmp", [&](const QString& f, QString* why) { return picture.SaveToFile(f, why); }},
      {"mono.bmp", [&](const QString& f, QString* why) { return mono.SaveToFile(f, why); }},
      {"bitmap.png", [&](const QString& f, QString* why) { return picture.SaveToPngFile(f, why); }},
      {"binary.bmp", [&](const QString& f, QString* why) { return binary.SaveToBitmap(f, false, why); }},
      {"ternary.bmp", [&](const QString& f, QString* why) { return ternary.SaveToFile(f, why); }},
      {"ternary.png", [&](const QString& f, QString* why) { return ternary.SaveToFile(f, why); }},
      {"render.bmp", [&](const QString& f, QString* why) { return RenderDocument(document, f, {800, 600}, why); }},
      {"render.png", [&](const QString& f, QString* why) { return RenderDocument(document, f, {800, 600}, why); }},
      {"render.pdf", [&](const QString& f, QString* why) { return RenderDocument(document, f, {800, 600}, why); }},
      {"document.pdiag",
       [&](const QString& f, QString* why) { return WriteDocument(f, DocumentOf(ternary), why); }},
  };
  const QString tooLarge = QString::fromLocal8Bit(std::strerror(EFBIG));
  for (const auto& w : writers) {
    SCOPED_TRACE(w.File);
    const QString path = dir.filePath(w.File);
    QFile old(path);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("the old contents");
    old.close();

    QString why;
    EXPECT_FALSE(WithFileSizeLimit(1024, [&] { return w.Write(path, &why); }));
    EXPECT_TRUE(why.contains(tooLarge)) << why.toStdString();
    EXPECT_EQ(Contents(path), QByteArray("the old contents"));
    QStringList left = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
    left.removeAll("sample.pdiag");
    EXPECT_EQ(left, QStringList{w.File});
    QFile::remove(path);

    // Without the limit the same writer writes the whole file.
    ASSERT_TRUE(w.Write(path, &why)) << why.toStdString();
    EXPECT_GT(QFile(path).size(), 1024);
    QFile::remove(path);
  }
  EXPECT_TRUE(messages.texts.isEmpty()) << messages.texts.join(" | ").toStdString();
}
#endif
