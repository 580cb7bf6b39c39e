// Builders of language and ring-tone images as the phone holds them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "byte_order.h"
#include "image_parsers.h"

// Signature, Length, Count, Count table words, then the records back to back.
inline std::vector<uint8_t> MakeImage(const std::vector<std::vector<uint8_t>>& Records) {
  std::vector<uint8_t> image(6 + 2 * Records.size(), 0);
  PutU16(&image[0], ImageSignature);
  PutU16(&image[4], static_cast<uint16_t>(Records.size()));
  for (size_t i = 0; i < Records.size(); ++i) PutU16(&image[6 + 2 * i], static_cast<uint16_t>(0x1111 * (i + 1)));
  for (const auto& record : Records) image.insert(image.end(), record.begin(), record.end());
  PutU16(&image[2], static_cast<uint16_t>(image.size() - 2));
  return image;
}

// A language record: S, id, S words, the texts with their zero bytes.
inline std::vector<uint8_t> LanguageRecord(const std::vector<std::string>& Texts, uint8_t Id = 7) {
  std::vector<uint8_t> record{static_cast<uint8_t>(Texts.size()), Id};
  record.resize(2 + 2 * Texts.size(), 0xAB);
  for (const std::string& text : Texts) {
    record.insert(record.end(), text.begin(), text.end());
    record.push_back(0);
  }
  return record;
}

inline uint32_t Note(uint16_t Divider, uint16_t Length) { return static_cast<uint32_t>(Length) << 16 | Divider; }

// The notes, then a terminator (low 16 bits 1) with arbitrary high bits.
inline std::vector<uint8_t> MelodyRecord(const std::vector<uint32_t>& Notes) {
  std::vector<uint8_t> record(4 * (Notes.size() + 1));
  for (size_t i = 0; i < Notes.size(); ++i) PutU32(&record[4 * i], Notes[i]);
  PutU32(&record[4 * Notes.size()], 0xBEEF0001);
  return record;
}

// The image in a buffer of MaxImageSize bytes, as the pools keep it.
inline std::vector<uint8_t> InBuffer(std::vector<uint8_t> Image) {
  Image.resize(MaxImageSize, 0);
  return Image;
}
