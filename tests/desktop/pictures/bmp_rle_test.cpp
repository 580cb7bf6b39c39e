// Run-length-encoded bitmaps against a second, independent implementation:
// ImageMagick's convert writes RLE8 files of its own, and decodes pictures
// and hand-written RLE8 and RLE4 code streams (moves, early line ends,
// absolute runs of every padding) to PPM; the editor's reader must give the
// same colour at every pixel. The hostile cases, where the codes claim more than
// the picture holds, have their expected pixels stated here.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "bmp_reader.h"
#include "byte_order.h"
#include "picture_error.h"
#include "picture_fixtures.h"

namespace {

constexpr uint32_t Rle8 = 1, Rle4 = 2;

std::string Scratch(const std::string& Name) { return testing::TempDir() + "qv_rle_" + Name; }

std::vector<uint8_t> ReadFile(const std::string& FileName) {
  std::ifstream In(FileName, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(In), std::istreambuf_iterator<char>());
}

void WriteFile(const std::string& FileName, const std::vector<uint8_t>& Bytes) {
  std::ofstream Out(FileName, std::ios::binary);
  Out.write(reinterpret_cast<const char*>(Bytes.data()), static_cast<std::streamsize>(Bytes.size()));
}

void Convert(const std::string& Arguments) {
  const std::string Command = "convert " + Arguments + " 2>&1";
  ASSERT_EQ(std::system(Command.c_str()), 0) << Command;
}

struct TRgbPicture {
  int Width = 0, Height = 0;
  std::vector<uint32_t> Pixels;  // 0x00RRGGBB, top row first
};

// ImageMagick's own decode of Bmp, through a binary PPM.
TRgbPicture DecodedByImageMagick(const std::string& Bmp) {
  const std::string Ppm = Bmp + ".ppm";
  Convert(Bmp + " -depth 8 " + Ppm);
  const std::vector<uint8_t> Bytes = ReadFile(Ppm);
  TRgbPicture Picture;
  int MaxValue = 0, Read = 0;
  const std::string Head(Bytes.begin(), Bytes.begin() + std::min<size_t>(Bytes.size(), 64));
  EXPECT_EQ(std::sscanf(Head.c_str(), "P6 %d %d %d%n", &Picture.Width, &Picture.Height, &MaxValue, &Read), 3);
  EXPECT_EQ(MaxValue, 255);
  const size_t At = static_cast<size_t>(Read) + 1;
  for (size_t I = 0; At + 3 * I + 2 < Bytes.size(); ++I)
    Picture.Pixels.push_back((uint32_t{Bytes[At + 3 * I]} << 16) | (uint32_t{Bytes[At + 3 * I + 1]} << 8) |
                             Bytes[At + 3 * I + 2]);
  EXPECT_EQ(Picture.Pixels.size(), static_cast<size_t>(Picture.Width) * Picture.Height);
  return Picture;
}

// The reader's picture of Bmp has Reference's colour at every pixel.
void ExpectPixels(const std::string& Bmp, const TRgbPicture& Reference) {
  const std::vector<uint8_t> File = ReadFile(Bmp);
  const TSourceImage Read = ReadBmpPicture(File.data(), File.size());
  ASSERT_EQ(Read.Width, Reference.Width);
  ASSERT_EQ(Read.Height, Reference.Height);
  for (int Y = 0; Y < Read.Height; ++Y)
    for (int X = 0; X < Read.Width; ++X)
      ASSERT_EQ(Read.ColorAt(X, Y), Reference.Pixels[static_cast<size_t>(Y) * Read.Width + X])
          << "pixel " << X << ", " << Y;
}

// A bottom-up W x H bitmap of Bits (4 or 8) with a palette of distinct
// colours whose pixels are Codes.
std::vector<uint8_t> RleFile(int Bits, int W, int H, const std::vector<uint8_t>& Codes) {
  TBmpFormat Format;
  Format.Bits = Bits;
  std::vector<uint8_t> File = WriteBmp(Format, PatternImage(W, H, Bits, 1 << Bits));
  File.resize(GetU32(&File[10]));
  File.insert(File.end(), Codes.begin(), Codes.end());
  PutU32(&File[2], static_cast<uint32_t>(File.size()));
  PutU32(&File[30], Bits == 8 ? Rle8 : Rle4);
  PutU32(&File[34], static_cast<uint32_t>(Codes.size()));
  return File;
}

// Pictures as ImageMagick writes them by default for 256 colours or fewer.
struct TWrittenCase {
  const char* Name;
  const char* Source;  // convert's input and options
};

class RleWrittenByImageMagick : public testing::TestWithParam<TWrittenCase> {};

// The reference is ImageMagick's decode of the same picture written
// uncompressed: its RLE8 writer codes a row's padding as pixels past the
// row's end, which its own RLE reader then spills into the next row.
TEST_P(RleWrittenByImageMagick, ReadsThePixelsOfThePicture) {
  const std::string Name = Scratch(GetParam().Name), Source = GetParam().Source;
  Convert(Source + " -type Palette -compress RLE BMP3:" + Name + ".bmp");
  Convert(Source + " -type Palette -compress None BMP3:" + Name + "-plain.bmp");
  const std::vector<uint8_t> File = ReadFile(Name + ".bmp");
  ASSERT_GE(File.size(), 54u);
  ASSERT_EQ(GetU32(&File[30]), Rle8) << "ImageMagick wrote no RLE8 file";
  ExpectPixels(Name + ".bmp", DecodedByImageMagick(Name + "-plain.bmp"));
}

INSTANTIATE_TEST_SUITE_P(
    Pictures, RleWrittenByImageMagick,
    testing::Values(TWrittenCase{"Gradient", "-size 37x23 gradient:red-blue -colors 200"},
                    TWrittenCase{"FewColours", "-size 61x17 gradient:yellow-navy -colors 12"},
                    TWrittenCase{"Noise", "-size 33x29 xc:gray50 -seed 7 +noise Random -colors 250"},
                    TWrittenCase{"Stripes", "-size 50x40 pattern:hs_vertical -fill red -opaque black"},
                    TWrittenCase{"Solid", "-size 300x3 xc:orange"},
                    TWrittenCase{"OneColumn", "-size 1x9 gradient:white-green -colors 9"},
                    TWrittenCase{"ThreeColumns", "-size 3x8 gradient:white-red -colors 8"}),
    [](const testing::TestParamInfo<TWrittenCase>& I) { return std::string(I.param.Name); });

// Hand-written code streams, decoded by ImageMagick as the second opinion.
struct TCodeCase {
  const char* Name;
  int Bits, W, H;
  std::vector<uint8_t> Codes;
};

class RleCodes : public testing::TestWithParam<TCodeCase> {};

TEST_P(RleCodes, ReadAsImageMagickReadsThem) {
  const TCodeCase& C = GetParam();
  const std::string Bmp = Scratch(std::string(C.Name) + ".bmp");
  // ImageMagick refuses RLE files shorter than their pixels unpacked; the
  // zeros after the codes are line ends past the top row, which draw nothing.
  std::vector<uint8_t> File = RleFile(C.Bits, C.W, C.H, C.Codes);
  File.resize(File.size() + static_cast<size_t>(C.W) * C.H, 0);
  PutU32(&File[2], static_cast<uint32_t>(File.size()));
  PutU32(&File[34], static_cast<uint32_t>(File.size() - GetU32(&File[10])));
  WriteFile(Bmp, File);
  ExpectPixels(Bmp, DecodedByImageMagick(Bmp));
}

INSTANTIATE_TEST_SUITE_P(
    Streams, RleCodes,
    testing::Values(
        // Runs, an absolute run of odd length with its pad byte, line ends.
        TCodeCase{"Rle8RunsAndAbsolute", 8, 7, 3, {3, 9, 0, 3, 20, 21, 22, 0, 1, 5, 0, 0, 7, 200, 0, 0, 2, 1, 5, 2, 0, 1}},
        // A move right and up, pixels it skips are position 0.
        TCodeCase{"Rle8Delta", 8, 9, 5, {2, 40, 0, 2, 3, 2, 2, 41, 0, 0, 0, 4, 1, 2, 3, 4, 0, 1}},
        // Early line ends on every row and no end of bitmap at all.
        TCodeCase{"Rle8EarlyLineEnds", 8, 6, 4, {1, 30, 0, 0, 0, 0, 2, 31, 0, 0}},
        // RLE4: runs alternate two nibbles; absolute runs of 3, 4 and 5 nibbles.
        TCodeCase{"Rle4RunsAndAbsolute", 4, 11, 3,
                  {5, 0x12, 0, 3, 0x34, 0x50, 0, 0, 0, 4, 0x67, 0x89, 3, 0xAB, 0, 0, 0, 5, 0xCD, 0xEF, 0x10, 0, 0, 1}},
        TCodeCase{"Rle4DeltaAndLineEnd", 4, 10, 4, {4, 0x9A, 0, 2, 4, 1, 2, 0xF1, 0, 0, 0, 2, 0, 1, 3, 0x77, 0, 1}}),
    [](const testing::TestParamInfo<TCodeCase>& I) { return std::string(I.param.Name); });

// Codes that claim more than the picture holds draw only inside it; the
// indices expected are stated (top row first).
struct THostileCase {
  const char* Name;
  int Bits, W, H;
  std::vector<uint8_t> Codes;
  std::vector<uint8_t> Indices;
};

class RleHostile : public testing::TestWithParam<THostileCase> {};

TEST_P(RleHostile, DrawsOnlyInsideThePicture) {
  const THostileCase& C = GetParam();
  const std::vector<uint8_t> File = RleFile(C.Bits, C.W, C.H, C.Codes);
  const TSourceImage Read = ReadBmpPicture(File.data(), File.size());
  EXPECT_EQ(Read.Indices, C.Indices);
}

INSTANTIATE_TEST_SUITE_P(
    Streams, RleHostile,
    testing::Values(
        // A run past the row's end is cut there; the next row starts afresh.
        THostileCase{"RunPastRowEnd", 8, 3, 2, {255, 7, 0, 0, 1, 8, 0, 1}, {8, 0, 0, 7, 7, 7}},
        THostileCase{"AbsolutePastRowEnd", 8, 2, 2, {0, 4, 1, 2, 3, 4, 0, 0, 1, 9, 0, 1}, {9, 0, 1, 2}},
        THostileCase{"Rle4RunPastRowEnd", 4, 3, 1, {9, 0x56, 0, 1}, {5, 6, 5}},
        // Moves and line ends past the top row end the picture.
        THostileCase{"DeltaPastTop", 8, 2, 2, {1, 5, 0, 2, 0, 200, 2, 6, 0, 1}, {0, 0, 5, 0}},
        THostileCase{"DeltaPastRowEnd", 8, 2, 2, {0, 2, 250, 0, 1, 3, 0, 0, 1, 4}, {4, 0, 0, 0}},
        THostileCase{"MoreLinesThanRows", 8, 1, 2, {1, 1, 0, 0, 1, 2, 0, 0, 1, 3, 0, 0, 1, 4, 0, 1}, {2, 1}}),
    [](const testing::TestParamInfo<THostileCase>& I) { return std::string(I.param.Name); });

TEST(RleRefusals, CodesCutShortOrFilesTheCodesDoNotFit) {
  const struct {
    const char* Name;
    std::vector<uint8_t> File;
  } Cases[] = {
      {"RunCodeCut", RleFile(8, 4, 2, {2, 1, 0})},
      {"DeltaCut", RleFile(8, 4, 2, {0, 2, 1})},
      {"AbsoluteCut", RleFile(8, 4, 2, {0, 4, 1, 2, 3})},
      {"Rle4AbsoluteCut", RleFile(4, 8, 2, {0, 5, 0x12, 0x34})},
      {"Rle8OnFourBits", [] { auto f = RleFile(4, 4, 2, {0, 1}); PutU32(&f[30], Rle8); return f; }()},
      {"Rle4OnEightBits", [] { auto f = RleFile(8, 4, 2, {0, 1}); PutU32(&f[30], Rle4); return f; }()},
      {"TopDown", [] { auto f = RleFile(8, 4, 2, {0, 1}); PutU32(&f[22], static_cast<uint32_t>(-2)); return f; }()},
  };
  for (const auto& C : Cases) {
    try {
      ReadBmpPicture(C.File.data(), C.File.size());
      ADD_FAILURE() << C.Name << " accepted";
    } catch (const EInvalidGraphic& E) {
      EXPECT_STREQ(E.what(), "Bitmap ist ung\xFCltig") << C.Name;
    }
  }
}

}  // namespace
