#include "installer_driver_win.h"

#include <shlobj.h>

#include <gtest/gtest.h>

#include <cstdlib>

#include "frm_main_win.h"
#include "install_plan.h"
#include "link_types.h"

namespace {

std::string InstallerPath() { return BuildPath(QV_BIN_DIR) + "\\Install.exe"; }

std::string ToolLog() { return TempDir() + "wdreg-runs.log"; }

struct TFind {
  DWORD Pid;
  const char* Class;
  bool VisibleOnly;
  HWND Found;
};

BOOL CALLBACK FindWindowOf(HWND Window, LPARAM Param) {
  auto* F = reinterpret_cast<TFind*>(Param);
  DWORD Pid = 0;
  GetWindowThreadProcessId(Window, &Pid);
  char Class[64] = {};
  GetClassNameA(Window, Class, sizeof Class);
  if (Pid == F->Pid && std::string(Class) == F->Class && (!F->VisibleOnly || IsWindowVisible(Window))) {
    F->Found = Window;
    return FALSE;
  }
  return TRUE;
}

// Polls Done every 50 ms until it holds or Ms have passed; true when it held.
template <typename TDone>
bool PollFor(DWORD Ms, TDone Done) {
  const ULONGLONG Deadline = GetTickCount64() + Ms;
  for (;;) {
    if (Done()) return true;
    if (GetTickCount64() >= Deadline) return false;
    Sleep(50);
  }
}

std::string WindowTextOf(HWND Window) {
  char S[1024] = {};
  SendMessageA(Window, WM_GETTEXT, sizeof S, reinterpret_cast<LPARAM>(S));
  return S;
}

}  // namespace

TInstallerRun::~TInstallerRun() {
  if (FProcess.hProcess) {
    if (Running()) TerminateProcess(FProcess.hProcess, 1);
    CloseHandle(FProcess.hProcess);
    CloseHandle(FProcess.hThread);
  }
}

bool TInstallerRun::Start(const std::string& Folder) {
  STARTUPINFOA Startup{};
  Startup.cb = sizeof Startup;
  std::string Command = "\"" + InstallerPath() + "\"";
  if (!CreateProcessA(nullptr, &Command[0], nullptr, nullptr, FALSE, 0, nullptr,
                      Folder.empty() ? nullptr : Folder.c_str(), &Startup, &FProcess))
    return false;
  PollFor(Scaled(15000), [this] {
    TFind F{FProcess.dwProcessId, TfrmMain::ClassName, true, nullptr};
    EnumWindows(FindWindowOf, reinterpret_cast<LPARAM>(&F));
    FWindow = F.Found;
    return FWindow || FindBox() || !Running();
  });
  return FWindow || FindBox();
}

bool TInstallerRun::Running() const { return WaitForSingleObject(FProcess.hProcess, 0) == WAIT_TIMEOUT; }

HWND TInstallerRun::FindBox() const {
  TFind F{FProcess.dwProcessId, "#32770", true, nullptr};
  EnumWindows(FindWindowOf, reinterpret_cast<LPARAM>(&F));
  return F.Found;
}

std::string TInstallerRun::Text(int Id) const { return WindowTextOf(Control(Id)); }

void TInstallerRun::Click(int Id) {
  PostMessageA(FWindow, WM_COMMAND, MAKEWPARAM(Id, BN_CLICKED), reinterpret_cast<LPARAM>(Control(Id)));
}

void TInstallerRun::AnswerBox() {
  if (const HWND Box = FindBox()) {
    // The box's text is its static control 0xFFFF.
    Messages.push_back(WindowTextOf(GetDlgItem(Box, 0xFFFF)));
    Captions.push_back(WindowTextOf(Box));
    PostMessageA(Box, WM_COMMAND, IDOK, 0);
    while (IsWindow(Box)) Sleep(10);
  }
}

void TInstallerRun::AnswerBoxes(DWORD Ms) {
  PollFor(Scaled(Ms), [this] {
    AnswerBox();
    return !Running();
  });
}

bool TInstallerRun::Install() {
  Click(TfrmMain::idInstall);
  return WaitForEnd();
}

bool TInstallerRun::WaitForEnd() {
  // The install hides both buttons at its start, then shows the status text,
  // and shows the cancel button again at its end. The status text is the
  // sign of the start: between the two hides the cancel button still shows.
  const auto Started = [this] { return !Visible(TfrmMain::idInstall) && Visible(TfrmMain::idInfo); };
  if (!PollFor(Scaled(30000), Started)) return false;
  const bool Ended = PollFor(Scaled(60000), [this] {
    AnswerBox();
    return Visible(TfrmMain::idCancel);
  });
  if (Ended) Sleep(Scaled(100));  // the last repaint
  return Ended;
}

bool TInstallerRun::WaitForExit(DWORD Ms) { return WaitForSingleObject(FProcess.hProcess, Scaled(Ms)) == WAIT_OBJECT_0; }

COLORREF TInstallerRun::PixelOf(int Id, int X, int Y) const {
  RECT R;
  GetWindowRect(Control(Id), &R);
  const HDC Screen = GetDC(nullptr);
  const COLORREF C = GetPixel(Screen, R.left + X, R.top + Y);
  ReleaseDC(nullptr, Screen);
  return C;
}

