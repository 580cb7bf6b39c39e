// Giving phonebook-1 entries pictures, driven from outside: the assign and
// remove buttons, and a picture dragged from the picture list onto
// phonebook 1 by posted mouse messages. The drop target is read from the
// screen (maroon, red on the selected row), the assignment from the rows'
// heights and from the data file the program saves.
#include <gtest/gtest.h>

#include <vector>

#include "phonebook_fixture_win.h"

namespace {

const COLORREF White = RGB(255, 255, 255), Maroon = RGB(128, 0, 0), Red = RGB(255, 0, 0);

// Slots 1 and 6 hold pictures, so the picture list is "1", "6"; Anna has
// slot 6, the others none.
void FourEntriesTwoPictures(TQVDP_ALL& Data) {
  Pictures(Data)->SetPicture(0, PhonePicture(249));
  Pictures(Data)->SetPicture(5, PhonePicture(252));
  Phonebook(Data, piPhonebook1)->AddEntry(Entry("Anna", "0301", ntHome, 6));
  for (const char* Name : {"Bert", "Carl", "Dora"}) Phonebook(Data, piPhonebook1)->AddEntry(Entry(Name, "0302"));
}
enum { Anna, Bert, Carl, Dora };

COLORREF PaletteColor(uint8_t Index) {
  const TPaletteEntry E = PhonePicture(Index).Palette()[Index];
  return RGB(E.peRed, E.peGreen, E.peBlue);
}

int RowTop(HWND List, int Row) {
  int Top = 0;
  for (int R = 0; R < Row; ++R) Top += RowHeight(List, R);
  return Top;
}

class TPictureDragTest : public TPhonebookTest {
 protected:
  void SetUp() override {
    TPhonebookTest::SetUp();
    StartWith(FourEntriesTwoPictures, 4);
    PB1 = Control("lbxPB1");
    Pics = Control("lbxPics");
  }
  // The colour of a phonebook-1 row's background, above its icon and texts.
  COLORREF RowColor(int Row) { return PixelAt(PB1, 30, RowTop(PB1, Row) + 5); }
  // The pointer itself goes to X, Y of Over's client area too: taking the
  // mouse makes the system report the pointer's real position, which a
  // test before may have left anywhere, over some phonebook row even.
  static void PointAt(HWND Over, int X, int Y) {
    POINT P{X, Y};
    ClientToScreen(Over, &P);
    SetCursorPos(P.x, P.y);
  }
  // Posts to the picture list, which holds the mouse during a drag, what
  // the pointer at X, Y of Over's client area sends it.
  void Mouse(UINT Msg, WPARAM Keys, HWND Over, int X, int Y) {
    PointAt(Over, X, Y);
    POINT P{X, Y};
    MapWindowPoints(Over, Pics, &P, 1);
    PostMessageW(Pics, Msg, Keys, MAKELPARAM(P.x, P.y));
  }
  void MoveOverRow(int Row) { Mouse(WM_MOUSEMOVE, MK_LBUTTON, PB1, 30, RowTop(PB1, Row) + 30); }
  // Presses the left button on a picture row.
  void PressPicture(int Row) { Mouse(WM_LBUTTONDOWN, MK_LBUTTON, Pics, 20, RowTop(Pics, Row) + RowHeight(Pics, Row) / 2); }
  // An empty place of phonebook 1's button column, beside the list.
  void MoveBesideTheList() { Mouse(WM_MOUSEMOVE, MK_LBUTTON, Control("panPB1Tools"), 70, 420); }
  // Waits until the program has handled every message posted before.
  void Flush() {
    static int Mark = 0;
    ++Mark;
    // The horizontal extent of the hidden phonebook-2 list shows nothing and is read back as set.
    HWND PB2 = Control("lbxPB2");
    PostMessageW(PB2, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(Mark), 0);
    ASSERT_TRUE(WaitUntil([&] { return SendMessageW(PB2, LB_GETHORIZONTALEXTENT, 0, 0) == Mark; }));
  }
  bool NoRowHighlighted() {
    for (int Row = 0; Row < RowCount(PB1); ++Row)
      if (RowColor(Row) == Maroon || RowColor(Row) == Red) return false;
    return true;
  }
  TPBEntry SavedEntry(TQVDP_ALL& Saved, int Row) {
    TPBEntry E{};
    Phonebook(Saved, piPhonebook1)->GetEntry(Row, E);
    return E;
  }

