// The thread objects of the link library (protocol driver, USB port, serial
// port): created suspended and started explicitly; the body (Execute) runs
// until it returns and tests the terminate flag; stopping sets the flag and
// waits for the thread when it was started. The thread's message queue exists
// before Start returns, so thread messages posted to it are never lost. A derived class stops its thread
// in its own destructor, before the members that Execute uses go away.
#pragma once

#include <windows.h>

#include <atomic>

class TThreadObject {
 public:
  TThreadObject(const TThreadObject&) = delete;
  TThreadObject& operator=(const TThreadObject&) = delete;
  virtual ~TThreadObject();

  void Start();
  DWORD ThreadId() const { return FThreadId; }

 protected:
  TThreadObject();
  virtual void Execute() = 0;
  bool Terminated() const { return FTerminated.load(); }
  // Sets the terminate flag; a derived class then wakes its body its own way.
  void Terminate() { FTerminated = true; }
  // Waits for the body to end when it was started (keeps running host calls
  // when called in the host thread).
  void WaitFor();

 private:
  static DWORD WINAPI ThreadProc(void* Self);

  HANDLE FHandle = nullptr;
  HANDLE FRunning = nullptr;  // set by the thread once its message queue exists
  DWORD FThreadId = 0;
  bool FStarted = false;                  // host thread only
  std::atomic<bool> FTerminated{false};  // set by the stopping thread, read by the body
};
