// The layer's flat speed button: glyph above or beside the caption, the
// disabled glyph, hot and pressed faces, a click on release inside it.
#include "controls_win.h"

#include "control_parts_win.h"

namespace control_parts {

namespace {

void PaintSpeedButton(HWND W, HDC Dc) {
  TControlRecord* R = Rec(W);
  RECT Rc;
  GetClientRect(W, &Rc);
  FillRect(Dc, &Rc, R->Brush);
  const bool Enabled = IsWindowEnabled(W);
  const bool Flat = R->Layout->BoolProp("flat", false);
  const bool Down = R->Pressed && R->Hot;
  if (Down) DrawEdge(Dc, &Rc, BDR_SUNKENOUTER | (Flat ? 0 : BDR_SUNKENINNER), BF_RECT);
  else if (!Flat || (R->Hot && Enabled)) DrawEdge(Dc, &Rc, Flat ? BDR_RAISEDINNER : EDGE_RAISED, BF_RECT);
  const std::string Caption = TextOf(W);
  HBITMAP Glyph = Enabled || !R->GlyphDisabled ? R->Glyph : R->GlyphDisabled;
  const SIZE G = BitmapSize(Glyph);
  HGDIOBJ Old = SelectObject(Dc, R->Font);
  RECT Text{0, 0, 0, 0};
  if (!Caption.empty()) DrawTextA(Dc, Caption.c_str(), -1, &Text, DT_SINGLELINE | DT_CALCRECT);
  const bool Top = R->Layout->Prop("layout") == "glyphtop";
  const int Gap = Glyph && !Caption.empty() ? 4 : 0;
  const int W2 = Rc.right, H2 = Rc.bottom, Shift = Down ? 1 : 0;
  int Gx, Gy, Tx, Ty;
  if (Top) {
    const int Total = G.cy + Gap + Text.bottom;
    Gx = (W2 - G.cx) / 2, Gy = (H2 - Total) / 2;
    Tx = (W2 - Text.right) / 2, Ty = Gy + G.cy + Gap;
  } else {
    const int Total = G.cx + Gap + Text.right;
    Gx = (W2 - Total) / 2, Gy = (H2 - G.cy) / 2;
    Tx = Gx + G.cx + Gap, Ty = (H2 - Text.bottom) / 2;
  }
  if (Glyph) DrawTransparent(Dc, Glyph, Gx + Shift, Gy + Shift);
  if (!Caption.empty()) {
    SetBkMode(Dc, TRANSPARENT);
    RECT At{Tx + Shift, Ty + Shift, Tx + Shift + Text.right, Ty + Shift + Text.bottom};
    if (!Enabled) {
      SetTextColor(Dc, GetSysColor(COLOR_BTNHIGHLIGHT));
      OffsetRect(&At, 1, 1);
      DrawTextA(Dc, Caption.c_str(), -1, &At, DT_SINGLELINE);
      OffsetRect(&At, -1, -1);
    }
    SetTextColor(Dc, Enabled ? R->FontColor : GetSysColor(COLOR_GRAYTEXT));
    DrawTextA(Dc, Caption.c_str(), -1, &At, DT_SINGLELINE);
  }
  SelectObject(Dc, Old);
}

void Click(HWND W) {
  if (!IsWindowEnabled(W)) return;
  SendMessageA(GetParent(W), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(W), BN_CLICKED), reinterpret_cast<LPARAM>(W));
}

}  // namespace

LRESULT CALLBACK SpeedButtonProc(HWND W, UINT Msg, WPARAM WP, LPARAM LP) {
  LRESULT Result;
  if (PaintedControlMessage(W, Msg, LP, PaintSpeedButton, Result)) return Result;
  TControlRecord* R = Rec(W);
  switch (Msg) {
    case WM_MOUSEMOVE: {
      POINT P{static_cast<short>(LOWORD(LP)), static_cast<short>(HIWORD(LP))};
      RECT Rc;
      GetClientRect(W, &Rc);
      const bool Inside = PtInRect(&Rc, P);
      if (Inside != R->Hot) {
        R->Hot = Inside;
        InvalidateRect(W, nullptr, FALSE);
      }
      TRACKMOUSEEVENT T{sizeof(T), TME_LEAVE, W, 0};
      TrackMouseEvent(&T);
      return 0;
    }
    case WM_MOUSELEAVE:
      R->Hot = false;
      InvalidateRect(W, nullptr, FALSE);
      return 0;
    case WM_LBUTTONDOWN:
      R->Pressed = R->Hot = true;
      SetCapture(W);
      InvalidateRect(W, nullptr, FALSE);
      return 0;
    case WM_LBUTTONUP:
      if (R->Pressed) {
        const bool Clicked = R->Hot;
        R->Pressed = false;
        ReleaseCapture();
        InvalidateRect(W, nullptr, FALSE);
        if (Clicked) Click(W);
      }
      return 0;
    case BM_CLICK:
      Click(W);
      return 0;
    case WM_GETDLGCODE:
      return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
    case WM_ENABLE:
    case WM_SETTEXT: {
      Result = DefWindowProcA(W, Msg, WP, LP);
      InvalidateRect(W, nullptr, TRUE);
      return Result;
    }
  }
  return DefWindowProcA(W, Msg, WP, LP);
}

}  // namespace control_parts
