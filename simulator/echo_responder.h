// A responder that answers every request on the request's channel with
// code | AnswerFlag and, as its data, the payload configured for that code or
// else the request's own data. Enough for driving the link in tests.
#pragma once

#include <cstdint>
#include <map>
#include <vector>

#include "phone_responder.h"

class TEchoResponder : public TPhoneResponder {
 public:
  void Handle(const TProtPacket& Request, std::vector<TProtPacket>& Frames) override;
  void SetPayload(uint8_t Code, std::vector<uint8_t> Payload) { FPayloads[Code] = std::move(Payload); }
  void Clear() { FPayloads.clear(); }

 private:
  std::map<uint8_t, std::vector<uint8_t>> FPayloads;
};

// A packet with the given header and data (data cut to MaxPacketData).
TProtPacket MakeFrame(uint8_t Channel, uint8_t Code, const std::vector<uint8_t>& Data);
