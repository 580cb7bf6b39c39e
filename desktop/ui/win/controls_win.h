// The layer's own small controls, for what Windows' controls cannot show as the
// layouts describe it: panel (bevels, border, colour, 2-pixel lines, group
// frame), label (auto size, word wrap, alignment, colours), flat speed button
// (glyph above or beside the caption, disabled glyph, hint) and image; the
// scroll box has a file of its own (scroll_box_win.h). Each
// draws from its TControlRecord, passed in CreateWindowEx's parameter.
#pragma once

#include <windows.h>

extern const char* const PanelClass;
extern const char* const LabelClass;
extern const char* const SpeedButtonClass;
extern const char* const ImageClass;

void RegisterControlClasses();

// Sizes a label with auto size to its text (wrapped at its width when it wraps).
void AutoSizeLabel(HWND Label);
// The picture of an image control (not owned); sized to it when it sizes itself.
void SetImagePicture(HWND Image, HBITMAP Picture);
// Draws Bitmap unscaled at X, Y without the pixels of its lower-left
// pixel's colour, its background.
void DrawTransparent(HDC Dc, HBITMAP Bitmap, int X, int Y);
// The client rectangle a container lays its aligned children out in.
RECT ContainerClientRect(HWND Container);
