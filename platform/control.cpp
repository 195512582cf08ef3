// TCustomControl: surface bitmap, paint scheduling, mouse translation,
// cursor shapes and client alignment.
#include "platform/control.h"

#include <QEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>
#include <climits>
#include <cmath>

namespace {

enum { kPress, kMove, kRelease };

TShiftState shiftOf(const QMouseEvent* e) {
  TShiftState s = 0;
  const Qt::KeyboardModifiers m = e->modifiers();
  if (m & Qt::ShiftModifier) s |= ssShift;
  if (m & Qt::AltModifier) s |= ssAlt;
  if (m & Qt::ControlModifier) s |= ssCtrl;
  const Qt::MouseButtons b = e->buttons();
  if (b & Qt::LeftButton) s |= ssLeft;
  if (b & Qt::RightButton) s |= ssRight;
  if (b & Qt::MiddleButton) s |= ssMiddle;
  return s;
}

bool buttonOf(Qt::MouseButton b, TMouseButton* out) {
  switch (b) {
    case Qt::LeftButton: *out = mbLeft; return true;
    case Qt::RightButton: *out = mbRight; return true;
    case Qt::MiddleButton: *out = mbMiddle; return true;
    default: return false;
  }
}

// The pixel under a (possibly fractional) position.
int pixelOf(double v) {
  if (!(v == v)) return 0;
  return int(std::clamp(std::floor(v), double(INT_MIN), double(INT_MAX)));
}

}  // namespace

TCustomControl::TCustomControl(QWidget* AOwner) : QWidget(AOwner) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMouseTracking(true);
}

TCustomControl::~TCustomControl() = default;

void TCustomControl::syncSurface() {
  if (surface_.Width() == width() && surface_.Height() == height()) return;
  surface_.SetSize(width(), height());
  stale_ = true;
}

void TCustomControl::Invalidate() {
  stale_ = true;
  update();
}

void TCustomControl::Repaint() {
  syncSurface();
  if (painting_) {
    Invalidate();
    return;
  }
  runPaint();
  update();
}

// The mark is cleared before the paint, so that whatever asks for a
// repaint while it runs (a setting typed meanwhile, a resize, the
// control's own deferred request) keeps the surface stale and gets its
// paint afterwards.
void TCustomControl::runPaint() {
  stale_ = false;
  painting_ = true;
  Paint();
  painting_ = false;
  if (stale_) update();
}

void TCustomControl::schedulePaint() {
  if (paintScheduled_) return;
  paintScheduled_ = true;
  QMetaObject::invokeMethod(
      this,
      [this] {
        paintScheduled_ = false;
        if (stale_ && !painting_) Repaint();
      },
      Qt::QueuedConnection);
}

void TCustomControl::Paint() {
  TCanvas& c = *Canvas();
  const TBrush saved = c.Brush;
  c.Brush.Color = clWhite;
  c.Brush.Style = bsSolid;
  c.FillRect(ClientRect());
  c.Brush = saved;
}

void TCustomControl::paintEvent(QPaintEvent* event) {
  syncSurface();
  // While a Paint() runs (its messages delivered this event) the surface
  // holds the last finished picture: that is shown, and the window is
  // updated again once the paint has ended (runPaint).
  if (stale_ && !painting_) {
    if (PaintRunsMessages())
      schedulePaint();
    else
      runPaint();
  }
  QPainter painter(this);
  painter.drawImage(event->rect(), surface_.Image(), event->rect());
}

void TCustomControl::resizeEvent(QResizeEvent*) {
  syncSurface();
  Invalidate();
}

// --- Cursor and alignment ----------------------------------------------------

void TCustomControl::SetCursor(TCursor value) {
  cursor_ = value;
  switch (value) {
    case crCross: setCursor(Qt::CrossCursor); break;
    case crHourGlass: setCursor(Qt::WaitCursor); break;
    case crHandPoint: setCursor(Qt::PointingHandCursor); break;
    case crDefault:
    case crArrow: setCursor(Qt::ArrowCursor); break;
  }
}

void TCustomControl::SetAlign(TAlign value) {
  align_ = value;
  followParent();
}

// Watches the current parent while aligned to its client area.
void TCustomControl::followParent() {
  QWidget* parent = parentWidget();
  if (alignParent_ && (alignParent_ != parent || align_ != alClient))
    alignParent_->removeEventFilter(this);
  alignParent_ = nullptr;
  if (align_ != alClient || !parent) return;
  alignParent_ = parent;
  parent->installEventFilter(this);
  setGeometry(parent->contentsRect());
}

bool TCustomControl::eventFilter(QObject* watched, QEvent* event) {
  if (watched == alignParent_ && align_ == alClient && event->type() == QEvent::Resize)
    setGeometry(alignParent_->contentsRect());
  return QWidget::eventFilter(watched, event);
}

bool TCustomControl::event(QEvent* event) {
  if (event->type() == QEvent::ParentChange) followParent();
  return QWidget::event(event);
}

// --- Mouse -------------------------------------------------------------------

void TCustomControl::mouseEvent(QMouseEvent* event, int kind) {
  const TShiftState shift = shiftOf(event);
  const int x = pixelOf(event->position().x()), y = pixelOf(event->position().y());
  if (kind == kMove) {
    MouseMove(shift, x, y);
    return;
  }
  TMouseButton button;
  if (!buttonOf(event->button(), &button)) return;
  if (kind == kPress)
    MouseDown(button, shift, x, y);
  else
    MouseUp(button, shift, x, y);
}

void TCustomControl::mousePressEvent(QMouseEvent* event) { mouseEvent(event, kPress); }
void TCustomControl::mouseMoveEvent(QMouseEvent* event) { mouseEvent(event, kMove); }
void TCustomControl::mouseReleaseEvent(QMouseEvent* event) { mouseEvent(event, kRelease); }

void TCustomControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (onMouseDown_) onMouseDown_(this, Button, Shift, X, Y);
}

void TCustomControl::MouseMove(TShiftState Shift, int X, int Y) {
  if (onMouseMove_) onMouseMove_(this, Shift, X, Y);
}

void TCustomControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (onMouseUp_) onMouseUp_(this, Button, Shift, X, Y);
}
