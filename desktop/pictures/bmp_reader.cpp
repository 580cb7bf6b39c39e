// The editor's BMP reader, see bmp_reader.h.
#include "bmp_reader.h"

#include <algorithm>
#include <cstring>
#include <vector>

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

// The bytes of the file being read, fetched where the reader needs them.
class TBmpBytes {
 public:
  virtual ~TBmpBytes() = default;
  uint64_t Size() const { return FSize; }
  // Count bytes from Offset; a range past the end is an invalid bitmap.
  std::vector<uint8_t> Get(uint64_t Offset, uint64_t Count) {
    if (Offset > FSize || Count > FSize - Offset) Invalid();
    std::vector<uint8_t> bytes(static_cast<size_t>(Count));
    Fetch(Offset, bytes.data(), bytes.size());
    return bytes;
  }
  // The same into Dest, which holds Count bytes.
  void GetInto(uint64_t Offset, uint8_t* Dest, size_t Count) {
    if (Offset > FSize || Count > FSize - Offset) Invalid();
    Fetch(Offset, Dest, Count);
  }

 protected:
  explicit TBmpBytes(uint64_t Size) : FSize(Size) {}

 private:
  virtual void Fetch(uint64_t Offset, uint8_t* Dest, size_t Count) = 0;
  uint64_t FSize;
};

class TMemoryBytes final : public TBmpBytes {
 public:
  TMemoryBytes(const uint8_t* Data, size_t Size) : TBmpBytes(Size), FData(Data) {}

 private:
  void Fetch(uint64_t Offset, uint8_t* Dest, size_t Count) override {
    if (Count) std::memcpy(Dest, FData + Offset, Count);
  }
  const uint8_t* FData;
};

class TStreamBytes final : public TBmpBytes {
 public:
  explicit TStreamBytes(TStream& File) : TBmpBytes(static_cast<uint64_t>(File.Size())), FFile(File) {}

 private:
  void Fetch(uint64_t Offset, uint8_t* Dest, size_t Count) override {
    FFile.Seek(static_cast<int64_t>(Offset), soFromBeginning);
    // The loader refuses files past what one read takes (2 GiB).
    FFile.ReadBuffer(Dest, static_cast<int32_t>(Count));
  }
  TStream& FFile;
};

// How many pixel bytes are read at a time: a multiple of 12 bytes, so that
// a piece of a row always starts at a whole pixel of every depth.
constexpr size_t PixelPieceBytes = 12 * 87381;  // just under 1 MiB

// Decodes the pixels of picture row Y whose bytes are Piece, the row's bytes
// from byte First on (a multiple of 12) for Count bytes.
void DecodePiece(const uint8_t* Piece, size_t Count, uint64_t First, int Bits, const TChannel (&Rgb)[3],
                 TSourceImage& Image, int Y) {
  const uint64_t x0 = First * 8 / static_cast<uint64_t>(Bits);
  const uint64_t xEnd = std::min<uint64_t>(static_cast<uint64_t>(Image.Width), (First + Count) * 8 / static_cast<uint64_t>(Bits));
  const size_t at = static_cast<size_t>(Y) * static_cast<size_t>(Image.Width) + static_cast<size_t>(x0);
  const uint8_t* row = Piece;
  for (size_t x = 0; x < xEnd - std::min(x0, xEnd); ++x) {
    switch (Bits) {
      case 1: Image.Indices[at + x] = (row[x >> 3] >> (7 - (x & 7))) & 1; break;
      case 4: Image.Indices[at + x] = (row[x >> 1] >> ((x & 1) ? 0 : 4)) & 15; break;
      case 8: Image.Indices[at + x] = row[x]; break;
      case 24: Image.Colors[at + x] = (uint32_t{row[3 * x + 2]} << 16) | (uint32_t{row[3 * x + 1]} << 8) | row[3 * x]; break;
      default: {
        const uint32_t p = Bits == 16 ? GetU16(row + 2 * x) : GetU32(row + 4 * x);
        Image.Colors[at + x] = (Rgb[0].Get(p) << 16) | (Rgb[1].Get(p) << 8) | Rgb[2].Get(p);
      }
    }
  }
}

