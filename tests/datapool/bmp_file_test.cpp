// BMP files of the pictures: the exact bytes the writer produces, a reader
// that stops at the file's own end, and headers that lie.
#include "bmp_file.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "byte_order.h"
#include "picture_fixtures.h"
#include "stream.h"

namespace {

std::vector<uint8_t> Saved(const TBitmap& Picture) {
  TMemoryStream stream;
  SaveBitmapToStream(stream, Picture);
  return stream.Bytes();
}

std::string LoadError(const std::vector<uint8_t>& Bytes) {
  TMemoryStream stream(Bytes);
  TBitmap picture;
  try {
    LoadBitmapFromStream(stream, picture);
  } catch (const std::exception& error) {
    return error.what();
  }
  return "";
}

}  // namespace

TEST(BmpFile, EditorPictureIs10758BytesLaidOutAsTheWriterDoes) {
  const TBitmap picture = MakeEditorPicture(3);
  const std::vector<uint8_t> file = Saved(picture);
  ASSERT_EQ(file.size(), 10758u);  // 14 + 40 + 1,024 + 110 x 88
  EXPECT_EQ(file[0], 'B');
  EXPECT_EQ(file[1], 'M');
  EXPECT_EQ(GetU32(&file[2]), 10758u);
  EXPECT_EQ(GetU32(&file[6]), 0u);
  EXPECT_EQ(GetU32(&file[10]), 1078u);
  EXPECT_EQ(GetU32(&file[14]), 40u);
  EXPECT_EQ(GetU32(&file[18]), 85u);
  EXPECT_EQ(GetU32(&file[22]), 110u);
  EXPECT_EQ(GetU16(&file[26]), 1);
  EXPECT_EQ(GetU16(&file[28]), 8);
  EXPECT_EQ(GetU32(&file[30]), 0u);
  EXPECT_EQ(GetU32(&file[34]), 110u * 88u);
  EXPECT_EQ(GetU32(&file[46]), 256u);
  // Colour table entry 1: blue, green, red, 0.
  const TPaletteEntry one = picture.Palette()[1];
  EXPECT_EQ(file[54 + 4], one.peBlue);
  EXPECT_EQ(file[54 + 5], one.peGreen);
  EXPECT_EQ(file[54 + 6], one.peRed);
  EXPECT_EQ(file[54 + 7], 0);
  // Bottom row first, padded to 88 bytes.
  EXPECT_EQ(0, std::memcmp(&file[1078], picture.ScanLine(109), 85));
  EXPECT_EQ(0, std::memcmp(&file[1078 + 88], picture.ScanLine(108), 85));
  EXPECT_EQ(file[1078 + 85], 0);
}

TEST(BmpFile, ReadsBackAndStopsRightAfterTheLastPixelByte) {
  const TBitmap picture = MakeEditorPicture(9);
  std::vector<uint8_t> bytes = Saved(picture);
  bytes.push_back(0xA5);  // the next slot's presence byte
  TMemoryStream stream(bytes);
  TBitmap loaded;
  LoadBitmapFromStream(stream, loaded);
  EXPECT_EQ(loaded, picture);
  EXPECT_EQ(stream.Position(), 10758);
}

TEST(BmpFile, AcceptsShorterColourTablesAndAnImplicitFullOne) {
  TBitmap small;
  small.SetSize(3, 2);
  small.SetPalette(std::vector<TPaletteEntry>{{1, 2, 3, 0}, {4, 5, 6, 0}});
  small.ScanLine(0)[2] = 1;
  const std::vector<uint8_t> file = Saved(small);
  EXPECT_EQ(file.size(), 14u + 40 + 8 + 2 * 4);
  TMemoryStream stream(file);
  TBitmap loaded;
  LoadBitmapFromStream(stream, loaded);
  EXPECT_EQ(loaded, small);

  // Colours-used 0 means 2^8 entries, and an image size 0 means rows x height.
  std::vector<uint8_t> full = Saved(MakeEditorPicture(1));
  PutU32(&full[46], 0);
  PutU32(&full[34], 0);
  TMemoryStream fullStream(full);
  LoadBitmapFromStream(fullStream, loaded);
  EXPECT_EQ(loaded, MakeEditorPicture(1));
}

