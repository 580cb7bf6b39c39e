// The phonebook entry editor's rules, apart from its window: which number
// type a stored Kind shows, how the edited type and texts go back into the
// 54-byte entry, and which keys the number edit takes. Portable, so that the
// byte-level rules are tested natively.
#pragma once

#include <cstdint>
#include <string>

#include "pb_entry.h"

// The type the editor shows for Kind: its low 4 bits when they are ntCompany
// or ntMobile, ntHome for every other value.
TNumberType ShownNumberType(uint8_t Kind);
// Kind with its low 4 bits replaced by Type; the high 4 bits stay.
uint8_t KindWithType(uint8_t Kind, TNumberType Type);

// A 25-byte text field up to its first zero byte, and never past the field:
// the data file and the phone allow a text of 25 bytes without a zero.
std::string EntryText(const char (&Field)[PBTextSize]);
// Writes at most 25 bytes of Text into Field, with one zero byte behind it
// when it is shorter; the bytes behind that zero keep their contents.
void PutEntryText(char (&Field)[PBTextSize], const std::string& Text);

// Whether the number edit takes Key typed into an edit holding Text:
// Backspace, digits, "#", "*", and "+" while Text holds no "+" yet.
bool NumberKeyAccepted(char Key, const std::string& Text);
