// The pictures pool's data-file section: the 24 slot marks, the slot count,
// then per slot a presence byte and, for an occupied slot, its BMP file.
//
// The slot count comes from the file. A count the rest of the file cannot
// supply is refused as an invalid file; slots past the 24th may be listed as
// absent; one listed as present fails with the platform's list-index text,
// before anything is read or stored for it.
#include <cstdint>

#include "bmp_file.h"
#include "byte_order.h"
#include "pool_texts.h"
#include "qvdp_all.h"
#include "qvdp_pictures.h"
#include "stream.h"

// Code page 1252: 0xFC is the small u with diaeresis; %d stands for the largest index + 1.
static const char* const ListIndexErrorText = "Der Index der Liste \xFC" "berschreitet das Maximum (%d)";

static std::string ListIndexError(int Count) {
  std::string text = ListIndexErrorText;
  text.replace(text.find("%d"), 2, std::to_string(Count));
  return text;
}

bool TQVDP_PICTURES::LoadFromStream(TStream& Stream) {
  const bool result = Guarded([&] {
    TQV_DATAPOOL::LoadFromStream(Stream);
    const bool changed = FChanged;
    Clear();
    FChanged = changed;
    uint8_t marks[PictureSlots];
    Stream.ReadBuffer(marks, sizeof marks);
    for (int Slot = 0; Slot < PictureSlots; ++Slot) FSlotChanged[Slot] = marks[Slot] != 0;
    uint8_t count[4];
    Stream.ReadBuffer(count, sizeof count);
    const uint32_t slots = GetU32(count);
    // Every slot takes at least its presence byte.
    if (slots > Stream.Remaining()) throw EQVError(PoolText(InvalidFileTextId));
    for (uint32_t Slot = 0; Slot < slots; ++Slot) {
      uint8_t present = 0;
      Stream.ReadBuffer(&present, 1);
      if (present == 0) continue;
      if (Slot >= static_cast<uint32_t>(PictureSlots)) throw EQVError(ListIndexError(PictureSlots));
      auto picture = std::make_unique<TBitmap>();
      LoadBitmapFromStream(Stream, *picture);
      FPictures[Slot] = std::move(picture);
    }
  });
  Announce();
  return result;
}

bool TQVDP_PICTURES::SaveToStream(TStream& Stream) {
  return Guarded([&] {
    TQV_DATAPOOL::SaveToStream(Stream);
    uint8_t marks[PictureSlots];
    for (int Slot = 0; Slot < PictureSlots; ++Slot) marks[Slot] = FSlotChanged[Slot] ? 1 : 0;
    Stream.WriteBuffer(marks, sizeof marks);
    uint8_t count[4];
    PutU32(count, PictureSlots);
    Stream.WriteBuffer(count, sizeof count);
    for (int Slot = 0; Slot < PictureSlots; ++Slot) {
      const uint8_t present = FPictures[Slot] ? 1 : 0;
      Stream.WriteBuffer(&present, 1);
      if (present) SaveBitmapToStream(Stream, *FPictures[Slot]);
    }
  });
}
