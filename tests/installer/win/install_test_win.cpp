// Install.exe under Wine, driven from outside. Each case runs in a fresh copy
// of the session's Wine prefix (fresh_prefix.sh), so the installed files, the
// links, the registry and the driver device are the case's own; the language
// cases run once per locale (Wine takes it from LC_ALL).
#include <windows.h>

#include <gtest/gtest.h>

#include <shlobj.h>

#include <cstdlib>

#include "frm_main_win.h"
#include "install_plan.h"
#include "installer_driver_win.h"
#include "lang.h"

namespace {

using F = TfrmMain;

const COLORREF Red = RGB(255, 0, 0), Green = RGB(0, 128, 0);
constexpr int CancelCentredLeft = 4 + (557 - 141) / 2;

std::string LinkTarget(const std::string& LinkPath, std::string* Description) {
  IShellLinkA* Link = nullptr;
  IPersistFile* File = nullptr;
  std::string Path = "<no link>";
  if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                 reinterpret_cast<void**>(&Link)))) {
    wchar_t Wide[MAX_PATH];
    MultiByteToWideChar(CP_ACP, 0, LinkPath.c_str(), -1, Wide, MAX_PATH);
    if (SUCCEEDED(Link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&File))) &&
        SUCCEEDED(File->Load(Wide, STGM_READ))) {
      char Target[MAX_PATH] = {}, Text[MAX_PATH] = {};
      Link->GetPath(Target, MAX_PATH, nullptr, SLGP_RAWPATH);
      Link->GetDescription(Text, MAX_PATH);
      Path = Target;
      *Description = Text;
    }
    if (File) File->Release();
    Link->Release();
  }
  return Path;
}

std::string MenuLink() { return SpecialFolder(CSIDL_PROGRAMS) + "Quorvale\\Desktop.lnk"; }
std::string DesktopLink() { return SpecialFolder(CSIDL_DESKTOP) + "Desktop.lnk"; }

int LeftInWindow(const TInstallerRun& Run, int Id) {
  RECT Window, Control;
  GetWindowRect(Run.Window(), &Window);
  GetWindowRect(Run.Control(Id), &Control);
  return Control.left - Window.left;
}

void ExpectTempFilesGone() {
  for (const auto& File : Payload) EXPECT_FALSE(Exists(TempDir() + File.FileName)) << File.FileName;
}

// The end of a failed install: red status with the step's text, "Close".
void ExpectFailure(const TInstallerRun& Run, int Text) {
  EXPECT_EQ(Run.Text(F::idInfo), TextsEN[Text]);
  EXPECT_EQ(Run.PixelOf(F::idInfo, 3, 3), Red);
  EXPECT_EQ(Run.Text(F::idCancel), "Close");
  EXPECT_EQ(LeftInWindow(Run, F::idCancel), CancelCentredLeft);
  EXPECT_FALSE(Run.Visible(F::idInstall));
  ExpectTempFilesGone();
}

void ExpectSuccess(const TInstallerRun& Run, const std::vector<std::string>& Messages = {}) {
  EXPECT_EQ(Run.Messages, Messages);
  EXPECT_EQ(Run.Text(F::idInfo), "Quorvale Desktop was successfully installed");
  EXPECT_EQ(Run.PixelOf(F::idInfo, 3, 3), Green);
  EXPECT_EQ(Run.Text(F::idCancel), "Exit");
  EXPECT_EQ(LeftInWindow(Run, F::idCancel), CancelCentredLeft);
  EXPECT_FALSE(Run.Visible(F::idInstall));
  ExpectTempFilesGone();
}

// Every copied file holds its payload's bytes.
void ExpectInstalledFiles() {
  for (const auto& Job : CopyJobs(TempDir(), SystemDir(), InstallDir())) {
    const std::string Name = Job.Dest.substr(Job.Dest.rfind('\\') + 1);
    const auto Row = std::find_if(std::begin(Payload), std::end(Payload),
                                  [&](const TPayloadFile& P) { return Name == P.FileName; });
    EXPECT_EQ(ReadFileText(Job.Dest), PayloadBytes(Row->Resource)) << Job.Dest;
  }
}

std::string ToolLine(const char* Tool, const char* Inf) {
  return "\"" + TempDir() + Tool + "\"  -inf \"" + InstallDir() + "USBDriver\\" + Inf + "\" -silent install";
}

void RunInstall(TInstallerRun& Run) {
  ASSERT_TRUE(Run.Start());
  ASSERT_TRUE(Run.Window());
  ASSERT_TRUE(Run.Install());
}

