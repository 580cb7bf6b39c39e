// Where the parts of a phonebook row go; see pb_row_layout.h.
#include "pb_row_layout.h"

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

TRowPicture PlaceRowPicture(const TRowRect& Row, int Width, int Height) {
  const int X = Row.Right - Width - PictureRightIndent;
  const int Y = Row.Top + Half(Row.Bottom - Row.Top - Height);
  const int Out = FrameGap + FrameThickness;
  return {X, Y, {X - Out, Y - Out, X + Width + Out, Y + Height + Out}, X - TextToFrame};
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
