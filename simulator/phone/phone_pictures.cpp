// The phone's picture slots. Slot data are opaque packed pictures to the
// phone except for one thing: the palette records' index bytes. The PC sends
// the record of palette entry i with index byte i and, when it unpacks a
// picture, puts a record with index byte b at palette position b - 1. This
// phone therefore keeps the records as received and numbers them from 1 when
// it sends a picture back, so that a picture written and read again has the
// same colours at the same palette positions.
//
// A written slot waits until the next commit (an empty write-data request);
// only then does it replace the slot's picture.
#include <algorithm>
#include <cstring>

#include "byte_order.h"
#include "phone_commands.h"
#include "phone_model.h"

namespace {

constexpr int PictureHeaderSize = 6;  // width, height, palette record count
constexpr int PaletteRecordSize = 4;  // index, red, green, blue

// The slot number of a request, as a slot index, or -1.
int SlotIndex(const TProtPacket& Request) {
  const int Number = Request.Len >= 1 ? Request.Data[0] : 0;
  return (Number >= 1 && Number <= PhonePictureSlots) ? Number - 1 : -1;
}

}  // namespace

bool TPhoneModel::HandlePicture(const TProtPacket& Request, TProtPacket& Answer) {
  switch (Request.Code) {
    case PicWriteStart: {
      const int Slot = SlotIndex(Request);
      if (Slot < 0 || Request.Len < 1 + PictureHeaderSize) return false;
      FWriteSlot = Slot;
      FPending[Slot] = true;
      // The data requests that follow repeat the header; an empty slot (six
      // zero header bytes) gets none and stays empty at the commit.
      FPendingPictures[Slot].clear();
      return true;
    }
    case PicWriteData:
      if (Request.Len == 0) {
        for (int Slot = 0; Slot < PhonePictureSlots; ++Slot) {
          if (!FPending[Slot]) continue;
          State.Pictures[Slot] = std::move(FPendingPictures[Slot]);
          FPendingPictures[Slot].clear();
          FPending[Slot] = false;
        }
        FWriteSlot = -1;
        ++State.PictureCommits;
        return true;
      }
      if (FWriteSlot < 0) return false;
      FPendingPictures[FWriteSlot].insert(FPendingPictures[FWriteSlot].end(), Request.Data,
                                          Request.Data + Request.Len);
      return true;
    case PicReadStart: {
      const int Slot = SlotIndex(Request);
      if (Slot < 0) return false;
      FReadSlot = Slot;
      FReadPosition = 0;
      Answer.Len = 1 + PictureHeaderSize;
      Answer.Data[0] = static_cast<uint8_t>(Slot + 1);
      const std::vector<uint8_t>& Picture = State.Pictures[Slot];
      if (Picture.size() >= PictureHeaderSize) std::memcpy(Answer.Data + 1, Picture.data(), PictureHeaderSize);
      return true;
    }
    case PicReadNext: {
      if (FReadSlot < 0 || Request.Len < 2) return false;
      std::vector<uint8_t> Picture = State.Pictures[FReadSlot];
      if (Picture.size() >= PictureHeaderSize) {
        const uint16_t Records = GetU16(Picture.data() + 4);
        for (size_t Record = 0; Records >= 2 && Record < Records; ++Record) {
          const size_t At = PictureHeaderSize + Record * PaletteRecordSize;
          if (At < Picture.size()) ++Picture[At];
        }
      }
      const size_t Wanted = std::min<size_t>(GetU16(Request.Data), MaxPacketData);
      const size_t Count = std::min(Wanted, Picture.size() - std::min(FReadPosition, Picture.size()));
      std::memcpy(Answer.Data, Picture.data() + FReadPosition, Count);
      Answer.Len = static_cast<uint16_t>(Count);
      FReadPosition += Count;
      return true;
    }
    default:
      return false;
  }
}
