// Faults the simulator injects into its next answers on command: drop one,
// corrupt its CRC, delay it, send it on another channel, follow it by a
// second answer with the same code, or make its Len field claim more (or
// fewer) data bytes than the frame carries. Each fault is used up by one answer, in
// the order the commands came, so a test states exactly what goes wrong.
#pragma once

#include <cstdint>
#include <deque>
#include <vector>

#include "protocol.h"

struct TOutgoingFrame {
  std::vector<uint8_t> Bytes;
  int DelayMs = 0;
};

class TAnswerFaults {
 public:
  void Drop() { FFaults.push_back({TKind::Drop, 0, {}}); }
  void CorruptCrc() { FFaults.push_back({TKind::Corrupt, 0, {}}); }
  void Delay(int Ms) { FFaults.push_back({TKind::Delay, Ms, {}}); }
  void OtherChannel(uint8_t Channel) { FFaults.push_back({TKind::Channel, Channel, {}}); }
  void Duplicate(std::vector<uint8_t> SecondPayload) { FFaults.push_back({TKind::Duplicate, 0, std::move(SecondPayload)}); }
  void Lie(uint16_t Len) { FFaults.push_back({TKind::Lie, Len, {}}); }
  void Clear() { FFaults.clear(); }

  // The wire frames for one answer, after the next fault (if any) is applied.
  std::vector<TOutgoingFrame> Apply(TProtPacket Answer);

 private:
  enum class TKind { Drop, Corrupt, Delay, Channel, Duplicate, Lie };
  struct TFault {
    TKind Kind;
    int Value;
    std::vector<uint8_t> Payload;
  };
  std::deque<TFault> FFaults;
};

std::vector<uint8_t> EncodeToBytes(const TProtPacket& Packet);
// A frame around the given body bytes, whatever their Len field says.
std::vector<uint8_t> EncodeBody(const std::vector<uint8_t>& Body);
