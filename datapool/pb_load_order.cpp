// The load's order, worked out rather than sorted into after every entry.
//
// Over a list that is already in order, the quicksort moves entries only
// within runs of equal names, and what it does to a run depends on nothing but
// the run's length: the first pivot that falls into a run finds the run whole
// (the scans stop at its first and last entry), reverses it and splits it in
// its middle, and each half is then a whole run of the part it lies in. The
// positions around the run only decide when that happens, not what happens.
//
// Every file the program writes holds its entries in order, so each addition
// puts the new entry behind all others, the list is in order at every sort,
// and each run is reordered on its own: by the sorts while its own entries
// are added, then by one fixed reordering for every later addition and for
// the final sort. A list without equal names has one order whatever the sort
// does.
//
// Two kinds of list the program never writes have no such shortcut: one out
// of order with equal names, and one with a run of equal names too long to
// replay (the run's own sorts grow with the square of its length). Sorting
// them after every entry would freeze the program for seconds to minutes, so
// they are sorted once, stably: every name lands where the steps put it, and
// equal names keep the order of the file.
#include "pb_load_order.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <numeric>

#include "pb_sort.h"

namespace {

bool Before(const TPBEntry& A, const TPBEntry& B) { return CompareEntries(A, B) < 0; }
bool SameName(const TPBEntry& A, const TPBEntry& B) { return CompareEntries(A, B) == 0; }
// Positions in a run of equal names compare equal, as their entries do.
int AllEqual(int32_t, int32_t) { return 0; }

// Far above the 50 and 200 entries a phonebook holds; replaying a run this
// long takes a few milliseconds.
constexpr std::ptrdiff_t MaxReplayedRun = 1000;

// The run of Count entries after each has been added with a sort of the run
// after it: Run[p] is the number (in file order) of the entry at position p.
std::vector<int32_t> BuiltRun(int32_t Count) {
  std::vector<int32_t> Run;
  Run.reserve(static_cast<size_t>(Count));
  for (int32_t i = 0; i < Count; ++i) {
    Run.push_back(i);
    PhonebookSort(Run, AllEqual);
  }
  return Run;
}

// Run after Times more sorts. One sort takes position Step[p] to position p;
// along each cycle of Step, Times sorts move every entry Times places on.
void SortRunTimes(std::vector<int32_t>& Run, uint64_t Times) {
  std::vector<int32_t> Step(Run.size());
  std::iota(Step.begin(), Step.end(), 0);
  PhonebookSort(Step, AllEqual);
  std::vector<int32_t> Result(Run.size());
  std::vector<bool> Seen(Run.size(), false);
  std::vector<int32_t> Cycle;
  for (size_t Start = 0; Start < Run.size(); ++Start) {
    if (Seen[Start]) continue;
    Cycle.clear();
    for (auto p = static_cast<int32_t>(Start); !Seen[static_cast<size_t>(p)]; p = Step[static_cast<size_t>(p)]) {
      Seen[static_cast<size_t>(p)] = true;
      Cycle.push_back(p);
    }
    const uint64_t Shift = Times % Cycle.size();
    for (size_t i = 0; i < Cycle.size(); ++i)
      Result[static_cast<size_t>(Cycle[i])] = Run[static_cast<size_t>(Cycle[(i + Shift) % Cycle.size()])];
  }
  Run = std::move(Result);
}

std::vector<TPBEntry> SortedOnce(std::vector<TPBEntry> Entries) {
  std::stable_sort(Entries.begin(), Entries.end(), Before);
  return Entries;
}

}  // namespace

std::vector<TPBEntry> LoadedOrder(std::vector<TPBEntry> Entries) {
  if (!std::is_sorted(Entries.begin(), Entries.end(), Before)) return SortedOnce(std::move(Entries));
  std::vector<TPBEntry> Result;
  Result.reserve(Entries.size());
  for (auto First = Entries.begin(); First != Entries.end();) {
    const auto End = std::find_if(First, Entries.end(), [&First](const TPBEntry& E) { return !SameName(*First, E); });
    if (End - First > MaxReplayedRun) return SortedOnce(std::move(Entries));
    const auto Count = static_cast<int32_t>(End - First);
    std::vector<int32_t> Run = BuiltRun(Count);
    // Every entry behind the run is one more sort, and the load sorts once at the end.
    SortRunTimes(Run, static_cast<uint64_t>(Entries.end() - End) + 1);
    for (const int32_t i : Run) Result.push_back(First[i]);
    First = End;
  }
  return Result;
}
