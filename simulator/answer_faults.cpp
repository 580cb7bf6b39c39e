#include "answer_faults.h"

#include "crc.h"
#include "echo_responder.h"
#include "frame_encoder.h"

std::vector<uint8_t> EncodeToBytes(const TProtPacket& Packet) {
  std::vector<uint8_t> bytes(MaxFrameSize);
  bytes.resize(EncodeFrame(Packet, bytes.data()));
  return bytes;
}

std::vector<uint8_t> EncodeBody(const std::vector<uint8_t>& Body) {
  std::vector<uint8_t> bytes{FrameStart};
  auto put = [&](uint8_t b) {
    if (NeedsEscape(b)) {
      bytes.push_back(FrameEscape);
      b ^= EscapeXor;
    }
    bytes.push_back(b);
  };
  for (uint8_t b : Body) put(b);
  const uint16_t crc = Crc16(Body.data(), Body.size());
  put(static_cast<uint8_t>(crc));
  put(static_cast<uint8_t>(crc >> 8));
  bytes.push_back(FrameEnd);
  return bytes;
}

std::vector<TOutgoingFrame> TAnswerFaults::Apply(TProtPacket Answer) {
  if (FFaults.empty()) return {{EncodeToBytes(Answer), 0}};
  const TFault fault = FFaults.front();
  FFaults.pop_front();
  switch (fault.Kind) {
    case TKind::Drop: return {};
    case TKind::Corrupt: {
      auto bytes = EncodeToBytes(Answer);
      // The byte before the end byte is (part of) the CRC's high byte.
      bytes[bytes.size() - 2] ^= 0x01;
      return {{bytes, 0}};
    }
    case TKind::Delay: return {{EncodeToBytes(Answer), fault.Value}};
    case TKind::Channel:
      Answer.Channel = static_cast<uint8_t>(fault.Value);
      return {{EncodeToBytes(Answer), 0}};
    case TKind::Duplicate: {
      const TProtPacket second = MakeFrame(Answer.Channel, Answer.Code, fault.Payload);
      return {{EncodeToBytes(Answer), 0}, {EncodeToBytes(second), 0}};
    }
    case TKind::Lie: {
      const auto* record = reinterpret_cast<const uint8_t*>(&Answer);
      std::vector<uint8_t> body(record, record + PacketHeaderSize + Answer.Len);
      body[2] = static_cast<uint8_t>(fault.Value);
      body[3] = static_cast<uint8_t>(fault.Value >> 8);
      return {{EncodeBody(body), 0}};
    }
  }
  return {};
}
