// Reading and writing BMP files of 8-bit palette bitmaps, see bmp_file.h.
#include "bmp_file.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <vector>

#include "byte_order.h"
#include "pool_texts.h"
#include "stream.h"

// The information headers a reader meets: BITMAPINFOHEADER (40) up to
// BITMAPV5HEADER (124), all starting with the same 40 bytes.
constexpr uint32_t MaxInfoHeaderSize = 124;
constexpr uint16_t PaletteBitCount = 8;
constexpr uint32_t CompressionNone = 0;  // BI_RGB
constexpr int32_t MaxBmpSide = 0xFFFF;   // the phone's picture header holds 16-bit sizes

static void Refuse() { throw EQVError(PoolText(InvalidBitmapTextId)); }

void LoadBitmapFromStream(TStream& Stream, TBitmap& Bitmap) {
  uint8_t fileHeader[BmpFileHeaderSize];
  Stream.ReadBuffer(fileHeader, sizeof fileHeader);
  if (fileHeader[0] != 'B' || fileHeader[1] != 'M') Refuse();

  uint8_t info[MaxInfoHeaderSize];
  Stream.ReadBuffer(info, 4);
  const uint32_t infoSize = GetU32(info);
  if (infoSize < BmpInfoHeaderSize || infoSize > MaxInfoHeaderSize) Refuse();
  Stream.ReadBuffer(info + 4, static_cast<int32_t>(infoSize - 4));

  const int32_t width = static_cast<int32_t>(GetU32(info + 4));
  const int32_t height = static_cast<int32_t>(GetU32(info + 8));
  const uint16_t planes = GetU16(info + 12);
  const uint16_t bitCount = GetU16(info + 14);
  const uint32_t compression = GetU32(info + 16);
  const uint32_t imageSize = GetU32(info + 20);
  const uint32_t coloursUsed = GetU32(info + 32);
  // Only bottom-up rows, as the writer makes them; a negative height would be top-down.
  if (width < 1 || width > MaxBmpSide || height < 1 || height > MaxBmpSide) Refuse();
  if (planes != 1 || bitCount != PaletteBitCount || compression != CompressionNone) Refuse();
  const uint32_t colours = coloursUsed != 0 ? coloursUsed : (1u << PaletteBitCount);
  if (colours > MaxPaletteEntries) Refuse();

  uint8_t table[4 * MaxPaletteEntries];
  Stream.ReadBuffer(table, static_cast<int32_t>(4 * colours));
  std::vector<TPaletteEntry> palette(colours);
  for (uint32_t i = 0; i < colours; ++i)  // stored blue, green, red, 0
    palette[i] = TPaletteEntry{table[4 * i + 2], table[4 * i + 1], table[4 * i], 0};

  const int64_t rowSize = BmpRowSize(width);
  const int64_t rowsBytes = rowSize * height;
  const int64_t pixelBytes = imageSize != 0 ? imageSize : rowsBytes;
  if (pixelBytes < rowsBytes || pixelBytes > std::numeric_limits<int32_t>::max()) Refuse();
  if (Stream.Remaining() < pixelBytes) throw EStreamError(StreamReadErrorText);

  std::vector<uint8_t> pixels(static_cast<size_t>(pixelBytes));
  Stream.ReadBuffer(pixels.data(), static_cast<int32_t>(pixelBytes));

  TBitmap result;
  result.SetSize(width, height);
  result.SetPalette(std::move(palette));
  for (int32_t row = 0; row < height; ++row)  // the file's first row is the bottom one
    std::copy_n(pixels.data() + (height - 1 - row) * rowSize, width, result.ScanLine(row));
  Bitmap = std::move(result);
}

void SaveBitmapToStream(TStream& Stream, const TBitmap& Bitmap) {
  // An empty palette would read back as 256 entries (colours-used 0 means
  // "all"), so it is written as a full table of black.
  std::vector<TPaletteEntry> palette = Bitmap.Palette();
  if (palette.empty()) palette.assign(MaxPaletteEntries, TPaletteEntry{0, 0, 0, 0});
  const uint32_t colours = static_cast<uint32_t>(palette.size());
  const int64_t rowSize = BmpRowSize(Bitmap.Width());
  const uint32_t rowsBytes = static_cast<uint32_t>(rowSize * Bitmap.Height());
  const uint32_t pixelOffset = BmpFileHeaderSize + BmpInfoHeaderSize + 4 * colours;

  std::vector<uint8_t> file(pixelOffset + rowsBytes, 0);
  uint8_t* p = file.data();
  p[0] = 'B';
  p[1] = 'M';
  PutU32(p + 2, static_cast<uint32_t>(file.size()));
  PutU32(p + 10, pixelOffset);
  uint8_t* info = p + BmpFileHeaderSize;
  PutU32(info, BmpInfoHeaderSize);
  PutU32(info + 4, static_cast<uint32_t>(Bitmap.Width()));
  PutU32(info + 8, static_cast<uint32_t>(Bitmap.Height()));
  PutU16(info + 12, 1);
  PutU16(info + 14, PaletteBitCount);
  PutU32(info + 20, rowsBytes);
  PutU32(info + 32, colours);
  uint8_t* table = info + BmpInfoHeaderSize;
  for (uint32_t i = 0; i < colours; ++i) {
    table[4 * i] = palette[i].peBlue;
    table[4 * i + 1] = palette[i].peGreen;
    table[4 * i + 2] = palette[i].peRed;
  }
  uint8_t* rows = p + pixelOffset;
  for (int row = 0; row < Bitmap.Height(); ++row)
    std::copy_n(Bitmap.ScanLine(row), Bitmap.Width(), rows + (Bitmap.Height() - 1 - row) * rowSize);
  Stream.WriteBuffer(file.data(), static_cast<int32_t>(file.size()));
}
