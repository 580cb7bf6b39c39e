// The few file operations whose calls differ between Windows and POSIX.
//
// Everything else in the data pool uses the C library's files; these sit
// behind one seam with a *_posix.cpp and a *_win.cpp half, so that no portable
// file needs an #ifdef.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

// Opens FileName in binary mode, shared with nobody where the platform can
// refuse other openers: Create false reads an existing file, Create true
// creates or truncates it for reading and writing. nullptr on failure.
std::FILE* OpenFileExclusive(const std::string& FileName, bool Create);

// 64-bit seek and tell on a C file.
int SeekFile(std::FILE* File, int64_t Offset, int Whence);
int64_t TellFile(std::FILE* File);

// Makes the written bytes of an already fflush-ed file durable on the disk.
bool SyncFile(std::FILE* File);

// Puts From in the place of To in one step: after a crash either the old To or
// the complete From stands there. Both lie in the same folder.
bool ReplaceFileAtomic(const std::string& From, const std::string& To);
