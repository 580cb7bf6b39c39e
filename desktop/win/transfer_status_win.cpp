// The step label's immediate repaint.
#include "transfer_status_win.h"

void ShowTransferStatus(HWND Label, const std::string& Text) {
  SetWindowTextA(Label, Text.c_str());
  RedrawWindow(Label, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}
