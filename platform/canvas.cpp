// placeholder, replaced by the real canvas
#include "platform/canvas.h"
#include "platform/bitmap.h"
TCanvas::TCanvas(QImage* image) : image_(image) {}
int TCanvas::Width() const { return image_->width(); }
int TCanvas::Height() const { return image_->height(); }
void TCanvas::MoveTo(int x, int y) { penPos_ = {x, y}; }
void TCanvas::LineTo(int x, int y) { penPos_ = {x, y}; }
void TCanvas::Polyline(const std::vector<TPoint>&) {}
void TCanvas::Polygon(const std::vector<TPoint>&) {}
void TCanvas::Rectangle(int, int, int, int) {}
void TCanvas::FillRect(const TRect&) {}
void TCanvas::Ellipse(int, int, int, int) {}
void TCanvas::TextOut(int, int, const QString&) {}
int TCanvas::TextWidth(const QString&) const { return 0; }
int TCanvas::TextHeight(const QString&) const { return 0; }
void TCanvas::FloodFill(int, int, TColor, TFillStyle) {}
TColor TCanvas::Pixel(int, int) const { return clInvalid; }
void TCanvas::SetPixel(int, int, TColor) {}
void TCanvas::CopyRect(const TRect&, const TCanvas&, const TRect&) {}
void TCanvas::Draw(int, int, const TBitmap&) {}
void TCanvas::StretchDraw(const TRect&, const TBitmap&) {}
void TCanvas::plot(int, int, std::uint32_t) {}
void TCanvas::line(int, int, int, int) {}
