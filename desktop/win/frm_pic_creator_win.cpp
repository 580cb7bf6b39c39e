// The picture editor window, see frm_pic_creator_win.h.
#include "frm_pic_creator_win.h"

#include <algorithm>
#include <exception>
#include <new>

#include "controls_win.h"
#include "cursor_win.h"
#include "message_dialogs_win.h"
#include "messages_win.h"
#include "picture_bitmap_win.h"
#include "picture_loader.h"
#include "picture_open_preview_win.h"
#include "resource_source_win.h"
#include "resource_texts.h"
#include "scroll_box_win.h"
#include "stream.h"
#include "text_ids.h"

TfrmPicCreator* frmPicCreator = nullptr;

namespace {

constexpr int MinEditorWidth = 200, MinEditorHeight = 560;
constexpr int FramePen = 4;  // the outline's width, and so its distance from the crop area
constexpr COLORREF FixedFrameColor = RGB(0xFF, 0x00, 0x00), FollowingFrameColor = RGB(0xFF, 0xFF, 0x00);

RECT BoundsInParent(HWND Control) {
  RECT Rc;
  GetWindowRect(Control, &Rc);
  MapWindowPoints(nullptr, GetParent(Control), reinterpret_cast<POINT*>(&Rc), 2);
  return Rc;
}

std::string TextOf(HWND Control) {
  char Text[256] = {};
  GetWindowTextA(Control, Text, sizeof Text);
  return Text;
}

void MoveControl(HWND Control, int Left, int Top) {
  SetWindowPos(Control, nullptr, Left, Top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The scroll box's client surface without clipping its child, so the frame
// is drawn over the source picture as well as beside it.
HDC ScrollBoxSurface(HWND Box) { return GetDCEx(Box, nullptr, DCX_CACHE | DCX_CLIPSIBLINGS); }

}  // namespace

TfrmPicCreator::TfrmPicCreator() : TForm("TFRMPICCREATOR") {
  BindControls({{"Panel1", Panel1}, {"butOpenFile", butOpenFile}, {"butRotate", butRotate}, {"Panel2", Panel2},
                {"Label1", Label1}, {"panDestBmp", panDestBmp}, {"DestBmp", DestBmp}, {"Panel4", Panel4},
                {"butCancel", butCancel}, {"butOK", butOK}, {"panHeader", panHeader}, {"Panel3", Panel3},
                {"Label7", Label7}, {"lblPicSize", lblPicSize}, {"TrackBar", TrackBar}, {"panInfo", panInfo},
                {"lblInfo", lblInfo}, {"ProgressBar1", ProgressBar1}});
  BindDialog("OpenPicDlg", OpenPicDlg);
  On("FormCreate", [this](TEvent&) { FormCreate(); });
  On("FormDestroy", [this](TEvent&) { FormDestroy(); });
  On("FormShow", [this](TEvent&) { FormShow(); });
  On("FormResize", [this](TEvent&) { FormResize(); });
  On("FormCanResize", [](TEvent& E) { E.Allow = E.NewHeight >= MinEditorHeight && E.NewWidth >= MinEditorWidth; });
  On("butOpenfileClick", [this](TEvent&) { butOpenfileClick(); });
  On("butRotateClick", [this](TEvent&) { butRotateClick(); });
  On("butOKClick", [this](TEvent&) { butOKClick(); });
  On("butCancelClick", [this](TEvent&) { butCancelClick(); });
  On("TrackBarChange", [this](TEvent&) { TrackBarChange(); });
}

TfrmPicCreator::~TfrmPicCreator() {
  if (FPreviewBitmap) DeleteObject(FPreviewBitmap);
  if (FHandleBitmap) DeleteObject(FHandleBitmap);
}

void TfrmPicCreator::FormCreate() {
  FScrollBox = CreateWindowExA(WS_EX_CONTROLPARENT | WS_EX_CLIENTEDGE, ScrollBoxClass, "",
                               WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 0, 0, Handle(), nullptr,
                               GetModuleHandleA(nullptr), nullptr);
  FSourcePic = std::make_unique<TSourcePic>(FScrollBox);
  FSourcePic->OnMouseMove = [this](TSourcePic&, int X, int Y) { SourcePicMouseMove(X, Y); };
  FSourcePic->FOnBeforePaint = [this](TSourcePic&) { SourcePicBeforePaint(); };
  FSourcePic->FOnAfterPaint = [this](TSourcePic&) { SourcePicAfterPaint(); };
  FSourcePic->OnMouseDown = [this](TSourcePic&, UINT Button, int X, int Y) { SourcePicMouseDown(Button, X, Y); };
  FSourcePic->OnMouseUp = [this](TSourcePic&, UINT Button, int, int) { SourcePicMouseUp(Button); };
  FSourcePic->SetCursorId(IDC_SIZEALL);  // the frame follows the mouse until the first load
  FEngine.OnTrackBarChanged = [this](const TTrackBarState& S) {
    SendMessageA(TrackBar, TBM_SETRANGEMIN, FALSE, S.Min);
    SendMessageA(TrackBar, TBM_SETRANGEMAX, FALSE, S.Max);
    SendMessageA(TrackBar, TBM_SETPOS, TRUE, S.Position);
  };
  FHandleBitmap = LoadPicture("@FRAME_RESIZE");
  FPreviewBitmap = CreatePreviewBitmap();
  SetImagePicture(DestBmp, FPreviewBitmap);
  OpenPicDlg->Hook = PicturePreviewHook;
  FormResize();
}

void TfrmPicCreator::FormDestroy() {
  FSourcePic.reset();
  if (FScrollBox) DestroyWindow(FScrollBox);
  FScrollBox = nullptr;
}

bool TfrmPicCreator::Execute() {
  FCancelled = true;
  ShowModal();
  return !FCancelled;
}

void TfrmPicCreator::butOKClick() {
  FCancelled = false;
  Close();
}

void TfrmPicCreator::butCancelClick() { Close(); }

void TfrmPicCreator::FormShow() {
  ShowInfo("");
  ShowPictureSize();
  PostMessageA(Handle(), WM_AFTERSHOW, 0, 0);
  FormResize();
  FOverHandle = false;
  const RECT Label = BoundsInParent(Label7);
  const RECT Size = BoundsInParent(lblPicSize);
  MoveControl(lblPicSize, Label.right + 8, Size.top);
}

// The status label spans the status line; the scroll box fills what the
// panels leave of the client area.
void TfrmPicCreator::FormResize() {
  RECT Client;
  GetClientRect(Handle(), &Client);
  const RECT Info = BoundsInParent(lblInfo);
  SetWindowPos(lblInfo, nullptr, 4, Info.top, Client.right - 8, Info.bottom - Info.top, SWP_NOZORDER | SWP_NOACTIVATE);
  if (!FScrollBox) return;
  const RECT Header = BoundsInParent(panHeader), Side = BoundsInParent(Panel1), Status = BoundsInParent(panInfo);
  SetWindowPos(FScrollBox, nullptr, 0, Header.bottom, std::min(Side.left, Client.right), Status.top - Header.bottom,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

void TfrmPicCreator::WMAfterShow() {
  ShowInfo(" ");
  if (FSourcePic->Empty()) butOpenfileClick();
  ShowInfo("");
}

LRESULT TfrmPicCreator::HandleMessage(UINT Msg, WPARAM, LPARAM, bool& Handled) {
  Handled = Msg == WM_AFTERSHOW;
  if (Handled) WMAfterShow();
  return 0;
}

void TfrmPicCreator::butOpenfileClick() {
  ShowInfo(" ");
  if (!OpenPicDlg->Execute(Handle())) return;
  ShowHourglass();
  try {
    LoadSourceImage(OpenPicDlg->FileName);
    SendMessageA(FScrollBox, WM_HSCROLL, MAKEWPARAM(SB_TOP, 0), 0);
    SendMessageA(FScrollBox, WM_VSCROLL, MAKEWPARAM(SB_TOP, 0), 0);
    ShowWindow(TrackBar, SW_SHOW);
  } catch (const std::exception& E) {
    // Nothing of the source, frame, preview or track bar has changed.
    ShowDefaultCursor();
    SetBusy(false);
    ShowWindow(ProgressBar1, SW_HIDE);
    ShowInfo("");
    ShowErrorMessage(E.what());
  }
  ShowDefaultCursor();
}

void TfrmPicCreator::LoadSourceImage(const std::string& FileName) {
  SetBusy(true);
  TSourceImage Image = LoadPictureFile(FileName, [this](TProgressStage S, int P) { PictureProgress(S, P); });
  // From here nothing can fail: the engine takes the picture, and the source
  // control shows the engine's own copy.
  FEngine.LoadSource(std::move(Image));
  FSourcePic->SetPicture(&FEngine.Source());
  UpdateScrollBox(FScrollBox);
  ShowPictureSize();
  SetFrameFixed(true);
  UpdatePreview();
  ShowDefaultCursor();
  // The repaint clamps the frame at its start size before the track bar may
  // resize it around the clamped centre.
  SetBusy(false);
  EnableWindow(butRotate, TRUE);
  EnableWindow(butOK, TRUE);
  ShowInfo("");
  // A position change resizes the frame, which repaints.
  const int Position = FEngine.TrackBar().Position;
  FEngine.FitTrackBarToSource();
  if (FEngine.TrackBar().Position != Position) FSourcePic->Repaint();
}

void TfrmPicCreator::UpdatePreview() {
  FEngine.UpdatePreview();
  CopyPreview(FEngine.Preview(), FPreviewBitmap);
  InvalidateRect(DestBmp, nullptr, FALSE);
  UpdateWindow(DestBmp);
}

void TfrmPicCreator::DrawFrame(int CenterX, int CenterY, bool WithPreview) {
  if (FSourcePic->Empty() || FBusy) return;
  const TFramePlacement At = FEngine.PlaceFrame(CenterX, CenterY);
  const POINT Origin = FSourcePic->Position();
  const int L = At.Left + Origin.x, T = At.Top + Origin.y;
  const int W = FEngine.FrameWidth, H = FEngine.FrameHeight;
  HDC Dc = ScrollBoxSurface(FScrollBox);
  HPEN Pen = CreatePen(PS_SOLID, FramePen, FFrameFixed ? FixedFrameColor : FollowingFrameColor);
  HGDIOBJ OldPen = SelectObject(Dc, Pen);
  HGDIOBJ OldBrush = SelectObject(Dc, GetStockObject(NULL_BRUSH));
  SetROP2(Dc, R2_COPYPEN);
  Rectangle(Dc, L - FramePen, T - FramePen, L + W + FramePen, T + H + FramePen);
  SelectObject(Dc, OldBrush);
  DeleteObject(SelectObject(Dc, OldPen));
  if (FFrameFixed) {
    FHandleX = L + W - HandleSize;
    FHandleY = T + H - HandleSize;
    HDC Mem = CreateCompatibleDC(Dc);
    HGDIOBJ Old = SelectObject(Mem, FHandleBitmap);
    BitBlt(Dc, FHandleX, FHandleY, HandleSize, HandleSize, Mem, 0, 0, SRCCOPY);
    SelectObject(Mem, Old);
    DeleteDC(Mem);
  }
  ReleaseDC(FScrollBox, Dc);
  if (WithPreview) UpdatePreview();
}

void TfrmPicCreator::SourcePicBeforePaint() {
  const int W = FSourcePic->Width(), H = FSourcePic->Height();
  HDC Dc = ScrollBoxSurface(FScrollBox);
  HBRUSH Background = reinterpret_cast<HBRUSH>(GetClassLongPtrA(FScrollBox, GCLP_HBRBACKGROUND));
  const RECT Right{W, 0, W + 6, H}, Bottom{0, H, W + 6, H + 6};
  FillRect(Dc, &Right, Background);
  FillRect(Dc, &Bottom, Background);
  ReleaseDC(FScrollBox, Dc);
}

void TfrmPicCreator::SourcePicAfterPaint() { DrawFrame(FEngine.FrameCenterX, FEngine.FrameCenterY, true); }

void TfrmPicCreator::SetBusy(bool Value) {
  if (Value == FBusy) return;
  FBusy = Value;
  FSourcePic->Repaint();
}

void TfrmPicCreator::ShowInfo(std::string Text) {
  RECT Rc;
  GetClientRect(panInfo, &Rc);
  InvalidateRect(panInfo, &Rc, TRUE);
  if (Text.empty())
    Text = FSourcePic->Empty() ? FormatText(ResourceText(PressOpenButtonTextId), TextOf(butOpenFile)) : OpenPicDlg->FileName;
  SetWindowTextA(lblInfo, Text.c_str());
  AutoSizeLabel(lblInfo);
  InvalidateRect(lblInfo, nullptr, TRUE);
  UpdateWindow(panInfo);
  UpdateWindow(lblInfo);
}

void TfrmPicCreator::ShowPictureSize() {
  if (FSourcePic->Empty()) {
    SetWindowTextA(lblPicSize, "-");
    AutoSizeLabel(lblPicSize);
    return;
  }
  const std::string Size = std::to_string(FEngine.Source().Width) + " x " + std::to_string(FEngine.Source().Height);
  SetWindowTextA(lblPicSize, Size.c_str());
  AutoSizeLabel(lblPicSize);
  const RECT Label = BoundsInParent(lblPicSize), Bar = BoundsInParent(TrackBar);
  MoveControl(TrackBar, Label.right + 16, Bar.top);
}

void TfrmPicCreator::SetFrameFixed(bool Value) {
  if (Value == FFrameFixed) return;
  FFrameFixed = Value;
  FSourcePic->SetCursorId(Value ? IDC_HAND : IDC_SIZEALL);
  FSourcePic->Repaint();
  ShowInfo("");
}

void TfrmPicCreator::PictureProgress(TProgressStage Stage, int Percent) {
  switch (Stage) {
    case TProgressStage::Starting: {
      ShowHourglass();
      ShowInfo(ResourceText(ConvertingTextId));
      SendMessageA(ProgressBar1, PBM_SETRANGE32, 0, 100);
      const RECT Label = BoundsInParent(lblInfo), Bar = BoundsInParent(ProgressBar1);
      MoveControl(ProgressBar1, Label.right + 20, Bar.top);
      SendMessageA(ProgressBar1, PBM_SETPOS, Percent, 0);
      ShowWindow(ProgressBar1, SW_SHOW);
      UpdateWindow(ProgressBar1);
      break;
    }
    case TProgressStage::Running:
      SendMessageA(ProgressBar1, PBM_SETPOS, Percent, 0);
      UpdateWindow(ProgressBar1);
      break;
    case TProgressStage::Ending:
      ShowInfo("");
      ShowWindow(ProgressBar1, SW_HIDE);
      ShowDefaultCursor();
      break;
  }
}

// The control reports the user's move; the engine's position follows it and
// the resize it causes, and the control shows the result.
void TfrmPicCreator::TrackBarChange() {
  FEngine.SetTrackBarPosition(static_cast<int>(SendMessageA(TrackBar, TBM_GETPOS, 0, 0)));
  FSourcePic->Repaint();
}

void TfrmPicCreator::butRotateClick() { RotatePicture(); }

void TfrmPicCreator::RotatePicture() {
  ShowHourglass();
  ShowInfo(ResourceText(RotatingTextId));
  SetBusy(true);
  const int W = FEngine.Source().Width;
  const RECT Label = BoundsInParent(lblInfo), Bar = BoundsInParent(ProgressBar1);
  MoveControl(ProgressBar1, Label.right + 10, Bar.top);
  SendMessageA(ProgressBar1, PBM_SETRANGE32, 0, W);
  SendMessageA(ProgressBar1, PBM_SETPOS, 0, 0);
  ShowWindow(ProgressBar1, SW_SHOW);
  UpdateWindow(ProgressBar1);
  // The bar is redrawn only when its fill grows by a pixel: a visible
  // position change costs far more than a column of pixels.
  const int BarWidth = std::max(1, static_cast<int>(Bar.right - Bar.left));
  int Drawn = 0;
  // Without room for the turned picture the source stays as it was.
  try {
    TSourceImage Turned = FEngine.TurnedSource([&](int Done) {
      const int Fill = static_cast<int>(static_cast<int64_t>(Done) * BarWidth / std::max(1, W));
      if (Fill == Drawn) return;
      Drawn = Fill;
      SendMessageA(ProgressBar1, PBM_SETPOS, Done, 0);
      UpdateWindow(ProgressBar1);
    });
    FEngine.TakeTurnedSource(std::move(Turned));
    FSourcePic->SetPicture(&FEngine.Source());
    UpdateScrollBox(FScrollBox);
  } catch (const std::bad_alloc&) {
  }
  ShowPictureSize();
  ShowWindow(ProgressBar1, SW_HIDE);
  SetBusy(false);
  ShowInfo("");
  ShowDefaultCursor();
}

void TfrmPicCreator::SourcePicMouseDown(UINT Button, int X, int Y) {
  if (Button != WM_LBUTTONDOWN) return;
  if (FOverHandle) {
    ResizeStartX = X;
    FResizing = true;
    return;
  }
  FEngine.FrameCenterX = X;
  FEngine.FrameCenterY = Y;
  SetFrameFixed(false);
  FSourcePic->Repaint();
}

void TfrmPicCreator::SourcePicMouseMove(int X, int Y) {
  if (FResizing) {
    FEngine.SetTrackBarPosition(FEngine.TrackBar().Position + 2 * (X - ResizeStartX));
    ResizeStartX = X;
    FSourcePic->Repaint();
  } else if (FFrameFixed) {
    const POINT Origin = FSourcePic->Position();
    FOverHandle = TPicCreatorEngine::OverHandle(X, Y, FHandleX - Origin.x, FHandleY - Origin.y);
    FSourcePic->SetCursorId(FOverHandle ? IDC_SIZENWSE : IDC_HAND);
  } else {
    FEngine.FrameCenterX = X;
    FEngine.FrameCenterY = Y;
    FSourcePic->Repaint();
  }
}

void TfrmPicCreator::SourcePicMouseUp(UINT Button) {
  if (Button != WM_LBUTTONUP) return;
  FResizing = false;
  FOverHandle = false;
  SetFrameFixed(true);
}
