// The phonebook pages and the entry editor driven from outside: row heights
// and the drawn rows read back from the screen, the command buttons and
// their limits, the editor's number type, texts and keys written back into
// the data file byte for byte, and the delete question's answers.
#include <gtest/gtest.h>

#include <cstring>

#include "phonebook_fixture_win.h"

namespace {

TEST_F(TPhonebookTest, RowsAreMeasuredAndDrawnWithPictureFrameIconAndSelection) {
  StartWith(
      [](TQVDP_ALL& Data) {
        Pictures(Data)->SetPicture(0, PhonePicture(249));
        Phonebook(Data, piPhonebook1)->AddEntry(Entry("Anna Bild", "0301", ntHome, 1));
        Phonebook(Data, piPhonebook1)->AddEntry(Entry("Bert Leer", "0302", ntCompany, 3));  // slot 3 is empty
        Phonebook(Data, piPhonebook1)->AddEntry(Entry("Carl Typ", "0303", 0x03));
        Phonebook(Data, piPhonebook2)->AddEntry(Entry("Dora Zwei", "0304", ntMobile));
      },
      3);
  HWND PB1 = Control("lbxPB1");
  EXPECT_EQ(RowHeight(PB1, 0), 126);
  EXPECT_EQ(RowHeight(PB1, 1), 70) << "a picture number naming an empty slot draws no picture";
  EXPECT_EQ(RowHeight(PB1, 2), 70);
  EXPECT_EQ(RowHeight(Control("lbxPB2"), 0), 70);
  for (const char* Button : {"butEditPB1", "butDelPB1", "butAssignPic", "butRemovePic", "butDelPic"})
    EXPECT_FALSE(Enabled(Control(Button))) << Button << " without a selection";
  EXPECT_TRUE(Enabled(Control("butAddPB1")));

  RECT Client;
  GetClientRect(PB1, &Client);
  const int Px = Client.right - 85 - 8, Py = 8, Mid = Py + 55;
  const COLORREF White = RGB(255, 255, 255), Black = RGB(0, 0, 0), Highlight = GetSysColor(COLOR_HIGHLIGHT);
  const TPaletteEntry Shown = PhonePicture(249).Palette()[249];
  const COLORREF PictureColor = RGB(Shown.peRed, Shown.peGreen, Shown.peBlue);
  // Row 0 unselected: white, black frame 2 to 4 pixels outside the picture,
  // a white gap of 1, the picture, the black separator; the house's
  // lower-left pixel (its background) not drawn.
  const int HouseLowerLeftY = (126 - 41) / 2 + 40;
  EXPECT_TRUE(Shows(PB1, {{Px, Py, PictureColor},  // the picture at its place
                          {30, 5, White},
                          {Px - 4, Mid, Black},
                          {Px - 3, Mid, Black},
                          {Px - 2, Mid, Black},
                          {Px + 85 + 1, Mid, Black},
                          {Px + 85 + 3, Mid, Black},
                          {Px - 1, Mid, White},
                          {Px + 85, Mid, White},
                          {Px - 5, Mid, White},
                          {10, 125, Black},
                          {10, 124, White},
                          {4, HouseLowerLeftY, White}}));

  // Selected: the highlight colour, a white frame, the icon's background
  // still not drawn.
  SelectListRow(PB1, 0);
  EXPECT_TRUE(Shows(PB1, {{30, 5, Highlight},
                          {Px - 3, Mid, White},
                          {Px - 1, Mid, Highlight},
                          {4, HouseLowerLeftY, Highlight},
                          {10, 125, Black}}));
  EXPECT_TRUE(WaitUntil([&] { return Enabled(Control("butRemovePic")); })) << "the entry has a picture";
  EXPECT_TRUE(Enabled(Control("butEditPB1")));
  EXPECT_TRUE(Enabled(Control("butDelPB1")));
  EXPECT_FALSE(Enabled(Control("butAssignPic"))) << "no picture selected";
  SelectListRow(Control("lbxPics"), 0);
  EXPECT_TRUE(WaitUntil([&] { return Enabled(Control("butAssignPic")) && Enabled(Control("butDelPic")); }));
  SelectListRow(PB1, 1);
  EXPECT_TRUE(WaitUntil([&] { return !Enabled(Control("butRemovePic")); })) << "its slot is empty";
  EXPECT_TRUE(Shows(PB1, {{30, 5, White}})) << "the first row is drawn unselected again";
}

TEST_F(TPhonebookTest, AddButtonsFollowTheRowLimitsAndANewEntryStartsEmpty) {
  auto Fill = [](int Rows1, int Rows2, int Slots) {
    return [=](TQVDP_ALL& Data) {
      char Name[16];
      for (int I = 0; I < Rows1; ++I) snprintf(Name, sizeof(Name), "Eins %03d", I), Phonebook(Data, piPhonebook1)->AddEntry(Entry(Name, "1"));
      for (int I = 0; I < Rows2; ++I) snprintf(Name, sizeof(Name), "Zwei %03d", I), Phonebook(Data, piPhonebook2)->AddEntry(Entry(Name, "2"));
      for (int I = 0; I < Slots; ++I) Pictures(Data)->SetPicture(I, PhonePicture(240 + I % 16));
    };
  };
  StartWith(Fill(49, 200, 24), 49);
  EXPECT_TRUE(Enabled(Control("butAddPB1")));
  EXPECT_FALSE(Enabled(Control("butAddPB2")));
  EXPECT_FALSE(Enabled(Control("butAddPic")));

  PostClick(Control("butAddPB1"));
  HWND Editor = WaitForCaption(EditorCaption);
  ASSERT_TRUE(Editor);
  EXPECT_TRUE(Checked(Item(Editor, "rbtHome")));
  EXPECT_FALSE(Checked(Item(Editor, "rbtCompany")));
  EXPECT_FALSE(Checked(Item(Editor, "rbtMobile")));
  EXPECT_EQ(TextOf(Item(Editor, "edtName")), L"");
  EXPECT_FALSE(Enabled(Item(Editor, "butOK")));
  EXPECT_TRUE(WaitUntil([&] { return Focused(Item(Editor, "edtName")); }));
  TypeKeys(Item(Editor, "edtName"), "Neu");
  ASSERT_TRUE(WaitUntil([&] { return TextOf(Item(Editor, "edtName")) == L"Neu"; }));
  EXPECT_FALSE(Enabled(Item(Editor, "butOK"))) << "a name alone";
  TypeKeys(Item(Editor, "edtNumber"), "7");
  ASSERT_TRUE(WaitUntil([&] { return Enabled(Item(Editor, "butOK")); }));
  Accept(Editor);
  ASSERT_TRUE(WaitUntil([&] { return RowCount(Control("lbxPB1")) == 50; }));
  EXPECT_FALSE(Enabled(Control("butAddPB1"))) << "50 rows";

  const std::string Other = Folder + "\\Other.qvd";
  WriteDataFileWith(Other, Fill(0, 199, 23));
  ImportFile(Other);
  ASSERT_TRUE(WaitUntil([&] { return RowCount(Control("lbxPB1")) == 0 && RowCount(Control("lbxPB2")) == 199; }));
  EXPECT_TRUE(Enabled(Control("butAddPB1")));
  EXPECT_TRUE(Enabled(Control("butAddPB2")));
  EXPECT_TRUE(Enabled(Control("butAddPic")));
  EXPECT_FALSE(Enabled(Control("butEditPB2"))) << "an empty or unselected list has only its add button";
  EXPECT_FALSE(Enabled(Control("butDelPB1")));
}

TEST_F(TPhonebookTest, EditorShowsTheEntryAndWritesBackOnlyWhatItEdits) {
  const char Full[] = "ABCDEFGHIJKLMNOPQRSTUVWXY";  // 25 bytes, no zero in the field
  const TPBEntry Long = Entry(Full, "123", ntMobile, 0, 0x1234);
  StartWith(
      [&](TQVDP_ALL& Data) {
        Phonebook(Data, piPhonebook1)->AddEntry(Entry("Firma", "0301", 0x51));
        Phonebook(Data, piPhonebook1)->AddEntry(Entry("Heim", "0302", 0x23));
        Phonebook(Data, piPhonebook1)->AddEntry(Entry("Johannes", "0171", ntMobile, 5, 0xBEEF));
        Phonebook(Data, piPhonebook1)->AddEntry(Long);
        Phonebook(Data, piPhonebook2)->AddEntry(Entry("Zweitbuch", "0305", ntCompany));
      },
      4);
  HWND PB1 = Control("lbxPB1");

  HWND Editor = OpenEditor(PB1, L"Firma", "butEditPB1");
  ASSERT_TRUE(Editor);
  EXPECT_TRUE(Checked(Item(Editor, "rbtCompany")));
  EXPECT_FALSE(Checked(Item(Editor, "rbtHome")));
  EXPECT_EQ(TextOf(Item(Editor, "edtName")), L"Firma");
  EXPECT_EQ(TextOf(Item(Editor, "edtNumber")), L"0301");
  PostClick(Item(Editor, "rbtMobile"));
  ASSERT_TRUE(WaitUntil([&] { return Checked(Item(Editor, "rbtMobile")); }));
  Accept(Editor);

  // Double-click edits; the editor, used before with "Geschäft" on, sets
  // every radio button anew.
  SelectListRow(PB1, RowOf(PB1, L"Heim"));
  PostMessageW(GetParent(PB1), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(PB1), LBN_DBLCLK), reinterpret_cast<LPARAM>(PB1));
  Editor = WaitForCaption(EditorCaption);
  ASSERT_TRUE(Editor);
  EXPECT_TRUE(Checked(Item(Editor, "rbtHome")));
  EXPECT_FALSE(Checked(Item(Editor, "rbtCompany")));
  EXPECT_FALSE(Checked(Item(Editor, "rbtMobile")));
  Accept(Editor);

