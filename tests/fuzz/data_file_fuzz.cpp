// Loads arbitrary bytes as a data file. A load must never read or write
// outside a buffer (AddressSanitizer watches), must always lift the hold-back
// of announcements, and a file that loads must save again and that save must
// load again: what the pools accept they can keep.
#include <cstdlib>
#include <vector>

#include "qvdp_all.h"
#include "stream.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  TQVDP_ALL pools;
  TMemoryStream input(std::vector<uint8_t>(Data, Data + Size));
  const bool loaded = pools.LoadFromStream(input);
  if (pools.FBusy) abort();
  if (!loaded) {
    if (pools.ErrorText().empty()) abort();  // a refusal always says why
    return 0;
  }
  TMemoryStream saved;
  if (!pools.SaveToStream(saved)) abort();
  TQVDP_ALL again;
  TMemoryStream reread(saved.Bytes());
  if (!again.LoadFromStream(reread)) abort();
  return 0;
}
