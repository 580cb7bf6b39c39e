// Where the parts of the main window's rows go; see pb_row_layout.h.
#include "pb_row_layout.h"

#include <cstdlib>

#include "qvdp_pictures.h"

namespace {

constexpr int PictureRightIndent = 8;
constexpr int LineGap = 4;
// The text ends 4 pixels left of the frame's left centre line.
constexpr int TextToFrame = 7;

int Half(int Value) { return Value / 2; }  // truncating toward zero

}  // namespace

TRowFill RowFill(bool Selected, bool DropTarget) {
  if (DropTarget) return Selected ? rfSelectedDropTarget : rfDropTarget;
  return Selected ? rfHighlight : rfWhite;
}

int PhonebookRowHeight(int PictureHeight) {
  return PictureHeight > 0 ? PictureHeight + PictureRowMargin : RowHeightWithoutPicture;
}

TFramedPicture FramePicture(int X, int Y, int Width, int Height) {
  const int Out = FrameGap + FrameThickness;
  return {X, Y, {X - Out, Y - Out, X + Width + Out, Y + Height + Out}};
}

TRowPicture PlaceRowPicture(const TRowRect& Row, int Width, int Height) {
  const int X = Row.Right - Width - PictureRightIndent;
  const int Y = Row.Top + Half(Row.Bottom - Row.Top - Height);
  return {FramePicture(X, Y, Width, Height), X - TextToFrame};
}

int RowIconTop(const TRowRect& Row, int IconHeight) { return Row.Top + Half(Row.Bottom - Row.Top - IconHeight); }

int FitFontSize(int Available, const std::function<int(int Size)>& WidthAt) {
  int Size = MaxRowFontSize;
  while (Size > MinRowFontSize && WidthAt(Size) > Available) --Size;
  return Size;
}

TRowTexts PlaceRowTexts(const TRowRect& Row, int NameLineHeight) {
  const int Block = 2 * NameLineHeight + LineGap;
  const int NameTop = Row.Top + Half(Row.Bottom - Row.Top - Block);
  return {Row.Left + RowTextIndent, NameTop, NameTop + NameLineHeight + LineGap};
}

int PictureListRowHeight(int PictureHeight) {
  return PictureHeight > 0 ? PictureHeight + PictureRowMargin : EmptyPictureRowHeight;
}

TFramedPicture PlaceListPicture(const TRowRect& Row, int Width, int Height) {
  return FramePicture(Row.Left + Half(Row.Right - Row.Left - Width), Row.Top + Half(Row.Bottom - Row.Top - Height),
                      Width, Height);
}

int PictureRowSlot(const std::vector<std::string>& Names, int Row) {
  if (Row < 0 || Row >= static_cast<int>(Names.size())) return 0;
  const std::string& Name = Names[static_cast<size_t>(Row)];
  char* End = nullptr;
  const long Number = std::strtol(Name.c_str(), &End, 10);
  const bool Whole = !Name.empty() && *End == '\0';
  return Whole && Number >= 1 && Number <= PictureSlots ? static_cast<int>(Number) : 0;
}
