// TCanvas: exact-pixel drawing straight into the QImage's memory. Lines,
// rectangles, fills, copies and flood fill are done here row by row; Qt is
// used only to fill polygons (aliased, into a mask) and to draw text.
#include "platform/canvas.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QHash>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include <limits>

#include "platform/bitmap.h"
#include "platform/vectorpicture.h"

namespace {

using i64 = std::int64_t;
constexpr int kDotsPerMeter = 3780;  // 96 dots per inch
constexpr std::uint32_t kRgbMask = 0x00FFFFFF;
constexpr std::uint32_t kOpaque = 0xFF000000;

// Direct access to an RGB32 image's pixels; empty for a null image.
struct Raster {
  std::uint32_t* bits = nullptr;
  qsizetype stride = 0;  // in pixels
  int w = 0;
  int h = 0;
  explicit operator bool() const { return bits != nullptr; }
  std::uint32_t* row(i64 y) const { return bits + y * stride; }
};

Raster rasterOf(QImage* image) {
  if (!image || image->isNull()) return {};
  if (image->format() != QImage::Format_RGB32)
    *image = image->convertToFormat(QImage::Format_RGB32);
  return {reinterpret_cast<std::uint32_t*>(image->bits()), image->bytesPerLine() / 4,
          image->width(), image->height()};
}

inline std::uint32_t notXor(std::uint32_t pen, std::uint32_t dst) {
  return kOpaque | (~(pen ^ dst) & kRgbMask);
}

// Applies a colour to a run of pixels, copying or not-xoring.
inline void applyRun(std::uint32_t* p, i64 n, std::uint32_t pixel, bool xorMode) {
  if (!xorMode) {
    std::fill(p, p + n, pixel);
  } else {
    for (i64 i = 0; i < n; ++i) p[i] = notXor(pixel, p[i]);
  }
}

// Fills [l, r) x [t, b) clipped to the raster.
void fillBox(const Raster& ras, i64 l, i64 t, i64 r, i64 b, std::uint32_t pixel, bool xorMode) {
  l = std::max<i64>(l, 0);
  t = std::max<i64>(t, 0);
  r = std::min<i64>(r, ras.w);
  b = std::min<i64>(b, ras.h);
  if (l >= r || t >= b) return;
  if (xorMode) {
    for (i64 y = t; y < b; ++y) applyRun(ras.row(y) + l, r - l, pixel, true);
    return;
  }
  // One row filled, the others copied from it: memcpy runs at memset speed,
  // a 32-bit fill loop does not.
  std::uint32_t* first = ras.row(t) + l;
  std::fill(first, first + (r - l), pixel);
  for (i64 y = t + 1; y < b; ++y) std::memcpy(ras.row(y) + l, first, std::size_t(r - l) * 4);
}

int clampPenWidth(int w) { return std::clamp(w, 1, 256); }

// Calls plot(x, y) for every pixel of the segment (x0, y0) -> (x1, y1)
// without its end pixel that lies in [0, w) x [0, h). The walk is limited to
// the part of the major axis inside the clip, so wild coordinates cost
// nothing; the minor position is computed exactly at the first visible step.
template <class Plot>
void rasterSegment(i64 x0, i64 y0, i64 x1, i64 y1, int penWidth, i64 w, i64 h, Plot&& plot) {
  const i64 dx = x1 - x0, dy = y1 - y0;
  const i64 adx = dx < 0 ? -dx : dx, ady = dy < 0 ? -dy : dy;
  if (adx == 0 && ady == 0) return;
  const bool xMajor = adx >= ady;
  const i64 n = xMajor ? adx : ady;  // pixels painted along the major axis
  const i64 a = xMajor ? ady : adx;
  const i64 m0 = xMajor ? x0 : y0, c0 = xMajor ? y0 : x0;
  const int s = (xMajor ? dx : dy) < 0 ? -1 : 1;
  const int t = (xMajor ? dy : dx) < 0 ? -1 : 1;
  const i64 mLimit = xMajor ? w : h, cLimit = xMajor ? h : w;
  i64 iLo, iHi;
  if (s > 0) {
    iLo = std::max<i64>(0, -m0);
    iHi = std::min<i64>(n - 1, mLimit - 1 - m0);
  } else {
    iLo = std::max<i64>(0, m0 - (mLimit - 1));
    iHi = std::min<i64>(n - 1, m0);
  }
  if (iLo > iHi) return;
  const int lo = -((penWidth - 1) / 2), hi = lo + penWidth - 1;
  // minor offset q(i) = floor((2 i a + n) / 2n), r its remainder
  const __int128 num = static_cast<__int128>(2) * iLo * a + n;
  i64 q = static_cast<i64>(num / (2 * n));
  i64 r = static_cast<i64>(num % (2 * n));
  for (i64 i = iLo; i <= iHi; ++i) {
    const i64 m = m0 + s * i, c = c0 + t * q;
    for (int k = lo; k <= hi; ++k) {
      const i64 cc = c + k;
      if (cc >= 0 && cc < cLimit) {
        if (xMajor)
          plot(m, cc);
        else
          plot(cc, m);
      }
    }
    r += 2 * a;
    if (r >= 2 * n) {
      r -= 2 * n;
      ++q;
    }
  }
}

// Pixel-centre spans of the ellipse inscribed in [x1, x2) x [y1, y2):
// calls span(y, left, right) with right exclusive, clipped to [0, w) x [0, h).
template <class Span>
void ellipseSpans(i64 x1, i64 y1, i64 x2, i64 y2, i64 w, i64 h, Span&& span) {
  if (x2 <= x1 || y2 <= y1) return;
  const double cx = (double(x1) + double(x2)) / 2, cy = (double(y1) + double(y2)) / 2;
  const double rx = (double(x2) - double(x1)) / 2, ry = (double(y2) - double(y1)) / 2;
  const i64 top = std::max<i64>(y1, 0), bottom = std::min<i64>(y2, h);
  for (i64 y = top; y < bottom; ++y) {
    const double v = (double(y) + 0.5 - cy) / ry;
    if (v * v > 1) continue;
    const double half = rx * std::sqrt(1 - v * v);
    i64 l = static_cast<i64>(std::ceil(cx - half - 0.5));
    i64 r = static_cast<i64>(std::floor(cx + half - 0.5)) + 1;
    l = std::max<i64>({l, x1, 0});
    r = std::min<i64>({r, x2, w});
    if (l < r) span(y, l, r);
  }
}

// Keeps a polygon's part inside [l, r] x [t, b] (Sutherland-Hodgman), so
// that Qt's rasterizer never sees coordinates it cannot represent.
QPolygonF clipPolygon(QPolygonF poly, double l, double t, double r, double b) {
  auto clipEdge = [](const QPolygonF& in, auto inside, auto cross) {
    QPolygonF out;
    for (qsizetype i = 0; i < in.size(); ++i) {
      const QPointF p = in[i], q = in[(i + 1) % in.size()];
      const bool pin = inside(p), qin = inside(q);
      if (pin) out << p;
      if (pin != qin) out << cross(p, q);
    }
    return out;
  };
  auto atX = [](double x) {
    return [x](QPointF p, QPointF q) { return QPointF(x, p.y() + (q.y() - p.y()) * (x - p.x()) / (q.x() - p.x())); };
  };
  auto atY = [](double y) {
    return [y](QPointF p, QPointF q) { return QPointF(p.x() + (q.x() - p.x()) * (y - p.y()) / (q.y() - p.y()), y); };
  };
  poly = clipEdge(poly, [l](QPointF p) { return p.x() >= l; }, atX(l));
  poly = clipEdge(poly, [r](QPointF p) { return p.x() <= r; }, atX(r));
  poly = clipEdge(poly, [t](QPointF p) { return p.y() >= t; }, atY(t));
  poly = clipEdge(poly, [b](QPointF p) { return p.y() <= b; }, atY(b));
  return poly;
}


}  // namespace

