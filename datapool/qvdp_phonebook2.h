// TQVDP_PHONEBOOK2, the second phonebook; it travels as one memory image in
// the phone's memory area: a signature, the entry count and the entries.
#pragma once

#include <cstdint>

#include "qvdp_phonebook.h"

constexpr uint16_t Phonebook2Signature = 0x5A3D;
constexpr int MaxPhonebook2Entries = 200;
constexpr uint32_t Phonebook2ImageOffset = 0x5000;
constexpr int Phonebook2HeaderSize = 4;  // signature and count
constexpr int32_t Phonebook2HeaderTimeout = 500;
constexpr uint32_t MaxPhonebook2Image = Phonebook2HeaderSize + MaxPhonebook2Entries * sizeof(TPBEntry);

class TQVDP_PHONEBOOK2 : public TQVDP_PHONEBOOK {
 public:
  explicit TQVDP_PHONEBOOK2(TQVDP_ALL* AOwner);
  bool ReadFromPhone() override;
  // More than 200 entries (a data file can hold them) do not fit the image:
  // the first 200 in sorted order are written.
  bool WriteToPhone(bool OnlyChanged) override;
};
