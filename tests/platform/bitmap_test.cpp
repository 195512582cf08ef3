// Windows bitmap files: written, read back, and never half-written.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <csignal>
#include <cstring>
#include <sys/resource.h>

#include "platform/bitmap.h"

namespace {

QByteArray ReadAll(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

std::uint32_t U32(const QByteArray& b, int at) {
  std::uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = (v << 8) | std::uint8_t(b[at + i]);
  return v;
}

std::uint16_t U16(const QByteArray& b, int at) { return std::uint16_t(std::uint8_t(b[at]) | (std::uint8_t(b[at + 1]) << 8)); }

}  // namespace

TEST(BitmapFile, TwentyFourBitsReadBackPixelForPixel) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  TBitmap b(5, 3);  // 15 bytes a row, padded to 16
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x) b.Canvas()->SetPixel(x, y, RGB(x * 50, y * 100, 7));
  const QString path = dir.filePath(QStringLiteral("diagram.bmp"));
  QString error;
  ASSERT_TRUE(b.SaveToFile(path, &error)) << error.toStdString();
  const QByteArray bytes = ReadAll(path);
  ASSERT_EQ(bytes.size(), 54 + 3 * 16);
  EXPECT_EQ(bytes.left(2), QByteArray("BM"));
  EXPECT_EQ(U32(bytes, 2), 54u + 48u);
  EXPECT_EQ(U32(bytes, 10), 54u);
  EXPECT_EQ(U32(bytes, 18), 5u);
  EXPECT_EQ(U32(bytes, 22), 3u);
  EXPECT_EQ(U16(bytes, 28), 24);
  // Bottom-up rows in blue, green, red order: the first stored pixel is (0, 2).
  EXPECT_EQ(std::uint8_t(bytes[54]), 7);
  EXPECT_EQ(std::uint8_t(bytes[55]), 200);
  EXPECT_EQ(std::uint8_t(bytes[56]), 0);
  QImage back(path);
  ASSERT_FALSE(back.isNull());
  ASSERT_EQ(back.size(), QSize(5, 3));
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x)
      EXPECT_EQ(back.pixel(x, y) & 0xFFFFFF, b.Image().pixel(x, y) & 0xFFFFFF) << x << "," << y;
}

TEST(BitmapFile, MonochromeIsOneBitWithLightPixelsWhite) {
  QTemporaryDir dir;
  TBitmap b(10, 2);
  TCanvas& c = *b.Canvas();
  c.SetPixel(0, 0, RGB(128, 128, 128));  // luminance 128: white
  c.SetPixel(1, 0, RGB(127, 127, 127));  // 127: black
  c.SetPixel(2, 0, clRed);               // 76: black
  c.SetPixel(3, 0, clInfoBk);            // light yellow: white
  c.SetPixel(4, 0, clBlack);
  c.SetPixel(9, 1, clBlue);
  b.SetMonochrome(true);
  const QString path = dir.filePath(QStringLiteral("mono.bmp"));
  ASSERT_TRUE(b.SaveToFile(path));
  const QByteArray bytes = ReadAll(path);
  ASSERT_EQ(bytes.size(), 62 + 2 * 4);
  EXPECT_EQ(U16(bytes, 28), 1);
  EXPECT_EQ(U32(bytes, 10), 62u);
  EXPECT_EQ(U32(bytes, 54), 0x000000u);
  EXPECT_EQ(U32(bytes, 58), 0xFFFFFFu);
  QImage back(path);
  ASSERT_EQ(back.size(), QSize(10, 2));
  EXPECT_EQ(back.depth(), 1);
  const bool white[10] = {true, false, false, true, false, true, true, true, true, true};
  for (int x = 0; x < 10; ++x) EXPECT_EQ(back.pixel(x, 0) & 0xFFFFFF, white[x] ? 0xFFFFFFu : 0u) << x;
  EXPECT_EQ(back.pixel(9, 1) & 0xFFFFFF, 0u);
  EXPECT_EQ(back.pixel(8, 1) & 0xFFFFFF, 0xFFFFFFu);
}

TEST(BitmapFile, RefusalsSayWhyAndWriteNothing) {
  QTemporaryDir dir;
  TBitmap b(4, 4);
  QString error;
  EXPECT_FALSE(b.SaveToFile(dir.filePath(QStringLiteral("no/such/folder/x.bmp")), &error));
  EXPECT_EQ(error, QStringLiteral("the folder does not exist"));
  TBitmap empty;
  error.clear();
  EXPECT_FALSE(empty.SaveToFile(dir.filePath(QStringLiteral("empty.bmp")), &error));
  EXPECT_FALSE(error.isEmpty());
  EXPECT_FALSE(b.SaveToFile(dir.path(), &error));  // a folder's name
  EXPECT_FALSE(error.isEmpty());
  EXPECT_FALSE(b.SaveToFile(QString(), nullptr));
  EXPECT_TRUE(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).isEmpty());
}

TEST(BitmapFile, FailedWriteKeepsTheOldFileIntact) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("keep.bmp"));
  TBitmap small(4, 4);
  ASSERT_TRUE(small.SaveToFile(path));
  const QByteArray old = ReadAll(path);
  // Let the disk refuse anything past 4 KB while the big picture is written.
  rlimit saved{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit tight = saved;
  tight.rlim_cur = 4096;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &tight), 0);
  TBitmap big(300, 300);
  QString error;
  const bool ok = big.SaveToFile(path, &error);
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, oldHandler);
  EXPECT_FALSE(ok);
  EXPECT_FALSE(error.isEmpty());
  EXPECT_EQ(ReadAll(path), old);
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
            QStringList{QStringLiteral("keep.bmp")});
  // Saving again afterwards replaces it whole.
  ASSERT_TRUE(big.SaveToFile(path, &error)) << error.toStdString();
  EXPECT_EQ(ReadAll(path).size(), 54 + 300 * 900);
}
