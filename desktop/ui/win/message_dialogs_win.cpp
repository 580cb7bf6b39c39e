// Message dialogs. The template holds the controls; their places are worked
// out when the dialog opens, from the text's wrapped size in the dialog font,
// so a long translation makes a larger dialog rather than a cut-off one.
#include "message_dialogs_win.h"

#include <windows.h>

#include <algorithm>
#include <vector>

#include "language_module.h"
#include "resource_texts.h"
#include "text_ids.h"

namespace {

enum TKindOfDialog { dkPlain, dkError, dkConfirm };

constexpr int IconId = 100, TextId = 101;
constexpr INT_PTR NoAnswer = 1000;  // the confirmation closed through its title bar

struct TDialogData {
  TKindOfDialog Kind;
  std::string Text;
};

// Appends a DLGITEMTEMPLATE with a predefined class atom, no title (set when
// the dialog opens) and no extra data.
void AddItem(std::vector<WORD>& T, DWORD Style, WORD Id, WORD ClassAtom) {
  while (T.size() % 2) T.push_back(0);  // DWORD alignment
  DLGITEMTEMPLATE Item{Style | WS_CHILD | WS_VISIBLE, 0, 0, 0, 10, 10, Id};
  const WORD* P = reinterpret_cast<const WORD*>(&Item);
  T.insert(T.end(), P, P + sizeof(Item) / 2);
  T.push_back(0xFFFF);
  T.push_back(ClassAtom);
  T.push_back(0);  // no title
  T.push_back(0);  // no creation data
}

std::wstring Wide(const std::string& Text) {
  const int N = MultiByteToWideChar(CP_ACP, 0, Text.c_str(), -1, nullptr, 0);
  std::wstring W(N > 0 ? N - 1 : 0, L'\0');
  if (N > 1) MultiByteToWideChar(CP_ACP, 0, Text.c_str(), -1, &W[0], N);
  return W;
}

void Place(HWND Dlg, int Id, int X, int Y, int W, int H) {
  SetWindowPos(GetDlgItem(Dlg, Id), nullptr, X, Y, W, H, SWP_NOZORDER | SWP_NOACTIVATE);
}

void Layout(HWND Dlg, const TDialogData& D) {
  HWND Text = GetDlgItem(Dlg, TextId);
  SetWindowTextA(Text, D.Text.c_str());
  HDC Dc = GetDC(Text);
  HGDIOBJ Old = SelectObject(Dc, reinterpret_cast<HFONT>(SendMessageA(Dlg, WM_GETFONT, 0, 0)));
  RECT Measure{0, 0, GetSystemMetrics(SM_CXSCREEN) / 2, 0};
  DrawTextA(Dc, D.Text.empty() ? " " : D.Text.c_str(), -1, &Measure, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
  SelectObject(Dc, Old);
  ReleaseDC(Text, Dc);
  const int Margin = 12, ButtonW = 80, ButtonH = 25, Gap = 8;
  const int IconSize = D.Kind == dkPlain ? 0 : GetSystemMetrics(SM_CXICON);
  const int TextX = Margin + (IconSize ? IconSize + Margin : 0);
  const int Buttons = D.Kind == dkConfirm ? 2 : 1;
  const int ContentH = std::max<int>(Measure.bottom, IconSize);
  const int ClientW = std::max<int>(TextX + Measure.right + Margin, Buttons * ButtonW + (Buttons - 1) * Gap + 2 * Margin);
  const int ClientH = Margin + ContentH + Margin + ButtonH + Margin;
  if (IconSize) Place(Dlg, IconId, Margin, Margin, IconSize, IconSize);
  Place(Dlg, TextId, TextX, Margin + (ContentH - Measure.bottom) / 2, Measure.right, Measure.bottom);
  int X = (ClientW - (Buttons * ButtonW + (Buttons - 1) * Gap)) / 2;
  for (int Id : D.Kind == dkConfirm ? std::vector<int>{IDYES, IDNO} : std::vector<int>{IDOK}) {
    Place(Dlg, Id, X, ClientH - Margin - ButtonH, ButtonW, ButtonH);
    X += ButtonW + Gap;
  }
  RECT Rc{0, 0, ClientW, ClientH};
  AdjustWindowRectEx(&Rc, static_cast<DWORD>(GetWindowLongPtrA(Dlg, GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongPtrA(Dlg, GWL_EXSTYLE)));
  const int W = Rc.right - Rc.left, H = Rc.bottom - Rc.top;
  SetWindowPos(Dlg, nullptr, (GetSystemMetrics(SM_CXSCREEN) - W) / 2, (GetSystemMetrics(SM_CYSCREEN) - H) / 2, W, H,
               SWP_NOZORDER);
}

INT_PTR CALLBACK DialogProc(HWND Dlg, UINT Msg, WPARAM WP, LPARAM LP) {
  switch (Msg) {
    case WM_INITDIALOG: {
      const auto* D = reinterpret_cast<const TDialogData*>(LP);
      SetWindowLongPtrA(Dlg, DWLP_USER, LP);
      if (D->Kind != dkPlain)
        SendDlgItemMessageA(Dlg, IconId, STM_SETICON,
                            reinterpret_cast<WPARAM>(LoadIcon(nullptr, D->Kind == dkError ? IDI_ERROR : IDI_QUESTION)), 0);
      SetDlgItemTextA(Dlg, IDOK, ResourceText(OkButtonTextId).c_str());
      SetDlgItemTextA(Dlg, IDYES, ResourceText(YesButtonTextId).c_str());
      SetDlgItemTextA(Dlg, IDNO, ResourceText(NoButtonTextId).c_str());
      Layout(Dlg, *D);
      SetFocus(GetDlgItem(Dlg, D->Kind == dkConfirm ? IDYES : IDOK));
      return FALSE;
    }
    case WM_COMMAND: {
      const auto* D = reinterpret_cast<const TDialogData*>(GetWindowLongPtrA(Dlg, DWLP_USER));
      switch (LOWORD(WP)) {
        case IDOK:
        case IDYES:
        case IDNO:
          EndDialog(Dlg, LOWORD(WP));
          return TRUE;
        case IDCANCEL:  // Escape: No in a confirmation, OK otherwise
          EndDialog(Dlg, D->Kind == dkConfirm ? IDNO : IDOK);
          return TRUE;
      }
      break;
    }
    case WM_CLOSE: {
      const auto* D = reinterpret_cast<const TDialogData*>(GetWindowLongPtrA(Dlg, DWLP_USER));
      EndDialog(Dlg, D->Kind == dkConfirm ? NoAnswer : IDOK);
      return TRUE;
    }
  }
  return FALSE;
}

std::string ProgramFileTitle() {
  char Path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, Path, MAX_PATH);
  return ProgramTitle(Path);
}

INT_PTR Run(TKindOfDialog Kind, const std::string& Text) {
  const std::string Caption = Kind == dkPlain   ? ProgramFileTitle()
                              : Kind == dkError ? ResourceText(ErrorCaptionTextId)
                                                : ResourceText(ConfirmCaptionTextId);
  std::vector<WORD> T;
  DLGTEMPLATE Head{DS_MODALFRAME | DS_SETFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU, 0, 0, 0, 0, 100, 50};
  Head.cdit = static_cast<WORD>(Kind == dkConfirm ? 4 : Kind == dkError ? 3 : 2);
  const WORD* P = reinterpret_cast<const WORD*>(&Head);
  T.insert(T.end(), P, P + sizeof(Head) / 2);
  T.push_back(0);  // no menu
  T.push_back(0);  // the standard dialog class
  for (wchar_t C : Wide(Caption)) T.push_back(static_cast<WORD>(C));
  T.push_back(0);
  T.push_back(8);  // font size in points
  for (wchar_t C : std::wstring(L"MS Shell Dlg")) T.push_back(static_cast<WORD>(C));
  T.push_back(0);
  const WORD Button = 0x0080, Static = 0x0082;
  if (Kind != dkPlain) AddItem(T, SS_ICON, IconId, Static);
  AddItem(T, SS_LEFT | SS_NOPREFIX, TextId, Static);
  if (Kind == dkConfirm) {
    AddItem(T, BS_DEFPUSHBUTTON | WS_TABSTOP, IDYES, Button);
    AddItem(T, BS_PUSHBUTTON | WS_TABSTOP, IDNO, Button);
  } else {
    AddItem(T, BS_DEFPUSHBUTTON | WS_TABSTOP, IDOK, Button);
  }
  TDialogData Data{Kind, Text};
  HWND Owner = GetActiveWindow();
  return DialogBoxIndirectParamA(GetModuleHandleA(nullptr), reinterpret_cast<DLGTEMPLATE*>(T.data()), Owner, DialogProc,
                                 reinterpret_cast<LPARAM>(&Data));
}

}  // namespace

void ShowPlainMessage(const std::string& Text) { Run(dkPlain, Text); }
void ShowErrorMessage(const std::string& Text) { Run(dkError, Text); }

TConfirmAnswer Confirm(const std::string& Text) {
  switch (Run(dkConfirm, Text)) {
    case IDYES: return caYes;
    case IDNO: return caNo;
    default: return caNone;
  }
}
