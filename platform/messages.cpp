// placeholder, replaced by the real message box
#include "platform/messages.h"
namespace { TMessageHandler handler; }
void ShowMessage(const QString& Text) { if (handler) handler(Text); }
TMessageHandler SetMessageHandler(TMessageHandler h) { auto old = handler; handler = std::move(h); return old; }
