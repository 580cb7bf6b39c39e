// What the layer's own controls share among their files: the record each
// draws from, the messages every painted control answers alike, and small
// helpers of their painting.
#pragma once

#include <windows.h>

#include <string>

#include "form_win.h"

namespace control_parts {

TControlRecord* Rec(HWND W);
// The messages every control painted by this layer answers alike: its record
// arrives with its creation, and it paints its whole face itself, so the
// background is never erased first. True when Msg is answered.
bool PaintedControlMessage(HWND W, UINT Msg, LPARAM LP, void (*Paint)(HWND, HDC), LRESULT& Result);
std::string TextOf(HWND W);
SIZE BitmapSize(HBITMAP Bitmap);

LRESULT CALLBACK SpeedButtonProc(HWND W, UINT Msg, WPARAM WP, LPARAM LP);

}  // namespace control_parts