TSourceImage ReadBmp(TBmpBytes& Bytes) {
  const uint64_t Size = Bytes.Size();
  if (Size < BmpFileHeaderSize + 4) Invalid();
  const std::vector<uint8_t> head = Bytes.Get(0, BmpFileHeaderSize + 4);
  if (head[0] != 'B' || head[1] != 'M') Invalid();
  const uint32_t offBits = GetU32(head.data() + 10);
  const uint32_t infoSize = GetU32(head.data() + BmpFileHeaderSize);
  if (infoSize != CoreHeaderSize && infoSize < BmpInfoHeaderSize) Invalid();
  if (infoSize > Size - BmpFileHeaderSize) Invalid();
  // What the reader looks at of the header: up to the V2 header's masks.
  const std::vector<uint8_t> infoBytes =
      Bytes.Get(BmpFileHeaderSize, std::min<uint64_t>(infoSize, BmpInfoHeaderSize + 12));
  const uint8_t* info = infoBytes.data();

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
      const std::vector<uint8_t> fields = Bytes.Get(tableAt, 12);
      for (int i = 0; i < 3; ++i) masks[i] = GetU32(fields.data() + 4 * i);
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
    const std::vector<uint8_t> table = Bytes.Get(tableAt, uint64_t{count} * entrySize);
    for (uint32_t i = 0; i < count; ++i) {
      const uint8_t* e = table.data() + i * entrySize;
      image.Palette.push_back(TPaletteEntry{e[2], e[1], e[0], 0});
    }
  }

  if (offBits > Size) Invalid();
  if (compression == BI_RLE8 || compression == BI_RLE4) {
    image.AllocatePixels();
    const std::vector<uint8_t> codes = Bytes.Get(offBits, Size - offBits);
    DecodeBmpRle(codes.data(), codes.size(), bits, image);
    return image;
  }
  const uint64_t rowSize = (static_cast<uint64_t>(width) * static_cast<uint64_t>(bits) + 31) / 32 * 4;
  if ((Size - offBits) / rowSize < static_cast<uint64_t>(height)) Invalid();

  const TChannel rgb[3] = {TChannel(masks[0]), TChannel(masks[1]), TChannel(masks[2])};
  image.AllocatePixels();
  // File rows in file order; a row longer than a piece is read in pieces.
  const uint64_t rowsAtATime =
      std::min<uint64_t>(std::max<uint64_t>(1, PixelPieceBytes / rowSize), static_cast<uint64_t>(image.Height));
  std::vector<uint8_t> piece(static_cast<size_t>(std::min<uint64_t>(rowsAtATime * rowSize, PixelPieceBytes)));
  const auto pictureRow = [&](uint64_t FileRow) {
    return static_cast<int>(topDown ? FileRow : static_cast<uint64_t>(image.Height) - 1 - FileRow);
  };
  for (uint64_t fileRow = 0; fileRow < static_cast<uint64_t>(image.Height);) {
    if (rowSize <= piece.size()) {
      const uint64_t rows = std::min(rowsAtATime, static_cast<uint64_t>(image.Height) - fileRow);
      Bytes.GetInto(offBits + fileRow * rowSize, piece.data(), static_cast<size_t>(rows * rowSize));
      for (uint64_t r = 0; r < rows; ++r)
        DecodePiece(piece.data() + r * rowSize, static_cast<size_t>(rowSize), 0, bits, rgb, image, pictureRow(fileRow + r));
      fileRow += rows;
      continue;
    }
    for (uint64_t first = 0; first < rowSize; first += piece.size()) {
      const size_t count = static_cast<size_t>(std::min<uint64_t>(piece.size(), rowSize - first));
      Bytes.GetInto(offBits + fileRow * rowSize + first, piece.data(), count);
      DecodePiece(piece.data(), count, first, bits, rgb, image, pictureRow(fileRow));
    }
    ++fileRow;
  }
  return image;
}

}  // namespace

TSourceImage ReadBmpPicture(TStream& File) {
  TStreamBytes bytes(File);
  return ReadBmp(bytes);
}

TSourceImage ReadBmpPicture(const uint8_t* Data, size_t Size) {
  TMemoryBytes bytes(Data, Size);
  return ReadBmp(bytes);
}
