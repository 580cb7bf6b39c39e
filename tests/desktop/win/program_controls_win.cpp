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
