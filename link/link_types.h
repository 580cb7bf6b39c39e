// The values that cross the library's exported interface: callback slots, link
// kinds, open results. They are numbers fixed by the interface, so each is spelt out.
#pragma once

#include <cstdint>

enum TLinkCallbackKind : uint32_t {
  lcText = 1,
  lcSystem = 2,
  lcConfig = 3,
  lcPhonebook = 4,
  lcDevice = 5,
  lcUsbAttached = 6,
  lcUsbDetached = 7,
};
constexpr uint32_t LinkCallbackCount = 7;

enum TLinkKind : uint32_t { lkNone = 0, lkSerial = 1, lkUsb = 2 };

// GetOpenLinks' bits.
constexpr uint32_t olSerial = 1;
constexpr uint32_t olUsb = 2;

enum TOpenResult : uint32_t { ocOk = 0, ocBadPort = 1, ocNoLink = 2, ocSerialFailed = 3, ocUsbFailed = 4 };

constexpr unsigned MaxComPort = 99;

// Sizes of the copies that the frame callbacks of chSystem, chConfig, chPhonebook
// and chDevice receive, and of the text buffer for chText frames.
constexpr unsigned SystemCopySize = 242;
constexpr unsigned ConfigCopySize = 28;
constexpr unsigned PhonebookCopySize = 45;
constexpr unsigned DeviceCopySize = 7;
constexpr unsigned TextBufferSize = 260;

// The phone's USB identifiers. The vendor identifier is ours to choose; the
// installer's driver check and the device INF use the same two values.
constexpr uint16_t PhoneVendorId = 0x5156;
constexpr uint16_t PhoneProductId = 0x0101;
