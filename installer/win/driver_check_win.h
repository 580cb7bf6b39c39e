// Whether the USB driver already works: the vendor's kernel driver answers on
// its device and the registry knows the phone's USB device.
#pragma once

#include <cstdint>

bool WinDriverPresent();
bool USBDeviceKeyExists(uint16_t VendorId, uint16_t ProductId);
