// The phonebook entry editor's controls.
#include "frm_edt_pb_item_win.h"

TfrmEdtPBItem* frmEdtPBItem = nullptr;

TfrmEdtPBItem::TfrmEdtPBItem() : TForm("TFRMEDTPBITEM") {
  BindControls({{"Image1", Image1}, {"Image2", Image2}, {"Image3", Image3}, {"rbtHome", rbtHome},
                {"rbtCompany", rbtCompany}, {"rbtMobile", rbtMobile}, {"Label1", Label1}, {"Label2", Label2},
                {"edtName", edtName}, {"edtNumber", edtNumber}, {"Panel1", Panel1}, {"butOK", butOK},
                {"butCancel", butCancel}});
}
