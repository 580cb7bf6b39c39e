// The write dialog. The write runs inside the dialog's modal loop, from the
// click on "Programmieren"; the link library's wait keeps the progress
// display painting and lets close attempts reach FormCloseQuery, which
// refuses them until the write has ended.
#include "frm_qv_write_win.h"

#include <commctrl.h>

#include "link_send_win.h"
#include "message_dialogs_win.h"
#include "messages_win.h"
#include "qvdp_all.h"
#include "transfer_status_win.h"
#include "utils.h"

TfrmQVWrite* frmQVWrite = nullptr;

TfrmQVWrite::TfrmQVWrite() : TForm("TFRMQVWRITE") {
  BindControls({{"panIdle", panIdle}, {"rbtUpdate", rbtUpdate}, {"rbtALL", rbtALL}, {"butPROG", butPROG},
                {"butCancel", butCancel}, {"panAction", panAction}, {"Label1", Label1},
                {"ProgressBar", ProgressBar}});
  On("FormShow", [this](TEvent&) { FormShow(); });
  On("FormCloseQuery", [this](TEvent& E) {
    E.Allow = FCanClose;
    if (E.Allow) FOpen = false;
  });
  On("butPROGClick", [this](TEvent&) { butPROGClick(); });
  On("butCancelClick", [this](TEvent&) { Close(); });
}

bool TfrmQVWrite::Execute(TQVDP_ALL& Pool) {
  FResult = false;
  FCanClose = true;
  FDataPool = &Pool;
  const TPoolProgressEvent Kept = Pool.OnWriteProgress;
  FSendsAtOpen = LinkSendsWaiting();
  FOpen = true;
  ShowModal();
  FOpen = false;
  Pool.OnWriteProgress = Kept;
  return FResult;
}

void TfrmQVWrite::ShowPanel(HWND Panel) {
  ShowWindow(Panel == panIdle ? panAction : panIdle, SW_HIDE);
  ShowWindow(Panel, SW_SHOW);
  // The panel's height from the layout: while the window is lower, its
  // alignment has cut the panel to the window's height.
  const int PanelHeight = RecordOf(Panel)->Design.Height;
  RECT Client;
  GetClientRect(Handle(), &Client);
  RECT Outer{0, 0, Client.right, PanelHeight};
  AdjustWindowRectEx(&Outer, static_cast<DWORD>(GetWindowLongPtrA(Handle(), GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongPtrA(Handle(), GWL_EXSTYLE)));
  SetWindowPos(Handle(), nullptr, 0, 0, Outer.right - Outer.left, Outer.bottom - Outer.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TfrmQVWrite::FormShow() {
  ShowStatus("");
  ShowPanel(panIdle);
  PostMessageA(Handle(), WM_AFTERSHOW, 0, 0);
}

void TfrmQVWrite::WMAfterShow() {
  const bool AnyChanged = FDataPool->AnyChanged();
  EnableWindow(rbtUpdate, AnyChanged);
  SendMessageA(rbtUpdate, BM_SETCHECK, AnyChanged ? BST_CHECKED : BST_UNCHECKED, 0);
  SendMessageA(rbtALL, BM_SETCHECK, AnyChanged ? BST_UNCHECKED : BST_CHECKED, 0);
  SetFocus(AnyChanged ? rbtUpdate : rbtALL);
}

void TfrmQVWrite::butPROGClick() {
  // A click taken again after a wait finds the dialog closed when the user
  // closed it meanwhile: the write would run from the hidden dialog, with
  // the main window enabled.
  if (!FOpen) return;
  // A click dispatched inside another request's wait would be refused at the
  // write's first request; it is taken again once that wait has ended.
  if (DeferredWhileLinkBusy(butPROG, BM_CLICK, FSendsAtOpen)) return;
  ShowPanel(panAction);
  FCanClose = false;
  FDataPool->OnWriteProgress = [this](TQVDP_ALL*, TPoolIndex Index, int Percent) { WriteProgress(Index, Percent); };
  FResult = FDataPool->WriteAll(SendMessageA(rbtUpdate, BM_GETCHECK, 0, 0) == BST_CHECKED);
  FCanClose = true;
  if (FResult) {
    Close();
    return;
  }
  ShowErrorMessage(FDataPool->ErrorText());
  ShowPanel(panIdle);
}

void TfrmQVWrite::WriteProgress(TPoolIndex Index, int Percent) {
  ShowStatus(WriteStepText(Index));
  SendMessageA(ProgressBar, PBM_SETPOS, static_cast<WPARAM>(Percent), 0);
}

void TfrmQVWrite::ShowStatus(const std::string& Text) {
  ShowTransferStatus(Label1, Text);
}

LRESULT TfrmQVWrite::HandleMessage(UINT Msg, WPARAM, LPARAM, bool& Handled) {
  Handled = Msg == WM_AFTERSHOW;
  if (Handled) WMAfterShow();
  return 0;
}
