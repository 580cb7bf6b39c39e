// The picture the editor works on, as the picture loader yields it.
//
// The editor keeps a source in one of two shapes so that the stretch and the
// quarter turn never have to unpack bits on the fly: palette pictures (1, 4
// and 8 bits in the file) hold one palette position per pixel, true-colour
// pictures (15/16, 24 and 32 bits) hold one 0x00RRGGBB colour per pixel.
// BitsPerPixel remembers the file's depth because the editor's rules depend on
// it (1- and 4-bit pictures get the default palette; 8-bit pictures turn by
// their palette positions). Rows are top row first, without padding.
#pragma once

#include <cstddef>
#include <cstdint>
#include <new>
#include <vector>

#include "bitmap.h"
#include "picture_error.h"

inline uint32_t RgbOf(const TPaletteEntry& E) { return (uint32_t{E.peRed} << 16) | (uint32_t{E.peGreen} << 8) | E.peBlue; }

struct TSourceImage {
  int Width = 0;
  int Height = 0;
  int BitsPerPixel = 0;  // 0: empty
  std::vector<TPaletteEntry> Palette;
  std::vector<uint8_t> Indices;  // palette pictures
  std::vector<uint32_t> Colors;  // true-colour pictures

  bool Empty() const { return BitsPerPixel == 0; }
  // Room for Width x Height pixels of the shape BitsPerPixel asks for;
  // raises EInvalidGraphic with the size when there is none.
  void AllocatePixels() {
    try {
      if (HasIndices())
        Indices.resize(PixelCount());
      else
        Colors.resize(PixelCount());
    } catch (const std::bad_alloc&) {
      throw EInvalidGraphic(OutOfMemoryText(static_cast<uint64_t>(Width), static_cast<uint64_t>(Height)));
    }
  }
  bool HasIndices() const { return BitsPerPixel <= 8; }
  size_t PixelCount() const { return static_cast<size_t>(Width) * static_cast<size_t>(Height); }
  // 0x00RRGGBB; a position beyond a short colour table is black, as the
  // platform draws it.
  uint32_t ColorAt(int X, int Y) const {
    const size_t i = static_cast<size_t>(Y) * static_cast<size_t>(Width) + static_cast<size_t>(X);
    if (!HasIndices()) return Colors[i];
    const uint8_t p = Indices[i];
    return p < Palette.size() ? RgbOf(Palette[p]) : 0;
  }
};
