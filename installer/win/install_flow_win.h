// The install, run synchronously inside the install button's handler: extract
// the payload to the temp folder, copy it into place, make the two shortcuts,
// have the vendor's tool register the USB driver; each step only after the one
// before succeeded, the temp files deleted in every case. Window messages are
// handled only while the tool runs and inside message boxes, so the status
// line repaints itself and a close request meanwhile is refused.
//
// The flow knows nothing of the window: it is given what the window found
// (the Windows kind, the folders, whether the driver is to be registered) and
// reports through the narrow view below, which the window implements and a
// test can stand in for.
#pragma once

#include <string>

#include "windows_version.h"

// What the install shows while it runs.
class TInstallView {
 public:
  // A step's status text, shown at once (no messages are handled meanwhile).
  virtual void ShowInfo(const std::string& Text) = 0;
  // A step failed: its failure text on the status line, in the failure colours.
  virtual void ShowFailure(const std::string& Text) = 0;

 protected:
  ~TInstallView() = default;
};

struct TInstallSetup {
  TOSKind OSKind = osUnknown;
  std::string WdRegExe;  // the registration tool, started from the temp folder
  std::string TempDir, SystemDir, InstallDir;  // each ending in a backslash
  bool RegisterDriver = true;  // the driver is missing, or the user asked to register it again
};

class TInstallFlow {
 public:
  TInstallFlow(const TInstallSetup& Setup, TInstallView& View) : FSetup(Setup), FView(View) {}

  // Runs the four steps and the clean-up; true when every step succeeded.
  bool Run();

 private:
  bool ExtractFiles();
  bool CopyFiles();
  bool CreateShortcuts();
  bool InstallUSBDriver();
  void DeleteTempFiles();

  const TInstallSetup& FSetup;
  TInstallView& FView;
};
