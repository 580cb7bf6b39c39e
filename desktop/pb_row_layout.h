// Where the parts of the main window's owner-drawn rows go: for a phonebook
// row the row height, the framed picture at the right end, the number-type
// icon, the two text lines and the font size that fits each text; for a
// picture-list row its height, its framed picture in the middle and its slot
// number. Portable, with the text measure passed in, so that the geometry is
// tested natively; the Win32 drawing only paints what this places.
#pragma once

#include <functional>
#include <string>
#include <vector>

struct TRowRect {
  int Left, Top, Right, Bottom;  // right and bottom exclusive
};

// A row's background: red for the drop target when it is selected as
// well, maroon for the drop target, else the highlight for the selected row,
// else white. Its texts are in the highlight-text colour on all but white,
// black on white.
enum TRowFill { rfWhite, rfHighlight, rfDropTarget, rfSelectedDropTarget };
TRowFill RowFill(bool Selected, bool DropTarget);
inline bool RowTextHighlighted(TRowFill Fill) { return Fill != rfWhite; }

constexpr int RowHeightWithoutPicture = 70;
// A row with a picture is the picture's height and 8 pixels above and below.
constexpr int PictureRowMargin = 16;
constexpr int RowTextIndent = 60;  // both text lines start at Left + 60
constexpr int RowIconIndent = 4;
constexpr int MaxRowFontSize = 12, MinRowFontSize = 8;  // points
// The frame around a picture: 3 pixels thick, 1 pixel of background between
// it and the picture.
constexpr int FrameThickness = 3, FrameGap = 1;

// PictureHeight is 0 for an entry without a picture (or with an empty slot).
int PhonebookRowHeight(int PictureHeight);

// A picture in a row and the frame around it, the same in both lists.
struct TFramedPicture {
  int X, Y;        // the picture's top-left corner
  TRowRect Frame;  // the frame's outer edge; the frame is its 3 outer pixels
};
TFramedPicture FramePicture(int X, int Y, int Width, int Height);

struct TRowPicture : TFramedPicture {
  int TextRight;  // the texts' right limit
};
// The picture of Width x Height placed 8 pixels from the row's right end
// and centred vertically (halves truncating toward zero).
TRowPicture PlaceRowPicture(const TRowRect& Row, int Width, int Height);

// The icon's top-left corner: 4 pixels in, centred vertically.
int RowIconTop(const TRowRect& Row, int IconHeight);

// The largest size from 12 down to 9 points at which WidthAt(size) fits
// Available; 8 points, unmeasured, when none does.
int FitFontSize(int Available, const std::function<int(int Size)>& WidthAt);

struct TRowTexts {
  int Left, NameTop, NumberTop;
};
// The name line's and the number line's places: a block of two name lines
// (a "W" high in the fitted name font) and 4 pixels between them is centred
// in the row; the number, at its own fitted size, starts 4 pixels below the
// name's line, so the two lines never overlap.
TRowTexts PlaceRowTexts(const TRowRect& Row, int NameLineHeight);

// Picture-list rows. A row stands for the slot whose number its item text
// is: the pool's names, "1" to "24", in slot order.
constexpr int EmptyPictureRowHeight = 20;  // a row whose slot holds no picture
// A row with a picture is, like a phonebook row, the picture's height and
// PictureRowMargin; PictureHeight is 0 without one.
int PictureListRowHeight(int PictureHeight);
// The picture of Width x Height centred in the row both ways (halves
// truncating toward zero).
TFramedPicture PlaceListPicture(const TRowRect& Row, int Width, int Height);
// The slot number (1 to 24) of row Row of a list of Names; 0 for a row
// outside the list or a name that is no slot number.
int PictureRowSlot(const std::vector<std::string>& Names, int Row);
