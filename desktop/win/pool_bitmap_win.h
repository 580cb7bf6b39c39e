// Drawing the data pool's own 8-bit palette bitmaps (the phone's pictures)
// on a device context, unscaled and opaque, in their own palette; and a
// picture with its frame, as both lists of the main window draw it.
#pragma once

#include <windows.h>

#include "bitmap.h"
#include "pb_row_layout.h"

void DrawPoolBitmap(HDC Dc, const TBitmap& Bitmap, int X, int Y);
// The frame's 3 pixels in Color, then the picture at its place.
void DrawFramedPicture(HDC Dc, const TBitmap& Bitmap, const TFramedPicture& Place, COLORREF Color);
