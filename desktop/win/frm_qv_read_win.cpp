// The read dialog. The read runs inside the dialog's modal loop, started from
// WM_AFTERSHOW so that the dialog is on the screen first; while a request
// waits the link library keeps dispatching messages, so the label and the bar
// repaint and close attempts reach FormCloseQuery, which refuses them.
#include "frm_qv_read_win.h"

#include <commctrl.h>

#include "link_send_win.h"
#include "messages_win.h"
#include "qvdp_all.h"
#include "transfer_status_win.h"
#include "utils.h"

TfrmQVRead* frmQVRead = nullptr;

TfrmQVRead::TfrmQVRead() : TForm("TFRMQVREAD") {
  BindControls({{"Label1", Label1}, {"ProgressBar", ProgressBar}});
  On("FormShow", [this](TEvent&) { FormShow(); });
  On("FormCloseQuery", [this](TEvent& E) { E.Allow = FCanClose; });
}

bool TfrmQVRead::Execute(TQVDP_ALL& Pool) {
  FResult = false;
  FDataPool = &Pool;
  const TPoolProgressEvent Kept = Pool.OnReadProgress;
  FSendsAtOpen = LinkSendsWaiting();
  ShowModal();
  Pool.OnReadProgress = Kept;
  return FResult;
}

void TfrmQVRead::FormShow() {
  FCanClose = false;
  ShowStatus("");
  PostMessageA(Handle(), WM_AFTERSHOW, 0, 0);
}

void TfrmQVRead::WMAfterShow() {
  // A phone announced just as the dialog opened runs its clock request before
  // this message; started inside that request's wait, the read would be
  // refused at its first request. It starts once the wait has ended instead.
  if (DeferredWhileLinkBusy(Handle(), WM_AFTERSHOW, FSendsAtOpen)) return;
  FDataPool->OnReadProgress = [this](TQVDP_ALL*, TPoolIndex Index, int Percent) { ReadProgress(Index, Percent); };
  FResult = FDataPool->ReadAll();
  FCanClose = true;
  Close();
}

void TfrmQVRead::ReadProgress(TPoolIndex Index, int Percent) {
  ShowStatus(ReadStepText(Index));
  SendMessageA(ProgressBar, PBM_SETPOS, static_cast<WPARAM>(Percent), 0);
}

void TfrmQVRead::ShowStatus(const std::string& Text) {
  ShowTransferStatus(Label1, Text);
}

LRESULT TfrmQVRead::HandleMessage(UINT Msg, WPARAM, LPARAM, bool& Handled) {
  Handled = Msg == WM_AFTERSHOW;
  if (Handled) WMAfterShow();
  return 0;
}
