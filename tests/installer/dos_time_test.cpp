// The copy rule's time compare: strictly newer in MS-DOS time, which steps by
// two seconds and spans 1980 to 2107.
#include <gtest/gtest.h>

#include "dos_time.h"

namespace {

TEST(DosTime, SourceReplacesOnlyWhenStrictlyNewer) {
  const struct {
    const char* What;
    TCivilTime Source, Dest;
    bool Newer;
  } Cases[] = {
      {"equal", {2024, 5, 1, 12, 0, 10}, {2024, 5, 1, 12, 0, 10}, false},
      {"same two-second step", {2024, 5, 1, 12, 0, 11}, {2024, 5, 1, 12, 0, 10}, false},
      {"next two-second step", {2024, 5, 1, 12, 0, 12}, {2024, 5, 1, 12, 0, 11}, true},
      {"a day newer", {2024, 5, 2, 12, 0, 10}, {2024, 5, 1, 12, 0, 10}, true},
      {"older", {2024, 5, 1, 12, 0, 10}, {2024, 5, 1, 12, 0, 12}, false},
      {"destination a year ahead", {2024, 5, 1, 12, 0, 10}, {2025, 5, 1, 12, 0, 10}, false},
      {"month beats day and time", {2024, 6, 1, 0, 0, 0}, {2024, 5, 31, 23, 59, 58}, true},
      {"destination before 1980", {1980, 1, 1, 0, 0, 2}, {1970, 1, 1, 0, 0, 0}, true},
      {"both before 1980", {1979, 6, 1, 0, 0, 0}, {1975, 1, 1, 0, 0, 0}, false},
      {"destination after 2107", {2107, 12, 31, 23, 59, 56}, {2150, 1, 1, 0, 0, 0}, false},
      {"source after 2107", {2200, 1, 1, 0, 0, 0}, {2107, 12, 31, 23, 59, 56}, true},
  };
  for (const auto& C : Cases) EXPECT_EQ(SourceIsNewer(C.Source, C.Dest), C.Newer) << C.What;
}

TEST(DosTime, PackedAsDateAboveTime) {
  EXPECT_EQ(DosDateTime({1980, 1, 1, 0, 0, 0}), 0x00210000u);
  EXPECT_EQ(DosDateTime({2024, 5, 1, 12, 30, 59}), (44u << 25 | 5u << 21 | 1u << 16) | (12u << 11 | 30u << 5 | 29u));
  EXPECT_EQ(DosDateTime({2107, 12, 31, 23, 59, 59}), 0xFF9FBF7Du);
  EXPECT_EQ(DosDateTime({1601, 1, 1, 0, 0, 0}), DosDateTime({1980, 1, 1, 0, 0, 0}));
  EXPECT_EQ(DosDateTime({30827, 12, 31, 23, 59, 59}), DosDateTime({2107, 12, 31, 23, 59, 59}));
}

}  // namespace