struct TCanvas::FontCache {
  bool valid = false;
  QString name;
  int size = 0;
  unsigned style = 0;
  QFont font;
  QFontMetrics metrics{QFont()};
  // Text widths measured with this font: the tables are redrawn on every
  // mouse move with mostly the same texts, and shaping them dominates.
  mutable QHash<QString, int> widths;
  int width(const QString& text) const {
    if (auto it = widths.constFind(text); it != widths.constEnd()) return *it;
    if (widths.size() >= 1024) widths.clear();
    const int w = measure(text);
    widths.insert(text, w);
    return w;
  }
  // Qt adds advances in 26.6 fixed point in an int, which wraps past 2^25
  // pixels: a long text in a large font would come back negative or
  // small. A text that could get near that is measured in pieces well
  // below it, added up in 64 bits; the sum stops at INT_MAX.
  int measure(const QString& text) const {
    constexpr i64 kSafeWidth = i64(1) << 22;
    const i64 widest = std::max(metrics.maxWidth(), 1);
    if (i64(text.size()) * widest < kSafeWidth) return std::max(metrics.horizontalAdvance(text), 0);
    const qsizetype piece = qsizetype(std::max<i64>(1, kSafeWidth / widest));
    i64 sum = 0;
    for (qsizetype i = 0; i < text.size();) {
      qsizetype n = std::min(piece, text.size() - i);
      // A surrogate pair is one character: never cut between its halves.
      if (i + n < text.size() && text.at(i + n - 1).isHighSurrogate()) ++n;
      sum += std::max(metrics.horizontalAdvance(text.mid(i, n)), 0);
      i += n;
    }
    return int(std::min<i64>(sum, std::numeric_limits<int>::max()));
  }
};