std::vector<DWORD> TInstallerRun::PixelsOf(int Id) const {
  RECT R;
  GetWindowRect(Control(Id), &R);
  std::vector<DWORD> Pixels;
  const HDC Screen = GetDC(nullptr);
  for (int Y = R.top; Y < R.bottom; Y += 2)
    for (int X = R.left; X < R.right; X += 2) Pixels.push_back(GetPixel(Screen, X, Y));
  ReleaseDC(nullptr, Screen);
  return Pixels;
}

void TInstallerRun::Screenshot(const char* Name) const {
  char Folder[MAX_PATH] = {};
  if (!GetEnvironmentVariableA("QV_SHOT_DIR", Folder, MAX_PATH)) return;
  RECT R;
  GetWindowRect(FWindow, &R);
  const int W = R.right - R.left, H = R.bottom - R.top;
  BITMAPINFOHEADER Info{sizeof Info, W, H, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  const DWORD Stride = (W * 3 + 3) & ~3u;
  Info.biSizeImage = Stride * H;
  void* Bits = nullptr;
  const HDC Screen = GetDC(nullptr);
  const HBITMAP Picture =
      CreateDIBSection(Screen, reinterpret_cast<BITMAPINFO*>(&Info), DIB_RGB_COLORS, &Bits, nullptr, 0);
  const HDC Dc = CreateCompatibleDC(Screen);
  const HGDIOBJ Old = SelectObject(Dc, Picture);
  BitBlt(Dc, 0, 0, W, H, Screen, R.left, R.top, SRCCOPY);
  GdiFlush();
  BITMAPFILEHEADER File{0x4D42, static_cast<DWORD>(sizeof(BITMAPFILEHEADER) + sizeof Info + Info.biSizeImage), 0, 0,
                        sizeof(BITMAPFILEHEADER) + sizeof Info};
  std::string Bytes(reinterpret_cast<const char*>(&File), sizeof File);
  Bytes.append(reinterpret_cast<const char*>(&Info), sizeof Info);
  Bytes.append(static_cast<const char*>(Bits), Info.biSizeImage);
  WriteFileText(BuildPath(Folder) + "\\" + Name + ".bmp", Bytes);
  SelectObject(Dc, Old);
  DeleteDC(Dc);
  DeleteObject(Picture);
  ReleaseDC(nullptr, Screen);
}

DWORD Scaled(DWORD Ms) {
  char Text[16];
  const DWORD Length = GetEnvironmentVariableA("QV_TIME_SCALE", Text, sizeof Text);
  const unsigned long Scale = Length > 0 && Length < sizeof Text ? std::strtoul(Text, nullptr, 10) : 0;
  return Scale > 1 ? static_cast<DWORD>(Ms * Scale) : Ms;
}

std::string SpecialFolder(int Csidl) {
  char Path[MAX_PATH] = {};
  SHGetFolderPathA(nullptr, Csidl, nullptr, 0, Path);
  return *Path ? std::string(Path) + "\\" : std::string();
}

std::string InstallDir() { return SpecialFolder(CSIDL_PROGRAM_FILES) + "Quorvale\\Desktop\\"; }

std::string SystemDir() {
  char Path[MAX_PATH] = {};
  GetSystemDirectoryA(Path, MAX_PATH);
  return std::string(Path) + "\\";
}

std::string TempDir() {
  char Path[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, Path);
  return Path;
}

void SetWindowsVersion(const char* Version) {
  HKEY Key;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Wine\\AppDefaults\\Install.exe", 0, nullptr, 0,
                            KEY_ALL_ACCESS, nullptr, &Key, nullptr),
            ERROR_SUCCESS);
  RegSetValueExA(Key, "Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(Version), static_cast<DWORD>(strlen(Version) + 1));
  RegCloseKey(Key);
}

void MapDriverDevice() {
  char Prefix[MAX_PATH] = {};
  ASSERT_TRUE(GetEnvironmentVariableA("WINEPREFIX", Prefix, MAX_PATH));
  WriteFileText(BuildPath(Prefix) + "\\dosdevices\\windrvr6", "");
}

void AddDeviceKey() {
  HKEY Key;
  ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, DeviceKeyPath(PhoneVendorId, PhoneProductId).c_str(), 0, nullptr, 0,
                            KEY_ALL_ACCESS, nullptr, &Key, nullptr),
            ERROR_SUCCESS);
  RegCloseKey(Key);
}

void SetToolBehaviour(const char* ExitCodes, int DelayMs) {
  SetEnvironmentVariableA("QV_WDREG_LOG", ToolLog().c_str());
  SetEnvironmentVariableA("QV_WDREG_EXIT", ExitCodes);
  SetEnvironmentVariableA("QV_WDREG_DELAY_MS", std::to_string(DelayMs).c_str());
}

std::vector<std::string> ToolRuns() {
  std::vector<std::string> Runs;
  const std::string Log = ReadFileText(ToolLog());
  for (size_t At = 0; At < Log.size();) {
    const size_t End = Log.find('\n', At);
    Runs.push_back(Log.substr(At, End - At));
    At = End == std::string::npos ? Log.size() : End + 1;
  }
  return Runs;
}

std::string PayloadBytes(const char* Name) {
  static const HMODULE Module = LoadLibraryExA(InstallerPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  const HRSRC Info = FindResourceA(Module, Name, "FILELIST");
  const HGLOBAL Loaded = Info ? LoadResource(Module, Info) : nullptr;
  if (!Loaded) return "<no resource " + std::string(Name) + ">";
  return std::string(static_cast<const char*>(LockResource(Loaded)), SizeofResource(Module, Info));
}
