#include "test_files_win.h"

#include <gtest/gtest.h>

std::string BuildPath(const std::string& UnixPath) {
  std::string Path = "Z:" + UnixPath;
  for (char& C : Path)
    if (C == '/') C = '\\';
  return Path;
}

bool Exists(const std::string& Path) { return GetFileAttributesA(Path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool IsFolder(const std::string& Path) {
  const DWORD A = GetFileAttributesA(Path.c_str());
  return A != INVALID_FILE_ATTRIBUTES && (A & FILE_ATTRIBUTE_DIRECTORY);
}

std::string ReadFileText(const std::string& Path) {
  const HANDLE F = CreateFileA(Path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  if (F == INVALID_HANDLE_VALUE) return {};
  std::string Text;
  char Buffer[65536];
  DWORD R = 0;
  while (ReadFile(F, Buffer, sizeof Buffer, &R, nullptr) && R > 0) Text.append(Buffer, R);
  CloseHandle(F);
  return Text;
}

void WriteFileText(const std::string& Path, const std::string& Text) {
  const HANDLE F = CreateFileA(Path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(F, INVALID_HANDLE_VALUE) << Path;
  DWORD W = 0;
  WriteFile(F, Text.data(), static_cast<DWORD>(Text.size()), &W, nullptr);
  CloseHandle(F);
}

namespace {

LONGLONG Now() {
  FILETIME T;
  GetSystemTimeAsFileTime(&T);
  return static_cast<LONGLONG>(ULARGE_INTEGER{{T.dwLowDateTime, T.dwHighDateTime}}.QuadPart);
}

}  // namespace

void SetAge(const std::string& Path, LONGLONG Seconds) {
  ULARGE_INTEGER T;
  T.QuadPart = static_cast<ULONGLONG>(Now() + Seconds * 10000000LL);
  const FILETIME When{T.LowPart, T.HighPart};
  const HANDLE F = CreateFileA(Path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                               OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(F, INVALID_HANDLE_VALUE) << Path;
  SetFileTime(F, nullptr, nullptr, &When);
  CloseHandle(F);
}

LONGLONG AgeOf(const std::string& Path) {
  WIN32_FILE_ATTRIBUTE_DATA D{};
  GetFileAttributesExA(Path.c_str(), GetFileExInfoStandard, &D);
  const LONGLONG T = static_cast<LONGLONG>(ULARGE_INTEGER{{D.ftLastWriteTime.dwLowDateTime, D.ftLastWriteTime.dwHighDateTime}}.QuadPart);
  return (T - Now()) / 10000000LL;
}

