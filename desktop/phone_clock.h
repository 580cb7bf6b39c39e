// TPhoneClock, the phone's clock as it travels in the clock packets, and the
// rule of the clock synchronisation: a phone that reports a year before 2005
// has lost its time (it starts counting from a fixed date after a power
// loss) and is set from the PC's clock, unless the PC's own clock is plainly
// wrong too. Portable, so that the rule is tested without a phone; the main
// window sends the two packets.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

constexpr uint8_t ClockReadCode = 6;
constexpr uint8_t ClockSetCode = 5;
constexpr int ClockTimeoutMs = 200;
constexpr size_t PhoneClockSize = 14;  // seven little-endian 16-bit words

struct TPhoneClock {
  uint16_t Hour = 0, Minute = 0, Second = 0;
  uint16_t Day = 0, Month = 0;
  uint16_t Year = 0;      // calendar year minus 2000
  uint16_t Reserved = 0;  // sent back as the phone reported it
};

// A reading of the PC's local clock.
struct TLocalDateTime {
  int Year = 0, Month = 0, Day = 0, Hour = 0, Minute = 0, Second = 0;
};

// The clock in a read answer's data. A shorter answer holds no whole clock
// and gives none: taking missing bytes as 0 would send a made-up Reserved
// word back to the phone.
std::optional<TPhoneClock> ParsePhoneClock(const uint8_t* Data, size_t Len);
void PutPhoneClock(const TPhoneClock& Clock, uint8_t* Data);

// The record to send back for a phone that reported Phone, with the date
// taken from Date and the time from Time (two readings of the PC's clock);
// none when the phone's clock shows 2005 or later or the PC's year is below
// 2000.
std::optional<TPhoneClock> ClockToSet(const TPhoneClock& Phone, const TLocalDateTime& Date,
                                      const TLocalDateTime& Time);
