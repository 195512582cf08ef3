#pragma once
// TVectorPicture: what a TCanvas draws, kept as vectors, so that the drawing
// steps that make a bitmap also make an SVG, a PDF, a printed page or a
// picture at any pixel density.
//
// A canvas whose Recorder is set hands every operation it draws in copy
// mode to the picture (not-xor overlays belong to the screen and are left
// out): lines and outlines as strokes of the pen's width, boxes, polygons
// and ellipses as filled paths, texts as text in the canvas's font, and each
// flood fill as the outline of the region it filled.
//
// Geometry: the canvas paints pixel (x, y) as the square [x, x+1) x
// [y, y+1). Strokes therefore run through pixel centres (x + 0.5, y + 0.5)
// and boxes cover [x1, x2) x [y1, y2) exactly, so the vector picture and
// the bitmap overlap.
//
// Fills: the bitmap's flood fill stops at pixels of the border colour. Its
// region is traced again at TraceScale times the resolution: the filled
// pixels and their neighbours are the room, the vector strokes and fills of
// the border colour recorded before are the walls (kept as runs of fine
// cells per fine row, found from the strokes' outlines), and the outline of
// what a flood from the seed reaches, through the middles of the fine cell
// edges, is simplified by half a fine pixel. The outline then lies within
// 1/TraceScale pixel of the edge of the strokes drawn over it (sampling at
// fine pixel centres half a fine pixel, the simplification another half).
// Where the seed has no room at the fine resolution the bitmap's own pixels
// are traced instead.
#include <QColor>
#include <QFont>
#include <QPainterPath>
#include <QImage>
#include <QRect>
#include <QString>
#include <cstdint>
#include <vector>

#include "platform/color.h"

class QPainter;
class QPaintDevice;

class TVectorPicture {
 public:
  // A filled run of a row of the bitmap: pixels Left..Right of row Y.
  struct Span {
    int Y, Left, Right;
  };
  // Cells l..r of a row.
  struct Run {
    int l, r;
  };

  TVectorPicture(int Width = 0, int Height = 0) : width_(Width), height_(Height) {}
  int Width() const { return width_; }
  int Height() const { return height_; }
  void SetSize(int Width, int Height) {
    width_ = Width;
    height_ = Height;
  }
  // Fine pixels per bitmap pixel of the traced fill outlines (1..16).
  int TraceScale() const { return traceScale_; }
  void SetTraceScale(int Value);
  // The scale at which the outlines lie within Tolerance points of the true
  // ones when one bitmap pixel is PointsPerPixel points on the output.
  static int TraceScaleFor(double PointsPerPixel, double Tolerance = 0.25);

  // --- What the canvas records ----------------------------------------------
  // Segments through the pixel centres of Points (closed: back to the first).
  // A stroke that goes on where the last one of the same pen ended joins it.
  void Stroke(const std::vector<QPoint>& Points, bool Closed, TColor Color, int Width);
  void StrokePath(const QPainterPath& Path, TColor Color, double Width);
  void FillPath(const QPainterPath& Path, TColor Color);
  void FillBox(int X1, int Y1, int X2, int Y2, TColor Color);
  // Text at its cell's top-left; Font.Size in points at 96 dots per inch.
  void Text(int X, int Y, const QString& Text, const QString& FontName, int FontSize,
            unsigned FontStyle, TColor Color);
  // A flood fill from Seed in Color that stopped at Border and filled Spans
  // (Border clInvalid: a fill of one surface colour, traced as it is).
  // Bitmap is the size of the bitmap filled.
  void Flood(QPoint Seed, TColor Color, TColor Border, const std::vector<Span>& Spans, QSize Bitmap);

  // --- Playing it back -------------------------------------------------------
  // Draws the picture with the painter's transformation (one unit = one
  // bitmap pixel).
  void Play(QPainter& Painter) const;
  // The picture at Scale times its size on white, antialiased or (to
  // compare with the bitmap pixel by pixel) not.
  QImage ToImage(double Scale = 1, bool Antialiased = true) const;
  // SVG (the picture's size in pixels at 96 dots per inch, with Title) and
  // one-page PDF (the same size in points); empty when they cannot be made.
  QByteArray ToSvg(const QString& Title = QString()) const;
  QByteArray ToPdf(const QString& Title = QString()) const;

  // The outlines of the flood-filled regions, in the order filled.
  std::vector<QPainterPath> Regions() const;
  int RegionCount() const;
  int TextCount() const;
  bool IsEmpty() const { return ops_.empty(); }

 private:
  struct Op {
    enum Kind { opStroke, opFill, opText } Kind;
    QPainterPath Path;
    QColor Color;
    double Width = 1;
    bool Region = false;
    QPointF At;
    QString Text;
    QFont Font;
    QRectF Box;  // a fill of this axis-parallel box (else empty)
  };
  // The walls at TraceScale times the bitmap's resolution, as the runs of
  // wall cells of each fine row (sorted, apart).
  struct Walls {
    bool Valid = false;
    TColor Border = 0;
    int Scale = 0;
    QSize Bitmap;
    std::size_t Drawn = 0;  // drawn_ when made
    QRect Box;              // of the bitmap, where the walls are
    std::vector<std::vector<Run>> Rows;
  };
  Walls& WallsFor(TColor Border, QSize Bitmap);
  // The first operation not hidden under a later box over the whole bitmap.
  std::size_t FirstSeen(QSize Bitmap) const;
  QPainterPath TraceRegion(QPoint Seed, TColor Border, const std::vector<Span>& Spans, QSize Bitmap);
  std::vector<Op> ops_;
  std::size_t drawn_ = 0;  // operations other than fills recorded so far
  Walls walls_;
  int width_ = 0;
  int height_ = 0;
  int traceScale_ = 3;
};

// The outline of a set of pixel runs (merged where they touch), as closed
// loops around the runs with holes, one unit per pixel, collinear corners
// removed. With a Tolerance the runs are samples (at pixel centres) of a
// smooth region: the loops then run through the middles of the pixel
// edges, within half a unit of its edge, simplified by Tolerance units.
// Exposed for tests.
QPainterPath TraceSpans(std::vector<TVectorPicture::Span> Spans, double Tolerance);
