// TUSB_PORT: the link to a phone on USB through the vendor's user-mode library.
// The vendor library's own thread reports attach and detach; the reader thread
// feeds every byte of the bulk-in pipe to the frame receiver; the port thread
// turns attach and detach into synchronous calls into the host thread, so the
// host's callbacks run there. One phone at a time: a second one is refused.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>

#include "thread_object_win.h"
#include "wdu_api.h"

class TUSB_PORT : public TThreadObject {
 public:
  TUSB_PORT();
  ~TUSB_PORT() override;

  // Opens the vendor driver (raises TCommException) and starts the port thread.
  // The link is activated once and closed by Close or its destruction: false changes nothing.
  void SetActive(bool Value);
  // Stops the reader and closes the vendor driver; the port thread stays
  // until the destruction (it may be the thread whose callback calls this).
  void Close();
  // Writes Count bytes to the phone in as many transfers as it takes (host thread).
  void Write(int Count, const uint8_t* Buffer);
  bool Attached() const { return FAttached.load(); }

  // Set once before activation, called from the reader thread and the host thread.
  // The bytes of one read transfer, in order, in the reader thread.
  std::function<void(const uint8_t*, size_t)> FOnReceived;
  std::function<void()> FOnAttach;
  std::function<void()> FOnDetach;

 protected:
  void Execute() override;
  virtual void DoAttach();
  virtual void DoDetach();

 private:
  void OpenDriver();
  void StartReading();
  void StopReading();
  void StopDevice();

  static BOOL __stdcall UsbDeviceAttach(WDU_DEVICE_HANDLE Device, WDU_DEVICE* DeviceInfo, void* UserData);
  static void __stdcall UsbDeviceDetach(WDU_DEVICE_HANDLE Device, void* UserData);
  static DWORD __stdcall UsbReadThread(void* Self);

  WDU_DRIVER_HANDLE FDriver = nullptr;  // host thread
  WDU_MATCH_TABLE FMatchTable{};
  WDU_EVENT_TABLE FEventTable{};
  DWORD FInterfaceNumber = 0;
  DWORD FAlternateSetting = 0;
  // Set by the vendor library's thread; read by the reader and the writer.
  std::atomic<WDU_DEVICE_HANDLE> FDevice{nullptr};
  DWORD FReadPipe = 0x84;  // endpoint 4, direction in
  WDU_DEVICE_HANDLE FReadDevice = nullptr;
  std::atomic<bool> FStopReading{false};  // set by the stopping thread, read by the reader
  // Starting and stopping the reader happen in the vendor thread (attach,
  // detach) and in the host thread (destruction); the lock keeps them apart.
  std::mutex FReaderLock;
  HANDLE FReaderThread = nullptr;
  uint8_t FReadBuffer[2048] = {};  // the reader's only
  bool FActive = false;            // host thread
  std::atomic<bool> FClosing{false};   // set by the host thread on destruction: attach refuses from then on
  std::atomic<bool> FAttached{false};  // set by the vendor thread, read by the host thread
};

constexpr DWORD UsbWritePipe = 3;  // endpoint 3, direction out
