#pragma once
// TCustomControl: a custom-painted widget that owns a surface bitmap of its
// own size. The surface is "the control's canvas": Paint() draws on it (or
// copies a finished picture onto it), paintEvent only copies it to the
// window, pixel reads read it. Nothing ever reads the real screen, so a
// control works and can be tested headless.
#include <QPointer>
#include <QWidget>
#include <functional>

#include "platform/bitmap.h"
#include "platform/canvas.h"

class QMouseEvent;

enum TMouseButton { mbLeft, mbRight, mbMiddle };

using TShiftState = unsigned;
constexpr TShiftState ssShift = 1, ssAlt = 2, ssCtrl = 4, ssLeft = 8, ssRight = 16, ssMiddle = 32;

enum TCursor { crDefault, crArrow, crCross, crHourGlass, crHandPoint };

enum TAlign { alNone, alClient };

using TControlStyle = unsigned;
constexpr TControlStyle csOpaque = 1, csFramed = 2;

using TNotifyEvent = std::function<void(QObject* Sender)>;
using TMouseEvent =
    std::function<void(QObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = std::function<void(QObject* Sender, TShiftState Shift, int X, int Y)>;

class TCustomControl : public QWidget {
  Q_OBJECT
 public:
  explicit TCustomControl(QWidget* AOwner = nullptr);
  ~TCustomControl() override;

  // The surface; its size follows the control's size.
  // A control resized while hidden gets its resize event only when shown;
  // the surface follows the size at once all the same.
  TCanvas* Canvas() {
    syncSurface();
    return surface_.Canvas();
  }
  TBitmap& Surface() {
    syncSurface();
    return surface_;
  }

  int Width() const { return width(); }
  int Height() const { return height(); }
  void SetWidth(int w) { resize(w, height()); }
  void SetHeight(int h) { resize(width(), h); }
  TRect ClientRect() const { return TRect{0, 0, width(), height()}; }

  // Marks the surface stale and schedules an update; the next paintEvent
  // runs Paint() first (or, for a paint that lets messages run, right after
  // the paint event; see PaintRunsMessages).
  virtual void Invalidate();
  // Runs Paint() at once, then schedules the copy to the window. Asked for
  // while a Paint() is running, it only marks the surface stale: the paint
  // follows once the running one has ended.
  virtual void Repaint();
  // The surface is out of date: marked stale, or not yet of the control's
  // size (a control resized while hidden).
  bool Stale() const {
    return stale_ || surface_.Width() != width() || surface_.Height() != height();
  }
  // True while Paint() runs.
  bool Painting() const { return painting_; }

  TCursor Cursor() const { return cursor_; }
  void SetCursor(TCursor value);

  TAlign Align() const { return align_; }
  // alClient keeps the control filling its parent's client area.
  void SetAlign(TAlign value);

  TControlStyle ControlStyle() const { return controlStyle_; }
  void SetControlStyle(TControlStyle value) { controlStyle_ = value; }

  TMouseEvent OnMouseDown() const { return onMouseDown_; }
  void SetOnMouseDown(TMouseEvent e) { onMouseDown_ = std::move(e); }
  TMouseMoveEvent OnMouseMove() const { return onMouseMove_; }
  void SetOnMouseMove(TMouseMoveEvent e) { onMouseMove_ = std::move(e); }
  TMouseEvent OnMouseUp() const { return onMouseUp_; }
  void SetOnMouseUp(TMouseEvent e) { onMouseUp_ = std::move(e); }

 protected:
  // Draws the whole control onto its surface. The default fills it white.
  virtual void Paint();
  // True when the next Paint() may let pending messages run (a long
  // computation that keeps the program responsive). Such a paint is never
  // run inside a paint event: the window system's paint of the whole window
  // is still open there, and a message that paints the window again (an
  // expose, a resize) would pull the device from under it. The paint event
  // shows the last finished picture instead and the paint runs right after.
  virtual bool PaintRunsMessages() const { return false; }
  // Raised from Qt's mouse events; the base versions fire the published
  // OnMouseDown/Move/Up events.
  virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
  virtual void MouseMove(TShiftState Shift, int X, int Y);
  virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);

  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  bool event(QEvent* event) override;

 private:
  void syncSurface();
  void runPaint();
  void schedulePaint();
  void followParent();
  void mouseEvent(QMouseEvent* event, int kind);
  TBitmap surface_;
  bool stale_ = true;
  bool painting_ = false;       // Paint() is running
  bool paintScheduled_ = false;  // a deferred paint is queued
  TCursor cursor_ = crDefault;
  TAlign align_ = alNone;
  TControlStyle controlStyle_ = 0;
  TMouseEvent onMouseDown_;
  TMouseMoveEvent onMouseMove_;
  TMouseEvent onMouseUp_;
  QPointer<QWidget> alignParent_;  // the parent watched for alClient
};
