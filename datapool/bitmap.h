// The data pool's own 8-bit palette bitmap.
//
// The phone's pictures are palette pictures with one byte per pixel; the pool
// keeps each slot's picture in this small class rather than in a platform
// bitmap, so that packing, the data file and the tests run anywhere. Rows are
// held top row first, Width bytes each, without padding; the BMP file layout
// (bottom-up, padded rows) is bmp_file.h's business.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// One colour of a palette, as in a Windows logical palette.
struct TPaletteEntry {
  uint8_t peRed;
  uint8_t peGreen;
  uint8_t peBlue;
  uint8_t peFlags;
  bool operator==(const TPaletteEntry& Other) const {
    return peRed == Other.peRed && peGreen == Other.peGreen && peBlue == Other.peBlue && peFlags == Other.peFlags;
  }
};

constexpr int MaxPaletteEntries = 256;

// A Windows LOGPALETTE with room for 256 entries.
struct TLogPalette {
  uint16_t palVersion;
  uint16_t palNumEntries;
  TPaletteEntry palPalEntry[MaxPaletteEntries];
};

// Version 0x300, 256 entries: 0..239 black, 240..255 the phone's 16 colours.
void BuildDefaultPalette(TLogPalette& Palette);

class TBitmap {
 public:
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  // New size; every pixel becomes 0. Negative sizes count as 0.
  void SetSize(int Width, int Height);

  // Row 0 is the top row; Width bytes, one palette position per pixel.
  uint8_t* ScanLine(int Row) { return FPixels.data() + static_cast<size_t>(Row) * static_cast<size_t>(FWidth); }
  const uint8_t* ScanLine(int Row) const {
    return FPixels.data() + static_cast<size_t>(Row) * static_cast<size_t>(FWidth);
  }

  // 0 to 256 entries; a bitmap without a palette has none.
  const std::vector<TPaletteEntry>& Palette() const { return FPalette; }
  void SetPalette(std::vector<TPaletteEntry> Palette);
  void SetPalette(const TLogPalette& Palette);

  bool operator==(const TBitmap& Other) const {
    return FWidth == Other.FWidth && FHeight == Other.FHeight && FPalette == Other.FPalette && FPixels == Other.FPixels;
  }
  bool operator!=(const TBitmap& Other) const { return !(*this == Other); }

 private:
  int FWidth = 0;
  int FHeight = 0;
  std::vector<TPaletteEntry> FPalette;
  std::vector<uint8_t> FPixels;
};
