// The main window's picture list driven from outside: one row per stored
// picture, 126 pixels high for a phone picture, the delete command's
// questions (No keeps the picture; Yes and the title bar's close delete; the
// second question only for a picture that a phonebook-1 entry uses), and
// dragging a picture onto a phonebook-1 row by posted mouse messages.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>

#include "main_window_fixture_win.h"
#include "qvdp_all.h"
#include "qvdp_phonebook.h"
#include "qvdp_pictures.h"

namespace {

const std::wstring DeleteQuestion = L"Bild wirklich l\u00f6schen ?";
const std::wstring UsedQuestion = L"Das Bild wird im Telefonbuch verwendet.\r\rTrotzdem l\u00f6schen ?";

class TPictureListTest : public TMainWindowTest {
 protected:
  // Pictures in slots 1 and 6; the first entry shows picture FirstPicture,
  // the second none.
  void StartWithPictures(uint8_t FirstPicture = 6) {
    TQVDP_ALL Data;
    TPBEntry Entry{};
    std::strcpy(Entry.Name, "Anna Fixture");
    std::strcpy(Entry.Number, "0301234");
    Entry.Picture = FirstPicture;
    static_cast<TQVDP_PHONEBOOK*>(Data.Pools(piPhonebook1))->AddEntry(Entry);
    std::strcpy(Entry.Name, "Bert Fixture");
    Entry.Picture = 0;
    static_cast<TQVDP_PHONEBOOK*>(Data.Pools(piPhonebook1))->AddEntry(Entry);
    TBitmap Picture;
    Picture.SetSize(85, 110);
    TLogPalette Palette;
    BuildDefaultPalette(Palette);
    Picture.SetPalette(Palette);
    auto* Pictures = static_cast<TQVDP_PICTURES*>(Data.Pools(piPictures));
    Pictures->SetPicture(0, Picture);
    Pictures->SetPicture(5, Picture);
    ASSERT_TRUE(Data.SaveToFile(DataFile())) << Data.ErrorText();
    Start();
    ASSERT_TRUE(WaitForPages());
    // The page lays its lists out after it is shown.
    ASSERT_TRUE(WaitUntil([&] {
      RECT Rc;
      return GetClientRect(Control("lbxPics"), &Rc) && Rc.bottom > 0;
    }));
  }
  std::vector<std::wstring> Rows() { return ListItems(Control("lbxPics")); }
  // Selects Row and clicks the delete button; the first question, waited for.
  HWND Delete(int Row) {
    SendMessageW(Control("lbxPics"), LB_SETCURSEL, static_cast<WPARAM>(Row), 0);
    PostClick(Control("butDelPic"));
    return WaitForCaption(ConfirmCaption);
  }
  // Answers Question and waits until it is gone.
  void Answer(HWND Question, int Button) {
    ASSERT_TRUE(Question);
    if (Button == IDCLOSE)
      PostMessageW(Question, WM_SYSCOMMAND, SC_CLOSE, 0);
    else
      AnswerDialog(Question, Button);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(Question) || !IsWindowVisible(Question); }));
  }
  // The entries' picture numbers as File > Export writes them.
  std::vector<int> EntryPictures() {
    const std::string Exported = Folder + "\\Exported" + std::to_string(++FExports) + ".qvd";
    PostCommand(Main(), MenuCommand("TFRMMAIN", "mnuExport"));
    ChooseFile(WaitForCaption(L"Datenbank speichern unter..."), Exported);
    EXPECT_TRUE(WaitUntil([&] { return FileExists(Exported) && !Showing(L"Datenbank speichern unter..."); }));
    TQVDP_ALL Data;
    EXPECT_TRUE(Data.LoadFromFile(Exported)) << Data.ErrorText();
    auto* Phonebook = static_cast<TQVDP_PHONEBOOK*>(Data.Pools(piPhonebook1));
    std::vector<int> Pictures;
    for (size_t I = 0; I < Phonebook->Names().size(); ++I) {
      TPBEntry Entry{};
      Phonebook->GetEntry(static_cast<int32_t>(I), Entry);
      Pictures.push_back(Entry.Picture);
    }
    return Pictures;
  }
  // The mouse at a point of List's client area, as the picture list sees it
  // (it keeps the mouse while a drag is armed); the pointer goes there too.
  void Mouse(UINT Msg, HWND List, int X, int Y) {
    POINT P{X, Y};
    MapWindowPoints(List, nullptr, &P, 1);
    SetCursorPos(P.x, P.y);
    HWND Pics = Control("lbxPics");
    MapWindowPoints(nullptr, Pics, &P, 1);
    PostMessageW(Pics, Msg, Msg == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(P.x, P.y));
  }
  // The middle of phonebook-1 row Row.
  POINT Phonebook1Row(int Row) {
    int Top = 0;
    for (int I = 0; I < Row; ++I) Top += static_cast<int>(SendMessageW(Control("lbxPB1"), LB_GETITEMHEIGHT, I, 0));
    return POINT{40, Top + static_cast<int>(SendMessageW(Control("lbxPB1"), LB_GETITEMHEIGHT, Row, 0)) / 2};
  }
  // Presses on picture row Row, moves in steps to phonebook-1 point To and
  // releases there.
  void Drag(int Row, POINT To) {
    HWND Pics = Control("lbxPics"), Book = Control("lbxPB1");
    Mouse(WM_LBUTTONDOWN, Pics, 40, 126 * Row + 60);
    Mouse(WM_MOUSEMOVE, Pics, 40, 126 * Row + 70);
    Mouse(WM_MOUSEMOVE, Book, To.x, To.y + 10);
    Mouse(WM_MOUSEMOVE, Book, To.x, To.y);
    Mouse(WM_LBUTTONUP, Book, To.x, To.y);
  }
  int FExports = 0;

  // A question that comes; or, with a short wait, one that must not.
  HWND NextQuestion(DWORD Milliseconds = 15000) { return WaitForCaption(ConfirmCaption, Milliseconds); }
};

}  // namespace

