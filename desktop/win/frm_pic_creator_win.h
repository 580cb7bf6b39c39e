// TfrmPicCreator, the picture editor: a modal window that makes a phone
// picture from an image file. This file holds the window's controls; the
// editor's behaviour and its image engine come with their own files.
#pragma once

#include "form_win.h"

class TfrmPicCreator : public TForm {
 public:
  TfrmPicCreator();

  HWND Panel1{}, butOpenFile{}, butRotate{}, Panel2{}, Label1{}, panDestBmp{}, DestBmp{}, Panel4{};
  HWND butCancel{}, butOK{}, panHeader{}, Panel3{}, Label7{}, lblPicSize{}, TrackBar{}, panInfo{};
  HWND lblInfo{}, ProgressBar1{};
  TFileDialog* OpenPicDlg{};
};

extern TfrmPicCreator* frmPicCreator;
