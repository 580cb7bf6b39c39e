// The editor's pictures as GDI bitmaps: the source picture as a DIB section
// for the source control (palette pictures as 8 bits with their palette,
// true colour as 32 bits), and the preview copied into its 85 x 110 8-bit
// DIB section with its palette.
#pragma once

#include <windows.h>

#include "bitmap.h"
#include "source_image.h"

// nullptr when the system has no room for the picture.
HBITMAP CreateSourceBitmap(const TSourceImage& Image);
// Draws the part Area of Image (in its own pixels) at the same place of Dc,
// straight from the image's memory: a large source is held once, not again
// as a GDI bitmap.
void DrawSourceImage(HDC Dc, const TSourceImage& Image, const RECT& Area);
HBITMAP CreatePreviewBitmap();
void CopyPreview(const TBitmap& Preview, HBITMAP Target);
