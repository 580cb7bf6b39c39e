// Drag and drop; see drag_win.h. The drag lives in a subclass that BeginDrag
// puts on the source for the drag's length: the source holds the mouse
// capture, so every move and the release come to it in its own client
// coordinates, and the control under the pointer is found on the screen.
#include "drag_win.h"

#include <windowsx.h>

#include <cstdlib>

namespace {

constexpr UINT_PTR DragSubclassId = 4;  // form_win.cpp's subclasses use 1 to 3

struct TDrag {
  TControlRecord* Source = nullptr;  // nullptr: no drag armed
  POINT Press{};                     // in the source's client coordinates
  POINT Last{};                      // the pointer's last position, likewise
  bool Started = false;              // the pointer has passed the threshold
  TControlRecord* Target = nullptr;  // the control under the pointer
  POINT TargetPos{};                 // the pointer's last position over Target, its client coordinates
  bool Accepted = false;             // Target's last dragover accepted the drop
};
// The mouse has one left button, so there is one drag at a time.
TDrag Drag;

LRESULT CALLBACK DragSubclass(HWND W, UINT Msg, WPARAM WP, LPARAM LP, UINT_PTR, DWORD_PTR);

// The innermost control of the source's window at Screen, or nullptr.
TControlRecord* ControlAt(POINT Screen) {
  for (HWND W = WindowFromPoint(Screen); W; W = GetParent(W))
    if (TControlRecord* R = Drag.Source->Form->RecordOf(W)) return R;
  return nullptr;
}

TEvent DragEvent(TControlRecord& Sender, TControlRecord* Source, UINT Msg, POINT Pos) {
  TEvent E{*Sender.Form, &Sender, Msg, 0, 0};
  E.Source = Source;
  E.X = Pos.x;
  E.Y = Pos.y;
  return E;
}

// A control without a dragover handler refuses the drop.
bool DragOver(TControlRecord& Target, POINT Pos, TDragState State) {
  TEvent E = DragEvent(Target, Drag.Source, WM_MOUSEMOVE, Pos);
  E.DragState = State;
  return Target.Form->Dispatch(E, "dragover") && E.Allow;
}

void DragTo(POINT Pos) {
  POINT Screen = Pos;
  ClientToScreen(Drag.Source->Handle, &Screen);
  TControlRecord* Target = ControlAt(Screen);
  const bool Entering = Target != Drag.Target;
  if (Entering && Drag.Target) DragOver(*Drag.Target, Drag.TargetPos, dsDragLeave);
  Drag.Target = Target;
  Drag.Accepted = false;
  if (!Target) return;
  Drag.TargetPos = Screen;
  ScreenToClient(Target->Handle, &Drag.TargetPos);
  Drag.Accepted = DragOver(*Target, Drag.TargetPos, Entering ? dsDragEnter : dsDragMove);
}

// Ends the armed drag: the drop when Drop and the target accepted, then the
// source's enddrag. The drag is over before any handler runs, so a handler
// may arm the next one.
void EndDrag(bool Drop) {
  const TDrag D = Drag;
  Drag = TDrag{};
  RemoveWindowSubclass(D.Source->Handle, DragSubclass, DragSubclassId);
  if (GetCapture() == D.Source->Handle) ReleaseCapture();
  TControlRecord* Target = Drop && D.Started && D.Accepted ? D.Target : nullptr;
  if (Target) {
    TEvent E = DragEvent(*Target, D.Source, WM_LBUTTONUP, D.TargetPos);
    Target->Form->Dispatch(E, "dragdrop");
  }
  TEvent E = DragEvent(*D.Source, D.Source, WM_LBUTTONUP, D.Last);
  E.Target = Target;
  D.Source->Form->Dispatch(E, "enddrag");
}

LRESULT CALLBACK DragSubclass(HWND W, UINT Msg, WPARAM WP, LPARAM LP, UINT_PTR, DWORD_PTR) {
  switch (Msg) {
    case WM_MOUSEMOVE:
      Drag.Last = {GET_X_LPARAM(LP), GET_Y_LPARAM(LP)};
      if (!Drag.Started) {
        Drag.Started = std::abs(Drag.Last.x - Drag.Press.x) >= DragThreshold ||
                       std::abs(Drag.Last.y - Drag.Press.y) >= DragThreshold;
        if (!Drag.Started) return 0;
      }
      DragTo(Drag.Last);
      return 0;
    case WM_LBUTTONUP:
      Drag.Last = {GET_X_LPARAM(LP), GET_Y_LPARAM(LP)};
      if (Drag.Started) DragTo(Drag.Last);
      EndDrag(true);
      break;  // the source still sees the release: a list ends its own press with it
    case WM_KEYDOWN:
      if (WP == VK_ESCAPE) {
        EndDrag(false);
        return 0;
      }
      break;
    case WM_CAPTURECHANGED:
      // The source taking the capture again (a list does at its press) is no loss.
      if (reinterpret_cast<HWND>(LP) != W) EndDrag(false);
      break;
    case WM_NCDESTROY:
      // A source that goes away ends its drag unheard.
      Drag = TDrag{};
      RemoveWindowSubclass(W, DragSubclass, DragSubclassId);
      break;
  }
  return DefSubclassProc(W, Msg, WP, LP);
}

}  // namespace

void BeginDrag(TControlRecord& Source, int X, int Y) {
  if (Drag.Source) return;
  Drag.Source = &Source;
  Drag.Press = Drag.Last = {X, Y};
  SetWindowSubclass(Source.Handle, DragSubclass, DragSubclassId, 0);
  SetCapture(Source.Handle);
}
