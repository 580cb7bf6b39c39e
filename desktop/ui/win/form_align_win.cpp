// TForm: keeping aligned children in place when their container changes size
// or a child appears or disappears.
#include "form_win.h"

#include <commctrl.h>

#include <vector>

#include "controls_win.h"
#include "form_internal_win.h"

namespace form_detail {

// Children notified by their container's resize would not see a control
// appear or disappear; alignment skips hidden controls, so redo it then.
LRESULT CALLBACK VisibilitySubclass(HWND W, UINT Msg, WPARAM WP, LPARAM LP, UINT_PTR, DWORD_PTR Data) {
  auto* R = reinterpret_cast<TControlRecord*>(Data);
  if (Msg == WM_WINDOWPOSCHANGED) {
    const auto* Pos = reinterpret_cast<const WINDOWPOS*>(LP);
    if ((Pos->flags & (SWP_SHOWWINDOW | SWP_HIDEWINDOW)) && R->Layout->Parent >= 0)
      R->Form->Realign(R->Layout->Parent);
  } else if (Msg == WM_NCDESTROY) {
    RemoveWindowSubclass(W, VisibilitySubclass, VisibilitySubclassId);
  }
  return DefSubclassProc(W, Msg, WP, LP);
}

}  // namespace form_detail

void TForm::Realign(int Index) {
  TControlRecord& C = *FRecords[Index];
  if (!C.Handle) return;
  RECT Rc;
  if (C.Layout->Kind == "pagecontrol") {
    GetClientRect(C.Handle, &Rc);
    SendMessageA(C.Handle, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&Rc));
    for (int Child : C.Children)
      MoveWindow(FRecords[Child]->Handle, Rc.left, Rc.top, Rc.right - Rc.left, Rc.bottom - Rc.top, TRUE);
    return;
  }
  Rc = Index == 0 ? RECT{} : ContainerClientRect(C.Handle);
  if (Index == 0) GetClientRect(C.Handle, &Rc);
  std::vector<TAlignItem> Items;
  std::vector<int> Which;
  for (int Child : C.Children) {
    TControlRecord& R = *FRecords[Child];
    if (!R.Handle || R.Align == alNone || !(GetWindowLongPtrA(R.Handle, GWL_STYLE) & WS_VISIBLE)) continue;
    Items.push_back({R.Align, R.Design});
    Which.push_back(Child);
  }
  if (Items.empty()) return;
  AlignItems({Rc.left, Rc.top, Rc.right - Rc.left, Rc.bottom - Rc.top}, Items);
  for (size_t I = 0; I < Items.size(); ++I) {
    const TBounds& B = Items[I].Bounds;
    SetWindowPos(FRecords[Which[I]]->Handle, nullptr, B.Left, B.Top, B.Width, B.Height, SWP_NOZORDER | SWP_NOACTIVATE);
  }
}
