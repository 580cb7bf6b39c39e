// TPBEntry, the 54-byte phonebook entry, and the one order of entries.
// The record's bytes are the same in memory, in the data file, in phonebook-1
// packets and in phonebook 2's memory image, so it is packed to the byte.
#pragma once

#include <cstdint>
#include <string>

// Bits 0..3 of TPBEntry::Kind; bits 4..7 are carried unchanged.
enum TNumberType : uint8_t {
  ntHome = 0,
  ntCompany = 1,
  ntMobile = 2,
};

constexpr int PBTextSize = 25;  // at most 24 characters and the zero byte

#pragma pack(push, 1)
struct TPBEntry {
  uint8_t Kind;
  char Name[PBTextSize];    // ends at the first zero byte or after the 25th byte
  char Number[PBTextSize];
  uint8_t Picture;          // picture slot number 1 to 24, 0 for none
  uint16_t Reserved;        // carried unchanged
};
#pragma pack(pop)
static_assert(sizeof(TPBEntry) == 54, "TPBEntry is 54 bytes wherever it is stored or sent");

// The entry's name up to its first zero byte, at most 25 bytes.
std::string EntryName(const TPBEntry& Entry);
// 1, 0 or -1: the names compared as unsigned bytes after upper-casing the
// ASCII letters a to z only, a prefix before the longer name.
int CompareEntries(const TPBEntry& A, const TPBEntry& B);
