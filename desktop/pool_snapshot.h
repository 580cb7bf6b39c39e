// TPoolSnapshot: the whole pool set, change marks included, kept aside in the
// data file's own format so that it can be put back as it was.
//
// A read from the phone that fails part way leaves the pools holding what it
// got so far, marked as changed; saved at close or written as "changed only",
// that half-read data would replace the user's local copy and cut down the
// phone's. A data file that breaks after its first sections has replaced
// those pools in the same way. The main window keeps a snapshot over such a
// read and over an import instead.
#pragma once

#include "qvdp_all.h"
#include "stream.h"

class TPoolSnapshot {
 public:
  // Takes the snapshot of Pool, which must outlive it.
  explicit TPoolSnapshot(TQVDP_ALL& Pool);
  // Puts the pools back as they were when the snapshot was taken and
  // announces every pool; ErrorText keeps what it held before. False when
  // the snapshot could not be taken or loaded, with the pools as they are.
  bool Restore();

 private:
  TQVDP_ALL& FPool;
  TMemoryStream FStream;
  bool FTaken;
};