  Editor = OpenEditor(PB1, L"Johannes", "butEditPB1");
  ASSERT_TRUE(Editor);
  SendMessageW(Item(Editor, "edtName"), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"Jo"));
  SendMessageW(Item(Editor, "edtNumber"), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
  // Enter and Escape end nothing: neither button is the default or cancel button.
  for (WPARAM Key : {VK_RETURN, VK_ESCAPE}) {
    PostMessageW(Item(Editor, "edtName"), WM_KEYDOWN, Key, 1);
    PostMessageW(Item(Editor, "edtName"), WM_KEYUP, Key, 0xC0000001);
  }
  TypeKeys(Item(Editor, "edtNumber"), "+49+1a -(#*");
  ASSERT_TRUE(WaitUntil([&] { return TextOf(Item(Editor, "edtNumber")) == L"+491#*"; }))
      << std::string(TextOf(Item(Editor, "edtNumber")).begin(), TextOf(Item(Editor, "edtNumber")).end());
  EXPECT_TRUE(Showing(EditorCaption));
  // 27 digits and a backspace: 23 left once every key has been taken.
  // The text passes through 23 characters on the way as well: a selection
  // posted behind the keys is the barrier, once it shows every key is taken.
  HWND Number = Item(Editor, "edtNumber");
  TypeKeys(Number, "123456789012345678901234567\b");
  PostMessageW(Number, EM_SETSEL, 0, 1);
  ASSERT_TRUE(WaitUntil([&] { return SendMessageW(Number, EM_GETSEL, 0, 0) == MAKELRESULT(0, 1); }));
  EXPECT_EQ(TextOf(Number).size(), 23u) << "at most 24 characters";
  SendMessageW(Item(Editor, "edtNumber"), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"+491#*"));
  Accept(Editor);

  Editor = OpenEditor(PB1, std::wstring(Full, Full + 25), "butEditPB1");
  ASSERT_TRUE(Editor);
  EXPECT_EQ(TextOf(Item(Editor, "edtName")), std::wstring(Full, Full + 25)) << "read within its 25 bytes";
  Accept(Editor);

  // Cancelled through the title bar: nothing changes, the row stays selected.
  HWND PB2 = Control("lbxPB2");
  Editor = OpenEditor(PB2, L"Zweitbuch", "butEditPB2");
  ASSERT_TRUE(Editor);
  SendMessageW(Item(Editor, "edtName"), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"Anders"));
  PostMessageW(Editor, WM_SYSCOMMAND, SC_CLOSE, 0);
  ASSERT_TRUE(WaitUntil([&] { return !Showing(EditorCaption); }));
  EXPECT_EQ(Selection(PB2), 0);
  EXPECT_EQ(ListItems(PB2), std::vector<std::wstring>{L"Zweitbuch"});
  // Cancelled adding adds nothing.
  PostClick(Control("butAddPB2"));
  Editor = WaitForCaption(EditorCaption);
  ASSERT_TRUE(Editor);
  PostClick(Item(Editor, "butCancel"));
  ASSERT_TRUE(WaitUntil([&] { return !Showing(EditorCaption); }));

  TQVDP_ALL Saved;
  CloseAndLoad(Saved);
  const auto Find = [&](TPoolIndex Index, const std::string& Name) {
    TPBEntry Found{};
    for (const TPBEntry& E : Phonebook(Saved, Index)->FEntries)
      if (EntryName(E) == Name) Found = E;
    return Found;
  };
  EXPECT_EQ(Find(piPhonebook1, "Firma").Kind, 0x52);
  EXPECT_EQ(Find(piPhonebook1, "Heim").Kind, 0x20);
  const TPBEntry Jo = Find(piPhonebook1, "Jo");
  EXPECT_EQ(std::string(Jo.Name, sizeof(Jo.Name)), std::string("Jo\0annes\0", 9) + std::string(16, '\0'));
  EXPECT_EQ(std::string(Jo.Number, 8), std::string("+491#*\0\0", 8));
  EXPECT_EQ(Jo.Kind, ntMobile);
  EXPECT_EQ(Jo.Picture, 5);
  EXPECT_EQ(Jo.Reserved, 0xBEEF);
  const TPBEntry LongSaved = Find(piPhonebook1, Full);
  EXPECT_EQ(std::memcmp(&LongSaved, &Long, sizeof(TPBEntry)), 0) << "the 25-byte name came back byte for byte";
  ASSERT_EQ(Phonebook(Saved, piPhonebook2)->FEntries.size(), 1u);
  const TPBEntry Second = Entry("Zweitbuch", "0305", ntCompany);
  EXPECT_EQ(std::memcmp(&Phonebook(Saved, piPhonebook2)->FEntries[0], &Second, sizeof(TPBEntry)), 0);
  EXPECT_FALSE(Saved.Pools(piPhonebook2)->FChanged);
}

