// Byte streams for the data file and the pools' sections.
//
// The pools read and write their data-file sections through one small stream
// interface, so the same code serves a file on disk and a buffer in memory (the
// tests and the fuzz targets load from memory). Read and Write report how many
// bytes moved; ReadBuffer and WriteBuffer demand all of them and raise
// EStreamError otherwise, so a section cut short can never leave unread bytes
// in use. Texts are code page 1252, as the program shows them.
#pragma once

#include <cstdint>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

// The general exception of the data pool: a message text and nothing else.
// Every pool operation that reads or writes catches it (std::exception, in
// fact) and turns its message into TQVDP_ALL::ErrorText.
class EQVError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A read or write that could not move every byte it was asked for.
class EStreamError : public EQVError {
 public:
  using EQVError::EQVError;
};

// A file that could not be opened or created; the message names the file.
class EFileStreamError : public EStreamError {
 public:
  using EStreamError::EStreamError;
};

extern const char* const StreamReadErrorText;   // "Stream-Read-Fehler"
extern const char* const StreamWriteErrorText;  // "Stream-Write-Fehler"
extern const char* const FileOpenErrorText;     // "Datei %s kann nicht geöffnet werden"
extern const char* const FileCreateErrorText;   // "Datei %s kann nicht erstellt werden"

enum TSeekOrigin { soFromBeginning, soFromCurrent, soFromEnd };

class TStream {
 public:
  virtual ~TStream() = default;

  // Moves up to Count bytes; returns how many moved (0 at the end).
  virtual int32_t Read(void* Buffer, int32_t Count) = 0;
  virtual int32_t Write(const void* Buffer, int32_t Count) = 0;
  // Returns the new position.
  virtual int64_t Seek(int64_t Offset, TSeekOrigin Origin) = 0;
  virtual int64_t Position();
  virtual int64_t Size();
  // Bytes between the position and the end: a count read from a file that
  // asks for more than this cannot be honest and is refused before anything
  // is allocated or read for it.
  int64_t Remaining() { return Size() - Position(); }

  // All Count bytes or EStreamError ("Stream-Read-Fehler" / "Stream-Write-Fehler").
  void ReadBuffer(void* Buffer, int32_t Count);
  void WriteBuffer(const void* Buffer, int32_t Count);
};

// A growable buffer in memory.
class TMemoryStream : public TStream {
 public:
  TMemoryStream() = default;
  explicit TMemoryStream(std::vector<uint8_t> Bytes) : FBytes(std::move(Bytes)) {}

  int32_t Read(void* Buffer, int32_t Count) override;
  int32_t Write(const void* Buffer, int32_t Count) override;
  int64_t Seek(int64_t Offset, TSeekOrigin Origin) override;
  int64_t Size() override { return static_cast<int64_t>(FBytes.size()); }

  const std::vector<uint8_t>& Bytes() const { return FBytes; }

 private:
  std::vector<uint8_t> FBytes;
  size_t FPosition = 0;
};

// A file on disk. fmOpenRead opens an existing file for reading only,
// fmCreate creates it (replacing one that stands there) for reading and
// writing; in both modes nobody else may open the file while it is open,
// where the platform supports that.
enum TFileMode { fmOpenRead, fmCreate };

class TFileStream : public TStream {
 public:
  // EFileStreamError with "Datei %s kann nicht geöffnet werden" or
  // "Datei %s kann nicht erstellt werden", the file name in place of %s.
  TFileStream(const std::string& FileName, TFileMode Mode);
  ~TFileStream() override;
  TFileStream(const TFileStream&) = delete;
  TFileStream& operator=(const TFileStream&) = delete;

  int32_t Read(void* Buffer, int32_t Count) override;
  int32_t Write(const void* Buffer, int32_t Count) override;
  int64_t Seek(int64_t Offset, TSeekOrigin Origin) override;

  // Pushes everything written down to the disk; EStreamError
  // ("Stream-Write-Fehler") when the system refuses, e.g. a full disk.
  void Flush();
  // Flushes the C library's buffer and closes the file; false when that
  // last write failed. The destructor closes too, without being asked.
  bool Close();

 private:
  std::FILE* FFile = nullptr;
};

// Formats Pattern (which holds one %s) with Arg, as the program's own
// message texts are built: a pattern without %s comes back unchanged.
std::string FormatText(const std::string& Pattern, const std::string& Arg);
