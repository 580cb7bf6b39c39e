// The editor's BMP reader, see bmp_reader.h.
#include "bmp_reader.h"

#include <algorithm>

#include "bmp_file.h"
#include "bmp_rle.h"
#include "byte_order.h"
#include "picture_error.h"
#include "pool_texts.h"

namespace {

constexpr uint32_t BI_RGB = 0, BI_RLE8 = 1, BI_RLE4 = 2, BI_BITFIELDS = 3, BI_ALPHABITFIELDS = 6;
constexpr uint32_t CoreHeaderSize = 12;

[[noreturn]] void Invalid() { throw EInvalidGraphic(PoolText(InvalidBitmapTextId)); }

// One colour channel of a 16- or 32-bit pixel: where its mask sits and how
// its value widens to 8 bits (rounded, so a full channel gives 255).
struct TChannel {
  uint32_t Mask = 0;
  int Shift = 0;
  uint32_t Max = 0;

  explicit TChannel(uint32_t M) : Mask(M) {
    if (M == 0) return;
    while (!((M >> Shift) & 1)) ++Shift;
    Max = M >> Shift;
  }
  uint32_t Get(uint32_t Pixel) const {
    if (Max == 0) return 0;
    const uint64_t v = (Pixel & Mask) >> Shift;
    return static_cast<uint32_t>((v * 255 + Max / 2) / Max);
  }
};

}  // namespace

TSourceImage ReadBmpPicture(const uint8_t* Data, size_t Size) {
  if (Size < BmpFileHeaderSize + 4 || Data[0] != 'B' || Data[1] != 'M') Invalid();
  const uint32_t offBits = GetU32(Data + 10);
  const uint8_t* info = Data + BmpFileHeaderSize;
  const uint32_t infoSize = GetU32(info);
  if (infoSize != CoreHeaderSize && infoSize < BmpInfoHeaderSize) Invalid();
  if (infoSize > Size - BmpFileHeaderSize) Invalid();

  int64_t width, height;
  int bits;
  uint32_t compression = BI_RGB, clrUsed = 0;
  if (infoSize == CoreHeaderSize) {
    width = GetU16(info + 4);
    height = GetU16(info + 6);
    bits = GetU16(info + 10);
  } else {
    width = static_cast<int32_t>(GetU32(info + 4));
    height = static_cast<int32_t>(GetU32(info + 8));
    bits = GetU16(info + 14);
    compression = GetU32(info + 16);
    clrUsed = GetU32(info + 32);
  }
  const bool topDown = height < 0;
  height = topDown ? -height : height;
  if (width <= 0 || height <= 0) Invalid();
  if (static_cast<uint64_t>(width) * static_cast<uint64_t>(height) > MaxSourcePixels) Invalid();

  // Default masks: 5-5-5 for 16 bits, 8-8-8 for 32; bit fields replace them.
  uint32_t masks[3] = {0, 0, 0};
  size_t tableAt = BmpFileHeaderSize + infoSize;
  if (bits == 16) {
    masks[0] = 0x7C00, masks[1] = 0x03E0, masks[2] = 0x001F;
  } else if (bits == 32) {
    masks[0] = 0xFF0000, masks[1] = 0xFF00, masks[2] = 0xFF;
  }
  if (compression == BI_BITFIELDS || compression == BI_ALPHABITFIELDS) {
    if (bits != 16 && bits != 32) Invalid();
    if (infoSize == BmpInfoHeaderSize) {  // the masks follow the header
      if (Size < tableAt + 12) Invalid();
      for (int i = 0; i < 3; ++i) masks[i] = GetU32(Data + tableAt + 4 * i);
      tableAt += compression == BI_ALPHABITFIELDS ? 16 : 12;
    } else if (infoSize >= BmpInfoHeaderSize + 12) {  // V2 and later hold them
      for (int i = 0; i < 3; ++i) masks[i] = GetU32(info + 40 + 4 * i);
    } else {
      Invalid();
    }
  } else if (compression == BI_RLE8 || compression == BI_RLE4) {
    // Run-length codes exist for bottom-up pictures of their own depth only.
    if (bits != (compression == BI_RLE8 ? 8 : 4) || topDown) Invalid();
  } else if (compression != BI_RGB) {
    Invalid();
  }
  if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) Invalid();

  TSourceImage image;
  image.Width = static_cast<int>(width);
  image.Height = static_cast<int>(height);
  image.BitsPerPixel = bits;
  if (bits <= 8) {
    const uint32_t full = 1u << bits;
    const uint32_t count = clrUsed == 0 ? full : std::min(clrUsed, full);
    const size_t entrySize = infoSize == CoreHeaderSize ? 3 : 4;
    if (Size < tableAt || (Size - tableAt) / entrySize < count) Invalid();
    for (uint32_t i = 0; i < count; ++i) {
      const uint8_t* e = Data + tableAt + i * entrySize;
      image.Palette.push_back(TPaletteEntry{e[2], e[1], e[0], 0});
    }
  }

  if (offBits > Size) Invalid();
  if (compression == BI_RLE8 || compression == BI_RLE4) {
    image.AllocatePixels();
    DecodeBmpRle(Data + offBits, Size - offBits, bits, image);
    return image;
  }
  const uint64_t rowSize = (static_cast<uint64_t>(width) * static_cast<uint64_t>(bits) + 31) / 32 * 4;
  if ((Size - offBits) / rowSize < static_cast<uint64_t>(height)) Invalid();

  const TChannel red(masks[0]), green(masks[1]), blue(masks[2]);
  image.AllocatePixels();
  for (int y = 0; y < image.Height; ++y) {
    const uint8_t* row = Data + offBits + rowSize * static_cast<uint64_t>(topDown ? y : image.Height - 1 - y);
    const size_t at = static_cast<size_t>(y) * static_cast<size_t>(image.Width);
    for (int x = 0; x < image.Width; ++x) {
      switch (bits) {
        case 1: image.Indices[at + x] = (row[x >> 3] >> (7 - (x & 7))) & 1; break;
        case 4: image.Indices[at + x] = (row[x >> 1] >> ((x & 1) ? 0 : 4)) & 15; break;
        case 8: image.Indices[at + x] = row[x]; break;
        case 24: image.Colors[at + x] = (uint32_t{row[3 * x + 2]} << 16) | (uint32_t{row[3 * x + 1]} << 8) | row[3 * x]; break;
        default: {
          const uint32_t p = bits == 16 ? GetU16(row + 2 * x) : GetU32(row + 4 * x);
          image.Colors[at + x] = (red.Get(p) << 16) | (green.Get(p) << 8) | blue.Get(p);
        }
      }
    }
  }
  return image;
}
