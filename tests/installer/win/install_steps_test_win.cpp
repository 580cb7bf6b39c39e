// The install steps in-process under Wine, where their faults lived: a copy
// must fail (text 5) rather than write "name_" beside a destination it cannot
// open; a file in the way of a folder is no folder; a link that cannot be
// saved fails; the wait for the tool gives up on a missing or broken handle;
// the device key is found under its relative name; a folder Windows cannot
// name stops the install before anything lands in the current folder. Message
// boxes are replaced by a sink that records their texts.
#include <windows.h>

#include <gtest/gtest.h>

#include <shlobj.h>

#include <algorithm>
#include <string>
#include <vector>

#include "driver_check_win.h"
#include "files_win.h"
#include "install_flow_win.h"
#include "install_plan.h"
#include "lang.h"
#include "message_win.h"
#include "shell_win.h"
#include "test_files_win.h"

namespace {

std::vector<std::string> Messages;
void Record(const std::string& Text) { Messages.push_back(Text); }

// A fresh short folder under the temp folder: the LZ calls take paths of at
// most 127 characters.
class InstallSteps : public ::testing::Test {
 protected:
  void SetUp() override {
    char Name[MAX_PATH];
    GetTempFileNameA(GetTempDir().c_str(), "qvi", 0, Name);
    DeleteFileA(Name);
    Dir = std::string(Name) + "\\";
    ASSERT_TRUE(CreateDirectoryA(Dir.c_str(), nullptr));
    Messages.clear();
    SetMessageSink(Record);
    CurrentTexts = &TextsEN;
  }
  void TearDown() override {
    SetMessageSink(nullptr);
    std::string From = Dir.substr(0, Dir.size() - 1) + '\0';  // a list ending in two zeros
    SHFILEOPSTRUCTA Remove{};
    Remove.wFunc = FO_DELETE;
    Remove.pFrom = From.c_str();
    Remove.fFlags = FOF_NO_UI;
    SHFileOperationA(&Remove);
  }

  std::string Dir;
};

TEST_F(InstallSteps, CopyMakesTheFolderChainAndCopiesTheBytes) {
  WriteFileText(Dir + "src.txt", "payload");
  ASSERT_TRUE(ExpandCopyFile(Dir + "src.txt", Dir + "a\\b\\c\\dst.txt"));
  EXPECT_EQ(ReadFileText(Dir + "a\\b\\c\\dst.txt"), "payload");
  EXPECT_TRUE(Messages.empty());
}

TEST_F(InstallSteps, CopyReplacesOnlyAnOlderDestination) {
  const struct {
    const char* What;
    LONGLONG DestAge;  // seconds relative to the source
    bool Replaced;
  } Cases[] = {{"a day older", -86400, true},  {"four seconds older", -4, true}, {"same time", 0, false},
               {"a year ahead", 365 * 86400LL, false}, {"1970", -(2024LL - 1970) * 365 * 86400, true}};
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.What);
    WriteFileText(Dir + "src.txt", "new");
    WriteFileText(Dir + "dst.txt", "old");
    SetAge(Dir + "src.txt", -3600);
    SetAge(Dir + "dst.txt", -3600 + C.DestAge);
    EXPECT_TRUE(ExpandCopyFile(Dir + "src.txt", Dir + "dst.txt"));
    EXPECT_EQ(ReadFileText(Dir + "dst.txt"), C.Replaced ? "new" : "old");
  }
  EXPECT_TRUE(Messages.empty());
}

