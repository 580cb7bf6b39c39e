#include "pool_snapshot.h"

#include <string>

TPoolSnapshot::TPoolSnapshot(TQVDP_ALL& Pool) : FPool(Pool), FTaken(Pool.SaveToStream(FStream)) {}

bool TPoolSnapshot::Restore() {
  if (!FTaken) return false;
  // The caller still has to show why the pools needed restoring.
  const std::string Cause = FPool.FErrorText;
  FStream.Seek(0, soFromBeginning);
  const bool Restored = FPool.LoadFromStream(FStream);
  FPool.FErrorText = Cause;
  return Restored;
}
