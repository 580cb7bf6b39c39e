// Win32 half of the file seam (file_platform.h): share mode "deny read and
// write" for the exclusive open, FlushFileBuffers for durability and
// MoveFileExA with MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH for the
// atomic replace (std::rename refuses an existing target on Windows).
#include <windows.h>
#include <io.h>
#include <share.h>

#include <cstdio>

#include "file_platform.h"

std::FILE* OpenFileExclusive(const std::string& FileName, bool Create) {
  return _fsopen(FileName.c_str(), Create ? "w+b" : "rb", _SH_DENYRW);
}

int SeekFile(std::FILE* File, int64_t Offset, int Whence) { return _fseeki64(File, Offset, Whence); }

int64_t TellFile(std::FILE* File) { return _ftelli64(File); }

bool SyncFile(std::FILE* File) {
  const HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(File)));
  return handle != INVALID_HANDLE_VALUE && FlushFileBuffers(handle) != 0;
}

bool ReplaceFileAtomic(const std::string& From, const std::string& To) {
  return MoveFileExA(From.c_str(), To.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}