TEST_F(InstallSteps, ADestinationThatCannotBeOpenedFailsWithoutAStrayFile) {
  WriteFileText(Dir + "src.txt", "new");
  // Held without write sharing, as a running program or a loaded library is.
  WriteFileText(Dir + "held.dll", "old");
  SetAge(Dir + "held.dll", -86400);
  const HANDLE Held = CreateFileA((Dir + "held.dll").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(Held, INVALID_HANDLE_VALUE);
  EXPECT_FALSE(ExpandCopyFile(Dir + "src.txt", Dir + "held.dll"));
  CloseHandle(Held);
  EXPECT_EQ(ReadFileText(Dir + "held.dll"), "old");
  EXPECT_FALSE(Exists(Dir + "held.dl_"));
  // A folder where the file should go.
  ASSERT_TRUE(CreateDirectoryA((Dir + "folder.exe").c_str(), nullptr));
  EXPECT_FALSE(ExpandCopyFile(Dir + "src.txt", Dir + "folder.exe"));
  EXPECT_FALSE(Exists(Dir + "folder.ex_"));
  EXPECT_EQ(Messages, (std::vector<std::string>{"Cannot create file <" + Dir + "held.dll>",
                                                "Cannot create file <" + Dir + "folder.exe>"}));
}

TEST_F(InstallSteps, AFileInTheWayOfAFolderIsNoFolder) {
  WriteFileText(Dir + "src.txt", "new");
  WriteFileText(Dir + "Quorvale", "a file");
  EXPECT_FALSE(CreateFolder(Dir + "Quorvale"));
  EXPECT_TRUE(CreateFolder(Dir + "made"));
  EXPECT_TRUE(CreateFolder(Dir + "made")) << "an existing folder is fine";
  EXPECT_FALSE(ExpandCopyFile(Dir + "src.txt", Dir + "Quorvale\\Desktop\\x.txt"));
  EXPECT_EQ(Messages, std::vector<std::string>{"Cannot create directory <" + Dir + "Quorvale\\Desktop\\>"});
}

TEST_F(InstallSteps, AMissingSourceIsNamed) {
  EXPECT_FALSE(ExpandCopyFile(Dir + "none.txt", Dir + "dst.txt"));
  EXPECT_EQ(Messages, std::vector<std::string>{"Cannot open file <" + Dir + "none.txt>"});
  EXPECT_FALSE(Exists(Dir + "dst.txt"));
}

TEST_F(InstallSteps, ExtractWritesTheResourceOrNamesTheFile) {
  // This test program carries one FILELIST resource of its own.
  ASSERT_TRUE(ExtractResourceFile("PROBE", Dir + "probe.txt"));
  EXPECT_EQ(ReadFileText(Dir + "probe.txt"), "probe payload\n");
  EXPECT_FALSE(ExtractResourceFile("NO_SUCH_RESOURCE", Dir + "none.txt"));
  ASSERT_TRUE(CreateDirectoryA((Dir + "inway.txt").c_str(), nullptr));
  EXPECT_FALSE(ExtractResourceFile("PROBE", Dir + "inway.txt"));
  EXPECT_EQ(Messages, (std::vector<std::string>{"Cannot extract file <" + Dir + "none.txt>",
                                                "Cannot extract file <" + Dir + "inway.txt>"}));
}

TEST_F(InstallSteps, ALinkThatCannotBeSavedFails) {
  CoInitialize(nullptr);
  const std::string Target = Dir + "Quorvale.exe";
  ASSERT_TRUE(CreateShortcut(Target, Dir + "Desktop.lnk", "Quorvale Desktop"));
  EXPECT_FALSE(CreateShortcut(Target, Dir + "missing\\Desktop.lnk", "Quorvale Desktop"));
  WriteFileText(Dir + "afile", "x");
  EXPECT_FALSE(CreateShortcut(Target, Dir + "afile\\Desktop.lnk", "Quorvale Desktop"));

  IShellLinkA* Link = nullptr;
  IPersistFile* File = nullptr;
  ASSERT_TRUE(SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                         reinterpret_cast<void**>(&Link))));
  ASSERT_TRUE(SUCCEEDED(Link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&File))));
  wchar_t Wide[MAX_PATH];
  MultiByteToWideChar(CP_ACP, 0, (Dir + "Desktop.lnk").c_str(), -1, Wide, MAX_PATH);
  ASSERT_TRUE(SUCCEEDED(File->Load(Wide, STGM_READ)));
  char Path[MAX_PATH] = {}, Description[MAX_PATH] = {};
  Link->GetPath(Path, MAX_PATH, nullptr, SLGP_RAWPATH);
  Link->GetDescription(Description, MAX_PATH);
  EXPECT_STREQ(Path, Target.c_str());
  EXPECT_STREQ(Description, "Quorvale Desktop");
  File->Release();
  Link->Release();
  CoUninitialize();
}

TEST_F(InstallSteps, TheWaitGivesUpOnAMissingOrBrokenHandle) {
  EXPECT_FALSE(WaitForSuccess(nullptr));
  HANDLE Closed = nullptr;
  ASSERT_TRUE(DuplicateHandle(GetCurrentProcess(), GetCurrentProcess(), GetCurrentProcess(), &Closed, 0, FALSE,
                              DUPLICATE_SAME_ACCESS));
  CloseHandle(Closed);
  EXPECT_FALSE(WaitForSuccess(Closed)) << "a wait that fails";
}

bool TimerFired = false;
void CALLBACK OnTimer(HWND, UINT, UINT_PTR Id, DWORD) {
  TimerFired = true;
  KillTimer(nullptr, Id);
}

TEST_F(InstallSteps, RunAndWaitAnswersTheToolsExitCodeAndHandlesMessagesMeanwhile) {
  const std::string Tool = BuildPath(QV_BIN_DIR) + "\\wdreg_gui.exe";
  WriteFileText(Dir + "x.inf", "[Version]\r\n");
  const std::string Good = " -inf \"" + Dir + "x.inf\" -silent install";
  SetEnvironmentVariableA("QV_WDREG_LOG", (Dir + "runs.log").c_str());
  SetEnvironmentVariableA("QV_WDREG_EXIT", "0,5");
  SetEnvironmentVariableA("QV_WDREG_DELAY_MS", "300");
  // A timer set before the run fires inside its wait.
  TimerFired = false;
  SetTimer(nullptr, 0, 10, OnTimer);
  EXPECT_TRUE(RunAndWait(Tool, Good));
  EXPECT_TRUE(TimerFired);
  SetEnvironmentVariableA("QV_WDREG_DELAY_MS", nullptr);
  EXPECT_FALSE(RunAndWait(Tool, Good)) << "the second run's code 5";
  SetEnvironmentVariableA("QV_WDREG_EXIT", "0");
  EXPECT_FALSE(RunAndWait(Tool, " -inf \"" + Dir + "none.inf\" -silent install")) << "a missing INF";
  EXPECT_FALSE(RunAndWait(Tool, " -inf \"" + Dir + "x.inf\" install")) << "malformed";
  EXPECT_TRUE(RunAndWait(Tool, Good));
  SetEnvironmentVariableA("QV_WDREG_LOG", nullptr);
  SetEnvironmentVariableA("QV_WDREG_EXIT", nullptr);
  const std::string Log = ReadFileText(Dir + "runs.log");
  EXPECT_EQ(std::count(Log.begin(), Log.end(), '\n'), 5) << Log;
  // The shell puts a blank between the quoted program and the parameters.
  EXPECT_NE(Log.find("wdreg_gui.exe\" " + Good + "\n"), std::string::npos) << Log;
}

