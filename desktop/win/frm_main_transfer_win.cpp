// The top bar's read and program buttons. Both are shown only while a phone
// is attached; the read asks before it overwrites data that is present.
#include <windows.h>

#include "frm_main_win.h"
#include "frm_qv_read_win.h"
#include "frm_qv_write_win.h"
#include "message_dialogs_win.h"
#include "qvprot_api.h"
#include "resource_texts.h"
#include "text_ids.h"

void TfrmMain::butReadQVClick() {
  if (GetActiveLink() == lkNone) return;
  if (FHaveData && Confirm(ResourceText(OverwriteDataTextId)) != caYes) return;
  if (!RunReadDialog()) {
    ShowErrorMessage(FDataPool->ErrorText());
    return;
  }
  // The pools now hold a data set read from the phone, also after a failed
  // import had left none: it can be exported, written back and is saved at
  // close.
  FHaveData = true;
  ShowWindow(butProgQV, SW_SHOW);
}

// The write dialog reports its own failures.
void TfrmMain::butProgQVClick() {
  if (GetActiveLink() != lkNone) RunWriteDialog();
}

bool TfrmMain::RunReadDialog() { return frmQVRead->Execute(*FDataPool); }

bool TfrmMain::RunWriteDialog() { return frmQVWrite->Execute(*FDataPool); }