class Install : public ::testing::Test {
 protected:
  void SetUp() override {
    CoInitialize(nullptr);
    SetToolBehaviour("0");
  }
  void TearDown() override { CoUninitialize(); }
};

TEST_F(Install, FullInstallWithoutTheDriver) {
  SetWindowsVersion("winxp");
  TInstallerRun Run;
  ASSERT_TRUE(Run.Start());
  EXPECT_EQ(Run.Text(F::idOS), "Operating system : Windows XP or .NET server");
  EXPECT_EQ(Run.Text(F::idInstall), "Install");
  EXPECT_EQ(Run.Text(F::idCancel), "Cancel");
  EXPECT_FALSE(Run.Visible(F::idInstallUSBDrv)) << "no driver: no choice";
  EXPECT_FALSE(Run.Visible(F::idInfo));
  // The install button's glyph changes sides every 500 ms.
  const auto First = Run.PixelsOf(F::idInstall);
  bool Blinked = false;
  for (int I = 0; I < 15 && !Blinked; ++I) {
    Sleep(100);
    Blinked = Run.PixelsOf(F::idInstall) != First;
  }
  EXPECT_TRUE(Blinked);
  Run.Screenshot("installer-before");

  ASSERT_TRUE(Run.Install());
  Run.Screenshot("installer-success");
  ExpectSuccess(Run);
  ExpectInstalledFiles();
  EXPECT_TRUE(IsFolder(InstallDir() + "USBDriver"));
  for (const std::string& Link : {MenuLink(), DesktopLink()}) {
    std::string Description;
    EXPECT_EQ(LinkTarget(Link, &Description), InstallDir() + "Quorvale.exe") << Link;
    EXPECT_EQ(Description, "Quorvale Desktop");
  }
  EXPECT_EQ(ToolRuns(), (std::vector<std::string>{ToolLine("WDREG_GUI.EXE", "windrvr6.inf"),
                                                   ToolLine("WDREG_GUI.EXE", "Quorvale.inf")}));
  const std::string Inf = ReadFileText(InstallDir() + "USBDriver\\Quorvale.inf");
  EXPECT_NE(Inf.find("USB\\VID_5156&PID_0101\r\n"), std::string::npos) << Inf;

  Run.Click(F::idCancel);
  EXPECT_TRUE(Run.WaitForExit(5000)) << "Exit ends the program";
}

TEST_F(Install, ReinstallReplacesOlderFilesAndKeepsANewerOne) {
  {
    TInstallerRun Run;
    RunInstall(Run);
    ExpectSuccess(Run);
  }
  const auto Jobs = CopyJobs(TempDir(), SystemDir(), InstallDir());
  const std::string Newer = InstallDir() + "Quorvale.en";
  for (const auto& Job : Jobs) SetAge(Job.Dest, -86400);
  WriteFileText(Newer, "kept");
  SetAge(Newer, 365 * 86400LL);
  TInstallerRun Run;
  RunInstall(Run);
  ExpectSuccess(Run);
  for (const auto& Job : Jobs) {
    if (Job.Dest == Newer) continue;
    EXPECT_GT(AgeOf(Job.Dest), -3600) << Job.Dest << " replaced";
  }
  EXPECT_EQ(ReadFileText(Newer), "kept");
  EXPECT_GT(AgeOf(Newer), 300 * 86400LL);
  EXPECT_EQ(ToolRuns().size(), 4u);
}

TEST_F(Install, AFolderInTheTempFolderStopsTheExtraction) {
  ASSERT_TRUE(CreateDirectoryA((TempDir() + "QVProt.dll").c_str(), nullptr));
  TInstallerRun Run;
  RunInstall(Run);
  EXPECT_EQ(Run.Messages, std::vector<std::string>{"Cannot extract file <" + TempDir() + "QVProt.dll>"});
  EXPECT_EQ(Run.Captions, std::vector<std::string>{"Install"});
  RemoveDirectoryA((TempDir() + "QVProt.dll").c_str());
  ExpectFailure(Run, 19);
  EXPECT_FALSE(Exists(InstallDir()));
  EXPECT_TRUE(ToolRuns().empty());
}

