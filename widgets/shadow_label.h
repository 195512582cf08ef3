#pragma once
// TShadowLabel: a label whose text casts a drop shadow to the lower right,
// as the program's title lines in the splash and about windows do. Text,
// font, alignment and word wrap are those of QLabel; the shadow is the same
// text drawn first, ShadowSize pixels down and to the right, in ShadowColor.
#include <QColor>
#include <QLabel>

class TShadowLabel : public QLabel {
  Q_OBJECT
  Q_PROPERTY(QColor ShadowColor READ ShadowColor WRITE SetShadowColor)
  Q_PROPERTY(int ShadowSize READ ShadowSize WRITE SetShadowSize)
 public:
  explicit TShadowLabel(QWidget* AOwner = nullptr);

  QColor ShadowColor() const { return shadowColor_; }
  void SetShadowColor(const QColor& Value);
  int ShadowSize() const { return shadowSize_; }
  // Offsets beyond a few pixels look like a second label; kept within 0..10.
  void SetShadowSize(int Value);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QColor shadowColor_ = QColor(0x80, 0x80, 0x80);
  int shadowSize_ = 2;
};
