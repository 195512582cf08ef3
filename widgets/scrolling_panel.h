#pragma once
// TScrollingPanel: a panel that, while Active, scrolls its Lines upward from
// below its bottom edge until the last line has left its top edge, then
// stops by itself. It reports the start and the end of playing (however it
// ends: by itself, by SetActive(false) or by Stop()) and clicks on it.
#include <QColor>
#include <QFrame>
#include <QStringList>
#include <QTimer>

#include "platform/control.h"

class TScrollingPanel : public QFrame {
  Q_OBJECT
 public:
  explicit TScrollingPanel(QWidget* AOwner = nullptr);

  const QStringList& Lines() const { return lines_; }
  void SetLines(const QStringList& Value);

  bool Active() const { return active_; }
  // Starting begins at the bottom again; each change of state is reported
  // once through OnStartPlay / OnStopPlay.
  void SetActive(bool Value);
  void Play() { SetActive(true); }
  void Stop() { SetActive(false); }

  // Milliseconds per one-pixel step while playing (at least 1).
  int Interval() const { return timer_.interval(); }
  void SetInterval(int Value);

  // Text drawn raised: a light edge above left, a dark one below right.
  bool TextRaised() const { return textRaised_; }
  void SetTextRaised(bool Value);
  QColor TextColor() const { return textColor_; }
  void SetTextColor(const QColor& Value);

  // Vertical position of the first line's top, relative to the panel's top.
  int ScrollPos() const { return scrollPos_; }
  int LineHeight() const;
  // One step of the animation; stops playing when the text is gone.
  void Step();

  TNotifyEvent OnStartPlay() const { return onStartPlay_; }
  void SetOnStartPlay(TNotifyEvent Value) { onStartPlay_ = std::move(Value); }
  TNotifyEvent OnStopPlay() const { return onStopPlay_; }
  void SetOnStopPlay(TNotifyEvent Value) { onStopPlay_ = std::move(Value); }
  TNotifyEvent OnClick() const { return onClick_; }
  void SetOnClick(TNotifyEvent Value) { onClick_ = std::move(Value); }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  QStringList lines_;
  bool active_ = false;
  bool textRaised_ = true;
  bool pressed_ = false;
  QColor textColor_ = Qt::blue;
  int scrollPos_ = 0;
  QTimer timer_;
  TNotifyEvent onStartPlay_;
  TNotifyEvent onStopPlay_;
  TNotifyEvent onClick_;
};
