// TfrmQVRead, the read dialog: reads everything from the phone once it is on
// the screen, showing which kind of data is being read and how far the read
// has come, and closes by itself when the read has ended. It cannot be
// closed while the read runs; it shows no error, its caller does.
#pragma once

#include <string>

#include "form_win.h"
#include "pool_types.h"

class TfrmQVRead : public TForm {
 public:
  TfrmQVRead();

  // Reads everything into Pool; the result is ReadAll's. The pool owner's
  // read-progress handler is the same afterwards as before.
  bool Execute(TQVDP_ALL& Pool);
  // The read is under way (the dialog refuses to close).
  bool Transferring() const { return !FCanClose; }

  HWND Label1{}, ProgressBar{};

 protected:
  LRESULT HandleMessage(UINT Msg, WPARAM WParam, LPARAM LParam, bool& Handled) override;

 private:
  void FormShow();
  void WMAfterShow();
  void ReadProgress(TPoolIndex Index, int Percent);
  void ShowStatus(const std::string& Text);

  bool FCanClose = true;  // false from showing until the read has ended
  bool FResult = false;
  TQVDP_ALL* FDataPool = nullptr;  // not owned
  int FSendsAtOpen = 0;            // the link sends that waited when Execute began
};

extern TfrmQVRead* frmQVRead;
