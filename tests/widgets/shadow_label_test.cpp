// The drop shadow of TShadowLabel on real pixels.
#include <QImage>
#include <gtest/gtest.h>

#include "widgets/shadow_label.h"

namespace {
// Bounding box of the pixels of exactly one colour.
QRect BoxOf(const QImage& image, QRgb colour) {
  QRect box;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if ((image.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF)) box |= QRect(x, y, 1, 1);
  return box;
}

QImage Render(TShadowLabel& label) {
  QFont font("Arial");
  font.setPixelSize(20);
  font.setBold(true);
  font.setStyleStrategy(QFont::NoAntialias);  // exact colours to look for
  label.setFont(font);
  QPalette pal = label.palette();
  pal.setColor(QPalette::Window, Qt::white);
  pal.setColor(QPalette::WindowText, Qt::black);
  label.setPalette(pal);
  label.setAutoFillBackground(true);
  label.resize(160, 40);
  return label.grab().toImage();
}
}  // namespace

TEST(ShadowLabel, ShadowFallsToTheLowerRightOfTheText) {
  TShadowLabel label;
  label.setText("Phase");
  label.SetShadowColor(Qt::red);
  label.SetShadowSize(3);
  const QImage image = Render(label);
  const QRect text = BoxOf(image, qRgb(0, 0, 0));
  const QRect shadow = BoxOf(image, qRgb(255, 0, 0));
  ASSERT_FALSE(text.isEmpty());
  ASSERT_FALSE(shadow.isEmpty());
  EXPECT_EQ(shadow.right(), text.right() + 3);
  EXPECT_EQ(shadow.bottom(), text.bottom() + 3);
  EXPECT_GT(shadow.top(), text.top());
  EXPECT_GT(shadow.left(), text.left());
}

TEST(ShadowLabel, NoShadowShowsWithSizeZeroAndSizesStayInRange) {
  TShadowLabel label;
  label.setText("Phase");
  label.SetShadowColor(Qt::red);
  label.SetShadowSize(0);
  EXPECT_TRUE(BoxOf(Render(label), qRgb(255, 0, 0)).isEmpty());
  EXPECT_FALSE(BoxOf(Render(label), qRgb(0, 0, 0)).isEmpty());
  label.SetShadowSize(-5);
  EXPECT_EQ(label.ShadowSize(), 0);
  label.SetShadowSize(500);
  EXPECT_EQ(label.ShadowSize(), 10);
}
