// The source-picture control, see source_pic_win.h.
#include "source_pic_win.h"

#include <windowsx.h>

#include "cursor_win.h"
#include "picture_bitmap_win.h"

const char* const SourcePicClass = "QVSourcePic";

namespace {

constexpr int CursorIdOffset = 0;  // window extra bytes: the cursor's id

void RegisterOnce() {
  static bool Done = false;
  if (Done) return;
  WNDCLASSA Wc{};
  Wc.lpfnWndProc = DefWindowProcA;  // replaced per window in TSourcePic's constructor
  Wc.cbWndExtra = sizeof(LONG_PTR);
  Wc.hInstance = GetModuleHandleA(nullptr);
  Wc.lpszClassName = SourcePicClass;
  RegisterClassA(&Wc);
  Done = true;
}

}  // namespace

TSourcePic::TSourcePic(HWND Parent) {
  RegisterOnce();
  FHandle = CreateWindowExA(0, SourcePicClass, "", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, Parent, nullptr,
                            GetModuleHandleA(nullptr), nullptr);
  SetWindowLongPtrA(FHandle, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  SetWindowLongPtrA(FHandle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Proc));
  SetCursorId(IDC_ARROW);
}

TSourcePic::~TSourcePic() {
  if (FHandle) {
    SetWindowLongPtrA(FHandle, GWLP_USERDATA, 0);
    DestroyWindow(FHandle);
  }
}

void TSourcePic::SetPicture(const TSourceImage* Picture) {
  FPicture = Picture;
  const int W = Picture ? Picture->Width : 0, H = Picture ? Picture->Height : 0;
  SetWindowPos(FHandle, nullptr, 0, 0, W, H, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TSourcePic::SetCursorId(LPCSTR Id) {
  SetWindowLongPtrA(FHandle, CursorIdOffset, reinterpret_cast<LONG_PTR>(Id));
  // The cursor changes at once when the mouse is over the control.
  POINT P;
  GetCursorPos(&P);
  if (WindowFromPoint(P) == FHandle && !HourglassShown()) SetCursor(LoadCursor(nullptr, Id));
}

// Painted at once, whether or not the control is visible: the after-paint
// hook places the frame and updates the preview, which must not wait for the
// control to come into view.
void TSourcePic::Repaint() {
  if (FOnBeforePaint) FOnBeforePaint(*this);
  HDC Dc = GetDC(FHandle);
  RECT All;
  GetClientRect(FHandle, &All);
  DrawPicture(Dc, All);
  ReleaseDC(FHandle, Dc);
  ValidateRect(FHandle, nullptr);
  if (FOnAfterPaint) FOnAfterPaint(*this);
}

POINT TSourcePic::Position() const {
  RECT Rc;
  GetWindowRect(FHandle, &Rc);
  MapWindowPoints(nullptr, GetParent(FHandle), reinterpret_cast<POINT*>(&Rc), 2);
  return {Rc.left, Rc.top};
}

int TSourcePic::Width() const {
  RECT Rc;
  GetClientRect(FHandle, &Rc);
  return Rc.right;
}

int TSourcePic::Height() const {
  RECT Rc;
  GetClientRect(FHandle, &Rc);
  return Rc.bottom;
}

void TSourcePic::DrawPicture(HDC Dc, const RECT& Area) {
  if (Empty()) return;
  // Only what can be seen: a whole large picture would cost every mouse move.
  RECT Visible;
  if (GetClipBox(Dc, &Visible) == NULLREGION) return;
  RECT Part;
  if (IntersectRect(&Part, &Area, &Visible)) DrawSourceImage(Dc, *FPicture, Part);
}

void TSourcePic::Paint() {
  if (FOnBeforePaint) FOnBeforePaint(*this);
  PAINTSTRUCT Ps;
  HDC Dc = BeginPaint(FHandle, &Ps);
  DrawPicture(Dc, Ps.rcPaint);
  EndPaint(FHandle, &Ps);
  // After EndPaint: the hook draws on the parent over this control.
  if (FOnAfterPaint) FOnAfterPaint(*this);
}

LRESULT CALLBACK TSourcePic::Proc(HWND W, UINT Msg, WPARAM WP, LPARAM LP) {
  auto* Self = reinterpret_cast<TSourcePic*>(GetWindowLongPtrA(W, GWLP_USERDATA));
  if (!Self) return DefWindowProcA(W, Msg, WP, LP);
  const int X = GET_X_LPARAM(LP), Y = GET_Y_LPARAM(LP);
  switch (Msg) {
    case WM_PAINT:
      Self->Paint();
      return 0;
    case WM_ERASEBKGND:
      return 1;  // the picture covers the whole control
    case WM_SETCURSOR:
      if (LOWORD(LP) != HTCLIENT) break;
      SetCursor(LoadCursor(nullptr, HourglassShown() ? IDC_WAIT
                                                     : reinterpret_cast<LPCSTR>(GetWindowLongPtrA(W, CursorIdOffset))));
      return TRUE;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      SetCapture(W);
      if (Self->OnMouseDown) Self->OnMouseDown(*Self, Msg, X, Y);
      return 0;
    case WM_MOUSEMOVE:
      if (Self->OnMouseMove) Self->OnMouseMove(*Self, X, Y);
      return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
      if (!(WP & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON))) ReleaseCapture();
      if (Self->OnMouseUp) Self->OnMouseUp(*Self, Msg, X, Y);
      return 0;
  }
  return DefWindowProcA(W, Msg, WP, LP);
}
