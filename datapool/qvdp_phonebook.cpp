// The phonebook's entry operations. Entries are sorted with the phone
// software's own quicksort (pb_sort.h); the data-file section is in
// qvdp_phonebook_section.cpp.
#include "qvdp_phonebook.h"

#include <cstring>
#include <utility>

#include "pb_sort.h"
#include "qvdp_all.h"

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