const QImage& FontMeasuringDevice() {
  static const QImage device = [] {
    QImage image(1, 1, QImage::Format_RGB32);
    image.setDotsPerMeterX(kDotsPerMeter);
    image.setDotsPerMeterY(kDotsPerMeter);
    return image;
  }();
  return device;
}

TCanvas::TCanvas(QImage* image) : image_(image) {}

int TCanvas::Width() const { return image_ ? image_->width() : 0; }
int TCanvas::Height() const { return image_ ? image_->height() : 0; }

// --- Pixels ----------------------------------------------------------------

TColor TCanvas::Pixel(int x, int y) const {
  if (!image_ || x < 0 || y < 0 || x >= image_->width() || y >= image_->height()) return clInvalid;
  if (image_->format() == QImage::Format_RGB32 || image_->format() == QImage::Format_ARGB32)
    return FromPixel(reinterpret_cast<const std::uint32_t*>(image_->constScanLine(y))[x]);
  return FromPixel(image_->pixel(x, y));
}

void TCanvas::SetPixel(int x, int y, TColor color) {
  const Raster ras = rasterOf(image_);
  if (!ras || x < 0 || y < 0 || x >= ras.w || y >= ras.h) return;
  ras.row(y)[x] = ToPixel(color);
}

// One pen pixel, in the pen's mode.
void TCanvas::plot(int x, int y, std::uint32_t rgb) {
  const Raster ras = rasterOf(image_);
  if (!ras || x < 0 || y < 0 || x >= ras.w || y >= ras.h) return;
  std::uint32_t& p = ras.row(y)[x];
  p = Pen.Mode == pmNotXor ? notXor(rgb, p) : (kOpaque | rgb);
}

// --- Lines -----------------------------------------------------------------

void TCanvas::MoveTo(int x, int y) { penPos_ = {x, y}; }

void TCanvas::LineTo(int x, int y) {
  line(penPos_.X, penPos_.Y, x, y);
  penPos_ = {x, y};
}

void TCanvas::line(int x0, int y0, int x1, int y1) {
  const TPoint pts[2] = {{x0, y0}, {x1, y1}};
  strokePath(pts, 2, false);
}

// Strokes consecutive segments with the pen. In not-xor mode the pixels
// are gathered first so that one call inverts each pixel once.
void TCanvas::strokePath(const TPoint* points, std::size_t count, bool closed) {
  if (Recorder && Pen.Mode == pmCopy && count >= 2) {
    std::vector<QPoint> pts;
    pts.reserve(count);
    for (std::size_t i = 0; i < count; ++i) pts.emplace_back(points[i].X, points[i].Y);
    Recorder->Stroke(pts, closed, Pen.Color, clampPenWidth(Pen.Width));
  }
  const Raster ras = rasterOf(image_);
  if (!ras || count < 2) return;
  const int width = clampPenWidth(Pen.Width);
  const std::uint32_t pixel = ToPixel(Pen.Color);
  const std::size_t segments = closed ? count : count - 1;
  if (Pen.Mode != pmNotXor) {
    for (std::size_t i = 0; i < segments; ++i) {
      const TPoint a = points[i], b = points[(i + 1) % count];
      rasterSegment(a.X, a.Y, b.X, b.Y, width, ras.w, ras.h,
                    [&](i64 x, i64 y) { ras.row(y)[x] = pixel; });
    }
    return;
  }
  std::vector<i64> touched;
  for (std::size_t i = 0; i < segments; ++i) {
    const TPoint a = points[i], b = points[(i + 1) % count];
    rasterSegment(a.X, a.Y, b.X, b.Y, width, ras.w, ras.h,
                  [&](i64 x, i64 y) { touched.push_back(y * ras.stride + x); });
  }
  std::sort(touched.begin(), touched.end());
  touched.erase(std::unique(touched.begin(), touched.end()), touched.end());
  for (const i64 at : touched) ras.bits[at] = notXor(pixel, ras.bits[at]);
}