TEST_F(InstallSteps, TheDeviceKeyIsFoundUnderItsRelativeName) {
  const uint16_t Vendor = 0x7A11, Product = 0x0101;  // an id no other test registers
  EXPECT_FALSE(USBDeviceKeyExists(Vendor, Product));
  HKEY Key;
  ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, DeviceKeyPath(Vendor, Product).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                            nullptr, &Key, nullptr),
            ERROR_SUCCESS);
  RegCloseKey(Key);
  EXPECT_TRUE(USBDeviceKeyExists(Vendor, Product));
  RegDeleteKeyA(HKEY_LOCAL_MACHINE, DeviceKeyPath(Vendor, Product).c_str());
  EXPECT_FALSE(WinDriverPresent()) << "no kernel driver in the test prefix";
}

// The install's view as a test sees it: what it would show.
struct TRecordingView : TInstallView {
  std::vector<std::string> Infos, Failures;
  void ShowInfo(const std::string& Text) override { Infos.push_back(Text); }
  void ShowFailure(const std::string& Text) override { Failures.push_back(Text); }
};

// A folder that Windows did not name (its call failed, or the folder did not
// fit the buffer) must not become "": the payload would be written to, run
// from and deleted in the current folder, and started from the install folder
// the clean-up would delete the installed program.
TEST_F(InstallSteps, AnUnknownFolderStopsItsStepAndLeavesTheCurrentFolderAlone) {
  const struct {
    const char* What;
    bool TempKnown, SystemKnown;
    int FailureText;
  } Cases[] = {{"temp folder", false, true, 19}, {"system folder", true, false, 20}};
  char Kept[MAX_PATH] = {};
  GetCurrentDirectoryA(MAX_PATH, Kept);
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.What);
    const std::string Case = Dir + (C.TempKnown ? "s" : "t") + "\\";
    for (const char* Sub : {"", "cwd", "tmp", "sys"}) CreateDirectoryA((Case + Sub).c_str(), nullptr);
    WriteFileText(Case + "cwd\\Quorvale.exe", "installed");
    TInstallSetup Setup;
    Setup.OSKind = osXP;
    Setup.WdRegExe = RegistrationTool(osXP);
    Setup.TempDir = C.TempKnown ? Case + "tmp\\" : "";
    Setup.SystemDir = C.SystemKnown ? Case + "sys\\" : "";
    Setup.InstallDir = Case + "inst\\";
    Setup.RegisterDriver = false;
    TRecordingView View;
    ASSERT_TRUE(SetCurrentDirectoryA((Case + "cwd").c_str()));
    const bool Ok = TInstallFlow(Setup, View).Run();
    SetCurrentDirectoryA(Kept);
    EXPECT_FALSE(Ok);
    EXPECT_EQ(View.Failures, std::vector<std::string>{TextsEN[C.FailureText]});
    EXPECT_EQ(ReadFileText(Case + "cwd\\Quorvale.exe"), "installed");
    for (const auto& File : Payload) {
      if (std::string(File.FileName) != "Quorvale.exe") EXPECT_FALSE(Exists(Case + "cwd\\" + File.FileName)) << File.FileName;
      EXPECT_FALSE(Exists(Case + "tmp\\" + File.FileName)) << "deleted: " << File.FileName;
    }
    EXPECT_FALSE(Exists(Case + "inst")) << "nothing installed";
  }
}

// The folders come from calls with buffers of 129 characters: a temp folder
// that does not fit is no folder.
TEST_F(InstallSteps, ATempFolderLongerThanTheBufferIsNoFolder) {
  char Kept[MAX_PATH] = {};
  GetEnvironmentVariableA("TMP", Kept, MAX_PATH);
  const std::string Long = Dir + std::string(130, 'x');
  ASSERT_TRUE(CreateDirectoryA(Long.c_str(), nullptr));
  SetEnvironmentVariableA("TMP", Long.c_str());
  EXPECT_EQ(GetTempDir(), "");
  SetEnvironmentVariableA("TMP", Dir.c_str());
  EXPECT_EQ(GetTempDir(), Dir) << "one that fits";
  SetEnvironmentVariableA("TMP", *Kept ? Kept : nullptr);
  EXPECT_EQ(GetSystemDir().back(), '\\');
}

}  // namespace