TEST_F(TPictureListTest, RowsShowTheStoredPicturesAtTheirHeight) {
  StartWithPictures();
  ASSERT_EQ(Rows(), (std::vector<std::wstring>{L"1", L"6"}));
  EXPECT_EQ(SendMessageW(Control("lbxPics"), LB_GETITEMHEIGHT, 0, 0), 126);
  EXPECT_EQ(SendMessageW(Control("lbxPics"), LB_GETITEMHEIGHT, 1, 0), 126);
}

TEST_F(TPictureListTest, DeleteAsksOnceForAnUnusedPictureAndTwiceForAUsedOne) {
  StartWithPictures();
  HWND Question = Delete(0);
  ASSERT_TRUE(Question);
  EXPECT_EQ(DialogText(Question), DeleteQuestion);
  Answer(Question, IDNO);
  EXPECT_FALSE(NextQuestion(1000));
  EXPECT_EQ(Rows(), (std::vector<std::wstring>{L"1", L"6"}));

  // Slot 1 is not used: Yes deletes it without a second question.
  Answer(Delete(0), IDYES);
  ASSERT_TRUE(WaitUntil([&] { return Rows() == std::vector<std::wstring>{L"6"}; }));

  Answer(Delete(0), IDYES);
  HWND Second = NextQuestion();
  ASSERT_TRUE(Second) << "slot 6 is used by the entry";
  EXPECT_EQ(DialogText(Second), UsedQuestion);
  Answer(Second, IDNO);
  EXPECT_FALSE(NextQuestion(1000));
  EXPECT_EQ(Rows(), std::vector<std::wstring>{L"6"});

  // Closing either question through its title bar goes on.
  Answer(Delete(0), IDCLOSE);
  Answer(NextQuestion(), IDCLOSE);
  EXPECT_TRUE(WaitUntil([&] { return Rows().empty(); }));
}

TEST_F(TPictureListTest, DraggingAPictureOntoAPhonebookRowAssignsItThere) {
  StartWithPictures(0);
  HWND Pics = Control("lbxPics"), Book = Control("lbxPB1");
  ASSERT_EQ(ListItems(Book).size(), 2u);

  // A press and release within 5 pixels is a click: it selects, nothing more.
  Mouse(WM_LBUTTONDOWN, Pics, 40, 126 + 60);
  Mouse(WM_MOUSEMOVE, Pics, 44, 126 + 64);
  Mouse(WM_LBUTTONUP, Pics, 44, 126 + 64);
  EXPECT_TRUE(WaitUntil([&] { return SendMessageW(Pics, LB_GETCURSEL, 0, 0) == 1; }));
  EXPECT_EQ(EntryPictures(), (std::vector<int>{0, 0}));

  // Picture 6 onto the second entry, although the first one is selected.
  SendMessageW(Book, LB_SETCURSEL, 0, 0);
  Drag(1, Phonebook1Row(1));
  // The export is a command posted after the mouse, so it sees the drop.
  EXPECT_EQ(EntryPictures(), (std::vector<int>{0, 6}));

  // Below the last row nothing is accepted, so nothing is assigned.
  RECT Client;
  GetClientRect(Book, &Client);
  Drag(0, POINT{40, Client.bottom - 5});
  EXPECT_EQ(EntryPictures(), (std::vector<int>{0, 6}));

  // Picture 1 replaces the second entry's picture.
  Drag(0, Phonebook1Row(1));
  EXPECT_EQ(EntryPictures(), (std::vector<int>{0, 1}));
}
