// The started program's controls; see program_controls_win.h.
#include "program_controls_win.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <sstream>

#include "program_driver_win.h"

namespace {

// The generated layouts hold "KIND<tab>NAME<tab>PARENT<tab>ID<tab>...".
std::map<std::string, int> ReadLayoutIds(const std::string& Form) {
  std::map<std::string, int> Ids;
  std::ifstream In(std::string(QV_LAYOUT_DIR "/") + Form + ".qvl");
  EXPECT_TRUE(In) << "no generated layout " << Form;
  std::string Line;
  while (std::getline(In, Line)) {
    std::istringstream Fields(Line);
    std::string Kind, Name, Parent, Id;
    if (std::getline(Fields, Kind, '\t') && std::getline(Fields, Name, '\t') && std::getline(Fields, Parent, '\t') &&
        std::getline(Fields, Id, '\t'))
      Ids[Name] = std::atoi(Id.c_str());
  }
  return Ids;
}

struct TFindId {
  int Id;
  HWND Found;
};

BOOL CALLBACK FindById(HWND W, LPARAM Param) {
  auto* F = reinterpret_cast<TFindId*>(Param);
  if (GetDlgCtrlID(W) == F->Id) {
    F->Found = W;
    return FALSE;
  }
  return TRUE;
}

struct TFindCaption {
  DWORD Process;
  std::wstring Caption;
  HWND Found;
};

BOOL CALLBACK FindTopLevel(HWND W, LPARAM Param) {
  auto* F = reinterpret_cast<TFindCaption*>(Param);
  DWORD Process = 0;
  GetWindowThreadProcessId(W, &Process);
  if (Process == F->Process && IsWindowVisible(W) && TextOf(W) == F->Caption) {
    F->Found = W;
    return FALSE;
  }
  return TRUE;
}

LRESULT Send(HWND W, UINT Msg, WPARAM WP = 0, LPARAM LP = 0) {
  DWORD_PTR Result = 0;
  SendMessageTimeoutW(W, Msg, WP, LP, SMTO_ABORTIFHUNG, 5000, &Result);
  return static_cast<LRESULT>(Result);
}

}  // namespace

int LayoutControlId(const std::string& Form, const std::string& Name) {
  static std::map<std::string, std::map<std::string, int>> Layouts;
  auto It = Layouts.find(Form);
  if (It == Layouts.end()) It = Layouts.emplace(Form, ReadLayoutIds(Form)).first;
  const auto Id = It->second.find(Name);
  EXPECT_NE(Id, It->second.end()) << Form << " has no " << Name;
  return Id == It->second.end() ? -1 : Id->second;
}

HWND LayoutControl(HWND Window, const std::string& Form, const std::string& Name) {
  TFindId F{LayoutControlId(Form, Name), nullptr};
  EnumChildWindows(Window, FindById, reinterpret_cast<LPARAM>(&F));
  return F.Found;
}

void PostClick(HWND Control) { PostMessageW(Control, BM_CLICK, 0, 0); }
void SelectListRow(HWND List, int Row) {
  Send(List, LB_SETCURSEL, static_cast<WPARAM>(Row));
  PostMessageW(GetParent(List), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(List), LBN_SELCHANGE), reinterpret_cast<LPARAM>(List));
}

void SelectComboItem(HWND Combo, int Index) {
  Send(Combo, CB_SETCURSEL, static_cast<WPARAM>(Index));
  PostMessageW(GetParent(Combo), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(Combo), CBN_SELCHANGE), reinterpret_cast<LPARAM>(Combo));
}

void MoveSlider(HWND Slider, int Position) {
  Send(Slider, TBM_SETPOS, TRUE, Position);
  PostMessageW(GetParent(Slider), WM_HSCROLL, MAKEWPARAM(TB_THUMBTRACK, Position), reinterpret_cast<LPARAM>(Slider));
}

void TypeKeys(HWND Control, const std::string& Keys) {
  for (char Key : Keys) PostMessageW(Control, WM_CHAR, static_cast<unsigned char>(Key), 1);
}

COLORREF PixelAt(HWND Control, int X, int Y) {
  POINT P{X, Y};
  ClientToScreen(Control, &P);
  HDC Screen = GetDC(nullptr);
  const COLORREF Color = GetPixel(Screen, P.x, P.y);
  ReleaseDC(nullptr, Screen);
  return Color;
}

