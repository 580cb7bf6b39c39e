// What the tests of the phonebook and picture pages share: entries and
// phone pictures for the data files they start on, the lists' rows as the
// program shows them, and a fixture that starts the program on such a data
// file and reads back what it saved.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "main_window_fixture_win.h"
#include "qvdp_all.h"
#include "qvdp_phonebook.h"
#include "qvdp_pictures.h"

inline const std::wstring EditorCaption = L"Telefonbucheintrag";

inline TPBEntry Entry(const char* Name, const char* Number, uint8_t Kind = 0, uint8_t Picture = 0, uint16_t Reserved = 0) {
  TPBEntry E{};
  std::memcpy(E.Name, Name, std::min(std::strlen(Name), sizeof(E.Name)));
  std::memcpy(E.Number, Number, std::min(std::strlen(Number), sizeof(E.Number)));
  E.Kind = Kind;
  E.Picture = Picture;
  E.Reserved = Reserved;
  return E;
}

struct TPixel {
  int X, Y;
  COLORREF Color;
};

// Waits until every pixel of List shows its colour: a row reaches the screen
// in several drawing calls, one after another. The failure names the pixels
// that differ.
inline testing::AssertionResult Shows(HWND List, const std::vector<TPixel>& Pixels) {
  const auto AllShown = [&] {
    for (const TPixel& P : Pixels)
      if (PixelAt(List, P.X, P.Y) != P.Color) return false;
    return true;
  };
  if (WaitUntil(AllShown)) return testing::AssertionSuccess();
  testing::AssertionResult Failure = testing::AssertionFailure();
  for (const TPixel& P : Pixels)
    if (PixelAt(List, P.X, P.Y) != P.Color)
      Failure << "(" << P.X << ", " << P.Y << ") shows " << PixelAt(List, P.X, P.Y) << ", not " << P.Color << "; ";
  return Failure;
}

// A phone picture, 85 x 110, of one colour of the phone's 16.
inline TBitmap PhonePicture(uint8_t Color) {
  TBitmap B;
  B.SetSize(85, 110);
  TLogPalette Palette;
  BuildDefaultPalette(Palette);
  B.SetPalette(Palette);
  for (int Row = 0; Row < B.Height(); ++Row) std::memset(B.ScanLine(Row), Color, static_cast<size_t>(B.Width()));
  return B;
}

inline TQVDP_PHONEBOOK* Phonebook(TQVDP_ALL& Data, TPoolIndex Index) { return static_cast<TQVDP_PHONEBOOK*>(Data.Pools(Index)); }
inline TQVDP_PICTURES* Pictures(TQVDP_ALL& Data) { return static_cast<TQVDP_PICTURES*>(Data.Pools(piPictures)); }

inline int RowHeight(HWND List, int Row) { return static_cast<int>(SendMessageW(List, LB_GETITEMHEIGHT, static_cast<WPARAM>(Row), 0)); }
inline int RowCount(HWND List) { return static_cast<int>(SendMessageW(List, LB_GETCOUNT, 0, 0)); }
inline int Selection(HWND List) { return static_cast<int>(SendMessageW(List, LB_GETCURSEL, 0, 0)); }

inline int RowOf(HWND List, const std::wstring& Name) {
  const std::vector<std::wstring> Items = ListItems(List);
  const auto It = std::find(Items.begin(), Items.end(), Name);
  return It == Items.end() ? -1 : static_cast<int>(It - Items.begin());
}

class TPhonebookTest : public TMainWindowTest {
 protected:
  // Starts on a data file that Fill makes, waits for phonebook 1's rows.
  void StartWith(const std::function<void(TQVDP_ALL&)>& Fill, int Rows) {
    WriteDataFileWith(DataFile(), Fill);
    Start();
    ASSERT_TRUE(WaitForPages());
    ASSERT_TRUE(WaitUntil([&] { return RowCount(Control("lbxPB1")) == Rows; }));
  }
  // Selects the row named Name of List and runs Button; the editor once it shows.
  HWND OpenEditor(HWND List, const std::wstring& Name, const char* Button) {
    const int Row = RowOf(List, Name);
    EXPECT_GE(Row, 0) << "no row " << std::string(Name.begin(), Name.end());
    SelectListRow(List, Row);
    PostClick(Control(Button));
    return WaitForCaption(EditorCaption);
  }
  static HWND Item(HWND Editor, const std::string& Name) { return LayoutControl(Editor, "TFRMEDTPBITEM", Name); }
  // Ends the editor with OK and waits until it has gone.
  void Accept(HWND Editor) {
    PostClick(Item(Editor, "butOK"));
    ASSERT_TRUE(WaitUntil([&] { return !Showing(EditorCaption); }));
  }
  // Closes the program, which saves the data file, and loads what it saved.
  void CloseAndLoad(TQVDP_ALL& Saved) {
    PostMessageW(Main(), WM_CLOSE, 0, 0);
    ASSERT_TRUE(Program->Ended());
    ASSERT_TRUE(Saved.LoadFromFile(DataFile())) << Saved.ErrorText();
  }
};
