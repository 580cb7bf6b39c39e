// TfrmEdtPBItem, the phonebook entry editor: a modal dialog on one entry of
// either phonebook. The caller fills FEntry, runs Execute and takes FEntry
// back on True. The editor knows no pool and no picture: the picture slot,
// the reserved word and the high half of Kind pass through it unchanged.
#pragma once

#include "form_win.h"
#include "pb_entry.h"

class TfrmEdtPBItem : public TForm {
 public:
  TfrmEdtPBItem();

  // Shows the dialog on FEntry and writes the controls back into it however
  // it closed; true only when the OK button closed it.
  bool Execute();

  TPBEntry FEntry{};
  HWND Image1{}, Image2{}, Image3{}, rbtHome{}, rbtCompany{}, rbtMobile{};
  HWND Label1{}, Label2{}, edtName{}, edtNumber{}, Panel1{}, butOK{}, butCancel{};

 private:
  void FormShow();
  void edtNameChange();
  void edtNumberKeyPress(TEvent& E);

  bool FCancelled = true;  // true unless the OK button ended the dialog
};

extern TfrmEdtPBItem* frmEdtPBItem;
