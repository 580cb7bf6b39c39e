// The copy keeps the LZ expander for the source (a payload could be shipped
// compressed) but opens the destination with OpenFile: LZOpenFileA's create
// mode, given a name it cannot open (a running program, a file held without
// write sharing, a folder), quietly creates the name with its last character
// replaced by "_" and reports success, so a failed install looked complete.
#include "files_win.h"

#include <windows.h>

#include "dos_time.h"
#include "install_plan.h"
#include "lang.h"
#include "message_win.h"

namespace {

// OF_SHARE_DENY_READ and OF_SHARE_DENY_WRITE as the copy asks for them; the
// size field is what the ANSI OFSTRUCT holds.
constexpr UINT SourceStyle = OF_READ | OF_SHARE_DENY_READ;
constexpr UINT DestStyle = OF_CREATE | OF_SHARE_DENY_WRITE;

bool Fail(int Text, const std::string& Path) {
  ShowPlainMessage(FormatText(LangText(Text), Path));
  return false;
}

// The file's last write time in local time; false when it has none to read.
bool LocalWriteTime(const std::string& Path, TCivilTime& Time) {
  WIN32_FILE_ATTRIBUTE_DATA Data;
  FILETIME Local;
  SYSTEMTIME S;
  if (!GetFileAttributesExA(Path.c_str(), GetFileExInfoStandard, &Data) ||
      !FileTimeToLocalFileTime(&Data.ftLastWriteTime, &Local) || !FileTimeToSystemTime(&Local, &S))
    return false;
  Time = {S.wYear, S.wMonth, S.wDay, S.wHour, S.wMinute, S.wSecond};
  return true;
}

bool IsFile(const std::string& Path) {
  const DWORD A = GetFileAttributesA(Path.c_str());
  return A != INVALID_FILE_ATTRIBUTES && !(A & FILE_ATTRIBUTE_DIRECTORY);
}

bool CreateFolders(const std::string& Folder) {
  for (const auto& Level : FolderChain(Folder))
    if (!CreateFolder(Level)) return false;
  return true;
}

}  // namespace

bool ExtractResourceFile(const std::string& ResName, const std::string& FileName) {
  // A loaded resource is part of the mapped image: there is nothing to free.
  const HRSRC Info = FindResourceA(nullptr, ResName.c_str(), "FILELIST");
  const HGLOBAL Loaded = Info ? LoadResource(nullptr, Info) : nullptr;
  const void* Bytes = Loaded ? LockResource(Loaded) : nullptr;
  if (!Bytes) return Fail(2, FileName);
  const DWORD Size = SizeofResource(nullptr, Info);
  const HANDLE File = CreateFileA(FileName.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (File == INVALID_HANDLE_VALUE) return Fail(2, FileName);
  DWORD Written = 0;
  const bool Ok = WriteFile(File, Bytes, Size, &Written, nullptr) && Written == Size;
  return CloseHandle(File) && Ok ? true : Fail(2, FileName);
}

bool ExpandCopyFile(const std::string& Source, const std::string& Dest) {
  OFSTRUCT SourceOf{};
  SourceOf.cBytes = sizeof(OFSTRUCT);
  const INT From = LZOpenFileA(const_cast<char*>(Source.c_str()), &SourceOf, SourceStyle);
  if (From < 0) return Fail(3, Source);

  TCivilTime SourceTime, DestTime;
  if (IsFile(Dest) && LocalWriteTime(Source, SourceTime) && LocalWriteTime(Dest, DestTime) &&
      !SourceIsNewer(SourceTime, DestTime)) {
    LZClose(From);
    return true;
  }
  const std::string Folder = FolderOf(Dest);
  if (!Folder.empty() && !CreateFolders(Folder)) {
    LZClose(From);
    return Fail(4, Folder);
  }
  OFSTRUCT DestOf{};
  DestOf.cBytes = sizeof(OFSTRUCT);
  const HFILE To = OpenFile(Dest.c_str(), &DestOf, DestStyle);
  if (To == HFILE_ERROR) {
    LZClose(From);
    return Fail(5, Dest);
  }
  const LONG Copied = LZCopy(From, To);
  LZClose(From);
  LZClose(To);
  return Copied < 0 ? Fail(6, Source) : true;
}

bool CreateFolder(const std::string& Path) {
  if (CreateDirectoryA(Path.c_str(), nullptr)) return true;
  // "Already exists" is also the answer for a file of that name.
  if (GetLastError() != ERROR_ALREADY_EXISTS) return false;
  const DWORD A = GetFileAttributesA(Path.c_str());
  return A != INVALID_FILE_ATTRIBUTES && (A & FILE_ATTRIBUTE_DIRECTORY);
}
