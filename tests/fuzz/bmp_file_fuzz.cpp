// Feeds arbitrary bytes to the BMP reader as a data file's picture slot would.
// A file it accepts must end where its own headers say, so the bytes of the
// next slot behind it change neither the bitmap nor where the reader stops,
// and it must come out of the writer and back through the reader as the same
// bitmap; a refusal must be one of the reader's two texts.
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "bmp_file.h"
#include "pool_texts.h"
#include "stream.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  TMemoryStream stream(std::vector<uint8_t>(Data, Data + Size));
  TBitmap bitmap;
  static const std::string invalid = BuiltInPoolText(InvalidBitmapTextId);
  try {
    LoadBitmapFromStream(stream, bitmap);
  } catch (const std::exception& error) {
    if (invalid != error.what() && std::strcmp(error.what(), StreamReadErrorText) != 0)
      abort();
    return 0;
  }
  std::vector<uint8_t> followed(Data, Data + Size);
  followed.insert(followed.end(), {'B', 'M', 0xFF, 0x00});
  TMemoryStream withNext(std::move(followed));
  TBitmap same;
  LoadBitmapFromStream(withNext, same);
  if (same != bitmap || withNext.Position() != stream.Position()) abort();
  TMemoryStream saved;
  SaveBitmapToStream(saved, bitmap);
  saved.Seek(0, soFromBeginning);
  TBitmap again;
  LoadBitmapFromStream(saved, again);
  if (again != bitmap || saved.Position() != saved.Size()) abort();
  return 0;
}
