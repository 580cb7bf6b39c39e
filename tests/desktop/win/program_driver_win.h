// Driving the real desktop program from outside, as a user's system would:
// copies of the program and its modules in a folder of their own, a start,
// and the windows and dialogs the started process shows, found and read
// through the window manager's calls. Every wait is for a condition, with a
// deadline.
//
// Under Wine a program takes its locale from the Unix environment of the Wine
// session, not from the environment block its parent hands it, so the driver
// runs once per locale (LC_ALL set by CTest) and each case runs in the pass
// of its own locale.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// The Windows path of a file of the build (bin folder) and a fresh scratch
// folder for one test, emptied first.
std::string BuildFile(const std::string& Name);
std::string ScratchFolder(const std::string& Name);
// Copies From to the file Folder\To.
void CopyInto(const std::string& From, const std::string& Folder, const std::string& To);

// Puts the program into Folder as Name.exe, with the link library it binds
// at load time (and the USB library stand-in that one binds), as the
// installer's system folder would provide them.
void InstallProgram(const std::string& Folder, const std::string& Name);

// True when this run of the driver is the pass for Locale ("de_DE.UTF-8").
bool RunsIn(const std::string& Locale);
#define QV_ONLY_IN_LOCALE(Locale) \
  if (!RunsIn(Locale)) GTEST_SKIP() << "runs in the " << (Locale) << " pass"

// The bound of a wait for the program: generous, as a loaded machine takes
// seconds for what otherwise takes a fraction of one.
constexpr DWORD LongWait = 30000;

// Polls Condition until it holds or Milliseconds have passed.
bool WaitUntil(const std::function<bool()>& Condition, DWORD Milliseconds = LongWait);

class TStartedProgram {
 public:
  // Starts Exe; Version, when not empty, is the Windows version Wine reports
  // to this program name ("win95", "nt40" ...).
  TStartedProgram(const std::string& Exe, const std::string& Arguments = "", const std::string& Version = "");
  ~TStartedProgram();

  DWORD Id() const { return FInfo.dwProcessId; }
  bool Ended(DWORD Milliseconds = LongWait);
  DWORD ExitCode();
  // "running", "ended with N" or "not started": what a failed wait for a window reports.
  std::string State();
  // The visible top-level windows of the process.
  std::vector<HWND> Windows() const;
  // The first visible top-level window of class Class, waited for.
  HWND WaitForWindow(const char* Class, DWORD Milliseconds = LongWait) const;

 private:
  PROCESS_INFORMATION FInfo{};
  std::string FVersionKey;
};

std::wstring TextOf(HWND Window);
std::string ClassOf(HWND Window);
// The texts of every child window, nested ones included.
std::vector<std::wstring> ChildTexts(HWND Window);
bool HasChildText(HWND Window, const std::wstring& Text);
