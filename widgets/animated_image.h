#pragma once
// TAnimatedImage: shows a sequence of equally sized frames one after the
// other, one frame every Interval milliseconds while Active, starting over
// after the last. Mouse movement over it is reported through OnMouseMove.
#include <QImage>
#include <QList>
#include <QTimer>
#include <QWidget>

#include "platform/control.h"

class TAnimatedImage : public QWidget {
  Q_OBJECT
 public:
  explicit TAnimatedImage(QWidget* AOwner = nullptr);

  const QList<QImage>& Frames() const { return frames_; }
  // Starts again at the first frame.
  void SetFrames(const QList<QImage>& Value);
  int FrameCount() const { return int(frames_.size()); }
  int FrameIndex() const { return frameIndex_; }
  // Out-of-range indices are ignored.
  void SetFrameIndex(int Value);

  int Interval() const { return timer_.interval(); }
  // At least 1 ms, so that a zero never spins the event loop.
  void SetInterval(int Value);
  bool Active() const { return timer_.isActive(); }
  // Nothing runs without at least two frames to show.
  void SetActive(bool Value);

  // What one tick of the timer does: the next frame, wrapping around.
  void NextFrame();

  TNotifyEvent OnMouseMove() const { return onMouseMove_; }
  void SetOnMouseMove(TNotifyEvent Value) { onMouseMove_ = std::move(Value); }

  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;

 private:
  QList<QImage> frames_;
  int frameIndex_ = 0;
  bool wantActive_ = false;
  QTimer timer_;
  TNotifyEvent onMouseMove_;
};