// A temp folder that does not fit the installer's 129-character buffer is no
// folder: started from the install folder, the installer must neither write
// its payload there nor delete the installed program at its clean-up.
TEST_F(Install, ATempFolderTooLongForTheBufferStopsTheExtractionAndSparesTheCurrentFolder) {
  const std::string Long = TempDir() + std::string(130, 'x');
  ASSERT_TRUE(CreateDirectoryA(Long.c_str(), nullptr));
  const std::string Installed = InstallDir() + "Quorvale.exe";
  ASSERT_TRUE(CreateDirectoryA((SpecialFolder(CSIDL_PROGRAM_FILES) + "Quorvale").c_str(), nullptr));
  ASSERT_TRUE(CreateDirectoryA(InstallDir().c_str(), nullptr));
  WriteFileText(Installed, "installed");
  SetEnvironmentVariableA("TMP", Long.c_str());
  SetEnvironmentVariableA("TEMP", Long.c_str());
  TInstallerRun Run;
  ASSERT_TRUE(Run.Start(InstallDir()));
  ASSERT_TRUE(Run.Install());
  ExpectFailure(Run, 19);
  EXPECT_EQ(ReadFileText(Installed), "installed");
  for (const auto& File : Payload)
    if (std::string(File.FileName) != "Quorvale.exe") EXPECT_FALSE(Exists(InstallDir() + File.FileName)) << File.FileName;
  EXPECT_TRUE(Run.Messages.empty());
  EXPECT_TRUE(ToolRuns().empty());
}

TEST_F(Install, AFileInTheWayOfTheInstallFolderStopsTheCopy) {
  const std::string InTheWay = SpecialFolder(CSIDL_PROGRAM_FILES) + "Quorvale";
  WriteFileText(InTheWay, "a file");
  TInstallerRun Run;
  RunInstall(Run);
  EXPECT_EQ(Run.Messages, std::vector<std::string>{"Cannot create directory <" + InstallDir() + ">"});
  ExpectFailure(Run, 20);
  EXPECT_EQ(ReadFileText(InTheWay), "a file");
  EXPECT_FALSE(Exists(MenuLink()));
  EXPECT_TRUE(ToolRuns().empty());
}

TEST_F(Install, AHeldSystemLibraryStopsTheCopyWithoutAStrayFile) {
  const std::string Held = SystemDir() + "QVProt.dll";
  WriteFileText(Held, "in use");
  SetAge(Held, -86400);
  const HANDLE File = CreateFileA(Held.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(File, INVALID_HANDLE_VALUE);
  TInstallerRun Run;
  RunInstall(Run);
  CloseHandle(File);
  EXPECT_EQ(Run.Messages, std::vector<std::string>{"Cannot create file <" + Held + ">"});
  ExpectFailure(Run, 20);
  EXPECT_EQ(ReadFileText(Held), "in use");
  EXPECT_FALSE(Exists(SystemDir() + "QVProt.dl_"));
  EXPECT_EQ(ReadFileText(InstallDir() + "Quorvale.exe"), PayloadBytes("QUORVALE_EXE")) << "copied before stays";
  EXPECT_FALSE(Exists(SystemDir() + "ThemedDLL.dll")) << "nothing after the failure";
  EXPECT_FALSE(Exists(MenuLink()));
}

TEST_F(Install, AnUnwritableProgramsFolderStopsTheShortcuts) {
  // A file where the menu folder should be: the folder cannot be made and no
  // link can be saved in it.
  WriteFileText(SpecialFolder(CSIDL_PROGRAMS) + "Quorvale", "a file");
  TInstallerRun Run;
  RunInstall(Run);
  EXPECT_TRUE(Run.Messages.empty());
  ExpectFailure(Run, 21);
  ExpectInstalledFiles();
  EXPECT_FALSE(Exists(DesktopLink()));
  EXPECT_TRUE(ToolRuns().empty());
}

TEST_F(Install, AProgramsMenuTheShellCannotNameStopsTheShortcuts) {
  // The Programs menu moved to a drive that does not exist: the shell names no
  // folder, and no link may be written relative to wherever the installer runs.
  HKEY Key;
  ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders",
                          0, KEY_ALL_ACCESS, &Key),
            ERROR_SUCCESS);
  const char Nowhere[] = "Q:\\Nowhere";
  RegSetValueExA(Key, "Programs", 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>(Nowhere), sizeof Nowhere);
  RegCloseKey(Key);
  ASSERT_EQ(SpecialFolder(CSIDL_PROGRAMS), "");
  TInstallerRun Run;
  RunInstall(Run);
  EXPECT_TRUE(Run.Messages.empty());
  ExpectFailure(Run, 21);
  EXPECT_FALSE(Exists(DesktopLink()));
  EXPECT_FALSE(Exists("Quorvale\\Desktop.lnk")) << "in the folder the installer was started in";
}

