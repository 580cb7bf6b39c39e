// Small helpers for building packets and wire bytes in the link tests.
#pragma once

#include <cstring>
#include <initializer_list>
#include <vector>

#include "frame_encoder.h"
#include "protocol.h"

inline TProtPacket MakePacket(uint8_t channel, uint8_t code, const std::vector<uint8_t>& data) {
  TProtPacket p{};
  p.Channel = channel;
  p.Code = code;
  p.Len = static_cast<uint16_t>(data.size());
  if (!data.empty()) std::memcpy(p.Data, data.data(), data.size());
  return p;
}

inline std::vector<uint8_t> Encode(const TProtPacket& p) {
  std::vector<uint8_t> frame(MaxFrameSize);
  frame.resize(EncodeFrame(p, frame.data()));
  return frame;
}

inline std::vector<uint8_t> Concat(std::initializer_list<std::vector<uint8_t>> parts) {
  std::vector<uint8_t> all;
  for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}
