// The entry editor's byte rules: the number type shown and written back, the
// 25-byte texts read and written without running past their field, and the
// number edit's key filter.
#include <gtest/gtest.h>

#include <cstring>

#include "entry_edit.h"

namespace {

TEST(EntryEdit, TypeShownAndWrittenBackKeepsTheHighNibble) {
  struct Case {
    uint8_t Kind;
    TNumberType Shown;
    TNumberType Chosen;
    uint8_t Written;
  } Cases[] = {
      {0x00, ntHome, ntHome, 0x00},     {0x51, ntCompany, ntMobile, 0x52}, {0x23, ntHome, ntHome, 0x20},
      {0x02, ntMobile, ntCompany, 0x01}, {0xFF, ntHome, ntMobile, 0xF2},   {0x1E, ntHome, ntCompany, 0x11},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(static_cast<int>(C.Kind));
    EXPECT_EQ(ShownNumberType(C.Kind), C.Shown);
    EXPECT_EQ(KindWithType(C.Kind, C.Chosen), C.Written);
  }
}

TEST(EntryEdit, TextsAreReadUpToTheirZeroAndNeverPastTheField) {
  TPBEntry Entry;
  std::memset(&Entry, 'x', sizeof(Entry));
  std::memcpy(Entry.Name, "Anna", 5);
  EXPECT_EQ(EntryText(Entry.Name), "Anna");
  // 25 bytes without a zero: the number and the bytes behind it are not part of the name.
  std::memcpy(Entry.Name, "ABCDEFGHIJKLMNOPQRSTUVWXY", 25);
  EXPECT_EQ(EntryText(Entry.Name), "ABCDEFGHIJKLMNOPQRSTUVWXY");
  EXPECT_EQ(EntryText(Entry.Number), std::string(25, 'x'));
}

TEST(EntryEdit, ShorterTextLeavesTheOldBytesBehindItsZero) {
  TPBEntry Entry{};
  PutEntryText(Entry.Name, "Johannes");
  PutEntryText(Entry.Name, "Jo");
  EXPECT_EQ(std::string(Entry.Name, 9), std::string("Jo\0annes\0", 9));
  EXPECT_EQ(EntryText(Entry.Name), "Jo");
}

TEST(EntryEdit, TextOf25BytesFillsTheFieldWithoutAZeroAndTouchesNothingBehind) {
  TPBEntry Entry;
  std::memset(&Entry, 0x77, sizeof(Entry));
  const std::string Long = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";  // 26: one more than the field holds
  PutEntryText(Entry.Name, Long);
  EXPECT_EQ(std::string(Entry.Name, 25), Long.substr(0, 25));
  EXPECT_EQ(std::string(Entry.Number, 25), std::string(25, 0x77));
  PutEntryText(Entry.Number, Long.substr(0, 24));
  EXPECT_EQ(Entry.Number[24], 0);
  EXPECT_EQ(Entry.Picture, 0x77);
  EXPECT_EQ(Entry.Reserved, 0x7777);
}

TEST(EntryEdit, NumberKeysAreDigitsHashStarBackspaceAndOnePlus) {
  // Typing "+49+1a -(#*" into an empty edit.
  std::string Text;
  for (char Key : std::string("+49+1a -(#*"))
    if (NumberKeyAccepted(Key, Text)) Text += Key;
  EXPECT_EQ(Text, "+491#*");
  EXPECT_TRUE(NumberKeyAccepted(8, "+49"));
  EXPECT_FALSE(NumberKeyAccepted('+', "49+"));  // also when the "+" would be replaced
  for (char Key : {'\t', '\r', '\x1b', 'x', '.', '/'}) EXPECT_FALSE(NumberKeyAccepted(Key, "")) << int(Key);
}

}  // namespace
