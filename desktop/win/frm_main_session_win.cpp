// The end of a Windows session (logging off, shutting down): the data file is
// saved as a close saves it, since the process ends without a close.
#include <windows.h>

#include "frm_main_win.h"
#include "frm_qv_read_win.h"
#include "frm_qv_write_win.h"

// A close is refused only by the transfer dialogs, which cannot close while
// their transfer runs; the session may end at any other time. The question
// can come before those dialogs exist: the error of a language module that
// lacks a later window's layout shows once the main window has been made.
LRESULT TfrmMain::WMQueryEndSession() {
  const bool Transferring =
      (frmQVRead && frmQVRead->Transferring()) || (frmQVWrite && frmQVWrite->Transferring());
  return Transferring ? FALSE : TRUE;
}

void TfrmMain::WMEndSession(bool Ending) {
  if (Ending) SaveDataFile();
}
