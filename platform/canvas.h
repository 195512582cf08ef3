#pragma once
// TCanvas: the 2D drawing surface of a bitmap or a control, over a QImage
// (Format_RGB32, 96 dots per inch), following the classic GDI conventions:
// - LineTo does not paint its end pixel;
// - Rectangle and Ellipse cover x1..x2-1, y1..y2-1;
// - TextOut with a solid brush fills the text cell with the brush colour;
// - text height is ascent + descent; font sizes are points at 96 dpi;
// - FloodFill is 4-connected and stops at the border colour; a seed outside
//   the bitmap or on the border colour fills nothing;
// - a pixel outside the bitmap reads as clInvalid.
// No antialiasing anywhere: every pixel carries an exact colour.
//
// Lines are rasterized here, not by Qt, so their pixels are exact:
// - a line steps one pixel at a time along its major axis (the longer of
//   |dx|, |dy|); the minor coordinate at step i is i*d/n rounded to the
//   nearest pixel, halves going forward;
// - pen width 1 paints that pixel; width 2 adds its neighbour across the
//   minor axis (below for flat lines, to the right for steep ones); width w
//   paints w pixels across, centred with the extra one below/right;
// - pmNotXor sets dst := ~(pen ^ dst) on RGB, so drawing the same thing
//   twice restores the picture. One Polyline, Polygon or Rectangle call
//   touches each pixel once, so corners of wide not-xor outlines show.
// The pen mode applies to the brush of Rectangle, Polygon and Ellipse too
// (as the GDI mix mode does: a white brush in pmNotXor leaves the inside
// as it is); FillRect, TextOut and FloodFill always copy.
// Rectangle draws its pen frame inside x1..x2-1, y1..y2-1 whatever the
// width. Everything is clipped to the image for any coordinates.
#include <QImage>
#include <QString>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/color.h"

enum TPenMode { pmCopy, pmNotXor };
enum TBrushStyle { bsSolid, bsClear };
enum TFillStyle { fsBorder, fsSurface };

// Raster operations of the bitmap copies, with their GDI codes.
using TCopyMode = std::uint32_t;
constexpr TCopyMode BLACKNESS = 0x00000042;
constexpr TCopyMode SRCCOPY = 0x00CC0020;
constexpr TCopyMode SRCINVERT = 0x00660046;

enum TFontStyle : unsigned { fsBold = 1, fsItalic = 2, fsUnderline = 4 };

struct TPoint {
  int X = 0;
  int Y = 0;
  friend bool operator==(const TPoint&, const TPoint&) = default;
};

struct TRect {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;
  int Width() const { return Right - Left; }
  int Height() const { return Bottom - Top; }
  friend bool operator==(const TRect&, const TRect&) = default;
};

struct TPen {
  TColor Color = clBlack;
  int Width = 1;
  TPenMode Mode = pmCopy;
};

struct TBrush {
  TColor Color = clWhite;
  TBrushStyle Style = bsSolid;
};

struct TFont {
  QString Name = QStringLiteral("Arial");
  int Size = 8;  // points at 96 dpi
  TColor Color = clBlack;
  unsigned Style = 0;  // TFontStyle bits
};

class TBitmap;
class TVectorPicture;

// The device every canvas measures and draws its fonts with (96 dots per
// inch); vector pictures measure their texts with it too.
const QImage& FontMeasuringDevice();

class TCanvas {
 public:
  explicit TCanvas(QImage* image);

  TPen Pen;
  TBrush Brush;
  TFont Font;
  TCopyMode CopyMode = SRCCOPY;
  // When set, what is drawn in copy mode is also recorded there as vectors
  // (see platform/vectorpicture.h); the pixels are drawn all the same.
  TVectorPicture* Recorder = nullptr;

  int Width() const;
  int Height() const;
  QImage* Image() const { return image_; }

  TPoint PenPos() const { return penPos_; }
  void MoveTo(int x, int y);
  void LineTo(int x, int y);
  void Polyline(const std::vector<TPoint>& points);
  // Filled with the brush (unless bsClear), outlined with the pen, closed.
  void Polygon(const std::vector<TPoint>& points);
  void Rectangle(int x1, int y1, int x2, int y2);
  void Rectangle(const TRect& r) { Rectangle(r.Left, r.Top, r.Right, r.Bottom); }
  // Brush only, no outline: covers Left..Right-1, Top..Bottom-1.
  void FillRect(const TRect& r);
  void Ellipse(int x1, int y1, int x2, int y2);

  // Text top at y, baseline at y + ascent; PenPos moves to (x + width, y).
  void TextOut(int x, int y, const QString& text);
  int TextWidth(const QString& text) const;
  int TextHeight(const QString& text) const;

  void FloodFill(int x, int y, TColor color, TFillStyle style = fsBorder);

  TColor Pixel(int x, int y) const;
  void SetPixel(int x, int y, TColor color);

  // Copies source rectangle onto dest rectangle with CopyMode (BLACKNESS
  // ignores the source); when the sizes differ, each destination pixel takes
  // the source pixel under its centre. Clipped to both bitmaps. Draw and
  // StretchDraw copy a whole bitmap the same way, with CopyMode too.
  void CopyRect(const TRect& dest, const TCanvas& source, const TRect& sourceRect);
  void Draw(int x, int y, const TBitmap& bitmap);
  void StretchDraw(const TRect& dest, const TBitmap& bitmap);

 private:
  struct FontCache;
  void plot(int x, int y, std::uint32_t rgb);
  void line(int x0, int y0, int x1, int y1);
  void strokePath(const TPoint* points, std::size_t count, bool closed);
  const FontCache& fontCache() const;
  QImage* image_;
  TPoint penPos_;
  mutable std::shared_ptr<FontCache> fontCache_;
};

// Conversions between TColor ($00BBGGRR) and the image's 0xAARRGGBB pixels.
constexpr std::uint32_t ToPixel(TColor c) {
  return 0xFF000000u | (TColor(GetRValue(c)) << 16) | (TColor(GetGValue(c)) << 8) | GetBValue(c);
}
constexpr TColor FromPixel(std::uint32_t p) {
  return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}
