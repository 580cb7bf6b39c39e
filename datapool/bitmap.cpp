// The 8-bit palette bitmap and the phone's default palette, see bitmap.h.
#include "bitmap.h"

#include <algorithm>

// The phone's 16 fixed colours (red, green, blue), palette positions 240..255.
static const uint8_t PhoneColours[16][3] = {
    {0x00, 0x00, 0x00}, {0x80, 0x00, 0x00}, {0x00, 0x80, 0x00}, {0x80, 0x80, 0x00},
    {0x00, 0x00, 0x80}, {0x80, 0x00, 0x80}, {0x00, 0x80, 0x80}, {0x80, 0x80, 0x80},
    {0xC0, 0xC0, 0xC0}, {0xFF, 0x00, 0x00}, {0x00, 0xFF, 0x00}, {0xFF, 0xFF, 0x00},
    {0x00, 0x00, 0xFF}, {0xFF, 0x00, 0xFF}, {0x00, 0xFF, 0xFF}, {0xFF, 0xFF, 0xFF},
};
constexpr int FirstPhoneColour = MaxPaletteEntries - 16;

void BuildDefaultPalette(TLogPalette& Palette) {
  Palette.palVersion = 0x300;
  Palette.palNumEntries = MaxPaletteEntries;
  for (int i = 0; i < MaxPaletteEntries; ++i) Palette.palPalEntry[i] = TPaletteEntry{0, 0, 0, 0};
  for (int i = 0; i < 16; ++i)
    Palette.palPalEntry[FirstPhoneColour + i] = TPaletteEntry{PhoneColours[i][0], PhoneColours[i][1], PhoneColours[i][2], 0};
}

void TBitmap::SetSize(int Width, int Height) {
  FWidth = std::max(0, Width);
  FHeight = std::max(0, Height);
  FPixels.assign(static_cast<size_t>(FWidth) * static_cast<size_t>(FHeight), 0);
}

void TBitmap::SetPalette(std::vector<TPaletteEntry> Palette) {
  if (Palette.size() > MaxPaletteEntries) Palette.resize(MaxPaletteEntries);
  FPalette = std::move(Palette);
}

void TBitmap::SetPalette(const TLogPalette& Palette) {
  const int count = std::min<int>(Palette.palNumEntries, MaxPaletteEntries);
  FPalette.assign(Palette.palPalEntry, Palette.palPalEntry + count);
}
