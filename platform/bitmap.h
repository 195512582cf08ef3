#pragma once
// TBitmap: an off-screen picture with its canvas (Format_RGB32, 96 dpi).
#include <QImage>
#include <QString>
#include <memory>

#include "platform/canvas.h"

class TBitmap {
 public:
  TBitmap();
  TBitmap(int width, int height);
  virtual ~TBitmap();
  TBitmap(const TBitmap&) = delete;
  TBitmap& operator=(const TBitmap&) = delete;

  // The size asked for: 100 x 0 is kept (its image is empty), so that
  // setting the width and then the height works.
  int Width() const { return width_; }
  int Height() const { return height_; }
  void SetWidth(int w) { SetSize(w, Height()); }
  void SetHeight(int h) { SetSize(Width(), h); }
  // New pixels are white; negative sizes count as 0. A size of more than
  // 2^28 pixels, or one the memory cannot hold, leaves the bitmap 0 x 0.
  void SetSize(int width, int height);

  TCanvas* Canvas() { return &canvas_; }
  const TCanvas* Canvas() const { return &canvas_; }
  const QImage& Image() const { return image_; }
  QImage& Image() { return image_; }

  // One bit per pixel when saved: a pixel is white when its luminance
  // (0.299 R + 0.587 G + 0.114 B) is at least 128, else black.
  bool Monochrome() const { return monochrome_; }
  void SetMonochrome(bool value) { monochrome_ = value; }

  // Writes a Windows bitmap file (24 bits per pixel, or 1 when Monochrome)
  // through a temporary file in the same folder, so that a failed write
  // leaves an existing file intact. On failure returns false and, when
  // error is given, says why.
  bool SaveToFile(const QString& fileName, QString* error = nullptr) const;
  // The same for a PNG file (24-bit colour, 96 dpi; Monochrome does not
  // apply), likewise through a temporary file.
  bool SaveToPngFile(const QString& fileName, QString* error = nullptr) const;

 private:
  QImage image_;
  int width_ = 0;
  int height_ = 0;
  TCanvas canvas_;
  bool monochrome_ = false;
};
