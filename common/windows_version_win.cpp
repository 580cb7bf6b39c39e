// DetectWindows on Windows: the version numbers come from GetVersionExA, which
// reports what the system (or its compatibility setting) claims to be; without
// a manifest naming newer systems, Windows 8 and later report 6.2.
#include <windows.h>

#include "windows_version.h"

TOSKind DetectWindows(std::string& Name) {
  OSVERSIONINFOA Info{};
  Info.dwOSVersionInfoSize = sizeof(Info);
  TWindowsVersion Version{0, 0, 0};
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  if (GetVersionExA(&Info)) Version = {Info.dwMajorVersion, Info.dwMinorVersion, Info.dwPlatformId};
#pragma GCC diagnostic pop
  return ClassifyWindows(Version, Name);
}
