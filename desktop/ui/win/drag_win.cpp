// Drag and drop between the controls of one window, see form_win.h. The
// source keeps the mouse from the press on (its input subclass feeds
// DragMove and DragEnd); targets are found under the pointer by their
// dragover handler, and hear leave at the last position they saw, so a
// target can keep its highlight while the pointer is elsewhere.
#include <cstdlib>

#include "form_win.h"

void TForm::BeginDrag(TControlRecord& Source, POINT Client) {
  // The control may hold the mouse already (a list does after a press).
  if (GetCapture() != Source.Handle) SetCapture(Source.Handle);
  FDrag = TDrag{};
  FDrag.Source = &Source;
  FDrag.Start = Client;
  ClientToScreen(Source.Handle, &FDrag.Start);
}

bool TForm::Dragging(const TControlRecord& Source) const { return FDrag.Source == &Source; }

TControlRecord* TForm::DragTargetAt(POINT Screen) {
  for (HWND W = WindowFromPoint(Screen); W && W != FHandle; W = GetParent(W)) {
    TControlRecord* R = RecordOf(W);
    if (R && R->Layout->Props.count("on.dragover")) return R;
  }
  return nullptr;
}

bool TForm::FireDragOver(TControlRecord& Target, TControlRecord* Source, POINT Client, TDragState State) {
  TEvent E{*this, &Target, WM_MOUSEMOVE, static_cast<WPARAM>(State), MAKELPARAM(Client.x, Client.y)};
  E.DragSource = Source;
  E.Allow = false;
  Dispatch(E, "dragover");
  return E.Allow;
}

void TForm::DragMove(POINT Client) {
  POINT Screen = Client;
  ClientToScreen(FDrag.Source->Handle, &Screen);
  if (!FDrag.Started) {
    if (std::abs(Screen.x - FDrag.Start.x) < DragThreshold && std::abs(Screen.y - FDrag.Start.y) < DragThreshold) return;
    FDrag.Started = true;
  }
  TControlRecord* Target = DragTargetAt(Screen);
  bool Entered = false;
  if (Target != FDrag.Target) {
    if (FDrag.Target) FireDragOver(*FDrag.Target, FDrag.Source, FDrag.Last, dsDragLeave);
    FDrag.Target = Target;
    FDrag.Accepted = false;
    Entered = true;
  }
  if (Target) {
    POINT At = Screen;
    ScreenToClient(Target->Handle, &At);
    FDrag.Last = At;
    FDrag.Accepted = FireDragOver(*Target, FDrag.Source, At, Entered ? dsDragEnter : dsDragMove);
  }
  SetCursor(LoadCursor(nullptr, FDrag.Accepted ? IDC_ARROW : IDC_NO));
}

void TForm::DragEnd(POINT Client, bool Drop) {
  const TDrag Drag = FDrag;
  FDrag = TDrag{};
  if (GetCapture() == Drag.Source->Handle) ReleaseCapture();
  if (Drag.Started && Drag.Target) {
    if (Drop && Drag.Accepted) {
      TEvent E{*this, Drag.Target, WM_LBUTTONUP, 0, MAKELPARAM(Drag.Last.x, Drag.Last.y)};
      E.DragSource = Drag.Source;
      Dispatch(E, "dragdrop");
    } else {
      FireDragOver(*Drag.Target, Drag.Source, Drag.Last, dsDragLeave);
    }
  }
  TEvent E{*this, Drag.Source, WM_LBUTTONUP, 0, MAKELPARAM(Client.x, Client.y)};
  E.DragSource = Drag.Source;
  Dispatch(E, "enddrag");
  SetCursor(LoadCursor(nullptr, IDC_ARROW));
}
