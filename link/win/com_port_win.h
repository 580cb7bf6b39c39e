// TCOM_PORT: the link to a phone on a serial port, with overlapped I/O. The
// port thread sleeps in an overlapped WaitCommEvent until a character arrives
// or the stop event is set, then reads everything queued and hands each byte
// to the frame receiver. Writes come from the host thread and wait at most
// 2,000 ms; a write still pending then is cancelled and waited for, so it never
// outlives the caller's buffer or its OVERLAPPED.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

#include "thread_object_win.h"

class TCOM_PORT : public TThreadObject {
 public:
  TCOM_PORT();
  ~TCOM_PORT() override;

  void SetPortName(const std::string& Name);
  void SetBaudRate(DWORD Rate);
  // Opens the port (raises TCommException, the port closed again) and starts
  // the port thread. The port is activated once and closed by its
  // destruction: false changes nothing.
  void SetActive(bool Value);
  void Write(int Count, const uint8_t* Buffer);

  // Set once before activation; called in the port thread.
  std::function<void(uint8_t)> FOnRxChar;

 protected:
  void Execute() override;
  virtual void DoRxChar();

 private:
  void OpenPort();
  void ApplySettings();
  void ClosePort();
  void ReadQueued();
  std::string Quoted() const;

  HANDLE FPortHandle = INVALID_HANDLE_VALUE;  // opened and closed by the host thread
  HANDLE FReadEvent = nullptr;                 // the port thread's waits and reads
  HANDLE FStopEvent = nullptr;                 // set by the host thread to end the wait
  HANDLE FWriteEvent = nullptr;                // the host thread's writes
  bool FActive = false;
  std::string FPortName;  // "COM", the number, ":"
  DWORD FBaudRate = 9600;
  uint8_t FRxByte = 0;           // port thread
  uint8_t FRxBuffer[256] = {};   // port thread
  DWORD FLastError = 0;          // host thread; recorded, not reported
};
