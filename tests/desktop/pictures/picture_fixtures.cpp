// Generated editor sources, see picture_fixtures.h.
#include "picture_fixtures.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>

#include <jpeglib.h>

#include "byte_order.h"

std::vector<uint8_t> WriteBmp(const TBmpFormat& Format, const TSourceImage& Image) {
  const bool core = Format.HeaderSize == 12;
  const int paletteCount = Format.Bits <= 8 ? (Format.ColorsUsed ? Format.ColorsUsed : 1 << Format.Bits) : 0;
  const int entrySize = core ? 3 : 4;
  const int masksAfterHeader = Format.BitFields && Format.HeaderSize == 40 ? 12 : 0;
  const uint32_t offBits = 14 + Format.HeaderSize + masksAfterHeader + paletteCount * entrySize;
  const uint32_t rowSize = (static_cast<uint32_t>(Image.Width) * Format.Bits + 31) / 32 * 4;
  std::vector<uint8_t> f(offBits + rowSize * Image.Height, 0);
  f[0] = 'B', f[1] = 'M';
  PutU32(&f[2], static_cast<uint32_t>(f.size()));
  PutU32(&f[10], offBits);
  uint8_t* h = &f[14];
  PutU32(h, Format.HeaderSize);
  if (core) {
    PutU16(h + 4, static_cast<uint16_t>(Image.Width));
    PutU16(h + 6, static_cast<uint16_t>(Image.Height));
    PutU16(h + 8, 1);
    PutU16(h + 10, static_cast<uint16_t>(Format.Bits));
  } else {
    PutU32(h + 4, static_cast<uint32_t>(Image.Width));
    PutU32(h + 8, static_cast<uint32_t>(Format.TopDown ? -Image.Height : Image.Height));
    PutU16(h + 12, 1);
    PutU16(h + 14, static_cast<uint16_t>(Format.Bits));
    PutU32(h + 16, Format.BitFields ? 3 : 0);
    PutU32(h + 32, static_cast<uint32_t>(Format.ColorsUsed));
    for (int i = 0; Format.BitFields && i < 3; ++i) PutU32(h + 40 + 4 * i, Format.Masks[i]);  // after a 40-byte header or inside a V4/V5 one
  }
  uint8_t* table = h + Format.HeaderSize + masksAfterHeader;
  for (int i = 0; i < paletteCount; ++i) {
    const TPaletteEntry e = i < static_cast<int>(Image.Palette.size()) ? Image.Palette[i] : TPaletteEntry{};
    table[i * entrySize] = e.peBlue, table[i * entrySize + 1] = e.peGreen, table[i * entrySize + 2] = e.peRed;
  }
  for (int y = 0; y < Image.Height; ++y) {
    uint8_t* row = &f[offBits + rowSize * (Format.TopDown ? y : Image.Height - 1 - y)];
    for (int x = 0; x < Image.Width; ++x) {
      const size_t i = static_cast<size_t>(y) * Image.Width + x;
      switch (Format.Bits) {
        case 1: row[x / 8] |= Image.Indices[i] << (7 - x % 8); break;
        case 4: row[x / 2] |= Image.Indices[i] << (x % 2 ? 0 : 4); break;
        case 8: row[x] = Image.Indices[i]; break;
        case 16: PutU16(row + 2 * x, static_cast<uint16_t>(Image.Colors[i])); break;
        case 24:
          row[3 * x] = Image.Colors[i] & 0xFF, row[3 * x + 1] = (Image.Colors[i] >> 8) & 0xFF,
                  row[3 * x + 2] = (Image.Colors[i] >> 16) & 0xFF;
          break;
        default: PutU32(row + 4 * x, Image.Colors[i]);
      }
    }
  }
  return f;
}

TSourceImage PatternImage(int W, int H, int Bits, int Colors) {
  TSourceImage image;
  image.Width = W, image.Height = H, image.BitsPerPixel = Bits;
  if (Bits <= 8) {
    const int n = Colors ? Colors : 1 << Bits;
    for (int i = 0; i < n; ++i)
      image.Palette.push_back(TPaletteEntry{static_cast<uint8_t>(i * 37), static_cast<uint8_t>(255 - i * 11),
                                            static_cast<uint8_t>(i * 5 + 3), 0});
    for (int y = 0; y < H; ++y)
      for (int x = 0; x < W; ++x) image.Indices.push_back(static_cast<uint8_t>((x * 7 + y * 3 + x * y) % n));
  } else {
    for (int y = 0; y < H; ++y)
      for (int x = 0; x < W; ++x)
        image.Colors.push_back(Bits == 16 ? static_cast<uint32_t>((x * 131 + y * 7919) & 0xFFFF)
                                          : static_cast<uint32_t>(((x * 255 / W) << 16) | ((y * 255 / H) << 8) | ((x ^ y) & 0xFF)));
  }
  return image;
}

