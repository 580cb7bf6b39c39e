// Drawing the data pool's own 8-bit palette bitmaps (the phone's pictures)
// on a device context as both lists of the main window show them: in their
// frame, unscaled and opaque, in their own palette.
#pragma once

#include <windows.h>

#include "bitmap.h"
#include "pb_row_layout.h"

// The frame's 3 pixels in Color, then the picture at its place.
void DrawFramedPicture(HDC Dc, const TBitmap& Bitmap, const TFramedPicture& Place, COLORREF Color);
