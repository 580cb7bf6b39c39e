#include "driver_check_win.h"

#include <windows.h>

#include "install_plan.h"

bool WinDriverPresent() {
  const HANDLE Device =
      CreateFileA("\\\\.\\windrvr6", GENERIC_WRITE, FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  if (Device == INVALID_HANDLE_VALUE) return false;
  CloseHandle(Device);
  return true;
}

bool USBDeviceKeyExists(uint16_t VendorId, uint16_t ProductId) {
  HKEY Key;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, DeviceKeyPath(VendorId, ProductId).c_str(), 0, KEY_READ, &Key) != ERROR_SUCCESS)
    return false;
  RegCloseKey(Key);
  return true;
}
