// The phone's answering step, as the simulator's server sees it: one request
// in, the frames to send back out (usually one answer with code | AnswerFlag,
// possibly none or several). The echo responder here answers any request; the
// phone model of phone/ can take its place without the server changing.
#pragma once

#include <string>
#include <vector>

#include "protocol.h"

class TPhoneResponder {
 public:
  virtual ~TPhoneResponder() = default;
  virtual void Handle(const TProtPacket& Request, std::vector<TProtPacket>& Frames) = 0;
  // What the phone keeps of the values a host sends outside a transfer, for
  // the control line's "stored": "pin=<SIM PIN or -> contrast=<n>
  // intensity=<n>"; empty for a responder that keeps nothing.
  virtual std::string StoredValues() const { return {}; }
};