void TCanvas::Polyline(const std::vector<TPoint>& points) {
  strokePath(points.data(), points.size(), false);
}

// --- Shapes ----------------------------------------------------------------

void TCanvas::Rectangle(int x1, int y1, int x2, int y2) {
  const Raster ras = rasterOf(image_);
  if (!ras) return;
  i64 l = std::min(x1, x2), r = std::max(x1, x2), t = std::min(y1, y2), b = std::max(y1, y2);
  if (l == r || t == b) return;
  const bool xorMode = Pen.Mode == pmNotXor;
  const i64 pw = clampPenWidth(Pen.Width);
  const std::uint32_t pen = ToPixel(Pen.Color);
  if (Recorder && !xorMode) {
    if (Brush.Style != bsClear) Recorder->FillBox(int(l), int(t), int(r), int(b), Brush.Color);
    if (r - l <= 2 * pw || b - t <= 2 * pw) {
      Recorder->FillBox(int(l), int(t), int(r), int(b), Pen.Color);
    } else {
      QPainterPath frame;
      const double h = pw / 2.0;
      frame.addRect(QRectF(l + h, t + h, double(r - l - pw), double(b - t - pw)));
      Recorder->StrokePath(frame, Pen.Color, double(pw));
    }
  }
  // The frame: top and bottom bands full width, the sides between them.
  const i64 topEnd = std::min(t + pw, b), bottomStart = std::max(b - pw, topEnd);
  fillBox(ras, l, t, r, topEnd, pen, xorMode);
  fillBox(ras, l, bottomStart, r, b, pen, xorMode);
  const i64 leftEnd = std::min(l + pw, r), rightStart = std::max(r - pw, leftEnd);
  fillBox(ras, l, topEnd, leftEnd, bottomStart, pen, xorMode);
  fillBox(ras, rightStart, topEnd, r, bottomStart, pen, xorMode);
  if (Brush.Style != bsClear)
    fillBox(ras, leftEnd, topEnd, rightStart, bottomStart, ToPixel(Brush.Color), xorMode);
}

void TCanvas::FillRect(const TRect& r) {
  const Raster ras = rasterOf(image_);
  if (!ras || Brush.Style == bsClear) return;
  if (Recorder) Recorder->FillBox(r.Left, r.Top, r.Right, r.Bottom, Brush.Color);
  fillBox(ras, r.Left, r.Top, r.Right, r.Bottom, ToPixel(Brush.Color), false);
}

