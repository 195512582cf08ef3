// TCustomControl with real Qt events, the message plumbing and the screen queries.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include "platform/application.h"
#include "platform/control.h"
#include "platform/messages.h"

namespace {

struct Call {
  char kind;  // 'd'own, 'm'ove, 'u'p
  int button;
  TShiftState shift;
  int x, y;
  bool operator==(const Call&) const = default;
};

class Probe : public TCustomControl {
 public:
  explicit Probe(QWidget* owner = nullptr) : TCustomControl(owner) {}
  int paints = 0;
  TColor colour = clRed;
  std::vector<Call> calls;

 protected:
  void Paint() override {
    ++paints;
    Canvas()->Brush.Color = colour;
    Canvas()->FillRect(ClientRect());
  }
  void MouseDown(TMouseButton b, TShiftState s, int x, int y) override {
    calls.push_back({'d', b, s, x, y});
    TCustomControl::MouseDown(b, s, x, y);
  }
  void MouseMove(TShiftState s, int x, int y) override {
    calls.push_back({'m', -1, s, x, y});
    TCustomControl::MouseMove(s, x, y);
  }
  void MouseUp(TMouseButton b, TShiftState s, int x, int y) override {
    calls.push_back({'u', b, s, x, y});
    TCustomControl::MouseUp(b, s, x, y);
  }
};

// Runs the event loop until the condition holds or a second has passed.
template <class F>
bool WaitFor(F condition) {
  QElapsedTimer t;
  t.start();
  while (!condition() && t.elapsed() < 1000) QTest::qWait(5);
  return condition();
}

}  // namespace

TEST(Control, SurfaceFollowsTheSizeEvenWhileHidden) {
  Probe p;
  p.resize(120, 80);
  EXPECT_EQ(p.Surface().Width(), 120);
  EXPECT_EQ(p.Canvas()->Height(), 80);
  EXPECT_EQ(p.ClientRect(), (TRect{0, 0, 120, 80}));
  p.Repaint();
  EXPECT_EQ(p.Canvas()->Pixel(119, 79), clRed);
  p.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&p));
  p.resize(200, 50);
  EXPECT_EQ(p.Surface().Width(), 200);
  EXPECT_EQ(p.Surface().Height(), 50);
  EXPECT_TRUE(WaitFor([&] { return !p.Stale(); }));
  EXPECT_EQ(p.Canvas()->Pixel(199, 49), clRed);
}

TEST(Control, InvalidatePaintsOnceAtTheNextPaintEvent) {
  Probe p;
  p.resize(50, 40);
  p.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&p));
  ASSERT_TRUE(WaitFor([&] { return !p.Stale(); }));
  p.paints = 0;
  p.colour = clBlue;
  p.Invalidate();
  p.Invalidate();
  EXPECT_TRUE(p.Stale());
  EXPECT_EQ(p.paints, 0);  // nothing runs before the event loop does
  EXPECT_TRUE(WaitFor([&] { return p.paints > 0; }));
  QTest::qWait(20);
  EXPECT_EQ(p.paints, 1);
  EXPECT_FALSE(p.Stale());
  EXPECT_EQ(p.Canvas()->Pixel(10, 10), clBlue);
  // Repaint runs Paint at once; the window shows the surface.
  p.colour = clGreen;
  p.Repaint();
  EXPECT_EQ(p.paints, 2);
  const QImage shown = p.grab().toImage();
  EXPECT_EQ(shown.pixel(25, 20) & 0xFFFFFF, 0x008000u);
  EXPECT_EQ(p.paints, 2);  // copying to the window paints nothing again
}

TEST(Control, DefaultPaintIsWhite) {
  TCustomControl c;
  c.resize(10, 10);
  c.Canvas()->Brush.Color = clRed;
  c.Canvas()->FillRect(c.ClientRect());
  c.Repaint();
  EXPECT_EQ(c.Canvas()->Pixel(5, 5), clWhite);
  EXPECT_EQ(c.Canvas()->Brush.Color, clRed);
  EXPECT_TRUE(c.testAttribute(Qt::WA_OpaquePaintEvent));
  EXPECT_TRUE(c.hasMouseTracking());
}

