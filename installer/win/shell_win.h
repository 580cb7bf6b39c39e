// What the install asks of Windows and its shell: the three folders, the
// special folders of the current user, the shortcuts, and starting the
// registration tool and waiting for it while the window stays responsive.
#pragma once

#include <windows.h>

#include <string>

// The folders, each ending in a backslash. The temp and the system folder are
// empty when Windows names none or the folder does not fit the 129-character
// buffer it is read into.
std::string GetTempDir();
std::string GetSystemDir();
// The Program Files folder (or "C:" when the shell names none) plus
// "\Quorvale\Desktop\".
std::string GetInstallDir(HWND Owner);
// The shell's path of a special folder with a trailing backslash; empty when
// the shell names none.
std::string GetSpecialFolder(int Csidl);

// Writes a shell link at LinkPath to Target with Description; false when the
// link object cannot be made or the link cannot be saved.
bool CreateShortcut(const std::string& Target, const std::string& LinkPath, const std::string& Description);

// Starts FileName with Parameters through the shell and waits for it; true
// exactly when it ran and ended with exit code 0.
bool RunAndWait(const std::string& FileName, const std::string& Parameters);
// The wait of RunAndWait: true when Process ends with exit code 0. The
// thread's window messages are handled every 50 ms while it waits. A missing
// handle or a wait that fails counts as failure instead of waiting forever.
bool WaitForSuccess(HANDLE Process);