void TCanvas::Polygon(const std::vector<TPoint>& points) {
  const Raster ras = rasterOf(image_);
  if (!ras || points.empty()) return;
  const i64 pw = clampPenWidth(Pen.Width);
  if (Recorder && Pen.Mode == pmCopy) {
    std::vector<QPoint> pts;
    for (const TPoint& p : points) pts.emplace_back(p.X, p.Y);
    if (Brush.Style != bsClear && pts.size() >= 3) {
      QPainterPath inside;
      inside.setFillRule(Qt::OddEvenFill);
      QPolygonF poly;
      for (const QPoint& p : pts) poly << QPointF(p.x() + 0.5, p.y() + 0.5);
      inside.addPolygon(poly);
      inside.closeSubpath();
      Recorder->FillPath(inside, Brush.Color);
    }
    if (pts.size() >= 2) Recorder->Stroke(pts, true, Pen.Color, int(pw));
  }
  i64 l = std::numeric_limits<i64>::max(), t = l, r = std::numeric_limits<i64>::min(), b = r;
  for (const TPoint& p : points) {
    l = std::min<i64>(l, p.X);
    t = std::min<i64>(t, p.Y);
    r = std::max<i64>(r, p.X);
    b = std::max<i64>(b, p.Y);
  }
  // The pixels the polygon can touch, within the image.
  l = std::max<i64>(l - pw, 0);
  t = std::max<i64>(t - pw, 0);
  r = std::min<i64>(r + pw + 1, ras.w);
  b = std::min<i64>(b + pw + 1, ras.h);
  if (l >= r || t >= b) return;
  // Mask over that box: 1 = brush, 2 = pen (the pen wins where both).
  const int mw = int(r - l), mh = int(b - t);
  std::vector<std::uint8_t> mask(std::size_t(mw) * mh, 0);
  if (Brush.Style != bsClear && points.size() >= 3) {
    QImage fill(mw, mh, QImage::Format_RGB32);
    fill.fill(0u);
    QPolygonF poly;
    for (const TPoint& p : points) poly << QPointF(double(p.X - l), double(p.Y - t));
    poly = clipPolygon(poly, -2.0 - pw, -2.0 - pw, mw + 2.0 + pw, mh + 2.0 + pw);
    {
      QPainter painter(&fill);
      painter.setRenderHint(QPainter::Antialiasing, false);
      painter.setPen(Qt::NoPen);
      painter.setBrush(QColor(255, 255, 255));
      painter.drawPolygon(poly, Qt::OddEvenFill);
    }
    for (int y = 0; y < mh; ++y) {
      const auto* row = reinterpret_cast<const std::uint32_t*>(fill.constScanLine(y));
      for (int x = 0; x < mw; ++x)
        if (row[x] & kRgbMask) mask[std::size_t(y) * mw + x] = 1;
    }
  }
  const std::size_t n = points.size();
  for (std::size_t i = 0; i < n && n >= 2; ++i) {
    const TPoint a = points[i], c = points[(i + 1) % n];
    rasterSegment(i64(a.X) - l, i64(a.Y) - t, i64(c.X) - l, i64(c.Y) - t, int(pw), mw, mh,
                  [&](i64 x, i64 y) { mask[std::size_t(y) * mw + x] = 2; });
  }
  const bool xorMode = Pen.Mode == pmNotXor;
  const std::uint32_t brush = ToPixel(Brush.Color), pen = ToPixel(Pen.Color);
  for (int y = 0; y < mh; ++y) {
    std::uint32_t* row = ras.row(t + y) + l;
    const std::uint8_t* m = &mask[std::size_t(y) * mw];
    for (int x = 0; x < mw; ++x) {
      if (!m[x]) continue;
      const std::uint32_t c = m[x] == 2 ? pen : brush;
      row[x] = xorMode ? notXor(c, row[x]) : c;
    }
  }
}

// The pen ring is the ellipse less the ellipse inset by the pen width; the
// brush fills the inset one.
void TCanvas::Ellipse(int x1, int y1, int x2, int y2) {
  const Raster ras = rasterOf(image_);
  if (!ras) return;
  const i64 l = std::min(x1, x2), r = std::max(x1, x2), t = std::min(y1, y2), b = std::max(y1, y2);
  const i64 pw = clampPenWidth(Pen.Width);
  const bool xorMode = Pen.Mode == pmNotXor;
  const std::uint32_t pen = ToPixel(Pen.Color), brush = ToPixel(Brush.Color);
  const bool fill = Brush.Style != bsClear;
  if (Recorder && !xorMode && r > l && b > t) {
    if (fill) {
      QPainterPath inside;
      inside.addEllipse(QRectF(l, t, double(r - l), double(b - t)));
      Recorder->FillPath(inside, Brush.Color);
    }
    QPainterPath ring;
    const double h = pw / 2.0;
    ring.addEllipse(QRectF(l + h, t + h, std::max(double(r - l - pw), 0.0), std::max(double(b - t - pw), 0.0)));
    Recorder->StrokePath(ring, Pen.Color, double(pw));
  }
  std::vector<std::pair<i64, i64>> inner(std::size_t(std::max<i64>(0, std::min<i64>(b, ras.h) - std::max<i64>(t, 0))),
                                         {0, 0});
  const i64 top = std::max<i64>(t, 0);
  ellipseSpans(l + pw, t + pw, r - pw, b - pw, ras.w, ras.h,
               [&](i64 y, i64 a, i64 c) { inner[std::size_t(y - top)] = {a, c}; });
  ellipseSpans(l, t, r, b, ras.w, ras.h, [&](i64 y, i64 a, i64 c) {
    std::uint32_t* row = ras.row(y);
    const auto [ia, ic] = inner[std::size_t(y - top)];
    if (ia >= ic) {
      applyRun(row + a, c - a, pen, xorMode);
      return;
    }
    applyRun(row + a, ia - a, pen, xorMode);
    if (fill) applyRun(row + ia, ic - ia, brush, xorMode);
    applyRun(row + ic, c - ic, pen, xorMode);
  });
}

// --- Text ------------------------------------------------------------------

