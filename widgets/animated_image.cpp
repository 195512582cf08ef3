#include "widgets/animated_image.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

TAnimatedImage::TAnimatedImage(QWidget* AOwner) : QWidget(AOwner) {
  timer_.setInterval(300);
  connect(&timer_, &QTimer::timeout, this, &TAnimatedImage::NextFrame);
  setMouseTracking(true);  // moves without a pressed button count too
}

void TAnimatedImage::SetFrames(const QList<QImage>& Value) {
  frames_ = Value;
  frameIndex_ = 0;
  SetActive(wantActive_);  // a running animation keeps running if it still can
  update();
}

void TAnimatedImage::SetFrameIndex(int Value) {
  if (Value < 0 || Value >= FrameCount() || Value == frameIndex_) return;
  frameIndex_ = Value;
  update();
}

void TAnimatedImage::SetInterval(int Value) { timer_.setInterval(std::max(Value, 1)); }

void TAnimatedImage::SetActive(bool Value) {
  wantActive_ = Value;
  if (Value && FrameCount() > 1)
    timer_.start();
  else
    timer_.stop();
}

void TAnimatedImage::NextFrame() {
  if (FrameCount() == 0) return;
  frameIndex_ = (frameIndex_ + 1) % FrameCount();
  update();
}

QSize TAnimatedImage::sizeHint() const {
  return frames_.isEmpty() ? QSize(32, 32) : frames_.front().size();
}

void TAnimatedImage::paintEvent(QPaintEvent*) {
  if (frames_.isEmpty()) return;
  QPainter painter(this);
  painter.drawImage(rect(), frames_.at(frameIndex_));
}

void TAnimatedImage::mouseMoveEvent(QMouseEvent* event) {
  QWidget::mouseMoveEvent(event);
  if (onMouseMove_) onMouseMove_(this);
}
