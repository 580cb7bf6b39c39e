// TfrmQVWrite, the write dialog: the choice between writing only what changed
// since the data was last read or written and writing everything, then the
// write with its progress. A failed write shows its error and offers the
// choice again; the dialog cannot be closed while the write runs.
#pragma once

#include <string>

#include "form_win.h"
#include "pool_types.h"

class TfrmQVWrite : public TForm {
 public:
  TfrmQVWrite();

  // True only after a successful write. The pool owner's write-progress
  // handler is the same afterwards as before.
  bool Execute(TQVDP_ALL& Pool);
  // The write is under way (the dialog refuses to close).
  bool Transferring() const { return !FCanClose; }

  HWND panIdle{}, rbtUpdate{}, rbtALL{}, butPROG{}, butCancel{}, panAction{}, Label1{}, ProgressBar{};

 protected:
  LRESULT HandleMessage(UINT Msg, WPARAM WParam, LPARAM LParam, bool& Handled) override;

 private:
  void FormShow();
  void WMAfterShow();
  void butPROGClick();
  void WriteProgress(TPoolIndex Index, int Percent);
  void ShowStatus(const std::string& Text);
  // Shows one of the two panels and fits the client height to it.
  void ShowPanel(HWND Panel);

  bool FCanClose = true;  // false while the write runs
  bool FOpen = false;     // from Execute until a close is allowed
  bool FResult = false;   // of the last write attempt
  TQVDP_ALL* FDataPool = nullptr;  // not owned
  int FSendsAtOpen = 0;            // the link sends that waited when Execute began
};

extern TfrmQVWrite* frmQVWrite;
