// Files and paths as the installer's Wine tests prepare and check them, for
// the in-process steps and for the driven Install.exe alike.
#pragma once

#include <windows.h>

#include <string>

// A Unix path of the build as Wine names it.
std::string BuildPath(const std::string& UnixPath);

bool Exists(const std::string& Path);
bool IsFolder(const std::string& Path);
// The file's bytes; empty when it cannot be read.
std::string ReadFileText(const std::string& Path);
// Creates or replaces the file; a failure fails the running test.
void WriteFileText(const std::string& Path, const std::string& Text);
// Sets a file's last write time to now plus Seconds.
void SetAge(const std::string& Path, LONGLONG Seconds);
// Seconds from now to the file's last write time.
LONGLONG AgeOf(const std::string& Path);
