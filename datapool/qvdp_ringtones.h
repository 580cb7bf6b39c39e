// TQVDP_RINGTONES, the pool of the ring tones installed on the phone.
//
// Like the languages, the image is kept raw and written back unchanged; the
// pool parses its melodies to name them on the settings page and to play one
// on the PC speaker through the platform seam.
#pragma once

#include <string>
#include <vector>

#include "qvdp_image_pool.h"

constexpr uint32_t RingtoneImageOffset = 0x2800;
constexpr uint32_t ToneClock = 8000000;  // a divider D sounds at ToneClock / D Hz
constexpr uint32_t NoteLengthUnit = 5;   // ms per unit of a note's length

class TQVDP_RINGTONES : public TQVDP_IMAGEPOOL {
 public:
  explicit TQVDP_RINGTONES(TQVDP_ALL* AOwner);
  ~TQVDP_RINGTONES() override;

  void Clear() override;
  // "Standard (0)", then "Melodie 1" .. "Melodie n" (the word from the texts).
  const std::vector<std::string>& Names();
  void ParseImage() override;
  void ClearMelodies();
  // Index is 1-based, like TPhoneSettings.Ringtone; outside 1..n nothing happens.
  void PlayMelody(int Index);

  std::vector<TNoteList> FMelodies;  // one per record, terminator excluded
  std::vector<std::string> FNames;
};
