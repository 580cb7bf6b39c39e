// Drawing the data pool's own 8-bit palette bitmaps (the phone's pictures)
// on a device context, unscaled and opaque, in their own palette.
#pragma once

#include <windows.h>

#include "bitmap.h"

void DrawPoolBitmap(HDC Dc, const TBitmap& Bitmap, int X, int Y);
