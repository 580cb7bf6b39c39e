// The phonebook entry editor. The one editor object serves every edit, so
// Execute sets every control from the entry each time, the three radio
// buttons explicitly, and nothing of an earlier use shows. Neither button is
// a default or cancel button: Enter and Escape do not end the dialog.
#include "frm_edt_pb_item_win.h"

#include <string>

#include "edit_text_win.h"
#include "entry_edit.h"

TfrmEdtPBItem* frmEdtPBItem = nullptr;

namespace {

// The layout's 15 characters are too few for the numbers the phone keeps.
constexpr int NumberEditLimit = PBTextSize - 1;

}  // namespace

TfrmEdtPBItem::TfrmEdtPBItem() : TForm("TFRMEDTPBITEM") {
  BindControls({{"Image1", Image1}, {"Image2", Image2}, {"Image3", Image3}, {"rbtHome", rbtHome},
                {"rbtCompany", rbtCompany}, {"rbtMobile", rbtMobile}, {"Label1", Label1}, {"Label2", Label2},
                {"edtName", edtName}, {"edtNumber", edtNumber}, {"Panel1", Panel1}, {"butOK", butOK},
                {"butCancel", butCancel}});
  On("FormShow", [this](TEvent&) { FormShow(); });
  On("butOKClick", [this](TEvent&) {
    FCancelled = false;
    Close();
  });
  On("butCancelClick", [this](TEvent&) {
    FCancelled = true;
    Close();
  });
  On("edtNameChange", [this](TEvent&) { edtNameChange(); });
  On("edtNumberKeyPress", [this](TEvent& E) { edtNumberKeyPress(E); });
}

bool TfrmEdtPBItem::Execute() {
  FCancelled = true;
  const TNumberType Type = ShownNumberType(FEntry.Kind);
  SendMessageA(rbtHome, BM_SETCHECK, Type == ntHome ? BST_CHECKED : BST_UNCHECKED, 0);
  SendMessageA(rbtCompany, BM_SETCHECK, Type == ntCompany ? BST_CHECKED : BST_UNCHECKED, 0);
  SendMessageA(rbtMobile, BM_SETCHECK, Type == ntMobile ? BST_CHECKED : BST_UNCHECKED, 0);
  SetWindowTextA(edtName, EntryText(FEntry.Name).c_str());
  SetWindowTextA(edtNumber, EntryText(FEntry.Number).c_str());
  edtNameChange();
  ShowModal();
  const TNumberType Chosen = SendMessageA(rbtCompany, BM_GETCHECK, 0, 0) == BST_CHECKED  ? ntCompany
                             : SendMessageA(rbtMobile, BM_GETCHECK, 0, 0) == BST_CHECKED ? ntMobile
                                                                                          : ntHome;
  FEntry.Kind = KindWithType(FEntry.Kind, Chosen);
  PutEntryText(FEntry.Name, EditText(edtName));
  PutEntryText(FEntry.Number, EditText(edtNumber));
  return !FCancelled;
}

void TfrmEdtPBItem::FormShow() {
  SendMessageA(edtNumber, EM_LIMITTEXT, NumberEditLimit, 0);
  SetFocus(edtName);
}

void TfrmEdtPBItem::edtNameChange() {
  EnableWindow(butOK, GetWindowTextLengthA(edtName) > 0 && GetWindowTextLengthA(edtNumber) > 0);
}

void TfrmEdtPBItem::edtNumberKeyPress(TEvent& E) {
  if (!NumberKeyAccepted(*E.Key, EditText(edtNumber))) *E.Key = 0;
}
