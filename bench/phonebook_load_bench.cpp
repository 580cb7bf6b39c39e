// Loading data files whose phonebook 1 holds 200, 10,000 and 100,000 entries,
// each beside the time it takes only to read the same file's bytes, so the
// figure for the load reads against the disk and the machine of this run.
// Every name is there twice (one person's home and mobile number), the case a
// phonebook sorted with an unstable sort has to get right. Each size comes in
// the order the program saves and reversed, as only another writer would
// leave it. Prints figures; asserts nothing.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "pb_entry.h"
#include "qvdp_all.h"
#include "qvdp_phonebook.h"

namespace {

std::string FileName(int64_t Entries, bool Reversed) {
  const char* folder = std::getenv("TMPDIR");
  return std::string(folder ? folder : "/tmp") + "/phonebook_load_bench_" + std::to_string(Entries) +
         (Reversed ? "_reversed" : "") + ".qvd";
}

// The data file, written once per size and order; its name.
std::string DataFile(int64_t Entries, bool Reversed) {
  const std::string name = FileName(Entries, Reversed);
  if (std::ifstream(name).good()) return name;
  TQVDP_ALL pools;
  auto& book = *static_cast<TQVDP_PHONEBOOK*>(pools.Pools(piPhonebook1));
  for (int64_t i = 0; i < Entries; ++i) {
    TPBEntry entry{};
    entry.Kind = static_cast<uint8_t>(i % 2 == 0 ? ntHome : ntMobile);
    std::snprintf(entry.Name, sizeof entry.Name, "%s %07lld", i % 4 < 2 ? "Name" : "name",
                  static_cast<long long>(i / 2));
    std::snprintf(entry.Number, sizeof entry.Number, "0%09lld", static_cast<long long>(i));
    book.FEntries.push_back(entry);
  }
  book.Sort();
  if (Reversed) std::reverse(book.FEntries.begin(), book.FEntries.end());
  if (!pools.SaveToFile(name)) std::fprintf(stderr, "%s\n", pools.ErrorText().c_str());
  return name;
}

void BM_LoadDataFile(benchmark::State& State) {
  const std::string name = DataFile(State.range(0), State.range(1) != 0);
  for (auto _ : State) {
    TQVDP_ALL pools;
    if (!pools.LoadFromFile(name)) State.SkipWithError(pools.ErrorText().c_str());
  }
}

void BM_ReadFileBytes(benchmark::State& State) {
  const std::string name = DataFile(State.range(0), State.range(1) != 0);
  for (auto _ : State) {
    std::ifstream file(name, std::ios::binary | std::ios::ate);
    std::vector<char> bytes(static_cast<size_t>(file.tellg()));
    file.seekg(0);
    file.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    benchmark::DoNotOptimize(bytes.data());
  }
}

}  // namespace

BENCHMARK(BM_LoadDataFile)
    ->ArgsProduct({{200, 10000, 100000}, {0, 1}})
    ->ArgNames({"entries", "reversed"})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadFileBytes)
    ->ArgsProduct({{200, 10000, 100000}, {0, 1}})
    ->ArgNames({"entries", "reversed"})
    ->Unit(benchmark::kMillisecond);