TEST_F(TPhonebookTest, DeleteKeepsTheEntryOnlyOnNoOrEscape) {
  StartWith(
      [](TQVDP_ALL& Data) {
        for (const char* Name : {"Anna", "Bert", "Carl", "Dora"}) Phonebook(Data, piPhonebook1)->AddEntry(Entry(Name, "1"));
      },
      4);
  HWND PB1 = Control("lbxPB1");
  enum TAnswer { anNo, anEscape, anYes, anTitleBar };
  struct Case {
    TAnswer Answer;
    const wchar_t* Name;
    size_t RowsAfter;
  } Cases[] = {{anNo, L"Anna", 4}, {anEscape, L"Anna", 4}, {anYes, L"Anna", 3}, {anTitleBar, L"Carl", 2}};
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Answer);
    SelectListRow(PB1, RowOf(PB1, C.Name));
    ASSERT_TRUE(WaitUntil([&] { return Enabled(Control("butDelPB1")); }));
    PostClick(Control("butDelPB1"));
    HWND Question = WaitForCaption(ConfirmCaption);
    ASSERT_TRUE(Question);
    EXPECT_EQ(DialogText(Question), L"Telefonbucheintrag <" + std::wstring(C.Name) + L"> wirklich l\u00f6schen ?");
    switch (C.Answer) {
      case anNo: AnswerDialog(Question, IDNO); break;
      case anYes: AnswerDialog(Question, IDYES); break;
      case anEscape:
        PostMessageW(GetDlgItem(Question, IDYES), WM_KEYDOWN, VK_ESCAPE, 1);
        PostMessageW(GetDlgItem(Question, IDYES), WM_KEYUP, VK_ESCAPE, 0xC0000001);
        break;
      case anTitleBar: PostMessageW(Question, WM_SYSCOMMAND, SC_CLOSE, 0); break;
    }
    ASSERT_TRUE(WaitUntil([&] { return !Showing(ConfirmCaption); }));
    ASSERT_TRUE(WaitUntil([&] { return ListItems(PB1).size() == C.RowsAfter; }));
  }
  EXPECT_EQ(ListItems(PB1), (std::vector<std::wstring>{L"Bert", L"Dora"}));
  EXPECT_EQ(Selection(PB1), -1) << "the rebuilt list has no selection";
  EXPECT_FALSE(Enabled(Control("butDelPB1")));
}

}  // namespace
