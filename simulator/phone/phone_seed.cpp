// The seeded phones, see phone_seed.h. The images follow the phone's layouts:
// phonebook 2 is signature 0x5A3D, count and entries; languages and ring
// tones are signature 0x5A3C, Length, Count, a table of Count words, then the
// records.
#include "phone_seed.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "byte_order.h"

namespace {

constexpr uint16_t Phonebook2Signature = 0x5A3D;
constexpr uint16_t ImageSignature = 0x5A3C;
constexpr int PictureWidth = 85;
constexpr int PictureHeight = 110;
constexpr int PicturePalette = 240;

TPBEntry SeededEntry(const char* Prefix, int Number) {
  TPBEntry entry{};
  entry.Kind = static_cast<uint8_t>(Number % 3 | (Number % 2) << 4);  // high bits carried by the PC
  std::snprintf(entry.Name, sizeof entry.Name, "%s %03d", Prefix, Number);
  std::snprintf(entry.Number, sizeof entry.Number, "+49 30 %07d", 1234567 + Number * 7);
  entry.Reserved = static_cast<uint16_t>(0x0100 + Number);
  return entry;
}

// Signature, Length, Count, the table, then the records.
std::vector<uint8_t> Image(const std::vector<std::vector<uint8_t>>& Records) {
  std::vector<uint8_t> image(6 + 2 * Records.size(), 0);
  PutU16(&image[0], ImageSignature);
  PutU16(&image[4], static_cast<uint16_t>(Records.size()));
  for (size_t i = 0; i < Records.size(); ++i) PutU16(&image[6 + 2 * i], static_cast<uint16_t>(i * 31 + 5));
  for (const auto& record : Records) image.insert(image.end(), record.begin(), record.end());
  PutU16(&image[2], static_cast<uint16_t>(image.size() - 2));
  return image;
}

std::vector<uint8_t> LanguageRecord(int Language, int Texts) {
  std::vector<uint8_t> record{static_cast<uint8_t>(Texts), static_cast<uint8_t>(0x10 + Language)};
  for (int i = 0; i < Texts; ++i) {
    record.push_back(static_cast<uint8_t>(i));
    record.push_back(static_cast<uint8_t>(Language));
  }
  for (int i = 0; i < Texts; ++i) {
    const std::string text = i == 0 ? "Sprache " + std::to_string(Language + 1)
                                    : "Text " + std::to_string(i) + " der Sprache " + std::to_string(Language + 1);
    record.insert(record.end(), text.begin(), text.end());
    record.push_back(0);
  }
  return record;
}

// Languages of 200 texts each until the image is as large as asked; the last
// text of the last language takes up what is left.
std::vector<uint8_t> LanguageImage(uint32_t Size) {
  std::vector<std::vector<uint8_t>> records;
  for (;;) {
    records.push_back(LanguageRecord(static_cast<int>(records.size()), 200));
    if (Image(records).size() > Size) {
      records.pop_back();
      break;
    }
  }
  if (records.empty()) records.push_back(LanguageRecord(0, 1));
  std::vector<uint8_t> image = Image(records);
  if (image.size() < Size) {
    image.insert(image.end() - 1, Size - image.size(), 'x');
    PutU16(&image[2], static_cast<uint16_t>(image.size() - 2));
  }
  return image;
}

std::vector<uint8_t> MelodyRecord(int Melody) {
  std::vector<uint8_t> record;
  const int notes = 8 + Melody % 16;
  for (int i = 0; i < notes; ++i) {
    uint8_t note[4];
    const uint16_t divider = i % 5 == 4 ? 0 : static_cast<uint16_t>(4000 + 250 * ((i + Melody) % 12));
    PutU32(note, static_cast<uint32_t>(20 + 10 * (i % 4)) << 16 | divider);
    record.insert(record.end(), note, note + 4);
  }
  uint8_t terminator[4];
  PutU32(terminator, 0x00000001);
  record.insert(record.end(), terminator, terminator + 4);
  return record;
}

}  // namespace

