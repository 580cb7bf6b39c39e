// One instance at a time: a 4-byte named shared memory, backed by the paging
// file, holds the running instance's main window handle. The memory lives from
// CheckSingleInstance until ReleaseSingleInstance after the message loop.
#pragma once

#include <windows.h>

constexpr const char* ShareMemName = "CQuorvaleDesktopShareMem";

extern HANDLE ShareMemHandle;

// True: this instance may run. False: it must end, either because another
// instance's window is alive (it has been asked to come to the front) or
// because the memory could not be created or mapped.
bool CheckSingleInstance();
void ReleaseSingleInstance();

// The handle value stored in the memory: window handles carry 32 significant
// bits also in 64-bit Windows, and the memory holds 4 bytes.
void StoreMainWindow(HWND Window);
