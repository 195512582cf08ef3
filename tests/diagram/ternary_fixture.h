#pragma once
// What the ternary control's tests share: the test system in a control of
// 700 x 520, the pixel of a composition, the area colours, and the pictures
// a person may want to look at.
#include <gtest/gtest.h>

#include <QDir>
#include <QPoint>

#include "diagram/ternagram.h"
#include "ternary_test_system.h"

namespace ternarytest {

// With PD_SAVE_PICTURES set, the pictures a test looks at are also written
// there as PNG files.
inline void SavePicture(TTernagram& g, const QString& name) {
  const QByteArray dir = qgetenv("PD_SAVE_PICTURES");
  if (!dir.isEmpty()) g.Canvas()->Image()->save(QDir(QString::fromLocal8Bit(dir)).filePath(name + ".png"));
}

inline bool IsAreaColor(TColor c) {
  for (TColor a : AreaColors)
    if (c == NearestColor(a)) return true;
  return false;
}

class TestSystemFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    g.resize(700, 520);
    LoadTestSystem(g);
    g.Repaint();
  }
  // The unzoomed pixel of the composition (A, B) in percent.
  QPoint At(double A, double B) const {
    const TPoint p = g.TriangleMap().transformRounded(A, B);
    return QPoint(p.X, p.Y);
  }

  TTernagram g;
};

}  // namespace ternarytest
