// The entry order. Only a to z are upper-cased: the phone sorts its own lists
// that way, and bytes from 128 up (umlauts in code page 1252) stay where their
// values put them, after every ASCII letter.
#include "pb_entry.h"

#include <cstring>

namespace {

uint8_t AsciiUpper(uint8_t Byte) { return (Byte >= 'a' && Byte <= 'z') ? Byte - ('a' - 'A') : Byte; }

size_t NameLength(const TPBEntry& Entry) {
  const void* Zero = std::memchr(Entry.Name, 0, PBTextSize);
  return Zero ? static_cast<const char*>(Zero) - Entry.Name : PBTextSize;
}

}  // namespace

std::string EntryName(const TPBEntry& Entry) { return std::string(Entry.Name, NameLength(Entry)); }

int CompareEntries(const TPBEntry& A, const TPBEntry& B) {
  const size_t LengthA = NameLength(A);
  const size_t LengthB = NameLength(B);
  for (size_t i = 0; i < LengthA && i < LengthB; ++i) {
    const uint8_t ByteA = AsciiUpper(static_cast<uint8_t>(A.Name[i]));
    const uint8_t ByteB = AsciiUpper(static_cast<uint8_t>(B.Name[i]));
    if (ByteA != ByteB) return ByteA > ByteB ? 1 : -1;
  }
  if (LengthA == LengthB) return 0;
  return LengthA > LengthB ? 1 : -1;
}