  HWND PB1 = nullptr, Pics = nullptr;
};

TEST_F(TPictureDragTest, ButtonsAssignReplaceAndRemoveTheSelectedEntrysPicture) {
  // Assign: Bert gets slot 6 and his row grows.
  SelectListRow(PB1, Bert);
  SelectListRow(Pics, 1);
  ASSERT_TRUE(WaitUntil([&] { return Enabled(Control("butAssignPic")); }));
  EXPECT_FALSE(Enabled(Control("butRemovePic"))) << "Bert has no picture";
  PostClick(Control("butAssignPic"));
  ASSERT_TRUE(WaitUntil([&] { return RowHeight(PB1, Bert) == 126; }));
  EXPECT_EQ(Selection(PB1), -1) << "the rebuilt list has no selection";
  EXPECT_FALSE(Enabled(Control("butAssignPic")));

  // Assign over an earlier picture: Anna shows slot 1's picture instead of slot 6's.
  RECT Client;
  GetClientRect(PB1, &Client);
  const int Px = Client.right - 85 - 8, Py = RowTop(PB1, Anna) + 8;
  ASSERT_TRUE(WaitUntil([&] { return PixelAt(PB1, Px, Py) == PaletteColor(252); }));
  SelectListRow(PB1, Anna);
  SelectListRow(Pics, 0);
  ASSERT_TRUE(WaitUntil([&] { return Enabled(Control("butAssignPic")); }));
  PostClick(Control("butAssignPic"));
  ASSERT_TRUE(WaitUntil([&] { return PixelAt(PB1, Px, Py) == PaletteColor(249); }));

  // Remove: Anna's row shrinks; Carl, without a picture, cannot lose one.
  SelectListRow(PB1, Anna);
  ASSERT_TRUE(WaitUntil([&] { return Enabled(Control("butRemovePic")); }));
  PostClick(Control("butRemovePic"));
  ASSERT_TRUE(WaitUntil([&] { return RowHeight(PB1, Anna) == 70; }));
  SelectListRow(PB1, Carl);
  ASSERT_TRUE(WaitUntil([&] { return Enabled(Control("butEditPB1")); }));
  EXPECT_FALSE(Enabled(Control("butRemovePic")));

  TQVDP_ALL Saved;
  CloseAndLoad(Saved);
  EXPECT_EQ(SavedEntry(Saved, Anna).Picture, 0);
  EXPECT_EQ(SavedEntry(Saved, Bert).Picture, 6);
  EXPECT_EQ(SavedEntry(Saved, Carl).Picture, 0);
}

TEST_F(TPictureDragTest, AssigningTheSamePictureAgainStillMarksPhonebook1Changed) {
  SelectListRow(PB1, Anna);
  SelectListRow(Pics, 1);
  ASSERT_TRUE(WaitUntil([&] { return Enabled(Control("butAssignPic")); }));
  PostClick(Control("butAssignPic"));
  ASSERT_TRUE(WaitUntil([&] { return Selection(PB1) == -1; })) << "the list is rebuilt";
  TQVDP_ALL Saved;
  CloseAndLoad(Saved);
  EXPECT_EQ(SavedEntry(Saved, Anna).Picture, 6);
  EXPECT_TRUE(Saved.Pools(piPhonebook1)->FChanged);
}

// A press on the picture list arms a drag and takes the mouse; released on
// the spot it is a plain click, which must select the row and tell the
// window as on any list, so the buttons that follow the selection wake up.
TEST_F(TPictureDragTest, PlainClicksSelectTheRowAndWakeItsButtons) {
  const struct {
    const char* What;
    HWND List;
    int Row;
    std::vector<const char*> Enabled, Disabled;
  } Clicks[] = {
      {"Bert, no picture selected", PB1, Bert, {"butEditPB1", "butDelPB1"}, {"butAssignPic", "butRemovePic", "butDelPic"}},
      {"Anna, who has a picture", PB1, Anna, {"butEditPB1", "butDelPB1", "butRemovePic"}, {"butAssignPic", "butDelPic"}},
      {"picture 6 beside Anna", Pics, 1, {"butAssignPic", "butDelPic", "butRemovePic"}, {}},
      {"Bert beside picture 6", PB1, Bert, {"butAssignPic", "butDelPic"}, {"butRemovePic"}},
      {"picture 1", Pics, 0, {"butAssignPic", "butDelPic"}, {}},
  };
  for (const auto& C : Clicks) {
    SCOPED_TRACE(C.What);
    const int Y = RowTop(C.List, C.Row) + RowHeight(C.List, C.Row) / 2;
    PointAt(C.List, 20, Y);
    const LPARAM At = MAKELPARAM(20, Y);
    PostMessageW(C.List, WM_LBUTTONDOWN, MK_LBUTTON, At);
    PostMessageW(C.List, WM_LBUTTONUP, 0, At);
    ASSERT_TRUE(WaitUntil([&] { return Selection(C.List) == C.Row; }));
    for (const char* Button : C.Enabled) EXPECT_TRUE(WaitUntil([&] { return Enabled(Control(Button)); })) << Button;
    Flush();
    for (const char* Button : C.Disabled) EXPECT_FALSE(Enabled(Control(Button))) << Button;
  }
  EXPECT_EQ(Selection(PB1), Bert) << "a click on the other list keeps this one's selection";
  EXPECT_TRUE(NoRowHighlighted()) << "no drag started";
}

TEST_F(TPictureDragTest, DragHighlightsTheRowUnderThePointerAndTheReleaseAssignsToIt) {
  const COLORREF Highlight = GetSysColor(COLOR_HIGHLIGHT);
  SelectListRow(PB1, Bert);
  ASSERT_TRUE(WaitUntil([&] { return RowColor(Bert) == Highlight; }));
  PressPicture(1);
  MoveOverRow(Anna);
  ASSERT_TRUE(WaitUntil([&] { return RowColor(Anna) == Maroon; }));
  EXPECT_EQ(RowColor(Bert), Highlight);

  // Over the selected row the drop target is red.
  MoveOverRow(Bert);
  ASSERT_TRUE(WaitUntil([&] { return RowColor(Bert) == Red; }));
  EXPECT_EQ(RowColor(Anna), White);
  const std::string Shots = QV_SCREENSHOT_DIR;
  CreateDirectoryA(Shots.c_str(), nullptr);
  SaveScreenshot(Main(), Shots + "/phonebook-picture-drag.bmp");

  MoveOverRow(Dora);
  ASSERT_TRUE(WaitUntil([&] { return RowColor(Dora) == Maroon; }));
  EXPECT_EQ(RowColor(Bert), Highlight);
  // Below the last row nothing is the target.
  Mouse(WM_MOUSEMOVE, MK_LBUTTON, PB1, 30, RowTop(PB1, 4) + 20);
  ASSERT_TRUE(WaitUntil([&] { return RowColor(Dora) == White; }));
  EXPECT_TRUE(NoRowHighlighted());
  // Leaving the list keeps the row it left.
  MoveOverRow(Carl);
  ASSERT_TRUE(WaitUntil([&] { return RowColor(Carl) == Maroon; }));
  MoveBesideTheList();
  Flush();
  EXPECT_EQ(RowColor(Carl), Maroon);

  // Back on Carl and released: Carl gets the picture, not the selected Bert.
  MoveOverRow(Carl);
  Mouse(WM_LBUTTONUP, 0, PB1, 30, RowTop(PB1, Carl) + 30);
  ASSERT_TRUE(WaitUntil([&] { return RowHeight(PB1, Carl) == 126; }));
  EXPECT_EQ(RowHeight(PB1, Bert), 70);
  EXPECT_TRUE(WaitUntil([&] { return NoRowHighlighted(); }));

  TQVDP_ALL Saved;
  CloseAndLoad(Saved);
  EXPECT_EQ(SavedEntry(Saved, Carl).Picture, 6);
  EXPECT_EQ(SavedEntry(Saved, Bert).Picture, 0);
}

TEST_F(TPictureDragTest, ReleaseBesideTheListAndPressesThatStartNoDragAssignNothing) {
  // Released beside the list: the highlight goes and nothing is assigned.
  PressPicture(1);
  MoveOverRow(Bert);
  ASSERT_TRUE(WaitUntil([&] { return RowColor(Bert) == Maroon; }));
  MoveBesideTheList();
  Mouse(WM_LBUTTONUP, 0, Control("panPB1Tools"), 70, 420);
  ASSERT_TRUE(WaitUntil([&] { return RowColor(Bert) == White; }));
  // The second press of a double click starts a drag as well.
  Mouse(WM_LBUTTONDBLCLK, MK_LBUTTON, Pics, 20, RowTop(Pics, 1) + RowHeight(Pics, 1) / 2);
  MoveOverRow(Carl);
  ASSERT_TRUE(WaitUntil([&] { return RowColor(Carl) == Maroon; }));
  MoveBesideTheList();
  Mouse(WM_LBUTTONUP, 0, Control("panPB1Tools"), 70, 420);
  ASSERT_TRUE(WaitUntil([&] { return RowColor(Carl) == White; }));

  // A right press, and a left press below the last picture, arm nothing:
  // moving over a row afterwards highlights none.
  const struct {
    const char* What;
    UINT Down, Up;
    WPARAM Keys;
    int Y;
  } Presses[] = {
      {"right press on a picture", WM_RBUTTONDOWN, WM_RBUTTONUP, MK_RBUTTON, RowTop(Pics, 1) + RowHeight(Pics, 1) / 2},
      {"left press below the pictures", WM_LBUTTONDOWN, WM_LBUTTONUP, MK_LBUTTON, RowTop(Pics, 2) + 10},
  };
  for (const auto& P : Presses) {
    SCOPED_TRACE(P.What);
    Mouse(P.Down, P.Keys, Pics, 20, P.Y);
    Mouse(WM_MOUSEMOVE, P.Keys, PB1, 30, RowTop(PB1, Bert) + 30);
    Flush();
    EXPECT_TRUE(NoRowHighlighted());
    Mouse(P.Up, 0, PB1, 30, RowTop(PB1, Bert) + 30);
  }

  // Released within 4 pixels of the press: a click that selects the picture.
  const int Y = RowTop(Pics, 0) + RowHeight(Pics, 0) / 2;
  Mouse(WM_LBUTTONDOWN, MK_LBUTTON, Pics, 20, Y);
  Mouse(WM_MOUSEMOVE, MK_LBUTTON, Pics, 24, Y + 4);
  Mouse(WM_LBUTTONUP, 0, Pics, 24, Y + 4);
  ASSERT_TRUE(WaitUntil([&] { return Selection(Pics) == 0; }));
  Flush();
  EXPECT_TRUE(NoRowHighlighted());
  for (int Row : {Bert, Carl, Dora}) EXPECT_EQ(RowHeight(PB1, Row), 70) << Row;
  TQVDP_ALL Saved;
  CloseAndLoad(Saved);
  EXPECT_FALSE(Saved.Pools(piPhonebook1)->FChanged) << "nothing was assigned";
}

}  // namespace
