#include "widgets/scrolling_panel.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

TScrollingPanel::TScrollingPanel(QWidget* AOwner) : QFrame(AOwner) {
  timer_.setInterval(30);
  connect(&timer_, &QTimer::timeout, this, &TScrollingPanel::Step);
}

void TScrollingPanel::SetLines(const QStringList& Value) {
  lines_ = Value;
  update();
}

void TScrollingPanel::SetActive(bool Value) {
  if (Value == active_) return;
  active_ = Value;
  if (active_) {
    scrollPos_ = contentsRect().bottom() + 1;
    timer_.start();
    if (onStartPlay_) onStartPlay_(this);
  } else {
    timer_.stop();
    if (onStopPlay_) onStopPlay_(this);
  }
  update();
}

void TScrollingPanel::SetInterval(int Value) { timer_.setInterval(std::max(Value, 1)); }

void TScrollingPanel::SetTextRaised(bool Value) {
  textRaised_ = Value;
  update();
}

void TScrollingPanel::SetTextColor(const QColor& Value) {
  textColor_ = Value;
  update();
}

int TScrollingPanel::LineHeight() const { return QFontMetrics(font()).lineSpacing(); }

void TScrollingPanel::Step() {
  if (!active_) return;
  --scrollPos_;
  // Played out once the last line's bottom has passed the top edge.
  if (scrollPos_ + int(lines_.size()) * LineHeight() <= contentsRect().top())
    SetActive(false);
  else
    update();
}

void TScrollingPanel::paintEvent(QPaintEvent* event) {
  QFrame::paintEvent(event);
  if (!active_) return;
  QPainter painter(this);
  painter.setClipRect(contentsRect());
  painter.setFont(font());
  const int h = LineHeight();
  const QColor light = palette().color(QPalette::Light);
  const QColor dark = palette().color(QPalette::Dark);
  for (int i = 0; i < lines_.size(); ++i) {
    const QRect line(contentsRect().left(), scrollPos_ + i * h, contentsRect().width(), h);
    if (!line.intersects(contentsRect())) continue;
    if (textRaised_) {
      painter.setPen(light);
      painter.drawText(line.translated(-1, -1), Qt::AlignHCenter | Qt::AlignTop, lines_[i]);
      painter.setPen(dark);
      painter.drawText(line.translated(1, 1), Qt::AlignHCenter | Qt::AlignTop, lines_[i]);
    }
    painter.setPen(textColor_);
    painter.drawText(line, Qt::AlignHCenter | Qt::AlignTop, lines_[i]);
  }
}

void TScrollingPanel::mousePressEvent(QMouseEvent* event) {
  pressed_ = event->button() == Qt::LeftButton;
  QFrame::mousePressEvent(event);
}

void TScrollingPanel::mouseReleaseEvent(QMouseEvent* event) {
  const bool click = pressed_ && event->button() == Qt::LeftButton &&
                     rect().contains(event->position().toPoint());
  pressed_ = false;
  QFrame::mouseReleaseEvent(event);
  if (click && onClick_) onClick_(this);
}
