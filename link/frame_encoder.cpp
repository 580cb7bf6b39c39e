#include "frame_encoder.h"

#include <cassert>

#include "crc.h"

namespace {

// Appends one body or CRC byte to the frame under construction, stuffed.
class TFrameWriter {
 public:
  explicit TFrameWriter(uint8_t* frame) : FFrame(frame) {}

  void Put(uint8_t b) { FFrame[FCount++] = b; }

  void PutEscaped(uint8_t b) {
    if (NeedsEscape(b)) {
      Put(FrameEscape);
      Put(static_cast<uint8_t>(b ^ EscapeXor));
    } else {
      Put(b);
    }
  }

  size_t Count() const { return FCount; }

 private:
  uint8_t* FFrame;
  size_t FCount = 0;
};

}  // namespace

size_t EncodeFrame(const TProtPacket& Packet, uint8_t* Frame) {
  assert(Packet.Len <= MaxPacketData);
  const auto* body = reinterpret_cast<const uint8_t*>(&Packet);
  const size_t bodySize = PacketHeaderSize + Packet.Len;

  TFrameWriter out(Frame);
  uint16_t crc = CrcInit;
  out.Put(FrameStart);
  for (size_t i = 0; i < bodySize; ++i) {
    crc = UpdateCrc16(crc, body[i]);
    out.PutEscaped(body[i]);
  }
  out.PutEscaped(static_cast<uint8_t>(crc & 0xFF));
  out.PutEscaped(static_cast<uint8_t>(crc >> 8));
  out.Put(FrameEnd);
  return out.Count();
}
