// TBitmap: an RGB32 image at 96 dpi with its canvas, and the Windows
// bitmap file writer.
#include "platform/bitmap.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QImageWriter>
#include <algorithm>
#include <cstdint>
#include <vector>

#include "platform/checked_file.h"

namespace {

constexpr int kDotsPerMeter = 3780;  // 96 dots per inch

void putU16(std::vector<char>& out, std::uint16_t v) {
  out.push_back(char(v & 0xFF));
  out.push_back(char(v >> 8));
}

void putU32(std::vector<char>& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(char((v >> (8 * i)) & 0xFF));
}

// Light pixels become white in a one-bit picture (ITU-R BT.601 luminance).
bool isLight(std::uint32_t pixel) {
  const unsigned r = (pixel >> 16) & 0xFF, g = (pixel >> 8) & 0xFF, b = pixel & 0xFF;
  return (299 * r + 587 * g + 114 * b) / 1000 >= 128;
}

// Why a picture cannot be written to fileName at all; empty when it can be
// tried.
QString whyNotWritable(const QString& fileName, const QImage& image) {
  if (fileName.isEmpty()) return QStringLiteral("no file name was given");
  if (image.isNull()) return QStringLiteral("the bitmap is empty");
  const QFileInfo info(fileName);
  if (!info.absoluteDir().exists()) return QStringLiteral("the folder does not exist");
  if (info.isDir()) return QStringLiteral("the name is that of a folder");
  return QString();
}

}  // namespace

TBitmap::TBitmap() : canvas_(&image_) {}

TBitmap::TBitmap(int width, int height) : canvas_(&image_) { SetSize(width, height); }

TBitmap::~TBitmap() = default;

void TBitmap::SetSize(int width, int height) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  // Beyond 2^28 pixels (1 GiB), or what the memory cannot hold, the bitmap
  // becomes 0 x 0 instead of taking the machine down.
  if (std::int64_t(width) * height > (std::int64_t(1) << 28)) width = height = 0;
  image_ = QImage();
  if (width > 0 && height > 0) {
    image_ = QImage(width, height, QImage::Format_RGB32);
    if (image_.isNull()) {
      width = height = 0;
    } else {
      image_.fill(0xFFFFFFFFu);
      image_.setDotsPerMeterX(kDotsPerMeter);
      image_.setDotsPerMeterY(kDotsPerMeter);
    }
  }
  width_ = width;
  height_ = height;
}

// BITMAPFILEHEADER + BITMAPINFOHEADER (+ a black/white palette for one bit
// per pixel), then the rows bottom-up, each padded to 4 bytes.
bool TBitmap::SaveToFile(const QString& fileName, QString* error) const {
  auto fail = [error](const QString& why) {
    if (error) *error = why;
    return false;
  };
  if (const QString why = whyNotWritable(fileName, image_); !why.isEmpty()) return fail(why);

  const int w = image_.width(), h = image_.height();
  const int bits = monochrome_ ? 1 : 24;
  const std::uint64_t rowBytes = ((std::uint64_t(w) * bits + 31) / 32) * 4;
  const std::uint32_t paletteBytes = monochrome_ ? 8 : 0;
  const std::uint32_t offset = 14 + 40 + paletteBytes;
  const std::uint64_t fileSize = offset + rowBytes * std::uint64_t(h);
  if (fileSize > 0xFFFFFFFFu) return fail(QStringLiteral("the bitmap is too large for a bitmap file"));

  std::vector<char> head;
  head.reserve(offset);
  head.push_back('B');
  head.push_back('M');
  putU32(head, std::uint32_t(fileSize));
  putU32(head, 0);  // reserved
  putU32(head, offset);
  putU32(head, 40);  // BITMAPINFOHEADER
  putU32(head, std::uint32_t(w));
  putU32(head, std::uint32_t(h));  // positive: bottom-up rows
  putU16(head, 1);                  // planes
  putU16(head, std::uint16_t(bits));
  putU32(head, 0);  // BI_RGB
  putU32(head, std::uint32_t(rowBytes * std::uint64_t(h)));
  putU32(head, kDotsPerMeter);
  putU32(head, kDotsPerMeter);
  putU32(head, monochrome_ ? 2 : 0);  // colours used
  putU32(head, 0);                    // colours important
  if (monochrome_) {
    putU32(head, 0x00000000);  // 0: black
    putU32(head, 0x00FFFFFF);  // 1: white
  }

  TCheckedFile file(fileName);
  if (!file.Open() || !file.Write(head.data(), qint64(head.size()))) return fail(file.Why());
  const QImage source =
      image_.format() == QImage::Format_RGB32 ? image_ : image_.convertToFormat(QImage::Format_RGB32);
  // Rows are gathered into pieces of about a megabyte, each written and
  // checked at once.
  const std::size_t rowsPerPiece = std::max<std::size_t>(1, (std::size_t(1) << 20) / rowBytes);
  std::vector<char> piece;
  piece.reserve(rowsPerPiece * rowBytes);
  for (int y = h - 1; y >= 0; --y) {
    const auto* px = reinterpret_cast<const std::uint32_t*>(source.constScanLine(y));
    piece.resize(piece.size() + rowBytes);  // a row of zeros, padding included
    char* row = piece.data() + piece.size() - rowBytes;
    if (monochrome_) {
      for (int x = 0; x < w; ++x)
        if (isLight(px[x])) row[std::size_t(x) >> 3] |= char(0x80 >> (x & 7));
    } else {
      for (int x = 0; x < w; ++x) {
        row[3 * std::size_t(x)] = char(px[x] & 0xFF);
        row[3 * std::size_t(x) + 1] = char((px[x] >> 8) & 0xFF);
        row[3 * std::size_t(x) + 2] = char((px[x] >> 16) & 0xFF);
      }
    }
    if (piece.size() >= rowsPerPiece * rowBytes || y == 0) {
      if (!file.Write(piece.data(), qint64(piece.size()))) return fail(file.Why());
      piece.clear();
    }
  }
  if (!file.Commit()) return fail(file.Why());
  return true;
}

bool TBitmap::SaveToPngFile(const QString& fileName, QString* error) const {
  auto fail = [error](const QString& why) {
    if (error) *error = why;
    return false;
  };
  if (const QString why = whyNotWritable(fileName, image_); !why.isEmpty()) return fail(why);
  // Made in memory, then written in one checked piece.
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, "png");
  if (!writer.write(image_.convertToFormat(QImage::Format_RGB888))) return fail(writer.errorString());
  QString why;
  return WriteWholeFile(fileName, bytes, &why) || fail(why);
}
