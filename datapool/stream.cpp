// Byte streams: the memory buffer and the file, see stream.h.
#include "stream.h"

#include <algorithm>
#include <cstring>

#include "file_platform.h"

const char* const StreamReadErrorText = "Stream-Read-Fehler";
const char* const StreamWriteErrorText = "Stream-Write-Fehler";

// Code page 1252: 0xF6 is the small o with diaeresis.
const char* const FileOpenErrorText = "Datei %s kann nicht ge\xF6" "ffnet werden";
const char* const FileCreateErrorText = "Datei %s kann nicht erstellt werden";

int64_t TStream::Position() { return Seek(0, soFromCurrent); }

int64_t TStream::Size() {
  const int64_t here = Position();
  const int64_t end = Seek(0, soFromEnd);
  Seek(here, soFromBeginning);
  return end;
}

void TStream::ReadBuffer(void* Buffer, int32_t Count) {
  if (Count < 0 || (Count > 0 && Read(Buffer, Count) != Count)) throw EStreamError(StreamReadErrorText);
}

void TStream::WriteBuffer(const void* Buffer, int32_t Count) {
  if (Count < 0 || (Count > 0 && Write(Buffer, Count) != Count)) throw EStreamError(StreamWriteErrorText);
}

int32_t TMemoryStream::Read(void* Buffer, int32_t Count) {
  if (Count <= 0 || FPosition >= FBytes.size()) return 0;
  const size_t n = std::min(static_cast<size_t>(Count), FBytes.size() - FPosition);
  std::memcpy(Buffer, FBytes.data() + FPosition, n);
  FPosition += n;
  return static_cast<int32_t>(n);
}

int32_t TMemoryStream::Write(const void* Buffer, int32_t Count) {
  if (Count <= 0) return 0;
  const size_t end = FPosition + static_cast<size_t>(Count);
  if (end > FBytes.size()) FBytes.resize(end);
  std::memcpy(FBytes.data() + FPosition, Buffer, static_cast<size_t>(Count));
  FPosition = end;
  return Count;
}

int64_t TMemoryStream::Seek(int64_t Offset, TSeekOrigin Origin) {
  int64_t base = 0;
  if (Origin == soFromCurrent) base = static_cast<int64_t>(FPosition);
  if (Origin == soFromEnd) base = static_cast<int64_t>(FBytes.size());
  // A position past the end is allowed, as for files: a later write fills the gap.
  FPosition = static_cast<size_t>(std::max<int64_t>(0, base + Offset));
  return static_cast<int64_t>(FPosition);
}

TFileStream::TFileStream(const std::string& FileName, TFileMode Mode) {
  FFile = OpenFileExclusive(FileName, Mode == fmCreate);
  if (!FFile) throw EFileStreamError(FormatText(Mode == fmCreate ? FileCreateErrorText : FileOpenErrorText, FileName));
}

TFileStream::~TFileStream() { Close(); }

int32_t TFileStream::Read(void* Buffer, int32_t Count) {
  if (Count <= 0) return 0;
  return static_cast<int32_t>(std::fread(Buffer, 1, static_cast<size_t>(Count), FFile));
}

int32_t TFileStream::Write(const void* Buffer, int32_t Count) {
  if (Count <= 0) return 0;
  return static_cast<int32_t>(std::fwrite(Buffer, 1, static_cast<size_t>(Count), FFile));
}

int64_t TFileStream::Seek(int64_t Offset, TSeekOrigin Origin) {
  const int whence = Origin == soFromBeginning ? SEEK_SET : Origin == soFromCurrent ? SEEK_CUR : SEEK_END;
  if (SeekFile(FFile, Offset, whence) != 0) return -1;
  return TellFile(FFile);
}

void TFileStream::Flush() {
  if (std::fflush(FFile) != 0 || !SyncFile(FFile)) throw EStreamError(StreamWriteErrorText);
}

bool TFileStream::Close() {
  if (!FFile) return true;
  const bool ok = std::fclose(FFile) == 0;
  FFile = nullptr;
  return ok;
}

std::string FormatText(const std::string& Pattern, const std::string& Arg) {
  const size_t mark = Pattern.find("%s");
  if (mark == std::string::npos) return Pattern;
  return Pattern.substr(0, mark) + Arg + Pattern.substr(mark + 2);
}
