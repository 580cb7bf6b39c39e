// TQVDP_PHONEBOOK, the common base of both phonebook pools: the entries in
// one list kept sorted by CompareEntries, the entry operations of the user
// interface, and the phonebook's data-file section. The two phonebooks differ
// only in how they travel to and from the phone.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "pb_entry.h"
#include "qv_datapool.h"

class TQVDP_PHONEBOOK : public TQV_DATAPOOL {
 public:
  explicit TQVDP_PHONEBOOK(TQVDP_ALL* AOwner);
  ~TQVDP_PHONEBOOK() override;

  // Index is a position in the sorted list; positions at or beyond the count
  // (and negative ones) change nothing.
  // Zeroes Entry.Name first; copies the whole entry only for a valid Index.
  void GetEntry(int32_t Index, TPBEntry& Entry) const;
  void SetEntry(int32_t Index, const TPBEntry& Entry);
  void AddEntry(const TPBEntry& Entry);
  void DeleteEntry(int32_t Index);
  // Removes every entry and marks the pool changed, even when it was empty.
  void Clear() override;
  // The names in list order, so position equals entry index; the pool's own
  // list, valid until the next call.
  const std::vector<std::string>& Names();
  // Adds in sorted place without marking or announcing: the phone reads. (A
  // data-file section is put in the same order at once, pb_load_order.h.)
  void InternalAdd(const TPBEntry& Entry);
  void Sort();

  bool LoadFromStream(TStream& Stream) override;
  bool SaveToStream(TStream& Stream) override;

  std::vector<TPBEntry> FEntries;  // sorted by CompareEntries at all times
  std::vector<std::string> FNames;

 protected:
  void MarkChanged();
  bool ValidIndex(int32_t Index) const;
};