const TCanvas::FontCache& TCanvas::fontCache() const {
  if (!fontCache_) fontCache_ = std::make_shared<FontCache>();
  FontCache& cache = *fontCache_;
  if (!cache.valid || cache.name != Font.Name || cache.size != Font.Size || cache.style != Font.Style) {
    cache.valid = true;
    cache.name = Font.Name;
    cache.size = Font.Size;
    cache.style = Font.Style;
    QFont font(Font.Name);
    font.setPointSize(std::max(Font.Size, 1));
    font.setBold(Font.Style & fsBold);
    font.setItalic(Font.Style & fsItalic);
    font.setUnderline(Font.Style & fsUnderline);
    font.setStyleStrategy(QFont::NoAntialias);
    cache.font = font;
    cache.metrics = QFontMetrics(font, &FontMeasuringDevice());
    cache.widths.clear();
  }
  return cache;
}

int TCanvas::TextWidth(const QString& text) const { return fontCache().width(text); }

int TCanvas::TextHeight(const QString&) const {
  const QFontMetrics& m = fontCache().metrics;
  return m.ascent() + m.descent();
}

void TCanvas::TextOut(int x, int y, const QString& text) {
  const FontCache& cache = fontCache();
  const i64 w = cache.width(text);
  const i64 h = cache.metrics.ascent() + cache.metrics.descent();
  penPos_ = {int(std::clamp<i64>(x + w, std::numeric_limits<int>::min(), std::numeric_limits<int>::max())), y};
  if (Recorder && !text.isEmpty()) {
    if (Brush.Style != bsClear) Recorder->FillBox(x, y, int(std::min<i64>(x + w, INT_MAX)), int(std::min<i64>(y + h, INT_MAX)), Brush.Color);
    Recorder->Text(x, y, text, Font.Name, Font.Size, Font.Style, Font.Color);
  }
  const Raster ras = rasterOf(image_);
  if (!ras || text.isEmpty()) return;
  if (Brush.Style != bsClear) fillBox(ras, x, y, x + w, y + h, ToPixel(Brush.Color), false);
  // Glyphs may overhang their cell a little (italics); beyond that margin
  // the text cannot show, and Qt is not handed far-away coordinates.
  const i64 margin = h + 8;
  if (x + w + margin <= 0 || x - margin >= ras.w || y + h + margin <= 0 || y - margin >= ras.h) return;
  if (image_->dotsPerMeterX() != kDotsPerMeter) image_->setDotsPerMeterX(kDotsPerMeter);
  if (image_->dotsPerMeterY() != kDotsPerMeter) image_->setDotsPerMeterY(kDotsPerMeter);
  QPainter painter(image_);
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.setRenderHint(QPainter::TextAntialiasing, false);
  painter.setFont(cache.font);
  painter.setPen(QColor::fromRgb(ToPixel(Font.Color)));
  painter.drawText(QPoint(x, y + cache.metrics.ascent()), text);
}

// --- Flood fill ------------------------------------------------------------

namespace {

// Marks of the pixels filled so far in border mode, indexed y * width + x.
// All zero between calls (each call clears exactly the spans it marked), so
// it is allocated once per thread, not once per fill.
thread_local std::vector<std::uint8_t> fillVisited;

struct FillSpan {
  int y, l, r;
};

// Span fill: each filled run [l, r] on row y scans the next row in its
// direction over [l, r], and the row it came from only where the run
// reaches past its parent (that part of the parent row is filled already).
// openRow(y) gives a test of row y's pixels, open(x): whether the pixel
// still belongs to the fill; mark(run) records a filled run.
template <class OpenRow, class Mark>
void spanFill(const Raster& ras, int x, int y, std::uint32_t brush, OpenRow openRow, Mark mark) {
  struct Segment {
    int y, l, r, dy;  // scan row y over l..r; row y - dy is filled over l..r
  };
  auto fillRun = [&](int row, int l, int r) {
    mark(FillSpan{row, l, r});
    std::fill(ras.row(row) + l, ras.row(row) + r + 1, brush);
  };
  int l = x, r = x;
  {
    const auto open = openRow(y);
    while (l > 0 && open(l - 1)) --l;
    while (r + 1 < ras.w && open(r + 1)) ++r;
  }
  fillRun(y, l, r);
  std::vector<Segment> stack{{y + 1, l, r, 1}, {y - 1, l, r, -1}};
  while (!stack.empty()) {
    const Segment s = stack.back();
    stack.pop_back();
    if (s.y < 0 || s.y >= ras.h) continue;
    const auto open = openRow(s.y);
    int px = s.l;
    while (px <= s.r) {
      while (px <= s.r && !open(px)) ++px;
      if (px > s.r) break;
      int rl = px, rr = px;
      while (rl > 0 && open(rl - 1)) --rl;  // only the first run can grow left
      while (rr + 1 < ras.w && open(rr + 1)) ++rr;
      fillRun(s.y, rl, rr);
      stack.push_back({s.y + s.dy, rl, rr, s.dy});
      if (rl < s.l) stack.push_back({s.y - s.dy, rl, s.l - 1, -s.dy});
      if (rr > s.r) stack.push_back({s.y - s.dy, s.r + 1, rr, -s.dy});
      px = rr + 2;  // rr + 1 is closed or past the edge
    }
  }
}

}  // namespace

