// The install's four steps and its clean-up; see install_flow_win.h.
#include "install_flow_win.h"

#include <windows.h>

#include <shlobj.h>

#include "files_win.h"
#include "install_plan.h"
#include "lang.h"
#include "message_win.h"
#include "shell_win.h"

namespace {

const char* const ProgramName = "Quorvale.exe";
const char* const LinkName = "Desktop.lnk";
const char* const LinkDescription = "Quorvale Desktop";

}  // namespace

bool TInstallFlow::Run() {
  // Each step with the status text of its failure.
  const struct {
    bool (TInstallFlow::*Run)();
    int FailureText;
  } Steps[] = {{&TInstallFlow::ExtractFiles, 19},
               {&TInstallFlow::CopyFiles, 20},
               {&TInstallFlow::CreateShortcuts, 21},
               {&TInstallFlow::InstallUSBDriver, 22}};
  bool Ok = true;
  for (const auto& Step : Steps) {
    if ((this->*Step.Run)()) continue;
    FView.ShowFailure(LangText(Step.FailureText));
    Ok = false;
    break;
  }
  DeleteTempFiles();
  return Ok;
}

// An unknown folder ("") would put the payload into the current folder, and
// the clean-up would delete it there; the steps that need one fail instead.
bool TInstallFlow::ExtractFiles() {
  FView.ShowInfo(LangText(7));
  if (FSetup.TempDir.empty()) return false;
  for (const auto& File : Payload)
    if (!ExtractResourceFile(File.Resource, FSetup.TempDir + File.FileName)) return false;
  return true;
}

bool TInstallFlow::CopyFiles() {
  FView.ShowInfo(LangText(12));
  if (FSetup.SystemDir.empty()) return false;
  for (const auto& Job : CopyJobs(FSetup.TempDir, FSetup.SystemDir, FSetup.InstallDir))
    if (!ExpandCopyFile(Job.Source, Job.Dest)) return false;
  return true;
}

bool TInstallFlow::CreateShortcuts() {
  FView.ShowInfo(LangText(13));
  const std::string Target = FSetup.InstallDir + ProgramName;
  // A link needs a folder to lie in: a shell that names none fails the step.
  const std::string Programs = GetSpecialFolder(CSIDL_PROGRAMS);
  if (Programs.empty()) return false;
  const std::string Menu = Programs + "Quorvale\\";
  CreateFolder(Menu);  // a folder that cannot be made fails the link's save
  if (!CreateShortcut(Target, Menu + LinkName, LinkDescription)) return false;
  const std::string Desktop = GetSpecialFolder(CSIDL_DESKTOP);
  return !Desktop.empty() && CreateShortcut(Target, Desktop + LinkName, LinkDescription);
}

bool TInstallFlow::InstallUSBDriver() {
  if (!FSetup.RegisterDriver) return true;
  FView.ShowInfo(LangText(14));
  const std::string Tool = FSetup.TempDir + FSetup.WdRegExe;
  if (!RunAndWait(Tool, RegistrationParameters(FSetup.InstallDir, KernelDriverInf))) return false;
  if (!RegistersDeviceInf(FSetup.OSKind)) {
    ShowPlainMessage(FormatText(LangText(17), DeviceInfPath(FSetup.InstallDir)));
    return true;
  }
  FView.ShowInfo(LangText(15));
  return RunAndWait(Tool, RegistrationParameters(FSetup.InstallDir, DeviceInf));
}

void TInstallFlow::DeleteTempFiles() {
  if (FSetup.TempDir.empty()) return;
  for (const auto& File : Payload) DeleteFileA((FSetup.TempDir + File.FileName).c_str());
}