TEST_F(Install, TheToolFailingOnItsFirstRunStopsTheDriverStep) {
  SetToolBehaviour("1");
  TInstallerRun Run;
  RunInstall(Run);
  Run.Screenshot("installer-failed");
  EXPECT_TRUE(Run.Messages.empty());
  ExpectFailure(Run, 22);
  EXPECT_EQ(ToolRuns(), std::vector<std::string>{ToolLine("WDREG_GUI.EXE", "windrvr6.inf")});
  EXPECT_TRUE(Exists(DesktopLink()));
  Run.Click(F::idCancel);
  EXPECT_TRUE(Run.WaitForExit(5000)) << "Close ends the program";
}

TEST_F(Install, TheToolFailingOnItsSecondRunStopsTheDriverStep) {
  SetToolBehaviour("0,1");
  TInstallerRun Run;
  RunInstall(Run);
  ExpectFailure(Run, 22);
  EXPECT_EQ(ToolRuns().size(), 2u);
}

TEST_F(Install, AWorkingDriverWithItsKeyOffersTheChoice) {
  MapDriverDevice();
  AddDeviceKey();
  {
    TInstallerRun Run;
    ASSERT_TRUE(Run.Start());
    ASSERT_TRUE(Run.Visible(F::idInstallUSBDrv));
    EXPECT_EQ(Run.Text(F::idInstallUSBDrv), "Reinstall USB driver");
    EXPECT_EQ(SendMessageA(Run.Control(F::idInstallUSBDrv), BM_GETCHECK, 0, 0), BST_CHECKED);
    SendMessageA(Run.Control(F::idInstallUSBDrv), BM_SETCHECK, BST_UNCHECKED, 0);
    ASSERT_TRUE(Run.Install());
    ExpectSuccess(Run);
    EXPECT_FALSE(IsWindowEnabled(Run.Control(F::idInstallUSBDrv)));
    EXPECT_TRUE(ToolRuns().empty()) << "cleared: no registration";
  }
  TInstallerRun Run;
  RunInstall(Run);
  ExpectSuccess(Run);
  EXPECT_EQ(ToolRuns().size(), 2u) << "ticked: registered again";
}

TEST_F(Install, AWorkingDriverWithoutItsKeyIsRegisteredWithoutAChoice) {
  MapDriverDevice();
  TInstallerRun Run;
  ASSERT_TRUE(Run.Start());
  EXPECT_FALSE(Run.Visible(F::idInstallUSBDrv));
  ASSERT_TRUE(Run.Install());
  ExpectSuccess(Run);
  EXPECT_EQ(ToolRuns().size(), 2u);
}

TEST_F(Install, RefusedWindowsVersionsWriteNothing) {
  const struct {
    const char* Version;
    const char* Name;
  } Cases[] = {{"win95", "Windows 95"}, {"nt40", "Windows NT 4.0"}, {"nt351", "Windows NT 3.51"}};
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Version);
    SetWindowsVersion(C.Version);
    TInstallerRun Run;
    ASSERT_TRUE(Run.Start());
    EXPECT_FALSE(Run.Window()) << "no window shows";
    Run.AnswerBoxes(2000);
    EXPECT_EQ(Run.Messages, std::vector<std::string>{"<" + std::string(C.Name) + "> is not supported by Quorvale Desktop"});
    EXPECT_EQ(Run.Captions, std::vector<std::string>{"Install"});
    EXPECT_TRUE(Run.WaitForExit(5000));
  }
  ExpectTempFilesGone();
  EXPECT_FALSE(Exists(InstallDir()));
  EXPECT_FALSE(Exists(DesktopLink()));
}

TEST_F(Install, Windows98AndMERegisterTheKernelDriverOnlyAndNameTheDeviceInf) {
  for (const char* Version : {"win98", "winme"}) {
    SCOPED_TRACE(Version);
    SetWindowsVersion(Version);
    DeleteFileA((TempDir() + "wdreg-runs.log").c_str());
    TInstallerRun Run;
    RunInstall(Run);
    ExpectSuccess(Run, {FormatText(TextsEN[17], DeviceInfPath(InstallDir()))});
    EXPECT_EQ(ToolRuns(), std::vector<std::string>{ToolLine("WDREG16.EXE", "windrvr6.inf")});
  }
}

