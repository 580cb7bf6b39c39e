// The picture editor's BMP reader: every kind of BMP file the platform's
// bitmap loader reads (1, 4, 8, 16 and 24 and 32 bits; bottom-up and
// top-down; the core, information, V4 and V5 headers; bit-field masks; RLE8
// and RLE4 codes, bmp_rle.h).
//
// The bytes come from any file the user picks, so every header count is
// checked against the bytes present before anything is allocated (run-length
// codes can draw many pixels from few bytes: there MaxSourcePixels alone
// bounds the picture); a file the reader cannot take raises EInvalidGraphic
// with the invalid-bitmap text.
//
// A file is read piece by piece (the headers, the colour table, then a
// bounded number of pixel bytes at a time), so that a large bitmap's bytes
// never sit in memory beside its decoded picture; only run-length codes are
// read whole, being far smaller than the picture they draw.
#pragma once

#include <cstddef>
#include <cstdint>

#include "source_image.h"
#include "stream.h"

// The whole of File from its start; a file that ends while it is read
// raises the stream's read error.
TSourceImage ReadBmpPicture(TStream& File);
TSourceImage ReadBmpPicture(const uint8_t* Data, size_t Size);
