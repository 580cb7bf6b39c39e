// TQVDP_PHONEBOOK1, the phonebook whose entries can show a picture; it
// travels entry by entry through requests on channel chPhonebook.
#pragma once

#include <cstdint>

#include "qvdp_phonebook.h"

constexpr int32_t Phonebook1Timeout = 500;
// The phone holds 50 entries; a phone that keeps answering far past that
// never ends its list, and its read fails rather than grow the pool forever.
constexpr int32_t MaxPhonebook1ReadEntries = 1000;

class TQVDP_PHONEBOOK1 : public TQVDP_PHONEBOOK {
 public:
  explicit TQVDP_PHONEBOOK1(TQVDP_ALL* AOwner);
  bool ReadFromPhone() override;
  bool WriteToPhone(bool OnlyChanged) override;
};

// The entry as a write-entry request carries it: the name without its
// leading and trailing bytes of value 32 or below. A name of 25 characters is
// cut to 24 so that its zero byte fits and the number stays intact.
TPBEntry TrimmedForPhone(const TPBEntry& Entry);
