// The main window's picture list driven from outside: one row per stored
// picture, 126 pixels high for a phone picture, its rows read back from the
// screen, the delete command's questions (No keeps the picture; Yes and the
// title bar's close delete; the second question only for a picture that a
// phonebook-1 entry uses), and an entry whose picture is deleted and whose
// slot a new picture then takes. Dragging a picture onto phonebook 1 is
// picture_drag_test_win.cpp's.
#include <gtest/gtest.h>

#include <fstream>

#include "phonebook_fixture_win.h"
#include "picture_fixtures.h"

namespace {

const std::wstring DeleteQuestion = L"Bild wirklich l\u00f6schen ?";
const std::wstring PictureEditorCaption = L"Bild hinzuf\u00fcgen";
const std::wstring UsedQuestion = L"Das Bild wird im Telefonbuch verwendet.\r\rTrotzdem l\u00f6schen ?";

class TPictureListTest : public TPhonebookTest {
 protected:
  // Pictures in slots 1 and 6; Anna shows picture 6, Bert none.
  void StartWithPictures() {
    StartWith(
        [](TQVDP_ALL& Data) {
          Pictures(Data)->SetPicture(0, PhonePicture(0));
          Pictures(Data)->SetPicture(5, PhonePicture(0));
          Phonebook(Data, piPhonebook1)->AddEntry(Entry("Anna Fixture", "0301234", 0, 6));
          Phonebook(Data, piPhonebook1)->AddEntry(Entry("Bert Fixture", "0301234"));
        },
        2);
    // The page lays its lists out after it is shown.
    ASSERT_TRUE(WaitUntil([&] {
      RECT Rc;
      return GetClientRect(Control("lbxPics"), &Rc) && Rc.bottom > 0;
    }));
  }
  std::vector<std::wstring> Rows() { return ListItems(Control("lbxPics")); }
  // Selects Row, which enables the delete button, and clicks it; the first
  // question, waited for.
  HWND Delete(int Row) {
    SelectListRow(Control("lbxPics"), Row);
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
  // A question that comes; or, with a short wait, one that must not.
  HWND NextQuestion(DWORD Milliseconds = 15000) { return WaitForCaption(ConfirmCaption, Milliseconds); }
};

}  // namespace

TEST_F(TPictureListTest, RowsShowTheStoredPicturesAtTheirHeight) {
  StartWithPictures();
  ASSERT_EQ(Rows(), (std::vector<std::wstring>{L"1", L"6"}));
  EXPECT_EQ(RowHeight(Control("lbxPics"), 0), 126);
  EXPECT_EQ(RowHeight(Control("lbxPics"), 1), 126);
}

// A row R of width Wl: the picture centred at (px, py) = ((Wl - 85) / 2, 8)
// in a 3-pixel frame 2 to 4 pixels outside it, the background in the gap
// and around, the black separator on the row's last pixel row.
TEST_F(TPictureListTest, RowsAreDrawnCentredAndFramedWithTheSelectionMaroon) {
  StartWith([](TQVDP_ALL& Data) {
    Pictures(Data)->SetPicture(0, PhonePicture(249));
    Pictures(Data)->SetPicture(1, PhonePicture(252));
  }, 0);
  HWND List = Control("lbxPics");
  ASSERT_TRUE(WaitUntil([&] { return Rows().size() == 2; }));
  RECT Client;
  GetClientRect(List, &Client);
  const int Px = (Client.right - 85) / 2, Py = 8;
  const auto ColorOf = [](uint8_t Index) {
    const TPaletteEntry E = PhonePicture(Index).Palette()[Index];
    return RGB(E.peRed, E.peGreen, E.peBlue);
  };
  const COLORREF Black = RGB(0, 0, 0), White = RGB(255, 255, 255), Maroon = RGB(128, 0, 0);
  const auto Row = [&](int Top, COLORREF Picture, COLORREF Frame, COLORREF Background) {
    const int Mid = Top + Py + 55;
    return std::vector<TPixel>{{Px, Top + Py, Picture},          {Px + 84, Top + Py + 109, Picture},
                               {Px - 4, Mid, Frame},             {Px - 2, Mid, Frame},
                               {Px + 85 + 1, Mid, Frame},        {Px + 85 + 3, Mid, Frame},
                               {Px + 10, Top + Py - 4, Frame},   {Px + 10, Top + Py + 110 + 3, Frame},
                               {Px - 1, Mid, Background},        {Px + 85, Mid, Background},
                               {Px - 5, Mid, Background},        {1, Top + 1, Background},
                               {Client.right - 1, Top + 124, Background},
                               {0, Top + 125, Black},            {Client.right - 1, Top + 125, Black}};
  };
  const COLORREF Tooltip = GetSysColor(COLOR_INFOBK);
  EXPECT_TRUE(Shows(List, Row(0, ColorOf(249), Black, Tooltip)));
  EXPECT_TRUE(Shows(List, Row(126, ColorOf(252), Black, Tooltip)));
  SelectListRow(List, 1);
  EXPECT_TRUE(Shows(List, Row(126, ColorOf(252), White, Maroon)));
  EXPECT_TRUE(Shows(List, Row(0, ColorOf(249), Black, Tooltip)));
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

// Slots 1 to 6 taken, Anna showing picture 6: once it is deleted the entry
// keeps the number and shows no picture, and the next picture the editor
// makes lands in slot 6, so Anna shows it.
TEST_F(TPictureListTest, AnEntryKeepsItsNumberAndShowsThePictureAddedInItsSlot) {
  StartWith(
      [](TQVDP_ALL& Data) {
        for (int Slot = 0; Slot < 6; ++Slot) Pictures(Data)->SetPicture(Slot, PhonePicture(241));
        Phonebook(Data, piPhonebook1)->AddEntry(Entry("Anna Fixture", "0301234", 0, 6));
      },
      1);
  HWND PB1 = Control("lbxPB1");
  ASSERT_TRUE(WaitUntil([&] { return Rows().size() == 6; }));
  Answer(Delete(5), IDYES);
  Answer(NextQuestion(), IDYES);
  ASSERT_TRUE(WaitUntil([&] { return Rows().size() == 5; }));
  EXPECT_EQ(RowHeight(PB1, 0), 70) << "the entry's slot is empty";

  // A 24-bit picture of one of the phone's colours is matched onto exactly
  // that colour of the default palette.
  const uint8_t NewColor = 249;
  const TPaletteEntry E = PhonePicture(NewColor).Palette()[NewColor];
  TSourceImage Plain;
  Plain.Width = 85, Plain.Height = 110, Plain.BitsPerPixel = 24;
  Plain.Colors.assign(Plain.PixelCount(), RgbOf(E));
  const std::string File = Folder + "\\plain.bmp";
  {
    const std::vector<uint8_t> Bytes = WriteBmp(TBmpFormat{}, Plain);
    std::ofstream(File, std::ios::binary).write(reinterpret_cast<const char*>(Bytes.data()), static_cast<std::streamsize>(Bytes.size()));
  }
  PostClick(Control("butAddPic"));
  HWND Editor = WaitForCaption(PictureEditorCaption);
  ASSERT_TRUE(Editor);
  HWND Dialog = nullptr;
  ASSERT_TRUE(WaitUntil([&] {
    for (HWND W : Program->Windows())
      if (ClassOf(W) == "#32770" && GetWindow(W, GW_OWNER) == Editor) Dialog = W;
    return Dialog != nullptr;
  }));
  ChooseFile(Dialog, File);
  HWND Ok = LayoutControl(Editor, "TFRMPICCREATOR", "butOK");
  ASSERT_TRUE(WaitUntil([&] { return Enabled(Ok); }));
  PostClick(Ok);
  ASSERT_TRUE(WaitUntil([&] { return Rows().size() == 6 && Rows()[5] == L"6"; }));

  ASSERT_TRUE(WaitUntil([&] { return RowHeight(PB1, 0) == 126; }));
  RECT Client;
  GetClientRect(PB1, &Client);
  const int Px = Client.right - 85 - 8, Py = 8;
  EXPECT_TRUE(Shows(PB1, {{Px, Py, RGB(E.peRed, E.peGreen, E.peBlue)}, {Px + 84, Py + 109, RGB(E.peRed, E.peGreen, E.peBlue)}}));
  TQVDP_ALL Saved;
  CloseAndLoad(Saved);
  TPBEntry Anna{};
  Phonebook(Saved, piPhonebook1)->GetEntry(0, Anna);
  EXPECT_EQ(Anna.Picture, 6);
}
