// The picture editor's BMP reader: every uncompressed kind of BMP file the
// editor takes as a source (1, 4, 8, 16 and 24 and 32 bits; bottom-up and
// top-down; the core, information, V4 and V5 headers; bit-field masks).
//
// The bytes come from any file the user picks, so every header count is
// checked against the bytes present before anything is allocated; a file the
// reader cannot take raises EInvalidGraphic with InvalidBitmapText.
#pragma once

#include <cstddef>
#include <cstdint>

#include "source_image.h"

TSourceImage ReadBmpPicture(const uint8_t* Data, size_t Size);
