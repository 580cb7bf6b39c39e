// TfrmEdtPBItem, the phonebook entry editor: a modal dialog on one entry of
// either phonebook. This file holds the window's controls; the editing itself
// comes with the phonebook lists that open it.
#pragma once

#include "form_win.h"

class TfrmEdtPBItem : public TForm {
 public:
  TfrmEdtPBItem();

  HWND Image1{}, Image2{}, Image3{}, rbtHome{}, rbtCompany{}, rbtMobile{};
  HWND Label1{}, Label2{}, edtName{}, edtNumber{}, Panel1{}, butOK{}, butCancel{};
};

extern TfrmEdtPBItem* frmEdtPBItem;
