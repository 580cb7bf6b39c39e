// Everything a phone holds that the command set reaches: a test or the
// simulator seeds it, lets the phone model serve requests, and reads it back.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "pb_entry.h"
#include "phone_settings.h"

constexpr int PhonePictureSlots = 24;
constexpr int PhoneTextSlots = 10;
constexpr int PhoneTextSize = 16;
// The memory area covers the highest image: the languages at 0x8000 with up
// to 65,536 bytes.
constexpr uint32_t PhoneAreaSize = 0x8000 + 0x10000;
constexpr uint32_t DefaultAreaBase = 0x00400000;

struct TPhoneState {
  uint32_t AreaBase = DefaultAreaBase;
  std::vector<uint8_t> Memory = std::vector<uint8_t>(PhoneAreaSize);  // from AreaBase on
  uint32_t Commits = 0;            // area commits received
  bool UncommittedWrites = false;  // memory written since the last commit

  std::vector<TPBEntry> Phonebook1;  // in the phone's own order
  // Packed pictures as the PC sent them (header, palette records with 0-based
  // index bytes, pixels); empty for an empty slot.
  std::array<std::vector<uint8_t>, PhonePictureSlots> Pictures;
  uint32_t PictureCommits = 0;

  TPhoneSettings Settings{};
  char Texts[PhoneTextSlots][PhoneTextSize] = {};
  char Text[PhoneTextSize] = {};
  std::string SimPin;
  std::array<uint16_t, 7> Clock = {};  // hour, minute, second, day, month, year - 2000, reserved
  uint8_t Contrast = 0;                // display values as last set live
  uint8_t Intensity = 0;
};

bool operator==(const TPhoneState& A, const TPhoneState& B);
inline bool operator!=(const TPhoneState& A, const TPhoneState& B) { return !(A == B); }
