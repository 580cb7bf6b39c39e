// POSIX half of the file seam (file_platform.h). POSIX has no share modes, so
// "shared with nobody" cannot be enforced here; rename(2) replaces atomically.
#include <fcntl.h>
#include <sys/types.h>
#include <unistd.h>

#include <cstdio>

#include "file_platform.h"

std::FILE* OpenFileExclusive(const std::string& FileName, bool Create) {
  return std::fopen(FileName.c_str(), Create ? "w+b" : "rb");
}

int SeekFile(std::FILE* File, int64_t Offset, int Whence) { return fseeko(File, static_cast<off_t>(Offset), Whence); }

int64_t TellFile(std::FILE* File) { return static_cast<int64_t>(ftello(File)); }

bool SyncFile(std::FILE* File) { return fsync(fileno(File)) == 0; }

bool ReplaceFileAtomic(const std::string& From, const std::string& To) { return std::rename(From.c_str(), To.c_str()) == 0; }
