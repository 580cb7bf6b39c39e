// Run-length-encoded BMP pixels (RLE8 and RLE4), as common image tools write
// every palette bitmap of up to 256 colours by default.
//
// The codes come from a file the user picked, so no count is trusted: runs
// that reach past a row's end are cut at the row's end, moves and rows past
// the picture end it, and a code that the data cuts short refuses the file.
#pragma once

#include <cstddef>
#include <cstdint>

#include "source_image.h"

// Decodes the codes of a bottom-up RLE8 (Bits 8) or RLE4 (Bits 4) bitmap into
// Image.Indices, which holds Image.Width x Image.Height zeros (top row first):
// the pixels that a move or an early end of line skips keep position 0.
// Raises EInvalidGraphic with the invalid-bitmap text when a code is cut off.
void DecodeBmpRle(const uint8_t* Data, size_t Size, int Bits, TSourceImage& Image);
