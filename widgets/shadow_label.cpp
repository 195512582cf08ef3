#include "widgets/shadow_label.h"

#include <QPainter>
#include <algorithm>

TShadowLabel::TShadowLabel(QWidget* AOwner) : QLabel(AOwner) {}

void TShadowLabel::SetShadowColor(const QColor& Value) {
  if (Value == shadowColor_) return;
  shadowColor_ = Value;
  update();
}

void TShadowLabel::SetShadowSize(int Value) {
  Value = std::clamp(Value, 0, 10);
  if (Value == shadowSize_) return;
  shadowSize_ = Value;
  update();
}

void TShadowLabel::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  int flags = int(alignment());
  if (wordWrap()) flags |= Qt::TextWordWrap;
  // The text keeps clear of the shadow: it is laid out in the area less the
  // offset, and the shadow is the same layout moved by the offset.
  const QRect area = contentsRect().adjusted(0, 0, -shadowSize_, -shadowSize_);
  painter.setFont(font());
  painter.setPen(shadowColor_);
  painter.drawText(area.translated(shadowSize_, shadowSize_), flags, text());
  painter.setPen(palette().color(foregroundRole()));
  painter.drawText(area, flags, text());
}
