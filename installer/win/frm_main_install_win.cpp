// The install button's handler: the window makes ready for the install, runs
// the flow (install_flow_win.h) with itself as the flow's view, and shows how
// it ended.
#include "frm_main_win.h"

#include "install_flow_win.h"
#include "lang.h"

namespace {

const COLORREF Red = RGB(255, 0, 0), Black = RGB(0, 0, 0), Green = RGB(0, 128, 0), Lime = RGB(0, 255, 0);

}  // namespace

void TfrmMain::butInstallClick() {
  // Runs once: the button hides at the start, and a click that arrives inside
  // the tool's wait must not start a second install over the first.
  if (!IsWindowVisible(butInstall)) return;
  KillTimer(FHandle, BlinkTimer);
  FCanClose = false;
  ShowWindow(butInstall, SW_HIDE);
  ShowWindow(butCancel, SW_HIDE);
  ShowWindow(lblOS, SW_SHOW);
  ShowWindow(lblInfo, SW_SHOW);
  EnableWindow(cbxInstallUSBDrv, FALSE);
  RedrawWindow(FHandle, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  FBusy = true;
  SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_WAIT)));

  TInstallSetup Setup;
  Setup.OSKind = FOSKind;
  Setup.WdRegExe = FWdRegExe;
  Setup.TempDir = FTempDir;
  Setup.SystemDir = FSystemDir;
  Setup.InstallDir = FInstallDir;
  // The check box is disabled above, so its state holds for the whole install.
  Setup.RegisterDriver = FDriverMissing || SendMessageA(cbxInstallUSBDrv, BM_GETCHECK, 0, 0) == BST_CHECKED;
  const bool Ok = TInstallFlow(Setup, *this).Run();

  FCanClose = true;
  if (Ok) {
    ShowInfo(LangText(18));
    SetInfoColors(Green, Lime);
    ShowInfo(LangText(23));
    FCancelFontColor = Black;
  }
  SetWindowTextA(butCancel, LangText(Ok ? 11 : 10));
  PlaceCancelButton();
  ShowWindow(butCancel, SW_SHOW);
  FBusy = false;
  SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW)));
}

void TfrmMain::ShowFailure(const std::string& Text) {
  SetInfoColors(Red, Black);
  ShowInfo(Text);
}