std::vector<uint8_t> MakeJpeg(int W, int H, TJpegKind Kind, int Quality) {
  jpeg_compress_struct c;
  jpeg_error_mgr err;
  c.err = jpeg_std_error(&err);
  jpeg_create_compress(&c);
  unsigned char* out = nullptr;
  unsigned long outSize = 0;
  jpeg_mem_dest(&c, &out, &outSize);
  c.image_width = W;
  c.image_height = H;
  switch (Kind) {
    case TJpegKind::Grey: c.input_components = 1, c.in_color_space = JCS_GRAYSCALE; break;
    case TJpegKind::TwoComponents: c.input_components = 2, c.in_color_space = JCS_UNKNOWN; break;
    case TJpegKind::Cmyk:
    case TJpegKind::Ycck: c.input_components = 4, c.in_color_space = JCS_CMYK; break;
    default: c.input_components = 3, c.in_color_space = JCS_RGB;
  }
  jpeg_set_defaults(&c);
  if (Kind == TJpegKind::Ycck) jpeg_set_colorspace(&c, JCS_YCCK);
  jpeg_set_quality(&c, Quality, TRUE);
  if (Kind == TJpegKind::Progressive) jpeg_simple_progression(&c);
  jpeg_start_compress(&c, TRUE);
  std::vector<uint8_t> row(static_cast<size_t>(W) * c.input_components);
  uint32_t noise = 12345;
  while (c.next_scanline < c.image_height) {
    const int y = static_cast<int>(c.next_scanline);
    for (int x = 0; x < W; ++x) {
      noise = noise * 1103515245u + 12345u;
      const int n = static_cast<int>((noise >> 16) & 15) - 8;
      // Smooth sky-like gradients, a hard-edged disc and a little noise.
      const int dx = x - W / 2, dy = y - H / 2;
      const bool disc = int64_t{dx} * dx + int64_t{dy} * dy < int64_t{W} * W / 16;
      const int v[4] = {disc ? 220 : 40 + 150 * x / W, disc ? 60 : 80 + 120 * y / H, disc ? 30 : 200 - 100 * x / W,
                        (x + y) & 0xFF};
      for (int k = 0; k < c.input_components; ++k)
        row[static_cast<size_t>(x) * c.input_components + k] = static_cast<uint8_t>(std::min(255, std::max(0, v[k] + n)));
    }
    JSAMPROW r = row.data();
    jpeg_write_scanlines(&c, &r, 1);
  }
  jpeg_finish_compress(&c);
  std::vector<uint8_t> bytes(out, out + outSize);
  jpeg_destroy_compress(&c);
  std::free(out);
  return bytes;
}

std::vector<uint8_t> MakeJpegWithHugeHeader() {
  std::vector<uint8_t> j = MakeJpeg(16, 16, TJpegKind::Baseline);
  for (size_t i = 0; i + 8 < j.size(); ++i) {
    if (j[i] != 0xFF) continue;
    // The frame header's height and width, 0xEA60 each.
    if (j[i + 1] == 0xC0) j[i + 5] = 0xEA, j[i + 6] = 0x60, j[i + 7] = 0xEA, j[i + 8] = 0x60;
    if (j[i + 1] == 0xDA) {
      j.resize(i + 2 + (j[i + 2] << 8 | j[i + 3]));
      break;
    }
  }
  return j;
}

std::vector<uint8_t> WithLastScanRepeated(const std::vector<uint8_t>& Jpeg, int Times) {
  // The last SOS marker; its scan runs to the EOI marker that ends the file.
  size_t Last = 0;
  for (size_t I = 0; I + 1 < Jpeg.size(); ++I)
    if (Jpeg[I] == 0xFF && Jpeg[I + 1] == 0xDA) Last = I;
  const size_t End = Jpeg.size() - 2;
  std::vector<uint8_t> Result(Jpeg.begin(), Jpeg.begin() + static_cast<std::ptrdiff_t>(End));
  for (int T = 0; T < Times; ++T)
    Result.insert(Result.end(), Jpeg.begin() + static_cast<std::ptrdiff_t>(Last), Jpeg.begin() + static_cast<std::ptrdiff_t>(End));
  Result.insert(Result.end(), Jpeg.end() - 2, Jpeg.end());
  return Result;
}
