// Panel, label and image of the window layer, and the registration of every
// class of the layer; the speed button has a file of its own. Containers pass
// their children's notifications up to the window, so a handler sees every
// control's events wherever the control sits.
#include "controls_win.h"

#include <string>

#include "control_parts_win.h"
#include "form_win.h"
#include "scroll_box_win.h"

const char* const PanelClass = "QVPanel";
const char* const LabelClass = "QVLabel";
const char* const SpeedButtonClass = "QVSpeedButton";
const char* const ImageClass = "QVImage";

namespace {

void Attach(HWND W, LPARAM CreateParams) {
  const auto* Cs = reinterpret_cast<const CREATESTRUCTA*>(CreateParams);
  SetWindowLongPtrA(W, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(Cs->lpCreateParams));
}

}  // namespace

namespace control_parts {

TControlRecord* Rec(HWND W) { return reinterpret_cast<TControlRecord*>(GetWindowLongPtrA(W, GWLP_USERDATA)); }

bool PaintedControlMessage(HWND W, UINT Msg, LPARAM LP, void (*Paint)(HWND, HDC), LRESULT& Result) {
  switch (Msg) {
    case WM_NCCREATE:
      Attach(W, LP);
      return false;  // the default handling still has to create the window
    case WM_ERASEBKGND:
      Result = 1;
      return true;
    case WM_PAINT: {
      PAINTSTRUCT Ps;
      HDC Dc = BeginPaint(W, &Ps);
      Paint(W, Dc);
      EndPaint(W, &Ps);
      Result = 0;
      return true;
    }
    default:
      return false;
  }
}

std::string TextOf(HWND W) {
  char Buffer[1024];
  const int N = GetWindowTextA(W, Buffer, sizeof(Buffer));
  return std::string(Buffer, N > 0 ? N : 0);
}

SIZE BitmapSize(HBITMAP Bitmap) {
  BITMAP B{};
  if (Bitmap) GetObjectA(Bitmap, sizeof(B), &B);
  return SIZE{B.bmWidth, B.bmHeight};
}

}  // namespace control_parts

using namespace control_parts;