TEST(Control, QtMouseEventsReachTheVirtualsAndThePublishedEvents) {
  Probe p;
  p.resize(100, 100);
  p.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&p));
  std::vector<Call> published;
  QObject* sender = nullptr;
  p.SetOnMouseDown([&](QObject* s, TMouseButton b, TShiftState sh, int x, int y) {
    sender = s;
    published.push_back({'d', b, sh, x, y});
  });
  p.SetOnMouseMove([&](QObject*, TShiftState sh, int x, int y) { published.push_back({'m', -1, sh, x, y}); });
  p.SetOnMouseUp([&](QObject*, TMouseButton b, TShiftState sh, int x, int y) {
    published.push_back({'u', b, sh, x, y});
  });
  QTest::mousePress(&p, Qt::LeftButton, Qt::ShiftModifier, QPoint(10, 20));
  QTest::mouseMove(&p, QPoint(30, 40));
  QTest::mouseRelease(&p, Qt::LeftButton, Qt::NoModifier, QPoint(30, 40));
  QTest::mousePress(&p, Qt::RightButton, Qt::ControlModifier, QPoint(5, 6));
  QTest::mouseRelease(&p, Qt::RightButton, Qt::ControlModifier, QPoint(5, 6));
  const std::vector<Call> expected = {
      {'d', mbLeft, ssShift | ssLeft, 10, 20},
      {'m', -1, ssLeft, 30, 40},
      {'u', mbLeft, 0, 30, 40},
      {'d', mbRight, ssCtrl | ssRight, 5, 6},
      {'u', mbRight, ssCtrl, 5, 6},
  };
  // Qt may add moves of its own before a press at a new place; compare the rest.
  std::vector<Call> seen;
  for (size_t i = 0; i < p.calls.size(); ++i) {
    const Call& c = p.calls[i];
    const bool strayMove = c.kind == 'm' && !(c.x == 30 && c.y == 40);
    if (!strayMove) seen.push_back(c);
  }
  EXPECT_EQ(seen, expected);
  EXPECT_EQ(published, p.calls);  // the base virtuals raise the events, in order
  EXPECT_EQ(sender, &p);
}

TEST(Control, CursorShapes) {
  TCustomControl c;
  c.SetCursor(crCross);
  EXPECT_EQ(c.Cursor(), crCross);
  EXPECT_EQ(c.cursor().shape(), Qt::CrossCursor);
  c.SetCursor(crHourGlass);
  EXPECT_EQ(c.cursor().shape(), Qt::WaitCursor);
  c.SetCursor(crHandPoint);
  EXPECT_EQ(c.cursor().shape(), Qt::PointingHandCursor);
  c.SetCursor(crDefault);
  EXPECT_EQ(c.cursor().shape(), Qt::ArrowCursor);
}

TEST(Control, AlignClientKeepsFillingTheParent) {
  QWidget parent;
  parent.setContentsMargins(4, 3, 2, 1);
  parent.resize(200, 100);
  auto* c = new TCustomControl(&parent);
  c->SetAlign(alClient);
  EXPECT_EQ(c->geometry(), QRect(4, 3, 194, 96));
  EXPECT_EQ(c->Surface().Width(), 194);
  parent.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&parent));
  parent.resize(300, 160);
  EXPECT_TRUE(WaitFor([&] { return c->geometry() == QRect(4, 3, 294, 156); }));
  c->SetAlign(alNone);
  parent.resize(250, 120);
  QTest::qWait(20);
  EXPECT_EQ(c->geometry(), QRect(4, 3, 294, 156));
  // Moved to another parent, an aligned control follows the new one.
  QWidget other;
  other.resize(80, 60);
  c->SetAlign(alClient);
  c->setParent(&other);
  EXPECT_EQ(c->geometry(), QRect(0, 0, 80, 60));
}

TEST(Messages, HandlerCollectsTextsAndIsReplaceable) {
  QStringList seen;
  const TMessageHandler before = SetMessageHandler([&](const QString& t) { seen << t; });
  ShowMessage(QStringLiteral("Invalid value"));
  ShowMessage(QStringLiteral("Second"));
  EXPECT_EQ(seen, (QStringList{QStringLiteral("Invalid value"), QStringLiteral("Second")}));
  QStringList other;
  const TMessageHandler mine = SetMessageHandler([&](const QString& t) { other << t; });
  ASSERT_TRUE(bool(mine));
  mine(QStringLiteral("direct"));  // the returned handler is the one installed before
  EXPECT_EQ(seen.last(), QStringLiteral("direct"));
  SetMessageHandler(before);
}

TEST(Messages, WithoutHandlerAModalBoxShowsTheTextAlone) {
  const TMessageHandler before = SetMessageHandler({});
  QApplication::setApplicationDisplayName(QStringLiteral("Phase Diagrams"));
  QString text, title;
  int buttons = 0;
  QTimer::singleShot(0, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box) return;
    text = box->text();
    title = box->windowTitle();
    buttons = int(box->buttons().size());
    box->accept();
  });
  ShowMessage(QStringLiteral("<b>1 < 2</b>"));
  EXPECT_EQ(text, QStringLiteral("<b>1 < 2</b>"));
  EXPECT_EQ(title, QStringLiteral("Phase Diagrams"));
  EXPECT_EQ(buttons, 1);
  SetMessageHandler(before);
}

TEST(Application, ScreenQueries) {
  const QScreen* screen = QGuiApplication::primaryScreen();
  ASSERT_NE(screen, nullptr);
  EXPECT_EQ(ScreenWidth(), screen->geometry().width());
  EXPECT_GT(ScreenWidth(), 0);
  EXPECT_EQ(ScreenNumColors(), screen->depth() <= 8 ? 1 << screen->depth() : -1);
  bool ran = false;
  QMetaObject::invokeMethod(qApp, [&] { ran = true; }, Qt::QueuedConnection);
  ProcessMessages();
  EXPECT_TRUE(ran);
}
