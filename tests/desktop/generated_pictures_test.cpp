// The pictures the program draws by name, as the build generated them: the
// sizes the drawing code relies on (the handle's 16 x 16 is where the mouse
// finds it), 16 colours where the windows' descriptions ask for them, and the
// handle's look: red, with a black arrow along its diagonal.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <vector>

#include "byte_order.h"

namespace {

struct TBmp {
  std::vector<uint8_t> Bytes;
  int Width() const { return static_cast<int32_t>(GetU32(&Bytes[18])); }
  int Height() const { return static_cast<int32_t>(GetU32(&Bytes[22])); }
  int Bits() const { return GetU16(&Bytes[28]); }
  // 0x00RRGGBB of a 4-bit bottom-up picture's pixel, top row 0.
  uint32_t Color4(int X, int Y) const {
    const size_t Row = static_cast<size_t>((Width() + 7) / 8 * 4);
    const uint8_t Pair = Bytes[GetU32(&Bytes[10]) + Row * (Height() - 1 - Y) + X / 2];
    const uint8_t* E = &Bytes[54 + 4 * ((X % 2) ? (Pair & 15) : (Pair >> 4))];
    return (uint32_t{E[2]} << 16) | (uint32_t{E[1]} << 8) | E[0];
  }
};

TBmp Picture(const std::string& Name) {
  std::ifstream In(std::string(QV_GENERATED_DIR) + "/pictures/" + Name + ".bmp", std::ios::binary);
  TBmp B{std::vector<uint8_t>(std::istreambuf_iterator<char>(In), std::istreambuf_iterator<char>())};
  EXPECT_GE(B.Bytes.size(), 54u) << Name;
  if (B.Bytes.size() < 54) B.Bytes.resize(54);
  return B;
}

TEST(GeneratedPictures, SizesAndColourCounts) {
  const struct {
    const char* Name;
    int Width, Height, Bits;
  } Cases[] = {{"FRAME_RESIZE", 16, 16, 4}, {"PB_HOME", 42, 41, 4},     {"PB_COMPANY", 42, 41, 4},
               {"PB_MOBILE", 28, 54, 4},    {"GLYPH_PIN", 16, 16, 24},  {"GLYPH_PINGREY", 16, 16, 24},
               {"GLYPH_CLOCK", 16, 16, 24}, {"GLYPH_CLOCKGREY", 16, 16, 24}};
  for (const auto& C : Cases) {
    const TBmp B = Picture(C.Name);
    EXPECT_EQ(B.Width(), C.Width) << C.Name;
    EXPECT_EQ(B.Height(), C.Height) << C.Name;
    EXPECT_EQ(B.Bits(), C.Bits) << C.Name;
  }
}

TEST(GeneratedPictures, HandleIsRedWithABlackDiagonalArrow) {
  const TBmp Handle = Picture("FRAME_RESIZE");
  ASSERT_EQ(Handle.Bits(), 4);
  for (int I = 2; I <= 13; ++I) EXPECT_EQ(Handle.Color4(I, I), 0x000000u) << "diagonal at " << I;
  // The heads lie along the edges at both ends; the other corners are red.
  EXPECT_EQ(Handle.Color4(6, 2), 0x000000u);
  EXPECT_EQ(Handle.Color4(2, 6), 0x000000u);
  EXPECT_EQ(Handle.Color4(9, 13), 0x000000u);
  EXPECT_EQ(Handle.Color4(13, 9), 0x000000u);
  for (const auto& P : {std::make_pair(0, 0), {15, 15}, {15, 0}, {0, 15}, {12, 3}, {3, 12}})
    EXPECT_EQ(Handle.Color4(P.first, P.second), 0xFF0000u) << P.first << ", " << P.second;
}

TEST(GeneratedPictures, NumberTypeIconsHaveAWhiteBackground) {
  // The lists draw them transparently by their lower-left pixel.
  for (const char* Name : {"PB_HOME", "PB_COMPANY", "PB_MOBILE"}) {
    const TBmp Icon = Picture(Name);
    ASSERT_EQ(Icon.Bits(), 4) << Name;
    EXPECT_EQ(Icon.Color4(0, Icon.Height() - 1), 0xFFFFFFu) << Name;
  }
}

}  // namespace
