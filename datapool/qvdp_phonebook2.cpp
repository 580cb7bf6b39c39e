// Phonebook 2's transfers through the memory image. The image is read into a
// buffer of its own first, so a failed chunk leaves the pool as it was; a
// header that names more entries than the image can hold is read as an empty
// phonebook, like any other invalid header. The count is taken again from the
// image just read, as the phone keeps it, but never beyond the entries that
// the header's count made the read fetch: a phone whose count changed between
// the two reads cannot make the pool read past what arrived.
#include "qvdp_phonebook2.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "byte_order.h"
#include "memory_image.h"

namespace {

uint32_t ImageSize(const uint8_t* Header) {
  const uint16_t Count = GetU16(Header + 2);
  if (GetU16(Header) != Phonebook2Signature || Count == 0 || Count > MaxPhonebook2Entries) return 0;
  return static_cast<uint32_t>(Phonebook2HeaderSize + Count * sizeof(TPBEntry));
}

}  // namespace

TQVDP_PHONEBOOK2::TQVDP_PHONEBOOK2(TQVDP_ALL* AOwner) : TQVDP_PHONEBOOK(AOwner) { FIndex = piPhonebook2; }

bool TQVDP_PHONEBOOK2::ReadFromPhone() {
  std::vector<uint8_t> Image(MaxPhonebook2Image);
  uint16_t Fetched = 0;  // entries that the header's count made the read fetch
  const auto SizeRule = [&Fetched](const uint8_t* Header) {
    const uint32_t Size = ImageSize(Header);
    if (Size > 0) Fetched = GetU16(Header + 2);
    return Size;
  };
  const TImageRead Read = ReadMemoryImage(*this, Phonebook2ImageOffset, Phonebook2HeaderSize,
                                          Phonebook2HeaderTimeout, SizeRule, Image.data(), MaxPhonebook2Image);
  if (Read == TImageRead::Failed) return false;
  Clear();
  if (Read == TImageRead::Read) {
    const uint16_t Count = std::min(GetU16(Image.data() + 2), Fetched);
    for (uint16_t i = 0; i < Count; ++i) {
      TPBEntry Entry;
      std::memcpy(&Entry, Image.data() + Phonebook2HeaderSize + i * sizeof(TPBEntry), sizeof(Entry));
      InternalAdd(Entry);
    }
  }
  FChanged = false;
  Changed();
  return true;
}

bool TQVDP_PHONEBOOK2::WriteToPhone(bool OnlyChanged) {
  if (OnlyChanged && !FChanged) return true;
  Sort();
  const auto Count = static_cast<uint16_t>(std::min<size_t>(FEntries.size(), MaxPhonebook2Entries));
  std::vector<uint8_t> Image(Phonebook2HeaderSize + Count * sizeof(TPBEntry));
  PutU16(Image.data(), Phonebook2Signature);
  PutU16(Image.data() + 2, Count);
  if (Count > 0) std::memcpy(Image.data() + Phonebook2HeaderSize, FEntries.data(), Count * sizeof(TPBEntry));
  if (!WriteMemoryImage(*this, Phonebook2ImageOffset, Image.data(), static_cast<uint32_t>(Image.size())))
    return false;
  FChanged = false;
  return true;
}
