// The phonebook's entry operations, its quicksort and its data-file section.
//
// The quicksort is kept exactly as the phone software's lists are sorted:
// middle pivot taken by value, Hoare scans, recursion on the left part and a
// loop on the right. It is not stable, and the order it leaves among equal
// upper-cased names (anna and Anna) is part of the behaviour that users see.
//
// A section whose entry count the rest of the file cannot supply is refused
// as an invalid file before any entry is read.
#include "qvdp_phonebook.h"

#include <cstring>
#include <exception>
#include <utility>

#include "byte_order.h"
#include "pool_texts.h"
#include "qvdp_all.h"
#include "stream.h"

namespace {

void QuickSort(std::vector<TPBEntry>& Entries, int L, int R) {
  int I;
  do {
    I = L;
    int J = R;
    const TPBEntry Pivot = Entries[(L + R) / 2];
    do {
      while (CompareEntries(Entries[I], Pivot) < 0) ++I;
      while (CompareEntries(Entries[J], Pivot) > 0) --J;
      if (I <= J) {
        std::swap(Entries[I], Entries[J]);
        ++I;
        --J;
      }
    } while (I <= J);
    if (L < J) QuickSort(Entries, L, J);
    L = I;
  } while (I < R);
}

}  // namespace

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

void TQVDP_PHONEBOOK::Sort() {
  if (!FEntries.empty()) QuickSort(FEntries, 0, static_cast<int>(FEntries.size()) - 1);
}

bool TQVDP_PHONEBOOK::LoadFromStream(TStream& Stream) {
  bool Result = true;
  try {
    TQV_DATAPOOL::LoadFromStream(Stream);
    const bool StoredChanged = FChanged;
    Clear();
    FChanged = StoredChanged;
    uint8_t CountBytes[4];
    Stream.ReadBuffer(CountBytes, sizeof(CountBytes));
    const auto Count = static_cast<int32_t>(GetU32(CountBytes));
    if (Count > 0 && static_cast<int64_t>(Count) * static_cast<int64_t>(sizeof(TPBEntry)) > Stream.Remaining())
      throw EQVError(PoolText(InvalidFileTextId));
    for (int32_t i = 0; i < Count; ++i) {
      TPBEntry Entry;
      Stream.ReadBuffer(&Entry, sizeof(Entry));
      InternalAdd(Entry);
    }
  } catch (const std::exception& Error) {
    SetErrorText(Error.what());
    Result = false;
  }
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
