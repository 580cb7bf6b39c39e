// Turns one packet into one frame: 0x7E, the stuffed body, the stuffed CRC (low
// byte first), 0x7C. The whole frame is built in one buffer so that a link can
// hand it to the wire in a single write.
#pragma once

#include <cstddef>
#include <cstdint>

#include "protocol.h"

constexpr uint8_t FrameStart = 0x7E;
constexpr uint8_t FrameEnd = 0x7C;
constexpr uint8_t FrameEscape = 0x7D;
constexpr uint8_t EscapeXor = 0x20;

// Every body and CRC byte stuffed, plus the start and end bytes: 2,064 bytes.
constexpr size_t MaxFrameSize = 2 * (PacketHeaderSize + MaxPacketData + 2) + 2;
static_assert(MaxFrameSize == 2064, "worst-case frame of a full packet");

constexpr bool NeedsEscape(uint8_t b) { return b == FrameEnd || b == FrameEscape || b == FrameStart; }

// Encodes Packet (whose Len must be at most MaxPacketData) into Frame, which has
// room for MaxFrameSize bytes; returns the frame's length.
size_t EncodeFrame(const TProtPacket& Packet, uint8_t* Frame);
