// The desktop program's own window messages.
#pragma once

#include <windows.h>

constexpr UINT WM_AFTERSHOW = WM_USER + 1;         // a window's deferred work after it is shown
constexpr UINT WM_ACTIVATEINSTANCE = WM_USER + 2;  // from a second instance
constexpr UINT WM_DEVICEATTACHED = WM_USER + 3;    // the attach event ends the wait-for-phone dialog
