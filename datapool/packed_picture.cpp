// The phone's packed picture format: TQVDP_PICTURES's static operations.
//
// A packed picture is Width, Height and N (16 bits each), N palette records
// of (index, red, green, blue) when N >= 2, then Width x Height pixel bytes,
// top row first. Packing gives the record of palette entry i the index byte
// i; unpacking puts a record with index byte b at position b - 1 (modulo 256),
// because the phone numbers the records it sends from 1.
#include <algorithm>
#include <cstdint>
#include <limits>

#include "byte_order.h"
#include "qvdp_pictures.h"

static int64_t SizeRule(int64_t Width, int64_t Height, int64_t N) {
  return PictureHeaderSize + Width * Height + (N >= 2 ? 4 * N : 0);
}

static int32_t FitInteger(int64_t Size) {
  return Size > std::numeric_limits<int32_t>::max() ? 0 : static_cast<int32_t>(Size);
}

static int PaletteRecords(const TBitmap& Bitmap) {
  return std::min<int>(static_cast<int>(Bitmap.Palette().size()), MaxPicturePalette);
}

int32_t TQVDP_PICTURES::PackedSize(const TBitmap* Bitmap) {
  if (!Bitmap) return 0;
  // The 16-bit header cannot describe a larger picture.
  if (Bitmap->Width() > 0xFFFF || Bitmap->Height() > 0xFFFF) return 0;
  return FitInteger(SizeRule(Bitmap->Width(), Bitmap->Height(), PaletteRecords(*Bitmap)));
}

bool TQVDP_PICTURES::ValidHeader(const uint8_t* Header) {
  return GetU16(Header) != 0 && GetU16(Header + 2) != 0 && GetU16(Header + 4) <= MaxPaletteEntries;
}

int32_t TQVDP_PICTURES::SizeFromHeader(const uint8_t* Header) {
  if (!ValidHeader(Header)) return 0;
  return FitInteger(SizeRule(GetU16(Header), GetU16(Header + 2), GetU16(Header + 4)));
}

void TQVDP_PICTURES::PackPicture(const TBitmap* Bitmap, uint8_t* Dest) {
  if (!Bitmap) return;
  const int n = PaletteRecords(*Bitmap);
  PutU16(Dest, static_cast<uint16_t>(Bitmap->Width()));
  PutU16(Dest + 2, static_cast<uint16_t>(Bitmap->Height()));
  PutU16(Dest + 4, static_cast<uint16_t>(n));
  uint8_t* p = Dest + PictureHeaderSize;
  if (n >= 2) {
    for (int i = 0; i < n; ++i) {
      const TPaletteEntry& entry = Bitmap->Palette()[static_cast<size_t>(i)];
      *p++ = static_cast<uint8_t>(i);
      *p++ = entry.peRed;
      *p++ = entry.peGreen;
      *p++ = entry.peBlue;
    }
  }
  for (int row = 0; row < Bitmap->Height(); ++row) p = std::copy_n(Bitmap->ScanLine(row), Bitmap->Width(), p);
}

bool TQVDP_PICTURES::UnpackPicture(const uint8_t* Packed, size_t Length, TBitmap& Bitmap) {
  if (Length < PictureHeaderSize) return false;
  const int32_t size = SizeFromHeader(Packed);
  if (size == 0 || Length < static_cast<size_t>(size)) return false;
  const int width = GetU16(Packed);
  const int height = GetU16(Packed + 2);
  const int n = GetU16(Packed + 4);

  TLogPalette palette;
  BuildDefaultPalette(palette);
  const uint8_t* p = Packed + PictureHeaderSize;
  if (n >= 2) {
    for (int i = 0; i < n; ++i, p += 4)
      palette.palPalEntry[static_cast<uint8_t>(p[0] - 1)] = TPaletteEntry{p[1], p[2], p[3], 0};
  }
  TBitmap result;
  result.SetSize(width, height);
  result.SetPalette(palette);
  for (int row = 0; row < height; ++row, p += width) std::copy_n(p, width, result.ScanLine(row));
  Bitmap = std::move(result);
  return true;
}
