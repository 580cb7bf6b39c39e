#include "usb_port_win.h"

#include <algorithm>

#include "comm_exception.h"
#include "host_call_win.h"
#include "link_types.h"

namespace {
constexpr UINT PortQuit = WM_USER + 1;
constexpr UINT PortAttached = WM_USER + 2;
constexpr UINT PortDetached = WM_USER + 3;
// A bus that reports success and moves nothing would keep the write going for
// ever: after this many such transfers in a row the write fails.
constexpr int MaxEmptyTransfers = 3;
const char TransmitFailed[] = "Transmition failed";
}  // namespace

TUSB_PORT::TUSB_PORT() = default;

TUSB_PORT::~TUSB_PORT() {
  Close();
  // Notices posted before the driver closed still reach the host meanwhile.
  Terminate();
  PostThreadMessageA(ThreadId(), PortQuit, 0, 0);
  WaitFor();
}

void TUSB_PORT::Close() {
  FClosing = true;
  StopDevice();
  if (FDriver) WDU_Uninit(FDriver);
  FDriver = nullptr;
  // An attach that was under way when the device was stopped may have started
  // a reader since; with the driver closed its transfer has ended, and the
  // reader must be gone before this object is.
  std::lock_guard<std::mutex> lock(FReaderLock);
  if (FReaderThread) ThreadWait(FReaderThread);
  FReaderThread = nullptr;
}

void TUSB_PORT::SetActive(bool Value) {
  if (!Value || FActive) return;
  FActive = true;
  OpenDriver();
  Start();
}

void TUSB_PORT::OpenDriver() {
  if (FDevice) return;
  FMatchTable = WDU_MATCH_TABLE{PhoneVendorId, PhoneProductId, 0, 0, 0, 0, 0};
  FEventTable = WDU_EVENT_TABLE{UsbDeviceAttach, UsbDeviceDetach, nullptr, this};
  FReadPipe = 0x84;
  FStopReading = false;
  FDevice = nullptr;
  FDriver = nullptr;
  // A phone already plugged in is taken by the attach callback during the call.
  if (WDU_Init(&FDriver, &FMatchTable, 1, &FEventTable, WDU_INIT_OPTIONS) != WDU_STATUS_SUCCESS) {
    FDriver = nullptr;
    throw TCommException("Cannot open USB driver");
  }
}

BOOL __stdcall TUSB_PORT::UsbDeviceAttach(WDU_DEVICE_HANDLE Device, WDU_DEVICE* DeviceInfo, void* UserData) {
  auto* port = static_cast<TUSB_PORT*>(UserData);
  if (!DeviceInfo || DeviceInfo->NumInterfaces == 0 || !DeviceInfo->Interfaces[0].ActiveAltSetting) return FALSE;
  if (DeviceInfo->Interfaces[0].ActiveAltSetting->InterfaceNumber != port->FInterfaceNumber) return FALSE;
  if (port->FDevice || port->FClosing) return FALSE;
  WDU_ResetDevice(Device, WDU_RESET_OPTIONS);
  if (WDU_SetInterface(Device, port->FInterfaceNumber, port->FAlternateSetting) != WDU_STATUS_SUCCESS) {
    // Refused, and forgotten at once, so that a later phone is not refused as well.
    return FALSE;
  }
  port->FDevice = Device;
  port->FReadDevice = Device;
  port->StartReading();
  port->FAttached = true;
  PostThreadMessageA(port->ThreadId(), PortAttached, 0, 0);
  return TRUE;
}

void __stdcall TUSB_PORT::UsbDeviceDetach(WDU_DEVICE_HANDLE, void* UserData) {
  auto* port = static_cast<TUSB_PORT*>(UserData);
  port->FAttached = false;
  port->StopReading();
  PostThreadMessageA(port->ThreadId(), PortDetached, 0, 0);
  port->FDevice = nullptr;
  port->FReadDevice = nullptr;
}

void TUSB_PORT::StartReading() {
  std::lock_guard<std::mutex> lock(FReaderLock);
  FStopReading = false;
  ThreadStart(&FReaderThread, UsbReadThread, this);
}

void TUSB_PORT::StopReading() {
  std::lock_guard<std::mutex> lock(FReaderLock);
  if (!FReaderThread) return;
  FStopReading = true;
  WDU_HaltTransfer(FReadDevice, FReadPipe);
  ThreadWait(FReaderThread);
  FReaderThread = nullptr;
}

void TUSB_PORT::StopDevice() {
  if (FDevice) StopReading();
}

DWORD __stdcall TUSB_PORT::UsbReadThread(void* Self) {
  auto* port = static_cast<TUSB_PORT*>(Self);
  for (;;) {
    DWORD received = 0;
    const DWORD status = WDU_TransferBulk(port->FDevice, port->FReadPipe, 1, 0, port->FReadBuffer,
                                          sizeof port->FReadBuffer, &received, WDU_TRANSFER_TIMEOUT_MS);
    if (port->FStopReading) return 0;
    if (status == WDU_STATUS_TIMEOUT) continue;
    if (status != WDU_STATUS_SUCCESS) return 0;
    if (port->FOnReceived) port->FOnReceived(port->FReadBuffer, std::min<size_t>(received, sizeof port->FReadBuffer));
  }
}

void TUSB_PORT::Write(int Count, const uint8_t* Buffer) {
  WDU_DEVICE_HANDLE device = FDevice;
  if (!device || Count <= 0) return;
  int sent = 0;
  int empty = 0;  // transfers in a row that succeeded and moved nothing
  while (sent < Count) {
    DWORD moved = 0;
    const DWORD status = WDU_TransferBulk(device, UsbWritePipe, 0, 0, const_cast<uint8_t*>(Buffer + sent),
                                          static_cast<DWORD>(Count - sent), &moved, WDU_TRANSFER_TIMEOUT_MS);
    empty = status == WDU_STATUS_SUCCESS && moved == 0 ? empty + 1 : 0;
    const bool failed = status != WDU_STATUS_SUCCESS || empty == MaxEmptyTransfers;
    // Owned by the host thread's active window, so that the program's windows
    // wait behind it.
    if (failed) MessageBoxA(GetActiveWindow(), TransmitFailed, nullptr, MB_OK);
    if (moved > static_cast<DWORD>(Count - sent)) moved = static_cast<DWORD>(Count - sent);
    sent += static_cast<int>(moved);
    if (failed && moved == 0) return;
  }
}

void TUSB_PORT::Execute() {
  MSG message;
  for (;;) {
    const BOOL got = GetMessageA(&message, nullptr, 0, 0);
    if (got == -1) return;
    if (got == 0) continue;  // a quit message is ignored
    switch (message.message) {
      case PortQuit: return;
      case PortAttached: RunInHostThread([this] { DoAttach(); }); break;
      case PortDetached: RunInHostThread([this] { DoDetach(); }); break;
      default: break;
    }
  }
}

void TUSB_PORT::DoAttach() {
  if (FOnAttach) FOnAttach();
}

void TUSB_PORT::DoDetach() {
  if (FOnDetach) FOnDetach();
}