namespace {

bool IsForwarded(UINT Msg) {
  switch (Msg) {
    case WM_COMMAND: case WM_NOTIFY: case WM_DRAWITEM: case WM_MEASUREITEM: case WM_HSCROLL:
    case WM_VSCROLL: case WM_CTLCOLORSTATIC: case WM_CTLCOLORBTN: case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
      return true;
    default:
      return false;
  }
}

// Notifications of children go to the window that owns the handlers.
bool Forward(HWND W, UINT Msg, WPARAM WP, LPARAM LP, LRESULT& Result) {
  TControlRecord* R = Rec(W);
  if (!R || !IsForwarded(Msg)) return false;
  Result = SendMessageA(R->Form->Handle(), Msg, WP, LP);
  return true;
}

int Thickness(const std::string& Bevel) { return Bevel == "none" ? 0 : 1; }

// Panels have a raised outer bevel unless the layout says otherwise; pages and
// group boxes have none.
const std::string& OuterBevel(const TLayoutControl& L) {
  static const std::string Raised = "raised", None = "none";
  return L.Prop("bevelouter", L.Kind == "panel" ? Raised : None);
}

void DrawBevel(HDC Dc, RECT& Rc, const std::string& Bevel, bool Outer) {
  if (Bevel == "none") return;
  const UINT Edge = Bevel == "lowered" ? (Outer ? BDR_SUNKENOUTER : BDR_SUNKENINNER)
                                       : (Outer ? BDR_RAISEDOUTER : BDR_RAISEDINNER);
  DrawEdge(Dc, &Rc, Edge, BF_RECT);
  InflateRect(&Rc, -1, -1);
}

void PaintPanel(HWND W, HDC Dc) {
  TControlRecord* R = Rec(W);
  RECT Rc;
  GetClientRect(W, &Rc);
  FillRect(Dc, &Rc, R->Brush);
  const TLayoutControl& L = *R->Layout;
  if (L.Kind == "groupbox") {
    HGDIOBJ Old = SelectObject(Dc, R->Font);
    TEXTMETRICA Tm;
    GetTextMetricsA(Dc, &Tm);
    RECT Frame = Rc;
    Frame.top += Tm.tmHeight / 2;
    DrawEdge(Dc, &Frame, EDGE_ETCHED, BF_RECT);
    const std::string Caption = TextOf(W);
    SIZE Size;
    GetTextExtentPoint32A(Dc, Caption.c_str(), static_cast<int>(Caption.size()), &Size);
    RECT Text{8, 0, 8 + Size.cx + 4, Tm.tmHeight};
    FillRect(Dc, &Text, R->Brush);
    SetBkMode(Dc, TRANSPARENT);
    SetTextColor(Dc, R->FontColor);
    DrawTextA(Dc, Caption.c_str(), -1, &Text, DT_CENTER | DT_SINGLELINE);
    SelectObject(Dc, Old);
    return;
  }
  DrawBevel(Dc, Rc, OuterBevel(L), true);
  const int Border = L.IntProp("borderwidth", 0);
  InflateRect(&Rc, -Border, -Border);
  DrawBevel(Dc, Rc, L.Prop("bevelinner", "none"), false);
  // A 2-pixel raised line along one edge, the separators between columns.
  const std::string& Line = L.Prop("line");
  if (!Line.empty()) {
    RECT Edge;
    GetClientRect(W, &Edge);
    if (Line == "left") Edge.right = Edge.left + 2;
    else Edge.left = Edge.right - 2;
    DrawEdge(Dc, &Edge, BDR_RAISEDINNER, BF_RECT);
  }
}

LRESULT CALLBACK PanelProc(HWND W, UINT Msg, WPARAM WP, LPARAM LP) {
  LRESULT Result;
  if (PaintedControlMessage(W, Msg, LP, PaintPanel, Result)) return Result;
  switch (Msg) {
    case WM_SIZE:
      if (TControlRecord* R = Rec(W)) {
        R->Form->Realign(R->Index);
        InvalidateRect(W, nullptr, TRUE);
      }
      return 0;
    case WM_SETTEXT:
      InvalidateRect(W, nullptr, TRUE);
      break;
    default:
      if (Forward(W, Msg, WP, LP, Result)) return Result;
  }
  return DefWindowProcA(W, Msg, WP, LP);
}

UINT LabelFormat(const TLayoutControl& L) {
  UINT F = L.BoolProp("wordwrap", false) ? DT_WORDBREAK : 0;
  const std::string& A = L.Prop("alignment", "left");
  F |= A == "center" ? DT_CENTER : A == "right" ? DT_RIGHT : DT_LEFT;
  return F;
}

void PaintLabel(HWND W, HDC Dc) {
  TControlRecord* R = Rec(W);
  RECT Rc;
  GetClientRect(W, &Rc);
  FillRect(Dc, &Rc, R->Brush);
  const std::string Text = TextOf(W);
  HGDIOBJ Old = SelectObject(Dc, R->Font);
  SetBkMode(Dc, TRANSPARENT);
  SetTextColor(Dc, IsWindowEnabled(W) ? R->FontColor : GetSysColor(COLOR_GRAYTEXT));
  const UINT Format = LabelFormat(*R->Layout);
  RECT Measure = Rc;
  DrawTextA(Dc, Text.c_str(), -1, &Measure, Format | DT_CALCRECT);
  const std::string& Layout = R->Layout->Prop("layout", "top");
  const int Spare = (Rc.bottom - Rc.top) - (Measure.bottom - Measure.top);
  if (Layout == "center") Rc.top += Spare / 2;
  else if (Layout == "bottom") Rc.top += Spare;
  DrawTextA(Dc, Text.c_str(), -1, &Rc, Format);
  SelectObject(Dc, Old);
}

LRESULT CALLBACK LabelProc(HWND W, UINT Msg, WPARAM WP, LPARAM LP) {
  LRESULT Result;
  if (PaintedControlMessage(W, Msg, LP, PaintLabel, Result)) return Result;
  switch (Msg) {
    case WM_SETTEXT: {
      Result = DefWindowProcA(W, Msg, WP, LP);
      AutoSizeLabel(W);
      InvalidateRect(W, nullptr, TRUE);
      return Result;
    }
    case WM_NCHITTEST:
      return HTTRANSPARENT;
  }
  return DefWindowProcA(W, Msg, WP, LP);
}

HBITMAP ImagePicture(HWND W) { return reinterpret_cast<HBITMAP>(GetPropA(W, "QVPicture")); }

void PaintImage(HWND W, HDC Dc) {
  TControlRecord* R = Rec(W);
  RECT Rc;
  GetClientRect(W, &Rc);
  FillRect(Dc, &Rc, R->Brush);
  if (HBITMAP Picture = ImagePicture(W)) {
    const SIZE S = BitmapSize(Picture);
    const bool Center = R->Layout->BoolProp("center", false);
    const int X = Center ? (Rc.right - S.cx) / 2 : 0, Y = Center ? (Rc.bottom - S.cy) / 2 : 0;
    if (R->Layout->BoolProp("transparent", false)) {
      DrawTransparent(Dc, Picture, X, Y);
    } else {
      HDC Mem = CreateCompatibleDC(Dc);
      HGDIOBJ Old = SelectObject(Mem, Picture);
      BitBlt(Dc, X, Y, S.cx, S.cy, Mem, 0, 0, SRCCOPY);
      SelectObject(Mem, Old);
      DeleteDC(Mem);
    }
  }
}

LRESULT CALLBACK ImageProc(HWND W, UINT Msg, WPARAM WP, LPARAM LP) {
  LRESULT Result;
  if (PaintedControlMessage(W, Msg, LP, PaintImage, Result)) return Result;
  switch (Msg) {
    case WM_NCDESTROY:
      RemovePropA(W, "QVPicture");
      break;
  }
  return DefWindowProcA(W, Msg, WP, LP);
}

void Register(const char* Name, WNDPROC Proc, HCURSOR Cursor) {
  WNDCLASSA Wc{};
  Wc.style = CS_HREDRAW | CS_VREDRAW;
  Wc.lpfnWndProc = Proc;
  Wc.hInstance = GetModuleHandleA(nullptr);
  Wc.hCursor = Cursor;
  Wc.lpszClassName = Name;
  RegisterClassA(&Wc);
}

}  // namespace

