// The installer window's look and its behaviour apart from the install. All
// positions are in the window's client coordinates: the orange frame is 4
// pixels wide, the header 77 high below it, then the 17-pixel black strip and
// the install area (549 x 220 at (4, 98)) that the background fills and the
// install area's controls are placed in.
#include "frm_main_win.h"

#include <cstring>

#include "driver_check_win.h"
#include "install_plan.h"
#include "jpeg_win.h"
#include "lang.h"
#include "link_types.h"
#include "message_win.h"
#include "shell_win.h"

namespace {

constexpr int ClientWidth = 557, ClientHeight = 322;
constexpr RECT Header{4, 4, 553, 81};
constexpr RECT Logo{297, 5, 552, 78};  // the right 255 pixels of the header's content
constexpr RECT Title{13, 13, 287, 37};
constexpr RECT Version{9, 43, 290, 64};
constexpr RECT Strip{4, 81, 553, 98};
constexpr RECT InstallArea{4, 98, 553, 318};
// Controls: x, y, width, height (those of the install area relative to it).
constexpr int AreaX = InstallArea.left, AreaY = InstallArea.top;
struct TPlace {
  int X, Y, W, H;
};
constexpr TPlace CheckPlace{12, 81, 541, 17};
constexpr TPlace OSPlace{AreaX + 8, AreaY + 84, 537, 21};
constexpr TPlace CancelPlace{AreaX + 400, AreaY + 152, 141, 61};
constexpr TPlace InfoPlace{AreaX + 8, AreaY + 112, 537, 29};
constexpr TPlace InstallPlace{AreaX + 4, AreaY + 4, 161, 49};

const COLORREF FrameColor = RGB(233, 106, 22);
const COLORREF HeaderColor = RGB(255, 153, 0);
const COLORREF TitleColor = RGB(250, 227, 180);
const COLORREF VersionColor = RGB(253, 244, 213);
const COLORREF OSColor = RGB(189, 141, 40);
const COLORREF InstallColor = RGB(255, 0, 0);

HFONT MakeFont(const char* Face, int Pixels, bool Bold, bool Italic = false) {
  return CreateFontA(-Pixels, 0, 0, 0, Bold ? FW_BOLD : FW_NORMAL, Italic, FALSE, FALSE, ANSI_CHARSET,
                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, Face);
}

// The largest font up to Pixels in which Text fits Width: where Windows has no
// Arial, its stand-in may be wider, and the title must not run into the logo.
HFONT FittingFont(HDC Dc, const char* Face, int Pixels, bool Bold, bool Italic, const char* Text, int Width) {
  for (;; --Pixels) {
    const HFONT Font = MakeFont(Face, Pixels, Bold, Italic);
    const HGDIOBJ Old = SelectObject(Dc, Font);
    SIZE S{};
    GetTextExtentPoint32A(Dc, Text, static_cast<int>(strlen(Text)), &S);
    SelectObject(Dc, Old);
    if (S.cx <= Width || Pixels <= 8) return Font;
    DeleteObject(Font);
  }
}

void Fill(HDC Dc, const RECT& R, COLORREF Color) {
  const HBRUSH Brush = CreateSolidBrush(Color);
  FillRect(Dc, &R, Brush);
  DeleteObject(Brush);
}

void Text(HDC Dc, const char* S, RECT R, HFONT Font, COLORREF Color, UINT Format) {
  const HGDIOBJ Old = SelectObject(Dc, Font);
  SetBkMode(Dc, TRANSPARENT);
  SetTextColor(Dc, Color);
  DrawTextA(Dc, S, -1, &R, Format);
  SelectObject(Dc, Old);
}

SIZE BitmapSize(HBITMAP Bitmap) {
  BITMAP B{};
  GetObject(Bitmap, sizeof B, &B);
  return {B.bmWidth, B.bmHeight};
}

// Draws Bitmap at (X, Y); with Transparent its lower-left pixel's colour is
// left out, as the glyphs are drawn.
void DrawBitmap(HDC Dc, HBITMAP Bitmap, int X, int Y, bool Transparent) {
  if (!Bitmap) return;
  const SIZE S = BitmapSize(Bitmap);
  const HDC Source = CreateCompatibleDC(Dc);
  const HGDIOBJ Old = SelectObject(Source, Bitmap);
  if (Transparent)
    TransparentBlt(Dc, X, Y, S.cx, S.cy, Source, 0, 0, S.cx, S.cy, GetPixel(Source, 0, S.cy - 1));
  else
    BitBlt(Dc, X, Y, S.cx, S.cy, Source, 0, 0, SRCCOPY);
  SelectObject(Source, Old);
  DeleteDC(Source);
}

std::string WindowText(HWND Window) {
  char S[512] = {};
  GetWindowTextA(Window, S, sizeof S);
  return S;
}

}  // namespace

