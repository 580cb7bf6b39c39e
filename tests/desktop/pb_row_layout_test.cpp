// The rows' geometry: for phonebook rows the heights, the framed picture, the
// icon, the font fitting over a measure the test supplies, and the two text
// lines; for picture-list rows the heights, the centred framed picture and
// the slot number a row stands for.
#include <gtest/gtest.h>

#include <vector>

#include "pb_row_layout.h"

namespace {

TEST(RowLayout, DropTargetIsRedWhenSelectedAndMaroonWhenNot) {
  EXPECT_EQ(RowFill(false, false), rfWhite);
  EXPECT_EQ(RowFill(true, false), rfHighlight);
  EXPECT_EQ(RowFill(false, true), rfDropTarget);
  EXPECT_EQ(RowFill(true, true), rfSelectedDropTarget);
  EXPECT_FALSE(RowTextHighlighted(rfWhite));
  for (TRowFill Fill : {rfHighlight, rfDropTarget, rfSelectedDropTarget}) EXPECT_TRUE(RowTextHighlighted(Fill));
}

TEST(RowLayout, HeightIsThePicturesPlus16Or70Without) {
  EXPECT_EQ(PhonebookRowHeight(110), 126);
  EXPECT_EQ(PhonebookRowHeight(0), 70);
  EXPECT_EQ(PhonebookRowHeight(24), 40);
}

TEST(RowLayout, PictureSits8FromTheRightCentredWithAGapInsideItsFrame) {
  const TRowRect Row{0, 126, 443, 252};
  const TRowPicture P = PlaceRowPicture(Row, 85, 110);
  EXPECT_EQ(P.X, 443 - 85 - 8);
  EXPECT_EQ(P.Y, 126 + 8);
  // The pen's centre lines run 3 pixels outside the picture; 3 pixels thick
  // they cover 2..4 pixels outside, leaving 1 pixel of background.
  EXPECT_EQ(P.Frame.Left, P.X - 4);
  EXPECT_EQ(P.Frame.Top, P.Y - 4);
  EXPECT_EQ(P.Frame.Right, P.X + 85 + 4);
  EXPECT_EQ(P.Frame.Bottom, P.Y + 110 + 4);
  EXPECT_EQ(P.TextRight, P.X - 7);
  // An odd leftover height: the half truncates.
  EXPECT_EQ(PlaceRowPicture({0, 0, 100, 70}, 10, 21).Y, 24);
}

TEST(RowLayout, IconIsCentredVertically) {
  EXPECT_EQ(RowIconTop({0, 70, 443, 140}, 41), 70 + 14);
  EXPECT_EQ(RowIconTop({0, 0, 443, 70}, 54), 8);
  EXPECT_EQ(RowIconTop({0, 0, 443, 126}, 41), 42);
}

TEST(RowLayout, FontShrinksFrom12To9ByMeasureAnd8IsTakenUnmeasured) {
  struct Case {
    int Available;
    int Size;
    std::vector<int> Measured;
  } Cases[] = {
      {120, 12, {12}},
      {110, 11, {12, 11}},
      {90, 9, {12, 11, 10, 9}},
      {10, 8, {12, 11, 10, 9}},  // still too wide at 8 points: drawn anyway
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Available);
    std::vector<int> Measured;
    const int Size = FitFontSize(C.Available, [&](int S) {
      Measured.push_back(S);
      return S * 10;  // a text 10 pixels wide per point
    });
    EXPECT_EQ(Size, C.Size);
    EXPECT_EQ(Measured, C.Measured);
  }
}

TEST(RowLayout, TextBlockIsCentredAndStartsAt60) {
  const TRowTexts T = PlaceRowTexts({0, 70, 443, 140}, 19);
  EXPECT_EQ(T.Left, 60);
  EXPECT_EQ(T.NameTop, 70 + (70 - 42) / 2);
  EXPECT_EQ(T.NumberTop, T.NameTop + 19 + 4);
  EXPECT_EQ(PlaceRowTexts({5, 0, 443, 126}, 15).Left, 65);
}

TEST(PictureRowLayout, HeightIsThePicturesPlus16Or20Without) {
  EXPECT_EQ(PictureListRowHeight(110), 126);
  EXPECT_EQ(PictureListRowHeight(7), 23);
  EXPECT_EQ(PictureListRowHeight(0), 20);
}

TEST(PictureRowLayout, PictureIsCentredBothWaysInTheSameFrameAsAPhonebookRows) {
  // A 119-pixel-wide list, second row of 126.
  const TFramedPicture P = PlaceListPicture({0, 126, 119, 252}, 85, 110);
  EXPECT_EQ(P.X, 17);
  EXPECT_EQ(P.Y, 134);
  // The 3-pixel pen along (X - 3, Y - 3) .. (X + W + 2, Y + H + 2).
  EXPECT_EQ(P.Frame.Left, P.X - 4);
  EXPECT_EQ(P.Frame.Top, P.Y - 4);
  EXPECT_EQ(P.Frame.Right, P.X + 85 + 4);
  EXPECT_EQ(P.Frame.Bottom, P.Y + 110 + 4);
  const TRowPicture Q = PlaceRowPicture({0, 126, 443, 252}, 85, 110);
  EXPECT_EQ(Q.Frame.Right - Q.Frame.Left, P.Frame.Right - P.Frame.Left);
  EXPECT_EQ(Q.Frame.Top - Q.Y, P.Frame.Top - P.Y);
  // Odd leftovers: the halves truncate; a picture wider than the list
  // starts left of it.
  const TFramedPicture Odd = PlaceListPicture({10, 0, 30, 25}, 7, 10);
  EXPECT_EQ(Odd.X, 16);
  EXPECT_EQ(Odd.Y, 7);
  EXPECT_EQ(PlaceListPicture({0, 0, 50, 126}, 85, 110).X, -17);
}

TEST(PictureRowLayout, SlotNumberIsTheRowsNameOrNone) {
  const std::vector<std::string> Names = {"1", "6", "24", "25", "0", "x", "", "7a", "-3"};
  const int Expected[] = {1, 6, 24, 0, 0, 0, 0, 0, 0};
  for (int Row = 0; Row < static_cast<int>(Names.size()); ++Row) EXPECT_EQ(PictureRowSlot(Names, Row), Expected[Row]) << Row;
  EXPECT_EQ(PictureRowSlot(Names, -1), 0) << "no selected row";
  EXPECT_EQ(PictureRowSlot(Names, 9), 0) << "below the last row";
  EXPECT_EQ(PictureRowSlot({}, 0), 0);
}

}  // namespace
