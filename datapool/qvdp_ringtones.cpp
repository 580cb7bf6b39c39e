// The ring-tone pool, see qvdp_ringtones.h.
#include "qvdp_ringtones.h"

#include "pool_platform.h"
#include "pool_texts.h"

TQVDP_RINGTONES::TQVDP_RINGTONES(TQVDP_ALL* AOwner) : TQVDP_IMAGEPOOL(AOwner, piRingtones, RingtoneImageOffset) {
  Clear();
}

TQVDP_RINGTONES::~TQVDP_RINGTONES() { Clear(); }

void TQVDP_RINGTONES::Clear() {
  ClearImage();
  ClearMelodies();
  Changed();
}

void TQVDP_RINGTONES::ParseImage() { ParseMelodyImage(FImage.data(), MaxImageSize, FMelodies); }

void TQVDP_RINGTONES::ClearMelodies() { FMelodies.clear(); }

const std::vector<std::string>& TQVDP_RINGTONES::Names() {
  FNames.assign(1, "Standard (0)");
  const std::string melody = PoolText(MelodyTextId);
  for (size_t n = 1; n <= FMelodies.size(); ++n) FNames.push_back(melody + " " + std::to_string(n));
  return FNames;
}

void TQVDP_RINGTONES::PlayMelody(int Index) {
  if (Index < 1 || static_cast<size_t>(Index) > FMelodies.size()) return;
  TPoolPlatform& platform = PoolPlatform();
  platform.SetCursor(TPoolCursor::HourGlass);
  for (const uint32_t note : FMelodies[static_cast<size_t>(Index) - 1]) {
    const uint32_t divider = note & 0xFFFF;
    const uint32_t length = (note >> 16) * NoteLengthUnit;
    if (divider > 0)
      platform.Beep(ToneClock / divider, length);
    else
      platform.Sleep(length);
  }
  platform.SetCursor(TPoolCursor::Default);
}
