// Single-instance check through the named shared memory.
#include "single_instance_win.h"

#include <cstdint>
#include <cstring>

#include "globals_win.h"
#include "messages_win.h"

HANDLE ShareMemHandle = nullptr;

bool CheckSingleInstance() {
  ShareMemHandle = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 4, ShareMemName);
  if (!ShareMemHandle) return false;
  const bool Existed = GetLastError() == ERROR_ALREADY_EXISTS;
  ShareMemView = MapViewOfFile(ShareMemHandle, FILE_MAP_WRITE, 0, 0, 0);
  if (!ShareMemView) return false;
  if (!Existed) return true;
  uint32_t Stored;
  std::memcpy(&Stored, ShareMemView, sizeof(Stored));
  HWND Running = static_cast<HWND>(LongToHandle(static_cast<LONG>(Stored)));
  if (Stored != 0 && IsWindow(Running)) {
    // This process was just started and owns the foreground; the running one
    // does not, and without leave Windows would only flash its task bar
    // button when it asks for the foreground.
    DWORD RunningProcess = 0;
    GetWindowThreadProcessId(Running, &RunningProcess);
    AllowSetForegroundWindow(RunningProcess);
    PostMessageA(Running, WM_ACTIVATEINSTANCE, 0, 0);
    return false;
  }
  return true;
}

void ReleaseSingleInstance() {
  if (ShareMemView) UnmapViewOfFile(ShareMemView);
  if (ShareMemHandle) CloseHandle(ShareMemHandle);
  ShareMemView = nullptr;
  ShareMemHandle = nullptr;
}

void StoreMainWindow(HWND Window) {
  if (!ShareMemView) return;
  const uint32_t Value = static_cast<uint32_t>(HandleToUlong(Window));
  std::memcpy(ShareMemView, &Value, sizeof(Value));
}