std::vector<uint8_t> SeededPicture(uint8_t Variant) {
  std::vector<uint8_t> picture(6 + 4 * PicturePalette + PictureWidth * PictureHeight);
  PutU16(&picture[0], PictureWidth);
  PutU16(&picture[2], PictureHeight);
  PutU16(&picture[4], PicturePalette);
  uint8_t* p = &picture[6];
  for (int i = 0; i < PicturePalette; ++i) {  // index bytes from 0, as the PC sends them
    *p++ = static_cast<uint8_t>(i);
    *p++ = static_cast<uint8_t>(i + Variant * 40);
    *p++ = static_cast<uint8_t>(i * 3 + Variant);
    *p++ = static_cast<uint8_t>(255 - i);
  }
  for (int row = 0; row < PictureHeight; ++row)
    for (int x = 0; x < PictureWidth; ++x) *p++ = static_cast<uint8_t>((row * 7 + x * 3 + Variant) % 256);
  return picture;
}

TPhoneState MakeSeededPhone(const TPhoneSeed& Seed) {
  TPhoneState state;
  for (int i = 0; i < Seed.Phonebook1Entries; ++i) state.Phonebook1.push_back(SeededEntry("Eintrag", i));
  for (int i = 0; i < std::min(Seed.Pictures, PhonePictureSlots); ++i)
    state.Pictures[static_cast<size_t>(i)] = SeededPicture(static_cast<uint8_t>(i));
  for (int i = 0; i < Seed.Phonebook1Entries; ++i)
    state.Phonebook1[static_cast<size_t>(i)].Picture = Seed.Pictures > 0 ? static_cast<uint8_t>(1 + i % Seed.Pictures) : 0;

  uint8_t* memory = state.Memory.data();
  const int entries = std::min(Seed.Phonebook2Entries, 200);
  PutU16(memory + PhonePhonebook2Offset, Phonebook2Signature);
  PutU16(memory + PhonePhonebook2Offset + 2, static_cast<uint16_t>(entries));
  for (int i = 0; i < entries; ++i) {
    const TPBEntry entry = SeededEntry("Kontakt", i);
    std::memcpy(memory + PhonePhonebook2Offset + 4 + i * sizeof(TPBEntry), &entry, sizeof entry);
  }
  if (Seed.LanguageImage > 0) {
    const std::vector<uint8_t> image = LanguageImage(std::min<uint32_t>(Seed.LanguageImage, 0x10000));
    std::copy(image.begin(), image.end(), memory + PhoneLanguageOffset);
  }
  if (Seed.Melodies > 0) {
    std::vector<std::vector<uint8_t>> melodies;
    for (int i = 0; i < Seed.Melodies; ++i) melodies.push_back(MelodyRecord(i));
    const std::vector<uint8_t> image = Image(melodies);
    std::copy(image.begin(), image.end(), memory + PhoneRingtoneOffset);
  }

  state.Settings.TimeZone = 60;
  state.Settings.Flags = 1u << 24 | 1u << 11 | 1u << 6 | 0x00200002;  // enhanced, ask PIN, no view, two unknown bits
  state.Settings.BacklightTime = 30;
  state.Settings.Contrast = 128;
  state.Settings.Language = Seed.LanguageImage > 0 ? 1 : 0;
  state.Settings.Ringtone = Seed.Melodies > 0 ? 2 : 0;
  state.Settings.Intensity = 200;
  state.Settings.Reserved19[0] = 0x5A;  // a byte the PC never reads
  for (int slot = 0; slot < PhoneTextSlots; ++slot)
    std::snprintf(state.Texts[slot], PhoneTextSize, "Vorlage %d", slot + 1);
  std::snprintf(state.Text, PhoneTextSize, "Quorvale");
  state.Clock = {12, 30, 0, 1, 6, 4, 0x77};  // 1 June 2004: the desktop program will set it
  return state;
}

TPhoneSeed FullPhoneSeed() { return TPhoneSeed{50, 200, 24, 0x10000, 20}; }

TPhoneSeed DemoPhoneSeed() { return TPhoneSeed{12, 30, 6, 16000, 8}; }
