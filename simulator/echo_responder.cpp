#include "echo_responder.h"

#include <algorithm>
#include <cstring>

TProtPacket MakeFrame(uint8_t Channel, uint8_t Code, const std::vector<uint8_t>& Data) {
  TProtPacket packet{};
  packet.Channel = Channel;
  packet.Code = Code;
  packet.Len = static_cast<uint16_t>(std::min<size_t>(Data.size(), MaxPacketData));
  if (packet.Len) std::memcpy(packet.Data, Data.data(), packet.Len);
  return packet;
}

void TEchoResponder::Handle(const TProtPacket& Request, std::vector<TProtPacket>& Frames) {
  const auto payload = FPayloads.find(Request.Code);
  const uint8_t code = static_cast<uint8_t>(Request.Code | AnswerFlag);
  if (payload != FPayloads.end()) {
    Frames.push_back(MakeFrame(Request.Channel, code, payload->second));
  } else {
    const size_t len = std::min<size_t>(Request.Len, MaxPacketData);
    Frames.push_back(MakeFrame(Request.Channel, code, std::vector<uint8_t>(Request.Data, Request.Data + len)));
  }
}
