// Hourglass cursor helper; one flag for the user-interface thread.
#include "cursor_win.h"

#include <windows.h>

namespace {
bool Busy = false;  // user-interface thread only
}

void ShowHourglass() {
  Busy = true;
  SetCursor(LoadCursor(nullptr, IDC_WAIT));
}

void ShowDefaultCursor() {
  Busy = false;
  SetCursor(LoadCursor(nullptr, IDC_ARROW));
}

bool HourglassShown() { return Busy; }
