#include "thread_object_win.h"

#include "host_call_win.h"

TThreadObject::TThreadObject() {
  FRunning = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  FHandle = CreateThread(nullptr, 0, ThreadProc, this, CREATE_SUSPENDED, &FThreadId);
}

TThreadObject::~TThreadObject() {
  Terminate();
  // A thread that never started is let run to its end without its body.
  Start();
  WaitFor();
  if (FHandle) CloseHandle(FHandle);
  if (FRunning) CloseHandle(FRunning);
}

void TThreadObject::Start() {
  if (FStarted || !FHandle) return;
  FStarted = true;
  ResumeThread(FHandle);
  // Messages posted to the thread from now on find its queue.
  WaitForSingleObject(FRunning, INFINITE);
}

void TThreadObject::WaitFor() {
  if (FStarted && FHandle) WaitForThreadEnd(FHandle);
}

DWORD WINAPI TThreadObject::ThreadProc(void* Self) {
  auto* thread = static_cast<TThreadObject*>(Self);
  MSG message;
  PeekMessageA(&message, nullptr, WM_USER, WM_USER, PM_NOREMOVE);
  SetEvent(thread->FRunning);
  if (!thread->Terminated()) thread->Execute();
  return 0;
}
