#pragma once
// What the painting tests share: a diagram whose zoom state a test can set,
// and pixel helpers that look for texts and colours on a painted surface.
#include <QString>
#include <algorithm>
#include <optional>

#include "diagram/binagram.h"

namespace painttest {

// A diagram whose zoom and edge-sampling state a test can set directly.
class TestBinagram : public TBinagram {
 public:
  using TBinagram::TBinagram;
  using TBinagram::SetZooming;
  using TBinagram::TakeEdgeSeeds;
};

inline TCanvas& Surface(TBinagram& g) { return *g.Canvas(); }

inline TRect PlotRect(const TBinagram& g) {
  return TRect{g.PlotLeft(), g.PlotTop(), g.PlotLeft() + g.PlotWidth(),
               g.PlotTop() + g.PlotHeight()};
}

// Pixels of colour c inside r (right and bottom excluded).
inline int CountColor(const TCanvas& c, TColor color, TRect r) {
  int n = 0;
  for (int y = r.Top; y < r.Bottom; ++y)
    for (int x = r.Left; x < r.Right; ++x)
      if (c.Pixel(x, y) == color) ++n;
  return n;
}

// Where `text`, drawn with `font` on a `brush` background, appears inside
// `region` (its top-left corner), if it does. With `rows` > 0 only that many
// top rows of the text cell are compared (a cell the next line overlaps).
inline std::optional<TPoint> FindText(const TCanvas& c, const QString& text, const TFont& font,
                                      TColor brush, TRect region, int rows = 0) {
  TBitmap ref(1, 1);
  ref.Canvas()->Font = font;
  const int w = ref.Canvas()->TextWidth(text);
  int h = ref.Canvas()->TextHeight(text);
  ref.SetSize(w, h);
  TCanvas& rc = *ref.Canvas();
  rc.Font = font;
  rc.Brush.Color = brush;
  rc.Brush.Style = bsSolid;
  rc.TextOut(0, 0, text);
  const int cellHeight = h;
  if (rows > 0) h = std::min(h, rows);
  for (int y = region.Top; y + cellHeight <= region.Bottom; ++y)
    for (int x = region.Left; x + w <= region.Right; ++x) {
      bool same = true;
      for (int v = 0; v < h && same; ++v)
        for (int u = 0; u < w && same; ++u) same = c.Pixel(x + u, y + v) == rc.Pixel(u, v);
      if (same) return TPoint{x, y};
    }
  return std::nullopt;
}

inline TFont ArialFont(int size, unsigned style = 0) {
  return TFont{QStringLiteral("Arial"), size, clBlack, style};
}

// Text measures with a font, as the diagram takes them.
inline int TextHeightOf(const TFont& font, const QString& text) {
  TBitmap b(1, 1);
  b.Canvas()->Font = font;
  return b.Canvas()->TextHeight(text);
}
inline int TextWidthOf(const TFont& font, const QString& text) {
  TBitmap b(1, 1);
  b.Canvas()->Font = font;
  return b.Canvas()->TextWidth(text);
}

}  // namespace painttest
