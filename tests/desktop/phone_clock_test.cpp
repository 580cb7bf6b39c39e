// The clock synchronisation's rule and the record's byte layout: which phone
// and PC readings lead to a set request, and what that request carries.
#include <gtest/gtest.h>

#include <vector>

#include "phone_clock.h"

namespace {

const TLocalDateTime Date2026{2026, 12, 10, 0, 0, 0};
const TLocalDateTime Time2026{2026, 12, 10, 14, 25, 59};

TPhoneClock PhoneAt(uint16_t Year) {
  TPhoneClock C;
  C.Hour = 12, C.Minute = 30, C.Second = 7, C.Day = 1, C.Month = 6, C.Year = Year, C.Reserved = 0x1277;
  return C;
}

TEST(PhoneClock, SetOnlyForAPhoneBefore2005AndAPcFrom2000) {
  struct TCase {
    uint16_t PhoneYear;
    int PcYear;
    bool Set;
  } const Cases[] = {{0, 2026, true}, {4, 2026, true}, {5, 2026, false}, {26, 2026, false},
                     {4, 2000, true}, {4, 1999, false}};
  for (const TCase& C : Cases) {
    TLocalDateTime Date = Date2026;
    Date.Year = C.PcYear;
    EXPECT_EQ(ClockToSet(PhoneAt(C.PhoneYear), Date, Time2026).has_value(), C.Set)
        << "phone year " << C.PhoneYear << ", PC year " << C.PcYear;
  }
}

TEST(PhoneClock, TheSetRecordTakesDateAndTimeFromTheirReadingsAndKeepsReserved) {
  TLocalDateTime Time = Time2026;
  Time.Day = 11;  // a second reading after midnight must not move the date
  const auto Set = ClockToSet(PhoneAt(4), Date2026, Time);
  ASSERT_TRUE(Set);
  EXPECT_EQ(Set->Day, 10);
  EXPECT_EQ(Set->Month, 12);
  EXPECT_EQ(Set->Year, 26);
  EXPECT_EQ(Set->Hour, 14);
  EXPECT_EQ(Set->Minute, 25);
  EXPECT_EQ(Set->Second, 59);
  EXPECT_EQ(Set->Reserved, 0x1277);
}

TEST(PhoneClock, RecordIsSevenLittleEndianWordsAndAShortAnswerGivesNone) {
  const std::vector<uint8_t> Bytes = {23, 0, 59, 0, 58, 0, 31, 0, 12, 0, 0x04, 0x01, 0x34, 0x12, 0xEE};
  const auto C = ParsePhoneClock(Bytes.data(), Bytes.size());
  ASSERT_TRUE(C);
  EXPECT_EQ(C->Hour, 23);
  EXPECT_EQ(C->Second, 58);
  EXPECT_EQ(C->Month, 12);
  EXPECT_EQ(C->Year, 0x0104);
  EXPECT_EQ(C->Reserved, 0x1234);
  std::vector<uint8_t> Back(PhoneClockSize);
  PutPhoneClock(*C, Back.data());
  EXPECT_EQ(Back, std::vector<uint8_t>(Bytes.begin(), Bytes.begin() + PhoneClockSize));
  EXPECT_FALSE(ParsePhoneClock(Bytes.data(), PhoneClockSize - 1));
}

}  // namespace
