// The top bar's read and program buttons. Both are shown only while a phone
// is attached; the read asks before it overwrites data that is present.
#include <windows.h>

#include "frm_main_win.h"
#include "frm_qv_read_win.h"
#include "frm_qv_write_win.h"
#include "link_send_win.h"
#include "message_dialogs_win.h"
#include "pool_snapshot.h"
#include "qvprot_api.h"
#include "resource_texts.h"
#include "text_ids.h"

namespace {

// A click that reaches a button inside a request's wait (the clock request of
// an attach) is taken again once the wait has ended: a transfer started
// inside it would be refused at its first request, and the transfer's dialog
// would hold that wait open until the transfer ended.
bool ClickedInsideASend(HWND Button) { return DeferredWhileLinkBusy(Button, BM_CLICK, 0); }

}  // namespace

void TfrmMain::butReadQVClick() {
  if (ClickedInsideASend(butReadQV) || GetActiveLink() == lkNone) return;
  if (FHaveData && Confirm(ResourceText(OverwriteDataTextId)) != caYes) return;
  // A read that fails part way leaves half the phone's data in the pools,
  // marked as changed; the user's local copy comes back instead, so that
  // neither the close nor a write of changes passes that half on.
  TPoolSnapshot Before(*FDataPool);
  if (!RunReadDialog()) {
    Before.Restore();
    ShowErrorMessage(FDataPool->ErrorText());
    return;
  }
  // The pools now hold a data set read from the phone: it can be exported,
  // written back and is saved at close.
  FHaveData = true;
  if (GetActiveLink() != lkNone) ShowWindow(butProgQV, SW_SHOW);
}

// The write dialog reports its own failures.
void TfrmMain::butProgQVClick() {
  if (!ClickedInsideASend(butProgQV) && GetActiveLink() != lkNone) RunWriteDialog();
}

bool TfrmMain::RunReadDialog() { return frmQVRead->Execute(*FDataPool); }

bool TfrmMain::RunWriteDialog() { return frmQVWrite->Execute(*FDataPool); }
