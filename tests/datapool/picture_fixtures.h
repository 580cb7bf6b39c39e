// Pictures for the tests: an editor-like 85 x 110 picture with a full
// palette, and a packed picture as the phone holds it.
#pragma once

#include <cstdint>
#include <vector>

#include "bitmap.h"
#include "qvdp_pictures.h"

constexpr int EditorWidth = 85;
constexpr int EditorHeight = 110;

// 85 x 110, 256 palette entries, pixels and colours that depend on Seed.
inline TBitmap MakeEditorPicture(uint8_t Seed) {
  TLogPalette palette;
  BuildDefaultPalette(palette);
  for (int i = 0; i < 240; ++i)
    palette.palPalEntry[i] = TPaletteEntry{static_cast<uint8_t>(i + Seed), static_cast<uint8_t>(i * 3),
                                           static_cast<uint8_t>(255 - i), 0};
  TBitmap picture;
  picture.SetSize(EditorWidth, EditorHeight);
  picture.SetPalette(palette);
  for (int row = 0; row < EditorHeight; ++row)
    for (int x = 0; x < EditorWidth; ++x) picture.ScanLine(row)[x] = static_cast<uint8_t>(row * 7 + x + Seed);
  return picture;
}

inline std::vector<uint8_t> Pack(const TBitmap& Picture) {
  std::vector<uint8_t> packed(static_cast<size_t>(TQVDP_PICTURES::PackedSize(&Picture)));
  TQVDP_PICTURES::PackPicture(&Picture, packed.data());
  return packed;
}