namespace {

// The 24-bit rows of what the screen shows in Rc, bottom row first.
std::vector<char> ScreenBits(const RECT& Rc) {
  const int W = Rc.right - Rc.left, H = Rc.bottom - Rc.top;
  HDC ScreenDc = GetDC(nullptr);
  HDC Mem = CreateCompatibleDC(ScreenDc);
  HBITMAP Shot = CreateCompatibleBitmap(ScreenDc, W, H);
  HGDIOBJ Old = SelectObject(Mem, Shot);
  BitBlt(Mem, 0, 0, W, H, ScreenDc, Rc.left, Rc.top, SRCCOPY);
  SelectObject(Mem, Old);
  BITMAPINFOHEADER Header{sizeof(BITMAPINFOHEADER), W, H, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  std::vector<char> Bits(static_cast<size_t>((W * 3 + 3) & ~3) * static_cast<size_t>(H));
  GetDIBits(Mem, Shot, 0, static_cast<UINT>(H), Bits.data(), reinterpret_cast<BITMAPINFO*>(&Header), DIB_RGB_COLORS);
  DeleteObject(Shot);
  DeleteDC(Mem);
  ReleaseDC(nullptr, ScreenDc);
  return Bits;
}

}  // namespace

void SaveScreenshot(HWND Shown, const std::string& FileName) {
  // Only the part on the screen: a maximised window's borders lie outside
  // it, and a copy that reaches outside the X screen copies nothing.
  RECT Window, Screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}, Rc;
  GetWindowRect(Shown, &Window);
  IntersectRect(&Rc, &Window, &Screen);
  // The window paints when its thread is idle: the picture is taken once two
  // copies in a row agree.
  std::vector<char> Bits = ScreenBits(Rc), Previous;
  WaitUntil([&] {
    Previous.swap(Bits);
    Bits = ScreenBits(Rc);
    return Bits == Previous;
  }, 5000);
  BITMAPINFOHEADER Header{sizeof(BITMAPINFOHEADER), Rc.right - Rc.left, Rc.bottom - Rc.top, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  const DWORD Offset = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
  const BITMAPFILEHEADER File{0x4D42, Offset + static_cast<DWORD>(Bits.size()), 0, 0, Offset};
  std::ofstream Out(FileName, std::ios::binary);
  Out.write(reinterpret_cast<const char*>(&File), sizeof(File));
  Out.write(reinterpret_cast<const char*>(&Header), sizeof(Header));
  Out.write(Bits.data(), static_cast<std::streamsize>(Bits.size()));
  EXPECT_TRUE(Out.good()) << "cannot write " << FileName;
}

void PostCommand(HWND Window, int Id) { PostMessageW(Window, WM_COMMAND, MAKEWPARAM(Id, 0), 0); }
bool Visible(HWND Control) { return Control && IsWindowVisible(Control); }
bool Enabled(HWND Control) { return Control && IsWindowEnabled(Control); }
bool Checked(HWND Button) { return Send(Button, BM_GETCHECK) == BST_CHECKED; }

bool Focused(HWND Control) {
  GUITHREADINFO Info{};
  Info.cbSize = sizeof(Info);
  return GetGUIThreadInfo(GetWindowThreadProcessId(Control, nullptr), &Info) && Info.hwndFocus == Control;
}

std::vector<std::wstring> ListItems(HWND List) {
  const bool Combo = ClassOf(List) == "ComboBox";
  const LRESULT Count = Send(List, Combo ? CB_GETCOUNT : LB_GETCOUNT);
  std::vector<std::wstring> Items;
  for (LRESULT I = 0; I < Count; ++I) {
    const LRESULT Length = Send(List, Combo ? CB_GETLBTEXTLEN : LB_GETTEXTLEN, I);
    std::wstring Text(static_cast<size_t>(std::max<LRESULT>(Length, 0)) + 1, L'\0');
    Send(List, Combo ? CB_GETLBTEXT : LB_GETTEXT, I, reinterpret_cast<LPARAM>(&Text[0]));
    Text.resize(wcslen(Text.c_str()));
    Items.push_back(Text);
  }
  return Items;
}

int ProgressPosition(HWND Bar) { return static_cast<int>(Send(Bar, PBM_GETPOS)); }

HWND TopLevelWindow(DWORD Process, const std::wstring& Caption) {
  TFindCaption F{Process, Caption, nullptr};
  EnumWindows(FindTopLevel, reinterpret_cast<LPARAM>(&F));
  return F.Found;
}

std::wstring DialogText(HWND Dialog) {
  constexpr int MessageTextId = 101;  // the message dialogs' text control
  return TextOf(GetDlgItem(Dialog, MessageTextId));
}

void AnswerDialog(HWND Dialog, int ButtonId) {
  // A click on nothing would pass unseen, and the dialog awaited never came.
  ASSERT_TRUE(Dialog) << "no dialog to answer";
  HWND Button = GetDlgItem(Dialog, ButtonId);
  ASSERT_TRUE(Button) << "the dialog has no button " << ButtonId;
  PostClick(Button);
}

void ChooseFile(HWND FileDialog, const std::string& FileName) {
  // The file name box of the explorer-style dialog: an edit inside the
  // combo box cmb13, or the plain edit edt1.
  constexpr int FileNameCombo = 0x47c, FileNameEdit = 0x480;
  HWND Name = GetDlgItem(FileDialog, FileNameEdit);
  if (!Name) {
    HWND Combo = GetDlgItem(FileDialog, FileNameCombo);
    Name = Combo ? FindWindowExW(Combo, nullptr, L"Edit", nullptr) : nullptr;
    if (!Name) Name = Combo;
  }
  ASSERT_TRUE(Name) << "the file dialog has no file name box";
  const std::wstring Text = Wide(FileName);
  Send(Name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Text.c_str()));
  PostMessageW(FileDialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(FileDialog, IDOK)));
}

std::wstring Wide(const std::string& Text) {
  const int N = MultiByteToWideChar(1252, 0, Text.c_str(), -1, nullptr, 0);
  std::wstring W(N > 0 ? N - 1 : 0, L'\0');
  if (N > 1) MultiByteToWideChar(1252, 0, Text.c_str(), -1, &W[0], N);
  return W;
}
