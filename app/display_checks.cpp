#include "app/display_checks.h"

#include "platform/messages.h"

bool RunDisplayChecks(int NumColors, int ScreenWidth) {
  bool terminate = false;
  if (NumColors != -1) {  // a palette display of at most 256 colours
    ShowMessage("High Colors (16bit) video is minimal. Bye!");
    terminate = true;
  }
  if (ScreenWidth < 799) {
    ShowMessage("800x600 screen area is minimal. Bye!");
    terminate = true;
  }
  if (ScreenWidth < 1023) ShowMessage("Try 1024x768 or higher video and large fonts next time!");
  return terminate;
}
