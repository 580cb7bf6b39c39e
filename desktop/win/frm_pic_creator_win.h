// TfrmPicCreator, the picture editor: a modal window that makes a phone
// picture from an image file. The image side (source, preview, frame and
// track bar rules, quarter turn) is the portable TPicCreatorEngine; this
// window shows it, draws the crop frame over the source, and turns mouse,
// track bar and buttons into the engine's operations. The object lives from
// program start to program end, so a second use finds the first one's
// picture, frame and preview.
#pragma once

#include <memory>
#include <string>

#include "form_win.h"
#include "jpeg_reader.h"
#include "pic_engine.h"
#include "source_pic_win.h"

class TfrmPicCreator : public TForm {
 public:
  TfrmPicCreator();
  ~TfrmPicCreator() override;

  // Shows the editor modally; true when it was closed with OK.
  bool Execute();
  // The 85 x 110 8-bit preview; the editor keeps owning it and changes it at
  // its next use, so the caller copies it.
  const TBitmap& GetResultBitmap() const { return FEngine.Preview(); }

  HWND Panel1{}, butOpenFile{}, butRotate{}, Panel2{}, Label1{}, panDestBmp{}, DestBmp{}, Panel4{};
  HWND butCancel{}, butOK{}, panHeader{}, Panel3{}, Label7{}, lblPicSize{}, TrackBar{}, panInfo{};
  HWND lblInfo{}, ProgressBar1{};
  TFileDialog* OpenPicDlg{};

 protected:
  LRESULT HandleMessage(UINT Msg, WPARAM WParam, LPARAM LParam, bool& Handled) override;

 private:
  void FormCreate();
  void FormDestroy();
  void FormShow();
  void FormResize();
  void WMAfterShow();
  void butOpenfileClick();
  void butRotateClick();
  void butOKClick();
  void butCancelClick();
  void TrackBarChange();
  void SourcePicMouseDown(UINT Button, int X, int Y);
  void SourcePicMouseMove(int X, int Y);
  void SourcePicMouseUp(UINT Button);
  void SourcePicBeforePaint();
  void SourcePicAfterPaint();

  void LoadSourceImage(const std::string& FileName);
  void UpdatePreview();
  void DrawFrame(int CenterX, int CenterY, bool WithPreview);
  void RotatePicture();
  void SetBusy(bool Value);
  void ShowInfo(std::string Text);
  void ShowPictureSize();
  void SetFrameFixed(bool Value);
  void PictureProgress(TProgressStage Stage, int Percent);

  bool FCancelled = true;
  std::unique_ptr<TSourcePic> FSourcePic;
  HWND FScrollBox = nullptr;
  bool FBusy = false;
  bool FFrameFixed = false;
  int FHandleX = 0, FHandleY = 0;
  bool FResizing = false;
  bool FOverHandle = false;
  int ResizeStartX = 0;

  TPicCreatorEngine FEngine;
  HBITMAP FPreviewBitmap = nullptr;
  HBITMAP FHandleBitmap = nullptr;  // FRAME_RESIZE
};

extern TfrmPicCreator* frmPicCreator;