void DrawTransparent(HDC Dc, HBITMAP Bitmap, int X, int Y) {
  BITMAP B;
  GetObjectA(Bitmap, sizeof(B), &B);
  HDC Mem = CreateCompatibleDC(Dc);
  HGDIOBJ Old = SelectObject(Mem, Bitmap);
  // The lower-left pixel is the picture's background colour.
  const COLORREF Key = GetPixel(Mem, 0, B.bmHeight - 1);
  TransparentBlt(Dc, X, Y, B.bmWidth, B.bmHeight, Mem, 0, 0, B.bmWidth, B.bmHeight, Key);
  SelectObject(Mem, Old);
  DeleteDC(Mem);
}

void RegisterControlClasses() {
  HCURSOR Arrow = LoadCursor(nullptr, IDC_ARROW);
  Register(PanelClass, PanelProc, Arrow);
  RegisterScrollBoxClass();
  Register(LabelClass, LabelProc, Arrow);
  Register(SpeedButtonClass, SpeedButtonProc, Arrow);
  Register(ImageClass, ImageProc, Arrow);
}

void AutoSizeLabel(HWND W) {
  TControlRecord* R = Rec(W);
  if (!R || !R->Layout->BoolProp("autosize", true)) return;
  RECT Rc;
  GetClientRect(W, &Rc);
  const bool Wrap = R->Layout->BoolProp("wordwrap", false);
  RECT Measure{0, 0, Wrap ? Rc.right : 0, 0};
  HDC Dc = GetDC(W);
  HGDIOBJ Old = SelectObject(Dc, R->Font);
  const std::string Text = TextOf(W);
  DrawTextA(Dc, Text.empty() ? " " : Text.c_str(), -1, &Measure, LabelFormat(*R->Layout) | DT_CALCRECT);
  SelectObject(Dc, Old);
  ReleaseDC(W, Dc);
  SetWindowPos(W, nullptr, 0, 0, Wrap ? Rc.right : Measure.right, Measure.bottom,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void SetImagePicture(HWND W, HBITMAP Picture) {
  SetPropA(W, "QVPicture", Picture);
  TControlRecord* R = Rec(W);
  if (Picture && R && R->Layout->BoolProp("autosize", false)) {
    const SIZE S = BitmapSize(Picture);
    SetWindowPos(W, nullptr, 0, 0, S.cx, S.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  InvalidateRect(W, nullptr, TRUE);
}

RECT ContainerClientRect(HWND W) {
  RECT Rc;
  GetClientRect(W, &Rc);
  TControlRecord* R = Rec(W);
  if (!R) return Rc;
  const TLayoutControl& L = *R->Layout;
  int Inset = L.IntProp("borderwidth", 0);
  if (L.Kind != "groupbox") Inset += Thickness(OuterBevel(L)) + Thickness(L.Prop("bevelinner", "none"));
  InflateRect(&Rc, -Inset, -Inset);
  if (L.Kind == "groupbox") Rc.top += 14;
  return Rc;
}
