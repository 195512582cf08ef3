// ShowMessage: a modal box with the text alone, or the installed handler.
#include "platform/messages.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMessageBox>

namespace {
TMessageHandler& handler() {
  static TMessageHandler h;
  return h;
}
}  // namespace

void ShowMessage(const QString& Text) {
  if (const TMessageHandler h = handler()) {  // a copy: the handler may replace itself
    h(Text);
    return;
  }
  QMessageBox box(QMessageBox::NoIcon, QGuiApplication::applicationDisplayName(), Text,
                  QMessageBox::Ok, QApplication::activeWindow());
  box.setTextFormat(Qt::PlainText);  // the text is shown as it is, never as markup
  box.exec();
}

TMessageHandler SetMessageHandler(TMessageHandler Handler) {
  TMessageHandler previous = std::move(handler());
  handler() = std::move(Handler);
  return previous;
}
