#include "dos_time.h"

namespace {

constexpr int FirstDosYear = 1980;
constexpr int LastDosYear = 2107;  // 7 bits of years

}  // namespace

uint32_t DosDateTime(const TCivilTime& Time) {
  if (Time.Year < FirstDosYear) return DosDateTime({FirstDosYear, 1, 1, 0, 0, 0});
  if (Time.Year > LastDosYear) return DosDateTime({LastDosYear, 12, 31, 23, 59, 59});
  const uint32_t Date = static_cast<uint32_t>((Time.Year - FirstDosYear) << 9 | Time.Month << 5 | Time.Day);
  const uint32_t Clock = static_cast<uint32_t>(Time.Hour << 11 | Time.Minute << 5 | Time.Second / 2);
  return Date << 16 | Clock;
}

bool SourceIsNewer(const TCivilTime& Source, const TCivilTime& Dest) {
  return DosDateTime(Source) > DosDateTime(Dest);
}
