// placeholder, replaced by the real desktop queries
#include "platform/application.h"
#include <QCoreApplication>
void ProcessMessages() { QCoreApplication::processEvents(); }
int ScreenNumColors() { return -1; }
int ScreenWidth() { return 1280; }
