#pragma once
// What the program asks of the desktop besides windows and canvases.

// Lets pending events (paints, input) run once.
void ProcessMessages();

// The screen's number-of-colours capability: the number of palette colours
// on a display with at most 256 colours, -1 on displays with more.
int ScreenNumColors();
// Width of the primary screen in pixels.
int ScreenWidth();
