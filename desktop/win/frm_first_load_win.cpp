// The wait-for-phone dialog's controls, creation and wait.
#include "frm_first_load_win.h"

#include "messages_win.h"
#include "resource_texts.h"
#include "text_ids.h"

TfrmFirstLoad* frmFirstLoad = nullptr;

namespace {

// A control's place within its parent's client area.
RECT BoundsInParent(HWND Control) {
  RECT Rc;
  GetWindowRect(Control, &Rc);
  MapWindowPoints(nullptr, GetParent(Control), reinterpret_cast<POINT*>(&Rc), 2);
  return Rc;
}

}  // namespace

TfrmFirstLoad::TfrmFirstLoad() : TForm("TFRMFIRSTLOAD") {
  BindControls({{"Panel1", Panel1}, {"Label1", Label1}, {"butCancel", butCancel}});
  On("FormCreate", [this](TEvent&) { FormCreate(); });
  On("butCancelClick", [this](TEvent&) { butCancelClick(); });
}

void TfrmFirstLoad::FormCreate() {
  // The gap between text and button and the margin below the button both
  // equal the label's top margin, whatever height the translation wraps to.
  RECT Client;
  GetClientRect(Handle(), &Client);
  RECT Label = BoundsInParent(Label1);
  SetWindowPos(Label1, nullptr, 0, 0, Client.right - 8, Label.bottom - Label.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  SetWindowTextA(Label1, ResourceText(WaitForPhoneTextId).c_str());  // the label sizes itself to the text
  Label = BoundsInParent(Label1);
  const RECT Button = BoundsInParent(butCancel);
  const int ButtonTop = 2 * Label.top + (Label.bottom - Label.top);
  SetWindowPos(butCancel, nullptr, Button.left, ButtonTop, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  RECT Outer{0, 0, Client.right, Label.top + ButtonTop + (Button.bottom - Button.top)};
  AdjustWindowRectEx(&Outer, static_cast<DWORD>(GetWindowLongPtrA(Handle(), GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongPtrA(Handle(), GWL_EXSTYLE)));
  SetWindowPos(Handle(), nullptr, 0, 0, Outer.right - Outer.left, Outer.bottom - Outer.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  InvalidateRect(Label1, nullptr, TRUE);
}

bool TfrmFirstLoad::Execute() {
  FCancelled = true;
  ShowModal();
  return !FCancelled;
}

// Posted at every attach. When the dialog is not showing, closing it does
// nothing, and the next Execute waits again.
void TfrmFirstLoad::WMDeviceAttached() {
  FCancelled = false;
  if (Modal()) Close();
}

void TfrmFirstLoad::butCancelClick() { Close(); }

LRESULT TfrmFirstLoad::HandleMessage(UINT Msg, WPARAM, LPARAM, bool& Handled) {
  Handled = Msg == WM_DEVICEATTACHED;
  if (Handled) WMDeviceAttached();
  return 0;
}
