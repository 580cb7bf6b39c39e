// Little-endian 16- and 32-bit values in byte buffers, as the phone and the
// data file store them; byte by byte, so neither alignment nor the host's own
// byte order matters.
#pragma once

#include <cstdint>

inline uint16_t GetU16(const uint8_t* P) { return static_cast<uint16_t>(P[0] | (P[1] << 8)); }
inline uint32_t GetU32(const uint8_t* P) {
  return static_cast<uint32_t>(P[0]) | (static_cast<uint32_t>(P[1]) << 8) | (static_cast<uint32_t>(P[2]) << 16) |
         (static_cast<uint32_t>(P[3]) << 24);
}
inline void PutU16(uint8_t* P, uint16_t V) {
  P[0] = static_cast<uint8_t>(V);
  P[1] = static_cast<uint8_t>(V >> 8);
}
inline void PutU32(uint8_t* P, uint32_t V) {
  for (int i = 0; i < 4; ++i) P[i] = static_cast<uint8_t>(V >> (8 * i));
}