// In border mode the visited marks keep the fill finite where the region
// already holds the brush colour.
void TCanvas::FloodFill(int x, int y, TColor color, TFillStyle style) {
  const Raster ras = rasterOf(image_);
  if (!ras || x < 0 || y < 0 || x >= ras.w || y >= ras.h) return;
  const std::uint32_t key = ToPixel(color) & kRgbMask;
  const std::uint32_t brush = ToPixel(Brush.Color);
  if (style == fsSurface) {
    // Filled pixels take the brush colour, which is not the key: no marks needed.
    if ((ras.row(y)[x] & kRgbMask) != key || key == (brush & kRgbMask)) return;
    std::vector<TVectorPicture::Span> filled;
    spanFill(
        ras, x, y, brush,
        [&](int py) {
          const std::uint32_t* row = ras.row(py);
          return [row, key](int px) { return (row[px] & kRgbMask) == key; };
        },
        [&](const FillSpan& s) {
          if (Recorder) filled.push_back({s.y, s.l, s.r});
        });
    if (Recorder) Recorder->Flood(QPoint(x, y), Brush.Color, clInvalid, filled, QSize(ras.w, ras.h));
    return;
  }
  if ((ras.row(y)[x] & kRgbMask) == key) return;
  const std::size_t w = std::size_t(ras.w);
  std::vector<std::uint8_t>& visited = fillVisited;
  if (visited.size() < w * std::size_t(ras.h)) visited.resize(w * std::size_t(ras.h), 0);
  // Clears the marks on every way out, so the buffer stays zero between calls.
  struct Marks {
    std::vector<std::uint8_t>& visited;
    std::size_t w;
    std::vector<FillSpan> spans;
    ~Marks() {
      for (const FillSpan& s : spans) std::memset(&visited[s.y * w + s.l], 0, std::size_t(s.r - s.l + 1));
    }
  } marks{visited, w, {}};
  std::uint8_t* const vis = visited.data();
  spanFill(
      ras, x, y, brush,
      [&](int py) {
        const std::uint32_t* row = ras.row(py);
        const std::uint8_t* marked = vis + std::size_t(py) * w;
        return [row, marked, key](int px) { return (row[px] & kRgbMask) != key && !marked[px]; };
      },
      [&](const FillSpan& s) {
        marks.spans.push_back(s);  // recorded before marking, so the guard clears it
        std::memset(vis + std::size_t(s.y) * w + s.l, 1, std::size_t(s.r - s.l + 1));
      });
  if (Recorder) {
    std::vector<TVectorPicture::Span> filled;
    filled.reserve(marks.spans.size());
    for (const FillSpan& s : marks.spans) filled.push_back({s.y, s.l, s.r});
    Recorder->Flood(QPoint(x, y), Brush.Color, color, filled, QSize(ras.w, ras.h));
  }
}

// --- Copies ----------------------------------------------------------------