TEST(BmpFile, SkipsPixelBytesBeyondTheRowsThatTheImageSizeCounts) {
  std::vector<uint8_t> file = Saved(MakeEditorPicture(2));
  PutU32(&file[34], 110 * 88 + 4);
  file.insert(file.end(), {9, 9, 9, 9, 0x77});
  TMemoryStream stream(file);
  TBitmap loaded;
  LoadBitmapFromStream(stream, loaded);
  EXPECT_EQ(loaded, MakeEditorPicture(2));
  uint8_t next = 0;
  stream.ReadBuffer(&next, 1);
  EXPECT_EQ(next, 0x77);
}

struct TLyingHeader {
  const char* Name;
  size_t Offset;
  int Size;  // 1, 2 or 4 bytes
  uint32_t Value;
  const char* Error;
};

class BmpLyingHeader : public testing::TestWithParam<TLyingHeader> {};

TEST_P(BmpLyingHeader, IsRefusedWithoutTouchingTheBitmap) {
  const TLyingHeader& lie = GetParam();
  std::vector<uint8_t> file = Saved(MakeEditorPicture(4));
  if (lie.Size == 1) file[lie.Offset] = static_cast<uint8_t>(lie.Value);
  if (lie.Size == 2) PutU16(&file[lie.Offset], static_cast<uint16_t>(lie.Value));
  if (lie.Size == 4) PutU32(&file[lie.Offset], lie.Value);
  TMemoryStream stream(file);
  TBitmap target = MakeEditorPicture(7);
  try {
    LoadBitmapFromStream(stream, target);
    FAIL() << "accepted";
  } catch (const std::exception& error) {
    EXPECT_STREQ(error.what(), lie.Error);
  }
  EXPECT_EQ(target, MakeEditorPicture(7));
}

constexpr const char* Invalid = "Bitmap ist ung\xFCltig";
constexpr const char* ReadError = "Stream-Read-Fehler";

INSTANTIATE_TEST_SUITE_P(
    Headers, BmpLyingHeader,
    testing::Values(TLyingHeader{"NotBM", 0, 1, 'X', Invalid}, TLyingHeader{"InfoSizeSmall", 14, 4, 12, Invalid},
                    TLyingHeader{"InfoSizeHuge", 14, 4, 0x7FFFFFFF, Invalid},
                    TLyingHeader{"WidthZero", 18, 4, 0, Invalid}, TLyingHeader{"WidthHuge", 18, 4, 0x10000, Invalid},
                    TLyingHeader{"TopDown", 22, 4, 0xFFFFFF92, Invalid},
                    TLyingHeader{"TwoPlanes", 26, 2, 2, Invalid}, TLyingHeader{"TrueColour", 28, 2, 24, Invalid},
                    TLyingHeader{"Compressed", 30, 4, 1, Invalid},
                    TLyingHeader{"ImageSizeTooSmall", 34, 4, 100, Invalid},
                    TLyingHeader{"ImageSizeHuge", 34, 4, 0x7FFFFFFF, ReadError},
                    TLyingHeader{"ImageSizeAbove2G", 34, 4, 0x80000000u, Invalid},
                    TLyingHeader{"TooManyColours", 46, 4, 257, Invalid}),
    [](const testing::TestParamInfo<TLyingHeader>& info) { return std::string(info.param.Name); });

TEST(BmpFile, FileCutShortAnywhereIsAReadError) {
  const std::vector<uint8_t> file = Saved(MakeEditorPicture(5));
  for (size_t length : {0u, 1u, 13u, 14u, 17u, 53u, 54u, 1077u, 1078u, 10757u}) {
    SCOPED_TRACE(length);
    EXPECT_EQ(LoadError(std::vector<uint8_t>(file.begin(), file.begin() + length)), ReadError);
  }
}
