// TQV_DATAPOOL, the base class of the six pools: it ties a pool to its owner,
// keeps the pool's change flag and index, routes every request of the pool to
// the owner, and declares the operations that every pool implements.
//
// The six operations, in their slot order: Create (the constructor), Clear,
// LoadFromStream, SaveToStream, ReadFromPhone, WriteToPhone. The fields are
// public because the owner, the data file and the user interface read them
// directly, as they do the pools' own fields.
#pragma once

#include <cstdint>
#include <exception>
#include <string>

#include "pool_types.h"
#include "protocol.h"

class TStream;

class TQV_DATAPOOL {
 public:
  // Create: every pool's constructor runs this first, then sets its own FIndex.
  explicit TQV_DATAPOOL(TQVDP_ALL* AOwner);
  virtual ~TQV_DATAPOOL() = default;
  TQV_DATAPOOL(const TQV_DATAPOOL&) = delete;
  TQV_DATAPOOL& operator=(const TQV_DATAPOOL&) = delete;

  virtual void Clear() = 0;
  // The pool's data-file section from its change byte on. The base part reads
  // or writes the change byte and lets stream errors propagate; each pool's
  // override runs its body through Guarded, which turns them into the owner's
  // ErrorText and false.
  virtual bool LoadFromStream(TStream& Stream);
  virtual bool SaveToStream(TStream& Stream);
  virtual bool ReadFromPhone() = 0;
  // With OnlyChanged and FChanged false, every pool returns true at once and
  // sends nothing.
  virtual bool WriteToPhone(bool OnlyChanged) = 0;

  // Every request of the pool goes through here: to the owner, or to the link
  // library directly for a pool without one.
  bool SendPacket(TProtPacket& Packet, int32_t Timeout);
  // Announces the pool's FIndex through the owner.
  void Changed();
  // Sets the owner's ErrorText; does nothing without an owner.
  void SetErrorText(const std::string& Text);

  // Runs Section, the body of a pool's LoadFromStream or SaveToStream: an
  // exception it raises becomes the owner's ErrorText and the result false.
  template <typename TSection>
  bool Guarded(TSection Section) {
    try {
      Section();
      return true;
    } catch (const std::exception& Error) {
      SetErrorText(Error.what());
      return false;
    }
  }

  TQVDP_ALL* FOwner;      // not owned
  bool FChanged = false;  // holds changes that have not reached the phone yet
  TPoolIndex FIndex = piNone;
};
