// The language and ring-tone image parsers, see image_parsers.h.
//
// Each record parser returns the record's size, or 0 when the record does not
// fit in the bytes left; a size of 0 cannot be a real record, since a
// language record holds at least its count, id and one name, and a melody at
// least its terminator.
#include "image_parsers.h"

#include <algorithm>
#include <cstring>

#include "byte_order.h"

namespace {

constexpr int ImageTableOffset = 6;
constexpr uint16_t MelodyTerminator = 1;

// Where the records start and where the image ends; false when the header's
// own claims do not fit.
struct TRecordRange {
  uint32_t First;
  uint32_t End;
  uint16_t Count;
};

TImageParse FindRecords(const uint8_t* Image, size_t ImageBytes, TRecordRange& Range) {
  if (ImageBytes < ImageTableOffset || GetU16(Image) != ImageSignature) return TImageParse::Empty;
  Range.Count = GetU16(Image + 4);
  if (Range.Count == 0) return TImageParse::Empty;
  Range.End = ImageTotal(Image);
  Range.First = ImageTableOffset + 2u * Range.Count;
  if (Range.End > std::min<size_t>(ImageBytes, MaxImageSize) || Range.First > Range.End) return TImageParse::Broken;
  return TImageParse::Parsed;
}

// A language record: S, id, S words, then S zero-terminated texts.
size_t ParseLanguageRecord(const uint8_t* Record, size_t Left, TLangStringList& Texts) {
  if (Left < 2) return 0;
  const size_t texts = Record[0];
  size_t at = 2 + 2 * texts;
  if (texts == 0 || at > Left) return 0;
  for (size_t i = 0; i < texts; ++i) {
    const void* end = std::memchr(Record + at, 0, Left - at);
    if (!end) return 0;
    const size_t length = static_cast<const uint8_t*>(end) - (Record + at);
    Texts.emplace_back(reinterpret_cast<const char*>(Record + at), length);
    at += length + 1;
  }
  return at;
}

// A melody record: 32-bit notes up to the one whose low 16 bits are 1.
size_t ParseMelodyRecord(const uint8_t* Record, size_t Left, TNoteList& Notes) {
  for (size_t at = 0; at + 4 <= Left; at += 4) {
    const uint32_t note = GetU32(Record + at);
    if ((note & 0xFFFF) == MelodyTerminator) return at + 4;
    Notes.push_back(note);
  }
  return 0;
}

template <typename TList, typename TRecordParser>
TImageParse ParseRecords(const uint8_t* Image, size_t ImageBytes, std::vector<TList>& Lists, TRecordParser Parse) {
  Lists.clear();
  TRecordRange range{};
  const TImageParse found = FindRecords(Image, ImageBytes, range);
  if (found != TImageParse::Parsed) return found;
  uint32_t at = range.First;
  for (uint16_t i = 0; i < range.Count; ++i) {
    TList list;
    const size_t size = Parse(Image + at, range.End - at, list);
    if (size == 0) {
      Lists.clear();
      return TImageParse::Broken;
    }
    Lists.push_back(std::move(list));
    at += static_cast<uint32_t>(size);
  }
  return TImageParse::Parsed;
}

}  // namespace

TImageParse ParseLanguageImage(const uint8_t* Image, size_t ImageBytes, std::vector<TLangStringList>& Languages) {
  return ParseRecords(Image, ImageBytes, Languages, ParseLanguageRecord);
}

TImageParse ParseMelodyImage(const uint8_t* Image, size_t ImageBytes, std::vector<TNoteList>& Melodies) {
  return ParseRecords(Image, ImageBytes, Melodies, ParseMelodyRecord);
}
