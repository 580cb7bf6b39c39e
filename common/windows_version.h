// The Windows version detector shared by the desktop program and the installer.
// Both refuse Windows NT 3.51, NT 4.0 and 95 and accept everything else, also
// versions they do not know. The classification is a pure function of the
// version numbers so that it can be tested on any machine; DetectWindows asks
// the running system for them (windows_version_win.cpp).
#pragma once

#include <cstdint>
#include <string>

enum TOSKind : uint8_t {
  osUnknown = 0,
  osNT351 = 1,
  osNT40 = 2,
  os95 = 3,
  os98 = 4,
  osME = 5,
  os2000 = 6,
  osXP = 7,
};

// The numbers Windows reports about itself; PlatformId 2 is the NT platform.
struct TWindowsVersion {
  uint32_t Major;
  uint32_t Minor;
  uint32_t PlatformId;
};

constexpr uint32_t PlatformIdNT = 2;

// The kind of Version; Name receives the kind's display name ("unknown" for
// osUnknown). The names are English in every language.
TOSKind ClassifyWindows(const TWindowsVersion& Version, std::string& Name);

// The kind of the running Windows version.
TOSKind DetectWindows(std::string& Name);

// True for the kinds both programs refuse to run on.
bool IsRefusedWindows(TOSKind Kind);
