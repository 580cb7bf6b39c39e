// CRC-16/MCRF4XX: polynomial 0x1021 processed bit-reversed (0x8408), start 0xFFFF,
// reflected, no final XOR. It covers a frame's unstuffed body; because the CRC
// bytes follow low byte first, running it over body and CRC leaves 0.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

constexpr uint16_t CrcInit = 0xFFFF;

constexpr std::array<uint16_t, 256> MakeCrcTable() {
  std::array<uint16_t, 256> table{};
  for (unsigned i = 0; i < 256; ++i) {
    uint16_t value = static_cast<uint16_t>(i);
    for (int bit = 0; bit < 8; ++bit)
      value = (value & 1) ? static_cast<uint16_t>((value >> 1) ^ 0x8408) : static_cast<uint16_t>(value >> 1);
    table[i] = value;
  }
  return table;
}

inline constexpr std::array<uint16_t, 256> CrcTable = MakeCrcTable();

constexpr uint16_t UpdateCrc16(uint16_t crc, uint8_t b) {
  return static_cast<uint16_t>((crc >> 8) ^ CrcTable[(crc ^ b) & 0xFF]);
}

constexpr uint16_t Crc16(const uint8_t* bytes, size_t count, uint16_t crc = CrcInit) {
  for (size_t i = 0; i < count; ++i) crc = UpdateCrc16(crc, bytes[i]);
  return crc;
}
