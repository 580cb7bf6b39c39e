// The calls of the USB driver vendor's user-mode library ("WD_UTILS.DLL") that
// the USB link makes, declared by us from what the link passes and relies on.
// Handle types, the device-information layout beyond the one interface number
// the link reads, and status values other than success and time-out are our
// own: any library that offers these operations can take the vendor's place
// (the stand-in in standins/wd_utils implements exactly this header).
#pragma once

#include <windows.h>

extern "C" {

typedef void* WDU_DRIVER_HANDLE;
typedef void* WDU_DEVICE_HANDLE;

constexpr DWORD WDU_STATUS_SUCCESS = 0;
constexpr DWORD WDU_STATUS_TIMEOUT = 0x20000015;  // a bulk transfer's time-out expired
constexpr DWORD WDU_INIT_OPTIONS = 1;
constexpr DWORD WDU_RESET_OPTIONS = 1;
constexpr DWORD WDU_TRANSFER_TIMEOUT_MS = 30000;

struct WDU_MATCH_TABLE {
  WORD VendorId;
  WORD ProductId;
  BYTE DeviceClass;
  BYTE DeviceSubClass;
  BYTE InterfaceClass;
  BYTE InterfaceSubClass;
  BYTE InterfaceProtocol;
};

struct WDU_ALTERNATE_SETTING {
  BYTE InterfaceNumber;
  BYTE AlternateSetting;
};

struct WDU_INTERFACE {
  WDU_ALTERNATE_SETTING* ActiveAltSetting;
};

// What an attach reports: the device's identifiers and its active interfaces, first first.
struct WDU_DEVICE {
  WORD VendorId;
  WORD ProductId;
  DWORD NumInterfaces;
  WDU_INTERFACE* Interfaces;
};

typedef BOOL(__stdcall* WDU_ATTACH_CALLBACK)(WDU_DEVICE_HANDLE Device, WDU_DEVICE* DeviceInfo, void* UserData);
typedef void(__stdcall* WDU_DETACH_CALLBACK)(WDU_DEVICE_HANDLE Device, void* UserData);
typedef void(__stdcall* WDU_POWER_CHANGE_CALLBACK)(WDU_DEVICE_HANDLE Device, DWORD PowerState, void* UserData);

struct WDU_EVENT_TABLE {
  WDU_ATTACH_CALLBACK Attach;
  WDU_DETACH_CALLBACK Detach;
  WDU_POWER_CHANGE_CALLBACK PowerChange;
  void* UserData;
};

typedef DWORD(__stdcall* WDU_THREAD_FUNCTION)(void* Argument);

DWORD __stdcall WDU_Init(WDU_DRIVER_HANDLE* Driver, WDU_MATCH_TABLE* MatchTables, DWORD MatchTableCount,
                         WDU_EVENT_TABLE* EventTable, DWORD Options);
void __stdcall WDU_Uninit(WDU_DRIVER_HANDLE Driver);
DWORD __stdcall WDU_ResetDevice(WDU_DEVICE_HANDLE Device, DWORD Options);
DWORD __stdcall WDU_SetInterface(WDU_DEVICE_HANDLE Device, DWORD InterfaceNumber, DWORD AlternateSetting);
DWORD __stdcall WDU_TransferBulk(WDU_DEVICE_HANDLE Device, DWORD Pipe, DWORD Read, DWORD Options, void* Buffer,
                                 DWORD BufferSize, DWORD* Transferred, DWORD TimeoutMs);
DWORD __stdcall WDU_HaltTransfer(WDU_DEVICE_HANDLE Device, DWORD Pipe);
DWORD __stdcall ThreadStart(HANDLE* Thread, WDU_THREAD_FUNCTION Function, void* Argument);
void __stdcall ThreadWait(HANDLE Thread);
}
