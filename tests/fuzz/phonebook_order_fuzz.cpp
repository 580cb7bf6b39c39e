// The order a phonebook section loads in, against sorting after every entry.
// Each input byte after the first makes one entry whose name is one of a few
// that compare equal in pairs, so long runs of equal names turn up; the first
// byte's low bit puts the list in the order the program saves first. A list
// in order must load as sorting after every entry leaves it; one out of order
// must load sorted, with equal names in the input's order. Any difference
// aborts.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "pb_load_order.h"
#include "pb_sort.h"

namespace {

std::vector<TPBEntry> SortedAfterEveryEntry(const std::vector<TPBEntry>& Entries) {
  std::vector<TPBEntry> List;
  for (const TPBEntry& Entry : Entries) {
    List.push_back(Entry);
    PhonebookSort(List, CompareEntries);
  }
  PhonebookSort(List, CompareEntries);
  return List;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  if (Size < 1 || Size > 400) return 0;
  static const char* const Names[] = {"anna", "Anna", "bob", "BOB", "carl", "zoe"};
  std::vector<TPBEntry> Entries;
  for (size_t i = 1; i < Size; ++i) {
    TPBEntry Entry{};
    std::strcpy(Entry.Name, Names[Data[i] % 6]);
    const std::string Number = std::to_string(i);
    std::memcpy(Entry.Number, Number.data(), Number.size());
    Entries.push_back(Entry);
  }
  if (Data[0] & 1) Entries = SortedAfterEveryEntry(Entries);
  const auto Before = [](const TPBEntry& A, const TPBEntry& B) { return CompareEntries(A, B) < 0; };
  std::vector<TPBEntry> Expected = Entries;
  if (std::is_sorted(Entries.begin(), Entries.end(), Before))
    Expected = SortedAfterEveryEntry(Entries);
  else
    std::stable_sort(Expected.begin(), Expected.end(), Before);
  const std::vector<TPBEntry> Loaded = LoadedOrder(Entries);
  const auto SameBytes = [](const TPBEntry& A, const TPBEntry& B) { return std::memcmp(&A, &B, sizeof A) == 0; };
  if (!std::equal(Loaded.begin(), Loaded.end(), Expected.begin(), Expected.end(), SameBytes)) abort();
  return 0;
}
