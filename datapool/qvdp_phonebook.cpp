// The phonebook's entry operations and its data-file section.
//
// Entries are sorted with the phone software's own quicksort (pb_sort.h). A
// section is read whole and then put in the order that adding its entries
// one by one leaves (pb_load_order.h), which sorting after every entry would
// reach only in quadratic time.
//
// A section whose entry count the rest of the file cannot supply is refused
// as an invalid file before any entry is read.
#include "qvdp_phonebook.h"

#include <algorithm>
#include <cstring>
#include <exception>
#include <utility>

#include "byte_order.h"
#include "pb_load_order.h"
#include "pb_sort.h"
#include "pool_texts.h"
#include "qvdp_all.h"
#include "stream.h"

TQVDP_PHONEBOOK::TQVDP_PHONEBOOK(TQVDP_ALL* AOwner) : TQV_DATAPOOL(AOwner) {}

TQVDP_PHONEBOOK::~TQVDP_PHONEBOOK() { TQVDP_PHONEBOOK::Clear(); }

bool TQVDP_PHONEBOOK::ValidIndex(int32_t Index) const {
  return Index >= 0 && static_cast<size_t>(Index) < FEntries.size();
}

void TQVDP_PHONEBOOK::MarkChanged() {
  FChanged = true;
  Changed();
}

void TQVDP_PHONEBOOK::GetEntry(int32_t Index, TPBEntry& Entry) const {
  std::memset(Entry.Name, 0, sizeof(Entry.Name));
  if (ValidIndex(Index)) Entry = FEntries[Index];
}

void TQVDP_PHONEBOOK::SetEntry(int32_t Index, const TPBEntry& Entry) {
  const TPBEntry Copy = Entry;  // Entry may be one of our own entries
  if (!ValidIndex(Index)) return;
  FEntries[Index] = Copy;
  Sort();
  MarkChanged();
}

void TQVDP_PHONEBOOK::AddEntry(const TPBEntry& Entry) {
  InternalAdd(Entry);
  MarkChanged();
}

void TQVDP_PHONEBOOK::DeleteEntry(int32_t Index) {
  if (!ValidIndex(Index)) return;
  FEntries.erase(FEntries.begin() + Index);
  MarkChanged();
}

void TQVDP_PHONEBOOK::Clear() {
  FEntries.clear();
  MarkChanged();
}

const std::vector<std::string>& TQVDP_PHONEBOOK::Names() {
  FNames.clear();
  for (const TPBEntry& Entry : FEntries) FNames.push_back(EntryName(Entry));
  return FNames;
}

void TQVDP_PHONEBOOK::InternalAdd(const TPBEntry& Entry) {
  FEntries.push_back(Entry);
  Sort();
}

void TQVDP_PHONEBOOK::Sort() { PhonebookSort(FEntries, CompareEntries); }

bool TQVDP_PHONEBOOK::LoadFromStream(TStream& Stream) {
  bool Result = true;
  bool Cleared = false;
  std::vector<TPBEntry> Read;
  try {
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
  } catch (const std::exception& Error) {
    SetErrorText(Error.what());
    Result = false;
  }
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
  try {
    TQV_DATAPOOL::SaveToStream(Stream);
    uint8_t CountBytes[4];
    PutU32(CountBytes, static_cast<uint32_t>(FEntries.size()));
    Stream.WriteBuffer(CountBytes, sizeof(CountBytes));
    for (const TPBEntry& Entry : FEntries) Stream.WriteBuffer(&Entry, sizeof(Entry));
    return true;
  } catch (const std::exception& Error) {
    SetErrorText(Error.what());
    return false;
  }
}
