// The editor's BMP reader: every depth and header kind the editor takes, and
// the files it must refuse without reading past the bytes it was given.
#include <cmath>

#include <gtest/gtest.h>

#include "bmp_reader.h"
#include "byte_order.h"
#include "picture_error.h"
#include "picture_fixtures.h"

namespace {

// A channel widened to 8 bits: the value scaled from its mask's range, rounded.
uint32_t Widen(uint32_t Pixel, uint32_t Mask) {
  if (!Mask) return 0;
  int shift = 0;
  while (!((Mask >> shift) & 1)) ++shift;
  const double max = Mask >> shift;
  return static_cast<uint32_t>(std::lround(((Pixel & Mask) >> shift) * 255.0 / max));
}

struct TReadCase {
  const char* Name;
  TBmpFormat Format;
  int W, H;
};

class BmpReadTest : public testing::TestWithParam<TReadCase> {};

TEST_P(BmpReadTest, GivesBackWhatTheFileHolds) {
  const TReadCase& c = GetParam();
  const TSourceImage written = PatternImage(c.W, c.H, c.Format.Bits, c.Format.ColorsUsed);
  const std::vector<uint8_t> file = WriteBmp(c.Format, written);
  const TSourceImage read = ReadBmpPicture(file.data(), file.size());
  ASSERT_EQ(read.Width, c.W);
  ASSERT_EQ(read.Height, c.H);
  EXPECT_EQ(read.BitsPerPixel, c.Format.Bits);
  if (c.Format.Bits <= 8) {
    EXPECT_EQ(read.Palette, written.Palette);
    EXPECT_EQ(read.Indices, written.Indices);
    return;
  }
  EXPECT_TRUE(read.Palette.empty());
  uint32_t masks[3] = {0xFF0000, 0xFF00, 0xFF};
  if (c.Format.Bits == 16) masks[0] = 0x7C00, masks[1] = 0x03E0, masks[2] = 0x1F;
  if (c.Format.BitFields) std::copy(c.Format.Masks, c.Format.Masks + 3, masks);
  for (size_t i = 0; i < written.Colors.size(); ++i) {
    const uint32_t p = written.Colors[i];
    const uint32_t expected = (Widen(p, masks[0]) << 16) | (Widen(p, masks[1]) << 8) | Widen(p, masks[2]);
    ASSERT_EQ(read.Colors[i], expected) << "pixel " << i;
  }
}

TBmpFormat Format(int Bits, int Header, bool TopDown = false, int ColorsUsed = 0) {
  TBmpFormat s;
  s.Bits = Bits, s.HeaderSize = Header, s.TopDown = TopDown, s.ColorsUsed = ColorsUsed;
  return s;
}
TBmpFormat Fields(int Bits, int Header, uint32_t R, uint32_t G, uint32_t B) {
  TBmpFormat s = Format(Bits, Header);
  s.BitFields = true, s.Masks[0] = R, s.Masks[1] = G, s.Masks[2] = B;
  return s;
}

// Odd widths, so that every depth's row padding is exercised.
INSTANTIATE_TEST_SUITE_P(
    DepthsAndHeaders, BmpReadTest,
    testing::Values(TReadCase{"b1", Format(1, 40), 13, 7}, TReadCase{"b1core", Format(1, 12), 33, 5},
                    TReadCase{"b4topdown", Format(4, 40, true), 9, 6}, TReadCase{"b4short", Format(4, 40, false, 3), 9, 6},
                    TReadCase{"b8", Format(8, 40), 11, 9}, TReadCase{"b8v4", Format(8, 108), 11, 9},
                    TReadCase{"b8v5topdown", Format(8, 124, true), 11, 9}, TReadCase{"b8used200", Format(8, 40, false, 200), 17, 4},
                    TReadCase{"b8core", Format(8, 12), 5, 5}, TReadCase{"b16rgb555", Format(16, 40), 7, 5},
                    TReadCase{"b16fields565", Fields(16, 40, 0xF800, 0x07E0, 0x001F), 7, 5},
                    TReadCase{"b16v4fields565topdown", [] { auto s = Fields(16, 108, 0xF800, 0x07E0, 0x1F); s.TopDown = true; return s; }(), 3, 3},
                    TReadCase{"b24", Format(24, 40), 5, 3}, TReadCase{"b24topdown", Format(24, 40, true), 6, 4},
                    TReadCase{"b24core", Format(24, 12), 7, 2}, TReadCase{"b32", Format(32, 40), 5, 4},
                    TReadCase{"b32fields", Fields(32, 40, 0xFF0000, 0xFF00, 0xFF), 5, 4},
                    TReadCase{"b32v5swapped", Fields(32, 124, 0xFF, 0xFF00, 0xFF0000), 5, 4},
                    TReadCase{"b32fields10bit", Fields(32, 40, 0x3FF00000, 0xFFC00, 0x3FF), 4, 4}),
    [](const testing::TestParamInfo<TReadCase>& I) { return std::string(I.param.Name); });

// A file is read in pieces of just under 1 MiB: rows longer than a piece
// are split inside the row, shorter ones come several to a piece with a
// last piece that is not full. From memory and from a stream alike.
TEST(BmpReader, RowsReadInPiecesGiveWhatTheFileHolds) {
  const TReadCase cases[] = {{"b24RowOverAPiece", Format(24, 40), 350000, 2},
                             {"b1RowOverAPiece", Format(1, 40), 8400001, 1},
                             {"b8ManyRowsAPiece", Format(8, 40), 1000, 3000},
                             {"b32ManyRowsAPieceTopDown", Format(32, 40, true), 1001, 700}};
  for (const TReadCase& c : cases) {
    SCOPED_TRACE(c.Name);
    const TSourceImage written = PatternImage(c.W, c.H, c.Format.Bits);
    const std::vector<uint8_t> file = WriteBmp(c.Format, written);
    TMemoryStream stream(file);
    for (const TSourceImage& read : {ReadBmpPicture(file.data(), file.size()), ReadBmpPicture(stream)}) {
      ASSERT_EQ(read.Width, c.W);
      ASSERT_EQ(read.Height, c.H);
      EXPECT_TRUE(read.Indices == written.Indices);
      EXPECT_TRUE(read.Colors == written.Colors);
    }
  }
}

TEST(BmpReader, PositionsBeyondAShortTableAreBlack) {
  TSourceImage image = PatternImage(4, 1, 8, 3);
  image.Indices = {0, 2, 3, 255};
  const auto file = WriteBmp(Format(8, 40, false, 3), image);
  const TSourceImage read = ReadBmpPicture(file.data(), file.size());
  EXPECT_EQ(read.Palette.size(), 3u);
  EXPECT_EQ(read.ColorAt(1, 0), RgbOf(image.Palette[2]));
  EXPECT_EQ(read.ColorAt(2, 0), 0u);
  EXPECT_EQ(read.ColorAt(3, 0), 0u);
}

struct TRefusal {
  const char* Name;
  void (*Spoil)(std::vector<uint8_t>& File);
};

class BmpRefusalTest : public testing::TestWithParam<TRefusal> {};

TEST_P(BmpRefusalTest, RefusesWithTheLoadersText) {
  std::vector<uint8_t> file = WriteBmp(Format(8, 40), PatternImage(10, 10, 8));
  GetParam().Spoil(file);
  try {
    ReadBmpPicture(file.data(), file.size());
    FAIL() << "accepted";
  } catch (const EInvalidGraphic& e) {
    EXPECT_STREQ(e.what(), "Bitmap ist ung\xFCltig");
  }
}

INSTANTIATE_TEST_SUITE_P(
    SpoiledFiles, BmpRefusalTest,
    testing::Values(
        TRefusal{"NotBM", [](std::vector<uint8_t>& f) { f[1] = 'X'; }},
        TRefusal{"OddHeaderSize", [](std::vector<uint8_t>& f) { PutU32(&f[14], 20); }},
        TRefusal{"HeaderBeyondFile", [](std::vector<uint8_t>& f) { PutU32(&f[14], 100000); }},
        TRefusal{"WidthZero", [](std::vector<uint8_t>& f) { PutU32(&f[18], 0); }},
        TRefusal{"NegativeWidth", [](std::vector<uint8_t>& f) { PutU32(&f[18], static_cast<uint32_t>(-10)); }},
        TRefusal{"HeightZero", [](std::vector<uint8_t>& f) { PutU32(&f[22], 0); }},
        TRefusal{"HeightMostNegative", [](std::vector<uint8_t>& f) { PutU32(&f[22], 0x80000000u); }},
        TRefusal{"TwoBits", [](std::vector<uint8_t>& f) { PutU16(&f[28], 2); }},
        TRefusal{"JpegCompression", [](std::vector<uint8_t>& f) { PutU32(&f[30], 4); }},
        TRefusal{"BitFieldsOnEightBits", [](std::vector<uint8_t>& f) { PutU32(&f[30], 3); }},
        TRefusal{"MasksBeyondAShortHeader",
                 [](std::vector<uint8_t>& f) { PutU32(&f[14], 44), PutU16(&f[28], 16), PutU32(&f[30], 3); }},
        TRefusal{"LastRowCut", [](std::vector<uint8_t>& f) { f.pop_back(); }},
        TRefusal{"PixelsBeyondFile", [](std::vector<uint8_t>& f) { PutU32(&f[10], static_cast<uint32_t>(f.size())); }},
        TRefusal{"HugeWithoutPixels", [](std::vector<uint8_t>& f) { PutU32(&f[18], 50000), PutU32(&f[22], 50000); }},
        TRefusal{"ColourTableCut", [](std::vector<uint8_t>& f) { f.resize(14 + 40 + 100); }},
        TRefusal{"OnlyFileHeader", [](std::vector<uint8_t>& f) { f.resize(16); }}),
    [](const testing::TestParamInfo<TRefusal>& I) { return std::string(I.param.Name); });

}  // namespace
