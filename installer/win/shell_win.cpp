// The shell calls of the install. The buffers are the sizes the folders were
// always read into; a longer path is cut by the call, not overrun, and a
// folder that does not fit is no folder.
#include "shell_win.h"

#include <shlobj.h>

namespace {

constexpr DWORD FolderBuffer = 129;
constexpr size_t ProgramFilesLimit = 257;

// The path of a special folder, or empty when the shell gives none.
std::string SpecialFolderPath(HWND Owner, int Csidl) {
  LPITEMIDLIST List = nullptr;
  if (FAILED(SHGetSpecialFolderLocation(Owner, Csidl, &List))) return {};
  char Path[MAX_PATH] = {};
  const bool Ok = SHGetPathFromIDListA(List, Path);
  CoTaskMemFree(List);
  return Ok ? std::string(Path) : std::string();
}

// What a folder call wrote into Path, given its answer: 0 when it failed,
// the size it needs (the terminating zero included) when the folder does not
// fit, and then Path holds nothing usable.
std::string FolderFrom(UINT Answer, const char* Path) {
  return Answer > 0 && Answer < FolderBuffer ? std::string(Path) : std::string();
}

}  // namespace

std::string GetTempDir() {
  char Path[FolderBuffer] = {};
  return FolderFrom(GetTempPathA(FolderBuffer, Path), Path);
}

std::string GetSystemDir() {
  char Path[FolderBuffer] = {};
  const std::string Folder = FolderFrom(GetSystemDirectoryA(Path, FolderBuffer), Path);
  return Folder.empty() ? Folder : Folder + "\\";
}

std::string GetInstallDir(HWND Owner) {
  std::string Root = SpecialFolderPath(Owner, CSIDL_PROGRAM_FILES).substr(0, ProgramFilesLimit);
  if (Root.empty()) Root = "C:";
  return Root + "\\Quorvale\\Desktop\\";
}

std::string GetSpecialFolder(int Csidl) {
  std::string Path = SpecialFolderPath(nullptr, Csidl);
  if (!Path.empty() && Path.back() != '\\') Path += '\\';
  return Path;
}

bool CreateShortcut(const std::string& Target, const std::string& LinkPath, const std::string& Description) {
  IShellLinkA* Link = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                              reinterpret_cast<void**>(&Link))))
    return false;
  // SetPath answers S_FALSE for a target that does not exist yet: not a failure.
  Link->SetPath(Target.c_str());
  Link->SetDescription(Description.c_str());
  IPersistFile* File = nullptr;
  bool Saved = false;
  if (SUCCEEDED(Link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&File)))) {
    wchar_t Wide[MAX_PATH] = {};
    Saved = MultiByteToWideChar(CP_ACP, 0, LinkPath.c_str(), -1, Wide, MAX_PATH) > 0 &&
            SUCCEEDED(File->Save(Wide, TRUE));
    File->Release();
  }
  Link->Release();
  return Saved;
}

bool WaitForSuccess(HANDLE Process) {
  if (!Process) return false;
  for (;;) {
    const DWORD Waited = WaitForSingleObject(Process, 50);
    if (Waited == WAIT_OBJECT_0) break;
    if (Waited != WAIT_TIMEOUT) return false;
    MSG Msg;
    while (PeekMessageA(&Msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&Msg);
      DispatchMessageA(&Msg);
    }
  }
  DWORD Code = 1;
  return GetExitCodeProcess(Process, &Code) && Code == 0;
}

bool RunAndWait(const std::string& FileName, const std::string& Parameters) {
  SHELLEXECUTEINFOA Info{};
  Info.cbSize = sizeof Info;
  Info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_DDEWAIT;
  Info.hwnd = GetActiveWindow();
  Info.lpVerb = "open";
  Info.lpFile = FileName.c_str();
  Info.lpParameters = Parameters.c_str();
  Info.nShow = SW_SHOWNORMAL;
  if (!ShellExecuteExA(&Info)) return false;
  const bool Ok = WaitForSuccess(Info.hProcess);
  if (Info.hProcess) CloseHandle(Info.hProcess);
  return Ok;
}
