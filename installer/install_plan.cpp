#include "install_plan.h"

#include <cctype>
#include <cstdio>

const TPayloadFile Payload[PayloadCount] = {
    {"QUORVALE_EXE", "Quorvale.exe"},   {"QUORVALE_EN", "Quorvale.en"},
    {"QUORVALE_NL", "Quorvale.nl"},     {"QUORVALE_FR", "Quorvale.fr"},
    {"QUORVALE_IT", "Quorvale.it"},     {"QUORVALE_ES", "Quorvale.es"},
    {"QVPROT_DLL", "QVProt.dll"},       {"THEMEDDLL_DLL", "ThemedDLL.dll"},
    {"WDREG16_EXE", "wdreg16.exe"},     {"WDREG_GUI_EXE", "wdreg_gui.exe"},
    {"WINDRVR6_SYS", "windrvr6.sys"},   {"WINDRVR6_INF", "windrvr6.inf"},
    {"QUORVALE_INF", "Quorvale.inf"},   {"WDLIB_DLL", "wdlib.dll"},
    {"WD_UTILS_DLL", "wd_utils.dll"},
};

namespace {

const char* const DriverFolder = "USBDriver\\";

}  // namespace

std::vector<TCopyJob> CopyJobs(const std::string& TempDir, const std::string& SystemDir,
                               const std::string& InstallDir) {
  // Payload rows (0-based) by destination folder, in copy order.
  const int ToInstall[] = {0, 1, 2, 3, 4, 5};
  const int ToSystem[] = {6, 7, 13, 14};
  const int ToDriver[] = {10, 11, 12};
  std::vector<TCopyJob> Jobs;
  const auto Add = [&](int Row, const std::string& Folder) {
    Jobs.push_back({TempDir + Payload[Row].FileName, Folder + Payload[Row].FileName});
  };
  for (int Row : ToInstall) Add(Row, InstallDir);
  for (int Row : ToSystem) Add(Row, SystemDir);
  for (int Row : ToDriver) Add(Row, InstallDir + DriverFolder);
  return Jobs;
}

const char* RegistrationTool(TOSKind Kind) {
  return Kind == os98 || Kind == osME ? "WDREG16.EXE" : "WDREG_GUI.EXE";
}

bool RegistersDeviceInf(TOSKind Kind) { return Kind != os98 && Kind != osME; }

std::string RegistrationParameters(const std::string& InstallDir, const char* Inf) {
  return " -inf \"" + InstallDir + DriverFolder + Inf + "\" -silent install";
}

std::string DeviceInfPath(const std::string& InstallDir) { return InstallDir + DriverFolder + DeviceInf; }

std::string DeviceKeyPath(uint16_t VendorId, uint16_t ProductId) {
  char Key[64];
  std::snprintf(Key, sizeof Key, "System\\CurrentControlSet\\Enum\\USB\\Vid_%.4X&Pid_%.4X", VendorId, ProductId);
  return Key;
}

std::string FolderOf(const std::string& Path) {
  const auto Last = Path.rfind('\\');
  return Last == std::string::npos ? std::string() : Path.substr(0, Last + 1);
}

std::vector<std::string> FolderChain(const std::string& Folder) {
  // Where the first folder that may be created starts: after "C:\" or after
  // "\\host\share\".
  size_t Start = 0;
  if (Folder.size() >= 2 && Folder[1] == ':') {
    Start = 2;
  } else if (Folder.compare(0, 2, "\\\\") == 0) {
    const auto Host = Folder.find('\\', 2);
    const auto Share = Host == std::string::npos ? Host : Folder.find('\\', Host + 1);
    Start = Share == std::string::npos ? Folder.size() : Share;
  }
  std::vector<std::string> Chain;
  for (size_t At = Start; At < Folder.size();) {
    auto End = Folder.find('\\', At + 1);
    if (End == std::string::npos) End = Folder.size();
    if (End > At + 1 || (At == 0 && End > 0)) Chain.push_back(Folder.substr(0, End));
    At = End;
  }
  return Chain;
}

std::string MessageTitle(const std::string& ExePath) {
  const auto Slash = ExePath.find_last_of("\\/");
  std::string Name = Slash == std::string::npos ? ExePath : ExePath.substr(Slash + 1);
  const auto Dot = Name.rfind('.');
  if (Dot != std::string::npos && Dot > 0) Name.erase(Dot);
  for (size_t I = 1; I < Name.size(); ++I) Name[I] = static_cast<char>(std::tolower(static_cast<unsigned char>(Name[I])));
  return Name;
}