// A log-off asks every window first (WM_QUERYENDSESSION): while the tool
// runs it is refused as a close is, so the session does not end mid-install.
TEST_F(Install, CloseIsRefusedWhileTheToolRunsAndAllowedAfter) {
  SetToolBehaviour("0", 3000);
  TInstallerRun Run;
  ASSERT_TRUE(Run.Start());
  const auto LogOffAllowed = [&] {
    DWORD_PTR Answer = 0;
    EXPECT_TRUE(SendMessageTimeoutA(Run.Window(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_BLOCK, 5000, &Answer));
    return Answer != 0;
  };
  EXPECT_TRUE(LogOffAllowed()) << "before the install";
  Run.Click(F::idInstall);
  for (int I = 0; I < 400 && ToolRuns().empty(); ++I) Sleep(25);
  ASSERT_EQ(ToolRuns().size(), 1u) << "the tool runs";
  PostMessageA(Run.Window(), WM_CLOSE, 0, 0);
  PostMessageA(Run.Window(), WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_FALSE(LogOffAllowed()) << "during the install";
  Sleep(500);
  EXPECT_TRUE(IsWindow(Run.Window())) << "the close was refused";
  EXPECT_FALSE(Run.WaitForExit(0));
  // Nor does a second click start the install again inside the tool's wait.
  Run.Click(F::idInstall);
  ASSERT_TRUE(Run.WaitForEnd());
  ExpectSuccess(Run);
  EXPECT_TRUE(LogOffAllowed()) << "after the install";
  PostMessageA(Run.Window(), WM_CLOSE, 0, 0);
  EXPECT_TRUE(Run.WaitForExit(5000)) << "closing after the install ends the program";
}

// What Explorer shows of Install.exe: its icon and version.
TEST(Resources, VersionAndIcon) {
  const std::string Path = BuildPath(QV_BIN_DIR) + "\\Install.exe";
  DWORD Ignored = 0;
  std::string Block(GetFileVersionInfoSizeA(Path.c_str(), &Ignored), '\0');
  ASSERT_FALSE(Block.empty());
  ASSERT_TRUE(GetFileVersionInfoA(Path.c_str(), 0, static_cast<DWORD>(Block.size()), &Block[0]));
  const auto Value = [&](const char* Name) {
    char* Text = nullptr;
    UINT Size = 0;
    const std::string Key = std::string("\\StringFileInfo\\040704E4\\") + Name;
    return VerQueryValueA(Block.data(), Key.c_str(), reinterpret_cast<void**>(&Text), &Size) ? std::string(Text)
                                                                                            : std::string("<none>");
  };
  EXPECT_EQ(Value("FileDescription"), "Quorvale Desktop Installer");
  EXPECT_EQ(Value("FileVersion"), "1.0.4.0");
  EXPECT_EQ(Value("ProductVersion"), "1.0.3.0");
  EXPECT_NE(Value("CompanyName"), "<none>");
  EXPECT_NE(Value("LegalCopyright"), "<none>");
  const HMODULE Module = LoadLibraryExA(Path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_TRUE(Module);
  const HICON Icon = static_cast<HICON>(LoadImageA(Module, "MAINICON", IMAGE_ICON, 32, 32, 0));
  EXPECT_TRUE(Icon);
  if (Icon) DestroyIcon(Icon);
  for (const auto& File : Payload) EXPECT_FALSE(PayloadBytes(File.Resource).empty()) << File.Resource;
  FreeLibrary(Module);
}

// Run once per locale; QV_EXPECT_LANGUAGE names the table the locale selects.
TEST(Language, ChosenByTheLocaleAndCancelWritesNothing) {
  const char* Expected = std::getenv("QV_EXPECT_LANGUAGE");
  ASSERT_TRUE(Expected);
  const TInstallTexts& Texts = TextsOf(std::atoi(Expected));
  TInstallerRun Run;
  ASSERT_TRUE(Run.Start());
  EXPECT_EQ(Run.Text(F::idOS).rfind(std::string(Texts[1]) + " : ", 0), 0u) << Run.Text(F::idOS);
  EXPECT_EQ(Run.Text(F::idInstall), Texts[8]);
  EXPECT_EQ(Run.Text(F::idCancel), Texts[9]);
  EXPECT_EQ(Run.Text(F::idInstallUSBDrv), Texts[16]);
  Run.Click(F::idCancel);
  EXPECT_TRUE(Run.WaitForExit(5000)) << "Cancel closes at once";
  ExpectTempFilesGone();
  EXPECT_FALSE(Exists(InstallDir()));
}

}  // namespace
