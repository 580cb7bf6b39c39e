// The picture editor's controls.
#include "frm_pic_creator_win.h"

TfrmPicCreator* frmPicCreator = nullptr;

TfrmPicCreator::TfrmPicCreator() : TForm("TFRMPICCREATOR") {
  BindControls({{"Panel1", Panel1}, {"butOpenFile", butOpenFile}, {"butRotate", butRotate}, {"Panel2", Panel2},
                {"Label1", Label1}, {"panDestBmp", panDestBmp}, {"DestBmp", DestBmp}, {"Panel4", Panel4},
                {"butCancel", butCancel}, {"butOK", butOK}, {"panHeader", panHeader}, {"Panel3", Panel3},
                {"Label7", Label7}, {"lblPicSize", lblPicSize}, {"TrackBar", TrackBar}, {"panInfo", panInfo},
                {"lblInfo", lblInfo}, {"ProgressBar1", ProgressBar1}});
  BindDialog("OpenPicDlg", OpenPicDlg);
}
