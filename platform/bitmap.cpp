// placeholder, replaced by the real bitmap
#include "platform/bitmap.h"
TBitmap::TBitmap() : canvas_(&image_) {}
TBitmap::TBitmap(int w, int h) : canvas_(&image_) { SetSize(w, h); }
TBitmap::~TBitmap() = default;
void TBitmap::SetSize(int w, int h) {
  image_ = QImage(std::max(w, 0), std::max(h, 0), QImage::Format_RGB32);
  image_.fill(0xFFFFFFFF);
}
bool TBitmap::SaveToFile(const QString&, QString*) const { return false; }
