#pragma once
// The display checks of the program's start: every check runs and shows its
// message in order; the result tells whether the program must end.
//   NumColors: the screen's number-of-colours capability (-1 above 256
//              colours); ScreenWidth: in pixels.
bool RunDisplayChecks(int NumColors, int ScreenWidth);
