// Feeds arbitrary bytes to the language and melody parsers as a phone's or a
// data file's image. The input is copied into a buffer of exactly its size, so
// a record, text or terminator followed past the image's end is caught; a
// parse that succeeds must name every language and list no more records than
// the header counts.
#include <cstdlib>
#include <vector>

#include "byte_order.h"
#include "image_parsers.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  if (Size > MaxImageSize) return 0;
  const std::vector<uint8_t> image(Data, Data + Size);
  std::vector<TLangStringList> languages;
  std::vector<TNoteList> melodies;
  const TImageParse langs = ParseLanguageImage(image.data(), image.size(), languages);
  const TImageParse tunes = ParseMelodyImage(image.data(), image.size(), melodies);
  const size_t count = Size >= 6 ? GetU16(image.data() + 4) : 0;
  if ((langs == TImageParse::Parsed) != !languages.empty() || (tunes == TImageParse::Parsed) != !melodies.empty())
    abort();
  if ((langs == TImageParse::Parsed && languages.size() != count) ||
      (tunes == TImageParse::Parsed && melodies.size() != count))
    abort();
  for (const TLangStringList& texts : languages)
    if (texts.empty()) abort();
  // A melody's notes and its terminator lie inside the image.
  size_t notes = 0;
  for (const TNoteList& melody : melodies) notes += melody.size() + 1;
  if (4 * notes > Size) abort();
  return 0;
}
