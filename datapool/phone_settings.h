// TPhoneSettings, the phone's 28-byte settings record, and the bit numbers of
// its Flags that the program edits. The record travels to and from the phone
// and stands in the data file byte for byte; the bytes between the named
// fields are the phone's own and are carried through untouched.
#pragma once

#include <cstdint>

#pragma pack(push, 1)
struct TPhoneSettings {
  int16_t TimeZone;  // minutes from UTC
  uint8_t Reserved2[4];
  uint32_t Flags;    // bit n has the value 1 shl n; see TSettingsFlag
  uint16_t BacklightTime;  // seconds
  uint8_t Reserved12[2];
  uint8_t Contrast;
  uint8_t Reserved15;
  uint8_t Language;  // 0 built-in, n the n-th installed language
  uint8_t Reserved17;
  uint8_t Ringtone;  // 0 standard, n the n-th installed melody
  uint8_t Reserved19[5];
  uint8_t Intensity;
  uint8_t Reserved25[3];
};
#pragma pack(pop)
static_assert(sizeof(TPhoneSettings) == 28, "the settings record is 28 bytes on the wire and on disk");

enum TSettingsFlag : uint8_t {
  flGpsTone = 0,
  flAcousticOff = 3,
  flVibrationOff = 4,
  flOpticalOff = 5,
  flNumberViewNone = 6,
  flNumberViewScroll = 7,
  flAlwaysAskPin = 11,
  flPowerSave = 12,
  flEnhancedMode = 24,
};
