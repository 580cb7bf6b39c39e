// TfrmFirstLoad, the wait-for-phone dialog of a first start: it fits itself
// to the wrapped text of the language in use when it is created, and while it
// shows it waits until a phone is attached or the user cancels. It has no
// close box; any way of closing it but an attach counts as cancelling.
#pragma once

#include "form_win.h"

class TfrmFirstLoad : public TForm {
 public:
  TfrmFirstLoad();

  // True when a phone was attached, false when the user cancelled.
  bool Execute();

  HWND Panel1{}, Label1{}, butCancel{};

 protected:
  LRESULT HandleMessage(UINT Msg, WPARAM WParam, LPARAM LParam, bool& Handled) override;

 private:
  void FormCreate();
  void WMDeviceAttached();
  void butCancelClick();

  bool FCancelled = true;  // true unless the dialog ended because the phone was attached
};

extern TfrmFirstLoad* frmFirstLoad;
