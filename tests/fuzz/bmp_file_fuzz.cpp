// Feeds arbitrary bytes to the BMP reader as a data file's picture slot would.
// A file it accepts must not have been read past its end, and must come out
// of the writer and back through the reader as the same bitmap; a refusal must
// be one of the reader's two texts.
#include <cstdlib>
#include <cstring>

#include "bmp_file.h"
#include "stream.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  TMemoryStream stream(std::vector<uint8_t>(Data, Data + Size));
  TBitmap bitmap;
  try {
    LoadBitmapFromStream(stream, bitmap);
  } catch (const std::exception& error) {
    if (std::strcmp(error.what(), InvalidBitmapText) != 0 && std::strcmp(error.what(), StreamReadErrorText) != 0)
      abort();
    return 0;
  }
  if (stream.Position() > static_cast<int64_t>(Size)) abort();
  TMemoryStream saved;
  SaveBitmapToStream(saved, bitmap);
  saved.Seek(0, soFromBeginning);
  TBitmap again;
  LoadBitmapFromStream(saved, again);
  if (again != bitmap || saved.Position() != saved.Size()) abort();
  return 0;
}
