// The pictures pool: its slots and their transfer to and from the phone.
//
// A slot read collects the phone's chunks into a buffer that may grow to the
// size its read-start header announced and no further; a phone that sends a
// read-start answer too short for the header, more or fewer bytes than
// announced, a picture whose own header differs from the announced one, or a
// valid header whose size does not fit an Integer makes the read fail and the
// slot keep its picture, since nothing but those exact bytes may be decoded.
#include "qvdp_pictures.h"

#include <algorithm>
#include <cstring>

#include "pool_request.h"
#include "qvdp_all.h"

TQVDP_PICTURES::TQVDP_PICTURES(TQVDP_ALL* AOwner) : TQV_DATAPOOL(AOwner) { FIndex = piPictures; }

TQVDP_PICTURES::~TQVDP_PICTURES() { Clear(); }

void TQVDP_PICTURES::Announce() {
  Changed();
  if (FOwner) FOwner->DoChange(piPhonebook1);
}

void TQVDP_PICTURES::Clear() {
  for (int Slot = 0; Slot < PictureSlots; ++Slot) DeletePicture(Slot);
}

const std::vector<std::string>& TQVDP_PICTURES::Names() {
  FNames.clear();
  for (int Slot = 0; Slot < PictureSlots; ++Slot)
    if (FPictures[Slot]) FNames.push_back(std::to_string(Slot + 1));
  return FNames;
}

const TBitmap* TQVDP_PICTURES::GetPicture(int Slot) const { return ValidSlot(Slot) ? FPictures[Slot].get() : nullptr; }

void TQVDP_PICTURES::SetPicture(int Slot, const TBitmap& Bitmap) {
  if (!ValidSlot(Slot)) return;
  if (!FPictures[Slot]) FPictures[Slot] = std::make_unique<TBitmap>();
  *FPictures[Slot] = Bitmap;
  FChanged = true;
  FSlotChanged[Slot] = true;
  Announce();
}

int TQVDP_PICTURES::AddPicture(const TBitmap& Bitmap) {
  for (int Slot = 0; Slot < PictureSlots; ++Slot) {
    if (!FPictures[Slot]) {
      SetPicture(Slot, Bitmap);
      return Slot + 1;
    }
  }
  return 0;
}

void TQVDP_PICTURES::DeletePicture(int Slot) {
  if (!ValidSlot(Slot)) return;
  FPictures[Slot].reset();
  FSlotChanged[Slot] = true;
  FChanged = true;
  Announce();
}

bool TQVDP_PICTURES::ReadFromPhone() {
  for (int Slot = 0; Slot < PictureSlots; ++Slot)
    if (!ReadPicture(Slot)) return false;
  FChanged = false;
  return true;
}

bool TQVDP_PICTURES::ReadPicture(int Slot) {
  if (!ValidSlot(Slot)) return false;
  TProtPacket packet = PoolRequest(chPhonebook, PicReadStart, {static_cast<uint8_t>(Slot + 1)});
  if (!SendPacket(packet, PicReadTimeout)) return false;
  // Header bytes the answer did not carry would be the request's own zeros,
  // which would empty the slot on the strength of nothing the phone said.
  if (packet.Len < 1 + PictureHeaderSize) return false;
  uint8_t header[PictureHeaderSize];
  std::memcpy(header, packet.Data + 1, sizeof header);
  const int32_t size = SizeFromHeader(header);
  // A valid header too large to describe is a lying answer, not an empty
  // slot: emptying the slot would take the picture off the phone as well at
  // the next full write.
  if (size == 0 && ValidHeader(header)) return false;

  if (size == 0) {
    DeletePicture(Slot);
  } else {
    std::vector<uint8_t> buffer;
    buffer.reserve(static_cast<size_t>(std::min<int32_t>(size, 64 * 1024)));
    for (;;) {
      packet = PoolRequest(chPhonebook, PicReadNext,
                           {static_cast<uint8_t>(MaxPacketData & 0xFF), static_cast<uint8_t>(MaxPacketData >> 8)});
      if (!SendPacket(packet, PicReadTimeout)) return false;
      if (packet.Len == 0) break;
      if (packet.Len > MaxPacketData || buffer.size() + packet.Len > static_cast<size_t>(size)) return false;
      buffer.insert(buffer.end(), packet.Data, packet.Data + packet.Len);
    }
    if (buffer.size() != static_cast<size_t>(size) || !std::equal(header, header + PictureHeaderSize, buffer.begin()))
      return false;
    TBitmap picture;
    if (!UnpackPicture(buffer.data(), buffer.size(), picture)) return false;
    SetPicture(Slot, picture);
  }
  FSlotChanged[Slot] = false;
  Announce();
  return true;
}

bool TQVDP_PICTURES::WritePicture(int Slot, bool Commit) {
  if (!ValidSlot(Slot)) return false;
  const TBitmap* picture = FPictures[Slot].get();
  const int32_t size = PackedSize(picture);
  std::vector<uint8_t> buffer(static_cast<size_t>(std::max(size, PictureHeaderSize)), 0);
  if (size > 0) PackPicture(picture, buffer.data());

  uint8_t start[1 + PictureHeaderSize] = {static_cast<uint8_t>(Slot + 1)};
  std::memcpy(start + 1, buffer.data(), PictureHeaderSize);
  TProtPacket packet = PoolRequest(chPhonebook, PicWriteStart, start, sizeof start);
  if (!SendPacket(packet, PicWriteTimeout)) return false;

  for (int32_t sent = 0; size > 0 && sent < size; sent += MaxPictureChunk) {
    const int32_t chunk = std::min(MaxPictureChunk, size - sent);
    packet = PoolRequest(chPhonebook, PicWriteData, buffer.data() + sent, static_cast<size_t>(chunk));
    if (!SendPacket(packet, PicWriteTimeout)) return false;
  }
  const bool result = Commit ? CommitPictures() : true;
  FSlotChanged[Slot] = false;  // the picture is on the phone, whatever the commit gave
  return result;
}

bool TQVDP_PICTURES::CommitPictures() {
  TProtPacket packet = PoolRequest(chPhonebook, PicWriteData);
  return SendPacket(packet, PicWriteTimeout);
}

bool TQVDP_PICTURES::WriteToPhone(bool OnlyChanged) {
  bool lastCommitted = true;
  for (int Slot = 0; Slot < PictureSlots; ++Slot) {
    if (OnlyChanged && !(FChanged && FSlotChanged[Slot])) continue;
    const bool commit = (Slot + 1) % PicturesPerCommit == 0 || Slot == PictureSlots - 1;
    if (!WritePicture(Slot, commit)) return false;
    lastCommitted = commit;
  }
  const bool result = lastCommitted ? true : CommitPictures();
  FChanged = false;
  return result;
}
