// The scroll box of the window layer: a container whose children may be
// larger than it is; scroll bars appear when they are and move the children
// (the picture editor shows a source picture of any size in one). Windows has
// no such control. A window that places or sizes the children itself calls
// UpdateScrollBox afterwards; the box keeps its ranges right when it is
// resized.
#pragma once

#include <windows.h>

extern const char* const ScrollBoxClass;

void RegisterScrollBoxClass();

// Fits the scroll ranges to the children's extent and the box's client size,
// scrolling back where the content no longer needs the room.
void UpdateScrollBox(HWND ScrollBox);
