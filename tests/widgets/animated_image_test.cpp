// TAnimatedImage: frame sequence, timer, painting and mouse report.
#include <QMouseEvent>
#include <QTest>
#include <gtest/gtest.h>

#include "widgets/animated_image.h"

namespace {
QList<QImage> SolidFrames(std::initializer_list<QRgb> colours) {
  QList<QImage> frames;
  for (QRgb c : colours) {
    QImage frame(8, 8, QImage::Format_RGB32);
    frame.fill(c);
    frames.append(frame);
  }
  return frames;
}
}  // namespace

TEST(AnimatedImage, FramesAdvanceInOrderAndWrapAround) {
  TAnimatedImage image;
  image.SetFrames(SolidFrames({qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255)}));
  image.resize(8, 8);
  std::vector<QRgb> shown;
  for (int i = 0; i < 4; ++i) {
    shown.push_back(image.grab().toImage().pixel(4, 4) & 0xFFFFFF);
    image.NextFrame();
  }
  EXPECT_EQ(shown, (std::vector<QRgb>{0xFF0000, 0x00FF00, 0x0000FF, 0xFF0000}));
  image.SetFrameIndex(7);  // past the last frame: ignored
  EXPECT_EQ(image.FrameIndex(), 1);
}

TEST(AnimatedImage, TimerRunsOnlyWhileActiveWithFramesToShow) {
  TAnimatedImage image;
  image.SetInterval(5);
  image.SetActive(true);
  EXPECT_FALSE(image.Active());  // nothing to animate yet
  image.SetFrames(SolidFrames({qRgb(1, 1, 1), qRgb(2, 2, 2)}));
  EXPECT_TRUE(image.Active());  // the wish to run is kept
  EXPECT_TRUE(QTest::qWaitFor([&] { return image.FrameIndex() == 1; }, 2000));

  image.SetActive(false);
  const int stopped = image.FrameIndex();
  QTest::qWait(40);
  EXPECT_EQ(image.FrameIndex(), stopped);

  image.SetFrames(SolidFrames({qRgb(1, 1, 1)}));
  image.SetActive(true);
  EXPECT_FALSE(image.Active());  // a single frame needs no timer
}

TEST(AnimatedImage, MouseMovementIsReported) {
  TAnimatedImage image;
  image.resize(32, 32);
  int moves = 0;
  QObject* sender = nullptr;
  image.SetOnMouseMove([&](QObject* s) { ++moves; sender = s; });
  QMouseEvent move(QEvent::MouseMove, QPointF(5, 5), QPointF(5, 5), Qt::NoButton, Qt::NoButton,
                   Qt::NoModifier);
  QApplication::sendEvent(&image, &move);
  EXPECT_EQ(moves, 1);
  EXPECT_EQ(sender, &image);
}
