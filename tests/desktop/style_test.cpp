// Fonts and colours as the layouts name them.
#include <gtest/gtest.h>

#include "layout.h"
#include "style.h"

namespace {

TEST(ParseFont, PointsPixelsAndStyles) {
  const TLayoutFont A = ParseFont("MS Sans Serif,8");
  EXPECT_EQ(A.Name, "MS Sans Serif");
  EXPECT_EQ(A.Size, 8);
  EXPECT_FALSE(A.SizeInPixels || A.Bold || A.Italic || A.Underline);
  const TLayoutFont B = ParseFont("Arial,13px,bold,italic,underline");
  EXPECT_EQ(B.Name, "Arial");
  EXPECT_EQ(B.Size, 13);
  EXPECT_TRUE(B.SizeInPixels && B.Bold && B.Italic && B.Underline);
  EXPECT_EQ(ParseFont("Arial").Size, 8);
}

TEST(ParseFont, RefusesWhatItCannotRead) {
  for (const char* Text : {"", ",8", "Arial,0", "Arial,-3", "Arial,8pt", "Arial,8,heavy", "Arial,px"})
    EXPECT_THROW(ParseFont(Text), TLayoutError) << Text;
}

TEST(ParseColor, RgbNamesAndSystemColours) {
  const TLayoutColor Orange = ParseColor("#FF9900");
  EXPECT_FALSE(Orange.System);
  EXPECT_EQ(Orange.Rgb, 0x0099FFu);  // COLORREF order: 0x00BBGGRR
  EXPECT_EQ(ParseColor("maroon").Rgb, 0x000080u);
  EXPECT_EQ(ParseColor("navy").Rgb, 0x800000u);
  const TLayoutColor Info = ParseColor("infobk");
  EXPECT_TRUE(Info.System);
  EXPECT_EQ(Info.SystemIndex, 24);  // COLOR_INFOBK
  EXPECT_EQ(ParseColor("inactivecaptiontext").SystemIndex, 19);
  for (const char* Text : {"", "#FF99", "#GG9900", "orange", "#FF9900FF"}) EXPECT_THROW(ParseColor(Text), TLayoutError) << Text;
}

}  // namespace
