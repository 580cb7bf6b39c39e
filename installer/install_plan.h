// What the install does, as data: the payload rows, where each is copied, the
// registration tool's name and parameters by Windows kind, the registry key of
// the phone's USB device and the folders a destination needs. Portable, so the
// plan is tested natively; the Win32 steps (win/) carry it out.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "windows_version.h"

struct TPayloadFile {
  const char* Resource;  // name in the FILELIST resources, extraction order
  const char* FileName;
};
constexpr int PayloadCount = 15;
extern const TPayloadFile Payload[PayloadCount];

struct TCopyJob {
  std::string Source, Dest;
};
// The 13 copies in their order: the program and its modules into the install
// folder, the libraries into the system folder, the driver files into the
// install folder's USBDriver subfolder. The two registration tools run from
// the temp folder and are not copied. Folders end in a backslash.
std::vector<TCopyJob> CopyJobs(const std::string& TempDir, const std::string& SystemDir,
                               const std::string& InstallDir);

// The registration tool to start: the 16-bit one on Windows 98 and ME.
const char* RegistrationTool(TOSKind Kind);
// Windows 98 and ME register only the kernel driver; the user points the
// new-hardware dialog at the device INF.
bool RegistersDeviceInf(TOSKind Kind);
// " -inf \"<InstallDir>USBDriver\<Inf>\" -silent install".
std::string RegistrationParameters(const std::string& InstallDir, const char* Inf);
constexpr const char* KernelDriverInf = "windrvr6.inf";
constexpr const char* DeviceInf = "Quorvale.inf";
// The device INF's full path, as the message on Windows 98 and ME names it.
std::string DeviceInfPath(const std::string& InstallDir);

// The enumeration key of the phone's USB device under HKEY_LOCAL_MACHINE.
// Relative, as the registry's open calls require.
std::string DeviceKeyPath(uint16_t VendorId, uint16_t ProductId);

// The folder part of Path: up to and including its last backslash; empty when
// it has none.
std::string FolderOf(const std::string& Path);
// The folders along Folder that may need creating, outermost first, without
// trailing backslashes; a drive ("C:") and a network share ("\\host\share")
// are never created.
std::vector<std::string> FolderChain(const std::string& Folder);

// The caption of the installer's message boxes: the executable's name without
// folder and extension, its first letter unchanged and the others in lower case.
std::string MessageTitle(const std::string& ExePath);
