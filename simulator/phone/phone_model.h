// TPhoneModel, a portable model of the phone's side of every request of the
// command set. It answers a request the way the phone does: one answer frame
// with the request's channel and code | AnswerFlag, or none at all for a
// request the phone cannot serve (an unknown code, an address outside the
// memory area, a text slot number out of range).
#pragma once

#include <functional>
#include <vector>

#include "phone_responder.h"
#include "phone_state.h"
#include "protocol.h"

// The model is a responder of the simulator's server as it stands: the
// simulator serves it on TCP and on the pty, the native tests call Handle
// directly through PhoneModelSender.
class TPhoneModel : public TPhoneResponder {
 public:
  // Appends the frames the phone sends in answer to Request.
  void Handle(const TProtPacket& Request, std::vector<TProtPacket>& Frames) override;
  std::string StoredValues() const override;

  TPhoneState State;
  // When set and true for a request, the phone stays silent: a test's way to
  // let a transfer fail at a chosen request.
  std::function<bool(const TProtPacket& Request)> Unanswered;

 private:
  bool HandleSystem(const TProtPacket& Request, TProtPacket& Answer);
  bool HandleConfig(const TProtPacket& Request, TProtPacket& Answer);
  bool HandlePhonebook(const TProtPacket& Request, TProtPacket& Answer);
  bool HandleDevice(const TProtPacket& Request, TProtPacket& Answer);
  // Picture slots, in their own source file.
  bool HandlePicture(const TProtPacket& Request, TProtPacket& Answer);
  bool MemorySpan(uint32_t Address, uint16_t Count, uint32_t& Offset) const;

  size_t FNextEntry = 0;  // phonebook-1 read position
  // Picture transfer in progress.
  int FReadSlot = -1;
  size_t FReadPosition = 0;
  int FWriteSlot = -1;
  // Slots written since the last picture commit; a commit stores them.
  std::array<std::vector<uint8_t>, PhonePictureSlots> FPendingPictures;
  std::array<bool, PhonePictureSlots> FPending = {};
};
