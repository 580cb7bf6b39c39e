#include "host_call_win.h"

#include <vector>

namespace {

constexpr UINT WM_HOSTCALL = WM_APP + 1;
const char HostWindowClass[] = "QVProtHostCall";

// Written once by the first thread that opens a link, read by every library thread.
HWND gHostWindow = nullptr;
DWORD gHostThreadId = 0;
// Host thread only.
int gHostCallDepth = 0;
std::vector<std::function<void()>> gAfterHostCalls;

LRESULT CALLBACK HostWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_HOSTCALL) {
    ++gHostCallDepth;
    (*reinterpret_cast<const std::function<void()>*>(lParam))();
    if (--gHostCallDepth == 0 && !gAfterHostCalls.empty()) {
      // The operations may wait for the thread that made this call: it goes on first.
      ReplyMessage(0);
      std::vector<std::function<void()>> operations;
      operations.swap(gAfterHostCalls);
      for (const auto& operation : operations) operation();
    }
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

HINSTANCE ThisModule() {
  HMODULE module = nullptr;
  GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCSTR>(&HostWindowProc), &module);
  return module;
}

}  // namespace

void InitHostThread() {
  if (gHostWindow) return;
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = HostWindowProc;
  windowClass.hInstance = ThisModule();
  windowClass.lpszClassName = HostWindowClass;
  RegisterClassA(&windowClass);
  gHostWindow = CreateWindowExA(0, HostWindowClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, windowClass.hInstance,
                                nullptr);
  if (gHostWindow) gHostThreadId = GetCurrentThreadId();
}

bool IsHostThread() { return GetCurrentThreadId() == gHostThreadId; }

void RunInHostThread(const std::function<void()>& Operation) {
  if (IsHostThread() || !gHostWindow) {
    Operation();
    return;
  }
  SendMessageA(gHostWindow, WM_HOSTCALL, 0, reinterpret_cast<LPARAM>(&Operation));
}

bool InsideHostCall() { return gHostCallDepth > 0; }

void AfterHostCalls(std::function<void()> Operation) {
  if (!InsideHostCall()) {
    Operation();
    return;
  }
  gAfterHostCalls.push_back(std::move(Operation));
}

void WaitForThreadEnd(HANDLE Thread) {
  if (!IsHostThread()) {
    WaitForSingleObject(Thread, INFINITE);
    return;
  }
  // Only sent messages are taken here: posted ones stay for the host's own loop.
  while (MsgWaitForMultipleObjects(1, &Thread, FALSE, INFINITE, QS_SENDMESSAGE) == WAIT_OBJECT_0 + 1) {
    MSG message;
    PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
  }
}

void ReleaseHostThread() {
  if (!gHostWindow || !IsHostThread()) return;
  DestroyWindow(gHostWindow);
  UnregisterClassA(HostWindowClass, ThisModule());
  gHostWindow = nullptr;
  gHostThreadId = 0;
}
