// Drives the real Install.exe from outside, as a user would: starts it, reads
// and clicks its controls, answers its message boxes (keeping their texts),
// takes screenshots; and prepares the Windows state a case needs (version,
// driver device, device key, the registration tool's behaviour). Every wait
// is a time limit, never a pace: it grows with QV_TIME_SCALE (see Scaled).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "test_files_win.h"

class TInstallerRun {
 public:
  ~TInstallerRun();
  // Starts Install.exe, in Folder when one is given; true once its window
  // shows or a message box does (a refused Windows version shows only the box).
  bool Start(const std::string& Folder = "");
  HWND Window() const { return FWindow; }
  HWND Control(int Id) const { return GetDlgItem(FWindow, Id); }
  std::string Text(int Id) const;
  bool Visible(int Id) const { return IsWindowVisible(Control(Id)) != FALSE; }
  void Click(int Id);
  // Presses Install and waits until the cancel button shows again, answering
  // every message box on the way; false on a time-out.
  bool Install();
  // Waits for the end of an install that has been started.
  bool WaitForEnd();
  // Answers the message boxes that show within Ms milliseconds (scaled).
  void AnswerBoxes(DWORD Ms);
  // Waits Ms milliseconds (scaled) for the program to end; false on a time-out.
  bool WaitForExit(DWORD Ms);
  bool Running() const;
  // The screen colour at (X, Y) inside control Id.
  COLORREF PixelOf(int Id, int X, int Y) const;
  // The pixels of control Id as shown now.
  std::vector<DWORD> PixelsOf(int Id) const;
  // Saves the window's picture as NAME.bmp in the screenshot folder.
  void Screenshot(const char* Name) const;

  std::vector<std::string> Messages;  // message box texts, in order
  std::vector<std::string> Captions;  // and their captions

 private:
  HWND FindBox() const;
  // Answers the message box showing now, if one does.
  void AnswerBox();
  PROCESS_INFORMATION FProcess{};
  HWND FWindow = nullptr;
};

// Ms times QV_TIME_SCALE, the factor by which every step of a Wine program
// is slower here than where the waits were measured: unset or 1 where 32-bit
// x86 runs natively; tools/test.sh sets it for the i686 build where it is
// emulated and each 32-bit Wine process costs about a minute.
DWORD Scaled(DWORD Ms);

// Folders as the installer finds them (same bitness as this driver).
std::string InstallDir();
std::string SystemDir();
std::string TempDir();
// With a trailing backslash; empty when the shell names none.
std::string SpecialFolder(int Csidl);

// The Windows version Install.exe reports (Wine's per-program setting).
void SetWindowsVersion(const char* Version);
// Lets "\\.\windrvr6" open, as the vendor's working kernel driver does.
void MapDriverDevice();
void AddDeviceKey();
// The registration tool's exit codes by run and its delay (see the stand-in).
void SetToolBehaviour(const char* ExitCodes, int DelayMs = 0);
// The command lines of the tool's runs so far.
std::vector<std::string> ToolRuns();

// The bytes of the payload resource Name inside Install.exe.
std::string PayloadBytes(const char* Name);
