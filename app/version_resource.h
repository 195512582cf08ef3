#pragma once
// The program's version resource (version.qrc) lives in the static library
// pd_app, whose unreferenced resource objects the linker would drop. Call
// this before the first TVersionInfo is read; calling it again is harmless.
void InitVersionResource();
