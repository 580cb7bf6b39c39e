// The age rule of the copy step: an installed file is replaced only when its
// source is newer in MS-DOS time, the two-second-step stamp that compressed
// installs have always compared by. Portable so that the boundaries are tested
// on any machine; the Win32 side turns a file's last-write time (local time)
// into a TCivilTime.
#pragma once

#include <cstdint>

struct TCivilTime {
  int Year, Month, Day, Hour, Minute, Second;
};

// Date in the high 16 bits (years since 1980, month, day), time in the low 16
// (hours, minutes, seconds / 2), so that the packed values order as the times
// do. MS-DOS time spans 1980 to 2107: earlier times count as its first moment
// and later ones as its last, so a file stamped in the far future still counts
// as newer than anything and one from before 1980 as older.
uint32_t DosDateTime(const TCivilTime& Time);

// True when Source is strictly newer than Dest in MS-DOS time: a destination
// within the same two seconds, or later, is kept.
bool SourceIsNewer(const TCivilTime& Source, const TCivilTime& Dest);
