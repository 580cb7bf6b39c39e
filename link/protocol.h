// The packet record that hosts, the protocol driver and the phone exchange.
// Its first Len + 4 bytes are the body of one frame on the wire, so the layout
// is fixed to the byte: packed, little-endian, no gaps.
#pragma once

#include <cstdint>

constexpr int MaxPacketData = 1025;
constexpr uint8_t AnswerFlag = 0x80;  // an answer carries its request's Code with this bit set

enum TProtChannel : uint8_t {
  chText = 0,       // text from the phone; carries no request
  chSystem = 1,     // memory-area base address and commit
  chConfig = 3,     // SIM PIN, clock, settings record, text slots
  chPhonebook = 4,  // phonebook 1 and the picture slots
  chDevice = 5,     // memory read and write by address, live contrast and intensity
};

#pragma pack(push, 1)
struct TProtPacket {
  uint8_t Channel;
  uint8_t Code;
  uint16_t Len;  // number of valid bytes in Data
  uint8_t Data[MaxPacketData];
};
#pragma pack(pop)

constexpr int PacketHeaderSize = 4;  // Channel, Code and Len
static_assert(sizeof(TProtPacket) == 1029, "TProtPacket is the 1,029-byte wire record");
static_assert(PacketHeaderSize + MaxPacketData == sizeof(TProtPacket), "the header has no gaps");
