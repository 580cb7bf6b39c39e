// TQVDP_PICTURES, the pool of the phone's 24 picture slots.
//
// Each slot is empty or holds the pool's own copy of an 8-bit palette bitmap.
// The pool lets the user interface add, delete and look at pictures, marks
// every slot it changes so that a write of changes sends only those slots,
// and moves the slots to and from the phone in the phone's packed picture
// format on channel chPhonebook. The packed format's operations are static:
// they need no pool, and the fuzz targets call them directly.
//
// Slot indexes 0..23 in the operations; slot numbers 1..24 in Names, in
// phonebook entries and on the wire.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "bitmap.h"
#include "phone_commands.h"
#include "qv_datapool.h"

constexpr int PictureSlots = 24;
constexpr int MaxPicturePalette = 240;  // palette entries 0..239 go into a packed picture
constexpr int MaxPictureChunk = 1000;   // packed bytes in one write-data request
constexpr int PicturesPerCommit = 6;    // slot numbers that are multiples of this commit at once
constexpr int PictureHeaderSize = 6;    // Width, Height, N: 16 bits each

constexpr int32_t PicReadTimeout = 2000;
constexpr int32_t PicWriteTimeout = 3000;

class TQVDP_PICTURES : public TQV_DATAPOOL {
 public:
  explicit TQVDP_PICTURES(TQVDP_ALL* AOwner);
  ~TQVDP_PICTURES() override;

  // Empties all 24 slots through DeletePicture, so every slot ends marked.
  void Clear() override;
  bool LoadFromStream(TStream& Stream) override;
  bool SaveToStream(TStream& Stream) override;
  bool ReadFromPhone() override;
  bool WriteToPhone(bool OnlyChanged) override;

  // The slot numbers ("1".."24") of the occupied slots; valid until the next call.
  const std::vector<std::string>& Names();
  // The slot's bitmap, owned by the pool; nullptr for an empty slot or a Slot outside 0..23.
  const TBitmap* GetPicture(int Slot) const;
  // Stores a copy of Bitmap; marks the slot and the pool, announces. Slots outside 0..23: nothing.
  void SetPicture(int Slot, const TBitmap& Bitmap);
  // A copy in the lowest empty slot; its slot number, or 0 when all are occupied.
  int AddPicture(const TBitmap& Bitmap);
  // Empties the slot, marks it (also when it was empty) and announces.
  void DeletePicture(int Slot);

  // The packed format. Sizes are 6 + Width x Height (+ 4 x N when N >= 2);
  // 0 means no picture, and stands for a header that is invalid or whose size
  // would not fit an Integer.
  static int32_t PackedSize(const TBitmap* Bitmap);
  static int32_t SizeFromHeader(const uint8_t* Header);
  // Width and height above 0, at most 256 palette records. A valid header
  // may still give size 0, when its size does not fit an Integer.
  static bool ValidHeader(const uint8_t* Header);
  // Dest holds PackedSize(Bitmap) bytes; nothing is written for no bitmap.
  static void PackPicture(const TBitmap* Bitmap, uint8_t* Dest);
  // Turns Bitmap into the packed picture of Length bytes; false (Bitmap
  // unchanged) for an invalid header or fewer bytes than its size.
  static bool UnpackPicture(const uint8_t* Packed, size_t Length, TBitmap& Bitmap);

  // One slot to or from the phone; false, with nothing sent, for a Slot outside 0..23.
  bool ReadPicture(int Slot);
  bool WritePicture(int Slot, bool Commit);
  bool CommitPictures();

  std::array<std::unique_ptr<TBitmap>, PictureSlots> FPictures;
  std::vector<std::string> FNames;
  std::array<bool, PictureSlots> FSlotChanged{};  // changed since last read from or written to the phone

 private:
  // A picture change shows in the picture list and in phonebook 1's rows.
  void Announce();
  static bool ValidSlot(int Slot) { return Slot >= 0 && Slot < PictureSlots; }
};