TfrmMain::~TfrmMain() {
  if (FHandle) DestroyWindow(FHandle);
  for (HGDIOBJ Object : {static_cast<HGDIOBJ>(FFontCheck), static_cast<HGDIOBJ>(FFontTitle),
                         static_cast<HGDIOBJ>(FFontVersion), static_cast<HGDIOBJ>(FFontOS),
                         static_cast<HGDIOBJ>(FFontCancel), static_cast<HGDIOBJ>(FFontInfo),
                         static_cast<HGDIOBJ>(FFontInstall), static_cast<HGDIOBJ>(FScene),
                         static_cast<HGDIOBJ>(FGlyphInstall), static_cast<HGDIOBJ>(FGlyphCancel),
                         static_cast<HGDIOBJ>(FStripBrush)})
    if (Object) DeleteObject(Object);
}

bool TfrmMain::Create() {
  WNDCLASSA Class{};
  Class.lpfnWndProc = WindowProc;
  Class.hInstance = GetModuleHandleA(nullptr);
  Class.hIcon = LoadIconA(Class.hInstance, "MAINICON");
  Class.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  Class.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  Class.lpszClassName = ClassName;
  RegisterClassA(&Class);
  FHandle = CreateWindowExA(WS_EX_APPWINDOW, ClassName, "Quorvale Desktop Installer", WS_POPUP | WS_CLIPCHILDREN,
                            0, 0, ClientWidth, ClientHeight, nullptr, nullptr, Class.hInstance, this);
  if (!FHandle) return false;
  CreateControls();
  PaintScene();
  bool Refused = false;
  FormCreate(Refused);
  if (Refused) {
    DestroyWindow(FHandle);
    FHandle = nullptr;
  }
  return !Refused;
}

void TfrmMain::CreateControls() {
  const HINSTANCE Instance = GetModuleHandleA(nullptr);
  const auto Child = [&](const char* Class, DWORD Style, const TPlace& P, int Id) {
    return CreateWindowExA(0, Class, "", WS_CHILD | WS_VISIBLE | Style, P.X, P.Y, P.W, P.H, FHandle,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(Id)), Instance, nullptr);
  };
  FFontCheck = MakeFont("MS Sans Serif", 11, false);
  FFontVersion = MakeFont("Arial", 19, false);
  FFontOS = MakeFont("MS Sans Serif", 16, true);
  FFontCancel = MakeFont("MS Sans Serif", 13, true);
  FFontInfo = MakeFont("MS Sans Serif", 13, true);
  FFontInstall = MakeFont("MS Sans Serif", 16, true);
  FStripBrush = CreateSolidBrush(RGB(0, 0, 0));
  FGlyphInstall = LoadBitmapA(Instance, "GLYPH_INSTALL");
  FGlyphCancel = LoadBitmapA(Instance, "GLYPH_CANCEL");
  FInfoFontColor = FCancelFontColor = GetSysColor(COLOR_WINDOWTEXT);

  cbxInstallUSBDrv = Child("BUTTON", BS_AUTOCHECKBOX, CheckPlace, idInstallUSBDrv);
  SendMessageA(cbxInstallUSBDrv, WM_SETFONT, reinterpret_cast<WPARAM>(FFontCheck), FALSE);
  lblOS = Child("STATIC", SS_OWNERDRAW, OSPlace, idOS);
  butCancel = Child("BUTTON", BS_OWNERDRAW, CancelPlace, idCancel);
  lblInfo = Child("STATIC", SS_OWNERDRAW, InfoPlace, idInfo);
  ShowWindow(lblInfo, SW_HIDE);
  butInstall = Child("BUTTON", BS_OWNERDRAW, InstallPlace, idInstall);
  SetTimer(FHandle, BlinkTimer, 500, nullptr);
}

