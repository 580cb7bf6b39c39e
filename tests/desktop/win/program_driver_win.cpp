// Program driver for the Wine tests; see program_driver_win.h.
#include "program_driver_win.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

std::string Windows(std::string Path) {
  std::replace(Path.begin(), Path.end(), '/', '\\');
  return "Z:" + Path;
}

const char* const AppDefaults = "Software\\Wine\\AppDefaults\\";

struct TEnumState {
  DWORD Process;
  std::vector<HWND> Found;
};

BOOL CALLBACK CollectTopLevel(HWND W, LPARAM Param) {
  auto* S = reinterpret_cast<TEnumState*>(Param);
  DWORD Process = 0;
  GetWindowThreadProcessId(W, &Process);
  if (Process == S->Process && IsWindowVisible(W)) S->Found.push_back(W);
  return TRUE;
}

BOOL CALLBACK CollectText(HWND W, LPARAM Param) {
  reinterpret_cast<std::vector<std::wstring>*>(Param)->push_back(TextOf(W));
  return TRUE;
}

}  // namespace

std::string BuildFile(const std::string& Name) { return Windows(QV_BIN_DIR "/" + Name); }

std::string ScratchFolder(const std::string& Name) {
  const std::string Folder = Windows(QV_SCRATCH_DIR "/" + Name);
  // Old contents first: a module left from another run would change the language.
  WIN32_FIND_DATAA Found;
  HANDLE Find = FindFirstFileA((Folder + "\\*").c_str(), &Found);
  if (Find != INVALID_HANDLE_VALUE) {
    do {
      if (!(Found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) DeleteFileA((Folder + "\\" + Found.cFileName).c_str());
    } while (FindNextFileA(Find, &Found));
    FindClose(Find);
  }
  CreateDirectoryA(Windows(QV_SCRATCH_DIR).c_str(), nullptr);
  CreateDirectoryA(Folder.c_str(), nullptr);
  return Folder;
}

void CopyInto(const std::string& From, const std::string& Folder, const std::string& To) {
  ASSERT_TRUE(CopyFileA(From.c_str(), (Folder + "\\" + To).c_str(), FALSE)) << From << " error " << GetLastError();
}

void InstallProgram(const std::string& Folder, const std::string& Name) {
  CopyInto(BuildFile("Quorvale.exe"), Folder, Name + ".exe");
  CopyInto(BuildFile("QVProt.dll"), Folder, "QVProt.dll");
  CopyInto(BuildFile("wd_utils.dll"), Folder, "wd_utils.dll");
}

bool RunsIn(const std::string& Locale) {
  const char* Own = getenv("LC_ALL");
  return Own && Locale == Own;
}

bool WaitUntil(const std::function<bool()>& Condition, DWORD Milliseconds) {
  const DWORD Start = GetTickCount();
  for (;;) {
    if (Condition()) return true;
    if (GetTickCount() - Start > Milliseconds) return false;
    Sleep(10);
  }
}

TStartedProgram::TStartedProgram(const std::string& Exe, const std::string& Arguments, const std::string& Version) {
  if (!Version.empty()) {
    FVersionKey = AppDefaults + Exe.substr(Exe.find_last_of('\\') + 1);
    HKEY Key;
    EXPECT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, FVersionKey.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &Key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(Key, "Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(Version.c_str()),
                   static_cast<DWORD>(Version.size() + 1));
    RegCloseKey(Key);
  }
  std::string CommandLine = "\"" + Exe + "\" " + Arguments;
  STARTUPINFOA Startup{};
  Startup.cb = sizeof(Startup);
  const std::string Folder = Exe.substr(0, Exe.find_last_of('\\'));
  EXPECT_TRUE(CreateProcessA(Exe.c_str(), &CommandLine[0], nullptr, nullptr, FALSE, 0, nullptr, Folder.c_str(), &Startup, &FInfo))
      << Exe << " error " << GetLastError();
}

TStartedProgram::~TStartedProgram() {
  if (FInfo.hProcess) {
    if (!Ended(0)) {
      for (HWND W : Windows()) PostMessageA(W, WM_CLOSE, 0, 0);
      // Ended for good before the next start: a program still running would
      // hold the single-instance memory the next one asks.
      if (!Ended(5000)) {
        TerminateProcess(FInfo.hProcess, 99);
        Ended();
      }
    }
    CloseHandle(FInfo.hProcess);
    CloseHandle(FInfo.hThread);
  }
  if (!FVersionKey.empty()) RegDeleteKeyA(HKEY_CURRENT_USER, FVersionKey.c_str());
}

bool TStartedProgram::Ended(DWORD Milliseconds) {
  return FInfo.hProcess && WaitForSingleObject(FInfo.hProcess, Milliseconds) == WAIT_OBJECT_0;
}

DWORD TStartedProgram::ExitCode() {
  DWORD Code = 0;
  GetExitCodeProcess(FInfo.hProcess, &Code);
  return Code;
}

std::string TStartedProgram::State() {
  if (!FInfo.hProcess) return "not started";
  return Ended(0) ? "ended with " + std::to_string(ExitCode()) : "running";
}

std::vector<HWND> TStartedProgram::Windows() const {
  TEnumState S{FInfo.dwProcessId, {}};
  EnumWindows(CollectTopLevel, reinterpret_cast<LPARAM>(&S));
  return S.Found;
}

HWND TStartedProgram::WaitForWindow(const char* Class, DWORD Milliseconds) const {
  HWND Found = nullptr;
  WaitUntil(
      [&] {
        for (HWND W : Windows())
          if (ClassOf(W) == Class) Found = W;
        return Found != nullptr;
      },
      Milliseconds);
  return Found;
}

std::wstring TextOf(HWND Window) {
  // Cross-process, the wide call is the one Wine converts reliably.
  wchar_t Buffer[1024] = {};
  DWORD_PTR Length = 0;
  SendMessageTimeoutW(Window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(Buffer), SMTO_ABORTIFHUNG, 5000, &Length);
  return std::wstring(Buffer, std::min<DWORD_PTR>(Length, 1023));
}

std::string ClassOf(HWND Window) {
  char Name[256] = {};
  GetClassNameA(Window, Name, sizeof(Name));
  return Name;
}

std::vector<std::wstring> ChildTexts(HWND Window) {
  std::vector<std::wstring> Texts;
  EnumChildWindows(Window, CollectText, reinterpret_cast<LPARAM>(&Texts));
  return Texts;
}

bool HasChildText(HWND Window, const std::wstring& Text) {
  const std::vector<std::wstring> Texts = ChildTexts(Window);
  return std::find(Texts.begin(), Texts.end(), Text) != Texts.end();
}
