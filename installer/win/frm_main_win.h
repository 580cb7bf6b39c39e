// The installer's only window: borderless, 557 x 322, centred. Its static parts
// (orange frame, header with title, version and logo, the black strip, the
// background picture) are drawn once into a bitmap; the parts that change or
// act are child windows: the install and cancel buttons (owner-drawn flat
// buttons with glyphs), the check box, the OS line and the status line
// (owner-drawn statics, so their texts can be read like any window's).
// The install itself runs on this thread inside the install button's handler
// (frm_main_install_win.cpp), which hands the flow (install_flow_win.h) what
// the window found and the window as the flow's view; the window refuses to
// close while it runs.
#pragma once

#include <windows.h>

#include <string>

#include "install_flow_win.h"
#include "windows_version.h"

class TfrmMain : private TInstallView {
 public:
  // Control ids, also what tests find the controls by.
  enum : int { idInstall = 101, idCancel = 102, idInstallUSBDrv = 103, idInfo = 104, idOS = 105 };
  static constexpr const char* ClassName = "TfrmMain";
  // The timer that blinks the install button's glyph until the install starts.
  static constexpr UINT BlinkTimer = 1;

  TfrmMain() = default;
  ~TfrmMain();
  TfrmMain(const TfrmMain&) = delete;
  TfrmMain& operator=(const TfrmMain&) = delete;

  // Creates the window hidden and runs the detection; false (after the
  // message, with the window gone) on a refused Windows version.
  bool Create();
  // Centres and shows the window and fixes the three folders.
  void Show();
  // Puts Text on the status line and repaints it at once: during extraction
  // and copying no messages are handled.
  void ShowInfo(const std::string& Text) override;

 private:
  static LRESULT CALLBACK WindowProc(HWND, UINT, WPARAM, LPARAM);
  LRESULT HandleMessage(UINT Msg, WPARAM WParam, LPARAM LParam);
  void CreateControls();
  void PaintScene();
  void DrawItem(const DRAWITEMSTRUCT& Item);
  void DrawSceneUnder(const DRAWITEMSTRUCT& Item);
  void DrawButton(const DRAWITEMSTRUCT& Item, HBITMAP Glyph, HFONT Font, COLORREF Color, bool GlyphRight);
  void FormCreate(bool& Refused);
  void Timer1Timer();
  void butCancelClick();

  // The install button (frm_main_install_win.cpp).
  void butInstallClick();
  void ShowFailure(const std::string& Text) override;
  void SetInfoColors(COLORREF Back, COLORREF Text);
  void PlaceCancelButton();

  HWND FHandle = nullptr;
  HWND butInstall = nullptr, butCancel = nullptr, cbxInstallUSBDrv = nullptr, lblInfo = nullptr, lblOS = nullptr;
  HFONT FFontCheck = nullptr, FFontTitle = nullptr, FFontVersion = nullptr, FFontOS = nullptr,
        FFontCancel = nullptr, FFontInfo = nullptr, FFontInstall = nullptr;
  HBITMAP FScene = nullptr, FGlyphInstall = nullptr, FGlyphCancel = nullptr;
  HBRUSH FStripBrush = nullptr;
  bool FGlyphRight = false;  // the install button's glyph side, flipped by the timer
  bool FBusy = false;        // hourglass while the install runs
  COLORREF FInfoColor = RGB(255, 255, 0), FInfoFontColor = 0, FCancelFontColor = 0;

  // Set at creation and when shown; handed to the install.
  TOSKind FOSKind = osUnknown;
  std::string FWdRegExe;
  bool FCanClose = true;
  std::string FTempDir, FSystemDir, FInstallDir;
  bool FDriverMissing = true;
};
