// The desktop queries the program makes: pending events and the screen.
#include "platform/application.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QScreen>

void ProcessMessages() { QCoreApplication::processEvents(); }

int ScreenNumColors() {
  const QScreen* screen = qobject_cast<QGuiApplication*>(QCoreApplication::instance())
                              ? QGuiApplication::primaryScreen()
                              : nullptr;
  if (!screen) return -1;
  const int depth = screen->depth();
  return depth > 0 && depth <= 8 ? 1 << depth : -1;
}

int ScreenWidth() {
  const QScreen* screen = qobject_cast<QGuiApplication*>(QCoreApplication::instance())
                              ? QGuiApplication::primaryScreen()
                              : nullptr;
  return screen ? screen->geometry().width() : 0;
}
