// The phonebook entry editor's rules; see entry_edit.h.
#include "entry_edit.h"

#include <cstring>

TNumberType ShownNumberType(uint8_t Kind) {
  const uint8_t Type = Kind & 0x0F;
  return Type == ntCompany || Type == ntMobile ? static_cast<TNumberType>(Type) : ntHome;
}

uint8_t KindWithType(uint8_t Kind, TNumberType Type) { return static_cast<uint8_t>((Kind & 0xF0) | Type); }

std::string EntryText(const char (&Field)[PBTextSize]) { return std::string(Field, strnlen(Field, PBTextSize)); }

void PutEntryText(char (&Field)[PBTextSize], const std::string& Text) {
  const size_t Length = Text.size() < PBTextSize ? Text.size() : PBTextSize;
  std::memcpy(Field, Text.data(), Length);
  if (Length < PBTextSize) Field[Length] = 0;
}

bool NumberKeyAccepted(char Key, const std::string& Text) {
  if (Key == 8 || Key == '#' || Key == '*' || (Key >= '0' && Key <= '9')) return true;
  return Key == '+' && Text.find('+') == std::string::npos;
}