// Everything that never changes, drawn once.
void TfrmMain::PaintScene() {
  const HDC Screen = GetDC(FHandle);
  const HDC Dc = CreateCompatibleDC(Screen);
  FScene = CreateCompatibleBitmap(Screen, ClientWidth, ClientHeight);
  ReleaseDC(FHandle, Screen);
  const HGDIOBJ Old = SelectObject(Dc, FScene);
  Fill(Dc, {0, 0, ClientWidth, ClientHeight}, FrameColor);
  Fill(Dc, Header, HeaderColor);
  const HBITMAP LogoPicture = LoadBitmapA(GetModuleHandleA(nullptr), "LOGO");
  const SIZE L = BitmapSize(LogoPicture);
  DrawBitmap(Dc, LogoPicture, Logo.left + (Logo.right - Logo.left - L.cx) / 2,
             Logo.top + (Logo.bottom - Logo.top - L.cy) / 2, false);
  DeleteObject(LogoPicture);
  const char* const TitleText = "Quorvale Desktop Installer";
  FFontTitle = FittingFont(Dc, "Arial", 21, true, true, TitleText, Title.right - Title.left);
  Text(Dc, TitleText, Title, FFontTitle, TitleColor, DT_LEFT | DT_TOP | DT_SINGLELINE);
  Text(Dc, "Version 1.05", Version, FFontVersion, VersionColor, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  Fill(Dc, Strip, RGB(0, 0, 0));
  Fill(Dc, InstallArea, GetSysColor(COLOR_BTNFACE));
  if (const HBITMAP Background = LoadJpegResource("BACKGROUND")) {
    const SIZE B = BitmapSize(Background);
    const HDC Source = CreateCompatibleDC(Dc);
    const HGDIOBJ OldSource = SelectObject(Source, Background);
    SetStretchBltMode(Dc, HALFTONE);
    StretchBlt(Dc, InstallArea.left, InstallArea.top, InstallArea.right - InstallArea.left,
               InstallArea.bottom - InstallArea.top, Source, 0, 0, B.cx, B.cy, SRCCOPY);
    SelectObject(Source, OldSource);
    DeleteDC(Source);
    DeleteObject(Background);
  }
  SelectObject(Dc, Old);
  DeleteDC(Dc);
}

void TfrmMain::FormCreate(bool& Refused) {
  FDriverMissing = !(WinDriverPresent() && USBDeviceKeyExists(PhoneVendorId, PhoneProductId));
  SetWindowTextA(cbxInstallUSBDrv, LangText(16));
  SendMessageA(cbxInstallUSBDrv, BM_SETCHECK, BST_CHECKED, 0);
  ShowWindow(cbxInstallUSBDrv, FDriverMissing ? SW_HIDE : SW_SHOW);
  FCanClose = true;
  SetWindowTextA(lblInfo, "");
  std::string Name;
  FOSKind = DetectWindows(Name);
  if (IsRefusedWindows(FOSKind)) {
    ShowPlainMessage(FormatText(LangText(24), Name));
    Refused = true;
    return;
  }
  FWdRegExe = RegistrationTool(FOSKind);
  SetWindowTextA(lblOS, (std::string(LangText(1)) + " : " + Name).c_str());
  SetWindowTextA(butInstall, LangText(8));
  SetWindowTextA(butCancel, LangText(9));
}

void TfrmMain::Show() {
  SetWindowPos(FHandle, nullptr, (GetSystemMetrics(SM_CXSCREEN) - ClientWidth) / 2,
               (GetSystemMetrics(SM_CYSCREEN) - ClientHeight) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  ShowWindow(FHandle, SW_SHOWNORMAL);
  UpdateWindow(FHandle);
  FTempDir = GetTempDir();
  FSystemDir = GetSystemDir();
  FInstallDir = GetInstallDir(FHandle);
}

void TfrmMain::ShowInfo(const std::string& Text) {
  SetWindowTextA(lblInfo, Text.c_str());
  RedrawWindow(lblInfo, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

void TfrmMain::SetInfoColors(COLORREF Back, COLORREF Text) {
  FInfoColor = Back;
  FInfoFontColor = Text;
  InvalidateRect(lblInfo, nullptr, TRUE);
}

void TfrmMain::PlaceCancelButton() {
  // Centred in the window, measured from where the install area it lies in
  // starts.
  const int Left = InstallArea.left + (ClientWidth - CancelPlace.W) / 2;
  SetWindowPos(butCancel, nullptr, Left, CancelPlace.Y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

void TfrmMain::Timer1Timer() {
  FGlyphRight = !FGlyphRight;
  InvalidateRect(butInstall, nullptr, FALSE);
}

void TfrmMain::butCancelClick() { SendMessageA(FHandle, WM_CLOSE, 0, 0); }

// The transparent controls show the part of the window's scene they cover.
void TfrmMain::DrawSceneUnder(const DRAWITEMSTRUCT& Item) {
  POINT At{0, 0};
  MapWindowPoints(Item.hwndItem, FHandle, &At, 1);
  const HDC Scene = CreateCompatibleDC(Item.hDC);
  const HGDIOBJ Old = SelectObject(Scene, FScene);
  BitBlt(Item.hDC, 0, 0, Item.rcItem.right, Item.rcItem.bottom, Scene, At.x, At.y, SRCCOPY);
  SelectObject(Scene, Old);
  DeleteDC(Scene);
}

void TfrmMain::DrawButton(const DRAWITEMSTRUCT& Item, HBITMAP Glyph, HFONT Font, COLORREF Color, bool GlyphRight) {
  const HDC Dc = Item.hDC;
  const RECT R = Item.rcItem;
  DrawSceneUnder(Item);
  const std::string Caption = WindowText(Item.hwndItem);
  const HGDIOBJ OldFont = SelectObject(Dc, Font);
  SIZE TextSize{};
  GetTextExtentPoint32A(Dc, Caption.c_str(), static_cast<int>(Caption.size()), &TextSize);
  SelectObject(Dc, OldFont);
  // Glyph and caption centred as one group, 4 pixels apart.
  constexpr int GlyphSize = 32, Spacing = 4;
  const int Pressed = (Item.itemState & ODS_SELECTED) ? 1 : 0;
  const int Left = (R.right - GlyphSize - Spacing - TextSize.cx) / 2 + Pressed;
  const int GlyphX = GlyphRight ? Left + TextSize.cx + Spacing : Left;
  const int TextX = GlyphRight ? Left : Left + GlyphSize + Spacing;
  DrawBitmap(Dc, Glyph, GlyphX, (R.bottom - GlyphSize) / 2 + Pressed, true);
  Text(Dc, Caption.c_str(), {TextX, Pressed, TextX + TextSize.cx, R.bottom + Pressed}, Font, Color,
       DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOCLIP);
  if (Pressed) {
    RECT Edge = R;
    DrawEdge(Dc, &Edge, BDR_SUNKENOUTER, BF_RECT);
  }
}

void TfrmMain::DrawItem(const DRAWITEMSTRUCT& Item) {
  const HDC Dc = Item.hDC;
  RECT R = Item.rcItem;
  switch (Item.CtlID) {
    case idInstall:
      return DrawButton(Item, FGlyphInstall, FFontInstall, InstallColor, FGlyphRight);
    case idCancel:
      return DrawButton(Item, FGlyphCancel, FFontCancel, FCancelFontColor, false);
    case idOS: {
      DrawSceneUnder(Item);
      Text(Dc, WindowText(Item.hwndItem).c_str(), R, FFontOS, OSColor, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
      return;
    }
    case idInfo:
      Fill(Dc, R, FInfoColor);
      FrameRect(Dc, &R, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
      Text(Dc, WindowText(Item.hwndItem).c_str(), R, FFontInfo, FInfoFontColor, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
      return;
  }
}

LRESULT CALLBACK TfrmMain::WindowProc(HWND Window, UINT Msg, WPARAM WParam, LPARAM LParam) {
  if (Msg == WM_NCCREATE) {
    auto* Form = static_cast<TfrmMain*>(reinterpret_cast<CREATESTRUCTA*>(LParam)->lpCreateParams);
    Form->FHandle = Window;
    SetWindowLongPtrA(Window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(Form));
  }
  auto* Form = reinterpret_cast<TfrmMain*>(GetWindowLongPtrA(Window, GWLP_USERDATA));
  return Form ? Form->HandleMessage(Msg, WParam, LParam) : DefWindowProcA(Window, Msg, WParam, LParam);
}

LRESULT TfrmMain::HandleMessage(UINT Msg, WPARAM WParam, LPARAM LParam) {
  switch (Msg) {
    case WM_PAINT: {
      PAINTSTRUCT Paint;
      const HDC Dc = BeginPaint(FHandle, &Paint);
      const HDC Scene = CreateCompatibleDC(Dc);
      const HGDIOBJ Old = SelectObject(Scene, FScene);
      BitBlt(Dc, 0, 0, ClientWidth, ClientHeight, Scene, 0, 0, SRCCOPY);
      SelectObject(Scene, Old);
      DeleteDC(Scene);
      EndPaint(FHandle, &Paint);
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;
    case WM_DRAWITEM:
      DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(LParam));
      return TRUE;
    case WM_CTLCOLORSTATIC:
      if (reinterpret_cast<HWND>(LParam) == cbxInstallUSBDrv) {
        const HDC Dc = reinterpret_cast<HDC>(WParam);
        SetTextColor(Dc, RGB(255, 255, 255));
        SetBkColor(Dc, RGB(0, 0, 0));
        return reinterpret_cast<LRESULT>(FStripBrush);
      }
      break;
    case WM_COMMAND:
      if (HIWORD(WParam) == BN_CLICKED && LOWORD(WParam) == idInstall) butInstallClick();
      else if (HIWORD(WParam) == BN_CLICKED && LOWORD(WParam) == idCancel) butCancelClick();
      return 0;
    case WM_TIMER:
      if (WParam == BlinkTimer) Timer1Timer();
      return 0;
    case WM_SETCURSOR:
      if (FBusy) {
        SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_WAIT)));
        return TRUE;
      }
      break;
    case WM_CLOSE:
      // While the install runs, a close request is refused without a word.
      if (FCanClose) DestroyWindow(FHandle);
      return 0;
    case WM_QUERYENDSESSION:
      // And so is the end of the session: the install would stop half done.
      return FCanClose ? TRUE : FALSE;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    case WM_NCDESTROY: {
      const LRESULT Result = DefWindowProcA(FHandle, Msg, WParam, LParam);
      FHandle = nullptr;
      return Result;
    }
  }
  return DefWindowProcA(FHandle, Msg, WParam, LParam);
}