namespace {

// Copies src's [sl, sr) x [st, sb) onto dst's [dl, dr) x [dt, db) with a
// raster operation, nearest pixel when the sizes differ, clipped to both.
void blit(const Raster& dst, i64 dl, i64 dt, i64 dr, i64 db, const QImage& source, i64 sl, i64 st,
          i64 sr, i64 sb, TCopyMode mode) {
  if (mode == BLACKNESS) {
    fillBox(dst, dl, dt, dr, db, kOpaque, false);
    return;
  }
  if (mode != SRCCOPY && mode != SRCINVERT) return;
  const i64 dw = dr - dl, dh = db - dt, sw = sr - sl, sh = sb - st;
  if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0 || source.isNull()) return;
  QImage converted;
  const QImage* src = &source;
  if (source.format() != QImage::Format_RGB32) {  // opaque pixels only
    converted = source.convertToFormat(QImage::Format_RGB32);
    src = &converted;
  }
  const i64 srcW = src->width(), srcH = src->height();
  const bool invert = mode == SRCINVERT;
  auto srcRow = [&](i64 y) { return reinterpret_cast<const std::uint32_t*>(src->constScanLine(int(y))); };
  if (dw == sw && dh == sh) {
    const i64 ox = sl - dl, oy = st - dt;
    const i64 x0 = std::max<i64>({dl, 0, -ox}), x1 = std::min<i64>({dr, dst.w, srcW - ox});
    const i64 y0 = std::max<i64>({dt, 0, -oy}), y1 = std::min<i64>({db, dst.h, srcH - oy});
    if (x0 >= x1 || y0 >= y1) return;
    for (i64 y = y0; y < y1; ++y) {
      std::uint32_t* d = dst.row(y) + x0;
      const std::uint32_t* s = srcRow(y + oy) + x0 + ox;
      if (!invert) {
        std::memmove(d, s, std::size_t(x1 - x0) * 4);
      } else {
        for (i64 i = 0; i < x1 - x0; ++i) d[i] = kOpaque | ((d[i] ^ s[i]) & kRgbMask);
      }
    }
    return;
  }
  // Stretch: each visible destination pixel takes the source pixel under its centre.
  auto sample = [](i64 d, i64 n, i64 s0, i64 sn) {
    return s0 + static_cast<i64>((static_cast<__int128>(2 * d + 1) * sn) / (2 * n));
  };
  const i64 x0 = std::max<i64>(dl, 0), x1 = std::min<i64>(dr, dst.w);
  const i64 y0 = std::max<i64>(dt, 0), y1 = std::min<i64>(db, dst.h);
  if (x0 >= x1 || y0 >= y1) return;
  std::vector<i64> columns(std::size_t(x1 - x0));
  for (i64 x = x0; x < x1; ++x) columns[std::size_t(x - x0)] = sample(x - dl, dw, sl, sw);
  for (i64 y = y0; y < y1; ++y) {
    const i64 sy = sample(y - dt, dh, st, sh);
    if (sy < 0 || sy >= srcH) continue;
    const std::uint32_t* s = srcRow(sy);
    std::uint32_t* d = dst.row(y);
    for (i64 x = x0; x < x1; ++x) {
      const i64 sx = columns[std::size_t(x - x0)];
      if (sx < 0 || sx >= srcW) continue;
      d[x] = invert ? kOpaque | ((d[x] ^ s[sx]) & kRgbMask) : kOpaque | s[sx];
    }
  }
}

// Copies the whole of source onto [dl, dr) x [dt, db); a bitmap drawn onto
// itself is read from its original pixels.
void blitWhole(const Raster& dst, const QImage* target, i64 dl, i64 dt, i64 dr, i64 db,
               const QImage& source, TCopyMode mode) {
  const QImage selfCopy = &source == target ? source.copy() : QImage();
  const QImage& src = selfCopy.isNull() ? source : selfCopy;
  blit(dst, dl, dt, dr, db, src, 0, 0, src.width(), src.height(), mode);
}

}  // namespace

void TCanvas::CopyRect(const TRect& dest, const TCanvas& source, const TRect& sourceRect) {
  const Raster ras = rasterOf(image_);
  if (!ras) return;
  if (Recorder && CopyMode == BLACKNESS) Recorder->FillBox(dest.Left, dest.Top, dest.Right, dest.Bottom, clBlack);
  static const QImage empty;
  QImage selfCopy;
  const QImage* src = source.image_ ? source.image_ : &empty;
  if (src == image_ && CopyMode != BLACKNESS) {
    selfCopy = src->copy();  // rows may overlap
    src = &selfCopy;
  }
  blit(ras, dest.Left, dest.Top, dest.Right, dest.Bottom, *src, sourceRect.Left, sourceRect.Top,
       sourceRect.Right, sourceRect.Bottom, CopyMode);
}

void TCanvas::Draw(int x, int y, const TBitmap& bitmap) {
  const Raster ras = rasterOf(image_);
  if (!ras) return;
  const QImage& src = bitmap.Image();
  blitWhole(ras, image_, x, y, i64(x) + src.width(), i64(y) + src.height(), src, CopyMode);
}

void TCanvas::StretchDraw(const TRect& dest, const TBitmap& bitmap) {
  const Raster ras = rasterOf(image_);
  if (!ras) return;
  blitWhole(ras, image_, dest.Left, dest.Top, dest.Right, dest.Bottom, bitmap.Image(), CopyMode);
}
