// Parsers of the language and ring-tone images that the phone keeps in its
// memory area.
//
// Both images share one layout: signature 0x5A3C, Length (the image is
// Length + 2 bytes), Count, a table of Count words, then Count records. The
// desktop program only reads names and notes out of them, but the bytes come
// from the phone or from a data file, so every record, text and terminator
// must lie inside the image's Length + 2 bytes (and inside the buffer): an
// image that breaks this is "broken", the parse gives no lists at all, and
// the caller decides what that means.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

constexpr uint32_t MaxImageSize = 65536;
constexpr uint16_t ImageSignature = 0x5A3C;
constexpr int ImageHeaderSize = 8;  // signature, Length, Count, the first table word

using TLangStringList = std::vector<std::string>;  // one language's texts; the first is its name
using TNoteList = std::vector<uint32_t>;           // a melody's notes, terminator excluded

enum class TImageParse {
  Empty,   // no signature, or no records: nothing to list
  Parsed,  // every record lay inside the image
  Broken,  // a record, text or terminator ran past the image; nothing listed
};

// Image holds ImageBytes readable bytes (at most MaxImageSize).
TImageParse ParseLanguageImage(const uint8_t* Image, size_t ImageBytes, std::vector<TLangStringList>& Languages);
TImageParse ParseMelodyImage(const uint8_t* Image, size_t ImageBytes, std::vector<TNoteList>& Melodies);

// The image's own size, Length + 2, from its header.
inline uint32_t ImageTotal(const uint8_t* Image) { return static_cast<uint32_t>(Image[2] | (Image[3] << 8)) + 2; }
