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
HBITMAP CreatePreviewBitmap();
void CopyPreview(const TBitmap& Preview, HBITMAP Target);
