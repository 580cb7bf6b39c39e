// The clock record's byte layout and the synchronisation rule.
#include "phone_clock.h"

namespace {

constexpr uint16_t FirstTrustedPhoneYear = 5;  // 2005
constexpr int FirstTrustedPcYear = 2000;

uint16_t Word(const uint8_t* Data, size_t Index) {
  return static_cast<uint16_t>(Data[2 * Index] | Data[2 * Index + 1] << 8);
}

void PutWord(uint8_t* Data, size_t Index, uint16_t Value) {
  Data[2 * Index] = static_cast<uint8_t>(Value);
  Data[2 * Index + 1] = static_cast<uint8_t>(Value >> 8);
}

}  // namespace

std::optional<TPhoneClock> ParsePhoneClock(const uint8_t* Data, size_t Len) {
  if (Len < PhoneClockSize) return std::nullopt;
  TPhoneClock C;
  C.Hour = Word(Data, 0);
  C.Minute = Word(Data, 1);
  C.Second = Word(Data, 2);
  C.Day = Word(Data, 3);
  C.Month = Word(Data, 4);
  C.Year = Word(Data, 5);
  C.Reserved = Word(Data, 6);
  return C;
}

void PutPhoneClock(const TPhoneClock& C, uint8_t* Data) {
  const uint16_t Words[] = {C.Hour, C.Minute, C.Second, C.Day, C.Month, C.Year, C.Reserved};
  for (size_t I = 0; I < 7; ++I) PutWord(Data, I, Words[I]);
}

std::optional<TPhoneClock> ClockToSet(const TPhoneClock& Phone, const TLocalDateTime& Date,
                                      const TLocalDateTime& Time) {
  if (Phone.Year >= FirstTrustedPhoneYear || Date.Year < FirstTrustedPcYear) return std::nullopt;
  TPhoneClock Set = Phone;
  Set.Day = static_cast<uint16_t>(Date.Day);
  Set.Month = static_cast<uint16_t>(Date.Month);
  Set.Year = static_cast<uint16_t>(Date.Year - 2000);
  Set.Hour = static_cast<uint16_t>(Time.Hour);
  Set.Minute = static_cast<uint16_t>(Time.Minute);
  Set.Second = static_cast<uint16_t>(Time.Second);
  return Set;
}
