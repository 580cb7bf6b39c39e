// The phone's packed picture format: the size rule, the exact bytes of a
// packed picture, unpacking with the default palette, and hostile headers.
#include <gtest/gtest.h>

#include <cstring>

#include "byte_order.h"
#include "picture_fixtures.h"
#include "qvdp_pictures.h"

namespace {

std::vector<uint8_t> Header(uint16_t Width, uint16_t Height, uint16_t N) {
  std::vector<uint8_t> header(6);
  PutU16(&header[0], Width);
  PutU16(&header[2], Height);
  PutU16(&header[4], N);
  return header;
}

}  // namespace

struct TSizeCase {
  uint16_t Width, Height, N;
  int32_t Size;
};

class PackedSizeFromHeader : public testing::TestWithParam<TSizeCase> {};

TEST_P(PackedSizeFromHeader, FollowsTheSizeRule) {
  const TSizeCase& c = GetParam();
  EXPECT_EQ(TQVDP_PICTURES::SizeFromHeader(Header(c.Width, c.Height, c.N).data()), c.Size);
}

INSTANTIATE_TEST_SUITE_P(Headers, PackedSizeFromHeader,
                         testing::Values(TSizeCase{85, 110, 240, 10316}, TSizeCase{85, 110, 0, 9356},
                                         TSizeCase{85, 110, 1, 9356}, TSizeCase{85, 110, 2, 9364},
                                         TSizeCase{85, 110, 256, 10380}, TSizeCase{85, 110, 257, 0},
                                         TSizeCase{0, 110, 2, 0}, TSizeCase{85, 0, 2, 0},
                                         TSizeCase{0xFFFF, 0xFFFF, 256, 0}));  // beyond an Integer

TEST(PackPicture, EditorPictureIs10316BytesWith240IndexedRecords) {
  const TBitmap picture = MakeEditorPicture(1);
  ASSERT_EQ(TQVDP_PICTURES::PackedSize(&picture), 10316);
  const std::vector<uint8_t> packed = Pack(picture);
  EXPECT_EQ(packed.size(), 10316u);
  EXPECT_EQ(GetU16(&packed[0]), 85);
  EXPECT_EQ(GetU16(&packed[2]), 110);
  EXPECT_EQ(GetU16(&packed[4]), 240);
  for (int i = 0; i < 240; ++i) {
    SCOPED_TRACE(i);
    const TPaletteEntry& entry = picture.Palette()[static_cast<size_t>(i)];
    EXPECT_EQ(packed[6 + 4 * i], i);
    EXPECT_EQ(packed[7 + 4 * i], entry.peRed);
    EXPECT_EQ(packed[8 + 4 * i], entry.peGreen);
    EXPECT_EQ(packed[9 + 4 * i], entry.peBlue);
  }
  EXPECT_EQ(0, std::memcmp(&packed[966], picture.ScanLine(0), 85));  // top row first, no padding
  EXPECT_EQ(0, std::memcmp(&packed[966 + 85 * 109], picture.ScanLine(109), 85));
}

TEST(PackPicture, NoBitmapPacksToNothing) {
  EXPECT_EQ(TQVDP_PICTURES::PackedSize(nullptr), 0);
  TBitmap noPalette;
  noPalette.SetSize(2, 3);
  EXPECT_EQ(TQVDP_PICTURES::PackedSize(&noPalette), 6 + 6);
}

TEST(UnpackPicture, FewerThanTwoRecordsMeansTheDefaultPalette) {
  std::vector<uint8_t> packed = Header(2, 2, 1);
  packed.insert(packed.end(), {240, 241, 254, 255});
  TBitmap picture;
  ASSERT_TRUE(TQVDP_PICTURES::UnpackPicture(packed.data(), packed.size(), picture));
  TLogPalette palette;
  BuildDefaultPalette(palette);
  EXPECT_EQ(picture.Palette(), std::vector<TPaletteEntry>(palette.palPalEntry, palette.palPalEntry + 256));
  EXPECT_EQ(picture.ScanLine(1)[0], 254);
}

TEST(UnpackPicture, RecordWithIndexByteBSetsPositionBMinusOne) {
  std::vector<uint8_t> packed = Header(1, 1, 2);
  packed.insert(packed.end(), {1, 10, 20, 30, 0, 40, 50, 60, 7});
  TBitmap picture;
  ASSERT_TRUE(TQVDP_PICTURES::UnpackPicture(packed.data(), packed.size(), picture));
  EXPECT_EQ(picture.Palette()[0], (TPaletteEntry{10, 20, 30, 0}));
  EXPECT_EQ(picture.Palette()[255], (TPaletteEntry{40, 50, 60, 0}));  // b = 0 wraps round
  EXPECT_EQ(picture.Palette()[1], (TPaletteEntry{0, 0, 0, 0}));
  EXPECT_EQ(picture.ScanLine(0)[0], 7);
}

TEST(UnpackPicture, RefusesHeadersItCannotHonourAndLeavesTheBitmap) {
  const TBitmap before = MakeEditorPicture(2);
  std::vector<uint8_t> packed = Pack(MakeEditorPicture(3));
  TBitmap picture = before;
  EXPECT_FALSE(TQVDP_PICTURES::UnpackPicture(packed.data(), packed.size() - 1, picture));  // one byte short
  EXPECT_FALSE(TQVDP_PICTURES::UnpackPicture(packed.data(), 5, picture));
  PutU16(&packed[4], 257);
  EXPECT_FALSE(TQVDP_PICTURES::UnpackPicture(packed.data(), packed.size(), picture));
  EXPECT_EQ(picture, before);
}

TEST(DefaultPalette, HoldsThePhoneColoursAbove239) {
  TLogPalette palette;
  BuildDefaultPalette(palette);
  EXPECT_EQ(palette.palVersion, 0x300);
  EXPECT_EQ(palette.palNumEntries, 256);
  EXPECT_EQ(palette.palPalEntry[0], (TPaletteEntry{0, 0, 0, 0}));
  EXPECT_EQ(palette.palPalEntry[239], (TPaletteEntry{0, 0, 0, 0}));
  EXPECT_EQ(palette.palPalEntry[241], (TPaletteEntry{0x80, 0, 0, 0}));
  EXPECT_EQ(palette.palPalEntry[248], (TPaletteEntry{0xC0, 0xC0, 0xC0, 0}));
  EXPECT_EQ(palette.palPalEntry[252], (TPaletteEntry{0, 0, 0xFF, 0}));
  EXPECT_EQ(palette.palPalEntry[255], (TPaletteEntry{0xFF, 0xFF, 0xFF, 0}));
}
