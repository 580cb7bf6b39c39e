// Classification of Windows version numbers into TOSKind. Only the versions the
// programs must tell apart are named; every other one is osUnknown and runs.
#include "windows_version.h"

namespace {

TOSKind KindOf(const TWindowsVersion& V) {
  switch (V.Major) {
    case 3:
      return V.Minor == 51 ? osNT351 : osUnknown;
    case 4:
      switch (V.Minor) {
        case 0: return V.PlatformId == PlatformIdNT ? osNT40 : os95;
        case 10: return os98;
        case 90: return osME;
        default: return osUnknown;
      }
    case 5:
      switch (V.Minor) {
        case 0: return os2000;
        case 1: return osXP;
        default: return osUnknown;
      }
    default:
      return osUnknown;
  }
}

const char* const KindNames[] = {
    "unknown",    "Windows NT 3.51", "Windows NT 4.0", "Windows 95",
    "Windows 98", "Windows ME",      "Windows 2000",   "Windows XP or .NET server",
};

}  // namespace

TOSKind ClassifyWindows(const TWindowsVersion& Version, std::string& Name) {
  const TOSKind Kind = KindOf(Version);
  Name = KindNames[Kind];
  return Kind;
}

bool IsRefusedWindows(TOSKind Kind) {
  return Kind == osNT351 || Kind == osNT40 || Kind == os95;
}
