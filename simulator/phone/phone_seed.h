// Seeded phones: a phone state filled with entries, pictures, languages and
// ring tones of chosen sizes, laid out as the phone keeps them (phonebook 1
// as records, pictures packed, phonebook 2, languages and ring tones as
// memory images in the memory area). The tests' round trips, the benchmarks
// and the simulator's demo state start from here.
//
// Entries are seeded in the order the desktop program sorts them, so a phone
// that is read and written back unchanged holds exactly its seed again.
#pragma once

#include <cstdint>
#include <vector>

#include "phone_state.h"

struct TPhoneSeed {
  int Phonebook1Entries = 0;
  int Phonebook2Entries = 0;  // at most 200, the image's room
  int Pictures = 0;           // slots 1 .. Pictures hold a picture, at most 24
  uint32_t LanguageImage = 0; // bytes of the language image, 0 for none; at most 65,536
  int Melodies = 0;
};

// Where the three images lie from the memory area's base.
constexpr uint32_t PhoneRingtoneOffset = 0x2800;
constexpr uint32_t PhonePhonebook2Offset = 0x5000;
constexpr uint32_t PhoneLanguageOffset = 0x8000;

// A phone as the seed describes it; settings, texts and clock hold fixed
// values that a round trip must carry unchanged.
TPhoneState MakeSeededPhone(const TPhoneSeed& Seed);
// The full phone of the benchmarks: 50 + 200 entries, 24 pictures, a 65,536-byte
// language image (Length 65,534) and 20 melodies.
TPhoneSeed FullPhoneSeed();
// The simulator's demo phone (simulator/demo/demo.qvphone): a dozen entries
// with pictures, a second phonebook, three languages and eight melodies.
TPhoneSeed DemoPhoneSeed();
// A 85 x 110 picture with 240 palette records, packed as the phone keeps it.
std::vector<uint8_t> SeededPicture(uint8_t Variant);
