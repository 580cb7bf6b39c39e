// The stretch of the crop frame's part of the source into the preview.
//
// A nearest-pixel stretch defined to the pixel, so the preview is the same on
// every platform: preview column dx shows source column
// left + floor((2 dx + 1) FrameWidth / 170), the source pixel under the
// centre of the preview pixel; rows likewise with FrameHeight / 220. Each
// preview pixel gets the palette position of the nearest colour in the
// preview palette (squared distance in red, green, blue; the lowest position
// among equals). Where the frame reaches beyond the picture the preview is
// black: the stretch never reads outside the source's pixels.
#pragma once

#include <cstdint>

#include "bitmap.h"
#include "source_image.h"

constexpr int PreviewWidth = 85;
constexpr int PreviewHeight = 110;

// Writes all 85 x 110 pixels of Preview from the source rectangle.
void StretchIntoPreview(const TSourceImage& Source, int Left, int Top, int Width, int Height,
                        const TLogPalette& Palette, TBitmap& Preview);
