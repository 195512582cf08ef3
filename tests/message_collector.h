#pragma once
// Collects the texts of ShowMessage instead of showing a modal box, for the
// life of one test.
#include <QStringList>

#include "platform/messages.h"

struct MessageCollector {
  QStringList texts;
  TMessageHandler previous;
  MessageCollector() {
    previous = SetMessageHandler([this](const QString& t) { texts << t; });
  }
  ~MessageCollector() { SetMessageHandler(previous); }
};
