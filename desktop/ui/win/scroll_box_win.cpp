// Scroll box: the box keeps the offset by which it has moved its children
// (the content) in its window bytes, so the content's extent is the
// children's bounds plus that offset. The bars' positions follow the offset
// but are not it: a range that shrinks clamps a position before the children
// have moved, and the box may be resized in the middle of an update.
#include "scroll_box_win.h"

#include <algorithm>

const char* const ScrollBoxClass = "QVScrollBox";

namespace {

struct TExtent {
  HWND Box;
  POINT Offset;
  SIZE Size;
};

BOOL CALLBACK MeasureChild(HWND Child, LPARAM Param) {
  auto* E = reinterpret_cast<TExtent*>(Param);
  if (GetParent(Child) != E->Box || !(GetWindowLongPtrA(Child, GWL_STYLE) & WS_VISIBLE)) return TRUE;
  RECT Rc;
  GetWindowRect(Child, &Rc);
  MapWindowPoints(nullptr, E->Box, reinterpret_cast<POINT*>(&Rc), 2);
  E->Size.cx = std::max<LONG>(E->Size.cx, Rc.right + E->Offset.x);
  E->Size.cy = std::max<LONG>(E->Size.cy, Rc.bottom + E->Offset.y);
  return TRUE;
}

constexpr int OffsetX = 0, OffsetY = sizeof(LONG_PTR);

POINT Offset(HWND Box) {
  return {static_cast<LONG>(GetWindowLongPtrA(Box, OffsetX)), static_cast<LONG>(GetWindowLongPtrA(Box, OffsetY))};
}

int Position(HWND Box, int Bar) {
  SCROLLINFO Si{sizeof(Si), SIF_POS, 0, 0, 0, 0, 0};
  GetScrollInfo(Box, Bar, &Si);
  return Si.nPos;
}

// An empty range (the content fits) hides the bar.
void SetRange(HWND Box, int Bar, int Extent, int Page) {
  SCROLLINFO Si{sizeof(Si), SIF_RANGE | SIF_PAGE, 0, std::max(0, Extent - 1), static_cast<UINT>(std::max(0, Page)), 0, 0};
  SetScrollInfo(Box, Bar, &Si, TRUE);
}

struct TShift {
  HWND Box;
  int Dx, Dy;
};

BOOL CALLBACK ShiftChild(HWND Child, LPARAM Param) {
  const auto* S = reinterpret_cast<const TShift*>(Param);
  if (GetParent(Child) != S->Box) return TRUE;
  RECT Rc;
  GetWindowRect(Child, &Rc);
  MapWindowPoints(nullptr, S->Box, reinterpret_cast<POINT*>(&Rc), 2);
  SetWindowPos(Child, nullptr, Rc.left + S->Dx, Rc.top + S->Dy, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  return TRUE;
}

// The bars go to (X, Y), as far as their ranges allow, and the children
// follow. They are moved one by one rather than by ScrollWindowEx, which
// leaves them in place while the box is hidden.
void MoveContent(HWND Box, int X, int Y) {
  SCROLLINFO Si{sizeof(Si), SIF_POS, 0, 0, 0, X, 0};
  SetScrollInfo(Box, SB_HORZ, &Si, TRUE);
  Si.nPos = Y;
  SetScrollInfo(Box, SB_VERT, &Si, TRUE);
  const POINT From = Offset(Box), To{Position(Box, SB_HORZ), Position(Box, SB_VERT)};
  if (From.x == To.x && From.y == To.y) return;
  SetWindowLongPtrA(Box, OffsetX, To.x);
  SetWindowLongPtrA(Box, OffsetY, To.y);
  const TShift Shift{Box, From.x - To.x, From.y - To.y};
  EnumChildWindows(Box, ShiftChild, reinterpret_cast<LPARAM>(&Shift));
  InvalidateRect(Box, nullptr, TRUE);
}

// The new position of a bar for a scroll request, before clamping.
int Requested(HWND Box, int Bar, WORD Request) {
  SCROLLINFO Si{sizeof(Si), SIF_ALL, 0, 0, 0, 0, 0};
  GetScrollInfo(Box, Bar, &Si);
  const int Line = 16;
  switch (Request) {
    case SB_LINEUP: return Si.nPos - Line;
    case SB_LINEDOWN: return Si.nPos + Line;
    case SB_PAGEUP: return Si.nPos - static_cast<int>(Si.nPage);
    case SB_PAGEDOWN: return Si.nPos + static_cast<int>(Si.nPage);
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: return Si.nTrackPos;
    case SB_TOP: return 0;
    case SB_BOTTOM: return Si.nMax;
    default: return Si.nPos;
  }
}

void Scroll(HWND Box, int Bar, int To) {
  const POINT From = Offset(Box);
  MoveContent(Box, Bar == SB_HORZ ? To : From.x, Bar == SB_VERT ? To : From.y);
}

bool IsForwarded(UINT Msg) {
  switch (Msg) {
    case WM_COMMAND: case WM_NOTIFY: case WM_DRAWITEM: case WM_MEASUREITEM: case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: case WM_CTLCOLOREDIT: case WM_CTLCOLORLISTBOX:
      return true;
    default:
      return false;
  }
}

LRESULT CALLBACK ScrollBoxProc(HWND W, UINT Msg, WPARAM WP, LPARAM LP) {
  switch (Msg) {
    case WM_SIZE:
      UpdateScrollBox(W);
      return 0;
    case WM_HSCROLL:
    case WM_VSCROLL:
      if (LP) break;  // a child's scroll bar or track bar: its window handles it
      Scroll(W, Msg == WM_HSCROLL ? SB_HORZ : SB_VERT, Requested(W, Msg == WM_HSCROLL ? SB_HORZ : SB_VERT, LOWORD(WP)));
      return 0;
    case WM_MOUSEWHEEL:
      Scroll(W, SB_VERT, Position(W, SB_VERT) - GET_WHEEL_DELTA_WPARAM(WP) * 48 / WHEEL_DELTA);
      return 0;
  }
  // Children's notifications belong to the window that owns the handlers.
  if (IsForwarded(Msg) || ((Msg == WM_HSCROLL || Msg == WM_VSCROLL) && LP))
    return SendMessageA(GetParent(W), Msg, WP, LP);
  return DefWindowProcA(W, Msg, WP, LP);
}

}  // namespace

void RegisterScrollBoxClass() {
  WNDCLASSA Wc{};
  Wc.lpfnWndProc = ScrollBoxProc;
  Wc.cbWndExtra = 2 * sizeof(LONG_PTR);
  Wc.hInstance = GetModuleHandleA(nullptr);
  Wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  Wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  Wc.lpszClassName = ScrollBoxClass;
  RegisterClassA(&Wc);
}

void UpdateScrollBox(HWND Box) {
  TExtent E{Box, Offset(Box), {0, 0}};
  EnumChildWindows(Box, MeasureChild, reinterpret_cast<LPARAM>(&E));
  // Showing one bar narrows the page of the other, so fit twice.
  for (int Pass = 0; Pass < 2; ++Pass) {
    RECT Client;
    GetClientRect(Box, &Client);
    SetRange(Box, SB_HORZ, E.Size.cx, Client.right);
    SetRange(Box, SB_VERT, E.Size.cy, Client.bottom);
  }
  MoveContent(Box, E.Offset.x, E.Offset.y);
}
