// BMP files of the pictures in the data file.
//
// No size field precedes a picture in the data file, so the reader must find
// the file's end from its own headers: file header, information header, colour
// table, pixels, and not one byte more. The headers come from a file that
// anyone could have edited, so every count is checked before it is used: the
// reader accepts what the writer produces (uncompressed 8-bit palette
// bitmaps, bottom-up, with any colour-table length up to 256) and refuses
// anything else with the invalid-bitmap text (InvalidBitmapTextId). A file
// cut short raises the stream's "Stream-Read-Fehler", and nothing is allocated before the stream
// has shown that it holds the bytes.
#pragma once

#include <cstdint>

#include "bitmap.h"

class TStream;

constexpr int BmpFileHeaderSize = 14;
constexpr int BmpInfoHeaderSize = 40;

// Bytes of one padded BMP row of 8-bit pixels.
inline int64_t BmpRowSize(int Width) { return (static_cast<int64_t>(Width) + 3) / 4 * 4; }

// Reads one BMP file from the stream's position into Bitmap; on an exception
// Bitmap is unchanged.
void LoadBitmapFromStream(TStream& Stream, TBitmap& Bitmap);
// Writes the bitmap as a BMP file with as many colour-table entries as its
// palette holds: 14 + 40 + 4 x colours + rows bytes.
void SaveBitmapToStream(TStream& Stream, const TBitmap& Bitmap);
