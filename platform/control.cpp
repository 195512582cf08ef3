// placeholder, replaced by the real control
#include "platform/control.h"
#include <QPainter>
TCustomControl::TCustomControl(QWidget* AOwner) : QWidget(AOwner) {}
TCustomControl::~TCustomControl() = default;
void TCustomControl::Invalidate() { stale_ = true; update(); }
void TCustomControl::Repaint() { Paint(); stale_ = false; update(); }
void TCustomControl::SetCursor(TCursor value) { cursor_ = value; }
void TCustomControl::SetAlign(TAlign value) { align_ = value; }
void TCustomControl::Paint() {}
void TCustomControl::MouseDown(TMouseButton, TShiftState, int, int) {}
void TCustomControl::MouseMove(TShiftState, int, int) {}
void TCustomControl::MouseUp(TMouseButton, TShiftState, int, int) {}
void TCustomControl::paintEvent(QPaintEvent*) {
  if (stale_) { Paint(); stale_ = false; }
  QPainter p(this);
  p.drawImage(0, 0, surface_.Image());
}
void TCustomControl::resizeEvent(QResizeEvent*) { surface_.SetSize(width(), height()); Invalidate(); }
void TCustomControl::mousePressEvent(QMouseEvent*) {}
void TCustomControl::mouseMoveEvent(QMouseEvent*) {}
void TCustomControl::mouseReleaseEvent(QMouseEvent*) {}
bool TCustomControl::eventFilter(QObject* w, QEvent* e) { return QWidget::eventFilter(w, e); }
