// The data file: TQVDP_ALL's LoadFromStream, SaveToStream, LoadFromFile and
// SaveToFile. The owner writes the 16-byte header and each section's index
// byte; the pools write the rest of their sections.
//
// A save goes to a temporary file beside the data file, which replaces the
// data file only once it is complete and on the disk: a save that fails
// half-way (a full disk, a pool that cannot be written) leaves the previous
// data file as it was. A load refuses a file that ends inside its header or
// names a pool that does not exist, with the invalid-file text.
#include <cstdio>
#include <ctime>
#include <exception>

#include "file_platform.h"
#include "pool_texts.h"
#include "qvdp_all.h"
#include "stream.h"

namespace {

// Days from 30 December 1899 (the day count's origin) to 1 January 1970.
constexpr double UnixEpochDays = 25569.0;
constexpr double SecondsPerDay = 86400.0;

// Days since 1 January 1970 of a civil date (Howard Hinnant's days_from_civil).
long DaysFromCivil(long Year, unsigned Month, unsigned Day) {
  Year -= Month <= 2;
  const long era = (Year >= 0 ? Year : Year - 399) / 400;
  const unsigned yearOfEra = static_cast<unsigned>(Year - era * 400);
  const unsigned dayOfYear = (153 * (Month + (Month > 2 ? -3 : 9)) + 2) / 5 + Day - 1;
  const unsigned dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + static_cast<long>(dayOfEra) - 719468;
}

// The current local date and time as a day count since 30 December 1899.
double LocalNowAsDays() {
  const std::time_t now = std::time(nullptr);
  const std::tm* local = std::localtime(&now);  // the user-interface thread is the only caller
  if (!local) return UnixEpochDays + static_cast<double>(now) / SecondsPerDay;
  const long days = DaysFromCivil(local->tm_year + 1900L, static_cast<unsigned>(local->tm_mon + 1),
                                  static_cast<unsigned>(local->tm_mday));
  const double seconds = local->tm_hour * 3600.0 + local->tm_min * 60.0 + local->tm_sec;
  return UnixEpochDays + static_cast<double>(days) + seconds / SecondsPerDay;
}

// Where the save goes before it replaces the data file: the same folder, so
// that the replace is one rename on the same volume.
std::string TemporaryName(const std::string& FileName) { return FileName + ".tmp"; }

}  // namespace

bool TQVDP_ALL::SaveToStream(TStream& Stream) {
  try {
    FHeader = TDataFileHeader{DataFileMagic, LocalNowAsDays(), ProgramVersion};
    Stream.WriteBuffer(&FHeader, sizeof FHeader);
    for (int Index = 0; Index < PoolCount; ++Index) {
      const uint8_t indexByte = static_cast<uint8_t>(Index);
      Stream.WriteBuffer(&indexByte, 1);
      if (!FPools[Index]->SaveToStream(Stream)) return false;
    }
    return true;
  } catch (const std::exception& Error) {
    FErrorText = Error.what();
    return false;
  }
}

bool TQVDP_ALL::LoadFromStream(TStream& Stream) {
  try {
    TDataFileHeader header{};
    if (Stream.Read(&header, sizeof header) != sizeof header || header.Magic != DataFileMagic) {
      FErrorText = PoolText(InvalidFileTextId);
      return false;
    }
    FHeader = header;
    FBusy = true;
    for (int Section = 0; Section < PoolCount; ++Section) {
      uint8_t index = 0;
      if (Stream.Read(&index, 1) != 1 || index >= PoolCount) {
        FErrorText = PoolText(InvalidFileTextId);
        FBusy = false;
        return false;
      }
      if (!FPools[index]->LoadFromStream(Stream)) {
        FBusy = false;
        return false;
      }
    }
  } catch (const std::exception& Error) {
    FErrorText = Error.what();
    FBusy = false;
    return false;
  }
  FBusy = false;
  for (int Index = 0; Index < PoolCount; ++Index) DoChange(static_cast<TPoolIndex>(Index));
  return true;
}

bool TQVDP_ALL::LoadFromFile(const std::string& FileName) {
  bool result = false;
  try {
    TFileStream file(FileName, fmOpenRead);
    result = LoadFromStream(file);
  } catch (const std::exception& Error) {  // the file could not be opened
    FErrorText = Error.what();
    return false;
  }
  if (!result) FErrorText = FormatText(FErrorText, FileName);
  return result;
}

bool TQVDP_ALL::SaveToFile(const std::string& FileName) {
  const std::string temporary = TemporaryName(FileName);
  const std::string createError = FormatText(FileCreateErrorText, FileName);
  bool saved = false;
  try {
    TFileStream file(temporary, fmCreate);
    saved = SaveToStream(file);
    if (saved) {
      file.Flush();
      if (!file.Close()) throw EStreamError(StreamWriteErrorText);
    }
  } catch (const EFileStreamError&) {  // the temporary file could not be created
    FErrorText = createError;
    return false;
  } catch (const std::exception& Error) {
    FErrorText = Error.what();
    saved = false;
  }
  if (saved && !ReplaceFileAtomic(temporary, FileName)) {
    FErrorText = createError;
    saved = false;
  }
  if (!saved) std::remove(temporary.c_str());
  return saved;
}
