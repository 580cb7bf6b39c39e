// The version table: which numbers give which kind and name, and which kinds
// the programs refuse.
#include <gtest/gtest.h>

#include "windows_version.h"

namespace {

struct VersionCase {
  TWindowsVersion Version;
  TOSKind Kind;
  const char* Name;
};

class ClassifyWindowsTest : public testing::TestWithParam<VersionCase> {};

TEST_P(ClassifyWindowsTest, GivesKindAndName) {
  const VersionCase& C = GetParam();
  std::string Name = "stale";
  EXPECT_EQ(ClassifyWindows(C.Version, Name), C.Kind);
  EXPECT_EQ(Name, C.Name);
}

constexpr uint32_t Win9x = 1;
constexpr uint32_t NT = PlatformIdNT;

INSTANTIATE_TEST_SUITE_P(
    Table, ClassifyWindowsTest,
    testing::Values(VersionCase{{3, 51, NT}, osNT351, "Windows NT 3.51"},
                    VersionCase{{3, 10, NT}, osUnknown, "unknown"},
                    VersionCase{{3, 10, 0}, osUnknown, "unknown"},
                    VersionCase{{4, 0, NT}, osNT40, "Windows NT 4.0"},
                    VersionCase{{4, 0, Win9x}, os95, "Windows 95"},
                    VersionCase{{4, 0, 0}, os95, "Windows 95"},
                    VersionCase{{4, 10, Win9x}, os98, "Windows 98"},
                    VersionCase{{4, 90, Win9x}, osME, "Windows ME"},
                    VersionCase{{4, 20, Win9x}, osUnknown, "unknown"},
                    VersionCase{{5, 0, NT}, os2000, "Windows 2000"},
                    VersionCase{{5, 1, NT}, osXP, "Windows XP or .NET server"},
                    VersionCase{{5, 2, NT}, osUnknown, "unknown"},
                    VersionCase{{6, 0, NT}, osUnknown, "unknown"},
                    VersionCase{{6, 1, NT}, osUnknown, "unknown"},
                    VersionCase{{6, 2, NT}, osUnknown, "unknown"},
                    VersionCase{{10, 0, NT}, osUnknown, "unknown"}));

}  // namespace
