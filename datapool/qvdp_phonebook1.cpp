// Phonebook 1's transfers. A read asks for the first entry and then for the
// next until an empty answer; a write announces the whole phonebook with the
// start-writing request and then sends every entry in sorted order.
#include "qvdp_phonebook1.h"

#include <algorithm>
#include <cstring>

#include "phone_commands.h"
#include "pool_request.h"

namespace {

// An answer shorter than an entry leaves the missing bytes zero.
TPBEntry EntryFromAnswer(const TProtPacket& Answer) {
  TPBEntry Entry{};
  std::memcpy(&Entry, Answer.Data, std::min<size_t>(Answer.Len, sizeof(Entry)));
  return Entry;
}

bool IsBlank(char Byte) { return static_cast<uint8_t>(Byte) <= 32; }

}  // namespace

TQVDP_PHONEBOOK1::TQVDP_PHONEBOOK1(TQVDP_ALL* AOwner) : TQVDP_PHONEBOOK(AOwner) { FIndex = piPhonebook1; }

TPBEntry TrimmedForPhone(const TPBEntry& Entry) {
  TPBEntry Result = Entry;
  const std::string Name = EntryName(Entry);
  size_t Begin = 0;
  size_t End = Name.size();
  while (Begin < End && IsBlank(Name[Begin])) ++Begin;
  while (End > Begin && IsBlank(Name[End - 1])) --End;
  const size_t Length = std::min<size_t>(End - Begin, PBTextSize - 1);
  std::memcpy(Result.Name, Name.data() + Begin, Length);
  Result.Name[Length] = 0;
  return Result;
}

bool TQVDP_PHONEBOOK1::ReadFromPhone() {
  TProtPacket Packet = PoolRequest(chPhonebook, PbFirstEntry);
  if (!SendPacket(Packet, Phonebook1Timeout)) return false;
  Clear();
  while (Packet.Len > 0) {
    if (FEntries.size() == static_cast<size_t>(MaxPhonebook1ReadEntries)) return false;  // the list never ends
    InternalAdd(EntryFromAnswer(Packet));
    Packet = PoolRequest(chPhonebook, PbNextEntry);  // the answer has overwritten the request
    if (!SendPacket(Packet, Phonebook1Timeout)) return false;
  }
  FChanged = false;
  Changed();
  return true;
}

bool TQVDP_PHONEBOOK1::WriteToPhone(bool OnlyChanged) {
  if (OnlyChanged && !FChanged) return true;
  Sort();
  TProtPacket Packet = PoolRequest(chPhonebook, PbStartWriting);
  if (!SendPacket(Packet, Phonebook1Timeout)) return false;
  for (const TPBEntry& Entry : FEntries) {
    const TPBEntry Sent = TrimmedForPhone(Entry);
    Packet = PoolRequest(chPhonebook, PbWriteEntry, &Sent, sizeof(Sent));
    if (!SendPacket(Packet, Phonebook1Timeout)) return false;
  }
  FChanged = false;
  return true;
}
