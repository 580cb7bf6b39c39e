// The phonebooks' data-file section: the change byte, the entry count, then
// the entries in list order.
//
// A section is read whole and then put in the order that adding its entries
// one by one leaves (pb_load_order.h), which sorting after every entry would
// reach only in quadratic time. A section whose entry count the rest of the
// file cannot supply is refused as an invalid file before any entry is read.
#include <algorithm>
#include <utility>
#include <vector>

#include "byte_order.h"
#include "pb_load_order.h"
#include "pool_texts.h"
#include "qvdp_phonebook.h"
#include "stream.h"

bool TQVDP_PHONEBOOK::LoadFromStream(TStream& Stream) {
  bool Cleared = false;
  std::vector<TPBEntry> Read;
  const bool Result = Guarded([&] {
    TQV_DATAPOOL::LoadFromStream(Stream);
    const bool StoredChanged = FChanged;
    Clear();
    Cleared = true;
    FChanged = StoredChanged;
    uint8_t CountBytes[4];
    Stream.ReadBuffer(CountBytes, sizeof(CountBytes));
    const auto Count = static_cast<int32_t>(GetU32(CountBytes));
    if (Count > 0 && static_cast<int64_t>(Count) * static_cast<int64_t>(sizeof(TPBEntry)) > Stream.Remaining())
      throw EQVError(PoolText(InvalidFileTextId));
    Read.reserve(static_cast<size_t>(std::max(Count, 0)));
    for (int32_t i = 0; i < Count; ++i) {
      TPBEntry Entry;
      Stream.ReadBuffer(&Entry, sizeof(Entry));
      Read.push_back(Entry);
    }
  });
  // Also after a failure: the entries read so far, as adding them would have
  // left them; the previous ones, sorted, when the section ended before its
  // change byte.
  if (Cleared)
    FEntries = LoadedOrder(std::move(Read));
  else
    Sort();
  Changed();
  return Result;
}

bool TQVDP_PHONEBOOK::SaveToStream(TStream& Stream) {
  return Guarded([&] {
    TQV_DATAPOOL::SaveToStream(Stream);
    uint8_t CountBytes[4];
    PutU32(CountBytes, static_cast<uint32_t>(FEntries.size()));
    Stream.WriteBuffer(CountBytes, sizeof(CountBytes));
    for (const TPBEntry& Entry : FEntries) Stream.WriteBuffer(&Entry, sizeof(Entry));
  });
}
