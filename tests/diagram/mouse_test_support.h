#pragma once
// What the mouse tests share: real Qt mouse events sent to a control, a
// control that counts its repaint requests, and pixel helpers.
#include <QApplication>
#include <QMouseEvent>
#include <QString>
#include <functional>

#include "diagram/binagram.h"
#include "platform/messages.h"

namespace mousetest {

inline void Send(QWidget* w, QEvent::Type type, QPoint p, Qt::MouseButton button,
                 Qt::MouseButtons buttons) {
  const QPointF local(p);
  QMouseEvent e(type, local, w->mapToGlobal(local), button, buttons, Qt::NoModifier);
  QApplication::sendEvent(w, &e);
}
inline void Move(QWidget* w, QPoint p, Qt::MouseButtons held = Qt::NoButton) {
  Send(w, QEvent::MouseMove, p, Qt::NoButton, held);
}
inline void Press(QWidget* w, QPoint p, Qt::MouseButton b = Qt::LeftButton) {
  Send(w, QEvent::MouseButtonPress, p, b, b);
}
inline void Release(QWidget* w, QPoint p, Qt::MouseButton b = Qt::LeftButton) {
  Send(w, QEvent::MouseButtonRelease, p, b, Qt::NoButton);
}
inline void Click(QWidget* w, QPoint p, Qt::MouseButton b = Qt::LeftButton) {
  Press(w, p, b);
  Release(w, p, b);
}
// A left-button drag: press, a few moves on the way, release at the end.
inline void Drag(QWidget* w, QPoint from, QPoint to) {
  Press(w, from);
  for (int i = 1; i <= 4; ++i) Move(w, from + (to - from) * i / 4, Qt::LeftButton);
  Release(w, to);
}

// Counts the repaint requests a control makes.
class CountingBinagram : public TBinagram {
 public:
  using TBinagram::TBinagram;
  int Invalidates = 0;
  int Repaints = 0;
  int Requests() const { return Invalidates + Repaints; }
  void Invalidate() override {
    ++Invalidates;
    TBinagram::Invalidate();
  }
  void Repaint() override {
    ++Repaints;
    TBinagram::Repaint();
  }
};

// Runs the paint a pending request would run when the event loop gets to it.
inline void Settle(TCustomControl& g) {
  if (g.Stale()) g.Repaint();
}

// The pixel of diagram point (C, T) with the current window.
inline QPoint At(const TBinagram& g, double C, double T) {
  return QPoint(g.CompositionMap().transformRounded(C), g.TemperatureMap().transformRounded(T));
}

inline TColor AreaColor(int i) { return NearestColor(AreaColors[i]); }

// A small diagram of known geometry on a 700 x 520 control, 0..100 %, 0..1000:
//   "Alpha"        left of the slanted boundary C = T / 25, (0, 0)-(40, 1000)
//   "Alpha + Beta" two-phase, between it and the vertical boundary C = 70
//   "Beta"         right of C = 70
// so that at T 500 the tie line runs from C 20 to C 70.
constexpr int kAlpha = 0, kTwoPhase = 1, kBeta = 2;
inline void LoadTestDiagram(TBinagram& g) {
  g.resize(700, 520);
  auto put = [&](int i, const char* name, int twoPhase, float C) {
    g.AreaList().Put(i, TPhaseArea{QString::fromLatin1(name), std::uint8_t(twoPhase), C, 500});
  };
  put(kAlpha, "Alpha", 0, 10);
  put(kTwoPhase, "Alpha + Beta", 1, 40);
  put(kBeta, "Beta", 0, 85);
  g.SetAreas(3);
  TSplinesData d;
  d.Points = {{-1, -1}, {0, 0}, {40, 1000}, {-1, -1}, {70, 0}, {70, 1000}};
  d.LastIndex = 5;
  g.SetSplinesData(d);
  g.SetDrawSplines(true);
  g.SetDrawAreas(true);
  g.Repaint();
}

// Number of pixels of colour c inside r (right and bottom excluded).
inline int CountColor(TBinagram& g, TColor c, TRect r) {
  int n = 0;
  for (int y = r.Top; y < r.Bottom; ++y)
    for (int x = r.Left; x < r.Right; ++x)
      if (g.Canvas()->Pixel(x, y) == c) ++n;
  return n;
}

inline TRect PlotRect(const TBinagram& g) {
  return TRect{g.PlotLeft(), g.PlotTop(), g.PlotLeft() + g.PlotWidth() + 1,
               g.PlotTop() + g.PlotHeight() + 1};
}

// The plot without its two-pixel outline.
inline TRect PlotInterior(const TBinagram& g) {
  return TRect{g.PlotLeft() + 2, g.PlotTop() + 2, g.PlotLeft() + g.PlotWidth() - 1,
               g.PlotTop() + g.PlotHeight() - 1};
}

inline QImage Region(TBinagram& g, TRect r) {
  return g.Surface().Image().copy(r.Left, r.Top, r.Width(), r.Height());
}

// Collects the modal messages shown while it lives.
class MessageCatcher {
 public:
  MessageCatcher() {
    previous_ = SetMessageHandler([this](const QString& t) { Texts.append(t); });
  }
  ~MessageCatcher() { SetMessageHandler(previous_); }
  QStringList Texts;

 private:
  TMessageHandler previous_;
};

}  // namespace mousetest
