// The install, run synchronously inside the install button's handler: extract
// the payload to the temp folder, copy it into place, make the two shortcuts,
// have the vendor's tool register the USB driver; each step only after the one
// before succeeded, the temp files deleted in every case. Window messages are
// handled only while the tool runs and inside message boxes, so the status
// line repaints itself and a close request meanwhile is refused.
#include <shlobj.h>

#include "files_win.h"
#include "frm_main_win.h"
#include "install_plan.h"
#include "lang.h"
#include "message_win.h"
#include "shell_win.h"

namespace {

const COLORREF Red = RGB(255, 0, 0), Black = RGB(0, 0, 0), Green = RGB(0, 128, 0), Lime = RGB(0, 255, 0);
const char* const ProgramName = "Quorvale.exe";
const char* const LinkName = "Desktop.lnk";
const char* const LinkDescription = "Quorvale Desktop";

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

  // Each step with the status text of its failure.
  const struct {
    bool (TfrmMain::*Run)();
    int FailureText;
  } Steps[] = {{&TfrmMain::ExtractFiles, 19},
               {&TfrmMain::CopyFiles, 20},
               {&TfrmMain::CreateShortcuts, 21},
               {&TfrmMain::InstallUSBDriver, 22}};
  bool Ok = true;
  for (const auto& Step : Steps) {
    if ((this->*Step.Run)()) continue;
    SetInfoColors(Red, Black);
    ShowInfo(LangText(Step.FailureText));
    Ok = false;
    break;
  }
  DeleteTempFiles();
  FCanClose = true;
  if (Ok) {
    ShowInfo(LangText(18));
    SetInfoColors(Green, Lime);
    ShowInfo(LangText(23));
    FCancelFontColor = Black;
  }
  SetWindowTextA(butCancel, LangText(Ok ? 11 : 10));

  RECT Client, Button;
  GetClientRect(FHandle, &Client);
  GetWindowRect(butCancel, &Button);
  MapWindowPoints(nullptr, FHandle, reinterpret_cast<POINT*>(&Button), 2);
  // Centred in the window; the install area the button lies in starts 4 pixels in.
  const int Left = 4 + (Client.right - (Button.right - Button.left)) / 2;
  SetWindowPos(butCancel, nullptr, Left, Button.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  ShowWindow(butCancel, SW_SHOW);
  FBusy = false;
  SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW)));
}

bool TfrmMain::ExtractFiles() {
  ShowInfo(LangText(7));
  for (const auto& File : Payload)
    if (!ExtractResourceFile(File.Resource, FTempDir + File.FileName)) return false;
  return true;
}

bool TfrmMain::CopyFiles() {
  ShowInfo(LangText(12));
  for (const auto& Job : CopyJobs(FTempDir, FSystemDir, FInstallDir))
    if (!ExpandCopyFile(Job.Source, Job.Dest)) return false;
  return true;
}

bool TfrmMain::CreateShortcuts() {
  ShowInfo(LangText(13));
  const std::string Target = FInstallDir + ProgramName;
  // A link needs a folder to lie in: a shell that names none fails the step.
  const std::string Programs = GetSpecialFolder(CSIDL_PROGRAMS);
  if (Programs.empty()) return false;
  const std::string Menu = Programs + "Quorvale\\";
  CreateFolder(Menu);  // a folder that cannot be made fails the link's save
  if (!CreateShortcut(Target, Menu + LinkName, LinkDescription)) return false;
  const std::string Desktop = GetSpecialFolder(CSIDL_DESKTOP);
  return !Desktop.empty() && CreateShortcut(Target, Desktop + LinkName, LinkDescription);
}

bool TfrmMain::InstallUSBDriver() {
  if (!FDriverMissing && SendMessageA(cbxInstallUSBDrv, BM_GETCHECK, 0, 0) != BST_CHECKED) return true;
  ShowInfo(LangText(14));
  const std::string Tool = FTempDir + FWdRegExe;
  if (!RunAndWait(Tool, RegistrationParameters(FInstallDir, KernelDriverInf))) return false;
  if (!RegistersDeviceInf(FOSKind)) {
    ShowPlainMessage(FormatText(LangText(17), DeviceInfPath(FInstallDir)));
    return true;
  }
  ShowInfo(LangText(15));
  return RunAndWait(Tool, RegistrationParameters(FInstallDir, DeviceInf));
}

void TfrmMain::DeleteTempFiles() {
  for (const auto& File : Payload) DeleteFileA((FTempDir + File.FileName).c_str());
}
