// Drag and drop between the controls of one window. A control's mouse-down
// handler arms a drag with BeginDrag; the drag starts once the pointer, the
// left button held, has moved DragThreshold pixels from the press, so a
// click stays a click. From then on the control under the pointer hears
// "dragover" as the pointer enters it, moves over it and leaves it (the
// leaving one at the last position over it), and the release drops on it
// ("dragdrop") when its last dragover accepted. The source hears "enddrag"
// after every armed drag: dropped, refused, cancelled (Escape, or another
// window taking the mouse) or released before it started.
#pragma once

#include "form_win.h"

// Pixels the pointer must move, horizontally or vertically, before an armed
// drag starts.
constexpr int DragThreshold = 5;

// Arms a drag of Source from a left-button press at X, Y of its client area.
// The source keeps the mouse until the release; meanwhile it sees no mouse
// moves, so a list does not move its selection under the pointer. A drag
// armed while another is armed is ignored.
void BeginDrag(TControlRecord& Source, int X, int Y);
