// The hourglass while a transfer or another long operation runs. The forms
// keep it on WM_SETCURSOR while it is set, so moving the mouse does not bring
// the arrow back in the middle of the operation.
#pragma once

void ShowHourglass();
void ShowDefaultCursor();
bool HourglassShown();
